#include "export/pdf/qvxExportPDF.h"

#include "export/pdf/qvxCrypto.h"
#include "export/pdf/qvxmd5.h"
#include "report/model/qvxCustomOutline.h"
#include "report/model/qvxCustomPreviewPages.h"
#include "report/model/qvxReportLink.h"
#include "report/model/qvxResources.h"
#include "report/base/qvxTextUtils.h"
#include "report/components/qvxView.h"
#include "report/xml/qvxZLib.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/PropertyDeclarations.h"
#include "toolkit/classes/TStringList.h"
#include "toolkit/widgets/ShellOpen.h"
#include "toolkit/widgets/TApplication.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QUuid>

#include <algorithm>
#include <cmath>

namespace {

TqvxPDFPageDrawing &installedDrawing()
{
    static TqvxPDFPageDrawing drawing;
    return drawing;
}

// A colour component of the page background: "0", "1", or c / 255.
QByteArray backgroundComponent(int c)
{
    if (c == 0)
        return "0";
    if (c == 255)
        return "1";
    return PdfNumber(c / 255.0);
}

QByteArray backgroundColor(TColor color)
{
    const TColor rgb = ColorToRGB(color);
    return backgroundComponent(rgb & 0xFF) + ' ' + backgroundComponent((rgb >> 8) & 0xFF) + ' '
        + backgroundComponent((rgb >> 16) & 0xFF);
}

QByteArray tenDigits(qint64 offset)
{
    return QByteArray::number(offset).rightJustified(10, '0');
}

} // namespace

const TqvxPDFPageDrawing &qvxPDFPageDrawing()
{
    return installedDrawing();
}

void qvxInstallPDFPageDrawing(const TqvxPDFPageDrawing &drawing)
{
    if (drawing.PageInfo)
        installedDrawing().PageInfo = drawing.PageInfo;
    if (drawing.WriteView)
        installedDrawing().WriteView = drawing.WriteView;
}

void qvxRemovePDFPageDrawing()
{
    installedDrawing() = TqvxPDFPageDrawing();
}

TqvxPDFExport::TqvxPDFExport(TComponent *owner) : TqvxCustomExportFilter(owner)
{
    m_author = QStringLiteral("Quorvel");
    m_subject = QStringLiteral("Quorvel PDF export");
    if (Application)
        m_creator = Application->Name();
    SetDefaultExt(qvxGet(8708));
    SetFilterDesc(qvxGet(8707));
}

TqvxPDFExport::~TqvxPDFExport() = default;

QString TqvxPDFExport::GetDescription() const
{
    return qvxResources()->Get(QStringLiteral("PDFexport"));
}

// --- Output -----------------------------------------------------------------

void TqvxPDFExport::Write(TStream *stream, const QByteArray &text)
{
    stream->WriteBuffer(text);
}

void TqvxPDFExport::WriteLn(TStream *stream, const QByteArray &text)
{
    stream->WriteBuffer(text + "\r\n");
}

void TqvxPDFExport::WriteContentLn(TStream *stream, const QByteArray &text)
{
    stream->WriteBuffer(text + '\n');
}

int TqvxPDFExport::UpdateXRef()
{
    m_xref.append(m_output->Position());
    return int(m_xref.size());
}

void TqvxPDFExport::SetXRef(int objectNumber)
{
    m_xref[objectNumber - 1] = m_output->Position();
}

QByteArray TqvxPDFExport::CryptData(const QByteArray &data, int objectNumber) const
{
    return m_encrypted ? CryptBytes(m_keys.FileKey, data, objectNumber) : data;
}

void TqvxPDFExport::warn(const QString &text)
{
    if (OnWarning)
        OnWarning(text);
    else if (Report() && Report()->Errors())
        Report()->Errors()->Add(text);
}

// --- Start ------------------------------------------------------------------

QString TqvxPDFExport::OutputFileName()
{
    QString name = FileName();
    if (SlaveExport()) {
        const QString reportFile = Report() ? Report()->FileName() : QString();
        const QString stem = reportFile.isEmpty() ? QStringLiteral("qv") : QFileInfo(reportFile).completeBaseName() + u'-';
        name = NewSlaveFileName(stem, qvxGet(8708));
    }
    if (!name.isEmpty() && !name.contains(QLatin1Char('/')) && !DefaultPath().isEmpty())
        name = DefaultPath() + QLatin1Char('/') + name;
    return name;
}

