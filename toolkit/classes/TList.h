#pragma once

// An ordered list of object pointers that does not own its entries.
// Every index outside 0..Count-1 raises EListError.

#include "toolkit/classes/TObject.h"

#include <QList>

class TList : public TObject
{
    Q_OBJECT

public:
    TList();
    ~TList() override;

    int Count() const { return m_items.size(); }

    TObject *Items(int index) const;
    void SetItems(int index, TObject *item);
    // The generation the item had when it was put in (0 for nil; see
    // ObjectHandleRegistry::Generation), which tells whether the object at
    // that address is still the one put in.
    quint32 ItemGeneration(int index) const;

    // Appends item; returns its index.
    int Add(TObject *item);
    // index may be Count, which appends.
    void Insert(int index, TObject *item);
    void Delete(int index);
    // Removes the first occurrence of item; returns the index it had, or -1.
    int Remove(TObject *item);
    int IndexOf(const TObject *item) const;
    void Clear();

private:

    QList<TObject *> m_items;
    QList<quint32> m_generations;
};

// Raises EListError "List index out of bounds (index)" unless
// 0 <= index < count; shared by every indexed list of the toolkit.
void CheckListIndex(int index, int count);
