#pragma once

// Format: printf-style text with the classic specifiers.
//
//   "%" [index ":"] ["-"] [width] ["." precision] type
//
//   d  decimal integer; precision = minimum digits
//   u  unsigned decimal (a negative 32-bit value as its unsigned twin)
//   x  upper-case hexadecimal; precision = minimum digits
//   e  scientific, "-d.ddd...E+ddd"; precision = significant digits (15)
//   f  fixed; precision = decimals (2)
//   g  the shorter of fixed and scientific; precision = significant digits (15)
//   n  fixed with thousand separators; precision = decimals (2)
//   m  currency, as FormatSettings lays it out; precision = decimals
//   p  an object handle as eight hexadecimal digits
//   s  text; precision = maximum characters
//   %% a percent sign
//
// Index, width and precision may be "*", taken from the next (integer)
// argument; after an index the following arguments continue from it.  Width
// pads with blanks on the left, or on the right after "-".  A specifier
// whose argument has the wrong kind, or a malformed one, raises
// EConvertError ("Format '...' invalid or incompatible with argument"); a
// missing argument raises EConvertError ("No argument for format '...'").
// Variant arguments are converted to the kind the specifier needs.  A result
// longer than MaxTextLength raises EOutOfMemory.

#include "toolkit/core/VarRec.h"

#include <initializer_list>
#include <vector>

QString Format(const QString &format, std::initializer_list<TVarRec> args,
               const TFormatSettings &settings = FormatSettings);
QString Format(const QString &format, const std::vector<TVarRec> &args,
               const TFormatSettings &settings = FormatSettings);
QString Format(const QString &format, const TVarRec *args, qsizetype count,
               const TFormatSettings &settings = FormatSettings);
