// Objects growing with their content, bands split over pages, runs of
// bands kept together, and subreports beside and inside their band.

#include "EngineTestReport.h"

#include "engine/qvxEngine.h"
#include "report/model/qvxCustomOutline.h"
#include "report/pages/qvxDMP.h"
#include "report/components/qvxFrame.h"
#include "report/base/qvxNumbers.h"
#include "report/base/qvxObjectTypes.h"
#include "report/views/qvxShapeView.h"
#include "report/pages/qvxSubreport.h"

#include <gtest/gtest.h>

namespace {

const double bodyHeight = 277 * qv01cm;

} // namespace

class EngineStretchTest : public ::testing::Test, public TEngineTestReport
{
protected:
    TqvxEngine *engine() const { return static_cast<TqvxEngine *>(report->Engine()); }

    // Every object of page index inside a band: "Name top+height", one a
    // line, in page order.
    std::string geometry(int index) const
    {
        QStringList result;
        TqvxComponent *prepared = store()->GetPageObject(index);
        for (TqvxComponent *band : prepared->Objects()) {
            result.append(QStringLiteral("%1 %2+%3").arg(band->Name()).arg(band->Top()).arg(band->Height()));
            for (TqvxComponent *object : band->Objects())
                result.append(QStringLiteral("  %1 %2+%3").arg(object->Name()).arg(object->Top()).arg(object->Height()));
        }
        return lines(result);
    }

    // Shows the band once through a manual build.
    void showOnce(TqvxBand *band)
    {
        report->OnManualBuild = [this, band](TqvxPage *) { engine()->ShowBand(band); };
    }
};

TEST_F(EngineStretchTest, GrowingObjectsPushTheObjectsBelowByTheirShiftMode)
{
    auto *child = band<TqvxChild>("Child1", 100, 200);
    probe(child, "Grows", 0, 20, 60);
    auto *always = probe(child, "Always", 30, 10, 0, smDontStretch);
    auto *overlapped = probe(child, "Overlapped", 50, 10, 0, smDontStretch);
    overlapped->SetShiftMode(smWhenOverlapped);
    auto *fixed = probe(child, "Fixed", 100, 10, 0, smDontStretch);
    fixed->SetShiftMode(smDontShift);
    auto *belowFixed = probe(child, "BelowFixed", 120, 10, 0, smDontStretch);
    showOnce(child);
    ASSERT_TRUE(prepare()) << errors().join('\n').toStdString();
    EXPECT_EQ(geometry(0), lines({"Child1 0+200", "  Grows 0+60", "  Always 70+10", "  Overlapped 80+10",
                                  "  Fixed 100+10", "  BelowFixed 150+10"}));
    (void)always;
    (void)belowFixed;
}

TEST_F(EngineStretchTest, WhenOverlappedMovesOnlyByTheOverlap)
{
    auto *child = band<TqvxChild>("Child1", 100, 200);
    probe(child, "Grows", 0, 20, 45);
    auto *below = probe(child, "Below", 40, 10, 0, smDontStretch);
    below->SetShiftMode(smWhenOverlapped);
    showOnce(child);
    ASSERT_TRUE(prepare());
    EXPECT_EQ(geometry(0), lines({"Child1 0+200", "  Grows 0+45", "  Below 45+10"}));
}

TEST_F(EngineStretchTest, StretchedBandsFitTheirContentAndMaxHeightFillsIt)
{
    auto *child = band<TqvxChild>("Child1", 100, 200);
    child->SetStretched(true);
    probe(child, "Grows", 10, 20, 70);
    probe(child, "Side", 0, 20, 0, smMaxHeight, 200);
    auto *empty = band<TqvxChild>("Child2", 400, 50);
    empty->SetStretched(true);
    child->SetChild(empty);
    showOnce(child);
    ASSERT_TRUE(prepare());
    EXPECT_EQ(geometry(0), lines({"Child1 0+80", "  Grows 10+70", "  Side 0+80", "Child2 80+0"}));
}

