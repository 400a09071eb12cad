#include "toolkit/core/FormatDateTime.h"

#include <cstring>

namespace {

// The named formats may refer to one another; deeper nesting is ignored so a
// picture that names itself cannot recurse forever.
const int kMaxNesting = 2;

class DateTimeWriter
{
public:
    DateTimeWriter(TDateTime value, const TFormatSettings &settings) : m_value(value), m_settings(settings)
    {
        DecodeDate(value, m_year, m_month, m_day);
        DecodeTime(value, m_hour, m_minute, m_second, m_msec);
    }

    QString Write(const QString &format)
    {
        Append(format.isEmpty() ? QStringLiteral("c") : format, 0);
        return m_out;
    }

private:
    void Append(const QString &format, int nesting);
    void AppendNested(const QString &format, int nesting)
    {
        if (nesting < kMaxNesting)
            Append(format, nesting + 1);
    }
    void AppendNumber(int value, int width) { m_out += QString::number(value).rightJustified(width, QLatin1Char('0')); }
    bool AppendAmPm(const QString &format, qsizetype &i);
    int Hour12Aware(const QString &format, qsizetype from) const;

    TDateTime m_value;
    const TFormatSettings &m_settings;
    int m_year, m_month, m_day, m_hour, m_minute, m_second, m_msec;
    QString m_out;
};

bool StartsWithAt(const QString &format, qsizetype i, const char *word)
{
    return format.mid(i, qsizetype(strlen(word))).compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

// Whether an am/pm marker follows, which puts hours on the 12-hour clock.
bool HasAmPmAfter(const QString &format, qsizetype from)
{
    QChar quote;
    for (qsizetype i = from; i < format.size(); ++i) {
        const QChar c = format[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
        } else if (StartsWithAt(format, i, "am/pm") || StartsWithAt(format, i, "a/p") || StartsWithAt(format, i, "ampm")) {
            return true;
        }
    }
    return false;
}

int DateTimeWriter::Hour12Aware(const QString &format, qsizetype from) const
{
    if (!HasAmPmAfter(format, from))
        return m_hour;
    const int h = m_hour % 12;
    return h == 0 ? 12 : h;
}

bool DateTimeWriter::AppendAmPm(const QString &format, qsizetype &i)
{
    const bool pm = m_hour >= 12;
    if (StartsWithAt(format, i, "am/pm")) {
        m_out += format.mid(pm ? i + 3 : i, 2);
        i += 5;
    } else if (StartsWithAt(format, i, "a/p")) {
        m_out += format.mid(pm ? i + 2 : i, 1);
        i += 3;
    } else if (StartsWithAt(format, i, "ampm")) {
        m_out += pm ? m_settings.TimePMString : m_settings.TimeAMString;
        i += 4;
    } else {
        return false;
    }
    return true;
}

void DateTimeWriter::Append(const QString &format, int nesting)
{
    bool afterHour = false;
    qsizetype i = 0;
    while (i < format.size()) {
        const QChar c = format[i];
        const char16_t lower = c.toLower().unicode();
        if (lower == 'a' && AppendAmPm(format, i))
            continue;
        qsizetype count = 1;
        while (i + count < format.size() && format[i + count].toLower() == QChar(lower))
            ++count;
        const qsizetype next = i + count;
        bool isHour = false;
        switch (lower) {
        case '"':
        case '\'': {
            const qsizetype end = format.indexOf(c, i + 1);
            const qsizetype stop = end < 0 ? format.size() : end;
            m_out += format.mid(i + 1, stop - i - 1);
            i = stop + 1;
            continue;
        }
        case 'd':
            switch (count) {
            case 1: AppendNumber(m_day, 1); break;
            case 2: AppendNumber(m_day, 2); break;
            case 3: m_out += m_settings.ShortDayNames[DayOfWeek(m_value) - 1]; break;
            case 4: m_out += m_settings.LongDayNames[DayOfWeek(m_value) - 1]; break;
            case 5: AppendNested(m_settings.ShortDateFormat, nesting); break;
            default: AppendNested(m_settings.LongDateFormat, nesting); break;
            }
            break;
        case 'm':
            if (afterHour)
                AppendNumber(m_minute, count >= 2 ? 2 : 1);
            else if (count <= 2)
                AppendNumber(m_month, int(count));
            else if (m_month >= 1)
                m_out += count == 3 ? m_settings.ShortMonthNames[m_month - 1] : m_settings.LongMonthNames[m_month - 1];
            break;
        case 'y':
            if (count <= 2)
                AppendNumber(m_year % 100, 2);
            else
                AppendNumber(m_year, 4);
            break;
        case 'h':
            AppendNumber(Hour12Aware(format, next), count >= 2 ? 2 : 1);
            isHour = true;
            break;
        case 'n': AppendNumber(m_minute, count >= 2 ? 2 : 1); break;
        case 's': AppendNumber(m_second, count >= 2 ? 2 : 1); break;
        case 'z': AppendNumber(m_msec, count >= 3 ? 3 : 1); break;
        case 't':
            AppendNested(count == 1 ? m_settings.ShortTimeFormat : m_settings.LongTimeFormat, nesting);
            break;
        case 'c':
            AppendNested(m_settings.ShortDateFormat, nesting);
            if (m_hour != 0 || m_minute != 0 || m_second != 0) {
                m_out += QLatin1Char(' ');
                AppendNested(m_settings.LongTimeFormat, nesting);
            }
            break;
        default:
            // Separators and literals do not end the hour's hold on "m".
            if (lower == '/')
                m_out += QString(count, m_settings.DateSeparator);
            else if (lower == ':')
                m_out += QString(count, m_settings.TimeSeparator);
            else
                m_out += format.mid(i, count);
            i = next;
            continue;
        }
        afterHour = isHour;
        i = next;
    }
}

} // namespace

QString FormatDateTime(const QString &format, TDateTime value, const TFormatSettings &settings)
{
    return DateTimeWriter(value, settings).Write(format);
}

QString DateToStr(TDateTime value, const TFormatSettings &settings)
{
    return FormatDateTime(QStringLiteral("ddddd"), value, settings);
}

QString TimeToStr(TDateTime value, const TFormatSettings &settings)
{
    return FormatDateTime(QStringLiteral("tt"), value, settings);
}

QString DateTimeToStr(TDateTime value, const TFormatSettings &settings)
{
    return FormatDateTime(QStringLiteral("c"), value, settings);
}
