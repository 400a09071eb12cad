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

void openWithDesktop(const QUrl &url, const QString &target)
{
    if (const TShellOpener &opener = installedOpener())
        opener(target);
    else
        QDesktopServices::openUrl(url);
}

} // namespace

void ShellOpen(const QString &target)
{
    // A file that exists relative to the working folder opens as a file.
    openWithDesktop(QUrl::fromUserInput(target, QDir::currentPath()), target);
}

bool OpenWebOrMailLink(const QString &link)
{
    // Without a working folder nothing is taken for a relative file name.
    const QUrl url = QUrl::fromUserInput(link.trimmed());
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != u"http" && scheme != u"https" && scheme != u"mailto"))
        return false;
    openWithDesktop(url, url.toString(QUrl::FullyEncoded));
    return true;
}

TShellOpener SetShellOpener(TShellOpener opener)
{
    return std::exchange(installedOpener(), std::move(opener));
}
