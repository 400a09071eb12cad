#include "preview/PreviewUnits.h"

#include "engine/EngineUnits.h"
#include "toolkit/core/Units.h"

void RegisterPreviewUnits()
{
    RegisterEngineUnits();
}
