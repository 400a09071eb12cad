#pragma once

// The registry of classes by name.
//
// Readers of stored objects and scripts create objects from class names.  A
// class is registered explicitly (from its unit's initialisation) with the
// ways it can be constructed; names are looked up case-insensitively.
// Objects created here are constructed in two steps (see NewObject).

#include "toolkit/classes/TObject.h"

#include <QString>
#include <QVariantList>

#include <concepts>
#include <functional>
#include <optional>

class TComponent;

struct ClassFactories {
    // T()
    std::function<TObject *()> create;
    // T(owner), the virtual constructor of components
    std::function<TObject *(TComponent *owner)> createOwned;
    // A constructor with other arguments (a file name and mode, a report ...),
    // called with the script's arguments.
    std::function<TObject *(const QVariantList &arguments)> createWith;
};

struct RegisteredClass {
    TClass cls = nullptr;
    bool isAbstract = false;
    ClassFactories factories;
};

// Registers cls under its class name; a later registration of the same name
// replaces the earlier one.  The class's published properties are listed
// here, so a class whose declarations do not hold together fails at
// start-up (see GetPropList).
void RegisterClass(TClass cls, ClassFactories factories, bool isAbstract = false);

// Registers T with the factories its constructors allow: T(TComponent *) and
// T().  An abstract class, or one with neither constructor, is registered as
// abstract.
template <class T>
void RegisterClass()
{
    ClassFactories factories;
    if constexpr (!std::is_abstract_v<T>) {
        if constexpr (std::constructible_from<T, TComponent *>)
            factories.createOwned = [](TComponent *owner) -> TObject * { return new T(owner); };
        if constexpr (std::default_initializable<T>)
            factories.create = []() -> TObject * { return new T; };
    }
    const bool isAbstract = !factories.create && !factories.createOwned;
    RegisterClass(ClassOf<T>(), std::move(factories), isAbstract);
}

void UnRegisterClass(TClass cls);

// The registered class of that name, or nullptr.
TClass GetClass(const QString &name);
// The registered class of that name; raises EClassNotFound when there is none.
TClass FindClass(const QString &name);
// Every registered class, in no particular order.
QList<TClass> RegisteredClasses();
// The registration record of cls; none when cls is not registered.
std::optional<RegisteredClass> RegisteredClassOf(TClass cls);

// Creates an instance of a registered class, with its owner when the class
// has an owned constructor and with its default constructor otherwise.
// Raises EClassNotFound for an unregistered class and EAbstractError when no
// constructor applies.
TObject *CreateObject(TClass cls, TComponent *owner = nullptr);
// Creates an instance through the class's constructor with arguments.
TObject *CreateObject(TClass cls, const QVariantList &arguments);
