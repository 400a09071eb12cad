#include "engine/qvxPreparedItems.h"

#include "report/xml/qvxXMLItem.h"
#include "report/model/qvxComponent.h"
#include "report/xml/qvxXMLReader.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/core/SysUtils.h"

int qvxIntProp(const TqvxXMLItem *item, const QString &name)
{
    return StrToInt(item->GetProp(name));
}

int qvxIntPropOr(const TqvxXMLItem *item, const QString &name, int fallback)
{
    const QString text = item->GetProp(name);
    return text.isEmpty() ? fallback : StrToInt(text);
}

void qvxSetIntProp(TqvxXMLItem *item, const QString &name, int value)
{
    item->SetProp(name, QString::number(value));
}

const QMetaObject *qvxWholePageClass(const TqvxXMLItem *item)
{
    const TClass cls = GetClass(item->Name());
    return cls && ClassInheritsFrom(cls, ClassOf<TqvxComponent>()) ? cls : nullptr;
}

void qvxInvalidFileFormat()
{
    throw TqvxInvalidXMLException(QStringLiteral("Invalid file format"));
}
