// The binding mechanism: modules registered from the start-up list, class
// members declared together with their service, and the walk over every
// registered member that finds none left unserved.

#include "ModuleTestSupport.h"
#include "UnservedMembers.h"

#include "script/zqClassBinding.h"
#include "script/zqSysFunctions.h"
#include "toolkit/classes/TStringList.h"

#include <gtest/gtest.h>

namespace {

// A module after the core class module, which owns TStrings already: what it
// binds on that class is not added.
class StringsModule : public TzqRTTIModule
{
public:
    explicit StringsModule(TzqScript *script) : TzqRTTIModule(script)
    {
        TzqClassBinding<TStrings>(script, QStringLiteral("TObject")).Method("procedure Twice", nullptr);
    }
};

class ModuleScript : public ModuleRunner
{
public:
    ModuleScript() : ModuleRunner([](TzqScript *s) { return std::make_unique<StringsModule>(s); }) {}
};

TEST(zqBindingModules, TheSystemLibraryStartsTheModuleList)
{
    ASSERT_TRUE(RTTIModuleList());
    ASSERT_FALSE(RTTIModuleList()->empty());
    TzqScript bare;
    EXPECT_FALSE(bare.Find(QStringLiteral("IntToStr")));
    TzqScript script;
    (*RTTIModuleList())[0](&script);
    EXPECT_TRUE(script.Find(QStringLiteral("IntToStr")));
    EXPECT_FALSE(script.Find(QStringLiteral("TStrings")));
}

TEST(zqBindingModules, EveryRegisteredMemberIsServed)
{
    ModuleScript s;
    EXPECT_EQ(unserved(s.script), QStringList());
    TzqClassVariable *strings = s.script.FindClass(QStringLiteral("TStrings"));
    ASSERT_TRUE(strings);
    EXPECT_EQ(strings->MemberCount(), 22);
    EXPECT_FALSE(strings->Find(QStringLiteral("Twice")));
}

TEST(zqBindingModules, MembersReachTheHostThroughDescendantsAndIndexedWrites)
{
    ModuleScript s;
    ASSERT_TRUE(s.Run(QStringLiteral(R"(
var list: TStringList; count, first, all: String;
begin
  list := TStringList.Create;
  list.Add('one'); list.Add('two');
  list[1] := 'TWO';
  list.Strings[0] := 'ONE';
  count := IntToStr(list.Count); first := list[0]; all := list.Text;
  list.Free
end.
)")));
    EXPECT_EQ(s.Text(QStringLiteral("count")), QStringLiteral("2"));
    EXPECT_EQ(s.Text(QStringLiteral("first")), QStringLiteral("ONE"));
    EXPECT_EQ(s.Text(QStringLiteral("all")), QStringLiteral("ONE\r\nTWO\r\n"));
}

TEST(zqBindingModules, ObjectsAreCheckedHandles)
{
    ModuleScript s;
    EXPECT_FALSE(s.Run(QStringLiteral("begin TStringList(12345).Add('x') end.")));
    EXPECT_FALSE(s.Run(QStringLiteral("var v: Variant; begin v := Null; TStringList(v).Add('x') end.")));
    const ::testing::AssertionResult freed = s.Run(QStringLiteral(R"(
var a, b: TStringList;
begin
  a := TStringList.Create; b := a;
  a.Free;
  b.Add('x')
end.
)"));
    EXPECT_FALSE(freed);
    EXPECT_TRUE(QString::fromUtf8(freed.message()).startsWith(QStringLiteral("EInvalidObject")))
        << freed.message();
}

} // namespace
