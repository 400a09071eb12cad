#pragma once

// The names of the font character sets ("ANSI_CHARSET" ... "OEM_CHARSET",
// 19 names; the constants are in toolkit/core/CodePages.h).

#include "toolkit/core/IdentMaps.h"

#include <QString>

// The name of a character set and the character set of a name
// (case-insensitive); false when the table has no entry.
bool CharsetToIdent(int charset, QString &ident);
bool IdentToCharset(const QString &ident, int &charset);

// Calls proc with each name of the table in table order.
void GetCharsetValues(const TGetStrProc &proc);
