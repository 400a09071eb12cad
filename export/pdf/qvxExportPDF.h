#pragma once

// The PDF export filter: writes the prepared pages of a report as one
// PDF 1.5 file (the catalog asks for 1.6 when a font with CFF outlines is
// embedded), byte for byte as below, with Flate-compressed streams,
// Type0 fonts of the faces that measured the text (export/pdf/qvxPDFFont.h),
// outlines, link annotations, and the standard security handler when a
// password is set.
//
// Objects are numbered in the order they are begun (UpdateXRef records the
// position of each); the page tree (object 1), the fonts and the link
// annotations are reserved early and written later, and their table
// entries are set when they are.  Every line of the file's objects ends
// with CR LF, every line of page content with LF; every real number has two
// decimals and a point.
//
// What a page and its views look like is not known here: the page drawing
// installs a TqvxPDFPageDrawing, which gives the geometry of a page and
// draws each object into the page content through the routines below.

#include "export/pdf/qvxPDFDeflate.h"
#include "export/pdf/qvxPDFFont.h"
#include "export/pdf/qvxPDFGraphicsState.h"
#include "export/pdf/qvxPDFSecurity.h"
#include "export/pdf/qvxPDFStrings.h"
#include "report/report/qvxExportFilter.h"
#include "toolkit/classes/Streams.h"

#include <QDateTime>
#include <QSet>

#include <functional>
#include <memory>
#include <vector>

class TqvxCustomOutline;
class TqvxPDFExport;
class TqvxView;

// What the writer needs of a prepared page.
struct TqvxPDFPageInfo {
    double Width = 0; // pixels at 96 per inch
    double Height = 0;
    double LeftMargin = 0; // millimetres
    double TopMargin = 0;
    double RightMargin = 0;
    double BottomMargin = 0;
    double AbsLeft = 0; // the page object's own position, pixels
    double AbsTop = 0;
    TColor Color = clNone;
    // The page frame: drawn when it has a side and a colour.
    bool FrameHasSides = false;
    TColor FrameColor = clBlack;
    TqvxFrameStyle FrameStyle = fsSolid;
    double FrameWidth = 1;
};

// The sizes of a page PDF readers accept, in points: a larger or smaller
// page is written cut to them.
inline constexpr double MinPageSizePt = 3;
inline constexpr double MaxPageSizePt = 14400;

// The most characters of one memo's text the export lays out and writes
// (the lines that hold them); the rest is left out with a warning.
inline constexpr int MaxExportedMemoChars = 1 << 20;

// The page drawing the filter calls.  PageInfo answers the geometry of a
// prepared page; WriteView draws one view of the page with the filter's
// routines.
struct TqvxPDFPageDrawing {
    std::function<TqvxPDFPageInfo(TqvxReportPage *page)> PageInfo;
    std::function<void(TqvxPDFExport &pdf, TqvxView *view)> WriteView;
};

const TqvxPDFPageDrawing &qvxPDFPageDrawing();
// Installs the page drawing; empty members leave the installed ones.
void qvxInstallPDFPageDrawing(const TqvxPDFPageDrawing &drawing);
void qvxRemovePDFPageDrawing();

// A link area of a page: a URI, or a place on a prepared page.
struct TqvxPDFAnnot {
    int ObjectNumber = 0;
    QByteArray Rect; // "x1 y1 x2 y2" in points
    QByteArray URI; // the string operand; empty for an internal link
    int DestPage = -1; // index among the exported pages
    int DestTop = 0; // points from the page bottom
};

