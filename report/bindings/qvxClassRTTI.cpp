#include "report/bindings/qvxClassRTTI.h"

#include "report/views/qvxCharGrid.h"
#include "report/model/qvxComponent.h"
#include "report/model/qvxGlobals.h"
#include "report/base/qvxObjectTypes.h"
#include "script/zqFunctionTable.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/ObjectHandles.h"
#include "toolkit/classes/TList.h"
#include "toolkit/core/DateUtils.h"
#include "toolkit/graphics/Colors.h"

namespace qvxClassRTTI {

namespace {

void registerConstants(TzqScript *script)
{
    const QString extended = QStringLiteral("Extended");
    script->AddConst(QStringLiteral("qv01cm"), extended, Variant(qv01cm));
    script->AddConst(QStringLiteral("qv1cm"), extended, Variant(37.7953));
    script->AddConst(QStringLiteral("qv01in"), extended, Variant(9.6));
    script->AddConst(QStringLiteral("qv1in"), extended, Variant(96.0));
    script->AddConst(QStringLiteral("qv1CharX"), extended, Variant(qv1CharX));
    script->AddConst(QStringLiteral("qv1CharY"), extended, Variant(qv1CharY));
    zqRegisterConstants(script, {
                                    {"clTransparent", int(clNone)},
                                    {"crHand", crHand},
                                    {"crZoom", crZoom},
                                    {"crFormat", crFormat},
                                });
}

void registerEnums(TzqScript *script)
{
    zqRegisterEnums(
        script,
        {
            {"TqvxStretchMode", "smDontStretch, smActualHeight, smMaxHeight", false},
            {"TqvxShiftMode", "smDontShift, smAlways, smWhenOverlapped", false},
            {"TqvxDuplexMode", "dmNone, dmVertical, dmHorizontal, dmSimplex", false},
            {"TqvxAlign", "baNone, baLeft, baRight, baCenter, baWidth, baBottom, baClient", false},
            {"TqvxFrameStyle", "fsSolid, fsDash, fsDot, fsDashDot, fsDashDotDot, fsDouble", false},
            {"TqvxFrameTypes", "ftLeft, ftRight, ftTop, ftBottom", true},
            {"TqvxHAlign", "haLeft, haRight, haCenter, haBlock", false},
            {"TqvxVAlign", "vaTop, vaBottom, vaCenter", false},
            {"TqvxRestrictions", "rfDontModify, rfDontSize, rfDontMove, rfDontDelete", true},
            {"TqvxShapeKind",
             "skRectangle, skRoundRectangle, skEllipse, skTriangle, skDiamond, skDiagonal1, skDiagonal2", false},
            {"TqvxPreviewButtons",
             "pbPrint, pbLoad, pbSave, pbExport, pbZoom, pbFind, pbTree, pbPageSetup, pbRefresh, pbTools, pbEdit, "
             "pbNavigator, pbExportQuick",
             true},
            {"TqvxZoomMode", "zmDefault, zmWholePage, zmPageWidth, zmManyPages", false},
            {"TqvxPrintPages", "ppAll, ppOdd, ppEven", false},
            {"TqvxDMPFontStyles",
             "fsxBold, fsxItalic, fsxUnderline, fsxSuperScript, fsxSubScript, fsxCondensed, fsxWide, fsx12cpi, "
             "fsx15cpi",
             true},
            {"TqvxRangeBegin", "rbFirst, rbCurrent", false},
            {"TqvxRangeEnd", "reLast, reCurrent, reCount", false},
            {"TqvxFieldType", "fftNumeric, fftString, fftBoolean", false},
            {"TqvxFormatKind", "fkText, fkNumeric, fkDateTime, fkBoolean", false},
            {"TqvxFillType", "ftBrush, ftGradient, ftGlass", false},
        });
}

// A part of the date argument.
template <int Part>
Variant datePart(TzqMethodHelper *caller)
{
    int parts[3] = {};
    DecodeDate(caller->GetParams(0).AsDouble(), parts[0], parts[1], parts[2]);
    return Variant(parts[Part]);
}

Variant zero(TzqMethodHelper *)
{
    return Variant(0);
}

void registerFunctions(TzqScript *script)
{
    zqRegisterFunctions(script, QStringLiteral("ctDate"),
                        {
                            {"function DayOf(Date: TDateTime): Integer", datePart<2>},
                            {"function MonthOf(Date: TDateTime): Integer", datePart<1>},
                            {"function YearOf(Date: TDateTime): Integer", datePart<0>},
                        });
    zqRegisterFunctions(script, QStringLiteral("ctOther"),
                        {{"function IIF(Expr: Boolean; TrueValue, FalseValue: Variant): Variant", zero}});
    zqRegisterFunctions(script, QStringLiteral("ctAggregate"),
                        {
                            {"function SUM(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant", zero},
                            {"function AVG(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant", zero},
                            {"function MIN(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant", zero},
                            {"function MAX(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant", zero},
                            {"function COUNT(Band: Variant = 0; Flags: Integer = 0): Variant", zero},
                        });
}

std::unique_ptr<TzqRTTIModule> create(TzqScript *script)
{
    return std::make_unique<TFunctions>(script);
}

} // namespace

TFunctions::TFunctions(TzqScript *script) : TzqRTTIModule(script)
{
    registerConstants(script);
    registerEnums(script);
    RegisterGraphicsAndFills(script);
    if (script->FindClass(QStringLiteral("TPersistent")))
        RegisterWideStrings(script);
    RegisterDataSets(script);
    RegisterComponentsAndViews(script, this);
    RegisterBandsAndPages(script);
    RegisterOptionsAndCollections(script);
    RegisterReportAndEngine(script);
    registerFunctions(script);
}

TFunctions::~TFunctions() = default;

void BindRegistered(TzqScript *script, const char *name, const char *ancestor)
{
    if (TClass cls = GetClass(QString::fromLatin1(name)))
        script->AddClass(cls, QString::fromLatin1(ancestor));
}

TList *TFunctions::ObjectList(const TqvxComponent *owner, bool all, const QList<TqvxComponent *> &objects)
{
    std::erase_if(m_objectLists, [](const auto &entry) { return !ObjectHandleRegistry::Find(entry.first.first); });
    std::unique_ptr<TList> &list = m_objectLists[{owner->Handle(), all}];
    if (!list)
        list = std::make_unique<TList>();
    list->Clear();
    for (TqvxComponent *object : objects)
        list->Add(object);
    return list.get();
}

void Initialize()
{
    AddRTTIModule(create);
}

void Finalize()
{
    RemoveRTTIModule(create);
}

} // namespace qvxClassRTTI
