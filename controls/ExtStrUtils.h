#pragma once

// String search and comparison with case folding by locale.

#include <QString>

// The 1-based position of subStr in s, 0 when absent or when subStr is
// empty.  Without caseSensitive both are compared in one case.
int AnsiStrPos(const QString &subStr, const QString &s, bool caseSensitive);

// With wholeText: whether s1 and s2 are equal; without: whether s1 occurs
// in s2 (never for an empty s1).
bool AnsiCompareStrings(const QString &s1, const QString &s2, bool wholeText, bool caseSensitive);
