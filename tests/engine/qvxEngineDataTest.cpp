// Data-band loops: record limits, filters, master and detail, groups with
// their footers, drill-down and band columns.

#include "EngineTestReport.h"

#include "engine/qvxEngine.h"
#include "report/base/qvxObjectTypes.h"
#include "toolkit/classes/TStringList.h"

#include <gtest/gtest.h>

namespace {

QList<QHash<QString, Variant>> groupedRows(const QStringList &groups)
{
    QList<QHash<QString, Variant>> rows;
    for (int i = 0; i < groups.size(); ++i)
        rows.append({{QStringLiteral("N"), Variant(i + 1)}, {QStringLiteral("G"), Variant(groups.at(i))}});
    return rows;
}

} // namespace

class EngineDataTest : public ::testing::Test, public TEngineTestReport
{
protected:
    TqvxEngine *engine() const { return static_cast<TqvxEngine *>(report->Engine()); }

    // Header1, MasterData1 over "DS" printing N, Footer1.
    TqvxMasterData *masterWithHeaderAndFooter(const QList<QHash<QString, Variant>> &rows)
    {
        auto *header = band<TqvxHeader>("Header1", 100);
        memo(header, "HeaderMemo", QStringLiteral("Head"));
        auto *data = band<TqvxMasterData>("MasterData1", 200);
        data->SetDataSet(dataSet("DS", rows));
        memo(data, "Memo1", QStringLiteral("[DS.\"N\"]"));
        auto *footer = band<TqvxFooter>("Footer1", 500);
        memo(footer, "FooterMemo", QStringLiteral("Foot [DS.\"N\"]"));
        (void)header;
        return data;
    }

    // MasterData1 over "DS" of 22 rows of 100 pixels printing N in two
    // columns; PageFooter1 sums N over the page.
    TqvxMasterData *columnsWithPageTotal()
    {
        auto *footer = band<TqvxPageFooter>("PageFooter1", 900, 20);
        memo(footer, "PageTotal", QStringLiteral("[SUM(<DS.\"N\">, MasterData1)]"));
        auto *data = band<TqvxMasterData>("MasterData1", 100, 100);
        data->SetDataSet(dataSet("DS", 22));
        data->SetColumns(2);
        data->SetColumnWidth(300);
        memo(data, "Memo1", QStringLiteral("[DS.\"N\"]"));
        return data;
    }
};

TEST_F(EngineDataTest, RowCountLimitsTheRowsOfADataSetAndCountsOwnRows)
{
    auto *data = masterWithHeaderAndFooter(groupedRows(QStringList(10, QStringLiteral("x"))));
    data->SetRowCount(3);
    ASSERT_TRUE(prepare()) << errors().join('\n').toStdString();
    EXPECT_EQ(bands(0), lines({"Header1 0: Head", "MasterData1 20: 1", "MasterData1 40: 2",
                                     "MasterData1 60: 3", "Footer1 80: Foot 4"}));

    auto *own = band<TqvxDetailData>("Rows", 800);
    memo(own, "Line", QStringLiteral("[Line]"));
    own->SetRowCount(2);
    data->SetRowCount(1);
    ASSERT_TRUE(prepare()) << errors().join('\n').toStdString();
    EXPECT_EQ(bands(0), lines({"Header1 0: Head", "MasterData1 20: 1", "Rows 40: 1", "Rows 60: 2",
                                     "Footer1 80: Foot 2"}));
}

TEST_F(EngineDataTest, RowCountLimitsTheRowsOverAllGroups)
{
    auto *group = band<TqvxGroupHeader>("GroupHeader1", 100);
    group->SetCondition(QStringLiteral("<DS.\"N\"> div 2"));
    auto *data = band<TqvxMasterData>("MasterData1", 200);
    data->SetDataSet(dataSet("DS", 8));
    data->SetRowCount(3);
    memo(data, "Memo1", QStringLiteral("[DS.\"N\"]"));
    ASSERT_TRUE(prepare()) << errors().join('\n').toStdString();
    EXPECT_EQ(bands(0), lines({"GroupHeader1 0", "MasterData1 20: 1", "GroupHeader1 40", "MasterData1 60: 2",
                               "MasterData1 80: 3"}));
}

