#include "toolkit/classes/Reflection.h"

#include "toolkit/core/Exceptions.h"
#include "toolkit/classes/NameHash.h"
#include "toolkit/classes/ObjectHandles.h"
#include "toolkit/classes/TCollection.h"
#include "toolkit/classes/TComponent.h"
#include "toolkit/classes/TStrings.h"

#include <QHash>
#include <QMetaEnum>
#include <QMutex>

#include <cmath>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

namespace {

struct PropCache {
    QMutex mutex;
    quint64 generation = 0;
    QHash<TClass, QList<const TPropInfo *>> lists;
    // The same properties by name as declared, and by case-folded name
    // (the first of a folded name winning).
    QHash<TClass, TNameTable<const TPropInfo *>> byName;
    QHash<TClass, TNameTable<const TPropInfo *>> byFoldedName;
    // Every list ever built; lists from before a change of the class tables
    // stay alive for holders of their entries.
    std::vector<std::unique_ptr<TPropInfo>> entries;
};

PropCache &propCache()
{
    static PropCache instance;
    return instance;
}

// Lists built before a method type or class category was registered may
// describe its properties wrongly; they are built again on next use.
void forgetPropLists()
{
    PropCache &c = propCache();
    QMutexLocker lock(&c.mutex);
    c.lists.clear();
}

struct MethodTypes {
    QMutex mutex;
    QHash<int, TEventHandlerFactory> factories; // every method type, a factory or none
};

MethodTypes &methodTypes()
{
    static MethodTypes instance;
    return instance;
}

bool isMethodType(QMetaType type)
{
    MethodTypes &m = methodTypes();
    QMutexLocker lock(&m.mutex);
    return m.factories.contains(type.id());
}

// The traits of a property as cls sees them: each attribute from the
// nearest class that declares it.
PropertyTraits mergedTraits(TClass cls, const QString &property)
{
    PropertyTraits merged;
    for (TClass c = cls; c; c = ClassParentOf(c)) {
        const std::optional<PropertyTraits> declared = DeclaredTraits(c, property);
        if (!declared)
            continue;
        if (merged.defaultState == PropertyTraits::DefaultState::Unset) {
            merged.defaultState = declared->defaultState;
            merged.defaultValue = declared->defaultValue;
        }
        if (!merged.stored)
            merged.stored = declared->stored;
        if (!merged.typeName)
            merged.typeName = declared->typeName;
        merged.writeOnly = merged.writeOnly || declared->writeOnly;
        merged.wide = merged.wide || declared->wide;
    }
    return merged;
}

TTypeKind kindOf(const QMetaProperty &property, bool wide)
{
    if (property.isFlagType())
        return TTypeKind::Set;
    if (property.isEnumType())
        return TTypeKind::Enumeration;
    const QMetaType type = property.metaType();
    switch (type.id()) {
    case QMetaType::Bool:
        return TTypeKind::Enumeration;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return TTypeKind::Integer;
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return TTypeKind::Int64;
    case QMetaType::Double:
    case QMetaType::Float:
        return TTypeKind::Float;
    case QMetaType::QString:
        return wide ? TTypeKind::WideString : TTypeKind::String;
    case QMetaType::QChar:
        return wide ? TTypeKind::WChar : TTypeKind::Char;
    default:
        break;
    }
    if (type.flags().testFlag(QMetaType::PointerToQObject))
        return TTypeKind::Class;
    if (type == QMetaType::fromType<Variant>())
        return TTypeKind::Variant;
    if (isMethodType(type))
        return TTypeKind::Method;
    return TTypeKind::Unknown;
}

QString defaultTypeName(const QMetaProperty &property, TTypeKind kind, TClass propertyClass)
{
    switch (kind) {
    case TTypeKind::Integer:
        return QStringLiteral("Integer");
    case TTypeKind::Int64:
        return QStringLiteral("Int64");
    case TTypeKind::Char:
        return QStringLiteral("Char");
    case TTypeKind::WChar:
        return QStringLiteral("WideChar");
    case TTypeKind::Enumeration:
        if (!property.isEnumType())
            return QStringLiteral("Boolean");
        return QString::fromLatin1(property.enumerator().name());
    case TTypeKind::Set:
        return QString::fromLatin1(property.enumerator().name());
    case TTypeKind::Float:
        return QStringLiteral("Double");
    case TTypeKind::String:
        return QStringLiteral("String");
    case TTypeKind::WideString:
        return QStringLiteral("WideString");
    case TTypeKind::Class:
        return ClassNameOf(propertyClass);
    case TTypeKind::Variant:
        return QStringLiteral("Variant");
    case TTypeKind::Method:
    case TTypeKind::Unknown:
        break;
    }
    return QString::fromLatin1(property.metaType().name());
}

// An integer of the given size in bytes at data, widened.
qint64 loadOrdinal(const void *data, int size, bool isSigned)
{
    switch (size) {
    case 1:
        return isSigned ? qint64(*static_cast<const qint8 *>(data)) : qint64(*static_cast<const quint8 *>(data));
    case 2:
        return isSigned ? qint64(*static_cast<const qint16 *>(data)) : qint64(*static_cast<const quint16 *>(data));
    case 4:
        return isSigned ? qint64(*static_cast<const qint32 *>(data)) : qint64(*static_cast<const quint32 *>(data));
    default:
        return *static_cast<const qint64 *>(data);
    }
}

void storeOrdinal(void *data, int size, qint64 value)
{
    switch (size) {
    case 1:
        *static_cast<qint8 *>(data) = qint8(value);
        break;
    case 2:
        *static_cast<qint16 *>(data) = qint16(value);
        break;
    case 4:
        *static_cast<qint32 *>(data) = qint32(value);
        break;
    default:
        *static_cast<qint64 *>(data) = value;
        break;
    }
}

bool isUnsignedType(QMetaType type)
{
    switch (type.id()) {
    case QMetaType::Bool:
    case QMetaType::QChar:
    case QMetaType::UInt:
    case QMetaType::UShort:
    case QMetaType::UChar:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        return true;
    default:
        return false;
    }
}

QString kindName(TTypeKind kind)
{
    static const char *const names[] = {
        "Unknown", "Integer",    "Int64", "Char",  "WChar",  "Enumeration", "Float",
        "String",  "WideString", "Set",   "Class", "Method", "Variant",
    };
    return QString::fromLatin1(names[int(kind)]);
}

[[noreturn]] void propertyError(const QString &message)
{
    throw EPropertyError(message);
}

} // namespace

namespace {

struct ClassCategories {
    QMutex mutex;
    QHash<TClass, TClassCategory> byClass{
        {ClassOf<TComponent>(), TClassCategory::Component},
        {ClassOf<TStrings>(), TClassCategory::Strings},
        {ClassOf<TCollection>(), TClassCategory::Collection},
        {ClassOf<TCollectionItem>(), TClassCategory::CollectionItem},
        {ClassOf<TPersistent>(), TClassCategory::Persistent},
    };
};

ClassCategories &classCategories()
{
    static ClassCategories instance;
    return instance;
}

} // namespace

void RegisterClassCategory(TClass cls, TClassCategory category)
{
    ClassCategories &c = classCategories();
    {
        QMutexLocker lock(&c.mutex);
        c.byClass.insert(cls, category);
    }
    forgetPropLists();
}

TClassCategory ClassCategoryOf(TClass cls)
{
    ClassCategories &c = classCategories();
    QMutexLocker lock(&c.mutex);
    for (TClass k = cls; k; k = ClassParentOf(k)) {
        auto it = c.byClass.constFind(k);
        if (it != c.byClass.constEnd())
            return *it;
    }
    return TClassCategory::Object;
}

// Builds the property list of one class.
class PropListBuilder
{
public:
    static std::vector<std::unique_ptr<TPropInfo>> build(TClass cls)
    {
        std::vector<std::unique_ptr<TPropInfo>> list;
        QHash<QString, std::size_t> slotByName;
        for (int i = 0; i < cls->propertyCount(); ++i) {
            const QMetaProperty property = cls->property(i);
            const QString name = QString::fromLatin1(property.name());
            if (name == QLatin1String("objectName"))
                continue;
            auto info = describe(cls, property, name);
            auto slot = slotByName.constFind(name.toLower());
            if (slot != slotByName.constEnd()) {
                list[*slot] = std::move(info);
            } else {
                slotByName.insert(name.toLower(), list.size());
                list.push_back(std::move(info));
            }
        }
        return list;
    }

private:
    static std::unique_ptr<TPropInfo> describe(TClass cls, const QMetaProperty &property,
                                               const QString &name)
    {
        const PropertyTraits traits = mergedTraits(cls, name);
        auto info = std::make_unique<TPropInfo>();
        info->m_metaProperty = property;
        info->m_propertyIndex = property.propertyIndex();
        info->m_enclosing = property.enclosingMetaObject();
        info->m_staticMetacall = info->m_enclosing->d.static_metacall;
        info->m_localIndex = info->m_propertyIndex - info->m_enclosing->propertyOffset();
        info->m_type = property.metaType();
        info->m_enumType = property.isEnumType();
        info->m_name = name;
        info->m_kind = kindOf(property, traits.wide);
        info->m_readable = property.isReadable() && !traits.writeOnly;
        info->m_writable = property.isWritable();
        info->m_stored = traits.stored;
        if (info->m_kind == TTypeKind::Class) {
            info->m_propertyClass = property.metaType().metaObject();
            info->m_classCategory = ClassCategoryOf(info->m_propertyClass);
        }
        describeEnumeration(*info, property);
        if (traits.defaultState == PropertyTraits::DefaultState::Value) {
            if (!info->isOrdinal() || !info->Holds(traits.defaultValue))
                propertyError(QStringLiteral("%1.%2 cannot hold its declared default %3")
                                  .arg(ClassNameOf(cls), name, QString::number(traits.defaultValue)));
            info->m_hasDefault = true;
            info->m_default = traits.defaultValue;
        }
        info->m_typeName = traits.typeName.value_or(
            defaultTypeName(property, info->m_kind, info->m_propertyClass));
        return info;
    }

