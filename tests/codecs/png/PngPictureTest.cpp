// The picture object: drawing, assigning, resizing, pixel access, and the
// picture loader's PNG hook.

#include "PngTestSupport.h"

#include "common/TestSupport.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Icon.h"
#include "toolkit/graphics/Picture.h"

#include <gtest/gtest.h>

namespace {

std::unique_ptr<TPNGObject> suiteImage(const QString &name)
{
    TFileStream file(PngSuiteDir() + QStringLiteral("/png/%1.png").arg(name), fmOpenRead);
    auto png = std::make_unique<TPNGObject>();
    png->LoadFromStream(&file);
    return png;
}

// A red and a blue pixel in a palette.
QImage redAndBlue()
{
    QImage indexed(2, 1, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(255, 0, 0), qRgb(0, 0, 255)});
    indexed.scanLine(0)[0] = 0;
    indexed.scanLine(0)[1] = 1;
    return indexed;
}

} // namespace

TEST(PngPictureTest, EmptyPicture)
{
    TPNGObject png;
    EXPECT_TRUE(png.Empty());
    EXPECT_EQ(png.Width(), 0);
    EXPECT_EQ(png.Height(), 0);
    EXPECT_THROW(png.Palette(), EPNGHeaderNotPresent);
    EXPECT_EQ(PngDrawnOnWhite(png, Rect(0, 0, 4, 4), 4, 4).pixel(1, 1), qRgb(255, 255, 255));
}

