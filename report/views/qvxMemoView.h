#pragma once

// The text object of a report: lines of wide text in which bracketed
// expressions are replaced by their values while the report is prepared,
// formatted by display formats, coloured by conditional highlights, laid
// out and drawn through the text layout object (qvxDrawText.h), grown or
// shrunk to its text and split across pages.
//
// TqvxMemoView publishes every property; TqvxSysMemoView, the memo of
// system values and aggregates, a subset.  Prepared pages store each
// printed copy as the memo's difference text (Diff).

#include "report/base/TWideStrings.h"
#include "report/components/qvxFormat.h"
#include "report/components/qvxHighlight.h"
#include "report/components/qvxStyles.h"
#include "report/components/qvxView.h"
#include "report/text/qvxDrawText.h"
#include "toolkit/core/Variants.h"
#include "toolkit/graphics/Rects.h"

#include <memory>

class TqvxDataSet;

class TqvxCustomMemoView : public TqvxStretcheable, public TqvxStyledObject
{
    Q_OBJECT

public:
    // Prepared pages describe the memo by its own Diff; the serializer asks
    // it for the nested "Formats" and "Highlights".
    explicit TqvxCustomMemoView(TComponent *owner = nullptr);
    ~TqvxCustomMemoView() override;

    QString GetDescription() const override;

    // --- Properties ---------------------------------------------------------

