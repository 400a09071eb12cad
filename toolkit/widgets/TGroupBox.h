#pragma once

// A frame with a caption around a group of controls.  The frame line runs
// through the caption, as classic layouts expect: a control placed 16
// pixels or more below the top lies inside the frame.

#include "toolkit/widgets/TWinControl.h"

class TGroupBox : public TWinControl
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)

public:
    explicit TGroupBox(TComponent *owner);

    void SetCaption(const QString &caption) override;
    // Where the caption and the frame's top line are drawn, in the box's
    // own pixels; controls inside belong below both.
    TRect CaptionRect() const;
    int FrameTop() const;
};
