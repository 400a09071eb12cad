#pragma once

// Reflection of published properties.
//
// The serializer and the script bindings learn everything about a class and
// its properties here and never read Qt's meta-object system themselves.
// Published properties are the Q_PROPERTY declarations of TObject classes,
// listed inherited first and in declaration order; a property redeclared in
// a descendant keeps its ancestor's place.  QObject's objectName is left
// out: components publish it as Name.  What Qt has no place for (declared
// defaults, stored conditions, type names of aliases) comes from the
// per-class tables of toolkit/classes/PropertyDeclarations.h.
//
// Enumerations and sets are Q_ENUM_NS and Q_FLAG_NS types; a set's element
// with ordinal i is the flag value 1 << i.  Event properties have event
// types (toolkit/classes/Events.h) registered with RegisterMethodType.

#include "toolkit/classes/EventHandlers.h"
#include "toolkit/classes/PropertyDeclarations.h"
#include "toolkit/classes/TObject.h"
#include "toolkit/core/Variants.h"

#include <QHash>
#include <QList>
#include <QMetaProperty>
#include <QStringList>
#include <QVariant>

enum class TTypeKind {
    Unknown,
    Integer,
    Int64,
    Char,
    WChar,
    Enumeration, // Boolean included: type name "Boolean", values False and True
    Float,
    String,
    WideString,
    Set,
    Class,
    Method,
    Variant,
};

// What a class is for streaming and scripts: the nearest of these
// categories among the class and its ancestors.
enum class TClassCategory {
    Object,
    Persistent, // nested in its owner's stream
    Component,  // referred to by name
    Strings,    // streamed as its text
    WideStrings,
    Collection,
    CollectionItem,
};

TClassCategory ClassCategoryOf(TClass cls);
// Gives cls and its descendants a category; the toolkit's own classes have
// theirs already (wide-string lists live outside the toolkit and register).
void RegisterClassCategory(TClass cls, TClassCategory category);

class TPropInfo
{
public:
    const QString &Name() const { return m_name; }
    TTypeKind Kind() const { return m_kind; }
    // "Integer", "Boolean", an enumeration's or set's type name, a class
    // name, an event type name, or the name the class table declares
    // ("TColor").
    const QString &TypeName() const { return m_typeName; }

    // Enumeration: the value names by value (published enumerations run
    // 0..n-1 without aliases; the class's properties are refused
    // otherwise).  Set: the element names by bit position.
    const QStringList &EnumNames() const { return m_enumNames; }
    // The name of an enumeration's value, empty for a value it does not
    // have.
    QString EnumName(qint64 value) const { return m_enumNameByValue.value(value); }
    // A set's element enumeration type name.
    const QString &ElementTypeName() const { return m_elementTypeName; }
    // The ordinal of a value or element name (case-insensitive), or -1.
    int EnumOrdinal(const QString &name) const;

    // True when an ordinal property can take the value unchanged: within
    // its C++ type's range, one of an enumeration's values (0 or 1 for a
    // Boolean), a set of its elements, a character code up to $FFFF.
    bool Holds(qint64 value) const;

    // The declared default of an ordinal property.  Without one (or with
    // nodefault) the property is always stored.
    bool HasDefault() const { return m_hasDefault; }
    qint64 Default() const { return m_default; }

    // Whether the instance's value is to be stored: the constant STORED
    // flag and the class table's condition.
    bool IsStored(const TObject *instance) const;

    bool IsReadable() const { return m_readable; }
    bool IsWritable() const { return m_writable; }

    // Class kind: the declared class and its category.
    TClass PropertyClass() const { return m_propertyClass; }
    TClassCategory ClassCategory() const { return m_classCategory; }

    // Method kind: the event type, which identifies the signature.
    QMetaType MethodType() const { return m_metaProperty.metaType(); }

