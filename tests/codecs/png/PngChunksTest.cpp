// The chunk container: CRC, the load loop's checks, ancillary chunks, gamma
// and transparency.

#include "PngTestSupport.h"

#include <gtest/gtest.h>

#include <zlib.h>

namespace {

// A 1 x 1 8-bit grey image with the given chunks between IHDR and IDAT.
QByteArray grayPixel(const QByteArray &middle = {}, quint8 value = 0x80)
{
    const QByteArray raw("\0", 1);
    uLongf size = 64;
    QByteArray packed(64, '\0');
    const QByteArray row = raw + char(value);
    compress(reinterpret_cast<Bytef *>(packed.data()), &size, reinterpret_cast<const Bytef *>(row.constData()), 2);
    packed.truncate(qsizetype(size));
    return PngSignature + PngChunk("IHDR", PngHeaderData(1, 1, 8, 0)) + middle + PngChunk("IDAT", packed) +
           PngChunk("IEND", {});
}

template <class E>
void expectLoadRaises(const QByteArray &bytes)
{
    TPNGObject png;
    EXPECT_THROW(LoadPng(png, bytes), E);
}

} // namespace

TEST(PngChunksTest, ChunksAreWrittenWithLengthNameDataAndCRC)
{
    EXPECT_EQ(PngChunk("IEND", {}), QByteArray("\0\0\0\0IEND\xAE\x42\x60\x82", 12));
    const QByteArray chunk = PngChunk("tEXt", QByteArray("a\0b", 3));
    EXPECT_EQ(chunk.left(8), QByteArray("\0\0\0\x03tEXt", 8));
    EXPECT_EQ(qFromBigEndian<quint32>(chunk.constData() + 11), ChunkCRC("tEXt", "a\0b", 3));
}

TEST(PngChunksTest, CraftedStreamsRaiseTheirErrors)
{
    expectLoadRaises<EPngUnexpectedEnd>(PngSignature);
    expectLoadRaises<EPNGInvalidFileHeader>(QByteArray("\x89PNG\r\n\x1A", 7));
    expectLoadRaises<EPNGIHDRNotFirst>(PngSignature + PngChunk("gAMA", QByteArray("\0\0\xB1\x8F", 4)));
    expectLoadRaises<EPNGInvalidPalette>(grayPixel(PngChunk("PLTE", QByteArray(7, 'x'))));
    expectLoadRaises<EPNGUnknownCriticalChunk>(grayPixel(PngChunk("ABCD", "x")));
    expectLoadRaises<EPNGNoImageData>(PngSignature + PngChunk("IHDR", PngHeaderData(1, 1, 8, 0)) +
                                      PngChunk("IEND", {}));
    expectLoadRaises<EPNGSizeExceeds>(PngSignature + PngChunk("IHDR", PngHeaderData(65536, 1, 8, 0)));
    expectLoadRaises<EPngInvalidIHDR>(PngSignature + PngChunk("IHDR", PngHeaderData(1, 1, 8, 0).left(12)));
    QByteArray badCRC = grayPixel();
    badCRC[8 + 8 + 13 + 3] ^= 1;
    expectLoadRaises<EPngInvalidCRC>(badCRC);
}

TEST(PngChunksTest, LengthsBeyondTheStreamRaiseBeforeAllocating)
{
    QByteArray huge = PngSignature + QByteArray("\xFF\xFF\xFF\xF0IHDR", 8);
    expectLoadRaises<EPngUnexpectedEnd>(huge);
    QByteArray past = PngSignature + QByteArray("\x00\x01\x00\x00IHDR", 8) + QByteArray(100, '\0');
    expectLoadRaises<EPngUnexpectedEnd>(past);
    // A header promising far more pixels than the data could inflate to.
    expectLoadRaises<EPngUnexpectedEnd>(PngSignature + PngChunk("IHDR", PngHeaderData(65535, 65535, 16, 6)) +
                                        PngChunk("IEND", {}));
}

TEST(PngChunksTest, HeaderFieldsAreValidated)
{
    const QList<std::pair<int, int>> badPairs = {{1, 8}, {5, 8}, {7, 8}, {0, 3}, {2, 4}, {2, 1}, {3, 16}, {6, 2}};
    for (const auto &[colorType, depth] : badPairs)
        expectLoadRaises<EPngInvalidIHDR>(PngSignature +
                                          PngChunk("IHDR", PngHeaderData(1, 1, quint8(depth), quint8(colorType))));
    expectLoadRaises<EPngInvalidIHDR>(PngSignature + PngChunk("IHDR", PngHeaderData(0, 1, 8, 0)));
    QByteArray filter = PngHeaderData(1, 1, 8, 0);
    filter[11] = 1;
    expectLoadRaises<EPngInvalidIHDR>(PngSignature + PngChunk("IHDR", filter));
    QByteArray compression = PngHeaderData(1, 1, 8, 0);
    compression[10] = 1;
    expectLoadRaises<EPNGUnknownCompression>(PngSignature + PngChunk("IHDR", compression));
    expectLoadRaises<EPNGUnknownInterlace>(PngSignature + PngChunk("IHDR", PngHeaderData(1, 1, 8, 0, 2)));
}

