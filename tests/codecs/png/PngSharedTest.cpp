// Pictures read from the same bytes share their decoded pixels, and each
// keeps its changes and its other state to itself.

#include "PngTestSupport.h"

#include "codecs/png/qvxPngErrors.h"
#include "codecs/png/qvxPngHeader.h"
#include "codecs/png/qvxPngImage.h"
#include "toolkit/classes/Streams.h"

#include <QFile>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

QByteArray suiteBytes(const char *name)
{
    QFile file(PngSuiteDir() + QStringLiteral("/png/%1.png").arg(QString::fromLatin1(name)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// RGBA, palette with transparency, grey+alpha at 16 bits, interlaced grey,
// RGB with gamma.
const char *const suiteNames[] = {"basn6a08", "tbbn3p08", "basn4a16", "basi0g04", "g03n2c08"};

} // namespace

TEST(PngSharedTest, PicturesOfTheSameBytesShareTheirPixelsAndKeepTheirChanges)
{
    for (const char *name : suiteNames) {
        const QByteArray bytes = suiteBytes(name);
        ASSERT_FALSE(bytes.isEmpty()) << name;
        const auto first = PngFromBytes(bytes);
        const auto second = PngFromBytes(bytes);
        EXPECT_EQ(second->Header()->Image.constBits(), first->Header()->Image.constBits()) << name;
        EXPECT_EQ(second->Image(), first->Image()) << name;
        EXPECT_EQ(second->Image().constBits(), first->Image().constBits()) << name;
        EXPECT_EQ(second->Header()->ExtraImageData, first->Header()->ExtraImageData) << name;
        EXPECT_EQ(PngBytes(*second), PngBytes(*first)) << name;

        const QImage before = first->Image().copy();
        const TColor pixel = first->Pixels(2, 2);
        second->SetPixels(2, 2, pixel == clRed ? clBlue : clRed);
        EXPECT_EQ(first->Image(), before) << name;
        EXPECT_EQ(first->Pixels(2, 2), pixel) << name;
        EXPECT_NE(second->Image(), before) << name;

        const auto third = PngFromBytes(bytes);
        EXPECT_EQ(third->Image(), before) << name;
        second->Resize(8, 8);
        EXPECT_EQ(third->Width(), 32) << name;
    }
}

// Pixels of the same image data under another palette or gamma are not the
// pixels of the file read before.
TEST(PngSharedTest, OtherBytesOfTheSameImageDataDecodeTheirOwn)
{
    const QByteArray bytes = suiteBytes("basn3p08");
    const auto original = PngFromBytes(bytes);
    QList<QRgb> palette = original->Palette();
    for (QRgb &entry : palette)
        entry = qRgb(255 - qRed(entry), qGreen(entry), qBlue(entry));
    auto recoloured = PngFromBytes(bytes);
    recoloured->SetPalette(palette);
    const auto read = PngFromBytes(PngBytes(*recoloured));
    EXPECT_NE(read->Header()->Image.constBits(), original->Header()->Image.constBits());
    EXPECT_EQ(read->Image(), recoloured->Image());
    EXPECT_NE(read->Image(), original->Image());
    EXPECT_EQ(original->Palette(), PngFromBytes(bytes)->Palette());
}

// A cut or damaged copy of a file read before fails as it always did.
TEST(PngSharedTest, DamagedCopiesOfAFileReadBeforeStillFail)
{
    const QByteArray bytes = suiteBytes("basn6a08");
    const auto held = PngFromBytes(bytes);
    TPNGObject cut;
    EXPECT_THROW(LoadPng(cut, bytes.left(bytes.size() - 20)), EPngUnexpectedEnd);
    QByteArray damaged = bytes;
    const qsizetype idat = damaged.indexOf("IDAT");
    ASSERT_GT(idat, 0);
    damaged[idat + 10] = char(damaged[idat + 10] ^ 0x55);
    TPNGObject bad;
    EXPECT_ANY_THROW(LoadPng(bad, damaged));
    EXPECT_EQ(PngFromBytes(bytes)->Image(), held->Image());
}

// A picture read from a stream leaves the stream after its IEND chunk.
TEST(PngSharedTest, ReadingStopsAfterThePicture)
{
    const QByteArray bytes = suiteBytes("basn6a08");
    TMemoryStream stream;
    stream.WriteBuffer(bytes + QByteArray("after"));
    stream.SetPosition(0);
    TPNGObject png;
    png.LoadFromStream(&stream);
    EXPECT_EQ(stream.Position(), bytes.size());
}

TEST(PngSharedTest, PicturesReadInThreadsShareOneDecodedImage)
{
    const QByteArray bytes = suiteBytes("basn6a08");
    const auto expected = PngFromBytes(bytes);
    std::vector<std::unique_ptr<TPNGObject>> pictures(8);
    std::vector<std::thread> threads;
    for (auto &picture : pictures)
        threads.emplace_back([&picture, &bytes] {
            for (int i = 0; i < 50; ++i)
                picture = PngFromBytes(bytes);
        });
    for (std::thread &thread : threads)
        thread.join();
    for (const auto &picture : pictures) {
        EXPECT_EQ(picture->Image(), expected->Image());
        EXPECT_EQ(picture->Header()->Image.constBits(), expected->Header()->Image.constBits());
    }
}

// The registry holds no pixels: once the last picture lets go of them, the
// same bytes are decoded anew.
TEST(PngSharedTest, PixelsNoPictureHoldsAreNotFoundAgain)
{
    const QByteArray bytes = suiteBytes("basn6a08");
    auto picture = PngFromBytes(bytes);
    ASSERT_TRUE(PngShared::Find(bytes).has_value());
    QImage pixels = picture->Header()->Image;
    picture.reset();
    EXPECT_TRUE(PngShared::Find(bytes).has_value()) << "a copy of the image still holds them";
    pixels = QImage();
    EXPECT_FALSE(PngShared::Find(bytes).has_value());
}
