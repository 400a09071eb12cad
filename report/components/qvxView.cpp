#include "report/components/qvxView.h"

#include "report/model/qvxDataSetLink.h"
#include "report/model/qvxDiffText.h"
#include "report/base/qvxNumbers.h"
#include "report/model/qvxReportContext.h"
#include "report/base/qvxTextUtils.h"
#include "report/xml/qvxXMLEscape.h"
#include "toolkit/classes/PropertyDeclarations.h"

TqvxView::TqvxView(TComponent *owner)
    : TqvxReportComponent(owner),
      m_frame(std::make_unique<TqvxFrame>()),
      m_hyperlink(std::make_unique<TqvxHyperlink>())
{
    AddKind(ckView);
    SetStyleFlags(StyleFlags() | csoGenericDiff);
}

TqvxView::~TqvxView() = default;

// --- Properties -------------------------------------------------------------

void TqvxView::SetDataSet(TqvxComponent *value)
{
    m_dataSet = value;
    m_dataSetName = qvxDataSetUserName(value);
}

QString TqvxView::DataSetName() const
{
    return m_dataSet ? qvxDataSetUserName(m_dataSet) : m_dataSetName;
}

void TqvxView::SetDataSetName(const QString &value)
{
    m_dataSetName = value;
    m_dataSet = nullptr;
}

TColor TqvxView::Color() const
{
    if (const auto *gradient = qobject_cast<const TqvxGradientFill *>(Fill()))
        return gradient->MiddleColor();
    return m_fill.BackColor();
}

void TqvxView::SetURL(const QString &value)
{
    if (value.isEmpty())
        return;
    if (value.startsWith(QLatin1Char('@'))) {
        m_hyperlink->SetKind(hkPageNumber);
        m_hyperlink->SetValue(value.mid(1));
    } else if (value.startsWith(QLatin1Char('#'))) {
        m_hyperlink->SetKind(hkAnchor);
        m_hyperlink->SetValue(value.mid(1));
    } else {
        m_hyperlink->SetKind(hkURL);
        m_hyperlink->SetValue(value);
    }
}

// --- Drawing ----------------------------------------------------------------

void TqvxView::Draw(TCanvas *canvas, double scaleX, double scaleY, double offsetX, double offsetY)
{
    BeginDraw(canvas, scaleX, scaleY, offsetX, offsetY);
    DrawBackground();
    DrawFrame();
}

void TqvxView::BeginDraw(TCanvas *canvas, double scaleX, double scaleY, double offsetX, double offsetY)
{
    m_canvas = canvas;
    m_scaleX = scaleX;
    m_scaleY = scaleY;
    m_offsetX = offsetX;
    m_offsetY = offsetY;
    const double left = GetAbsLeft();
    const double top = GetAbsTop();
    m_x = qvxRound(left * scaleX + offsetX);
    m_y = qvxRound(top * scaleY + offsetY);
    m_x1 = qvxRound((left + Width()) * scaleX + offsetX);
    m_y1 = qvxRound((top + Height()) * scaleY + offsetY);
    if (m_frame->DropShadow()) {
        m_x1 -= qvxRound(m_frame->ShadowWidth() * scaleX);
        m_y1 -= qvxRound(m_frame->ShadowWidth() * scaleY);
    }
    m_dx = m_x1 - m_x;
    m_dy = m_y1 - m_y;
    m_frameWidth = qvxRound(m_frame->Width() * scaleX);
}

void TqvxView::SetDeviceBox(int x, int y, int x1, int y1)
{
    m_x = x;
    m_y = y;
    m_x1 = x1;
    m_y1 = y1;
    m_dx = m_x1 - m_x;
    m_dy = m_y1 - m_y;
}

void TqvxView::DrawBackground()
{
    const double width = m_frame->Width();
    const TqvxFrameTypes typ = m_frame->Typ();
    const int halfX = qvxRound(width * m_scaleX / 2);
    const int halfY = qvxRound(width * m_scaleY / 2);
    const int left = typ.testFlag(ftLeft) ? halfX : 0;
    const int right = typ.testFlag(ftRight) ? halfX + qvxRound(width * m_scaleX) % 2 : 0;
    const int top = typ.testFlag(ftTop) ? halfY : 0;
    const int bottom = typ.testFlag(ftBottom) ? halfY + qvxRound(width * m_scaleY) % 2 : 0;
    Fill()->Draw(m_canvas, m_x - left, m_y - top, m_x1 + right, m_y1 + bottom, m_scaleX, m_scaleY);
}

