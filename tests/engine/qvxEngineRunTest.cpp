// Runs of whole reports: passes, page runs over data sets, dialogs, the
// data-set checks and the events around a run.

#include "EngineTestReport.h"

#include "engine/qvxEngine.h"
#include "report/pages/qvxDialogPage.h"
#include "report/pages/qvxSubreport.h"
#include "script/zqScript.h"
#include "script/zqVariables.h"
#include "report/base/qvxNumbers.h"
#include "report/base/qvxObjectTypes.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/widgets/TButton.h"
#include "toolkit/widgets/TForm.h"

#include <gtest/gtest.h>

class EngineRunTest : public ::testing::Test, public TEngineTestReport
{
protected:
    TqvxEngine *engine() const { return static_cast<TqvxEngine *>(report->Engine()); }

    // A master band over `rows` records printing "[DS."N"]".
    TqvxMasterData *master(int rows, const char *name = "MasterData1", double top = 100)
    {
        auto *data = band<TqvxMasterData>(name, top);
        data->SetDataSet(dataSet("DS", rows));
        memo(data, "Memo1", QStringLiteral("[DS.\"N\"]"));
        return data;
    }
};

TEST_F(EngineRunTest, DataRowsFollowTheTitleOnOnePage)
{
    band<TqvxReportTitle>("ReportTitle1", 0, 30);
    master(3);
    ASSERT_TRUE(prepare()) << errors().join('\n').toStdString();
    ASSERT_EQ(pageCount(), 1);
    EXPECT_EQ(bands(0), lines({"ReportTitle1 0", "MasterData1 30: 1", "MasterData1 50: 2",
                                     "MasterData1 70: 3"}));
}

TEST_F(EngineRunTest, TheMasterDataSetRunsEveryPageOncePerRecord)
{
    band<TqvxReportTitle>("ReportTitle1", 0, 30);
    report->SetDataSet(dataSet("Master", 3));
    ASSERT_TRUE(prepare()) << errors().join('\n').toStdString();
    EXPECT_EQ(pageCount(), 3);

    dataSets.front()->SetRows({});
    ASSERT_TRUE(prepare());
    EXPECT_EQ(pageCount(), 0);
}

TEST_F(EngineRunTest, APageRunsOncePerRecordOfItsDataSetOrPageCountTimes)
{
    band<TqvxReportTitle>("ReportTitle1", 0, 30);
    page->SetPageCount(2);
    ASSERT_TRUE(prepare());
    EXPECT_EQ(pageCount(), 2);

    TMemoryDataSet *pages = dataSet("Pages", 4);
    page->SetDataSet(pages);
    ASSERT_TRUE(prepare());
    EXPECT_EQ(pageCount(), 4);

    pages->SetRows({});
    ASSERT_TRUE(prepare());
    EXPECT_EQ(pageCount(), 0);
}

TEST_F(EngineRunTest, APageWithoutRecordsPrintsOnlyWhenBothOptionsAllowIt)
{
    band<TqvxReportTitle>("ReportTitle1", 0, 30);
    master(0);
    ASSERT_TRUE(prepare());
    EXPECT_EQ(pageCount(), 1);
    EXPECT_EQ(bands(0), lines({"ReportTitle1 0"}));

    page->SetPrintIfEmpty(false);
    ASSERT_TRUE(prepare()) << errors().join(QLatin1Char(10)).toStdString();
    EXPECT_EQ(pageCount(), 0);

    page->SetPrintIfEmpty(true);
    report->EngineOptions()->SetPrintIfEmpty(false);
    ASSERT_TRUE(prepare());
    EXPECT_EQ(pageCount(), 0);
}

TEST_F(EngineRunTest, SharedDataSetsGiveOneErrorLine)
{
    TqvxMasterData *data = master(2);
    TMemoryDataSet *shared = dataSet("Shared", 1);
    report->SetDataSet(shared);
    page->SetDataSet(shared);
    auto *second = new TqvxReportPage(report.get());
    second->SetName(QStringLiteral("Page2"));
    second->SetDataSet(shared);
    EXPECT_FALSE(prepare());
    EXPECT_EQ(errors(), QStringList({"Cannot use the same dataset for Report.DataSet and Page.DataSet"}));

    report->SetDataSet(nullptr);
    delete second;
    page->SetDataSet(data->DataSet());
    EXPECT_FALSE(prepare());
    EXPECT_EQ(errors(), QStringList({"Cannot use the same dataset for Page.DataSet and Band.DataSet"}));
    EXPECT_EQ(pageCount(), 0);
}

