#include "toolkit/classes/TList.h"

#include "toolkit/core/Exceptions.h"
#include "toolkit/classes/ObjectHandles.h"

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

quint32 TList::ItemGeneration(int index) const
{
    CheckListIndex(index, Count());
    return m_generations.at(index);
}

void TList::SetItems(int index, TObject *item)
{
    CheckListIndex(index, Count());
    m_items[index] = item;
    m_generations[index] = TObjectRef::To(item).Generation;
}

int TList::Add(TObject *item)
{
    m_items.append(item);
    m_generations.append(TObjectRef::To(item).Generation);
    return Count() - 1;
}

void TList::Insert(int index, TObject *item)
{
    CheckListIndex(index, Count() + 1);
    m_items.insert(index, item);
    m_generations.insert(index, TObjectRef::To(item).Generation);
}

void TList::Delete(int index)
{
    CheckListIndex(index, Count());
    m_items.removeAt(index);
    m_generations.removeAt(index);
}

int TList::Remove(TObject *item)
{
    const int index = IndexOf(item);
    if (index >= 0)
        Delete(index);
    return index;
}

int TList::IndexOf(const TObject *item) const
{
    return m_items.indexOf(item);
}

void TList::Clear()
{
    m_items.clear();
    m_generations.clear();
}
