#include "toolkit/classes/TComponent.h"

#include "toolkit/classes/GuardedRef.h"

#include "toolkit/core/Exceptions.h"
#include "toolkit/classes/TList.h"

#include <utility>

TComponent::TComponent(TComponent *owner)
{
    if (owner)
        owner->InsertComponent(this);
}

TComponent::~TComponent()
{
    // Runs the steps here for a component that was not freed by delete.
    TComponent::BeforeDestruction();
    DestroyComponents();
}

void TComponent::BeforeDestruction()
{
    markDestroying();
    removeFreeNotifications();
    // Without their free notifications the references would dangle.
    clearGuards(nullptr);
    if (m_owner)
        m_owner->RemoveComponent(this);
    TPersistent::BeforeDestruction();
}

TComponent *TComponent::Components(int index) const
{
    CheckListIndex(index, ComponentCount());
    return m_components.at(index);
}

int TComponent::ComponentIndex() const
{
    return m_owner ? m_owner->m_components.indexOf(this) : -1;
}

TComponent *TComponent::FindComponent(const QString &name) const
{
    if (name.isEmpty())
        return nullptr;
    return m_componentsByName.value(NameKey(name));
}

void TComponent::indexName(TComponent *component)
{
    if (!component->Name().isEmpty())
        m_componentsByName.insert(NameKey(component->Name()), component);
}

void TComponent::unindexName(TComponent *component)
{
    if (component->Name().isEmpty())
        return;
    const auto it = m_componentsByName.constFind(NameKey(component->Name()));
    if (it != m_componentsByName.constEnd() && *it == component)
        m_componentsByName.erase(it);
}

void TComponent::InsertComponent(TComponent *component)
{
    ValidateRename(component, QString(), component->Name());
    if (component->m_owner)
        component->m_owner->RemoveComponent(component);
    m_components.append(component);
    component->m_owner = this;
    indexName(component);
    if (!m_state.testFlag(csLoading))
        Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent *component)
{
    if (component->m_owner != this)
        return;
    detach(component);
    if (!m_state.testFlag(csDestroying))
        Notification(component, opRemove);
}

void TComponent::DestroyComponents()
{
    // A component freed here may free or remove others of the list, so the
    // list is read afresh at every step.
    while (!m_components.isEmpty()) {
        TComponent *component = m_components.last();
        detach(component);
        delete component;
    }
}

void TComponent::detach(TComponent *component)
{
    // Components mostly leave in the reverse order of their arrival, so the
    // search runs from the end.
    const qsizetype index = m_components.lastIndexOf(component);
    if (index >= 0)
        m_components.removeAt(index);
    unindexName(component);
    component->m_owner = nullptr;
}

void TComponent::SetName(const QString &name)
{
    if (name == Name())
        return;
    if (!name.isEmpty() && !IsValidIdent(name))
        throw EComponentError(QStringLiteral("'%1' is not a valid component name").arg(name));
    if (m_owner)
        m_owner->ValidateRename(this, Name(), name);
    else
        ValidateRename(nullptr, Name(), name);
    if (m_owner)
        m_owner->unindexName(this);
    setObjectName(name);
    if (m_owner)
        m_owner->indexName(this);
}

void TComponent::ValidateRename(TComponent *component, const QString &currentName,
                                const QString &newName)
{
    if (component && !newName.isEmpty() && currentName.compare(newName, Qt::CaseInsensitive) != 0) {
        const TComponent *holder = FindComponent(newName);
        if (holder && holder != component)
            throw EComponentError(QStringLiteral("A component named %1 already exists").arg(newName));
    }
    if (m_state.testFlag(csDesigning) && m_owner)
        m_owner->ValidateRename(component, currentName, newName);
}

void TComponent::SetDesigning(bool designing)
{
    m_state.setFlag(csDesigning, designing);
    for (TComponent *component : std::as_const(m_components))
        component->SetDesigning(designing);
}

void TComponent::SetAncestor(bool ancestor)
{
    m_state.setFlag(csAncestor, ancestor);
    for (TComponent *component : std::as_const(m_components))
        component->SetAncestor(ancestor);
}

void TComponent::Loading()
{
    m_state |= csLoading;
}

void TComponent::EndLoading()
{
    m_state &= ~TComponentState(csLoading);
}

void TComponent::Loaded()
{
    EndLoading();
}

void TComponent::markDestroying()
{
    if (m_state.testFlag(csDestroying))
        return;
    m_state |= csDestroying;
    for (TComponent *component : std::as_const(m_components))
        component->markDestroying();
}

void TComponent::FreeNotification(TComponent *component)
{
    if (!component || component == this || m_freeNotifies.contains(component))
        return;
    m_freeNotifies.append(component);
    component->m_freeNotifies.append(this);
}

void TComponent::RemoveFreeNotification(TComponent *component)
{
    m_freeNotifies.removeAll(component);
    if (component)
        component->m_freeNotifies.removeAll(this);
}

void TComponent::removeFreeNotifications()
{
    while (!m_freeNotifies.isEmpty()) {
        TComponent *partner = m_freeNotifies.takeLast();
        partner->m_freeNotifies.removeAll(this);
        partner->clearGuards(this);
        partner->Notification(this, opRemove);
    }
}

void TComponent::clearGuards(TComponent *target)
{
    for (TComponentGuard *guard : std::as_const(m_guards))
        if (!target || guard->m_target == target)
            guard->m_target = nullptr;
}

bool TComponent::guards(const TComponent *target) const
{
    for (const TComponentGuard *guard : m_guards)
        if (guard->m_target == target)
            return true;
    return false;
}

void TComponent::Notification(TComponent *component, TOperation operation)
{
    if (operation == opRemove && component) {
        clearGuards(component);
        RemoveFreeNotification(component);
    }
    notifyOwned(component, operation);
}

void TComponent::notifyOwned(TComponent *component, TOperation operation)
{
    // A notified component may remove others; indices past the shrunken
    // list are skipped.
    for (qsizetype i = m_components.size(); i-- > 0;)
        if (i < m_components.size())
            m_components.at(i)->Notification(component, operation);
}

void TComponent::GetChildren(const std::function<void(TComponent *)> &proc, TComponent *root)
{
    if (root != this)
        return;
    for (TComponent *component : std::as_const(m_components))
        proc(component);
}

bool IsValidIdent(const QString &name)
{
    auto isAlpha = [](QChar c) {
        return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_';
    };
    if (name.isEmpty() || !isAlpha(name.front()))
        return false;
    for (QChar c : name)
        if (!isAlpha(c) && !(c >= u'0' && c <= u'9'))
            return false;
    return true;
}
