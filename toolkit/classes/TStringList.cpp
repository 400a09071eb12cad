#include "toolkit/classes/TStringList.h"

#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/ObjectHandles.h"
#include "toolkit/core/CodePages.h"
#include "toolkit/core/Exceptions.h"

#include <algorithm>

TStringList::TStringList(bool ownsObjects) : m_ownsObjects(ownsObjects) {}

TStringList::~TStringList()
{
    OnChange = nullptr;
    Clear();
}

int TStringList::Add(const QString &s)
{
    return AddObjectRef(s, {});
}

int TStringList::AddObjectRef(const QString &s, TObjectRef object)
{
    int index = Count();
    if (m_sorted && Find(s, index)) {
        if (m_duplicates == dupIgnore)
            return index;
        if (m_duplicates == dupError)
            throw EStringListError(QStringLiteral("String list does not allow duplicates"));
    }
    InsertItem(index, s, object);
    return index;
}

void TStringList::Insert(int index, const QString &s)
{
    CheckUnsorted();
    if (index < 0 || index > Count())
        IndexError(index);
    InsertItem(index, s, {});
}

void TStringList::Delete(int index)
{
    CheckIndex(index);
    TObject *object = m_items[index].object.Object;
    m_items.erase(m_items.begin() + index);
    if (m_ownsObjects)
        delete object;
    Changed();
}

void TStringList::Clear()
{
    if (m_items.empty())
        return;
    std::vector<Item> items;
    items.swap(m_items);
    if (m_ownsObjects)
        for (const Item &item : items)
            delete item.object.Object;
    Changed();
}

void TStringList::Move(int curIndex, int newIndex)
{
    if (curIndex == newIndex)
        return;
    CheckUnsorted();
    CheckIndex(curIndex);
    CheckIndex(newIndex);
    const auto from = m_items.begin() + curIndex;
    const auto to = m_items.begin() + newIndex;
    if (curIndex < newIndex)
        std::rotate(from, from + 1, to + 1);
    else
        std::rotate(to, from, from + 1);
    Changed();
}

int TStringList::IndexOf(const QString &s) const
{
    if (!m_sorted)
        return TStrings::IndexOf(s);
    int index;
    return Find(s, index) ? index : -1;
}

bool TStringList::Find(const QString &s, int &index) const
{
    const auto it = std::lower_bound(m_items.begin(), m_items.end(), s,
                                     [this](const Item &item, const QString &key) {
                                         return CompareStrings(item.string, key) < 0;
                                     });
    index = int(it - m_items.begin());
    return it != m_items.end() && CompareStrings(it->string, s) == 0;
}

void TStringList::Sort()
{
    std::stable_sort(m_items.begin(), m_items.end(), [this](const Item &a, const Item &b) {
        return CompareStrings(a.string, b.string) < 0;
    });
    Changed();
}

void TStringList::SetSorted(bool sorted)
{
    if (m_sorted == sorted)
        return;
    if (sorted)
        Sort();
    m_sorted = sorted;
}

void TStringList::SetCaseSensitive(bool caseSensitive)
{
    if (m_caseSensitive == caseSensitive)
        return;
    m_caseSensitive = caseSensitive;
    if (m_sorted)
        Sort();
}

QString TStringList::Get(int index) const
{
    CheckIndex(index);
    return m_items[index].string;
}

void TStringList::Put(int index, const QString &s)
{
    CheckUnsorted();
    CheckIndex(index);
    m_items[index].string = s;
    Changed();
}

TObjectRef TStringList::GetObjectRef(int index) const
{
    CheckIndex(index);
    return m_items[index].object;
}

void TStringList::PutObjectRef(int index, TObjectRef object)
{
    CheckIndex(index);
    TObject *old = std::exchange(m_items[index].object, object).Object;
    if (m_ownsObjects && old != object.Object)
        delete old;
    Changed();
}

void TStringList::SetUpdateState(bool updating)
{
    if (!updating)
        Changed();
}

int TStringList::CompareStrings(const QString &a, const QString &b) const
{
    if (m_caseSensitive)
        return AnsiCompareStr(a, b);
    return TStrings::CompareStrings(a, b);
}

void TStringList::CheckIndex(int index) const
{
    if (index < 0 || index >= Count())
        IndexError(index);
}

void TStringList::CheckUnsorted() const
{
    if (m_sorted)
        throw EStringListError(QStringLiteral("Operation not allowed on sorted list"));
}

void TStringList::InsertItem(int index, const QString &s, TObjectRef object)
{
    m_items.insert(m_items.begin() + index, Item{s, object});
    Changed();
}

void TStringList::Changed()
{
    if (!Updating() && OnChange)
        OnChange(this);
}

void InitializeStringLists()
{
    RegisterClass<TStrings>();
    RegisterClass<TStringList>();
}
