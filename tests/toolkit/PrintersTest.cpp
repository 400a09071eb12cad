// Printers without depending on what the machine has installed: the virtual
// printer is created explicitly; the installed list is only queried.

#include "toolkit/graphics/Canvas.h"
#include "toolkit/printing/Printers.h"

#include <gtest/gtest.h>

namespace {

TEST(Printers, VirtualPrinterGivesA4PortraitDefaults)
{
    const auto printer = TPrinter::CreateVirtual();
    EXPECT_TRUE(printer->IsVirtual());
    EXPECT_EQ(printer->DPI(), QPoint(600, 600));
    EXPECT_EQ(printer->DefaultPaper(), kA4Paper);
    EXPECT_EQ(printer->DefaultOrientation(), poPortrait);
    EXPECT_EQ(printer->DefaultBin(), kDefaultBin);
    ASSERT_FALSE(printer->Papers().isEmpty());
    EXPECT_EQ(printer->Papers().first().Id, kA4Paper);
    EXPECT_NEAR(printer->Papers().first().Width, 210, 0.01);
    EXPECT_NEAR(printer->Papers().first().Height, 297, 0.01);
    const TPrinterPageGeometry page = printer->PageGeometry();
    EXPECT_NEAR(page.PaperWidth, 210, 0.01);
    EXPECT_NEAR(page.PaperHeight, 297, 0.01);
}

TEST(Printers, PagesFollowPaperNumbersAndOrientation)
{
    const auto printer = TPrinter::CreateVirtual();
    printer->SetPage(11, 0, 0, poLandscape); // A5
    EXPECT_EQ(printer->Paper(), 11);
    TPrinterPageGeometry page = printer->PageGeometry();
    EXPECT_NEAR(page.PaperWidth, 210, 0.01);
    EXPECT_NEAR(page.PaperHeight, 148, 0.01);
    EXPECT_NEAR(page.LeftMargin, 5, 0.01);

    printer->SetPage(kCustomPaper, 100, 150, poPortrait);
    EXPECT_EQ(printer->Paper(), kCustomPaper);
    page = printer->PageGeometry();
    EXPECT_NEAR(page.PaperWidth, 100, 0.01);
    EXPECT_NEAR(page.PaperHeight, 150, 0.01);

    // A custom paper of no size falls back to A4 instead of a zero page.
    printer->SetPage(kCustomPaper, 0, 0, poPortrait);
    page = printer->PageGeometry();
    EXPECT_NEAR(page.PaperWidth, 210, 0.01);
}

TEST(PaperTable, GivesTheClassicPortraitSizes)
{
    const struct {
        int id;
        double width, height;
    } sizes[] = {{1, 215.9, 279.4}, {9, 210, 297},     {12, 250, 354},     {14, 215.9, 330.2},
                 {15, 215, 275},    {24, 431.8, 558.8}, {25, 558.8, 863.6}, {26, 863.6, 1117.6},
                 {41, 215.9, 330.2}, {50, 235.5, 304.8}, {51, 235.5, 381},  {52, 296.9, 457.2},
                 {54, 210.1, 279.4}, {56, 235.5, 304.8}, {68, 322, 445}};
    for (const auto &paper : sizes) {
        SCOPED_TRACE(paper.id);
        double width = 0;
        double height = 0;
        ASSERT_TRUE(GetPaperDimensions(paper.id, width, height));
        EXPECT_DOUBLE_EQ(width, paper.width);
        EXPECT_DOUBLE_EQ(height, paper.height);
    }
    for (const int unknown : {0, 48, 49, 69, kCustomPaper}) {
        double width = -1;
        EXPECT_FALSE(GetPaperDimensions(unknown, width, width)) << unknown;
        EXPECT_EQ(width, -1);
    }
    EXPECT_EQ(PaperIdOfSize(QSizeF(297, 210)), kA4Paper);
    EXPECT_EQ(PaperIdOfSize(QSizeF(215.9, 279.4)), 1);
    EXPECT_EQ(PaperIdOfSize(QSizeF(100, 100)), 0);
}

TEST(Printers, TablePapersKeepTheTableSizeOnAPrinter)
{
    const auto printer = TPrinter::CreateVirtual();
    printer->SetPage(26, 0, 0, poPortrait);
    EXPECT_EQ(printer->Paper(), 26);
    const TPrinterPageGeometry page = printer->PageGeometry();
    EXPECT_NEAR(page.PaperWidth, 863.6, 0.01);
    EXPECT_NEAR(page.PaperHeight, 1117.6, 0.01);

    printer->SetPage(300, 120, 80, poPortrait);
    EXPECT_EQ(printer->Paper(), kCustomPaper);
    EXPECT_NEAR(printer->PageGeometry().PaperWidth, 120, 0.01);
}

TEST(Printers, VirtualPrinterJobsDoNothing)
{
    const auto printer = TPrinter::CreateVirtual();
    TCanvas canvas;
    printer->BeginDoc(canvas);
    EXPECT_FALSE(printer->Printing());
    EXPECT_EQ(canvas.Device(), nullptr);
    printer->NewPage();
    printer->EndDoc();
    printer->BeginRawDoc();
    printer->WriteRawDoc("bytes");
    printer->EndRawDoc();
}

TEST(Printers, AnUnknownNameOpensTheVirtualPrinter)
{
    EXPECT_TRUE(TPrinter::Open(QStringLiteral("no such printer \x01"))->IsVirtual());
    const QStringList names = TPrinter::PrinterNames();
    const QString defaultName = TPrinter::DefaultPrinterName();
    EXPECT_TRUE(defaultName.isEmpty() || names.contains(defaultName));
}

} // namespace
