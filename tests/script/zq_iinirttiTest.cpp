// Ini files from scripts: typed values, string lists in a section, section
// values without names, and the whole content through a stream.

#include "ModuleTestSupport.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

TEST(zq_iinirtti, TypedValuesAndStringListsInASection)
{
    ModuleRunner r;
    ASSERT_TRUE(r.Run(QStringLiteral(R"(
var ini: TMemIniFile; list, back, values: TStringList; n: Integer; ok, has: Boolean; f: Double; s, name: String;
begin
  ini := TMemIniFile.Create('');
  ini.WriteInteger('A', 'N', 42); ini.WriteBool('A', 'B', True); ini.WriteFloat('A', 'F', 1.5);
  n := ini.ReadInteger('A', 'N', 0); ok := ini.ReadBool('A', 'B', False); f := ini.ReadFloat('A', 'F', 0);
  has := ini.ValueExists('A', 'N') and not ini.SectionExists('Z');
  list := TStringList.Create; back := TStringList.Create; values := TStringList.Create;
  list.Add('x'); list.Add('y'); list.Add('z');
  ini.WriteTStrings('L', list);
  list.Clear; list.Add('only');
  ini.WriteString('L', 'Other', 'kept');
  ini.WriteTStrings('L', list, False);
  back.Add('old');
  ini.ReadTStrings('L', back);
  ini.WriteString('V', 'k', 'first'); ini.WriteString('V', 'j', 'second');
  ini.ReadSectionValuesEx('V', values);
  s := ini.ReadString('L', 'Items2', '') + ini.ReadString('L', 'Other', '') + '|' + back.CommaText + '|' + values.CommaText;
  name := ini.FileName;
  ini.Free; list.Free; back.Free; values.Free
end.
)")));
    EXPECT_EQ(r.Value(QStringLiteral("n")).AsInteger(), 42);
    EXPECT_TRUE(r.Value(QStringLiteral("ok")).AsBoolean());
    EXPECT_EQ(r.Value(QStringLiteral("f")).AsDouble(), 1.5);
    EXPECT_TRUE(r.Value(QStringLiteral("has")).AsBoolean());
    EXPECT_EQ(r.Text(QStringLiteral("s")), QStringLiteral("zkept|only|first,second"));
    EXPECT_EQ(r.Text(QStringLiteral("name")), QString());
}

TEST(zq_iinirtti, ContentThroughStreams)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.ini"));
    ModuleRunner r;
    ASSERT_TRUE(r.Run(QStringLiteral(R"(
var mem: TMemIniFile; ini: TIniFile; m: TMemoryStream; s: String;
begin
  mem := TMemIniFile.Create('');
  mem.WriteString('S', 'k', 'v');
  m := TMemoryStream.Create;
  mem.SaveIniFileToStream(m);
  m.Position := 0;
  ini := TIniFile.Create(Path);
  ini.LoadIniFileFromStream(m);
  s := ini.ReadString('S', 'k', '-');
  ini.WriteString('S', 'k2', 'w');
  m.Clear;
  ini.SaveIniFileToStream(m);
  m.Position := 0;
  mem.Clear;
  mem.LoadIniFileFromStream(m);
  s := s + mem.ReadString('S', 'k2', '-');
  mem.Free; ini.Free; m.Free
end.
)").replace(QStringLiteral("Path"), u'\'' + path + u'\'')));
    EXPECT_EQ(r.Text(QStringLiteral("s")), QStringLiteral("vw"));
    EXPECT_TRUE(QFile::exists(path));
}

TEST(zq_iinirtti, NilListsAndStreamsRaiseInsteadOfReachingTheIniFile)
{
    ModuleRunner r;
    for (const char *call : {"i.ReadSection('S', nil)", "i.ReadSections(nil)", "i.ReadSectionValues('S', nil)",
                             "i.GetStrings(nil)", "i.SetStrings(nil)", "i.WriteBinaryStream('S', 'K', nil)",
                             "i.ReadBinaryStream('S', 'K', nil)"}) {
        const QString program = QStringLiteral("var i: TMemIniFile;\nbegin\n  i := TMemIniFile.Create('');\n  "
                                               "i.WriteString('S', 'K', 'V');\n  try %1 finally i.Free end\nend.")
                                    .arg(QString::fromLatin1(call));
        EXPECT_EQ(r.Raised(program).section(u':', 0, 1), QStringLiteral("EInvalidObject: Object reference is nil"))
            << call;
    }
}

TEST(zq_iinirtti, StreamCopiesWithoutAStreamDoNothing)
{
    QTemporaryDir dir;
    ModuleRunner r;
    ASSERT_TRUE(r.Run(QStringLiteral(R"(
var ini: TIniFile; list: TStringList;
begin
  ini := TIniFile.Create(Path);
  ini.SaveIniFileToStream(nil);
  ini.LoadIniFileFromStream(nil);
  list := nil;
  ini.WriteTStrings('S', list);
  ini.ReadTStrings('S', list);
  ini.Free
end.
)").replace(QStringLiteral("Path"), u'\'' + dir.filePath(QStringLiteral("missing.ini")) + u'\'')));
}

} // namespace