TEST_F(EngineStretchTest, ASplitBandContinuesItsContentOnTheNextPage)
{
    auto *child = band<TqvxChild>("Child1", 100, 40);
    child->SetAllowSplit(true);
    child->SetStretched(true);
    TProbeView *text = probe(child, "Text", 0, 20, 1500);
    probe(child, "Below", 25, 10, 0, smDontStretch);
    auto *title = band<TqvxReportTitle>("ReportTitle1", 0, 100);
    (void)title;
    showOnce(child);
    ASSERT_TRUE(prepare());
    ASSERT_EQ(pageCount(), 2);
    // 94 lines fit under the title on the first page, in a part as high as
    // the room left; the rest and the object below follow on the second.
    const double firstPart = bodyHeight - 100;
    EXPECT_EQ(geometry(0), lines({"ReportTitle1 0+100", QStringLiteral("Child1 100+%1").arg(firstPart),
                                  QStringLiteral("  Text 0+%1").arg(firstPart)}));
    EXPECT_EQ(geometry(1), lines({"Child1 0+575", "  Text 0+560", "  Below 565+10"}));
    (void)text;
}

TEST_F(EngineStretchTest, ObjectsTooTallForAFreshPageAreClippedInsteadOfPagingForever)
{
    // The page header leaves less room on every page than the objects
    // need, though they are lower than the page body.
    band<TqvxPageHeader>("PageHeader1", 0, 300);
    auto *child = band<TqvxChild>("Child1", 400, 900);
    child->SetAllowSplit(true);
    auto *shape = new TqvxShapeView(child);
    shape->SetName(QStringLiteral("Tall"));
    shape->SetBounds(0, 0, 100, 900);
    showOnce(child);
    ASSERT_TRUE(prepare());
    ASSERT_EQ(pageCount(), 2);
    EXPECT_EQ(geometry(1), lines({"PageHeader1 0+300", "Child1 300+900", "  Tall 0+900"}));

    // A growing object of which not one line fits a page is cut at the page.
    delete shape;
    probe(child, "Lines", 0, 900, 900, smActualHeight)->line = 800;
    ASSERT_TRUE(prepare());
    ASSERT_EQ(pageCount(), 2);
    EXPECT_EQ(geometry(1), lines({"PageHeader1 0+300", QStringLiteral("Child1 300+%1").arg(bodyHeight - 300),
                                  QStringLiteral("  Lines 0+%1").arg(bodyHeight - 300)}));
}

TEST_F(EngineStretchTest, AMemoSplitOverPagesKeepsEveryLineOnce)
{
    QStringList text;
    for (int i = 1; i <= 150; ++i)
        text.append(QStringLiteral("Line %1").arg(i));
    auto *data = band<TqvxMasterData>("MasterData1", 100, 30);
    data->SetRowCount(1);
    data->SetAllowSplit(true);
    data->SetStretched(true);
    TqvxMemoView *memo = this->memo(data, "Memo1", text.join('\n'), 0, 0, 300, 30);
    memo->SetStretchMode(smActualHeight);
    ASSERT_TRUE(prepare()) << errors().join('\n').toStdString();
    ASSERT_GE(pageCount(), 2);
    QStringList printed;
    for (int i = 0; i < pageCount(); ++i)
        printed.append(texts(i));
    EXPECT_EQ(printed.join('\n').toStdString(), text.join('\n').toStdString());
}

