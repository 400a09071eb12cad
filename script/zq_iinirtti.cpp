#include "script/zq_iinirtti.h"

#include "script/zqClassBinding.h"
#include "toolkit/classes/IniFiles.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TStringList.h"

namespace zq_iinirtti
{

namespace
{

// IsClear: the optional last argument, True when omitted.
bool isClear(TzqMethodHelper *caller, int index)
{
    const Variant value = caller->GetParams(index);
    return value.IsNull() || value.IsEmpty() || value.AsBoolean();
}

void writeTStrings(TCustomIniFile *ini, TzqMethodHelper *c)
{
    const QString section = zqText(c, 0);
    const TStrings *list = zqOptionalArgAs<TStrings>(c, 1);
    if (isClear(c, 2))
        ini->EraseSection(section);
    const int count = list ? list->Count() : 0;
    for (int i = 0; i < count; ++i)
        ini->WriteString(section, QStringLiteral("Items") + QString::number(i), list->Strings(i));
    ini->WriteInteger(section, QStringLiteral("Count"), count);
}

void readTStrings(TCustomIniFile *ini, TzqMethodHelper *c)
{
    const QString section = zqText(c, 0);
    TStrings *list = zqOptionalArgAs<TStrings>(c, 1);
    if (!list)
        return;
    const int count = ini->ReadInteger(section, QStringLiteral("Count"), 0);
    if (isClear(c, 2))
        list->Clear();
    for (int i = 0; i < count; ++i)
        list->Add(ini->ReadString(section, QStringLiteral("Items") + QString::number(i), QString()));
}

void readSectionValuesEx(TCustomIniFile *ini, TzqMethodHelper *c)
{
    TStrings *target = zqOptionalArgAs<TStrings>(c, 1);
    if (!target)
        return;
    TStringList lines;
    ini->ReadSectionValues(zqText(c, 0), &lines);
    target->Clear();
    for (int i = 0; i < lines.Count(); ++i)
        target->Add(lines.Values(lines.Names(i)));
}

// The whole content of a TIniFile (its file) or a TMemIniFile as text lines,
// to and from a stream; other ini classes and absent arguments do nothing.
void saveToStream(TCustomIniFile *ini, TzqMethodHelper *c)
{
    TStream *stream = zqOptionalArgAs<TStream>(c, 0);
    if (!stream)
        return;
    TStringList lines;
    if (auto *file = dynamic_cast<TIniFile *>(ini))
        lines.LoadFromFile(file->FileName());
    else if (auto *memory = dynamic_cast<TMemIniFile *>(ini))
        memory->GetStrings(&lines);
    else
        return;
    lines.SaveToStream(stream);
}

void loadFromStream(TCustomIniFile *ini, TzqMethodHelper *c)
{
    TStream *stream = zqOptionalArgAs<TStream>(c, 0);
    if (!stream)
        return;
    TStringList lines;
    if (auto *file = dynamic_cast<TIniFile *>(ini)) {
        lines.LoadFromStream(stream);
        lines.SaveToFile(file->FileName());
    } else if (auto *memory = dynamic_cast<TMemIniFile *>(ini)) {
        lines.LoadFromStream(stream);
        memory->SetStrings(&lines);
    }
}

void registerCustomIniFile(TzqScript *script)
{
    using Ini = TCustomIniFile;
    TzqClassBinding<Ini>(script, QStringLiteral("TObject"))
        .Constructor("constructor Create(const FileName: String)")
        .Method("function ReadInteger(const Section, Ident: String; Default: LongInt): LongInt",
                [](Ini *ini, TzqMethodHelper *c) {
                    return Variant(ini->ReadInteger(zqText(c, 0), zqText(c, 1), zqInt(c, 2)));
                })
        .Procedure("procedure WriteInteger(const Section, Ident: String; Value: LongInt)",
                   [](Ini *ini, TzqMethodHelper *c) { ini->WriteInteger(zqText(c, 0), zqText(c, 1), zqInt(c, 2)); })
        .Method("function ReadBool(const Section, Ident: String; Default: Boolean): Boolean",
                [](Ini *ini, TzqMethodHelper *c) {
                    return Variant(ini->ReadBool(zqText(c, 0), zqText(c, 1), zqBool(c, 2)));
                })
        .Procedure("procedure WriteBool(const Section, Ident: String; Value: Boolean)",
                   [](Ini *ini, TzqMethodHelper *c) { ini->WriteBool(zqText(c, 0), zqText(c, 1), zqBool(c, 2)); })
        .Method("function ReadDate(const Section, Name: String; Default: TDateTime): TDateTime",
                [](Ini *ini, TzqMethodHelper *c) {
                    return Variant::FromDate(ini->ReadDate(zqText(c, 0), zqText(c, 1), zqFloat(c, 2)));
                })
        .Procedure("procedure WriteDate(const Section, Name: String; Value: TDateTime)",
                   [](Ini *ini, TzqMethodHelper *c) { ini->WriteDate(zqText(c, 0), zqText(c, 1), zqFloat(c, 2)); })
        .Method("function ReadDateTime(const Section, Name: String; Default: TDateTime): TDateTime",
                [](Ini *ini, TzqMethodHelper *c) {
                    return Variant::FromDate(ini->ReadDateTime(zqText(c, 0), zqText(c, 1), zqFloat(c, 2)));
                })
        .Procedure("procedure WriteDateTime(const Section, Name: String; Value: TDateTime)",
                   [](Ini *ini, TzqMethodHelper *c) { ini->WriteDateTime(zqText(c, 0), zqText(c, 1), zqFloat(c, 2)); })
        .Method("function ReadFloat(const Section, Name: String; Default: Double): Double",
                [](Ini *ini, TzqMethodHelper *c) {
                    return Variant(ini->ReadFloat(zqText(c, 0), zqText(c, 1), zqFloat(c, 2)));
                })
        .Procedure("procedure WriteFloat(const Section, Name: String; Value: Double)",
                   [](Ini *ini, TzqMethodHelper *c) { ini->WriteFloat(zqText(c, 0), zqText(c, 1), zqFloat(c, 2)); })
        .Method("function ReadTime(const Section, Name: String; Default: TDateTime): TDateTime",
                [](Ini *ini, TzqMethodHelper *c) {
                    return Variant::FromDate(ini->ReadTime(zqText(c, 0), zqText(c, 1), zqFloat(c, 2)));
                })
        .Procedure("procedure WriteTime(const Section, Name: String; Value: TDateTime);",
                   [](Ini *ini, TzqMethodHelper *c) { ini->WriteTime(zqText(c, 0), zqText(c, 1), zqFloat(c, 2)); })
        .Method("function ReadBinaryStream(const Section, Name: String; Value: TStream): Integer",
                [](Ini *ini, TzqMethodHelper *c) {
                    return Variant(ini->ReadBinaryStream(zqText(c, 0), zqText(c, 1), zqObjectArgAs<TStream>(c, 2)));
                })
        .Procedure("procedure WriteBinaryStream(const Section, Name: String; Value: TStream)",
                   [](Ini *ini, TzqMethodHelper *c) {
                       ini->WriteBinaryStream(zqText(c, 0), zqText(c, 1), zqObjectArgAs<TStream>(c, 2));
                   })
        .Method("function SectionExists(const Section: String): Boolean",
                [](Ini *ini, TzqMethodHelper *c) { return Variant(ini->SectionExists(zqText(c, 0))); })
        .Method("function ValueExists(const Section, Ident: String): Boolean",
                [](Ini *ini, TzqMethodHelper *c) { return Variant(ini->ValueExists(zqText(c, 0), zqText(c, 1))); })
        .Procedure("procedure WriteTStrings(const Section :String; Value :TStrings; IsClear :Boolean = True)",
                   writeTStrings)
        .Method("function ReadTStrings(const Section :String; Value :TStrings; IsClear :Boolean = True): String;",
                [](Ini *ini, TzqMethodHelper *c) {
                    readTStrings(ini, c);
                    return Variant(0);
                })
        .Property("FileName", "String", [](Ini *ini) { return Variant(ini->FileName()); });
}

// The members of TMemIniFile and TIniFile, in one order; Clear, GetStrings
// and SetStrings only on the in-memory file.
template <class T>
void registerIniFile(TzqClassBinding<T> binding)
{
    binding
        .Procedure("procedure WriteString(const Section, Ident, Value: String)",
                   [](T *ini, TzqMethodHelper *c) { ini->WriteString(zqText(c, 0), zqText(c, 1), zqText(c, 2)); })
        .Method("function ReadString(const Section, Ident, Default: String): String;",
                [](T *ini, TzqMethodHelper *c) {
                    return Variant(ini->ReadString(zqText(c, 0), zqText(c, 1), zqText(c, 2)));
                })
        .Procedure("procedure ReadSectionValuesEx(const Section: String; Strings: TStrings)",
                   [](T *ini, TzqMethodHelper *c) { readSectionValuesEx(ini, c); })
        .Procedure("procedure DeleteKey(const Section, Ident: String)",
                   [](T *ini, TzqMethodHelper *c) { ini->DeleteKey(zqText(c, 0), zqText(c, 1)); })
        .Procedure("procedure ReadSection(const Section: String; Strings: TStrings)",
                   [](T *ini, TzqMethodHelper *c) { ini->ReadSection(zqText(c, 0), zqObjectArgAs<TStrings>(c, 1)); })
        .Procedure("procedure ReadSections(Strings: TStrings)",
                   [](T *ini, TzqMethodHelper *c) { ini->ReadSections(zqObjectArgAs<TStrings>(c, 0)); })
        .Procedure(
            "procedure ReadSectionValues(const Section: String; Strings: TStrings)",
            [](T *ini, TzqMethodHelper *c) { ini->ReadSectionValues(zqText(c, 0), zqObjectArgAs<TStrings>(c, 1)); })
        .Procedure("procedure EraseSection(const Section: String)",
                   [](T *ini, TzqMethodHelper *c) { ini->EraseSection(zqText(c, 0)); });
    if constexpr (std::is_same_v<T, TMemIniFile>) {
        binding.Procedure("procedure Clear", [](T *ini, TzqMethodHelper *) { ini->Clear(); })
            .Procedure("procedure GetStrings(List: TStrings)",
                       [](T *ini, TzqMethodHelper *c) { ini->GetStrings(zqObjectArgAs<TStrings>(c, 0)); })
            .Procedure("procedure SetStrings(List: TStrings)",
                       [](T *ini, TzqMethodHelper *c) { ini->SetStrings(zqObjectArgAs<TStrings>(c, 0)); });
    }
    binding
        .Procedure("procedure SaveIniFileToStream(oStream: TStream)",
                   [](T *ini, TzqMethodHelper *c) { saveToStream(ini, c); })
        .Procedure("procedure LoadIniFileFromStream(oStream: TStream)",
                   [](T *ini, TzqMethodHelper *c) { loadFromStream(ini, c); });
}

} // namespace

TFunctions::TFunctions(TzqScript *script) : TzqRTTIModule(script)
{
    registerCustomIniFile(script);
    registerIniFile(TzqClassBinding<TMemIniFile>(script, QStringLiteral("TCustomIniFile"))
                        .Constructor("constructor Create(const FileName: String)"));
    registerIniFile(TzqClassBinding<TIniFile>(script, QStringLiteral("TCustomIniFile")));
}

void Register()
{
    RTTIModuleList()->push_back([](TzqScript *script) { return std::make_unique<TFunctions>(script); });
}

} // namespace zq_iinirtti
