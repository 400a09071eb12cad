// Operators, their priorities and types, in every language.

#include "ScriptTestSupport.h"

#include "script/zqExpressions.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/core/VariantOps.h"

namespace {

// The value of one PascalScript expression, kept in a Variant variable.
Variant pascal(const QString &expression, ScriptRunner &r)
{
    EXPECT_TRUE(r.Run(QStringLiteral("PascalScript"),
                      QStringLiteral("var v: Variant;\nbegin\n  v := ") + expression + QStringLiteral("\nend.")))
        << qPrintable(expression);
    return r.Value(QStringLiteral("v"));
}

Variant pascal(const QString &expression)
{
    ScriptRunner r;
    return pascal(expression, r);
}

TEST(zqExpressions, PrioritiesAndAssociation)
{
    EXPECT_EQ(pascal(QStringLiteral("2 + 3 * 4")).AsInteger(), 14);
    EXPECT_EQ(pascal(QStringLiteral("(2 + 3) * 4")).AsInteger(), 20);
    EXPECT_EQ(pascal(QStringLiteral("10 - 4 - 3")).AsInteger(), 3);
    EXPECT_EQ(pascal(QStringLiteral("-2 * 3")).AsInteger(), -6);
    EXPECT_EQ(pascal(QStringLiteral("not 1 = 1")).AsBoolean(), false) << "(not 1) = 1: -2 = 1";
    EXPECT_EQ(pascal(QStringLiteral("2 * (3 + (4 - 1)) div 4")).AsInteger(), 3);
    // AND binds like "*": 1 < (2 and 3) < 4 compares (1 < 2) with 4.
    EXPECT_EQ(pascal(QStringLiteral("1 or 2 * 4")).AsInteger(), 9);
    EXPECT_EQ(pascal(QStringLiteral("6 and 3 + 1")).AsInteger(), 3);
}

TEST(zqExpressions, EveryOperator)
{
    EXPECT_DOUBLE_EQ(pascal(QStringLiteral("1 / 2")).AsDouble(), 0.5);
    EXPECT_EQ(pascal(QStringLiteral("7 div 2")).AsInteger(), 3);
    EXPECT_EQ(pascal(QStringLiteral("7 mod 2")).AsInteger(), 1);
    EXPECT_EQ(pascal(QStringLiteral("1 shl 4 shr 2")).AsInteger(), 4);
    EXPECT_EQ(pascal(QStringLiteral("12 xor 10")).AsInteger(), 6);
    EXPECT_EQ(pascal(QStringLiteral("12 and 10")).AsInteger(), 8);
    EXPECT_EQ(pascal(QStringLiteral("12 or 3")).AsInteger(), 15);
    EXPECT_EQ(pascal(QStringLiteral("'ab' + 'c'")).AsString(), QStringLiteral("abc"));
    EXPECT_TRUE(pascal(QStringLiteral("'a' < 'b'")).AsBoolean());
    for (const char *comparison : {"1 < 2", "2 > 1", "1 <= 1", "1 >= 1", "1 <> 2", "2 = 2", "3 in [1, 3..5]"})
        EXPECT_TRUE(pascal(QString::fromLatin1(comparison)).AsBoolean()) << comparison;
    for (const char *comparison : {"2 in [1, 3..5]", "6 in [1, 3..5]", "1 in []", "True and False"})
        EXPECT_FALSE(pascal(QString::fromLatin1(comparison)).AsBoolean()) << comparison;
    EXPECT_TRUE(pascal(QStringLiteral("not False xor False")).AsBoolean());
}

TEST(zqExpressions, CFamilyAndBasicOperatorForms)
{
    ScriptRunner cpp;
    ASSERT_TRUE(cpp.Run(QStringLiteral("C++Script"), QStringLiteral(R"(
int a, b, c, d; bool e;
{ a = 7 % 4 << 2; b = 5 ^ 1; c = 6 && 3 || 8; d = 20 >> 1; e = !(a == 12) || (a != 12); }
)")));
    EXPECT_EQ(cpp.Int(QStringLiteral("a")), 12);
    EXPECT_EQ(cpp.Int(QStringLiteral("b")), 4);
    EXPECT_EQ(cpp.Int(QStringLiteral("c")), 10);
    EXPECT_EQ(cpp.Int(QStringLiteral("d")), 10);
    EXPECT_FALSE(cpp.Value(QStringLiteral("e")).AsBoolean());

    ScriptRunner basic;
    ASSERT_TRUE(basic.Run(QStringLiteral("BasicScript"), QStringLiteral("n = 5\ns = \"n=\" & n\nq = 17 \\ 5 Mod 2\n")));
    EXPECT_EQ(basic.Text(QStringLiteral("s")), QStringLiteral("n=5"));
    EXPECT_EQ(basic.Int(QStringLiteral("q")), 1);
}

TEST(zqExpressions, LogicalAndOrShortCut)
{
    ScriptRunner r;
    ASSERT_TRUE(r.Run(QStringLiteral("PascalScript"), QStringLiteral(R"(
var calls: Integer; a, b: Boolean;
function F: Boolean;
begin
  calls := calls + 1;
  Result := True
end;
begin
  a := False and F;
  b := True or F;
  a := a or F
end.
)")));
    EXPECT_EQ(r.Int(QStringLiteral("calls")), 1);
    EXPECT_TRUE(r.Value(QStringLiteral("a")).AsBoolean());
}

TEST(zqExpressions, InAcceptsASetHeldInAVariable)
{
    ScriptRunner r;
    ASSERT_TRUE(r.Run(QStringLiteral("PascalScript"), QStringLiteral(R"(
var s: Variant; a, b, c: Boolean;
begin
  s := [1, 3..5];
  a := 4 in s; b := 2 in s; c := 5 in s
end.
)")));
    EXPECT_TRUE(r.Value(QStringLiteral("a")).AsBoolean());
    EXPECT_FALSE(r.Value(QStringLiteral("b")).AsBoolean());
    EXPECT_TRUE(r.Value(QStringLiteral("c")).AsBoolean());
}

TEST(zqExpressions, TypesAreCheckedAtBuildTime)
{
    ScriptRunner r;
    EXPECT_FALSE(r.Compile(QStringLiteral("PascalScript"),
                           QStringLiteral("var i: Integer;\nbegin\n  if i = 'x' then i := 1\nend.")));
    EXPECT_EQ(r.Error(), QStringLiteral("Incompatible types at 3:9"));
    EXPECT_FALSE(r.Compile(QStringLiteral("PascalScript"), QStringLiteral("var s: String;\nbegin\n  s := -s\nend.")));
    EXPECT_EQ(r.script.ErrorMsg, QStringLiteral("Incompatible types"));
}

TEST(zqExpressions, DeepNestingIsRefusedNotOverflowed)
{
    ScriptRunner r;
    QString chain = QStringLiteral("1");
    for (int i = 0; i < 5000; ++i)
        chain += QStringLiteral(" + 1");
    EXPECT_FALSE(r.Compile(QStringLiteral("PascalScript"),
                           QStringLiteral("var v: Variant;\nbegin\n  v := ") + chain + QStringLiteral("\nend.")));
    EXPECT_EQ(r.script.ErrorMsg, QStringLiteral("Expression too complex"));

    const QString nested = QString(3000, u'(') + u'1' + QString(3000, u')');
    EXPECT_FALSE(r.Compile(QStringLiteral("JScript"), QStringLiteral("v = ") + nested + u';'));
    EXPECT_EQ(r.script.ErrorMsg, QStringLiteral("Expression too complex"));
}

TEST(zqExpressions, KindTableNamesEveryOperator)
{
    TzqOperatorKind kind;
    ASSERT_TRUE(zqOperatorKindOf(QStringLiteral("strcat"), kind));
    EXPECT_EQ(TzqOperatorNode(kind).ClassName(), QStringLiteral("TStrCatNode"));
    EXPECT_EQ(TzqOperatorNode(kind).Priority(), 3);
    ASSERT_TRUE(zqOperatorKindOf(QStringLiteral("And"), kind));
    EXPECT_EQ(TzqOperatorNode(kind).Priority(), 2);
    EXPECT_FALSE(zqOperatorKindOf(QStringLiteral("**"), kind));
}

} // namespace

namespace {

// What an operation gives: "Integer 5", "Int64 2147483648", or the class and
// message of what it raises.
template <class Operation>
QString outcome(Operation operation)
{
    try {
        const Variant v = operation();
        return VarTypeAsText(v.Type()) + u' ' + VarToStr(v);
    } catch (const Exception &e) {
        return e.ClassName() + QStringLiteral(": ") + e.Message();
    }
}

} // namespace

// Integer, Double and Boolean operands are computed inline; every result,
// its kind and every error must be the variant operators' own, whether the
// operands are declared as numbers or come in Variants.
TEST(zqExpressions, InlineOperatorsGiveTheVariantOperatorsResults)
{
    struct Op {
        const char *text;
        Variant (*apply)(const Variant &, const Variant &);
    };
    const Op ops[] = {
        {"+", zqAdd},
        {"-", VarSub},
        {"*", VarMul},
        {"/", VarDivide},
        {"div", VarIntDiv},
        {"mod", VarMod},
        {"shl", VarShl},
        {"shr", VarShr},
        {"xor", VarXor},
        {"<", [](const Variant &a, const Variant &b) { return Variant(a < b); }},
        {">=", [](const Variant &a, const Variant &b) { return Variant(a >= b); }},
        {"<>", [](const Variant &a, const Variant &b) { return Variant(a != b); }},
        {"=", [](const Variant &a, const Variant &b) { return Variant(a == b); }},
    };
    const Variant values[] = {Variant(7),           Variant(-3),  Variant(0),       Variant(2147483647),
                              Variant(-2147483647 - 1), Variant(2.5), Variant(1e308),   Variant(-0.0),
                              Variant(true),        Variant(false), Variant("12"),   Variant::Null(),
                              Variant(qint64(5))};
    for (const Op &op : ops) {
        for (const char *declared : {"Variant", "Integer", "Extended", "Boolean"}) {
            ScriptRunner r;
            const QString type = QString::fromLatin1(declared);
            if (!r.Compile(QStringLiteral("PascalScript"),
                           QStringLiteral("var a, b: %1; v: Variant;\nbegin\n  v := a %2 b\nend.")
                               .arg(type, QString::fromLatin1(op.text))))
                continue; // the operator does not apply to the type
            auto *a = r.script.Find(QStringLiteral("a"));
            auto *b = r.script.Find(QStringLiteral("b"));
            for (const Variant &x : values) {
                for (const Variant &y : values) {
                    try {
                        a->SetValue(x);
                        b->SetValue(y);
                    } catch (const Exception &) {
                        continue; // the declared type cannot hold the value
                    }
                    const Variant left = a->GetValue();
                    const Variant right = b->GetValue();
                    const QString expected = outcome([&] { return op.apply(left, right); });
                    const QString got = outcome([&] {
                        r.script.Execute();
                        return r.Value(QStringLiteral("v"));
                    });
                    EXPECT_EQ(got.toStdString(), expected.toStdString()) << declared << ' ' << qPrintable(VarToStr(left)) << ' ' << op.text << ' '
                                             << qPrintable(VarToStr(right));
                }
            }
        }
    }

    // Negation and NOT beside the Integer range and on Booleans.
    ScriptRunner r;
    ASSERT_TRUE(r.Run(QStringLiteral("PascalScript"), QStringLiteral(R"(
var i: Integer; x: Extended; b: Boolean; n, m, y, c: Variant;
begin
  i := -2147483647 - 1; x := 2.5; b := True;
  n := -i; m := not i; y := -x; c := not b
end.
)")));
    EXPECT_EQ(outcome([&] { return r.Value(QStringLiteral("n")); }), QStringLiteral("Int64 2147483648"));
    EXPECT_EQ(r.Int(QStringLiteral("m")), 2147483647);
    EXPECT_EQ(r.Value(QStringLiteral("y")).AsDouble(), -2.5);
    EXPECT_FALSE(r.Value(QStringLiteral("c")).AsBoolean());
}
