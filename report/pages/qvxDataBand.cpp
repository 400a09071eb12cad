#include "report/pages/qvxDataBand.h"

#include "report/model/qvxResources.h"
#include "report/data/qvxUserDataSet.h"

TqvxDataBand::TqvxDataBand(TComponent *owner)
    : TqvxBand(owner)
{
}

TqvxDataBand::~TqvxDataBand() = default;

QString TqvxDataBand::GetDescription() const
{
    return qvxResources()->Get(QStringLiteral("obDataBand"));
}

void TqvxDataBand::SetRowCount(int value)
{
    m_rowCount = value;
    if (m_virtualDataSet)
        m_virtualDataSet->SetRangeEndCount(value);
}

// Most bands never walk their own rows, above all the copies rebuilt for
// each prepared page, so the data set is not made with the band.
TqvxUserDataSet *TqvxDataBand::VirtualDataSet() const
{
    if (!m_virtualDataSet) {
        m_virtualDataSet.reset(NewObject<TqvxUserDataSet>(nullptr));
        m_virtualDataSet->SetRangeEnd(reCount);
        m_virtualDataSet->SetRangeEndCount(m_rowCount);
    }
    return m_virtualDataSet.get();
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
