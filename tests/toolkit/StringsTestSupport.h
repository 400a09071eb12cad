#pragma once

// Helpers of the string list and ini file tests.

#include "toolkit/classes/TStrings.h"

#include <QStringList>

// The lines of a list, for comparing whole lists at once.
inline QStringList linesOf(const TStrings &list)
{
    QStringList lines;
    for (int i = 0; i < list.Count(); ++i)
        lines += list.Strings(i);
    return lines;
}
