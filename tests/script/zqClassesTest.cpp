// Host classes through the reflection adapter: published properties of every
// kind, constructors, methods, indexed and default properties, components,
// events, and the checks on object handles.

#include "HostSamples.h"
#include "ScriptTestSupport.h"

#include "script/zqClasses.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/TDataModule.h"
#include "toolkit/core/Exceptions.h"

namespace {

class HostScript : public ScriptRunner
{
public:
    HostScript()
    {
        RegisterClass<THostItem>();
        items = script.AddClass(ClassOf<THostItem>(), QStringLiteral("TComponent"));
        items->AddConstructor(QStringLiteral("constructor Create(AOwner: TComponent)"),
                              [this](TObject *instance, TClass, const QString &name, TzqMethodHelper *) {
                                  constructed << static_cast<THostItem *>(instance);
                                  EXPECT_EQ(name, QStringLiteral("CREATE"));
                                  return Variant(0);
                              });
        script.AddEnum(QStringLiteral("THostKind"), QStringLiteral("hkNone, hkSmall, hkLarge"));
        script.AddObject(QStringLiteral("Owner"), &owner);
    }

    THostItem *object(const QString &name) const { return qobject_cast<THostItem *>(zqObjectOf(Value(name))); }

    TComponent owner;
    TzqClassVariable *items = nullptr;
    QList<THostItem *> constructed;
};

TEST(zqClasses, PublishedPropertiesOfEveryKind)
{
    HostScript r;
    ASSERT_TRUE(r.Run(QStringLiteral("PascalScript"), QStringLiteral(R"(
var a, b: THostItem; count, serial: Integer; enabled, isItem: Boolean; caption, mark: String;
begin
  a := THostItem.Create(Owner);
  b := THostItem.Create(Owner);
  a.Count := 3.6; a.Enabled := True; a.Ratio := 1.5; a.Caption := 'abc'; a.Kind := hkLarge;
  a.Flags := 5; a.Mark := 'Q'; a.Data := 'any'; a.Next := b;
  a.Next.Count := a.Count + 10;
  a.Caption[2] := 'X';
  count := b.Count; serial := a.Serial; enabled := a.Enabled; caption := a.Caption; mark := a.Mark;
  isItem := a is THostItem;
  with b do Caption := 'with'
end.
)")));
    ASSERT_EQ(r.constructed.size(), 2);
    THostItem *a = r.object(QStringLiteral("a"));
    THostItem *b = r.object(QStringLiteral("b"));
    ASSERT_TRUE(a && b);
    EXPECT_EQ(r.constructed[0], a);
    EXPECT_EQ(a->Owner(), &r.owner);
    EXPECT_EQ(a->count, 4);
    EXPECT_TRUE(a->enabled);
    EXPECT_DOUBLE_EQ(a->ratio, 1.5);
    EXPECT_EQ(a->caption, QStringLiteral("aXc")) << "a character written through the property writes the text back";
    EXPECT_EQ(a->kind, HostSample::hkLarge);
    EXPECT_EQ(int(a->flags), 5);
    EXPECT_EQ(a->mark, u'Q');
    EXPECT_EQ(a->data.AsString(), QStringLiteral("any"));
    EXPECT_EQ(a->next, b);
    EXPECT_EQ(b->count, 14);
    EXPECT_EQ(b->caption, QStringLiteral("with"));
    EXPECT_EQ(r.Int(QStringLiteral("serial")), 77);
    EXPECT_EQ(VarType(r.Value(QStringLiteral("enabled"))), varBoolean);
    EXPECT_EQ(r.Text(QStringLiteral("mark")), QStringLiteral("Q"));
    EXPECT_TRUE(r.Value(QStringLiteral("isItem")).AsBoolean());
}

TEST(zqClasses, NewAndWithInTheOtherLanguages)
{
    HostScript cpp;
    ASSERT_TRUE(cpp.Run(QStringLiteral("C++Script"),
                        QStringLiteral("THostItem a;\n{ a = new THostItem(Owner); a.Count = 2; }\n")));
    EXPECT_EQ(cpp.object(QStringLiteral("a"))->count, 2);

    HostScript basic;
    basic.items->AddMethod(QStringLiteral("procedure Grow(By: Integer)"),
                           [](TObject *instance, TClass, const QString &, TzqMethodHelper *caller) {
                               static_cast<THostItem *>(instance)->count += caller->GetParams(0).AsInteger();
                               return Variant();
                           });
    ASSERT_TRUE(basic.Run(QStringLiteral("BasicScript"), QStringLiteral(R"(
Dim a As THostItem
Set a = New THostItem(Owner)
With a
  .Caption = "basic"
  .Grow 5
  Grow(2)
End With
)")));
    THostItem *item = basic.object(QStringLiteral("a"));
    EXPECT_EQ(item->caption, QStringLiteral("basic"));
    EXPECT_EQ(item->count, 7);
}

TEST(zqClasses, ReadOnlyPropertiesAndClassesAsValues)
{
    HostScript r;
    EXPECT_FALSE(r.Compile(QStringLiteral("PascalScript"),
                           QStringLiteral("var a: THostItem;\nbegin\n  a.Serial := 1\nend.")));
    EXPECT_EQ(r.Error(), QStringLiteral("Left side cannot be assigned to at 3:3"));
    const int live = int(r.constructed.size());
    ASSERT_TRUE(r.Run(QStringLiteral("PascalScript"), QStringLiteral("var v: Variant;\nbegin\n  v := THostItem\nend.")));
    EXPECT_TRUE(r.Value(QStringLiteral("v")).IsNull()) << "reading a class allocates nothing";
    EXPECT_EQ(r.constructed.size(), live);
    EXPECT_EQ(r.owner.ComponentCount(), 0);
}

TEST(zqClasses, NilStaleAndForgedObjectsRaise)
{
    HostScript r;
    ASSERT_TRUE(r.Compile(QStringLiteral("PascalScript"), QStringLiteral(R"(
var a: THostItem; v: Variant; flag: Boolean;
procedure UseNil; begin a.Count := 1 end;
procedure ReadNil; begin flag := a.Enabled end;
procedure Forged; begin v := 1234567; THostItem(v).Count := 1 end;
procedure Stale; begin v := a; a.Count := 2 end;
begin
  a := THostItem.Create(nil)
end.
)")));
    r.script.Execute();
    delete r.object(QStringLiteral("a"));
    for (const char *name : {"Stale", "Forged"})
        EXPECT_THROW(r.script.CallFunction(QString::fromLatin1(name), Variant()), EInvalidObject) << name;
    r.script.Find(QStringLiteral("a"))->Value = Variant(0);
    EXPECT_EQ(r.Raised(QStringLiteral("UseNil")), QStringLiteral("Object reference is nil: 'Count'"));
    EXPECT_THROW(r.script.CallFunction(QStringLiteral("ReadNil"), Variant()), EInvalidObject);
    EXPECT_FALSE(r.Value(QStringLiteral("flag")).AsBoolean());
}

TEST(zqClasses, MethodsIndexedAndDefaultProperties)
{
    HostScript r;
    QStringList written;
    r.items->AddMethodArrayCall(QStringLiteral("procedure Swap(var x, y: Integer)"),
                                [](TObject *, TClass, const QString &, Variant &params) {
                                    const Variant first = params.GetElement({0});
                                    params.PutElement({0}, params.GetElement({1}));
                                    params.PutElement({1}, first);
                                    return Variant();
                                });
    TzqMethodHelper *cells = r.items->AddIndexProperty(QStringLiteral("Cells"), QStringLiteral("Integer, Integer"),
                                                       QStringLiteral("Variant"), nullptr);
    cells->ArrayCallEvent = [&written](TObject *, TClass, const QString &name, Variant &params) {
        if (name == u"CELLS.SET") {
            for (int i = VarArrayLowBound(params, 1); i <= VarArrayHighBound(params, 1); ++i)
                written << VarToStr(params.GetElement({i}));
            return Variant();
        }
        return Variant(params.GetElement({0}).AsInteger() * 10 + params.GetElement({1}).AsInteger());
    };
    r.items->AddDefaultProperty(QStringLiteral("Items"), QStringLiteral("Integer"), QStringLiteral("Integer"),
                                [](TObject *, TClass, const QString &name, TzqMethodHelper *caller) {
                                    return name == u"ITEMS.GET" ? Variant(caller->GetParams(0).AsInteger() + 100)
                                                                : Variant(0);
                                });
    ASSERT_TRUE(r.Run(QStringLiteral("PascalScript"), QStringLiteral(R"(
var a: THostItem; x, y, cell, item: Integer;
begin
  a := THostItem.Create(Owner);
  x := 1; y := 2;
  a.Swap(x, y);
  a.Cells[3, 4] := 'v';
  cell := a.Cells[5, 6];
  item := a[7]
end.
)")));
    EXPECT_EQ(r.Int(QStringLiteral("x")), 2);
    EXPECT_EQ(r.Int(QStringLiteral("y")), 1);
    EXPECT_EQ(written, QStringList({QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("v")}));
    EXPECT_EQ(VarArrayHighBound(cells->ArgArray, 1), 1) << "the argument array keeps its size";
    EXPECT_EQ(r.Int(QStringLiteral("cell")), 56);
    EXPECT_EQ(r.Int(QStringLiteral("item")), 107);

    ScriptRunner plain;
    plain.script.AddClass(ClassOf<TComponent>(), QString());
    EXPECT_FALSE(plain.Compile(QStringLiteral("PascalScript"),
                               QStringLiteral("var c: TComponent;\nbegin\n  c[1] := 0\nend.")));
    EXPECT_EQ(plain.Error(), QStringLiteral("Class TComponent does not have a default property at 3:5"));
}

TEST(zqClasses, EventsNameScriptProcedures)
{
    HostScript r;
    r.items->AddEvent(QStringLiteral("OnChange"));
    r.items->AddEvent(QStringLiteral("OnMissing"));
    ASSERT_TRUE(r.Compile(QStringLiteral("PascalScript"), QStringLiteral(R"(
var a: THostItem; hits: Integer;
procedure Changed(Sender: THostItem); begin hits := hits + Sender.Count end;
procedure Clear; begin a.OnChange := '0' end;
procedure Missing; begin a.OnMissing := 'Changed' end;
procedure NotAProcedure; begin a.OnChange := 'hits' end;
begin
  a := THostItem.Create(Owner);
  a.OnChange := 'Changed'
end.
)")));
    r.script.Execute();
    THostItem *a = r.object(QStringLiteral("a"));
    ASSERT_TRUE(a && a->onChange);
    a->count = 3;
    a->onChange(a);
    a->onChange(a);
    EXPECT_EQ(r.Int(QStringLiteral("hits")), 6) << "the handler passes the sender to the procedure";
    r.script.CallFunction(QStringLiteral("Clear"), Variant());
    EXPECT_FALSE(a->onChange);
    EXPECT_EQ(r.Raised(QStringLiteral("Missing")), QStringLiteral("Event OnMissing not found"));
    EXPECT_EQ(r.Raised(QStringLiteral("NotAProcedure")), QStringLiteral("Event handler must be a procedure"));

    r.script.Execute();
    THostItem *again = r.object(QStringLiteral("a"));
    r.script.Clear();
    again->onChange(again); // the procedure is gone: nothing runs

}

TEST(zqClasses, FormsAndDataModulesShowTheirComponents)
{
    HostScript r;
    TDataModule module;
    module.SetName(QStringLiteral("Data"));
    auto *item = new THostItem(&module);
    item->SetName(QStringLiteral("Item1"));
    r.script.AddForm(&module);
    r.script.AddForm(&r.owner);
    EXPECT_FALSE(r.script.FindClass(QStringLiteral("TComponent")));
    ASSERT_TRUE(r.Run(QStringLiteral("PascalScript"), QStringLiteral("begin\n  Data.Item1.Count := 9\nend.")));
    EXPECT_EQ(item->count, 9);
}

TEST(zqClasses, AncestorsRegisteredLaterAndCyclesEndTheSearch)
{
    ScriptRunner r;
    TzqClassVariable *item = r.script.AddClass(ClassOf<THostItem>(), QStringLiteral("TComponent"));
    EXPECT_FALSE(item->Find(QStringLiteral("Tag")) == nullptr);
    EXPECT_EQ(item->Find(QStringLiteral("Nothing")), nullptr);
    TzqClassVariable *component = r.script.AddClass(ClassOf<TComponent>(), QStringLiteral("THostItem"));
    component->AddMethod(QStringLiteral("procedure Later"), nullptr);
    EXPECT_TRUE(item->Find(QStringLiteral("Later")));
    EXPECT_EQ(item->Find(QStringLiteral("Nothing")), nullptr) << "THostItem -> TComponent -> THostItem ends";
}

} // namespace
