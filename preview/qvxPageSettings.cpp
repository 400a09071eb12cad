#include "preview/qvxPageSettings.h"

#include "engine/qvxPrinter.h"
#include "preview/qvxDialogControls.h"
#include "preview/qvxDialogHelp.h"
#include "preview/qvxDialogPictures.h"
#include "report/base/qvxNumbers.h"
#include "report/model/qvxErrors.h"
#include "report/model/qvxResources.h"
#include "report/pages/qvxPage.h"
#include "report/report/qvxReport.h"
#include "toolkit/classes/IniFiles.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/core/FormatSettings.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Picture.h"
#include "toolkit/widgets/TButton.h"
#include "toolkit/widgets/TComboBox.h"
#include "toolkit/widgets/TCustomEdit.h"
#include "toolkit/widgets/TGroupBox.h"
#include "toolkit/widgets/TImage.h"
#include "toolkit/widgets/TLabel.h"
#include "toolkit/widgets/TRadioButton.h"

#include <QRegularExpression>

namespace {

constexpr double kMillimetresPerInch = 25.4;
constexpr double kMillimetresPerCentimetre = 10;
// The largest page PDF readers show (200 inches).
constexpr double kMaxPaperMillimetres = 5080;

TPrinterOrientation printerOrientation(ObjectTypes::TPrinterOrientation orientation)
{
    return orientation == ObjectTypes::poLandscape ? poLandscape : poPortrait;
}

} // namespace

TqvxPageUnits qvxPageUnits(const TqvxReport *report)
{
    if (!report)
        return TqvxPageUnits::Centimetres;
    std::unique_ptr<TCustomIniFile> settings(report->GetIniFile());
    const int units = settings->ReadInteger(QStringLiteral("Form.TqvxDesignerForm"), QStringLiteral("Units"), 0);
    return units == 1 ? TqvxPageUnits::Inches : TqvxPageUnits::Centimetres;
}

double qvxToUnits(double millimetres, TqvxPageUnits units)
{
    return millimetres / (units == TqvxPageUnits::Inches ? kMillimetresPerInch : kMillimetresPerCentimetre);
}

double qvxFromUnits(double value, TqvxPageUnits units)
{
    return value * (units == TqvxPageUnits::Inches ? kMillimetresPerInch : kMillimetresPerCentimetre);
}

QString qvxUnitText(TqvxPageUnits units)
{
    return qvxResources()->Get(units == TqvxPageUnits::Inches ? QStringLiteral("uInch") : QStringLiteral("uCm"));
}

void qvxPaperSizeFor(int paperSize, ObjectTypes::TPrinterOrientation orientation, bool orientationChanged,
                     double &width, double &height)
{
    double tableWidth = 0;
    double tableHeight = 0;
    if (paperSize != kCustomPaper && GetPaperDimensions(paperSize, tableWidth, tableHeight)) {
        width = tableWidth;
        height = tableHeight;
        if (orientation == ObjectTypes::poLandscape)
            std::swap(width, height);
    } else if (orientationChanged) {
        std::swap(width, height);
    }
}

void qvxApplyPageSettings(const TqvxPageSettingsState &state, TqvxReportPage &page)
{
    page.SetOrientation(state.Orientation);
    page.SetPaperWidth(state.PaperWidth);
    page.SetPaperHeight(state.PaperHeight);
    page.SetPaperSize(state.PaperSize);
    page.SetLeftMargin(state.LeftMargin);
    page.SetRightMargin(state.RightMargin);
    page.SetTopMargin(state.TopMargin);
    page.SetBottomMargin(state.BottomMargin);
    page.AlignChildren();
}

