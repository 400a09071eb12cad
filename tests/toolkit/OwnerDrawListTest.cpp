#include "toolkit/graphics/Canvas.h"
#include "toolkit/widgets/TListBox.h"

#include <QAbstractScrollArea>
#include <QImage>

#include <gtest/gtest.h>

TEST(OwnerDrawList, TheHandlerDrawsEachItemWithTheColoursOfItsState)
{
    TListBox list(nullptr);
    list.SetBounds(0, 0, 100, 80);
    list.SetItemHeight(20);
    list.Items()->SetText(QStringLiteral("one\ntwo\n"));
    list.SetItemIndex(1);

    struct Call {
        int index;
        TRect rect;
        bool selected;
    };
    QList<Call> calls;
    list.OnDrawItem = [&calls](TCustomListBox *owner, int index, const TRect &rect, TOwnerDrawState state) {
        calls.append({index, rect, state.testFlag(odSelected)});
        owner->Canvas()->FillRect(rect);
    };
    auto *view = qobject_cast<QAbstractScrollArea *>(list.Widget());
    ASSERT_NE(view, nullptr);

    // A standard list draws its items itself.
    view->grab();
    EXPECT_TRUE(calls.isEmpty());

    list.SetStyle(lbOwnerDrawFixed);
    const QImage image = view->grab().toImage();
    ASSERT_EQ(calls.size(), 2);
    EXPECT_EQ(calls[0].index, 0);
    EXPECT_EQ(calls[0].rect.Top, 0);
    EXPECT_EQ(calls[0].rect.Bottom, 20);
    EXPECT_FALSE(calls[0].selected);
    EXPECT_EQ(calls[1].rect.Top, 20);
    EXPECT_TRUE(calls[1].selected);

    const QPoint client = view->viewport()->geometry().topLeft();
    EXPECT_EQ(QColorToColor(image.pixelColor(client + QPoint(50, 10))), ColorToRGB(clWindow));
    EXPECT_EQ(QColorToColor(image.pixelColor(client + QPoint(50, 30))), ColorToRGB(clHighlight));
}
