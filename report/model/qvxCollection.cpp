#include "report/model/qvxCollection.h"

#include "toolkit/classes/PropertyDeclarations.h"
#include "toolkit/classes/TStringList.h"

TqvxCollectionItem::TqvxCollectionItem(TCollection *collection)
    : TCollectionItem(collection)
{
}

QString TqvxCollectionItem::GetInheritedName() const
{
    return m_inheritedName;
}

void TqvxCollectionItem::SetInheritedName(const QString &value)
{
    m_inheritedName = value;
}

bool TqvxCollectionItem::IsInherited() const
{
    return false;
}

TqvxCollection::TqvxCollection(TCollectionItemClass itemClass, TPersistent *owner)
    : TCollection(itemClass, owner)
{
}

TqvxCollectionItem *TqvxCollection::FindByName(const QString &name) const
{
    for (int i = 0; i < Count(); ++i) {
        auto *item = qobject_cast<TqvxCollectionItem *>(Items(i));
        if (item && item->GetInheritedName() == name)
            return item;
    }
    return nullptr;
}

void TqvxCollection::AssignUniqueName(TqvxCollectionItem *item)
{
    TStringList used;
    used.SetSorted(true);
    used.SetCaseSensitive(true);
    for (int i = 0; i < Count(); ++i)
        if (auto *other = qobject_cast<TqvxCollectionItem *>(Items(i)))
            used.Add(other->GetInheritedName());
    const QString base = item->ClassName();
    int index = 0;
    for (int n = 1;; ++n) {
        const QString name = base + QString::number(n);
        if (!used.Find(name, index)) {
            item->SetInheritedName(name);
            return;
        }
    }
}

void InitializeQvxCollection()
{
    // Written only for inherited items, by the collection writer itself.
    DescribeProperties<TqvxCollectionItem>().Stored("InheritedName", [](const TObject *) { return false; });
}
