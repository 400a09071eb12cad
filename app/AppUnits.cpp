#include "app/AppUnits.h"

#include "codecs/png/PngUnits.h"
#include "controls/ControlsUnits.h"

void RegisterAppUnits()
{
    // The window stands on the grid controls, which stand on the toolkit.
    // The catalogue and the selection rules need no start-up of their own.
    RegisterControlsUnits();
    // PNG pictures of reports load through the picture loader.
    RegisterPngUnits();
}
