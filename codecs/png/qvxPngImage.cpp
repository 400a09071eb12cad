#include "codecs/png/qvxPngImage.h"

#include "codecs/png/qvxPngErrors.h"
#include "codecs/png/qvxPngHeader.h"
#include "codecs/png/qvxPngIdat.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/graphics/Bitmap.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

const QByteArray pngSignature("\x89PNG\r\n\x1A\n", 8);

QRgb rgbOf(TColor color)
{
    return ColorToQColor(ColorToRGB(color)).rgb();
}

TColor colorOf(QRgb rgb)
{
    return TColor(qRed(rgb) | (qGreen(rgb) << 8) | (qBlue(rgb) << 16));
}

void readExactly(TStream *stream, char *buffer, qint64 count)
{
    if (stream->Read(buffer, count) != count)
        throw EPngUnexpectedEnd();
}

int nearestIndex(const QList<QRgb> &palette, QRgb rgb)
{
    int best = 0;
    int bestDistance = INT_MAX;
    for (int i = 0; i < palette.size(); ++i) {
        const int dr = qRed(palette[i]) - qRed(rgb);
        const int dg = qGreen(palette[i]) - qGreen(rgb);
        const int db = qBlue(palette[i]) - qBlue(rgb);
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

} // namespace

TPNGObject::TPNGObject() : TImageGraphic(QStringLiteral("a PNG image"))
{
    SetGamma(0);
}

TPNGObject::~TPNGObject() = default;

TChunkIHDR *TPNGObject::Header() const
{
    return dynamic_cast<TChunkIHDR *>(m_chunks.Item(0));
}

int TPNGObject::Width() const
{
    const TChunkIHDR *header = Header();
    return header ? int(header->Width) : 0;
}

int TPNGObject::Height() const
{
    const TChunkIHDR *header = Header();
    return header ? int(header->Height) : 0;
}

void TPNGObject::SetWidth(int value)
{
    Resize(value, Height());
}

void TPNGObject::SetHeight(int value)
{
    Resize(Width(), value);
}

void TPNGObject::SetCompressionLevel(int level)
{
    m_compressionLevel = std::clamp(level, 0, 9);
}

void TPNGObject::SetMaxIdatSize(quint32 size)
{
    m_maxIdatSize = std::clamp<quint32>(size, 65535, 0x7FFFFFFF);
}

void TPNGObject::SetGamma(quint32 gamma)
{
    GammaTable = identityGamma();
    if (gamma != 0) {
        const double exponent = 1.0 / ((gamma / 100000.0) * 2.2);
        for (int i = 0; i < 256; ++i)
            GammaTable[size_t(i)] = quint8(std::nearbyint(std::pow(i / 255.0, exponent) * 255.0));
    }
}

// --- Transparency and palette ----------------------------------------------

TPNGTransparencyMode TPNGObject::TransparencyMode() const
{
    const TChunkIHDR *header = Header();
    if (!header)
        return ptmNone;
    const auto *trns = m_chunks.ItemFromClass<TChunktRNS>();
    switch (header->ColorType) {
    case 0:
    case 2: return trns ? ptmBit : ptmNone;
    case 3: return !trns ? ptmNone : trns->BitTransparency() ? ptmBit : ptmPartial;
    case 4:
    case 6: return ptmPartial;
    default: return ptmNone;
    }
}

TColor TPNGObject::TransparentColor() const
{
    const TChunkIHDR *header = Header();
    const auto *trns = m_chunks.ItemFromClass<TChunktRNS>();
    if (!header || !trns)
        return clBlack;
    const QList<QRgb> palette = header->Image.colorTable();
    switch (header->ColorType) {
    case 0: {
        const int index = trns->KeyByte(0);
        return index < palette.size() ? colorOf(gammaOf(palette[index])) : clBlack;
    }
    case 2:
        return colorOf(gammaOf(qRgb(trns->KeyByte(0), trns->KeyByte(1), trns->KeyByte(2))));
    case 3:
        for (int i = 0; i < palette.size(); ++i)
            if (trns->PaletteValues()[size_t(i)] == 0)
                return colorOf(gammaOf(palette[i]));
        return clBlack;
    default:
        return clBlack;
    }
}

QList<QRgb> TPNGObject::Palette() const
{
    const TChunkIHDR *header = Header();
    if (!header)
        throw EPNGHeaderNotPresent();
    return header->Image.colorTable();
}

void TPNGObject::SetPalette(const QList<QRgb> &palette)
{
    TChunkIHDR *header = Header();
    if (!header || !header->HasPalette())
        return;
    // Indices past the palette show black rather than reading past it.
    QList<QRgb> table = palette;
    if (header->ColorType == 3 && table.size() < 256)
        table.resize(256, qRgb(0, 0, 0));
    header->Image.setColorTable(table);
    ImageChanged();
}

QRgb TPNGObject::gammaOf(QRgb rgb) const
{
    return qRgba(GammaTable[qRed(rgb)], GammaTable[qGreen(rgb)], GammaTable[qBlue(rgb)], qAlpha(rgb));
}

bool TPNGObject::IsKey(const TChunktRNS &trns, int x, int y) const
{
    const TChunkIHDR &header = *Header();
    const int channels = header.ColorType == 2 ? 3 : 1;
    const QRgb rgb = header.Image.pixel(x, y);
    const int high[3] = {channels == 1 ? header.Image.constScanLine(y)[x] : qRed(rgb), qGreen(rgb), qBlue(rgb)};
    const auto *low = reinterpret_cast<const quint8 *>(header.ExtraImageData.constData());
    const qsizetype at = (qsizetype(y) * header.Width + x) * channels;
    for (int c = 0; c < channels; ++c) {
        if (high[c] != trns.KeyByte(c))
            return false;
        if (header.BitDepth == 16 && low[at + c] != (trns.KeySample(c) & 0xFF))
            return false;
    }
    return true;
}

void TPNGObject::ImageChanged()
{
    // Reading shows the picture once it is read; a picture shown before
    // would hold the image being decoded and make the decoding copy it.
    if (m_reading)
        return;
    const TChunkIHDR *header = Header();
    if (!header || header->Image.isNull()) {
        SetImage(QImage());
        Changed();
        return;
    }
    const bool identity = GammaTable == identityGamma();
    const TPNGTransparencyMode mode = TransparencyMode();
    // An RGBA image holds its alpha: it is shown as it is.
    if (identity && (mode == ptmNone || header->ColorType == 6)) {
        SetImage(header->Image);
        Changed();
        return;
    }
    if (mode == ptmNone && header->HasPalette()) {
        QList<QRgb> table = header->Image.colorTable();
        for (QRgb &entry : table)
            entry = gammaOf(entry);
        SetImage(PngShared::WithColorTable(header->Image, table));
        Changed();
        return;
    }
    // Made over a buffer of its own, so that pictures read from the same
    // bytes can share it as well.
    QImage shown = PngShared::NewImage(header->Image.width(), header->Image.height(), QImage::Format_ARGB32);
    if (shown.isNull())
        throw EPNGOutMemory();
    // The decoded image is indexed (grey or palette) or holds its colours.
    const bool indexed = header->Image.format() == QImage::Format_Indexed8;
    const QList<QRgb> palette = header->Image.colorTable();
    const auto *trns = m_chunks.ItemFromClass<TChunktRNS>();
    const auto *alphaPlane = reinterpret_cast<const quint8 *>(header->ImageAlpha.constData());
    for (int y = 0; y < shown.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(shown.scanLine(y));
        const uchar *indices = header->Image.constScanLine(y);
        const auto *colours = reinterpret_cast<const QRgb *>(indices);
        const quint8 *alpha = header->HasAlphaPlane() ? alphaPlane + qsizetype(y) * shown.width() : nullptr;
        for (int x = 0; x < shown.width(); ++x) {
            // An index past the palette shows black, as QImage::pixel has it.
            const QRgb colour = !indexed ? colours[x] : indices[x] < palette.size() ? palette[indices[x]] : 0;
            int a = 255;
            switch (mode == ptmNone ? -1 : header->ColorType) {
            case 0:
            case 2: a = IsKey(*trns, x, y) ? 0 : 255; break;
            case 3: a = trns->PaletteValues()[indices[x]]; break;
            case 4: a = alpha[x]; break;
            case 6: a = qAlpha(colour); break;
            default: break;
            }
            line[x] = (gammaOf(colour & 0xFFFFFF) & 0xFFFFFF) | quint32(a) << 24;
        }
    }
    SetImage(shown);
    Changed();
}

// --- Loading and saving ------------------------------------------------------

const std::array<quint8, 256> &TPNGObject::identityGamma()
{
    static const std::array<quint8, 256> table = [] {
        std::array<quint8, 256> t;
        for (int i = 0; i < 256; ++i)
            t[size_t(i)] = quint8(i);
        return t;
    }();
    return table;
}

void TPNGObject::ClearChunks()
{
    SetImage(QImage());
    m_chunks.Clear();
    SetGamma(0);
}

void TPNGObject::LoadFromStream(TStream *stream)
{
    ClearChunks();
    struct Shown {
        TPNGObject *picture;
        // A picture that failed to read shows what it read.
        ~Shown()
        {
            picture->m_sharedPlanes.reset();
            if (picture->m_reading) {
                picture->m_reading = false;
                picture->ImageChanged();
            }
        }
    } shown{this};
    m_reading = true;

    const qint64 start = stream->Position();
    const qint64 length = std::max<qint64>(0, stream->Size() - start);
    if (length > MaxSharedFileBytes) {
        ReadChunks(stream);
        m_reading = false;
        ImageChanged();
        return;
    }
    TMemoryStream bytes;
    bytes.SetSize(length);
    stream->ReadBuffer(bytes.Memory(), length);
    struct Consumed {
        TStream *stream;
        qint64 start;
        TMemoryStream &bytes;
        ~Consumed() { stream->SetPosition(start + bytes.Position()); }
    } consumed{stream, start, bytes};
    m_sharedPlanes = PngShared::Find(bytes.Bytes());
    ReadChunks(&bytes);
    m_reading = false;
    ShareRead(bytes.Bytes());
}

void TPNGObject::ShareRead(const QByteArray &bytes)
{
    // Planes taken from the registry are registered already: Share leaves
    // them as they are.
    if (TChunkIHDR *header = Header()) {
        TPngPlanes planes{std::move(header->Image), header->ImageAlpha, header->ExtraImageData};
        PngShared::Share(bytes, planes);
        header->Image = std::move(planes.Image);
    }
    if (std::optional<QImage> shown = PngShared::FindShown(bytes)) {
        SetImage(*shown);
        Changed();
        return;
    }
    ImageChanged();
    // The picture as drawn, where it is made from the decoded image.
    if (Header() && Image().constBits() != Header()->Image.constBits()) {
        QImage image = Image();
        SetImage(QImage());
        PngShared::ShareShown(bytes, image);
        SetImage(image);
    }
}

bool TPNGObject::TakeSharedPlanes(TChunkIHDR &header)
{
    if (!m_sharedPlanes || m_sharedPlanes->Image.isNull())
        return false;
    // Moved: the palette chunk sets the image's palette, which would copy
    // the pixels of an image held twice.
    header.Image = std::move(m_sharedPlanes->Image);
    header.ImageAlpha = std::move(m_sharedPlanes->ImageAlpha);
    header.ExtraImageData = std::move(m_sharedPlanes->ExtraImageData);
    return true;
}

void TPNGObject::ReadChunks(TStream *stream)
{
    char signature[8];
    if (stream->Read(signature, 8) != 8 || QByteArray(signature, 8) != pngSignature)
        throw EPNGInvalidFileHeader();
    bool hasImageData = false;
    for (;;) {
        char head[8];
        readExactly(stream, head, 8);
        const quint32 length = qFromBigEndian<quint32>(head);
        const QByteArray name(head + 4, 4);
        if (m_chunks.Count() == 0 && name != "IHDR")
            throw EPNGIHDRNotFirst();
        if (name == "cHRM" || (name == "IDAT" && hasImageData)) {
            if (length > 0x7FFFFFFF || qint64(length) + 4 > stream->Size() - stream->Position())
                throw EPngUnexpectedEnd();
            stream->Seek(qint64(length) + 4, soCurrent);
            continue;
        }
        TChunk *chunk = m_chunks.Add(CreateClassChunk(this, name));
        const TChunk &created = *chunk;
        if (typeid(created) == typeid(TChunk) && chunk->IsCritical())
            throw EPNGUnknownCriticalChunk();
        hasImageData = hasImageData || name == "IDAT";
        if (!chunk->LoadFromStream(stream, name, length))
            break;
    }
    if (!hasImageData)
        throw EPNGNoImageData();
}

void TPNGObject::SaveToStream(TStream *stream) const
{
    stream->WriteBuffer(pngSignature);
    for (int i = 0; i < m_chunks.Count(); ++i)
        m_chunks.Item(i)->SaveToStream(stream);
}

// --- Assigning ---------------------------------------------------------------

void TPNGObject::Assign(const TPersistent *source)
{
    if (!source) {
        ClearChunks();
        ImageChanged();
    } else if (const auto *png = qobject_cast<const TPNGObject *>(source)) {
        if (png == this)
            return;
        m_interlaceMethod = png->m_interlaceMethod;
        m_maxIdatSize = png->m_maxIdatSize;
        m_compressionLevel = png->m_compressionLevel;
        m_filters = png->m_filters;
        ClearChunks();
        GammaTable = png->GammaTable;
        for (int i = 0; i < png->m_chunks.Count(); ++i) {
            const TChunk *from = png->m_chunks.Item(i);
            m_chunks.Add(CreateClassChunk(this, from->Name()))->Assign(*from);
        }
        // The same chunks and gamma show the same picture: a copy shares it.
        SetImage(png->Image());
        Changed();
    } else if (const auto *bitmap = qobject_cast<const TBitmap *>(source)) {
        AssignHandle(bitmap->Image(), bitmap->Transparent(), bitmap->TransparentColor());
    } else {
        TImageGraphic::Assign(source);
    }
}

void TPNGObject::AssignTo(TPersistent *dest) const
{
    auto *bitmap = qobject_cast<TBitmap *>(dest);
    const TChunkIHDR *header = Header();
    const TPNGTransparencyMode mode = TransparencyMode();
    if (auto *png = qobject_cast<TPNGObject *>(dest)) {
        png->Assign(this);
        return;
    }
    if (!bitmap || !header || mode == ptmPartial) {
        TImageGraphic::AssignTo(dest);
        return;
    }
    // A bitmap of one bit is black and white: a two-colour palette takes
    // four bits.
    TPixelFormat format = pf24bit;
    if (header->BitDepth == 1 && header->ColorType == 0)
        format = pf1bit;
    else if (header->BitDepth < 8)
        format = pf4bit;
    else if (header->ColorType == 3)
        format = pf8bit;
    // Image() keeps the colour of transparent pixels under their alpha.
    bitmap->SetImage(Image().hasAlphaChannel() ? Image().convertToFormat(QImage::Format_RGB32) : Image());
    bitmap->SetPixelFormat(format);
    bitmap->SetTransparentColor(TransparentColor());
    bitmap->SetTransparent(mode == ptmBit);
}

void TPNGObject::AssignHandle(const QImage &image, bool transparent, TColor transparentColor)
{
    ClearChunks();
    if (image.isNull()) {
        ImageChanged();
        return;
    }
    const bool paletted = (image.format() == QImage::Format_Indexed8 || image.format() == QImage::Format_Mono ||
                           image.format() == QImage::Format_MonoLSB) &&
                          image.colorCount() <= 256;
    const QImage source = paletted ? image.convertToFormat(QImage::Format_Indexed8)
                                   : image.convertToFormat(QImage::Format_RGB32);
    auto header = std::make_unique<TChunkIHDR>(this);
    header->SetName(TChunkIHDR::ChunkName);
    header->Width = quint32(source.width());
    header->Height = quint32(source.height());
    header->ColorType = paletted ? 3 : 2;
    header->BitDepth = !paletted ? 8 : source.colorCount() <= 2 ? 1 : source.colorCount() <= 16 ? 4 : 8;
    header->Validate();
    header->PrepareImageData();
    TChunkIHDR *added = static_cast<TChunkIHDR *>(m_chunks.Add(std::move(header)));
    if (paletted) {
        const int entries = 1 << added->BitDepth;
        QList<QRgb> palette = source.colorTable();
        palette.resize(entries, qRgb(0, 0, 0));
        for (int y = 0; y < source.height(); ++y)
            std::memcpy(added->Image.scanLine(y), source.constScanLine(y), size_t(source.width()));
        SetPalette(palette);
        m_chunks.Add(CreateClassChunk(this, "PLTE"));
    } else {
        added->Image = source;
    }
    if (transparent) {
        auto trns = CreateClassChunk(this, "tRNS");
        if (static_cast<TChunktRNS *>(trns.get())->SetTransparentColor(rgbOf(transparentColor)))
            m_chunks.Add(std::move(trns));
    }
    m_chunks.Add(CreateClassChunk(this, "IDAT"));
    m_chunks.Add(CreateClassChunk(this, "IEND"));
    ImageChanged();
}

// --- Size and pixels ---------------------------------------------------------

void TPNGObject::Resize(int width, int height)
{
    if (width <= 0 || height <= 0)
        throw EPNGInvalidNewSize();
    TChunkIHDR *header = Header();
    if (!header)
        throw EPNGHeaderNotPresent();
    const QImage oldImage = header->Image;
    const QByteArray oldAlpha = header->ImageAlpha;
    const QByteArray oldExtra = header->ExtraImageData;
    const int oldWidth = int(header->Width);
    const quint32 savedWidth = header->Width;
    const quint32 savedHeight = header->Height;
    header->Width = quint32(width);
    header->Height = quint32(height);
    try {
        header->Validate();
        header->PrepareImageData();
    } catch (...) {
        header->Width = savedWidth;
        header->Height = savedHeight;
        throw;
    }
    header->Image.setColorTable(oldImage.colorTable());
    header->ImageAlpha.fill(char(255));
    if (header->ColorType == 6)
        header->Image.fill(qRgba(0, 0, 0, 255));
    const int keepWidth = std::min(width, oldWidth);
    const int keepHeight = std::min(height, oldImage.height());
    const int samples = header->SamplesPerPixel();
    const int pixelBytes = oldImage.depth() / 8;
    for (int y = 0; y < keepHeight; ++y) {
        std::memcpy(header->Image.scanLine(y), oldImage.constScanLine(y), size_t(keepWidth * pixelBytes));
        if (!oldAlpha.isEmpty())
            std::memcpy(header->ImageAlpha.data() + qsizetype(y) * width, oldAlpha.constData() + qsizetype(y) * oldWidth,
                        size_t(keepWidth));
        if (!oldExtra.isEmpty())
            std::memcpy(header->ExtraImageData.data() + qsizetype(y) * width * samples,
                        oldExtra.constData() + qsizetype(y) * oldWidth * samples, size_t(keepWidth * samples));
    }
    ImageChanged();
}

TColor TPNGObject::Pixels(int x, int y) const
{
    const TChunkIHDR *header = Header();
    if (!header || x < 0 || y < 0 || x >= int(header->Width) || y >= int(header->Height))
        return 0;
    switch (header->ColorType) {
    case 2:
    case 6: return colorOf(header->Image.pixel(x, y));
    case 4: {
        const int gray = header->Image.constScanLine(y)[x];
        return colorOf(qRgb(gray, gray, gray));
    }
    default: {
        const int index = header->Image.constScanLine(y)[x];
        const QList<QRgb> palette = header->Image.colorTable();
        return index < palette.size() ? colorOf(gammaOf(palette[index])) : clBlack;
    }
    }
}

void TPNGObject::SetPixels(int x, int y, TColor color)
{
    TChunkIHDR *header = Header();
    if (!header || x < 0 || y < 0 || x >= int(header->Width) || y >= int(header->Height))
        return;
    // Let go of the picture shown, so that the planes change in place.
    SetImage(QImage());
    const QRgb rgb = rgbOf(color);
    QList<quint8> written;
    switch (header->ColorType) {
    case 2:
    case 6:
        // The alpha of an RGBA pixel stays.
        header->Image.setPixel(x, y, (rgb & RGB_MASK) | (header->Image.pixel(x, y) & ~RGB_MASK));
        written = {quint8(qRed(rgb)), quint8(qGreen(rgb)), quint8(qBlue(rgb))};
        break;
    case 4:
        header->Image.scanLine(y)[x] = uchar(qRed(rgb));
        written = {quint8(qRed(rgb))};
        break;
    default: {
        QList<QRgb> shown = header->Image.colorTable();
        for (QRgb &entry : shown)
            entry = gammaOf(entry);
        const int index = nearestIndex(shown, rgb);
        header->Image.scanLine(y)[x] = uchar(index);
        written = {quint8(index)};
        break;
    }
    }
    // A 16-bit sample takes the value v * 257, whose low byte is v.
    if (!header->ExtraImageData.isEmpty()) {
        const int samples = header->SamplesPerPixel();
        char *extra = header->ExtraImageData.data() + (qsizetype(y) * header->Width + x) * samples;
        for (int c = 0; c < written.size(); ++c)
            extra[c] = char(written[c]);
    }
    ImageChanged();
}
