#pragma once

// The character cell grid of dot-matrix reports: 10 characters per inch
// and 17 pixels per text line at 96 dpi.  Positions snap to whole cells;
// paper sizes in millimetres convert to and from whole cells.

// A cell's width and height in screen pixels.
inline constexpr double qv1CharX = 9.6;
inline constexpr double qv1CharY = 17;

// The nearest multiple of cell, halves to the even number of cells.
double qvxRoundToCell(double value, double cell);
// The multiple of cell next to value towards zero.
double qvxTruncToCell(double value, double cell);

// A paper length in millimetres made a whole number of cells: the nearest
// one, or the whole cells that fit.  A length already whole stays whole
// (the division is done in extended precision and forgives the last bits
// lost in storing the length).
double qvxRoundPaperToCells(double millimetres, double cell);
double qvxTruncPaperToCells(double millimetres, double cell);
