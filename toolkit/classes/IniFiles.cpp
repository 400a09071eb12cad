#include "toolkit/classes/IniFiles.h"

#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/core/Files.h"
#include "toolkit/core/FloatText.h"
#include "toolkit/core/FormatDateTime.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/core/SysUtils.h"
#include "toolkit/classes/TStringList.h"

namespace {

QStringList linesOf(const TStrings *strings)
{
    QStringList lines;
    for (int i = 0, n = strings->Count(); i < n; ++i)
        lines += strings->Strings(i);
    return lines;
}

using TextParser = bool (*)(const QString &, double &, const TFormatSettings &);

// The value read with parse; the default when it is missing or unreadable.
double readParsed(const TCustomIniFile &ini, const QString &section, const QString &ident, double defaultValue,
                  TextParser parse)
{
    double value;
    return parse(ini.ReadString(section, ident, QString()), value, FormatSettings) ? value : defaultValue;
}

bool isHexText(const QString &text)
{
    if (text.size() % 2 != 0)
        return false;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (!((u >= '0' && u <= '9') || (u >= 'A' && u <= 'F') || (u >= 'a' && u <= 'f')))
            return false;
    }
    return true;
}

// The content of an ini file; empty when there is no such file.
IniSections readIniFile(const QString &fileName)
{
    IniSections sections;
    if (FileExists(fileName)) {
        TStringList lines;
        lines.LoadFromFile(fileName);
        sections.SetLines(linesOf(&lines));
    }
    return sections;
}

template <class T>
ClassFactories madeFromFileName()
{
    ClassFactories factories;
    factories.createWith = [](const QVariantList &arguments) -> TObject * {
        return new T(arguments.value(0).toString());
    };
    return factories;
}

} // namespace

// ---------------------------------------------------------- TCustomIniFile

TCustomIniFile::TCustomIniFile(const QString &fileName) : m_fileName(fileName) {}

TCustomIniFile::~TCustomIniFile() = default;

bool TCustomIniFile::SectionExists(const QString &section) const
{
    TStringList keys;
    ReadSection(section, &keys);
    return keys.Count() > 0;
}

bool TCustomIniFile::ValueExists(const QString &section, const QString &ident) const
{
    TStringList keys;
    ReadSection(section, &keys);
    return keys.IndexOf(ident) >= 0;
}

qint32 TCustomIniFile::ReadInteger(const QString &section, const QString &ident, qint32 defaultValue) const
{
    qint32 value;
    return TryStrToInt(ReadString(section, ident, QString()), value) ? value : defaultValue;
}

void TCustomIniFile::WriteInteger(const QString &section, const QString &ident, qint32 value)
{
    WriteString(section, ident, QString::number(value));
}

bool TCustomIniFile::ReadBool(const QString &section, const QString &ident, bool defaultValue) const
{
    return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const QString &section, const QString &ident, bool value)
{
    WriteString(section, ident, value ? QStringLiteral("1") : QStringLiteral("0"));
}

double TCustomIniFile::ReadFloat(const QString &section, const QString &ident, double defaultValue) const
{
    return readParsed(*this, section, ident, defaultValue, TryStrToFloat);
}

void TCustomIniFile::WriteFloat(const QString &section, const QString &ident, double value)
{
    WriteString(section, ident, FloatToStr(value));
}

TDateTime TCustomIniFile::ReadDate(const QString &section, const QString &ident, TDateTime defaultValue) const
{
    return readParsed(*this, section, ident, defaultValue, TryStrToDate);
}

void TCustomIniFile::WriteDate(const QString &section, const QString &ident, TDateTime value)
{
    WriteString(section, ident, DateToStr(value));
}

TDateTime TCustomIniFile::ReadDateTime(const QString &section, const QString &ident, TDateTime defaultValue) const
{
    return readParsed(*this, section, ident, defaultValue, TryStrToDateTime);
}

void TCustomIniFile::WriteDateTime(const QString &section, const QString &ident, TDateTime value)
{
    WriteString(section, ident, DateTimeToStr(value));
}

TDateTime TCustomIniFile::ReadTime(const QString &section, const QString &ident, TDateTime defaultValue) const
{
    return readParsed(*this, section, ident, defaultValue, TryStrToTime);
}

void TCustomIniFile::WriteTime(const QString &section, const QString &ident, TDateTime value)
{
    WriteString(section, ident, TimeToStr(value));
}

