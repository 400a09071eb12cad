// Reports that would never end: output stops at the page limit with an
// error, and a script looping without end is stopped by the progress
// window's Cancel.

#include "EngineTestReport.h"

#include "engine/qvxProgress.h"
#include "report/model/qvxOptions.h"
#include "toolkit/classes/TObject.h"
#include "toolkit/classes/TStrings.h"
#include "toolkit/widgets/TButton.h"

#include <QCoreApplication>
#include <QPointer>

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

TEST_F(EngineRunawayTest, CancelInTheProgressWindowStopsAnEndlessScriptLoop)
{
    static QPointer<TqvxProgress> shown;
    TqvxServices services;
    services.NewProgress = []() -> TqvxCustomProgress * {
        auto *progress = NewObject<TqvxProgress>(nullptr);
        shown = progress;
        return progress;
    };
    qvxInstallServices(services);
    report->SetOldStyleProgress(true);
    report->SetShowProgress(true);
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
