#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/graphics/JPEGImage.h"
#include "toolkit/graphics/Picture.h"
#include "toolkit/classes/Streams.h"

#include "common/TestSupport.h"

#include <QFile>
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

QByteArray pictureFile(const char *name)
{
    QFile file(testDataPath(QStringLiteral("pictures/") + QLatin1String(name)));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}

// A red square of that side with the graphic stretched over it.
QImage drawnOnRed(const TGraphic *graphic, int side)
{
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::red);
    TCanvas canvas;
    canvas.SetDevice(&image);
    canvas.StretchDraw(Rect(0, 0, side, side), graphic);
    canvas.ReleaseHandle();
    return image;
}

TJPEGImage *loadedJpeg(TPicture &picture, const QByteArray &bytes)
{
    TMemoryStream stream;
    stream.WriteBuffer(bytes);
    stream.SetPosition(0);
    picture.LoadFromStream(&stream);
    return qobject_cast<TJPEGImage *>(picture.Graphic());
}

// 141 bytes that declare 5494 x 38144 pixels are refused from their header,
// naming the size, before anything is decoded.
TEST(JPEGImage, APictureDeclaringTooManyPixelsIsRefused)
{
    const QByteArray bomb = pictureFile("declares-5494x38144.jpg");
    EXPECT_EQ(JpegSize(bomb), QSize(5494, 38144));
    TPicture picture;
    try {
        loadedJpeg(picture, bomb);
        ADD_FAILURE() << "the picture loaded";
    } catch (const EInvalidGraphic &e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("5494 x 38144"))) << e.Message().toStdString();
    }
    EXPECT_EQ(picture.Graphic(), nullptr);
    EXPECT_THROW(DecodeJpeg(bomb, 10, 10), EInvalidGraphic);
}

// A picture is decoded at the smallest eighth of its size that fills the
// place it is drawn in.
TEST(JPEGImage, DecodesAtTheSizeDrawn)
{
    const QByteArray grey = pictureFile("grey-2048x2048.jpg");
    EXPECT_EQ(DecodeJpeg(grey, 100, 100).size(), QSize(256, 256));
    EXPECT_EQ(DecodeJpeg(grey, 300, 100).size(), QSize(512, 512));
    EXPECT_EQ(DecodeJpeg(grey, 1500, 10).size(), QSize(1536, 1536));
    EXPECT_EQ(DecodeJpeg(grey, 1900, 10).size(), QSize(2048, 2048));

    TPicture picture;
    TJPEGImage *jpeg = loadedJpeg(picture, grey);
    ASSERT_NE(jpeg, nullptr);
    EXPECT_EQ(jpeg->Width(), 2048);
    EXPECT_EQ(jpeg->Height(), 2048);
    expectClose(drawnOnRed(jpeg, 40).pixel(20, 20), qRgb(128, 128, 128));
}

// Bytes that start as a JPEG picture load as one, keep their bytes, have
// no size and draw nothing, and say why.
TEST(JPEGImage, BytesThatDoNotDecodeLoadAsAPictureThatCannotBeDrawn)
{
    const QByteArray bytes("\xFF\xD8", 2);
    TPicture picture;
    TJPEGImage *jpeg = loadedJpeg(picture, bytes);
    ASSERT_NE(jpeg, nullptr);
    EXPECT_FALSE(jpeg->Empty());
    EXPECT_EQ(picture.Width(), 0);
    EXPECT_EQ(picture.Height(), 0);
    EXPECT_FALSE(jpeg->ErrorText().isEmpty());
    TMemoryStream saved;
    picture.SaveToStream(&saved);
    EXPECT_EQ(saved.Bytes(), bytes);

    EXPECT_EQ(drawnOnRed(jpeg, 8).pixel(4, 4), qRgb(255, 0, 0));

    TBitmap bitmap;
    bitmap.Assign(jpeg);
    EXPECT_TRUE(bitmap.Empty());

    jpeg->Assign(nullptr);
    EXPECT_TRUE(jpeg->Empty());
    EXPECT_TRUE(jpeg->ErrorText().isEmpty());
}

} // namespace
