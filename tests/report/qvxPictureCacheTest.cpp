#include "report/report/qvxPictureCache.h"
#include "report/xml/qvxXMLItem.h"
#include "report/xml/qvxXMLReader.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/core/Files.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/JPEGImage.h"
#include "toolkit/graphics/Picture.h"

#include "common/TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A bitmap picture of that size with a diagonal of a colour of its own.
std::unique_ptr<TPicture> bitmapPicture(int width, int height, TColor color)
{
    TBitmap bitmap;
    bitmap.SetSize(width, height);
    for (int i = 0; i < std::min(width, height); ++i)
        bitmap.Canvas()->SetPixel(i, i, color);
    auto picture = std::make_unique<TPicture>();
    picture->SetGraphic(&bitmap);
    return picture;
}

std::unique_ptr<TPicture> jpegPicture(int width, int height)
{
    TBitmap bitmap;
    bitmap.SetSize(width, height);
    TJPEGImage jpeg;
    jpeg.Assign(&bitmap);
    auto picture = std::make_unique<TPicture>();
    picture->SetGraphic(&jpeg);
    return picture;
}

QByteArray savedBytes(const TPicture &picture)
{
    TMemoryStream stream;
    picture.SaveToStream(&stream);
    return stream.Bytes();
}

TEST(PictureCache, NumbersPicturesAndReadsBackEachOnesOwnBytes)
{
    TqvxPictureCache cache;
    TPicture empty;
    EXPECT_EQ(cache.AddPicture(&empty), 0);
    EXPECT_EQ(cache.Count(), 0);
    EXPECT_EQ(cache.BlockCount(), 0);

    const auto jpeg = jpegPicture(9, 4);
    const auto bitmap = bitmapPicture(5, 6, clRed);
    EXPECT_EQ(cache.AddPicture(jpeg.get()), 1);
    EXPECT_EQ(cache.AddPicture(bitmap.get()), 2);
    EXPECT_EQ(cache.AddPicture(jpeg.get()), 3); // equal pictures are stored again
    EXPECT_EQ(cache.BlockCount(), 1);

    TPicture loaded;
    cache.GetPicture(1, &loaded);
    ASSERT_NE(qobject_cast<TJPEGImage *>(loaded.Graphic()), nullptr);
    EXPECT_EQ(loaded.Width(), 9);
    EXPECT_EQ(savedBytes(loaded), savedBytes(*jpeg));

    cache.GetPicture(2, &loaded);
    ASSERT_NE(qobject_cast<TBitmap *>(loaded.Graphic()), nullptr);
    EXPECT_EQ(savedBytes(loaded), savedBytes(*bitmap));
    EXPECT_EQ(loaded.Bitmap()->Canvas()->Pixel(3, 3), clRed);

    // A number that names no entry clears the picture without an error.
    for (int number : {0, 4, -1}) {
        cache.GetPicture(2, &loaded);
        cache.GetPicture(number, &loaded);
        EXPECT_EQ(loaded.Graphic(), nullptr) << number;
    }
}

const uchar *pixelsOf(const TPicture &picture)
{
    const auto *bitmap = qobject_cast<const TBitmap *>(picture.Graphic());
    return bitmap ? bitmap->Image().constBits() : nullptr;
}

// Views showing the same bytes, under one number or under several, share
// one decoded picture; what one of them draws on its own stays its own.
TEST(PictureCache, EntriesOfTheSameBytesShareOneDecodedPicture)
{
    const auto logo = bitmapPicture(40, 30, clRed);
    const auto photo = bitmapPicture(40, 30, clBlue);
    TqvxPictureCache cache;
    cache.AddPicture(logo.get());
    cache.AddPicture(photo.get());
    cache.AddPicture(logo.get());

    TPicture first, second, third, fourth;
    cache.GetPicture(1, &first);
    cache.GetPicture(2, &second);
    cache.GetPicture(3, &third);
    cache.GetPicture(1, &fourth);
    ASSERT_NE(pixelsOf(first), nullptr);
    EXPECT_EQ(pixelsOf(third), pixelsOf(first));
    EXPECT_EQ(pixelsOf(fourth), pixelsOf(first));
    EXPECT_NE(pixelsOf(second), pixelsOf(first));
    EXPECT_EQ(second.Bitmap()->Canvas()->Pixel(3, 3), clBlue);

    third.Bitmap()->Canvas()->SetPixel(3, 3, clGreen);
    EXPECT_EQ(first.Bitmap()->Canvas()->Pixel(3, 3), clRed);
    TPicture fifth;
    cache.GetPicture(3, &fifth);
    EXPECT_EQ(fifth.Bitmap()->Canvas()->Pixel(3, 3), clRed);

    // Let go of, the decoded pictures are read again.
    cache.ReleaseDecoded();
    TPicture again;
    cache.GetPicture(1, &again);
    EXPECT_NE(pixelsOf(again), pixelsOf(first));
    EXPECT_EQ(savedBytes(again), savedBytes(*logo));
}

