#include "toolkit/widgets/TPanel.h"

#include "toolkit/graphics/Canvas.h"

namespace {

// A bevel is one pixel: light on the top-left and dark on the bottom-right
// when raised, the other way round when lowered.
unsigned edgeOf(TBevelCut bevel)
{
    switch (bevel) {
    case bvRaised:
        return BDR_RAISEDINNER;
    case bvLowered:
        return BDR_SUNKENOUTER;
    default:
        return 0;
    }
}

} // namespace

TPanel::TPanel(TComponent *owner) : TCustomControl(owner)
{
    SetControlStyle(ControlStyle() | csSetCaption);
    SetBounds(0, 0, 185, 41);
}

void TPanel::SetBevelOuter(TBevelCut bevel)
{
    m_bevelOuter = bevel;
    Invalidate();
}

void TPanel::SetBevelInner(TBevelCut bevel)
{
    m_bevelInner = bevel;
    Invalidate();
}

void TPanel::SetAlignment(TAlignment alignment)
{
    m_alignment = alignment;
    Invalidate();
}

void TPanel::Paint()
{
    TCanvas *canvas = Canvas();
    TRect r = ClientRect();
    for (TBevelCut bevel : {m_bevelOuter, m_bevelInner}) {
        if (unsigned edge = edgeOf(bevel))
            canvas->DrawEdge(r, edge, BF_RECT | BF_ADJUST);
    }
    if (Caption().isEmpty())
        return;
    canvas->Brush()->SetStyle(bsClear);
    const unsigned align = m_alignment == taCenter         ? DT_CENTER
                           : m_alignment == taRightJustify ? DT_RIGHT
                                                           : DT_LEFT;
    canvas->DrawText(Caption(), r, align | DT_VCENTER | DT_SINGLELINE);
}