    bool AllowExpressions() const { return m_allowExpressions; }
    void SetAllowExpressions(bool value) { m_allowExpressions = value; }
    bool AllowHTMLTags() const { return m_allowHTMLTags; }
    void SetAllowHTMLTags(bool value) { m_allowHTMLTags = value; }
    // The width follows the text when drawn (the right edge stays with
    // haRight, the centre with haCenter).
    bool AutoWidth() const { return m_autoWidth; }
    void SetAutoWidth(bool value) { m_autoWidth = value; }
    bool SizesOwnWidth() const override { return m_autoWidth; }
    double CharSpacing() const { return m_charSpacing; }
    void SetCharSpacing(double value) { m_charSpacing = value; }
    bool Clipped() const { return m_clipped; }
    void SetClipped(bool value) { m_clipped = value; }
    // The first format item, made when the list is empty.
    TqvxFormat *DisplayFormat() const;
    void SetDisplayFormat(const TqvxFormat *value) { DisplayFormat()->Assign(value); }
    // Opening and closing delimiter separated by a comma.
    QString ExpressionDelimiters() const { return m_expressionDelimiters; }
    void SetExpressionDelimiters(const QString &value) { m_expressionDelimiters = value; }
    // The opening and closing delimiter: ExpressionDelimiters split at its
    // first comma (without a comma, no closing one).
    void ExpressionBrackets(QString &open, QString &close) const;
    // The text continues a paragraph of a previous part / its last
    // paragraph goes on in a next part.
    bool FirstParaBreak() const { return m_firstParaBreak; }
    void SetFirstParaBreak(bool value) { m_firstParaBreak = value; }
    bool LastParaBreak() const { return m_lastParaBreak; }
    void SetLastParaBreak(bool value) { m_lastParaBreak = value; }
    // Takes the text that does not fit; cleared when that memo is freed.
    TqvxCustomMemoView *FlowTo() const { return m_flowTo; }
    void SetFlowTo(TqvxCustomMemoView *value) { m_flowTo = value; }
    // Inner margins in screen pixels.
    double GapX() const { return m_gapX; }
    void SetGapX(double value) { m_gapX = value; }
    double GapY() const { return m_gapY; }
    void SetGapY(double value) { m_gapY = value; }
    TqvxHAlign HAlign() const { return m_hAlign; }
    void SetHAlign(TqvxHAlign value) { m_hAlign = value; }
    // A numeric zero prints as empty text.
    bool HideZeros() const { return m_hideZeros; }
    void SetHideZeros(bool value) { m_hideZeros = value; }
    // The first highlight item, made when the list is empty.
    TqvxHighlight *Highlight() const;
    void SetHighlight(const TqvxHighlight *value) { Highlight()->Assign(value); }
    double LineSpacing() const { return m_lineSpacing; }
    void SetLineSpacing(double value) { m_lineSpacing = value; }
    TWideStrings *Memo() const { return m_memo.get(); }
    void SetMemo(const TWideStrings *value) { m_memo->Assign(value); }
    TWideStrings *MemoText() const override { return m_memo.get(); }
    // First-line indent.
    double ParagraphGap() const { return m_paragraphGap; }
    void SetParagraphGap(double value) { m_paragraphGap = value; }
    // Degrees, kept modulo 360.
    int Rotation() const { return m_rotation; }
    void SetRotation(int value) { m_rotation = value % 360; }
    bool RTLReading() const { return m_rtlReading; }
    void SetRTLReading(bool value) { m_rtlReading = value; }
    // The name of a report style.  Setting it applies the style of that
    // name from the report's styles, when there is one.
    QString Style() const override { return m_style; }
    void SetStyle(const QString &value) override;
    // A value equal to the previous one prints as empty text.
    bool SuppressRepeated() const { return m_suppressRepeated; }
    void SetSuppressRepeated(bool value) { m_suppressRepeated = value; }
    // Ruled lines under the text lines.
    bool Underlines() const { return m_underlines; }
    void SetUnderlines(bool value) { m_underlines = value; }
    bool UseDefaultCharset() const { return m_useDefaultCharset; }
    void SetUseDefaultCharset(bool value) { m_useDefaultCharset = value; }
    TqvxVAlign VAlign() const { return m_vAlign; }
    void SetVAlign(TqvxVAlign value) { m_vAlign = value; }
    // Hyphenation of long words.
    bool WordBreak() const { return m_wordBreak; }
    void SetWordBreak(bool value) { m_wordBreak = value; }
    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool value) { m_wordWrap = value; }
    bool Wysiwyg() const { return m_wysiwyg; }
    void SetWysiwyg(bool value) { m_wysiwyg = value; }

    TqvxFormatCollection *Formats() const { return m_formats.get(); }
    TqvxHighlightCollection *Highlights() const { return m_highlights.get(); }

    // The lines, each closed by CR LF.
    QString Text() const { return m_memo->GetText(); }
    void SetText(const QString &value) { m_memo->SetText(value); }
    // The text as 8-bit text in the code page of the font's character set.
    QByteArray AnsiText() const;
    void SetAnsiText(const QByteArray &value);

    // Stored rules of the published properties.
    bool IsCharSpacingStored() const { return m_charSpacing != 0; }
    bool IsExpressionDelimitersStored() const;
    bool IsGapXStored() const { return m_gapX != 2; }
    bool IsGapYStored() const { return m_gapY != 1; }
    bool IsLineSpacingStored() const { return m_lineSpacing != 2; }
    bool IsParagraphGapStored() const { return m_paragraphGap != 0; }
    bool IsDisplayFormatStored() const { return m_formats->Count() == 1; }
    bool IsHighlightStored() const;

    // --- Run-time state -----------------------------------------------------

    // The last evaluated value.
    Variant Value() const { return m_value; }
    void SetValue(const Variant &value) { m_value = value; }
    // The previous printed text (SuppressRepeated); null at creation.
    Variant LastValue() const { return m_lastValue; }
    void SetLastValue(const Variant &value) { m_lastValue = value; }
    // The text still to be output while splitting.
    QString PartMemo() const;
    // The text rectangle in device pixels (BeginDraw).
    TRect TextRect() const { return m_textRect; }
    // The extra scale of printer canvases; set with the printing flag
    // (IsPrinting) by the page drawing.
    double PrintScale() const { return m_printScale; }
    void SetPrintScale(double value) { m_printScale = value; }
    // Set by the page drawing and exports before drawing.
    int TotalPages() const { return m_totalPages; }
    void SetTotalPages(int value) { m_totalPages = value; }
    int CopyNo() const { return m_copyNo; }
    void SetCopyNo(int value) { m_copyNo = value; }

    // --- Preparing ------------------------------------------------------------

    // Saves the text (unless the memo shows a data field).
    void BeforePrint() override;
    // The text for this copy: the expressions expanded and formatted, the
    // first highlight whose condition holds applied, repeated values
    // suppressed and what does not fit handed to FlowTo.  Page-count macros
    // that came from values (a data field, an expression's value) are left
    // out of the page-count pass: a copy that has none of its own has
    // AllowExpressions off until AfterPrint, and in one that has, they are
    // marked as a value's (see PutPageMacros).
    void GetData() override;
    // Restores the text and what a highlight changed.
    void AfterPrint() override;
    // Forgets the last value, so the next one prints.
    void ClearValue() { m_lastValue = QString(); }

    // The text of one expression: an inline format after " #" (N, D, B or
    // text, then the format string) or the format given; TOTALPAGES# and
    // COPYNAME# stay for the second pass, and macros in an expression's
    // value are marked as a value's.
    QString CalcAndFormat(const QString &expression, TqvxFormat *format);
    // The value as the format (the DisplayFormat when none) says; errors
    // give the value's plain text.
    QString FormatData(const Variant &value, TqvxFormat *format = nullptr);
    // The page-count pass over a copy's text: "[TOTALPAGES#]" becomes
    // totalPages and "[COPYNAME#]" the process-wide variable "CopyName" +
    // copyNo, while macros marked as a value's come out as the value had
    // them.  False when the text stays as it was.
    static bool PutPageMacros(QString &text, int totalPages, int copyNo);
    // PutPageMacros over the memo's text with TotalPages and CopyNo; where
    // it held a value's macros the memo takes no expressions afterwards, so
    // that drawing it again leaves them as they are.
    void SubstituteTotalPages();
    // The text with "[TOTALPAGES#]" replaced when expressions are on.
    QString GetComponentText() override;

    // Takes the highlight's font, fill and frame as its Apply flags say,
    // and its visibility.
    void ApplyHighlightItem(const TqvxHighlight *highlight);
    // Applies the Highlight item when it is Active (the designer's view).
    void ApplyHighlight();
    // Takes the style's fill, font and frame as its Apply flags say.
    void ApplyStyle(const TqvxStyleItem *style);

    // --- Drawing and measuring ----------------------------------------------

    // The view's box, then the text rectangle: inside the frame's lines
    // and the gaps.
    void BeginDraw(TCanvas *canvas, double scaleX, double scaleY, double offsetX, double offsetY) override;
    // Background, frame, underlines and text.
    void Draw(TCanvas *canvas, double scaleX, double scaleY, double offsetX, double offsetY) override;
    // Prepares the layout object for drawing at the given scale (AutoWidth
    // resizes the memo first); the caller holds the layout lock.
    void SetDrawParams(TCanvas *canvas, double scaleX, double scaleY, double offsetX, double offsetY);
    // The height and width the text needs, with frame and gaps.
    double CalcHeight() override;
    virtual double CalcWidth();

    // Part-by-part output: InitPart starts at the whole text; DrawPart
    // keeps the lines that fit into Height and returns the height left free
    // below them (Height when none fits); HasNextPart tells whether text
    // remains.  Each part lays out only the lines it may take, from where
    // the last one ended, so a text costs the same per line however long.
    void InitPart() override;
    double DrawPart() override;
    bool HasNextPart() override;
    // The height of the lines DrawPart kept, with frame and gaps, as
    // CalcHeight gives it.
    double PartHeight() override { return m_partHeight; }

    // The difference text against another memo; hands LastParaBreak on to
    // FirstParaBreak for the next part.
    QString Diff(const TqvxComponent *source) override;

    // "Formats" and "Highlights" when the lists hold more than one item.
    void WriteNestedProperties(TqvxXMLItem *item) override;
    bool ReadNestedProperty(TqvxXMLItem *item) override;

