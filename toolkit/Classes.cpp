#include "toolkit/Classes.h"

#include "toolkit/ClassRegistry.h"
#include "toolkit/Events.h"
#include "toolkit/PropertyTraits.h"
#include "toolkit/TCollection.h"
#include "toolkit/TComponent.h"
#include "toolkit/TDataModule.h"
#include "toolkit/TList.h"
#include "toolkit/TypInfo.h"

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
