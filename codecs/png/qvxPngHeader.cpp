#include "codecs/png/qvxPngHeader.h"

#include "codecs/png/qvxPngErrors.h"
#include "codecs/png/qvxPngImage.h"
#include "codecs/png/qvxPngShared.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/graphics/BitmapLimits.h"

#include <QtEndian>

namespace {

// More than this many bytes of image data per compressed byte cannot come
// out of deflate (whose best ratio is about 1032 to 1).
constexpr qint64 MaxInflateRatio = 1100;

bool validDepth(quint8 colorType, quint8 depth)
{
    switch (colorType) {
    case 0: return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case 3: return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case 2:
    case 4:
    case 6: return depth == 8 || depth == 16;
    default: return false;
    }
}

} // namespace

int TChunkIHDR::SamplesPerPixel() const
{
    switch (ColorType) {
    case 2: return 3;
    case 4: return 2;
    case 6: return 4;
    default: return 1;
    }
}

qint64 TChunkIHDR::BytesForPixels(qint64 n) const
{
    return (n * SamplesPerPixel() * BitDepth + 7) / 8;
}

int TChunkIHDR::Offset() const
{
    return std::max(1, SamplesPerPixel() * BitDepth / 8);
}

void TChunkIHDR::Validate() const
{
    if (Width > 65535 || Height > 65535)
        throw EPNGSizeExceeds();
    if (CompressionMethod != 0)
        throw EPNGUnknownCompression();
    if (InterlaceMethod > 1)
        throw EPNGUnknownInterlace();
    if (Width == 0 || Height == 0 || FilterMethod != 0 || !validDepth(ColorType, BitDepth))
        throw EPngInvalidIHDR();
}

void TChunkIHDR::PrepareImageData()
{
    if (!BitmapSizeAllowed(Width, Height))
        throw EPNGOutMemory();
    // Reading bytes read before, the planes are the pixels decoded then;
    // the rest is set up alike.
    if (!Owner()->TakeSharedPlanes(*this)) {
        const qint64 pixels = qint64(Width) * Height;
        QImage image = PngShared::NewImage(int(Width), int(Height), imageFormat());
        if (image.isNull())
            throw EPNGOutMemory();
        // Moved, not copied: a palette set on a second reference copies the pixels.
        Image = std::move(image);
        ImageAlpha = HasAlphaPlane() ? QByteArray(pixels, '\0') : QByteArray();
        ExtraImageData = BitDepth == 16 ? QByteArray(pixels * SamplesPerPixel(), '\0') : QByteArray();
    }
    if (ColorType == 3)
        Image.setColorTable(QList<QRgb>(256, qRgb(0, 0, 0)));
    else if (HasPalette())
        BuildGrayPalette();
}

QImage::Format TChunkIHDR::imageFormat() const
{
    if (HasPalette())
        return QImage::Format_Indexed8;
    return ColorType == 6 ? QImage::Format_ARGB32 : QImage::Format_RGB32;
}

void TChunkIHDR::BuildGrayPalette()
{
    const int levels = 1 << std::min<int>(BitDepth, 8);
    QList<QRgb> palette(levels);
    for (int i = 0; i < levels; ++i) {
        const int gray = i * 255 / (levels - 1);
        palette[i] = qRgb(gray, gray, gray);
    }
    Image.setColorTable(palette);
}

void TChunkIHDR::Assign(const TChunk &source)
{
    const auto *header = dynamic_cast<const TChunkIHDR *>(&source);
    if (!header)
        throw EPngError::Incompatible();
    TChunk::Assign(source);
    Width = header->Width;
    Height = header->Height;
    BitDepth = header->BitDepth;
    ColorType = header->ColorType;
    CompressionMethod = header->CompressionMethod;
    FilterMethod = header->FilterMethod;
    InterlaceMethod = header->InterlaceMethod;
    Image = header->Image;
    ImageAlpha = header->ImageAlpha;
    ExtraImageData = header->ExtraImageData;
}

bool TChunkIHDR::LoadFromStream(TStream *stream, const QByteArray &name, quint32 size)
{
    TChunk::LoadFromStream(stream, name, size);
    if (DataSize() < 13)
        throw EPngInvalidIHDR();
    const char *data = Data().constData();
    Width = qFromBigEndian<quint32>(data);
    Height = qFromBigEndian<quint32>(data + 4);
    BitDepth = quint8(data[8]);
    ColorType = quint8(data[9]);
    CompressionMethod = quint8(data[10]);
    FilterMethod = quint8(data[11]);
    InterlaceMethod = quint8(data[12]);
    Validate();
    Owner()->SetInterlaceMethod(InterlaceMethod);
    // A stream too short to hold the image data is cut off: say so before
    // setting up planes for it.
    const qint64 rawBytes = qint64(Height) * (BytesForPixels(Width) + 1);
    if (rawBytes > (stream->Size() - stream->Position()) * MaxInflateRatio)
        throw EPngUnexpectedEnd();
    CheckPictureSize(Width, Height);
    PrepareImageData();
    return true;
}

void TChunkIHDR::SaveToStream(TStream *stream)
{
    QByteArray data(13, '\0');
    qToBigEndian(Width, data.data());
    qToBigEndian(Height, data.data() + 4);
    data[8] = char(BitDepth);
    data[9] = char(ColorType);
    data[10] = char(CompressionMethod);
    data[11] = char(FilterMethod);
    data[12] = char(Owner()->InterlaceMethod());
    SetData(data);
    TChunk::SaveToStream(stream);
}
