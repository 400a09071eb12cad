#include "report/views/qvxMemoView.h"

#include "report/base/qvxCodePages.h"
#include "report/model/qvxCollectionXML.h"
#include "report/data/qvxDataSet.h"
#include "report/model/qvxDiffText.h"
#include "report/text/qvxDrawText.h"
#include "report/components/qvxMemoFormat.h"
#include "report/base/qvxNumbers.h"
#include "report/model/qvxReportContext.h"
#include "report/model/qvxResources.h"
#include "report/base/qvxTextUtils.h"
#include "report/model/qvxVariables.h"
#include "report/xml/qvxXMLEscape.h"
#include "report/xml/qvxXMLItem.h"
#include "report/model/qvxXMLSerializer.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/PropertyDeclarations.h"
#include "toolkit/classes/TFiler.h"
#include "toolkit/core/CodePages.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/graphics/Canvas.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {

const QString formatsElement = QStringLiteral("Formats");
const QString highlightsElement = QStringLiteral("Highlights");
const QString totalPagesMacro = QStringLiteral("[TOTALPAGES#]");
const QString copyNameMacro = QStringLiteral("[COPYNAME#]");
// The total the component text gives for its first occurrence.
const QString componentTotalPagesMacro = QStringLiteral("[TOTALPAGES]");
// A box large enough that the text never wraps at its edge.
constexpr int largeBox = 10000;
// Items of a nested list in binary property data; more is damage.
constexpr int maxStoredItems = 100000;

// A line as the layout takes it: an empty one is one blank.
QStringView laidOutLine(QStringView line)
{
    return line.isEmpty() ? QStringView(u" ") : line;
}

// The longest start of line, up to end, that is followed by a character
// where the layout may stop (stopsBefore) and leaves no element open; 0
// when there is none.
template <class StopsBefore>
qsizetype cutBefore(QStringView line, qsizetype end, bool tags, StopsBefore stopsBefore)
{
    for (qsizetype at = end; at > 0;) {
        while (at > 0 && !stopsBefore(line.at(at)))
            --at;
        if (at == 0)
            break;
        const qsizetype open = tags ? line.left(at).lastIndexOf(u'<') : -1;
        if (open < 0 || line.mid(open, at - open).contains(u'>'))
            return at;
        // An element may begin there: a place before it.
        at = open - 1;
    }
    return 0;
}

// How much of line a part lays out when it may take limit characters, so
// that the lines it gives break as those of the whole line do: up to a
// blank, where no hyphenated word runs on past the end; in one long word
// not hyphenated, between two of its characters; all of it otherwise.
qsizetype boundedLineLength(QStringView line, qsizetype limit, bool tags, bool wordBreak)
{
    if (line.size() <= limit)
        return line.size();
    qsizetype length = cutBefore(line, limit, tags, [](QChar c) { return c == u' '; });
    if (length == 0 && !wordBreak)
        length = cutBefore(line, limit, tags, [](QChar c) { return !c.isLowSurrogate() && !c.isMark(); });
    return length > 0 ? length : line.size();
}

// Holds the lock of the text layout objects for a scope.
class LayoutLock
{
public:
    LayoutLock() { TqvxDrawText::Lock(); }
    ~LayoutLock() { TqvxDrawText::Unlock(); }
    LayoutLock(const LayoutLock &) = delete;
    LayoutLock &operator=(const LayoutLock &) = delete;
};

// Replaces every occurrence of macro (any letter case) by value; the search
// goes on after each replacement.
// Where macro (which begins with '[') stands in text from `from` on, in any
// case; -1 when nowhere.  Goes from bracket to bracket: a search for the
// whole text ignoring case costs as much on text that has no bracket at all.
qsizetype findMacro(const QString &text, const QString &macro, qsizetype from = 0)
{
    for (qsizetype pos = text.indexOf(QLatin1Char('['), from); pos >= 0;
         pos = text.indexOf(QLatin1Char('['), pos + 1))
        if (QStringView(text).mid(pos).startsWith(macro, Qt::CaseInsensitive))
            return pos;
    return -1;
}

bool replaceMacro(QString &text, const QString &macro, const QString &value)
{
    bool replaced = false;
    qsizetype pos = 0;
    while ((pos = findMacro(text, macro, pos)) >= 0) {
        text.replace(pos, macro.size(), value);
        pos += value.size();
        replaced = true;
    }
    return replaced;
}

// Whether text holds one of the macros the page-count pass replaces.
bool holdsPageMacro(const QString &text)
{
    return findMacro(text, totalPagesMacro) >= 0 || findMacro(text, copyNameMacro) >= 0
        || findMacro(text, componentTotalPagesMacro) >= 0;
}

