// The main of every test executable: a GUI application on Qt's offscreen
// platform, the unit start-up list of the library under test, and pinned
// locale and font settings, so results never depend on the machine.

#include "toolkit/core/FormatSettings.h"
#include "toolkit/core/Units.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <csignal>

#ifndef TEST_REGISTER_UNITS
#define TEST_REGISTER_UNITS RegisterToolkitUnits
#endif
void TEST_REGISTER_UNITS();

namespace {

// The settings of the Russian desktops the program runs on.
void PinFormatSettings()
{
    TFormatSettings &s = FormatSettings;
    s.DecimalSeparator = QLatin1Char(',');
    s.ThousandSeparator = QChar(0x00A0);
    s.DateSeparator = QLatin1Char('.');
    s.TimeSeparator = QLatin1Char(':');
    s.ListSeparator = QLatin1Char(';');
    s.CurrencyString = QStringLiteral("р.");
    s.CurrencyFormat = 3;
    s.NegCurrFormat = 8;
    s.CurrencyDecimals = 2;
    s.ShortDateFormat = QStringLiteral("dd.mm.yyyy");
    s.LongDateFormat = QStringLiteral("d mmmm yyyy 'г.'");
    s.ShortTimeFormat = QStringLiteral("h:nn");
    s.LongTimeFormat = QStringLiteral("hh:nn:ss");
    s.TimeAMString = QString();
    s.TimePMString = QString();
    s.TwoDigitYearCenturyWindow = 50;
    const char *const shortMonths[12] = {"янв", "фев", "мар", "апр", "май", "июн",
                                         "июл", "авг", "сен", "окт", "ноя", "дек"};
    const char *const longMonths[12] = {"Январь", "Февраль", "Март",     "Апрель",  "Май",    "Июнь",
                                        "Июль",   "Август",  "Сентябрь", "Октябрь", "Ноябрь", "Декабрь"};
    const char *const shortDays[7] = {"Вс", "Пн", "Вт", "Ср", "Чт", "Пт", "Сб"};
    const char *const longDays[7] = {"воскресенье", "понедельник", "вторник", "среда",
                                     "четверг",     "пятница",     "суббота"};
    for (int i = 0; i < 12; ++i) {
        s.ShortMonthNames[i] = QString::fromUtf8(shortMonths[i]);
        s.LongMonthNames[i] = QString::fromUtf8(longMonths[i]);
    }
    for (int i = 0; i < 7; ++i) {
        s.ShortDayNames[i] = QString::fromUtf8(shortDays[i]);
        s.LongDayNames[i] = QString::fromUtf8(longDays[i]);
    }
}

} // namespace

int main(int argc, char **argv)
{
#ifdef TEST_PLATFORM
    qputenv("QT_QPA_PLATFORM", TEST_PLATFORM);
#else
    qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    qputenv("TZ", "UTC");
    // As the program does: writes past the file-size limit fail, they do
    // not end the process.
    std::signal(SIGXFSZ, SIG_IGN);
    // The tests' own font configuration (the project's, with a known set of
    // faces), before anything starts fontconfig.
    qputenv("FONTCONFIG_FILE", TEST_FONTS_CONF);
    // No printer of the machine's print service: a print server that is not
    // there.  The printing tests name their own.
    qputenv("CUPS_SERVER", "/nonexistent/qvx-tests/cups.sock");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    TEST_REGISTER_UNITS();
    // A unit of its own, so the settings are pinned again whenever a test
    // restarts the units.
    Units::Add("TestFormatSettings", PinFormatSettings, nullptr);
    Units::InitializeAll();
    const int result = RUN_ALL_TESTS();
    Units::FinalizeAll();
    return result;
}