TEST_F(EngineStretchTest, AKeptGroupMovesWholeToTheNextPage)
{
    auto *group = band<TqvxGroupHeader>("GroupHeader1", 100);
    group->SetCondition(QStringLiteral("<DS.\"G\">"));
    group->SetKeepTogether(true);
    group->SetOutlineText(QStringLiteral("'Group ' + IntToStr(<DS.\"G\">)"));
    auto *data = band<TqvxMasterData>("MasterData1", 200, 100);
    QList<QHash<QString, Variant>> rows;
    for (int i = 1; i <= 12; ++i)
        rows.append({{QStringLiteral("N"), Variant(i)}, {QStringLiteral("G"), Variant(i <= 8 ? 1 : 2)}});
    data->SetDataSet(dataSet("DS", rows));
    memo(data, "Memo1", QStringLiteral("[DS.\"N\"]"));
    ASSERT_TRUE(prepare()) << errors().join('\n').toStdString();
    ASSERT_EQ(pageCount(), 2);
    // The second group (rows 9 to 12) would start on the first page; it
    // goes to the second page with its header.
    EXPECT_EQ(bandList(0).size(), 9);
    EXPECT_EQ(lines(bandList(1)), lines({"GroupHeader1 0", "MasterData1 20: 9", "MasterData1 120: 10",
                                         "MasterData1 220: 11", "MasterData1 320: 12"}));
    // Its outline item went along.
    TqvxCustomOutline *outline = store()->Outline();
    outline->LevelRoot();
    ASSERT_EQ(outline->Count(), 2);
    QString text;
    int pageNo = -1;
    int top = -1;
    outline->GetItem(1, text, pageNo, top);
    EXPECT_EQ(QStringLiteral("%1 %2 %3").arg(text).arg(pageNo).arg(top), QStringLiteral("Group 2 1 0"));
}

TEST_F(EngineStretchTest, AKeptGroupLongerThanAPageReprintsItsHeaderOnTheFollowingPages)
{
    band<TqvxMasterData>("Lead", 10, 900)->SetRowCount(1);
    auto *group = band<TqvxGroupHeader>("GroupHeader1", 100);
    group->SetCondition(QStringLiteral("1"));
    group->SetKeepTogether(true);
    group->SetReprintOnNewPage(true);
    auto *data = band<TqvxMasterData>("MasterData1", 300, 100);
    data->SetDataSet(dataSet("DS", 12));
    memo(data, "Memo1", QStringLiteral("[DS.\"N\"]"));
    ASSERT_TRUE(prepare()) << errors().join('\n').toStdString();
    ASSERT_EQ(pageCount(), 3);
    // The group starts the second page whole with its header; it does not
    // fit there, so it breaks and the third page shows the header again.
    EXPECT_EQ(lines(bandList(0)), lines({"Lead 0"}));
    EXPECT_EQ(bandList(1).first(), QStringLiteral("GroupHeader1 0"));
    EXPECT_EQ(bandList(1).last(), QStringLiteral("MasterData1 920: 10"));
    EXPECT_EQ(lines(bandList(2)), lines({"GroupHeader1 0", "MasterData1 20: 11", "MasterData1 120: 12"}));
}

TEST_F(EngineStretchTest, AKeptRunThatFitsAPageMovesOnePixelMoreBreaksWhereItIs)
{
    // Keeping starts once the first row of the page run has printed.
    band<TqvxMasterData>("Lead", 10, 100)->SetRowCount(1);
    auto *kept = band<TqvxMasterData>("Kept", 300);
    kept->SetRowCount(1);
    kept->SetKeepChild(true);
    auto *child = band<TqvxChild>("Child1", 900, 500);
    kept->SetChild(child);
    kept->SetHeight(bodyHeight / 2);
    ASSERT_TRUE(prepare()) << errors().join('\n').toStdString();
    ASSERT_EQ(pageCount(), 2);
    EXPECT_EQ(lines(bandList(0)), lines({"Lead 0"}));
    EXPECT_EQ(lines(bandList(1)), lines({"Kept 0", QStringLiteral("Child1 %1").arg(bodyHeight / 2)}));

    kept->SetHeight(bodyHeight / 2 + 0.5);
    ASSERT_TRUE(prepare());
    ASSERT_EQ(pageCount(), 2);
    EXPECT_EQ(lines(bandList(0)), lines({"Lead 0", "Kept 100"}));
    EXPECT_EQ(lines(bandList(1)), lines({"Child1 0"}));
}

