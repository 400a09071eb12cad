// Band output and page flow: the fit test, page and column footers, the
// summary, overlays, page columns, reprinted headers and the outline.

#include "EngineTestReport.h"

#include "engine/qvxEngine.h"
#include "report/model/qvxCustomOutline.h"
#include "report/base/qvxNumbers.h"
#include "report/base/qvxObjectTypes.h"

#include <gtest/gtest.h>

namespace {

// The printable height of the test page.
const double bodyHeight = 277 * qv01cm;

} // namespace

class EngineOutputTest : public ::testing::Test, public TEngineTestReport
{
protected:
    TqvxEngine *engine() const { return static_cast<TqvxEngine *>(report->Engine()); }

    TqvxMasterData *master(int rows, double height = 20)
    {
        auto *data = band<TqvxMasterData>("MasterData1", 300, height);
        data->SetDataSet(dataSet("DS", rows));
        memo(data, "Memo1", QStringLiteral("[DS.\"N\"]"));
        return data;
    }
};

TEST_F(EngineOutputTest, ABandAsHighAsTheFreeSpaceFitsOnePixelMoreMoves)
{
    auto *footer = band<TqvxPageFooter>("PageFooter1", 900, 40);
    auto *first = band<TqvxChild>("Child1", 500, 100);
    auto *last = band<TqvxChild>("Child2", 600, 20);
    report->OnManualBuild = [&](TqvxPage *) {
        first->SetHeight(bodyHeight - 40 - 20);
        engine()->ShowBand(first);
        last->SetHeight(20);
        engine()->ShowBand(last);
        EXPECT_NEAR(engine()->FreeSpace(), 0, 1e-9);
        engine()->ShowBand(first);
        last->SetHeight(21);
        engine()->ShowBand(last);
    };
    ASSERT_TRUE(prepare());
    ASSERT_EQ(pageCount(), 3);
    EXPECT_DOUBLE_EQ(bandTop(0, "Child2"), bodyHeight - 60);
    EXPECT_DOUBLE_EQ(bandTop(0, "PageFooter1"), bodyHeight - 40);
    EXPECT_EQ(bandList(1).size(), 2);
    EXPECT_EQ(bands(2), lines({"Child2 0", QStringLiteral("PageFooter1 %1").arg(bodyHeight - 40)}));
    (void)footer;
}

TEST_F(EngineOutputTest, PageFootersFollowTheirFirstAndLastPageFlags)
{
    auto *footer = band<TqvxPageFooter>("PageFooter1", 900, 30);
    auto *data = master(3);
    data->SetStartNewPage(true);
    footer->SetPrintOnFirstPage(false);
    ASSERT_TRUE(prepare());
    ASSERT_EQ(pageCount(), 3);
    EXPECT_EQ(bandTop(0, "PageFooter1"), -1);
    EXPECT_DOUBLE_EQ(bandTop(1, "PageFooter1"), bodyHeight - 30);
    EXPECT_DOUBLE_EQ(bandTop(2, "PageFooter1"), bodyHeight - 30);

    footer->SetPrintOnFirstPage(true);
    footer->SetPrintOnLastPage(false);
    ASSERT_TRUE(prepare());
    EXPECT_DOUBLE_EQ(bandTop(0, "PageFooter1"), bodyHeight - 30);
    EXPECT_EQ(bandTop(2, "PageFooter1"), -1);
}

TEST_F(EngineOutputTest, TheSummaryClosesTheLastPageAndOverlaysLieUnderAndOver)
{
    band<TqvxReportSummary>("ReportSummary1", 800, 50);
    auto *under = band<TqvxOverlay>("Overlay1", 950, 100);
    auto *over = band<TqvxOverlay>("Overlay2", 1000, 100);
    over->SetPrintOnTop(true);
    band<TqvxPageFooter>("PageFooter1", 900, 30);
    master(2);
    ASSERT_TRUE(prepare());
    ASSERT_EQ(pageCount(), 1);
    EXPECT_EQ(bands(0), lines({"Overlay1 0", "MasterData1 0: 1", "MasterData1 20: 2", "ReportSummary1 40",
                                     QStringLiteral("PageFooter1 %1").arg(bodyHeight - 30), "Overlay2 0"}));
    (void)under;
}

