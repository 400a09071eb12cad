#include "report/pages/qvxDataBand.h"

#include "report/model/qvxResources.h"
#include "report/data/qvxUserDataSet.h"

TqvxDataBand::TqvxDataBand(TComponent *owner)
    : TqvxBand(owner),
      m_virtualDataSet(NewObject<TqvxUserDataSet>(nullptr))
{
    m_virtualDataSet->SetRangeEnd(reCount);
    m_virtualDataSet->SetRangeEndCount(0);
}

TqvxDataBand::~TqvxDataBand() = default;

QString TqvxDataBand::GetDescription() const
{
    return qvxResources()->Get(QStringLiteral("obDataBand"));
}

void TqvxDataBand::SetRowCount(int value)
{
    m_rowCount = value;
    m_virtualDataSet->SetRangeEndCount(value);
}

void TqvxDataBand::SetCurColumn(int value)
{
    if (value > m_columns)
        value = 1;
    m_curColumn = value;
    if (m_curColumn == 1)
        m_columnOffset = 0;
    SetLeft((m_curColumn - 1) * (m_columnWidth + m_columnGap));
}
