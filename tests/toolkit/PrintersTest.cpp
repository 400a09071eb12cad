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