TEST_F(EngineRunTest, AnUnterminatedExpressionGivesOneErrorLine)
{
    // The expression's bracket is never closed: it runs over the memo's
    // lines to the end of its text.
    auto *title = band<TqvxReportTitle>("Title", 0, 40);
    memo(title, "Memo1", QStringLiteral("Total: [(1 +\r\n  2"));
    // Also as reports run by default, with the template reloaded after the
    // run and the errors kept across.
    for (const bool reloaded : {false, true}) {
        report->EngineOptions()->SetDestroyForms(reloaded);
        EXPECT_FALSE(prepare());
        ASSERT_EQ(errors().size(), 1) << lines(errors());
        const QString error = errors().at(0);
        EXPECT_TRUE(error.startsWith(QStringLiteral("Ошибка в выражении '(1 +   2"))) << error.toStdString();
        EXPECT_TRUE(error.endsWith(QStringLiteral(": Memo1"))) << error.toStdString();
    }
}

TEST_F(EngineRunTest, TotalPagesIsKnownInTheSecondPassOnly)
{
    auto *data = master(3);
    data->SetStartNewPage(true);
    QList<int> seen;
    report->OnBeforePrint = [&](TqvxComponent *object) {
        if (object == data)
            seen.append(engine()->TotalPages());
    };
    ASSERT_TRUE(prepare());
    ASSERT_EQ(pageCount(), 3);
    EXPECT_EQ(seen, QList<int>({0, 0, 0}));

    seen.clear();
    report->EngineOptions()->SetDoublePass(true);
    ASSERT_TRUE(prepare());
    ASSERT_EQ(pageCount(), 3);
    EXPECT_EQ(seen, QList<int>({0, 0, 0, 3, 3, 3}));
    EXPECT_EQ(bands(2), lines({"MasterData1 0: 3"}));
}

TEST_F(EngineRunTest, AStoppedRunAnswersTrueKeepsItsPagesAndPrintsNoMoreFooters)
{
    band<TqvxPageFooter>("PageFooter1", 900);
    master(5);
    int printed = 0;
    report->OnAfterPrint = [&](TqvxComponent *object) {
        if (object->Name() == QLatin1String("MasterData1") && ++printed == 2)
            report->SetTerminated(true);
    };
    EXPECT_TRUE(engine()->Run(true, false, nullptr));
    ASSERT_EQ(pageCount(), 1);
    EXPECT_EQ(bands(0), lines({"MasterData1 0: 1", "MasterData1 20: 2"}));
    EXPECT_FALSE(engine()->Running());
}

TEST_F(EngineRunTest, ManualBuildShowsBandsAndBreaksPages)
{
    auto *title = band<TqvxReportTitle>("ReportTitle1", 0, 30);
    auto *child = band<TqvxChild>("Child1", 200, 40);
    report->OnManualBuild = [&](TqvxPage *) {
        engine()->ShowBand(child);
        engine()->NewPage();
        engine()->ShowBand(ClassOf<TqvxChild>());
        EXPECT_DOUBLE_EQ(engine()->FreeSpace(), 277 * qv01cm - 40);
    };
    ASSERT_TRUE(prepare());
    ASSERT_EQ(pageCount(), 2);
    EXPECT_EQ(bands(0), lines({"ReportTitle1 0", "Child1 30"}));
    EXPECT_EQ(bands(1), lines({"Child1 0"}));
    (void)title;
}

TEST_F(EngineRunTest, PrintOnPreviousPageContinuesBelowTheLastBand)
{
    master(2);
    auto *second = new TqvxReportPage(report.get());
    second->SetName(QStringLiteral("Page2"));
    second->SetPaperSize(9);
    second->SetPrintOnPreviousPage(true);
    auto *title = new TqvxReportTitle(second);
    title->SetName(QStringLiteral("ReportTitle2"));
    title->SetBounds(0, 0, 718, 25);
    ASSERT_TRUE(prepare());
    ASSERT_EQ(pageCount(), 1);
    EXPECT_EQ(bands(0), lines({"MasterData1 0: 1", "MasterData1 20: 2", "ReportTitle2 40"}));

    // On the first page there is nothing to continue: a page starts.
    report->GetPages(0)->SetVisible(false);
    ASSERT_TRUE(prepare());
    ASSERT_EQ(pageCount(), 1);
    EXPECT_EQ(bands(0), lines({"ReportTitle2 0"}));
}

TEST_F(EngineRunTest, ASubreportRunningItsOwnPageIsAnError)
{
    auto *data = master(1);
    auto *inner = new TqvxReportPage(report.get());
    inner->SetName(QStringLiteral("Inner"));
    auto *outerSub = new TqvxSubreport(data);
    outerSub->SetName(QStringLiteral("Subreport1"));
    outerSub->SetPage(inner);
    auto *innerData = new TqvxMasterData(inner);
    innerData->SetName(QStringLiteral("InnerData"));
    innerData->SetBounds(0, 0, 300, 20);
    innerData->SetRowCount(1);
    auto *loop = new TqvxSubreport(innerData);
    loop->SetName(QStringLiteral("Subreport2"));
    loop->SetPage(inner);
    EXPECT_FALSE(prepare());
    EXPECT_EQ(errors(), QStringList({"Subreport Subreport2 runs the page Inner inside itself"}));
}

