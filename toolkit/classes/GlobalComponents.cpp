#include "toolkit/classes/GlobalComponents.h"

#include "toolkit/classes/TComponent.h"
#include "toolkit/classes/TList.h"

namespace GlobalComponents {
namespace {

// Holds the registered components and drops each one when it is freed,
// through free notification.
class Registry : public TComponent
{
public:
    QList<TComponent *> components;

    void Notification(TComponent *component, TOperation operation) override
    {
        TComponent::Notification(component, operation);
        if (operation == opRemove)
            components.removeAll(component);
    }
};

Registry &registry()
{
    static Registry instance;
    return instance;
}

} // namespace

void Add(TComponent *component)
{
    Registry &r = registry();
    if (!component || r.components.contains(component))
        return;
    r.components.append(component);
    r.FreeNotification(component);
}

void Remove(TComponent *component)
{
    Registry &r = registry();
    r.components.removeAll(component);
    r.RemoveFreeNotification(component);
}

int Count()
{
    return registry().components.size();
}

TComponent *At(int index)
{
    CheckListIndex(index, Count());
    return registry().components.at(index);
}

TComponent *Find(const QString &name)
{
    if (name.isEmpty())
        return nullptr;
    for (TComponent *component : registry().components)
        if (component->Name().compare(name, Qt::CaseInsensitive) == 0)
            return component;
    return nullptr;
}

} // namespace GlobalComponents