    static void describeEnumeration(TPropInfo &info, const QMetaProperty &property)
    {
        if (info.m_kind == TTypeKind::Enumeration && !property.isEnumType()) {
            info.m_enumNames = {QStringLiteral("False"), QStringLiteral("True")};
            info.m_enumNameByValue = {{0, info.m_enumNames[0]}, {1, info.m_enumNames[1]}};
            return;
        }
        if (info.m_kind == TTypeKind::Enumeration) {
            // Files and scripts name values by position; an enumeration with
            // gaps or aliases would reload as another value.
            const QMetaEnum e = property.enumerator();
            for (int k = 0; k < e.keyCount(); ++k) {
                if (e.value(k) != k)
                    propertyError(QStringLiteral("Enumeration %1 of %2.%3 does not run 0..n-1 (%4 = %5)")
                                      .arg(QLatin1String(e.name()), ClassNameOf(property.enclosingMetaObject()),
                                           info.m_name, QLatin1String(e.key(k)), QString::number(e.value(k))));
                info.m_enumNames.append(QString::fromLatin1(e.key(k)));
                info.m_enumNameByValue.insert(k, info.m_enumNames.last());
            }
            return;
        }
        if (info.m_kind == TTypeKind::Set) {
            const QMetaEnum e = property.enumerator();
            info.m_elementTypeName = QString::fromLatin1(e.enumName());
            // Only single-bit flags are elements; combinations are not.
            for (int k = 0; k < e.keyCount(); ++k) {
                const quint32 bit = quint32(e.value(k));
                if (bit == 0 || (bit & (bit - 1)) != 0)
                    continue;
                const int position = qCountTrailingZeroBits(bit);
                while (info.m_enumNames.size() <= position)
                    info.m_enumNames.append(QString());
                info.m_enumNames[position] = QString::fromLatin1(e.key(k));
            }
        }
    }
};


namespace {

// The cache brought to the current class tables, with the lists of cls
// built; called under the cache's lock.
PropCache &propCacheWith(TClass cls)
{
    PropCache &c = propCache();
    if (c.generation != PropertyTraitsGeneration()) {
        c.generation = PropertyTraitsGeneration();
        c.lists.clear();
        c.byName.clear();
        c.byFoldedName.clear();
    }
    if (c.lists.contains(cls))
        return c;
    QList<const TPropInfo *> list;
    TNameTable<const TPropInfo *> byName;
    TNameTable<const TPropInfo *> byFoldedName;
    for (auto &info : PropListBuilder::build(cls)) {
        list.append(info.get());
        c.entries.push_back(std::move(info));
    }
    // Inserted last to first, so the first of a folded name stays.
    for (qsizetype i = list.size() - 1; i >= 0; --i)
        byFoldedName.insert_or_assign(list[i]->Name().toCaseFolded(), list[i]);
    // A name as declared finds what the folded one finds.
    for (const TPropInfo *info : list)
        byName.insert_or_assign(info->Name(), byFoldedName.at(info->Name().toCaseFolded()));
    c.lists.insert(cls, list);
    c.byName.insert(cls, std::move(byName));
    c.byFoldedName.insert(cls, std::move(byFoldedName));
    return c;
}

} // namespace

