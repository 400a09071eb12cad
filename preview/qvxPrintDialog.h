#pragma once

// The report library's print dialog: the printer (with its port, its
// driver's settings and printing into a file), the page range, copies and
// collation, odd or even pages, the order, duplex, and the print mode with
// the sheet paper for the modes that lay pages out on other sheets.
//
// It works on the report model's printer list (qvxPrinters): choosing a
// printer makes it current at once, and Cancel makes the printer current
// again that was current when the dialog was made.  OK refuses, with a
// message, a page range that names no page of the report.

#include "report/base/qvxTypes.h"
#include "toolkit/widgets/TForm.h"

#include <QStringList>

class TButton;
class TCheckBox;
class TComboBox;
class TEdit;
class TGroupBox;
class TImage;
class TLabel;
class TRadioButton;
class TSpinEdit;
class TqvxCustomPrinter;
class TqvxReport;

// The sheet list: "pgDefault" first, then the printer's papers without the
// custom size.
QStringList qvxSheetPaperNames(const TqvxCustomPrinter &printer);
// The entry of the sheet list for a paper number; 0 ("pgDefault") when the
// printer lacks the paper.
int qvxSheetPaperIndex(const TqvxCustomPrinter &printer, int paper);
// The duplex entry (0 default, 1 vertical, 2 horizontal, 3 simplex) for
// the duplex mode a driver's dialog chose (1 simplex, 2 vertical,
// 3 horizontal); -1 when it chose none.
int qvxDuplexFromDriver(int driverDuplex);

class TqvxPrintDialog : public TForm
{
    Q_OBJECT

public:
    // Lists the printers, the current one chosen, and remembers its index.
    explicit TqvxPrintDialog(TComponent *owner = nullptr);

    // Shows the report's print options and the duplex entry.
    void SetOptions(TqvxReport *report, int duplex);
    // After OK: chooses the file to print into when asked to, then writes
    // the choices into the report's print options and answers true.  After
    // Cancel the printer current at creation is current again, and the
    // answer is false; after Cancel in the file dialog the answer is false
    // too, but the printer chosen stays current.
    bool Finish();
    // The duplex entry chosen.
    int Duplex() const { return m_duplex; }
    int OldIndex() const { return m_oldIndex; }

    TGroupBox *Label12;
    TLabel *NameL;
    TComboBox *PrintersCB;
    TButton *PropButton;
    TLabel *WhereL;
    TLabel *WhereL1;
    TCheckBox *FileCB;
    TGroupBox *Label1;
    TRadioButton *AllRB;
    TRadioButton *CurPageRB;
    TRadioButton *PageNumbersRB;
    TEdit *PageNumbersE;
    TLabel *DescrL;
    TGroupBox *Label2;
    TLabel *CopiesL;
    TSpinEdit *CopiesE;
    TCheckBox *CollateCB;
    TImage *CopiesPB;
    TGroupBox *OtherGB;
    TLabel *PrintL;
    TComboBox *PrintPagesCB;
    TLabel *OrderL;
    TComboBox *OrderCB;
    TLabel *DuplexL;
    TComboBox *DuplexCB;
    TGroupBox *ScaleGB;
    TComboBox *PrintModeCB;
    TLabel *PagSizeL;
    TComboBox *PagPageSizeCB;
    TButton *OkB;
    TButton *CancelB;

    // What the controls do when the user changes them.
    void PrinterChanged();
    void PrintModeChanged();
    void PropertiesClick();

private:
    void fillSheetPapers(TqvxCustomPrinter *printer, int paper);
    void paintCollate();
    void okClick();
    bool chooseFile(TqvxCustomPrinter *printer);

    TqvxReport *m_report = nullptr;
    int m_oldIndex = -1;
    int m_duplex = 0;
};

// Shows the dialog for the report, as printing runs it: duplex comes in as
// the print options' duplex override and goes out as the choice.  Answers
// whether the user confirmed.
bool qvxShowPrintDialog(TqvxReport &report, quint8 &duplex);

// Unit start-up installs the dialog as the one printing shows; shut-down
// removes it.
void InitializeQvxPrintDialog();
void FinalizeQvxPrintDialog();
