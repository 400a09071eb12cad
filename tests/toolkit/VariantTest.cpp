#include "toolkit/core/DateUtils.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/core/VarRec.h"
#include "toolkit/core/Variants.h"

#include "RuntimeTestSupport.h"
#include "common/TestSupport.h"

#include <gtest/gtest.h>

TEST(Variant, KindsAndTypeCodes)
{
    EXPECT_EQ(VarType(Variant()), varEmpty);
    EXPECT_EQ(VarType(Variant::Null()), varNull);
    EXPECT_EQ(VarType(Variant(5)), varInteger);
    EXPECT_EQ(VarType(Variant(qint64(5))), varInt64);
    EXPECT_EQ(VarType(Variant(2.5)), varDouble);
    EXPECT_EQ(VarType(Variant(true)), varBoolean);
    EXPECT_EQ(VarType(Variant("x")), varString);
    EXPECT_EQ(VarType(Variant::FromOleStr(QStringLiteral("x"))), varOleStr);
    EXPECT_EQ(VarType(Variant::FromDate(1)), varDate);
    EXPECT_EQ(VarType(Variant(Currency::FromScaled(1))), varCurrency);
    EXPECT_EQ(VarType(Variant::FromByte(1)), varByte);
    EXPECT_TRUE(VarIsStr(Variant("x")));
    EXPECT_TRUE(VarIsStr(Variant::FromOleStr(QStringLiteral("x"))));
    EXPECT_FALSE(VarIsStr(Variant(1)));
    EXPECT_TRUE(VarIsNull(Variant::Null()));
    EXPECT_TRUE(VarIsEmpty(Unassigned));
    EXPECT_EQ(VarTypeAsText(varString), QStringLiteral("String"));
    EXPECT_EQ(VarTypeAsText(varArray | varVariant), QStringLiteral("Array Variant"));
    EXPECT_EQ(VarTypeAsText(0x0FF0), QStringLiteral("$0FF0"));
}

TEST(Variant, ToIntegerRoundsHalfToEven)
{
    EXPECT_EQ(Variant(2.5).AsInteger(), 2);
    EXPECT_EQ(Variant(3.5).AsInteger(), 4);
    EXPECT_EQ(Variant(-2.5).AsInteger(), -2);
    EXPECT_EQ(Variant(Currency::FromScaled(25000)).AsInteger(), 2);
    EXPECT_EQ(Variant(Currency::FromScaled(35000)).AsInteger(), 4);
    EXPECT_EQ(Variant(Currency::FromScaled(-25001)).AsInteger(), -3);
    EXPECT_EQ(Variant(true).AsInteger(), -1);
    EXPECT_EQ(Variant().AsInteger(), 0);
    EXPECT_EQ(Variant("42").AsInteger(), 42);
    EXPECT_EQ(Variant("$10").AsInteger(), 16);
    EXPECT_EQ(Variant("2,5").AsInteger(), 2);
    EXPECT_EQ(Variant::FromDate(1.5).AsInteger(), 2);
}

TEST(Variant, ConversionErrorsNameBothKinds)
{
    EXPECT_EQ(MessageOf<EVariantTypeCastError>([] { Variant("abc").AsInteger(); }),
              QStringLiteral("Could not convert variant of type (String) into type (Integer)"));
    EXPECT_EQ(MessageOf<EVariantTypeCastError>([] { Variant::Null().AsInteger(); }),
              QStringLiteral("Could not convert variant of type (Null) into type (Integer)"));
    EXPECT_EQ(MessageOf<EVariantOverflowError>([] { Variant(3e9).AsInteger(); }),
              QStringLiteral("Overflow while converting variant of type (Double) into type (Integer)"));
    EXPECT_THROW(Variant(qint64(1) << 40).AsInteger(), EVariantOverflowError);
    EXPECT_THROW(Variant(1e300).AsCurrency(), EVariantOverflowError);
    EXPECT_THROW(Variant(std::nan("")).AsInt64(), EVariantOverflowError);
    EXPECT_THROW(Variant("1.5").AsDouble(), EVariantTypeCastError);
    EXPECT_THROW(Variant::Null().AsString(), EVariantTypeCastError);
}

