#include "toolkit/graphics/ImageGraphic.h"

#include "toolkit/core/Exceptions.h"
#include "toolkit/graphics/Canvas.h"

TImageGraphic::TImageGraphic(const QString &kind) : m_kind(kind) {}

void TImageGraphic::FixedSize() const
{
    throw EInvalidGraphicOperation(QStringLiteral("Cannot change the size of %1").arg(m_kind));
}

void TImageGraphic::SetWidth(int)
{
    FixedSize();
}

void TImageGraphic::SetHeight(int)
{
    FixedSize();
}

void TImageGraphic::Draw(TCanvas *canvas, const TRect &rect) const
{
    canvas->StretchImage(rect, m_image);
}