TEST_F(EngineStretchTest, AKeptRunMovedOnFromALaterColumnLeavesItsFooterBelowThatColumn)
{
    page->SetColumns(3);
    page->ColumnPositions()->SetText(QStringLiteral("0\n60\n120"));
    band<TqvxColumnFooter>("ColumnFooter1", 900, 20);
    band<TqvxMasterData>("Lead", 10, 10)->SetRowCount(1);
    auto *kept = band<TqvxMasterData>("Kept", 300);
    kept->SetDataSet(dataSet("DS", 55));
    kept->SetKeepChild(true);
    kept->SetChild(band<TqvxChild>("Child1", 800));
    ASSERT_TRUE(prepare()) << errors().join('\n').toStdString();
    ASSERT_EQ(pageCount(), 1);
    // Each column takes 25 rows with their children; the next row moves on
    // with its child, and the column footer follows the last row that
    // stays in its own column.
    QStringList footers;
    for (TqvxComponent *object : store()->GetPageObject(0)->Objects())
        if (object->Name() == QLatin1String("ColumnFooter1"))
            footers.append(QStringLiteral("%1,%2").arg(qvxRound(object->Left() / qv01cm)).arg(object->Top()));
    EXPECT_EQ(footers.join(' ').toStdString(), "0,1010 60,1000 120,200");
}

TEST_F(EngineStretchTest, ARowMovedOnWholeFromALaterColumnHasItsHeaderReprinted)
{
    page->SetColumns(2);
    page->ColumnPositions()->SetText(QStringLiteral("0\n100"));
    band<TqvxMasterData>("Lead", 10, 10)->SetRowCount(1);
    band<TqvxHeader>("Header1", 200)->SetReprintOnNewPage(true);
    auto *kept = band<TqvxMasterData>("Kept", 300, 30);
    kept->SetDataSet(dataSet("DS", 51));
    kept->SetKeepChild(true);
    kept->SetChild(band<TqvxChild>("Child1", 800, 10));
    ASSERT_TRUE(prepare()) << errors().join('\n').toStdString();
    ASSERT_EQ(pageCount(), 2);
    // Both columns hold 25 rows; the next row does not fit the second one,
    // so it starts the next page below its header.
    EXPECT_EQ(lines(bandList(1)), lines({"Header1 0", "Kept 20", "Child1 50"}));
}

TEST_F(EngineStretchTest, KeptFooterTakesItsLastRowAndItsTotalsAlong)
{
    auto *footer = band<TqvxPageFooter>("PageFooter1", 900, 20);
    memo(footer, "PageTotal", QStringLiteral("[SUM(<DS.\"N\">, MasterData1)]"));
    auto *data = band<TqvxMasterData>("MasterData1", 100, 100);
    data->SetDataSet(dataSet("DS", 10));
    data->SetKeepFooter(true);
    memo(data, "Memo1", QStringLiteral("[DS.\"N\"]"));
    auto *dataFooter = band<TqvxFooter>("Footer1", 300, 60);
    memo(dataFooter, "FooterMemo", QStringLiteral("end"));
    ASSERT_TRUE(prepare()) << errors().join('\n').toStdString();
    ASSERT_EQ(pageCount(), 2);
    // Ten rows of 100 fit on the first page, the footer does not: the last
    // row moves with it, and its value with it into the second page's total.
    EXPECT_EQ(texts(0).last(), QStringLiteral("45"));
    EXPECT_EQ(lines(bandList(1)), lines({"MasterData1 0: 10", "Footer1 100: end",
                                         QStringLiteral("PageFooter1 %1: 10").arg(bodyHeight - 20)}));
}