TEST(PngChunksTest, AncillaryChunksAreKeptAndChrmDropped)
{
    const QByteArray bytes = grayPixel(PngChunk("cHRM", QByteArray(32, '\1')) + PngChunk("abCd", "kept") +
                                       PngChunk("tEXt", QByteArray("Title\0PNG", 9)));
    const auto png = PngFromBytes(bytes);
    const QByteArray saved = PngBytes(*png);
    EXPECT_EQ(PngChunkNames(saved), QList<QByteArray>({"IHDR", "abCd", "tEXt", "IDAT", "IEND"}));
    EXPECT_TRUE(saved.contains(PngChunk("abCd", "kept")));
    const auto *text = png->Chunks().ItemFromClass<TChunktEXt>();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->Keyword, "Title");
    EXPECT_EQ(text->Text, "PNG");
}

TEST(PngChunksTest, CompressedTextRoundTripsAndIsCapped)
{
    TPNGObject png;
    LoadPng(png, grayPixel(PngChunk("zTXt", QByteArray("Comment\0\0x\x9C\x03\0\0\0\0\x01", 17))));
    auto *text = png.Chunks().ItemFromClass<TChunkzTXt>();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->Text, "");
    text->Text = QByteArray(5000, 'z');
    const auto loaded = PngFromBytes(PngBytes(png));
    const auto *read = loaded->Chunks().ItemFromClass<TChunkzTXt>();
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->Keyword, "Comment");
    EXPECT_EQ(read->Text, QByteArray(5000, 'z'));

    // A bomb inflating past the cap leaves the text empty.
    const QByteArray bomb(TChunkzTXt::MaxTextSize + 1, '\0');
    uLongf size = compressBound(uLong(bomb.size()));
    QByteArray packed(qsizetype(size), '\0');
    compress(reinterpret_cast<Bytef *>(packed.data()), &size, reinterpret_cast<const Bytef *>(bomb.constData()),
             uLong(bomb.size()));
    packed.truncate(qsizetype(size));
    const auto bombed = PngFromBytes(grayPixel(PngChunk("zTXt", QByteArray("k\0\0", 3) + packed)));
    EXPECT_TRUE(bombed->Chunks().ItemFromClass<TChunkzTXt>()->Text.isEmpty());
}

TEST(PngChunksTest, GammaTableFollowsTheFileGamma)
{
    TPNGObject png;
    png.SetGamma(45455);
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(png.GammaTable[size_t(i)], i);
    png.SetGamma(100000);
    EXPECT_EQ(png.GammaTable[0], 0);
    EXPECT_EQ(png.GammaTable[255], 255);
    EXPECT_EQ(png.GammaTable[64], quint8(std::nearbyint(std::pow(64 / 255.0, 1 / 2.2) * 255)));
    TChunkgAMA fresh(&png);
    EXPECT_EQ(fresh.Gamma(), 45455u);
}

TEST(PngChunksTest, PaletteChunkLeavesGreyImagesGrey)
{
    QByteArray allRed;
    for (int i = 0; i < 256; ++i)
        allRed += QByteArray("\xFF\0\0", 3);
    const auto png = PngFromBytes(grayPixel(PngChunk("PLTE", allRed), 0x80));
    const int level = png->GammaTable[0x80];
    EXPECT_EQ(png->Pixels(0, 0), TColor(level | level << 8 | level << 16));
}

TEST(PngChunksTest, TransparencyModesFollowTheTrnsChunk)
{
    const QByteArray palette = PngChunk("PLTE", QByteArray("\0\0\0\xFF\xFF\xFF\x80\x80\x80", 9));
    auto paletteImage = [&](const QByteArray &trns) {
        QByteArray raw("\0\0", 2);
        uLongf size = 64;
        QByteArray packed(64, '\0');
        compress(reinterpret_cast<Bytef *>(packed.data()), &size, reinterpret_cast<const Bytef *>(raw.constData()), 2);
        packed.truncate(qsizetype(size));
        return PngSignature + PngChunk("IHDR", PngHeaderData(1, 1, 8, 3)) + palette +
               (trns.isNull() ? QByteArray() : PngChunk("tRNS", trns)) + PngChunk("IDAT", packed) +
               PngChunk("IEND", {});
    };
    EXPECT_EQ(PngFromBytes(paletteImage({}))->TransparencyMode(), ptmNone);
    const auto bit = PngFromBytes(paletteImage(QByteArray("\xFF\0\xFF", 3)));
    EXPECT_EQ(bit->TransparencyMode(), ptmBit);
    EXPECT_EQ(bit->TransparentColor(), clWhite);
    EXPECT_EQ(PngFromBytes(paletteImage(QByteArray("\x10\x20", 2)))->TransparencyMode(), ptmPartial);
    EXPECT_EQ(PngFromBytes(grayPixel(PngChunk("tRNS", QByteArray("\0\x80", 2))))->TransparencyMode(), ptmBit);
    expectLoadRaises<EPNGInvalidPalette>(grayPixel(PngChunk("tRNS", QByteArray("\0", 1))));
}

TEST(PngChunksTest, TypedChunksAssignOnlyFromTheirOwnClass)
{
    TPNGObject png;
    LoadPng(png, grayPixel(PngChunk("gAMA", QByteArray("\0\x01\x86\xA0", 4))));
    const auto *gamma = png.Chunks().ItemFromClass<TChunkgAMA>();
    ASSERT_NE(gamma, nullptr);
    EXPECT_EQ(gamma->Gamma(), 100000u);
    TChunkPLTE palette(&png);
    EXPECT_THROW(palette.Assign(*gamma), EPngError);
    TChunkgAMA copy(&png);
    copy.Assign(*gamma);
    EXPECT_EQ(copy.Gamma(), 100000u);
    EXPECT_THROW(copy.Assign(palette), EPngError);
}
