#include "toolkit/core/DateUtils.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/classes/IniFiles.h"
#include "toolkit/classes/RegistryIniFile.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TStringList.h"

#include "StringsTestSupport.h"
#include "common/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void writeFile(const QString &name, const QByteArray &bytes)
{
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString &name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QByteArray sample = "; settings\r\n"
                          "[Form]\r\n"
                          "Units = 1\r\n"
                          "Units=2\r\n"
                          "a line without value\r\n"
                          "\r\n"
                          "[Пути]\r\n"
                          "Папка=/tmp/x\r\n"
                          "[empty]\r\n";

} // namespace

class IniFileTest : public ::testing::Test
{
protected:
    QString path(const char *name) const { return dir.filePath(QString::fromUtf8(name)); }
    QTemporaryDir dir;
};

TEST_F(IniFileTest, MemIniFileReadsWithoutRegardToCaseAndKeepsOrder)
{
    writeFile(path("s.ini"), sample);
    TMemIniFile ini(path("s.ini"));
    EXPECT_EQ(ini.FileName(), path("s.ini"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("form"), QStringLiteral("UNITS"), QString()), QStringLiteral("1"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("ПУТИ"), QStringLiteral("папка"), QString()), QStringLiteral("/tmp/x"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Form"), QStringLiteral("none"), QStringLiteral("dflt")),
              QStringLiteral("dflt"));

    TStringList list;
    ini.ReadSections(&list);
    EXPECT_EQ(linesOf(list), QStringList({"Form", "Пути", "empty"}));
    // A name given twice is kept twice.
    ini.ReadSectionValues(QStringLiteral("Form"), &list);
    EXPECT_EQ(linesOf(list), QStringList({"Units=1", "Units=2"}));
    ini.ReadSection(QStringLiteral("Form"), &list);
    EXPECT_EQ(linesOf(list), QStringList({"Units", "Units"}));

    EXPECT_TRUE(ini.SectionExists(QStringLiteral("FORM")));
    EXPECT_FALSE(ini.SectionExists(QStringLiteral("empty"))); // holds no key
    EXPECT_TRUE(ini.ValueExists(QStringLiteral("пути"), QStringLiteral("ПАПКА")));
    EXPECT_FALSE(ini.ValueExists(QStringLiteral("Form"), QStringLiteral("a line without value")));
}

TEST_F(IniFileTest, MemIniFileChangesStayInMemory)
{
    writeFile(path("s.ini"), sample);
    TMemIniFile ini(path("s.ini"));
    ini.WriteString(QStringLiteral("FORM"), QStringLiteral("units"), QStringLiteral("7"));
    ini.WriteString(QStringLiteral("New"), QStringLiteral("Key"), QStringLiteral("v"));
    ini.DeleteKey(QStringLiteral("Пути"), QStringLiteral("Папка"));
    ini.EraseSection(QStringLiteral("empty"));
    EXPECT_EQ(readFile(path("s.ini")), sample);

    TStringList lines;
    ini.GetStrings(&lines);
    EXPECT_EQ(linesOf(lines), QStringList({"; settings", "", "[Form]", "Units=7", "Units=2", "a line without value",
                                           "", "[Пути]", "", "[New]", "Key=v", ""}));

    TMemIniFile copy(path("none.ini"));
    copy.SetStrings(&lines);
    EXPECT_EQ(copy.ReadString(QStringLiteral("new"), QStringLiteral("key"), QString()), QStringLiteral("v"));
    copy.Clear();
    copy.ReadSections(&lines);
    EXPECT_EQ(lines.Count(), 0);
}

TEST_F(IniFileTest, IntegersAndBooleans)
{
    TMemIniFile ini(path("none.ini"));
    const QString s = QStringLiteral("S");
    const std::pair<const char *, qint32> cases[] = {
        {"42", 42}, {"-17", -17}, {"0x1F", 31}, {"0X1f", 31}, {"$10", 16}, {"0xFFFFFFFF", -1},
        {"2147483647", 2147483647}, {"-2147483648", qint32(-2147483648LL)},
        // unreadable: the default
        {"", 5}, {"abc", 5}, {"12abc", 5}, {"2147483648", 5}, {"0x", 5}, {"0x100000000", 5}, {"1.5", 5}};
    for (const auto &[text, expected] : cases) {
        ini.WriteString(s, QStringLiteral("i"), QString::fromUtf8(text));
        EXPECT_EQ(ini.ReadInteger(s, QStringLiteral("i"), 5), expected) << text;
    }

    ini.WriteBool(s, QStringLiteral("on"), true);
    ini.WriteBool(s, QStringLiteral("off"), false);
    EXPECT_EQ(ini.ReadString(s, QStringLiteral("on"), QString()), QStringLiteral("1"));
    EXPECT_EQ(ini.ReadString(s, QStringLiteral("off"), QString()), QStringLiteral("0"));
    EXPECT_TRUE(ini.ReadBool(s, QStringLiteral("on"), false));
    EXPECT_FALSE(ini.ReadBool(s, QStringLiteral("off"), true));
    EXPECT_TRUE(ini.ReadBool(s, QStringLiteral("missing"), true));
    ini.WriteInteger(s, QStringLiteral("n"), -3);
    EXPECT_TRUE(ini.ReadBool(s, QStringLiteral("n"), false));
}

TEST_F(IniFileTest, BinaryStreamsAsHexFromAndToThePosition)
{
    TMemIniFile ini(path("none.ini"));
    TMemoryStream source;
    source.WriteBuffer(QByteArray("\x00\x7F\xAB\xFF", 4));
    source.SetPosition(1);
    ini.WriteBinaryStream(QStringLiteral("S"), QStringLiteral("b"), &source);
    EXPECT_EQ(ini.ReadString(QStringLiteral("S"), QStringLiteral("b"), QString()), QStringLiteral("7FABFF"));

    TMemoryStream target;
    target.WriteBuffer(QByteArray("head"));
    EXPECT_EQ(ini.ReadBinaryStream(QStringLiteral("S"), QStringLiteral("b"), &target), 3);
    EXPECT_EQ(target.Bytes(), QByteArray("head\x7F\xAB\xFF"));
    EXPECT_EQ(target.Position(), 4); // where the bytes start

    for (const char *bad : {"7FA", "7G", "", "ФФ"}) {
        ini.WriteString(QStringLiteral("S"), QStringLiteral("b"), QString::fromUtf8(bad));
        EXPECT_EQ(ini.ReadBinaryStream(QStringLiteral("S"), QStringLiteral("b"), &target), 0) << bad;
    }
    EXPECT_EQ(target.Size(), 7);
}

TEST_F(IniFileTest, IniFileRewritesTheFileOnEveryWrite)
{
    writeFile(path("s.ini"), sample);
    TIniFile ini(path("s.ini"));
    ini.WriteString(QStringLiteral("form"), QStringLiteral("units"), QStringLiteral("3"));
    EXPECT_EQ(readFile(path("s.ini")), QByteArray("; settings\r\n\r\n"
                                                  "[Form]\r\nUnits=3\r\nUnits=2\r\na line without value\r\n\r\n"
                                                  "[Пути]\r\nПапка=/tmp/x\r\n\r\n"
                                                  "[empty]\r\n\r\n"));

    // Another object, and the file itself, see the change at once.
    writeFile(path("s.ini"), "[Form]\nUnits=9\n");
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Form"), QStringLiteral("Units"), 0), 9);
    ini.DeleteKey(QStringLiteral("Form"), QStringLiteral("Units"));
    EXPECT_FALSE(TIniFile(path("s.ini")).ValueExists(QStringLiteral("Form"), QStringLiteral("Units")));
    ini.WriteString(QStringLiteral("Other"), QStringLiteral("k"), QStringLiteral("v"));
    ini.EraseSection(QStringLiteral("Form"));
    TStringList sections;
    TIniFile(path("s.ini")).ReadSections(&sections);
    EXPECT_EQ(linesOf(sections), QStringList({"Other"}));
}

TEST_F(IniFileTest, IniFileWithoutFileReadsEmptyAndFailedWritesRaise)
{
    TIniFile missing(path("missing.ini"));
    EXPECT_EQ(missing.ReadString(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("d")), QStringLiteral("d"));
    EXPECT_FALSE(missing.SectionExists(QStringLiteral("a")));

    TIniFile unwritable(path("no/folder.ini"));
    EXPECT_THROW(unwritable.WriteString(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")),
                 EFCreateError);
}

TEST_F(IniFileTest, FloatsAndDatesFollowFormatSettings)
{
    const TFormatSettings saved = FormatSettings;
    FormatSettings.DecimalSeparator = u',';
    FormatSettings.DateSeparator = u'.';
    FormatSettings.ShortDateFormat = QStringLiteral("dd.mm.yyyy");
    FormatSettings.TimeSeparator = u':';
    FormatSettings.LongTimeFormat = QStringLiteral("hh:nn:ss");

    TMemIniFile ini(path("none.ini"));
    const QString s = QStringLiteral("S");
    ini.WriteFloat(s, QStringLiteral("f"), 1.5);
    EXPECT_EQ(ini.ReadString(s, QStringLiteral("f"), QString()), QStringLiteral("1,5"));
    EXPECT_DOUBLE_EQ(ini.ReadFloat(s, QStringLiteral("f"), 0), 1.5);

    const TDateTime leapDay = EncodeDate(2024, 2, 29);
    ini.WriteDate(s, QStringLiteral("d"), leapDay);
    EXPECT_EQ(ini.ReadString(s, QStringLiteral("d"), QString()), QStringLiteral("29.02.2024"));
    EXPECT_DOUBLE_EQ(ini.ReadDate(s, QStringLiteral("d"), 0), leapDay);

    const TDateTime moment = leapDay + EncodeTime(13, 5, 7, 0);
    ini.WriteDateTime(s, QStringLiteral("dt"), moment);
    EXPECT_NEAR(ini.ReadDateTime(s, QStringLiteral("dt"), 0), moment, 1e-8);
    ini.WriteTime(s, QStringLiteral("t"), EncodeTime(13, 5, 7, 0));
    EXPECT_EQ(ini.ReadString(s, QStringLiteral("t"), QString()), QStringLiteral("13:05:07"));
    EXPECT_NEAR(ini.ReadTime(s, QStringLiteral("t"), 0), EncodeTime(13, 5, 7, 0), 1e-8);

    // Unreadable or missing values give the default.
    ini.WriteString(s, QStringLiteral("bad"), QStringLiteral("1,5 kg"));
    EXPECT_EQ(ini.ReadFloat(s, QStringLiteral("bad"), -1), -1);
    EXPECT_EQ(ini.ReadDate(s, QStringLiteral("bad"), -1), -1);
    EXPECT_EQ(ini.ReadTime(s, QStringLiteral("missing"), -1), -1);
    FormatSettings = saved;
}

TEST_F(IniFileTest, RegistryKeysReadFromTheUsersConfigurationFolder)
{
    const QByteArray savedConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
    const QString key = QStringLiteral("\\Software\\Quorvel Labs");
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Quorvel Labs")));
    writeFile(path("Quorvel Labs/registry.ini"), "[Connections]\nMain=server\n"
                                          "[Connections\\Local]\nx=1\n"
                                          "[Form.TqvxDesignerForm]\nUnits=2\n");

    TRegistryIniFile settings(key);
    TRegistryIniFile connections(key + QStringLiteral("\\Connections"));
    TRegistryIniFile absent(QStringLiteral("\\Software\\Nobody"));
    qputenv("XDG_CONFIG_HOME", savedConfig);
    EXPECT_EQ(settings.SettingsFile(), path("Quorvel Labs/registry.ini"));
    EXPECT_EQ(settings.ReadInteger(QStringLiteral("Form.TqvxDesignerForm"), QStringLiteral("Units"), 0), 2);
    EXPECT_TRUE(settings.SectionExists(QStringLiteral("connections")));

    EXPECT_EQ(connections.ReadString(QString(), QStringLiteral("main"), QString()), QStringLiteral("server"));
    EXPECT_EQ(connections.ReadString(QStringLiteral("Local"), QStringLiteral("x"), QString()), QStringLiteral("1"));
    TStringList sections;
    connections.ReadSections(&sections);
    EXPECT_EQ(linesOf(sections), QStringList({"Local"}));

    // The settings are only read.
    EXPECT_THROW(settings.WriteString(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")),
                 EInvalidOperation);
    EXPECT_THROW(settings.EraseSection(QStringLiteral("Connections")), EInvalidOperation);
    EXPECT_THROW(TRegistryIniFile(QStringLiteral("\\Other\\Key")), EInvalidOperation);

    // A key without a file reads as empty.
    EXPECT_EQ(absent.ReadInteger(QStringLiteral("Form.TqvxDesignerForm"), QStringLiteral("Units"), 7), 7);

    // The machine's settings are in the first system configuration folder.
    const QByteArray savedDirs = qgetenv("XDG_CONFIG_DIRS");
    qunsetenv("XDG_CONFIG_DIRS");
    EXPECT_TRUE(TRegistryIniFile(key, rrLocalMachine).SettingsFile().startsWith(QStringLiteral("/etc/xdg/")));
    qputenv("XDG_CONFIG_DIRS", (dir.path() + QStringLiteral(":/etc/xdg")).toUtf8());
    EXPECT_EQ(TRegistryIniFile(key, rrLocalMachine).SettingsFile(), path("Quorvel Labs/registry.ini"));
    if (savedDirs.isNull())
        qunsetenv("XDG_CONFIG_DIRS");
    else
        qputenv("XDG_CONFIG_DIRS", savedDirs);
}
