// Image data: IDAT chunks split and broken, row filters, interlacing, and
// written files checked by pngcheck and libpng.

#include "PngTestSupport.h"

#include "codecs/png/qvxPngFilters.h"
#include "report/xml/qvxZLib.h"

#include <QDir>

#include <csetjmp>
#include <cstring>
#include <vector>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <png.h>

namespace {

// An RGB picture with a pattern that every filter changes.
std::unique_ptr<TPNGObject> rgbPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 7 + y) & 255, (x * y) & 255, (x ^ y) & 255));
    auto png = std::make_unique<TPNGObject>();
    png->AssignHandle(image, false, 0);
    return png;
}

// The concatenated data of the IDAT chunks.
QByteArray idatData(const QByteArray &bytes)
{
    QByteArray data;
    qsizetype at = 8;
    while (at + 8 <= bytes.size()) {
        const quint32 length = qFromBigEndian<quint32>(bytes.constData() + at);
        if (bytes.mid(at + 4, 4) == "IDAT")
            data += bytes.mid(at + 8, length);
        at += 12 + qsizetype(length);
    }
    return data;
}

// The file with its image data cut into IDAT chunks of the given sizes, with
// extra placed after the first one.
QByteArray resplit(const QByteArray &bytes, const QList<int> &sizes, const QByteArray &between = {})
{
    const QByteArray data = idatData(bytes);
    QByteArray out = PngSignature + PngChunk("IHDR", bytes.mid(16, 13));
    qsizetype at = 0;
    for (int i = 0; i < sizes.size(); ++i) {
        out += PngChunk("IDAT", i + 1 == sizes.size() ? data.mid(at) : data.mid(at, sizes[i]));
        at += sizes[i];
        if (i == 0)
            out += between;
    }
    return out + PngChunk("IEND", {});
}

// The pixels libpng decodes, expanded to 8-bit BGRA (16-bit samples
// stripped to their high bytes, no gamma applied).
QList<QRgb> libpngPixels(const QByteArray &bytes)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    QList<QRgb> pixels;
    std::vector<png_bytep> rows;
    struct Source {
        const QByteArray *bytes;
        qsizetype at;
    } source{&bytes, 0};
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return {};
    }
    png_set_read_fn(png, &source, [](png_structp p, png_bytep out, png_size_t count) {
        auto *s = static_cast<Source *>(png_get_io_ptr(p));
        if (s->at + qsizetype(count) > s->bytes->size())
            png_error(p, "short");
        std::memcpy(out, s->bytes->constData() + s->at, count);
        s->at += qsizetype(count);
    });
    png_read_info(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_bgr(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    pixels.resize(qsizetype(width) * height);
    rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y)
        rows[y] = reinterpret_cast<png_bytep>(pixels.data() + qsizetype(y) * width);
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return pixels;
}

} // namespace

TEST(PngImageDataTest, SplitImageDataDecodesTheSame)
{
    const QByteArray one = PngBytes(*rgbPicture(40, 30));
    const int total = int(idatData(one).size());
    const auto split = PngFromBytes(resplit(one, {1, 7, total}));
    EXPECT_EQ(split->Image(), PngFromBytes(one)->Image());
    // The zlib checksum alone in a last chunk, read after the last row.
    EXPECT_EQ(PngFromBytes(resplit(one, {total - 2, 2}))->Image(), split->Image());

    QByteArray badSecond = resplit(one, {10, total});
    const qsizetype secondCRC = 8 + 25 + 12 + 10 + 8 + (total - 10);
    badSecond[secondCRC] ^= 1;
    TPNGObject png;
    EXPECT_THROW(LoadPng(png, badSecond), EPngInvalidCRC);
    EXPECT_THROW(LoadPng(png, resplit(one, {10, total}, PngChunk("tEXt", QByteArray("a\0b", 3)))),
                 EPNGMissingMultipleIDAT);
}

