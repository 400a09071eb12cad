#pragma once

// Points and rectangles in the classic form: a rectangle holds its left, top,
// right and bottom edges, and the right and bottom edges lie outside it (a
// rectangle from 0 to 10 covers ten pixels).  QRect counts differently
// (right() is the last pixel inside), so conversions go through ToQRect and
// FromQRect only.

#include <QPoint>
#include <QRect>

// Both have constructors, so TPoint(x, y) and TRect(l, t, r, b) read the
// same with every compiler (parenthesised aggregate initialisation is not
// portable yet).
struct TPoint {
    int X = 0;
    int Y = 0;

    constexpr TPoint() = default;
    constexpr TPoint(int x, int y) : X(x), Y(y) {}

    bool operator==(const TPoint &) const = default;
    QPoint ToQPoint() const { return QPoint(X, Y); }
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    constexpr TRect() = default;
    constexpr TRect(int left, int top, int right, int bottom) : Left(left), Top(top), Right(right), Bottom(bottom) {}

    bool operator==(const TRect &) const = default;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    TPoint TopLeft() const { return {Left, Top}; }
    TPoint BottomRight() const { return {Right, Bottom}; }

    bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }

    TRect Offset(int dx, int dy) const { return {Left + dx, Top + dy, Right + dx, Bottom + dy}; }
    TRect Inflate(int dx, int dy) const { return {Left - dx, Top - dy, Right + dx, Bottom + dy}; }

    QRect ToQRect() const { return QRect(Left, Top, Right - Left, Bottom - Top); }
    static TRect FromQRect(const QRect &r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }
};

inline TPoint Point(int x, int y) { return {x, y}; }
inline TRect Rect(int left, int top, int right, int bottom) { return {left, top, right, bottom}; }
inline TRect Bounds(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }
