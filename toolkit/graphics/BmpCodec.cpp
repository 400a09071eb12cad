#include "toolkit/graphics/BmpCodec.h"

#include "toolkit/graphics/BitmapLimits.h"

#include "toolkit/core/Exceptions.h"

#include <QCoreApplication>
#include <QtEndian>

#include <bit>

namespace {

constexpr int fileHeaderSize = 14;
constexpr quint32 compressionRgb = 0;
constexpr quint32 compressionBitFields = 3;

[[noreturn]] void invalid()
{
    throw EInvalidGraphic(QCoreApplication::translate("BmpCodec", "Bitmap image is not valid"));
}

// Bounds-checked little-endian reads.
class Reader
{
public:
    explicit Reader(const QByteArray &data) : m_data(data) {}

    quint32 u32(qint64 at) const { return qFromLittleEndian<quint32>(bytes(at, 4)); }
    qint32 i32(qint64 at) const { return qFromLittleEndian<qint32>(bytes(at, 4)); }
    quint16 u16(qint64 at) const { return qFromLittleEndian<quint16>(bytes(at, 2)); }
    const uchar *bytes(qint64 at, qint64 count) const
    {
        if (at < 0 || count < 0 || at > m_data.size() || count > m_data.size() - at)
            invalid();
        return reinterpret_cast<const uchar *>(m_data.constData()) + at;
    }

private:
    const QByteArray &m_data;
};

// A channel read through a bit mask, scaled to 0..255.
struct Channel {
    quint32 mask = 0;
    int shift = 0;
    int bits = 0;

    explicit Channel(quint32 m) : mask(m)
    {
        if (m) {
            shift = std::countr_zero(m);
            bits = std::popcount(m);
        }
    }
    int value(quint32 pixel) const
    {
        if (!bits)
            return 0;
        const quint32 v = (pixel & mask) >> shift;
        const quint32 max = bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
        return int((v * 255 + max / 2) / max);
    }
};

} // namespace

TBmpImage ReadBmp(const QByteArray &data)
{
    const Reader in(data);
    if (data.size() < fileHeaderSize + 12 || data[0] != 'B' || data[1] != 'M')
        invalid();
    const quint32 pixelOffset = in.u32(10);
    const quint32 headerSize = in.u32(fileHeaderSize);
    const qint64 info = fileHeaderSize;

    qint32 width = 0, height = 0;
    int bpp = 0;
    quint32 compression = compressionRgb;
    quint32 colorsUsed = 0;
    int paletteEntrySize = 4;
    quint32 masks[4] = {0, 0, 0, 0};
    if (headerSize == 12) {
        width = in.u16(info + 4);
        height = in.u16(info + 6);
        bpp = in.u16(info + 10);
        paletteEntrySize = 3;
    } else if (headerSize >= 40 && headerSize <= 124) {
        width = in.i32(info + 4);
        height = in.i32(info + 8);
        bpp = in.u16(info + 14);
        compression = in.u32(info + 16);
        colorsUsed = in.u32(info + 32);
        if (compression == compressionBitFields)
            for (int i = 0; i < (headerSize >= 56 ? 4 : 3); ++i)
                masks[i] = in.u32(info + 40 + 4 * i);
    } else {
        invalid();
    }

    const bool topDown = height < 0;
    const qint64 rows = topDown ? -qint64(height) : height;
    if (!BitmapSizeAllowed(width, rows))
        invalid();
    const bool validDepth = bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32;
    const bool validCompression = compression == compressionRgb
        || (compression == compressionBitFields && (bpp == 16 || bpp == 32));
    if (!validDepth || !validCompression)
        invalid();

    const qint64 headerEnd = info + headerSize + (headerSize == 40 && compression == compressionBitFields ? 12 : 0);
    const qint64 stride = ((qint64(width) * bpp + 31) / 32) * 4;
    const uchar *pixels = in.bytes(pixelOffset, stride * rows);
    auto rowAt = [&](qint64 y) { return pixels + stride * (topDown ? y : rows - 1 - y); };

    TBmpImage result;
    result.BitsPerPixel = bpp;
    if (bpp <= 8) {
        const qint64 maxColors = qint64(1) << bpp;
        const qint64 colors = colorsUsed == 0 ? maxColors : std::min<qint64>(colorsUsed, maxColors);
        const uchar *palette = in.bytes(headerEnd, colors * paletteEntrySize);
        // Indices past the palette show black.
        QList<QRgb> table(256, qRgb(0, 0, 0));
        for (qint64 i = 0; i < colors; ++i) {
            const uchar *entry = palette + i * paletteEntrySize;
            table[i] = qRgb(entry[2], entry[1], entry[0]);
        }
        QImage image(width, int(rows), QImage::Format_Indexed8);
        if (image.isNull())
            invalid();
        image.setColorTable(table);
        const int perByte = 8 / bpp;
        const int mask = (1 << bpp) - 1;
        for (qint64 y = 0; y < rows; ++y) {
            const uchar *src = rowAt(y);
            uchar *dst = image.scanLine(int(y));
            for (int x = 0; x < width; ++x) {
                const int shift = 8 - bpp * (x % perByte + 1);
                dst[x] = uchar((src[x / perByte] >> shift) & mask);
            }
        }
        result.Image = image;
        return result;
    }

    if (compression == compressionRgb) {
        if (bpp == 16) {
            masks[0] = 0x7C00;
            masks[1] = 0x03E0;
            masks[2] = 0x001F;
        } else {
            masks[0] = 0x00FF0000;
            masks[1] = 0x0000FF00;
            masks[2] = 0x000000FF;
        }
    }
    const Channel red(masks[0]), green(masks[1]), blue(masks[2]), alpha(masks[3]);
    const bool hasAlpha = bpp == 32 && masks[3] != 0;
    QImage image(width, int(rows), hasAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull())
        invalid();
    const int bytesPerPixel = bpp / 8;
    for (qint64 y = 0; y < rows; ++y) {
        const uchar *src = rowAt(y);
        auto *dst = reinterpret_cast<QRgb *>(image.scanLine(int(y)));
        for (int x = 0; x < width; ++x) {
            const uchar *p = src + qint64(x) * bytesPerPixel;
            const quint32 pixel = bpp == 16 ? quint32(p[0] | (p[1] << 8))
                : bpp == 24                 ? quint32(p[0] | (p[1] << 8) | (p[2] << 16))
                                            : qFromLittleEndian<quint32>(p);
            dst[x] = qRgba(red.value(pixel), green.value(pixel), blue.value(pixel),
                           hasAlpha ? alpha.value(pixel) : 255);
        }
    }
    result.Image = image;
    return result;
}

