#include "codecs/png/qvxPngRows.h"

#include "codecs/png/qvxPngHeader.h"

#include <array>
#include <cstring>
#include <type_traits>

namespace {

constexpr TInterlacePass noInterlace[1] = {{0, 0, 1, 1}};
constexpr TInterlacePass adam7[7] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                     {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};

constexpr int samplesOf(int colorType)
{
    return colorType == 2 ? 3 : colorType == 4 ? 2 : colorType == 6 ? 4 : 1;
}

// Where the planes of image row y start (null for a plane the image has
// not).
template <class Byte>
struct Planes {
    Byte *Pixels;
    Byte *Alpha;
    Byte *Extra;
};

template <class Header, class Bytes>
auto rowOf(Header &header, Bytes &plane, int y, int perPixel)
{
    return plane.isEmpty() ? nullptr : reinterpret_cast<std::conditional_t<std::is_const_v<Header>, const quint8, quint8> *>(
                                           plane.data()) + qsizetype(y) * header.Width * perPixel;
}

Planes<quint8> writablePlanes(TChunkIHDR &header, int y)
{
    return {header.Image.scanLine(y), rowOf(header, header.ImageAlpha, y, 1),
            rowOf(header, header.ExtraImageData, y, header.SamplesPerPixel())};
}

Planes<const quint8> readablePlanes(const TChunkIHDR &header, int y)
{
    return {header.Image.constScanLine(y), rowOf(header, header.ImageAlpha, y, 1),
            rowOf(header, header.ExtraImageData, y, header.SamplesPerPixel())};
}

template <int ColorType, int Depth>
void storeRow(TChunkIHDR &header, const quint8 *row, int y, int x0, int dx, int n)
{
    const Planes<quint8> planes = writablePlanes(header, y);
    if constexpr (Depth < 8) {
        constexpr int mask = (1 << Depth) - 1;
        for (int k = 0; k < n; ++k) {
            const int bit = k * Depth;
            planes.Pixels[x0 + k * dx] = uchar((row[bit >> 3] >> (8 - Depth - (bit & 7))) & mask);
        }
    } else {
        constexpr int S = samplesOf(ColorType);
        constexpr int B = Depth / 8;
        for (int k = 0; k < n; ++k) {
            const quint8 *p = row + k * S * B;
            const int x = x0 + k * dx;
            if constexpr (ColorType == 2)
                reinterpret_cast<QRgb *>(planes.Pixels)[x] = qRgb(p[0], p[B], p[2 * B]);
            else if constexpr (ColorType == 6)
                reinterpret_cast<QRgb *>(planes.Pixels)[x] = qRgba(p[0], p[B], p[2 * B], p[3 * B]);
            else
                planes.Pixels[x] = p[0];
            if constexpr (ColorType == 4)
                planes.Alpha[x] = p[B];
            if constexpr (B == 2)
                for (int c = 0; c < S; ++c)
                    planes.Extra[x * S + c] = p[2 * c + 1];
        }
    }
}

template <int ColorType, int Depth>
void loadRow(const TChunkIHDR &header, quint8 *row, int y, int x0, int dx, int n)
{
    const Planes<const quint8> planes = readablePlanes(header, y);
    if constexpr (Depth < 8) {
        constexpr int mask = (1 << Depth) - 1;
        std::memset(row, 0, size_t((n * Depth + 7) / 8));
        for (int k = 0; k < n; ++k) {
            const int bit = k * Depth;
            row[bit >> 3] |= quint8((planes.Pixels[x0 + k * dx] & mask) << (8 - Depth - (bit & 7)));
        }
    } else {
        constexpr int S = samplesOf(ColorType);
        constexpr int B = Depth / 8;
        for (int k = 0; k < n; ++k) {
            quint8 *p = row + k * S * B;
            const int x = x0 + k * dx;
            if constexpr (ColorType == 2 || ColorType == 6) {
                const QRgb rgb = reinterpret_cast<const QRgb *>(planes.Pixels)[x];
                p[0] = quint8(qRed(rgb));
                p[B] = quint8(qGreen(rgb));
                p[2 * B] = quint8(qBlue(rgb));
                if constexpr (ColorType == 6)
                    p[3 * B] = quint8(qAlpha(rgb));
            } else {
                p[0] = planes.Pixels[x];
            }
            if constexpr (ColorType == 4)
                p[B] = planes.Alpha[x];
            if constexpr (B == 2)
                for (int c = 0; c < S; ++c)
                    p[2 * c + 1] = planes.Extra[x * S + c];
        }
    }
}

template <template <int, int> class Pick>
auto converterFor(const TChunkIHDR &header)
{
    switch (header.ColorType * 100 + header.BitDepth) {
    case 1:
    case 301: return Pick<0, 1>::Value;
    case 2:
    case 302: return Pick<0, 2>::Value;
    case 4:
    case 304: return Pick<0, 4>::Value;
    case 8:
    case 308: return Pick<0, 8>::Value;
    case 16: return Pick<0, 16>::Value;
    case 208: return Pick<2, 8>::Value;
    case 216: return Pick<2, 16>::Value;
    case 408: return Pick<4, 8>::Value;
    case 416: return Pick<4, 16>::Value;
    case 608: return Pick<6, 8>::Value;
    default: return Pick<6, 16>::Value;
    }
}

template <int C, int D>
struct PickStore {
    static constexpr TRowStore Value = storeRow<C, D>;
};

template <int C, int D>
struct PickLoad {
    static constexpr TRowLoad Value = loadRow<C, D>;
};

} // namespace

std::span<const TInterlacePass> InterlacePasses(quint8 interlaceMethod)
{
    if (interlaceMethod == 1)
        return adam7;
    return noInterlace;
}

int PassWidth(const TInterlacePass &pass, int width)
{
    return width > pass.X0 ? (width - pass.X0 + pass.DX - 1) / pass.DX : 0;
}

TRowStore RowStoreFor(const TChunkIHDR &header)
{
    return converterFor<PickStore>(header);
}

TRowLoad RowLoadFor(const TChunkIHDR &header)
{
    return converterFor<PickLoad>(header);
}
