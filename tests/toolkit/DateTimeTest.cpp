#include "toolkit/core/DateUtils.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/core/FormatDateTime.h"

#include "RuntimeTestSupport.h"
#include "common/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// Monday, 7 December 2026, 09:05:03.007.
TDateTime Sample()
{
    return EncodeDate(2026, 12, 7) + EncodeTime(9, 5, 3, 7);
}

struct Ymd
{
    int y, m, d;
    bool operator==(const Ymd &) const = default;
};

Ymd DateOf(TDateTime value)
{
    Ymd r{};
    DecodeDate(value, r.y, r.m, r.d);
    return r;
}

} // namespace

TEST(DateUtils, DaysCountFrom1899)
{
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);
    EXPECT_EQ(EncodeDate(1, 1, 1), -693593.0);
    EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
    EXPECT_EQ(DateOf(36526), (Ymd{2000, 1, 1}));
    EXPECT_EQ(DateOf(EncodeDate(2024, 2, 29)), (Ymd{2024, 2, 29}));
    EXPECT_EQ(DateOf(EncodeDate(9999, 12, 31)), (Ymd{9999, 12, 31}));
}

TEST(DateUtils, NegativeValuesRunTheirTimeForward)
{
    EXPECT_EQ(DateOf(-1.25), (Ymd{1899, 12, 29}));
    int h, n, s, ms;
    DecodeTime(-1.25, h, n, s, ms);
    EXPECT_EQ(h, 6);
    EXPECT_EQ(DateOf(-0.25), (Ymd{1899, 12, 30}));
}

TEST(DateUtils, DecodingRoundsToTheMillisecond)
{
    const TDateTime almostMidnight = 36526 + 0.99999999999;
    EXPECT_EQ(DateOf(almostMidnight), (Ymd{2000, 1, 2}));
    int h, n, s, ms;
    DecodeTime(almostMidnight, h, n, s, ms);
    EXPECT_EQ(h + n + s + ms, 0);
    DecodeTime(Sample(), h, n, s, ms);
    EXPECT_EQ(h, 9);
    EXPECT_EQ(n, 5);
    EXPECT_EQ(s, 3);
    EXPECT_EQ(ms, 7);
}

