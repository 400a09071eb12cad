#include "controls/TGridRows.h"

#include "controls/TCustomGridView.h"

#include <algorithm>

namespace {

constexpr int kMaxRowsHeight = 0x7FFFFFFD;

} // namespace

int AutoRowHeight(const TGridRowMetrics &m)
{
    int glyphExtra = 0;
    if (m.FixedCount == 0)
        glyphExtra = m.HorzLines ? 1 : 0;
    else if (!m.FixedFlat)
        glyphExtra = 3;
    else if (!m.FixedGridColor && m.HorzLines)
        glyphExtra = 1;

    int height = std::max({0, m.TextHeight + 2 * m.TextTopIndent, m.FixedTextHeight + 2 * m.TextTopIndent});
    if (m.CheckBoxes)
        height = std::max(height, m.CheckHeight + m.CheckTopIndent + glyphExtra);
    if (m.ImageHeight >= 0)
        height = std::max(height, m.ImageHeight + m.ImageTopIndent + glyphExtra);
    if (m.HorzLines)
        height = std::max(height, 2 * m.GridLineWidth);
    return height;
}

int MaxRowCount(int height)
{
    if (height < 1)
        return kMaxRowsHeight;
    // Rows taller than half the range leave room for none.
    return std::max(kMaxRowsHeight / height - 2, 0);
}

TCustomGridRows::TCustomGridRows(TCustomGridView *grid) : m_grid(grid) {}

TCustomGridRows::~TCustomGridRows()
{
    OnChange = nullptr;
    SetCount(0);
}

void TCustomGridRows::SetCount(int value)
{
    value = std::clamp(value, 0, MaxCount());
    if (value == m_count)
        return;
    m_count = value;
    Change();
}

void TCustomGridRows::SetHeight(int value)
{
    if (m_autoHeight && m_grid)
        value = AutoRowHeight(m_grid->RowMetrics());
    value = std::max(0, value);
    if (value == m_height)
        return;
    m_height = value;
    m_count = std::min(m_count, MaxCount());
    Change();
}

void TCustomGridRows::SetAutoHeight(bool value)
{
    if (value == m_autoHeight)
        return;
    m_autoHeight = value;
    SetHeight(m_height);
}

void TCustomGridRows::Assign(const TPersistent *source)
{
    const auto *other = qobject_cast<const TCustomGridRows *>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    m_autoHeight = other->m_autoHeight;
    SetHeight(other->m_height);
    SetCount(other->m_count);
}

void TCustomGridRows::Change()
{
    if (OnChange)
        OnChange(this);
}
