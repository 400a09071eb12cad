// Reports that would never end: output stops at the page limit or, on a
// page of endless height, at its height limit with an error; pages past
// the memory budget go to the swap file; running out of memory is one
// clear error; and a script looping without end is stopped by the progress
// window's Cancel.

#include "EngineTestReport.h"
#include "common/MemoryLimit.h"
#include "common/WidgetClicks.h"

#include "engine/qvxEngine.h"
#include "engine/qvxProgress.h"
#include "report/xml/qvxXMLItem.h"
#include "report/model/qvxOptions.h"
#include "toolkit/classes/TObject.h"
#include "toolkit/classes/TStrings.h"
#include "toolkit/widgets/TButton.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QPointer>

#include <cstdio>
#include <limits>
#include <new>

#include <gtest/gtest.h>


class EngineRunawayTest : public ::testing::Test, public TEngineTestReport
{
protected:
    static constexpr int limit = 40;

    EngineRunawayTest() { report->EngineOptions()->SetMaxPages(limit); }

    // The run failed with the page-limit error alone, within one page of
    // the limit.
    void expectStoppedAtTheLimit()
    {
        EXPECT_FALSE(prepare());
        ASSERT_EQ(errors().size(), 1) << lines(errors());
        EXPECT_TRUE(errors().at(0).contains(QStringLiteral("more than 40 pages"))) << lines(errors());
        EXPECT_LE(pageCount(), limit + 1);
    }

    // A data band of height 0 over a data set that never ends, numbering
    // its rows in a memo.
    TqvxMasterData *numberedRowsWithoutEnd()
    {
        TMemoryDataSet *rows = dataSet("Rows", 0);
        rows->SetRangeEnd(reLast);
        rows->SetOnCheckEOF([](TObject *, bool &eof) { eof = false; });
        auto *data = band<TqvxMasterData>("Data", 0, 0);
        data->SetDataSet(rows);
        memo(data, "Row", QStringLiteral("[Line#]"));
        return data;
    }
};

TEST_F(EngineRunawayTest, TheLimitIsGenerousByDefault)
{
    EXPECT_EQ(TqvxEngineOptions().MaxPages(), 100000);
}

TEST_F(EngineRunawayTest, AnEndlessDataSetStopsAtThePageLimit)
{
    TMemoryDataSet *rows = dataSet("Rows", 0);
    rows->SetRangeEnd(reLast);
    rows->SetOnCheckEOF([](TObject *, bool &eof) { eof = false; });
    auto *data = band<TqvxMasterData>("Data", 0, 100);
    data->SetDataSet(rows);
    expectStoppedAtTheLimit();
}

TEST_F(EngineRunawayTest, AHugePageCountStopsAtThePageLimit)
{
    page->SetPageCount(2000000000);
    band<TqvxReportTitle>("Title", 0, 20);
    expectStoppedAtTheLimit();
}

TEST_F(EngineRunawayTest, AScriptBreakingPagesWithoutEndStopsAtThePageLimit)
{
    report->ScriptText()->SetText(QStringLiteral("procedure Build(Sender: Variant);\n"
                                                 "begin\n"
                                                 "  while True do Engine.NewPage\n"
                                                 "end;\n"
                                                 "begin end."));
    page->SetOnManualBuild(QStringLiteral("Build"));
    EXPECT_FALSE(prepare());
    ASSERT_FALSE(errors().isEmpty());
    EXPECT_TRUE(errors().join(QLatin1Char('\n')).contains(QStringLiteral("more than 40 pages"))) << lines(errors());
    EXPECT_LE(pageCount(), limit + 1);
}