class TqvxPDFExport : public TqvxCustomExportFilter
{
    Q_OBJECT
    Q_PROPERTY(bool Compressed READ Compressed WRITE SetCompressed)
    Q_PROPERTY(bool EmbeddedFonts READ EmbeddedFonts WRITE SetEmbeddedFonts)
    Q_PROPERTY(bool EmbedFontsIfProtected READ EmbedFontsIfProtected WRITE SetEmbedFontsIfProtected)
    Q_PROPERTY(bool OpenAfterExport READ OpenAfterExport WRITE SetOpenAfterExport)
    Q_PROPERTY(bool PrintOptimized READ PrintOptimized WRITE SetPrintOptimized)
    Q_PROPERTY(bool Outline READ Outline WRITE SetOutline)
    Q_PROPERTY(bool Background READ Background WRITE SetBackground)
    Q_PROPERTY(bool HTMLTags READ HTMLTags WRITE SetHTMLTags)
    Q_PROPERTY(bool OverwritePrompt READ OverwritePrompt WRITE SetOverwritePrompt)
    Q_PROPERTY(int Quality READ Quality WRITE SetQuality)
    Q_PROPERTY(QString Title READ Title WRITE SetTitle)
    Q_PROPERTY(QString Author READ Author WRITE SetAuthor)
    Q_PROPERTY(QString Subject READ Subject WRITE SetSubject)
    Q_PROPERTY(QString Keywords READ Keywords WRITE SetKeywords)
    Q_PROPERTY(QString Creator READ Creator WRITE SetCreator)
    Q_PROPERTY(QString Producer READ Producer WRITE SetProducer)
    Q_PROPERTY(QString UserPassword READ UserPassword WRITE SetUserPassword)
    Q_PROPERTY(QString OwnerPassword READ OwnerPassword WRITE SetOwnerPassword)
    Q_PROPERTY(PdfTypes::TqvxPDFEncBits ProtectionFlags READ ProtectionFlags WRITE SetProtectionFlags)
    Q_PROPERTY(bool HideToolbar READ HideToolbar WRITE SetHideToolbar)
    Q_PROPERTY(bool HideMenubar READ HideMenubar WRITE SetHideMenubar)
    Q_PROPERTY(bool HideWindowUI READ HideWindowUI WRITE SetHideWindowUI)
    Q_PROPERTY(bool FitWindow READ FitWindow WRITE SetFitWindow)
    Q_PROPERTY(bool CenterWindow READ CenterWindow WRITE SetCenterWindow)
    Q_PROPERTY(bool PrintScaling READ PrintScaling WRITE SetPrintScaling)

public:
    explicit TqvxPDFExport(TComponent *owner = nullptr);
    ~TqvxPDFExport() override;

    QString GetDescription() const override;
    // Fills an empty Title from the report's name; with an output Stream
    // answers mrOk at once, else takes Outline from whether the report
    // shows its outline and runs the installed options dialog
    // (export/pdf/qvxPDFOptionsDialog.h).
    int ShowModal() override;
    // Names the file, makes the identifier and the keys, writes the header
    // and reserves the page tree.  False when there is no file to write.
    bool Start() override;
    // Hands a view to the installed page drawing: only views are drawn, and
    // those that do not print only when ExportNotPrintable is set.
    void ExportObject(TqvxComponent *object) override;
    // Fonts, page tree, info, outlines, annotations, catalog, cross-
    // reference table and trailer.
    void Finish() override;
    void FinishPage(TqvxReportPage *page, int index) override;
    void StartPage(TqvxReportPage *page, int index) override;

    // --- Settings -----------------------------------------------------------

