#pragma once

// TIcon: an icon file (.ico) shown as its first image.
//
// Images stored as device-independent bitmaps (1, 4, 8, 24 or 32 bits, with
// their transparency mask or alpha channel) are read here; images stored as
// PNG are read by the graphic class registered for PNG data.  The file's
// bytes are kept and saved back unchanged.

#include "toolkit/graphics/TGraphic.h"

#include <QImage>

class TIcon : public TGraphic
{
    Q_OBJECT

public:
    TIcon();

    bool Empty() const override { return m_image.isNull(); }
    int Width() const override { return m_image.width(); }
    int Height() const override { return m_image.height(); }
    // An icon's size comes from its file.
    void SetWidth(int) override;
    void SetHeight(int) override;

    // The first image, Format_ARGB32 with transparent pixels.
    const QImage &Image() const { return m_image; }

    void LoadFromStream(TStream *stream) override;
    void SaveToStream(TStream *stream) const override;
    void Draw(TCanvas *canvas, const TRect &rect) const override;
    void Assign(const TPersistent *source) override;

private:
    QImage m_image;
    QByteArray m_data;
};