TEST_F(EngineStretchTest, SideBySideSubreportsContinueBelowTheLongest)
{
    auto *left = new TqvxReportPage(report.get());
    left->SetName(QStringLiteral("Left"));
    auto *right = new TqvxReportPage(report.get());
    right->SetName(QStringLiteral("Right"));
    auto subreportRows = [](TqvxReportPage *page, const char *name, int rows) {
        auto *data = new TqvxMasterData(page);
        data->SetName(QString::fromLatin1(name));
        data->SetBounds(0, 0, 200, 30);
        data->SetRowCount(rows);
    };
    subreportRows(left, "LeftRows", 2);
    subreportRows(right, "RightRows", 5);
    auto *host = band<TqvxChild>("Host", 100, 40);
    auto *leftSub = new TqvxSubreport(host);
    leftSub->SetName(QStringLiteral("Subreport1"));
    leftSub->SetBounds(0, 10, 200, 20);
    leftSub->SetPage(left);
    auto *rightSub = new TqvxSubreport(host);
    rightSub->SetName(QStringLiteral("Subreport2"));
    rightSub->SetBounds(300, 10, 200, 20);
    rightSub->SetPage(right);
    auto *after = band<TqvxChild>("After", 500, 20);
    report->OnManualBuild = [&](TqvxPage *) {
        engine()->ShowBand(host);
        engine()->ShowBand(after);
    };
    ASSERT_TRUE(prepare()) << errors().join('\n').toStdString();
    QStringList placed;
    for (TqvxComponent *object : store()->GetPageObject(0)->Objects())
        placed.append(QStringLiteral("%1 %2,%3").arg(object->Name()).arg(object->Left()).arg(object->Top()));
    EXPECT_EQ(lines(placed), lines({"Host 0,0", "LeftRows 0,10", "LeftRows 0,40", "RightRows 300,10",
                                    "RightRows 300,40", "RightRows 300,70", "RightRows 300,100",
                                    "RightRows 300,130", "After 0,160"}));
}

TEST_F(EngineStretchTest, AnInlineSubreportGrowsItsBandAndLeavesIt)
{
    auto *inner = new TqvxReportPage(report.get());
    inner->SetName(QStringLiteral("Inner"));
    auto *rows = new TqvxMasterData(inner);
    rows->SetName(QStringLiteral("InnerRows"));
    rows->SetBounds(0, 0, 200, 30);
    rows->SetRowCount(3);
    memo(rows, "InnerMemo", QStringLiteral("[Line]"));
    auto *data = band<TqvxMasterData>("MasterData1", 100, 40);
    data->SetRowCount(2);
    data->SetStretched(true);
    auto *sub = new TqvxSubreport(data);
    sub->SetName(QStringLiteral("Subreport1"));
    sub->SetBounds(50, 5, 200, 20);
    sub->SetPage(inner);
    sub->SetPrintOnParent(true);
    ASSERT_TRUE(prepare()) << errors().join('\n').toStdString();
    EXPECT_EQ(lines(bandList(0)), lines({"MasterData1 0: 1 | 2 | 3", "MasterData1 85: 1 | 2 | 3"}));
    EXPECT_EQ(data->Objects().size(), 1);
}

TEST_F(EngineStretchTest, ADotMatrixMemoWithABottomLineTakesACharacterLineMore)
{
    auto *child = band<TqvxChild>("Child1", 100, 200);
    child->SetStretched(true);
    auto *memo = new TqvxDMPMemoView(child);
    memo->SetName(QStringLiteral("DMPMemo1"));
    memo->SetBounds(0, 17, 85, 34);
    memo->Frame()->SetTyp(ftBottom);
    showOnce(child);
    ASSERT_TRUE(prepare());
    EXPECT_DOUBLE_EQ(store()->GetPageObject(0)->Objects().first()->Height(), 17 + 34 + 17);
}

