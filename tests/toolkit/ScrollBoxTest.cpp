// Scroll boxes: ranges that follow the children, scrolling that moves them,
// and the user's actions on the bars.

#include "toolkit/widgets/TCustomEdit.h"
#include "toolkit/widgets/TForm.h"
#include "toolkit/widgets/TScrollBox.h"

#include <QScrollBar>

#include <gtest/gtest.h>

#include <memory>

namespace {

class ScrollBox : public ::testing::Test
{
protected:
    ScrollBox()
    {
        box = new TScrollBox(form.get());
        box->SetParent(form.get());
        box->SetBorderStyle(bsNone);
        box->SetBounds(0, 0, 200, 100);
    }

    TEdit *child(int left, int top, int width, int height)
    {
        auto *edit = new TEdit(form.get());
        edit->SetParent(box);
        edit->SetBounds(left, top, width, height);
        return edit;
    }

    QScrollBar *qtBar(Qt::Orientation orientation) const
    {
        for (QScrollBar *bar : box->Widget()->findChildren<QScrollBar *>())
            if (bar->orientation() == orientation)
                return bar;
        return nullptr;
    }

    std::unique_ptr<TForm> form{NewObject<TForm>(nullptr)};
    TScrollBox *box;
};

TEST_F(ScrollBox, RangesFollowTheChildrenAndScrollingMovesThem)
{
    EXPECT_FALSE(box->VertScrollBar()->IsScrollBarVisible());
    TEdit *low = child(10, 150, 50, 30);
    TControlScrollBar *vert = box->VertScrollBar();
    EXPECT_EQ(vert->Range(), 180);
    EXPECT_TRUE(vert->IsScrollBarVisible());
    EXPECT_EQ(box->HorzScrollBar()->Range(), 60);
    EXPECT_FALSE(box->HorzScrollBar()->IsScrollBarVisible());
    EXPECT_EQ(box->ClientHeight(), 100);
    EXPECT_LT(box->ClientWidth(), 200); // the vertical bar takes its width

    vert->SetPosition(50);
    EXPECT_EQ(low->Top(), 100);
    vert->SetPosition(1000);
    EXPECT_EQ(vert->Position(), 80); // Range less the client height
    EXPECT_EQ(low->Top(), 70);
    // A child added while scrolled extends the range from where it stands.
    TEdit *wide = child(0, 0, 400, 20);
    EXPECT_EQ(vert->Range(), 180);
    EXPECT_EQ(box->HorzScrollBar()->Range(), 400);
    EXPECT_TRUE(box->HorzScrollBar()->IsScrollBarVisible());
    EXPECT_LT(box->ClientHeight(), 100);
    EXPECT_EQ(vert->Position(), 80);

    box->HorzScrollBar()->SetPosition(30);
    EXPECT_EQ(wide->Left(), -30);
    EXPECT_EQ(low->Left(), -20);

    // Once everything fits, the contents go back to their places.
    delete wide;
    box->SetBounds(0, 0, 300, 300);
    EXPECT_FALSE(vert->IsScrollBarVisible());
    EXPECT_EQ(vert->Position(), 0);
    EXPECT_EQ(box->HorzScrollBar()->Position(), 0);
    EXPECT_EQ(low->Top(), 150);
    EXPECT_EQ(low->Left(), 10);
}

TEST_F(ScrollBox, TheUsersActionsMoveByLinesAndPages)
{
    TEdit *low = child(0, 480, 20, 20);
    QScrollBar *bar = qtBar(Qt::Vertical);
    ASSERT_TRUE(bar);
    EXPECT_TRUE(bar->isVisibleTo(box->Widget()));
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(box->VertScrollBar()->Position(), 8);
    EXPECT_EQ(low->Top(), 472);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(box->VertScrollBar()->Position(), 108);
    EXPECT_EQ(bar->value(), 108);
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(box->VertScrollBar()->Position(), 400);
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(box->VertScrollBar()->Position(), 0);
    EXPECT_EQ(low->Top(), 480);
}

TEST_F(ScrollBox, AGivenRangeTurnsAutoScrollOff)
{
    child(0, 0, 20, 20);
    box->VertScrollBar()->SetRange(1000);
    EXPECT_FALSE(box->AutoScroll());
    child(0, 2000, 20, 20);
    EXPECT_EQ(box->VertScrollBar()->Range(), 1000);
    box->VertScrollBar()->SetVisible(false);
    EXPECT_FALSE(box->VertScrollBar()->IsScrollBarVisible());
    box->VertScrollBar()->SetPosition(50);
    EXPECT_EQ(box->VertScrollBar()->Position(), 0);
}

} // namespace
