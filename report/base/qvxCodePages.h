#pragma once

// Text conversion by font character set or code page.

#include <QByteArray>
#include <QString>

// DEFAULT_CHARSET (1) gives the system code page, MAC_CHARSET (77) the
// Macintosh one (2), OEM_CHARSET (255) the console one (1); other character
// sets their own code page.
int qvxCharsetToCodePage(int charset);

// 8-bit text to wide text and back, in `codePage`, or in the code page of
// `charset` when `codePage` is 0.  Characters the code page lacks become '?'.
QString qvxAnsiToWideString(const QByteArray &text, int charset, int codePage);
QByteArray qvxWideStringToAnsi(const QString &text, int charset, int codePage);

// The locale id of a character set's language; the program's own locale
// (Russian, 1049) for a character set not in the table.
int qvxCharsetToLocale(int charset);