TEST_F(EngineRunawayTest, AnEndlessHeightPageStopsGrowingAtItsLimit)
{
    page->SetEndlessHeight(true);
    // Bands 1 m high reach the limit after a hundred of the 250 rows.
    auto *data = band<TqvxMasterData>("Data", 0, 1000 * qv01cm);
    data->SetDataSet(dataSet("Rows", 250));
    memo(data, "Row", QStringLiteral("[Line#]"));
    EXPECT_FALSE(prepare());
    ASSERT_EQ(errors().size(), 1) << lines(errors());
    EXPECT_TRUE(errors().at(0).contains(QStringLiteral("100 m"))) << lines(errors());
    EXPECT_EQ(pageCount(), 1);
    const QStringList rowTexts = texts(0);
    ASSERT_FALSE(rowTexts.isEmpty());
    EXPECT_LE(rowTexts.size(), 102);
}

// Without UseFileCache, pages past the memory budget are swapped out to the
// temporary file all the same, and read back whole.
TEST_F(EngineRunawayTest, PagesPastTheMemoryBudgetGoToTheSwapFile)
{
    ASSERT_FALSE(report->EngineOptions()->UseFileCache());
    EXPECT_EQ(TqvxEngineOptions().MaxPreparedMemory(), 256);
    report->EngineOptions()->SetMaxPreparedMemory(0);
    report->PreviewOptions()->SetPagesInCache(1);
    auto *data = band<TqvxMasterData>("Data", 0, 20);
    data->SetDataSet(dataSet("Rows", 300));
    memo(data, "N", QStringLiteral("[Rows.\"N\"]"));
    ASSERT_TRUE(prepare()) << lines(errors());
    ASSERT_EQ(pageCount(), 6);
    TqvxXMLItem *pages = store()->PagesItem();
    EXPECT_FALSE(pages->Items(2)->Loaded());
    const qsizetype perPage = texts(0).size();
    for (int i = 0; i < pageCount(); ++i)
        EXPECT_EQ(texts(i).first(), QString::number(i * perPage + 1)) << i;
    // Pages read back leave memory again when the page cache lets them go.
    EXPECT_FALSE(pages->Items(2)->Loaded());
}

TEST_F(EngineRunawayTest, RunningOutOfMemoryIsOneClearError)
{
    TMemoryDataSet *rows = dataSet("Rows", 0);
    rows->SetRangeEnd(reLast);
    rows->SetOnCheckEOF([](TObject *, bool &) { throw std::bad_alloc(); });
    band<TqvxMasterData>("Data", 0, 20)->SetDataSet(rows);
    EXPECT_FALSE(prepare());
    ASSERT_EQ(errors().size(), 1) << lines(errors());
    EXPECT_TRUE(errors().at(0).contains(QStringLiteral("more memory"))) << lines(errors());
}

namespace {

// The memory a run may take past what the test has when it starts, in
// the child process that runs it: room for the band limit's pages, and
// far less than the memory a run without end takes.
constexpr qint64 runHeadroom = qint64(1536) << 20;

// Prepares the report: true when that failed with one error, and the
// error says expected.  What it got goes to stderr, which a failure shows.
bool failedWithOneError(TEngineTestReport &run, const QString &expected)
{
    const bool prepared = run.prepare();
    const QStringList errors = run.errors();
    std::fprintf(stderr, "prepared: %d, errors: %s\n", int(prepared), qPrintable(errors.join(QLatin1Char('|'))));
    return !prepared && errors.size() == 1 && errors.at(0).contains(expected);
}

} // namespace

// A data band that adds no height (or next to none) over a data set that
// never ends never fills a page: the page takes bands up to its limit and
// the run stops there, on paper and on a page of endless height.
TEST_F(EngineRunawayTest, BandsAddingNoHeightStopAtTheLimitOfBandsOnAPage)
{
    if (!AddressSpaceLimitWorks)
        GTEST_SKIP() << "the address sanitizer's shadow leaves no room for a limit on the address space";
    EXPECT_EQ(TqvxEngineOptions().MaxPageBands(), 100000);
    TqvxMasterData *data = numberedRowsWithoutEnd();
    for (const bool endless : {false, true}) {
        for (const double height : {0.0, 0.000001}) {
            SCOPED_TRACE(
                QStringLiteral("%1 page, bands %2 high").arg(endless ? "endless" : "A4").arg(height).toStdString());
            page->SetEndlessHeight(endless);
            data->SetHeight(height);
            ExpectWithinMemory(runHeadroom, [&] {
                return failedWithOneError(*this, QStringLiteral("more than 100000 bands")) && pageCount() == 1;
            });
        }
    }
}