TqvxPageSettingsForm::TqvxPageSettingsForm(TComponent *owner) : TForm(owner)
{
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientWidth(286);
    SetClientHeight(359);
    SetCaption(qvxGet(400));
    qvxHelpOnF1(this);

    SizeL = qvxPlace<TGroupBox>(this, this, 4, 4, 277, 101, qvxGet(403));
    SizeCB = qvxPlace<TComboBox>(this, SizeL, 8, 18, 261, 21);
    SizeCB->SetStyle(csDropDownList);
    SizeCB->OnChange = [this](TObject *) { sizeChanged(false); };
    WidthL = qvxPlace<TLabel>(this, SizeL, 8, 50, 54, 17, qvxGet(401));
    WidthE = qvxPlace<TEdit>(this, SizeL, 64, 46, 45, 21);
    UnitL1 = qvxPlace<TLabel>(this, SizeL, 114, 50, 30, 17, QString());
    HeightL = qvxPlace<TLabel>(this, SizeL, 8, 74, 54, 17, qvxGet(402));
    HeightE = qvxPlace<TEdit>(this, SizeL, 64, 70, 45, 21);
    UnitL2 = qvxPlace<TLabel>(this, SizeL, 114, 74, 30, 17, QString());
    WidthE->OnChange = [this](TObject *) { sizeTyped(); };
    HeightE->OnChange = [this](TObject *) { sizeTyped(); };

    OrientationL = qvxPlace<TGroupBox>(this, this, 4, 108, 277, 65, qvxGet(404));
    PortraitRB = qvxPlace<TRadioButton>(this, OrientationL, 8, 18, 130, 17, qvxGet(410));
    LandscapeRB = qvxPlace<TRadioButton>(this, OrientationL, 8, 40, 130, 17, qvxGet(411));
    PortraitImg = qvxPlace<TImage>(this, OrientationL, 150, 21, 26, 32);
    PortraitImg->Picture()->SetGraphic(qvxOrientationPicture(false).get());
    LandscapeImg = qvxPlace<TImage>(this, OrientationL, 147, 24, 32, 26);
    LandscapeImg->Picture()->SetGraphic(qvxOrientationPicture(true).get());
    PortraitRB->SetChecked(true);
    PortraitRB->OnClick = [this](TObject *) { orientationClick(); };
    LandscapeRB->OnClick = [this](TObject *) { orientationClick(); };

    MarginsL = qvxPlace<TGroupBox>(this, this, 4, 176, 277, 73, qvxGet(409));
    LeftL = qvxPlace<TLabel>(this, MarginsL, 8, 22, 56, 17, qvxGet(405));
    MarginLeftE = qvxPlace<TEdit>(this, MarginsL, 66, 18, 40, 21);
    UnitL3 = qvxPlace<TLabel>(this, MarginsL, 110, 22, 24, 17, QString());
    TopL = qvxPlace<TLabel>(this, MarginsL, 8, 46, 56, 17, qvxGet(406));
    MarginTopE = qvxPlace<TEdit>(this, MarginsL, 66, 42, 40, 21);
    UnitL4 = qvxPlace<TLabel>(this, MarginsL, 110, 46, 24, 17, QString());
    RightL = qvxPlace<TLabel>(this, MarginsL, 140, 22, 60, 17, qvxGet(407));
    MarginRightE = qvxPlace<TEdit>(this, MarginsL, 204, 18, 40, 21);
    UnitL5 = qvxPlace<TLabel>(this, MarginsL, 248, 22, 24, 17, QString());
    BottomL = qvxPlace<TLabel>(this, MarginsL, 140, 46, 60, 17, qvxGet(408));
    MarginBottomE = qvxPlace<TEdit>(this, MarginsL, 204, 42, 40, 21);
    UnitL6 = qvxPlace<TLabel>(this, MarginsL, 248, 46, 24, 17, QString());

    OtherL = qvxPlace<TGroupBox>(this, this, 4, 252, 277, 65, qvxGet(412));
    ApplyToCurRB = qvxPlace<TRadioButton>(this, OtherL, 8, 18, 260, 17, qvxGet(413));
    ApplyToAllRB = qvxPlace<TRadioButton>(this, OtherL, 8, 40, 260, 17, qvxGet(414));
    ApplyToCurRB->SetChecked(true);

    OKB = qvxPlace<TButton>(this, this, 126, 328, 75, 25, qvxGet(1));
    OKB->SetDefault(true);
    OKB->OnClick = [this](TObject *) { okClick(); };
    CancelB = qvxPlace<TButton>(this, this, 206, 328, 75, 25, qvxGet(2));
    CancelB->SetCancel(true);
    CancelB->SetModalResult(mrCancel);
}

