#pragma once

// How a memo turns a value into text: by a display format of kind text,
// number (a picture or a printf-style format, with the format's own
// separators), date and time, or Boolean ("text for false,text for true").

#include "report/components/qvxFormat.h"
#include "toolkit/core/Variants.h"

#include <memory>

// The value's text by the format; an empty or null value gives empty text,
// and an error while formatting gives the value's plain text.
QString qvxFormatValue(const Variant &value, const TqvxFormat &format);

// The format an expression carries after " #": its first letter gives the
// kind (N number, D date, B Boolean, anything else text), the rest the
// format string.  In a numeric one every ',', '-' and '.' becomes '.', and
// the last of them is the decimal separator of the output.
std::unique_ptr<TqvxFormat> qvxInlineFormat(const QString &text);

// A number (not a text) equal to zero.
bool qvxIsNumericZero(const Variant &value);
