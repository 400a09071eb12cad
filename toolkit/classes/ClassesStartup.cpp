#include "toolkit/classes/ClassesStartup.h"

#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/Events.h"
#include "toolkit/classes/PropertyDeclarations.h"
#include "toolkit/classes/TCollection.h"
#include "toolkit/classes/TComponent.h"
#include "toolkit/classes/TDataModule.h"
#include "toolkit/classes/TList.h"
#include "toolkit/classes/Reflection.h"

void InitializeClasses()
{
    RegisterMethodType<TNotifyEvent>();

    RegisterClass<TObject>();
    RegisterClass<TPersistent>();
    RegisterClass<TComponent>();
    RegisterClass<TDataModule>();
    RegisterClass<TList>();
    // A collection is made by its owner, with its item class.
    RegisterClass(ClassOf<TCollection>(), {}, true);
    RegisterClass<TCollectionItem>();

    DescribeProperties<TComponent>().TypeName("Name", QStringLiteral("TComponentName")).Default("Tag", 0);
}
