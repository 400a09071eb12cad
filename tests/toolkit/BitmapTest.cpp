#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/BitmapLimits.h"
#include "toolkit/graphics/BmpCodec.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/classes/Streams.h"

#include "common/TestSupport.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace {

// A 5 x 3 picture with a distinct colour in every corner.
TBitmap *newCornerBitmap()
{
    auto *bitmap = new TBitmap;
    bitmap->SetSize(5, 3);
    TCanvas *canvas = bitmap->Canvas();
    canvas->Brush()->SetColor(clWhite);
    canvas->FillRect(Rect(0, 0, 5, 3));
    canvas->SetPixel(0, 0, clRed);
    canvas->SetPixel(4, 0, clLime);
    canvas->SetPixel(0, 2, clBlue);
    canvas->SetPixel(4, 2, clBlack);
    canvas->ReleaseHandle();
    return bitmap;
}

TColor pixelOf(const TBitmap &bitmap, int x, int y)
{
    return QColorToColor(bitmap.Image().pixelColor(x, y));
}

void expectInvalid(const QByteArray &data)
{
    try {
        ReadBmp(data);
        ADD_FAILURE() << "accepted invalid bitmap data";
    } catch (const EInvalidGraphic &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Bitmap image is not valid"));
    }
}

TEST(BitmapFormat, RoundTripsAtEveryWrittenDepth)
{
    for (TPixelFormat format : {pf24bit, pf32bit, pf8bit, pf1bit}) {
        SCOPED_TRACE(int(format));
        std::unique_ptr<TBitmap> bitmap(newCornerBitmap());
        bitmap->SetPixelFormat(format);
        TMemoryStream stream;
        bitmap->SaveToStream(&stream);
        stream.SetPosition(0);
        TBitmap loaded;
        loaded.LoadFromStream(&stream);
        EXPECT_EQ(loaded.PixelFormat(), format);
        ASSERT_EQ(loaded.Width(), 5);
        ASSERT_EQ(loaded.Height(), 3);
        EXPECT_EQ(pixelOf(loaded, 4, 2), clBlack);
        EXPECT_EQ(pixelOf(loaded, 2, 1), clWhite);
        if (format != pf1bit) {
            EXPECT_EQ(pixelOf(loaded, 0, 0), clRed);
            EXPECT_EQ(pixelOf(loaded, 4, 0), clLime);
            EXPECT_EQ(pixelOf(loaded, 0, 2), clBlue);
        }
    }
}

TEST(BitmapFormat, MonochromeBitmapsHaveTwoColoursAndOneBitRows)
{
    std::unique_ptr<TBitmap> bitmap(newCornerBitmap());
    bitmap->SetMonochrome(true);
    EXPECT_TRUE(bitmap->Monochrome());
    TMemoryStream stream;
    bitmap->SaveToStream(&stream);
    const QByteArray &bytes = stream.Bytes();
    EXPECT_EQ(qFromLittleEndian<quint16>(bytes.constData() + 28), 1);    // bits per pixel
    EXPECT_EQ(qFromLittleEndian<quint32>(bytes.constData() + 46), 2u);   // palette entries
    EXPECT_EQ(bytes.size(), 14 + 40 + 2 * 4 + 3 * 4);                    // rows padded to 4 bytes
}

TEST(BitmapFormat, ReadsTopDownAndCoreHeaders)
{
    std::unique_ptr<TBitmap> bitmap(newCornerBitmap());
    TMemoryStream stream;
    bitmap->SaveToStream(&stream);
    QByteArray bytes = stream.Bytes();

    // The same pixels stored top-down.
    QByteArray topDown = bytes;
    qToLittleEndian<qint32>(-3, topDown.data() + 22);
    const int stride = 16;
    for (int row = 0; row < 3; ++row)
        std::copy_n(bytes.constData() + 54 + (2 - row) * stride, stride, topDown.data() + 54 + row * stride);
    const QImage image = ReadBmp(topDown).Image;
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(0, 2), QColor(Qt::blue));

    // A 2 x 1, 8-bit bitmap with the 12-byte core header and 3-byte palette.
    QByteArray core("BM\0\0\0\0\0\0\0\0\0\0\0\0", 14);
    qToLittleEndian<quint32>(14 + 12 + 2 * 3, core.data() + 10);
    QByteArray info(12, '\0');
    qToLittleEndian<quint32>(12, info.data());
    qToLittleEndian<quint16>(2, info.data() + 4);
    qToLittleEndian<quint16>(1, info.data() + 6);
    qToLittleEndian<quint16>(1, info.data() + 8);
    qToLittleEndian<quint16>(1, info.data() + 10);
    core += info;
    core += QByteArray("\x00\x00\xFF" "\xFF\x00\x00", 6); // red, blue
    core += QByteArray("\x40\x00\x00\x00", 4);            // pixels 0, 1
    const TBmpImage read = ReadBmp(core);
    EXPECT_EQ(read.BitsPerPixel, 1);
    EXPECT_EQ(read.Image.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(read.Image.pixelColor(1, 0), QColor(Qt::blue));
}

