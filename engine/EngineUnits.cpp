#include "engine/EngineUnits.h"

#include "engine/qvxProgress.h"
#include "report/ReportUnits.h"
#include "toolkit/core/Units.h"

void RegisterEngineUnits()
{
    RegisterReportUnits();
    Units::Add("qvxProgress", InitializeQvxProgress, FinalizeQvxProgress);
}
