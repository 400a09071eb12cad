#include "preview/qvxWidgetHost.h"

#include "toolkit/graphics/Canvas.h"

#include <algorithm>

TqvxSplitter::TqvxSplitter(TComponent *owner) : TCustomControl(owner)
{
    SetWidth(4);
    SetCursor(crHSplit);
}

void TqvxSplitter::Paint()
{
    Canvas()->Brush()->SetColor(clBtnFace);
    Canvas()->FillRect(ClientRect());
}

void TqvxSplitter::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomControl::MouseDown(button, shift, x, y);
    m_dragging = button == mbLeft;
    m_startX = x;
}

void TqvxSplitter::MouseMove(TShiftState shift, int x, int y)
{
    TCustomControl::MouseMove(shift, x, y);
    if (!m_dragging || !m_resized)
        return;
    const int delta = m_resized->Align() == alRight ? m_startX - x : x - m_startX;
    m_resized->SetWidth(std::max(m_resized->Width() + delta, 0));
    if (OnMoved)
        OnMoved();
}

void TqvxSplitter::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomControl::MouseUp(button, shift, x, y);
    m_dragging = false;
}
