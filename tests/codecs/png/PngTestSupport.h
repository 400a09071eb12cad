#pragma once

// Helpers of the PNG codec tests: pictures from and to bytes, streams
// built chunk by chunk, the files of the PngSuite, and pictures drawn.

#include "codecs/png/qvxPngChunks.h"
#include "codecs/png/qvxPngErrors.h"
#include "codecs/png/qvxPngHeader.h"
#include "codecs/png/qvxPngImage.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/graphics/Canvas.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

// The names of the PngSuite's files without their extension, in order;
// those of corrupt files start with an x.
inline QStringList PngSuiteNames()
{
    QStringList names;
    for (const QFileInfo &file : QDir(PngSuiteDir() + QStringLiteral("/png"))
                                     .entryInfoList({QStringLiteral("*.png")}, QDir::Files, QDir::Name))
        names.append(file.completeBaseName());
    return names;
}

// The bytes of a file of the PngSuite, by its name without the extension;
// empty when it cannot be read.
inline QByteArray PngSuiteBytes(const QString &name)
{
    QFile file(PngSuiteDir() + QStringLiteral("/png/%1.png").arg(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A grey picture's bytes with a palette chunk of four colours after the
// header, which the format forbids for grey images and readers ignore.
inline QByteArray GreyPngWithPalette(const QByteArray &grey)
{
    const qsizetype afterHeader = PngSignature.size() + 12 + 13;
    const QByteArray colours("\xFF\x00\x00" "\x00\xFF\x00" "\x00\x00\xFF" "\xFF\xFF\x00", 12);
    return grey.left(afterHeader) + PngChunk("PLTE", colours) + grey.mid(afterHeader);
}

// A white width x height image after drawing png into rect on it.
inline QImage PngDrawnOnWhite(const TPNGObject &png, const TRect &rect, int width, int height)
{
    QImage target(width, height, QImage::Format_RGB32);
    target.fill(Qt::white);
    TCanvas canvas;
    canvas.SetDevice(&target);
    canvas.StretchDraw(rect, &png);
    canvas.ReleaseHandle();
    return target;
}