int TCustomIniFile::ReadBinaryStream(const QString &section, const QString &ident, TStream *value) const
{
    const QString text = ReadString(section, ident, QString());
    if (text.isEmpty() || !isHexText(text))
        return 0;
    const QByteArray bytes = QByteArray::fromHex(text.toLatin1());
    const qint64 start = value->Position();
    value->WriteBuffer(bytes);
    value->SetPosition(start);
    return int(bytes.size());
}

void TCustomIniFile::WriteBinaryStream(const QString &section, const QString &ident, TStream *value)
{
    WriteString(section, ident, QString::fromLatin1(value->ReadToEnd().toHex().toUpper()));
}

void TCustomIniFile::SetLinesOf(TStrings *strings, const QStringList &lines)
{
    const TStrings::UpdateScope update(*strings);
    strings->Clear();
    for (const QString &line : lines)
        strings->Add(line);
}

// ------------------------------------------------------------- TMemIniFile

TMemIniFile::TMemIniFile(const QString &fileName) : TCustomIniFile(fileName), m_sections(readIniFile(fileName)) {}

QString TMemIniFile::ReadString(const QString &section, const QString &ident, const QString &defaultValue) const
{
    return m_sections.Value(section, ident, defaultValue);
}

void TMemIniFile::WriteString(const QString &section, const QString &ident, const QString &value)
{
    m_sections.SetValue(section, ident, value);
}

void TMemIniFile::ReadSection(const QString &section, TStrings *strings) const
{
    SetLinesOf(strings, m_sections.KeyNames(section));
}

void TMemIniFile::ReadSections(TStrings *strings) const
{
    SetLinesOf(strings, m_sections.SectionNames());
}

void TMemIniFile::ReadSectionValues(const QString &section, TStrings *strings) const
{
    SetLinesOf(strings, m_sections.KeyLines(section));
}

void TMemIniFile::EraseSection(const QString &section)
{
    m_sections.EraseSection(section);
}

void TMemIniFile::DeleteKey(const QString &section, const QString &ident)
{
    m_sections.DeleteKey(section, ident);
}

void TMemIniFile::Clear()
{
    m_sections.Clear();
}

void TMemIniFile::GetStrings(TStrings *list) const
{
    SetLinesOf(list, m_sections.Lines());
}

void TMemIniFile::SetStrings(const TStrings *list)
{
    m_sections.SetLines(linesOf(list));
}

// ---------------------------------------------------------------- TIniFile

TIniFile::TIniFile(const QString &fileName) : TCustomIniFile(fileName) {}

QString TIniFile::ReadString(const QString &section, const QString &ident, const QString &defaultValue) const
{
    return Load().Value(section, ident, defaultValue);
}

void TIniFile::WriteString(const QString &section, const QString &ident, const QString &value)
{
    IniSections sections = Load();
    sections.SetValue(section, ident, value);
    Save(sections);
}

void TIniFile::ReadSection(const QString &section, TStrings *strings) const
{
    SetLinesOf(strings, Load().KeyNames(section));
}

void TIniFile::ReadSections(TStrings *strings) const
{
    SetLinesOf(strings, Load().SectionNames());
}

void TIniFile::ReadSectionValues(const QString &section, TStrings *strings) const
{
    SetLinesOf(strings, Load().KeyLines(section));
}

void TIniFile::EraseSection(const QString &section)
{
    IniSections sections = Load();
    sections.EraseSection(section);
    Save(sections);
}

void TIniFile::DeleteKey(const QString &section, const QString &ident)
{
    IniSections sections = Load();
    sections.DeleteKey(section, ident);
    Save(sections);
}

IniSections TIniFile::Load() const
{
    return readIniFile(FileName());
}

void TIniFile::Save(const IniSections &sections)
{
    TStringList lines;
    SetLinesOf(&lines, sections.Lines());
    // The system's other programs read ini files too: UTF-8, which reads
    // back as written.
    SaveFile(FileName(), lines.Text().toUtf8());
}

void InitializeIniFiles()
{
    RegisterClass<TCustomIniFile>();
    RegisterClass(ClassOf<TMemIniFile>(), madeFromFileName<TMemIniFile>());
    RegisterClass(ClassOf<TIniFile>(), madeFromFileName<TIniFile>());
}
