// The scroll window's ranges and positions, the flat combo box's list and
// colours, and the tool panel's alignment.

#include "preview/qvxCtrls.h"

#include <gtest/gtest.h>

namespace {

class CountingScrollWin : public TqvxScrollWin
{
public:
    CountingScrollWin() : TqvxScrollWin(nullptr) {}
    using TqvxScrollWin::ScrollMessage;
    int horzChanges = 0;
    int vertChanges = 0;

protected:
    void OnHScrollChange() override { ++horzChanges; }
    void OnVScrollChange() override { ++vertChanges; }
};

} // namespace

TEST(ScrollWin, PositionsAreClampedToRangeLessPage)
{
    CountingScrollWin win;
    win.SetHorzRange(1000);
    win.SetHorzPage(300);
    win.SetHorzPosition(900);
    EXPECT_EQ(win.HorzPosition(), 700);
    win.SetHorzPosition(-5);
    EXPECT_EQ(win.HorzPosition(), 0);
    EXPECT_EQ(win.horzChanges, 2);
}

TEST(ScrollWin, APageLargerThanTheRangeScrollsNothing)
{
    CountingScrollWin win;
    win.SetVertRange(100);
    win.SetVertPage(400);
    win.SetVertPosition(50);
    EXPECT_EQ(win.VertPosition(), 0);
    EXPECT_EQ(win.vertChanges, 0);
    EXPECT_EQ(win.GetScrollInfo(sbVertical).Max, 0);
}

TEST(ScrollWin, BarActionsMoveByTheStepsAndTrackOncePerChange)
{
    CountingScrollWin win;
    win.SetVertRange(1000);
    win.SetVertPage(100);
    win.SetSmallChange(8);
    win.SetLargeChange(300);
    win.ScrollMessage(sbVertical, scLineDown, 0);
    EXPECT_EQ(win.VertPosition(), 8);
    win.ScrollMessage(sbVertical, scPageDown, 0);
    EXPECT_EQ(win.VertPosition(), 308);
    win.ScrollMessage(sbVertical, scBottom, 0);
    EXPECT_EQ(win.VertPosition(), 900);
    win.ScrollMessage(sbVertical, scTop, 0);
    EXPECT_EQ(win.VertPosition(), 0);
    win.vertChanges = 0;
    for (int pos : {10, 20, 20, 30})
        win.ScrollMessage(sbVertical, scTrack, pos);
    EXPECT_EQ(win.VertPosition(), 30);
    EXPECT_EQ(win.vertChanges, 3);
}

TEST(FlatComboBox, ListHeightFollowsItemsUpToTheDropDownCount)
{
    EXPECT_EQ(TqvxCustomComboBox::ListHeight(16, 8, 3), 3 * 16 + 2);
    EXPECT_EQ(TqvxCustomComboBox::ListHeight(16, 8, 20), 8 * 16 + 2);
    EXPECT_EQ(TqvxCustomComboBox::ListHeight(16, 8, 0), 18);
    EXPECT_EQ(TqvxCustomComboBox::ListHeight(16, 0, 5), 18);
}

TEST(FlatComboBox, BlendMixesPerChannelWithRounding)
{
    // 30 % of pure blue into white: each channel (255 * 70 + c * 30 + 50) / 100.
    EXPECT_EQ(TqvxCustomComboBox::Blend(TColor(0xFF0000), TColor(0xFFFFFF), 30), TColor(0xFFB3B3));
    EXPECT_EQ(TqvxCustomComboBox::Blend(TColor(0x000000), TColor(0xFFFFFF), 50), TColor(0x808080));
    // From 100 on the amount is in thousandths.
    EXPECT_EQ(TqvxCustomComboBox::Blend(TColor(0x000000), TColor(0xFFFFFF), 500), TColor(0x808080));
}

TEST(FlatComboBox, StartsNarrowWithAnElevenPixelButton)
{
    TqvxComboBox box(nullptr);
    EXPECT_EQ(box.ButtonWidth(), 11);
    EXPECT_EQ(box.Width(), 100);
    EXPECT_EQ(box.ButtonState(), 0);
    box.SetReadOnly(true);
    EXPECT_TRUE(box.ReadOnly());
}

TEST(ToolPanel, AlignsAcrossItsPanelsAlignment)
{
    EXPECT_EQ(TqvxTBPanel::AlignAcross(alLeft), alTop);
    EXPECT_EQ(TqvxTBPanel::AlignAcross(alRight), alTop);
    EXPECT_EQ(TqvxTBPanel::AlignAcross(alTop), alLeft);
    TqvxTBPanel panel(nullptr);
    EXPECT_EQ(panel.Width(), 8);
    EXPECT_EQ(panel.Align(), alLeft);
}
