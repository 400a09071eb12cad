#include "script/zq_igraphicsrtti.h"

#include "script/zqClassBinding.h"
#include "script/zqFunctionTable.h"
#include "script/zqHeldObjects.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Colors.h"
#include "toolkit/graphics/GraphicsObjects.h"
#include "toolkit/graphics/Metafile.h"
#include "toolkit/graphics/Picture.h"
#include "toolkit/graphics/TGraphic.h"

namespace zq_igraphicsrtti
{

namespace
{

// One constant per entry of the colour-name table, in its order; system
// colours are negative.
void registerColors(TzqScript *script)
{
    GetColorValues([script](const QString &name) {
        TColor color = 0;
        if (IdentToColor(name, color))
            script->AddConst(name, QStringLiteral("Integer"), Variant(int(color)));
    });
}

void registerTypes(TzqScript *script)
{
    zqRegisterEnums(script, {
        {"TFontStyles", "fsBold, fsItalic, fsUnderline, fsStrikeout", true},
        {"TFontPitch", "fpDefault, fpVariable, fpFixed", false},
        {"TPenStyle", "psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame", false},
        {"TPenMode",
         "pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot, pmMergeNotPen, pmMaskNotPen, "
         "pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor",
         false},
        {"TBrushStyle", "bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross",
         false},
    });
}

void registerCanvas(TzqScript *script)
{
    TzqClassBinding<TCanvas>(script, QStringLiteral("TPersistent"))
        .Constructor("constructor Create")
        .Procedure("procedure Draw(X, Y: Integer; Graphic: TGraphic)",
                   [](TCanvas *canvas, TzqMethodHelper *c) {
                       canvas->Draw(zqInt(c, 0), zqInt(c, 1), zqOptionalArgAs<TGraphic>(c, 2));
                   })
        .Procedure("procedure Ellipse(X1, Y1, X2, Y2: Integer)",
                   [](TCanvas *canvas, TzqMethodHelper *c) {
                       canvas->Ellipse(zqInt(c, 0), zqInt(c, 1), zqInt(c, 2), zqInt(c, 3));
                   })
        .Procedure("procedure LineTo(X, Y: Integer)",
                   [](TCanvas *canvas, TzqMethodHelper *c) { canvas->LineTo(zqInt(c, 0), zqInt(c, 1)); })
        .Procedure("procedure MoveTo(X, Y: Integer)",
                   [](TCanvas *canvas, TzqMethodHelper *c) { canvas->MoveTo(zqInt(c, 0), zqInt(c, 1)); })
        .Procedure("procedure Rectangle(X1, Y1, X2, Y2: Integer)",
                   [](TCanvas *canvas, TzqMethodHelper *c) {
                       canvas->Rectangle(zqInt(c, 0), zqInt(c, 1), zqInt(c, 2), zqInt(c, 3));
                   })
        .Procedure("procedure RoundRect(X1, Y1, X2, Y2, X3, Y3: Integer)",
                   [](TCanvas *canvas, TzqMethodHelper *c) {
                       canvas->RoundRect(zqInt(c, 0), zqInt(c, 1), zqInt(c, 2), zqInt(c, 3), zqInt(c, 4), zqInt(c, 5));
                   })
        .Procedure("procedure StretchDraw(X1, Y1, X2, Y2: Integer; Graphic: TGraphic)",
                   [](TCanvas *canvas, TzqMethodHelper *c) {
                       const TRect rect{zqInt(c, 0), zqInt(c, 1), zqInt(c, 2), zqInt(c, 3)};
                       canvas->StretchDraw(rect, zqOptionalArgAs<TGraphic>(c, 4));
                   })
        .Method("function TextHeight(const Text: string): Integer",
                [](TCanvas *canvas, TzqMethodHelper *c) { return Variant(canvas->TextHeight(zqText(c, 0))); })
        .Procedure("procedure TextOut(X, Y: Integer; const Text: string)",
                   [](TCanvas *canvas, TzqMethodHelper *c) { canvas->TextOut(zqInt(c, 0), zqInt(c, 1), zqText(c, 2)); })
        .Method("function TextWidth(const Text: string): Integer",
                [](TCanvas *canvas, TzqMethodHelper *c) { return Variant(canvas->TextWidth(zqText(c, 0))); })
        .IndexProperty(
            "Pixels", "Integer, Integer", "TColor",
            [](TCanvas *canvas, TzqMethodHelper *c) { return Variant(int(canvas->Pixel(zqInt(c, 0), zqInt(c, 1)))); },
            [](TCanvas *canvas, TzqMethodHelper *c) {
                canvas->SetPixel(zqInt(c, 0), zqInt(c, 1), TColor(zqInt(c, 2)));
                return Variant();
            });
}

void registerGraphics(TzqScript *script)
{
    TzqClassBinding<TGraphic>(script, QStringLiteral("TPersistent"))
        .Constructor("constructor Create")
        .Procedure("procedure LoadFromFile(const Filename: string)",
                   [](TGraphic *graphic, TzqMethodHelper *c) { graphic->LoadFromFile(zqText(c, 0)); })
        .Procedure("procedure SaveToFile(const Filename: string)",
                   [](TGraphic *graphic, TzqMethodHelper *c) { graphic->SaveToFile(zqText(c, 0)); })
        .Property(
            "Height", "Integer", [](TGraphic *graphic) { return Variant(graphic->Height()); },
            [](TGraphic *graphic, const Variant &v) { graphic->SetHeight(v.AsInteger()); })
        .Property(
            "Width", "Integer", [](TGraphic *graphic) { return Variant(graphic->Width()); },
            [](TGraphic *graphic, const Variant &v) { graphic->SetWidth(v.AsInteger()); });
    TzqClassBinding<TPicture>(script, QStringLiteral("TPersistent"))
        .Procedure("procedure LoadFromFile(const Filename: string)",
                   [](TPicture *picture, TzqMethodHelper *c) { picture->LoadFromFile(zqText(c, 0)); })
        .Procedure("procedure SaveToFile(const Filename: string)",
                   [](TPicture *picture, TzqMethodHelper *c) { picture->SaveToFile(zqText(c, 0)); })
        .Property("Height", "Integer", [](TPicture *picture) { return Variant(picture->Height()); })
        .Property("Width", "Integer", [](TPicture *picture) { return Variant(picture->Width()); });
    TzqClassBinding<TMetafile>(script, QStringLiteral("TGraphic"));
    TzqClassBinding<TMetafileCanvas>(script, QStringLiteral("TCanvas"))
        .Constructor("constructor Create(AMetafile: TMetafile; ReferenceDevice: Integer)");
    TzqClassBinding<TBitmap>(script, QStringLiteral("TGraphic")).Property("Canvas", "TCanvas", [](TBitmap *bitmap) {
        return zqHeldObjectValue(bitmap->Canvas());
    });
}

} // namespace

TFunctions::TFunctions(TzqScript *script) : TzqRTTIModule(script)
{
    registerColors(script);
    registerTypes(script);
    TzqClassBinding<TFont>(script, QStringLiteral("TPersistent")).Constructor("constructor Create");
    TzqClassBinding<TPen>(script, QStringLiteral("TPersistent")).Constructor("constructor Create");
    TzqClassBinding<TBrush>(script, QStringLiteral("TPersistent")).Constructor("constructor Create");
    registerCanvas(script);
    registerGraphics(script);
}

void Register()
{
    RTTIModuleList()->push_back([](TzqScript *script) { return std::make_unique<TFunctions>(script); });
}

} // namespace zq_igraphicsrtti
