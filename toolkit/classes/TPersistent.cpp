#include "toolkit/classes/TPersistent.h"

#include "toolkit/core/Exceptions.h"

TPersistent::TPersistent() = default;
TPersistent::~TPersistent() = default;

void TPersistent::Assign(const TPersistent *source)
{
    if (!source)
        AssignError(nullptr);
    source->AssignTo(this);
}

void TPersistent::DefineProperties(TFiler &) {}

void TPersistent::AssignTo(TPersistent *dest) const
{
    dest->AssignError(this);
}

void TPersistent::AssignError(const TPersistent *source) const
{
    const QString sourceName = source ? source->ClassName() : QStringLiteral("nil");
    throw EConvertError(QStringLiteral("Cannot assign a %1 to a %2").arg(sourceName, ClassName()));
}
