#include "controls/TGridAppearance.h"

#include "controls/TCustomGridView.h"
#include "toolkit/graphics/GraphicsObjects.h"

TGridAppearance::TGridAppearance(TCustomGridView *grid) : m_grid(grid), m_font(std::make_unique<TFont>())
{
    if (m_grid)
        m_font->Assign(m_grid->Font());
    m_font->OnChange = [this](TObject *) { fontChanged(); };
}

TGridAppearance::~TGridAppearance() = default;

void TGridAppearance::SetColor(TColor value)
{
    if (value == m_color && !m_gridColor)
        return;
    m_color = value;
    m_gridColor = false;
    AppearanceChanged();
}

void TGridAppearance::SetGridColor(bool value)
{
    if (value == m_gridColor)
        return;
    m_gridColor = value;
    if (value && m_grid)
        m_color = m_grid->Color();
    AppearanceChanged();
}

void TGridAppearance::SetFont(const TFont *value)
{
    m_font->Assign(value);
}

void TGridAppearance::SetGridFont(bool value)
{
    if (value == m_gridFont)
        return;
    m_gridFont = value;
    if (value)
        GridFontChanged();
    AppearanceChanged();
}

void TGridAppearance::fontChanged()
{
    if (!m_followingFont)
        m_gridFont = false;
    AppearanceChanged();
}

void TGridAppearance::GridColorChanged()
{
    if (!m_gridColor || !m_grid || m_color == m_grid->Color())
        return;
    m_color = m_grid->Color();
    AppearanceChanged();
}

void TGridAppearance::GridFontChanged()
{
    if (!m_gridFont || !m_grid)
        return;
    m_followingFont = true;
    m_font->Assign(m_grid->Font());
    m_followingFont = false;
}

void TGridAppearance::assignFrom(const TGridAppearance *other)
{
    m_color = other->m_color;
    m_gridColor = other->m_gridColor;
    m_followingFont = true;
    m_font->Assign(other->m_font.get());
    m_followingFont = false;
    m_gridFont = other->m_gridFont;
    AppearanceChanged();
}

void TGridAppearance::Change()
{
    if (OnChange)
        OnChange(this);
}
