// The printer list and the virtual printer, without the machine's printers.

#include "PreparedReport.h"

#include "engine/qvxPrinter.h"
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

} // namespace
