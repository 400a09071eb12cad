#pragma once

// Image lists and picture drawing of the report library.

#include "toolkit/graphics/Colors.h"
#include "toolkit/graphics/GraphicsObjects.h"
#include "toolkit/graphics/Rects.h"

class TBitmap;
class TCanvas;
class TGraphic;
class TImageList;

// Cuts the bitmap into cells left to right, row by row, and adds each to
// `list` with the bitmap's transparent colour; when `disabledList` is given a
// greyed copy of each cell goes there too: grey level ((R + G + B) / 3) / 3
// + 150, at most 255.
void qvxCreateImages(const TBitmap *bitmap, int cellWidth, int cellHeight, TImageList *disabledList,
                     TImageList *list);

// Draws the bitmap at (x, y), leaving out its transparent colour; nothing
// for a null bitmap.
void qvxDrawTransparent(TCanvas *canvas, int x, int y, const TBitmap *bitmap);

// Draws a picture stretched into rect.  Bitmaps are scaled smoothly, or,
// when transparent, pixel by pixel with `transparentColor` left out; other
// graphics draw themselves.
void qvxDrawGraphic(TCanvas *canvas, const TRect &rect, const TGraphic *graphic, bool transparent,
                    TColor transparentColor);

// A line from (x, y) to (x1, y1) as `width` one-pixel lines side by side
// across its minor direction, centred on it, in the canvas's pen.
void qvxDrawThickLine(TCanvas *canvas, int x, int y, int x1, int y1, int width);

// Keeps a canvas's font, pen and brush for the scope, and the canvas
// locked.
class TqvxCanvasToolsScope
{
public:
    explicit TqvxCanvasToolsScope(TCanvas *canvas);
    ~TqvxCanvasToolsScope();
    TqvxCanvasToolsScope(const TqvxCanvasToolsScope &) = delete;
    TqvxCanvasToolsScope &operator=(const TqvxCanvasToolsScope &) = delete;

private:
    TCanvas *m_canvas;
    TFontData m_font;
    TPenData m_pen;
    TBrushData m_brush;
};
