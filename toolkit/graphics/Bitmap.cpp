#include "toolkit/graphics/Bitmap.h"

#include "toolkit/graphics/BitmapLimits.h"

#include "toolkit/graphics/BmpCodec.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/classes/Streams.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QPainter>

namespace {

bool isPaletted(TPixelFormat format)
{
    return format == pf1bit || format == pf4bit || format == pf8bit;
}

int bitsPerPixel(TPixelFormat format)
{
    switch (format) {
    case pf1bit: return 1;
    case pf4bit:
    case pf8bit: return 8;
    case pf32bit: return 32;
    default: return 24;
    }
}

TPixelFormat formatOfImage(const QImage &image)
{
    switch (image.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB: return pf1bit;
    case QImage::Format_Indexed8:
    case QImage::Format_Grayscale8: return pf8bit;
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied: return pf32bit;
    default: return pf24bit;
    }
}

QImage convertedTo(const QImage &image, TPixelFormat format)
{
    switch (format) {
    case pf1bit:
        return image.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither)
            .convertToFormat(QImage::Format_Indexed8);
    case pf4bit:
    case pf8bit:
        return image.format() == QImage::Format_Indexed8
            ? image
            : image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
    case pf32bit: return image.convertToFormat(QImage::Format_ARGB32);
    default: return image.convertToFormat(QImage::Format_RGB32);
    }
}

} // namespace

TBitmap::TBitmap() = default;

TBitmap::~TBitmap() = default;

void TBitmap::ReplaceImage(const QImage &image)
{
    ReplaceImage(image, image.width(), image.height());
}

void TBitmap::ReplaceImage(const QImage &image, int width, int height)
{
    if (m_canvas)
        m_canvas->ReleaseHandle();
    m_image = image;
    m_width = width;
    m_height = height;
    if (m_canvas)
        m_canvas->SetDevice(m_image.isNull() ? nullptr : &m_image);
    Changed();
}

void TBitmap::EnsurePaintable()
{
    if (m_image.format() != QImage::Format_RGB32 && m_image.format() != QImage::Format_ARGB32)
        ReplaceImage(m_image.convertToFormat(m_pixelFormat == pf32bit ? QImage::Format_ARGB32
                                                                      : QImage::Format_RGB32));
}

void TBitmap::SetSize(int width, int height)
{
    width = std::max(0, width);
    height = std::max(0, height);
    if (width == m_width && height == m_height)
        return;
    CheckBitmapSize(std::max(width, 1), std::max(height, 1));
    if (width == 0 || height == 0) {
        ReplaceImage(QImage(), width, height);
        return;
    }
    QImage resized(width, height, m_pixelFormat == pf32bit ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (resized.isNull())
        throw EInvalidGraphicOperation(
            QCoreApplication::translate("Bitmap", "Not enough memory for a bitmap of %1 x %2").arg(width).arg(height));
    resized.fill(Qt::white);
    if (!m_image.isNull()) {
        QPainter painter(&resized);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, m_image);
    }
    ReplaceImage(isPaletted(m_pixelFormat) ? convertedTo(resized, m_pixelFormat) : resized);
}

void TBitmap::SetPixelFormat(TPixelFormat format)
{
    if (format == m_pixelFormat)
        return;
    m_pixelFormat = format;
    if (!m_image.isNull())
        ReplaceImage(convertedTo(m_image, format));
}

TColor TBitmap::TransparentColor() const
{
    if (m_transparentColor != clDefault)
        return m_transparentColor;
    if (m_image.isNull())
        return clDefault;
    return QColorToColor(m_image.pixelColor(0, m_image.height() - 1));
}

void TBitmap::SetTransparentColor(TColor color)
{
    if (m_transparentColor == color)
        return;
    m_transparentColor = color;
    Changed();
}

TCanvas *TBitmap::Canvas()
{
    if (!m_canvas) {
        m_canvas = std::make_unique<TCanvas>();
        m_canvas->Brush()->SetColor(clWhite);
    }
    EnsurePaintable();
    QPaintDevice *device = m_image.isNull() ? nullptr : &m_image;
    if (m_canvas->Device() != device)
        m_canvas->SetDevice(device);
    return m_canvas.get();
}

void TBitmap::SetImage(const QImage &image)
{
    m_pixelFormat = formatOfImage(image);
    ReplaceImage(image.format() == QImage::Format_Grayscale8 ? image.convertToFormat(QImage::Format_Indexed8)
                                                             : image);
}

void TBitmap::LoadFromStream(TStream *stream)
{
    const TBmpImage bmp = ReadBmp(stream->ReadToEnd());
    switch (bmp.BitsPerPixel) {
    case 1: m_pixelFormat = pf1bit; break;
    case 4: m_pixelFormat = pf4bit; break;
    case 8: m_pixelFormat = pf8bit; break;
    case 16: m_pixelFormat = pf16bit; break;
    case 32: m_pixelFormat = pf32bit; break;
    default: m_pixelFormat = pf24bit; break;
    }
    ReplaceImage(bmp.Image);
}

void TBitmap::SaveToStream(TStream *stream) const
{
    if (m_image.isNull())
        return;
    stream->WriteBuffer(WriteBmp(m_image, bitsPerPixel(m_pixelFormat)));
}

void TBitmap::LoadFromResourceName(const QString &name)
{
    QFile file(QStringLiteral(":/bitmaps/%1.bmp").arg(name));
    if (!file.open(QIODevice::ReadOnly))
        throw EResNotFound(QStringLiteral("Resource %1 not found").arg(name));
    TMemoryStream stream;
    stream.WriteBuffer(file.readAll());
    stream.SetPosition(0);
    LoadFromStream(&stream);
}

void TBitmap::Draw(TCanvas *canvas, const TRect &rect) const
{
    if (m_image.isNull())
        return;
    canvas->StretchImage(rect, m_image, Transparent() ? TransparentColor() : clNone);
}

void TBitmap::Assign(const TPersistent *source)
{
    if (!source) {
        ReplaceImage(QImage(), 0, 0);
        return;
    }
    if (const auto *bitmap = qobject_cast<const TBitmap *>(source)) {
        m_pixelFormat = bitmap->m_pixelFormat;
        m_transparentColor = bitmap->m_transparentColor;
        SetTransparent(bitmap->Transparent());
        ReplaceImage(bitmap->m_image, bitmap->m_width, bitmap->m_height);
        return;
    }
    TGraphic::Assign(source);
}

TBitmap *AllocPatternBitmap(TColor background, TColor foreground)
{
    static QHash<QPair<TColor, TColor>, std::shared_ptr<TBitmap>> patterns;
    auto &slot = patterns[qMakePair(background, foreground)];
    if (!slot) {
        QImage image(8, 8, QImage::Format_RGB32);
        const QRgb colors[2] = {ColorToQColor(background).rgb(), ColorToQColor(foreground).rgb()};
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                image.setPixel(x, y, colors[(x + y) % 2]);
        slot = std::make_shared<TBitmap>();
        slot->SetImage(image);
    }
    return slot.get();
}
