#include "controls/ControlsUnits.h"

#include "controls/ExtGraphics.h"
#include "controls/TCustomInspector.h"
#include "toolkit/core/Units.h"

void RegisterControlsUnits()
{
    RegisterToolkitUnits();
    Units::Add("ExtGraphics", nullptr, FreeHalftoneBitmap);
    Units::Add("InspectorGrid", InitializeInspectorUnit, nullptr);
}