    // Typed access.  A nil instance or one of another class, a kind that
    // does not fit, a missing getter or setter or a value the property
    // refuses raises EPropertyError.
    //
    // Ordinal kinds (Integer, Int64, Char, WChar, Enumeration, Set).  A
    // Boolean takes any non-zero value as True; any other value must be one
    // the property Holds.  Floats must be finite and within their type.
    qint64 GetOrd(const TObject *instance) const;
    void SetOrd(TObject *instance, qint64 value) const;
    double GetFloat(const TObject *instance) const;
    void SetFloat(TObject *instance, double value) const;
    // String and WideString.
    QString GetStr(const TObject *instance) const;
    void SetStr(TObject *instance, const QString &value) const;
    // Class kind; the value must be of the property's class or nil.
    TObject *GetObject(const TObject *instance) const;
    void SetObject(TObject *instance, TObject *value) const;
    // Method kind: the event value (an empty one when unassigned).
    QVariant GetMethod(const TObject *instance) const;
    void SetMethod(TObject *instance, const QVariant &handler) const;
    void ClearMethod(TObject *instance) const;
    // Assigns a handler calling a script routine (see EventHandlers.h);
    // raises EPropertyError when the event type has no handler factory.
    void AssignRoutine(TObject *instance, const TScriptCallable &routine) const;
    // Variant kind.
    Variant GetVariant(const TObject *instance) const;
    void SetVariant(TObject *instance, const Variant &value) const;

    // Any kind but Method, as a variant: Integer, enumeration and set values
    // as Integer (ordinal, bit mask), Boolean as Boolean, Int64 as Int64, a
    // character as a one-character String, floats as Double, strings as
    // String (OleStr for WideString), objects as their handle (0 for nil),
    // variants as they are.
    Variant GetValue(const TObject *instance) const;
    // The reverse.  An enumeration also takes a value name; a character
    // takes the first character of the value's text (code 0 for ""); an
    // object is given by the handle of a live object of the property's
    // class.
    void SetValue(TObject *instance, const Variant &value) const;

private:
    friend class PropListBuilder;

    void requireOwner(const TObject *instance) const;
    QVariant read(const TObject *instance) const;
    void write(TObject *instance, const QVariant &value) const;
    // The same on a value of the property's C++ type at value.
    void readValue(const TObject *instance, void *value) const;
    void writeValue(TObject *instance, void *value) const;
    void requireKind(std::initializer_list<TTypeKind> kinds) const;
    bool isOrdinal() const;
    [[noreturn]] void refuse(qint64 value) const;

    QMetaProperty m_metaProperty;
    // Its index among all properties of its class, ancestors' included.
    int m_propertyIndex = -1;
    // The class declaring it, that class's own property call and the
    // property's index there: reads and writes go straight to it instead of
    // down the chain of every class's qt_metacall.
    const QMetaObject *m_enclosing = nullptr;
    QMetaObject::Data::StaticMetacallFunction m_staticMetacall = nullptr;
    int m_localIndex = -1;
    // The C++ type, kept for the typed accessors.
    QMetaType m_type;
    bool m_enumType = false;
    QString m_name;
    TTypeKind m_kind = TTypeKind::Unknown;
    QString m_typeName;
    QStringList m_enumNames;
    QHash<qint64, QString> m_enumNameByValue;
    QString m_elementTypeName;
    bool m_hasDefault = false;
    qint64 m_default = 0;
    StoredPredicate m_stored;
    bool m_readable = false;
    bool m_writable = false;
    TClass m_propertyClass = nullptr;
    TClassCategory m_classCategory = TClassCategory::Object;
};

// The published properties of cls, inherited first, in declaration order.
// The entries live as long as the program.  Raises EPropertyError for a
// class whose declarations do not hold together: an enumeration that does
// not run 0..n-1 without aliases, a declared default the property cannot
// hold.
QList<const TPropInfo *> GetPropList(TClass cls);
// The published property of that name (case-insensitive), or nullptr.
const TPropInfo *GetPropInfo(TClass cls, const QString &name);
const TPropInfo *GetPropInfo(const TObject *instance, const QString &name);

// Makes properties of an event type Method properties; with a factory,
// scripts can assign routines to them (AssignRoutine).
void RegisterMethodType(QMetaType type, TEventHandlerFactory factory = {});
// The same with the factory built from the event's signature, when all its
// parameters travel as variants.
template <class Event>
void RegisterMethodType()
{
    RegisterMethodType(QMetaType::fromType<Event>(), MakeEventHandlerFactory<Event>());
}
// The handler factory of an event type; empty when it has none.
TEventHandlerFactory EventHandlerFactoryOf(QMetaType type);
