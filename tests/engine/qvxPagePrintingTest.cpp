// Printing prepared pages on a printer that records its job.

#include "PreparedReport.h"

#include "engine/qvxPrintDialogEntry.h"
#include "engine/qvxPrintLayout.h"
#include "engine/qvxPrinter.h"
#include "report/model/qvxOptions.h"
#include "report/model/qvxResources.h"
#include "toolkit/ScriptedModalRunner.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/graphics/RecordingCanvas.h"
#include "toolkit/widgets/ModalRunner.h"

#include <gtest/gtest.h>

namespace {

// A printer whose sheets are recordings: every job call is kept as a line,
// every sheet as the texts drawn on it.
class TRecordingPrinter : public TqvxVirtualPrinter
{
public:
    explicit TRecordingPrinter(QPoint dpi = {96, 96})
        : TqvxVirtualPrinter(QStringLiteral("Recorder"), std::make_unique<TRecordingCanvas>()), m_dpi(dpi)
    {
        Canvas()->SetIsPrinter(true);
    }

    void Init() override
    {
        TqvxVirtualPrinter::Init();
        SetDPI(m_dpi);
        SetViewParams(kA4Paper, 0, 0, poPortrait);
    }
    void BeginDoc() override { calls << "BeginDoc"; }
    void BeginPage() override { calls << "BeginPage"; }
    void EndPage() override
    {
        records << static_cast<TRecordingCanvas *>(Canvas())->TakeRecords();
        QStringList texts;
        for (const TCanvasRecord &record : records.last())
            if (record.Op == TCanvasOp::Text)
                texts << record.Text;
        sheets << texts.join('+');
        calls << "EndPage";
    }
    void EndDoc() override { calls << "EndDoc"; }
    void Abort() override { calls << "Abort"; }
    void SetPrintParams(int paperSize, double paperWidth, double paperHeight, TPrinterOrientation orientation,
                        int bin, TqvxDuplexMode duplex, int copies) override
    {
        TqvxVirtualPrinter::SetPrintParams(paperSize, paperWidth, paperHeight, orientation, bin, duplex, copies);
        calls << QStringLiteral("Params %1 %2 bin %3 duplex %4 copies %5")
                     .arg(paperSize)
                     .arg(orientation == poLandscape ? "L" : "P")
                     .arg(bin)
                     .arg(int(duplex))
                     .arg(copies);
    }

    QStringList calls;
    QStringList sheets;
    QList<TCanvasRecords> records;

private:
    QPoint m_dpi;
};

class Printing : public ::testing::Test
{
protected:
    explicit Printing(int pages = 3, QPoint dpi = {96, 96}) : prepared(pages)
    {
        auto recorder = std::make_unique<TRecordingPrinter>(dpi);
        printer = recorder.get();
        std::vector<std::unique_ptr<TqvxCustomPrinter>> list;
        list.push_back(std::move(recorder));
        printers = std::make_unique<TqvxPrinters>(std::move(list));
        qvxSetPrinters(printers.get());
        options()->SetShowDialog(false);
        prepared.report->OnPrintPage = [this](TqvxReportPage *, int copyNo) { copyNumbers << copyNo; };
    }
    ~Printing() override { qvxSetPrinters(saved); }

    TqvxPrintOptions *options() const { return prepared.report->PrintOptions(); }
    bool print() { return prepared.store()->Print(); }

