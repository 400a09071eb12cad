#pragma once

// A small topmost window with a black frame that shows a hint text near the
// mouse without taking the activation or the mouse.  Descendants paint their own hints
// (cell tips paint like the cell).

#include "toolkit/widgets/TCustomControl.h"

class THintWindow : public TCustomControl
{
    Q_OBJECT

public:
    explicit THintWindow(TComponent *owner);

    // Shows hint in rect (screen coordinates), moved inside the screen's
    // work area where it would leave it.
    virtual void ActivateHint(const TRect &rect, const QString &hint);
    // The window rectangle, at the origin, that shows hint wrapped at
    // maxWidth pixels.
    virtual TRect CalcHintRect(int maxWidth, const QString &hint);

protected:
    void Paint() override;
    // Where the window system still hands the hint a mouse press, the hint
    // goes away and passes the press on to the window below.
    bool HandleInputEvent(QEvent *event) override;

    // Blank pixels between the frame and the text.
    static constexpr int kPadding = 2;
};
