#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/ImageList.h"

#include "common/TestSupport.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

TEST(ImageList, CutsStripsIntoCellsAndDrawsThemMasked)
{
    // Two 2 x 2 cells side by side on a fuchsia background: a red dot in
    // the first cell, a blue one in the second.
    TBitmap strip;
    strip.SetSize(4, 2);
    strip.Canvas()->Brush()->SetColor(clFuchsia);
    strip.Canvas()->FillRect(Rect(0, 0, 4, 2));
    strip.Canvas()->SetPixel(0, 0, clRed);
    strip.Canvas()->SetPixel(3, 1, clBlue);

    TImageList images;
    images.SetSize(2, 2);
    int changes = 0;
    images.OnChange = [&](TObject *) { ++changes; };
    EXPECT_EQ(images.AddMasked(&strip, clFuchsia), 0);
    EXPECT_EQ(images.Count(), 2);
    EXPECT_GT(changes, 0);

    QImage image(6, 2, QImage::Format_RGB32);
    image.fill(Qt::white);
    TCanvas canvas;
    canvas.SetDevice(&image);
    images.Draw(&canvas, 0, 0, 0);
    images.Draw(&canvas, 2, 0, 1);
    images.Draw(&canvas, 4, 0, 1, false);
    images.Draw(&canvas, 4, 0, 7); // no such image
    canvas.ReleaseHandle();
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(1, 0), QColor(Qt::white)); // masked out
    EXPECT_EQ(image.pixelColor(3, 1), QColor(Qt::blue));
    const QColor disabled = image.pixelColor(5, 1);
    EXPECT_EQ(disabled.red(), disabled.blue()); // greyed
    EXPECT_NE(disabled, QColor(Qt::white));

    images.SetSize(16, 16);
    EXPECT_EQ(images.Count(), 0);
}

} // namespace
