#include "app/QtDialogs.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QSettings>
#include <QTranslator>

#include <memory>

namespace {

std::unique_ptr<QTranslator> &qtTranslator()
{
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

} // namespace

void InitializeQtDialogs()
{
    auto translator = std::make_unique<QTranslator>();
    if (translator->load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qt"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator.get());
        qtTranslator() = std::move(translator);
    }
    // Qt's dialogs store their history in the user's QtProject.conf through
    // QSettings' user scope; the program uses no QSettings of its own, and
    // no file can be created below /dev/null, so nothing is written.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("/dev/null"));
}

void FinalizeQtDialogs()
{
    qtTranslator().reset();
}
