#include "ReflectionSamples.h"

#include "toolkit/core/Exceptions.h"
#include "toolkit/classes/ObjectHandles.h"
#include "toolkit/classes/TList.h"

#include "common/TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

TEST(TObjectTest, ClassNamesAndAncestry)
{
    TSampleMemo memo;
    EXPECT_EQ(memo.ClassName(), QStringLiteral("TSampleMemo"));
    EXPECT_TRUE(memo.InheritsFrom<TSampleView>());
    EXPECT_TRUE(memo.InheritsFrom<TComponent>());
    EXPECT_TRUE(memo.InheritsFrom<TObject>());
    EXPECT_FALSE(memo.InheritsFrom<TCollection>());

    EXPECT_EQ(ClassParentOf(ClassOf<TSampleMemo>()), ClassOf<TSampleView>());
    EXPECT_EQ(ClassParentOf(ClassOf<TObject>()), nullptr);
    EXPECT_FALSE(ClassInheritsFrom(ClassOf<TSampleView>(), ClassOf<TSampleMemo>()));
    EXPECT_FALSE(ClassInheritsFrom(nullptr, ClassOf<TObject>()));
}

TEST(TObjectTest, HandlesNameLiveObjectsOnly)
{
    EXPECT_EQ(ObjectHandleRegistry::Acquire(nullptr), 0);
    EXPECT_EQ(ObjectHandleRegistry::Resolve(0), nullptr);

    auto *list = new TList;
    const qint32 handle = list->Handle();
    EXPECT_GT(handle, 0);
    EXPECT_EQ(list->Handle(), handle) << "a handle is stable";
    EXPECT_EQ(ObjectHandleRegistry::Resolve(handle), list);

    TList other;
    EXPECT_NE(other.Handle(), handle);

    delete list;
    EXPECT_EQ(ObjectHandleRegistry::Find(handle), nullptr);
    EXPECT_THROW(ObjectHandleRegistry::Resolve(handle), EInvalidObject);
    EXPECT_THROW(ObjectHandleRegistry::Resolve(-7), EInvalidObject);

    // A freed object's address, as a host list may still hold it, gets no handle.
    auto *freed = new TList;
    const TObject *address = freed;
    delete freed;
    EXPECT_THROW(ObjectHandleRegistry::Acquire(address), EInvalidObject);

    // A new object never inherits the stale handle.
    TList successor;
    EXPECT_NE(successor.Handle(), handle);

    // Small numbers and the neighbours of a live handle name nothing.
    for (qint32 small = 1; small < 1000; ++small)
        EXPECT_EQ(ObjectHandleRegistry::Find(small), nullptr);
    EXPECT_GE(successor.Handle(), 0x10000);
    EXPECT_EQ(ObjectHandleRegistry::Find(successor.Handle() + 1), nullptr);
    EXPECT_EQ(ObjectHandleRegistry::Find(successor.Handle() - 1), nullptr);
}

TEST(TObjectTest, AnAddressKeptWithItsGenerationKnowsItsObjectFromASuccessor)
{
    // Two objects made one after the other at the same address.
    alignas(TList) unsigned char place[sizeof(TList)];
    auto *first = new (place) TList;
    TList list;
    list.Add(first);
    list.Add(nullptr);
    const quint32 generation = list.ItemGeneration(0);
    EXPECT_EQ(generation, ObjectHandleRegistry::Generation(first));
    EXPECT_EQ(ObjectHandleRegistry::Acquire(list.Items(0), generation), first->Handle());
    first->~TList();
    auto *second = new (place) TList;
    ASSERT_EQ(static_cast<TObject *>(second), list.Items(0));
    EXPECT_NE(ObjectHandleRegistry::Generation(second), generation);
    EXPECT_THROW(ObjectHandleRegistry::Acquire(list.Items(0), list.ItemGeneration(0)), EInvalidObject);
    EXPECT_EQ(ObjectHandleRegistry::Acquire(list.Items(1), list.ItemGeneration(1)), 0);
    list.SetItems(0, second);
    EXPECT_EQ(ObjectHandleRegistry::Acquire(list.Items(0), list.ItemGeneration(0)), second->Handle());
    list.Delete(0);
    EXPECT_EQ(list.ItemGeneration(0), 0u) << "the generations move with their items";
    second->~TList();
}

