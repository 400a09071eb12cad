#include "preview/qvxPrintDialog.h"

#include "engine/qvxPrintDialogEntry.h"
#include "engine/qvxPrinter.h"
#include "preview/qvxDialogControls.h"
#include "preview/qvxDialogHelp.h"
#include "preview/qvxDialogPictures.h"
#include "preview/qvxPageRangeInput.h"
#include "report/model/qvxCustomPreviewPages.h"
#include "report/model/qvxErrors.h"
#include "report/model/qvxOptions.h"
#include "report/model/qvxResources.h"
#include "report/report/qvxReport.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/ImageList.h"
#include "toolkit/graphics/Picture.h"
#include "toolkit/widgets/CommonDialogs.h"
#include "toolkit/widgets/ModalRunner.h"
#include "toolkit/widgets/TButton.h"
#include "toolkit/widgets/TCheckBox.h"
#include "toolkit/widgets/TComboBox.h"
#include "toolkit/widgets/TCustomEdit.h"
#include "toolkit/widgets/TGroupBox.h"
#include "toolkit/widgets/TImage.h"
#include "toolkit/widgets/TLabel.h"
#include "toolkit/widgets/TRadioButton.h"
#include "toolkit/widgets/TSpinEdit.h"

#include <QFileInfo>

namespace {

constexpr int kPrinterImage = 2;

QStringList resourceTexts(std::initializer_list<const char *> keys)
{
    QStringList texts;
    for (const char *key : keys)
        texts << qvxResources()->Get(QLatin1String(key));
    return texts;
}

QImage printerPicture()
{
    TBitmap bitmap;
    bitmap.SetSize(16, 16);
    bitmap.Canvas()->Brush()->SetColor(clWindow);
    bitmap.Canvas()->FillRect(TRect(0, 0, 16, 16));
    qvxResources()->PreviewButtonImages()->Draw(bitmap.Canvas(), 0, 0, kPrinterImage);
    return bitmap.Image();
}

} // namespace

QStringList qvxSheetPaperNames(const TqvxCustomPrinter &printer)
{
    QStringList names{qvxResources()->Get(QStringLiteral("pgDefault"))};
    for (const TqvxPrinterItem &paper : printer.Papers())
        if (paper.Id != kCustomPaper)
            names << paper.Name;
    return names;
}

int qvxSheetPaperIndex(const TqvxCustomPrinter &printer, int paper)
{
    const int index = printer.PaperIndex(paper);
    const int custom = printer.PaperIndex(kCustomPaper);
    return index + 1 - (custom != -1 && custom < index ? 1 : 0);
}

int qvxDuplexFromDriver(int driverDuplex)
{
    const int entry = driverDuplex - 1;
    if (entry == 0)
        return 3;
    return entry > 0 ? entry : -1;
}

