#include "report/model/qvxVariables.h"

#include <gtest/gtest.h>

TEST(Variables, NamesAreFoundWithoutRegardToCase)
{
    TqvxVariables variables;
    variables.SetVariable(QStringLiteral("Описание"), Variant(QStringLiteral("'a'")));
    variables.SetVariable(QStringLiteral("ОПИСАНИЕ"), Variant(QStringLiteral("'b'")));
    variables.SetVariable(QStringLiteral(" Опросный лист"), Variant::Null());

    ASSERT_EQ(variables.Count(), 2);
    EXPECT_EQ(variables.Items(0)->Name(), QStringLiteral("Описание"));
    EXPECT_EQ(variables.GetVariable(QStringLiteral("описание")).AsString(), QStringLiteral("'b'"));
    EXPECT_EQ(variables.IndexOf(QStringLiteral(" опросный лист")), 1);
    EXPECT_EQ(variables.IndexOf(QStringLiteral("Опросный лист")), -1);
    EXPECT_TRUE(VarIsNull(variables.GetVariable(QStringLiteral("absent"))));
}

TEST(Variables, ItemsGetUniqueInheritedNames)
{
    TqvxVariables variables;
    TqvxVariable *named = variables.Add();
    named->SetName(QStringLiteral("A"));
    TqvxVariable *unnamed = variables.Add();
    EXPECT_EQ(named->GetInheritedName(), QStringLiteral("A"));
    // The named variable reports its name, so the number 1 is still free.
    EXPECT_EQ(unnamed->GetInheritedName(), QStringLiteral("TqvxVariable1"));
    EXPECT_EQ(variables.Add()->GetInheritedName(), QStringLiteral("TqvxVariable2"));
    EXPECT_EQ(variables.FindByName(QStringLiteral("TqvxVariable2")), variables.Items(2));
    EXPECT_EQ(variables.FindByName(QStringLiteral("a")), nullptr);
    EXPECT_TRUE(VarIsNull(unnamed->Value()));
}

TEST(Variables, AssignCopiesNameValueAndOrigin)
{
    TqvxVariables source;
    source.SetVariable(QStringLiteral("X"), Variant(qint32(5)));
    source.Items(0)->SetIsInherited(true);
    TqvxVariables copy;
    copy.Assign(&source);
    ASSERT_EQ(copy.Count(), 1);
    EXPECT_EQ(copy.Items(0)->Name(), QStringLiteral("X"));
    EXPECT_EQ(copy.Items(0)->Value().AsInteger(), 5);
    EXPECT_TRUE(copy.Items(0)->IsInherited());
}

TEST(Variables, ArraysAreKeyedByTheKeysText)
{
    TqvxArray array;
    array.SetValue(Variant(qint32(10)), Variant(QStringLiteral("ten")));
    array.SetValue(Variant(QStringLiteral("10")), Variant(QStringLiteral("again")));
    EXPECT_EQ(array.Count(), 1);
    EXPECT_EQ(array.GetValue(Variant(qint32(10))).AsString(), QStringLiteral("again"));
    EXPECT_EQ(array.IndexOf(Variant(QStringLiteral("10"))), 0);
    EXPECT_TRUE(VarIsNull(array.GetValue(Variant(qint32(11)))));
}

TEST(Variables, TheGlobalListLivesWithTheUnit)
{
    ASSERT_NE(qvxGlobalVariables(), nullptr);
    qvxGlobalVariables()->SetVariable(QStringLiteral("CopyName0"), Variant(QStringLiteral("Copy")));
    EXPECT_EQ(qvxGlobalVariables()->GetVariable(QStringLiteral("copyname0")).AsString(), QStringLiteral("Copy"));
    qvxGlobalVariables()->Clear();
}