TEST_F(EngineDataTest, AFilterRejectingEverythingPrintsNoHeaderRowOrFooter)
{
    auto *data = masterWithHeaderAndFooter(groupedRows({"a", "b"}));
    band<TqvxReportTitle>("ReportTitle1", 0, 30);
    data->SetFilter(QStringLiteral("<DS.\"N\"> > 5"));
    ASSERT_TRUE(prepare()) << errors().join('\n').toStdString();
    EXPECT_EQ(bands(0), lines({"ReportTitle1 0"}));

    data->SetFilter(QStringLiteral("<DS.\"N\"> > 1"));
    ASSERT_TRUE(prepare());
    EXPECT_EQ(bands(0), lines({"ReportTitle1 0", "Header1 30: Head", "MasterData1 50: 2", "Footer1 70: Foot 2"}));
}

TEST_F(EngineDataTest, AStoppedRunLeavesTheFootersOfItsOpenBandsOut)
{
    auto *group = band<TqvxGroupHeader>("GroupHeader1", 50);
    group->SetCondition(QStringLiteral("<DS.\"G\">"));
    auto *data = masterWithHeaderAndFooter(groupedRows({"A", "A", "A"}));
    band<TqvxGroupFooter>("GroupFooter1", 300);
    report->OnAfterPrint = [&](TqvxComponent *object) {
        if (object == data && data->LineN == 2)
            report->SetTerminated(true);
    };
    EXPECT_TRUE(prepare());
    EXPECT_EQ(bands(0), lines({"Header1 0: Head", "GroupHeader1 20", "MasterData1 40: 1",
                                     "MasterData1 60: 2"}));
}

TEST_F(EngineDataTest, MastersWithoutDetailsPrintOnlyWhenAskedTo)
{
    auto *data = band<TqvxMasterData>("MasterData1", 100);
    TMemoryDataSet *masters = dataSet("M", 3);
    data->SetDataSet(masters);
    memo(data, "Memo1", QStringLiteral("M[M.\"N\"]"));
    auto *detail = band<TqvxDetailData>("DetailData1", 200);
    TMemoryDataSet *details = dataSet("D", 0);
    detail->SetDataSet(details);
    memo(detail, "Memo2", QStringLiteral("D[D.\"N\"]"));
    // Master 2 has two details; the others none.
    details->rowsOnFirst = [masters] {
        QList<QHash<QString, Variant>> rows;
        if (masters->RecNo() == 1)
            rows = {{{QStringLiteral("N"), Variant(1)}}, {{QStringLiteral("N"), Variant(2)}}};
        return rows;
    };
    ASSERT_TRUE(prepare()) << errors().join('\n').toStdString();
    EXPECT_EQ(bands(0), lines({"MasterData1 0: M2", "DetailData1 20: D1", "DetailData1 40: D2"}));

    data->SetPrintIfDetailEmpty(true);
    ASSERT_TRUE(prepare());
    EXPECT_EQ(bands(0), lines({"MasterData1 0: M1", "MasterData1 20: M2", "DetailData1 40: D1",
                                     "DetailData1 60: D2", "MasterData1 80: M3"}));
}

