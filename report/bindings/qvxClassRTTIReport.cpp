// The bands, pages, options, variable and style lists, the report, the
// engine and the outline of the report classes' binding module.

#include "report/bindings/qvxClassRTTI.h"

#include "report/pages/qvxBand.h"
#include "report/pages/qvxBands.h"
#include "report/model/qvxCustomEngine.h"
#include "report/model/qvxCustomOutline.h"
#include "report/model/qvxCustomPreviewPages.h"
#include "report/pages/qvxDMP.h"
#include "report/pages/qvxDataBand.h"
#include "report/pages/qvxDialogPage.h"
#include "report/model/qvxOptions.h"
#include "report/pages/qvxPage.h"
#include "report/report/qvxReport.h"
#include "report/model/qvxReportLink.h"
#include "report/report/qvxReportOptions.h"
#include "report/components/qvxStyles.h"
#include "report/model/qvxVariables.h"
#include "script/zqClassBinding.h"
#include "script/zqHeldObjects.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TStrings.h"

#include <cmath>

namespace qvxClassRTTI {

namespace {

// Classes that add no members, each after the ancestor.
template <class... T>
void bindPlain(TzqScript *script, const char *ancestor)
{
    (TzqClassBinding<T>(script, QString::fromLatin1(ancestor)), ...);
}

// Scripts number the preview buttons with pbTree for the outline and a
// pbRefresh the preview does not have, so that pbTools and those after it
// stand one place higher than the preview's own; the preview's "no close",
// "no full screen" and "no e-mail" flags have no script name.
constexpr int ScriptRefresh = 8;
constexpr int ScriptButtons = 13;
constexpr int PreviewFlagsMask = pbNoClose | pbNoFullScreen | pbNoEmail;

int scriptButtonBit(int previewBit)
{
    return previewBit < ScriptRefresh ? previewBit : previewBit + 1;
}

Variant scriptButtons(TqvxPreviewButtons buttons)
{
    int value = 0;
    for (int bit = 0; scriptButtonBit(bit) < ScriptButtons; ++bit)
        if (buttons.toInt() & (1 << bit))
            value |= 1 << scriptButtonBit(bit);
    return Variant(value);
}

TqvxPreviewButtons previewButtons(int scriptValue, TqvxPreviewButtons kept)
{
    int value = kept.toInt() & PreviewFlagsMask;
    for (int bit = 0; scriptButtonBit(bit) < ScriptButtons; ++bit)
        if (scriptValue & (1 << scriptButtonBit(bit)))
            value |= 1 << bit;
    return TqvxPreviewButtons::fromInt(value);
}

// The published Buttons, read and written in the scripts' numbering.
void registerPreviewOptions(TzqScript *script)
{
    TzqClassVariable *cls = TzqClassBinding<TqvxPreviewOptions>(script, QStringLiteral("TPersistent")).Class();
    auto *buttons = cls ? dynamic_cast<TzqPropertyHelper *>(cls->Find(QStringLiteral("Buttons"))) : nullptr;
    if (!buttons)
        return;
    buttons->PropInfo = nullptr;
    buttons->TypeName = QStringLiteral("TqvxPreviewButtons");
    buttons->GetProp = [](TObject *instance, TClass, const QString &) {
        return scriptButtons(zqInstanceAs<TqvxPreviewOptions>(instance)->Buttons());
    };
    buttons->SetProp = [](TObject *instance, TClass, const QString &, const Variant &value) {
        auto *options = zqInstanceAs<TqvxPreviewOptions>(instance);
        options->SetButtons(previewButtons(value.AsInteger(), options->Buttons()));
    };
}

void registerVariables(TzqScript *script)
{
    using V = TqvxVariables;
    TzqClassBinding<V>(script, QStringLiteral("TCollection"))
        .Constructor("constructor Create")
        .DefaultProperty(
            "Variables", "String", "Variant",
            [](V *v, TzqMethodHelper *c) { return v->GetVariable(zqText(c, 0)); },
            [](V *v, TzqMethodHelper *c) {
                v->SetVariable(zqText(c, 0), c->GetParams(1));
                return Variant();
            });
}

void registerStyles(TzqScript *script)
{
    using S = TqvxStyles;
    TzqClassBinding<S>(script, QStringLiteral("TCollection"))
        .Constructor("constructor Create(AReport: TqvxReport)")
        .DefaultProperty(
            "Items", "Integer", "TqvxStyleItem",
            [](S *s, TzqMethodHelper *c) { return zqHeldObjectValue(s->Items(zqInt(c, 0))); },
            [](S *, TzqMethodHelper *) { return Variant(); })
        .Method("function Add: TqvxStyleItem", [](S *s, TzqMethodHelper *) { return zqHeldObjectValue(s->Add()); })
        .Method("function Find(const Name: String): TqvxStyleItem",
                [](S *s, TzqMethodHelper *c) { return zqHeldObjectValue(s->Find(zqText(c, 0))); })
        .Procedure("procedure Apply", [](S *s, TzqMethodHelper *) { s->Apply(); })
        .Procedure("procedure GetList(List: TStrings)",
                   [](S *s, TzqMethodHelper *c) { s->GetList(zqObjectArgAs<TStrings>(c, 0)); })
        .Procedure("procedure LoadFromFile(const FileName: String)",
                   [](S *s, TzqMethodHelper *c) { s->LoadFromFile(zqText(c, 0)); })
        .Procedure("procedure LoadFromStream(Stream: TStream)",
                   [](S *s, TzqMethodHelper *c) { s->LoadFromStream(zqObjectArgAs<TStream>(c, 0)); })
        .Procedure("procedure SaveToFile(const FileName: String)",
                   [](S *s, TzqMethodHelper *c) { s->SaveToFile(zqText(c, 0)); })
        .Procedure("procedure SaveToStream(Stream: TStream)",
                   [](S *s, TzqMethodHelper *c) { s->SaveToStream(zqObjectArgAs<TStream>(c, 0)); });
}

void registerArray(TzqScript *script)
{
    using A = TqvxArray;
    TzqClassBinding<A>(script, QStringLiteral("TCollection"))
        .Constructor("constructor Create")
        .DefaultProperty(
            "Variables", "Variant", "Variant", [](A *a, TzqMethodHelper *c) { return a->GetValue(c->GetParams(0)); },
            [](A *a, TzqMethodHelper *c) {
                a->SetValue(c->GetParams(0), c->GetParams(1));
                return Variant();
            });
}

void registerReport(TzqScript *script)
{
    using R = TqvxReport;
    TzqClassBinding<R>(script, QStringLiteral("TqvxComponent"))
        .Method("function Calc(const Expr: String): Variant",
                [](R *r, TzqMethodHelper *c) { return r->CalcFromScript(zqText(c, 0)); })
        .Method("function GetDataset(const Alias: String): TqvxDataset",
                [](R *r, TzqMethodHelper *c) { return zqHeldObjectValue(r->GetDataset(zqText(c, 0))); })
        .Method("function LoadFromFile(const FileName: String): Boolean",
                [](R *r, TzqMethodHelper *c) { return Variant(r->LoadFromFile(zqText(c, 0))); })
        .Procedure("procedure SaveToFile(const FileName: String)",
                   [](R *r, TzqMethodHelper *c) { r->SaveToFile(zqText(c, 0)); })
        .Procedure("procedure ShowReport", [](R *r, TzqMethodHelper *) { r->ShowReport(true); })
        .Property(
            "Terminated", "Boolean", [](R *r) { return Variant(r->Terminated()); },
            [](R *r, const Variant &v) { r->SetTerminated(v.AsBoolean()); })
        .Property("Variables", "TqvxVariables", [](R *r) { return zqHeldObjectValue(r->Variables()); })
        .Property("Styles", "TqvxStyles", [](R *r) { return zqHeldObjectValue(r->Styles()); });
}

void registerEngine(TzqScript *script)
{
    using E = TqvxCustomEngine;
    TzqClassBinding<E>(script, QStringLiteral("TPersistent"))
        .Procedure("procedure AddAnchor(const Text: String)",
                   [](E *e, TzqMethodHelper *c) { e->PreviewPages()->AddAnchor(zqText(c, 0)); })
        .Method("function GetAnchorPage(const Text: String): Integer",
                [](E *e, TzqMethodHelper *c) { return Variant(e->PreviewPages()->GetAnchorPage(zqText(c, 0))); })
        .Procedure("procedure NewPage", [](E *e, TzqMethodHelper *) { e->NewPage(); })
        .Procedure("procedure NewColumn", [](E *e, TzqMethodHelper *) { e->NewColumn(); })
        .Procedure("procedure ShowBand(Band: TqvxBand)",
                   [](E *e, TzqMethodHelper *c) { e->ShowBand(zqOptionalArgAs<TqvxBand>(c, 0)); })
        .Method("function FreeSpace: Extended", [](E *e, TzqMethodHelper *) { return Variant(e->FreeSpace()); })
        .Procedure("procedure StopReport", [](E *e, TzqMethodHelper *) { e->Report()->SetTerminated(true); });
    BindRegistered(script, "TqvxEngine", "TqvxCustomEngine");
}

void registerOutline(TzqScript *script)
{
    using O = TqvxCustomOutline;
    TzqClassBinding<O>(script, QStringLiteral("TPersistent"))
        .Procedure("procedure AddItem(const Text: String)",
                   [](O *o, TzqMethodHelper *c) {
                       const TqvxCustomEngine *engine = o->PreviewPages()->Engine();
                       const double top = engine ? engine->CurY() : 0;
                       o->AddItem(zqText(c, 0), int(std::nearbyint(top)));
                   })
        .Procedure("procedure LevelRoot", [](O *o, TzqMethodHelper *) { o->LevelRoot(); })
        .Procedure("procedure LevelUp", [](O *o, TzqMethodHelper *) { o->LevelUp(); });
    BindRegistered(script, "TqvxOutline", "TqvxCustomOutline");
}

} // namespace

void RegisterBandsAndPages(TzqScript *script)
{
    TzqClassBinding<TqvxBand>(script, QStringLiteral("TqvxReportComponent"))
        .Property("Overflow", "Boolean", [](TqvxBand *band) { return Variant(band->Overflow); });
    bindPlain<TqvxDataBand, TqvxHeader, TqvxFooter>(script, "TqvxBand");
    bindPlain<TqvxMasterData, TqvxDetailData, TqvxSubdetailData, TqvxDataBand4, TqvxDataBand5, TqvxDataBand6>(
        script, "TqvxDataBand");
    bindPlain<TqvxPageHeader, TqvxPageFooter, TqvxColumnHeader, TqvxColumnFooter, TqvxGroupHeader, TqvxGroupFooter,
              TqvxReportTitle, TqvxReportSummary, TqvxChild, TqvxOverlay>(script, "TqvxBand");
    TzqClassBinding<TqvxPage>(script, QStringLiteral("TqvxComponent"));
    TzqClassBinding<TqvxReportPage>(script, QStringLiteral("TqvxPage"));
    TzqClassBinding<TqvxDialogPage>(script, QStringLiteral("TqvxPage"))
        .Method("function ShowModal: Integer",
                [](TqvxDialogPage *page, TzqMethodHelper *) { return Variant(page->ShowModal()); })
        .Property(
            "ModalResult", "Integer", [](TqvxDialogPage *page) { return Variant(page->ModalResult()); },
            [](TqvxDialogPage *page, const Variant &v) { page->SetModalResult(v.AsInteger()); });
    TzqClassBinding<TqvxDMPPage>(script, QStringLiteral("TqvxReportPage"));
    TzqClassBinding<TqvxDataPage>(script, QStringLiteral("TqvxPage"));
}

void RegisterOptionsAndCollections(TzqScript *script)
{
    TzqClassBinding<TqvxEngineOptions>(script, QStringLiteral("TPersistent"))
        .Property(
            "DestroyForms", "Boolean", [](TqvxEngineOptions *o) { return Variant(o->DestroyForms()); },
            [](TqvxEngineOptions *o, const Variant &v) { o->SetDestroyForms(v.AsBoolean()); });
    TzqClassBinding<TqvxPrintOptions>(script, QStringLiteral("TPersistent"));
    registerPreviewOptions(script);
    TzqClassBinding<TqvxReportOptions>(script, QStringLiteral("TPersistent"));
    TzqClassBinding<TqvxVariable>(script, QStringLiteral("TCollectionItem"));
    registerVariables(script);
    TzqClassBinding<TqvxStyleItem>(script, QStringLiteral("TCollectionItem"));
    registerStyles(script);
    registerArray(script);
    if (TqvxVariables *globals = qvxGlobalVariables())
        script->AddObject(QStringLiteral("qvxGlobalVariables"), globals);
}

void RegisterReportAndEngine(TzqScript *script)
{
    registerReport(script);
    registerEngine(script);
    registerOutline(script);
}

} // namespace qvxClassRTTI
