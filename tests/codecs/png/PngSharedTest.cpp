// Pictures read from the same bytes share their decoded pixels, and each
// keeps its changes and its other state to itself.

#include "PngTestSupport.h"

#include "codecs/png/qvxPngErrors.h"
#include "codecs/png/qvxPngHeader.h"
#include "codecs/png/qvxPngImage.h"
#include "toolkit/classes/Streams.h"

#include <gtest/gtest.h>

#include <array>
#include <thread>
#include <vector>

namespace {

// RGBA, palette with transparency, grey+alpha at 16 bits, interlaced grey,
// RGB with gamma.
const char *const suiteNames[] = {"basn6a08", "tbbn3p08", "basn4a16", "basi0g04", "g03n2c08"};

// Grey files at 2 and 8 bits, interlaced, with a transparent grey, with
// gamma at 16 bits, and grey+alpha.
const char *const greyNames[] = {"basn0g02", "basn0g08", "basi0g04", "tbbn0g04", "g03n0g16", "basn4a16"};

// Every valid file of the PngSuite, and the grey ones with a palette chunk,
// by name.
QList<std::pair<QString, QByteArray>> readableFiles()
{
    QList<std::pair<QString, QByteArray>> files;
    for (const QString &name : PngSuiteNames())
        if (!name.startsWith(QLatin1Char('x')))
            files.append({name, PngSuiteBytes(name)});
    for (const char *grey : greyNames)
        files.append({QLatin1String(grey) + QStringLiteral(" with PLTE"),
                      GreyPngWithPalette(PngSuiteBytes(QLatin1String(grey)))});
    return files;
}

// What a reader sees of a picture read: copies, which hold no shared pixels.
struct TReadPicture {
    QImage planes;
    QList<QRgb> colorTable;
    QByteArray alpha;
    QByteArray extra;
    std::array<quint8, 256> gamma;
    TPNGTransparencyMode mode;
    TColor transparentColor;
    QImage drawn;
    QByteArray saved;
};

TReadPicture readPicture(const TPNGObject &png)
{
    const TChunkIHDR &header = *png.Header();
    return {header.Image.copy(),
            header.Image.colorTable(),
            QByteArray(header.ImageAlpha.constData(), header.ImageAlpha.size()),
            QByteArray(header.ExtraImageData.constData(), header.ExtraImageData.size()),
            png.GammaTable,
            png.TransparencyMode(),
            png.TransparentColor(),
            PngDrawnOnWhite(png, Rect(0, 0, png.Width(), png.Height()), png.Width(), png.Height()),
            PngBytes(png)};
}

void expectSameRead(const TReadPicture &read, const TReadPicture &first)
{
    EXPECT_EQ(read.planes, first.planes);
    EXPECT_EQ(read.colorTable, first.colorTable);
    EXPECT_EQ(read.alpha, first.alpha);
    EXPECT_EQ(read.extra, first.extra);
    EXPECT_EQ(read.gamma, first.gamma);
    EXPECT_EQ(read.mode, first.mode);
    EXPECT_EQ(read.transparentColor, first.transparentColor);
    EXPECT_EQ(read.drawn, first.drawn);
    EXPECT_EQ(read.saved, first.saved);
}

} // namespace