QByteArray TqvxPDFExport::NewIdentifier() const
{
    if (NewFileId)
        return NewFileId();
    return MD5String(QUuid::createUuid().toString(QUuid::WithBraces).toUpper().toLatin1());
}

bool TqvxPDFExport::Start()
{
    const QString name = OutputFileName();
    if (name.isEmpty() && !Stream())
        return false;
    SetFileName(name);
    Clear();
    m_fileId = NewIdentifier();
    m_encrypted = !m_ownerPassword.isEmpty() || !m_userPassword.isEmpty();
    m_embedFonts = m_encrypted ? m_embedFontsIfProtected : m_embeddedFonts;
    if (m_encrypted)
        m_keys = PrepareKeys(PasswordBytes(m_userPassword, TqvxPasswordRole::User),
                             PasswordBytes(m_ownerPassword, TqvxPasswordRole::Owner),
                             PermissionValue(m_protectionFlags), QByteArray::fromHex(m_fileId));

    if (TqvxCustomPreviewPages *pages = Report() ? Report()->PreviewPages() : nullptr) {
        m_preparedPageCount = pages->Count();
        if (m_outline)
            m_outlineSource = pages->Outline();
        // The export put the page it takes for "current page only" into
        // the page numbers, with or without a preview.
        TStringList numbers;
        qvxParsePageRange(PageNumbers(), &numbers, m_preparedPageCount);
        for (int i = 0; i < numbers.Count(); ++i)
            m_exportedPages.append(numbers.Strings(i).toInt());
    }

    m_output = OutputStream();
    WriteLn(m_output, "%PDF-1.5");
    UpdateXRef();
    return true;
}

int TqvxPDFExport::ExportedPageIndex(int preparedPage) const
{
    if (preparedPage < 0 || (m_preparedPageCount > 0 && preparedPage >= m_preparedPageCount))
        return -1;
    if (m_exportedPages.isEmpty())
        return preparedPage;
    return int(m_exportedPages.indexOf(preparedPage + 1));
}

// --- Pages ------------------------------------------------------------------

void TqvxPDFExport::StartPage(TqvxReportPage *page, int)
{
    if (!qvxPDFPageDrawing().PageInfo)
        throw Exception(QStringLiteral("No page drawing is installed for the PDF export"));
    m_pageInfo = qvxPDFPageDrawing().PageInfo(page);
    m_pagePictures.clear();
    m_pageWidth = m_pageInfo.Width * 0.75;
    m_pageHeight = m_pageInfo.Height * 0.75;
    limitPageSize();
    m_pageHeights.append(m_pageHeight);
    m_leftOffset = m_pageInfo.LeftMargin * 0.05;
    m_topOffset = m_pageInfo.TopMargin * 0.05;
    // One stream serves page after page, keeping its room.
    if (!m_content)
        m_content = std::make_unique<TMemoryStream>();
    m_content->Seek(0, soBeginning);
    m_content->SetSize(0);
    m_graphicsState.Reset();

    if (m_pageInfo.Color == clNone)
        return;
    const double k = 72 / 25.4;
    const QByteArray x1 = PdfNumber(m_pageInfo.LeftMargin * k);
    const QByteArray y1 = PdfNumber(m_pageInfo.BottomMargin * k);
    const QByteArray x2 = PdfNumber(m_pageWidth - m_pageInfo.RightMargin * k);
    const QByteArray y2 = PdfNumber(m_pageHeight - m_pageInfo.TopMargin * k);
    const QByteArray color = backgroundColor(m_pageInfo.Color);
    TStream *c = m_content.get();
    WriteContentLn(c, PdfNumber(0) + " w");
    WriteContentLn(c, color + " RG");
    WriteContentLn(c, color + " rg");
    WriteContentLn(c, x1 + ' ' + y1 + " m");
    WriteContentLn(c, x2 + ' ' + y1 + " l");
    WriteContentLn(c, x2 + ' ' + y2 + " l");
    WriteContentLn(c, x1 + ' ' + y2 + " l");
    WriteContentLn(c, "B");
    m_graphicsState.PenWritten(QByteArray(), "[] 0 d", TqvxPDFNumber(0));
}