TqvxPrintDialog::TqvxPrintDialog(TComponent *owner) : TForm(owner)
{
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientWidth(557);
    SetClientHeight(333);
    SetCaption(qvxGet(200));
    qvxHelpOnF1(this);

    Label12 = qvxPlace<TGroupBox>(this, this, 4, 4, 549, 73, qvxGet(201));
    NameL = qvxPlace<TLabel>(this, Label12, 8, 20, 48, 17, qvxGet(212));
    PrintersCB = qvxPlace<TComboBox>(this, Label12, 60, 16, 329, 24);
    PrintersCB->SetStyle(csDropDownList);
    PropButton = qvxPlace<TButton>(this, Label12, 444, 16, 95, 22, qvxGet(209));
    WhereL = qvxPlace<TLabel>(this, Label12, 8, 48, 48, 17, qvxGet(208));
    WhereL1 = qvxPlace<TLabel>(this, Label12, 60, 48, 330, 17, QString());
    FileCB = qvxPlace<TCheckBox>(this, Label12, 408, 48, 135, 19, qvxGet(210));

    Label1 = qvxPlace<TGroupBox>(this, this, 4, 80, 261, 117, qvxGet(202));
    AllRB = qvxPlace<TRadioButton>(this, Label1, 8, 20, 240, 17, qvxGet(3));
    CurPageRB = qvxPlace<TRadioButton>(this, Label1, 8, 40, 240, 17, qvxGet(4));
    PageNumbersRB = qvxPlace<TRadioButton>(this, Label1, 8, 60, 74, 17, qvxGet(5));
    PageNumbersE = qvxPlace<TEdit>(this, Label1, 84, 58, 165, 21);
    DescrL = qvxPlace<TLabel>(this, Label1, 8, 82, 249, 29);
    DescrL->SetAutoSize(false);
    DescrL->SetWordWrap(true);
    DescrL->SetCaption(qvxGet(9));
    AllRB->SetChecked(true);
    qvxMakePageNumberField(PageNumbersE, [this] { PageNumbersRB->SetChecked(true); });
    PageNumbersRB->OnClick = [this](TObject *) {
        if (Visible())
            PageNumbersE->SetFocus();
    };

    Label2 = qvxPlace<TGroupBox>(this, this, 272, 80, 281, 117, qvxGet(205));
    CopiesL = qvxPlace<TLabel>(this, Label2, 12, 20, 120, 17, qvxGet(203));
    CopiesE = qvxPlace<TSpinEdit>(this, Label2, 140, 16, 60, 21);
    CopiesE->SetMinValue(1);
    CopiesE->SetMaxValue(1000);
    CopiesE->SetValue(1);
    CollateCB = qvxPlace<TCheckBox>(this, Label2, 140, 58, 135, 19, qvxGet(204));
    CollateCB->SetChecked(true);
    CopiesPB = qvxPlace<TImage>(this, Label2, 12, 48, 92, 53);
    CollateCB->OnClick = [this](TObject *) { paintCollate(); };

    OtherGB = qvxPlace<TGroupBox>(this, this, 4, 200, 261, 97, qvxGet(207));
    PrintL = qvxPlace<TLabel>(this, OtherGB, 8, 22, 90, 17, qvxGet(206));
    PrintPagesCB = qvxPlace<TComboBox>(this, OtherGB, 100, 18, 153, 21);
    PrintPagesCB->SetStyle(csDropDownList);
    PrintPagesCB->Items()->SetText(resourceTexts({"ppAll", "ppOdd", "ppEven"}).join(u'\n'));
    OrderL = qvxPlace<TLabel>(this, OtherGB, 8, 46, 90, 17, qvxGet(211));
    OrderCB = qvxPlace<TComboBox>(this, OtherGB, 100, 42, 153, 21);
    OrderCB->SetStyle(csDropDownList);
    OrderCB->Items()->SetText(resourceTexts({"poDirect", "poReverse"}).join(u'\n'));
    DuplexL = qvxPlace<TLabel>(this, OtherGB, 8, 70, 90, 17, qvxGet(216));
    DuplexCB = qvxPlace<TComboBox>(this, OtherGB, 100, 66, 153, 21);
    DuplexCB->SetStyle(csDropDownList);
    DuplexCB->Items()->SetText(resourceTexts({"dupDefault", "dupVert", "dupHorz", "dupSimpl"}).join(u'\n'));

    ScaleGB = qvxPlace<TGroupBox>(this, this, 272, 200, 281, 97, qvxGet(213));
    PrintModeCB = qvxPlace<TComboBox>(this, ScaleGB, 12, 16, 257, 40);
    PrintModeCB->SetStyle(csDropDownList);
    PrintModeCB->SetItemHeight(34);
    PrintModeCB->Items()->SetText(resourceTexts({"pmDefault", "pmSplit", "pmJoin", "pmScale"}).join(u'\n'));
    for (const TqvxPrintMode mode : {pmDefault, pmSplit, pmJoin, pmScale})
        PrintModeCB->SetItemImage(mode, qvxPrintModePicture(mode)->Image());
    PrintModeCB->OnChange = [this](TObject *) { PrintModeChanged(); };
    PagSizeL = qvxPlace<TLabel>(this, ScaleGB, 12, 64, 110, 17, qvxGet(214));
    PagPageSizeCB = qvxPlace<TComboBox>(this, ScaleGB, 124, 60, 145, 21);
    PagPageSizeCB->SetStyle(csDropDownList);

    OkB = qvxPlace<TButton>(this, this, 398, 304, 75, 25, qvxGet(1));
    OkB->SetDefault(true);
    OkB->OnClick = [this](TObject *) { okClick(); };
    CancelB = qvxPlace<TButton>(this, this, 478, 304, 75, 25, qvxGet(2));
    CancelB->SetCancel(true);
    CancelB->SetModalResult(mrCancel);

    for (TComboBox *list : {PrintPagesCB, OrderCB, DuplexCB, PrintModeCB})
        list->SetItemIndex(0);

    TqvxPrinterList *printers = qvxPrinters();
    PrintersCB->Items()->SetText(printers->Names().join(u'\n'));
    const QImage picture = printerPicture();
    for (int i = 0; i < PrintersCB->Items()->Count(); ++i)
        PrintersCB->SetItemImage(i, picture);
    if (const TqvxCustomPrinter *printer = printers->GetCurrentPrinter())
        PrintersCB->SetItemIndex(printers->IndexOf(printer->Name()));
    PrintersCB->OnChange = [this](TObject *) { PrinterChanged(); };
    PropButton->OnClick = [this](TObject *) { PropertiesClick(); };
    PrinterChanged();
    m_oldIndex = PrintersCB->ItemIndex();
    paintCollate();
}