void TqvxView::DrawFrame()
{
    m_frame->Draw(m_canvas, m_x, m_y, m_x1, m_y1, m_scaleX, m_scaleY);
}

// --- Printing ---------------------------------------------------------------

void TqvxView::BeforePrint()
{
    TqvxReportComponent::BeforePrint();
    m_savedTagStr = m_tagStr;
    m_savedHyperlinkValue = m_hyperlink->Value();
    if (TqvxReportContext *context = qvxReportContextOf(this))
        context->SetScriptSelf(this);
}

QString TqvxView::ExpandVariables(const QString &text)
{
    TqvxReportContext *context = qvxReportContextOf(this);
    if (!context)
        return text;
    QString result = text;
    int start = 0;
    for (;;) {
        QString expression;
        int end = start;
        qvxFindBracketExpression(result, QStringLiteral("["), QStringLiteral("]"), expression, end, start);
        if (end == start)
            return result;
        const QString value = VarToStr(context->Calc(expression));
        result.replace(start, end - start + 1, value);
        start += int(value.size());
    }
}

void TqvxView::GetData()
{
    if (m_tagStr.contains(QLatin1Char('[')))
        m_tagStr = ExpandVariables(m_tagStr);
    if (m_hyperlink->Value().contains(QLatin1Char('[')))
        m_hyperlink->SetValue(ExpandVariables(m_hyperlink->Value()));
    TqvxReportContext *context = qvxReportContextOf(this);
    if (m_hyperlink->Expression().isEmpty() || !context)
        return;
    const Variant value = context->Calc(m_hyperlink->Expression());
    m_hyperlink->SetValue(VarIsStr(value) ? qvxScriptStringLiteral(VarToStr(value), context->ScriptLanguage())
                                          : VarToStr(value));
}

void TqvxView::AfterPrint()
{
    m_tagStr = m_savedTagStr;
    m_hyperlink->SetValue(m_savedHyperlinkValue);
    TqvxReportComponent::AfterPrint();
}

QString TqvxView::Diff(const TqvxComponent *source)
{
    if (StyleFlags() & csoGenericDiff)
        return AllDiff(source);
    TqvxDiffText diff(TqvxReportComponent::Diff(source));
    const auto *view = qobject_cast<const TqvxView *>(source);
    if (!view)
        return std::move(diff).Result();
    if (m_align != view->m_align)
        diff.Number(u"Align", m_align);
    diff.Append(m_frame->Diff(view->Frame()));
    if (m_cursor != view->m_cursor)
        diff.Number(u"Cursor", m_cursor);
    if (m_visibility != view->m_visibility)
        diff.Number(u"Visibility", m_visibility.toInt());
    if (m_tagStr != view->m_tagStr)
        diff.Text(u"TagStr", m_tagStr);
    if (FillType() != view->FillType())
        diff.Number(u"FillType", FillType());
    diff.Append(Fill()->Diff(view->Fill(), QStringLiteral("Fill")));
    diff.Append(m_hyperlink->Diff(view->Hyperlink()));
    return std::move(diff).Result();
}

// --- Engine fields ----------------------------------------------------------

void TqvxView::MouseOverHook(int, int, TMouseButton, TShiftState, bool &)
{
}

void TqvxView::MouseButtonHook(bool, bool &, bool &)
{
}

// --- Stretcheable -----------------------------------------------------------

double TqvxStretcheable::CalcHeight()
{
    return Height();
}

double TqvxStretcheable::DrawPart()
{
    return 0;
}

void TqvxStretcheable::InitPart()
{
}

bool TqvxStretcheable::HasNextPart()
{
    return false;
}

double TqvxStretcheable::PartHeight()
{
    return 0;
}

void InitializeQvxView()
{
    DescribeProperties<TqvxView>()
        .Default("Align", baNone)
        .Default("Cursor", crDefault)
        .TypeName("Cursor", QStringLiteral("TCursor"))
        .TypeName("DataSet", QStringLiteral("TqvxDataSet"))
        .Default("FillType", ftBrush)
        .Default("GroupIndex", 0)
        .Default("Printable", 1)
        .Stored("Printable", [](const TObject *) { return false; })
        .Default("Restrictions", 0)
        .Default("ShiftMode", smAlways)
        .Default("ShowHint", 0)
        .WriteOnly("URL")
        .Stored("URL", [](const TObject *) { return false; })
        .Default("Visibility", vsPreview | vsExport | vsPrint)
        .Default("Visible", 1);
    DescribeProperties<TqvxStretcheable>().Default("StretchMode", smDontStretch);
}