// Thousands of objects at neighbouring addresses, freed in a scattered
// order and made again in their places: every live one keeps its
// generation and handle, every freed address is known as freed, and a
// successor never takes its predecessor's generation.
TEST(TObjectTest, TheLiveSetKnowsEveryObjectAmongThousands)
{
    constexpr int count = 5000;
    struct alignas(TList) Place {
        unsigned char bytes[sizeof(TList)];
    };
    std::vector<Place> places(count);
    std::vector<quint32> generations(count);
    auto at = [&](int i) { return reinterpret_cast<TList *>(places[std::size_t(i)].bytes); };
    for (int i = 0; i < count; ++i) {
        new (places[std::size_t(i)].bytes) TList;
        generations[std::size_t(i)] = ObjectHandleRegistry::Generation(at(i));
        ASSERT_NE(generations[std::size_t(i)], 0u);
    }
    auto freed = [](int i) { return (i * 7919) % 3 == 0; };
    for (int k = 0; k < count; ++k) {
        const int i = (k * 7919) % count;
        if (freed(i))
            at(i)->~TList();
    }
    int wrong = 0;
    for (int i = 0; i < count; ++i) {
        const quint32 now = ObjectHandleRegistry::Generation(at(i));
        if (freed(i) ? now != 0 : now != generations[std::size_t(i)])
            ++wrong;
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_THROW(ObjectHandleRegistry::Acquire(at(0)), EInvalidObject);
    EXPECT_THROW(ObjectHandleRegistry::Acquire(at(3), generations[3]), EInvalidObject);
    EXPECT_EQ(ObjectHandleRegistry::Resolve(ObjectHandleRegistry::Acquire(at(1), generations[1])), at(1));

    for (int i = 0; i < count; ++i) {
        if (!freed(i))
            continue;
        new (places[std::size_t(i)].bytes) TList;
        if (ObjectHandleRegistry::Generation(at(i)) == generations[std::size_t(i)] ||
            ObjectHandleRegistry::Generation(at(i)) == 0)
            ++wrong;
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_THROW(ObjectHandleRegistry::Acquire(at(0), generations[0]), EInvalidObject);
    for (int i = 0; i < count; ++i)
        at(i)->~TList();
    EXPECT_EQ(ObjectHandleRegistry::Generation(at(1)), 0u);
}

// Objects made and freed on several threads at once leave the others'
// objects as they were.
TEST(TObjectTest, ObjectsComeAndGoOnSeveralThreadsAtOnce)
{
    std::vector<std::unique_ptr<TList>> kept;
    std::vector<quint32> generations;
    for (int i = 0; i < 1000; ++i) {
        kept.push_back(std::make_unique<TList>());
        generations.push_back(ObjectHandleRegistry::Generation(kept.back().get()));
    }
    std::atomic<int> faults{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&faults] {
            std::vector<std::unique_ptr<TList>> mine;
            for (int round = 0; round < 200; ++round) {
                for (int i = 0; i < 50; ++i)
                    mine.push_back(std::make_unique<TList>());
                for (const auto &object : mine)
                    if (ObjectHandleRegistry::Generation(object.get()) == 0)
                        ++faults;
                if (round % 10 == 0 && !mine.empty()) {
                    const qint32 handle = mine.front()->Handle();
                    if (ObjectHandleRegistry::Find(handle) != mine.front().get())
                        ++faults;
                }
                mine.clear();
            }
        });
    for (int pass = 0; pass < 20; ++pass)
        for (std::size_t i = 0; i < kept.size(); ++i)
            if (ObjectHandleRegistry::Generation(kept[i].get()) != generations[i])
                ++faults;
    for (std::thread &thread : threads)
        thread.join();
    EXPECT_EQ(faults.load(), 0);
}

namespace {

class TTwoStep : public TComponent
{
public:
    using TComponent::TComponent;
    static inline bool fail = false;
    static inline int destroyed = 0;
    ~TTwoStep() override { ++destroyed; }
    void AfterConstruction() override
    {
        seenName = Name();
        if (fail)
            throw EAbort(QStringLiteral("refused"));
    }
    QString seenName = QStringLiteral("not run");
};

} // namespace

// A handle found a moment ago names nothing once its object is freed, also
// when another thread frees it.
TEST(TObjectTest, AFreedObjectsHandleIsRefusedOnEveryThread)
{
    auto *list = new TList;
    const qint32 handle = list->Handle();
    EXPECT_EQ(ObjectHandleRegistry::Find(handle), list);
    EXPECT_EQ(ObjectHandleRegistry::Find(handle), list);
    std::thread([list] { delete list; }).join();
    EXPECT_EQ(ObjectHandleRegistry::Find(handle), nullptr);
    EXPECT_THROW(ObjectHandleRegistry::Resolve(handle), EInvalidObject);

    TList first;
    TList second;
    EXPECT_EQ(ObjectHandleRegistry::Find(first.Handle()), &first);
    EXPECT_EQ(ObjectHandleRegistry::Find(second.Handle()), &second);
    EXPECT_EQ(ObjectHandleRegistry::Find(first.Handle()), &first);
}

TEST(TObjectTest, NewObjectRunsAfterConstructionAndFreesOnFailure)
{
    std::unique_ptr<TTwoStep> made(NewObject<TTwoStep>(nullptr));
    EXPECT_EQ(made->seenName, QString());

    TComponent owner;
    TTwoStep::fail = true;
    TTwoStep::destroyed = 0;
    EXPECT_THROW(NewObject<TTwoStep>(&owner), EAbort);
    TTwoStep::fail = false;
    EXPECT_EQ(TTwoStep::destroyed, 1);
    EXPECT_EQ(owner.ComponentCount(), 0) << "the failed object left its owner";
}

TEST(TPersistentTest, AssignCopiesKnownSourcesAndRefusesOthers)
{
    TSampleFont source;
    source.name = QStringLiteral("Courier New");
    source.style = Sample::ssItalic;
    TSampleFont target;
    target.Assign(&source);
    EXPECT_EQ(target.name, QStringLiteral("Courier New"));
    EXPECT_EQ(target.style, Sample::TSampleStyles(Sample::ssItalic));

    TSampleItem item;
    try {
        target.Assign(&item);
        FAIL() << "an unrelated source was accepted";
    } catch (const EConvertError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Cannot assign a TSampleItem to a TSampleFont"));
    }
    try {
        target.Assign(nullptr);
        FAIL() << "a nil source was accepted";
    } catch (const EConvertError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Cannot assign a nil to a TSampleFont"));
    }
}
