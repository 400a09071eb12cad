#include "engine/EngineUnits.h"

#include "engine/qvxEngine.h"
#include "engine/qvxPreviewPages.h"
#include "engine/qvxPrinter.h"
#include "engine/qvxProgress.h"
#include "report/ReportUnits.h"
#include "toolkit/core/Units.h"

void RegisterEngineUnits()
{
    RegisterReportUnits();
    Units::Add("qvxPrinter", InitializeQvxPrinter, FinalizeQvxPrinter);
    Units::Add("qvxPreviewPages", InitializeQvxPreviewPages, FinalizeQvxPreviewPages);
    Units::Add("qvxProgress", InitializeQvxProgress, FinalizeQvxProgress);
    Units::Add("qvxEngine", InitializeQvxEngine, FinalizeQvxEngine);
}
