#include "engine/qvxHeaderList.h"

bool TqvxHeaderList::Contains(const TqvxBand *band) const
{
    for (const TqvxHeaderListItem &item : m_items)
        if (item.Band == band)
            return true;
    return false;
}

void TqvxHeaderList::Remove(const TqvxBand *band)
{
    for (qsizetype i = 0; i < m_items.size(); ++i) {
        if (m_items.at(i).Band == band) {
            m_items.removeAt(i);
            return;
        }
    }
}

void TqvxHeaderList::ClearKeepFlags()
{
    for (TqvxHeaderListItem &item : m_items)
        item.IsInKeepList = false;
}
