#include "toolkit/widgets/TGraphicControl.h"

#include "toolkit/graphics/Canvas.h"
#include "toolkit/widgets/ControlFrame.h"

#include <QEvent>

TGraphicControl::TGraphicControl(TComponent *owner) : TControl(owner), m_canvas(std::make_unique<TCanvas>())
{
    SetParentColor(true);
}

TGraphicControl::~TGraphicControl() = default;

bool TGraphicControl::HandleInputEvent(QEvent *event)
{
    if (event->type() != QEvent::Paint)
        return TControl::HandleInputEvent(event);
    ControlFrame::PaintThroughCanvas(Widget(), *m_canvas, *Font(), Color(), [this] { Paint(); },
                                     ControlFrame::Background::Parent);
    return true;
}
