#include "report/components/qvxRectArea.h"

#include "report/model/qvxComponent.h"

#include <algorithm>

namespace {

constexpr double Tolerance = 0.0001;

bool overlaps(double start, double end, double otherStart, double otherEnd)
{
    return otherStart < end - Tolerance && otherEnd > start + Tolerance;
}

} // namespace

bool TqvxRectArea::InterceptsX(const TqvxRectArea &other) const
{
    return overlaps(X, X1, other.X, other.X1);
}

bool TqvxRectArea::InterceptsY(const TqvxRectArea &other) const
{
    return overlaps(Y, Y1, other.Y, other.Y1);
}

std::optional<TqvxRectArea> TqvxRectArea::InterceptX(const TqvxRectArea &other) const
{
    if (!InterceptsX(other))
        return std::nullopt;
    return TqvxRectArea{std::max(X, other.X), 0, std::min(X1, other.X1), 0};
}

TqvxRectArea qvxRectAreaOf(const TqvxComponent *component)
{
    const double left = component->GetAbsLeft();
    const double top = component->GetAbsTop();
    return {left, top, left + component->Width(), top + component->Height()};
}