void TqvxPDFExport::limitPageSize()
{
    const auto limited = [](double size) {
        return std::isfinite(size) ? std::clamp(size, MinPageSizePt, MaxPageSizePt) : MaxPageSizePt;
    };
    const double width = limited(m_pageWidth);
    const double height = limited(m_pageHeight);
    if (width == m_pageWidth && height == m_pageHeight)
        return;
    // The top left of the page stays in place.  A page without any size
    // (no page object behind it) is no fault of the file.
    const bool sizeless = m_pageWidth == 0 && m_pageHeight == 0;
    if (!m_pageSizeLimited && !sizeless)
        warn(QCoreApplication::translate("qvxExportPDF", "Page %1 measures %2 x %3 pt; a PDF page measures %4 to %5 pt "
                                                         "a side, so the page was cut to %6 x %7 pt")
                 .arg(m_pageHeights.size() + 1)
                 .arg(m_pageWidth, 0, 'f', 0)
                 .arg(m_pageHeight, 0, 'f', 0)
                 .arg(MinPageSizePt, 0, 'f', 0)
                 .arg(MaxPageSizePt, 0, 'f', 0)
                 .arg(width, 0, 'f', 0)
                 .arg(height, 0, 'f', 0));
    m_pageSizeLimited = m_pageSizeLimited || !sizeless;
    m_pageWidth = width;
    m_pageHeight = height;
}

void TqvxPDFExport::ExportObject(TqvxComponent *object)
{
    auto *view = dynamic_cast<TqvxView *>(object);
    if (!view || (!view->Printable() && !ExportNotPrintable()))
        return;
    if (!qvxPDFPageDrawing().WriteView)
        throw Exception(QStringLiteral("No page drawing is installed for the PDF export"));
    qvxPDFPageDrawing().WriteView(*this, view);
}

void TqvxPDFExport::FinishPage(TqvxReportPage *, int)
{
    TStream *c = m_content.get();
    const TqvxPDFPageInfo &info = m_pageInfo;
    if (info.FrameHasSides && info.FrameColor != clNone) {
        const double x = info.AbsLeft * 0.75 + m_leftOffset;
        const double y = m_pageHeight - m_topOffset - (info.Height - info.AbsTop) * 0.75;
        const double w = (info.Width - 2 * info.AbsLeft) * 0.75 - 2 * m_leftOffset;
        const double h = (info.Height - 2 * info.AbsTop) * 0.75 - 2 * m_topOffset;
        WriteContentLn(c, GetDashPattern(info.FrameStyle, info.FrameWidth));
        WriteContentLn(c, GetPDFColor(info.FrameColor) + " RG");
        WriteContentLn(c, PdfNumber(info.FrameWidth * 0.75) + " w");
        WriteContentLn(c, GetPDFColor(info.Color) + " rg");
        WriteContentLn(c, PdfNumber(x) + ' ' + PdfNumber(y) + ' ');
        WriteContentLn(c, PdfNumber(w) + ' ' + PdfNumber(h) + " re");
        WriteContentLn(c, info.Color == clNone ? "S" : "B");
    }

    const int n = UpdateXRef();
    WriteLn(m_output, ObjNumber(n));
    Write(m_output, "<< ");
    const QByteArray &content = m_content->Bytes();
    if (m_compressed) {
        const QByteArrayView packed = m_deflater.Deflate(content.constData(), content.size());
        WriteLn(m_output, "/Filter /FlateDecode /Length " + QByteArray::number(packed.size()) + " /Length1 "
                              + QByteArray::number(content.size()) + " >>");
        WriteLn(m_output, "stream");
        if (m_encrypted)
            Write(m_output, CryptData(packed.toByteArray(), n));
        else
            m_output->WriteBuffer(packed.data(), packed.size());
        Write(m_output, "\r\n");
    } else {
        WriteLn(m_output, "/Length " + QByteArray::number(content.size()) + " >>");
        WriteLn(m_output, "stream");
        Write(m_output, CryptData(content, n));
    }
    WriteLn(m_output, "endstream");
    WriteLn(m_output, "endobj");

    for (const auto &font : m_fonts)
        if (font->ObjectNumber == 0)
            font->ObjectNumber = UpdateXRef();

    const int p = UpdateXRef();
    m_pageObjects.append(p);
    WriteLn(m_output, ObjNumber(p));
    WriteLn(m_output, "<<");
    WriteLn(m_output, "/Type /Page");
    WriteLn(m_output, "/Parent 1 0 R");
    WriteLn(m_output, "/MediaBox [0 0 " + PdfNumber(m_pageWidth) + ' ' + PdfNumber(m_pageHeight) + " ]");
    if (!m_pageAnnots.isEmpty()) {
        WriteLn(m_output, "/Annots [");
        Write(m_output, m_pageAnnots);
        WriteLn(m_output, "]");
        m_pageAnnots.clear();
    }
    WriteLn(m_output, "/Resources <<");
    QByteArray fonts = "/Font << ";
    for (const auto &font : m_fonts)
        fonts += font->ResourceName + ' ' + ObjNumberRef(font->ObjectNumber) + ' ';
    WriteLn(m_output, fonts + ">>");
    if (!m_pagePictures.isEmpty()) {
        QByteArray pictures = "/XObject << ";
        for (int index : m_pagePictures)
            pictures += "/Im" + QByteArray::number(index) + ' ' + ObjNumberRef(PictureObject(index)) + ' ';
        WriteLn(m_output, pictures + ">>");
    }
    WriteLn(m_output, "/ProcSet [/PDF /Text /ImageC ]");
    WriteLn(m_output, ">>");
    WriteLn(m_output, "/Contents " + ObjNumberRef(n));
    WriteLn(m_output, ">>");
    WriteLn(m_output, "endobj");
    ClearPictures();
}

