#pragma once

// Large PNG pictures made for tests and benchmarks: written row by row
// straight to a file, so that one of tens of millions of pixels is made
// without holding its pixels.  The rows are smooth gradients with a
// pattern, RGBA at 8 bits a sample with an alpha that varies, so the file
// compresses well and still needs every sample decoded.

#include <QFile>
#include <QString>
#include <QtEndian>

#include <vector>

#include <zlib.h>

namespace GeneratedPng {

inline bool writeChunk(QFile &out, const char *name, const QByteArray &data)
{
    char length[4];
    qToBigEndian<quint32>(quint32(data.size()), length);
    uLong crc = crc32(0, reinterpret_cast<const Bytef *>(name), 4);
    crc = crc32(crc, reinterpret_cast<const Bytef *>(data.constData()), uInt(data.size()));
    char sum[4];
    qToBigEndian<quint32>(quint32(crc), sum);
    return out.write(length, 4) == 4 && out.write(name, 4) == 4 && out.write(data) == data.size() &&
           out.write(sum, 4) == 4;
}

inline void fillRow(std::vector<quint8> &row, int y, int width, int height)
{
    row[0] = 0; // filter None
    for (int x = 0; x < width; ++x) {
        quint8 *pixel = row.data() + 1 + qsizetype(x) * 4;
        pixel[0] = quint8(x * 255 / width);
        pixel[1] = quint8(y * 255 / height);
        pixel[2] = quint8((x ^ y) & 0xF0);
        pixel[3] = quint8(255 - ((x / 64 + y / 64) & 1) * 128);
    }
}

} // namespace GeneratedPng

// Writes a width x height RGBA picture to fileName; false when the file
// cannot be written.
inline bool WriteGeneratedPng(const QString &fileName, int width, int height)
{
    QFile out(fileName);
    if (!out.open(QIODevice::WriteOnly) || out.write("\x89PNG\r\n\x1A\n", 8) != 8)
        return false;
    QByteArray header(13, '\0');
    qToBigEndian<quint32>(quint32(width), header.data());
    qToBigEndian<quint32>(quint32(height), header.data() + 4);
    header[8] = 8; // bit depth
    header[9] = 6; // RGBA
    if (!GeneratedPng::writeChunk(out, "IHDR", header))
        return false;

    z_stream zlib{};
    if (deflateInit(&zlib, 1) != Z_OK)
        return false;
    std::vector<quint8> row(1 + size_t(width) * 4);
    QByteArray idat(1 << 20, '\0');
    zlib.next_out = reinterpret_cast<Bytef *>(idat.data());
    zlib.avail_out = uInt(idat.size());
    bool written = true;
    const auto flushFull = [&] {
        if (zlib.avail_out > 0)
            return;
        written = written && GeneratedPng::writeChunk(out, "IDAT", idat);
        zlib.next_out = reinterpret_cast<Bytef *>(idat.data());
        zlib.avail_out = uInt(idat.size());
    };
    for (int y = 0; y < height && written; ++y) {
        GeneratedPng::fillRow(row, y, width, height);
        zlib.next_in = row.data();
        zlib.avail_in = uInt(row.size());
        while (zlib.avail_in > 0 && written) {
            deflate(&zlib, Z_NO_FLUSH);
            flushFull();
        }
    }
    int code = Z_OK;
    while (written && code != Z_STREAM_END) {
        code = deflate(&zlib, Z_FINISH);
        if (code == Z_STREAM_END)
            written = GeneratedPng::writeChunk(out, "IDAT", idat.left(idat.size() - zlib.avail_out));
        else
            flushFull();
    }
    deflateEnd(&zlib);
    return written && GeneratedPng::writeChunk(out, "IEND", QByteArray()) && out.flush();
}
