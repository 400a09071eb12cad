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
    const int source = int(m_sources.size() - 1);
    m_names.insert(insertionPoint(name), {name, source});
    // A name added again leads to its latest entry.
    m_index.insert_or_assign(name, source);
}

QString TqvxDictionary::AddUnique(const QString &base, const QString &sourceName, TqvxComponent *object)
{
    const QString name = CreateUniqueName(base);
    Add(name, sourceName, object);
    return name;
}

TqvxComponent *TqvxDictionary::GetObject(QStringView name) const
{
    const SourceEntry *entry = find(name);
    return entry ? entry->object : nullptr;
}

QString TqvxDictionary::GetSourceName(const QString &name) const
{
    const SourceEntry *entry = find(name);
    return entry ? entry->sourceName : QString();
}

void TqvxDictionary::Clear()
{
    m_names.clear();
    m_sources.clear();
    m_index.clear();
}

qsizetype TqvxDictionary::insertionPoint(const QString &name) const
{
    const auto it = std::lower_bound(m_names.begin(), m_names.end(), name,
                                     [](const NameEntry &entry, const QString &key) { return entry.name < key; });
    return it - m_names.begin();
}

const TqvxDictionary::SourceEntry *TqvxDictionary::find(QStringView name) const
{
    const auto found = m_index.find(name);
    return found == m_index.end() ? nullptr : &m_sources.at(found->second);
}
