#pragma once

// The page settings dialog: the paper (from the current printer's list, or
// a size of the user's), the orientation and the margins of one report
// page, in centimetres or inches as the designer's "Units" setting says.
//
// The dialog changes nothing until OK: the size a paper choice gives is
// worked out from the paper table, and the page (and the current printer's
// paper) change only when the dialog is confirmed.  OK refuses, with a
// message naming the field, sizes and margins that make no page.

#include "preview/qvxPreviewDialogs.h"
#include "report/base/qvxObjectTypes.h"
#include "toolkit/widgets/TForm.h"

class TButton;
class TComboBox;
class TEdit;
class TGroupBox;
class TImage;
class TLabel;
class TRadioButton;
class TqvxReport;
class TqvxReportPage;

// The unit of the dialog's numbers.
enum class TqvxPageUnits { Centimetres, Inches };

// The "Units" setting of the report's settings store: 1 is inches, any
// other value centimetres.
TqvxPageUnits qvxPageUnits(const TqvxReport *report);
double qvxToUnits(double millimetres, TqvxPageUnits units);
double qvxFromUnits(double value, TqvxPageUnits units);
// The unit's label ("uCm" or "uInch").
QString qvxUnitText(TqvxPageUnits units);

// A page's paper and margins in millimetres.
struct TqvxPageSettingsState {
    int PaperSize = 0;
    double PaperWidth = 0;
    double PaperHeight = 0;
    ObjectTypes::TPrinterOrientation Orientation = ObjectTypes::poPortrait;
    double LeftMargin = 0;
    double RightMargin = 0;
    double TopMargin = 0;
    double BottomMargin = 0;
};

// The size the dialog shows after choosing a paper: a standard paper's
// table size in the orientation; the custom size (256) as typed, turned
// when the orientation was just changed.
void qvxPaperSizeFor(int paperSize, ObjectTypes::TPrinterOrientation orientation, bool orientationChanged,
                     double &width, double &height);
// Writes the settings into the page in this order: the orientation
// (whose setter turns paper and margins), the paper width and height, the
// paper size (whose setter takes a standard paper's table size), the four
// margins; then the page aligns its children.
void qvxApplyPageSettings(const TqvxPageSettingsState &state, TqvxReportPage &page);

class TqvxPageSettingsForm : public TForm
{
    Q_OBJECT

public:
    explicit TqvxPageSettingsForm(TComponent *owner = nullptr);

    // Shows the page's settings in the report's units.
    void SetPage(TqvxReport *report, TqvxReportPage *page);
    TqvxPageUnits Units() const { return m_units; }
    // The settings the fields hold, in millimetres.  Raises EConvertError
    // for a field that holds no number.
    TqvxPageSettingsState State() const;
    // What is wrong with the fields, as a message naming the field, and
    // the field in *field; empty when every field holds a plain number, the
    // paper a size above zero (up to 200 inches) and the margins no
    // negative values that leave room on the paper.
    QString Problem(TEdit **field = nullptr) const;
    bool ApplyToAll() const;

    TGroupBox *SizeL;
    TComboBox *SizeCB;
    TLabel *WidthL;
    TEdit *WidthE;
    TLabel *UnitL1;
    TLabel *HeightL;
    TEdit *HeightE;
    TLabel *UnitL2;
    TGroupBox *OrientationL;
    TRadioButton *PortraitRB;
    TRadioButton *LandscapeRB;
    TImage *PortraitImg;
    TImage *LandscapeImg;
    TGroupBox *MarginsL;
    TLabel *LeftL;
    TEdit *MarginLeftE;
    TLabel *TopL;
    TEdit *MarginTopE;
    TLabel *RightL;
    TEdit *MarginRightE;
    TLabel *BottomL;
    TEdit *MarginBottomE;
    TLabel *UnitL3;
    TLabel *UnitL4;
    TLabel *UnitL5;
    TLabel *UnitL6;
    TGroupBox *OtherL;
    TRadioButton *ApplyToCurRB;
    TRadioButton *ApplyToAllRB;
    TButton *OKB;
    TButton *CancelB;

private:
    void orientationClick();
    void sizeChanged(bool orientationChanged);
    void sizeTyped();
    void okClick();
    void setField(TEdit *edit, double millimetres);
    double field(const TEdit *edit) const;
    int chosenPaper() const;

    TqvxPageUnits m_units = TqvxPageUnits::Centimetres;
    bool m_updating = false;
};

// Shows the dialog for the request's page of its report; after OK the
// page holds the new settings, the current printer the new paper, and the
// request whether the user asked for every page.  Answers whether the user
// confirmed.
bool qvxEditPageSettings(TqvxPageSetupRequest &request);

// Unit start-up installs the dialog as the preview's page settings dialog;
// shut-down removes it.
void InitializeQvxPageSettings();
void FinalizeQvxPageSettings();