// Stands after the opening bracket of a page-count macro that came in with
// a value, so that the page-count pass does not take it for the template's
// own; the pass takes the marks out.  A noncharacter: no text shows it.
constexpr QChar valueMacroMark(0xFDD0);

// Marks every page-count macro in a value's text.
QString markedValueMacros(QString text)
{
    for (const QString *macro : {&totalPagesMacro, &copyNameMacro, &componentTotalPagesMacro})
        for (qsizetype pos = findMacro(text, *macro); pos >= 0; pos = findMacro(text, *macro, pos + 2))
            text.insert(pos + 1, valueMacroMark);
    return text;
}

bool dropValueMacroMarks(QString &text)
{
    if (!text.contains(valueMacroMark))
        return false;
    text.remove(valueMacroMark);
    return true;
}

// A collection as binary property data: the number of items, then each
// item's attribute text.
void writeCollection(TWriter &writer, TCollection *collection, TqvxComponent *owner)
{
    TqvxXMLSerializer serializer;
    serializer.SetOwner(owner->GetReport());
    writer.WriteInteger(collection->Count());
    for (int i = 0; i < collection->Count(); ++i)
        writer.WriteString(serializer.ObjToXML(collection->Items(i)));
}

void readCollection(TReader &reader, TCollection *collection, TqvxComponent *owner)
{
    const qint32 count = reader.ReadInteger();
    if (count < 0 || count > maxStoredItems)
        throw Exception(QStringLiteral("Invalid item count %1 in %2").arg(count).arg(owner->Name()));
    TqvxXMLSerializer serializer;
    serializer.SetOwner(owner->GetReport());
    collection->Clear();
    for (qint32 i = 0; i < count; ++i)
        serializer.ReadPersistentStr(owner->GetReport(), collection->Add(), reader.ReadString());
}

} // namespace

struct TqvxCustomMemoView::HighlightState {
    TFont font;
    bool parentFont = true;
    TqvxFillSlot fill;
    TqvxFrame frame;
    bool visible = true;
};

TqvxCustomMemoView::TqvxCustomMemoView(TComponent *owner)
    : TqvxStretcheable(owner),
      m_memo(std::make_unique<TWideStrings>()),
      m_formats(std::make_unique<TqvxFormatCollection>()),
      m_highlights(std::make_unique<TqvxHighlightCollection>())
{
    SetStyleFlags((StyleFlags() & ~csoGenericDiff) | csoNestedData);
}

TqvxCustomMemoView::~TqvxCustomMemoView() = default;

QString TqvxCustomMemoView::GetDescription() const
{
    return qvxResources()->Get(QStringLiteral("obText"));
}

QString TqvxSysMemoView::GetDescription() const
{
    return qvxResources()->Get(QStringLiteral("obSysText"));
}

// --- Properties -------------------------------------------------------------

TqvxFormat *TqvxCustomMemoView::DisplayFormat() const
{
    if (m_formats->Count() == 0)
        m_formats->Add();
    return m_formats->Items(0);
}

TqvxHighlight *TqvxCustomMemoView::Highlight() const
{
    if (m_highlights->Count() == 0)
        m_highlights->Add();
    return m_highlights->Items(0);
}

QByteArray TqvxCustomMemoView::AnsiText() const
{
    return qvxWideStringToAnsi(Text(), Font()->Charset(), 0);
}

void TqvxCustomMemoView::SetAnsiText(const QByteArray &value)
{
    SetText(qvxAnsiToWideString(value, Font()->Charset(), 0));
}

void TqvxCustomMemoView::SetStyle(const QString &value)
{
    m_style = value;
    const TqvxReportContext *context = qvxReportContextOf(this);
    const TqvxStyles *styles = context ? context->Styles() : nullptr;
    if (const TqvxStyleItem *style = styles && !value.isEmpty() ? styles->Find(value) : nullptr)
        ApplyStyle(style);
}

bool TqvxCustomMemoView::IsExpressionDelimitersStored() const
{
    return m_expressionDelimiters != QLatin1String("[,]");
}

bool TqvxCustomMemoView::IsHighlightStored() const
{
    return m_highlights->Count() == 1 && !m_highlights->Items(0)->Condition().trimmed().isEmpty();
}

// --- Nested lists -----------------------------------------------------------

void TqvxCustomMemoView::WriteNestedProperties(TqvxXMLItem *item)
{
    const auto write = [&](TCollection *collection, const QString &name) {
        if (collection->Count() <= 1)
            return;
        TqvxXMLItem *element = item->Add();
        element->SetName(name);
        qvxWriteCollectionXML(collection, element, this);
    };
    write(m_formats.get(), formatsElement);
    write(m_highlights.get(), highlightsElement);
}

