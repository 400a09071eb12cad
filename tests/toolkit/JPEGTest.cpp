#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/graphics/JPEGImage.h"
#include "toolkit/classes/Streams.h"

#include "common/TestSupport.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

// Four flat colour quarters: JPEG keeps flat areas close to their colour.
QImage quarters()
{
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            image.setPixel(x, y, x < 32 ? (y < 24 ? qRgb(200, 30, 30) : qRgb(30, 30, 200))
                                        : (y < 24 ? qRgb(30, 160, 30) : qRgb(240, 240, 240)));
    return image;
}

void expectClose(QRgb actual, QRgb expected)
{
    EXPECT_NEAR(qRed(actual), qRed(expected), 8);
    EXPECT_NEAR(qGreen(actual), qGreen(expected), 8);
    EXPECT_NEAR(qBlue(actual), qBlue(expected), 8);
}

TEST(JPEG, EncodeDecodeRoundTrip)
{
    const QImage source = quarters();
    const QByteArray data = EncodeJpeg(source, 90);
    ASSERT_GT(data.size(), 4);
    EXPECT_EQ(data.left(3), QByteArray("\xFF\xD8\xFF"));
    const QImage decoded = DecodeJpeg(data);
    ASSERT_EQ(decoded.size(), source.size());
    for (QPoint p : {QPoint(8, 8), QPoint(56, 8), QPoint(8, 40), QPoint(56, 40)})
        expectClose(decoded.pixel(p), source.pixel(p));

    EXPECT_LT(EncodeJpeg(source, 5).size(), EncodeJpeg(source, 100).size());
    EXPECT_EQ(EncodeJpeg(source, 500), EncodeJpeg(source, 100)); // quality clamps to 1..100
}

TEST(JPEG, GrayscaleWritesOneChannel)
{
    const QImage decoded = DecodeJpeg(EncodeJpeg(quarters(), 90, true));
    const QRgb pixel = decoded.pixel(8, 8);
    EXPECT_EQ(qRed(pixel), qGreen(pixel));
    EXPECT_EQ(qGreen(pixel), qBlue(pixel));
}

TEST(JPEG, MalformedDataRaisesInvalidGraphic)
{
    const QByteArray good = EncodeJpeg(quarters(), 80);
    EXPECT_THROW(DecodeJpeg(QByteArray("not a jpeg")), EInvalidGraphic);
    EXPECT_THROW(DecodeJpeg(QByteArray()), EInvalidGraphic);
    EXPECT_THROW(DecodeJpeg(good.left(good.size() / 3)), EInvalidGraphic);
}

TEST(JPEGImage, KeepsLoadedBytesAndCompressesAssignedBitmaps)
{
    const QByteArray data = EncodeJpeg(quarters(), 75);
    TMemoryStream in;
    in.WriteBuffer(data);
    in.SetPosition(0);
    TJPEGImage jpeg;
    jpeg.LoadFromStream(&in);
    EXPECT_EQ(jpeg.Width(), 64);
    EXPECT_EQ(jpeg.Height(), 48);
    TMemoryStream out;
    jpeg.SaveToStream(&out);
    EXPECT_EQ(out.Bytes(), data);
    EXPECT_THROW(jpeg.SetWidth(10), EInvalidGraphicOperation);

    TBitmap bitmap;
    bitmap.SetImage(quarters());
    TJPEGImage fromBitmap;
    fromBitmap.Assign(&bitmap);
    fromBitmap.SetCompressionQuality(95);
    TMemoryStream written;
    fromBitmap.SaveToStream(&written);
    expectClose(DecodeJpeg(written.Bytes()).pixel(56, 8), qRgb(30, 160, 30));

    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::black);
    TCanvas canvas;
    canvas.SetDevice(&image);
    canvas.Draw(0, 0, &jpeg);
    canvas.ReleaseHandle();
    expectClose(image.pixel(8, 40), qRgb(30, 30, 200));
}

} // namespace
