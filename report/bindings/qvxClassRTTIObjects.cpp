// The graphics, fills, wide-string lists, data sets, components and views
// of the report classes' binding module.

#include "report/bindings/qvxClassRTTI.h"

#include "report/base/TWideStrings.h"
#include "report/data/qvxCustomDB.h"
#include "report/pages/qvxDMP.h"
#include "report/data/qvxDataSet.h"
#include "report/data/qvxDialogComponent.h"
#include "report/data/qvxDialogControl.h"
#include "report/components/qvxFill.h"
#include "report/components/qvxFormat.h"
#include "report/components/qvxFrame.h"
#include "report/components/qvxHighlight.h"
#include "report/components/qvxHyperlink.h"
#include "report/views/qvxLineView.h"
#include "report/views/qvxMemoView.h"
#include "report/views/qvxPictureView.h"
#include "report/report/qvxReport.h"
#include "report/views/qvxShapeView.h"
#include "report/pages/qvxSubreport.h"
#include "report/data/qvxUserDataSet.h"
#include "script/zqClassBinding.h"
#include "script/zqHeldObjects.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TList.h"
#include "toolkit/classes/TStrings.h"
#include "toolkit/core/CodePages.h"
#include "toolkit/graphics/GraphicsObjects.h"
#include "toolkit/graphics/JPEGImage.h"
#include "toolkit/widgets/TWinControl.h"

