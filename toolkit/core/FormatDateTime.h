#pragma once

// Date and time pictures.
//
//   d dd           day without / with a leading zero
//   ddd dddd       short / long day name
//   ddddd dddddd   ShortDateFormat / LongDateFormat
//   m mm           month (right after an hour specifier, also mmm, minutes)
//   mmm mmmm       short / long month name
//   yy yyyy        two / four digit year
//   h hh n nn s ss hour, minute, second; z zzz milliseconds
//   t tt           ShortTimeFormat / LongTimeFormat
//   am/pm a/p      the marker in the picture's own letter case; ampm uses
//                  TimeAMString / TimePMString; any of them makes h 12-hour
//   c              ShortDateFormat, then LongTimeFormat unless hours, minutes
//                  and seconds are all 0 (milliseconds do not count)
//   / :            DateSeparator / TimeSeparator
//   '..' ".."      literal text
// Specifiers ignore case; other characters are copied.  An empty picture
// means "c".

#include "toolkit/core/DateUtils.h"

QString FormatDateTime(const QString &format, TDateTime value, const TFormatSettings &settings = FormatSettings);

QString DateToStr(TDateTime value, const TFormatSettings &settings = FormatSettings);
QString TimeToStr(TDateTime value, const TFormatSettings &settings = FormatSettings);
QString DateTimeToStr(TDateTime value, const TFormatSettings &settings = FormatSettings);
