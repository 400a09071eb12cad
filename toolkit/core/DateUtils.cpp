#include "toolkit/core/DateUtils.h"

#include "toolkit/core/Exceptions.h"
#include "toolkit/core/SysUtils.h"

#include <QDateTime>

#include <cmath>

namespace {

const qint64 kMSecsPerDay = 86400000;
const qint64 kFirstDay = -693593; // 0001-01-01
const qint64 kLastDay = 2958465;  // 9999-12-31

// Days from 1970-01-01 to a proleptic Gregorian date, and back.
qint64 DaysFromCivil(qint64 y, int m, int d)
{
    y -= m <= 2;
    const qint64 era = (y >= 0 ? y : y - 399) / 400;
    const qint64 yoe = y - era * 400;
    const qint64 doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const qint64 doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(qint64 z, int &year, int &month, int &day)
{
    z += 719468;
    const qint64 era = (z >= 0 ? z : z - 146096) / 146097;
    const qint64 doe = z - era * 146097;
    const qint64 yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const qint64 doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const qint64 mp = (5 * doy + 2) / 153;
    day = int(doy - (153 * mp + 2) / 5 + 1);
    month = int(mp < 10 ? mp + 3 : mp - 9);
    year = int(yoe + era * 400 + (month <= 2));
}

const qint64 kUnixEpochDay = 25569; // 1970-01-01 as a TDateTime

// A value split into whole days and milliseconds of the day.
struct DayAndTime
{
    bool valid = false;
    qint64 day = 0;
    qint64 msec = 0;
};

DayAndTime Split(TDateTime value)
{
    DayAndTime r;
    if (!std::isfinite(value))
        throw EInvalidOp(QStringLiteral("Invalid floating point operation"));
    if (!(std::fabs(value) < double(kLastDay + 2)))
        return r;
    const qint64 total = qint64(std::nearbyint(value * double(kMSecsPerDay)));
    r.valid = true;
    r.day = total / kMSecsPerDay;
    r.msec = (total < 0 ? -total : total) % kMSecsPerDay;
    return r;
}

// --- Parsing ---------------------------------------------------------------

enum class DateOrder { DMY, MDY, YMD };

DateOrder OrderOf(const QString &shortDateFormat)
{
    for (QChar c : shortDateFormat) {
        switch (c.toLower().unicode()) {
        case 'd': return DateOrder::DMY;
        case 'm': return DateOrder::MDY;
        case 'y': return DateOrder::YMD;
        default: break;
        }
    }
    return DateOrder::DMY;
}

int CurrentYear()
{
    return QDate::currentDate().year();
}

class Scanner
{
public:
    explicit Scanner(const QString &text) : m_text(text) {}

    bool AtEnd()
    {
        SkipBlanks();
        return m_pos >= m_text.size();
    }

    // Up to nine digits after optional blanks; `length` receives their count.
    bool Number(int &value, int &length)
    {
        SkipBlanks();
        const qsizetype start = m_pos;
        value = 0;
        while (m_pos < m_text.size() && m_pos - start < 9 && m_text[m_pos].unicode() >= '0'
               && m_text[m_pos].unicode() <= '9')
            value = value * 10 + (m_text[m_pos++].unicode() - '0');
        length = int(m_pos - start);
        return length > 0;
    }

    bool Char(QChar c)
    {
        SkipBlanks();
        if (m_pos < m_text.size() && m_text[m_pos] == c) {
            ++m_pos;
            return true;
        }
        return false;
    }

    bool Word(const QString &word)
    {
        SkipBlanks();
        if (word.isEmpty() || m_text.mid(m_pos, word.size()).compare(word, Qt::CaseInsensitive) != 0)
            return false;
        m_pos += word.size();
        return true;
    }

    qsizetype Position() const { return m_pos; }
    void SetPosition(qsizetype pos) { m_pos = pos; }

private:
    // Blanks only: a tab or a line break is no part of a date or time.
    void SkipBlanks()
    {
        while (m_pos < m_text.size() && m_text[m_pos] == u' ')
            ++m_pos;
    }

    const QString &m_text;
    qsizetype m_pos = 0;
};

int ExpandTwoDigitYear(int year, const TFormatSettings &settings)
{
    const int current = CurrentYear();
    if (settings.TwoDigitYearCenturyWindow <= 0)
        return year + current / 100 * 100;
    const int base = current - settings.TwoDigitYearCenturyWindow;
    year += base / 100 * 100;
    if (year < base)
        year += 100;
    return year;
}

bool ScanDate(Scanner &s, TDateTime &value, const TFormatSettings &settings)
{
    int n[3] = {0, 0, 0};
    int len[3] = {0, 0, 0};
    if (!s.Number(n[0], len[0]) || !s.Char(settings.DateSeparator) || !s.Number(n[1], len[1]))
        return false;
    // A third number may follow; one separator may end the date.
    int count = 2;
    qsizetype end = s.Position();
    if (s.Char(settings.DateSeparator)) {
        end = s.Position();
        if (s.Number(n[2], len[2])) {
            count = 3;
            end = s.Position();
            if (s.Char(settings.DateSeparator))
                end = s.Position();
        }
    }
    s.SetPosition(end);

    const DateOrder order = OrderOf(settings.ShortDateFormat);
    int year = CurrentYear(), month, day, yearLength = 4;
    if (count == 2) {
        const bool dayFirst = order == DateOrder::DMY;
        day = dayFirst ? n[0] : n[1];
        month = dayFirst ? n[1] : n[0];
    } else if (order == DateOrder::YMD) {
        year = n[0], yearLength = len[0], month = n[1], day = n[2];
    } else {
        day = order == DateOrder::DMY ? n[0] : n[1];
        month = order == DateOrder::DMY ? n[1] : n[0];
        year = n[2], yearLength = len[2];
    }
    if (yearLength <= 2)
        year = ExpandTwoDigitYear(year, settings);
    return TryEncodeDate(year, month, day, value);
}

// 0 for a morning marker, 12 for an afternoon one, -1 for none.
int ScanAmPm(Scanner &s, const TFormatSettings &settings)
{
    if (s.Word(settings.TimeAMString) || s.Word(QStringLiteral("AM")))
        return 0;
    if (s.Word(settings.TimePMString) || s.Word(QStringLiteral("PM")))
        return 12;
    return -1;
}

bool ScanTime(Scanner &s, TDateTime &value, const TFormatSettings &settings)
{
    int base = ScanAmPm(s, settings);
    int hour, minute = 0, second = 0, msec = 0, length;
    if (!s.Number(hour, length))
        return false;
    if (s.Char(settings.TimeSeparator)) {
        if (!s.Number(minute, length))
            return false;
        if (s.Char(settings.TimeSeparator)) {
            if (!s.Number(second, length))
                return false;
            if (s.Char(settings.DecimalSeparator) && !s.Number(msec, length))
                return false;
        }
    }
    if (base < 0)
        base = ScanAmPm(s, settings);
    if (base >= 0) {
        if (hour == 0 || hour > 12)
            return false;
        hour = hour % 12 + base;
    }
    return TryEncodeTime(hour, minute, second, msec, value);
}

} // namespace

bool IsLeapYear(int year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return days[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

bool TryEncodeDate(int year, int month, int day, TDateTime &result)
{
    if (year < 1 || year > 9999 || day < 1 || day > DaysInMonth(year, month))
        return false;
    result = double(DaysFromCivil(year, month, day) + kUnixEpochDay);
    return true;
}

bool TryEncodeTime(int hour, int minute, int second, int msec, TDateTime &result)
{
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || msec < 0
        || msec > 999)
        return false;
    result = double(((hour * 60 + minute) * 60 + second) * 1000 + msec) / double(kMSecsPerDay);
    return true;
}

TDateTime EncodeDate(int year, int month, int day)
{
    TDateTime result;
    if (!TryEncodeDate(year, month, day, result))
        throw EConvertError(QStringLiteral("Invalid argument to date encode"));
    return result;
}

TDateTime EncodeTime(int hour, int minute, int second, int msec)
{
    TDateTime result;
    if (!TryEncodeTime(hour, minute, second, msec, result))
        throw EConvertError(QStringLiteral("Invalid argument to time encode"));
    return result;
}

void DecodeDate(TDateTime value, int &year, int &month, int &day)
{
    const DayAndTime split = Split(value);
    if (!split.valid || split.day < kFirstDay || split.day > kLastDay) {
        year = month = day = 0;
        return;
    }
    CivilFromDays(split.day - kUnixEpochDay, year, month, day);
}

void DecodeTime(TDateTime value, int &hour, int &minute, int &second, int &msec)
{
    const qint64 ms = Split(value).msec;
    hour = int(ms / 3600000);
    minute = int(ms / 60000 % 60);
    second = int(ms / 1000 % 60);
    msec = int(ms % 1000);
}

int DayOfWeek(TDateTime value)
{
    // Day 0, 1899-12-30, was a Saturday.
    const qint64 day = Split(value).day;
    return int(((day % 7) + 7 + 6) % 7) + 1;
}

TDateTime Date()
{
    return std::floor(Now());
}

TDateTime Time()
{
    const TDateTime now = Now();
    return now - std::floor(now);
}

TDateTime Now()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QDate d = now.date();
    const QTime t = now.time();
    return EncodeDate(d.year(), d.month(), d.day()) + EncodeTime(t.hour(), t.minute(), t.second(), t.msec());
}

bool TryStrToDate(const QString &text, TDateTime &value, const TFormatSettings &settings)
{
    Scanner s(text);
    return ScanDate(s, value, settings) && s.AtEnd();
}

bool TryStrToTime(const QString &text, TDateTime &value, const TFormatSettings &settings)
{
    Scanner s(text);
    return ScanTime(s, value, settings) && s.AtEnd();
}

bool TryStrToDateTime(const QString &text, TDateTime &value, const TFormatSettings &settings)
{
    Scanner s(text);
    TDateTime date;
    if (ScanDate(s, date, settings)) {
        TDateTime time = 0;
        if (s.AtEnd() || (ScanTime(s, time, settings) && s.AtEnd())) {
            // A time on a day before 1899-12-30 still runs forward.
            value = date < 0 ? date - time : date + time;
            return true;
        }
    }
    return TryStrToTime(text, value, settings);
}

TDateTime StrToDate(const QString &text, const TFormatSettings &settings)
{
    TDateTime v;
    if (!TryStrToDate(text, v, settings))
        ConvertError("'%1' is not a valid date", text);
    return v;
}

TDateTime StrToTime(const QString &text, const TFormatSettings &settings)
{
    TDateTime v;
    if (!TryStrToTime(text, v, settings))
        ConvertError("'%1' is not a valid time", text);
    return v;
}

TDateTime StrToDateTime(const QString &text, const TFormatSettings &settings)
{
    TDateTime v;
    if (!TryStrToDateTime(text, v, settings))
        ConvertError("'%1' is not a valid date and time", text);
    return v;
}
