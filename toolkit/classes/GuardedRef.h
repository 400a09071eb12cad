#pragma once

// A reference from one component to another that never dangles.
//
// A component keeps a TGuardedRef<T> member for each component it refers to
// (a data set, a child band, a linked object ...):
//
//     TGuardedRef<TqvxDataSet> m_dataSet{this};
//     ...
//     void SetDataSet(TqvxDataSet *value) { m_dataSet = value; }
//
// Setting it asks the target for free notification; when the target is
// freed the reference becomes nullptr before the holder's Notification
// runs, so the holder needs no notification clause of its own.  Several
// references of one holder may name the same target.  Once the holder's
// BeforeDestruction has run, its references are nullptr: a holder that
// frees what it refers to does so in its BeforeDestruction, before calling
// the inherited one.

#include "toolkit/classes/TComponent.h"

class TComponentGuard
{
public:
    explicit TComponentGuard(TComponent *holder);
    ~TComponentGuard();

    TComponentGuard(const TComponentGuard &) = delete;
    TComponentGuard &operator=(const TComponentGuard &) = delete;

    TComponent *Target() const { return m_target; }
    void SetTarget(TComponent *target);

private:
    friend class TComponent;

    TComponent *m_holder;
    TComponent *m_target = nullptr;
};

template <class T>
class TGuardedRef
{
public:
    explicit TGuardedRef(TComponent *holder) : m_guard(holder) {}

    T *get() const { return static_cast<T *>(m_guard.Target()); }
    operator T *() const { return get(); }
    T *operator->() const { return get(); }

    TGuardedRef &operator=(T *target)
    {
        m_guard.SetTarget(target);
        return *this;
    }

private:
    TComponentGuard m_guard;
};
