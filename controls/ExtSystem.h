#pragma once

#include <QtGlobal>

// Writes count copies of value from dest on; nothing for a count of 0 or
// less.
void FillDWord(quint32 *dest, int count, quint32 value);
