// The print dialog between the report's print options and the printer
// list, answered through the modal runner.

#include "DialogKeys.h"
#include "FakePrinters.h"

#include "engine/PreparedReport.h"
#include "preview/qvxPrintDialog.h"
#include "report/model/qvxOptions.h"
#include "report/model/qvxResources.h"
#include "toolkit/ScriptedModalRunner.h"
#include "toolkit/classes/TStrings.h"
#include "toolkit/widgets/TButton.h"
#include "toolkit/widgets/TCheckBox.h"
#include "toolkit/widgets/TComboBox.h"
#include "toolkit/widgets/TCustomEdit.h"
#include "toolkit/widgets/TLabel.h"
#include "toolkit/widgets/TRadioButton.h"
#include "toolkit/widgets/TSpinEdit.h"

#include <gtest/gtest.h>

namespace {

class PrintDialog : public ::testing::Test
{
protected:
    TqvxPrintOptions *options() const { return prepared.report->PrintOptions(); }
    TFakePrinter *printer(int index) { return static_cast<TFakePrinter *>(printers.list.GetItem(index)); }
    int currentIndex() { return printers.list.PrinterIndex(); }
    // Runs the dialog; answer works the controls, then the dialog closes
    // with OK, or with Cancel when answer says false.
    bool show(const std::function<bool(TqvxPrintDialog &)> &answer)
    {
        runner.onForm = [&](TCustomForm &form) {
            auto &dialog = dynamic_cast<TqvxPrintDialog &>(form);
            (answer(dialog) ? dialog.OkB : dialog.CancelB)->Click();
        };
        return qvxShowPrintDialog(*prepared.report, duplex);
    }