TqvxPDFFont *TqvxPDFExport::FindFont(const TFont &font, const TFontFacePtr &face)
{
    for (const auto &known : m_fonts)
        if (known->Matches(font))
            return known.get();
    auto added = std::make_unique<TqvxPDFFont>(font, face);
    if (!added->Unusable().isEmpty())
        warn(QCoreApplication::translate("qvxExportPDF",
                                         "The font \"%1\" (%2) cannot be embedded: %3; other fonts show its characters")
                 .arg(font.Name(), added->Face().File().FileName, added->Unusable()));
    return addFont(std::move(added));
}

TqvxPDFFont *TqvxPDFExport::addFont(std::unique_ptr<TqvxPDFFont> font)
{
    font->ResourceName = "/F" + QByteArray::number(qsizetype(m_fonts.size()));
    m_fonts.push_back(std::move(font));
    return m_fonts.back().get();
}

// --- Links and pictures ---------------------------------------------------------

void TqvxPDFExport::AddURILink(const QByteArray &rect, const QString &uri)
{
    TqvxPDFAnnot annot;
    annot.ObjectNumber = UpdateXRef();
    annot.Rect = rect;
    annot.URI = PdfStringOf(uri, annot.ObjectNumber, m_keys.FileKey);
    m_pageAnnots += ObjNumberRef(annot.ObjectNumber) + "\r\n";
    m_annots.append(annot);
}

void TqvxPDFExport::AddPageLink(const QByteArray &rect, int preparedPage, double top)
{
    const int destination = ExportedPageIndex(preparedPage);
    if (destination < 0)
        return;
    TqvxPDFAnnot annot;
    annot.ObjectNumber = UpdateXRef();
    annot.Rect = rect;
    annot.DestPage = destination;
    annot.DestTop = int(std::nearbyint(PY(top)));
    m_pageAnnots += ObjNumberRef(annot.ObjectNumber) + "\r\n";
    m_annots.append(annot);
}

QByteArray TqvxPDFExport::PictureFingerprint(const QByteArray &bytes, const QByteArray &more)
{
    TCryptoMD5 md5;
    md5.Update(bytes);
    md5.Update(more);
    return md5.Digest();
}

int TqvxPDFExport::FindPicture(const QByteArray &digest) const
{
    for (size_t i = 0; i < m_pictures.size(); ++i)
        if (m_pictures[i].ObjectNumber != 0 && m_pictures[i].Digest == digest)
            return int(i);
    return -1;
}

int TqvxPDFExport::AddPicture(int objectNumber, const QByteArray &digest)
{
    m_pictures.push_back({objectNumber, digest});
    return int(m_pictures.size()) - 1;
}

