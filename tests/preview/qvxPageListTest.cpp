// Laying pages out in rows, their rectangles, and the page at a position.

#include "preview/qvxPageList.h"

#include <gtest/gtest.h>

namespace {

TqvxPageList listOf(int count, int width, int height)
{
    TqvxPageList list;
    for (int i = 0; i < count; ++i)
        list.Add(width, height);
    return list;
}

} // namespace

TEST(PageList, EqualPagesFillCentredRowsTenPixelsApart)
{
    TqvxPageList list = listOf(4, 100, 200);
    list.CalcBounds(340);
    // Three fit (x reaches 330); the row is centred by (340 - 330 + 10) / 2.
    const int xs[] = {20, 130, 240};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(list.Items(i).OffsetX, xs[i]);
        EXPECT_EQ(list.Items(i).OffsetY, 10);
    }
    EXPECT_EQ(list.Items(3).OffsetY, 220);
    EXPECT_EQ(list.Items(3).OffsetX, (340 - 110 + 10) / 2 + 10);
    EXPECT_EQ(list.MaxWidth(), 330);
    EXPECT_EQ(list.HorzRange(), 340);
    EXPECT_EQ(list.VertRange(), 220 + 200 + 10);
}

TEST(PageList, APageWiderThanTheWindowSitsAloneAtTen)
{
    TqvxPageList list;
    list.Add(100, 100);
    list.Add(900, 100);
    list.Add(100, 100);
    list.CalcBounds(300);
    EXPECT_EQ(list.Items(1).OffsetX, 10);
    EXPECT_EQ(list.Items(1).OffsetY, 120);
    EXPECT_EQ(list.Items(2).OffsetY, 230);
}

TEST(PageList, BoundsMirrorUnderRightToLeftAndDefaultToA4)
{
    TqvxPageList list = listOf(1, 100, 200);
    list.CalcBounds(500);
    const TRect ltr = list.GetPageBounds(0, 600, false, 1);
    EXPECT_EQ(ltr.Left, list.Items(0).OffsetX);
    EXPECT_EQ(ltr.Bottom, 210);
    const TRect rtl = list.GetPageBounds(0, 600, true, 1);
    EXPECT_EQ(rtl.Left, 600 - 100 - list.Items(0).OffsetX);
    EXPECT_EQ(rtl.Right - rtl.Left, 100);

    const TRect a4 = list.GetPageBounds(5, 1000, false, 1);
    EXPECT_EQ(a4.Left, 103);
    EXPECT_EQ(a4.Top, 10);
    EXPECT_EQ(a4.Right - a4.Left, 794);
    EXPECT_EQ(a4.Bottom - a4.Top, 1123);
    EXPECT_EQ(list.GetPageBounds(-1, 500, false, 1).Left, 10);
}

TEST(PageList, PageAtAPositionCountsAFifthOfTheHeightEarly)
{
    TqvxPageList list = listOf(3, 100, 200);
    list.CalcBounds(100);
    // Tops at 10, 220, 430.
    struct Case {
        int y;
        int page;
    } cases[] = {{0, 0}, {170, 0}, {180, 1}, {220, 1}, {389, 1}, {390, 2}, {5000, 2}};
    for (const Case &c : cases)
        EXPECT_EQ(list.GetPageNoAt(c.y, 0), c.page) << c.y;
    TqvxPageList empty;
    EXPECT_EQ(empty.GetPageNoAt(100, 0), -1);
}

TEST(PageList, WithXThePageHoldingThePointAnswers)
{
    TqvxPageList list = listOf(6, 100, 200);
    list.CalcBounds(340);
    // Row 1 holds pages 0..2, row 2 pages 3..5.
    EXPECT_EQ(list.GetPageNoAt(50, list.Items(0).OffsetX + 5), 0);
    EXPECT_EQ(list.GetPageNoAt(300, list.Items(4).OffsetX + 5), 4);
    // Between pages nothing holds the point: the row's last page stands.
    EXPECT_EQ(list.GetPageNoAt(50, 1), 2);
}

TEST(PageList, PagesAddedDuringABuildLieWhereAWholeLayoutPutsThem)
{
    // Pages of two sizes arrive a few at a time, as a build adds them.
    TqvxPageList growing;
    TqvxPageList whole;
    int laidOut = 0;
    for (int i = 0; i < 40; ++i) {
        const int width = i % 7 == 3 ? 500 : 100;
        growing.Add(width, 150 + i % 3);
        whole.Add(width, 150 + i % 3);
        if (i % 4 == 2) {
            growing.CalcBoundsOfAdded(340, laidOut);
            laidOut = growing.Count();
        }
    }
    growing.CalcBoundsOfAdded(340, laidOut);
    whole.CalcBounds(340);
    for (int i = 0; i < whole.Count(); ++i) {
        EXPECT_EQ(growing.Items(i).OffsetX, whole.Items(i).OffsetX) << i;
        EXPECT_EQ(growing.Items(i).OffsetY, whole.Items(i).OffsetY) << i;
    }
    EXPECT_EQ(growing.MaxWidth(), whole.MaxWidth());
    EXPECT_EQ(growing.VertRange(), whole.VertRange());
}
