#include "script/zqDeclarations.h"
#include "script/zqScript.h"

#include "common/TestSupport.h"

#include <gtest/gtest.h>

namespace {

// "Name: Type [macro] (var P: Type = default?, ...)"; a default shows as its
// text and a trailing '?' marks an optional parameter.
QString describe(const QString &declaration, TzqScript *script = nullptr)
{
    const auto d = ParseMethodSyntax(declaration, script);
    QStringList params;
    for (int i = 0; i < d->Count(); ++i) {
        const TzqParamItem *p = d->Params(i);
        QString text = (p->IsVarParam ? QStringLiteral("var ") : QString()) + p->Name + u':' + p->TypeName;
        if (p->IsOptional)
            text += u'=' + VarToStr(p->DefValue) + u'?';
        params << text;
    }
    return d->Name + u':' + d->TypeName + (d->IsMacro ? QStringLiteral(" macro") : QString()) + QStringLiteral(" (")
           + params.join(QStringLiteral(", ")) + u')';
}

} // namespace

TEST(zqDeclarations, MacroFunctions)
{
    EXPECT_EQ(describe(QStringLiteral("macrofunction SUM(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant")),
              QStringLiteral("SUM:Variant macro (Expr:Variant, Band:Variant=0?, Flags:Integer=0?)"));
    EXPECT_EQ(describe(QStringLiteral("macrofunction IIF(Expr: Boolean; TrueValue, FalseValue: Variant): Variant")),
              QStringLiteral("IIF:Variant macro (Expr:Boolean, TrueValue:Variant, FalseValue:Variant)"));
}

TEST(zqDeclarations, ParameterGroups)
{
    EXPECT_EQ(describe(QStringLiteral("procedure P(a, b: Integer = 5)")),
              QStringLiteral("P: (a:Integer, b:Integer=5?)"));
    EXPECT_EQ(describe(QStringLiteral("procedure DecodeDate(Date: TDateTime; var Year, Month, Day: Word)")),
              QStringLiteral("DecodeDate: (Date:TDateTime, var Year:Word, var Month:Word, var Day:Word)"));
    EXPECT_EQ(describe(QStringLiteral("function BoolToStr(const B: Boolean): string;")),
              QStringLiteral("BoolToStr:string (B:Boolean)"));
    EXPECT_EQ(describe(QStringLiteral("function Pos(s: String = 'a:b'; n: Integer = -1; x: Extended = 1.5): Integer")),
              QStringLiteral("Pos:Integer (s:String=a:b?, n:Integer=-1?, x:Extended=1,5?)"));
    EXPECT_EQ(describe(QStringLiteral("procedure Beep")), QStringLiteral("Beep: ()"));
}

TEST(zqDeclarations, NamedDefaultsAndTypesComeFromTheScript)
{
    TzqScript parent;
    auto red = std::make_unique<TzqCustomVariable>(QStringLiteral("clRed"), fvtInt, QStringLiteral("Integer"));
    red->Value = Variant(255);
    parent.Add(QStringLiteral("clRed"), std::move(red));
    parent.Add(QStringLiteral("Integer"), std::make_unique<TzqCustomVariable>(QStringLiteral("Integer"), fvtInt, QString()));
    TzqScript script;
    script.Parent = &parent;

    const auto d = ParseMethodSyntax(QStringLiteral("function F(c: Integer = clRed; u: TFont = Unknown): integer"), &script);
    EXPECT_EQ(d->Typ, fvtInt);
    ASSERT_EQ(d->Count(), 2);
    EXPECT_EQ(d->Params(0)->Typ, fvtInt);
    EXPECT_EQ(d->Params(0)->DefValue.AsInteger(), 255);
    EXPECT_EQ(d->Params(1)->Typ, fvtClass);
    EXPECT_TRUE(d->Params(1)->DefValue.IsEmpty());
    EXPECT_EQ(StrToVarType(QStringLiteral("INTEGER"), &script), fvtInt);
    EXPECT_EQ(StrToVarType(QStringLiteral("TStrings"), &script), fvtClass);
}

TEST(zqDeclarations, MalformedDeclarationsEnd)
{
    EXPECT_EQ(describe(QStringLiteral("procedure P(a: Integer; b")), QStringLiteral("P: (a:Integer, b:)"));
    EXPECT_EQ(describe(QStringLiteral("procedure P(a: TSet = []; b: Integer)")),
              QStringLiteral("P: (a:TSet=?, b:Integer)"));
    EXPECT_EQ(describe(QStringLiteral("procedure P(1 %; ]")), QStringLiteral("P: ()"));
    EXPECT_EQ(describe(QString()), QStringLiteral(": ()"));
}

TEST(zqDeclarations, Constants)
{
    EXPECT_EQ(ParseConstant(QStringLiteral("'it''s'")).AsString(), QStringLiteral("it''s"));
    EXPECT_EQ(VarType(ParseConstant(QStringLiteral("2147483647"))), varInteger);
    EXPECT_EQ(VarType(ParseConstant(QStringLiteral("2147483648"))), varInt64);
    EXPECT_EQ(ParseConstant(QStringLiteral("2147483648")).AsInt64(), Q_INT64_C(2147483648));
    EXPECT_EQ(ParseConstant(QStringLiteral("$FF")).AsInteger(), 255);
    EXPECT_EQ(ParseConstant(QStringLiteral("-1")).AsInteger(), -1);
    EXPECT_DOUBLE_EQ(ParseConstant(QStringLiteral("1.5e3")).AsDouble(), 1500.0);
    EXPECT_TRUE(ParseConstant(QString()).IsEmpty());
}
