#include "toolkit/core/TextLimits.h"

#include "toolkit/core/Exceptions.h"

void CheckTextLength(qint64 length)
{
    if (length > MaxTextLength)
        throw EOutOfMemory(QStringLiteral("Text too long"));
}
