#include "controls/ExtSystem.h"

#include <algorithm>

void FillDWord(quint32 *dest, int count, quint32 value)
{
    if (count > 0)
        std::fill_n(dest, count, value);
}