protected:
    void DefineProperties(TFiler &filer) override;

private:
    // The data set and field the memo shows: the linked data set, else the
    // one the report knows by DataSetName; nullptr without a field.
    TqvxDataSet *fieldDataSet() const;
    void readDataField(TqvxDataSet *dataSet);
    TqvxDrawText *layout() const;
    // Font, options and gaps of the layout object.
    void setupLayout(TqvxDrawText *drawText) const;
    // The layout of the text at scale 1 in a 10000 x 10000 box, or in the
    // memo's own text rectangle.
    void layOutAtScaleOne(TqvxDrawText *drawText, bool largeBox);
    // What frame and gaps take on one axis: both gaps, half of each frame
    // line drawn on that axis, and the drop shadow.
    double frameAndGaps(double gap, TqvxFrameType nearSide, TqvxFrameType farSide) const;
    // The height of the lines laid out, with frame and gaps, rounded.
    double heightOf(const TqvxDrawText *drawText) const;
    void expandExpressions();
    // Line index of the split's lines as the next part takes it, at most
    // limit characters of it (whole tells whether that is all of it).
    QString partLine(int index, qsizetype limit, bool &whole) const;
    // Leaves the page-count macros that came in with the copy's values (all
    // of its text when fromField) out of the page-count pass.
    void keepValueMacros(bool fromField);
    // Puts into the memo the rest of the line the last part cut and the
    // next source lines, count lines in all, each of at most limit
    // characters; false when a line had to be left unfinished.
    bool takePartLines(double count, qsizetype limit);
    // Lays out what the part takes: lines enough to fill the text
    // rectangle and one more, a long paragraph only so far as it needs.
    void layOutPart(TqvxDrawText *drawText, double fitting);
    // Moves the split past what the part laid out from its lines kept.
    void passPartLines(const TqvxDrawText::Cut &cut);
    void drawUnderlines(double lineHeight);
    void saveHighlightState();
    void restoreHighlightState();

    bool m_allowExpressions = true;
    bool m_allowHTMLTags = false;
    bool m_autoWidth = false;
    double m_charSpacing = 0;
    bool m_clipped = true;
    QString m_expressionDelimiters = QStringLiteral("[,]");
    bool m_firstParaBreak = false;
    bool m_lastParaBreak = false;
    TGuardedRef<TqvxCustomMemoView> m_flowTo{this};
    double m_gapX = 2;
    double m_gapY = 1;
    TqvxHAlign m_hAlign = haLeft;
    bool m_hideZeros = false;
    double m_lineSpacing = 2;
    std::unique_ptr<TWideStrings> m_memo;
    double m_paragraphGap = 0;
    int m_rotation = 0;
    bool m_rtlReading = false;
    QString m_style;
    bool m_suppressRepeated = false;
    bool m_underlines = false;
    bool m_useDefaultCharset = false;
    TqvxVAlign m_vAlign = vaTop;
    bool m_wordBreak = false;
    bool m_wordWrap = true;
    bool m_wysiwyg = true;
    std::unique_ptr<TqvxFormatCollection> m_formats;
    std::unique_ptr<TqvxHighlightCollection> m_highlights;

    Variant m_value;
    Variant m_lastValue = Variant::Null();
    // The lines BeforePrint found, which AfterPrint puts back; made on the
    // first print.
    std::unique_ptr<TWideStrings> m_savedText;
    bool m_hasSavedText = false;
    // AllowExpressions is off for this copy only: its text holds page-count
    // macros that came from values, not from the template.
    bool m_expressionsHeld = false;
    // The split: the lines it began with (taken from the memo by the first
    // part) and the first of them no part has finished.  When a part cut
    // that line, how much of it (as laid out: an empty line as one blank)
    // the parts took, and the elements that reopen the style where the
    // cut fell.  The height of the lines the last part kept.
    std::unique_ptr<TWideStrings> m_partLines;
    int m_partNext = 0;
    bool m_hasPartHead = false;
    int m_partOffset = 0;
    QString m_partReopen;
    bool m_partStarted = false;
    double m_partHeight = 0;
    TRect m_textRect;
    double m_printScale = 1;
    int m_totalPages = 0;
    int m_copyNo = 0;

    // What an applied highlight changed, restored by AfterPrint.
    struct HighlightState;
    std::unique_ptr<HighlightState> m_highlightState;
};

