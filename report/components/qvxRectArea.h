#pragma once

// Rectangles of report objects in pixels.

#include <optional>

class TqvxComponent;

// A bounds record, as report components save their bounds.
struct TqvxRect
{
    double Left = 0;
    double Top = 0;
    double Right = 0;
    double Bottom = 0;
};

inline TqvxRect qvxRect(double left, double top, double right, double bottom)
{
    return {left, top, right, bottom};
}

// An area from its top-left (X, Y) to its bottom-right (X1, Y1) corner.
// Overlap tests allow a tolerance of 0.0001, so areas that merely touch do
// not overlap.
struct TqvxRectArea
{
    double X = 0;
    double Y = 0;
    double X1 = 0;
    double Y1 = 0;

    bool InterceptsX(const TqvxRectArea &other) const;
    bool InterceptsY(const TqvxRectArea &other) const;
    // The horizontal overlap (Y and Y1 zero), or nothing when there is none.
    std::optional<TqvxRectArea> InterceptX(const TqvxRectArea &other) const;
};

// The area a component covers on its page (its absolute position and size).
TqvxRectArea qvxRectAreaOf(const TqvxComponent *component);
