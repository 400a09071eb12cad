#include "report/model/qvxReportContext.h"

#include "report/model/qvxComponent.h"

TqvxReportContext *qvxReportContextOf(const TqvxComponent *object)
{
    return object ? object->ReportContext() : nullptr;
}
