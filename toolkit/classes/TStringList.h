#pragma once

// The string list kept in memory: optionally sorted, with a duplicate rule,
// a case rule, a change event and, when asked to, ownership of its objects.

#include "toolkit/classes/Events.h"
#include "toolkit/classes/TStrings.h"

#include <vector>

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList : public TStrings
{
    Q_OBJECT

public:
    // An owning list frees the object of every line it deletes, clears or
    // whose object is replaced, and all of them when it is destroyed.  It
    // takes over every object it is given, through Assign too, so an object
    // must not be in two owning lists.
    explicit TStringList(bool ownsObjects = false);
    ~TStringList() override;

    int Count() const override { return int(m_items.size()); }

    // In a sorted list Add inserts at the place Find gives, so among equal
    // lines the one added last comes first.  An equal line already there is
    // handled by Duplicates: dupIgnore returns its index and adds nothing
    // (not even the object), dupError raises EStringListError, dupAccept
    // adds.
    int Add(const QString &s) override;
    int AddObjectRef(const QString &s, TObjectRef object) override;
    // Insert, Move and changing a line raise EStringListError in a sorted
    // list; use Add.
    void Insert(int index, const QString &s) override;
    void Delete(int index) override;
    void Clear() override;
    void Move(int curIndex, int newIndex) override;

    int IndexOf(const QString &s) const override;

    // Binary search of a sorted list: true when s is there, with index the
    // first equal line; false with index the place where s would be
    // inserted.  Meaningless in an unsorted list.
    bool Find(const QString &s, int &index) const;
    void Sort();

    bool Sorted() const { return m_sorted; }
    // Switching sorting on sorts the list; off leaves the order.
    void SetSorted(bool sorted);

    // Changing the rule leaves lines that are already in the list.
    TDuplicates Duplicates() const { return m_duplicates; }
    void SetDuplicates(TDuplicates duplicates) { m_duplicates = duplicates; }

    // False by default; a sorted list is sorted again when it changes.
    bool CaseSensitive() const { return m_caseSensitive; }
    void SetCaseSensitive(bool caseSensitive);

    bool OwnsObjects() const { return m_ownsObjects; }

    // After every change, or once at the end of an update.
    TNotifyEvent OnChange;

protected:
    QString Get(int index) const override;
    void Put(int index, const QString &s) override;
    TObjectRef GetObjectRef(int index) const override;
    void PutObjectRef(int index, TObjectRef object) override;
    void SetUpdateState(bool updating) override;
    int CompareStrings(const QString &a, const QString &b) const override;

private:
    struct Item {
        QString string;
        TObjectRef object;
    };

    void CheckIndex(int index) const;
    void CheckUnsorted() const;
    void InsertItem(int index, const QString &s, TObjectRef object);
    void Changed();

    std::vector<Item> m_items;
    bool m_sorted = false;
    bool m_caseSensitive = false;
    bool m_ownsObjects;
    TDuplicates m_duplicates = dupIgnore;
};

// Unit initialisation: registers TStrings and TStringList by name.
void InitializeStringLists();
