// The script component: its item table, registration, the parent chain,
// calls by name and the run flags.

#include "ScriptTestSupport.h"

#include "script/zqClasses.h"
#include "script/zqStatements.h"
#include "toolkit/core/Exceptions.h"

namespace {

Variant VarArrayOf(std::initializer_list<int> values)
{
    Variant array = VarArrayCreate({0, int(values.size()) - 1}, varVariant);
    int i = 0;
    for (int value : values)
        array.PutElement({i++}, Variant(value));
    return array;
}

TEST(zqScript, TableLookupThroughTheParentChain)
{
    TzqScript parent;
    TzqScript child;
    child.Parent = &parent;
    parent.AddVariable(QStringLiteral("Shared"), QStringLiteral("Variant"), Variant(1));
    EXPECT_EQ(child.FindLocal(QStringLiteral("shared")), nullptr);
    EXPECT_TRUE(child.Find(QStringLiteral("SHARED")));

    parent.AddConst(QStringLiteral("Shared"), QStringLiteral("Variant"), Variant(2));
    EXPECT_EQ(parent.Find(QStringLiteral("Shared"))->GetValue().AsInteger(), 1) << "a known name is left alone";

    parent.Add(QStringLiteral("Twin"), std::make_unique<TzqVariable>(QStringLiteral("Twin"), fvtInt, QString()));
    auto later = std::make_unique<TzqVariable>(QStringLiteral("twin"), fvtInt, QString());
    TzqVariable *added = later.get();
    parent.Add(QStringLiteral("twin"), std::move(later));
    EXPECT_EQ(parent.Find(QStringLiteral("Twin")), added) << "the one added last is found first";
}

TEST(zqScript, EnumerationsAndSets)
{
    TzqScript script;
    script.AddEnum(QStringLiteral("TAlign"), QStringLiteral(" alLeft , alCenter,alRight "));
    script.AddEnumSet(QStringLiteral("TStyle"), QStringLiteral("fsBold, fsItalic, fsUnderline"));
    EXPECT_EQ(script.Find(QStringLiteral("alRight"))->GetValue().AsInteger(), 2);
    EXPECT_EQ(script.Find(QStringLiteral("fsUnderline"))->GetValue().AsInteger(), 4);
    EXPECT_EQ(script.Find(QStringLiteral("alLeft"))->Typ, fvtEnum);
    EXPECT_TRUE(script.Find(QStringLiteral("alLeft"))->IsReadOnly);
}

TEST(zqScript, VariablesConvertWhatTheyStore)
{
    ScriptRunner r;
    r.script.AddVariable(QStringLiteral("I"), QStringLiteral("Integer"), Variant(3.7));
    r.script.AddVariable(QStringLiteral("F"), QStringLiteral("Extended"), Variant::FromDate(45000.5));
    r.script.AddVariable(QStringLiteral("S"), QStringLiteral("String"), Variant(5));
    EXPECT_EQ(VarType(r.Value(QStringLiteral("I"))), varInteger);
    EXPECT_EQ(r.Int(QStringLiteral("I")), 4);
    EXPECT_EQ(VarType(r.Value(QStringLiteral("F"))), varDate);
    EXPECT_EQ(r.Text(QStringLiteral("S")), QStringLiteral("5"));

    r.script.OnGetVarValue = [](const QString &name, TzqVarType, const Variant &) {
        return name == u"Asked" ? Variant(0) : Variant::Null();
    };
    r.script.AddVariable(QStringLiteral("Asked"), QStringLiteral("Integer"), Variant(9));
    r.script.AddVariable(QStringLiteral("Stored"), QStringLiteral("Integer"), Variant(9));
    EXPECT_EQ(r.Int(QStringLiteral("Asked")), 0);
    EXPECT_EQ(r.Int(QStringLiteral("Stored")), 9);
}

TEST(zqScript, CallFunctionByName)
{
    ScriptRunner r;
    ASSERT_TRUE(r.Run(QStringLiteral("PascalScript"), QStringLiteral(R"(
var depth: Integer;
function Add(a, b: Integer; c: Integer = 100): Integer;
begin
  Result := a + b + c
end;
procedure Bump(var x: Integer);
begin
  x := x + 1
end;
function Again(n: Integer): Integer;
begin
  depth := depth + 1;
  if n > 0 then Again(n - 1);
  Result := n
end;
begin
end.
)")));
    EXPECT_EQ(r.script.CallFunction(QStringLiteral("Add"), VarArrayOf({1, 2, 3})).AsInteger(), 6);
    EXPECT_EQ(r.script.CallFunction(QStringLiteral("Add"), VarArrayOf({1, 2, 3, 4, 5})).AsInteger(), 6)
        << "arguments beyond the parameters are left out";
    Variant params = VarArrayOf({41});
    r.script.CallFunctionVar(QStringLiteral("Bump"), params);
    EXPECT_EQ(params.GetElement({0}).AsInteger(), 42);
    EXPECT_TRUE(r.script.CallFunction(QStringLiteral("depth"), Variant()).IsNull());
    EXPECT_TRUE(r.script.CallFunction(QStringLiteral("Missing"), Variant()).IsNull());
    EXPECT_EQ(r.script.CallFunction(QStringLiteral("Again"), VarArrayOf({3})).AsInteger(), 3);
    EXPECT_EQ(r.Int(QStringLiteral("depth")), 4);
}

TEST(zqScript, ExpressionWrapperUnderAScript)
{
    ScriptRunner report;
    ASSERT_TRUE(report.Run(QStringLiteral("PascalScript"), QStringLiteral("var Total: Integer;\nbegin\n  Total := 40\nend.")));
    TzqScript wrapper;
    wrapper.Parent = &report.script;
    report.script.IsMainScript = false;
    wrapper.Lines()->SetText(QStringLiteral("function Expr: Variant;\nbegin\n  Result := Total + 2\nend;\nbegin end."));
    ASSERT_TRUE(wrapper.Compile()) << qPrintable(wrapper.ErrorMsg);
    EXPECT_EQ(wrapper.CallFunction(QStringLiteral("Expr"), Variant()).AsInteger(), 42);
    EXPECT_EQ(report.script.RunningLocalScript, nullptr);
}

class MarkerModule : public TzqRTTIModule
{
public:
    explicit MarkerModule(TzqScript *script) : TzqRTTIModule(script)
    {
        script->AddConst(QStringLiteral("FromModule"), QStringLiteral("Variant"), Variant(1));
    }
};

TEST(zqScript, ClearKeepsTheModulesAndClearItemsOnlyRemovesAnOwnersItems)
{
    RTTIModuleList()->push_back([](TzqScript *script) { return std::make_unique<MarkerModule>(script); });
    TzqScript script;
    script.AddRTTIModules();
    RTTIModuleList()->pop_back();
    const int owner = 0;
    script.AddedBy = &owner;
    script.AddVariable(QStringLiteral("Owned"), QStringLiteral("Variant"), Variant(1));
    script.AddedBy = nullptr;
    script.AddVariable(QStringLiteral("Free"), QStringLiteral("Variant"), Variant(1));

    script.ClearItems(&owner);
    EXPECT_FALSE(script.Find(QStringLiteral("Owned")));
    EXPECT_TRUE(script.Find(QStringLiteral("Free")));
    script.Clear();
    EXPECT_FALSE(script.Find(QStringLiteral("Free")));
    EXPECT_TRUE(script.Find(QStringLiteral("FromModule")));
    script.RemoveRTTIModules();
    EXPECT_FALSE(script.Find(QStringLiteral("FromModule")));
}

TEST(zqScript, StringIndexIsChecked)
{
    ScriptRunner r;
    ASSERT_TRUE(r.Compile(QStringLiteral("PascalScript"), QStringLiteral(R"(
var s, copy: String; c: String;
procedure ReadOut; begin c := s[4] end;
procedure WriteOut; begin s[0] := 'x' end;
begin
  s := 'abc'; copy := s; s[1] := 'X'
end.
)")));
    r.script.Execute();
    EXPECT_EQ(r.Text(QStringLiteral("s")), QStringLiteral("Xbc"));
    EXPECT_EQ(r.Text(QStringLiteral("copy")), QStringLiteral("abc"));
    EXPECT_EQ(r.Raised(QStringLiteral("ReadOut")), QStringLiteral("String index out of range: 4"));
    EXPECT_THROW(r.script.CallFunction(QStringLiteral("WriteOut"), Variant()), ERangeError);
}

TEST(zqScript, ExecuteResetsTheFlagsAlsoWhenAnExceptionPasses)
{
    ScriptRunner r;
    ASSERT_TRUE(r.Compile(QStringLiteral("PascalScript"), QStringLiteral("var i: Integer;\nbegin\n  i := 1 div i\nend.")));
    EXPECT_THROW(r.script.Execute(), EDivByZero);
    EXPECT_FALSE(r.script.IsRunning);
    EXPECT_FALSE(r.script.ExitCalled);
}

} // namespace
