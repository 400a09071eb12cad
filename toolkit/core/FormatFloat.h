#pragma once

// FormatFloat: numbers laid out by a picture.
//
//   0      a digit, or 0 where the number has none
//   #      a digit, or nothing
//   .      the decimal separator (the first one counts)
//   ,      thousand separators in the integer part (anywhere in the picture)
//   E+ E-  scientific notation (e+ e- too); the zeros after it give the
//          minimum exponent digits; "+" always shows the sign, "-" only a minus
//   '..' ".."  literal text; any other character is copied
//
// Up to three sections separated by ";" serve positive numbers, negative
// numbers (shown without a minus sign) and zero; an empty or missing section
// falls back to the first.  A number counts as zero when it rounds to zero
// in the first section's layout.  Digits round half away from zero.  An empty
// picture, an empty first section where it serves the number, or a number
// too large for a fixed layout, gives FloatToStr's text.

#include "toolkit/core/FormatSettings.h"

#include <QString>

QString FormatFloat(const QString &format, double value, const TFormatSettings &settings = FormatSettings);
