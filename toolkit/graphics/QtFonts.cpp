#include "toolkit/graphics/QtFonts.h"

#include "toolkit/graphics/GraphicsObjects.h"

QFont ToQFont(const TFont &font)
{
    QFont result(font.Name());
    result.setPixelSize(qMax(1, qAbs(font.Height())));
    result.setBold(font.Style().testFlag(fsBold));
    result.setItalic(font.Style().testFlag(fsItalic));
    result.setUnderline(font.Style().testFlag(fsUnderline));
    result.setStrikeOut(font.Style().testFlag(fsStrikeout));
    return result;
}
