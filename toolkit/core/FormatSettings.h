#pragma once

// The process-wide number, currency, date and time settings.
//
// Every formatting and parsing function of the runtime reads the one
// `FormatSettings` object unless it is handed a settings record of its own.
// The unit's initialisation fills it from the system locale; tests pin it.
// File formats that fix their own decimal point never read it.

#include <QLocale>
#include <QString>

struct TFormatSettings
{
    QChar DecimalSeparator = QLatin1Char('.');
    QChar ThousandSeparator = QLatin1Char(',');
    QChar DateSeparator = QLatin1Char('/');
    QChar TimeSeparator = QLatin1Char(':');
    QChar ListSeparator = QLatin1Char(',');

    QString CurrencyString = QStringLiteral("$");
    // 0: "$1", 1: "1$", 2: "$ 1", 3: "1 $".
    int CurrencyFormat = 0;
    // The sixteen classic negative patterns, 0: "($1)" .. 15: "(1 $)".
    int NegCurrFormat = 0;
    int CurrencyDecimals = 2;

    // Date and time pictures in FormatDateTime's language.
    QString ShortDateFormat = QStringLiteral("m/d/yyyy");
    QString LongDateFormat = QStringLiteral("dddd, mmmm d, yyyy");
    QString ShortTimeFormat = QStringLiteral("h:nn");
    QString LongTimeFormat = QStringLiteral("h:nn:ss");
    QString TimeAMString = QStringLiteral("AM");
    QString TimePMString = QStringLiteral("PM");

    // January first; Sunday first.
    QString ShortMonthNames[12];
    QString LongMonthNames[12];
    QString ShortDayNames[7];
    QString LongDayNames[7];

    // Two-digit years are read within this many years before today (0: the
    // current century).
    int TwoDigitYearCenturyWindow = 50;

    // The settings of a Qt locale.
    static TFormatSettings FromLocale(const QLocale &locale);
};

extern TFormatSettings FormatSettings;

// Unit initialisation: FormatSettings from the system locale.
void InitializeFormatSettings();
