#include "app/AppUnits.h"

#include "toolkit/Units.h"

void RegisterAppUnits()
{
    RegisterToolkitUnits();
    // The catalogue and the selection rules need no start-up of their own.
}
