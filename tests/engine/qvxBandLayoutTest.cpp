// The structure of a page from its bands' positions, the errors of bands
// that have no place, objects moved into vertical bands, and the shift
// lists of growing objects.

#include "LayoutTestPage.h"

#include "engine/qvxBandLayout.h"
#include "report/data/qvxUserDataSet.h"

#include <gtest/gtest.h>

namespace {

const QString BandPos = QStringLiteral("Неправильно расположен бэнд: ");
const QString UnconnHeader = QStringLiteral("Не подключенный header/footer ");
const QString UnconnGroup = QStringLiteral("Нет дата-бэнда для группы ");
const QString UnconnGFooter = QStringLiteral("Нет заголовка группы ");

using BandList = QList<TqvxBand *>;

class BandLayoutTest : public ::testing::Test, public TLayoutTestPage
{
protected:
    void check(bool vertical = false) { CheckBands(page, errors.get(), vertical); }
};

TEST_F(BandLayoutTest, HeadersFootersAndDetailsBelongToTheDataBandsBesideThem)
{
    auto *pageHeader = band<TqvxPageHeader>("PageHeader1", 0);
    auto *header = band<TqvxHeader>("Header1", 20);
    auto *master = band<TqvxMasterData>("MasterData1", 40, 3);
    auto *footer = band<TqvxFooter>("Footer1", 60);
    auto *detailHeader = band<TqvxHeader>("Header2", 80);
    auto *detail = band<TqvxDetailData>("DetailData1", 100, 2);
    auto *subdetail = band<TqvxSubdetailData>("SubdetailData1", 120, 2);
    auto *detailFooter = band<TqvxFooter>("Footer2", 140);
    auto *second = band<TqvxMasterData>("MasterData2", 160, 1);
    band<TqvxPageFooter>("PageFooter1", 180);

    check();
    EXPECT_TRUE(errorLines().isEmpty());
    EXPECT_EQ(page->HDataBands(), BandList({master, second}));
    EXPECT_EQ(master->Header(), header);
    EXPECT_EQ(master->Footer(), footer);
    EXPECT_EQ(master->Details(), BandList{detail});
    EXPECT_EQ(detail->Header(), detailHeader);
    EXPECT_EQ(detail->Footer(), nullptr);
    EXPECT_EQ(detail->Details(), BandList{subdetail});
    EXPECT_EQ(subdetail->Footer(), detailFooter);
    EXPECT_TRUE(second->Details().isEmpty());
    EXPECT_EQ(pageHeader->Header(), nullptr);
    // A band with rows and no data set walks its own rows.
    EXPECT_EQ(master->DataSet(), master->VirtualDataSet());

    // A second check builds the same structure afresh.
    check();
    EXPECT_EQ(page->HDataBands(), BandList({master, second}));
    EXPECT_EQ(master->Details(), BandList{detail});
    EXPECT_TRUE(errorLines().isEmpty());
}

TEST_F(BandLayoutTest, GroupsChainAndPairWithTheirFootersFromTheInsideOut)
{
    auto *header = band<TqvxHeader>("Header1", 0);
    auto *outer = band<TqvxGroupHeader>("GroupHeader1", 20);
    auto *inner = band<TqvxGroupHeader>("GroupHeader2", 40);
    auto *master = band<TqvxMasterData>("MasterData1", 60, 1);
    auto *innerFooter = band<TqvxGroupFooter>("GroupFooter2", 80);
    auto *outerFooter = band<TqvxGroupFooter>("GroupFooter1", 100);
    auto *footer = band<TqvxFooter>("Footer1", 120);

    check();
    EXPECT_TRUE(errorLines().isEmpty());
    EXPECT_EQ(outer->Groups(), BandList({outer, inner}));
    EXPECT_EQ(master->Group(), outer);
    EXPECT_EQ(inner->Footer(), innerFooter);
    EXPECT_EQ(outer->Footer(), outerFooter);
    // With the group bands taken out, the header and the footer stand
    // directly beside the data band.
    EXPECT_EQ(master->Header(), header);
    EXPECT_EQ(master->Footer(), footer);
}

TEST_F(BandLayoutTest, UnplacedBandsCostOneLineEach)
{
    // A detail band with no master above it, a header followed by a footer,
    // a group footer with no header before it, a group header with no data
    // band after it.
    band<TqvxDetailData>("DetailData1", -30, 1);
    band<TqvxHeader>("Header2", -20);
    band<TqvxFooter>("Footer1", 0);
    band<TqvxMasterData>("MasterData1", 20, 1);
    band<TqvxGroupFooter>("GroupFooter1", 40);
    band<TqvxGroupHeader>("GroupHeader1", 60);
    check();
    EXPECT_EQ(errorLines(), QStringList({UnconnGroup + "GroupHeader1", UnconnGFooter + "GroupFooter1",
                                         UnconnHeader + "Header2", UnconnHeader + "Footer1",
                                         BandPos + "DetailData1"}));
}

TEST_F(BandLayoutTest, EveryGroupHeaderWithoutADataBandIsReported)
{
    band<TqvxMasterData>("MasterData1", 0, 1);
    band<TqvxGroupHeader>("GroupHeader1", 20);
    band<TqvxFooter>("Footer1", 40);
    band<TqvxGroupHeader>("GroupHeader2", 60);
    check();
    EXPECT_EQ(errorLines(), QStringList({UnconnGroup + "GroupHeader1", UnconnGroup + "GroupHeader2"}));
}

TEST_F(BandLayoutTest, DataBandsWithoutDataAreLeftOutQuietly)
{
    auto *master = band<TqvxMasterData>("MasterData1", 0);
    auto *detail = band<TqvxDetailData>("DetailData1", 20);
    auto *withRows = band<TqvxDetailData>("DetailData2", 40, 1);
    check();
    EXPECT_TRUE(errorLines().isEmpty());
    EXPECT_TRUE(page->HDataBands().isEmpty());
    EXPECT_EQ(master->Details(), BandList{withRows});
    EXPECT_EQ(detail->DataSet(), nullptr);

    TqvxUserDataSet rows;
    detail->SetDataSet(&rows);
    master->SetDataSet(&rows);
    check();
    EXPECT_EQ(page->HDataBands(), BandList{master});
    EXPECT_EQ(master->Details(), BandList({detail, withRows}));
}

TEST_F(BandLayoutTest, BandsAtOnePositionAllTakePartInChildOrder)
{
    auto *first = band<TqvxMasterData>("MasterData1", 40, 1);
    auto *footer = band<TqvxFooter>("Footer1", 60.001);
    band<TqvxFooter>("Footer2", 59.999);
    auto *second = band<TqvxMasterData>("MasterData2", 40.004, 1);
    check();
    EXPECT_EQ(page->HDataBands(), BandList({first, second}));
    EXPECT_EQ(second->Footer(), footer);
    EXPECT_EQ(errorLines(), QStringList{UnconnHeader + "Footer2"});
}

TEST_F(BandLayoutTest, PositionsSortAsNumbers)
{
    auto *master = band<TqvxMasterData>("MasterData1", 5, 1);
    auto *header = band<TqvxHeader>("Header1", -10);
    auto *footer = band<TqvxFooter>("Footer1", 1000000);
    check();
    EXPECT_TRUE(errorLines().isEmpty());
    EXPECT_EQ(master->Header(), header);
    EXPECT_EQ(master->Footer(), footer);
}

TEST_F(BandLayoutTest, VerticalBandsAreOrderedByTheirLeft)
{
    auto *footer = band<TqvxFooter>("Footer1", 300, 0, true);
    auto *master = band<TqvxMasterData>("MasterData1", 100, 2, true);
    auto *header = band<TqvxHeader>("Header1", 50, 0, true);
    auto *horizontal = band<TqvxMasterData>("MasterData2", 0, 1);
    check(true);
    EXPECT_TRUE(errorLines().isEmpty());
    EXPECT_EQ(page->VDataBands(), BandList{master});
    EXPECT_TRUE(page->HDataBands().isEmpty());
    EXPECT_EQ(master->Header(), header);
    EXPECT_EQ(master->Footer(), footer);
    EXPECT_EQ(horizontal->DataSet(), nullptr);
}

TEST_F(BandLayoutTest, ObjectsWithinAVerticalBandMoveIntoIt)
{
    auto *host = band<TqvxMasterData>("MasterData1", 40, 1);
    auto *vertical = band<TqvxMasterData>("MasterData2", 100, 1, true);
    auto *overlay = band<TqvxOverlay>("Overlay1", 400);
    TqvxMemoView *left = memo(host, "Memo1", "a", 10, 50);
    TqvxMemoView *inside = memo(host, "Memo2", "b", 100, 40);
    TqvxMemoView *sticking = memo(host, "Memo3", "c", 100.001, 40);
    TqvxMemoView *overlaid = memo(overlay, "Memo4", "d", 110, 20);
    inside->SetTop(3);

    check();
    EXPECT_EQ(inside->Parent(), vertical);
    EXPECT_EQ(inside->HomeBand(), host);
    EXPECT_EQ(inside->Left(), 0);
    EXPECT_EQ(inside->Top(), 3);
    EXPECT_FALSE(inside->ParentFont());
    EXPECT_EQ(left->Parent(), host);
    EXPECT_EQ(sticking->Parent(), host);
    EXPECT_EQ(overlaid->Parent(), overlay);
    EXPECT_TRUE(host->HostsVBands);
    EXPECT_FALSE(overlay->HostsVBands);

    // The host keeps hosting in a later check, once its objects have moved.
    check();
    EXPECT_TRUE(host->HostsVBands);
    EXPECT_TRUE(errorLines().isEmpty());
}

// --- Shift lists ------------------------------------------------------------

class ShiftTreeTest : public ::testing::Test, public TLayoutTestPage
{
protected:
    TqvxMasterData *data = band<TqvxMasterData>("MasterData1", 100, 1);

