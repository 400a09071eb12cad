#include "app/AppUnits.h"

#include "controls/ControlsUnits.h"

void RegisterAppUnits()
{
    // The window stands on the grid controls, which stand on the toolkit.
    // The catalogue and the selection rules need no start-up of their own.
    RegisterControlsUnits();
}
