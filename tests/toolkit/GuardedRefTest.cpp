#include "ReflectionSamples.h"

#include "toolkit/classes/GuardedRef.h"
#include "toolkit/classes/ObjectHandles.h"

#include <gtest/gtest.h>

#include <QPointer>

#include <array>
#include <memory>

namespace {

class TLinked : public TComponent
{
public:
    using TComponent::TComponent;

    TGuardedRef<TComponent> first{this};
    TGuardedRef<TComponent> second{this};
    int removals = 0;
    TComponent *seenFirst = reinterpret_cast<TComponent *>(1);

    void Notification(TComponent *component, TOperation operation) override
    {
        TComponent::Notification(component, operation);
        if (operation == opRemove) {
            ++removals;
            seenFirst = first;
        }
    }
};

// Records the class of each removed component as it is announced, "!"
// marking one being destroyed.
class TClassWatcher : public TComponent
{
public:
    explicit TClassWatcher(QStringList *log, TComponent *owner = nullptr) : TComponent(owner), m_log(log) {}
    void Notification(TComponent *component, TOperation operation) override
    {
        TComponent::Notification(component, operation);
        if (operation == opRemove)
            m_log->append(component->ClassName() +
                          (component->ComponentState().testFlag(csDestroying) ? QStringLiteral("!") : QString()));
    }

private:
    QStringList *m_log;
};

} // namespace

TEST(GuardedRefTest, ClearsItselfBeforeTheHolderIsTold)
{
    TLinked holder;
    auto *target = new TComponent;
    holder.first = target;
    holder.second = target;
    EXPECT_EQ(holder.first.get(), target);

    delete target;
    EXPECT_EQ(holder.first.get(), nullptr);
    EXPECT_EQ(holder.second.get(), nullptr);
    EXPECT_EQ(holder.removals, 1);
    EXPECT_EQ(holder.seenFirst, nullptr) << "the reference is clear when Notification runs";
}

TEST(GuardedRefTest, AReferenceLetGoStillLeavesTheOtherGuarded)
{
    TLinked holder;
    auto *target = new TComponent;
    holder.first = target;
    holder.second = target;
    holder.first = nullptr;
    delete target; // the second reference must still be told
    EXPECT_EQ(holder.second.get(), nullptr);

    auto *kept = new TComponent;
    holder.first = kept;
    holder.first = nullptr;
    delete kept;
    EXPECT_EQ(holder.removals, 1) << "a released target no longer notifies the holder";
}

TEST(GuardedRefTest, AHolderFreedFirstLeavesNothingBehind)
{
    auto *target = new TComponent;
    auto *holder = new TLinked;
    holder->first = target;
    delete holder;
    delete target; // would reach the freed holder if its request had stayed
}

TEST(GuardedRefTest, ADyingHolderHoldsNoReferences)
{
    auto *target = new TComponent;
    auto *holder = new TLinked;
    holder->first = target;
    holder->BeforeDestruction();
    EXPECT_EQ(holder->first.get(), nullptr);
    delete target; // must not reach the holder
    delete holder;
}

TEST(GuardedRefTest, ARemovalFromTheOwnerClearsSiblingReferences)
{
    TComponent owner;
    auto *holder = new TLinked(&owner);
    auto *target = new TComponent(&owner);
    holder->first = target;
    owner.RemoveComponent(target);
    EXPECT_EQ(holder->first.get(), nullptr);
    delete target;
}

TEST(DestructionTest, PartnersSeeTheDyingComponentWhole)
{
    QStringList partnerLog, ownerLog;
    TClassWatcher partner(&partnerLog);
    auto *owner = new TClassWatcher(&ownerLog);
    auto *view = new TSampleView(owner);
    partner.FreeNotification(view);
    const qint32 handle = view->Handle();

    delete view;
    EXPECT_EQ(partnerLog, QStringList{QStringLiteral("TSampleView!")});
    EXPECT_EQ(ownerLog, QStringList{QStringLiteral("TSampleView!")}) << "it leaves its owner whole";
    EXPECT_EQ(ObjectHandleRegistry::Find(handle), nullptr);
    delete owner;
}

TEST(DestructionTest, AnOwnerBeingFreedBroadcastsNoRemovals)
{
    QStringList siblingLog, partnerLog;
    auto *owner = new TComponent;
    auto *watcher = new TClassWatcher(&siblingLog, owner);
    new TSampleView(owner);
    new TSampleView(owner);
    TClassWatcher partner(&partnerLog);
    partner.FreeNotification(watcher);

    delete owner;
    EXPECT_TRUE(siblingLog.isEmpty());
    EXPECT_EQ(partnerLog, QStringList{QStringLiteral("TComponent!")});
}

TEST(DestructionTest, AComponentOnTheStackRunsTheSameSteps)
{
    QStringList log;
    TClassWatcher owner(&log);
    {
        TSampleView view(&owner);
    }
    EXPECT_EQ(owner.ComponentCount(), 0);
    // Without delete, the steps run from ~TComponent, where only that part
    // is left.
    EXPECT_EQ(log, QStringList{QStringLiteral("TComponent!")});
}

namespace {

// More guarded references than a component keeps in place.
class TManyLinks : public TComponent
{
public:
    using TComponent::TComponent;

    std::array<std::unique_ptr<TGuardedRef<TComponent>>, 9> links;
};

} // namespace

TEST(GuardedRefTest, EveryOneOfManyClearsAndLeavesItsHolder)
{
    TManyLinks holder;
    for (auto &link : holder.links)
        link = std::make_unique<TGuardedRef<TComponent>>(&holder);
    std::array<TComponent *, 9> targets{};
    for (std::size_t i = 0; i < targets.size(); ++i) {
        targets[i] = new TComponent;
        *holder.links[i] = targets[i];
    }
    // A reference dropped from the middle leaves the others guarded.
    holder.links[4].reset();
    delete targets[4];
    for (std::size_t i = 0; i < targets.size(); ++i) {
        if (i == 4)
            continue;
        EXPECT_EQ(holder.links[i]->get(), targets[i]) << i;
        delete targets[i];
        EXPECT_EQ(holder.links[i]->get(), nullptr) << i;
    }
}
