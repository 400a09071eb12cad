#include "script/zq_iclassesrtti.h"

#include "script/zqClassBinding.h"
#include "script/zqHeldObjects.h"
#include "script/zqXML.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TCollection.h"
#include "toolkit/classes/TComponent.h"
#include "toolkit/classes/TList.h"
#include "toolkit/classes/TStringList.h"
#include "toolkit/core/CodePages.h"
#include "toolkit/core/TextLimits.h"

namespace zq_iclassesrtti
{

namespace
{

void registerConstants(TzqScript *script)
{
    zqRegisterConstants(script, {
                                    {"fmCreate", 0xFFFF},
                                    {"fmOpenRead", 0},
                                    {"fmOpenWrite", 1},
                                    {"fmOpenReadWrite", 2},
                                    {"fmShareExclusive", 16},
                                    {"fmShareDenyWrite", 32},
                                    {"fmShareDenyNone", 64},
                                    {"soFromBeginning", 0},
                                    {"soFromCurrent", 1},
                                    {"soFromEnd", 2},
                                });
    script->AddEnum(QStringLiteral("TDuplicates"), QStringLiteral("dupIgnore, dupAccept, dupError"));
    script->AddEnum(QStringLiteral("TPrinterOrientation"), QStringLiteral("poPortrait, poLandscape"));
}

// Reads up to Count bytes, as cp1251 characters, into the var argument
// Buffer; a count below 1 reads nothing.
Variant streamRead(TStream *stream, TzqMethodHelper *c)
{
    const qint64 available = std::max<qint64>(stream->Size() - stream->Position(), 0);
    const qint64 count = std::clamp<qint64>(c->GetParams(1).AsInt64(), 0, available);
    CheckTextLength(count);
    QByteArray bytes(count, '\0');
    const qint64 read = count > 0 ? stream->Read(bytes.data(), count) : 0;
    bytes.truncate(read);
    c->SetParams(0, Variant(Cp1251ToString(bytes)));
    return Variant(int(read));
}

// Writes the first Count characters of Buffer as cp1251 bytes, never more
// than it holds; a character that cp1251 lacks raises EConvertError.
Variant streamWrite(TStream *stream, TzqMethodHelper *c)
{
    const QString text = zqText(c, 0);
    const qint64 count = std::clamp<qint64>(c->GetParams(1).AsInt64(), 0, text.size());
    const QByteArray bytes = StringToCp1251Exact(text.left(count));
    return Variant(int(stream->Write(bytes.constData(), bytes.size())));
}

void registerObjects(TzqScript *script)
{
    TzqClassBinding<TObject>(script, QString())
        .Constructor("constructor Create")
        .Procedure("procedure Free", [](TObject *object, TzqMethodHelper *) { zqFreeObject(object); })
        .Method("function ClassName: String",
                [](TObject *object, TzqMethodHelper *) { return Variant(object->ClassName()); });
    TzqClassBinding<TPersistent>(script, QStringLiteral("TObject"))
        .Procedure("procedure Assign(Source: TPersistent)",
                   [](TPersistent *p, TzqMethodHelper *c) { p->Assign(zqOptionalArgAs<TPersistent>(c, 0)); });
    TzqClassBinding<TCollectionItem>(script, QStringLiteral("TPersistent"));
    TzqClassBinding<TCollection>(script, QStringLiteral("TPersistent"))
        .Procedure("procedure Clear", [](TCollection *collection, TzqMethodHelper *) { collection->Clear(); })
        .Property("Count", "Integer", [](TCollection *collection) { return Variant(collection->Count()); })
        .DefaultProperty("Items", "Integer", "TCollectionItem", [](TCollection *collection, TzqMethodHelper *c) {
            return zqHeldObjectValue(collection->Items(zqInt(c, 0)));
        });
    TzqClassBinding<TList>(script, QStringLiteral("TObject"))
        .Method("function Add(Item: TObject): Integer",
                [](TList *list, TzqMethodHelper *c) { return Variant(list->Add(zqObjectArg(c, 0))); })
        .Procedure("procedure Clear", [](TList *list, TzqMethodHelper *) { list->Clear(); })
        .Procedure("procedure Delete(Index: Integer)",
                   [](TList *list, TzqMethodHelper *c) { list->Delete(zqInt(c, 0)); })
        .Method("function IndexOf(Item: TObject): Integer",
                [](TList *list, TzqMethodHelper *c) { return Variant(list->IndexOf(zqObjectArg(c, 0))); })
        .Procedure("procedure Insert(Index: Integer; Item: TObject)",
                   [](TList *list, TzqMethodHelper *c) { list->Insert(zqInt(c, 0), zqObjectArg(c, 1)); })
        .Method("function Remove(Item: TObject): Integer",
                [](TList *list, TzqMethodHelper *c) { return Variant(list->Remove(zqObjectArg(c, 0))); })
        .Property("Count", "Integer", [](TList *list) { return Variant(list->Count()); })
        .DefaultProperty(
            "Items", "Integer", "TObject",
            [](TList *list, TzqMethodHelper *c) {
                const int index = zqInt(c, 0);
                return zqObjectValue(list->Items(index), list->ItemGeneration(index));
            },
            [](TList *list, TzqMethodHelper *c) {
                list->SetItems(zqInt(c, 0), zqObjectArg(c, 1));
                return Variant();
            });
}

void registerStrings(TzqScript *script)
{
    TzqClassBinding<TStrings>(script, QStringLiteral("TPersistent"))
        .Constructor("constructor Create")
        .Method("function Add(const S: string): Integer",
                [](TStrings *s, TzqMethodHelper *c) { return Variant(s->Add(zqText(c, 0))); })
        .Method("function AddObject(const S: string; AObject: TObject): Integer",
                [](TStrings *s, TzqMethodHelper *c) { return Variant(s->AddObject(zqText(c, 0), zqObjectArg(c, 1))); })
        .Procedure("procedure Clear", [](TStrings *s, TzqMethodHelper *) { s->Clear(); })
        .Procedure("procedure Delete(Index: Integer)", [](TStrings *s, TzqMethodHelper *c) { s->Delete(zqInt(c, 0)); })
        .Method("function IndexOf(const S: string): Integer",
                [](TStrings *s, TzqMethodHelper *c) { return Variant(s->IndexOf(zqText(c, 0))); })
        .Method("function IndexOfName(const Name: string): Integer",
                [](TStrings *s, TzqMethodHelper *c) { return Variant(s->IndexOfName(zqText(c, 0))); })
        .Method("function IndexOfObject(AObject: TObject): Integer",
                [](TStrings *s, TzqMethodHelper *c) { return Variant(s->IndexOfObject(zqObjectArg(c, 0))); })
        .Procedure("procedure Insert(Index: Integer; const S: string)",
                   [](TStrings *s, TzqMethodHelper *c) { s->Insert(zqInt(c, 0), zqText(c, 1)); })
        .Procedure(
            "procedure InsertObject(Index: Integer; const S: string; "
            "AObject: TObject)",
            [](TStrings *s, TzqMethodHelper *c) { s->InsertObject(zqInt(c, 0), zqText(c, 1), zqObjectArg(c, 2)); })
        .Procedure("procedure LoadFromFile(const FileName: string)",
                   [](TStrings *s, TzqMethodHelper *c) { s->LoadFromFile(zqText(c, 0)); })
        .Procedure("procedure LoadFromStream(Stream: TStream)",
                   [](TStrings *s, TzqMethodHelper *c) { s->LoadFromStream(zqObjectArgAs<TStream>(c, 0)); })
        .Procedure("procedure SaveToFile(const FileName: string)",
                   [](TStrings *s, TzqMethodHelper *c) { s->SaveToFile(zqText(c, 0)); })
        .Procedure("procedure Move(CurIndex, NewIndex: Integer)",
                   [](TStrings *s, TzqMethodHelper *c) { s->Move(zqInt(c, 0), zqInt(c, 1)); })
        .Procedure("procedure SaveToStream(Stream: TStream)",
                   [](TStrings *s, TzqMethodHelper *c) { s->SaveToStream(zqObjectArgAs<TStream>(c, 0)); })
        .Property(
            "CommaText", "string", [](TStrings *s) { return Variant(s->CommaText()); },
            [](TStrings *s, const Variant &v) { s->SetCommaText(VarToStr(v)); })
        .Property("Count", "Integer", [](TStrings *s) { return Variant(s->Count()); })
        .IndexProperty("Names", "Integer", "string",
                       [](TStrings *s, TzqMethodHelper *c) { return Variant(s->Names(zqInt(c, 0))); })
        .IndexProperty(
            "Objects", "Integer", "TObject",
            [](TStrings *s, TzqMethodHelper *c) { return zqObjectValue(s->ObjectRefs(zqInt(c, 0))); },
            [](TStrings *s, TzqMethodHelper *c) {
                s->SetObjects(zqInt(c, 0), zqObjectArg(c, 1));
                return Variant();
            })
        .IndexProperty(
            "Values", "String", "string",
            [](TStrings *s, TzqMethodHelper *c) { return Variant(s->Values(zqText(c, 0))); },
            [](TStrings *s, TzqMethodHelper *c) {
                s->SetValues(zqText(c, 0), zqText(c, 1));
                return Variant();
            })
        .DefaultProperty(
            "Strings", "Integer", "string",
            [](TStrings *s, TzqMethodHelper *c) { return Variant(s->Strings(zqInt(c, 0))); },
            [](TStrings *s, TzqMethodHelper *c) {
                s->SetStrings(zqInt(c, 0), zqText(c, 1));
                return Variant();
            })
        .Property(
            "Text", "string", [](TStrings *s) { return Variant(s->Text()); },
            [](TStrings *s, const Variant &v) { s->SetText(VarToStr(v)); });
    TzqClassBinding<TStringList>(script, QStringLiteral("TStrings"))
        .Method("function Find(s: String; var Index: Integer): Boolean",
                [](TStringList *list, TzqMethodHelper *c) {
                    int index = 0;
                    const bool found = list->Find(zqText(c, 0), index);
                    c->SetParams(1, Variant(index));
                    return Variant(found);
                })
        .Procedure("procedure Sort", [](TStringList *list, TzqMethodHelper *) { list->Sort(); })
        .Property(
            "Duplicates", "TDuplicates", [](TStringList *list) { return Variant(int(list->Duplicates())); },
            [](TStringList *list, const Variant &v) {
                list->SetDuplicates(TDuplicates(std::clamp(v.AsInteger(), int(dupIgnore), int(dupError))));
            })
        .Property(
            "Sorted", "Boolean", [](TStringList *list) { return Variant(list->Sorted()); },
            [](TStringList *list, const Variant &v) { list->SetSorted(v.AsBoolean()); });
}

void registerStreams(TzqScript *script)
{
    TzqClassBinding<TStream>(script, QStringLiteral("TObject"))
        .Method("function Read(var Buffer: string; Count: Longint): Longint", streamRead)
        .Method("function Write(Buffer: string; Count: Longint): Longint", streamWrite)
        .Method("function Seek(Offset: Longint; Origin: Word): Longint",
                [](TStream *stream, TzqMethodHelper *c) {
                    const int origin = zqInt(c, 1);
                    if (origin < soBeginning || origin > soEnd)
                        throw EStreamError(QStringLiteral("Invalid stream origin"));
                    return Variant(stream->Seek(c->GetParams(0).AsInt64(), TSeekOrigin(origin)));
                })
        .Method("function CopyFrom(Source: TStream; Count: Longint): Longint",
                [](TStream *stream, TzqMethodHelper *c) {
                    return Variant(stream->CopyFrom(zqObjectArgAs<TStream>(c, 0), c->GetParams(1).AsInt64()));
                })
        .Property(
            "Position", "Longint", [](TStream *stream) { return Variant(stream->Position()); },
            [](TStream *stream, const Variant &v) { stream->SetPosition(v.AsInt64()); })
        .Property("Size", "Longint", [](TStream *stream) { return Variant(stream->Size()); });
    TzqClassBinding<TFileStream>(script, QStringLiteral("TStream"))
        .Constructor("constructor Create(Filename: String; Mode: Word)");
    TzqClassBinding<TMemoryStream>(script, QStringLiteral("TStream"))
        .Procedure("procedure Clear", [](TMemoryStream *stream, TzqMethodHelper *) { stream->Clear(); })
        .Procedure(
            "procedure LoadFromStream(Stream: TStream)",
            [](TMemoryStream *stream, TzqMethodHelper *c) { stream->LoadFromStream(zqObjectArgAs<TStream>(c, 0)); })
        .Procedure("procedure LoadFromFile(Filename: String)",
                   [](TMemoryStream *stream, TzqMethodHelper *c) { stream->LoadFromFile(zqText(c, 0)); })
        .Procedure(
            "procedure SaveToStream(Stream: TStream)",
            [](TMemoryStream *stream, TzqMethodHelper *c) { stream->SaveToStream(zqObjectArgAs<TStream>(c, 0)); })
        .Procedure("procedure SaveToFile(Filename: String)",
                   [](TMemoryStream *stream, TzqMethodHelper *c) { stream->SaveToFile(zqText(c, 0)); });
    TzqClassBinding<TComponent>(script, QStringLiteral("TPersistent"))
        .Constructor("constructor Create(AOwner: TComponent)")
        .Property("Owner", "TComponent", [](TComponent *component) { return zqHeldObjectValue(component->Owner()); });
}

void registerXML(TzqScript *script)
{
    TzqClassBinding<TzqXMLItem>(script, QStringLiteral("TObject"))
        .Constructor("constructor Create")
        .Procedure("procedure AddItem(Item: TzqXMLItem)",
                   [](TzqXMLItem *item, TzqMethodHelper *c) { item->AddItem(zqObjectArgAs<TzqXMLItem>(c, 0)); })
        .Procedure("procedure Clear", [](TzqXMLItem *item, TzqMethodHelper *) { item->Clear(); })
        .Procedure("procedure InsertItem(Index: Integer; Item: TzqXMLItem)",
                   [](TzqXMLItem *item, TzqMethodHelper *c) {
                       item->InsertItem(zqInt(c, 0), zqObjectArgAs<TzqXMLItem>(c, 1));
                   })
        .Method("function Add: TzqXMLItem",
                [](TzqXMLItem *item, TzqMethodHelper *) { return zqObjectValue(item->Add()); })
        .Method("function Find(const Name: String): Integer",
                [](TzqXMLItem *item, TzqMethodHelper *c) { return Variant(item->Find(zqText(c, 0))); })
        .Method("function FindItem(const Name: String): TzqXMLItem",
                [](TzqXMLItem *item, TzqMethodHelper *c) { return zqObjectValue(item->FindItem(zqText(c, 0))); })
        .Method("function Root: TzqXMLItem",
                [](TzqXMLItem *item, TzqMethodHelper *) { return zqObjectValue(item->Root()); })
        .Property(
            "Data", "Integer", [](TzqXMLItem *item) { return Variant(int(reinterpret_cast<qintptr>(item->Data()))); },
            [](TzqXMLItem *item, const Variant &v) { item->SetData(reinterpret_cast<void *>(qintptr(v.AsInteger()))); })
        .Property("Count", "Integer", [](TzqXMLItem *item) { return Variant(item->Count()); })
        .DefaultProperty("Items", "Integer", "TzqXMLItem",
                         [](TzqXMLItem *item, TzqMethodHelper *c) { return zqObjectValue(item->Items(zqInt(c, 0))); })
        .IndexProperty(
            "Prop", "String", "String",
            [](TzqXMLItem *item, TzqMethodHelper *c) { return Variant(item->GetProp(zqText(c, 0))); },
            [](TzqXMLItem *item, TzqMethodHelper *c) {
                item->SetProp(zqText(c, 0), zqText(c, 1));
                return Variant();
            })
        .Property(
            "Name", "String", [](TzqXMLItem *item) { return Variant(item->Name()); },
            [](TzqXMLItem *item, const Variant &v) { item->SetName(VarToStr(v)); })
        .Property("Parent", "TzqXMLItem", [](TzqXMLItem *item) { return zqObjectValue(item->Parent()); })
        .Property(
            "Text", "String", [](TzqXMLItem *item) { return Variant(item->Text()); },
            [](TzqXMLItem *item, const Variant &v) { item->SetText(VarToStr(v)); });
    TzqClassBinding<TzqXMLDocument>(script, QStringLiteral("TObject"))
        .Constructor("constructor Create")
        .Procedure("procedure SaveToStream(Stream: TStream)",
                   [](TzqXMLDocument *doc, TzqMethodHelper *c) { doc->SaveToStream(zqObjectArgAs<TStream>(c, 0)); })
        .Procedure("procedure LoadFromStream(Stream: TStream)",
                   [](TzqXMLDocument *doc, TzqMethodHelper *c) { doc->LoadFromStream(zqObjectArgAs<TStream>(c, 0)); })
        .Procedure("procedure SaveToFile(const FileName: String)",
                   [](TzqXMLDocument *doc, TzqMethodHelper *c) { doc->SaveToFile(zqText(c, 0)); })
        .Procedure("procedure LoadFromFile(const FileName: String)",
                   [](TzqXMLDocument *doc, TzqMethodHelper *c) { doc->LoadFromFile(zqText(c, 0)); })
        .Property("Root", "TzqXMLItem", [](TzqXMLDocument *doc) { return zqObjectValue(doc->Root()); });
}

} // namespace

TFunctions::TFunctions(TzqScript *script) : TzqRTTIModule(script)
{
    registerConstants(script);
    registerObjects(script);
    registerStrings(script);
    registerStreams(script);
    registerXML(script);
}

void Register()
{
    RTTIModuleList()->push_back([](TzqScript *script) { return std::make_unique<TFunctions>(script); });
}

} // namespace zq_iclassesrtti
