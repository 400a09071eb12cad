#include "controls/ExtStrUtils.h"

namespace {

Qt::CaseSensitivity sensitivity(bool caseSensitive)
{
    return caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
}

} // namespace

int AnsiStrPos(const QString &subStr, const QString &s, bool caseSensitive)
{
    if (subStr.isEmpty())
        return 0;
    return int(s.indexOf(subStr, 0, sensitivity(caseSensitive))) + 1;
}

bool AnsiCompareStrings(const QString &s1, const QString &s2, bool wholeText, bool caseSensitive)
{
    if (wholeText)
        return s1.compare(s2, sensitivity(caseSensitive)) == 0;
    return AnsiStrPos(s1, s2, caseSensitive) > 0;
}