TEST_F(EngineDataTest, GroupFootersSeeTheLastRecordOfTheirGroup)
{
    auto *group = band<TqvxGroupHeader>("GroupHeader1", 100);
    group->SetCondition(QStringLiteral("<DS.\"G\">"));
    memo(group, "GroupMemo", QStringLiteral("[DS.\"G\"]"));
    auto *data = band<TqvxMasterData>("MasterData1", 200);
    data->SetDataSet(dataSet("DS", groupedRows({"A", "A", "B"})));
    memo(data, "Memo1", QStringLiteral("[DS.\"N\"]"));
    auto *groupFooter = band<TqvxGroupFooter>("GroupFooter1", 300);
    memo(groupFooter, "GroupFooterMemo", QStringLiteral("end [DS.\"N\"]"));
    ASSERT_TRUE(prepare()) << errors().join('\n').toStdString();
    EXPECT_EQ(bands(0), lines({"GroupHeader1 0: A", "MasterData1 20: 1", "MasterData1 40: 2",
                                     "GroupFooter1 60: end 2", "GroupHeader1 80: B", "MasterData1 100: 3",
                                     "GroupFooter1 120: end 3"}));

    // A group of a single record hides its footer.
    groupFooter->SetHideIfSingleDataRecord(true);
    ASSERT_TRUE(prepare());
    EXPECT_EQ(bands(0), lines({"GroupHeader1 0: A", "MasterData1 20: 1", "MasterData1 40: 2",
                                     "GroupFooter1 60: end 2", "GroupHeader1 80: B", "MasterData1 100: 3"}));
    EXPECT_EQ(engine()->HeaderList().Count(), 0);
}

TEST_F(EngineDataTest, DrillDownNamesFollowThePathAndTheDrillState)
{
    auto *master = band<TqvxMasterData>("MasterData1", 50);
    master->SetRowCount(1);
    auto *group = band<TqvxGroupHeader>("GroupHeader1", 100);
    group->SetCondition(QStringLiteral("<DS.\"G\">"));
    group->SetDrillDown(true);
    memo(group, "GroupMemo", QStringLiteral("[DS.\"G\"]"));
    auto *data = band<TqvxDetailData>("DetailData1", 200);
    data->SetDataSet(dataSet("DS", groupedRows({"A", "A", "B"})));
    memo(data, "Memo1", QStringLiteral("[DS.\"N\"]"));
    QStringList names;
    report->OnBeforePrint = [&](TqvxComponent *object) {
        if (object == group)
            names.append(group->DrillName());
    };
    ASSERT_TRUE(prepare()) << errors().join('\n').toStdString();
    EXPECT_EQ(names, QStringList({"MasterData1.1.GroupHeader1.1", "MasterData1.1.GroupHeader1.2"}));
    EXPECT_EQ(bands(0), lines({"MasterData1 0", "GroupHeader1 20: A", "GroupHeader1 40: B"}));

    report->DrillState()->Add(QStringLiteral("MasterData1.1.GroupHeader1.2"));
    ASSERT_TRUE(prepare());
    EXPECT_EQ(bands(0), lines({"MasterData1 0", "GroupHeader1 20: A", "GroupHeader1 40: B",
                                     "DetailData1 60: 3"}));
}

TEST_F(EngineDataTest, TwoColumnRowsCloseAtTheirLowestColumn)
{
    auto *data = masterWithHeaderAndFooter(groupedRows({"a", "b", "c", "d", "e"}));
    data->SetColumns(2);
    data->SetColumnWidth(300);
    data->SetColumnGap(10);
    ASSERT_TRUE(prepare()) << errors().join('\n').toStdString();
    QStringList placed;
    for (TqvxComponent *object : store()->GetPageObject(0)->Objects())
        placed.append(QStringLiteral("%1 %2,%3").arg(object->Name()).arg(object->Left()).arg(object->Top()));
    EXPECT_EQ(placed, QStringList({"Header1 0,0", "MasterData1 0,20", "MasterData1 310,20", "MasterData1 0,40",
                                   "MasterData1 310,40", "MasterData1 0,60", "Footer1 0,80"}));
}

TEST_F(EngineDataTest, AKeptHeaderMovesWithTheFirstRow)
{
    band<TqvxReportTitle>("ReportTitle1", 0, 277 * qv01cm - 30);
    auto *data = masterWithHeaderAndFooter(groupedRows({"a", "b"}));
    data->SetKeepHeader(true);
    ASSERT_TRUE(prepare()) << errors().join('\n').toStdString();
    ASSERT_EQ(pageCount(), 2);
    EXPECT_EQ(bandList(0).size(), 1);
    EXPECT_EQ(bands(1), lines({"Header1 0: Head", "MasterData1 20: 1", "MasterData1 40: 2", "Footer1 60: Foot 2"}));
}