void TqvxPageSettingsForm::SetPage(TqvxReport *report, TqvxReportPage *page)
{
    m_updating = true;
    m_units = qvxPageUnits(report);
    for (TLabel *label : {UnitL1, UnitL2, UnitL3, UnitL4, UnitL5, UnitL6})
        label->SetCaption(qvxUnitText(m_units));

    if (const TqvxCustomPrinter *printer = qvxPrinters()->GetCurrentPrinter()) {
        QStringList names;
        for (const TqvxPrinterItem &paper : printer->Papers())
            names << paper.Name;
        qvxSetItems(SizeCB, names);
        const int index = printer->PaperIndex(page->PaperSize());
        SizeCB->SetItemIndex(index != -1 ? index : printer->PaperIndex(kCustomPaper));
    }
    setField(WidthE, page->PaperWidth());
    setField(HeightE, page->PaperHeight());
    if (page->Orientation() == ObjectTypes::poPortrait)
        PortraitRB->SetChecked(true);
    else
        LandscapeRB->SetChecked(true);
    setField(MarginLeftE, page->LeftMargin());
    setField(MarginRightE, page->RightMargin());
    setField(MarginTopE, page->TopMargin());
    setField(MarginBottomE, page->BottomMargin());
    orientationClick();
    m_updating = false;
}

void TqvxPageSettingsForm::setField(TEdit *edit, double millimetres)
{
    edit->SetText(qvxFloatToStr(qvxToUnits(millimetres, m_units)));
}

double TqvxPageSettingsForm::field(const TEdit *edit) const
{
    return qvxFromUnits(qvxStrToFloat(edit->Text()), m_units);
}

int TqvxPageSettingsForm::chosenPaper() const
{
    const TqvxCustomPrinter *printer = qvxPrinters()->GetCurrentPrinter();
    return printer ? printer->PaperNameToNumber(SizeCB->Text()) : kCustomPaper;
}

void TqvxPageSettingsForm::orientationClick()
{
    PortraitImg->SetVisible(PortraitRB->Checked());
    LandscapeImg->SetVisible(LandscapeRB->Checked());
    sizeChanged(true);
}

void TqvxPageSettingsForm::sizeChanged(bool orientationChanged)
{
    if (m_updating)
        return;
    double width = 0;
    double height = 0;
    try {
        width = field(WidthE);
        height = field(HeightE);
    } catch (const EConvertError &) {
        // A size being typed is no number yet; a standard paper gives its
        // own size all the same.
    }
    m_updating = true;
    qvxPaperSizeFor(chosenPaper(), LandscapeRB->Checked() ? ObjectTypes::poLandscape : ObjectTypes::poPortrait,
                    orientationChanged, width, height);
    setField(WidthE, width);
    setField(HeightE, height);
    m_updating = false;
}

void TqvxPageSettingsForm::sizeTyped()
{
    if (m_updating)
        return;
    if (const TqvxCustomPrinter *printer = qvxPrinters()->GetCurrentPrinter())
        SizeCB->SetItemIndex(printer->PaperIndex(kCustomPaper));
}

TqvxPageSettingsState TqvxPageSettingsForm::State() const
{
    TqvxPageSettingsState state;
    state.Orientation = LandscapeRB->Checked() ? ObjectTypes::poLandscape : ObjectTypes::poPortrait;
    state.PaperWidth = field(WidthE);
    state.PaperHeight = field(HeightE);
    state.PaperSize = chosenPaper();
    state.LeftMargin = field(MarginLeftE);
    state.RightMargin = field(MarginRightE);
    state.TopMargin = field(MarginTopE);
    state.BottomMargin = field(MarginBottomE);
    return state;
}

