#pragma once

// The questionnaire's main window.  The user enters the ordering
// organisation's data and the quantity, picks the breaker characteristics
// and accessories row by row in the two inspector grids, reads the derived
// description and structural composition, and saves the filled
// questionnaire as a PDF.  The grids store nothing: every text, edit style
// and drop-down list comes from the selection rules through the grid events
// below.
//
// The window owns the questionnaire's report with its template, the three
// user data sets the report runs over (the characteristic rows, the
// accessory rows and the composition lines, answered by the value events
// below from the selection rules) and the PDF filter it exports through.

#include "app/SelectionRules.h"
#include "controls/GridTypes.h"
#include "toolkit/widgets/TForm.h"

#include <QMargins>
#include <QPointer>
#include <QWindow>

class TBitBtn;
class TCustomGridView;
class TInspectorGrid;
class TButton;
class TEdit;
class TLabel;
class TMemo;
class TPanel;
class TSpinEdit;
class TStaticText;
class TStrings;
class TqvxPDFExport;
class TqvxReport;
class TqvxUserDataSet;
class Variant;

class TMainForm : public TForm, private TSelectionView
{
    Q_OBJECT

public:
    explicit TMainForm(TComponent *owner);

    // The rules and choices behind the grids.
    const TSelectionRules &Rules() const { return m_rules; }
    // The ordered quantity: the spin edit's value, always within its range
    // whatever was typed into it.
    int Quantity() const;

    void FormCreate(TObject *sender);

    // Grid events.  The edit style, can-modify handlers serve both grids.
    void InspectorGrid1GetEditStyle(TObject *sender, TGridCell cell, TGridEditStyle &style);
    void InspectorGrid1GetCellText(TObject *sender, TGridCell cell, QString &value);
    void InspectorGrid2GetCellText(TObject *sender, TGridCell cell, QString &value);
    void InspectorGrid1GetEditList(TObject *sender, TGridCell cell, TStrings *items);
    void InspectorGrid2GetEditList(TObject *sender, TGridCell cell, TStrings *items);
    void InspectorGrid1EditCanModify(TObject *sender, TGridCell cell, bool &canModify);
    void InspectorGrid1EditCloseUp(TObject *sender, TGridCell cell, int itemIndex, bool &accept);
    void InspectorGrid2EditCloseUp(TObject *sender, TGridCell cell, int itemIndex, bool &accept);

    // Saves the filled questionnaire (SaveAsPdf); an exception raised on
    // the way is shown in an error box and goes no further.
    void Button1Click(TObject *sender);
    // Closes the window, which ends the program.
    void Button2Click(TObject *sender);
    // Starts the questionnaire afresh: no choice, no results, empty
    // organisation fields, quantity 1.
    void Button3Click(TObject *sender);
    // A line break or tab typed or pasted into an organisation field
    // becomes one blank there, as the field and the document show it.
    void FieldChange(TObject *sender);

    // The save: the organisation fields (as their one line shows them), the
    // quantity, the description and the order code go into the report's
    // variables as values, the composition's line
    // count (one blank line for none) into its data set; the report is
    // prepared, the user names the file in the save dialog, and the report
    // is exported through the PDF filter.  While it runs the window takes no
    // input and cannot be closed, and a second save is refused.  True when
    // the PDF was written; false when the preparation failed, the dialog was
    // cancelled or the export was stopped or failed (the file named is then
    // left as it was).  The report reports its failures by its error mode,
    // raising them in simReThrow.
    bool SaveAsPdf();
    // True while a save prepares or exports the report.
    bool Saving() const { return m_saving; }
    // Refused while a save runs.
    bool CloseQuery() override;

    // The window as designed is taller than some screens.  On a work area
    // too low for it the window takes the area's height; on one that holds
    // it, its designed size.  The window follows the work area of the
    // monitor it is on whenever it is shown, exposed, moved, resized,
    // activated or framed anew, and whenever that work area changes.
    void FitToWorkArea(const TRect &area);

