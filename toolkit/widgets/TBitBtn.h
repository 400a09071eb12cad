#pragma once

// A push button with a picture (Glyph) beside its caption.  The glyph's
// bottom-left pixel colour is transparent, as on classic bitmap buttons.

#include "toolkit/widgets/TButton.h"

#include <memory>

class TBitmap;

class TBitBtn : public TButton
{
    Q_OBJECT

public:
    explicit TBitBtn(TComponent *owner);
    ~TBitBtn() override;

    const TBitmap *Glyph() const { return m_glyph.get(); }
    // Copies the bitmap; nullptr removes the glyph.
    void SetGlyph(const TBitmap *glyph);

private:
    void applyGlyph();

    std::unique_ptr<TBitmap> m_glyph;
};
