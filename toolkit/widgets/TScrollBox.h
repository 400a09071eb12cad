#pragma once

// A bordered area whose controls scroll (see TScrollingWinControl).

#include "toolkit/widgets/TScrollingWinControl.h"

class TScrollBox : public TScrollingWinControl
{
    Q_OBJECT
    Q_PROPERTY(ControlTypes::TFormBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)

public:
    explicit TScrollBox(TComponent *owner);
};