namespace qvxClassRTTI {

namespace {

// A script string is text in the system code page; a memo whose font has
// another character set reads the same bytes as its ANSI text.
void setMemoText(TqvxCustomMemoView *memo, const Variant &value)
{
    if (memo->Font()->Charset() != DEFAULT_CHARSET && VarType(value) == varString)
        memo->SetAnsiText(WideToAnsi(value.AsString(), CP_ACP));
    else
        memo->SetText(VarToStr(value));
}

} // namespace

void RegisterGraphicsAndFills(TzqScript *script)
{
    TzqClassBinding<TJPEGImage>(script, QStringLiteral("TGraphic"));
    // The PNG codec sits above the report library.
    BindRegistered(script, "TPNGObject", "TGraphic");
    TzqClassBinding<TqvxHyperlink>(script, QStringLiteral("TPersistent"));
    TzqClassBinding<TqvxCustomFill>(script, QStringLiteral("TPersistent"));
    TzqClassBinding<TqvxBrushFill>(script, QStringLiteral("TqvxCustomFill"));
    TzqClassBinding<TqvxGradientFill>(script, QStringLiteral("TqvxCustomFill"));
    TzqClassBinding<TqvxGlassFill>(script, QStringLiteral("TqvxCustomFill"));
}

void RegisterWideStrings(TzqScript *script)
{
    using W = TWideStrings;
    TzqClassBinding<W>(script, QStringLiteral("TPersistent"))
        .Constructor("constructor Create")
        .Method("function Add(const S: string): Integer",
                [](W *w, TzqMethodHelper *c) { return Variant(w->Add(zqText(c, 0))); })
        .Method("function AddObject(const S: string; AObject: TObject): Integer",
                [](W *w, TzqMethodHelper *c) { return Variant(w->AddObject(zqText(c, 0), zqObjectArg(c, 1))); })
        .Procedure("procedure Clear", [](W *w, TzqMethodHelper *) { w->Clear(); })
        .Procedure("procedure Delete(Index: Integer)", [](W *w, TzqMethodHelper *c) { w->Delete(zqInt(c, 0)); })
        .Method("function IndexOf(const S: string): Integer",
                [](W *w, TzqMethodHelper *c) { return Variant(w->IndexOf(zqText(c, 0))); })
        .Procedure("procedure Insert(Index: Integer; const S: string)",
                   [](W *w, TzqMethodHelper *c) { w->Insert(zqInt(c, 0), zqText(c, 1)); })
        .Procedure("procedure LoadFromFile(const FileName: string)",
                   [](W *w, TzqMethodHelper *c) { w->LoadFromFile(zqText(c, 0)); })
        .Procedure("procedure LoadFromStream(Stream: TStream)",
                   [](W *w, TzqMethodHelper *c) { w->LoadFromStream(zqObjectArgAs<TStream>(c, 0)); })
        .Procedure("procedure SaveToFile(const FileName: string)",
                   [](W *w, TzqMethodHelper *c) { w->SaveToFile(zqText(c, 0)); })
        .Procedure("procedure SaveToStream(Stream: TStream)",
                   [](W *w, TzqMethodHelper *c) { w->SaveToStream(zqObjectArgAs<TStream>(c, 0)); })
        .Property("Count", "Integer", [](W *w) { return Variant(w->Count()); })
        .IndexProperty(
            "Objects", "Integer", "TObject",
            [](W *w, TzqMethodHelper *c) { return zqObjectValue(w->ObjectRefs(zqInt(c, 0))); },
            [](W *w, TzqMethodHelper *c) {
                w->PutObject(zqInt(c, 0), zqObjectArg(c, 1));
                return Variant();
            })
        .DefaultProperty(
            "Strings", "Integer", "string", [](W *w, TzqMethodHelper *c) { return Variant::FromOleStr(w->Get(zqInt(c, 0))); },
            [](W *w, TzqMethodHelper *c) {
                w->Put(zqInt(c, 0), zqText(c, 1));
                return Variant();
            })
        .Property(
            "Text", "string", [](W *w) { return Variant::FromOleStr(w->GetText()); },
            [](W *w, const Variant &v) { w->SetText(VarToStr(v)); });
}

void RegisterDataSets(TzqScript *script)
{
    using D = TqvxDataSet;
    TzqClassBinding<D>(script, QStringLiteral("TComponent"))
        .Procedure("procedure Open", [](D *d, TzqMethodHelper *) { d->Open(); })
        .Procedure("procedure Close", [](D *d, TzqMethodHelper *) { d->Close(); })
        .Procedure("procedure First", [](D *d, TzqMethodHelper *) { d->First(); })
        .Procedure("procedure Next", [](D *d, TzqMethodHelper *) { d->Next(); })
        .Procedure("procedure Prior", [](D *d, TzqMethodHelper *) { d->Prior(); })
        .Method("function Eof: Boolean", [](D *d, TzqMethodHelper *) { return Variant(d->Eof()); })
        .Method("function FieldsCount: Integer", [](D *d, TzqMethodHelper *) { return Variant(d->FieldsCount()); })
        .Method("function HasField(const fName: String): Boolean",
                [](D *d, TzqMethodHelper *c) { return Variant(d->HasField(zqText(c, 0))); })
        .Method("function IsBlobField(const fName: String): Boolean",
                [](D *d, TzqMethodHelper *c) { return Variant(d->IsBlobField(zqText(c, 0))); })
        .Method("function RecordCount: Integer", [](D *d, TzqMethodHelper *) { return Variant(d->RecordCount()); })
        .Procedure("procedure GetFieldList(List: TStrings)",
                   [](D *d, TzqMethodHelper *c) { d->GetFieldList(zqObjectArgAs<TStrings>(c, 0)); })
        .Property("RecNo", "Integer", [](D *d) { return Variant(d->RecNo()); })
        .IndexProperty("DisplayText", "String", "String",
                       [](D *d, TzqMethodHelper *c) { return Variant::FromOleStr(d->GetDisplayText(zqText(c, 0))); })
        .IndexProperty("DisplayWidth", "String", "Integer",
                       [](D *d, TzqMethodHelper *c) { return Variant(d->GetDisplayWidth(zqText(c, 0))); })
        .IndexProperty("FieldType", "String", "TqvxFieldType",
                       [](D *d, TzqMethodHelper *c) { return Variant(int(d->GetFieldType(zqText(c, 0)))); })
        .IndexProperty("Value", "String", "Variant",
                       [](D *d, TzqMethodHelper *c) { return d->GetValue(zqText(c, 0)); });
    TzqClassBinding<TqvxUserDataSet>(script, QStringLiteral("TqvxDataSet"));
    TzqClassBinding<TqvxCustomDBDataSet>(script, QStringLiteral("TqvxDataSet"));
}

namespace {

void registerComponent(TzqScript *script, TFunctions *module)
{
    using C = TqvxComponent;
    TzqClassBinding<C>(script, QStringLiteral("TComponent"))
        .Procedure("procedure Clear",
                   [](C *c, TzqMethodHelper *) {
                       // The engine walks the objects of its report.
                       if (auto *report = qobject_cast<TqvxReport *>(c->GetReport()))
                           report->RefuseWhileRunning();
                       c->Clear();
                   })
        .Method("function FindObject(s: String): TqvxComponent",
                [](C *c, TzqMethodHelper *h) { return zqHeldObjectValue(c->FindObject(zqText(h, 0))); })
        .Procedure("procedure LoadFromStream(Stream: TStream)",
                   [](C *c, TzqMethodHelper *h) { c->LoadFromStream(zqObjectArgAs<TStream>(h, 0)); })
        .Procedure("procedure SaveToStream(Stream: TStream; SaveChildren: Boolean = True)",
                   [](C *c, TzqMethodHelper *h) {
                       c->SaveToStream(zqObjectArgAs<TStream>(h, 0), zqBool(h, 1), false, false);
                   })
        .Procedure("procedure SetBounds(ALeft, ATop, AWidth, AHeight: Extended)",
                   [](C *c, TzqMethodHelper *h) {
                       c->SetBounds(zqFloat(h, 0), zqFloat(h, 1), zqFloat(h, 2), zqFloat(h, 3));
                   })
        .Property("Objects", "TList",
                  [module](C *c) { return zqHeldObjectValue(module->ObjectList(c, false, c->Objects())); })
        .Property("AllObjects", "TList",
                  [module](C *c) { return zqHeldObjectValue(module->ObjectList(c, true, c->GetAllObjects())); })
        .Property(
            "Parent", "TqvxComponent", [](C *c) { return zqHeldObjectValue(c->Parent()); },
            [](C *c, const Variant &v) {
                TObject *parent = zqObjectOf(v);
                c->SetParent(parent ? zqInstanceAs<C>(parent) : nullptr);
            })
        .Property("Page", "TqvxPage", [](C *c) { return zqHeldObjectValue(c->GetPage()); })
        .Property("AbsLeft", "Extended", [](C *c) { return Variant(c->GetAbsLeft()); })
        .Property("AbsTop", "Extended", [](C *c) { return Variant(c->GetAbsTop()); });
}

void registerMemos(TzqScript *script)
{
    using M = TqvxCustomMemoView;
    TzqClassBinding<M>(script, QStringLiteral("TqvxStretcheable"))
        .Method("function CalcWidth: Extended", [](M *m, TzqMethodHelper *) { return Variant(m->CalcWidth()); })
        .Property("Text", "String", [](M *m) { return Variant::FromOleStr(m->Text()); }, setMemoText)
        .Property(
            "AnsiText", "String", [](M *m) { return Variant(AnsiToWide(m->AnsiText(), CP_ACP)); },
            [](M *m, const Variant &v) { m->SetAnsiText(WideToAnsi(VarToStr(v), CP_ACP)); })
        .Property(
            "Lines", "TWideStrings", [](M *m) { return zqHeldObjectValue(m->Memo()); },
            [](M *m, const Variant &v) {
                TObject *lines = zqObjectOf(v);
                m->Memo()->Assign(lines ? zqInstanceAs<TPersistent>(lines) : nullptr);
            })
        .Property("Value", "Variant", [](M *m) { return m->Value(); });
    TzqClassBinding<TqvxMemoView>(script, QStringLiteral("TqvxCustomMemoView"));
    TzqClassBinding<TqvxSysMemoView>(script, QStringLiteral("TqvxCustomMemoView"));
    TzqClassBinding<TqvxDMPMemoView>(script, QStringLiteral("TqvxCustomMemoView"));
}

} // namespace

void RegisterComponentsAndViews(TzqScript *script, TFunctions *module)
{
    registerComponent(script, module);
    TzqClassBinding<TqvxReportComponent>(script, QStringLiteral("TqvxComponent"));
    TzqClassBinding<TqvxDialogComponent>(script, QStringLiteral("TqvxReportComponent"));
    TzqClassBinding<TqvxDialogControl>(script, QStringLiteral("TqvxReportComponent"))
        .Procedure("procedure SetFocus", [](TqvxDialogControl *control, TzqMethodHelper *) {
            if (auto *windowed = dynamic_cast<TWinControl *>(control->Control()))
                windowed->SetFocus();
        });
    TzqClassBinding<TqvxFrameLine>(script, QStringLiteral("TPersistent"));
    TzqClassBinding<TqvxFrame>(script, QStringLiteral("TPersistent"));
    TzqClassBinding<TqvxView>(script, QStringLiteral("TqvxReportComponent"))
        .Property(
            "TagStr", "String", [](TqvxView *view) { return Variant(view->TagStr()); },
            [](TqvxView *view, const Variant &v) { view->SetTagStr(VarToStr(v)); });
    TzqClassBinding<TqvxShapeView>(script, QStringLiteral("TqvxView"));
    TzqClassBinding<TqvxStretcheable>(script, QStringLiteral("TqvxView"))
        .Method("function CalcHeight: Extended",
                [](TqvxStretcheable *view, TzqMethodHelper *) { return Variant(view->CalcHeight()); });
    TzqClassBinding<TqvxHighlight>(script, QStringLiteral("TPersistent"));
    TzqClassBinding<TqvxFormat>(script, QStringLiteral("TPersistent"));
    registerMemos(script);
    TzqClassBinding<TqvxCustomLineView>(script, QStringLiteral("TqvxStretcheable"));
    TzqClassBinding<TqvxLineView>(script, QStringLiteral("TqvxCustomLineView"));
    TzqClassBinding<TqvxDMPLineView>(script, QStringLiteral("TqvxCustomLineView"));
    TzqClassBinding<TqvxDMPCommand>(script, QStringLiteral("TqvxView"));
    TzqClassBinding<TqvxPictureView>(script, QStringLiteral("TqvxView"))
        .Procedure("procedure LoadFromFile(filename: String)", [](TqvxPictureView *view, TzqMethodHelper *c) {
            view->Picture()->LoadFromFile(zqText(c, 0));
        });
    TzqClassBinding<TqvxSubreport>(script, QStringLiteral("TqvxView"));
}

} // namespace qvxClassRTTI