TEST_F(EngineOutputTest, StartNewPageWaitsForTheSecondLine)
{
    band<TqvxReportTitle>("ReportTitle1", 0, 30);
    auto *data = master(2);
    data->SetStartNewPage(true);
    ASSERT_TRUE(prepare());
    ASSERT_EQ(pageCount(), 2);
    EXPECT_EQ(bands(0), lines({"ReportTitle1 0", "MasterData1 30: 1"}));
    EXPECT_EQ(bands(1), lines({"MasterData1 0: 2"}));
}

TEST_F(EngineOutputTest, AFirstBandStartingANewPageLeavesAPageOfHeaders)
{
    band<TqvxPageHeader>("PageHeader1", 0, 30);
    auto *child = band<TqvxChild>("Child1", 200, 40);
    child->SetStartNewPage(true);
    report->OnManualBuild = [&](TqvxPage *) { engine()->ShowBand(child); };
    ASSERT_TRUE(prepare());
    ASSERT_EQ(pageCount(), 2);
    EXPECT_EQ(bands(0), lines({"PageHeader1 0"}));
    EXPECT_EQ(bands(1), lines({"PageHeader1 0", "Child1 30"}));
}

TEST_F(EngineOutputTest, TheTitlePrintsOnceAndPageHeadersRepeat)
{
    band<TqvxReportTitle>("ReportTitle1", 0, 30);
    auto *header = band<TqvxPageHeader>("PageHeader1", 40, 25);
    auto *dataHeader = band<TqvxHeader>("Header1", 200, 15);
    dataHeader->SetReprintOnNewPage(true);
    master(60);
    ASSERT_TRUE(prepare());
    ASSERT_EQ(pageCount(), 2);
    EXPECT_EQ(lines(bandList(0).mid(0, 4)),
              lines({"ReportTitle1 0", "PageHeader1 30", "Header1 55", "MasterData1 70: 1"}));
    EXPECT_EQ(lines(bandList(1).mid(0, 3)), lines({"PageHeader1 0", "Header1 25", "MasterData1 40: 49"}));

    // Without PrintOnFirstPage only the header's child prints on the first
    // page.
    header->SetPrintOnFirstPage(false);
    auto *child = band<TqvxChild>("Child1", 600, 10);
    header->SetChild(child);
    header->SetPrintChildIfInvisible(true);
    ASSERT_TRUE(prepare());
    EXPECT_EQ(lines(bandList(0).mid(0, 3)), lines({"ReportTitle1 0", "Child1 30", "Header1 40"}));
    EXPECT_EQ(lines(bandList(1).mid(0, 3)), lines({"PageHeader1 0", "Child1 25", "Header1 35"}));
}

TEST_F(EngineOutputTest, PageColumnsStartBelowTheHeaderAtTheirPositions)
{
    page->SetColumns(2);
    page->ColumnPositions()->SetText(QStringLiteral("0\n100"));
    band<TqvxPageHeader>("PageHeader1", 0, 30);
    band<TqvxColumnHeader>("ColumnHeader1", 40, 10);
    band<TqvxColumnFooter>("ColumnFooter1", 900, 12);
    master(100);
    ASSERT_TRUE(prepare());
    ASSERT_GE(pageCount(), 1);
    TqvxComponent *first = store()->GetPageObject(0);
    QStringList placed;
    for (TqvxComponent *object : first->Objects())
        if (!object->Name().startsWith(QLatin1String("MasterData")))
            placed.append(QStringLiteral("%1 %2,%3").arg(object->Name()).arg(object->Left()).arg(object->Top()));
    const double footerTop = 40 + 49 * 20;
    EXPECT_EQ(placed, QStringList({"PageHeader1 0,0", "ColumnHeader1 0,30", QStringLiteral("ColumnFooter1 0,%1").arg(footerTop),
                                   QStringLiteral("ColumnHeader1 %1,30").arg(100 * qv01cm),
                                   QStringLiteral("ColumnFooter1 %1,%2").arg(100 * qv01cm).arg(footerTop)}));
    EXPECT_EQ(bandList(0).at(53), QStringLiteral("MasterData1 40: 50"));
}

