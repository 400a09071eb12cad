#include "toolkit/widgets/TScrollBox.h"

TScrollBox::TScrollBox(TComponent *owner) : TScrollingWinControl(owner)
{
    SetBorderStyle(bsSingle);
    SetBounds(0, 0, 185, 41);
}
