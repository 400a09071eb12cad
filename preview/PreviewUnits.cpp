#include "preview/PreviewUnits.h"

#include "engine/EngineUnits.h"
#include "preview/qvxPreviewUnit.h"
#include "toolkit/core/Units.h"

void RegisterPreviewUnits()
{
    RegisterEngineUnits();
    Units::Add("qvxPreview", InitializeQvxPreview, FinalizeQvxPreview);
}
