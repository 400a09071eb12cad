#include "toolkit/classes/TCollection.h"

#include "toolkit/classes/TList.h"

#include <algorithm>

TCollectionItem::TCollectionItem(TCollection *collection)
{
    SetCollection(collection);
}

TCollectionItem::~TCollectionItem()
{
    SetCollection(nullptr);
}

void TCollectionItem::SetCollection(TCollection *collection)
{
    if (collection == m_collection)
        return;
    if (m_collection)
        m_collection->removeItem(this);
    if (collection)
        collection->insertItem(this);
}

int TCollectionItem::Index() const
{
    return m_collection ? m_collection->m_items.indexOf(this) : -1;
}

void TCollectionItem::SetIndex(int index)
{
    if (!m_collection)
        return;
    QList<TCollectionItem *> &items = m_collection->m_items;
    const int target = std::clamp(index, 0, int(items.size()) - 1);
    items.move(Index(), target);
}

TCollection::TCollection(TCollectionItemClass itemClass, TPersistent *owner)
    : m_itemClass(itemClass), m_owner(owner)
{
}

TCollection::~TCollection()
{
    Clear();
}

TCollectionItem *TCollection::Items(int index) const
{
    CheckListIndex(index, Count());
    return m_items.at(index);
}

TCollectionItem *TCollection::Add()
{
    TCollectionItem *item = m_itemClass.create(this);
    Constructed(item);
    return item;
}

TCollectionItem *TCollection::Insert(int index)
{
    CheckListIndex(index, Count() + 1);
    TCollectionItem *item = Add();
    item->SetIndex(index);
    return item;
}

void TCollection::Delete(int index)
{
    delete Items(index);
}

void TCollection::Clear()
{
    while (!m_items.isEmpty())
        delete m_items.last();
}

void TCollection::Assign(const TPersistent *source)
{
    const auto *other = qobject_cast<const TCollection *>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    if (other == this)
        return;
    Clear();
    for (const TCollectionItem *sourceItem : other->m_items)
        Add()->Assign(sourceItem);
}

void TCollection::insertItem(TCollectionItem *item)
{
    m_items.append(item);
    item->m_collection = this;
}

void TCollection::removeItem(TCollectionItem *item)
{
    m_items.removeOne(item);
    item->m_collection = nullptr;
}