bool TqvxCustomMemoView::ReadNestedProperty(TqvxXMLItem *item)
{
    TCollection *collection = nullptr;
    if (SameText(item->Name(), formatsElement))
        collection = m_formats.get();
    else if (SameText(item->Name(), highlightsElement))
        collection = m_highlights.get();
    else
        return false;
    collection->Clear();
    qvxReadCollectionXML(collection, item, this);
    return true;
}

void TqvxCustomMemoView::DefineProperties(TFiler &filer)
{
    TqvxStretcheable::DefineProperties(filer);
    const auto define = [&](TCollection *collection, const QString &name) {
        filer.DefineProperty(
            name, [this, collection](TReader &reader) { readCollection(reader, collection, this); },
            [this, collection](TWriter &writer) { writeCollection(writer, collection, this); },
            collection->Count() > 1);
    };
    define(m_formats.get(), formatsElement);
    define(m_highlights.get(), highlightsElement);
}

// --- Preparing --------------------------------------------------------------

TqvxDataSet *TqvxCustomMemoView::fieldDataSet() const
{
    if (DataField().isEmpty())
        return nullptr;
    if (auto *linked = qobject_cast<TqvxDataSet *>(DataSet()))
        return linked;
    const TqvxReportContext *context = qvxReportContextOf(this);
    return context && !DataSetName().isEmpty() ? qobject_cast<TqvxDataSet *>(context->FindDataSet(DataSetName()))
                                               : nullptr;
}

void TqvxCustomMemoView::BeforePrint()
{
    TqvxStretcheable::BeforePrint();
    m_hasSavedText = !fieldDataSet();
    if (!m_hasSavedText)
        return;
    if (!m_savedText)
        m_savedText = std::make_unique<TWideStrings>();
    m_savedText->Assign(m_memo.get());
}

void TqvxCustomMemoView::GetData()
{
    TqvxStretcheable::GetData();
    DisplayFormat();
    TqvxDataSet *dataSet = fieldDataSet();
    if (dataSet)
        readDataField(dataSet);
    else if (m_allowExpressions)
        expandExpressions();
    if (m_allowExpressions)
        keepValueMacros(dataSet != nullptr);

    TqvxReportContext *context = qvxReportContextOf(this);
    if (context) {
        context->SetScriptValue(m_value);
        for (int i = 0; i < m_highlights->Count(); ++i) {
            const TqvxHighlight *highlight = m_highlights->Items(i);
            if (highlight->Condition().trimmed().isEmpty())
                continue;
            if (!context->Calc(highlight->Condition()).AsBoolean())
                continue;
            saveHighlightState();
            ApplyHighlightItem(highlight);
            break;
        }
    }

    if (m_suppressRepeated) {
        const QString text = Text();
        if (VarIsStr(m_lastValue) && m_lastValue.AsString() == text)
            m_memo->Clear();
        else
            m_lastValue = text;
    }

    if (TqvxCustomMemoView *flowTo = m_flowTo) {
        InitPart();
        DrawPart();
        QString rest = PartMemo();
        dropValueMacroMarks(rest);
        flowTo->SetText(rest);
        flowTo->SetAllowExpressions(false);
    }
}

void TqvxCustomMemoView::keepValueMacros(bool fromField)
{
    // Page-count macros that came in with a value (a field's, a variable's)
    // are text like any other.  Where the template has none of its own the
    // whole copy is left out of the page-count pass; else their marks keep
    // them out of it.
    QString text = Text();
    if (fromField ? !holdsPageMacro(text) : !text.contains(valueMacroMark) || holdsPageMacro(text))
        return;
    if (dropValueMacroMarks(text))
        m_memo->SetText(text);
    m_allowExpressions = false;
    m_expressionsHeld = true;
}

void TqvxCustomMemoView::readDataField(TqvxDataSet *dataSet)
{
    const QString field = DataField();
    m_value = dataSet->GetValue(field);
    if (dataSet->IsBlobField(field))
        SetText(VarToStr(m_value));
    else if (DisplayFormat()->Kind() == fkText)
        SetText(dataSet->GetDisplayText(field));
    else
        SetText(FormatData(m_value));
    if (m_hideZeros && qvxIsNumericZero(m_value))
        m_memo->Clear();
}

void TqvxCustomMemoView::ExpressionBrackets(QString &open, QString &close) const
{
    const qsizetype comma = m_expressionDelimiters.indexOf(QLatin1Char(','));
    open = comma < 0 ? m_expressionDelimiters : m_expressionDelimiters.left(comma);
    close = comma < 0 ? QString() : m_expressionDelimiters.mid(comma + 1);
}

