#include "report/ReportContextStub.h"

#include "report/qvxErrors.h"
#include "report/qvxResources.h"

void TStubReport::ReportErrors()
{
    ++reports;
    qvxReportError(this, qvxResources()->Get(QStringLiteral("clErrors")) + QLatin1Char('\n') + errors->Text());
}
