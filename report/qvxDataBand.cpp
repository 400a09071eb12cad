#include "report/qvxDataBand.h"

#include "report/qvxResources.h"

TqvxDataBand::TqvxDataBand(TComponent *owner)
    : TqvxBand(owner)
{
}

TqvxDataBand::~TqvxDataBand() = default;

QString TqvxDataBand::GetDescription() const
{
    return qvxResources()->Get(QStringLiteral("obDataBand"));
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