    // Value events of the data sets, for their current record: "Param" and
    // "Value" give a row's caption and chosen option (empty when none) in
    // the characteristic and accessory sets; any field of the composition
    // set gives its line.  A record out of range answers an empty text; an
    // unknown field leaves the value as it is.
    void qvxUserDataSet1GetValue(const QString &varName, Variant &value);
    void qvxUserDataSet2GetValue(const QString &varName, Variant &value);
    void qvxUserDataSet3GetValue(const QString &varName, Variant &value);
    // Value event of the report: the variables the save fills are values,
    // which the report takes as they are rather than as expressions.
    void qvxReport1GetValue(const QString &varName, Variant &value);

    TStaticText *StaticText1;
    TPanel *Panel2;
    TLabel *Label1;
    TLabel *Label2;
    TLabel *Label3;
    TEdit *Edit1;
    TEdit *Edit2;
    TEdit *Edit3;
    TStaticText *StaticText7;
    TInspectorGrid *InspectorGrid1;
    TStaticText *StaticText2;
    TInspectorGrid *InspectorGrid2;
    TPanel *Panel3;
    TLabel *Label4;
    TSpinEdit *Edit4;
    TLabel *Label5;
    TMemo *Memo2;
    TLabel *TableIDLabel;
    TStaticText *StaticText6;
    TMemo *Memo1;
    TStaticText *StaticText5;
    TMemo *Memo3;
    TPanel *Panel1;
    TBitBtn *Button1;
    TButton *Button3;
    TButton *Button2;
    TqvxUserDataSet *qvxUserDataSet1;
    TqvxUserDataSet *qvxUserDataSet2;
    TqvxUserDataSet *qvxUserDataSet3;
    TqvxPDFExport *qvxPDFExport1;
    TqvxReport *qvxReport1;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    // A client area lower than designed, however it came about: the two
    // grids and the two result boxes give up the difference about in
    // proportion to what each can spare, the grids in whole rows, and
    // scroll their contents.
    void Resize() override;

private:
    class SaveScope;

    void CreateReport();
    // The report variable of the order code: the code followed by "OEM";
    // for the capacities with a second version under the electronic trip
    // unit, two lines (with "OEM" and with "SKD").
    QString OrderCodeValue() const;
    void ChoiceValue(int grid, int row, const QString &field, Variant &value) const;
    void CreateControls();
    template <class T>
    T *NewTopControl(int height);
    TStaticText *NewSectionHeader(const QString &caption);
    TMemo *NewResultMemo(int height);
    // The handlers of the events whose answers differ between the grids.
    struct TInspectorHandlers {
        void (TMainForm::*GetCellText)(TObject *, TGridCell, QString &);
        void (TMainForm::*GetEditList)(TObject *, TGridCell, TStrings *);
        void (TMainForm::*EditCloseUp)(TObject *, TGridCell, int, bool &);
    };
    TInspectorGrid *NewInspectorGrid(int height, const TInspectorHandlers &handlers);
    void GiveUpHeight(int loss);
    void watchWindowSystem();
    void fitOnce(const TRect &area);
    void fitToMonitor();
    TCustomGridView *Grid(int grid) const;

    int GridIndex(const TObject *grid) const;
    static QString RowCaption(int grid, int row);
    void CellText(int grid, TGridCell cell, QString &value) const;
    void EditList(int grid, TGridCell cell, TStrings *items);
    void EditCloseUp(int grid, TGridCell cell, int itemIndex);

    // TSelectionView
    void InvalidateValue(int grid, int row) override;
    void InvalidateGrid(int grid) override;
    void RestartAccessoryEditing() override;
    void TableLabelChanged(const QString &caption) override;
    void SaveEnabledChanged(bool enabled) override;
    void ResultsChanged() override;

    TSelectionRules m_rules;
    // Where the next top-aligned control goes while the window is built;
    // then the client height of the window as designed.
    int m_stackTop = 0;
    bool m_fitting = false;
    bool m_fitAgain = false;
    // What the window last fitted itself to: the window manager's frame
    // round it and the work area; and whether it was on the screen in that
    // frame (placed by the window manager).
    QMargins m_fittedMargins;
    TRect m_fittedArea;
    bool m_placed = false;
    // The window and the screen's work area the window watches.
    QPointer<QWindow> m_watchedWindow;
    QMetaObject::Connection m_areaWatch;
    // What the grids and result boxes have given up of their height.
    int m_heightGivenUp = 0;
    bool m_saving = false;
};

// The program's name, also the main window's caption.
QString ProgramTitle();