TEST(Variant, ToBooleanAndFloat)
{
    EXPECT_FALSE(Variant(0).AsBoolean());
    EXPECT_TRUE(Variant(2).AsBoolean());
    EXPECT_FALSE(Variant(0.0).AsBoolean());
    EXPECT_TRUE(Variant("TRUE").AsBoolean());
    EXPECT_FALSE(Variant("false").AsBoolean());
    EXPECT_FALSE(Variant("0").AsBoolean());
    EXPECT_FALSE(Variant().AsBoolean());
    EXPECT_THROW(Variant("maybe").AsBoolean(), EVariantTypeCastError);
    EXPECT_EQ(Variant("1,5").AsDouble(), 1.5);
    EXPECT_EQ(Variant("$10").AsDouble(), 16.0);
    EXPECT_EQ(Variant(true).AsDouble(), -1.0);
    EXPECT_EQ(Variant(1.23456).AsCurrency().Scaled(), 12346);
    EXPECT_EQ(Variant("07.12.2026").AsDate(), EncodeDate(2026, 12, 7));
}

TEST(Variant, ToText)
{
    EXPECT_EQ(Variant(2.5).AsString(), QStringLiteral("2,5"));
    EXPECT_EQ(Variant(true).AsString(), QStringLiteral("True"));
    EXPECT_EQ(Variant().AsString(), QString());
    EXPECT_EQ(VarToStr(Variant::Null()), QString());
    EXPECT_EQ(Variant(Currency::FromScaled(12345)).AsString(), QStringLiteral("1,2345"));
    EXPECT_EQ(Variant::FromDate(EncodeDate(2026, 12, 7)).AsString(), QStringLiteral("07.12.2026"));
    EXPECT_EQ(Variant::FromDate(EncodeDate(2026, 12, 7) + EncodeTime(9, 5, 3, 0)).AsString(),
              QStringLiteral("07.12.2026 09:05:03"));
    EXPECT_EQ(Variant::FromLongWord(4294967295u).AsString(), QStringLiteral("4294967295"));
    EXPECT_EQ(Variant::FromSingle(0.1f).AsString(), QStringLiteral("0,1"));
    EXPECT_EQ(Variant(qint64(1) << 40).AsString(), QStringLiteral("1099511627776"));
}

// Copies, moves and assignments between every kind of stored value keep
// both sides whole: a number over a text or an array, and back.
TEST(Variant, CopiesAndAssignmentsAcrossKinds)
{
    const Variant samples[] = {Variant(), Variant::Null(), Variant(-5), Variant(qint64(1) << 40), Variant(2.5),
                               Variant::FromDate(3.0), Variant(true), Variant(QStringLiteral("text")),
                               VarArrayCreate({0, 1}, varVariant)};
    for (const Variant &from : samples) {
        for (const Variant &to : samples) {
            Variant target = to;
            Variant source = from;
            target = source;
            EXPECT_EQ(target.Type(), from.Type());
            EXPECT_EQ(VarIsArray(target) || VarToStr(target) == VarToStr(from), true);
            EXPECT_EQ(source.Type(), from.Type()) << "a copy leaves its source";

            Variant moved = to;
            moved = std::move(source);
            EXPECT_EQ(moved.Type(), from.Type());
            source = to; // a moved-from value takes a new one
            EXPECT_EQ(source.Type(), to.Type());

            Variant constructed(std::move(moved));
            EXPECT_EQ(constructed.Type(), from.Type());
        }
    }
    Variant self = QStringLiteral("kept");
    const Variant &alias = self;
    self = alias;
    EXPECT_EQ(self.AsString(), QStringLiteral("kept"));

    Variant array = VarArrayCreate({0, 2}, varVariant);
    array.PutElement({1}, Variant(QStringLiteral("inner")));
    Variant copy = array;
    copy = Variant(7);
    EXPECT_EQ(array.GetElement({1}).AsString(), QStringLiteral("inner"));
    EXPECT_EQ(copy.AsInteger(), 7);
}

TEST(VarAsType, ConvertsBetweenKinds)
{
    const Variant i = VarAsType(Variant(3.7), varInteger);
    EXPECT_EQ(i.Type(), varInteger);
    EXPECT_EQ(i.AsInteger(), 4);
    const Variant wide = VarAsType(Variant("12"), varOleStr);
    EXPECT_EQ(wide.Type(), varOleStr);
    EXPECT_EQ(wide.AsString(), QStringLiteral("12"));
    EXPECT_EQ(VarAsType(Variant(5), varString).AsString(), QStringLiteral("5"));
    EXPECT_EQ(VarAsType(Variant(255), varByte).Type(), varByte);
    EXPECT_THROW(VarAsType(Variant(300), varByte), EVariantOverflowError);
    EXPECT_THROW(VarAsType(Variant(-1), varWord), EVariantOverflowError);
    EXPECT_THROW(VarAsType(Variant(1e39), varSingle), EVariantOverflowError);
    EXPECT_THROW(VarAsType(Variant::Null(), varInteger), EVariantTypeCastError);
    EXPECT_EQ(VarAsType(Variant::Null(), varNull).Type(), varNull);
    EXPECT_THROW(VarAsType(Variant(1), varDispatch), EVariantTypeCastError);
}

