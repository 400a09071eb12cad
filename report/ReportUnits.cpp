#include "report/ReportUnits.h"

#include "report/qvxResources.h"
#include "script/ScriptUnits.h"
#include "toolkit/Units.h"

void RegisterReportUnits()
{
    RegisterScriptUnits();
    Units::Add("qvxResources", InitializeQvxResources, FinalizeQvxResources);
}
