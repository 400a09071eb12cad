#include "toolkit/classes/ClassRegistry.h"

#include "toolkit/classes/Reflection.h"
#include "toolkit/core/Exceptions.h"

#include <QHash>
#include <QMutex>

namespace {

struct Registry {
    QMutex mutex;
    QHash<TClass, RegisteredClass> byClass;
    QHash<QString, TClass> byName; // key: upper-case class name
};

Registry &registry()
{
    static Registry instance;
    return instance;
}

QString key(const QString &name)
{
    return name.toUpper();
}

RegisteredClass requireRegistered(TClass cls)
{
    std::optional<RegisteredClass> entry = RegisteredClassOf(cls);
    if (!entry)
        throw EClassNotFound(QStringLiteral("Class %1 not found").arg(ClassNameOf(cls)));
    return *entry;
}

[[noreturn]] void cannotCreate(TClass cls)
{
    throw EAbstractError(QStringLiteral("Cannot create an instance of class %1").arg(ClassNameOf(cls)));
}

} // namespace

void RegisterClass(TClass cls, ClassFactories factories, bool isAbstract)
{
    GetPropList(cls);
    Registry &r = registry();
    QMutexLocker lock(&r.mutex);
    const QString k = key(ClassNameOf(cls));
    if (const TClass replaced = r.byName.value(k))
        r.byClass.remove(replaced);
    r.byName.insert(k, cls);
    r.byClass.insert(cls, RegisteredClass{cls, isAbstract, std::move(factories)});
}

void UnRegisterClass(TClass cls)
{
    Registry &r = registry();
    QMutexLocker lock(&r.mutex);
    const QString k = key(ClassNameOf(cls));
    auto it = r.byName.find(k);
    if (it != r.byName.end() && *it == cls) {
        r.byName.erase(it);
        r.byClass.remove(cls);
    }
}

QList<TClass> RegisteredClasses()
{
    Registry &r = registry();
    QMutexLocker lock(&r.mutex);
    return r.byClass.keys();
}

TClass GetClass(const QString &name)
{
    Registry &r = registry();
    QMutexLocker lock(&r.mutex);
    return r.byName.value(key(name));
}

TClass FindClass(const QString &name)
{
    if (TClass cls = GetClass(name))
        return cls;
    throw EClassNotFound(QStringLiteral("Class %1 not found").arg(name));
}

std::optional<RegisteredClass> RegisteredClassOf(TClass cls)
{
    if (!cls)
        return std::nullopt;
    Registry &r = registry();
    QMutexLocker lock(&r.mutex);
    auto it = r.byClass.constFind(cls);
    if (it == r.byClass.constEnd())
        return std::nullopt;
    return *it;
}

TObject *CreateObject(TClass cls, TComponent *owner)
{
    // Only the factory called is copied out, under the lock: the class may
    // be registered again while the object is made.
    std::function<TObject *(TComponent *owner)> createOwned;
    std::function<TObject *()> create;
    {
        Registry &r = registry();
        QMutexLocker lock(&r.mutex);
        const auto it = cls ? r.byClass.constFind(cls) : r.byClass.constEnd();
        if (it == r.byClass.constEnd())
            throw EClassNotFound(QStringLiteral("Class %1 not found").arg(ClassNameOf(cls)));
        if (it->isAbstract)
            cannotCreate(cls);
        if (it->factories.createOwned)
            createOwned = it->factories.createOwned;
        else if (it->factories.create)
            create = it->factories.create;
        else
            cannotCreate(cls);
    }
    return Constructed(createOwned ? createOwned(owner) : create());
}

TObject *CreateObject(TClass cls, const QVariantList &arguments)
{
    const RegisteredClass entry = requireRegistered(cls);
    if (entry.isAbstract || !entry.factories.createWith)
        cannotCreate(cls);
    return Constructed(entry.factories.createWith(arguments));
}
