#include "toolkit/core/Exceptions.h"
#include "toolkit/core/VariantOps.h"

#include "RuntimeTestSupport.h"
#include "common/TestSupport.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

const int MaxInt = std::numeric_limits<qint32>::max();
const int MinInt = std::numeric_limits<qint32>::min();

// The kind and text of a result, e.g. "Integer 5".
QString Show(const Variant &v)
{
    return VarTypeAsText(v.Type()) + QLatin1Char(' ') + VarToStr(v);
}

} // namespace

TEST(VariantOps, AdditionKinds)
{
    EXPECT_EQ(Show(Variant(2) + Variant(3)), QStringLiteral("Integer 5"));
    EXPECT_EQ(Show(Variant("ab") + Variant("cd")), QStringLiteral("String abcd"));
    EXPECT_EQ(Show(Variant::FromOleStr(QStringLiteral("a")) + Variant("b")), QStringLiteral("OleStr ab"));
    EXPECT_EQ(Show(Variant("2") + Variant(3)), QStringLiteral("Integer 5"));
    EXPECT_EQ(Show(Variant("2,5") + Variant(1)), QStringLiteral("Double 3,5"));
    EXPECT_EQ(Show(Variant(1) + Variant(2.5)), QStringLiteral("Double 3,5"));
    EXPECT_EQ(Show(Variant(true) + Variant(1)), QStringLiteral("Integer 0"));
    EXPECT_EQ(Show(Variant(Currency::FromScaled(15000)) + Variant(1)), QStringLiteral("Currency 2,5"));
    EXPECT_EQ(Show(Variant(Currency::FromScaled(15000)) + Variant(0.25)), QStringLiteral("Double 1,75"));
    EXPECT_EQ(Show(Variant::FromDate(1) + Variant(1)), QStringLiteral("Date 01.01.1900"));
    EXPECT_EQ(Show(Variant::FromDate(3) - Variant::FromDate(1)), QStringLiteral("Double 2"));
    EXPECT_THROW(Variant("abc") + Variant(1), EVariantTypeCastError);
}

TEST(VariantOps, NullPropagatesEmptyActsAsZeroOrBlank)
{
    EXPECT_TRUE((Variant::Null() + Variant(1)).IsNull());
    EXPECT_TRUE((Variant("a") - Variant::Null()).IsNull());
    EXPECT_TRUE(VarIntDiv(Variant::Null(), Variant(0)).IsNull());
    EXPECT_TRUE((Variant::Null() / Variant(0)).IsNull());
    EXPECT_TRUE(VarAnd(Variant::Null(), Variant(true)).IsNull());
    EXPECT_TRUE(VarNot(Variant::Null()).IsNull());
    EXPECT_TRUE((-Variant::Null()).IsNull());
    EXPECT_EQ(Show(Variant() + Variant(1)), QStringLiteral("Integer 1"));
    EXPECT_EQ(Show(Variant() + Variant("x")), QStringLiteral("String x"));
    EXPECT_EQ(Show(Variant() + Variant()), QStringLiteral("Integer 0"));
    EXPECT_EQ(Show(Variant() * Variant(2.5)), QStringLiteral("Double 0"));
}

TEST(VariantOps, IntegersWidenInsteadOfWrapping)
{
    EXPECT_EQ(Show(Variant(MaxInt) + Variant(1)), QStringLiteral("Int64 2147483648"));
    EXPECT_EQ(Show(Variant(MinInt) - Variant(1)), QStringLiteral("Int64 -2147483649"));
    EXPECT_EQ(Show(Variant(100000) * Variant(100000)), QStringLiteral("Int64 10000000000"));
    EXPECT_EQ(Show(Variant(qint64(2)) + Variant(3)), QStringLiteral("Int64 5"));
    EXPECT_EQ(Show(-Variant(MinInt)), QStringLiteral("Int64 2147483648"));
    EXPECT_EQ(MessageOf<EIntOverflow>([] { Variant(std::numeric_limits<qint64>::max()) + Variant(1); }),
              QStringLiteral("Integer overflow"));
    EXPECT_THROW(-Variant(std::numeric_limits<qint64>::min()), EIntOverflow);
}

