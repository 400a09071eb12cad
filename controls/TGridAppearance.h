#pragma once

// The colour and font of a part of the grid (header, fixed band) that can
// follow the grid's own: with GridColor set the colour is the grid's Color,
// with GridFont set the font is a copy of the grid's Font.  Setting a colour
// or changing the font stops following.

#include "toolkit/graphics/Colors.h"
#include "toolkit/classes/Events.h"
#include "toolkit/classes/TPersistent.h"

#include <memory>

class TCustomGridView;
class TFont;

class TGridAppearance : public TPersistent
{
    Q_OBJECT

public:
    explicit TGridAppearance(TCustomGridView *grid);
    ~TGridAppearance() override;

    TCustomGridView *Grid() const { return m_grid; }

    TColor Color() const { return m_color; }
    void SetColor(TColor value);
    bool GridColor() const { return m_gridColor; }
    virtual void SetGridColor(bool value);
    TFont *Font() const { return m_font.get(); }
    void SetFont(const TFont *value);
    bool GridFont() const { return m_gridFont; }
    virtual void SetGridFont(bool value);

    // The grid's colour or font changed: parts that follow it take it.
    void GridColorChanged();
    void GridFontChanged();

    TNotifyEvent OnChange;

protected:
    virtual void Change();
    // After the colour-following flag, the colour or the font changed.
    virtual void AppearanceChanged() { Change(); }
    void assignFrom(const TGridAppearance *other);

private:
    void fontChanged();

    TCustomGridView *m_grid;
    TColor m_color = clBtnFace;
    bool m_gridColor = false;
    std::unique_ptr<TFont> m_font;
    bool m_gridFont = true;
    bool m_followingFont = false;
};