// Without a limit on the bands of a page the run fills the memory it may
// have: the allocation that fails ends the run with one line in the error
// list, on paper and on a page of endless height.
TEST_F(EngineRunawayTest, RunningOutOfMemoryOnOnePageIsOneClearError)
{
    if (!AddressSpaceLimitWorks)
        GTEST_SKIP() << "the address sanitizer's shadow leaves no room for a limit on the address space";
    report->EngineOptions()->SetMaxPageBands(std::numeric_limits<int>::max());
    numberedRowsWithoutEnd();
    for (const bool endless : {false, true}) {
        SCOPED_TRACE(endless ? "endless page" : "A4 page");
        page->SetEndlessHeight(endless);
        ExpectWithinMemory(qint64(256) << 20,
                           [&] { return failedWithOneError(*this, QStringLiteral("more memory")); });
    }
}

namespace {

// The progress window the report made last.
QPointer<TqvxProgress> shown;

// The report asks for a progress window and gets the engine's, kept in
// shown.
void askForProgressWindows(TqvxReport *report)
{
    shown = nullptr;
    TqvxServices services;
    services.NewProgress = []() -> TqvxCustomProgress * {
        auto *progress = NewObject<TqvxProgress>(nullptr);
        shown = progress;
        return progress;
    };
    qvxInstallServices(services);
    report->SetOldStyleProgress(true);
    report->SetShowProgress(true);
}

} // namespace

TEST_F(EngineRunawayTest, CancelInTheProgressWindowStopsAnEndlessScriptLoop)
{
    askForProgressWindows(report.get());
    report->ScriptText()->SetText(QStringLiteral("procedure Spin(Sender: Variant);\n"
                                                 "begin\n"
                                                 "  while True do ;\n"
                                                 "end;\n"
                                                 "begin end."));
    auto *title = band<TqvxReportTitle>("Title", 0, 20);
    title->SetOnBeforePrint(QStringLiteral("Spin"));
    // The click waits in the event queue until the loop lets events run.
    report->OnBeforePrint = [](TqvxComponent *) {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [] { if (shown) shown->CancelB->Click(); }, Qt::QueuedConnection);
    };

    // The stopped run ends as a finished one with the pages it made.
    EXPECT_TRUE(prepare());
    EXPECT_TRUE(report->Terminated());
    EXPECT_TRUE(errors().isEmpty()) << lines(errors());
}

TEST_F(EngineRunawayTest, AMainBlockLoopingWithoutEndIsOfferedACancelThatEndsIt)
{
    askForProgressWindows(report.get());
    report->ScriptText()->SetText(QStringLiteral("var i: Integer;\nbegin\n  while True do i := i + 1\nend."));
    band<TqvxReportTitle>("Title", 0, 20);

    // Clicks the window's Cancel as the user does once it shows; gives up
    // (and stops the run itself) after ten seconds without one.
    QElapsedTimer waited;
    waited.start();
    bool offered = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (shown && shown->CancelB->Widget()->isVisible()) {
            offered = true;
            poll.stop();
            ClickMiddle(shown->CancelB->Widget());
        } else if (waited.hasExpired(10000)) {
            poll.stop();
            report->SetTerminated(true);
        }
    });
    poll.start(10);

    EXPECT_FALSE(prepare());
    EXPECT_TRUE(offered) << "no Cancel was offered";
    EXPECT_TRUE(report->Terminated());
    EXPECT_TRUE(errors().isEmpty()) << lines(errors());
    EXPECT_EQ(pageCount(), 0) << "the engine does not run after a cancelled main block";
    QApplication::processEvents();
    EXPECT_TRUE(shown.isNull() || !shown->Visible()) << "the window goes with the main block";
}
