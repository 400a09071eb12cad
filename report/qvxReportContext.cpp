#include "report/qvxReportContext.h"

#include "report/qvxComponent.h"

TqvxReportContext *qvxReportContextOf(const TqvxComponent *object)
{
    return object ? dynamic_cast<TqvxReportContext *>(object->GetReport()) : nullptr;
}
