#include "ReflectionSamples.h"

#include "toolkit/core/Exceptions.h"
#include "toolkit/classes/GlobalComponents.h"
#include "toolkit/classes/TDataModule.h"

#include "common/TestSupport.h"

#include <gtest/gtest.h>

#include <QPointer>

#include <memory>

namespace {

// Records the notifications it receives.
class TWatcher : public TComponent
{
public:
    using TComponent::TComponent;
    void Notification(TComponent *component, TOperation operation) override
    {
        TComponent::Notification(component, operation);
        log.append((operation == opInsert ? QStringLiteral("+") : QStringLiteral("-")) +
                   component->Name());
    }
    QStringList log;
};

// Frees a sibling while it is being freed itself.
class TSiblingKiller : public TComponent
{
public:
    using TComponent::TComponent;
    ~TSiblingKiller() override { delete victim; }
    TComponent *victim = nullptr;
};

TComponent *named(TComponent *owner, const QString &name)
{
    auto *component = new TComponent(owner);
    component->SetName(name);
    return component;
}

} // namespace

TEST(TComponentTest, OwnerListsAndFreesWhatItOwns)
{
    auto *owner = new TComponent;
    QPointer<TComponent> a = named(owner, QStringLiteral("A"));
    QPointer<TComponent> b = named(owner, QStringLiteral("B"));
    ASSERT_EQ(owner->ComponentCount(), 2);
    EXPECT_EQ(owner->Components(1), b);
    EXPECT_EQ(b->ComponentIndex(), 1);
    EXPECT_EQ(owner->FindComponent(QStringLiteral("a")), a);
    EXPECT_EQ(owner->FindComponent(QString()), nullptr);
    EXPECT_THROW(owner->Components(2), EListError);

    delete a;
    EXPECT_EQ(owner->ComponentCount(), 1);
    EXPECT_EQ(b->ComponentIndex(), 0);

    delete owner;
    EXPECT_TRUE(b.isNull());
}

TEST(TComponentTest, NamesMustBeIdentifiersAndUniqueAmongSiblings)
{
    TComponent owner;
    TComponent *memo = named(&owner, QStringLiteral("Memo1"));
    TComponent *other = new TComponent(&owner);

    EXPECT_THROW(other->SetName(QStringLiteral("memo1")), EComponentError);
    EXPECT_THROW(other->SetName(QStringLiteral("1Memo")), EComponentError);
    EXPECT_THROW(other->SetName(QStringLiteral("Memo 2")), EComponentError);
    EXPECT_EQ(other->Name(), QString()) << "a refused name leaves the old one";

    memo->SetName(QStringLiteral("MEMO1")) ; // a change of case only
    EXPECT_EQ(memo->Name(), QStringLiteral("MEMO1"));
    other->SetName(QStringLiteral("_Memo2"));
    other->SetName(QString());

    try {
        other->SetName(QStringLiteral("Memo1"));
        FAIL();
    } catch (const EComponentError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("A component named Memo1 already exists"));
    }

    // Components without owner may share names.
    TComponent loose1, loose2;
    loose1.SetName(QStringLiteral("Same"));
    loose2.SetName(QStringLiteral("Same"));
}

TEST(TComponentTest, InsertingANamedComponentChecksTheNewSiblings)
{
    TComponent first, second;
    named(&first, QStringLiteral("Band1"));
    TComponent *moving = named(&second, QStringLiteral("Band1"));
    EXPECT_THROW(first.InsertComponent(moving), EComponentError);
    EXPECT_EQ(moving->Owner(), &second);

    moving->SetName(QStringLiteral("Band2"));
    first.InsertComponent(moving);
    EXPECT_EQ(moving->Owner(), &first);
    EXPECT_EQ(second.ComponentCount(), 0) << "the previous owner let it go";
}

TEST(TComponentTest, OwnerTellsEveryOwnedComponentOfInsertionsAndRemovals)
{
    TComponent owner;
    auto *watcher = new TWatcher(&owner);
    TComponent *band = named(&owner, QStringLiteral("Band"));
    owner.RemoveComponent(band);
    delete band;
    EXPECT_EQ(watcher->log, QStringList({QStringLiteral("+"), QStringLiteral("-Band")}))
        << "the insertion is told before the name is set";
}

TEST(TComponentTest, AnOwnerBeingLoadedPassesNoInsertionOn)
{
    TComponent owner;
    auto *watcher = new TWatcher(&owner);
    owner.Loading();
    named(&owner, QStringLiteral("Quiet"));
    owner.EndLoading();
    EXPECT_FALSE(owner.ComponentState().testFlag(csLoading));
    named(&owner, QStringLiteral("Told"));
    EXPECT_EQ(watcher->log, QStringList{QStringLiteral("+")});
    EXPECT_EQ(owner.FindComponent(QStringLiteral("QUIET")), owner.Components(1)) << "found through the name index";
}

TEST(TComponentTest, FreeNotificationReachesAcrossOwners)
{
    TComponent form, report;
    auto *view = new TSampleView(&report);
    auto *target = new TSampleView(&form);
    view->next = target;
    view->FreeNotification(target);

    delete target;
    EXPECT_EQ(view->next, nullptr);

    // The partner that goes first takes its request with it.
    auto *other = new TSampleView(&form);
    other->FreeNotification(view);
    delete other;
    delete view; // would reach the freed partner if the request had stayed
}

TEST(TComponentTest, DestroyingToleratesComponentsFreeingEachOther)
{
    auto *owner = new TComponent;
    QPointer<TComponent> victim = new TComponent(owner);
    auto *killer = new TSiblingKiller(owner);
    killer->victim = victim;
    QPointer<TComponent> last = new TComponent(owner);
    EXPECT_FALSE(owner->ComponentState().testFlag(csDestroying));
    delete owner;
    EXPECT_TRUE(victim.isNull());
    EXPECT_TRUE(last.isNull());
}

TEST(TComponentTest, GlobalComponentsFindModulesUntilTheyAreFreed)
{
    int created = 0;
    auto *module = new TDataModule;
    module->SetName(QStringLiteral("Data"));
    module->SetOnCreate([&](TObject *) { ++created; });
    module->AfterConstruction();
    EXPECT_EQ(created, 1);
    EXPECT_EQ(GlobalComponents::Find(QStringLiteral("DATA")), module);

    int destroyed = 0;
    module->SetOnDestroy([&](TObject *sender) { destroyed += sender == module; });
    delete module;
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(GlobalComponents::Find(QStringLiteral("Data")), nullptr);
}
