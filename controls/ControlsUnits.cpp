#include "controls/ControlsUnits.h"

#include "controls/ExtGraphics.h"
#include "controls/TCustomInspector.h"
#include "toolkit/Units.h"

void RegisterControlsUnits()
{
    RegisterToolkitUnits();
    Units::Add("ExtGraphics", nullptr, FreeHalftoneBitmap);
    Units::Add("InspectorGrid", InitializeInspectorUnit, nullptr);
}
