#include "report/pages/qvxDMP.h"

#include "report/views/qvxCharGrid.h"
#include "report/base/qvxNumbers.h"
#include "report/model/qvxRegistries.h"
#include "report/model/qvxResources.h"
#include "toolkit/classes/PropertyDeclarations.h"
#include "toolkit/graphics/GraphicsObjects.h"

namespace {

// The screen font of dot-matrix text: Courier New 12 with the styles a
// screen can show.  The font no longer reports its changes to its owner.
void setUpDMPFont(TFont *font, TqvxDMPFontStyles styles)
{
    font->OnChange = nullptr;
    font->SetName(QStringLiteral("Courier New"));
    font->SetSize(12);
    TFontStyles screenStyles;
    if (styles & fsxBold)
        screenStyles |= fsBold;
    if (styles & fsxItalic)
        screenStyles |= fsItalic;
    if (styles & fsxUnderline)
        screenStyles |= fsUnderline;
    font->SetStyle(screenStyles);
}

TqvxDMPPage *dmpPageOf(const TqvxComponent *component)
{
    return qobject_cast<TqvxDMPPage *>(component->GetPage());
}

} // namespace

// --- TqvxDMPPage ------------------------------------------------------------

TqvxDMPPage::TqvxDMPPage(TComponent *owner)
    : TqvxReportPage(owner)
{
    setUpDMPFont(Font(), m_fontStyle);
    // The page's own constructor chose the paper before this class could
    // round it.
    SetPaperSize(PaperSize());
}

void TqvxDMPPage::SetFontStyle(TqvxDMPFontStyles value)
{
    m_fontStyle = value;
    setUpDMPFont(Font(), m_fontStyle);
    for (TqvxComponent *object : GetAllObjects()) {
        if (object->ParentFont())
            object->SetParentFont(true);
    }
}

void TqvxDMPPage::SetDefaults()
{
    TqvxReportPage::SetDefaults();
    SetLeftMargin(qv1CharX / qv01cm);
    SetRightMargin(qv1CharX / qv01cm);
    SetTopMargin(qv1CharY / qv01cm);
    SetBottomMargin(qv1CharY / qv01cm);
    SetPaperDimensions(qvxTruncPaperToCells(PaperWidth(), qv1CharX),
                       qvxTruncPaperToCells(PaperHeight(), qv1CharY));
    UpdateDimensions();
}

void TqvxDMPPage::SetPaperWidth(double value)
{
    TqvxReportPage::SetPaperWidth(value);
    SetPaperDimensions(qvxRoundPaperToCells(PaperWidth(), qv1CharX), PaperHeight());
    UpdateDimensions();
}

void TqvxDMPPage::SetPaperHeight(double value)
{
    TqvxReportPage::SetPaperHeight(value);
    SetPaperDimensions(PaperWidth(), qvxRoundPaperToCells(PaperHeight(), qv1CharY));
    UpdateDimensions();
}

void TqvxDMPPage::SetPaperSize(int value)
{
    TqvxReportPage::SetPaperSize(value);
    SetPaperDimensions(qvxRoundPaperToCells(PaperWidth(), qv1CharX),
                       qvxRoundPaperToCells(PaperHeight(), qv1CharY));
    UpdateDimensions();
}

// --- TqvxDMPMemoView --------------------------------------------------------

TqvxDMPMemoView::TqvxDMPMemoView(TComponent *owner)
    : TqvxCustomMemoView(owner)
{
    fontSetup();
}

QString TqvxDMPMemoView::GetDescription() const
{
    return qvxResources()->Get(QStringLiteral("obDMPText"));
}

void TqvxDMPMemoView::fontSetup()
{
    setUpDMPFont(Font(), m_fontStyle);
    SetCharSpacing(0);
    SetLineSpacing(1);
    SetGapX(0);
    SetGapY(0);
}

void TqvxDMPMemoView::SetLeft(double value)
{
    TqvxCustomMemoView::SetLeft(Align() == baRight ? qvxTruncToCell(value, qv1CharX)
                                                   : qvxRoundToCell(value, qv1CharX));
}

void TqvxDMPMemoView::SetTop(double value)
{
    TqvxCustomMemoView::SetTop(qvxRoundToCell(value, qv1CharY));
}

void TqvxDMPMemoView::SetWidth(double value)
{
    TqvxCustomMemoView::SetWidth(qvxRoundToCell(value, qv1CharX));
}

void TqvxDMPMemoView::SetHeight(double value)
{
    TqvxCustomMemoView::SetHeight(qvxRoundToCell(value, qv1CharY));
}

void TqvxDMPMemoView::SetParentFont(bool value)
{
    TqvxCustomMemoView::SetParentFont(value);
    if (!value)
        return;
    if (const TqvxDMPPage *page = dmpPageOf(this)) {
        m_fontStyle = page->FontStyle();
        fontSetup();
    }
}

void TqvxDMPMemoView::SetFontStyle(TqvxDMPFontStyles value)
{
    m_fontStyle = value;
    TqvxCustomMemoView::SetParentFont(false);
    fontSetup();
}

