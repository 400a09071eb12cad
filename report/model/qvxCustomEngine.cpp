#include "report/model/qvxCustomEngine.h"

#include "toolkit/classes/PropertyDeclarations.h"
#include "toolkit/classes/TList.h"

TqvxCustomEngine::TqvxCustomEngine(TqvxReportLink *report)
    : m_notifyList(std::make_unique<TList>()), m_report(report)
{
}

TqvxCustomEngine::~TqvxCustomEngine() = default;

void InitializeQvxCustomEngine()
{
    DescribeProperties<TqvxCustomEngine>().TypeName("StartDate", "TDateTime").TypeName("StartTime", "TDateTime");
}