void TqvxPDFExport::ClearPictures()
{
    for (TqvxPDFPicture &picture : m_pictures)
        picture = {0, QByteArray(16, '\0')};
}

// --- Finish -----------------------------------------------------------------

void TqvxPDFExport::Finish()
{
    for (const auto &font : m_fonts)
        WriteFonts(*font);

    SetXRef(1);
    WriteLn(m_output, ObjNumber(1));
    WriteLn(m_output, "<<");
    WriteLn(m_output, "/Type /Pages");
    QByteArray kids = "/Kids [";
    for (int page : m_pageObjects)
        kids += ObjNumberRef(page) + ' ';
    WriteLn(m_output, kids + ']');
    WriteLn(m_output, "/Count " + QByteArray::number(m_pageObjects.size()));
    WriteLn(m_output, ">>");
    WriteLn(m_output, "endobj");

    const int info = UpdateXRef();
    WriteInfo(info);
    const int outlineRoot = m_outline ? WriteOutlines() : 0;
    WriteAnnots();
    const int catalog = UpdateXRef();
    WriteCatalog(catalog, outlineRoot);

    const qint64 xref = m_output->Position();
    WriteLn(m_output, "xref");
    WriteLn(m_output, "0 " + QByteArray::number(m_xref.size() + 1));
    WriteLn(m_output, "0000000000 65535 f");
    for (qint64 offset : m_xref)
        WriteLn(m_output, tenDigits(offset) + " 00000 n");

    WriteLn(m_output, "trailer");
    WriteLn(m_output, "<<");
    WriteLn(m_output, "/Size " + QByteArray::number(m_xref.size() + 1));
    WriteLn(m_output, "/Root " + ObjNumberRef(catalog));
    WriteLn(m_output, "/Info " + ObjNumberRef(info));
    WriteLn(m_output, "/ID [<" + m_fileId + "><" + m_fileId + ">]");
    if (m_encrypted) {
        WriteLn(m_output, "/Encrypt <<");
        WriteLn(m_output, "/Filter /Standard");
        WriteLn(m_output, "/V 2");
        WriteLn(m_output, "/R 3");
        WriteLn(m_output, "/Length 128");
        WriteLn(m_output, "/P " + QByteArray::number(PermissionValue(m_protectionFlags)));
        WriteLn(m_output, "/O (" + EscapeString(m_keys.O) + ')');
        WriteLn(m_output, "/U (" + EscapeString(m_keys.U) + ')');
        WriteLn(m_output, ">>");
    }
    WriteLn(m_output, ">>");
    WriteLn(m_output, "startxref");
    WriteLn(m_output, QByteArray::number(xref));
    WriteLn(m_output, "%%EOF");

    const bool ownFile = !Stream();
    Clear();
    if (m_openAfterExport && ownFile && QCoreApplication::instance()) {
        // The file takes its name once Finish has returned.
        const QString path = QFileInfo(FileName()).absoluteFilePath();
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [path] { ShellOpen(path); }, Qt::QueuedConnection);
    }
}

void TqvxPDFExport::WriteInfo(int i)
{
    QDateTime now = Clock ? Clock() : QDateTime::currentDateTime();
    const QByteArray date = "D:" + now.toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1();
    WriteLn(m_output, ObjNumber(i));
    WriteLn(m_output, "<<");
    WriteLn(m_output, "/Title " + PdfString(m_title, i));
    WriteLn(m_output, "/Author " + PdfString(m_author, i));
    WriteLn(m_output, "/Subject " + PdfString(m_subject, i));
    WriteLn(m_output, "/Keywords " + PdfString(m_keywords, i));
    WriteLn(m_output, "/Creator " + PdfString(m_creator, i));
    WriteLn(m_output, "/Producer " + PdfString(m_producer, i));
    // Dates are ASCII strings, encrypted like every string.
    const QByteArray dateString = LiteralString(date, i);
    WriteLn(m_output, "/CreationDate " + dateString);
    WriteLn(m_output, "/ModDate " + dateString);
    WriteLn(m_output, ">>");
    WriteLn(m_output, "endobj");
}

