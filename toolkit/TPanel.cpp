#include "toolkit/TPanel.h"

#include "toolkit/Canvas.h"

namespace {

unsigned edgeOf(TBevelCut bevel, unsigned raised, unsigned sunken)
{
    switch (bevel) {
    case bvRaised:
        return raised;
    case bvLowered:
        return sunken;
    default:
        return 0;
    }
}

} // namespace

TPanel::TPanel(TComponent *owner) : TCustomControl(owner)
{
    SetBounds(0, 0, 185, 41);
}

void TPanel::SetCaption(const QString &caption)
{
    TCustomControl::SetCaption(caption);
    Invalidate();
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

void TPanel::Changed()
{
    Invalidate();
}

void TPanel::Paint()
{
    TCanvas *canvas = Canvas();
    TRect r = ClientRect();
    if (unsigned outer = edgeOf(m_bevelOuter, BDR_RAISEDOUTER, BDR_SUNKENOUTER))
        canvas->DrawEdge(r, outer, BF_RECT | BF_ADJUST);
    if (unsigned inner = edgeOf(m_bevelInner, BDR_RAISEDINNER, BDR_SUNKENINNER))
        canvas->DrawEdge(r, inner, BF_RECT | BF_ADJUST);
    if (Caption().isEmpty())
        return;
    canvas->Brush()->SetStyle(bsClear);
    const unsigned align = m_alignment == taCenter         ? DT_CENTER
                           : m_alignment == taRightJustify ? DT_RIGHT
                                                           : DT_LEFT;
    canvas->DrawText(Caption(), r, align | DT_VCENTER | DT_SINGLELINE);
}
