#include "toolkit/widgets/TImage.h"

#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Picture.h"

TImage::TImage(TComponent *owner) : TGraphicControl(owner), m_picture(std::make_unique<TPicture>())
{
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

void TImage::Paint()
{
    const TGraphic *graphic = m_picture->Graphic();
    if (!graphic || graphic->Empty())
        return;
    if (m_stretch) {
        Canvas()->StretchDraw(ClientRect(), graphic);
        return;
    }
    const int x = m_center ? (Width() - graphic->Width()) / 2 : 0;
    const int y = m_center ? (Height() - graphic->Height()) / 2 : 0;
    Canvas()->Draw(x, y, graphic);
}
