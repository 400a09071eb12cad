#pragma once

// Members of a bound class, each declared together with the code that serves
// it, so that a binding module cannot register a member it does not serve.
//
//   TzqClassBinding<TStrings>(script, "TPersistent")
//       .Method("function Add(const S: string): Integer",
//               [](TStrings *list, TzqMethodHelper *c) { return
//               Variant(list->Add(zqText(c, 0))); })
//       .Property("Count", "Integer", [](TStrings *list) { return
//       Variant(list->Count()); });
//
// The instance handed to a member is checked to be a T (EInvalidCast
// otherwise).  When the class is registered already (by an earlier module),
// the binding adds nothing: the first registration owns the members.
// Indexed and default properties get both the read ("NAME.GET") and the write
// ("NAME.SET", the value after the indices) through their two call-backs.

#include "script/zqClasses.h"
#include "script/zqEvents.h"
#include "script/zqFunctionTable.h"
#include "script/zqMessages.h"
#include "toolkit/core/Exceptions.h"

#include <functional>

// The instance as a T, by the class links of the meta-objects (no type
// names compared); EInvalidCast when it is something else.
template <class T>
T *zqInstanceAs(TObject *instance)
{
    T *typed = qobject_cast<T *>(instance);
    if (!typed)
        throw EInvalidCast(QStringLiteral("Invalid class typecast"));
    return typed;
}

// The object argument at index as a T, for the members whose host takes nil:
// nil for 0; EInvalidCast when it is something else.
template <class T>
T *zqOptionalArgAs(TzqMethodHelper *caller, int index)
{
    TObject *object = zqObjectArg(caller, index);
    return object ? zqInstanceAs<T>(object) : nullptr;
}

// The object argument at index as a T, the way every object is handed to
// the host unless the member takes nil: EInvalidObject for nil, naming the
// declaration; EInvalidCast when it is something else.
template <class T>
T *zqObjectArgAs(TzqMethodHelper *caller, int index)
{
    T *object = zqOptionalArgAs<T>(caller, index);
    if (!object)
        throw EInvalidObject(SNilObject + u'\'' + caller->Name + u'\'');
    return object;
}

template <class T>
class TzqClassBinding
{
public:
    using Call = std::function<Variant(T *Instance, TzqMethodHelper *Caller)>;
    using Get = std::function<Variant(T *Instance)>;
    using Set = std::function<void(T *Instance, const Variant &Value)>;

    TzqClassBinding(TzqScript *script, const QString &ancestor) : m_class(script->AddClass(ClassOf<T>(), ancestor)) {}

    // The class variable; nil when an earlier module registered the class.
    TzqClassVariable *Class() const { return m_class; }

    TzqClassBinding &Constructor(const char *syntax, Call call = nullptr)
    {
        if (m_class)
            m_class->AddConstructor(QString::fromUtf8(syntax),
                                    method(call ? call : [](T *, TzqMethodHelper *) { return Variant(0); }));
        return *this;
    }
    TzqClassBinding &Method(const char *syntax, Call call)
    {
        if (m_class)
            m_class->AddMethod(QString::fromUtf8(syntax), method(call));
        return *this;
    }
    // A method without a result.
    TzqClassBinding &Procedure(const char *syntax, std::function<void(T *Instance, TzqMethodHelper *Caller)> run)
    {
        return Method(syntax, [run](T *instance, TzqMethodHelper *caller) {
            run(instance, caller);
            return Variant();
        });
    }
    // Read-only without a setter.
    TzqClassBinding &Property(const char *name, const char *typeName, Get get, Set set = nullptr)
    {
        if (!m_class)
            return *this;
        TzqSetPropEvent setProp;
        if (set)
            setProp = [set](TObject *instance, TClass, const QString &, const Variant &value) {
                set(zqInstanceAs<T>(instance), value);
            };
        m_class->AddProperty(
            QString::fromUtf8(name), QString::fromUtf8(typeName),
            [get](TObject *instance, TClass, const QString &) { return get(zqInstanceAs<T>(instance)); }, setProp);
        return *this;
    }
    // indexTypes as "Integer" or "Integer, Integer"; read-only without put.
    TzqClassBinding &IndexProperty(const char *name, const char *indexTypes, const char *typeName, Call get,
                                   Call put = nullptr)
    {
        if (m_class)
            m_class->AddIndexProperty(QString::fromUtf8(name), QString::fromUtf8(indexTypes),
                                      QString::fromUtf8(typeName), indexed(get, put), !put);
        return *this;
    }
    TzqClassBinding &DefaultProperty(const char *name, const char *indexTypes, const char *typeName, Call get,
                                     Call put = nullptr)
    {
        if (m_class)
            m_class->AddDefaultProperty(QString::fromUtf8(name), QString::fromUtf8(indexTypes),
                                        QString::fromUtf8(typeName), indexed(get, put), !put);
        return *this;
    }
    // The event slot member of the toolkit's event type E, served by
    // adapters.
    template <class E>
    TzqClassBinding &Event(const char *name, E T::*slot)
    {
        if (!m_class)
            return *this;
        const TzqEventSlotSetter setSlot = [slot](TObject *instance, const QVariant &handler) {
            zqInstanceAs<T>(instance)->*slot = handler.isValid() ? handler.value<E>() : E();
        };
        const QString eventName = QString::fromUtf8(name);
        TzqEventHelper *event = m_class->AddEvent(eventName);
        event->Factory = zqEventAdapter<E>(eventName, setSlot);
        event->SetSlot = setSlot;
        return *this;
    }

private:
    static TzqCallMethodEvent method(Call call)
    {
        return [call](TObject *instance, TClass, const QString &, TzqMethodHelper *caller) {
            return call(zqInstanceAs<T>(instance), caller);
        };
    }
    static TzqCallMethodEvent indexed(Call get, Call put)
    {
        return [get, put](TObject *instance, TClass, const QString &name, TzqMethodHelper *caller) {
            T *typed = zqInstanceAs<T>(instance);
            if (name.endsWith(QLatin1String(".SET")))
                return put ? put(typed, caller) : Variant(0);
            return get(typed, caller);
        };
    }

    TzqClassVariable *m_class;
};
