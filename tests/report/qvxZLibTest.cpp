#include "report/xml/qvxZLib.h"

#include "common/TestSupport.h"

#include <gtest/gtest.h>

namespace {

QByteArray deflated(const QByteArray &data, TZCompressionLevel level = zcDefault)
{
    TMemoryStream source;
    source.WriteBuffer(data);
    TMemoryStream dest;
    CompressStreamDeflate(&source, &dest, level);
    return dest.Bytes();
}

QByteArray pseudoRandom(int size)
{
    QByteArray data(size, Qt::Uninitialized);
    quint32 state = 12345;
    for (char &c : data) {
        state = state * 1103515245 + 12345;
        c = char(state >> 24);
    }
    return data;
}

// A gzip resource as the program packs them: the zlib checksum of the data
// in the MTIME field.
QByteArray gzipResource(const QByteArray &data, const QByteArray &name)
{
    const QByteArray zlib = deflated(data);
    QByteArray gzip("\x1F\x8B\x08", 3);
    gzip += char(name.isEmpty() ? 0 : 8);
    gzip += zlib.right(4);
    gzip += QByteArray("\x00\x03", 2);
    if (!name.isEmpty())
        gzip += name + '\0';
    gzip += zlib.mid(2, zlib.size() - 6);
    gzip += QByteArray(8, '\0');
    return gzip;
}

QByteArray gunzipped(const QByteArray &gzip, QString &name)
{
    TMemoryStream source;
    source.WriteBuffer(gzip);
    source.SetPosition(0);
    TMemoryStream dest;
    DecompressGZipStream(&source, &dest, name);
    return dest.Bytes();
}

} // namespace

TEST(TZCompressionStream, CompressesNothingIntoAnEmptyZlibStream)
{
    EXPECT_EQ(deflated(QByteArray()), QByteArray("\x78\x9C\x03\x00\x00\x00\x00\x01", 8));
}

TEST(TZCompressionStream, AnswersOnlyTheUncompressedCount)
{
    TMemoryStream dest;
    TZCompressionStream stream(&dest, zcFastest);
    stream.WriteBuffer(QByteArray(1000, 'x'));
    EXPECT_EQ(stream.Seek(0, soCurrent), 1000);
    char byte;
    EXPECT_THROW(stream.Read(&byte, 1), EZCompressionError);
    EXPECT_THROW(stream.Seek(0, soBeginning), EZCompressionError);
    stream.Finish();
    EXPECT_EQ(ZDecompressBuffer(dest.Bytes()), QByteArray(1000, 'x'));
}

TEST(TZCompressionStream, WritesWholeBlocksAndReportsProgress)
{
    TMemoryStream dest;
    TZCompressionStream stream(&dest, zcNone);
    int blocks = 0;
    stream.OnProgress = [&blocks](TObject *) { ++blocks; };
    const QByteArray data = pseudoRandom(300000);
    stream.WriteBuffer(data);
    EXPECT_GE(blocks, 3);
    EXPECT_EQ(dest.Size(), blocks * 65536);
    // Someone else moving the destination does not misplace what follows.
    dest.SetPosition(0);
    stream.Finish();
    EXPECT_EQ(ZDecompressBuffer(dest.Bytes()), data);
}

TEST(ZDecompressBuffer, RoundTripsEverySizeAndLevel)
{
    for (int size : {1, 255, 256, 257, 5000, 70000}) {
        for (TZCompressionLevel level : {zcNone, zcFastest, zcDefault, zcMax}) {
            const QByteArray data = pseudoRandom(size);
            const QByteArray zlib = deflated(data, level);
            EXPECT_EQ(ZDecompressBuffer(zlib), data) << size;
            EXPECT_EQ(ZDecompressBuffer(zlib, 10), data) << size;
        }
    }
}

TEST(ZDecompressBuffer, RefusesCorruptTruncatedAndOversizedInput)
{
    const QByteArray zlib = deflated(QByteArray(100000, 'a'));
    EXPECT_THROW(ZDecompressBuffer(zlib.left(zlib.size() / 2)), EZDecompressionError);
    EXPECT_THROW(ZDecompressBuffer(QByteArray("\x78\x9C\xFF\xFF", 4)), EZDecompressionError);
    EXPECT_THROW(ZDecompressBuffer(QByteArray()), EZDecompressionError);
    try {
        ZDecompressBuffer(zlib, 0, 50000);
        ADD_FAILURE();
    } catch (const EZDecompressionError &e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("50000")));
    }
    QByteArray badChecksum = zlib;
    badChecksum[badChecksum.size() - 1] = char(badChecksum.back() ^ 1);
    try {
        ZDecompressBuffer(badChecksum);
        ADD_FAILURE();
    } catch (const EZDecompressionError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("data error"));
    }
}

TEST(DecompressGZipStream, ReadsAResourceAndItsName)
{
    const QByteArray data = pseudoRandom(3000);
    QString name;
    EXPECT_EQ(gunzipped(gzipResource(data, "buttons.bmp"), name), data);
    EXPECT_EQ(name, QStringLiteral("buttons.bmp"));
    EXPECT_EQ(gunzipped(gzipResource(data, QByteArray()), name), data);
    EXPECT_EQ(name, QString());
}

TEST(DecompressGZipStream, RefusesOrdinaryGzipAndShortInput)
{
    QByteArray ordinary = gzipResource(QByteArray("hello"), "x");
    ordinary.replace(4, 4, QByteArray("\x01\x02\x03\x04", 4));
    QString name;
    try {
        gunzipped(ordinary, name);
        ADD_FAILURE();
    } catch (const EZDecompressionError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("data error"));
    }
    const QByteArray resource = gzipResource(QByteArray("hello"), "name");
    for (int length : {0, 3, 10, 17, 20})
        EXPECT_THROW(gunzipped(resource.left(length), name), EZDecompressionError) << length;
    EXPECT_THROW(gunzipped(QByteArray(30, 'x'), name), EZDecompressionError);
}

TEST(ZCompressBuffer, GivesTheStreamsBytesForEverySizeAndLevel)
{
    for (int size : {0, 1, 5000, 70000, 300000}) {
        for (TZCompressionLevel level : {zcNone, zcFastest, zcDefault, zcMax}) {
            const QByteArray data = size % 2 ? pseudoRandom(size) : QByteArray(size, 'q');
            const QByteArray zlib = ZCompressBuffer(data.constData(), data.size(), level);
            if (level != zcNone) {
                EXPECT_EQ(zlib, deflated(data, level)) << size << ' ' << level;
            }
            EXPECT_EQ(ZDecompressBuffer(zlib), data) << size << ' ' << level;
        }
    }
}

TEST(ZCompressBuffer, RefusesANegativeSize)
{
    EXPECT_THROW(ZCompressBuffer("", -1, zcFastest), EZCompressionError);
}