TEST(VarArray, BoundsAndElementsInPlace)
{
    Variant a = VarArrayCreate({0, 4}, varVariant);
    EXPECT_EQ(VarType(a), varArray | varVariant);
    EXPECT_TRUE(VarIsArray(a));
    EXPECT_EQ(VarArrayDimCount(a), 1);
    EXPECT_EQ(VarArrayLowBound(a, 1), 0);
    EXPECT_EQ(VarArrayHighBound(a, 1), 4);
    EXPECT_TRUE(a.GetElement({3}).IsEmpty());
    a.PutElement({3}, Variant("x"));
    EXPECT_EQ(a.GetElement({3}).AsString(), QStringLiteral("x"));

    Variant grid = VarArrayCreate({1, 2, -1, 3}, varVariant);
    EXPECT_EQ(VarArrayDimCount(grid), 2);
    EXPECT_EQ(VarArrayLowBound(grid, 2), -1);
    grid.PutElement({2, -1}, Variant(21));
    grid.PutElement({1, 3}, Variant(13));
    EXPECT_EQ(grid.GetElement({2, -1}).AsInteger(), 21);
    EXPECT_EQ(grid.GetElement({1, 3}).AsInteger(), 13);
    EXPECT_TRUE(grid.GetElement({1, -1}).IsEmpty());

    Variant cube = VarArrayCreate({0, 1, 0, 1, 0, 1}, varVariant);
    cube.PutElement({1, 0, 1}, Variant(101));
    EXPECT_EQ(cube.GetElement({1, 0, 1}).AsInteger(), 101);
}

TEST(VarArray, IndexErrors)
{
    Variant a = VarArrayCreate({1, 3}, varVariant);
    EXPECT_EQ(MessageOf<EVariantBadIndexError>([&a] { a.GetElement({4}); }),
              QStringLiteral("Variant or safe array index out of bounds"));
    EXPECT_THROW(a.GetElement({0}), EVariantBadIndexError);
    EXPECT_THROW(a.PutElement({1, 1}, Variant(1)), EVariantBadIndexError);
    EXPECT_THROW(VarArrayLowBound(a, 2), EVariantBadIndexError);
    EXPECT_EQ(VarArrayDimCount(Variant(5)), 0);
    EXPECT_EQ(MessageOf<EVariantNotAnArrayError>([] { VarArrayLowBound(Variant(5), 1); }),
              QStringLiteral("Variant is not an array"));
    EXPECT_THROW(Variant(5).GetElement({0}), EVariantNotAnArrayError);
}

TEST(VarArray, TypedElementsConvertOnStore)
{
    Variant a = VarArrayCreate({0, 1}, varInteger);
    EXPECT_EQ(a.GetElement({0}).Type(), varInteger);
    EXPECT_EQ(a.GetElement({0}).AsInteger(), 0);
    a.PutElement({1}, Variant("7"));
    EXPECT_EQ(a.GetElement({1}).Type(), varInteger);
    EXPECT_EQ(a.GetElement({1}).AsInteger(), 7);
    EXPECT_THROW(a.PutElement({1}, Variant("abc")), EVariantTypeCastError);
    EXPECT_EQ(a.GetElement({1}).AsInteger(), 7);
    EXPECT_EQ(VarArrayCreate({0, 0}, varOleStr).GetElement({0}).Type(), varOleStr);
}

TEST(VarArray, CopiesAreValuesNotReferences)
{
    Variant a = VarArrayCreate({0, 1}, varVariant);
    a.PutElement({0}, Variant(1));
    Variant b = a;
    b.PutElement({0}, Variant(2));
    EXPECT_EQ(a.GetElement({0}).AsInteger(), 1);
    EXPECT_EQ(b.GetElement({0}).AsInteger(), 2);
    // An array inside an array is copied with it.
    Variant outer = VarArrayCreate({0, 0}, varVariant);
    outer.PutElement({0}, a);
    a.PutElement({1}, Variant(9));
    EXPECT_TRUE(outer.GetElement({0}).GetElement({1}).IsEmpty());
}