TEST(PngSharedTest, PicturesOfTheSameBytesShareTheirPixelsAndKeepTheirChanges)
{
    for (const char *name : suiteNames) {
        const QByteArray bytes = PngSuiteBytes(QLatin1String(name));
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

// A palette chunk in a grey file is ignored on the read that decodes it,
// and so on a read that takes the pixels decoded then.
TEST(PngSharedTest, AGreyFileWithAPaletteChunkIsDrawnGreyOnEveryRead)
{
    for (const char *name : greyNames) {
        SCOPED_TRACE(name);
        const QByteArray grey = PngSuiteBytes(QLatin1String(name));
        const QByteArray bytes = GreyPngWithPalette(grey);
        const TReadPicture plain = readPicture(*PngFromBytes(grey));
        ASSERT_FALSE(PngShared::Find(bytes).has_value());
        const auto first = PngFromBytes(bytes);
        const auto second = PngFromBytes(bytes);
        EXPECT_EQ(second->Header()->Image.constBits(), first->Header()->Image.constBits());
        for (const TPNGObject *read : {first.get(), second.get()}) {
            EXPECT_EQ(read->Palette(), plain.colorTable);
            EXPECT_EQ(PngDrawnOnWhite(*read, Rect(0, 0, read->Width(), read->Height()), read->Width(), read->Height()),
                      plain.drawn);
        }
    }
}

TEST(PngSharedTest, EveryFileReadAgainGivesWhatItsFirstReadGave)
{
    for (const auto &[name, bytes] : readableFiles()) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_FALSE(PngShared::Find(bytes).has_value()) << "the first read decodes";
        const auto first = PngFromBytes(bytes);
        const auto second = PngFromBytes(bytes);
        EXPECT_EQ(second->Header()->Image.constBits(), first->Header()->Image.constBits());
        expectSameRead(readPicture(*second), readPicture(*first));
    }
}

// The threads read every file at once, the first reads of a file racing
// with ones that take the pixels another thread decoded.
TEST(PngSharedTest, FilesReadInThreadsGiveWhatTheirFirstReadGave)
{
    const QList<std::pair<QString, QByteArray>> files = readableFiles();
    std::vector<TReadPicture> firstReads;
    for (const auto &file : files)
        firstReads.push_back(readPicture(*PngFromBytes(file.second)));
    for (const auto &file : files)
        ASSERT_FALSE(PngShared::Find(file.second).has_value()) << "no picture holds " << file.first.toStdString();
    std::vector<std::vector<std::unique_ptr<TPNGObject>>> pictures(8);
    std::vector<std::thread> threads;
    for (auto &read : pictures)
        threads.emplace_back([&read, &files] {
            for (int pass = 0; pass < 2; ++pass)
                for (const auto &file : files)
                    read.push_back(PngFromBytes(file.second));
        });
    for (std::thread &thread : threads)
        thread.join();
    for (const auto &read : pictures) {
        ASSERT_EQ(read.size(), 2 * size_t(files.size()));
        for (size_t i = 0; i < read.size(); ++i) {
            SCOPED_TRACE(files[qsizetype(i) % files.size()].first.toStdString());
            expectSameRead(readPicture(*read[i]), firstReads[i % firstReads.size()]);
        }
    }
}

// Pixels of the same image data under another palette or gamma are not the
// pixels of the file read before.
TEST(PngSharedTest, OtherBytesOfTheSameImageDataDecodeTheirOwn)
{
    const QByteArray bytes = PngSuiteBytes(QStringLiteral("basn3p08"));
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
    const QByteArray bytes = PngSuiteBytes(QStringLiteral("basn6a08"));
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
    const QByteArray bytes = PngSuiteBytes(QStringLiteral("basn6a08"));
    TMemoryStream stream;
    stream.WriteBuffer(bytes + QByteArray("after"));
    stream.SetPosition(0);
    TPNGObject png;
    png.LoadFromStream(&stream);
    EXPECT_EQ(stream.Position(), bytes.size());
}

TEST(PngSharedTest, PicturesReadInThreadsShareOneDecodedImage)
{
    const QByteArray bytes = PngSuiteBytes(QStringLiteral("basn6a08"));
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
    const QByteArray bytes = PngSuiteBytes(QStringLiteral("basn6a08"));
    auto picture = PngFromBytes(bytes);
    ASSERT_TRUE(PngShared::Find(bytes).has_value());
    QImage pixels = picture->Header()->Image;
    picture.reset();
    EXPECT_TRUE(PngShared::Find(bytes).has_value()) << "a copy of the image still holds them";
    pixels = QImage();
    EXPECT_FALSE(PngShared::Find(bytes).has_value());
}

// The registry forgets pictures freed in their thousands, and still finds
// the pixels and the picture as drawn of one held all along.
TEST(PngSharedTest, AHeldPictureIsFoundAfterThousandsOfOthersCameAndWent)
{
    const QByteArray bytes = PngSuiteBytes(QStringLiteral("tbbn3p08"));
    const auto held = PngFromBytes(bytes);
    QImage pixel(2, 1, QImage::Format_RGB32);
    TPNGObject other;
    for (int i = 0; i < 5000; ++i) {
        pixel.fill(QRgb(i));
        other.AssignHandle(pixel, false, 0);
        PngFromBytes(PngBytes(other));
    }
    const auto again = PngFromBytes(bytes);
    EXPECT_EQ(again->Header()->Image.constBits(), held->Header()->Image.constBits());
    EXPECT_EQ(again->Image().constBits(), held->Image().constBits());
}