void TqvxPrintDialog::SetOptions(TqvxReport *report, int duplex)
{
    m_report = report;
    m_duplex = duplex;
    const TqvxPrintOptions *options = report->PrintOptions();
    CopiesE->SetValue(options->Copies());
    CollateCB->SetChecked(options->Collate());
    PageNumbersE->SetText(options->PageNumbers());
    if (options->PageNumbers().isEmpty())
        AllRB->SetChecked(true);
    PrintPagesCB->SetItemIndex(options->PrintPages());
    OrderCB->SetItemIndex(options->Reverse() ? 1 : 0);
    PrintModeCB->SetItemIndex(options->PrintMode());
    DuplexCB->SetItemIndex(duplex);
    PrintModeChanged();
    if (options->PrintMode() != pmDefault)
        if (const TqvxCustomPrinter *printer = qvxPrinters()->GetCurrentPrinter())
            PagPageSizeCB->SetItemIndex(qvxSheetPaperIndex(*printer, options->PrintOnSheet()));
}

void TqvxPrintDialog::PrinterChanged()
{
    TqvxPrinterList *printers = qvxPrinters();
    const TqvxCustomPrinter *previous = printers->GetCurrentPrinter();
    int paper = -1;
    if (previous && PagPageSizeCB->ItemIndex() > 0)
        paper = previous->PaperNameToNumber(PagPageSizeCB->Text());
    if (PrintersCB->ItemIndex() != -1)
        printers->SetPrinterIndex(PrintersCB->ItemIndex());
    TqvxCustomPrinter *printer = printers->GetCurrentPrinter();
    if (!printer)
        return;
    WhereL1->SetCaption(printer->Port());
    PropButton->SetEnabled(printer->HasPropertiesDlg());
    fillSheetPapers(printer, paper);
}

void TqvxPrintDialog::fillSheetPapers(TqvxCustomPrinter *printer, int paper)
{
    qvxSetItems(PagPageSizeCB, qvxSheetPaperNames(*printer));
    PagPageSizeCB->SetItemIndex(paper == -1 ? 0 : qvxSheetPaperIndex(*printer, paper));
}

void TqvxPrintDialog::PrintModeChanged()
{
    if (PrintModeCB->ItemIndex() == pmDefault) {
        PagPageSizeCB->SetItemIndex(0);
        PagPageSizeCB->SetEnabled(false);
        return;
    }
    PagPageSizeCB->SetEnabled(true);
    if (PagPageSizeCB->ItemIndex() <= 0)
        if (const TqvxCustomPrinter *printer = qvxPrinters()->GetCurrentPrinter())
            PagPageSizeCB->SetItemIndex(qvxSheetPaperIndex(*printer, kA4Paper));
}