QByteArray WriteBmp(const QImage &source, int bitsPerPixel)
{
    int bpp = bitsPerPixel == 1 || bitsPerPixel == 8 || bitsPerPixel == 32 ? bitsPerPixel : 24;
    QImage image;
    if (bpp == 1)
        image = source.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
    else if (bpp == 8)
        image = source.format() == QImage::Format_Indexed8
            ? source
            : source.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
    else
        image = source.convertToFormat(QImage::Format_ARGB32);

    const int width = image.width();
    const int height = image.height();
    const QList<QRgb> palette = bpp <= 8 ? image.colorTable() : QList<QRgb>();
    const qint64 stride = ((qint64(width) * bpp + 31) / 32) * 4;
    const qint64 pixelOffset = fileHeaderSize + 40 + qint64(palette.size()) * 4;
    const qint64 fileSize = pixelOffset + stride * height;

    QByteArray out(fileSize, '\0');
    auto *base = reinterpret_cast<uchar *>(out.data());
    auto put16 = [&](qint64 at, quint16 v) { qToLittleEndian(v, base + at); };
    auto put32 = [&](qint64 at, quint32 v) { qToLittleEndian(v, base + at); };
    base[0] = 'B';
    base[1] = 'M';
    put32(2, quint32(fileSize));
    put32(10, quint32(pixelOffset));
    put32(14, 40);
    put32(18, quint32(width));
    put32(22, quint32(height));
    put16(26, 1);
    put16(28, quint16(bpp));
    put32(34, quint32(stride * height));
    put32(38, 3780); // 96 dots per inch
    put32(42, 3780);
    put32(46, quint32(palette.size()));
    for (int i = 0; i < palette.size(); ++i) {
        uchar *entry = base + fileHeaderSize + 40 + i * 4;
        entry[0] = uchar(qBlue(palette[i]));
        entry[1] = uchar(qGreen(palette[i]));
        entry[2] = uchar(qRed(palette[i]));
    }
    for (int y = 0; y < height; ++y) {
        uchar *dst = base + pixelOffset + stride * (height - 1 - y);
        const uchar *src = image.constScanLine(y);
        if (bpp == 1) {
            std::copy(src, src + (width + 7) / 8, dst);
            continue;
        }
        if (bpp == 8) {
            std::copy(src, src + width, dst);
            continue;
        }
        const auto *rgb = reinterpret_cast<const QRgb *>(src);
        for (int x = 0; x < width; ++x) {
            uchar *p = dst + qint64(x) * (bpp / 8);
            p[0] = uchar(qBlue(rgb[x]));
            p[1] = uchar(qGreen(rgb[x]));
            p[2] = uchar(qRed(rgb[x]));
            if (bpp == 32)
                p[3] = uchar(qAlpha(rgb[x]));
        }
    }
    return out;
}