// The memo with every property published.
class TqvxMemoView : public TqvxCustomMemoView
{
    Q_OBJECT
    Q_PROPERTY(bool AllowExpressions READ AllowExpressions WRITE SetAllowExpressions)
    Q_PROPERTY(bool AllowHTMLTags READ AllowHTMLTags WRITE SetAllowHTMLTags)
    Q_PROPERTY(bool AutoWidth READ AutoWidth WRITE SetAutoWidth)
    Q_PROPERTY(GraphicsTypes::TBrushStyle BrushStyle READ BrushStyle WRITE SetBrushStyle)
    Q_PROPERTY(double CharSpacing READ CharSpacing WRITE SetCharSpacing)
    Q_PROPERTY(bool Clipped READ Clipped WRITE SetClipped)
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(TqvxFormat *DisplayFormat READ DisplayFormat WRITE SetDisplayFormat)
    Q_PROPERTY(QString ExpressionDelimiters READ ExpressionDelimiters WRITE SetExpressionDelimiters)
    Q_PROPERTY(bool FirstParaBreak READ FirstParaBreak WRITE SetFirstParaBreak)
    Q_PROPERTY(TqvxCustomMemoView *FlowTo READ FlowTo WRITE SetFlowTo)
    Q_PROPERTY(TFont *Font READ Font WRITE SetFont)
    Q_PROPERTY(double GapX READ GapX WRITE SetGapX)
    Q_PROPERTY(double GapY READ GapY WRITE SetGapY)
    Q_PROPERTY(ViewTypes::TqvxHAlign HAlign READ HAlign WRITE SetHAlign)
    Q_PROPERTY(bool HideZeros READ HideZeros WRITE SetHideZeros)
    Q_PROPERTY(TqvxHighlight *Highlight READ Highlight WRITE SetHighlight)
    Q_PROPERTY(bool LastParaBreak READ LastParaBreak WRITE SetLastParaBreak)
    Q_PROPERTY(double LineSpacing READ LineSpacing WRITE SetLineSpacing)
    Q_PROPERTY(TWideStrings *Memo READ Memo WRITE SetMemo)
    Q_PROPERTY(double ParagraphGap READ ParagraphGap WRITE SetParagraphGap)
    Q_PROPERTY(bool ParentFont READ ParentFont WRITE SetParentFont)
    Q_PROPERTY(int Rotation READ Rotation WRITE SetRotation)
    Q_PROPERTY(bool RTLReading READ RTLReading WRITE SetRTLReading)
    Q_PROPERTY(QString Style READ Style WRITE SetStyle)
    Q_PROPERTY(bool SuppressRepeated READ SuppressRepeated WRITE SetSuppressRepeated)
    Q_PROPERTY(bool Underlines READ Underlines WRITE SetUnderlines)
    Q_PROPERTY(bool UseDefaultCharset READ UseDefaultCharset WRITE SetUseDefaultCharset)
    Q_PROPERTY(ViewTypes::TqvxVAlign VAlign READ VAlign WRITE SetVAlign)
    Q_PROPERTY(bool WordBreak READ WordBreak WRITE SetWordBreak)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
    Q_PROPERTY(bool Wysiwyg READ Wysiwyg WRITE SetWysiwyg)

public:
    using TqvxCustomMemoView::TqvxCustomMemoView;
};