TEST(PngPictureTest, DrawsWithBitAndPartialTransparency)
{
    TPNGObject png;
    png.AssignHandle(redAndBlue(), true, clRed);
    EXPECT_EQ(png.TransparencyMode(), ptmBit);
    QImage drawn = PngDrawnOnWhite(png, Rect(0, 0, 2, 1), 2, 1);
    EXPECT_EQ(drawn.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(drawn.pixel(1, 0), qRgb(0, 0, 255));

    const auto rgba = suiteImage(QStringLiteral("basn6a08"));
    EXPECT_EQ(rgba->TransparencyMode(), ptmPartial);
    drawn = PngDrawnOnWhite(*rgba, Rect(0, 0, 64, 64), 64, 64);
    const QRgb source = rgba->Image().pixel(5, 5);
    const int a = qAlpha(source);
    EXPECT_NEAR(qRed(drawn.pixel(10, 10)), (qRed(source) * a + 255 * (255 - a)) / 255, 2);
    // Twice the size: each source pixel fills a 2 x 2 block.
    for (int y = 0; y < 64; y += 2)
        for (int x = 0; x < 64; x += 2) {
            ASSERT_EQ(drawn.pixel(x, y), drawn.pixel(x + 1, y + 1));
            ASSERT_EQ(drawn.pixel(x + 1, y), drawn.pixel(x, y + 1));
        }
}

TEST(PngPictureTest, AssignFromBitmapsGivesTheChunkSequences)
{
    TBitmap rgb;
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(qRgb(1, 2, 3));
    rgb.SetImage(image);
    TPNGObject png;
    png.Assign(&rgb);
    EXPECT_EQ(PngChunkNames(PngBytes(png)), QList<QByteArray>({"IHDR", "IDAT", "IEND"}));
    EXPECT_EQ(png.Header()->ColorType, 2);
    EXPECT_EQ(png.Header()->BitDepth, 8);
    EXPECT_EQ(png.Pixels(2, 1), TColor(0x030201));

    QImage indexed(4, 4, QImage::Format_Indexed8);
    QList<QRgb> colors;
    for (int i = 0; i < 200; ++i)
        colors.append(qRgb(i, i, 0));
    indexed.setColorTable(colors);
    indexed.fill(7);
    TBitmap paletted;
    paletted.SetImage(indexed);
    png.Assign(&paletted);
    const QByteArray bytes = PngBytes(png);
    EXPECT_EQ(PngChunkNames(bytes), QList<QByteArray>({"IHDR", "PLTE", "IDAT", "IEND"}));
    EXPECT_EQ(PngChunkSizes(bytes, "PLTE"), QList<quint32>({768}));
    EXPECT_EQ(png.Header()->ColorType, 3);

    // A transparent colour the palette does not hold makes no tRNS.
    png.AssignHandle(indexed, true, clBlue);
    EXPECT_EQ(PngChunkNames(PngBytes(png)), QList<QByteArray>({"IHDR", "PLTE", "IDAT", "IEND"}));
    png.AssignHandle(indexed, true, TColor(0x000707));
    EXPECT_EQ(PngChunkNames(PngBytes(png)), QList<QByteArray>({"IHDR", "PLTE", "tRNS", "IDAT", "IEND"}));

    TPNGObject copy;
    copy.Assign(&png);
    EXPECT_EQ(PngBytes(copy), PngBytes(png));
}

TEST(PngPictureTest, ResizeKeepsTheCommonPart)
{
    auto png = suiteImage(QStringLiteral("basn6a08"));
    const QRgb corner = png->Image().pixel(3, 3);
    EXPECT_THROW(png->SetWidth(0), EPNGInvalidNewSize);
    EXPECT_THROW(png->Resize(65535, 65535), EPNGOutMemory);
    EXPECT_EQ(png->Width(), 32);
    EXPECT_EQ(png->Image().pixel(3, 3), corner);
    png->Resize(40, 10);
    EXPECT_EQ(png->Width(), 40);
    EXPECT_EQ(png->Height(), 10);
    EXPECT_EQ(png->Image().pixel(3, 3), corner);
    EXPECT_EQ(png->Image().pixel(39, 9), qRgba(0, 0, 0, 255));
    EXPECT_EQ(PngFromBytes(PngBytes(*png))->Image(), png->Image());
}

TEST(PngPictureTest, PixelAccessPerColourType)
{
    const auto gray2 = suiteImage(QStringLiteral("basn0g02"));
    // The four grey levels 0, 85, 170, 255 through the file's gamma.
    const int level1 = gray2->GammaTable[85];
    EXPECT_EQ(gray2->Pixels(0, 0), TColor(0));
    EXPECT_EQ(gray2->Pixels(4, 0), TColor(level1 | level1 << 8 | level1 << 16));
    EXPECT_EQ(gray2->Pixels(12, 0), TColor(0xFFFFFF));
    gray2->SetPixels(0, 0, gray2->Pixels(4, 0));
    EXPECT_EQ(gray2->Pixels(0, 0), gray2->Pixels(4, 0));
    EXPECT_EQ(gray2->Header()->Image.pixelIndex(0, 0), 1);
    EXPECT_EQ(gray2->Pixels(-1, 0), TColor(0));

    const auto rgb = suiteImage(QStringLiteral("basn2c16"));
    rgb->SetPixels(1, 2, TColor(0x123456));
    EXPECT_EQ(rgb->Pixels(1, 2), TColor(0x123456));
    const auto copy = PngFromBytes(PngBytes(*rgb));
    EXPECT_EQ(copy->Pixels(1, 2), TColor(0x123456));

    const auto palette = suiteImage(QStringLiteral("basn3p08"));
    const TColor color = palette->Pixels(7, 7);
    palette->SetPixels(0, 0, color);
    EXPECT_EQ(palette->Pixels(0, 0), color);

    const auto grayAlpha = suiteImage(QStringLiteral("basn4a08"));
    grayAlpha->SetPixels(2, 2, TColor(0x404040));
    EXPECT_EQ(grayAlpha->Pixels(2, 2), TColor(0x404040));
}

TEST(PngPictureTest, PictureLoaderRecognisesPngData)
{
    TFileStream file(PngSuiteDir() + QStringLiteral("/png/basn2c08.png"), fmOpenRead);
    TPicture picture;
    picture.LoadFromStream(&file);
    ASSERT_NE(qobject_cast<TPNGObject *>(picture.Graphic()), nullptr);
    EXPECT_EQ(picture.Width(), 32);
    TPicture copy;
    copy.Assign(&picture);
    EXPECT_EQ(qobject_cast<TPNGObject *>(copy.Graphic())->Image(), qobject_cast<TPNGObject *>(picture.Graphic())->Image());
    picture.LoadFromFile(PngSuiteDir() + QStringLiteral("/png/basn3p04.png"));
    EXPECT_EQ(picture.Height(), 32);
}

// A copy shares the pixels and the picture as drawn, also where drawing
// makes a picture of its own (gamma, a transparent colour, a palette with
// transparency); changing one leaves the other as it was.
TEST(PngPictureTest, ACopySharesThePixelsUntilOneChanges)
{
    for (const char *name : {"basn6a08", "g03n2c08", "g03n3p04", "tbbn3p08", "tbrn2c08"}) {
        const auto png = suiteImage(QString::fromLatin1(name));
        TPNGObject copy;
        copy.Assign(png.get());
        EXPECT_EQ(copy.Image().constBits(), png->Image().constBits()) << name;
        EXPECT_EQ(copy.Header()->Image.constBits(), png->Header()->Image.constBits()) << name;

        const QImage before = png->Image().copy();
        copy.SetPixels(1, 1, clRed);
        EXPECT_EQ(png->Image(), before) << name;
        EXPECT_NE(copy.Image(), before) << name;
    }
}

// 280 KB of zero rows that declare 9000 x 8000 pixels with alpha are
// refused from their header, naming the size.
TEST(PngPictureTest, APictureDeclaringTooManyPixelsIsRefused)
{
    TFileStream file(testDataPath(QStringLiteral("pictures/declares-9000x8000.png")), fmOpenRead);
    TPicture picture;
    try {
        picture.LoadFromStream(&file);
        ADD_FAILURE() << "the picture loaded";
    } catch (const Exception &e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("9000 x 8000"))) << e.Message().toStdString();
    }
    EXPECT_EQ(picture.Graphic(), nullptr);
}