// Dot-matrix memos moved below a growing object stand on their character
// cells: the objects below them, the band's bottom and an object stretched
// to it count from where they stand, not from where the move would have
// put them between cells.
TEST_F(EngineStretchTest, DotMatrixMemosMovedDownCountFromTheirCharacterCells)
{
    auto *child = band<TqvxChild>("Child1", 100, 200);
    child->SetStretched(true);
    probe(child, "Grows", 0, 20, 45, smActualHeight, 0, 300);
    const auto dotMatrixMemo = [&](const char *name, double left, double top, double height) {
        auto *memo = new TqvxDMPMemoView(child);
        memo->SetName(QString::fromLatin1(name));
        memo->SetBounds(left, top, 85, height);
        memo->Frame()->SetTyp(ftBottom);
    };
    // Moved by 25 to 59, between the cells at 51 and 68.
    dotMatrixMemo("Shifted", 0, 34, 34);
    probe(child, "Overlapped", 90, 10, 0, smDontStretch)->SetShiftMode(smWhenOverlapped);
    dotMatrixMemo("Lowest", 200, 34, 85);
    probe(child, "ToBottom", 34, 10, 0, smMaxHeight, 100, 50);
    showOnce(child);
    ASSERT_TRUE(prepare());
    EXPECT_EQ(geometry(0), lines({"Child1 0+153", "  Grows 0+45", "  Shifted 51+34", "  Overlapped 90+10",
                                  "  Lowest 51+85", "  ToBottom 59+94"}));
}

// A dot-matrix memo of numbered lines split over two dot-matrix pages
// below a title of four cells, and a dot-matrix memo below it.  Its lines
// (about 19 pixels each) are not whole cells (17 pixels): the parts take
// whole lines and what is left of its stretched height, the whole text's
// height rounded to cells, may be a cell short of the last part's lines
// (with 60 and 61 lines here).  The last part takes the whole cells its
// lines take, the memo below stands below it, and every line prints once.
TEST_F(EngineStretchTest, TheLastPartOfADotMatrixMemoTakesTheCellsOfItsLines)
{
    delete page;
    page = new TqvxDMPPage(report.get());
    page->SetName(QStringLiteral("Page1"));
    band<TqvxReportTitle>("ReportTitle1", 0, 68);
    auto *data = band<TqvxMasterData>("MasterData1", 100, 34);
    data->SetRowCount(1);
    data->SetAllowSplit(true);
    data->SetStretched(true);
    auto *memo = new TqvxDMPMemoView(data);
    memo->SetName(QStringLiteral("DMP"));
    memo->SetBounds(0, 0, 192, 17);
    memo->SetStretchMode(smActualHeight);
    auto *below = new TqvxDMPMemoView(data);
    below->SetName(QStringLiteral("Below"));
    below->SetBounds(0, 17, 96, 17);
    below->SetText(QStringLiteral("BELOW"));
    for (int count = 58; count <= 62; ++count) {
        SCOPED_TRACE(count);
        QStringList text;
        for (int i = 1; i <= count; ++i)
            text.append(QStringLiteral("D%1").arg(i));
        memo->SetText(text.join('\n'));
        ASSERT_TRUE(prepare());
        ASSERT_EQ(pageCount(), 2);
        EXPECT_EQ((texts(0) + texts(1)).join('\n').toStdString(), (text.join('\n') + "\nBELOW").toStdString());
        TqvxDMPMemoView *lastPart = nullptr;
        TqvxComponent *placedBelow = nullptr;
        for (TqvxComponent *object : store()->GetPageObject(1)->GetAllObjects()) {
            if (object->Name() == QLatin1String("DMP"))
                lastPart = qobject_cast<TqvxDMPMemoView *>(object);
            else if (object->Name() == QLatin1String("Below"))
                placedBelow = object;
        }
        ASSERT_NE(lastPart, nullptr);
        ASSERT_NE(placedBelow, nullptr);
        EXPECT_GE(lastPart->Height(), lastPart->CalcHeight()) << geometry(1);
        EXPECT_GE(placedBelow->Top(), lastPart->Top() + lastPart->Height()) << geometry(1);
    }
}