TEST(VarArray, RedimMovesTheLastHighBound)
{
    Variant a = VarArrayCreate({1, 3}, varVariant);
    a.PutElement({3}, Variant(3));
    VarArrayRedim(a, 5);
    EXPECT_EQ(VarArrayHighBound(a, 1), 5);
    EXPECT_EQ(a.GetElement({3}).AsInteger(), 3);
    EXPECT_TRUE(a.GetElement({5}).IsEmpty());
    VarArrayRedim(a, 1);
    EXPECT_THROW(a.GetElement({2}), EVariantBadIndexError);
    VarArrayRedim(a, 0); // no elements left
    EXPECT_EQ(VarArrayHighBound(a, 1), 0);
    EXPECT_THROW(VarArrayRedim(a, -1), EVariantBadIndexError);

    Variant grid = VarArrayCreate({0, 1, 0, 0}, varVariant);
    grid.PutElement({1, 0}, Variant(10));
    VarArrayRedim(grid, 2);
    EXPECT_EQ(grid.GetElement({1, 0}).AsInteger(), 10);
    EXPECT_TRUE(grid.GetElement({1, 2}).IsEmpty());
}

TEST(VarArray, CreationLimits)
{
    EXPECT_EQ(VarArrayHighBound(VarArrayCreate({0, -1}, varVariant), 1), -1);
    EXPECT_EQ(MessageOf<EVariantArrayCreateError>([] { VarArrayCreate({0, -2}, varVariant); }),
              QStringLiteral("Error creating variant or safe array"));
    EXPECT_THROW(VarArrayCreate({0, 100000000}, varVariant), EVariantArrayCreateError);
    EXPECT_THROW(VarArrayCreate({0, 9999, 0, 9999, 0, 9999}, varVariant), EVariantArrayCreateError);
    EXPECT_THROW(VarArrayCreate({0}, varVariant), EVariantArrayCreateError);
    EXPECT_THROW(VarArrayCreate({0, 1}, varDispatch), EVariantArrayCreateError);
    EXPECT_THROW(VarArrayCreate({-2147483647 - 1, 2147483647}, varVariant), EVariantArrayCreateError);
}

TEST(VarRec, FromAndToVariants)
{
    const QString longText(300, QLatin1Char('a'));
    Variant args = VarArrayCreate({0, 6}, varVariant);
    args.PutElement({0}, Variant(7));
    args.PutElement({1}, Variant(qint64(1) << 40));
    args.PutElement({2}, Variant(Currency::FromScaled(15000)));
    args.PutElement({3}, Variant::FromOleStr(longText));
    args.PutElement({4}, Variant(true));
    args.PutElement({5}, Variant::Null());
    args.PutElement({6}, Variant::FromLongWord(4294967295u));
    const std::vector<TVarRec> recs = VarArrayToConstArray(args);
    ASSERT_EQ(recs.size(), 7u);
    EXPECT_EQ(recs[0].VType, TVarRec::vtInteger);
    EXPECT_EQ(recs[1].VType, TVarRec::vtInt64);
    EXPECT_EQ(recs[2].VType, TVarRec::vtExtended);
    EXPECT_EQ(recs[2].VExtended, 1.5);
    EXPECT_EQ(recs[3].VType, TVarRec::vtString);
    EXPECT_EQ(recs[3].VString, longText); // never cut short
    EXPECT_EQ(recs[4].VType, TVarRec::vtBoolean);
    EXPECT_EQ(recs[5].VType, TVarRec::vtVariant);
    EXPECT_EQ(recs[6].VType, TVarRec::vtInt64);

    EXPECT_EQ(VarRecToVariant(recs[1]).AsInt64(), qint64(1) << 40);
    EXPECT_EQ(VarType(VarRecToVariant(recs[1])), varInt64);
    EXPECT_EQ(VarType(VarRecToVariant(TVarRec::Object(5))), varInteger);
    EXPECT_EQ(VarRecToVariant(TVarRec(QChar('z'))).AsString(), QStringLiteral("z"));
    EXPECT_TRUE(VarRecToVariant(recs[5]).IsNull());
    EXPECT_THROW(VarArrayToConstArray(Variant(1)), EVariantNotAnArrayError);
}
