#pragma once

// Event handlers made from script routines.
//
// A script assigns a routine to any event property; the bindings do not know
// the event's signature.  Each event type registers a factory
// (RegisterMethodType) that wraps a routine, seen as a TScriptCallable, into
// a handler of that type: the handler passes its arguments as variants
// (objects as their handles, enumerations and sets as integers, a character
// as a one-character string), calls the routine, and copies the variants
// back into its reference parameters (var parameters such as Key or
// CanClose).  An event's own result, if it has one, is the routine's.
//
// MakeEventHandlerFactory<Event>() builds such a factory for any event whose
// parameters are all of those kinds, and gives an empty one otherwise.

#include "toolkit/classes/ObjectHandles.h"
#include "toolkit/classes/TObject.h"
#include "toolkit/core/Variants.h"

#include <QFlags>
#include <QList>
#include <QVariant>

#include <concepts>
#include <functional>
#include <type_traits>
#include <utility>

// A routine of the script engine: called with its arguments, which it may
// change, and giving its result (Empty for a procedure).
using TScriptCallable = std::function<Variant(QList<Variant> &arguments)>;

// Builds a handler of one event type (in a QVariant of that type) calling
// the routine.
using TEventHandlerFactory = std::function<QVariant(const TScriptCallable &routine)>;

namespace EventHandlerDetail {

template <class T>
struct Argument;

template <class T>
    requires std::derived_from<T, TObject>
struct Argument<T *> {
    static Variant ToVariant(const T *object) { return Variant(ObjectHandleRegistry::Acquire(object)); }
    static T *FromVariant(const Variant &value)
    {
        return dynamic_cast<T *>(ObjectHandleRegistry::Resolve(value.AsInteger()));
    }
};

template <>
struct Argument<bool> {
    static Variant ToVariant(bool value) { return Variant(value); }
    static bool FromVariant(const Variant &value) { return value.AsBoolean(); }
};

template <class T>
    requires(std::is_integral_v<T> && !std::is_same_v<T, bool>)
struct Argument<T> {
    static Variant ToVariant(T value)
    {
        return std::in_range<qint32>(value) ? Variant(int(value)) : Variant(qint64(value));
    }
    static T FromVariant(const Variant &value) { return T(value.AsInt64()); }
};

template <class T>
    requires std::is_enum_v<T>
struct Argument<T> {
    static Variant ToVariant(T value) { return Variant(int(value)); }
    static T FromVariant(const Variant &value) { return T(value.AsInteger()); }
};

template <class E>
struct Argument<QFlags<E>> {
    static Variant ToVariant(QFlags<E> value) { return Variant(int(value.toInt())); }
    static QFlags<E> FromVariant(const Variant &value) { return QFlags<E>::fromInt(value.AsInteger()); }
};

template <class T>
    requires std::is_floating_point_v<T>
struct Argument<T> {
    static Variant ToVariant(T value) { return Variant(double(value)); }
    static T FromVariant(const Variant &value) { return T(value.AsDouble()); }
};

template <>
struct Argument<QString> {
    static Variant ToVariant(const QString &value) { return Variant(value); }
    static QString FromVariant(const Variant &value) { return value.AsString(); }
};

template <>
struct Argument<QChar> {
    static Variant ToVariant(QChar value) { return Variant(QString(value)); }
    static QChar FromVariant(const Variant &value)
    {
        const QString text = value.AsString();
        return text.isEmpty() ? QChar() : text.front();
    }
};

template <>
struct Argument<Variant> {
    static Variant ToVariant(const Variant &value) { return value; }
    static Variant FromVariant(const Variant &value) { return value; }
};

template <class T>
using Plain = std::remove_cvref_t<T>;

template <class T>
concept Convertible = requires(const Variant &v) {
    Argument<Plain<T>>::ToVariant(std::declval<const Plain<T> &>());
    { Argument<Plain<T>>::FromVariant(v) } -> std::convertible_to<Plain<T>>;
};

// Copies a variant back into a parameter passed by non-const reference.
template <class T>
void writeBack(std::remove_reference_t<T> &parameter, const Variant &value)
{
    if constexpr (std::is_lvalue_reference_v<T> && !std::is_const_v<std::remove_reference_t<T>>)
        parameter = Argument<Plain<T>>::FromVariant(value);
}

template <class Event, class R, class... Args>
TEventHandlerFactory factoryFor(std::function<R(Args...)> *)
{
    if constexpr ((Convertible<Args> && ...) && (std::is_void_v<R> || Convertible<R>)) {
        return [](const TScriptCallable &routine) {
            Event handler = [routine](Args... args) -> R {
                QList<Variant> arguments{Argument<Plain<Args>>::ToVariant(args)...};
                const Variant result = routine(arguments);
                qsizetype index = 0;
                (writeBack<Args>(args, arguments.value(index++)), ...);
                if constexpr (!std::is_void_v<R>)
                    return Argument<Plain<R>>::FromVariant(result);
            };
            return QVariant::fromValue(handler);
        };
    } else {
        return {};
    }
}

} // namespace EventHandlerDetail

template <class Event>
TEventHandlerFactory MakeEventHandlerFactory()
{
    return EventHandlerDetail::factoryFor<Event>(static_cast<Event *>(nullptr));
}
