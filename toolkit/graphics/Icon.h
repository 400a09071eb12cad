#pragma once

// TIcon: an icon file (.ico) shown as its first image.
//
// Images stored as device-independent bitmaps (1, 4, 8, 24 or 32 bits, with
// their transparency mask or alpha channel) are read here; images stored as
// PNG are read by the graphic class registered for PNG data.  The file's
// bytes are kept and saved back unchanged.

#include "toolkit/graphics/ImageGraphic.h"

class TIcon : public TImageGraphic
{
    Q_OBJECT

public:
    TIcon();

    // Image() is the first image, Format_ARGB32 with transparent pixels.

    void LoadFromStream(TStream *stream) override;
    void SaveToStream(TStream *stream) const override;
    void Assign(const TPersistent *source) override;

private:
    QByteArray m_data;
};
