#pragma once

// Drawing helpers of the grid controls: halftone patterns, 3D frames, the
// drop-down and ellipsis buttons of cell editors, and font heights.

#include "toolkit/graphics/Rects.h"

class TBitmap;
class TCanvas;
class TFont;

// An 8 x 8 monochrome bitmap, black where x and y have the same parity and
// white elsewhere; created on first use and kept until the program ends.
TBitmap *GetHalftoneBitmap();
void FreeHalftoneBitmap();

// Xors rect with the halftone pattern in the canvas's font colour (the
// black pixels) and brush colour (the white ones).
void PaintHalftoneRect(TCanvas *canvas, const TRect &rect);

// A two-pixel frame of the given sides (BF_ flags), raised or sunken.
void Paint3DFrame(TCanvas *canvas, const TRect &rect, bool sunken, unsigned sides);
// A flat one-pixel sunken frame, or a raised 3D one.
void PaintFrame(TCanvas *canvas, const TRect &rect, bool flat, unsigned sides);

// A raised button face with a down arrow (rows 7, 5, 3 and 1 pixels wide)
// or three dots; pressed buttons are flat with the glyph one pixel lower
// and further right.
void PaintDropDownButton(TCanvas *canvas, const TRect &rect, bool pressed);
void PaintEllipsisButton(TCanvas *canvas, const TRect &rect, bool pressed);

// The height of the text "^j" in font.
int GetFontHeight(const TFont *font);