void TqvxCustomMemoView::expandExpressions()
{
    QString text = Text();
    QString open;
    QString close;
    ExpressionBrackets(open, close);
    if (open.isEmpty() || close.isEmpty() || !text.contains(open))
        return;

    int pos = 0;
    int formatIndex = 0;
    for (;;) {
        // An expression starts at the next opening bracket; quotes in the
        // text before it do not count.
        const qsizetype next = text.indexOf(open, pos);
        if (next >= 0 && next < text.size() - 1)
            pos = int(next);
        else
            pos = std::max(pos, int(text.size()) - 1);
        QString expression;
        int start = pos;
        int end = pos;
        qvxFindBracketExpression(text, open, close, expression, end, start);
        if (end == start)
            break;
        const QString value = CalcAndFormat(expression, m_formats->Items(formatIndex));
        text.replace(start, end - start + 1, value);
        pos = start + int(value.size());
        if (formatIndex < m_formats->Count() - 1)
            ++formatIndex;
    }
    m_memo->SetText(text);
}

QString TqvxCustomMemoView::CalcAndFormat(const QString &expression, TqvxFormat *format)
{
    QString source = expression;
    std::unique_ptr<TqvxFormat> inlineFormat;
    const qsizetype mark = expression.indexOf(QStringLiteral(" #"));
    if (mark >= 0 && !expression.mid(mark + 2).contains(QLatin1Char(')'))) {
        inlineFormat = qvxInlineFormat(expression.mid(mark + 2));
        format = inlineFormat.get();
        source = expression.left(mark);
    }

    bool pageMacro = true;
    if (SameText(source, QStringLiteral("TOTALPAGES#"))) {
        m_value = QStringLiteral("[TotalPages#]");
    } else if (SameText(source, QStringLiteral("COPYNAME#"))) {
        m_value = QStringLiteral("[CopyName#]");
    } else {
        TqvxReportContext *context = qvxReportContextOf(this);
        m_value = context ? context->Calc(source) : Variant::Null();
        pageMacro = false;
    }

    if (m_hideZeros && qvxIsNumericZero(m_value))
        return QString();
    const QString text = FormatData(m_value, format);
    return pageMacro ? text : markedValueMacros(text);
}

QString TqvxCustomMemoView::FormatData(const Variant &value, TqvxFormat *format)
{
    return qvxFormatValue(value, format ? *format : *DisplayFormat());
}

bool TqvxCustomMemoView::PutPageMacros(QString &text, int totalPages, int copyNo)
{
    // Most texts hold neither a macro nor a mark: one look tells.
    if (std::none_of(text.cbegin(), text.cend(), [](QChar c) { return c == u'[' || c == valueMacroMark; }))
        return false;
    bool replaced = replaceMacro(text, totalPagesMacro, QString::number(totalPages));
    if (findMacro(text, copyNameMacro) >= 0) {
        const TqvxVariables *variables = qvxGlobalVariables();
        const QString name = QStringLiteral("CopyName") + QString::number(copyNo);
        const QString copyName =
            variables && variables->IndexOf(name) >= 0 ? VarToStr(variables->GetVariable(name)) : QString();
        replaced = replaceMacro(text, copyNameMacro, copyName) || replaced;
    }
    return dropValueMacroMarks(text) || replaced;
}

void TqvxCustomMemoView::SubstituteTotalPages()
{
    QString text = Text();
    const bool valueMacros = text.contains(valueMacroMark);
    if (!PutPageMacros(text, m_totalPages, m_copyNo))
        return;
    m_memo->SetText(text);
    // The macros left are a value's, unmarked now: no later pass may take
    // them.
    if (valueMacros)
        m_allowExpressions = false;
}

QString TqvxCustomMemoView::GetComponentText()
{
    QString text = Text();
    if (m_allowExpressions) {
        const qsizetype pos = findMacro(text, componentTotalPagesMacro);
        if (pos >= 0)
            text.replace(pos, componentTotalPagesMacro.size(), QString::number(m_totalPages));
        dropValueMacroMarks(text);
    }
    return text;
}

void TqvxCustomMemoView::AfterPrint()
{
    if (m_hasSavedText) {
        m_memo->Swap(*m_savedText);
        // What the copy printed is not needed any more.
        m_savedText->Clear();
    }
    m_hasSavedText = false;
    if (std::exchange(m_expressionsHeld, false))
        m_allowExpressions = true;
    restoreHighlightState();
    TqvxStretcheable::AfterPrint();
}