TEST(VariantOps, DivisionIsAlwaysFloating)
{
    EXPECT_EQ(Show(Variant(1) / Variant(2)), QStringLiteral("Double 0,5"));
    EXPECT_EQ(Show(Variant(7) / Variant(7)), QStringLiteral("Double 1"));
    EXPECT_EQ(MessageOf<EZeroDivide>([] { Variant(1) / Variant(0); }),
              QStringLiteral("Floating point division by zero"));
    EXPECT_THROW(Variant(1.5) / Variant(), EZeroDivide);
    EXPECT_EQ(MessageOf<EInvalidOp>([] { Variant(0) / Variant(0); }),
              QStringLiteral("Invalid floating point operation"));
    EXPECT_THROW(Variant(1e308) / Variant(1e-308), EOverflow);
}

TEST(VariantOps, DivAndModAreIntegerOperations)
{
    EXPECT_EQ(Show(VarIntDiv(Variant(7), Variant(2))), QStringLiteral("Integer 3"));
    EXPECT_EQ(VarIntDiv(Variant(-7), Variant(2)).AsInteger(), -3);
    EXPECT_EQ(VarMod(Variant(7), Variant(2)).AsInteger(), 1);
    EXPECT_EQ(VarMod(Variant(-7), Variant(2)).AsInteger(), -1);
    EXPECT_EQ(VarIntDiv(Variant(7.5), Variant(2)).AsInteger(), 4);
    EXPECT_EQ(MessageOf<EDivByZero>([] { VarIntDiv(Variant(7), Variant(0)); }), QStringLiteral("Division by zero"));
    EXPECT_THROW(VarMod(Variant(7), Variant()), EDivByZero);
    EXPECT_THROW(VarIntDiv(Variant(std::numeric_limits<qint64>::min()), Variant(-1)), EIntOverflow);
    EXPECT_EQ(VarMod(Variant(std::numeric_limits<qint64>::min()), Variant(-1)).AsInteger(), 0);
}

TEST(VariantOps, ShiftsWrapWithinThirtyTwoBits)
{
    EXPECT_EQ(Show(VarShl(Variant(1), Variant(31))), QStringLiteral("Integer -2147483648"));
    EXPECT_EQ(VarShl(Variant(1), Variant(32)).AsInteger(), 1);
    EXPECT_EQ(VarShr(Variant(-1), Variant(28)).AsInteger(), 15);
    EXPECT_EQ(Show(VarShl(Variant(qint64(1)), Variant(40))), QStringLiteral("Int64 1099511627776"));
}

TEST(VariantOps, LogicalOnBooleansBitwiseOnIntegers)
{
    EXPECT_EQ(Show(VarAnd(Variant(true), Variant(false))), QStringLiteral("Boolean False"));
    EXPECT_EQ(Show(VarOr(Variant(true), Variant(false))), QStringLiteral("Boolean True"));
    EXPECT_EQ(Show(VarXor(Variant(true), Variant(true))), QStringLiteral("Boolean False"));
    EXPECT_EQ(Show(VarAnd(Variant("True"), Variant(true))), QStringLiteral("Boolean True"));
    EXPECT_EQ(Show(VarAnd(Variant(12), Variant(10))), QStringLiteral("Integer 8"));
    EXPECT_EQ(Show(VarOr(Variant(12), Variant(3))), QStringLiteral("Integer 15"));
    EXPECT_EQ(Show(VarXor(Variant(qint64(5)), Variant(1))), QStringLiteral("Int64 4"));
    EXPECT_EQ(Show(VarNot(Variant(true))), QStringLiteral("Boolean False"));
    EXPECT_EQ(Show(VarNot(Variant(0))), QStringLiteral("Integer -1"));
    EXPECT_EQ(Show(VarNot(Variant("false"))), QStringLiteral("Boolean True"));
    EXPECT_EQ(Show(VarNot(Variant("5"))), QStringLiteral("Integer -6"));
    EXPECT_THROW(VarNot(Variant("x")), EVariantTypeCastError);
}

