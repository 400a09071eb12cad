// Checks that hold for every registered class, so that each new class is
// checked as soon as its unit registers it.

#include "report/RecordingServices.h"
#include "report/ReportTestClasses.h"
#include "report/ReportTestTree.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/Reflection.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// The classes a reader could create without arguments.
QList<TClass> creatableClasses()
{
    RegisterReportTestClasses();
    QList<TClass> classes;
    for (TClass cls : RegisteredClasses()) {
        const std::optional<RegisteredClass> entry = RegisteredClassOf(cls);
        if (entry && !entry->isAbstract && (entry->factories.create || entry->factories.createOwned))
            classes.append(cls);
    }
    return classes;
}

// Every published value of obj as "Name=value" lines, sub-objects by their
// own values and references by name.
void collectValues(const TObject *obj, const QString &prefix, QStringList &values, int depth = 0)
{
    if (!obj || depth > 8)
        return;
    for (const TPropInfo *prop : GetPropList(obj->ClassType())) {
        if (!prop->IsReadable() || prop->Kind() == TTypeKind::Method || prop->Kind() == TTypeKind::Unknown)
            continue;
        const QString name = prefix + prop->Name();
        if (prop->Kind() != TTypeKind::Class) {
            values.append(name + QLatin1Char('=') + prop->GetValue(obj).AsString());
            continue;
        }
        const TObject *value = prop->GetObject(obj);
        if (prop->ClassCategory() == TClassCategory::Component) {
            const auto *component = qobject_cast<const TComponent *>(value);
            values.append(name + QLatin1Char('=') + (component ? component->Name() : QStringLiteral("nil")));
        } else {
            collectValues(value, name + QLatin1Char('.'), values, depth + 1);
        }
    }
}

QStringList valuesOf(const TObject *obj)
{
    QStringList values;
    collectValues(obj, QString(), values);
    return values;
}

} // namespace

TEST(EveryRegisteredClass, DeclaredDefaultsAreTheConstructorsValues)
{
    TRecordingServicesScope services;
    for (TClass cls : creatableClasses()) {
        std::unique_ptr<TObject> object(CreateObject(cls));
        for (const TPropInfo *prop : GetPropList(cls)) {
            if (!prop->HasDefault() || !prop->IsReadable())
                continue;
            EXPECT_EQ(prop->GetOrd(object.get()), prop->Default())
                << ClassNameOf(cls).toStdString() << '.' << prop->Name().toStdString();
        }
    }
}

TEST(EveryRegisteredClass, AFreshReportObjectReloadsWithEveryValue)
{
    TRecordingServicesScope services;
    int checked = 0;
    for (TClass cls : creatableClasses()) {
        if (!ClassInheritsFrom(cls, ClassOf<TqvxComponent>()))
            continue;
        ++checked;
        std::unique_ptr<TObject> saved(CreateObject(cls));
        std::unique_ptr<TObject> loaded(CreateObject(cls));
        auto *source = static_cast<TqvxComponent *>(saved.get());
        auto *target = static_cast<TqvxComponent *>(loaded.get());
        LoadReport(target, SaveReport(source));
        EXPECT_EQ(valuesOf(target), valuesOf(source)) << ClassNameOf(cls).toStdString();
    }
    EXPECT_GE(checked, 5);
}