// --- Highlights -------------------------------------------------------------

void TqvxCustomMemoView::ApplyHighlightItem(const TqvxHighlight *highlight)
{
    if (highlight->ApplyFont())
        SetFont(highlight->Font());
    if (highlight->ApplyFill())
        SetFill(highlight->Fill());
    if (highlight->ApplyFrame())
        Frame()->Assign(highlight->Frame());
    SetVisible(highlight->Visible());
}

void TqvxCustomMemoView::ApplyHighlight()
{
    if (m_highlights->Count() > 0 && Highlight()->Active())
        ApplyHighlightItem(Highlight());
}

void TqvxCustomMemoView::ApplyStyle(const TqvxStyleItem *style)
{
    if (style->ApplyFill())
        SetFill(style->Fill());
    if (style->ApplyFont())
        SetFont(style->Font());
    if (style->ApplyFrame())
        Frame()->Assign(style->Frame());
}

void TqvxCustomMemoView::saveHighlightState()
{
    m_highlightState = std::make_unique<HighlightState>();
    m_highlightState->font.Assign(Font());
    m_highlightState->parentFont = ParentFont();
    m_highlightState->fill.SetFill(Fill());
    m_highlightState->frame.Assign(Frame());
    m_highlightState->visible = Visible();
}

void TqvxCustomMemoView::restoreHighlightState()
{
    if (!m_highlightState)
        return;
    const std::unique_ptr<HighlightState> state = std::move(m_highlightState);
    SetFont(&state->font);
    if (state->parentFont)
        SetParentFont(true);
    SetFill(state->fill.Fill());
    Frame()->Assign(&state->frame);
    SetVisible(state->visible);
}

// --- Drawing and measuring --------------------------------------------------

TqvxDrawText *TqvxCustomMemoView::layout() const
{
    const TqvxReportContext *context = qvxReportContextOf(this);
    TqvxDrawText *own = context ? context->DrawText() : nullptr;
    return own ? own : qvxDrawText();
}

void TqvxCustomMemoView::setupLayout(TqvxDrawText *drawText) const
{
    drawText->UseDefaultCharset = m_useDefaultCharset;
    drawText->ForceBlackText = BlackText();
    drawText->SetFont(Font());
    drawText->SetOptions(m_wordWrap, m_allowHTMLTags, m_rtlReading, m_wordBreak, m_clipped, m_wysiwyg, m_rotation);
    drawText->SetGaps(m_paragraphGap, m_charSpacing, m_lineSpacing);
}

void TqvxCustomMemoView::layOutAtScaleOne(TqvxDrawText *drawText, bool inLargeBox)
{
    TRect box(0, 0, largeBox, largeBox);
    if (!inLargeBox) {
        BeginDraw(Canvas(), 1, 1, 0, 0);
        box = m_textRect;
    }
    drawText->SetDimensions(1, 1, 1, box, box);
    drawText->SetText(m_memo.get(), false);
}

double TqvxCustomMemoView::frameAndGaps(double gap, TqvxFrameType nearSide, TqvxFrameType farSide) const
{
    const TqvxFrame *frame = Frame();
    const double width = frame->Width();
    double result = 2 * gap;
    if (frame->Typ().testFlag(nearSide))
        result += (width - 1) / 2;
    if (frame->Typ().testFlag(farSide))
        result += width / 2;
    if (frame->DropShadow())
        result += frame->ShadowWidth();
    return result;
}

void TqvxCustomMemoView::BeginDraw(TCanvas *canvas, double scaleX, double scaleY, double offsetX, double offsetY)
{
    TqvxStretcheable::BeginDraw(canvas, scaleX, scaleY, offsetX, offsetY);
    const double width = Frame()->Width();
    const TqvxFrameTypes typ = Frame()->Typ();
    int left = X();
    int top = Y();
    int right = X1();
    int bottom = Y1();
    if (typ.testFlag(ftLeft))
        left += qvxRound((width * scaleX - 1) / 2);
    if (typ.testFlag(ftRight))
        right -= qvxRound(width * scaleX / 2);
    if (typ.testFlag(ftTop))
        top += qvxRound((width * scaleY - 1) / 2);
    if (typ.testFlag(ftBottom))
        bottom -= qvxRound(width * scaleY / 2);
    const int gapX = qvxRound(m_gapX * scaleX);
    const int gapY = qvxRound(m_gapY * scaleY);
    m_textRect = TRect(left + gapX, top + gapY, right - gapX + 1, bottom - gapY + 1);
}

