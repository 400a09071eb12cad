#include "controls/ExtGraphics.h"

#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"

#include <memory>

namespace {

std::unique_ptr<TBitmap> &halftone()
{
    static std::unique_ptr<TBitmap> bitmap;
    return bitmap;
}

// The halftone pattern with its black pixels in one colour and its white
// ones in another.
QImage colouredHalftone(TColor black, TColor white)
{
    QImage image(8, 8, QImage::Format_RGB32);
    const QRgb blackRgb = ColorToQColor(black).rgb();
    const QRgb whiteRgb = ColorToQColor(white).rgb();
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            image.setPixel(x, y, (x % 2) == (y % 2) ? blackRgb : whiteRgb);
    return image;
}

void paintButtonFace(TCanvas *canvas, const TRect &rect, bool pressed)
{
    TRect face = rect;
    canvas->DrawEdge(face, EDGE_RAISED, BF_RECT | BF_MIDDLE | (pressed ? BF_FLAT : 0));
}

} // namespace

TBitmap *GetHalftoneBitmap()
{
    std::unique_ptr<TBitmap> &bitmap = halftone();
    if (!bitmap) {
        bitmap = std::make_unique<TBitmap>();
        bitmap->SetImage(colouredHalftone(clBlack, clWhite));
        bitmap->SetPixelFormat(pf1bit);
    }
    return bitmap.get();
}

void FreeHalftoneBitmap()
{
    halftone().reset();
}

void PaintHalftoneRect(TCanvas *canvas, const TRect &rect)
{
    TBitmap pattern;
    pattern.SetImage(colouredHalftone(canvas->Font()->Color(), canvas->Brush()->Color()));
    const TBrushData saved = canvas->Brush()->Data();
    canvas->SetBrushOrg(0, 0);
    canvas->Brush()->SetBitmap(&pattern);
    canvas->PatBlt(rect, PATINVERT);
    canvas->Brush()->SetBitmap(nullptr);
    canvas->Brush()->SetData(saved);
}

void Paint3DFrame(TCanvas *canvas, const TRect &rect, bool sunken, unsigned sides)
{
    const unsigned outer = sunken ? BDR_SUNKENOUTER : BDR_RAISEDOUTER;
    const unsigned inner = sunken ? BDR_SUNKENINNER : BDR_RAISEDINNER;
    TRect r = rect;
    auto edge = [&](unsigned kind, unsigned which) {
        TRect part = r;
        canvas->DrawEdge(part, kind, sides & which);
    };
    auto shrinkRightBottom = [&] {
        if (sides & BF_RIGHT)
            --r.Right;
        if (sides & BF_BOTTOM)
            --r.Bottom;
    };
    auto shrinkLeftTop = [&] {
        if (sides & BF_LEFT)
            ++r.Left;
        if (sides & BF_TOP)
            ++r.Top;
    };
    edge(outer, BF_RIGHT | BF_BOTTOM);
    shrinkRightBottom();
    edge(inner, BF_LEFT | BF_TOP);
    shrinkLeftTop();
    edge(inner, BF_RIGHT | BF_BOTTOM);
    shrinkRightBottom();
    edge(outer, BF_LEFT | BF_TOP);
}

void PaintFrame(TCanvas *canvas, const TRect &rect, bool flat, unsigned sides)
{
    if (!flat) {
        Paint3DFrame(canvas, rect, false, sides);
        return;
    }
    TRect r = rect;
    canvas->DrawEdge(r, BDR_SUNKENOUTER, sides | BF_FLAT);
}

void PaintDropDownButton(TCanvas *canvas, const TRect &rect, bool pressed)
{
    paintButtonFace(canvas, rect, pressed);
    const int shift = pressed ? 1 : 0;
    const int x = (rect.Left + rect.Right) / 2 - 3 + shift;
    const int y = (rect.Top + rect.Bottom) / 2 - 2 + shift;
    canvas->Brush()->SetColor(clBlack);
    for (int row = 0; row < 4; ++row)
        canvas->FillRect(Rect(x + row, y + row, x + 7 - row, y + row + 1));
}

void PaintEllipsisButton(TCanvas *canvas, const TRect &rect, bool pressed)
{
    paintButtonFace(canvas, rect, pressed);
    const int shift = pressed ? 1 : 0;
    const int x = (rect.Left + rect.Right) / 2 - 1 + shift;
    const int y = (rect.Top + rect.Bottom) / 2 - 1 + shift;
    canvas->Brush()->SetColor(clBlack);
    for (int offset : {-3, 0, 3})
        canvas->FillRect(Bounds(x + offset, y, 2, 2));
}

int GetFontHeight(const TFont *font)
{
    TCanvas canvas;
    canvas.Font()->Assign(font);
    return canvas.TextHeight(QStringLiteral("^j"));
}
