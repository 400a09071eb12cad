#pragma once

// TChunkIHDR: the header chunk, and the image it describes.
//
// The pixels live in planes beside the header fields:
// - Image: one QImage of the samples as the file has them (the gamma of
//   the file is applied only to the picture as drawn).  Grey, palette and
//   grey+alpha images (colour types 0, 3 and 4) are Format_Indexed8 with one
//   palette index per pixel at any bit depth (a 16-bit sample keeps its
//   high byte); the colour table is the image palette: the colours of PLTE,
//   or a grey ramp of 2^depth entries (256 for 16 bits).  RGB images
//   (colour type 2) are Format_RGB32 and RGBA images (colour type 6)
//   Format_ARGB32, with the high byte of every sample: an RGBA picture
//   takes 4 bytes a pixel and is drawn from this image itself.  Pictures
//   read from the same bytes share this image read-only (qvxPngShared.h):
//   writing to it copies it first.
// - ImageAlpha: for grey+alpha images (colour type 4), one alpha byte per
//   pixel (the high byte of a 16-bit alpha), Width bytes a row from the top.
// - ExtraImageData: for 16-bit images, the low byte of every sample of every
//   pixel in the file's sample order, as read, so that writing the image
//   gives back all 16 bits.

#include "codecs/png/qvxPngChunks.h"

#include <QImage>

class TChunkIHDR : public TChunk
{
public:
    static constexpr const char *ChunkName = "IHDR";
    using TChunk::TChunk;

    quint32 Width = 0;
    quint32 Height = 0;
    quint8 BitDepth = 8;
    quint8 ColorType = 2;
    quint8 CompressionMethod = 0;
    quint8 FilterMethod = 0;
    quint8 InterlaceMethod = 0;

    QImage Image;
    QByteArray ImageAlpha;
    QByteArray ExtraImageData;

    // Grey, palette and grey+alpha images hold palette indices.
    bool HasPalette() const { return ColorType == 0 || ColorType == 3 || ColorType == 4; }
    bool HasAlpha() const { return ColorType == 4 || ColorType == 6; }
    // Grey+alpha images keep their alpha beside the image.
    bool HasAlphaPlane() const { return ColorType == 4; }
    // Samples a pixel has in the file: 1, 3, 1, 2 or 4 by colour type.
    int SamplesPerPixel() const;
    // Bytes of the file's row of n pixels (without the filter byte).
    qint64 BytesForPixels(qint64 n) const;
    // Bytes of one complete pixel in a file row, at least 1.
    int Offset() const;

    // Checks the fields: a width or height above 65535 raises
    // EPNGSizeExceeds, a compression method other than 0
    // EPNGUnknownCompression, an interlace method other than 0 and 1
    // EPNGUnknownInterlace, and a zero size, a filter method other than 0 or
    // a colour type and bit depth the format does not pair EPngInvalidIHDR.
    void Validate() const;
    // Sets up zeroed planes for the fields (while the owner reads bytes
    // whose pixels another picture holds, those pixels) and the image
    // palette; an image beyond the toolkit's bitmap size cap
    // (BitmapLimits.h), or one there is no memory for, raises EPNGOutMemory
    // and keeps the planes.
    void PrepareImageData();
    // The grey ramp of a grey image's palette.
    void BuildGrayPalette();

    // Copies the fields and the planes; another class raises EPngError.
    void Assign(const TChunk &source) override;
    // Fewer than 13 bytes raise EPngInvalidIHDR; then the checks of
    // Validate, the owner's InterlaceMethod and the planes.
    bool LoadFromStream(TStream *stream, const QByteArray &name, quint32 size) override;
    // 13 bytes, with the owner's InterlaceMethod.
    void SaveToStream(TStream *stream) override;

private:
    QImage::Format imageFormat() const;
};
