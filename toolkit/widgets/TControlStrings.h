#pragma once

// The lines of a list box, combo box or memo.
//
// The lines and their objects are kept here, and every change is passed on
// to the control's widget through the sync call (once per BeginUpdate /
// EndUpdate pair).  Edits the user makes in the widget come back through
// Reload, which does not call sync.  A sorted list inserts every added line
// in alphabetical order.

#include "toolkit/classes/TStrings.h"

#include <QList>
#include <QStringList>

#include <functional>

class TControlStrings : public TStrings
{
    Q_OBJECT

public:
    explicit TControlStrings(std::function<void()> sync);
    ~TControlStrings() override;

    int Count() const override { return int(m_lines.size()); }
    int Add(const QString &s) override;
    void Insert(int index, const QString &s) override;
    void Delete(int index) override;
    void Clear() override;

    bool Sorted() const { return m_sorted; }
    void SetSorted(bool sorted);

    QStringList Lines() const { return m_lines; }
    // Replaces the lines (objects are dropped) without calling sync.
    void Reload(const QStringList &lines);

protected:
    QString Get(int index) const override;
    void Put(int index, const QString &s) override;
    TObjectRef GetObjectRef(int index) const override;
    void PutObjectRef(int index, TObjectRef object) override;
    void SetUpdateState(bool updating) override;

private:
    void changed();
    void checkIndex(int index, int limit) const;

    std::function<void()> m_sync;
    QStringList m_lines;
    QList<TObjectRef> m_objects;
    bool m_sorted = false;
};
