#pragma once

// Controls whose children may reach beyond the client area, which then
// scrolls over them.
//
// Each direction has a TControlScrollBar.  Its Range is the extent of the
// scrolled contents in pixels; the bar shows when Range exceeds the client
// size (and Visible is set), and Position runs from 0 to Range less the
// client size.  Scrolling moves the children: a child at Top 100 stands at
// Top 60 once the vertical Position is 40, as the classic window does.
// With AutoScroll (the default) the ranges follow the children (the far
// edges of the visible, unaligned ones, in unscrolled coordinates); setting
// a Range turns AutoScroll off.  When the contents fit again, Position
// returns to 0.  The user's actions on a bar move by Increment for a line
// and by the client size for a page.

#include "toolkit/classes/TPersistent.h"
#include "toolkit/widgets/TCustomControl.h"

#include <memory>

class TScrollingWinControl;

class TControlScrollBar : public TPersistent
{
    Q_OBJECT
    Q_PROPERTY(int Increment READ Increment WRITE SetIncrement)
    Q_PROPERTY(int Range READ Range WRITE SetRange)
    Q_PROPERTY(int Position READ Position WRITE SetPosition)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)

public:
    TControlScrollBar(TScrollingWinControl *control, TScrollBarKind kind);

    TScrollBarKind Kind() const { return m_kind; }
    int Increment() const { return m_increment; }
    void SetIncrement(int increment);
    int Range() const { return m_range; }
    void SetRange(int range);
    int Position() const { return m_position; }
    // Clamped to 0 .. Range less the client size; scrolls the children.
    void SetPosition(int position);
    bool Visible() const { return m_visible; }
    void SetVisible(bool visible);
    // Whether the bar is on screen: Visible and a Range beyond the client.
    bool IsScrollBarVisible() const;

    void Assign(const TPersistent *source) override;

private:
    friend class TScrollingWinControl;

    // The client size along the bar.
    int controlSize() const;
    // The largest Position.
    int lastPosition() const;
    void update();
    void scrollMessage(TScrollCode code, int pos);

    TScrollingWinControl *m_control;
    TScrollBarKind m_kind;
    int m_increment = 8;
    int m_range = 0;
    int m_position = 0;
    bool m_visible = true;
};

class TScrollingWinControl : public TCustomControl
{
    Q_OBJECT
    Q_PROPERTY(bool AutoScroll READ AutoScroll WRITE SetAutoScroll)
    Q_PROPERTY(TControlScrollBar *HorzScrollBar READ HorzScrollBar WRITE SetHorzScrollBar)
    Q_PROPERTY(TControlScrollBar *VertScrollBar READ VertScrollBar WRITE SetVertScrollBar)

public:
    explicit TScrollingWinControl(TComponent *owner);
    ~TScrollingWinControl() override;

    bool AutoScroll() const { return m_autoScroll; }
    void SetAutoScroll(bool autoScroll);
    TControlScrollBar *HorzScrollBar() const { return m_horzScrollBar.get(); }
    void SetHorzScrollBar(const TControlScrollBar *bar) { m_horzScrollBar->Assign(bar); }
    TControlScrollBar *VertScrollBar() const { return m_vertScrollBar.get(); }
    void SetVertScrollBar(const TControlScrollBar *bar) { m_vertScrollBar->Assign(bar); }

protected:
    void ScrollMessage(TScrollBarKind kind, TScrollCode code, int pos) override;
    void ControlsChanged() override;
    void Resize() override;

private:
    friend class TControlScrollBar;

    TControlScrollBar *bar(TScrollBarKind kind) const;
    // Ranges from the children (with AutoScroll), then both bars; nothing
    // while it or scrollBy runs.
    void updateScrollBars();
    // Moves every child by dx, dy.
    void scrollBy(int dx, int dy);

    std::unique_ptr<TControlScrollBar> m_horzScrollBar;
    std::unique_ptr<TControlScrollBar> m_vertScrollBar;
    bool m_autoScroll = true;
    // Inside updateScrollBars or scrollBy: child changes are the control's own.
    bool m_updating = false;
};