QList<const TPropInfo *> GetPropList(TClass cls)
{
    if (!cls)
        return {};
    QMutexLocker lock(&propCache().mutex);
    return propCacheWith(cls).lists.value(cls);
}

const TPropInfo *GetPropInfo(TClass cls, const QString &name)
{
    if (!cls)
        return nullptr;
    QMutexLocker lock(&propCache().mutex);
    const PropCache &c = propCacheWith(cls);
    const TNameTable<const TPropInfo *> &byName = *c.byName.constFind(cls);
    if (const auto found = byName.find(name); found != byName.end())
        return found->second;
    const TNameTable<const TPropInfo *> &byFoldedName = *c.byFoldedName.constFind(cls);
    const auto folded = byFoldedName.find(name.toCaseFolded());
    return folded == byFoldedName.end() ? nullptr : folded->second;
}

const TPropInfo *GetPropInfo(const TObject *instance, const QString &name)
{
    return instance ? GetPropInfo(instance->ClassType(), name) : nullptr;
}

void RegisterMethodType(QMetaType type, TEventHandlerFactory factory)
{
    MethodTypes &m = methodTypes();
    {
        QMutexLocker lock(&m.mutex);
        m.factories.insert(type.id(), std::move(factory));
    }
    forgetPropLists();
}

TEventHandlerFactory EventHandlerFactoryOf(QMetaType type)
{
    MethodTypes &m = methodTypes();
    QMutexLocker lock(&m.mutex);
    return m.factories.value(type.id());
}

