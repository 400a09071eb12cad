#include "toolkit/core/IdentMaps.h"

bool IntToIdent(int value, QString &ident, std::span<const TIdentMapEntry> map)
{
    for (const TIdentMapEntry &entry : map) {
        if (entry.Value == value) {
            ident = QString::fromLatin1(entry.Name);
            return true;
        }
    }
    return false;
}

bool IdentToInt(const QString &ident, int &value, std::span<const TIdentMapEntry> map)
{
    for (const TIdentMapEntry &entry : map) {
        if (ident.compare(QLatin1String(entry.Name), Qt::CaseInsensitive) == 0) {
            value = entry.Value;
            return true;
        }
    }
    return false;
}

void GetIdentValues(const TGetStrProc &proc, std::span<const TIdentMapEntry> map)
{
    for (const TIdentMapEntry &entry : map)
        proc(QString::fromLatin1(entry.Name));
}