    TqvxPrinterList *saved = qvxPrinters();
    TPreparedReport prepared;
    std::unique_ptr<TqvxPrinters> printers;
    TRecordingPrinter *printer;
    QList<int> copyNumbers;
};

TEST_F(Printing, EveryPageInOrderInOneJob)
{
    EXPECT_TRUE(print());
    EXPECT_EQ(printer->sheets, QStringList({"Page 1", "Page 2", "Page 3"}));
    EXPECT_EQ(printer->calls.first(), "Params 256 P bin 7 duplex 0 copies 1");
    EXPECT_EQ(printer->calls.count("BeginDoc"), 1);
    EXPECT_EQ(printer->calls.last(), "EndDoc");
    EXPECT_EQ(printer->calls.filter("Params").size(), 1) << "the paper did not change";
    EXPECT_EQ(copyNumbers, QList<int>({1, 1, 1}));
    EXPECT_EQ(prepared.store()->CopyNo(), 0);
}

TEST_F(Printing, CopiesGoToTheDriverUnlessCollated)
{
    options()->SetCopies(2);
    options()->SetCollate(false);
    print();
    EXPECT_EQ(printer->sheets.size(), 3);
    EXPECT_EQ(printer->calls.first(), "Params 256 P bin 7 duplex 0 copies 2");
    EXPECT_EQ(options()->Copies(), 2) << "the options are restored";
}

TEST_F(Printing, AFileGetsEveryUncollatedCopyDrawn)
{
    options()->SetCopies(2);
    options()->SetCollate(false);
    options()->SetPrintFileName(QStringLiteral("order.prn"));
    print();
    EXPECT_EQ(printer->sheets, QStringList({"Page 1", "Page 1", "Page 2", "Page 2", "Page 3", "Page 3"}));
    EXPECT_EQ(printer->calls.first(), "Params 256 P bin 7 duplex 0 copies 1");
    EXPECT_EQ(copyNumbers, QList<int>({1, 1, 1}));
}

TEST_F(Printing, CollatedCopiesRepeatTheRunWithTheirCopyNumber)
{
    options()->SetCopies(2);
    print();
    EXPECT_EQ(printer->sheets, QStringList({"Page 1", "Page 2", "Page 3", "Page 1", "Page 2", "Page 3"}));
    EXPECT_EQ(copyNumbers, QList<int>({1, 1, 1, 2, 2, 2}));

    printer->sheets.clear();
    options()->SetCopies(0);
    print();
    EXPECT_EQ(printer->sheets.size(), 3) << "no copies print one";
    EXPECT_EQ(options()->Copies(), 0);
}

TEST_F(Printing, DuplexCopiesStartOnTheFrontOfASheet)
{
    prepared.store()->SetCurPage(-1);
    for (int i = 0; i < prepared.store()->Count(); ++i) {
        TqvxReportPage *page = prepared.store()->GetPage(i);
        page->SetDuplex(dmVertical);
        prepared.store()->ModifyPage(i, page);
    }
    options()->SetCopies(2);
    print();
    EXPECT_EQ(printer->sheets, QStringList({"Page 1", "Page 2", "Page 3", "", "Page 1", "Page 2", "Page 3", ""}));
    EXPECT_EQ(printer->calls.first(), "Params 256 P bin 7 duplex 1 copies 1");
}

TEST_F(Printing, PageRangesOddAndEvenPagesAndReverseOrder)
{
    for (int i = 3; i < 6; ++i)
        prepared.addPage(i);
    options()->SetPageNumbers("2-3, 9");
    print();
    EXPECT_EQ(printer->sheets, QStringList({"Page 2", "Page 3"}));

    printer->sheets.clear();
    options()->SetPageNumbers("");
    options()->SetPrintPages(ppEven);
    options()->SetReverse(true);
    print();
    EXPECT_EQ(printer->sheets, QStringList({"Page 6", "Page 4", "Page 2"}));
}

TEST_F(Printing, ARangeNamingNoPageOfTheReportIsSaidAndPrintsNothing)
{
    ScriptedModalRunner runner;
    for (const char *none : {"0", "9", "4-7"}) {
        runner.messages.clear();
        printer->calls.clear();
        options()->SetPageNumbers(none);
        EXPECT_FALSE(print()) << none;
        EXPECT_TRUE(printer->sheets.isEmpty()) << none;
        EXPECT_FALSE(printer->calls.contains("BeginDoc")) << none;
        ASSERT_EQ(runner.messages.size(), 1u) << none;
        EXPECT_TRUE(runner.messages[0].Text.contains(QStringLiteral("no page"))) << none;
    }
    // The options are the caller's again afterwards.
    EXPECT_EQ(options()->PageNumbers(), QStringLiteral("4-7"));
}

TEST_F(Printing, ATerminatedJobIsAbortedAtTheNextPage)
{
    prepared.report->OnPrintPage = [this](TqvxReportPage *, int) {
        if (printer->sheets.size() == 1)
            prepared.report->SetTerminated(true);
    };
    print();
    EXPECT_EQ(printer->sheets.size(), 2);
    EXPECT_TRUE(printer->calls.contains("Abort"));
}

TEST_F(Printing, WithoutPrintersNothingPrints)
{
    TqvxPrinters none{std::vector<std::unique_ptr<TqvxCustomPrinter>>()};
    qvxSetPrinters(&none);
    ScriptedModalRunner runner;
    EXPECT_FALSE(print());
    ASSERT_EQ(runner.messages.size(), 1u);
    EXPECT_EQ(runner.messages[0].Text, qvxResources()->Get("clNoPrinters"));
}

// The print dialog in place of the report library's: it answers as the
// test says and sees what printing hands it.
class TestPrintDialog
{
public:
    explicit TestPrintDialog(std::function<bool(TqvxReport &, quint8 &)> answer)
    {
        qvxInstallPrintDialog(std::move(answer));
    }
    ~TestPrintDialog() { qvxRemovePrintDialog(); }
};

TEST_F(Printing, ThePrintDialogsChoicesReachTheJob)
{
    options()->SetShowDialog(true);
    {
        TestPrintDialog cancelled([](TqvxReport &, quint8 &) { return false; });
        EXPECT_FALSE(print());
        EXPECT_TRUE(printer->sheets.isEmpty());
    }

    TestPrintDialog dialog([](TqvxReport &report, quint8 &duplex) {
        EXPECT_EQ(duplex, 0);
        report.PrintOptions()->SetCopies(2);
        report.PrintOptions()->SetPageNumbers(QStringLiteral("2-3"));
        duplex = quint8(dmHorizontal);
        return true;
    });
    EXPECT_TRUE(print());
    EXPECT_EQ(printer->sheets, QStringList({"Page 2", "Page 3", "Page 2", "Page 3"}));
    EXPECT_EQ(printer->calls.first(), "Params 256 P bin 7 duplex 2 copies 1");
    EXPECT_EQ(options()->Copies(), 1) << "the options are restored";
    EXPECT_EQ(options()->PageNumbers(), "");
    EXPECT_EQ(options()->DuplexOverride(), quint8(dmHorizontal)) << "the duplex choice is kept";
}

TEST_F(Printing, WithoutAPrintDialogPrintingRaises)
{
    options()->SetShowDialog(true);
    EXPECT_THROW(print(), Exception);
    EXPECT_TRUE(printer->sheets.isEmpty());
}

TEST_F(Printing, JoinedPagesShareASheet)
{
    prepared.addPage(3);
    options()->SetPrintMode(pmJoin);
    options()->SetPrintOnSheet(kA4Paper);
    print();
    // 100 x 150 mm pages, two by two on an A4 sheet.
    EXPECT_EQ(printer->sheets, QStringList({"Page 1+Page 2+Page 3+Page 4"}));
    EXPECT_EQ(printer->calls.first(), "Params 9 P bin 7 duplex 0 copies 1");

    printer->sheets.clear();
    options()->SetCopies(2);
    options()->SetCollate(false);
    print();
    EXPECT_EQ(printer->sheets, QStringList({"Page 1+Page 1+Page 2+Page 2", "Page 3+Page 3+Page 4+Page 4"}));
}

// The memo lies at 20 px on a page with a 10 mm margin; the printer's
// origin is its 5 mm unprintable edge.
class PrintingAt192 : public Printing
{
protected:
    PrintingAt192() : Printing(1, {192, 192}) {}
};

TEST_F(PrintingAt192, PixelsScaleByTheResolutionFromThePrintableCorner)
{
    print();
    ASSERT_EQ(printer->records.size(), 1);
    for (const TCanvasRecord &record : printer->records[0]) {
        if (record.Op == TCanvasOp::FillRect && record.Brush.Color == pageColor(0)) {
            // 2 x 20 px + 5 mm at 192 dpi (37.8 px)
            EXPECT_EQ(record.Bounds.Left, 78);
            EXPECT_EQ(record.Bounds.Right, 178);
            EXPECT_EQ(record.Bounds.Top, 98);
            return;
        }
    }
    ADD_FAILURE() << "the memo was not drawn";
}

TEST_F(PrintingAt192, ScaleModeFitsAPageToTheSheet)
{
    TqvxReportPage *page = prepared.store()->GetPage(0);
    page->SetPaperSize(8); // A3
    prepared.store()->ModifyPage(0, page);
    options()->SetPrintMode(pmScale);
    options()->SetPrintOnSheet(kA4Paper);
    print();
    EXPECT_NEAR(prepared.store()->PrintScale(), 210.0 / 297, 1e-3);
    EXPECT_EQ(printer->calls.first(), "Params 9 P bin 7 duplex 0 copies 1");
}

TEST_F(PrintingAt192, SplitModeSpreadsALargePageOverSheets)
{
    TqvxReportPage *page = prepared.store()->GetPage(0);
    page->SetPaperSize(8); // A3 over A4 sheets: one column of three turned sheets
    prepared.store()->ModifyPage(0, page);
    options()->SetPrintMode(pmSplit);
    options()->SetPrintOnSheet(kA4Paper);
    print();
    EXPECT_EQ(printer->sheets.size(), 3);
    EXPECT_EQ(printer->calls.first(), "Params 9 L bin 7 duplex 0 copies 1");
}

TEST(PrintLayout, PiecesCoverALengthWithElevenUnitsToSpare)
{
    EXPECT_EQ(qvxPieceCount(431, 210), 3);
    EXPECT_EQ(qvxPieceCount(430, 210), 2);
    EXPECT_EQ(qvxPieceCount(5, 210), 1);
    const TqvxPieceGrid grid = qvxPieceGrid(297, 420, 210, 297);
    EXPECT_TRUE(grid.Turned);
    EXPECT_EQ(grid.Cols * grid.Rows, 2);
}

} // namespace
