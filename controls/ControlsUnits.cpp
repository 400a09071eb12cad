#include "controls/ControlsUnits.h"

#include "controls/ExtGraphics.h"
#include "controls/TCustomGridView.h"
#include "controls/TCustomInspector.h"
#include "toolkit/core/Units.h"

void RegisterControlsUnits()
{
    RegisterToolkitUnits();
    Units::Add("ExtGraphics", nullptr, FreeHalftoneBitmap);
    Units::Add("GridView", InitializeGridViewUnit, nullptr);
    Units::Add("InspectorGrid", InitializeInspectorUnit, nullptr);
}
