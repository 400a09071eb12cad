// The scroll arithmetic of the grid's scroll bars, without a window.

#include "controls/TGridScrollBar.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

std::unique_ptr<TGridScrollBar> makeBar(int min, int max, int lineStep, int pageStep)
{
    auto bar = std::make_unique<TGridScrollBar>(nullptr, sbVertical);
    bar->SetParams(min, max, lineStep, pageStep);
    return bar;
}

} // namespace

TEST(GridScrollBar, SetParamsClampsStepsRangeAndPosition)
{
    TGridScrollBar bar(nullptr, sbVertical);
    bar.SetParams(0, 100, 1, 10);
    bar.SetPosition(90);
    EXPECT_EQ(bar.Position(), 90);

    int notifications = 0;
    bar.OnChangeParams = [&](TObject *) { ++notifications; };
    bar.SetParams(0, 100, 1, 10);
    EXPECT_EQ(notifications, 0);

    bar.SetParams(5, 2, -3, -1);
    EXPECT_EQ(bar.Min(), 5);
    EXPECT_EQ(bar.Max(), 5);
    EXPECT_EQ(bar.LineStep(), 0);
    EXPECT_EQ(bar.PageStep(), 0);
    EXPECT_EQ(bar.Position(), 5); // never below Min
    EXPECT_EQ(notifications, 1);

    bar.SetParams(0, 50, 1, 20);
    bar.SetPosition(40);
    EXPECT_EQ(bar.Position(), 30);
    bar.SetParams(0, 40, 1, 20);
    EXPECT_EQ(bar.Position(), 20);
}

TEST(GridScrollBar, SetPositionClampsAndTheScrollNotificationMayVeto)
{
    auto barPtr = makeBar(0, 20, 1, 5);
    TGridScrollBar &bar = *barPtr;
    QStringList log;
    bar.OnScroll = [&](TObject *, TScrollCode code, int &pos) {
        log << QStringLiteral("scroll %1 %2").arg(int(code)).arg(pos);
    };
    bar.OnChange = [&](TObject *) { log << QStringLiteral("change %1").arg(bar.Position()); };

    bar.SetPosition(-4);
    EXPECT_TRUE(log.isEmpty());
    bar.SetPosition(99);
    EXPECT_EQ(bar.Position(), 15);
    EXPECT_EQ(log, QStringList({"scroll 8 15", "change 15"}));

    log.clear();
    bar.OnScroll = [](TObject *, TScrollCode, int &pos) { pos = 15; };
    bar.SetPositionEx(3, scLineUp);
    EXPECT_EQ(bar.Position(), 15);
    EXPECT_TRUE(log.isEmpty());

    bar.OnScroll = [](TObject *, TScrollCode, int &pos) { pos = -100; };
    bar.SetPositionEx(3, scLineUp);
    EXPECT_EQ(bar.Position(), 0);
}

TEST(GridScrollBar, BarInfoUsesTheTenThousandScale)
{
    auto barPtr = makeBar(0, 40, 1, 10);
    TGridScrollBar &bar = *barPtr;
    bar.SetPosition(10);
    TScrollInfo info = bar.BarInfo();
    EXPECT_EQ(info.Min, 0);
    EXPECT_EQ(info.Max, 10000);
    EXPECT_EQ(info.Page, 2500);
    EXPECT_EQ(info.Pos, 2500);

    bar.SetVisible(false);
    EXPECT_EQ(bar.BarInfo().Max, 0);
    bar.SetVisible(true);

    bar.SetParams(0, 10, 1, 10);
    info = bar.BarInfo();
    EXPECT_EQ(info.Max, 0);
    EXPECT_EQ(info.Page, 10000);

    bar.SetParams(0, 0, 0, 0);
    info = bar.BarInfo();
    EXPECT_EQ(info.Max, 0);
    EXPECT_EQ(info.Page, 0);
    EXPECT_EQ(info.Pos, 0);
}

TEST(GridScrollBar, ScrollMessagesMoveByStepsAndThumb)
{
    auto barPtr = makeBar(0, 10, 1, 3);
    TGridScrollBar &bar = *barPtr;
    bar.ScrollMessage(scPosition, 5000);
    EXPECT_EQ(bar.Position(), 5);
    bar.ScrollMessage(scLineDown, 0);
    EXPECT_EQ(bar.Position(), 6);
    bar.ScrollMessage(scPageUp, 0);
    EXPECT_EQ(bar.Position(), 3);
    bar.ScrollMessage(scBottom, 0);
    EXPECT_EQ(bar.Position(), 3);
    bar.ScrollMessage(scPageDown, 0);
    bar.ScrollMessage(scPageDown, 0);
    EXPECT_EQ(bar.Position(), 7);

    bar.SetTracking(false);
    bar.ScrollMessage(scTrack, 0);
    EXPECT_EQ(bar.Position(), 7);
    bar.ScrollMessage(scPosition, 0);
    EXPECT_EQ(bar.Position(), 0);
    bar.SetTracking(true);
    bar.ScrollMessage(scTrack, 2000);
    EXPECT_EQ(bar.Position(), 2);
}

TEST(GridScrollBar, AssignCopiesParametersAndFlags)
{
    auto sourcePtr = makeBar(2, 30, 4, 6);
    TGridScrollBar &source = *sourcePtr;
    source.SetPosition(9);
    source.SetTracking(false);
    source.SetVisible(false);
    TGridScrollBar copy(nullptr, sbHorizontal);
    copy.Assign(&source);
    EXPECT_EQ(copy.Min(), 2);
    EXPECT_EQ(copy.Max(), 30);
    EXPECT_EQ(copy.LineStep(), 4);
    EXPECT_EQ(copy.PageStep(), 6);
    EXPECT_EQ(copy.Position(), 9);
    EXPECT_FALSE(copy.Tracking());
    EXPECT_FALSE(copy.Visible());
}
