#include "toolkit/widgets/TImage.h"

#include "toolkit/graphics/Canvas.h"
#include "toolkit/widgets/ControlFrame.h"
#include "toolkit/graphics/Picture.h"

#include <QEvent>

TImage::TImage(TComponent *owner)
    : TControl(owner), m_picture(std::make_unique<TPicture>()), m_canvas(std::make_unique<TCanvas>())
{
    SetParentColor(true);
    SetBounds(0, 0, 105, 105);
    m_picture->OnChange = [this](TObject *) { Invalidate(); };
}

TImage::~TImage() = default;

void TImage::SetStretch(bool stretch)
{
    m_stretch = stretch;
    Invalidate();
}

void TImage::SetCenter(bool center)
{
    m_center = center;
    Invalidate();
}

bool TImage::HandleInputEvent(QEvent *event)
{
    if (event->type() != QEvent::Paint)
        return TControl::HandleInputEvent(event);
    ControlFrame::PaintThroughCanvas(Widget(), *m_canvas, *Font(), Color(), [this] { paint(); });
    return true;
}

void TImage::paint()
{
    const TGraphic *graphic = m_picture->Graphic();
    if (!graphic || graphic->Empty())
        return;
    if (m_stretch) {
        m_canvas->StretchDraw(ClientRect(), graphic);
        return;
    }
    const int x = m_center ? (Width() - graphic->Width()) / 2 : 0;
    const int y = m_center ? (Height() - graphic->Height()) / 2 : 0;
    m_canvas->Draw(x, y, graphic);
}
