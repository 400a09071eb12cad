#include "controls/TGridCollection.h"

TGridCollection::~TGridCollection()
{
    OnChange = nullptr;
    Clear();
}

void TGridCollection::EndUpdate()
{
    if (m_updateCount == 0 || --m_updateCount > 0 || !m_pendingChange)
        return;
    m_pendingChange = false;
    Changed();
}

void TGridCollection::Changed()
{
    if (m_updateCount > 0) {
        m_pendingChange = true;
        return;
    }
    if (OnChange)
        OnChange(this);
}

TGridCollectionItem::~TGridCollectionItem()
{
    auto *collection = qobject_cast<TGridCollection *>(Collection());
    SetCollection(nullptr);
    if (collection)
        collection->Changed();
}

void TGridCollectionItem::AfterConstruction()
{
    Changed();
}

void TGridCollectionItem::Changed()
{
    if (auto *collection = qobject_cast<TGridCollection *>(Collection()))
        collection->Changed();
}
