#include "report/model/qvxDataSetLink.h"

#include "report/model/qvxComponent.h"
#include "report/model/qvxReportContext.h"
#include "toolkit/classes/Reflection.h"

QString qvxDataSetUserName(const TqvxComponent *dataSet)
{
    const TPropInfo *userName = dataSet ? GetPropInfo(dataSet, QStringLiteral("UserName")) : nullptr;
    return userName && userName->IsReadable() ? userName->GetStr(dataSet) : QString();
}

TqvxDataSetLink::TqvxDataSetLink(TqvxComponent *holder)
    : m_holder(holder),
      m_dataSet(holder)
{
}

void TqvxDataSetLink::SetDataSet(TqvxComponent *value)
{
    m_dataSet = value;
    m_dataSetName = qvxDataSetUserName(value);
}

QString TqvxDataSetLink::DataSetName() const
{
    return m_dataSet ? qvxDataSetUserName(m_dataSet) : m_dataSetName;
}

void TqvxDataSetLink::SetDataSetName(const QString &value)
{
    m_dataSetName = value;
    TqvxReportContext *context = qvxReportContextOf(m_holder);
    m_dataSet = context ? context->FindDataSet(value) : nullptr;
}
