#pragma once

// Qt's view of a toolkit font, for the widgets of controls.

#include <QFont>

class TFont;

// Face, pixel size and style of the font; a positive Height (a cell height)
// is taken as the pixel size.
QFont ToQFont(const TFont &font);
