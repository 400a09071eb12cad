#include "app/QtDialogs.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QSettings>
#include <QTranslator>

#include <memory>
#include <vector>

namespace {

// Qt's catalogues the dialogs draw on: the widgets' own and the base
// library's.
constexpr const char *Catalogues[] = {"qt", "qtbase"};

constexpr const char *LocaleCategoriesButTime[] = {
    "LC_CTYPE", "LC_NUMERIC",   "LC_COLLATE",     "LC_MONETARY",      "LC_MESSAGES", "LC_PAPER",
    "LC_NAME",  "LC_ADDRESS",   "LC_TELEPHONE",   "LC_MEASUREMENT",   "LC_IDENTIFICATION",
};

std::vector<std::unique_ptr<QTranslator>> &qtTranslators()
{
    static std::vector<std::unique_ptr<QTranslator>> translators;
    return translators;
}

} // namespace

void UseRussianDates()
{
    // LC_ALL stands for every category and would hide LC_TIME: its value
    // goes to each of the others instead, so they stay as the user set them.
    const QByteArray all = qgetenv("LC_ALL");
    if (!all.isEmpty()) {
        for (const char *category : LocaleCategoriesButTime)
            qputenv(category, all);
        qunsetenv("LC_ALL");
    }
    qputenv("LC_TIME", "ru_RU.UTF-8");
}

void InitializeQtDialogs()
{
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    for (const char *catalogue : Catalogues) {
        auto translator = std::make_unique<QTranslator>();
        if (translator->load(russian, QLatin1String(catalogue), QStringLiteral("_"),
                             QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            QCoreApplication::installTranslator(translator.get());
            qtTranslators().push_back(std::move(translator));
        }
    }
    // Dates, numbers and file types in Qt's dialogs read the default locale.
    QLocale::setDefault(russian);
    // Qt's dialogs store their history in the user's QtProject.conf through
    // QSettings' user scope; the program uses no QSettings of its own, and
    // no file can be created below /dev/null, so nothing is written.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("/dev/null"));
}

void FinalizeQtDialogs()
{
    qtTranslators().clear();
    QLocale::setDefault(QLocale::system());
}