    bool Compressed() const { return m_compressed; }
    void SetCompressed(bool value) { m_compressed = value; }
    // Fonts travel with the document.  A font whose face is a substitute
    // for the face the report names is embedded in any case.
    bool EmbeddedFonts() const { return m_embeddedFonts; }
    void SetEmbeddedFonts(bool value) { m_embeddedFonts = value; }
    // An encrypted document embeds its fonts when this is set.
    bool EmbedFontsIfProtected() const { return m_embedFontsIfProtected; }
    void SetEmbedFontsIfProtected(bool value) { m_embedFontsIfProtected = value; }
    bool OpenAfterExport() const { return m_openAfterExport; }
    void SetOpenAfterExport(bool value) { m_openAfterExport = value; }
    bool PrintOptimized() const { return m_printOptimized; }
    void SetPrintOptimized(bool value) { m_printOptimized = value; }
    // The report's outline becomes the document's outline.
    bool Outline() const { return m_outline; }
    void SetOutline(bool value) { m_outline = value; }
    bool Background() const { return m_background; }
    void SetBackground(bool value) { m_background = value; }
    bool HTMLTags() const { return m_htmlTags; }
    void SetHTMLTags(bool value) { m_htmlTags = value; }
    int Quality() const { return m_quality; }
    void SetQuality(int value) { m_quality = value; }
    QString Title() const { return m_title; }
    void SetTitle(const QString &value) { m_title = value; }
    QString Author() const { return m_author; }
    void SetAuthor(const QString &value) { m_author = value; }
    QString Subject() const { return m_subject; }
    void SetSubject(const QString &value) { m_subject = value; }
    QString Keywords() const { return m_keywords; }
    void SetKeywords(const QString &value) { m_keywords = value; }
    QString Creator() const { return m_creator; }
    void SetCreator(const QString &value) { m_creator = value; }
    QString Producer() const { return m_producer; }
    void SetProducer(const QString &value) { m_producer = value; }
    // Either password set encrypts the document; an empty owner password
    // stands for the user password.  Both are hashed as code page 1251.
    QString UserPassword() const { return m_userPassword; }
    void SetUserPassword(const QString &value) { m_userPassword = value; }
    QString OwnerPassword() const { return m_ownerPassword; }
    void SetOwnerPassword(const QString &value) { m_ownerPassword = value; }
    TqvxPDFEncBits ProtectionFlags() const { return m_protectionFlags; }
    void SetProtectionFlags(TqvxPDFEncBits value) { m_protectionFlags = value; }
    bool HideToolbar() const { return m_hideToolbar; }
    void SetHideToolbar(bool value) { m_hideToolbar = value; }
    bool HideMenubar() const { return m_hideMenubar; }
    void SetHideMenubar(bool value) { m_hideMenubar = value; }
    bool HideWindowUI() const { return m_hideWindowUI; }
    void SetHideWindowUI(bool value) { m_hideWindowUI = value; }
    bool FitWindow() const { return m_fitWindow; }
    void SetFitWindow(bool value) { m_fitWindow = value; }
    bool CenterWindow() const { return m_centerWindow; }
    void SetCenterWindow(bool value) { m_centerWindow = value; }
    // Off, the document asks viewers not to scale it when printing.
    bool PrintScaling() const { return m_printScaling; }
    void SetPrintScaling(bool value) { m_printScaling = value; }

    // --- Seams --------------------------------------------------------------

    // The local time of the info dates; the clock by default.
    std::function<QDateTime()> Clock;
    // The file identifier, 32 lowercase hex digits; by default the MD5 of a
    // new UUID's text.
    std::function<QByteArray()> NewFileId;
    // Font warnings; by default they go to the report's error list.
    TqvxPDFWarningSink OnWarning;
    // Reports a warning of the page drawing as the font warnings go.
    void Warn(const QString &text) { warn(text); }

    // --- Routines of the page drawing ----------------------------------------

    static void Write(TStream *stream, const QByteArray &text);
    static void WriteLn(TStream *stream, const QByteArray &text);
    // A line of page content, which ends with LF alone.
    static void WriteContentLn(TStream *stream, const QByteArray &text);
    // The file being written, and the content of the current page.
    TStream *Output() const { return m_output; }
    TMemoryStream *PageContent() const { return m_content.get(); }

    // Records the output position as the offset of a new object and
    // answers its number.
    int UpdateXRef();
    // The object reserved earlier starts here.
    void SetXRef(int objectNumber);
    static QByteArray ObjNumber(int n) { return QByteArray::number(n) + " 0 obj"; }
    static QByteArray ObjNumberRef(int n) { return QByteArray::number(n) + " 0 R"; }

    // The geometry of the current page, as the page drawing gave it.
    const TqvxPDFPageInfo &PageInfo() const { return m_pageInfo; }
    // Page coordinates: pixels of the current page to points.
    double PX(double x) const { return x * 0.75 + m_leftOffset; }
    double PY(double y) const { return m_pageHeight - m_topOffset - y * 0.75; }
    double PageWidthPt() const { return m_pageWidth; }
    double PageHeightPt() const { return m_pageHeight; }

    QByteArray GetPDFColor(TColor color) { return m_colorText(color); }

