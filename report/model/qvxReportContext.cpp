#include "report/model/qvxReportContext.h"

#include "report/model/qvxComponent.h"

TqvxReportContext *qvxReportContextOf(const TqvxComponent *object)
{
    return object ? dynamic_cast<TqvxReportContext *>(object->GetReport()) : nullptr;
}
