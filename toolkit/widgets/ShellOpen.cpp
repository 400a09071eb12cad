#include "toolkit/widgets/ShellOpen.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QUrl>
#include <QUrlQuery>

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

// The fields a mail link may fill in besides the address: anything else
// (attach=, attachment=, a header of the mail client's own) could make the
// mail client read a local file or act on the user's behalf.
bool isPlainMailField(const QString &key)
{
    for (const char *allowed : {"subject", "body", "cc", "bcc"})
        if (key.compare(QLatin1String(allowed), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// The mail link rebuilt from its address and its plain fields, or an empty
// URL (and the reason) when it has anything else.
QUrl plainMailLink(const QUrl &url, QString &refusal)
{
    const QString address = url.path(QUrl::FullyDecoded);
    if (address.contains(u'?') || address.contains(u'&')) {
        refusal = QCoreApplication::translate("ShellOpen", "its mail address is malformed");
        return {};
    }
    QUrlQuery plain;
    const QUrlQuery query(url.query(QUrl::FullyEncoded));
    for (const auto &[key, value] : query.queryItems(QUrl::FullyDecoded)) {
        if (!isPlainMailField(key)) {
            refusal = QCoreApplication::translate("ShellOpen", "a mail link may carry only the address and the "
                                                               "subject, body, cc and bcc fields, not \"%1\"")
                          .arg(key);
            return {};
        }
        plain.addQueryItem(key, QString::fromUtf8(QUrl::toPercentEncoding(value, "@,")));
    }
    QUrl result;
    result.setScheme(QStringLiteral("mailto"));
    result.setPath(address);
    if (!plain.isEmpty())
        result.setQuery(plain.query(QUrl::FullyEncoded), QUrl::StrictMode);
    return result;
}

} // namespace

void ShellOpen(const QString &target)
{
    // A file that exists relative to the working folder opens as a file.
    openWithDesktop(QUrl::fromUserInput(target, QDir::currentPath()), target);
}

bool OpenWebOrMailLink(const QString &link, QString *refusal)
{
    // Without a working folder nothing is taken for a relative file name.
    QUrl url = QUrl::fromUserInput(link.trimmed());
    const QString scheme = url.scheme().toLower();
    QString reason = QCoreApplication::translate("ShellOpen", "a report opens only web and mail addresses");
    if (url.isValid() && scheme == u"mailto")
        url = plainMailLink(url, reason);
    else if (scheme != u"http" && scheme != u"https")
        url = QUrl();
    if (!url.isValid()) {
        if (refusal)
            *refusal = reason;
        return false;
    }
    openWithDesktop(url, url.toString(QUrl::FullyEncoded));
    return true;
}

TShellOpener SetShellOpener(TShellOpener opener)
{
    return std::exchange(installedOpener(), std::move(opener));
}
