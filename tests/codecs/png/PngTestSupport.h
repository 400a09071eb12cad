#pragma once

// Helpers of the PNG codec tests: pictures from and to bytes, and streams
// built chunk by chunk.

#include "codecs/png/qvxPngChunks.h"
#include "codecs/png/qvxPngErrors.h"
#include "codecs/png/qvxPngHeader.h"
#include "codecs/png/qvxPngImage.h"
#include "toolkit/classes/Streams.h"

#include <QtEndian>

#include <memory>

inline const QByteArray PngSignature("\x89PNG\r\n\x1A\n", 8);

inline QByteArray PngChunk(const QByteArray &name, const QByteArray &data)
{
    TMemoryStream stream;
    WriteChunk(&stream, name, data.constData(), data.size());
    return stream.Bytes();
}

inline QByteArray PngHeaderData(quint32 width, quint32 height, quint8 depth, quint8 colorType, quint8 interlace = 0)
{
    QByteArray data(13, '\0');
    qToBigEndian(width, data.data());
    qToBigEndian(height, data.data() + 4);
    data[8] = char(depth);
    data[9] = char(colorType);
    data[12] = char(interlace);
    return data;
}

inline void LoadPng(TPNGObject &png, const QByteArray &bytes)
{
    TMemoryStream stream;
    stream.WriteBuffer(bytes);
    stream.SetPosition(0);
    png.LoadFromStream(&stream);
}

inline std::unique_ptr<TPNGObject> PngFromBytes(const QByteArray &bytes)
{
    auto png = std::make_unique<TPNGObject>();
    LoadPng(*png, bytes);
    return png;
}

inline QByteArray PngBytes(const TPNGObject &png)
{
    TMemoryStream stream;
    png.SaveToStream(&stream);
    return stream.Bytes();
}

// The chunk names of a PNG stream in order.
inline QList<QByteArray> PngChunkNames(const QByteArray &bytes)
{
    QList<QByteArray> names;
    qsizetype at = 8;
    while (at + 8 <= bytes.size()) {
        const quint32 length = qFromBigEndian<quint32>(bytes.constData() + at);
        names.append(bytes.mid(at + 4, 4));
        at += 12 + qsizetype(length);
    }
    return names;
}

// The data sizes of the chunks named name.
inline QList<quint32> PngChunkSizes(const QByteArray &bytes, const QByteArray &name)
{
    QList<quint32> sizes;
    qsizetype at = 8;
    while (at + 8 <= bytes.size()) {
        const quint32 length = qFromBigEndian<quint32>(bytes.constData() + at);
        if (bytes.mid(at + 4, 4) == name)
            sizes.append(length);
        at += 12 + qsizetype(length);
    }
    return sizes;
}

inline QString PngSuiteDir()
{
    return QStringLiteral(TEST_DATA_DIR "/pngsuite");
}