void TqvxPDFExport::WriteAnnots()
{
    for (const TqvxPDFAnnot &annot : m_annots) {
        SetXRef(annot.ObjectNumber);
        WriteLn(m_output, ObjNumber(annot.ObjectNumber));
        WriteLn(m_output, "<<");
        WriteLn(m_output, "/Type /Annot");
        WriteLn(m_output, "/Subtype /Link");
        WriteLn(m_output, "/Rect [" + annot.Rect + ']');
        if (!annot.URI.isEmpty()) {
            WriteLn(m_output, "/BS << /W 0 >>");
            WriteLn(m_output, "/A <<");
            WriteLn(m_output, "/URI " + annot.URI);
            WriteLn(m_output, "/Type /Action");
            WriteLn(m_output, "/S /URI");
            WriteLn(m_output, ">>");
        } else {
            WriteLn(m_output, "/Border [16 16 0]");
            // A page left out of the export after the link was made (the
            // export ended early) leaves the link without a destination.
            if (annot.DestPage < m_pageObjects.size())
                WriteLn(m_output, "/Dest [" + ObjNumberRef(m_pageObjects[annot.DestPage]) + " /XYZ null "
                                      + QByteArray::number(annot.DestTop) + " null]");
        }
        WriteLn(m_output, ">>");
        WriteLn(m_output, "endobj");
    }
}

void TqvxPDFExport::WriteCatalog(int c, int outlineRoot)
{
    WriteLn(m_output, ObjNumber(c));
    WriteLn(m_output, "<<");
    WriteLn(m_output, "/Type /Catalog");
    WriteLn(m_output, "/Pages " + ObjNumberRef(1));
    if (m_openType)
        WriteLn(m_output, "/Version /1.6");
    WriteLn(m_output, QByteArray("/PageMode ") + (m_outline ? "/UseOutlines" : "/UseNone"));
    if (outlineRoot != 0)
        WriteLn(m_output, "/Outlines " + ObjNumberRef(outlineRoot));
    WriteLn(m_output, "/ViewerPreferences <<");
    if (!m_title.isEmpty())
        WriteLn(m_output, "/DisplayDocTitle true");
    if (m_hideToolbar)
        WriteLn(m_output, "/HideToolbar true");
    if (m_hideMenubar)
        WriteLn(m_output, "/HideMenubar true");
    if (m_hideWindowUI)
        WriteLn(m_output, "/HideWindowUI true");
    if (m_fitWindow)
        WriteLn(m_output, "/FitWindow true");
    if (m_centerWindow)
        WriteLn(m_output, "/CenterWindow true");
    if (!m_printScaling)
        WriteLn(m_output, "/PrintScaling /None");
    WriteLn(m_output, ">>");
    WriteLn(m_output, ">>");
    WriteLn(m_output, "endobj");
}

void TqvxPDFExport::Clear()
{
    m_output = nullptr;
    m_xref.clear();
    m_pageObjects.clear();
    m_pageHeights.clear();
    m_pageSizeLimited = false;
    m_fonts.clear();
    m_unusableFaces.clear();
    m_annots.clear();
    m_pageAnnots.clear();
    m_content.reset();
    m_pictures.clear();
    m_pagePictures.clear();
    m_exportedPages.clear();
    m_outlineSource = nullptr;
    m_preparedPageCount = 0;
    m_openType = false;
    m_keys = TqvxPDFKeys();
    m_colorText = TqvxPDFColorText();
}

void InitializeQvxExportPDF()
{
    RegisterClass<TqvxPDFExport>();
    DescribeProperties<TqvxPDFExport>()
        .Default("Compressed", 1)
        .Default("EmbeddedFonts", 0)
        .Default("EmbedFontsIfProtected", 1)
        .Default("OpenAfterExport", 0)
        .Default("PrintOptimized", 0)
        .Default("Outline", 0)
        .Default("Background", 0)
        .Default("HTMLTags", 1)
        .Default("OverwritePrompt", 0)
        .Default("Quality", 95)
        .Default("ProtectionFlags", 15)
        .Default("HideToolbar", 0)
        .Default("HideMenubar", 0)
        .Default("HideWindowUI", 0)
        .Default("FitWindow", 0)
        .Default("CenterWindow", 0)
        .Default("PrintScaling", 0)
        .Wide("Title")
        .Wide("Author")
        .Wide("Subject")
        .Wide("Keywords")
        .Wide("Creator")
        .Wide("Producer");
}