TEST_F(EngineOutputTest, ASummaryBrokenFromTheLastColumnStartsTheNewPageInTheFirstColumn)
{
    page->SetColumns(2);
    page->ColumnPositions()->SetText(QStringLiteral("0\n100"));
    master(6, 300);
    band<TqvxReportSummary>("ReportSummary1", 900, 200);
    ASSERT_TRUE(prepare()) << errors().join('\n').toStdString();
    ASSERT_EQ(pageCount(), 2);
    const QList<TqvxComponent *> second = store()->GetPageObject(1)->Objects();
    ASSERT_EQ(second.size(), 1);
    EXPECT_EQ(second.first()->Name(), QStringLiteral("ReportSummary1"));
    EXPECT_EQ(second.first()->Left(), 0);
    EXPECT_EQ(second.first()->Top(), 0);
}

TEST_F(EngineOutputTest, OutlineItemsGetTheBandsTopAsOutput)
{
    page->SetOutlineText(QStringLiteral("'Page'"));
    auto *data = master(2);
    data->SetOutlineText(QStringLiteral("'Row ' + IntToStr(<DS.\"N\">)"));
    ASSERT_TRUE(prepare()) << errors().join('\n').toStdString();
    TqvxCustomOutline *outline = store()->Outline();
    outline->LevelRoot();
    ASSERT_EQ(outline->Count(), 1);
    QString text;
    int pageNo = -1;
    int top = -1;
    outline->GetItem(0, text, pageNo, top);
    EXPECT_EQ(text, QStringLiteral("Page"));
    outline->LevelDown(0);
    ASSERT_EQ(outline->Count(), 2);
    outline->GetItem(1, text, pageNo, top);
    EXPECT_EQ(text, QStringLiteral("Row 2"));
    EXPECT_EQ(top, 20);
}

TEST_F(EngineOutputTest, EndlessPagesNeverBreakAndGrowToTheirContent)
{
    page->SetEndlessHeight(true);
    band<TqvxPageFooter>("PageFooter1", 900, 30);
    master(200);
    ASSERT_TRUE(prepare());
    ASSERT_EQ(pageCount(), 1);
    EXPECT_DOUBLE_EQ(bandTop(0, "PageFooter1"), 200 * 20);
    EXPECT_EQ(store()->GetPageSize(0).Y, qvxRound(200 * 20 + 30 + 20 * qv01cm));
}

TEST_F(EngineOutputTest, AnEndlessPageEndsWithItsPageFooterBelowTheColumnFooterAndSummary)
{
    page->SetEndlessHeight(true);
    band<TqvxColumnFooter>("ColumnFooter1", 800, 10);
    band<TqvxPageFooter>("PageFooter1", 900, 30);
    master(3);
    ASSERT_TRUE(prepare());
    ASSERT_EQ(pageCount(), 1);
    EXPECT_DOUBLE_EQ(bandTop(0, "ColumnFooter1"), 60);
    EXPECT_DOUBLE_EQ(bandTop(0, "PageFooter1"), 70);
    EXPECT_EQ(store()->GetPageSize(0).Y, qvxRound(100 + 20 * qv01cm));

    band<TqvxReportSummary>("ReportSummary1", 600, 50);
    ASSERT_TRUE(prepare());
    EXPECT_DOUBLE_EQ(bandTop(0, "ReportSummary1"), 70);
    EXPECT_DOUBLE_EQ(bandTop(0, "PageFooter1"), 120);
    EXPECT_EQ(store()->GetPageSize(0).Y, qvxRound(150 + 20 * qv01cm));
}

TEST_F(EngineOutputTest, VerticalBandsFillTheirHostAcrossVerticalPages)
{
    auto *host = band<TqvxMasterData>("Host", 100);
    host->SetRowCount(2);
    memo(host, "RowMemo", QStringLiteral("R[Line]"), 0, 0, 60);
    auto *columns = band<TqvxMasterData>("Columns", 0);
    columns->SetVertical(true);
    columns->SetBounds(100, 0, 50, 1000);
    columns->SetRowCount(20);
    memo(host, "Cell", QStringLiteral("[Line]"), 100, 0, 50);
    ASSERT_TRUE(prepare()) << errors().join('\n').toStdString();
    ASSERT_EQ(pageCount(), 2);
    QStringList first;
    QStringList second;
    for (int i = 1; i <= 20; ++i)
        (i <= 14 ? first : second).append(QString::number(i));
    const QString firstRow = QStringLiteral(": R%1 | ") + first.join(QLatin1String(" | "));
    const QString secondRow = QStringLiteral(": ") + second.join(QLatin1String(" | "));
    EXPECT_EQ(bands(0), lines({QStringLiteral("Host 0") + firstRow.arg(1), QStringLiteral("Host 20") + firstRow.arg(2)}));
    EXPECT_EQ(bands(1), lines({QStringLiteral("Host 0") + secondRow, QStringLiteral("Host 20") + secondRow}));
}

