// The printer list and the virtual printer, without the machine's printers.

#include "PreparedReport.h"

#include "engine/qvxPrinter.h"
#include "engine/qvxPrinterProperties.h"
#include "preview/DialogKeys.h"
#include "toolkit/ScriptedModalRunner.h"
#include "toolkit/widgets/TComboBox.h"
#include "report/model/qvxOptions.h"
#include "report/model/qvxResources.h"

#include <gtest/gtest.h>

namespace {

TEST(Printers, TheVirtualPrinterIsA4At600Dpi)
{
    TqvxVirtualPrinter printer(QStringLiteral("Virtual"));
    EXPECT_FALSE(printer.Initialized());
    printer.Init();
    EXPECT_TRUE(printer.Initialized());
    EXPECT_EQ(printer.DPI(), QPoint(600, 600));
    EXPECT_EQ(printer.DefPaper(), kA4Paper);
    EXPECT_EQ(printer.DefPaperWidth(), 210);
    EXPECT_EQ(printer.DefPaperHeight(), 297);
    EXPECT_EQ(printer.Papers().first().Id, kCustomPaper);
    EXPECT_EQ(printer.Papers().first().Name, qvxResources()->Get("prCustom"));
    EXPECT_EQ(printer.Bins().first().Id, kDefaultBin);
    EXPECT_GT(printer.PaperIndex(kA4Paper), 0);
    EXPECT_EQ(printer.PaperIndex(48), -1);
    EXPECT_EQ(printer.PaperNameToNumber("no such paper"), kCustomPaper);

    printer.SetViewParams(11, 0, 0, poLandscape);
    EXPECT_EQ(printer.Paper(), 11);
    EXPECT_NEAR(printer.PaperWidth(), 210, 0.5);
    EXPECT_NEAR(printer.PaperHeight(), 148, 0.5);
    EXPECT_EQ(printer.LeftMargin(), 5);
    EXPECT_EQ(printer.BottomMargin(), 5);

    printer.SetPrintParams(kCustomPaper, 90, 120, poPortrait, 3, dmNone, 1);
    EXPECT_EQ(printer.Paper(), kCustomPaper);
    EXPECT_EQ(printer.PaperWidth(), 90);
    EXPECT_EQ(printer.Bin(), 3);
}

TEST(Printers, TheReportSelectsAPrinterByName)
{
    TPreparedReport prepared(0);
    std::vector<std::unique_ptr<TqvxCustomPrinter>> list;
    list.push_back(std::make_unique<TqvxVirtualPrinter>("First"));
    list.push_back(std::make_unique<TqvxVirtualPrinter>("Second"));
    TqvxPrinters printers(std::move(list));
    TqvxPrinterList *saved = qvxPrinters();
    qvxSetPrinters(&printers);

    EXPECT_TRUE(printers.HasPhysicalPrinters());
    EXPECT_EQ(printers.PrinterIndex(), 0);
    EXPECT_TRUE(printers.GetItem(0)->Initialized());
    EXPECT_FALSE(printers.GetItem(1)->Initialized());
    EXPECT_EQ(printers.IndexOf("SECOND"), 1);

    prepared.report->PrintOptions()->SetPrinter("second");
    prepared.report->SelectPrinter();
    EXPECT_EQ(printers.GetCurrentPrinter()->Name(), "Second");
    EXPECT_TRUE(printers.GetItem(1)->Initialized());
    prepared.report->PrintOptions()->SetPrinter("none of them");
    prepared.report->SelectPrinter();
    EXPECT_EQ(printers.GetCurrentPrinter()->Name(), "Second");

    // New pages take the current printer's defaults.
    TqvxReportPage page;
    page.SetDefaults();
    EXPECT_EQ(page.PaperSize(), kA4Paper);
    EXPECT_EQ(page.PaperWidth(), 210);
    qvxSetPrinters(saved);
}

TEST(Printers, TheProgramsListIsTheReportModels)
{
    EXPECT_EQ(qvxPrinters(), qvxSystemPrinters());
    // With or without installed printers there is a current one.
    EXPECT_NE(qvxSystemPrinters()->GetCurrentPrinter(), nullptr);
    EXPECT_EQ(qvxSystemPrinters()->Count(), qvxSystemPrinters()->PrinterNames().size());
}

TEST(PrinterProperties, TheUserChoosesSourceTwoSidedPrintingAndResolutionByKeys)
{
    TqvxPrinterChoices choices;
    choices.Bins = {
        {QStringLiteral("Default"), kDefaultBin}, {QStringLiteral("Tray 1"), 1}, {QStringLiteral("Manual"), 4}};
    choices.DuplexModes = {1, 2, 3};
    choices.Resolutions = {300, 600};
    choices.Resolution = 600;
    EXPECT_TRUE(choices.Any());

    ScriptedModalRunner runner;
    QList<TComboBox *> lists;
    runner.onForm = [&](TCustomForm &form) {
        lists.clear();
        for (int i = 0; i < form.ComponentCount(); ++i)
            if (auto *list = qobject_cast<TComboBox *>(form.Components(i)))
                lists << list;
        ASSERT_EQ(lists.size(), 3);
        EXPECT_EQ(lists[2]->Text(), qvxResources()->Get("dlgDotsPerInch").arg(600));
        lists[0]->SetFocus();
        pressKey(lists[0], Qt::Key_End);
        pressKey(lists[0], Qt::Key_Tab);
        pressOnFocus(form, Qt::Key_Down);
        pressOnFocus(form, Qt::Key_Tab);
        pressOnFocus(form, Qt::Key_Up);
        pressOnFocus(form, Qt::Key_Return);
    };
    ASSERT_TRUE(qvxPrinterPropertiesDialog(QStringLiteral("Office"), choices));
    EXPECT_EQ(choices.Bin, 4);
    EXPECT_EQ(choices.Duplex, 2);
    EXPECT_EQ(choices.Resolution, 300);

    runner.onForm = [&](TCustomForm &form) {
        pressKey(qobject_cast<TComboBox *>(form.Components(1)), Qt::Key_Home);
        pressOnFocus(form, Qt::Key_Escape);
    };
    EXPECT_FALSE(qvxPrinterPropertiesDialog(QStringLiteral("Office"), choices));
    EXPECT_EQ(choices.Bin, 4) << "Esc changes nothing";

    TqvxPrinterChoices unlisted = choices;
    unlisted.Resolution = 1200;
    unlisted.Duplex = 1;
    unlisted.DuplexModes = {};
    runner.onForm = [&](TCustomForm &form) {
        pressKey(qobject_cast<TComboBox *>(form.Components(1)), Qt::Key_Return);
    };
    ASSERT_TRUE(qvxPrinterPropertiesDialog(QStringLiteral("Office"), unlisted));
    EXPECT_EQ(unlisted.Resolution, 1200) << "OK without a change keeps a resolution the print system does not list";
    EXPECT_EQ(unlisted.Duplex, 1);

    TqvxPrinterChoices single;
    single.Bins = {{QStringLiteral("Default"), kDefaultBin}};
    single.Resolution = 600;
    EXPECT_FALSE(single.Any()) << "nothing to choose";
    runner.onForm = [&](TCustomForm &form) {
        for (int i = 0; i < form.ComponentCount(); ++i)
            if (auto *list = qobject_cast<TComboBox *>(form.Components(i)))
                EXPECT_FALSE(list->Enabled());
        pressOnFocus(form, Qt::Key_Return);
    };
    qvxPrinterPropertiesDialog(QStringLiteral("Label"), single);
}

TEST(PrinterProperties, TheVirtualPrinterHasNone)
{
    TqvxVirtualPrinter printer(QStringLiteral("Virtual"));
    printer.Init();
    EXPECT_FALSE(printer.HasPropertiesDlg());
}

} // namespace
