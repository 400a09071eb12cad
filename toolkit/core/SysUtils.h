#pragma once

// Numbers and Booleans to text and back, and the classic rounding.
//
// The parsers accept what the classic runtime accepts: leading spaces, a
// sign, decimal digits or a "$", "x" or "0x" hexadecimal prefix for integers; the
// locale's decimal separator and an optional exponent for floats.  Anything
// else raises EConvertError with the classic message, which a program may
// translate (context "SysUtils").

#include "toolkit/core/FormatSettings.h"

#include <QString>

QString IntToStr(qint64 value);
// Upper-case hexadecimal, at least `digits` digits; a negative 32-bit value
// shows its two's complement in eight digits.
QString IntToHex(qint32 value, int digits);
QString IntToHex(qint64 value, int digits);

// Hexadecimal text may carry the full unsigned width (StrToInt("$FFFFFFFF")
// is -1); decimal text must lie in the signed range.
qint32 StrToInt(const QString &text);
qint64 StrToInt64(const QString &text);
bool TryStrToInt(const QString &text, qint32 &value);
bool TryStrToInt64(const QString &text, qint64 &value);

// The text ends at its first zero character, if any.
double StrToFloat(const QString &text, const TFormatSettings &settings = FormatSettings);
bool TryStrToFloat(const QString &text, double &value, const TFormatSettings &settings = FormatSettings);

// "True"/"False" in any case, or a number (non-zero is true).
bool StrToBool(const QString &text);
bool TryStrToBool(const QString &text, bool &value);
// "True"/"False" with useBoolStrs, else "-1"/"0".
QString BoolToStr(bool value, bool useBoolStrs = false);

// Raises EConvertError with pattern ("'%1' is not a valid ...") translated
// and filled in with text.
[[noreturn]] void ConvertError(const char *pattern, const QString &text);

// Halves round to the even neighbour.  Both raise EInvalidOp for NaN or a
// value beyond the 64-bit range.
qint64 Round(double value);
qint64 Trunc(double value);
