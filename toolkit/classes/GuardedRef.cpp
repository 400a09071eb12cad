#include "toolkit/classes/GuardedRef.h"

TComponentGuard::TComponentGuard(TComponent *holder)
    : m_holder(holder)
{
    m_holder->m_guards.append(this);
}

TComponentGuard::~TComponentGuard()
{
    SetTarget(nullptr);
    m_holder->m_guards.removeOne(this);
}

void TComponentGuard::SetTarget(TComponent *target)
{
    if (target == m_target)
        return;
    TComponent *previous = m_target;
    m_target = target;
    if (target)
        m_holder->FreeNotification(target);
    if (previous && !m_holder->guards(previous))
        m_holder->RemoveFreeNotification(previous);
}