void TqvxCustomMemoView::SetDrawParams(TCanvas *canvas, double scaleX, double scaleY, double offsetX,
                                       double offsetY)
{
    TqvxDrawText *drawText = layout();
    setupLayout(drawText);

    if (m_autoWidth && !IsDesigning()) {
        layOutAtScaleOne(drawText, true);
        const double oldWidth = Width();
        const double newWidth = drawText->CalcWidth() + frameAndGaps(m_gapX, ftLeft, ftRight);
        SetWidth(newWidth);
        if (m_hAlign == haRight)
            SetLeft(Left() + oldWidth - newWidth);
        else if (m_hAlign == haCenter)
            SetLeft(Left() + (oldWidth - newWidth) / 2);
        if (TqvxComponent *parent = Parent())
            parent->AlignChildren();
    }

    BeginDraw(canvas, 1, 1, 0, 0);
    const TRect screenRect = m_textRect;
    BeginDraw(canvas, scaleX, scaleY, offsetX, offsetY);
    if (!IsPrinting())
        m_printScale = 1;
    drawText->SetDimensions(scaleX, scaleY, m_printScale, screenRect, m_textRect);
    drawText->SetText(m_memo.get(), m_firstParaBreak);
    drawText->SetParaBreaks(m_firstParaBreak, m_lastParaBreak);
}

void TqvxCustomMemoView::Draw(TCanvas *canvas, double scaleX, double scaleY, double offsetX, double offsetY)
{
    const bool showsSource = IsDesigning() && !DataField().isEmpty() && !DataSetName().isEmpty();
    const QString text = Text();
    if (showsSource)
        SetText(QLatin1Char('[') + DataSetName() + QStringLiteral(".\"") + DataField() + QStringLiteral("\"]"));
    else if (!IsDesigning() && m_allowExpressions)
        SubstituteTotalPages();

    {
        LayoutLock lock;
        SetDrawParams(canvas, scaleX, scaleY, offsetX, offsetY);
        DrawBackground();
        DrawFrame();
        TqvxDrawText *drawText = layout();
        if (m_underlines && m_rotation == 0)
            drawUnderlines(drawText->LineHeight());
        drawText->DrawText(canvas, m_hAlign, m_vAlign);
    }
    if (showsSource)
        SetText(text);
}

void TqvxCustomMemoView::drawUnderlines(double lineHeight)
{
    const double step = lineHeight * ScaleY();
    if (step <= 0)
        return;
    TPen *pen = Canvas()->Pen();
    pen->SetColor(Frame()->Color());
    pen->SetWidth(FrameWidth());
    pen->SetStyle(psSolid);
    pen->SetMode(pmCopy);
    for (double y = Y() + (m_gapY - m_lineSpacing + 1) * ScaleY() + step; y < Y1(); y += step) {
        Canvas()->MoveTo(X(), qvxRound(y));
        Canvas()->LineTo(X1(), qvxRound(y));
    }
}

double TqvxCustomMemoView::CalcHeight()
{
    LayoutLock lock;
    TqvxDrawText *drawText = layout();
    setupLayout(drawText);
    layOutAtScaleOne(drawText, m_autoWidth);
    return heightOf(drawText);
}

double TqvxCustomMemoView::heightOf(const TqvxDrawText *drawText) const
{
    return qvxRound(drawText->CalcHeight() + frameAndGaps(m_gapY, ftTop, ftBottom));
}

double TqvxCustomMemoView::CalcWidth()
{
    LayoutLock lock;
    TqvxDrawText *drawText = layout();
    setupLayout(drawText);
    layOutAtScaleOne(drawText, true);
    return qvxRound(drawText->CalcWidth() + frameAndGaps(m_gapX, ftLeft, ftRight));
}

// --- Splitting --------------------------------------------------------------

void TqvxCustomMemoView::InitPart()
{
    if (!m_partLines)
        m_partLines = std::make_unique<TWideStrings>();
    m_partLines->Clear();
    m_partNext = 0;
    m_hasPartHead = false;
    m_partOffset = 0;
    m_partReopen.clear();
    m_partStarted = false;
    m_partHeight = 0;
    m_firstParaBreak = false;
    m_lastParaBreak = false;
}

QString TqvxCustomMemoView::PartMemo() const
{
    if (!m_partStarted)
        return m_partLines ? Text() : QString();
    QString text;
    bool whole = true;
    for (int i = m_partNext; i < m_partLines->Count(); ++i)
        text += partLine(i, std::numeric_limits<qsizetype>::max(), whole) + QStringLiteral("\r\n");
    return text;
}