TEST(VariantOps, Negation)
{
    EXPECT_EQ(Show(-Variant(5)), QStringLiteral("Integer -5"));
    EXPECT_EQ(Show(-Variant(2.5)), QStringLiteral("Double -2,5"));
    EXPECT_EQ(Show(-Variant(Currency::FromScaled(15000))), QStringLiteral("Currency -1,5"));
    EXPECT_EQ(Show(-Variant("3")), QStringLiteral("Integer -3"));
    EXPECT_EQ(Show(-Variant()), QStringLiteral("Integer 0"));
}

TEST(VariantOps, NullComparisons)
{
    const Variant null = Variant::Null();
    EXPECT_TRUE(null == null);
    EXPECT_FALSE(null != null);
    EXPECT_TRUE(null <= null);
    EXPECT_FALSE(null < null);
    EXPECT_FALSE(null == Variant(1));
    EXPECT_TRUE(null != Variant(1));
    EXPECT_FALSE(null < Variant(1));
    EXPECT_FALSE(null > Variant(1));
    EXPECT_FALSE(Variant(1) <= null);
    EXPECT_FALSE(Variant(1) >= null);
    EXPECT_EQ(VarCompareValue(null, Variant()), vrNotEqual);
}

TEST(VariantOps, ComparisonsAcrossKinds)
{
    EXPECT_TRUE(Variant(1) < Variant(2));
    EXPECT_TRUE(Variant(1) == Variant(1.0));
    EXPECT_TRUE(Variant(qint64(3)) > Variant(2.5));
    EXPECT_TRUE(Variant(Currency::FromScaled(15000)) == Variant(1.5));
    EXPECT_TRUE(Variant(Currency::FromScaled(20000)) == Variant(2));
    EXPECT_TRUE(Variant() == Variant(0));
    EXPECT_TRUE(Variant() == Variant(""));
    EXPECT_TRUE(Variant() == Variant());
    EXPECT_TRUE(Variant("10") == Variant(10));
    EXPECT_FALSE(Variant("10") < Variant(9));
    EXPECT_TRUE(Variant("10") < Variant("9"));
    EXPECT_TRUE(Variant(true) == Variant(-1));
    EXPECT_TRUE(Variant(false) < Variant(true));
    EXPECT_TRUE(Variant("True") == Variant(true));
    EXPECT_TRUE(Variant::FromOleStr(QStringLiteral("a")) == Variant("a"));
    EXPECT_THROW((void)(Variant("abc") == Variant(5)), EVariantTypeCastError);
}

TEST(VariantOps, StringsCompareCaseSensitivelyInAlphabeticalOrder)
{
    EXPECT_TRUE(Variant("a") < Variant("b"));
    EXPECT_FALSE(Variant("a") == Variant("A"));
    EXPECT_TRUE(Variant("Ёж") > Variant("Аист"));
    EXPECT_TRUE(Variant("ёж") < Variant("я"));
    EXPECT_TRUE(Variant("ab") < Variant("abc"));
}

TEST(VariantOps, ArraysTakeNoPartInArithmetic)
{
    const Variant a = VarArrayCreate({0, 1}, varVariant);
    EXPECT_EQ(MessageOf<EVariantInvalidOpError>([&a] { a + Variant(1); }),
              QStringLiteral("Invalid variant operation"));
    EXPECT_THROW((void)(a == a), EVariantInvalidOpError);
    EXPECT_THROW(-a, EVariantInvalidOpError);
    EXPECT_THROW(VarNot(a), EVariantInvalidOpError);
}
