#include "report/views/qvxCharGrid.h"

#include "report/base/qvxObjectTypes.h"

#include <cmath>

namespace {

// Less than any real fraction of a cell, more than the error of a length
// stored in a double.
constexpr long double kCellTolerance = 1e-9L;

long double cellsOf(double millimetres, double cell)
{
    return static_cast<long double>(millimetres) * qv01cm / cell;
}

double millimetresOf(long double cells, double cell)
{
    return static_cast<double>(cells * cell / qv01cm);
}

} // namespace

double qvxRoundToCell(double value, double cell)
{
    return std::nearbyint(value / cell) * cell;
}

double qvxTruncToCell(double value, double cell)
{
    return std::trunc(value / cell) * cell;
}

double qvxRoundPaperToCells(double millimetres, double cell)
{
    return millimetresOf(std::nearbyintl(cellsOf(millimetres, cell)), cell);
}

double qvxTruncPaperToCells(double millimetres, double cell)
{
    const long double cells = cellsOf(millimetres, cell);
    return millimetresOf(std::truncl(cells + (cells < 0 ? -kCellTolerance : kCellTolerance)), cell);
}
