#include "codecs/png/qvxPngFilters.h"

#include <cstdlib>

namespace {

// The unfilter loops with the pixel size fixed at compile time where it is
// one of the common ones, so that the compiler unrolls them.
template <int Bpp>
void unfilter(quint8 type, quint8 *row, const quint8 *prev, qsizetype size, int bppArg)
{
    const qsizetype bpp = Bpp > 0 ? Bpp : bppArg;
    const qsizetype lead = std::min(bpp, size);
    switch (type) {
    case ftSub:
        for (qsizetype i = bpp; i < size; ++i)
            row[i] = quint8(row[i] + row[i - bpp]);
        break;
    case ftUp:
        for (qsizetype i = 0; i < size; ++i)
            row[i] = quint8(row[i] + prev[i]);
        break;
    case ftAverage:
        for (qsizetype i = 0; i < lead; ++i)
            row[i] = quint8(row[i] + (prev[i] >> 1));
        for (qsizetype i = bpp; i < size; ++i)
            row[i] = quint8(row[i] + ((row[i - bpp] + prev[i]) >> 1));
        break;
    case ftPaeth:
        for (qsizetype i = 0; i < lead; ++i)
            row[i] = quint8(row[i] + prev[i]);
        for (qsizetype i = bpp; i < size; ++i)
            row[i] = quint8(row[i] + PaethPredictor(row[i - bpp], prev[i], prev[i - bpp]));
        break;
    default:
        break;
    }
}

} // namespace

quint8 PaethPredictor(int a, int b, int c)
{
    const int pa = std::abs(b - c);
    const int pb = std::abs(a - c);
    const int pc = std::abs(a + b - 2 * c);
    if (pa <= pb && pa <= pc)
        return quint8(a);
    return quint8(pb <= pc ? b : c);
}

void UnfilterRow(quint8 type, quint8 *row, const quint8 *prev, qsizetype size, int bpp)
{
    switch (bpp) {
    case 1: unfilter<1>(type, row, prev, size, bpp); break;
    case 2: unfilter<2>(type, row, prev, size, bpp); break;
    case 3: unfilter<3>(type, row, prev, size, bpp); break;
    case 4: unfilter<4>(type, row, prev, size, bpp); break;
    case 6: unfilter<6>(type, row, prev, size, bpp); break;
    case 8: unfilter<8>(type, row, prev, size, bpp); break;
    default: unfilter<0>(type, row, prev, size, bpp); break;
    }
}

void FilterRow(quint8 type, const quint8 *raw, const quint8 *prev, quint8 *out, qsizetype size, int bpp)
{
    for (qsizetype i = 0; i < size; ++i) {
        const int left = i >= bpp ? raw[i - bpp] : 0;
        const int upperLeft = i >= bpp ? prev[i - bpp] : 0;
        int predicted = 0;
        switch (type) {
        case ftSub: predicted = left; break;
        case ftUp: predicted = prev[i]; break;
        case ftAverage: predicted = (left + prev[i]) >> 1; break;
        case ftPaeth: predicted = PaethPredictor(left, prev[i], upperLeft); break;
        default: break;
        }
        out[i] = quint8(raw[i] - predicted);
    }
}

qsizetype FilterScore(const quint8 *row, qsizetype size)
{
    qsizetype score = 0;
    for (qsizetype i = 2; i < size; ++i)
        score += row[i] == row[i - 1] || row[i] == row[i - 2];
    return score;
}
