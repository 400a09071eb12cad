#pragma once

// Tables of named integer constants ("clRed", "RUSSIAN_CHARSET", "crArrow"):
// the name of a value and the value of a name, as the classic class library
// keeps them for colours, character sets and cursors.

#include <QString>

#include <functional>
#include <span>

struct TIdentMapEntry {
    int Value;
    const char *Name;
};

using TGetStrProc = std::function<void(const QString &)>;

// The name of the first entry with that value; false when there is none.
bool IntToIdent(int value, QString &ident, std::span<const TIdentMapEntry> map);
// The value of the entry of that name (case-insensitive); false when there
// is none.
bool IdentToInt(const QString &ident, int &value, std::span<const TIdentMapEntry> map);
// Calls proc with every name of the table in table order.
void GetIdentValues(const TGetStrProc &proc, std::span<const TIdentMapEntry> map);
