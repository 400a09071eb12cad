#include "report/qvxReportContext.h"

#include "report/qvxComponent.h"

TqvxReportContext *qvxReportContextOf(const TqvxComponent *object)
{
    for (const TqvxComponent *c = object; c; c = c->Parent())
        if (auto *context = dynamic_cast<TqvxReportContext *>(const_cast<TqvxComponent *>(c)))
            return context;
    return nullptr;
}
