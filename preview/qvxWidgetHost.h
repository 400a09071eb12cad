#pragma once

// Controls of the preview that are plain Qt widgets: a host that places any
// widget among the toolkit's aligned controls, and the thin bar that
// resizes the control to its left when dragged.

#include "toolkit/widgets/TCustomControl.h"

#include <functional>

class TqvxWidgetHost : public TWinControl
{
    Q_OBJECT

public:
    // Takes widget over.
    TqvxWidgetHost(TComponent *owner, QWidget *widget) : TWinControl(owner, widget) {}
};

class TqvxSplitter : public TCustomControl
{
    Q_OBJECT

public:
    explicit TqvxSplitter(TComponent *owner);

    // The control whose width the splitter changes.
    void SetResized(TControl *control) { m_resized = control; }
    // Called after each change of width.
    std::function<void()> OnMoved;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    TControl *m_resized = nullptr;
    bool m_dragging = false;
    int m_startX = 0;
};
