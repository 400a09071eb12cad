// The core classes from scripts: lists, string lists, streams, components.

#include "ModuleTestSupport.h"

#include "toolkit/classes/Streams.h"

#include <QTemporaryDir>

namespace {

TEST(zq_iclassesrtti, ConstantsAndEnumerations)
{
    ModuleRunner r;
    ASSERT_TRUE(r.Run(QStringLiteral(
        "var a, b, c: Integer;\nbegin a := fmCreate + fmShareDenyWrite; b := dupError; c := poLandscape end.")));
    EXPECT_EQ(r.Value(QStringLiteral("a")).AsInteger(), 65567);
    EXPECT_EQ(r.Value(QStringLiteral("b")).AsInteger(), 2);
    EXPECT_EQ(r.Value(QStringLiteral("c")).AsInteger(), 1);
}

TEST(zq_iclassesrtti, ListsAndStringLists)
{
    ModuleRunner r;
    ASSERT_TRUE(r.Run(QStringLiteral(R"(
var list: TList; a, b: TObject; sl: TStringList; i, added, removed, missing: Integer;
    found, absent: Boolean; where, names, values, comma, cls: String;
begin
  list := TList.Create; a := TObject.Create; b := TStringList.Create;
  list.Add(a); added := list.Add(b);
  removed := list.Remove(a); missing := list.IndexOf(a);
  cls := TObject(list[0]).ClassName;
  sl := TStringList.Create;
  sl.Add('b=2'); sl.Add('a=1'); sl.Add('b=3');
  sl.Values['c'] := '9';
  sl.Duplicates := dupError;
  sl.Sorted := True;
  found := sl.Find('b=2', i); where := IntToStr(i);
  absent := sl.Find('a=5', i); where := where + ',' + IntToStr(i);
  names := sl.Names[0]; values := sl.Values['b'];
  comma := sl.CommaText;
  sl.Free; list.Free; a.Free; b.Free
end.
)")));
    EXPECT_EQ(r.Value(QStringLiteral("added")).AsInteger(), 1);
    EXPECT_EQ(r.Value(QStringLiteral("removed")).AsInteger(), 0);
    EXPECT_EQ(r.Value(QStringLiteral("missing")).AsInteger(), -1);
    EXPECT_EQ(r.Text(QStringLiteral("cls")), QStringLiteral("TStringList"));
    EXPECT_TRUE(r.Value(QStringLiteral("found")).AsBoolean());
    EXPECT_FALSE(r.Value(QStringLiteral("absent")).AsBoolean());
    EXPECT_EQ(r.Text(QStringLiteral("where")), QStringLiteral("1,1"));
    EXPECT_EQ(r.Text(QStringLiteral("names")), QStringLiteral("a"));
    EXPECT_EQ(r.Text(QStringLiteral("values")), QStringLiteral("2"));
    EXPECT_EQ(r.Text(QStringLiteral("comma")), QStringLiteral("a=1,b=2,b=3,c=9"));
}

TEST(zq_iclassesrtti, StreamsReadWriteSeekAndCopy)
{
    QTemporaryDir dir;
    ModuleRunner r;
    ASSERT_TRUE(r.Run(QStringLiteral(R"(
var f: TFileStream; m: TMemoryStream; buf, rest, atEnd: String; wrote, got, position, size, copied, none: Integer;
begin
  f := TFileStream.Create(Path, fmCreate + fmShareDenyWrite);
  wrote := f.Write('Привет мир', 100);
  f.Free;
  f := TFileStream.Create(Path, fmOpenRead);
  got := f.Read(buf, 6);
  position := f.Seek(1, soFromCurrent);
  f.Read(rest, 10);
  none := f.Read(atEnd, 5);
  size := f.Size;
  m := TMemoryStream.Create;
  f.Position := 0;
  copied := m.CopyFrom(f, 3);
  f.Free;
  none := none + m.Read(atEnd, -1);
  m.Free
end.
)").replace(QStringLiteral("Path"), u'\'' + dir.filePath(QStringLiteral("s.txt")) + u'\'')));
    EXPECT_EQ(r.Value(QStringLiteral("wrote")).AsInteger(), 10);
    EXPECT_EQ(r.Value(QStringLiteral("got")).AsInteger(), 6);
    EXPECT_EQ(r.Text(QStringLiteral("buf")), QStringLiteral("Привет"));
    EXPECT_EQ(r.Value(QStringLiteral("position")).AsInteger(), 7);
    EXPECT_EQ(r.Text(QStringLiteral("rest")), QStringLiteral("мир"));
    EXPECT_EQ(r.Value(QStringLiteral("none")).AsInteger(), 0);
    EXPECT_EQ(r.Text(QStringLiteral("atEnd")), QString());
    EXPECT_EQ(r.Value(QStringLiteral("size")).AsInteger(), 10);
    EXPECT_EQ(r.Value(QStringLiteral("copied")).AsInteger(), 3);
}

TEST(zq_iclassesrtti, ComponentsAreBuiltThroughTheNamedClass)
{
    ModuleRunner r;
    ASSERT_TRUE(r.Run(QStringLiteral(R"(
var owner, child: TComponent; cls: String; same: Boolean;
begin
  owner := TComponent.Create(nil);
  child := TComponent.Create(owner);
  same := child.Owner = owner;
  cls := child.ClassName;
  owner.Free
end.
)")));
    EXPECT_TRUE(r.Value(QStringLiteral("same")).AsBoolean());
    EXPECT_EQ(r.Text(QStringLiteral("cls")), QStringLiteral("TComponent"));
}

TEST(zq_iclassesrtti, XMLDocumentsAndItems)
{
    ModuleRunner r;
    ASSERT_TRUE(r.Run(QStringLiteral(R"(
var doc, loaded: TzqXMLDocument; root, item, loose: TzqXMLItem; stream: TMemoryStream;
    count, found, data: Integer; name, prop, parentName, text: String; sameRoot: Boolean;
begin
  doc := TzqXMLDocument.Create;
  root := doc.Root; root.Name := 'report';
  item := root.Add; item.Name := 'page'; item.Prop['Width'] := '210';
  item.Prop['Title'] := 'a "b"';
  loose := TzqXMLItem.Create; loose.Name := 'band'; loose.Data := 7;
  root.InsertItem(0, loose);
  data := loose.Data;
  stream := TMemoryStream.Create;
  doc.SaveToStream(stream);
  stream.Position := 0;
  loaded := TzqXMLDocument.Create;
  loaded.LoadFromStream(stream);
  count := loaded.Root.Count;
  found := loaded.Root.Find('PAGE');
  name := loaded.Root[0].Name;
  prop := loaded.Root.FindItem('page').Prop['Title'];
  parentName := loaded.Root[1].Parent.Name;
  sameRoot := loaded.Root[1].Root = loaded.Root;
  text := loaded.Root[1].Text;
  stream.Free; loaded.Free; doc.Free
end.
)")));
    EXPECT_EQ(r.Value(QStringLiteral("count")).AsInteger(), 2);
    EXPECT_EQ(r.Value(QStringLiteral("found")).AsInteger(), 1);
    EXPECT_EQ(r.Value(QStringLiteral("data")).AsInteger(), 7);
    EXPECT_EQ(r.Text(QStringLiteral("name")), QStringLiteral("band"));
    EXPECT_EQ(r.Text(QStringLiteral("prop")), QStringLiteral("a \"b\""));
    EXPECT_EQ(r.Text(QStringLiteral("parentName")), QStringLiteral("report"));
    EXPECT_TRUE(r.Value(QStringLiteral("sameRoot")).AsBoolean());
    EXPECT_EQ(r.Text(QStringLiteral("text")), QStringLiteral("Width=\"210\" Title=\"a &#34;b&#34;\""));
}

TEST(zq_iclassesrtti, XMLItemsGoWithTheirParentAndTheirHandlesWithThem)
{
    ModuleRunner r;
    const ::testing::AssertionResult freed = r.Run(QStringLiteral(R"(
var doc: TzqXMLDocument; item: TzqXMLItem;
begin
  doc := TzqXMLDocument.Create;
  item := doc.Root.Add;
  doc.Free;
  item.Name := 'gone'
end.
)"));
    EXPECT_FALSE(freed);
    EXPECT_TRUE(QString::fromUtf8(freed.message()).startsWith(QStringLiteral("EInvalidObject"))) << freed.message();

    ASSERT_TRUE(r.Run(QStringLiteral(R"(
var doc: TzqXMLDocument; child: TzqXMLItem; left, fresh: Integer;
begin
  doc := TzqXMLDocument.Create;
  doc.Root.Add; child := doc.Root.Add;
  child.Free;
  left := doc.Root.Count;
  doc.Root.Free;
  fresh := doc.Root.Count;
  doc.Free
end.
)")));
    EXPECT_EQ(r.Value(QStringLiteral("left")).AsInteger(), 1);
    EXPECT_EQ(r.Value(QStringLiteral("fresh")).AsInteger(), 0);

    EXPECT_FALSE(r.Run(QStringLiteral(
        "var i: TzqXMLItem; begin i := TzqXMLItem.Create; try i.AddItem(nil) finally i.Free end end.")));
    EXPECT_FALSE(r.Run(QStringLiteral(
        "var d: TzqXMLDocument; begin d := TzqXMLDocument.Create; try d.SaveToStream(nil) finally d.Free end end.")));
}

TEST(zq_iclassesrtti, XMLInCppScript)
{
    ModuleRunner cpp;
    ASSERT_TRUE(cpp.Run(QStringLiteral("C++Script"), QStringLiteral(R"(
TzqXMLDocument doc; string name; int count;
{
  doc = new TzqXMLDocument;
  doc.Root.FindItem("a").Prop["x"] = "1";
  doc.Root.FindItem("a");
  count = doc.Root.Count;
  name = doc.Root.Items[0].Name;
  doc.Free;
}
)")));
    EXPECT_EQ(cpp.Value(QStringLiteral("count")).AsInteger(), 1);
    EXPECT_EQ(cpp.Text(QStringLiteral("name")), QStringLiteral("a"));
}

TEST(zq_iclassesrtti, AFreedObjectKeptByAListIsAnInvalidObject)
{
    ModuleRunner r;
    ASSERT_TRUE(r.Run(QStringLiteral(R"(
var list: TList; sl, held: TStringList; fromList, fromStrings, stillThere: String;
begin
  list := TList.Create; sl := TStringList.Create; held := TStringList.Create;
  list.Add(held); sl.AddObject('a', held);
  held.Free;
  try fromList := TObject(list[0]).ClassName except fromList := ExceptionClassName end;
  try fromStrings := TObject(sl.Objects[0]).ClassName except fromStrings := ExceptionClassName end;
  list[0] := sl;
  stillThere := TObject(list[0]).ClassName;
  list.Free; sl.Free
end.
)")));
    EXPECT_EQ(r.Text(QStringLiteral("fromList")), QStringLiteral("EInvalidObject"));
    EXPECT_EQ(r.Text(QStringLiteral("fromStrings")), QStringLiteral("EInvalidObject"));
    EXPECT_EQ(r.Text(QStringLiteral("stillThere")), QStringLiteral("TStringList"));
}

TEST(zq_iclassesrtti, AFreedEntryNeverResolvesToAnObjectMadeLaterAtItsAddress)
{
    // Freed and made again many times over, so that the allocator hands a
    // new list the address of a freed one at least once.
    ModuleRunner r;
    ASSERT_TRUE(r.Run(QStringLiteral(R"(
var list: TList; names: TStringList; sl, sl2: TStringList; i: Integer; seen: String;
begin
  list := TList.Create; names := TStringList.Create;
  for i := 1 to 50 do
  begin
    sl := TStringList.Create; sl.Text := 'freed';
    list.Add(sl); names.AddObject('x', sl);
    sl.Free;
    sl2 := TStringList.Create; sl2.Text := 'later';
    try seen := seen + TStringList(list[i - 1]).Text except seen := seen + ExceptionClassName end;
    try seen := seen + TStringList(names.Objects[i - 1]).Text except seen := seen + ExceptionClassName end;
    sl2.Free
  end;
  list.Free; names.Free
end.
)")));
    const QString seen = r.Text(QStringLiteral("seen"));
    EXPECT_FALSE(seen.contains(QStringLiteral("later"))) << qPrintable(seen);
    EXPECT_EQ(seen.count(QStringLiteral("EInvalidObject")), 100);
}

TEST(zq_iclassesrtti, FreeingNilDoesNothing)
{
    ModuleRunner r;
    ASSERT_TRUE(r.Run(QStringLiteral(R"(
var x: TStringList; done: Boolean;
begin
  x := nil;
  try
    x.Free
  finally
    x.Free;
    done := True
  end
end.
)")));
    EXPECT_TRUE(r.Value(QStringLiteral("done")).AsBoolean());
    ASSERT_TRUE(r.Run(QStringLiteral("C++Script"), QStringLiteral("TStringList x = nil;\n{\n  delete x;\n}\n")));
    EXPECT_EQ(r.Raised(QStringLiteral("var x: TStringList; n: Integer;\nbegin\n  x := nil; n := x.Count\nend.")),
              QStringLiteral("EInvalidObject: Object reference is nil: 'Count'"))
        << "other members of nil still raise";
}

TEST(zq_iclassesrtti, TextWrittenByStreamsAndStringListsReadsBackThroughTheOther)
{
    ModuleRunner r;
    ASSERT_TRUE(r.Run(QStringLiteral(R"(
var m: TMemoryStream; sl: TStringList; read, loaded, wide: String; size: Integer;
begin
  m := TMemoryStream.Create; sl := TStringList.Create;
  sl.Add('Привет');
  sl.SaveToStream(m);
  size := m.Size;
  m.Position := 0;
  m.Read(read, 6);
  m.Clear;
  m.Write('Да', 2);
  m.Position := 0;
  sl.LoadFromStream(m);
  loaded := sl[0];
  m.Clear; sl.Clear;
  sl.Add('Привет €');
  sl.Add('日本');
  sl.SaveToStream(m);
  m.Position := 0;
  sl.Clear;
  sl.LoadFromStream(m);
  wide := sl.Text;
  m.Free; sl.Free
end.
)")));
    EXPECT_EQ(r.Value(QStringLiteral("size")).AsInteger(), 8) << "six letters and CR LF, one byte each";
    EXPECT_EQ(r.Text(QStringLiteral("read")), QStringLiteral("Привет"));
    EXPECT_EQ(r.Text(QStringLiteral("loaded")), QStringLiteral("Да"));
    EXPECT_EQ(r.Text(QStringLiteral("wide")), QStringLiteral("Привет €\r\n日本\r\n")) << "nothing is lost";
    EXPECT_EQ(r.Raised(QStringLiteral(
                  "var m: TMemoryStream;\nbegin\n  m := TMemoryStream.Create;\n  try m.Write('日本', 2) finally m.Free end\nend.")),
              QStringLiteral("EConvertError: Character U+65E5 has no code in code page 1251"));
}

TEST(zq_iclassesrtti, NilObjectArgumentsRaiseWhereTheHostNeedsAnObject)
{
    ModuleRunner r;
    for (const char *call : {"sl.LoadFromStream(nil)", "m.CopyFrom(nil, 1)", "m.SaveToStream(nil)"}) {
        const QString program = QStringLiteral("var sl: TStringList; m: TMemoryStream;\nbegin\n  sl := TStringList.Create; "
                                               "m := TMemoryStream.Create;\n  try %1 finally sl.Free; m.Free end\nend.")
                                    .arg(QString::fromLatin1(call));
        EXPECT_EQ(r.Raised(program).section(u':', 0, 1), QStringLiteral("EInvalidObject: Object reference is nil"))
            << call;
    }
    EXPECT_TRUE(r.Run(QStringLiteral("var l: TList;\nbegin\n  l := TList.Create; l.Add(nil); l.Free\nend.")))
        << "lists hold nil";
}

} // namespace
