#pragma once

// What a published property declares beyond its Q_PROPERTY line: the
// declared default of an ordinal property, a stored condition, a type name
// that differs from the C++ type (TColor for an int), write-only access and
// the wide-string flavour of a QString or QChar property.
//
// Each class declares its table once, from its unit's initialisation and
// before its properties are first looked up:
//
//     DescribeProperties<TqvxView>()
//         .Default("Left", 0)
//         .TypeName("Color", "TColor")
//         .Stored("Font", &TqvxView::IsFontStored);
//
// A descendant's entry for the same property name replaces the inherited
// one, attribute by attribute; NoDefault removes an inherited default.
//
// A declaration for a name the class does not publish (a typo such as
// "Colour") raises EPropertyError on the spot, so it fails at start-up; a
// default that the property cannot hold raises when the class's properties
// are first listed (RegisterClass lists them).

#include "toolkit/classes/TObject.h"

#include <QString>

#include <functional>
#include <optional>

using StoredPredicate = std::function<bool(const TObject *instance)>;

struct PropertyTraits {
    enum class DefaultState { Unset, Value, NoDefault };

    DefaultState defaultState = DefaultState::Unset;
    qint64 defaultValue = 0;
    StoredPredicate stored;
    std::optional<QString> typeName;
    bool writeOnly = false;
    bool wide = false;
};

class PropertyTable
{
public:
    explicit PropertyTable(TClass cls) : m_class(cls) {}

    PropertyTable &Default(const char *property, qint64 value);
    PropertyTable &NoDefault(const char *property);
    PropertyTable &TypeName(const char *property, const QString &typeName);
    // The property is stored only when the predicate holds.
    PropertyTable &Stored(const char *property, StoredPredicate predicate);
    template <class T>
    PropertyTable &Stored(const char *property, bool (T::*predicate)() const)
    {
        return Stored(property, [predicate](const TObject *instance) {
            return (static_cast<const T *>(instance)->*predicate)();
        });
    }
    // Hides the getter Qt requires: the property is only ever set.
    PropertyTable &WriteOnly(const char *property);
    // A QString property of kind WideString, a QChar property of kind WChar.
    PropertyTable &Wide(const char *property);

private:
    PropertyTraits &traits(const char *property);

    TClass m_class;
};

template <class T>
PropertyTable DescribeProperties()
{
    return PropertyTable(ClassOf<T>());
}

// The traits declared by cls itself for the property (no inheritance).
std::optional<PropertyTraits> DeclaredTraits(TClass cls, const QString &property);

// Counts declarations; the reflection cache rebuilds when it changes.
quint64 PropertyTraitsGeneration();
