#include "script/zqScript.h"

#include "script/zqVariables.h"

#include <algorithm>

namespace {

template <class Entry>
bool lessByName(const Entry &entry, const QString &name)
{
    return entry.name.compare(name, Qt::CaseInsensitive) < 0;
}

} // namespace

TzqScript::TzqScript() = default;

TzqScript::~TzqScript() = default;

void TzqScript::Add(const QString &name, std::unique_ptr<TzqCustomVariable> item)
{
    // Behind the entries of the same name, so the first one added is found.
    const auto at = std::upper_bound(m_items.begin(), m_items.end(), name, [](const QString &n, const Entry &e) {
        return n.compare(e.name, Qt::CaseInsensitive) < 0;
    });
    m_items.insert(at, Entry{name, std::move(item)});
}

TzqCustomVariable *TzqScript::FindLocal(const QString &name) const
{
    const auto at = std::lower_bound(m_items.begin(), m_items.end(), name, lessByName<Entry>);
    if (at == m_items.end() || at->name.compare(name, Qt::CaseInsensitive) != 0)
        return nullptr;
    return at->item.get();
}

TzqCustomVariable *TzqScript::Find(const QString &name) const
{
    for (const TzqScript *script = this; script; script = script->Parent) {
        if (TzqCustomVariable *item = script->FindLocal(name))
            return item;
    }
    return nullptr;
}
