#pragma once

// Collections: owned, ordered lists of items of one class, streamed with
// their owner.  An item belongs to at most one collection; freeing the item
// removes it, and freeing the collection frees its items.

#include "toolkit/classes/TPersistent.h"

#include <QList>

class TCollection;

class TCollectionItem : public TPersistent
{
    Q_OBJECT

public:
    // Adds the new item to collection when it is set.
    explicit TCollectionItem(TCollection *collection = nullptr);
    ~TCollectionItem() override;

    TCollection *Collection() const { return m_collection; }
    // Moves the item to another collection (or none).
    void SetCollection(TCollection *collection);

    // Position in the collection; -1 without one.
    int Index() const;
    // Moves the item within its collection; the index is clamped to the
    // collection's range.
    void SetIndex(int index);

private:
    friend class TCollection;
    TCollection *m_collection = nullptr;
};

// The class of a collection's items with the way to make one.
struct TCollectionItemClass {
    TClass cls = nullptr;
    TCollectionItem *(*create)(TCollection *collection) = nullptr;
};

template <class Item>
TCollectionItemClass CollectionItemClassOf()
{
    return {ClassOf<Item>(), [](TCollection *collection) -> TCollectionItem * {
                return new Item(collection);
            }};
}

class TCollection : public TPersistent
{
    Q_OBJECT

public:
    explicit TCollection(TCollectionItemClass itemClass, TPersistent *owner = nullptr);
    ~TCollection() override;

    TClass ItemClass() const { return m_itemClass.cls; }
    TPersistent *Owner() const { return m_owner; }

    int Count() const { return m_items.size(); }
    // Raises EListError for an index out of range.
    TCollectionItem *Items(int index) const;

    // Creates a new item of the item class at the end.
    TCollectionItem *Add();
    // Creates a new item at index (0..Count).
    TCollectionItem *Insert(int index);
    void Delete(int index);
    void Clear();

    // From another collection: replaces the items by new ones, each
    // assigned from the source item at the same position.
    void Assign(const TPersistent *source) override;

private:
    friend class TCollectionItem;
    void insertItem(TCollectionItem *item);
    void removeItem(TCollectionItem *item);

    TCollectionItemClass m_itemClass;
    TPersistent *m_owner;
    QList<TCollectionItem *> m_items;
};
