#pragma once

// TGridScrollBar: one scroll bar of a grid, with the grid's own units
// (pixels horizontally, rows vertically) mapped onto the window's scroll
// bar on a fixed 0..10000 scale.
//
// Position always lies within Min..Max - PageStep.  The scroll
// notification comes before a move and may change the target; the change
// notification comes after it.  Without a grid the bar is pure arithmetic.

#include "toolkit/widgets/ControlTypes.h"
#include "toolkit/classes/Events.h"
#include "toolkit/widgets/TCustomControl.h"
#include "toolkit/classes/TPersistent.h"

class TCustomGridView;

TOOLKIT_EVENT(TGridScrollEvent, void(TObject *sender, TScrollCode scrollCode, int &scrollPos))

// A position of the 0..10000 bar scale in the units Min..Max, and back;
// ScrollPosToBar answers 0 for an empty range.
int BarPosToScroll(int pos, int min, int max);
int ScrollPosToBar(int pos, int min, int max);

class TGridScrollBar : public TPersistent
{
    Q_OBJECT
    Q_PROPERTY(bool Tracking READ Tracking WRITE SetTracking)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)

public:
    TGridScrollBar(TCustomGridView *grid, TScrollBarKind kind);

    TCustomGridView *Grid() const { return m_grid; }
    TScrollBarKind Kind() const { return m_kind; }

    int Position() const { return m_position; }
    void SetPosition(int value) { SetPositionEx(value, scEndScroll); }
    int Min() const { return m_min; }
    int Max() const { return m_max; }
    int Range() const { return m_max - m_min; }
    int LineStep() const { return m_lineStep; }
    int PageStep() const { return m_pageStep; }
    // Pixels one unit of Position scrolls the window by (never below 1).
    int LineSize() const { return m_lineSize; }
    void SetLineSize(int value) { m_lineSize = qMax(1, value); }
    // Whether dragging the thumb scrolls at once or on release.
    bool Tracking() const { return m_tracking; }
    void SetTracking(bool value) { m_tracking = value; }
    bool Visible() const { return m_visible; }
    void SetVisible(bool value);

    virtual void SetParams(int min, int max, int lineStep, int pageStep);
    virtual void SetPositionEx(int value, TScrollCode scrollCode);
    // A user action on the window's bar; pos is on the 0..10000 scale.
    virtual void ScrollMessage(TScrollCode scrollCode, int pos);
    // Shows the parameters on the window's bar.
    virtual void Update();
    // The bar parameters that Update shows.
    TScrollInfo BarInfo() const;

    // Nested: Update waits until the outermost EndUpdate.
    void BeginUpdate() { ++m_updateCount; }
    void EndUpdate();

    void Assign(const TPersistent *source) override;

    TGridScrollEvent OnScroll;
    TNotifyEvent OnChange;
    TNotifyEvent OnChangeParams;

protected:
    virtual void Change();
    virtual void ChangeParams();
    virtual void Scroll(TScrollCode scrollCode, int &scrollPos);

private:
    int clampPosition(int value) const;

    TCustomGridView *m_grid;
    TScrollBarKind m_kind;
    int m_position = 0;
    int m_min = 0;
    int m_max = 0;
    int m_pageStep = 100;
    int m_lineStep = 8;
    int m_lineSize = 1;
    bool m_tracking = true;
    bool m_visible = true;
    int m_updateCount = 0;
};
