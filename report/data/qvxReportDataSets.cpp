#include "report/data/qvxReportDataSets.h"

#include "report/model/qvxOptions.h"
#include "report/model/qvxReportContext.h"
#include "toolkit/core/CodePages.h"

#include <QMutexLocker>

namespace {

TqvxDataSet *findGlobal(TqvxComponent *report, const QString &name)
{
    TqvxGlobalDataSetList *list = qvxDataSetList();
    if (!list)
        return nullptr;
    QMutexLocker locker(&list->Mutex());
    for (TqvxDataSet *dataSet : list->Items()) {
        if (!SameText(dataSet->UserName(), name))
            continue;
        const TqvxComponent *owner = dataSet->GetReport();
        if (!owner || owner == report)
            return dataSet;
    }
    return nullptr;
}

TqvxDataSet *findInReport(TqvxReportContext *context, const QString &name)
{
    const TqvxDataSetItem *item = context ? context->DataSets()->Find(name) : nullptr;
    return item ? item->DataSet() : nullptr;
}

} // namespace

TqvxDataSet *qvxFindDataSet(TqvxComponent *report, TqvxDataSet *current, const QString &name)
{
    if (name.isEmpty())
        return nullptr;
    if (!report)
        return current;
    TqvxReportContext *context = qvxReportContextOf(report);
    const bool global = !context || context->EngineOptions()->UseGlobalDataSetList();
    TqvxDataSet *found = global ? findGlobal(report, name) : findInReport(context, name);
    return found ? found : current;
}

TqvxDataSetItem::TqvxDataSetItem(TCollection *collection)
    : TCollectionItem(collection)
{
}

TqvxComponent *TqvxDataSetItem::report() const
{
    const auto *list = qobject_cast<const TqvxReportDataSets *>(Collection());
    return list ? list->Report() : nullptr;
}

TqvxDataSet *TqvxDataSetItem::DataSet() const
{
    return m_dataSet.data();
}

void TqvxDataSetItem::SetDataSet(TqvxDataSet *value)
{
    m_dataSet = value;
    m_dataSetName = value ? value->UserName() : QString();
}

QString TqvxDataSetItem::DataSetName() const
{
    return m_dataSet ? m_dataSet->UserName() : m_dataSetName;
}

void TqvxDataSetItem::SetDataSetName(const QString &value)
{
    m_dataSetName = value;
    if (!value.isEmpty() && report())
        m_dataSet = qvxFindDataSet(report(), m_dataSet.data(), value);
}

TqvxReportDataSets::TqvxReportDataSets(TqvxComponent *report)
    : TCollection(CollectionItemClassOf<TqvxDataSetItem>()),
      m_report(report)
{
}

TqvxDataSetItem *TqvxReportDataSets::Add()
{
    return static_cast<TqvxDataSetItem *>(TCollection::Add());
}

TqvxDataSetItem *TqvxReportDataSets::Items(int index) const
{
    return static_cast<TqvxDataSetItem *>(TCollection::Items(index));
}

void TqvxReportDataSets::Initialize()
{
    for (int i = 0; i < Count(); ++i) {
        if (TqvxDataSet *dataSet = Items(i)->DataSet()) {
            dataSet->SetReportRef(m_report);
            dataSet->Initialize();
        }
    }
}

void TqvxReportDataSets::Finalize()
{
    for (int i = 0; i < Count(); ++i)
        if (TqvxDataSet *dataSet = Items(i)->DataSet())
            dataSet->Finalize();
}

TqvxDataSetItem *TqvxReportDataSets::Find(const TqvxDataSet *dataSet) const
{
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->DataSet() == dataSet)
            return Items(i);
    return nullptr;
}

TqvxDataSetItem *TqvxReportDataSets::Find(const QString &name) const
{
    for (int i = 0; i < Count(); ++i) {
        const TqvxDataSet *dataSet = Items(i)->DataSet();
        if (dataSet && SameText(dataSet->UserName(), name))
            return Items(i);
    }
    return nullptr;
}
