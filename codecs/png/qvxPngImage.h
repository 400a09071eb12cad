#pragma once

// TPNGObject: a PNG picture as a graphic of the toolkit.
//
// The picture is the list of its chunks (qvxPngChunks.h); the header chunk
// holds the pixels (qvxPngHeader.h).  Loading reads the chunks in file order
// and checks every length, CRC and field: malformed data raises one of the
// exceptions of qvxPngErrors.h, and the chunks read before the error stay.
// Saving writes the chunks in list order.  The samples are kept as the
// file has them, so a picture saved again keeps its pixels; the gamma table
// of the file's gAMA chunk applies to the picture as drawn and to the
// colours Pixels reads from grey and palette images.
//
// The picture draws itself opaque, with one transparent colour, or blended
// by its alpha, stretched with the nearest source pixel; Image() is the
// picture as drawn (with an alpha channel when it has transparency).

#include "codecs/png/qvxPngChunks.h"
#include "codecs/png/qvxPngShared.h"
#include "toolkit/graphics/Colors.h"
#include "toolkit/graphics/ImageGraphic.h"

#include <array>
#include <optional>

class TBitmap;
class TChunkIHDR;
class TChunktRNS;

enum TPNGTransparencyMode { ptmNone, ptmBit, ptmPartial };

// Row filters, as bits of TPNGObject::Filters.
enum TFilter : quint8 {
    pfNone = 1 << 0,
    pfSub = 1 << 1,
    pfUp = 1 << 2,
    pfAverage = 1 << 3,
    pfPaeth = 1 << 4,
};

class TPNGObject : public TImageGraphic
{
    Q_OBJECT

public:
    TPNGObject();
    ~TPNGObject() override;

    // No chunks at all.
    bool Empty() const override { return m_chunks.Count() == 0; }
    // The header's size; 0 without a header.
    int Width() const override;
    int Height() const override;
    // Resize keeping the other side.
    void SetWidth(int value) override;
    void SetHeight(int value) override;

    TPNGTransparencyMode TransparencyMode() const;
    bool Transparent() const override { return TransparencyMode() != ptmNone; }
    // The colour left out with ptmBit: the palette colour of the first
    // fully transparent entry, or the colour of the tRNS key; black without
    // one.
    TColor TransparentColor() const;

    // The image palette (the colour table of the header's image); raises
    // EPNGHeaderNotPresent without a header.  Setting changes nothing for
    // RGB images.
    QList<QRgb> Palette() const;
    void SetPalette(const QList<QRgb> &palette);

    // Writing settings.
    quint8 Filters() const { return m_filters; }
    void SetFilters(quint8 filters) { m_filters = filters; }
    // zlib level 0..9.
    int CompressionLevel() const { return m_compressionLevel; }
    void SetCompressionLevel(int level);
    // The largest IDAT chunk written; values below 65535 keep 65535.
    quint32 MaxIdatSize() const { return m_maxIdatSize; }
    void SetMaxIdatSize(quint32 size);
    // 0 none, 1 Adam7.
    quint8 InterlaceMethod() const { return m_interlaceMethod; }
    void SetInterlaceMethod(quint8 method) { m_interlaceMethod = method; }

    // Sample values mapped by the file's gamma for a screen of gamma 2.2:
    // (v / 255) ^ (1 / (gamma * 2.2)), identity without gAMA.
    std::array<quint8, 256> GammaTable;
    // Fills the table for a gAMA value (100000 = 1.0; 0: identity).
    void SetGamma(quint32 gamma);

    TPNGList &Chunks() { return m_chunks; }
    const TPNGList &Chunks() const { return m_chunks; }
    // The first chunk when it is the header, else nullptr.
    TChunkIHDR *Header() const;

    // Pictures read from the same bytes share their decoded pixels
    // (qvxPngShared.h), for files of up to MaxSharedFileBytes.
    void LoadFromStream(TStream *stream) override;
    void SaveToStream(TStream *stream) const override;

    // From nothing: clears; from a TPNGObject: its settings, gamma and a
    // copy of every chunk, sharing the pixels (and the picture as drawn)
    // until either changes them; from a TBitmap: AssignHandle with the bitmap's
    // transparency.
    void Assign(const TPersistent *source) override;
    // Builds the picture from an image: 8-bit RGB (colour type 2), or with
    // a palette when the image has one of at most 256 colours (colour type
    // 3 at 1, 4 or 8 bits), with a tRNS for the transparent colour when
    // transparent.
    void AssignHandle(const QImage &image, bool transparent, TColor transparentColor);

    // Both sizes above 0, else EPNGInvalidNewSize.  The common top-left
    // part is kept; new pixels are 0 and new alpha 255.
    void Resize(int width, int height);

    // The colour of a pixel (0 outside the image): RGB samples and grey
    // bytes of grey+alpha images as stored, palette and grey colours
    // through the gamma table.  Setting changes one pixel (nothing
    // outside); grey and palette images store the nearest entry.
    TColor Pixels(int x, int y) const;
    void SetPixels(int x, int y, TColor color);

    // Rebuilds Image() from the planes and tells OnChange.
    void ImageChanged();

    // While a file is read whose pixels another picture holds decoded: the
    // header takes them (true), and the image data is not decoded again.
    // Everything else the chunks set up is set up as on a first read.
    bool TakeSharedPlanes(TChunkIHDR &header);
    bool ReadsSharedPlanes() const { return m_sharedPlanes.has_value(); }

    static constexpr qint64 MaxSharedFileBytes = qint64(64) << 20;

protected:
    // To a TBitmap: a picture with one transparent colour (or none) keeps
    // its pixels in a bitmap of a fitting pixel format (1 bit for 1-bit
    // grey, 4 bits for other images below 8 bits, 8 bits for 8-bit
    // palettes, else 24 bits), transparent by that colour; a partly
    // transparent one is drawn blended on white.  To a TPNGObject: that picture assigns
    // from this one.
    void AssignTo(TPersistent *dest) const override;

private:
    static const std::array<quint8, 256> &identityGamma();
    QRgb gammaOf(QRgb rgb) const;
    // Whether a pixel of a grey or RGB image is the tRNS key (all 16 bits of
    // 16-bit samples).
    bool IsKey(const TChunktRNS &trns, int x, int y) const;
    void ClearChunks();
    void ReadChunks(TStream *stream);
    // Once the chunks of bytes are read: registers the pixels decoded, and
    // shows the picture as drawn of another picture read from the same
    // bytes where one is held, else makes it and registers it.
    void ShareRead(const QByteArray &bytes);

    TPNGList m_chunks;
    quint8 m_filters = pfSub;
    int m_compressionLevel = 7;
    quint32 m_maxIdatSize = 65535;
    quint8 m_interlaceMethod = 0;
    std::optional<TPngPlanes> m_sharedPlanes;
    bool m_reading = false;
};
