#include "toolkit/core/FormatSettings.h"

TFormatSettings FormatSettings;

namespace {

// Translates a Qt date/time format into FormatDateTime's picture language.
QString FromQtFormat(const QString &qt)
{
    QString out;
    for (qsizetype i = 0; i < qt.size();) {
        const QChar c = qt[i];
        qsizetype run = 1;
        while (i + run < qt.size() && qt[i + run] == c)
            ++run;
        if (c == QLatin1Char('\'')) {
            const qsizetype found = qt.indexOf(QLatin1Char('\''), i + 1);
            const qsizetype end = found < 0 ? qt.size() : found;
            out += QLatin1Char('"') + qt.mid(i + 1, end - i - 1) + QLatin1Char('"');
            i = end + 1;
            continue;
        }
        switch (c.unicode()) {
        case 'M': out += QString(run, QLatin1Char('m')); break;
        case 'm': out += QString(run, QLatin1Char('n')); break;
        case 'H': out += QString(run, QLatin1Char('h')); break;
        case 'A':
        case 'a':
            out += QStringLiteral("ampm");
            if (i + 1 < qt.size() && (qt[i + 1] == QLatin1Char('P') || qt[i + 1] == QLatin1Char('p')))
                ++run;
            break;
        case 't': break;
        default: out += qt.mid(i, run); break;
        }
        i += run;
    }
    return out.trimmed();
}

QChar FirstSeparator(const QString &format, QChar fallback)
{
    for (QChar c : format)
        if (!c.isLetter() && c != QLatin1Char('"') && c != QLatin1Char('\''))
            return c;
    return fallback;
}

} // namespace

TFormatSettings TFormatSettings::FromLocale(const QLocale &locale)
{
    TFormatSettings s;
    s.DecimalSeparator = locale.decimalPoint().at(0);
    const QString group = locale.groupSeparator();
    s.ThousandSeparator = group.isEmpty() ? QChar(QLatin1Char(' ')) : group.at(0);
    s.ListSeparator = s.DecimalSeparator == QLatin1Char(',') ? QChar(QLatin1Char(';')) : QChar(QLatin1Char(','));

    s.CurrencyString = locale.currencySymbol();
    const QString money = locale.toCurrencyString(1.0, s.CurrencyString, 0);
    const bool symbolFirst = money.startsWith(s.CurrencyString);
    const bool spaced = money.contains(QLatin1Char(' ')) || money.contains(QChar(0x00A0));
    s.CurrencyFormat = (symbolFirst ? 0 : 1) + (spaced ? 2 : 0);
    static const int negativeOf[4] = {1, 5, 9, 8};
    s.NegCurrFormat = negativeOf[s.CurrencyFormat];

    s.ShortDateFormat = FromQtFormat(locale.dateFormat(QLocale::ShortFormat));
    s.LongDateFormat = FromQtFormat(locale.dateFormat(QLocale::LongFormat));
    s.ShortTimeFormat = FromQtFormat(locale.timeFormat(QLocale::ShortFormat));
    s.LongTimeFormat = FromQtFormat(locale.timeFormat(QLocale::LongFormat));
    s.DateSeparator = FirstSeparator(s.ShortDateFormat, QLatin1Char('/'));
    s.TimeSeparator = FirstSeparator(s.LongTimeFormat, QLatin1Char(':'));
    s.TimeAMString = locale.amText();
    s.TimePMString = locale.pmText();

    for (int m = 0; m < 12; ++m) {
        s.ShortMonthNames[m] = locale.standaloneMonthName(m + 1, QLocale::ShortFormat);
        s.LongMonthNames[m] = locale.standaloneMonthName(m + 1, QLocale::LongFormat);
    }
    // Qt counts Monday as 1 and Sunday as 7.
    for (int d = 0; d < 7; ++d) {
        const int qtDay = d == 0 ? 7 : d;
        s.ShortDayNames[d] = locale.dayName(qtDay, QLocale::ShortFormat);
        s.LongDayNames[d] = locale.dayName(qtDay, QLocale::LongFormat);
    }
    return s;
}

void InitializeFormatSettings()
{
    FormatSettings = TFormatSettings::FromLocale(QLocale::system());
}
