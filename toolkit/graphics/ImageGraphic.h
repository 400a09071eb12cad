#pragma once

// TImageGraphic: the base of graphics shown as one QImage (icons, JPEG and
// PNG pictures).  Width, height and emptiness are those of the image, and
// drawing stretches it into the rectangle.  The size comes from the file:
// changing it raises EInvalidGraphicOperation unless a descendant can
// resize its data.

#include "toolkit/graphics/TGraphic.h"

#include <QImage>

class TImageGraphic : public TGraphic
{
    Q_OBJECT

public:
    bool Empty() const override { return m_image.isNull(); }
    int Width() const override { return m_image.width(); }
    int Height() const override { return m_image.height(); }
    void SetWidth(int) override;
    void SetHeight(int) override;

    // The pixels as they are drawn.
    const QImage &Image() const { return m_image; }

    void Draw(TCanvas *canvas, const TRect &rect) const override;

protected:
    // kind names the graphic in the error of a size change ("an icon").
    explicit TImageGraphic(const QString &kind);

    // Replaces the pixels shown; no change notification.
    void SetImage(const QImage &image) { m_image = image; }

private:
    [[noreturn]] void FixedSize() const;

    QString m_kind;
    QImage m_image;
};