QString TqvxCustomMemoView::partLine(int index, qsizetype limit, bool &whole) const
{
    QStringView line = m_partLines->View(index);
    const bool head = index == m_partNext && m_hasPartHead;
    if (head)
        line = laidOutLine(line).mid(m_partOffset);
    const qsizetype length = boundedLineLength(line, limit, m_allowHTMLTags, m_wordBreak);
    whole = length == line.size();
    return head ? m_partReopen + line.left(length).toString() : line.left(length).toString();
}

bool TqvxCustomMemoView::takePartLines(double count, qsizetype limit)
{
    if (!m_partStarted) {
        if (!m_partLines)
            InitPart();
        m_partLines->Swap(*m_memo);
        m_partStarted = true;
    }
    m_memo->Clear();
    const double left = m_partLines->Count() - m_partNext;
    const int end = m_partNext + int(std::min(count, left));
    for (int i = m_partNext; i < end; ++i) {
        bool whole = true;
        m_memo->Add(partLine(i, limit, whole));
        if (!whole)
            return false;
    }
    return true;
}

void TqvxCustomMemoView::layOutPart(TqvxDrawText *drawText, double fitting)
{
    // One line more than the text rectangle holds: each line gives one
    // line of output at least, so the part is cut where the whole rest
    // would be.  A line left unfinished lays out as the whole line would
    // as far as its layout reaches, so once that runs past the text
    // rectangle the cut is the same.  Each part starts from the same
    // limit: one whose only blank lay near its start had to lay out all of
    // its line, the parts after it need not.
    qsizetype limit = qsizetype(std::clamp(fitting + 2, 1.0, 1e5)) * 128;
    while (!takePartLines(fitting + 1, limit)) {
        SetDrawParams(Canvas(), 1, 1, 0, 0);
        if (drawText->LineCount() > fitting)
            return;
        limit *= 2;
    }
    SetDrawParams(Canvas(), 1, 1, 0, 0);
}

void TqvxCustomMemoView::passPartLines(const TqvxDrawText::Cut &cut)
{
    const int taken = m_memo->Count();
    if (cut.line >= taken) {
        m_partNext += taken;
        m_hasPartHead = false;
        m_partOffset = 0;
        m_partReopen.clear();
    } else if (cut.line == 0 && m_hasPartHead) {
        // The head was laid out after the elements that reopened its style.
        const int reopened = int(m_partReopen.size());
        m_partReopen = cut.reopen + m_partReopen.mid(std::min(cut.offset, reopened));
        m_partOffset += std::max(cut.offset - reopened, 0);
    } else {
        m_partNext += cut.line;
        m_hasPartHead = true;
        m_partOffset = cut.offset;
        m_partReopen = cut.reopen;
    }
    if (!HasNextPart())
        m_partLines->Clear();
}

double TqvxCustomMemoView::DrawPart()
{
    LayoutLock lock;
    TqvxDrawText *drawText = layout();
    setupLayout(drawText);
    BeginDraw(Canvas(), 1, 1, 0, 0);
    const double lineHeight = drawText->LineHeight();
    const double fitting = lineHeight > 0 ? std::trunc((m_textRect.Height() + 1) / lineHeight) : INFINITY;
    layOutPart(drawText, fitting);
    bool paraBreak = false;
    TqvxDrawText::Cut cut;
    drawText->GetOutBoundsText(paraBreak, cut);
    passPartLines(cut);
    SetText(drawText->GetInBoundsText());
    m_lastParaBreak = paraBreak;
    m_partHeight = heightOf(drawText);
    const double remaining = drawText->RemainingSpace();
    if (remaining == 0)
        return Height();
    // Free is also what the text rectangle leaves of the part, its frame
    // and gaps: the part uses its lines alone, and the next part has frame
    // and gaps of its own.
    return std::max(remaining + Height() - (TextRect().Height() + 1), 0.0001);
}

bool TqvxCustomMemoView::HasNextPart()
{
    if (!m_partStarted)
        return m_partLines && m_memo->Count() > 0;
    return m_partNext < m_partLines->Count();
}

// --- Differences ------------------------------------------------------------

