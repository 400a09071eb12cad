#include "ReflectionSamples.h"

#include "toolkit/core/Exceptions.h"
#include "toolkit/classes/TList.h"

#include "common/TestSupport.h"

#include <gtest/gtest.h>

namespace {

QStringList captions(const TSampleItems &items)
{
    QStringList result;
    for (int i = 0; i < items.Count(); ++i)
        result.append(items.Items(i)->caption);
    return result;
}

TSampleItem *add(TSampleItems &items, const QString &caption)
{
    auto *item = static_cast<TSampleItem *>(items.Add());
    item->caption = caption;
    return item;
}

} // namespace

TEST(TCollectionTest, AddInsertDeleteAndIndex)
{
    TComponent owner;
    TSampleItems items(&owner);
    EXPECT_EQ(items.Owner(), &owner);
    EXPECT_EQ(items.ItemClass(), ClassOf<TSampleItem>());

    add(items, QStringLiteral("a"));
    TSampleItem *c = add(items, QStringLiteral("c"));
    static_cast<TSampleItem *>(items.Insert(1))->caption = QStringLiteral("b");
    EXPECT_EQ(captions(items), QStringList({"a", "b", "c"}));
    EXPECT_EQ(c->Index(), 2);
    EXPECT_EQ(c->Collection(), &items);

    c->SetIndex(0);
    EXPECT_EQ(captions(items), QStringList({"c", "a", "b"}));
    c->SetIndex(99);
    EXPECT_EQ(captions(items), QStringList({"a", "b", "c"}));

    items.Delete(1);
    EXPECT_EQ(captions(items), QStringList({"a", "c"}));
    delete c;
    EXPECT_EQ(captions(items), QStringList({"a"}));

    EXPECT_THROW(items.Items(1), EListError);
    EXPECT_THROW(items.Delete(-1), EListError);
    EXPECT_THROW(items.Insert(3), EListError);

    items.Clear();
    EXPECT_EQ(items.Count(), 0);
}

TEST(TCollectionTest, AssignReplacesItemsByCopies)
{
    TSampleItems source, target;
    add(source, QStringLiteral("one"));
    add(source, QStringLiteral("two"));
    add(target, QStringLiteral("old"));
    target.Assign(&source);
    EXPECT_EQ(captions(target), QStringList({"one", "two"}));
    EXPECT_NE(target.Items(0), source.Items(0));

    target.Assign(&target);
    EXPECT_EQ(captions(target), QStringList({"one", "two"}));

    TSampleFont font;
    EXPECT_THROW(target.Assign(&font), EConvertError);
}

TEST(TListTest, IndexedAccessAndRemoval)
{
    TList list;
    TList a, b, c;
    EXPECT_EQ(list.Add(&a), 0);
    EXPECT_EQ(list.Add(&c), 1);
    list.Insert(1, &b);
    list.Insert(3, &a); // at Count: appends
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list.Items(1), &b);
    EXPECT_EQ(list.IndexOf(&c), 2);

    EXPECT_EQ(list.Remove(&a), 0) << "the first occurrence goes";
    EXPECT_EQ(list.Remove(&a), 2);
    EXPECT_EQ(list.Remove(&a), -1);
    list.SetItems(0, &c);
    list.Delete(1);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Items(0), &c);

    try {
        list.Items(1);
        FAIL();
    } catch (const EListError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("List index out of bounds (1)"));
    }
    EXPECT_THROW(list.Insert(3, &a), EListError);
    EXPECT_THROW(list.SetItems(-1, &a), EListError);
    EXPECT_THROW(list.Delete(1), EListError);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}
