#pragma once

// Dates and times as TDateTime: days since 1899-12-30 in the integer part,
// the fraction of a day in the fractional part.  A negative value counts days
// back from 1899-12-30 while its fraction still runs forward (-1.25 is
// 1899-12-29 06:00).  Values are rounded to the millisecond when decoded.

#include "toolkit/core/FormatSettings.h"

#include <QString>

using TDateTime = double;

bool IsLeapYear(int year);
int DaysInMonth(int year, int month); // 0 for a month outside 1..12

// EConvertError for a date outside 0001-01-01 .. 9999-12-31 or a time
// outside 00:00:00.000 .. 23:59:59.999.
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int msec);
bool TryEncodeDate(int year, int month, int day, TDateTime &result);
bool TryEncodeTime(int hour, int minute, int second, int msec, TDateTime &result);

// A value outside the encodable years decodes to year, month and day 0; NaN
// and the infinities (here and in every routine that decodes) raise
// EInvalidOp.
void DecodeDate(TDateTime value, int &year, int &month, int &day);
void DecodeTime(TDateTime value, int &hour, int &minute, int &second, int &msec);

// 1 = Sunday .. 7 = Saturday.
int DayOfWeek(TDateTime value);

// The local clock.
TDateTime Date();
TDateTime Time();
TDateTime Now();

// Reading follows the order of day, month and year in ShortDateFormat, the
// DateSeparator and TimeSeparator; a two-digit year falls within
// TwoDigitYearCenturyWindow years before the current one; a date without a
// year is in the current year; one date separator may end the date.  Bad
// text raises EConvertError.
TDateTime StrToDate(const QString &text, const TFormatSettings &settings = FormatSettings);
TDateTime StrToTime(const QString &text, const TFormatSettings &settings = FormatSettings);
TDateTime StrToDateTime(const QString &text, const TFormatSettings &settings = FormatSettings);
bool TryStrToDate(const QString &text, TDateTime &value, const TFormatSettings &settings = FormatSettings);
bool TryStrToTime(const QString &text, TDateTime &value, const TFormatSettings &settings = FormatSettings);
bool TryStrToDateTime(const QString &text, TDateTime &value, const TFormatSettings &settings = FormatSettings);
