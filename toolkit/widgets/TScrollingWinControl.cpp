#include "toolkit/widgets/TScrollingWinControl.h"

#include <QScopedValueRollback>

#include <algorithm>

TControlScrollBar::TControlScrollBar(TScrollingWinControl *control, TScrollBarKind kind)
    : m_control(control), m_kind(kind)
{
}

void TControlScrollBar::SetIncrement(int increment)
{
    m_increment = std::max(increment, 1);
}

void TControlScrollBar::SetRange(int range)
{
    m_control->m_autoScroll = false;
    m_range = std::max(range, 0);
    m_control->updateScrollBars();
}

void TControlScrollBar::SetPosition(int position)
{
    position = std::clamp(position, 0, lastPosition());
    const int delta = m_position - position;
    if (delta == 0)
        return;
    m_position = position;
    if (m_kind == sbHorizontal)
        m_control->scrollBy(delta, 0);
    else
        m_control->scrollBy(0, delta);
    update();
}

void TControlScrollBar::SetVisible(bool visible)
{
    m_visible = visible;
    m_control->updateScrollBars();
}

bool TControlScrollBar::IsScrollBarVisible() const
{
    return m_visible && m_range > controlSize();
}

void TControlScrollBar::Assign(const TPersistent *source)
{
    const auto *bar = dynamic_cast<const TControlScrollBar *>(source);
    if (!bar) {
        TPersistent::Assign(source);
        return;
    }
    m_increment = bar->m_increment;
    m_visible = bar->m_visible;
    if (!m_control->m_autoScroll)
        m_range = bar->m_range;
    m_control->updateScrollBars();
    SetPosition(bar->m_position);
}

int TControlScrollBar::controlSize() const
{
    return m_kind == sbHorizontal ? m_control->ClientWidth() : m_control->ClientHeight();
}

int TControlScrollBar::lastPosition() const
{
    return IsScrollBarVisible() ? m_range - controlSize() : 0;
}

void TControlScrollBar::update()
{
    if (m_position > lastPosition())
        SetPosition(lastPosition());
    TScrollInfo info;
    if (IsScrollBarVisible()) {
        info.Max = m_range - 1;
        info.Page = controlSize();
        info.Pos = m_position;
    }
    m_control->SetScrollInfo(m_kind, info);
}

void TControlScrollBar::scrollMessage(TScrollCode code, int pos)
{
    switch (code) {
    case scLineUp:
        SetPosition(m_position - m_increment);
        break;
    case scLineDown:
        SetPosition(m_position + m_increment);
        break;
    case scPageUp:
        SetPosition(m_position - controlSize());
        break;
    case scPageDown:
        SetPosition(m_position + controlSize());
        break;
    case scPosition:
    case scTrack:
        SetPosition(pos);
        break;
    case scTop:
        SetPosition(0);
        break;
    case scBottom:
        SetPosition(lastPosition());
        break;
    case scEndScroll:
        break;
    }
}

TScrollingWinControl::TScrollingWinControl(TComponent *owner)
    : TCustomControl(owner),
      m_horzScrollBar(std::make_unique<TControlScrollBar>(this, sbHorizontal)),
      m_vertScrollBar(std::make_unique<TControlScrollBar>(this, sbVertical))
{
}

TScrollingWinControl::~TScrollingWinControl() = default;

TControlScrollBar *TScrollingWinControl::bar(TScrollBarKind kind) const
{
    return kind == sbHorizontal ? m_horzScrollBar.get() : m_vertScrollBar.get();
}

void TScrollingWinControl::SetAutoScroll(bool autoScroll)
{
    m_autoScroll = autoScroll;
    updateScrollBars();
}

void TScrollingWinControl::ScrollMessage(TScrollBarKind kind, TScrollCode code, int pos)
{
    bar(kind)->scrollMessage(code, pos);
}

void TScrollingWinControl::ControlsChanged()
{
    updateScrollBars();
}

void TScrollingWinControl::Resize()
{
    TCustomControl::Resize();
    updateScrollBars();
}

void TScrollingWinControl::updateScrollBars()
{
    if (m_updating)
        return;
    const QScopedValueRollback<bool> guard(m_updating, true);
    if (m_autoScroll) {
        int right = 0;
        int bottom = 0;
        for (int i = 0; i < ControlCount(); ++i) {
            const TControl *child = Controls(i);
            if (!child->Visible() || child->Align() != alNone)
                continue;
            right = std::max(right, child->Left() + child->Width() + m_horzScrollBar->m_position);
            bottom = std::max(bottom, child->Top() + child->Height() + m_vertScrollBar->m_position);
        }
        m_horzScrollBar->m_range = right;
        m_vertScrollBar->m_range = bottom;
    }
    // A bar that appears narrows the client across it: a second pass sees it.
    for (int pass = 0; pass < 2; ++pass) {
        m_horzScrollBar->update();
        m_vertScrollBar->update();
    }
}

void TScrollingWinControl::scrollBy(int dx, int dy)
{
    const QScopedValueRollback<bool> guard(m_updating, true);
    for (int i = 0; i < ControlCount(); ++i) {
        TControl *child = Controls(i);
        child->SetBounds(child->Left() + dx, child->Top() + dy, child->Width(), child->Height());
    }
}
