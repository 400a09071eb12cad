#include "engine/qvxDictionary.h"

#include <algorithm>

QString TqvxDictionary::CreateUniqueName(const QString &base) const
{
    int i = 10000;
    while (i >= 2 && !Contains(base + QString::number(i)))
        i >>= 1;
    while (Contains(base + QString::number(i)))
        ++i;
    return base + QString::number(i);
}

void TqvxDictionary::Add(const QString &name, const QString &sourceName, TqvxComponent *object)
{
    m_sources.append({sourceName, object});
    m_names.insert(insertionPoint(name), {name, int(m_sources.size() - 1)});
}

QString TqvxDictionary::AddUnique(const QString &base, const QString &sourceName, TqvxComponent *object)
{
    const QString name = CreateUniqueName(base);
    Add(name, sourceName, object);
    return name;
}

TqvxComponent *TqvxDictionary::GetObject(const QString &name) const
{
    const int index = indexOf(name);
    return index < 0 ? nullptr : m_sources.at(m_names.at(index).source).object;
}

QString TqvxDictionary::GetSourceName(const QString &name) const
{
    const int index = indexOf(name);
    return index < 0 ? QString() : m_sources.at(m_names.at(index).source).sourceName;
}

void TqvxDictionary::Clear()
{
    m_names.clear();
    m_sources.clear();
}

qsizetype TqvxDictionary::insertionPoint(const QString &name) const
{
    const auto it = std::lower_bound(m_names.begin(), m_names.end(), name,
                                     [](const NameEntry &entry, const QString &key) { return entry.name < key; });
    return it - m_names.begin();
}

int TqvxDictionary::indexOf(const QString &name) const
{
    const qsizetype at = insertionPoint(name);
    return at < m_names.size() && m_names.at(at).name == name ? int(at) : -1;
}
