#pragma once

// Event adapters: a script procedure as the handler of a host event.
//
// Assigning a procedure to an event property makes an adapter that
// remembers the object and the procedure; the host's event slot gets a
// handler of the event's own signature (the toolkit's handler factory of
// that event type) that calls the adapter.  The adapter copies the event's
// arguments into the procedure's first parameters (objects as handles,
// enumerations and sets as integers, a character as a one-character text),
// runs it, and hands the parameters' values back, which the handler writes
// into the event's var arguments (Key, Action, CanClose, NewWidth ...).  A
// key-press handler that leaves Key empty gives the character #0.
//
// While the procedure runs, the event fired again (its own code clicks the
// button) does nothing and leaves the host's var arguments as they are.
//
// An adapter is an item of the script that holds the procedure, tagged with
// the procedure's owner, so it goes when the script is cleared or when the
// owner's items are cleared.  It never outlives what it refers to: a handler
// whose adapter is gone does nothing, and an adapter that goes clears the
// event slot it was the last script assignment of, if the object lives.

#include "script/zqClasses.h"
#include "toolkit/classes/EventHandlers.h"

#include <memory>

class TzqCustomEvent : public TzqScriptItem
{
public:
    // setSlot reaches the event slot (empty: the published property eventName).
    TzqCustomEvent(TObject *instance, const QString &eventName, const TzqEventSlotSetter &setSlot,
                   TzqProcVariable *handler);
    ~TzqCustomEvent() override;

    TzqCustomEvent(const TzqCustomEvent &) = delete;
    TzqCustomEvent &operator=(const TzqCustomEvent &) = delete;

    TzqProcVariable *Handler;
    // The owner tag of the procedure (TzqScript::ClearItems).
    const void *AddedBy = nullptr;

    // The object whose event this is; nil once it is freed.
    TObject *Instance() const;

    // Runs the procedure with the arguments, then puts the values of its
    // parameters back into them; does nothing while it is running already
    // (TzqProcVariable::HandleEvent).
    void CallHandler(QList<Variant> &arguments);

    // The routine for the toolkit's handler factory; inert once the adapter
    // is gone.
    TScriptCallable Routine() const;

private:
    qint32 m_instance;
    QString m_eventName;
    TzqEventSlotSetter m_setSlot;
    std::shared_ptr<TzqCustomEvent *> m_self;
};

// The adapter factory of an event whose handlers the toolkit builds with
// factory (MakeEventHandlerFactory of the event type); setSlot as for the
// adapter.
TzqEventAdapterFactory zqEventAdapterFactory(const QString &eventName, const TzqEventSlotSetter &setSlot,
                                             const TEventHandlerFactory &factory);

template <class Event>
TzqEventAdapterFactory zqEventAdapter(const QString &eventName, const TzqEventSlotSetter &setSlot = nullptr)
{
    return zqEventAdapterFactory(eventName, setSlot, MakeEventHandlerFactory<Event>());
}