TEST(BitmapFormat, MalformedDataIsRejected)
{
    std::unique_ptr<TBitmap> bitmap(newCornerBitmap());
    TMemoryStream stream;
    bitmap->SaveToStream(&stream);
    const QByteArray good = stream.Bytes();

    expectInvalid(QByteArray("\x89PNG\r\n\x1A\n", 8));
    expectInvalid(good.left(good.size() - 1)); // truncated pixels
    expectInvalid(good.left(20));              // truncated header
    QByteArray hugeWidth = good;
    qToLittleEndian<qint32>(0x7FFFFFFF, hugeWidth.data() + 18);
    expectInvalid(hugeWidth);
    QByteArray badOffset = good;
    qToLittleEndian<quint32>(0xFFFFFFF0u, badOffset.data() + 10);
    expectInvalid(badOffset);
    QByteArray rle = good;
    qToLittleEndian<quint32>(1, rle.data() + 30);
    expectInvalid(rle);
    QByteArray zeroDepth = good;
    qToLittleEndian<quint16>(0, zeroDepth.data() + 28);
    expectInvalid(zeroDepth);
}

TEST(Bitmap, ResizingKeepsPixelsAndReattachesTheCanvas)
{
    TBitmap bitmap;
    bitmap.SetSize(4, 4);
    TCanvas *canvas = bitmap.Canvas();
    canvas->Brush()->SetColor(clRed);
    canvas->FillRect(Rect(0, 0, 4, 4));
    bitmap.SetSize(8, 6);
    EXPECT_EQ(pixelOf(bitmap, 3, 3), clRed);
    EXPECT_EQ(pixelOf(bitmap, 7, 5), clWhite);
    canvas->FillRect(Rect(6, 4, 8, 6));
    canvas->ReleaseHandle();
    EXPECT_EQ(pixelOf(bitmap, 7, 5), clRed);

    bitmap.SetTransparentColor(clLime);
    EXPECT_EQ(bitmap.TransparentColor(), clLime);
    // Refused by the cap before any allocation.
    EXPECT_THROW(bitmap.SetSize(1 << 20, 1 << 20), EInvalidGraphicOperation);
    EXPECT_THROW(bitmap.SetSize(int(MaxBitmapSide) + 1, 1), EInvalidGraphicOperation);
    EXPECT_THROW(bitmap.SetSize(int(MaxBitmapSide), int(MaxBitmapPixels / MaxBitmapSide) + 1), EInvalidGraphicOperation);
    EXPECT_TRUE(BitmapSizeAllowed(MaxBitmapSide, MaxBitmapPixels / MaxBitmapSide));
    EXPECT_FALSE(BitmapSizeAllowed(0, 5));
    EXPECT_EQ(bitmap.Width(), 8); // a failed resize keeps the pixels
    bitmap.SetTransparentColor(clDefault);
    EXPECT_EQ(bitmap.TransparentColor(), clWhite); // the bottom-left pixel again
}

TEST(Bitmap, SidesSetOneAtATimeGiveTheSize)
{
    TBitmap bitmap;
    bitmap.SetWidth(20);
    EXPECT_EQ(bitmap.Width(), 20);
    EXPECT_EQ(bitmap.Height(), 0);
    EXPECT_TRUE(bitmap.Empty());
    bitmap.SetHeight(10);
    EXPECT_FALSE(bitmap.Empty());
    EXPECT_EQ(bitmap.Image().size(), QSize(20, 10));

    // Back to one empty side and out again: the other side is remembered.
    bitmap.SetHeight(0);
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(bitmap.Width(), 20);
    bitmap.SetHeight(3);
    EXPECT_EQ(bitmap.Image().size(), QSize(20, 3));

    // A copy keeps the requested width of a bitmap with no height.
    bitmap.SetHeight(0);
    TBitmap copy;
    copy.Assign(&bitmap);
    copy.SetHeight(2);
    EXPECT_EQ(copy.Image().size(), QSize(20, 2));

    // The cap holds for a side set on its own.
    TBitmap wide;
    EXPECT_THROW(wide.SetWidth(int(MaxBitmapSide) + 1), EInvalidGraphicOperation);
    EXPECT_EQ(wide.Width(), 0);
    wide.SetWidth(int(MaxBitmapSide));
    EXPECT_THROW(wide.SetHeight(int(MaxBitmapPixels / MaxBitmapSide) + 1), EInvalidGraphicOperation);
    EXPECT_EQ(wide.Height(), 0);
    EXPECT_TRUE(wide.Empty());
}

TEST(Bitmap, AssignCopiesPixelsAndSettings)
{
    std::unique_ptr<TBitmap> source(newCornerBitmap());
    source->SetTransparent(true);
    source->SetTransparentColor(clBlue);
    TBitmap copy;
    copy.Assign(source.get());
    EXPECT_EQ(copy.Image(), source->Image());
    EXPECT_TRUE(copy.Transparent());
    EXPECT_EQ(copy.TransparentColor(), clBlue);

    copy.Assign(nullptr);
    EXPECT_TRUE(copy.Empty());
    EXPECT_EQ(copy.Width(), 0);
    EXPECT_EQ(copy.Height(), 0);
}

} // namespace