TEST_F(EngineDataTest, AKeptFooterOfTheOnlyRowTakesTheKeptHeaderAlong)
{
    // The header and its only row fit below the title, the footer does
    // not: the footer takes the row along, and the row its header.
    auto *title = band<TqvxReportTitle>("ReportTitle1", 0, 277 * qv01cm - 50);
    auto *data = masterWithHeaderAndFooter(groupedRows({"a"}));
    data->SetKeepHeader(true);
    data->SetKeepFooter(true);
    ASSERT_TRUE(prepare()) << errors().join('\n').toStdString();
    ASSERT_EQ(pageCount(), 2);
    EXPECT_EQ(bands(0), lines({"ReportTitle1 0"}));
    EXPECT_EQ(bands(1), lines({"Header1 0: Head", "MasterData1 20: 1", "Footer1 40: Foot 1"}));

    // Of two rows the first stays with the header, the last goes with the
    // footer.
    dataSets.back()->SetRows(groupedRows({"a", "b"}));
    title->SetHeight(277 * qv01cm - 70);
    ASSERT_TRUE(prepare()) << errors().join('\n').toStdString();
    ASSERT_EQ(pageCount(), 2);
    EXPECT_EQ(bands(0), lines({"ReportTitle1 0", QStringLiteral("Header1 %1: Head").arg(277 * qv01cm - 70),
                               QStringLiteral("MasterData1 %1: 1").arg(277 * qv01cm - 50)}));
    EXPECT_EQ(bands(1), lines({"MasterData1 0: 2", "Footer1 20: Foot 2"}));
}

TEST_F(EngineDataTest, AKeptFooterWhoseRunWouldNotFitAnEmptyPageBreaksWhereItIs)
{
    // The header and its tall row fill the first page; with the footer
    // they would run off an empty one.
    const double body = 277 * qv01cm;
    band<TqvxMasterData>("Lead", 10, 10)->SetRowCount(1);
    auto *data = masterWithHeaderAndFooter(groupedRows({"a"}));
    data->SetHeight(body - 35);
    data->SetKeepHeader(true);
    data->SetKeepFooter(true);
    ASSERT_TRUE(prepare()) << errors().join('\n').toStdString();
    ASSERT_EQ(pageCount(), 2);
    EXPECT_EQ(bands(0), lines({"Lead 0", "Header1 10: Head", "MasterData1 30: 1"}));
    EXPECT_EQ(bands(1), lines({"Footer1 0: Foot 1"}));
}

TEST_F(EngineDataTest, ARowOfColumnsMovedToTheNextPageTakesItsTotalsAlong)
{
    columnsWithPageTotal();
    ASSERT_TRUE(prepare()) << errors().join('\n').toStdString();
    ASSERT_EQ(pageCount(), 2);
    // Ten rows of two fit the first page; the eleventh moves.
    EXPECT_EQ(texts(0).size(), 21);
    EXPECT_EQ(texts(0).last(), QStringLiteral("210"));
    EXPECT_EQ(texts(1), QStringList({"21", "22", "43"}));
}

TEST_F(EngineDataTest, RowsOfColumnsKeptTogetherMoveWholeWithTheirTotals)
{
    TqvxMasterData *data = columnsWithPageTotal();
    // Keeping a band with its children, or each record together, leaves
    // the row whole: the last row moves as one, its totals with it.
    for (const bool keepChild : {true, false}) {
        SCOPED_TRACE(keepChild ? "KeepChild" : "KeepTogether");
        data->SetKeepChild(keepChild);
        data->SetKeepTogether(!keepChild);
        ASSERT_TRUE(prepare()) << errors().join('\n').toStdString();
        ASSERT_EQ(pageCount(), 2);
        EXPECT_EQ(texts(0).size(), 21);
        EXPECT_EQ(texts(0).last(), QStringLiteral("210"));
        EXPECT_EQ(bands(1), lines({"MasterData1 0: 21", "MasterData1 0: 22",
                                   QStringLiteral("PageFooter1 %1: 43").arg(277 * qv01cm - 20)}));
    }
}