int TPropInfo::EnumOrdinal(const QString &name) const
{
    for (int i = 0; i < m_enumNames.size(); ++i)
        if (!m_enumNames[i].isEmpty() && m_enumNames[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

bool TPropInfo::IsStored(const TObject *instance) const
{
    if (!m_metaProperty.isStored())
        return false;
    if (!m_stored)
        return true;
    requireOwner(instance);
    return m_stored(instance);
}

bool TPropInfo::Holds(qint64 value) const
{
    switch (m_kind) {
    case TTypeKind::Char:
    case TTypeKind::WChar:
        return value >= 0 && value <= 0xFFFF;
    case TTypeKind::Enumeration:
        return m_enumNameByValue.contains(value);
    case TTypeKind::Set: {
        quint64 elements = 0;
        for (int bit = 0; bit < m_enumNames.size(); ++bit)
            if (!m_enumNames[bit].isEmpty())
                elements |= quint64(1) << bit;
        return (quint64(value) & ~elements) == 0;
    }
    case TTypeKind::Integer:
    case TTypeKind::Int64:
        break;
    default:
        return false;
    }
    auto within = [value](auto sample) {
        using T = decltype(sample);
        return std::in_range<T>(value);
    };
    switch (m_type.id()) {
    case QMetaType::Int:
        return within(qint32());
    case QMetaType::UInt:
        return within(quint32());
    case QMetaType::Short:
        return within(qint16());
    case QMetaType::UShort:
        return within(quint16());
    case QMetaType::SChar:
        return within(qint8());
    case QMetaType::UChar:
        return within(quint8());
    case QMetaType::Long:
        return within(long());
    case QMetaType::ULong:
        return within((unsigned long)0);
    case QMetaType::ULongLong:
        return value >= 0;
    default:
        return true;
    }
}

void TPropInfo::refuse(qint64 value) const
{
    propertyError(QStringLiteral("Value %1 is out of range for property %2").arg(QString::number(value), m_name));
}

bool TPropInfo::isOrdinal() const
{
    switch (m_kind) {
    case TTypeKind::Integer:
    case TTypeKind::Int64:
    case TTypeKind::Char:
    case TTypeKind::WChar:
    case TTypeKind::Enumeration:
    case TTypeKind::Set:
        return true;
    default:
        return false;
    }
}

void TPropInfo::requireKind(std::initializer_list<TTypeKind> kinds) const
{
    for (TTypeKind kind : kinds)
        if (kind == m_kind)
            return;
    propertyError(QStringLiteral("Property %1 is of kind %2").arg(m_name, kindName(m_kind)));
}

void TPropInfo::requireOwner(const TObject *instance) const
{
    if (!instance)
        propertyError(QStringLiteral("Property %1 of a nil object").arg(m_name));
    if (!instance->metaObject()->inherits(m_enclosing))
        propertyError(QStringLiteral("%1 has no property %2").arg(instance->ClassName(), m_name));
}

QVariant TPropInfo::read(const TObject *instance) const
{
    requireOwner(instance);
    if (!m_readable)
        propertyError(QStringLiteral("Property %1 cannot be read").arg(m_name));
    return m_metaProperty.read(instance);
}

void TPropInfo::write(TObject *instance, const QVariant &value) const
{
    requireOwner(instance);
    if (!m_writable)
        propertyError(QStringLiteral("Property %1 is read-only").arg(m_name));
    if (!m_metaProperty.write(instance, value))
        propertyError(QStringLiteral("Invalid value for property %1").arg(m_name));
}

// The meta-call that QMetaProperty makes, on a value of the property's own
// C++ type: no variant is built and no conversion looked up.
void TPropInfo::readValue(const TObject *instance, void *value) const
{
    requireOwner(instance);
    if (!m_readable)
        propertyError(QStringLiteral("Property %1 cannot be read").arg(m_name));
    void *arguments[] = {value, nullptr};
    if (m_staticMetacall)
        m_staticMetacall(const_cast<TObject *>(instance), QMetaObject::ReadProperty, m_localIndex, arguments);
    else
        QMetaObject::metacall(const_cast<TObject *>(instance), QMetaObject::ReadProperty, m_propertyIndex, arguments);
}

void TPropInfo::writeValue(TObject *instance, void *value) const
{
    requireOwner(instance);
    if (!m_writable)
        propertyError(QStringLiteral("Property %1 is read-only").arg(m_name));
    int status = -1;
    int flags = 0;
    void *arguments[] = {value, nullptr, &status, &flags};
    if (m_staticMetacall)
        m_staticMetacall(instance, QMetaObject::WriteProperty, m_localIndex, arguments);
    else
        QMetaObject::metacall(instance, QMetaObject::WriteProperty, m_propertyIndex, arguments);
}

qint64 TPropInfo::GetOrd(const TObject *instance) const
{
    if (!isOrdinal())
        requireKind({TTypeKind::Integer});
    // Every ordinal kind is an integer, a Boolean, a QChar or an
    // enumeration or flags type, at most 8 bytes long.
    qint64 storage = 0;
    readValue(instance, &storage);
    const QMetaType type = m_type;
    return loadOrdinal(&storage, int(type.sizeOf()), !isUnsignedType(type));
}

void TPropInfo::SetOrd(TObject *instance, qint64 value) const
{
    if (!isOrdinal())
        requireKind({TTypeKind::Integer});
    const bool boolean = m_kind == TTypeKind::Enumeration && !m_enumType;
    if (boolean) {
        bool flag = value != 0;
        writeValue(instance, &flag);
        return;
    }
    if (!Holds(value))
        refuse(value);
    qint64 storage = 0;
    storeOrdinal(&storage, int(m_type.sizeOf()), value);
    writeValue(instance, &storage);
}

double TPropInfo::GetFloat(const TObject *instance) const
{
    requireKind({TTypeKind::Float});
    if (m_type.id() == QMetaType::Float) {
        float value = 0;
        readValue(instance, &value);
        return value;
    }
    double value = 0;
    readValue(instance, &value);
    return value;
}

void TPropInfo::SetFloat(TObject *instance, double value) const
{
    requireKind({TTypeKind::Float});
    const bool single = m_type.id() == QMetaType::Float;
    const double limit = single ? std::numeric_limits<float>::max() : std::numeric_limits<double>::max();
    if (!(std::abs(value) <= limit))
        propertyError(QStringLiteral("Value %1 is out of range for property %2").arg(QString::number(value), m_name));
    if (single) {
        float narrowed = float(value);
        writeValue(instance, &narrowed);
        return;
    }
    writeValue(instance, &value);
}

QString TPropInfo::GetStr(const TObject *instance) const
{
    requireKind({TTypeKind::String, TTypeKind::WideString});
    QString value;
    readValue(instance, &value);
    return value;
}

void TPropInfo::SetStr(TObject *instance, const QString &value) const
{
    requireKind({TTypeKind::String, TTypeKind::WideString});
    QString copy = value;
    writeValue(instance, &copy);
}

TObject *TPropInfo::GetObject(const TObject *instance) const
{
    requireKind({TTypeKind::Class});
    // Qt puts QObject first among the bases, so the pointer is the same
    // whatever the declared class.
    QObject *value = nullptr;
    readValue(instance, &value);
    return qobject_cast<TObject *>(value);
}

void TPropInfo::SetObject(TObject *instance, TObject *value) const
{
    requireKind({TTypeKind::Class});
    if (value && !value->InheritsFrom(m_propertyClass))
        propertyError(QStringLiteral("Property %1 needs a %2, not a %3")
                          .arg(m_name, ClassNameOf(m_propertyClass), value->ClassName()));
    QObject *object = value;
    writeValue(instance, &object);
}

QVariant TPropInfo::GetMethod(const TObject *instance) const
{
    requireKind({TTypeKind::Method});
    return read(instance);
}

void TPropInfo::SetMethod(TObject *instance, const QVariant &handler) const
{
    requireKind({TTypeKind::Method});
    if (handler.metaType() != m_metaProperty.metaType())
        propertyError(QStringLiteral("Property %1 needs a handler of type %2")
                          .arg(m_name, m_typeName));
    write(instance, handler);
}

void TPropInfo::ClearMethod(TObject *instance) const
{
    requireKind({TTypeKind::Method});
    write(instance, QVariant(m_metaProperty.metaType()));
}

void TPropInfo::AssignRoutine(TObject *instance, const TScriptCallable &routine) const
{
    requireKind({TTypeKind::Method});
    const TEventHandlerFactory factory = EventHandlerFactoryOf(m_metaProperty.metaType());
    if (!factory)
        propertyError(QStringLiteral("Property %1 of type %2 cannot take a script routine").arg(m_name, m_typeName));
    write(instance, factory(routine));
}

Variant TPropInfo::GetVariant(const TObject *instance) const
{
    requireKind({TTypeKind::Variant});
    Variant value;
    readValue(instance, &value);
    return value;
}

void TPropInfo::SetVariant(TObject *instance, const Variant &value) const
{
    requireKind({TTypeKind::Variant});
    Variant copy = value;
    writeValue(instance, &copy);
}

Variant TPropInfo::GetValue(const TObject *instance) const
{
    switch (m_kind) {
    case TTypeKind::Integer:
    case TTypeKind::Set:
        return Variant(qint32(GetOrd(instance)));
    case TTypeKind::Enumeration:
        if (!m_metaProperty.isEnumType())
            return Variant(GetOrd(instance) != 0);
        return Variant(qint32(GetOrd(instance)));
    case TTypeKind::Int64:
        return Variant(GetOrd(instance));
    case TTypeKind::Char:
    case TTypeKind::WChar:
        return Variant(QString(QChar(char16_t(GetOrd(instance)))));
    case TTypeKind::Float:
        return Variant(GetFloat(instance));
    case TTypeKind::String:
        return Variant(GetStr(instance));
    case TTypeKind::WideString:
        return Variant::FromOleStr(GetStr(instance));
    case TTypeKind::Class:
        return Variant(ObjectHandleRegistry::Acquire(GetObject(instance)));
    case TTypeKind::Variant:
        return GetVariant(instance);
    case TTypeKind::Method:
    case TTypeKind::Unknown:
        break;
    }
    propertyError(QStringLiteral("Property %1 has no variant value").arg(m_name));
}

void TPropInfo::SetValue(TObject *instance, const Variant &value) const
{
    switch (m_kind) {
    case TTypeKind::Integer:
    case TTypeKind::Set:
        SetOrd(instance, value.AsInt64());
        return;
    case TTypeKind::Enumeration:
        if (!m_metaProperty.isEnumType()) {
            SetOrd(instance, value.AsBoolean());
            return;
        }
        if (value.IsString()) {
            const int ordinal = EnumOrdinal(value.AsString());
            if (ordinal < 0)
                propertyError(QStringLiteral("Invalid value for property %1").arg(m_name));
            SetOrd(instance, ordinal);
            return;
        }
        SetOrd(instance, value.AsInteger());
        return;
    case TTypeKind::Int64:
        SetOrd(instance, value.AsInt64());
        return;
    case TTypeKind::Char:
    case TTypeKind::WChar: {
        const QString text = value.AsString();
        SetOrd(instance, text.isEmpty() ? 0 : text.front().unicode());
        return;
    }
    case TTypeKind::Float:
        SetFloat(instance, value.AsDouble());
        return;
    case TTypeKind::String:
    case TTypeKind::WideString:
        SetStr(instance, value.AsString());
        return;
    case TTypeKind::Class:
        SetObject(instance, ObjectHandleRegistry::Resolve(value.AsInteger()));
        return;
    case TTypeKind::Variant:
        SetVariant(instance, value);
        return;
    case TTypeKind::Method:
    case TTypeKind::Unknown:
        break;
    }
    propertyError(QStringLiteral("Property %1 takes no variant value").arg(m_name));
}