TEST(PngImageDataTest, TruncatedOrBrokenDataRaises)
{
    const QByteArray whole = PngBytes(*rgbPicture(40, 30));
    const QByteArray data = idatData(whole);
    TPNGObject png;
    // The data stops before the last row, IEND follows.
    EXPECT_THROW(LoadPng(png, PngSignature + PngChunk("IHDR", whole.mid(16, 13)) +
                                  PngChunk("IDAT", data.left(data.size() / 2)) + PngChunk("IEND", {})),
                 EPNGMissingMultipleIDAT);
    // The file stops inside the image data.
    EXPECT_THROW(LoadPng(png, whole.left(whole.size() - 40)), EPngUnexpectedEnd);
    // A complete zlib stream of too few rows.
    const QByteArray fewRows = PngBytes(*rgbPicture(40, 10));
    EXPECT_THROW(LoadPng(png, PngSignature + PngChunk("IHDR", whole.mid(16, 13)) +
                                  PngChunk("IDAT", idatData(fewRows)) + PngChunk("IEND", {})),
                 EPngUnexpectedEnd);
}

TEST(PngImageDataTest, FilterTypesAboveFourRaise)
{
    const QByteArray row("\x05\x10", 2);
    uLongf size = 64;
    QByteArray packed(64, '\0');
    compress(reinterpret_cast<Bytef *>(packed.data()), &size, reinterpret_cast<const Bytef *>(row.constData()), 2);
    packed.truncate(qsizetype(size));
    TPNGObject png;
    EXPECT_THROW(LoadPng(png, PngSignature + PngChunk("IHDR", PngHeaderData(1, 1, 8, 0)) + PngChunk("IDAT", packed) +
                                  PngChunk("IEND", {})),
                 EPNGZLIBError);
}

TEST(PngImageDataTest, WritingUsesSubByDefaultAndFullSizeChunks)
{
    auto png = rgbPicture(300, 300);
    png->SetCompressionLevel(0);
    const QByteArray bytes = PngBytes(*png);
    const QList<quint32> sizes = PngChunkSizes(bytes, "IDAT");
    ASSERT_GT(sizes.size(), 2);
    for (int i = 0; i + 1 < sizes.size(); ++i)
        EXPECT_EQ(sizes[i], 65535u);
    const QByteArray raw = ZDecompressBuffer(idatData(bytes), 0);
    for (int y = 0; y < 300; ++y)
        ASSERT_EQ(raw[qsizetype(y) * 901], 1) << y;
    png->SetMaxIdatSize(1000);
    EXPECT_EQ(png->MaxIdatSize(), 65535u);
    // One long chunk whose rows end more than an input block before the
    // chunk does: its CRC is still that of the whole chunk.
    const QByteArray padded = PngSignature + PngChunk("IHDR", bytes.mid(16, 13)) +
                              PngChunk("IDAT", idatData(bytes) + QByteArray(70000, '\0')) + PngChunk("IEND", {});
    EXPECT_EQ(PngFromBytes(padded)->Image(), png->Image());
}

TEST(PngImageDataTest, FilterChoiceScoresRepeatedBytes)
{
    const quint8 flat[6] = {1, 1, 1, 1, 1, 1};
    const quint8 alternate[6] = {1, 2, 1, 2, 1, 2};
    const quint8 rising[6] = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(FilterScore(flat, 6), 4);
    EXPECT_EQ(FilterScore(alternate, 6), 4);
    EXPECT_EQ(FilterScore(rising, 6), 0);
    EXPECT_EQ(PaethPredictor(10, 20, 10), 20);
    EXPECT_EQ(PaethPredictor(20, 10, 10), 20);
    // With every filter allowed, a rising row is written with Sub (all
    // differences equal), and the file still decodes to the same pixels.
    auto png = rgbPicture(64, 4);
    png->SetFilters(pfNone | pfSub | pfUp | pfAverage | pfPaeth);
    EXPECT_EQ(PngFromBytes(PngBytes(*png))->Image(), png->Image());
}

