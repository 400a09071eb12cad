#include "report/StubReport.h"

#include "report/model/qvxErrors.h"
#include "report/model/qvxResources.h"

void TStubReport::ReportErrors()
{
    ++reports;
    qvxReportError(this, qvxResources()->Get(QStringLiteral("clErrors")) + QLatin1Char('\n') + errors->Text());
}

TqvxComponent *TStubReport::FindDataSet(const QString &userName) const
{
    return qvxFindDataSet(const_cast<TStubReport *>(this), nullptr, userName);
}
