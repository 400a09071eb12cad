#pragma once

// Opening a document or a web address with the desktop's default handler,
// as the shell does for a double-clicked file or a clicked link.  Tests
// replace the opener so that nothing is launched.

#include <QString>

#include <functional>

using TShellOpener = std::function<void(const QString &target)>;

// Hands target (a URL, or a file path, absolute or relative to the working
// folder) to the installed opener; failures are not reported.
void ShellOpen(const QString &target);

// Opens a link from a document: only a web (http, https) or mail (mailto)
// address, or a bare host name taken as a web address, goes to the opener,
// as that address.  A mail link goes on rebuilt from its address and its
// subject, body, cc and bcc fields; one with any other field (attach= and
// the like) is refused whole.  Anything else (a file, a program, another
// scheme) is not opened either: the answer is false, and refusal (when
// given) receives the reason as a clause to follow "not opened: ".
bool OpenWebOrMailLink(const QString &link, QString *refusal = nullptr);

// Installs opener in place of the desktop's (nullptr restores it) and
// answers the one installed before.
TShellOpener SetShellOpener(TShellOpener opener);
