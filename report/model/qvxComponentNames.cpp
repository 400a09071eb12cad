#include "report/model/qvxComponentNames.h"

#include "report/model/qvxReportLink.h"
#include "toolkit/classes/GlobalComponents.h"
#include "toolkit/classes/TDataModule.h"
#include "toolkit/widgets/TForm.h"

#include <QStringList>

TComponent *qvxFindComponent(TComponent *owner, const QString &name)
{
    const QStringList parts = name.split(QLatin1Char('.'));
    if (parts.size() > 1) {
        TComponent *found = GlobalComponents::Find(parts.first());
        for (qsizetype i = 1; found && i < parts.size(); ++i)
            found = found->FindComponent(parts.at(i));
        return found;
    }
    if (!owner)
        return nullptr;
    if (TComponent *found = owner->FindComponent(name))
        return found;
    if (dynamic_cast<TqvxReportLink *>(owner) && owner->Owner())
        return owner->Owner()->FindComponent(name);
    return nullptr;
}

QString qvxGetReferenceName(const TComponent *report, const TComponent *component)
{
    const TComponent *owner = component->Owner();
    if (!owner || owner == report || (report && owner == report->Owner()))
        return component->Name();
    if (qobject_cast<const TCustomForm *>(owner) || qobject_cast<const TDataModule *>(owner))
        return owner->Name() + QLatin1Char('.') + component->Name();
    return QString();
}
