#include "script/zqEvents.h"

#include "toolkit/classes/ObjectHandles.h"
#include "toolkit/classes/Reflection.h"

#include <QHash>

namespace {

// The adapter each event slot was last given by a script: (object handle,
// event name).
QHash<QPair<qint32, QString>, TzqCustomEvent *> &lastAssigned()
{
    static QHash<QPair<qint32, QString>, TzqCustomEvent *> slots;
    return slots;
}

// The script of the chain from prog whose own table holds the procedure.
TzqScript *scriptHolding(TzqScript *prog, TzqProcVariable *proc)
{
    for (TzqScript *script = prog; script; script = script->Parent) {
        if (script->FindLocal(proc->Name) == proc)
            return script;
    }
    return prog;
}

} // namespace

TzqCustomEvent::TzqCustomEvent(TObject *instance, const QString &eventName, const TzqEventSlotSetter &setSlot,
                               TzqProcVariable *handler)
    : Handler(handler),
      AddedBy(handler->AddedBy),
      m_instance(ObjectHandleRegistry::Acquire(instance)),
      m_eventName(eventName),
      m_setSlot(setSlot),
      m_self(std::make_shared<TzqCustomEvent *>(this))
{
    lastAssigned().insert({m_instance, m_eventName}, this);
}

TzqCustomEvent::~TzqCustomEvent()
{
    *m_self = nullptr;
    const QPair<qint32, QString> slot{m_instance, m_eventName};
    if (lastAssigned().value(slot) != this)
        return;
    lastAssigned().remove(slot);
    TObject *instance = Instance();
    if (!instance)
        return;
    if (m_setSlot)
        m_setSlot(instance, QVariant());
    else if (const TPropInfo *prop = GetPropInfo(instance, m_eventName))
        prop->ClearMethod(instance);
}

TObject *TzqCustomEvent::Instance() const
{
    return ObjectHandleRegistry::Find(m_instance);
}

void TzqCustomEvent::CallHandler(QList<Variant> &arguments)
{
    Handler->HandleEvent(arguments);
}

TScriptCallable TzqCustomEvent::Routine() const
{
    const std::weak_ptr<TzqCustomEvent *> link = m_self;
    return [link](QList<Variant> &arguments) {
        const std::shared_ptr<TzqCustomEvent *> self = link.lock();
        if (self && *self)
            (*self)->CallHandler(arguments);
        return Variant();
    };
}

TzqEventAdapterFactory zqEventAdapterFactory(const QString &eventName, const TzqEventSlotSetter &setSlot,
                                             const TEventHandlerFactory &factory)
{
    return [eventName, setSlot, factory](TObject *instance, TzqProcVariable *proc, TzqScript *prog) {
        auto adapter = std::make_unique<TzqCustomEvent>(instance, eventName, setSlot, proc);
        const QVariant handler = factory(adapter->Routine());
        scriptHolding(prog, proc)->Add(QString(), std::move(adapter));
        return handler;
    };
}