    TqvxMemoView *object(const char *name, double left, double top, double width, double height = 20)
    {
        TqvxMemoView *result = memo(data, name, QString(), left, width);
        result->SetTop(top);
        result->SetHeight(height);
        return result;
    }
};

using ViewList = QList<TqvxView *>;

TEST_F(ShiftTreeTest, StackedObjectsPushTheOneBelow)
{
    TqvxMemoView *c = object("C", 0, 60, 100);
    TqvxMemoView *a = object("A", 0, 0, 100);
    TqvxMemoView *b = object("B", 50, 30, 100);
    BuildShiftTree(data);
    EXPECT_EQ(data->ShiftList(), ViewList{a});
    EXPECT_EQ(a->ShiftList(), ViewList{b});
    EXPECT_EQ(b->ShiftList(), ViewList{c});
    EXPECT_TRUE(c->ShiftList().isEmpty());
}

TEST_F(ShiftTreeTest, AnObjectInBetweenTakesOverWithinItsWidth)
{
    TqvxMemoView *wide = object("Wide", 0, 0, 300);
    TqvxMemoView *narrow = object("Narrow", 0, 30, 100);
    TqvxMemoView *below = object("Below", 0, 60, 300);
    TqvxMemoView *right = object("Right", 200, 90, 100);
    BuildShiftTree(data);
    // Below lies under Narrow within the overlap of Wide and Below, so
    // only Narrow pushes it; Right lies under Below.
    EXPECT_EQ(wide->ShiftList(), ViewList{narrow});
    EXPECT_EQ(narrow->ShiftList(), ViewList{below});
    EXPECT_EQ(below->ShiftList(), ViewList{right});
}

TEST_F(ShiftTreeTest, SideBySideObjectsBothPushAWideOneBelow)
{
    TqvxMemoView *left = object("Left", 0, 0, 100);
    TqvxMemoView *right = object("Right", 200, 0, 100);
    TqvxMemoView *wide = object("Wide", 0, 40, 300);
    BuildShiftTree(data);
    EXPECT_EQ(data->ShiftList(), ViewList({left, right}));
    EXPECT_EQ(left->ShiftList(), ViewList{wide});
    EXPECT_EQ(right->ShiftList(), ViewList{wide});
}

TEST_F(ShiftTreeTest, OverlappingObjectsPushNothingTouchingOnesDo)
{
    // A and B overlap vertically; C touches A's right edge and overlaps B;
    // D touches A's bottom.
    TqvxMemoView *a = object("A", 0, 0, 100);
    TqvxMemoView *b = object("B", 50, 10, 100);
    TqvxMemoView *c = object("C", 100, 20, 50);
    TqvxMemoView *d = object("D", 0, 20, 100);
    BuildShiftTree(data);
    EXPECT_EQ(data->ShiftList(), ViewList({a, b, c}));
    EXPECT_EQ(a->ShiftList(), ViewList{d});
    EXPECT_TRUE(b->ShiftList().isEmpty());
    EXPECT_TRUE(c->ShiftList().isEmpty());
}

TEST_F(ShiftTreeTest, TheTreeIsBuiltOnce)
{
    TqvxMemoView *a = object("A", 0, 0, 100);
    BuildShiftTree(data);
    object("B", 0, 40, 100);
    BuildShiftTree(data);
    EXPECT_EQ(data->ShiftList(), ViewList{a});
    EXPECT_TRUE(a->ShiftList().isEmpty());

    // The layout check builds the trees of the bands it checks.
    auto *footer = band<TqvxFooter>("Footer1", 200);
    TqvxMemoView *total = memo(footer, "Total", QString());
    CheckBands(page, errors.get(), false);
    EXPECT_EQ(footer->ShiftList(), ViewList{total});
}

} // namespace
