#pragma once

// String helpers with the classic 1-based positions and clamping.

#include <QString>

// Blanks and control characters (everything up to U+0020) are trimmed.
QString Trim(const QString &s);
QString TrimLeft(const QString &s);
QString TrimRight(const QString &s);

// The 1-based position of the first `substr` in `s`; 0 when absent or empty.
int Pos(const QString &substr, const QString &s);

// At most `count` characters from the 1-based `index`; an index below 1
// counts as 1, a count below 0 as 0.
QString Copy(const QString &s, qsizetype index, qsizetype count);
