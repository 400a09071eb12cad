#include "controls/ControlsUnits.h"

#include "controls/ExtGraphics.h"
#include "toolkit/Units.h"

void RegisterControlsUnits()
{
    RegisterToolkitUnits();
    Units::Add("ExtGraphics", nullptr, FreeHalftoneBitmap);
}
