// The small helpers of the grid controls: memory fill, locale-aware string
// search, the halftone pattern and the scroll-bar scale.

#include "controls/ExtGraphics.h"
#include "controls/ExtStrUtils.h"
#include "controls/ExtSystem.h"
#include "controls/TGridScrollBar.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/GraphicsObjects.h"

#include <gtest/gtest.h>

#include <array>

TEST(GridHelpers, FillDWordWritesExactlyCountValues)
{
    std::array<quint32, 4> buffer{1, 2, 3, 4};
    FillDWord(buffer.data(), 0, 0xDEADBEEF);
    EXPECT_EQ(buffer, (std::array<quint32, 4>{1, 2, 3, 4}));
    FillDWord(buffer.data(), 3, 0xDEADBEEF);
    EXPECT_EQ(buffer, (std::array<quint32, 4>{0xDEADBEEF, 0xDEADBEEF, 0xDEADBEEF, 4}));
}

TEST(GridHelpers, AnsiStrPosFoldsCyrillicCaseOnlyWhenAsked)
{
    const QString text = QString::fromUtf8("Автоматический Выключатель");
    EXPECT_EQ(AnsiStrPos(QString::fromUtf8("выкл"), text, false), 16);
    EXPECT_EQ(AnsiStrPos(QString::fromUtf8("выкл"), text, true), 0);
    EXPECT_EQ(AnsiStrPos(QString::fromUtf8("Выкл"), text, true), 16);
    EXPECT_EQ(AnsiStrPos(QString(), text, false), 0);
}

TEST(GridHelpers, AnsiCompareStringsWholeTextOrContained)
{
    const QString cell = QString::fromUtf8("Ток");
    EXPECT_TRUE(AnsiCompareStrings(QString::fromUtf8("ток"), cell, true, false));
    EXPECT_FALSE(AnsiCompareStrings(QString::fromUtf8("ток"), cell, true, true));
    EXPECT_FALSE(AnsiCompareStrings(QString::fromUtf8("То"), cell, true, false));
    EXPECT_TRUE(AnsiCompareStrings(QString::fromUtf8("То"), cell, false, true));
    EXPECT_FALSE(AnsiCompareStrings(QString(), cell, false, false));
}

TEST(GridHelpers, HalftoneIsBlackWhereParitiesMatch)
{
    const QImage &image = GetHalftoneBitmap()->Image();
    ASSERT_EQ(image.size(), QSize(8, 8));
    EXPECT_EQ(QColorToColor(image.pixelColor(0, 0)), clBlack);
    EXPECT_EQ(QColorToColor(image.pixelColor(1, 0)), clWhite);
    EXPECT_EQ(QColorToColor(image.pixelColor(1, 1)), clBlack);
    EXPECT_EQ(QColorToColor(image.pixelColor(7, 6)), clWhite);
    EXPECT_EQ(GetHalftoneBitmap(), GetHalftoneBitmap());
}

TEST(GridHelpers, MulDivRoundsHalvesAwayFromZero)
{
    EXPECT_EQ(MulDiv(5, 1, 2), 3);
    EXPECT_EQ(MulDiv(-5, 1, 2), -3);
    EXPECT_EQ(MulDiv(7, 10000, 3), 23333);
    EXPECT_EQ(MulDiv(0x7FFFFFFF, 2, 4), 0x40000000);
}

TEST(GridHelpers, ScrollScaleConversions)
{
    EXPECT_EQ(ScrollPosToBar(3, 5, 5), 0);
    EXPECT_EQ(ScrollPosToBar(5, 0, 10), 5000);
    EXPECT_EQ(BarPosToScroll(5000, 0, 10), 5);
    for (int pos = 0; pos <= 37; ++pos)
        EXPECT_EQ(BarPosToScroll(ScrollPosToBar(pos, 0, 37), 0, 37), pos);
}

namespace {

// A white 20 x 20 image with a canvas on it.
struct Surface {
    QImage image{20, 20, QImage::Format_RGB32};
    TCanvas canvas;

    Surface()
    {
        image.fill(Qt::white);
        canvas.SetDevice(&image);
    }
    ~Surface() { canvas.SetDevice(nullptr); }

    TColor at(int x, int y)
    {
        canvas.ReleaseHandle();
        return QColorToColor(image.pixelColor(x, y));
    }
};

} // namespace

TEST(GridHelpers, HalftoneRectXorsFontAndBrushColours)
{
    Surface s;
    s.canvas.Font()->SetColor(clBlack);
    s.canvas.Brush()->SetColor(0x404040);
    PaintHalftoneRect(&s.canvas, Rect(0, 0, 4, 1));
    EXPECT_EQ(s.at(0, 0), clWhite);
    EXPECT_EQ(s.at(1, 0), 0xBFBFBF);
    EXPECT_EQ(s.at(2, 0), clWhite);
    EXPECT_EQ(s.at(4, 0), clWhite);
    EXPECT_EQ(s.canvas.Brush()->Color(), 0x404040);
}

TEST(GridHelpers, DropDownArrowRowsNarrowDownward)
{
    Surface s;
    PaintDropDownButton(&s.canvas, Rect(0, 0, 17, 17), false);
    // Centre (8, 8): rows of 7, 5, 3 and 1 pixels from (5, 6) down.
    int widths[4] = {};
    for (int row = 0; row < 4; ++row)
        for (int x = 0; x < 17; ++x)
            widths[row] += s.at(x, 6 + row) == clBlack ? 1 : 0;
    EXPECT_EQ(widths[0], 7);
    EXPECT_EQ(widths[1], 5);
    EXPECT_EQ(widths[2], 3);
    EXPECT_EQ(widths[3], 1);
    EXPECT_EQ(s.at(5, 6), clBlack);
    EXPECT_EQ(s.at(8, 9), clBlack);

    Surface pressed;
    PaintDropDownButton(&pressed.canvas, Rect(0, 0, 17, 17), true);
    EXPECT_EQ(pressed.at(12, 7), clBlack);
    EXPECT_EQ(pressed.at(5, 7), ColorToRGB(clWindow)); // a flat face is window-coloured
}

TEST(GridHelpers, EllipsisDotsSitThreePixelsApart)
{
    Surface s;
    PaintEllipsisButton(&s.canvas, Rect(0, 0, 17, 17), false);
    for (int x : {4, 5, 7, 8, 10, 11})
        EXPECT_EQ(s.at(x, 7), clBlack) << x;
    EXPECT_EQ(s.at(6, 7), ColorToRGB(clBtnFace));
    EXPECT_EQ(s.at(9, 8), ColorToRGB(clBtnFace));
}
