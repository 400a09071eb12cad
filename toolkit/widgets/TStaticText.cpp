#include "toolkit/widgets/TStaticText.h"

#include "toolkit/graphics/Canvas.h"

TStaticText::TStaticText(TComponent *owner) : TCustomControl(owner)
{
    SetBorderStyle(bsSingle);
    SetStaticEdge(true);
    SetParentColor(true);
    SetControlStyle(ControlStyle() | csSetCaption);
    SetBounds(0, 0, 65, 17);
}

void TStaticText::Paint()
{
    TRect r = ClientRect();
    Canvas()->Brush()->SetStyle(bsClear);
    Canvas()->DrawText(Caption(), r, DT_LEFT | DT_NOPREFIX | DT_WORDBREAK);
}