bool TqvxPageSettingsForm::ApplyToAll() const
{
    return ApplyToAllRB->Checked();
}

QString TqvxPageSettingsForm::Problem(TEdit **field) const
{
    static const QRegularExpression number(QStringLiteral("^-?(?:\\d+(?:[.,]\\d*)?|[.,]\\d+)$"));
    struct Field {
        TEdit *edit;
        QString caption;
    };
    const auto margin = [this](TEdit *edit, const TLabel *label) {
        return Field{edit, MarginsL->Caption() + QStringLiteral(": ") + label->Caption()};
    };
    // Width and height first, then the margins in pairs across the paper.
    const Field fields[] = {{WidthE, WidthL->Caption()},    {HeightE, HeightL->Caption()},
                            margin(MarginLeftE, LeftL),     margin(MarginRightE, RightL),
                            margin(MarginTopE, TopL),       margin(MarginBottomE, BottomL)};
    const auto fail = [field](const Field &bad, const QString &message) {
        if (field)
            *field = bad.edit;
        return message;
    };
    for (int i = 0; i < 6; ++i) {
        const Field &f = fields[i];
        QString text = f.edit->Text();
        text.remove(u' ');
        if (!number.match(text).hasMatch())
            return fail(f, qvxResources()->Get(QStringLiteral("dlgBadNumber"))
                               .arg(f.caption, QString(FormatSettings.DecimalSeparator)));
        const double value = this->field(f.edit);
        if (i < 2 && (value <= 0 || value > kMaxPaperMillimetres))
            return fail(f, qvxResources()->Get(QStringLiteral("dlgBadPaperSize"))
                               .arg(f.caption, qvxFloatToStr(qvxToUnits(kMaxPaperMillimetres, m_units)) + u' '
                                                   + qvxUnitText(m_units)));
        if (i >= 2 && value < 0)
            return fail(f, qvxResources()->Get(QStringLiteral("dlgBadMargin")).arg(f.caption));
    }
    for (int across = 0; across < 2; ++across) {
        const Field &first = fields[2 + 2 * across];
        const Field &second = fields[3 + 2 * across];
        if (this->field(first.edit) + this->field(second.edit) >= this->field(fields[across].edit))
            return fail(first, qvxResources()
                                   ->Get(QStringLiteral("dlgMarginsTooWide"))
                                   .arg(first.caption, second.caption));
    }
    return QString();
}

void TqvxPageSettingsForm::okClick()
{
    TEdit *field = nullptr;
    const QString problem = Problem(&field);
    if (problem.isEmpty()) {
        SetModalResult(mrOk);
        return;
    }
    qvxErrorMsg(problem);
    field->SetFocus();
    field->SelectAll();
}

bool qvxEditPageSettings(TqvxPageSetupRequest &request)
{
    std::unique_ptr<TqvxPageSettingsForm> form(NewObject<TqvxPageSettingsForm>(nullptr));
    form->SetPage(request.Report, request.Page);
    if (form->ShowModal() != mrOk)
        return false;
    const TqvxPageSettingsState state = form->State();
    qvxApplyPageSettings(state, *request.Page);
    if (TqvxCustomPrinter *printer = qvxPrinters()->GetCurrentPrinter())
        printer->SetViewParams(state.PaperSize, request.Page->PaperWidth(), request.Page->PaperHeight(),
                               printerOrientation(state.Orientation));
    request.ApplyToAll = form->ApplyToAll();
    return true;
}

void InitializeQvxPageSettings()
{
    qvxPreviewDialogs().PageSetup = qvxEditPageSettings;
}

void FinalizeQvxPageSettings()
{
    qvxPreviewDialogs().PageSetup = nullptr;
}