TEST_F(EngineOutputTest, MovingBetweenVerticalPagesPrintsNoColumnFooterOverTheRows)
{
    band<TqvxPageHeader>("PageHeader1", 0, 30);
    band<TqvxColumnFooter>("ColumnFooter1", 800, 10);
    auto *host = band<TqvxMasterData>("Host", 100);
    host->SetRowCount(2);
    auto *columns = band<TqvxMasterData>("Columns", 0);
    columns->SetVertical(true);
    columns->SetBounds(100, 0, 50, 1000);
    columns->SetRowCount(16);
    memo(host, "Cell", QStringLiteral("[Line]"), 100, 0, 50);
    band<TqvxMasterData>("After", 200)->SetRowCount(1);
    ASSERT_TRUE(prepare()) << errors().join('\n').toStdString();
    ASSERT_EQ(pageCount(), 2);
    const QString firstRow = QStringLiteral(": 1 | 2 | 3 | 4 | 5 | 6 | 7 | 8 | 9 | 10 | 11 | 12 | 13 | 14");
    EXPECT_EQ(bands(0), lines({"PageHeader1 0", "Host 30" + firstRow, "Host 50" + firstRow, "After 70",
                               "ColumnFooter1 90"}));
    EXPECT_EQ(bands(1), lines({"PageHeader1 0", "Host 30: 15 | 16", "Host 50: 15 | 16"}));
}

TEST_F(EngineOutputTest, ObjectsOutsideBandsPrintAtTheirPagePositions)
{
    memo(page, "Stamp", QStringLiteral("Draft"), 500, 700);
    master(2);
    ASSERT_TRUE(prepare());
    // They go onto the page in a band of their own, at its top.
    EXPECT_EQ(bands(0), lines({" 0: Draft", "MasterData1 0: 1", "MasterData1 20: 2"}));
    const TqvxComponent *stamp = store()->GetPageObject(0)->Objects().first()->Objects().first();
    EXPECT_EQ(QStringLiteral("%1,%2").arg(stamp->Left()).arg(stamp->Top()), QStringLiteral("500,700"));
    EXPECT_EQ(page->FindObject(QStringLiteral("Stamp"))->Parent(), page);
}

TEST_F(EngineOutputTest, ARepeatedValuePrintsAgainAtTheTopOfANewPage)
{
    auto *data = master(60);
    memo(data, "Same", QStringLiteral("Same"), 200)->SetSuppressRepeated(true);
    ASSERT_TRUE(prepare());
    ASSERT_EQ(pageCount(), 2);
    EXPECT_EQ(lines(bandList(0).mid(0, 2)), lines({"MasterData1 0: 1 | Same", "MasterData1 20: 2 | "}));
    EXPECT_EQ(lines(bandList(1).mid(0, 2)), lines({"MasterData1 0: 53 | Same", "MasterData1 20: 54 | "}));
}

TEST_F(EngineOutputTest, AnEndlessPageBrokenByHandEndsBelowItsContent)
{
    page->SetEndlessHeight(true);
    band<TqvxPageFooter>("PageFooter1", 900, 30);
    auto *child = band<TqvxChild>("Child1", 100, 50);
    report->OnManualBuild = [&](TqvxPage *) {
        for (int i = 0; i < 3; ++i)
            engine()->ShowBand(child);
        engine()->NewPage();
        engine()->ShowBand(child);
    };
    ASSERT_TRUE(prepare());
    ASSERT_EQ(pageCount(), 2);
    EXPECT_EQ(store()->GetPageSize(0).Y, qvxRound(150 + 30 + 20 * qv01cm));
    EXPECT_EQ(store()->GetPageSize(1).Y, qvxRound(50 + 30 + 20 * qv01cm));
}

