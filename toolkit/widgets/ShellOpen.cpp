#include "toolkit/widgets/ShellOpen.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>

#include <utility>

namespace {

TShellOpener &installedOpener()
{
    static TShellOpener opener;
    return opener;
}

} // namespace

void ShellOpen(const QString &target)
{
    if (const TShellOpener &opener = installedOpener()) {
        opener(target);
        return;
    }
    // A file that exists relative to the working folder opens as a file.
    QDesktopServices::openUrl(QUrl::fromUserInput(target, QDir::currentPath()));
}

TShellOpener SetShellOpener(TShellOpener opener)
{
    return std::exchange(installedOpener(), std::move(opener));
}