    // What the current page's content has set, so that operators are
    // written only where they change it.
    TqvxPDFGraphicsState &GraphicsState() { return m_graphicsState; }
    // An empty stream that one memo's operators are put together in before
    // they go into the page content.
    TMemoryStream *MemoContent()
    {
        m_memoContent.Seek(0, soBeginning);
        m_memoContent.SetSize(0);
        return &m_memoContent;
    }

    // An emptied buffer that one view's operators are put together in.
    TqvxPDFContentText &OperatorText()
    {
        m_operatorText.Clear();
        return m_operatorText;
    }

    // The document's font for a report font, added on first use (with the
    // face given, or else the face the font engine serves).  A face that
    // cannot be embedded is reported once; other faces show its text.
    TqvxPDFFont *FindFont(const TFont &font, const TFontFacePtr &face = nullptr);

    // The operators that show a line in a font of the document inside a
    // text object whose font is already set to it at this size: the
    // glyphs, fonts standing in for characters the face lacks (the text
    // object's font set again after them), and the line as ActualText
    // where the glyphs alone would not give it back.  shownGlyphs, when
    // given, receives the shaped line when the font shows the whole line,
    // and no glyph when other fonts take part.
    // With the character spacing (points) the text is shown with, a mark
    // of no advance stays on its base and takes none.
    QByteArray ShowText(TqvxPDFFont *font, int size, const QString &line, bool rightToLeft = false,
                        TqvxPDFShapedText *shownGlyphs = nullptr, double spacing = 0);
    // The same operators for a size in points, appended to out.  With
    // limits, whether the ink of the glyphs shown with the character
    // spacing (points) keeps within them; never when other fonts take part
    // or no glyph is shown.  False without limits.
    bool ShowText(TqvxPDFContentText &out, TqvxPDFFont *font, int size, const QString &line, bool rightToLeft,
                  double spacing, const TqvxPDFInkLimits *limits);
    const std::vector<std::unique_ptr<TqvxPDFFont>> &Fonts() const { return m_fonts; }

    // A text string of the object (encrypted when the document is).
    QByteArray PdfString(const QString &text, int objectNumber) const
    {
        return ::PdfString(text, objectNumber, m_keys.FileKey);
    }
    // A literal string of the bytes, encrypted when the document is.
    QByteArray LiteralString(const QByteArray &bytes, int objectNumber) const
    {
        return '(' + EscapeString(CryptData(bytes, objectNumber)) + ')';
    }
    bool Encrypted() const { return m_encrypted; }
    // The data in zlib format at the fastest level, as streams are stored.
    QByteArray Deflate(const QByteArray &data) { return m_deflater.Deflate(data.constData(), data.size()).toByteArray(); }
    // The stream bytes of an object, encrypted when the document is.
    QByteArray CryptData(const QByteArray &data, int objectNumber) const;

    // A link over rect ("x1 y1 x2 y2", points) of the current page to a
    // URI; its object number is reserved now.
    void AddURILink(const QByteArray &rect, const QString &uri);
    // A link to a place on prepared page (from 0); none when that page is
    // not exported.  top is in pixels of the current page.
    void AddPageLink(const QByteArray &rect, int preparedPage, double top);

    // Pictures written on the current page, found by the MD5 of their bytes
    // (of bytes and then more, as if they were one).
    static QByteArray PictureFingerprint(const QByteArray &bytes, const QByteArray &more = QByteArray());
    int FindPicture(const QByteArray &digest) const;
    int AddPicture(int objectNumber, const QByteArray &digest);
    int PictureObject(int index) const { return m_pictures.at(size_t(index)).ObjectNumber; }
    // The page draws picture index; FinishPage lists it once as "/Im" +
    // index, however often it is drawn.
    void UsePicture(int index)
    {
        if (!m_pagePictures.contains(index))
            m_pagePictures.append(index);
    }
    void ClearPictures();

    // The index among the exported pages of a prepared page; -1 when the
    // page is not exported.
    int ExportedPageIndex(int preparedPage) const;

private:
    struct TqvxPDFPicture {
        int ObjectNumber = 0;
        QByteArray Digest;
    };

