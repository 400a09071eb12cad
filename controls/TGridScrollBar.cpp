#include "controls/TGridScrollBar.h"

#include "controls/TCustomGridView.h"
#include "toolkit/graphics/GraphicsObjects.h"

namespace {

constexpr int kBarScale = 10000;

} // namespace

int BarPosToScroll(int pos, int min, int max)
{
    return MulDiv(pos, max - min, kBarScale) + min;
}

int ScrollPosToBar(int pos, int min, int max)
{
    if (max == min)
        return 0;
    return MulDiv(pos - min, kBarScale, max - min);
}

TGridScrollBar::TGridScrollBar(TCustomGridView *grid, TScrollBarKind kind) : m_grid(grid), m_kind(kind) {}

void TGridScrollBar::SetVisible(bool value)
{
    m_visible = value;
    Update();
}

int TGridScrollBar::clampPosition(int value) const
{
    return qMax(qMin(value, m_max - m_pageStep), m_min);
}

void TGridScrollBar::SetParams(int min, int max, int lineStep, int pageStep)
{
    lineStep = qMax(0, lineStep);
    pageStep = qMax(0, pageStep);
    max = qMax(min, max);
    if (min == m_min && max == m_max && lineStep == m_lineStep && pageStep == m_pageStep)
        return;
    m_min = min;
    m_max = max;
    m_lineStep = lineStep;
    m_pageStep = pageStep;
    m_position = clampPosition(m_position);
    Update();
    ChangeParams();
}

void TGridScrollBar::SetPositionEx(int value, TScrollCode scrollCode)
{
    value = clampPosition(value);
    if (value == m_position)
        return;
    Scroll(scrollCode, value);
    value = clampPosition(value);
    if (value == m_position)
        return;
    const int shift = (m_position - value) * m_lineSize;
    m_position = value;
    if (m_grid)
        m_grid->ScrollContents(m_kind, shift);
    Update();
    Change();
}

void TGridScrollBar::ScrollMessage(TScrollCode scrollCode, int pos)
{
    BeginUpdate();
    switch (scrollCode) {
    case scLineUp:
        SetPositionEx(m_position - m_lineStep, scrollCode);
        break;
    case scLineDown:
        SetPositionEx(m_position + m_lineStep, scrollCode);
        break;
    case scPageUp:
        SetPositionEx(m_position - m_pageStep, scrollCode);
        break;
    case scPageDown:
        SetPositionEx(m_position + m_pageStep, scrollCode);
        break;
    case scTrack:
        if (!m_tracking)
            break;
        [[fallthrough]];
    case scPosition:
        SetPositionEx(BarPosToScroll(pos, m_min, m_max), scrollCode);
        break;
    case scEndScroll:
        SetPositionEx(m_position, scrollCode);
        break;
    case scTop:
    case scBottom:
        break;
    }
    EndUpdate();
}

TScrollInfo TGridScrollBar::BarInfo() const
{
    TScrollInfo info;
    info.Min = 0;
    info.Max = m_visible && Range() > m_pageStep ? kBarScale : 0;
    if (Range() != 0) {
        info.Page = MulDiv(m_pageStep, kBarScale, Range());
        info.Pos = MulDiv(m_position - m_min, kBarScale, Range());
    }
    return info;
}

void TGridScrollBar::Update()
{
    if (m_updateCount > 0 || !m_grid || !m_grid->HandleAllocated())
        return;
    m_grid->SetScrollInfo(m_kind, BarInfo());
}

void TGridScrollBar::EndUpdate()
{
    if (m_updateCount > 0 && --m_updateCount == 0)
        Update();
}

void TGridScrollBar::Assign(const TPersistent *source)
{
    const auto *other = qobject_cast<const TGridScrollBar *>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    BeginUpdate();
    SetParams(other->m_min, other->m_max, other->m_lineStep, other->m_pageStep);
    SetPosition(other->m_position);
    m_tracking = other->m_tracking;
    m_visible = other->m_visible;
    EndUpdate();
}

void TGridScrollBar::Change()
{
    if (OnChange)
        OnChange(this);
}

void TGridScrollBar::ChangeParams()
{
    if (OnChangeParams)
        OnChangeParams(this);
}

void TGridScrollBar::Scroll(TScrollCode scrollCode, int &scrollPos)
{
    if (OnScroll)
        OnScroll(this, scrollCode, scrollPos);
}