QString TqvxCustomMemoView::Diff(const TqvxComponent *source)
{
    TqvxDiffText diff(TqvxStretcheable::Diff(source));
    const auto *memo = qobject_cast<const TqvxCustomMemoView *>(source);
    if (!memo)
        return std::move(diff).Result();

    const auto flag = [&](QStringView name, bool value, bool other) {
        if (value != other)
            diff.Bool(name, value);
    };
    const auto number = [&](QStringView name, qint64 value, qint64 other) {
        if (value != other)
            diff.Number(name, value);
    };
    const auto real = [&](QStringView name, double value, double other) {
        if (qvxDiffers(value, other))
            diff.Float(name, value);
    };
    const auto text = [&](QStringView name, const QString &value, const QString &other) {
        if (value != other)
            diff.Text(name, value);
    };

    flag(u"AllowExpressions", m_allowExpressions, memo->m_allowExpressions);
    flag(u"AutoWidth", m_autoWidth, memo->m_autoWidth);
    real(u"CharSpacing", m_charSpacing, memo->m_charSpacing);
    real(u"GapX", m_gapX, memo->m_gapX);
    real(u"GapY", m_gapY, memo->m_gapY);
    number(u"HAlign", m_hAlign, memo->m_hAlign);
    real(u"LineSpacing", m_lineSpacing, memo->m_lineSpacing);
    flag(u"UseDefaultCharset", m_useDefaultCharset, memo->m_useDefaultCharset);
    diff.Text(u"u", TqvxXMLSerializer::StoredListText(m_memo->GetText()));
    real(u"ParagraphGap", m_paragraphGap, memo->m_paragraphGap);
    number(u"Rotation", m_rotation, memo->m_rotation);
    flag(u"RTLReading", m_rtlReading, memo->m_rtlReading);
    flag(u"Underlines", m_underlines, memo->m_underlines);
    number(u"VAlign", m_vAlign, memo->m_vAlign);
    flag(u"WordWrap", m_wordWrap, memo->m_wordWrap);
    if (m_formats->Count() == 1) {
        const TqvxFormat *format = DisplayFormat();
        const TqvxFormat *other = memo->DisplayFormat();
        number(u"DisplayFormat.Kind", format->Kind(), other->Kind());
        text(u"DisplayFormat.DecimalSeparator", format->DecimalSeparator(), other->DecimalSeparator());
        text(u"DisplayFormat.ThousandSeparator", format->ThousandSeparator(), other->ThousandSeparator());
        text(u"DisplayFormat.FormatStr", format->FormatStr(), other->FormatStr());
    }
    if (m_firstParaBreak)
        diff.Bool(u"FirstParaBreak", true);
    if (m_lastParaBreak)
        diff.Bool(u"LastParaBreak", true);
    m_firstParaBreak = m_lastParaBreak;
    m_lastParaBreak = false;
    return std::move(diff).Result();
}

// --- Declarations -----------------------------------------------------------

namespace {

void describeCommonMemoProperties(PropertyTable table)
{
    table.Default("AutoWidth", 0)
        .Stored("CharSpacing", &TqvxCustomMemoView::IsCharSpacingStored)
        .TypeName("Color", QStringLiteral("TColor"))
        .Stored("Color", [](const TObject *) { return false; })
        .Default("Color", clNone)
        .Stored("DisplayFormat", &TqvxCustomMemoView::IsDisplayFormatStored)
        .Stored("Font", &TqvxComponent::IsFontStored)
        .Stored("GapX", &TqvxCustomMemoView::IsGapXStored)
        .Stored("GapY", &TqvxCustomMemoView::IsGapYStored)
        .Default("HAlign", haLeft)
        .Default("HideZeros", 0)
        .Stored("Highlight", &TqvxCustomMemoView::IsHighlightStored)
        .Default("ParentFont", 1)
        .Default("Rotation", 0)
        .Default("RTLReading", 0)
        .Default("SuppressRepeated", 0)
        .Default("VAlign", vaTop)
        .Default("WordWrap", 1);
}

} // namespace

void InitializeQvxMemoView()
{
    describeCommonMemoProperties(DescribeProperties<TqvxMemoView>());
    DescribeProperties<TqvxMemoView>()
        .Default("AllowExpressions", 1)
        .Default("AllowHTMLTags", 0)
        .Stored("BrushStyle", [](const TObject *) { return false; })
        .Default("BrushStyle", bsSolid)
        .Default("Clipped", 1)
        .Stored("ExpressionDelimiters", &TqvxCustomMemoView::IsExpressionDelimitersStored)
        .Default("FirstParaBreak", 0)
        .Default("LastParaBreak", 0)
        .Stored("LineSpacing", &TqvxCustomMemoView::IsLineSpacingStored)
        .Stored("ParagraphGap", &TqvxCustomMemoView::IsParagraphGapStored)
        .Default("Underlines", 0)
        .Default("UseDefaultCharset", 0)
        .Default("WordBreak", 0)
        .Default("Wysiwyg", 1);
    describeCommonMemoProperties(DescribeProperties<TqvxSysMemoView>());
    RegisterClass<TqvxCustomMemoView>();
    RegisterClass<TqvxMemoView>();
    RegisterClass<TqvxSysMemoView>();
}
