#include "engine/EngineUnits.h"

#include "report/ReportUnits.h"

void RegisterEngineUnits()
{
    RegisterReportUnits();
}