TEST(DateUtils, InvalidPartsRaise)
{
    EXPECT_EQ(MessageOf<EConvertError>([] { EncodeDate(2023, 2, 29); }),
              QStringLiteral("Invalid argument to date encode"));
    EXPECT_THROW(EncodeDate(0, 1, 1), EConvertError);
    EXPECT_THROW(EncodeDate(2023, 13, 1), EConvertError);
    EXPECT_EQ(MessageOf<EConvertError>([] { EncodeTime(24, 0, 0, 0); }),
              QStringLiteral("Invalid argument to time encode"));
    EXPECT_THROW(EncodeTime(1, 60, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(1, 0, 0, 1000), EConvertError);
    // Values beyond the calendar decode to zeros instead of garbage.
    EXPECT_EQ(DateOf(1e12), (Ymd{0, 0, 0}));
    EXPECT_THROW(DateOf(std::nan("")), EInvalidOp);
    EXPECT_THROW(FormatDateTime(QStringLiteral("hh"), std::nan("")), EInvalidOp);
}

TEST(DateUtils, CalendarRules)
{
    EXPECT_EQ(DayOfWeek(Sample()), 2);
    EXPECT_EQ(DayOfWeek(0), 7);
    EXPECT_EQ(DayOfWeek(1), 1);
    EXPECT_EQ(DayOfWeek(-1), 6);
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_TRUE(IsLeapYear(2024));
    EXPECT_EQ(DaysInMonth(2000, 2), 29);
    EXPECT_EQ(DaysInMonth(1900, 2), 28);
    EXPECT_EQ(DaysInMonth(2023, 13), 0);
}

TEST(DateUtils, ClockParts)
{
    const TDateTime now = Now();
    EXPECT_NEAR(Date() + Time(), now, 2.0 / 86400);
    EXPECT_EQ(Date(), std::floor(Date()));
    EXPECT_GE(Time(), 0.0);
    EXPECT_LT(Time(), 1.0);
}

TEST(StrToDate, FollowsTheShortDateOrder)
{
    EXPECT_EQ(StrToDate(QStringLiteral("07.12.2026")), EncodeDate(2026, 12, 7));
    EXPECT_EQ(StrToDate(QStringLiteral(" 7 . 12 . 2026 ")), EncodeDate(2026, 12, 7));
    int y, m, d;
    DecodeDate(Date(), y, m, d);
    EXPECT_EQ(StrToDate(QStringLiteral("7.12")), EncodeDate(y, 12, 7));
    // One trailing separator is accepted.
    EXPECT_EQ(StrToDate(QStringLiteral("07.12.2026.")), EncodeDate(2026, 12, 7));
    EXPECT_EQ(StrToDate(QStringLiteral("7.12.")), EncodeDate(y, 12, 7));
    EXPECT_THROW(StrToDate(QStringLiteral("07.12.2026..")), EConvertError);

    TFormatSettings us = FormatSettings;
    us.ShortDateFormat = QStringLiteral("m/d/yyyy");
    us.DateSeparator = QLatin1Char('/');
    EXPECT_EQ(StrToDate(QStringLiteral("12/7/2026"), us), EncodeDate(2026, 12, 7));
    TFormatSettings iso = FormatSettings;
    iso.ShortDateFormat = QStringLiteral("yyyy-mm-dd");
    iso.DateSeparator = QLatin1Char('-');
    EXPECT_EQ(StrToDate(QStringLiteral("2026-12-07"), iso), EncodeDate(2026, 12, 7));
}

TEST(StrToDate, TwoDigitYearsFallInTheWindow)
{
    int thisYear, m, d;
    DecodeDate(Date(), thisYear, m, d);
    const int base = thisYear - 50;
    for (int yy : {0, 26, 49, 50, 76, 99}) {
        int expected = base / 100 * 100 + yy;
        if (expected < base)
            expected += 100;
        int y;
        DecodeDate(StrToDate(QStringLiteral("1.1.%1").arg(yy, 2, 10, QLatin1Char('0'))), y, m, d);
        EXPECT_EQ(y, expected) << yy;
    }
}

TEST(DateUtils, InfiniteDatesRaiseAsNaNDoes)
{
    const double infinity = std::numeric_limits<double>::infinity();
    int a, b, c, d;
    for (const double value : {infinity, -infinity, std::nan("")}) {
        EXPECT_THROW(DecodeTime(value, a, b, c, d), EInvalidOp);
        EXPECT_THROW(DayOfWeek(value), EInvalidOp);
        EXPECT_THROW(DecodeDate(value, a, b, c), EInvalidOp);
    }
}

TEST(StrToDate, BadTextRaises)
{
    for (const char *text : {"\t01.02.2026", "01.02.2026\t", "01.\n02.2026"})
        EXPECT_THROW(StrToDate(QString::fromLatin1(text)), EConvertError) << "only blanks separate: " << text;
    EXPECT_EQ(DateOf(StrToDate(QStringLiteral(" 01. 02.2026 "))), (Ymd{2026, 2, 1}));
    EXPECT_EQ(MessageOf<EConvertError>([] { StrToDate(QStringLiteral("31.02.2026")); }),
              QStringLiteral("'31.02.2026' is not a valid date"));
    for (const char *text : {"", "7", "7.", "a.b.c", "1.1.2026.1", "1.1.2026 x", "99999999999.1.1"})
        EXPECT_THROW(StrToDate(QString::fromLatin1(text)), EConvertError) << text;
}

TEST(StrToTime, HoursMinutesSecondsAndMarkers)
{
    EXPECT_EQ(StrToTime(QStringLiteral("9:05")), EncodeTime(9, 5, 0, 0));
    EXPECT_EQ(StrToTime(QStringLiteral("09:05:03,250")), EncodeTime(9, 5, 3, 250));
    EXPECT_EQ(StrToTime(QStringLiteral("9:05 PM")), EncodeTime(21, 5, 0, 0));
    EXPECT_EQ(StrToTime(QStringLiteral("12:00 am")), 0.0);
    EXPECT_EQ(MessageOf<EConvertError>([] { StrToTime(QStringLiteral("25:00")); }),
              QStringLiteral("'25:00' is not a valid time"));
    EXPECT_THROW(StrToTime(QStringLiteral("13:00 PM")), EConvertError);
    EXPECT_THROW(StrToTime(QStringLiteral("9:")), EConvertError);
}

TEST(StrToDateTime, DateWithOptionalTime)
{
    EXPECT_EQ(StrToDateTime(QStringLiteral("07.12.2026 09:05:03")), EncodeDate(2026, 12, 7) + EncodeTime(9, 5, 3, 0));
    EXPECT_EQ(StrToDateTime(QStringLiteral("07.12.2026")), EncodeDate(2026, 12, 7));
    EXPECT_EQ(StrToDateTime(QStringLiteral("09:05")), EncodeTime(9, 5, 0, 0));
    EXPECT_EQ(StrToDateTime(QStringLiteral("29.12.1899 06:00")), -1.25);
    EXPECT_EQ(MessageOf<EConvertError>([] { StrToDateTime(QStringLiteral("junk")); }),
              QStringLiteral("'junk' is not a valid date and time"));
}

TEST(FormatDateTime, NumbersAndNames)
{
    EXPECT_EQ(FormatDateTime(QStringLiteral("dd.mm.yyyy hh:nn:ss.zzz"), Sample()),
              QStringLiteral("07.12.2026 09:05:03.007"));
    EXPECT_EQ(FormatDateTime(QStringLiteral("d/m/yy h:n:s z"), Sample()), QStringLiteral("7.12.26 9:5:3 7"));
    EXPECT_EQ(FormatDateTime(QStringLiteral("ddd dddd"), Sample()), QStringLiteral("Пн понедельник"));
    EXPECT_EQ(FormatDateTime(QStringLiteral("mmm MMMM"), Sample()), QStringLiteral("дек Декабрь"));
    EXPECT_EQ(FormatDateTime(QStringLiteral("ddddd|dddddd"), Sample()), QStringLiteral("07.12.2026|7 Декабрь 2026 г."));
    EXPECT_EQ(FormatDateTime(QStringLiteral("t|tt"), Sample()), QStringLiteral("9:05|09:05:03"));
}

TEST(FormatDateTime, MinutesAfterHoursAndTwelveHourClock)
{
    EXPECT_EQ(FormatDateTime(QStringLiteral("h:mm"), Sample()), QStringLiteral("9:05"));
    EXPECT_EQ(FormatDateTime(QStringLiteral("hh mm"), Sample()), QStringLiteral("09 05"));
    EXPECT_EQ(FormatDateTime(QStringLiteral("mm hh"), Sample()), QStringLiteral("12 09"));
    EXPECT_EQ(FormatDateTime(QStringLiteral("hh:mmm"), Sample()), QStringLiteral("09:05"));
    const TDateTime evening = EncodeTime(21, 0, 0, 0);
    EXPECT_EQ(FormatDateTime(QStringLiteral("h:nn am/pm"), Sample()), QStringLiteral("9:05 am"));
    EXPECT_EQ(FormatDateTime(QStringLiteral("h:nn AM/PM"), evening), QStringLiteral("9:00 PM"));
    EXPECT_EQ(FormatDateTime(QStringLiteral("hh a/p"), EncodeTime(0, 30, 0, 0)), QStringLiteral("12 a"));
    TFormatSettings english = FormatSettings;
    english.TimePMString = QStringLiteral("PM");
    EXPECT_EQ(FormatDateTime(QStringLiteral("h ampm"), evening, english), QStringLiteral("9 PM"));
}

TEST(FormatDateTime, LiteralsAndDefaults)
{
    EXPECT_EQ(FormatDateTime(QStringLiteral("'d' d \"mm\" г."), Sample()), QStringLiteral("d 7 mm г."));
    EXPECT_EQ(FormatDateTime(QStringLiteral("c"), Sample()), QStringLiteral("07.12.2026 09:05:03"));
    EXPECT_EQ(FormatDateTime(QString(), EncodeDate(2026, 12, 7)), QStringLiteral("07.12.2026"));
    EXPECT_EQ(DateToStr(Sample()), QStringLiteral("07.12.2026"));
    EXPECT_EQ(TimeToStr(Sample()), QStringLiteral("09:05:03"));
    EXPECT_EQ(DateTimeToStr(Sample()), QStringLiteral("07.12.2026 09:05:03"));
    // Milliseconds alone do not bring the time in.
    EXPECT_EQ(DateTimeToStr(EncodeDate(2026, 12, 7) + EncodeTime(0, 0, 0, 500)), QStringLiteral("07.12.2026"));
}

TEST(FormatDateTime, SelfReferringSettingsDoNotRecurse)
{
    TFormatSettings odd = FormatSettings;
    odd.ShortDateFormat = QStringLiteral("ddddd c");
    odd.LongTimeFormat = QStringLiteral("tt");
    EXPECT_FALSE(DateTimeToStr(Sample(), odd).isNull());
}

TEST(FormatSettings, TakenFromALocale)
{
    const TFormatSettings ru = TFormatSettings::FromLocale(QLocale(QLocale::Russian, QLocale::Russia));
    EXPECT_EQ(ru.DecimalSeparator, QLatin1Char(','));
    EXPECT_EQ(ru.DateSeparator, QLatin1Char('.'));
    EXPECT_EQ(ru.ShortDateFormat, QStringLiteral("dd.mm.yyyy"));
    EXPECT_EQ(ru.LongTimeFormat, QStringLiteral("hh:nn:ss"));
    EXPECT_EQ(ru.TimeSeparator, QLatin1Char(':'));
    EXPECT_EQ(ru.CurrencyFormat, 3);
    EXPECT_FALSE(ru.LongMonthNames[11].isEmpty());
    EXPECT_FALSE(ru.ShortDayNames[0].isEmpty());
    EXPECT_EQ(FormatDateTime(ru.ShortDateFormat, EncodeDate(2026, 12, 7), ru), QStringLiteral("07.12.2026"));

    const TFormatSettings us = TFormatSettings::FromLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(us.DecimalSeparator, QLatin1Char('.'));
    EXPECT_EQ(us.ThousandSeparator, QLatin1Char(','));
    EXPECT_EQ(us.CurrencyFormat, 0);
    EXPECT_EQ(FormatDateTime(us.ShortTimeFormat, EncodeTime(21, 5, 0, 0), us), QStringLiteral("9:05 PM"));
    EXPECT_EQ(us.LongDayNames[0], QStringLiteral("Sunday"));
    EXPECT_EQ(us.ShortMonthNames[0], QStringLiteral("Jan"));
}