TEST_F(EngineRunTest, EndlessPagesKeepTheirOwnHeights)
{
    page->SetEndlessHeight(true);
    page->SetDataSet(dataSet("Pages", 2));
    auto *data = band<TqvxMasterData>("MasterData1", 100);
    data->SetDataSet(dataSet("Rows", 0));
    data->SetRowCount(0);
    // The first page gets 60 rows, the second 3.
    dataSets.back()->SetRows({});
    int pageRun = 0;
    page->SetOnBeforePrint(QString());
    report->OnManualBuild = [&](TqvxPage *) {
        const int rows = pageRun++ == 0 ? 60 : 3;
        for (int i = 0; i < rows; ++i)
            engine()->ShowBand(data);
    };
    ASSERT_TRUE(prepare());
    ASSERT_EQ(pageCount(), 2);
    EXPECT_EQ(store()->GetPageSize(0).Y, qvxRound(60 * 20 + 20 * qv01cm));
    EXPECT_EQ(store()->GetPageSize(1).Y, qvxRound(3 * 20 + 20 * qv01cm));
}

TEST_F(EngineRunTest, ACancelledDialogEndsTheRunWithoutPages)
{
    master(1);
    auto *dialog = new TqvxDialogPage(report.get());
    dialog->SetName(QStringLiteral("Dialog1"));
    auto *button = new TButton(dialog->Form());
    button->SetParent(dialog->Form());
    int shown = 0;
    int modalResult = 2;
    engine()->SetOnRunDialog([&](TqvxDialogPage *page) {
        ++shown;
        page->SetModalResult(modalResult);
    });
    EXPECT_FALSE(prepare());
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(pageCount(), 0);

    modalResult = 1;
    EXPECT_TRUE(prepare());
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(pageCount(), 1);

    // A run of one page shows no dialogs.
    report->PreparePage(page);
    EXPECT_EQ(shown, 2);
}

TEST_F(EngineRunTest, PagesSwappedToTheFileCacheReadBackWhole)
{
    report->EngineOptions()->SetUseFileCache(true);
    report->EngineOptions()->SetMaxMemSize(0);
    report->EngineOptions()->SetDoublePass(true);
    auto *header = band<TqvxPageHeader>("PageHeader1", 0, 20);
    memo(header, "PageNo", QStringLiteral("[Page#]"));
    master(300);
    ASSERT_TRUE(prepare());
    ASSERT_EQ(pageCount(), 6);
    for (int i = 0; i < pageCount(); ++i) {
        const QStringList pageTexts = texts(i);
        ASSERT_FALSE(pageTexts.isEmpty());
        EXPECT_EQ(pageTexts.first(), QString::number(i + 1));
        EXPECT_EQ(pageTexts.at(1), QString::number(i * 51 + 1));
    }
}

TEST_F(EngineRunTest, ScriptEventsFrameTheRunAndMayCancelIt)
{
    master(1);
    report->ScriptText()->SetText(QStringLiteral(
        "var log: Variant;\n"
        "procedure Start(Sender: Variant); begin log := log + 'start ' end;\n"
        "procedure Stop(Sender: Variant); begin log := log + 'stop' end;\n"
        "procedure PageStart(Sender: Variant); begin log := log + 'page ' end;\n"
        "procedure Dialogs(var Ok: Variant); begin log := log + 'dialogs '; Ok := False end;\n"
        "begin log := '' end."));
    report->SetOnStartReport(QStringLiteral("Start"));
    report->SetOnStopReport(QStringLiteral("Stop"));
    report->SetOnRunDialogs(QStringLiteral("Dialogs"));
    page->SetOnBeforePrint(QStringLiteral("PageStart"));
    const auto log = [this] { return report->Script()->Find(QStringLiteral("log"))->GetValue().AsString(); };
    EXPECT_FALSE(prepare());
    EXPECT_EQ(log(), QStringLiteral("start dialogs stop"));
    EXPECT_EQ(pageCount(), 0);

    report->SetOnRunDialogs(QString());
    EXPECT_TRUE(prepare());
    EXPECT_EQ(log(), QStringLiteral("start page stop"));
}

TEST_F(EngineRunTest, AScriptBuildsThePageThroughTheEngine)
{
    band<TqvxChild>("Child1", 200, 40);
    report->ScriptText()->SetText(QStringLiteral(
        "procedure Build(Sender: Variant);\n"
        "begin\n"
        "  Engine.ShowBand(Child1);\n"
        "  if Engine.FreeSpace > 1000 then Engine.NewPage;\n"
        "  Engine.ShowBand(Child1)\n"
        "end;\n"
        "begin end."));
    page->SetOnManualBuild(QStringLiteral("Build"));
    ASSERT_TRUE(prepare()) << errors().join('\n').toStdString();
    ASSERT_EQ(pageCount(), 2);
    EXPECT_EQ(bands(0), lines({"Child1 0"}));
    EXPECT_EQ(bands(1), lines({"Child1 0"}));
}