// The memo of system values and aggregates.
class TqvxSysMemoView : public TqvxCustomMemoView
{
    Q_OBJECT
    Q_PROPERTY(bool AutoWidth READ AutoWidth WRITE SetAutoWidth)
    Q_PROPERTY(double CharSpacing READ CharSpacing WRITE SetCharSpacing)
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(TqvxFormat *DisplayFormat READ DisplayFormat WRITE SetDisplayFormat)
    Q_PROPERTY(TFont *Font READ Font WRITE SetFont)
    Q_PROPERTY(double GapX READ GapX WRITE SetGapX)
    Q_PROPERTY(double GapY READ GapY WRITE SetGapY)
    Q_PROPERTY(ViewTypes::TqvxHAlign HAlign READ HAlign WRITE SetHAlign)
    Q_PROPERTY(bool HideZeros READ HideZeros WRITE SetHideZeros)
    Q_PROPERTY(TqvxHighlight *Highlight READ Highlight WRITE SetHighlight)
    Q_PROPERTY(TWideStrings *Memo READ Memo WRITE SetMemo)
    Q_PROPERTY(bool ParentFont READ ParentFont WRITE SetParentFont)
    Q_PROPERTY(int Rotation READ Rotation WRITE SetRotation)
    Q_PROPERTY(bool RTLReading READ RTLReading WRITE SetRTLReading)
    Q_PROPERTY(QString Style READ Style WRITE SetStyle)
    Q_PROPERTY(bool SuppressRepeated READ SuppressRepeated WRITE SetSuppressRepeated)
    Q_PROPERTY(ViewTypes::TqvxVAlign VAlign READ VAlign WRITE SetVAlign)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)

public:
    using TqvxCustomMemoView::TqvxCustomMemoView;

    QString GetDescription() const override;
};

// Declares what memos publish and registers the memo classes.
void InitializeQvxMemoView();