TEST(PngPictureTest, IconsShowTheirPngImages)
{
    const auto png = suiteImage(QStringLiteral("basn6a08"));
    const QByteArray data = PngBytes(*png);
    QByteArray ico("\0\0\1\0\1\0", 6);
    QByteArray entry(16, '\0');
    qToLittleEndian<quint32>(quint32(data.size()), entry.data() + 8);
    qToLittleEndian<quint32>(22, entry.data() + 12);
    TMemoryStream stream;
    stream.WriteBuffer(ico + entry + data);
    stream.SetPosition(0);
    TIcon icon;
    icon.LoadFromStream(&stream);
    EXPECT_EQ(icon.Image().pixel(5, 7), png->Image().pixel(5, 7));
}

TEST(PngPictureTest, AssignToBitmapsKeepsPixelsAndTransparentColour)
{
    TPNGObject png;
    png.AssignHandle(redAndBlue(), true, clRed);
    TBitmap bitmap;
    bitmap.Assign(&png);
    EXPECT_EQ(bitmap.PixelFormat(), pf4bit);
    EXPECT_TRUE(bitmap.Transparent());
    EXPECT_EQ(bitmap.TransparentColor(), clRed);
    EXPECT_EQ(bitmap.Image().pixel(1, 0), qRgb(0, 0, 255));

    const auto gray1 = suiteImage(QStringLiteral("basn0g01"));
    bitmap.Assign(gray1.get());
    EXPECT_EQ(bitmap.PixelFormat(), pf1bit);
    EXPECT_FALSE(bitmap.Transparent());
    EXPECT_EQ(bitmap.Width(), 32);
    bitmap.Assign(suiteImage(QStringLiteral("basn3p08")).get());
    EXPECT_EQ(bitmap.PixelFormat(), pf8bit);

    // Partial transparency is drawn blended on white.
    const auto rgba = suiteImage(QStringLiteral("basn6a08"));
    bitmap.Assign(rgba.get());
    EXPECT_EQ(bitmap.PixelFormat(), pf24bit);
    EXPECT_EQ(bitmap.Image().pixel(0, 0) | 0xFF000000u, PngDrawnOnWhite(*rgba, Rect(0, 0, 32, 32), 32, 32).pixel(0, 0));
}
