#pragma once

// A control without a window of its own to paint: it paints on its parent's
// surface through Canvas in Paint, so whatever it leaves unpainted shows the
// parent beneath it.  It takes no focus and no keys; it hears the mouse.

#include "toolkit/widgets/TControl.h"

#include <memory>

class TCanvas;

class TGraphicControl : public TControl
{
    Q_OBJECT

public:
    explicit TGraphicControl(TComponent *owner);
    ~TGraphicControl() override;

    // The canvas of the control's area; draws only inside Paint.
    TCanvas *Canvas() const { return m_canvas.get(); }

protected:
    virtual void Paint() {}

    bool HandleInputEvent(QEvent *event) override;

private:
    std::unique_ptr<TCanvas> m_canvas;
};