double TqvxDMPMemoView::CalcHeight()
{
    return qvxRoundToCell(TqvxCustomMemoView::CalcHeight(), qv1CharY);
}

double TqvxDMPMemoView::PartHeight()
{
    return qvxRoundToCell(TqvxCustomMemoView::PartHeight(), qv1CharY);
}

double TqvxDMPMemoView::CalcWidth()
{
    return qvxRoundToCell(TqvxCustomMemoView::CalcWidth(), qv1CharX);
}

void TqvxDMPMemoView::DrawFrame()
{
    const double left = GetAbsLeft();
    const double top = GetAbsTop();
    SetDeviceBox(qvxRound((left - qv1CharX / 2) * ScaleX() + OffsetX()),
                 qvxRound((top - qv1CharY / 2) * ScaleY() + OffsetY()),
                 qvxRound((left + Width() + qv1CharX / 2) * ScaleX() + OffsetX()),
                 qvxRound((top + Height() + qv1CharY / 2) * ScaleY() + OffsetY()));
    TqvxCustomMemoView::DrawFrame();
}

// --- TqvxDMPLineView --------------------------------------------------------

TqvxDMPLineView::TqvxDMPLineView(TComponent *owner)
    : TqvxCustomLineView(owner)
{
    SetLeft(Left());
    SetTop(Top());
}

QString TqvxDMPLineView::GetDescription() const
{
    return qvxResources()->Get(QStringLiteral("obDMPLine"));
}

void TqvxDMPLineView::SetLeft(double value)
{
    double left;
    if (value < 0)
        left = qvxTruncToCell(value, qv1CharX) - qv1CharX / 2;
    else if (Align() == baRight)
        left = qvxRoundToCell(value, qv1CharX) - qv1CharX / 2;
    else
        left = qvxTruncToCell(value, qv1CharX) + qv1CharX / 2;
    TqvxCustomLineView::SetLeft(left);
}

void TqvxDMPLineView::SetTop(double value)
{
    TqvxCustomLineView::SetTop(qvxTruncToCell(value, qv1CharY) + qv1CharY / 2);
}

void TqvxDMPLineView::SetWidth(double value)
{
    TqvxCustomLineView::SetWidth(Align() == baWidth ? qvxTruncToCell(value, qv1CharX)
                                                    : qvxRoundToCell(value, qv1CharX));
}

void TqvxDMPLineView::SetParentFont(bool value)
{
    TqvxCustomLineView::SetParentFont(value);
    if (!value)
        return;
    if (const TqvxDMPPage *page = dmpPageOf(this))
        m_fontStyle = page->FontStyle();
}

void TqvxDMPLineView::SetFontStyle(TqvxDMPFontStyles value)
{
    m_fontStyle = value;
    TqvxCustomLineView::SetParentFont(false);
}

// --- TqvxDMPCommand ---------------------------------------------------------

QString TqvxDMPCommand::GetDescription() const
{
    return qvxResources()->Get(QStringLiteral("obDMPCmd"));
}

void TqvxDMPCommand::SetLeft(double value)
{
    TqvxView::SetLeft(qvxRoundToCell(value, qv1CharX));
}

void TqvxDMPCommand::SetTop(double value)
{
    TqvxView::SetTop(qvxRoundToCell(value, qv1CharY));
}

// --- Unit -------------------------------------------------------------------

void InitializeQvxDMP()
{
    DescribeProperties<TqvxDMPMemoView>()
        .Default("AllowExpressions", 1)
        .Default("AutoWidth", 0)
        .Stored("DisplayFormat", &TqvxCustomMemoView::IsDisplayFormatStored)
        .Stored("ExpressionDelimiters", &TqvxCustomMemoView::IsExpressionDelimitersStored)
        .Stored("FontStyle", &TqvxDMPMemoView::IsFontStyleStored)
        .Default("HAlign", haLeft)
        .Default("HideZeros", 0)
        .Default("ParentFont", 1)
        .Default("RTLReading", 0)
        .Default("SuppressRepeated", 0)
        .Default("VAlign", vaTop)
        .Default("WordWrap", 1);
    DescribeProperties<TqvxDMPLineView>()
        .Stored("FontStyle", &TqvxDMPLineView::IsFontStyleStored)
        .Default("ParentFont", 1);
    RegisterClass<TqvxDMPPage>();
    TqvxObjectCollection *objects = qvxObjects();
    objects->RegisterObject<TqvxDMPMemoView>(nullptr, QString(), QString(), 0, 2, okDotMatrix);
    objects->RegisterObject<TqvxDMPLineView>(nullptr, QString(), QString(), 0, 5, okDotMatrix);
    objects->RegisterObject<TqvxDMPCommand>(nullptr, QString(), QString(), 0, 21, okDotMatrix);
}

void FinalizeQvxDMP()
{
    UnRegisterClass(ClassOf<TqvxDMPPage>());
    TqvxObjectCollection *objects = qvxObjects();
    objects->UnRegister(ClassOf<TqvxDMPMemoView>());
    objects->UnRegister(ClassOf<TqvxDMPLineView>());
    objects->UnRegister(ClassOf<TqvxDMPCommand>());
}