TEST(PngImageDataTest, RoundTripsKeepEveryColourTypeAndDepth)
{
    for (const char *name : {"basn0g01", "basn0g02", "basn0g04", "basn0g08", "basn0g16", "basn2c08", "basn2c16",
                                "basn3p01", "basn3p02", "basn3p04", "basn3p08", "basn4a08", "basn4a16", "basn6a08",
                                "basn6a16", "tbbn2c16", "tbwn0g16", "g03n2c08", "s01n3p01"}) {
        SCOPED_TRACE(name);
        TFileStream file(PngSuiteDir() + QStringLiteral("/png/%1.png").arg(QLatin1String(name)), fmOpenRead);
        TPNGObject original;
        original.LoadFromStream(&file);
        for (quint8 interlace : {0, 1}) {
            original.SetInterlaceMethod(interlace);
            const auto copy = PngFromBytes(PngBytes(original));
            EXPECT_EQ(copy->Image(), original.Image());
            EXPECT_EQ(copy->Header()->ImageAlpha, original.Header()->ImageAlpha);
            EXPECT_EQ(copy->Header()->ExtraImageData, original.Header()->ExtraImageData);
            EXPECT_EQ(copy->Header()->BitDepth, original.Header()->BitDepth);
        }
    }
}

TEST(PngImageDataTest, OnePixelWideAdam7Image)
{
    auto png = rgbPicture(1, 9);
    png->SetInterlaceMethod(1);
    const auto copy = PngFromBytes(PngBytes(*png));
    EXPECT_EQ(copy->Header()->InterlaceMethod, 1);
    EXPECT_EQ(copy->Image(), png->Image());
}

TEST(PngImageDataTest, WrittenFilesPassPngcheckAndDecodeWithLibpng)
{
    const bool havePngcheck = QProcess::execute(QStringLiteral("pngcheck"), {QStringLiteral("-q"),
                                                                            QStringLiteral("/dev/null")}) >= 0;
    QTemporaryDir dir;
    const QStringList images = QDir(PngSuiteDir() + QStringLiteral("/png")).entryList({QStringLiteral("[!x]*.png")});
    ASSERT_GT(images.size(), 150);
    for (const QString &name : images) {
        SCOPED_TRACE(name.toStdString());
        TFileStream file(PngSuiteDir() + QStringLiteral("/png/") + name, fmOpenRead);
        TPNGObject png;
        png.LoadFromStream(&file);
        png.SetInterlaceMethod(quint8(name.size() % 2));
        const QByteArray written = PngBytes(png);
        const QString path = dir.filePath(name);
        png.SaveToFile(path);
        // Files whose own chunks pngcheck rejects (a tIME of 1970) are
        // written back as they are.
        auto pngcheck = [](const QString &file) {
            QProcess check;
            check.start(QStringLiteral("pngcheck"), {QStringLiteral("-v"), file});
            check.waitForFinished();
            return std::make_pair(check.exitCode(), check.readAllStandardOutput().toStdString());
        };
        if (havePngcheck && pngcheck(PngSuiteDir() + QStringLiteral("/png/") + name).first == 0) {
            const auto [code, report] = pngcheck(path);
            EXPECT_EQ(code, 0) << report;
        }
        // libpng's 8-bit samples are the high bytes; compare before gamma.
        const QList<QRgb> decoded = libpngPixels(written);
        ASSERT_EQ(decoded.size(), qsizetype(png.Width()) * png.Height());
        QImage raw = png.Header()->Image.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < png.Height(); ++y)
            for (int x = 0; x < png.Width(); ++x) {
                const QRgb theirs = decoded[qsizetype(y) * png.Width() + x];
                const QRgb shown = png.Image().pixel(x, y);
                if (qAlpha(theirs) == 0 && qAlpha(shown) == 0)
                    continue;
                ASSERT_EQ(theirs, (raw.pixel(x, y) & 0xFFFFFF) | (quint32(qAlpha(shown)) << 24)) << x << "," << y;
            }
    }
}
