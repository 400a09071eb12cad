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

} // namespace
