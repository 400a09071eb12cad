#pragma once

// The band of fixed columns at the left of a grid: how many columns it
// holds (never all of them), its colour and font, and its flat or raised
// look.  A raised band makes the header raised as well.

#include "controls/TGridAppearance.h"
#include "toolkit/graphics/GraphicsObjects.h"

class TCustomGridFixed : public TGridAppearance
{
    Q_OBJECT

public:
    using TGridAppearance::TGridAppearance;
    ~TCustomGridFixed() override;

    int Count() const { return m_count; }
    // Clamped to 0..column count - 1.
    void SetCount(int value);
    bool Flat() const { return m_flat; }
    void SetFlat(bool value);
    bool ShowDivider() const { return m_showDivider; }
    void SetShowDivider(bool value);

    void Assign(const TPersistent *source) override;

private:
    int m_count = 0;
    bool m_flat = true;
    bool m_showDivider = true;
};

class TGridFixed : public TCustomGridFixed
{
    Q_OBJECT
    Q_PROPERTY(int Count READ Count WRITE SetCount)
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(bool GridColor READ GridColor WRITE SetGridColor)
    Q_PROPERTY(TFont *Font READ Font WRITE SetFont)
    Q_PROPERTY(bool GridFont READ GridFont WRITE SetGridFont)
    Q_PROPERTY(bool Flat READ Flat WRITE SetFlat)
    Q_PROPERTY(bool ShowDivider READ ShowDivider WRITE SetShowDivider)

public:
    using TCustomGridFixed::TCustomGridFixed;
};
