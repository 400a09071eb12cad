#include "toolkit/core/StrUtils.h"

#include <algorithm>

namespace {

bool IsTrimmed(QChar c)
{
    return c.unicode() <= ' ';
}

qsizetype FirstKept(const QString &s)
{
    qsizetype i = 0;
    while (i < s.size() && IsTrimmed(s[i]))
        ++i;
    return i;
}

qsizetype EndKept(const QString &s, qsizetype from)
{
    qsizetype n = s.size();
    while (n > from && IsTrimmed(s[n - 1]))
        --n;
    return n;
}

} // namespace

QString Trim(const QString &s)
{
    const qsizetype first = FirstKept(s);
    return s.mid(first, EndKept(s, first) - first);
}

QString TrimLeft(const QString &s)
{
    return s.mid(FirstKept(s));
}

QString TrimRight(const QString &s)
{
    return s.left(EndKept(s, 0));
}

int Pos(const QString &substr, const QString &s)
{
    if (substr.isEmpty())
        return 0;
    return int(s.indexOf(substr)) + 1;
}

QString Copy(const QString &s, qsizetype index, qsizetype count)
{
    const qsizetype start = std::max<qsizetype>(index, 1) - 1;
    if (start >= s.size() || count <= 0)
        return QString();
    return s.mid(start, std::min(count, s.size() - start));
}
