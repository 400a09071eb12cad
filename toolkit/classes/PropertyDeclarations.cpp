#include "toolkit/classes/PropertyDeclarations.h"

#include "toolkit/core/Exceptions.h"

#include <QHash>
#include <QMetaProperty>
#include <QMutex>

#include <atomic>

namespace {

struct Tables {
    QMutex mutex;
    QHash<TClass, QHash<QString, PropertyTraits>> byClass; // key: lower-case name
    std::atomic<quint64> generation = 0;
};

Tables &tables()
{
    static Tables instance;
    return instance;
}

// True when cls or an ancestor declares the property (case-insensitive).
// objectName is published as Name.
bool publishes(TClass cls, const QString &property)
{
    for (int i = 0; i < cls->propertyCount(); ++i) {
        const QLatin1StringView name(cls->property(i).name());
        if (name != QLatin1String("objectName") && property.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace

PropertyTraits &PropertyTable::traits(const char *property)
{
    const QString name = QString::fromLatin1(property);
    if (!publishes(m_class, name))
        throw EPropertyError(QStringLiteral("%1 declares traits for %2, which it does not publish")
                                 .arg(ClassNameOf(m_class), name));
    Tables &t = tables();
    ++t.generation;
    return t.byClass[m_class][name.toLower()];
}

PropertyTable &PropertyTable::Default(const char *property, qint64 value)
{
    QMutexLocker lock(&tables().mutex);
    PropertyTraits &p = traits(property);
    p.defaultState = PropertyTraits::DefaultState::Value;
    p.defaultValue = value;
    return *this;
}

PropertyTable &PropertyTable::NoDefault(const char *property)
{
    QMutexLocker lock(&tables().mutex);
    traits(property).defaultState = PropertyTraits::DefaultState::NoDefault;
    return *this;
}

PropertyTable &PropertyTable::TypeName(const char *property, const QString &typeName)
{
    QMutexLocker lock(&tables().mutex);
    traits(property).typeName = typeName;
    return *this;
}

PropertyTable &PropertyTable::Stored(const char *property, StoredPredicate predicate)
{
    QMutexLocker lock(&tables().mutex);
    traits(property).stored = std::move(predicate);
    return *this;
}

PropertyTable &PropertyTable::WriteOnly(const char *property)
{
    QMutexLocker lock(&tables().mutex);
    traits(property).writeOnly = true;
    return *this;
}

PropertyTable &PropertyTable::Wide(const char *property)
{
    QMutexLocker lock(&tables().mutex);
    traits(property).wide = true;
    return *this;
}

std::optional<PropertyTraits> DeclaredTraits(TClass cls, const QString &property)
{
    Tables &t = tables();
    QMutexLocker lock(&t.mutex);
    auto classIt = t.byClass.constFind(cls);
    if (classIt == t.byClass.constEnd())
        return std::nullopt;
    auto it = classIt->constFind(property.toLower());
    if (it == classIt->constEnd())
        return std::nullopt;
    return *it;
}

quint64 PropertyTraitsGeneration()
{
    return tables().generation;
}
