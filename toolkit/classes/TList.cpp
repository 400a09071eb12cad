#include "toolkit/classes/TList.h"

#include "toolkit/core/Exceptions.h"

TList::TList() = default;
TList::~TList() = default;

void CheckListIndex(int index, int count)
{
    if (index < 0 || index >= count)
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
}

TObject *TList::Items(int index) const
{
    CheckListIndex(index, Count());
    return m_items.at(index);
}

void TList::SetItems(int index, TObject *item)
{
    CheckListIndex(index, Count());
    m_items[index] = item;
}

int TList::Add(TObject *item)
{
    m_items.append(item);
    return Count() - 1;
}

void TList::Insert(int index, TObject *item)
{
    CheckListIndex(index, Count() + 1);
    m_items.insert(index, item);
}

void TList::Delete(int index)
{
    CheckListIndex(index, Count());
    m_items.removeAt(index);
}

int TList::Remove(TObject *item)
{
    const int index = IndexOf(item);
    if (index >= 0)
        m_items.removeAt(index);
    return index;
}

int TList::IndexOf(const TObject *item) const
{
    return m_items.indexOf(item);
}

void TList::Clear()
{
    m_items.clear();
}
