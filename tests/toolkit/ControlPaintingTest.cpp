// What controls paint, probed pixel by pixel on the offscreen platform.

#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Picture.h"
#include "toolkit/widgets/TBitBtn.h"
#include "toolkit/widgets/TForm.h"
#include "toolkit/widgets/TImage.h"
#include "toolkit/widgets/TPanel.h"
#include "toolkit/widgets/TStaticText.h"

#include <QIcon>
#include <QImage>
#include <QPushButton>

#include <gtest/gtest.h>

#include <memory>

namespace {

TColor pixelAt(const QImage &image, int x, int y)
{
    return QColorToColor(image.pixelColor(x, y));
}

class ControlPainting : public ::testing::Test
{
protected:
    std::unique_ptr<TForm> form{NewObject<TForm>(nullptr)};

    template <class T>
    T *add(int left, int top, int width, int height)
    {
        auto *control = new T(form.get());
        control->SetParent(form.get());
        control->SetBounds(left, top, width, height);
        return control;
    }
};

TEST_F(ControlPainting, PanelBevelsAreOnePixelEach)
{
    auto *panel = add<TPanel>(0, 0, 40, 30);
    QImage image = panel->Widget()->grab().toImage();
    EXPECT_EQ(pixelAt(image, 0, 0), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(pixelAt(image, 39, 29), ColorToRGB(clBtnShadow));
    EXPECT_EQ(pixelAt(image, 1, 1), ColorToRGB(clBtnFace));

    panel->SetBevelOuter(bvLowered);
    panel->SetBevelInner(bvRaised);
    image = panel->Widget()->grab().toImage();
    EXPECT_EQ(pixelAt(image, 0, 0), ColorToRGB(clBtnShadow));
    EXPECT_EQ(pixelAt(image, 1, 1), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(pixelAt(image, 38, 28), ColorToRGB(clBtnShadow));
    EXPECT_EQ(pixelAt(image, 39, 29), ColorToRGB(clBtnHighlight));
}

TEST_F(ControlPainting, StaticTextIsSunkenByOnePixel)
{
    form->SetColor(clWhite);
    auto *text = add<TStaticText>(0, 0, 60, 24);
    EXPECT_EQ(text->ClientRect(), Rect(0, 0, 58, 22));
    const QImage image = text->Widget()->grab().toImage();
    EXPECT_EQ(pixelAt(image, 0, 0), ColorToRGB(clBtnShadow));
    EXPECT_EQ(pixelAt(image, 59, 23), ColorToRGB(clBtnHighlight));
    // The client takes the parent's colour.
    EXPECT_EQ(pixelAt(image, 57, 21), clWhite);
}

TEST_F(ControlPainting, FormOnPaintDrawsOnItsClientCanvas)
{
    form->SetBorderWidth(4);
    form->SetClientWidth(50);
    form->SetClientHeight(40);
    form->OnPaint = [&](TObject *) {
        form->Canvas()->Brush()->SetColor(clBlue);
        form->Canvas()->FillRect(Rect(0, 0, 5, 5));
    };
    const QImage image = form->Widget()->grab().toImage();
    EXPECT_EQ(pixelAt(image, 4, 4), clBlue);
    EXPECT_EQ(pixelAt(image, 8, 8), clBlue);
    EXPECT_EQ(pixelAt(image, 9, 9), ColorToRGB(clBtnFace));
    EXPECT_EQ(pixelAt(image, 2, 2), ColorToRGB(clBtnFace));
}

TEST_F(ControlPainting, ImageDrawsItsPicturePlainCentredOrStretched)
{
    auto *image = add<TImage>(0, 0, 20, 20);
    TBitmap bitmap;
    bitmap.SetSize(4, 4);
    bitmap.Canvas()->Brush()->SetColor(clRed);
    bitmap.Canvas()->FillRect(Rect(0, 0, 4, 4));
    image->Picture()->SetGraphic(&bitmap);

    QImage shot = image->Widget()->grab().toImage();
    EXPECT_EQ(pixelAt(shot, 3, 3), clRed);
    EXPECT_NE(pixelAt(shot, 4, 4), clRed);
    image->SetCenter(true);
    shot = image->Widget()->grab().toImage();
    EXPECT_NE(pixelAt(shot, 0, 0), clRed);
    EXPECT_EQ(pixelAt(shot, 8, 8), clRed);
    EXPECT_EQ(pixelAt(shot, 11, 11), clRed);
    image->SetStretch(true);
    shot = image->Widget()->grab().toImage();
    EXPECT_EQ(pixelAt(shot, 0, 0), clRed);
    EXPECT_EQ(pixelAt(shot, 19, 19), clRed);
}

TEST_F(ControlPainting, BitBtnGlyphLeavesItsTransparentColourOut)
{
    auto *button = add<TBitBtn>(0, 0, 121, 25);
    TBitmap glyph;
    glyph.SetSize(4, 4);
    glyph.Canvas()->Brush()->SetColor(clFuchsia);
    glyph.Canvas()->FillRect(Rect(0, 0, 4, 4));
    glyph.Canvas()->Brush()->SetColor(clGreen);
    glyph.Canvas()->FillRect(Rect(1, 1, 3, 3));
    button->SetGlyph(&glyph);
    ASSERT_NE(button->Glyph(), nullptr);

    const QImage icon =
        static_cast<QPushButton *>(button->Widget())->icon().pixmap(QSize(4, 4)).toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(icon.size(), QSize(4, 4));
    EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(icon.pixel(1, 1)), 255);
    EXPECT_EQ(QColorToColor(icon.pixelColor(2, 2)), clGreen);

    button->SetGlyph(nullptr);
    EXPECT_TRUE(static_cast<QPushButton *>(button->Widget())->icon().isNull());
}

} // namespace
