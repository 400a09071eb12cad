#include "engine/qvxPrintLayout.h"

#include "report/base/qvxNumbers.h"

#include <algorithm>
#include <cmath>

int qvxPieceCount(double length, double piece)
{
    const double whole = std::trunc(length / piece);
    const int count = std::abs(whole * piece - length) >= 11 ? int(whole) + 1 : qvxRound(length / piece);
    return std::max(1, count);
}

TqvxPieceGrid qvxPieceGrid(double width, double height, double pieceWidth, double pieceHeight)
{
    const TqvxPieceGrid straight{qvxPieceCount(width, pieceWidth), qvxPieceCount(height, pieceHeight), false};
    const TqvxPieceGrid turned{qvxPieceCount(width, pieceHeight), qvxPieceCount(height, pieceWidth), true};
    return turned.Cols * turned.Rows < straight.Cols * straight.Rows ? turned : straight;
}
