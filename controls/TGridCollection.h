#pragma once

// A collection that reports its changes through OnChange, once per
// outermost BeginUpdate/EndUpdate pair, and the items that tell it of
// their changes, their arrival and their removal.

#include "toolkit/classes/Events.h"
#include "toolkit/classes/TCollection.h"

class TGridCollection : public TCollection
{
    Q_OBJECT

public:
    using TCollection::TCollection;
    // Frees the items without reporting each removal.
    ~TGridCollection() override;

    void BeginUpdate() { ++m_updateCount; }
    void EndUpdate();
    bool Updating() const { return m_updateCount > 0; }
    void Changed();

    TNotifyEvent OnChange;

private:
    int m_updateCount = 0;
    bool m_pendingChange = false;
};

class TGridCollectionItem : public TCollectionItem
{
    Q_OBJECT

public:
    using TCollectionItem::TCollectionItem;
    // Leaves the collection first, so that its change report sees the
    // collection without this item.
    ~TGridCollectionItem() override;

    void AfterConstruction() override;

protected:
    void Changed();

    // Stores a changed value and reports the change.
    template <class T>
    void update(T &field, const T &value)
    {
        if (field == value)
            return;
        field = value;
        Changed();
    }
};
