#include "engine/EngineUnits.h"

#include "engine/qvxEngine.h"
#include "engine/qvxProgress.h"
#include "report/ReportUnits.h"
#include "toolkit/core/Units.h"

void RegisterEngineUnits()
{
    RegisterReportUnits();
    Units::Add("qvxProgress", InitializeQvxProgress, FinalizeQvxProgress);
    Units::Add("qvxEngine", InitializeQvxEngine, FinalizeQvxEngine);
}
