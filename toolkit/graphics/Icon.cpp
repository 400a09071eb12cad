#include "toolkit/graphics/Icon.h"

#include "toolkit/graphics/BmpCodec.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/classes/Streams.h"

#include <QCoreApplication>
#include <QPainter>
#include <QtEndian>

#include <memory>

namespace {

[[noreturn]] void invalid()
{
    throw EInvalidGraphic(QCoreApplication::translate("Icon", "Icon image is not valid"));
}

const QByteArray pngSignature("\x89PNG\r\n\x1A\n", 8);

quint32 u32(const QByteArray &data, qint64 at)
{
    if (at < 0 || at + 4 > data.size())
        invalid();
    return qFromLittleEndian<quint32>(data.constData() + at);
}

quint16 u16(const QByteArray &data, qint64 at)
{
    if (at < 0 || at + 2 > data.size())
        invalid();
    return qFromLittleEndian<quint16>(data.constData() + at);
}

QImage pngImage(const QByteArray &data)
{
    const TGraphicFormat *format = GraphicFormatBySignature(data);
    if (!format)
        invalid();
    std::unique_ptr<TGraphic> graphic(format->Create());
    TMemoryStream stream;
    stream.WriteBuffer(data);
    stream.SetPosition(0);
    graphic->LoadFromStream(&stream);
    QImage image(graphic->Width(), graphic->Height(), QImage::Format_ARGB32);
    if (image.isNull())
        invalid();
    image.fill(Qt::transparent);
    TCanvas canvas;
    canvas.SetDevice(&image);
    canvas.Draw(0, 0, graphic.get());
    canvas.ReleaseHandle();
    return image;
}

// A device-independent bitmap with its doubled height: the colour rows, then
// the one-bit transparency mask (1 = transparent).  A 32-bit image carries
// alpha in its fourth bytes instead, when any of them is set.
QImage dibImage(const QByteArray &dib)
{
    const quint32 headerSize = u32(dib, 0);
    if (headerSize < 40 || headerSize > 124)
        invalid();
    const qint32 width = qint32(u32(dib, 4));
    const qint32 height = qint32(u32(dib, 8)) / 2;
    const int bpp = u16(dib, 14);
    const quint32 colorsUsed = u32(dib, 32);
    if (width <= 0 || height <= 0 || bpp == 0 || bpp > 32)
        invalid();
    const qint64 paletteSize = bpp <= 8 ? qint64(colorsUsed ? colorsUsed : 1u << bpp) * 4 : 0;
    const qint64 colorOffset = headerSize + paletteSize;
    const qint64 colorStride = ((qint64(width) * bpp + 31) / 32) * 4;
    const qint64 maskOffset = colorOffset + colorStride * height;
    const qint64 maskStride = ((qint64(width) + 31) / 32) * 4;

    // The colour part as a bitmap file of the single height.
    QByteArray file("BM", 2);
    file.resize(14);
    qToLittleEndian<quint32>(quint32(14 + dib.size()), file.data() + 2);
    qToLittleEndian<quint32>(0, file.data() + 6);
    qToLittleEndian<quint32>(quint32(14 + colorOffset), file.data() + 10);
    QByteArray header = dib;
    qToLittleEndian<qint32>(height, header.data() + 8);
    QImage image = ReadBmp(file + header).Image.convertToFormat(QImage::Format_ARGB32);

    bool hasAlpha = false;
    if (bpp == 32) {
        for (qint32 y = 0; y < height && !hasAlpha; ++y)
            for (qint32 x = 0; x < width && !hasAlpha; ++x)
                hasAlpha = dib[colorOffset + colorStride * y + 4 * x + 3] != 0;
    }
    const bool hasMask = maskOffset + maskStride * height <= dib.size();
    for (qint32 y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(height - 1 - y));
        for (qint32 x = 0; x < width; ++x) {
            int alpha = 255;
            if (hasAlpha)
                alpha = quint8(dib[colorOffset + colorStride * y + 4 * x + 3]);
            else if (hasMask && (quint8(dib[maskOffset + maskStride * y + x / 8]) >> (7 - x % 8)) & 1)
                alpha = 0;
            line[x] = (line[x] & 0xFFFFFF) | (quint32(alpha) << 24);
        }
    }
    return image;
}

} // namespace

TIcon::TIcon() : TImageGraphic(QStringLiteral("an icon")) {}

void TIcon::LoadFromStream(TStream *stream)
{
    const QByteArray data = stream->ReadToEnd();
    if (u16(data, 0) != 0 || (u16(data, 2) != 1 && u16(data, 2) != 2) || u16(data, 4) == 0)
        invalid();
    const quint32 size = u32(data, 6 + 8);
    const quint32 offset = u32(data, 6 + 12);
    if (offset > quint32(data.size()) || size > quint32(data.size()) - offset)
        invalid();
    const QByteArray image = data.mid(offset, size);
    SetImage(image.startsWith(pngSignature) ? pngImage(image) : dibImage(image));
    m_data = data;
    Changed();
}

void TIcon::SaveToStream(TStream *stream) const
{
    stream->WriteBuffer(m_data);
}

void TIcon::Assign(const TPersistent *source)
{
    const auto *icon = qobject_cast<const TIcon *>(source);
    if (!icon) {
        TGraphic::Assign(source);
        return;
    }
    SetImage(icon->Image());
    m_data = icon->m_data;
    Changed();
}