TEST_F(EngineOutputTest, ColumnsWithoutListedPositionsFollowTheColumnWidth)
{
    page->SetColumns(3);
    page->ColumnPositions()->Clear();
    page->SetColumnWidth(60);
    auto *child = band<TqvxChild>("Child1", 100, 50);
    report->OnManualBuild = [&](TqvxPage *) {
        engine()->NewColumn();
        engine()->ShowBand(child);
        engine()->NewColumn();
        engine()->ShowBand(child);
    };
    ASSERT_TRUE(prepare());
    ASSERT_EQ(pageCount(), 1);
    QStringList lefts;
    for (TqvxComponent *object : store()->GetPageObject(0)->Objects())
        lefts.append(QString::number(qvxRound(object->Left())));
    EXPECT_EQ(lefts, QStringList({QString::number(qvxRound(60 * qv01cm)), QString::number(qvxRound(120 * qv01cm))}));
}

TEST_F(EngineOutputTest, ReprintedGroupHeadersAndKeptHeadersFollowTheirRows)
{
    auto *group = band<TqvxGroupHeader>("GroupHeader1", 100);
    group->SetCondition(QStringLiteral("1"));
    group->SetReprintOnNewPage(true);
    auto *data = master(60);
    (void)data;
    ASSERT_TRUE(prepare()) << errors().join('\n').toStdString();
    ASSERT_EQ(pageCount(), 2);
    EXPECT_EQ(lines(bandList(1).mid(0, 2)), lines({"GroupHeader1 0", "MasterData1 20: 52"}));
}

TEST_F(EngineOutputTest, APageHeaderTallerThanThePagePrintsWhereItIs)
{
    auto *header = band<TqvxPageHeader>("PageHeader1", 0, 30);
    header->SetAllowSplit(true);
    header->SetStretched(true);
    probe(header, "Long", 0, 30, 3000);
    master(2)->SetStartNewPage(true);
    ASSERT_TRUE(prepare());
    // Each row finds no room under the header and moves once to a page of
    // its own.
    ASSERT_EQ(pageCount(), 4);
    EXPECT_EQ(bands(3), lines({"PageHeader1 0", "MasterData1 3000: 2"}));
}

TEST_F(EngineOutputTest, HeadersTallerThanThePageTogetherPrintWhereTheyAre)
{
    band<TqvxPageHeader>("PageHeader1", 0, 600);
    auto *header = band<TqvxHeader>("Header1", 200, 500);
    header->SetReprintOnNewPage(true);
    master(2)->SetStartNewPage(true);
    ASSERT_TRUE(prepare());
    // Each band that finds no room moves once, below the headers of a fresh
    // page, and prints there.
    ASSERT_EQ(pageCount(), 5);
    EXPECT_EQ(bands(2), lines({"PageHeader1 0", "Header1 600", "MasterData1 1100: 1"}));
    EXPECT_EQ(bands(3), lines({"PageHeader1 0", "Header1 600"}));
    EXPECT_EQ(bands(4), lines({"PageHeader1 0", "Header1 600", "MasterData1 1100: 2"}));
}

TEST_F(EngineOutputTest, ARowMovedToANewPageLeavesTheHeaderToReprintOnTheNext)
{
    band<TqvxReportTitle>("ReportTitle1", 0, 1010);
    auto *header = band<TqvxHeader>("Header1", 200, 20);
    header->SetReprintOnNewPage(true);
    master(2)->SetStartNewPage(true);
    ASSERT_TRUE(prepare());
    ASSERT_EQ(pageCount(), 3);
    EXPECT_EQ(bands(1), lines({"Header1 0", "MasterData1 20: 1"}));
    EXPECT_EQ(bands(2), lines({"Header1 0", "MasterData1 20: 2"}));
}

TEST_F(EngineOutputTest, ABandThatBreaksThePageOverflowsWhileTheFootersPrint)
{
    auto *footer = band<TqvxPageFooter>("PageFooter1", 900, 20);
    auto *data = master(60);
    QList<bool> overflow;
    report->OnBeforePrint = [&](TqvxComponent *object) {
        if (object == footer)
            overflow.append(data->Overflow);
    };
    ASSERT_TRUE(prepare());
    EXPECT_EQ(overflow, QList<bool>({true, false}));
    EXPECT_FALSE(data->Overflow);
}
