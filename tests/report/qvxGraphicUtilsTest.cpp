#include "report/base/qvxGraphicUtils.h"

#include "common/TestSupport.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/ImageList.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

// Four 2 x 2 cells in two rows; the bottom-left pixel (transparent colour)
// is white, and one pixel of each cell is coloured.
TBitmap *cellSheet()
{
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setPixel(0, 0, qRgb(30, 60, 90));
    image.setPixel(2, 0, qRgb(255, 255, 255));
    image.setPixel(0, 2, qRgb(0, 0, 0));
    image.setPixel(2, 2, qRgb(200, 100, 0));
    auto *bitmap = new TBitmap;
    bitmap->SetImage(image);
    return bitmap;
}

TBitmap *canvasOf(int width, int height, TColor color)
{
    auto *bitmap = new TBitmap;
    bitmap->SetSize(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap->Canvas()->SetPixel(x, y, color);
    return bitmap;
}

} // namespace

TEST(qvxCreateImages, CutsCellsAndGreysTheDisabledCopies)
{
    std::unique_ptr<TBitmap> sheet(cellSheet());
    TImageList list;
    TImageList disabled;
    list.SetSize(2, 2);
    disabled.SetSize(2, 2);
    qvxCreateImages(sheet.get(), 2, 2, &disabled, &list);
    ASSERT_EQ(list.Count(), 4);
    ASSERT_EQ(disabled.Count(), 4);

    std::unique_ptr<TBitmap> target(canvasOf(2, 2, clBlue));
    list.Draw(target->Canvas(), 0, 0, 3);
    EXPECT_EQ(target->Canvas()->Pixel(0, 0), TColor(0x0064C8));
    EXPECT_EQ(target->Canvas()->Pixel(1, 1), clBlue);

    disabled.Draw(target->Canvas(), 0, 0, 0);
    // (30 + 60 + 90) / 3 / 3 + 150 = 170.
    EXPECT_EQ(target->Canvas()->Pixel(0, 0), TColor(0xAAAAAA));
    EXPECT_EQ(target->Canvas()->Pixel(1, 1), clBlue);
    disabled.Draw(target->Canvas(), 0, 0, 2);
    EXPECT_EQ(target->Canvas()->Pixel(0, 0), TColor(0x969696));
}

TEST(qvxDrawTransparent, LeavesTheTransparentColourOut)
{
    std::unique_ptr<TBitmap> sheet(cellSheet());
    std::unique_ptr<TBitmap> target(canvasOf(6, 6, clRed));
    qvxDrawTransparent(target->Canvas(), 1, 1, sheet.get());
    qvxDrawTransparent(target->Canvas(), 1, 1, nullptr);
    EXPECT_EQ(target->Canvas()->Pixel(1, 1), TColor(0x5A3C1E));
    EXPECT_EQ(target->Canvas()->Pixel(2, 2), clRed);
    EXPECT_EQ(target->Canvas()->Pixel(1, 3), TColor(0x000000));
}

TEST(qvxDrawGraphic, StretchesBitmapsIntoTheRectangle)
{
    QImage image(2, 1, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(255, 0, 0));
    image.setPixel(1, 0, qRgb(255, 255, 255));
    TBitmap picture;
    picture.SetImage(image);

    std::unique_ptr<TBitmap> target(canvasOf(8, 4, clGreen));
    qvxDrawGraphic(target->Canvas(), Rect(0, 0, 8, 4), &picture, true, clWhite);
    EXPECT_EQ(target->Canvas()->Pixel(1, 2), clRed);
    EXPECT_EQ(target->Canvas()->Pixel(6, 2), clGreen);

    qvxDrawGraphic(target->Canvas(), Rect(0, 0, 8, 4), &picture, false, clNone);
    EXPECT_EQ(target->Canvas()->Pixel(0, 0), clRed);
    EXPECT_EQ(target->Canvas()->Pixel(7, 3), clWhite);
}
