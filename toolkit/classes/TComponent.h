#pragma once

// Components: persistent objects with a name, an owner and owned components.
//
// A component created with an owner is inserted into the owner's list and
// is freed with it.  Components whose fate matters to another (references
// across owners) ask for free notification and receive
// Notification(component, opRemove) when the other is freed; a reference
// held in a TGuardedRef (toolkit/classes/GuardedRef.h) asks for it itself
// and is cleared before any Notification(component, opRemove) arrives.
// An owner passes every insertion and removal on to all the components it
// owns, so siblings learn of each other without asking; an owner being
// destroyed passes no removal on, one being loaded no insertion.
//
// Freeing a component first runs BeforeDestruction while it is whole: it is
// marked csDestroying (with all it owns), its free-notification partners
// are told, and it leaves its owner.  The destructor then frees what it
// owns, last first.

#include "toolkit/classes/TPersistent.h"

#include <QFlags>
#include <QHash>
#include <QList>
#include <QVarLengthArray>

#include <functional>

enum TComponentStateFlag : unsigned {
    csLoading = 0x01,
    csDesigning = 0x02,
    csAncestor = 0x04,
    csDestroying = 0x08,
};
Q_DECLARE_FLAGS(TComponentState, TComponentStateFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(TComponentState)

enum TOperation { opInsert, opRemove };

class TComponentGuard;

class TComponent : public TPersistent
{
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(int Tag READ Tag WRITE SetTag)

public:
    // Inserts the new component into owner's components when owner is set.
    // The owner's Notification(opInsert) therefore comes while only the
    // TComponent part of the new component exists.
    explicit TComponent(TComponent *owner = nullptr);
    // Frees the owned components, last first (after BeforeDestruction).
    ~TComponent() override;

    // Marks the component destroying, tells its free-notification partners
    // and leaves its owner, while derived classes are still whole.
    void BeforeDestruction() override;

    TComponent *Owner() const { return m_owner; }

    int ComponentCount() const { return m_components.size(); }
    // Raises EListError for an index out of range.
    TComponent *Components(int index) const;
    // This component's position among its owner's components; -1 without
    // an owner.
    int ComponentIndex() const;
    // The owned component of that name (case-insensitive, through an
    // index kept on insertion, removal and renaming); nullptr for an empty
    // name or none.
    TComponent *FindComponent(const QString &name) const;

    // Takes component over from its previous owner.  Raises EComponentError
    // when its name is already used among this component's components.
    void InsertComponent(TComponent *component);
    void RemoveComponent(TComponent *component);
    void DestroyComponents();

    QString Name() const { return objectName(); }
    // Raises EComponentError for a name that is not an identifier or is
    // already used by a sibling.  An empty name is allowed.
    virtual void SetName(const QString &name);

    int Tag() const { return m_tag; }
    void SetTag(int tag) { m_tag = tag; }

    TComponentState ComponentState() const { return m_state; }
    // Marks this component and all it owns as being designed.
    void SetDesigning(bool designing);
    void SetAncestor(bool ancestor);
    // Marks the component as being read; Loaded ends it.  While an owner
    // is loading, insertions are not passed on to what it owns.
    void Loading();
    // Ends the loading state without Loaded, for a reader that leaves that
    // step to the component itself.
    void EndLoading();
    // Runs after the component and the whole tree read with it are complete.
    virtual void Loaded();

    // Asks for Notification(component, opRemove) when component is freed;
    // the request is mutual, and it is also dropped when either is told of
    // the other's removal.
    void FreeNotification(TComponent *component);
    void RemoveFreeNotification(TComponent *component);

    // Told of insertions and removals among the owned components (passed on
    // to each of them) and of the removal of free-notification partners.
    // On a removal it clears the guarded references to the component.
    virtual void Notification(TComponent *component, TOperation operation);

    // Checks that newName is free for component among this component's
    // components (a designing owner also asks its own owner).
    virtual void ValidateRename(TComponent *component, const QString &currentName,
                                const QString &newName);

    // Passes each child that is stored with this component to proc; by
    // default the owned components when root is this component.
    virtual void GetChildren(const std::function<void(TComponent *)> &proc, TComponent *root);

private:
    friend class TComponentGuard;

    void markDestroying();
    // Clears the guarded references to target, or all of them for nullptr.
    void clearGuards(TComponent *target);
    bool guards(const TComponent *target) const;
    void removeFreeNotifications();
    void detach(TComponent *component);
    void indexName(TComponent *component);
    void unindexName(TComponent *component);
    void notifyOwned(TComponent *component, TOperation operation);

    TComponent *m_owner = nullptr;
    QList<TComponent *> m_components;
    // The owned components by case-folded name.
    QHash<QString, TComponent *> m_componentsByName;
    QList<TComponent *> m_freeNotifies;
    // A component holds a few guarded references, declared as its members:
    // kept in place, they cost no allocation.
    QVarLengthArray<TComponentGuard *, 6> m_guards;
    TComponentState m_state;
    int m_tag = 0;
};

// The key of a name in case-insensitive indexes.
inline QString NameKey(const QString &name)
{
    return name.toCaseFolded();
}

// True when name is an identifier: an ASCII letter or underscore, then
// letters, digits and underscores.
bool IsValidIdent(const QString &name);
