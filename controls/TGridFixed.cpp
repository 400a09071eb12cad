#include "controls/TGridFixed.h"

#include "controls/TCustomGridView.h"

#include <algorithm>

TCustomGridFixed::~TCustomGridFixed()
{
    OnChange = nullptr;
}

void TCustomGridFixed::SetCount(int value)
{
    if (Grid())
        value = std::min(value, Grid()->Columns()->Count() - 1);
    value = std::max(value, 0);
    if (value == m_count)
        return;
    m_count = value;
    Change();
}

void TCustomGridFixed::SetFlat(bool value)
{
    if (value == m_flat)
        return;
    m_flat = value;
    if (!value && Grid())
        Grid()->Header()->SetFlat(false);
    Change();
}

void TCustomGridFixed::SetShowDivider(bool value)
{
    if (value == m_showDivider)
        return;
    m_showDivider = value;
    Change();
}

void TCustomGridFixed::Assign(const TPersistent *source)
{
    const auto *other = qobject_cast<const TCustomGridFixed *>(source);
    if (!other) {
        TGridAppearance::Assign(source);
        return;
    }
    m_flat = other->m_flat;
    m_showDivider = other->m_showDivider;
    m_count = other->m_count;
    assignFrom(other);
    SetCount(other->m_count);
}