    TPreparedReport prepared;
    TFakePrinters printers{twoFakePrinters()};
    ScriptedModalRunner runner;
    quint8 duplex = 0;
};

TEST_F(PrintDialog, ShowsTheOptionsAndWritesTheChoicesBackOnOK)
{
    options()->SetCopies(3);
    options()->SetCollate(false);
    options()->SetPageNumbers(QStringLiteral("2-3"));
    options()->SetPrintPages(ppOdd);
    options()->SetReverse(true);
    options()->SetPrintMode(pmScale);
    options()->SetPrintOnSheet(8);
    duplex = 1;

    EXPECT_TRUE(show([](TqvxPrintDialog &dialog) {
        EXPECT_EQ(dialog.Caption(), qvxGet(200));
        EXPECT_EQ(dialog.PrintersCB->Text(), "Office");
        EXPECT_EQ(dialog.WhereL1->Caption(), "LPT1:");
        EXPECT_EQ(dialog.CopiesE->Value(), 3);
        EXPECT_FALSE(dialog.CollateCB->Checked());
        EXPECT_TRUE(dialog.PageNumbersRB->Checked());
        EXPECT_EQ(dialog.PageNumbersE->Text(), "2-3");
        EXPECT_EQ(dialog.PrintPagesCB->ItemIndex(), 1);
        EXPECT_EQ(dialog.OrderCB->ItemIndex(), 1);
        EXPECT_EQ(dialog.PrintModeCB->ItemIndex(), 3);
        EXPECT_EQ(dialog.DuplexCB->ItemIndex(), 1);
        EXPECT_EQ(dialog.PagPageSizeCB->Text(), "A3");

        dialog.CopiesE->SetValue(5);
        dialog.CollateCB->SetChecked(true);
        dialog.AllRB->SetChecked(true);
        dialog.PrintPagesCB->SetItemIndex(2);
        dialog.OrderCB->SetItemIndex(0);
        dialog.DuplexCB->SetItemIndex(2);
        return true;
    }));
    EXPECT_EQ(options()->Copies(), 5);
    EXPECT_TRUE(options()->Collate());
    EXPECT_EQ(options()->PageNumbers(), "");
    EXPECT_EQ(options()->PrintPages(), ppEven);
    EXPECT_FALSE(options()->Reverse());
    EXPECT_EQ(options()->PrintMode(), pmScale);
    EXPECT_EQ(options()->PrintOnSheet(), 8);
    EXPECT_EQ(duplex, 2);
    EXPECT_TRUE(printer(0)->FileName().isEmpty());
}

TEST_F(PrintDialog, TheSheetListLeavesTheCustomSizeOutAndCountsPastIt)
{
    printer(0)->Init();
    EXPECT_EQ(qvxSheetPaperNames(*printer(0)), QStringList({qvxResources()->Get("pgDefault"), "A4", "A3", "Letter"}));
    EXPECT_EQ(qvxSheetPaperIndex(*printer(0), 8), 2) << "A3 is the printer's third paper after the custom size";
    EXPECT_EQ(qvxSheetPaperIndex(*printer(0), 11), 0) << "a paper the printer lacks is the default";
}

TEST_F(PrintDialog, DefaultModeDisablesTheSheetListAndOtherModesOfferA4)
{
    show([](TqvxPrintDialog &dialog) {
        EXPECT_FALSE(dialog.PagPageSizeCB->Enabled());
        EXPECT_EQ(dialog.PagPageSizeCB->ItemIndex(), 0);
        dialog.PrintModeCB->SetItemIndex(pmJoin);
        dialog.PrintModeChanged();
        EXPECT_TRUE(dialog.PagPageSizeCB->Enabled());
        EXPECT_EQ(dialog.PagPageSizeCB->Text(), "A4");
        dialog.PrintModeCB->SetItemIndex(pmDefault);
        dialog.PrintModeChanged();
        EXPECT_FALSE(dialog.PagPageSizeCB->Enabled());
        return true;
    });
    EXPECT_EQ(options()->PrintOnSheet(), kCustomPaper) << "the default entry is no paper of the printer";
}

TEST_F(PrintDialog, TheDriversDuplexChoiceMapsOntoTheDuplexList)
{
    EXPECT_EQ(qvxDuplexFromDriver(1), 3);
    EXPECT_EQ(qvxDuplexFromDriver(2), 1);
    EXPECT_EQ(qvxDuplexFromDriver(3), 2);
    EXPECT_EQ(qvxDuplexFromDriver(-1), -1);

    printer(0)->m_driverDuplex = 2;
    show([](TqvxPrintDialog &dialog) {
        EXPECT_TRUE(dialog.PropButton->Enabled());
        dialog.PropButton->SetFocus();
        pressKey(dialog.PropButton, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        EXPECT_EQ(dialog.DuplexCB->ItemIndex(), 1);
        return true;
    });
    EXPECT_EQ(duplex, 1);
}

TEST_F(PrintDialog, CancelMakesTheFirstPrinterCurrentAgain)
{
    EXPECT_FALSE(show([this](TqvxPrintDialog &dialog) {
        dialog.PrintersCB->SetItemIndex(1);
        dialog.PrinterChanged();
        EXPECT_EQ(currentIndex(), 1);
        EXPECT_EQ(dialog.WhereL1->Caption(), "usb://label");
        return false;
    }));
    EXPECT_EQ(currentIndex(), 0);

    EXPECT_TRUE(show([](TqvxPrintDialog &dialog) {
        dialog.PrintersCB->SetItemIndex(1);
        dialog.PrinterChanged();
        return true;
    }));
    EXPECT_EQ(currentIndex(), 1) << "OK keeps the printer chosen";
}

TEST_F(PrintDialog, ChangingPrinterKeepsTheSheetPaperWhenTheNewOneHasIt)
{
    show([](TqvxPrintDialog &dialog) {
        dialog.PrintModeCB->SetItemIndex(pmSplit);
        dialog.PrintModeChanged();
        dialog.PagPageSizeCB->SetItemIndex(2);
        dialog.PrintersCB->SetItemIndex(1);
        dialog.PrinterChanged();
        EXPECT_EQ(dialog.PagPageSizeCB->ItemIndex(), 0) << "the label printer has no A3";

        dialog.PagPageSizeCB->SetItemIndex(1);
        dialog.PrintersCB->SetItemIndex(0);
        dialog.PrinterChanged();
        EXPECT_EQ(dialog.PagPageSizeCB->Text(), "A4");
        return true;
    });
}

TEST_F(PrintDialog, PrintingToAFileAsksForItAndTakesThePrnExtension)
{
    runner.onFile = [](TFileDialogRequest &request) {
        EXPECT_TRUE(request.Save);
        EXPECT_EQ(request.Title, qvxGet(507));
        request.FileName = QStringLiteral("/tmp/report.txt");
        return true;
    };
    EXPECT_TRUE(show([](TqvxPrintDialog &dialog) {
        dialog.FileCB->SetChecked(true);
        return true;
    }));
    EXPECT_EQ(printer(0)->FileName(), "/tmp/report.prn");

    runner.onFile = [](TFileDialogRequest &) { return false; };
    EXPECT_FALSE(show([](TqvxPrintDialog &dialog) {
        dialog.FileCB->SetChecked(true);
        dialog.PrintersCB->SetItemIndex(1);
        dialog.PrinterChanged();
        return true;
    })) << "cancelling the file dialog cancels the print";
    EXPECT_EQ(currentIndex(), 1) << "but the printer chosen stays chosen";
}

TEST_F(PrintDialog, TheCurrentPageIsThePreviewsPageNumber)
{
    prepared.store()->SetCurrentPreviewPage(2);
    options()->SetPageNumbers(QStringLiteral("1"));
    show([](TqvxPrintDialog &dialog) {
        dialog.CurPageRB->SetChecked(true);
        return true;
    });
    EXPECT_EQ(options()->PageNumbers(), "2");
}

TEST_F(PrintDialog, AWrongPageRangeKeepsTheDialogOpenWithAMessage)
{
    show([](TqvxPrintDialog &dialog) {
        dialog.PageNumbersE->SetText(QStringLiteral("1-2x"));
        EXPECT_EQ(dialog.PageNumbersE->Text(), "1-2") << "pasted letters are dropped";
        EXPECT_TRUE(dialog.PageNumbersRB->Checked());
        dialog.PageNumbersE->SetText(QStringLiteral("1--2"));
        dialog.OkB->Click();
        EXPECT_EQ(dialog.ModalResult(), mrNone);
        return false;
    });
    ASSERT_EQ(runner.messages.size(), 1u);
    EXPECT_TRUE(runner.messages[0].Text.contains("1--2"));
}

TEST_F(PrintDialog, WithoutAnInstalledPrinterTheSheetListOffersEveryPaperByName)
{
    TFakePrinters none{noInstalledPrinter()};
    for (const int sheet : {11, 68, kA4Paper}) {
        SCOPED_TRACE(sheet);
        options()->SetPrintMode(pmSplit);
        options()->SetPrintOnSheet(sheet);
        EXPECT_TRUE(show([&](TqvxPrintDialog &dialog) {
            EXPECT_EQ(dialog.PagPageSizeCB->Items()->Count(), 67) << "pgDefault and every paper";
            EXPECT_FALSE(dialog.PropButton->Enabled()) << "the virtual printer has no settings to show";
            EXPECT_EQ(dialog.PagPageSizeCB->Text(), PaperName(sheet));
            pressKey(dialog.PagPageSizeCB, Qt::Key_Return);
            return dialog.ModalResult() == mrOk;
        }));
        EXPECT_EQ(options()->PrintOnSheet(), sheet) << "OK without a change changes nothing";
    }
}

TEST_F(PrintDialog, PageRangesThatNameNoPageOfTheReportAreRefusedOnOK)
{
    for (const char *range : {"0", "9", "3-1", "2-4", "4-"}) {
        SCOPED_TRACE(range);
        runner.messages.clear();
        show([&](TqvxPrintDialog &dialog) {
            typeOver(dialog.PageNumbersE, QString::fromLatin1(range));
            EXPECT_TRUE(dialog.PageNumbersRB->Checked());
            pressKey(dialog.PageNumbersE, Qt::Key_Return);
            EXPECT_EQ(dialog.ModalResult(), mrNone);
            return false;
        });
        EXPECT_EQ(runner.messages.size(), 1u);
    }
    EXPECT_TRUE(show([&](TqvxPrintDialog &dialog) {
        typeOver(dialog.PageNumbersE, QStringLiteral("3,1-2"));
        pressKey(dialog.PageNumbersE, Qt::Key_Return);
        return dialog.ModalResult() == mrOk;
    }));
    EXPECT_EQ(options()->PageNumbers(), "3,1-2");
}

} // namespace
