#include "toolkit/graphics/Bitmap.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/graphics/JPEGImage.h"
#include "toolkit/graphics/Metafile.h"
#include "toolkit/graphics/Picture.h"
#include "toolkit/classes/CustomPropertyData.h"
#include "toolkit/classes/Streams.h"

#include "common/TestSupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(GraphicRegistry, LooksUpClassesByExtensionAndSignature)
{
    EXPECT_EQ(GraphicFormatByExtension(QStringLiteral("bmp"))->Class, ClassOf<TBitmap>());
    EXPECT_EQ(GraphicFormatByExtension(QStringLiteral(".JPG"))->Class, ClassOf<TJPEGImage>());
    EXPECT_EQ(GraphicFormatByExtension(QStringLiteral("jpeg"))->Class, ClassOf<TJPEGImage>());
    EXPECT_EQ(GraphicFormatByExtension(QStringLiteral("emf"))->Class, ClassOf<TMetafile>());
    EXPECT_EQ(GraphicFormatByExtension(QStringLiteral("xyz")), nullptr);

    EXPECT_EQ(GraphicFormatBySignature(QByteArray("BM\x36\x00", 4))->Class, ClassOf<TBitmap>());
    EXPECT_EQ(GraphicFormatBySignature(QByteArray("\xFF\xD8\xFF\xE0", 4))->Class, ClassOf<TJPEGImage>());
    EXPECT_EQ(GraphicFormatBySignature(QByteArray("GIF89a")), nullptr);
    EXPECT_EQ(GraphicFormatBySignature(QByteArray("B")), nullptr);
}

TEST(Picture, LoadsAndSavesByExtension)
{
    QTemporaryDir dir;
    TBitmap bitmap;
    bitmap.SetSize(7, 5);
    const QString bmpFile = dir.filePath(QStringLiteral("a.bmp"));
    bitmap.SaveToFile(bmpFile);

    TPicture picture;
    int changes = 0;
    picture.OnChange = [&](TObject *) { ++changes; };
    picture.LoadFromFile(bmpFile);
    ASSERT_NE(qobject_cast<TBitmap *>(picture.Graphic()), nullptr);
    EXPECT_EQ(picture.Width(), 7);
    EXPECT_EQ(picture.Height(), 5);
    EXPECT_GT(changes, 0);

    // A bitmap under a .jpg name is read as JPEG, and fails as one.
    const QString misnamed = dir.filePath(QStringLiteral("b.jpg"));
    bitmap.SaveToFile(misnamed);
    EXPECT_THROW(picture.LoadFromFile(misnamed), EInvalidGraphic);
    EXPECT_EQ(picture.Width(), 7); // the picture held keeps its graphic

    try {
        picture.LoadFromFile(dir.filePath(QStringLiteral("c.xyz")));
        FAIL() << "unknown extension accepted";
    } catch (const EInvalidGraphic &e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral(".xyz")));
    }
}

TEST(Picture, LoadsFromAStreamBySignature)
{
    TBitmap bitmap;
    bitmap.SetSize(3, 2);
    TMemoryStream stream;
    stream.WriteBuffer(QByteArray("prefix"));
    bitmap.SaveToStream(&stream);
    stream.SetPosition(6);

    TPicture picture;
    picture.LoadFromStream(&stream);
    ASSERT_NE(qobject_cast<TBitmap *>(picture.Graphic()), nullptr);
    EXPECT_EQ(picture.Width(), 3);

    TMemoryStream unknown;
    unknown.WriteBuffer(QByteArray("GIF89a......"));
    unknown.SetPosition(0);
    EXPECT_THROW(picture.LoadFromStream(&unknown), EInvalidGraphic);
}

TEST(Picture, AssignAndSetGraphicKeepCopies)
{
    TJPEGImage jpeg;
    TBitmap bitmap;
    bitmap.SetSize(4, 4);
    jpeg.Assign(&bitmap);

    TPicture picture;
    picture.SetGraphic(&jpeg);
    ASSERT_NE(qobject_cast<TJPEGImage *>(picture.Graphic()), nullptr);
    EXPECT_NE(picture.Graphic(), &jpeg);
    EXPECT_EQ(picture.Width(), 4);

    TPicture other;
    other.Assign(&picture);
    EXPECT_EQ(other.Height(), 4);
    EXPECT_NE(other.Graphic(), picture.Graphic());

    TBitmap *asBitmap = other.Bitmap(); // replaces the JPEG by an empty bitmap
    EXPECT_TRUE(asBitmap->Empty());
    EXPECT_EQ(other.Graphic(), asBitmap);
}

TEST(Picture, StoresItsGraphicAsCustomPropertyData)
{
    TPicture picture;
    EXPECT_TRUE(WritePropertyData(picture).isEmpty()); // an empty picture stores nothing

    TBitmap bitmap;
    bitmap.SetSize(3, 2);
    bitmap.Canvas()->SetPixel(2, 1, clRed);
    bitmap.Canvas()->ReleaseHandle();
    picture.SetGraphic(&bitmap);
    const QByteArray data = WritePropertyData(picture);
    ASSERT_FALSE(data.isEmpty());

    TPicture restored;
    ReadPropertyData(restored, data);
    auto *copy = qobject_cast<TBitmap *>(restored.Graphic());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Image().pixelColor(2, 1), QColor(Qt::red));
    EXPECT_EQ(restored.Width(), 3);
}

} // namespace
