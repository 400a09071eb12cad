#include "toolkit/widgets/ShellOpen.h"

#include <QDesktopServices>
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
    QDesktopServices::openUrl(QUrl::fromUserInput(target));
}

TShellOpener SetShellOpener(TShellOpener opener)
{
    return std::exchange(installedOpener(), std::move(opener));
}