    void Clear();
    QString OutputFileName();
    QByteArray NewIdentifier() const;
    void WriteInfo(int infoNumber);
    int WriteOutlines();
    void WriteAnnots();
    void WriteCatalog(int catalog, int outlineRoot);
    void WriteFonts(TqvxPDFFont &font);
    void WriteFontStream(int n, const QByteArray &data, const QByteArray &prefix, bool lengthOne);
    void WriteFontDescriptor(int d, const TqvxPDFFont &font, const QByteArray &name, const QByteArray &fontFile);
    void warn(const QString &text);
    // Brings the page into the sizes PDF readers take, with one warning
    // for the first page that needs it.
    void limitPageSize();
    static QByteArray WithActualText(const QString &text, const QByteArray &shown);
    // The operators that show a shaped line's glyphs at a size in points,
    // the glyphs of each of its spans inside a span with that ActualText;
    // spacing is the character spacing they are shown with (points).
    static QByteArray showGlyphs(const TqvxPDFShapedText &shaped, int size, double spacing);
    // The operators that show the glyphs from first up to end at their
    // places, leaving the pen where the shaper leaves it; inSpan tells
    // that they stand inside a span with ActualText.
    static QByteArray showPlaced(const TqvxPDFShapedText &shaped, qsizetype first, qsizetype end, int size,
                                 bool inSpan, double spacing);
    // The document's font for a face standing in for another font's
    // characters (embedded always); nullptr when the face is unusable.
    TqvxPDFFont *FaceFont(const TFontFile &file, const TqvxPDFFont &font);
    TqvxPDFFont *addFont(std::unique_ptr<TqvxPDFFont> font);
    // The document's font that shows text in the face for the font: the
    // font itself for its own face.
    TqvxPDFFont *documentFont(const TFontFace &face, TqvxPDFFont &font);

    bool m_compressed = true;
    bool m_embeddedFonts = false;
    bool m_embedFontsIfProtected = true;
    bool m_openAfterExport = false;
    bool m_printOptimized = false;
    bool m_outline = false;
    bool m_background = false;
    bool m_htmlTags = true;
    int m_quality = 95;
    QString m_title;
    QString m_author;
    QString m_subject;
    QString m_keywords;
    QString m_creator;
    QString m_producer;
    QString m_userPassword;
    QString m_ownerPassword;
    TqvxPDFEncBits m_protectionFlags = ePrint | eModify | eCopy | eAnnot;
    bool m_hideToolbar = false;
    bool m_hideMenubar = false;
    bool m_hideWindowUI = false;
    bool m_fitWindow = false;
    bool m_centerWindow = false;
    bool m_printScaling = false;

    // One document.
    TStream *m_output = nullptr;
    QList<qint64> m_xref;
    QList<int> m_pageObjects;
    QList<double> m_pageHeights;
    std::vector<std::unique_ptr<TqvxPDFFont>> m_fonts;
    QSet<QString> m_unusableFaces; // file#index
    QList<TqvxPDFAnnot> m_annots;
    QByteArray m_pageAnnots;
    std::unique_ptr<TMemoryStream> m_content;
    std::vector<TqvxPDFPicture> m_pictures;
    QList<int> m_pagePictures;
    QList<int> m_exportedPages; // prepared page numbers from 1; empty for all
    TqvxCustomOutline *m_outlineSource = nullptr;
    int m_preparedPageCount = 0;
    TqvxPDFPageInfo m_pageInfo;
    double m_pageWidth = 0;
    double m_pageHeight = 0;
    bool m_pageSizeLimited = false;
    double m_leftOffset = 0;
    double m_topOffset = 0;
    QByteArray m_fileId;
    bool m_encrypted = false;
    bool m_embedFonts = false;
    bool m_openType = false;
    TqvxPDFKeys m_keys;
    TqvxPDFColorText m_colorText;
    TqvxPDFGraphicsState m_graphicsState;
    TMemoryStream m_memoContent;
    TqvxPDFContentText m_operatorText;
    TqvxPDFDeflater m_deflater;
};

// Declares the defaults of the filter's published properties.
void InitializeQvxExportPDF();
