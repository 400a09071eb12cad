#pragma once

// Collections of report data (variables, styles, data set entries) whose
// items carry the name under which they were inherited from a parent report.
// The collection gives every item it makes a unique InheritedName: the
// item's class name followed by the smallest free number (TqvxVariable1,
// TqvxVariable2 ...).

#include "toolkit/classes/TCollection.h"

#include <QString>

class TqvxCollectionItem : public TCollectionItem
{
    Q_OBJECT
    Q_PROPERTY(QString InheritedName READ GetInheritedName WRITE SetInheritedName)

public:
    explicit TqvxCollectionItem(TCollection *collection = nullptr);

    virtual QString GetInheritedName() const;
    virtual void SetInheritedName(const QString &value);
    // Taken over from a parent report; written with its InheritedName so
    // that loading matches it again.  False in the base.
    virtual bool IsInherited() const;

private:
    QString m_inheritedName;
};

class TqvxCollection : public TCollection
{
    Q_OBJECT

public:
    // itemClass comes from qvxCollectionItemClassOf, so that every item the
    // collection makes is named.
    explicit TqvxCollection(TCollectionItemClass itemClass, TPersistent *owner = nullptr);

    // The first item whose InheritedName is name (letter case counts), or
    // nullptr.
    TqvxCollectionItem *FindByName(const QString &name) const;

    // Gives item the first free name of its class.
    void AssignUniqueName(TqvxCollectionItem *item);
};

// The item class of a TqvxCollection: items made through it are named by
// the collection.
template <class Item>
TCollectionItemClass qvxCollectionItemClassOf()
{
    return {ClassOf<Item>(), [](TCollection *collection) -> TCollectionItem * {
                auto *item = new Item(collection);
                if (auto *named = qobject_cast<TqvxCollection *>(collection))
                    named->AssignUniqueName(item);
                return item;
            }};
}

// Declares what the collection items publish.
void InitializeQvxCollection();
