#pragma once

// Conversion between the rows of a PNG file (unfiltered bytes, samples
// packed most significant first, big-endian 16-bit samples) and the planes
// of the header (qvxPngHeader.h), and the passes of the two interlace
// methods.

#include "codecs/png/qvxPngHeader.h"

#include <span>

// The pixels of one pass: columns from X0 every DX, rows from Y0 every DY.
struct TInterlacePass {
    int X0, Y0, DX, DY;
};

// One pass for method 0, the seven Adam7 passes for method 1.
std::span<const TInterlacePass> InterlacePasses(quint8 interlaceMethod);
// The pixels a row of the pass has in an image of the given width.
int PassWidth(const TInterlacePass &pass, int width);

// Calls row(y, pass, passWidth, passBytes) for every row of every pass
// that has pixels, in file order, and startPass() before each such pass.
template <class StartPass, class Row>
void ForEachFileRow(const TChunkIHDR &header, quint8 interlaceMethod, StartPass startPass, Row row);

// Stores a file row of n pixels as image row y, pixel k at x0 + k * dx.
using TRowStore = void (*)(TChunkIHDR &header, const quint8 *row, int y, int x0, int dx, int n);
// Builds the file row of n pixels of image row y from x0 every dx.
using TRowLoad = void (*)(const TChunkIHDR &header, quint8 *row, int y, int x0, int dx, int n);

// The converters of the header's colour type and bit depth (which must be
// valid).
TRowStore RowStoreFor(const TChunkIHDR &header);
TRowLoad RowLoadFor(const TChunkIHDR &header);

template <class StartPass, class Row>
void ForEachFileRow(const TChunkIHDR &header, quint8 interlaceMethod, StartPass startPass, Row row)
{
    for (const TInterlacePass &pass : InterlacePasses(interlaceMethod)) {
        const int passWidth = PassWidth(pass, int(header.Width));
        const qsizetype passBytes = qsizetype(header.BytesForPixels(passWidth));
        if (passBytes == 0)
            continue;
        startPass();
        for (int y = pass.Y0; y < int(header.Height); y += pass.DY)
            row(y, pass, passWidth, passBytes);
    }
}
