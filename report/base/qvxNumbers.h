#pragma once

// Number texts that do not depend on the user's locale where files need
// that, and parsing that accepts either decimal separator.

#include "toolkit/core/SysUtils.h"

#include <QChar>
#include <QString>

// Fixed-point text with exactly `digits` decimals (rounded half away from
// zero), the given separator and no thousands separators; exponent form only
// for magnitudes of 1e18 and more.
QString qvxFloatToFixedStr(double value, int digits, QChar separator);

// The room qvxFormatFixed needs at most.
constexpr int qvxFixedTextSize = 48;

// The text of qvxFloatToFixedStr(value, digits, '.') written to out, which
// holds qvxFixedTextSize characters; answers the end of what was written.
char *qvxFormatFixed(char *out, double value, int digits);

// Integral values as FloatToStr writes them ("3"), others with two decimals
// in the locale's format ("2.50").
QString qvxFloatToStr(double value);

// Both ',' and '.' act as the decimal separator and blanks are ignored, so
// "1 234,5" reads as 1234.5 on any machine.  Raises EConvertError on text
// that is no number.
double qvxStrToFloat(const QString &text);

// value cut to 8 decimal places, halves to the even neighbour.  Values too
// large to hold an 8th decimal, infinities and NaN come back unchanged.
double qvxRound8(double value);

// value rounded to whole pixels, halves to the even neighbour; NaN gives 0
// and values beyond the int range give its ends.
int qvxRoundToPixel(double value);

inline double Math_Max(double a, double b) { return a > b ? a : b; }
inline double Math_Min(double a, double b) { return a < b ? a : b; }

// A pixel position or size: the nearest integer, halves to the even one.
inline int qvxRound(double value)
{
    return int(Round(value));
}