void TqvxPrintDialog::PropertiesClick()
{
    TqvxCustomPrinter *printer = qvxPrinters()->GetCurrentPrinter();
    if (!printer)
        return;
    printer->PropertiesDlg();
    const int entry = qvxDuplexFromDriver(printer->Duplex());
    if (entry > 0) {
        m_duplex = entry;
        DuplexCB->SetItemIndex(entry);
    }
}

void TqvxPrintDialog::paintCollate()
{
    CopiesPB->Picture()->SetGraphic(qvxCollatePicture(CollateCB->Checked()).get());
    CopiesPB->Invalidate();
}

void TqvxPrintDialog::okClick()
{
    TqvxCustomPreviewPages *pages = m_report ? m_report->PreviewPages() : nullptr;
    const QString error =
        PageNumbersRB->Checked() ? qvxPageRangeError(PageNumbersE->Text(), pages ? pages->Count() : 0) : QString();
    if (error.isEmpty()) {
        SetModalResult(mrOk);
        return;
    }
    qvxErrorMsg(error);
    PageNumbersE->SetFocus();
}

bool TqvxPrintDialog::chooseFile(TqvxCustomPrinter *printer)
{
    TFileDialogRequest request;
    request.Save = true;
    request.Title = qvxGet(507);
    request.Filters = NameFiltersFromFilter(qvxGet(510));
    request.DefaultExt = QStringLiteral("prn");
    if (!ModalRunner::Current().FileDialog(request))
        return false;
    const QFileInfo chosen(request.FileName);
    printer->SetFileName(chosen.path() + u'/' + chosen.completeBaseName() + QStringLiteral(".prn"));
    return true;
}

bool TqvxPrintDialog::Finish()
{
    TqvxPrinterList *printers = qvxPrinters();
    TqvxCustomPrinter *printer = printers->GetCurrentPrinter();
    if (ModalResult() != mrOk || !printer) {
        if (m_oldIndex != -1)
            printers->SetPrinterIndex(m_oldIndex);
        return false;
    }
    printer->SetFileName(QString());
    // Cancelling the file dialog cancels printing, but the printer the user
    // chose stays the current one.
    if (FileCB->Checked() && !chooseFile(printer))
        return false;

    TqvxPrintOptions *options = m_report->PrintOptions();
    options->SetCopies(CopiesE->Value());
    options->SetCollate(CollateCB->Checked());
    if (AllRB->Checked()) {
        options->SetPageNumbers(QString());
    } else if (CurPageRB->Checked()) {
        const TqvxCustomPreviewPages *pages = m_report->PreviewPages();
        options->SetPageNumbers(QString::number(pages ? pages->CurrentPreviewPage() : 1));
    } else {
        options->SetPageNumbers(PageNumbersE->Text());
    }
    options->SetPrintPages(TqvxPrintPages(PrintPagesCB->ItemIndex()));
    m_duplex = DuplexCB->ItemIndex();
    options->SetReverse(OrderCB->ItemIndex() == 1);
    options->SetPrintMode(TqvxPrintMode(PrintModeCB->ItemIndex()));
    options->SetPrintOnSheet(printer->PaperNameToNumber(PagPageSizeCB->Text()));
    return true;
}

bool qvxShowPrintDialog(TqvxReport &report, quint8 &duplex)
{
    std::unique_ptr<TqvxPrintDialog> dialog(NewObject<TqvxPrintDialog>(nullptr));
    dialog->SetOptions(&report, duplex);
    dialog->ShowModal();
    if (!dialog->Finish())
        return false;
    duplex = quint8(dialog->Duplex());
    return true;
}

void InitializeQvxPrintDialog()
{
    qvxInstallPrintDialog(qvxShowPrintDialog);
}

void FinalizeQvxPrintDialog()
{
    qvxRemovePrintDialog();
}