TEST(PictureCache, StartsANewBlockOnceTheLastIsFull)
{
    const auto small = bitmapPicture(2, 2, clBlue);
    const qint64 size = savedBytes(*small).size();
    TqvxPictureCache cache(2 * size);
    for (int i = 0; i < 5; ++i)
        cache.AddPicture(small.get());
    EXPECT_EQ(cache.BlockCount(), 3);

    // The last entry of a block ends with its block.
    TPicture loaded;
    for (int number = 1; number <= 5; ++number) {
        cache.GetPicture(number, &loaded);
        EXPECT_EQ(savedBytes(loaded), savedBytes(*small)) << number;
    }
}

TEST(PictureCache, KeepsBlocksInTemporaryFilesWhenAsked)
{
    QTemporaryDir dir;
    TqvxPictureCache cache;
    cache.SetUseFileCache(true);
    cache.SetTempDir(dir.path());
    const auto picture = bitmapPicture(3, 3, clGreen);
    cache.AddPicture(picture.get());

    // The settings hold until the cache is cleared.
    cache.SetUseFileCache(false);
    cache.SetTempDir(QStringLiteral("/nonexistent"));
    cache.AddPicture(picture.get());
    ASSERT_EQ(cache.FileNames().size(), 1);
    const QString file = cache.FileNames().first();
    EXPECT_TRUE(file.startsWith(QDir(dir.path()).filePath(QStringLiteral("qvPic"))));
    EXPECT_TRUE(FileExists(file));

    TPicture loaded;
    cache.GetPicture(2, &loaded);
    EXPECT_EQ(savedBytes(loaded), savedBytes(*picture));

    cache.Clear();
    EXPECT_FALSE(FileExists(file));
    EXPECT_EQ(cache.Count(), 0);
    cache.SetUseFileCache(false);
    cache.AddPicture(picture.get());
    EXPECT_TRUE(cache.FileNames().isEmpty());
}

TEST(PictureCache, RoundTripsThroughXml)
{
    TqvxPictureCache cache(1); // one block per picture
    const auto jpeg = jpegPicture(6, 7);
    const auto bitmap = bitmapPicture(4, 4, clYellow);
    cache.AddPicture(bitmap.get());
    cache.AddPicture(jpeg.get());

    TqvxXMLItem item;
    item.Add()->SetName(QStringLiteral("stale"));
    cache.SaveToXML(&item);
    ASSERT_EQ(item.Count(), 2);
    EXPECT_EQ(item.Items(0)->Name(), QStringLiteral("item"));
    const QString hex = item.Items(0)->GetProp(QStringLiteral("stream"));
    EXPECT_EQ(hex, QString::fromLatin1(savedBytes(*bitmap).toHex().toUpper()));
    EXPECT_EQ(item.Items(0)->Text(), QStringLiteral("stream=\"%1\"").arg(hex));

    TqvxPictureCache loaded;
    loaded.LoadFromXML(&item);
    ASSERT_EQ(loaded.Count(), 2);
    TPicture picture;
    loaded.GetPicture(1, &picture);
    EXPECT_EQ(savedBytes(picture), savedBytes(*bitmap));
    loaded.GetPicture(2, &picture);
    EXPECT_EQ(savedBytes(picture), savedBytes(*jpeg));
}

TEST(PictureCache, ABrokenEntryLeavesThePictureEmpty)
{
    TqvxXMLItem item;
    TqvxXMLItem *child = item.Add();
    child->SetName(QStringLiteral("item"));
    child->SetProp(QStringLiteral("stream"), QStringLiteral("424D0000"));
    TqvxPictureCache cache;
    cache.LoadFromXML(&item);

    const auto earlier = bitmapPicture(2, 2, clRed);
    TPicture picture;
    picture.Assign(earlier.get());
    EXPECT_THROW(cache.GetPicture(1, &picture), EInvalidGraphic);
    EXPECT_EQ(picture.Graphic(), nullptr);
}

TEST(PictureCache, RefusesTextThatIsNoHexadecimal)
{
    for (const char *text : {"424", "42ZZ", "42 4D"}) {
        TqvxXMLItem item;
        TqvxXMLItem *child = item.Add();
        child->SetName(QStringLiteral("item"));
        child->SetProp(QStringLiteral("stream"), QString::fromLatin1(text));
        TqvxPictureCache cache;
        try {
            cache.LoadFromXML(&item);
            FAIL() << text;
        } catch (const TqvxInvalidXMLException &e) {
            EXPECT_EQ(e.Message(), QStringLiteral("Invalid file format"));
        }
    }
}

} // namespace
