#pragma once

// The small pictures of the print and page settings dialogs, drawn here:
// sheets of paper as white rectangles with a dark edge.

#include "report/base/qvxTypes.h"

#include <memory>

class TBitmap;

// 64 x 32: one page as it is, a large page cut over four sheets, four small
// pages on one sheet, a page shrunk to a sheet.
std::unique_ptr<TBitmap> qvxPrintModePicture(TqvxPrintMode mode);
// 92 x 53: collated copies (1 2 3, 1 2 3) or not (1 1, 2 2, 3 3).
std::unique_ptr<TBitmap> qvxCollatePicture(bool collate);
// A page upright (26 x 32) or on its side (32 x 26) with lines of text.
std::unique_ptr<TBitmap> qvxOrientationPicture(bool landscape);
