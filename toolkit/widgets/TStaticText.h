#pragma once

// A one-line caption in a sunken frame, as the section headers of a form.

#include "toolkit/widgets/TCustomControl.h"

class TStaticText : public TCustomControl
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)

public:
    explicit TStaticText(TComponent *owner);

protected:
    void Paint() override;
};
