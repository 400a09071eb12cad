#pragma once

// The bands the engine prints again at the top of every new page and
// column: the report title and page header of the page being run, its
// column header, and the data and group headers marked ReprintOnNewPage
// while their bands run.

#include <QList>

class TqvxBand;

struct TqvxHeaderListItem {
    // The band to print again; nullptr once a report title has printed.
    TqvxBand *Band = nullptr;
    // The column origin in force when the band was added.
    double Left = 0;
    // Added inside the run of bands being kept together (group headers
    // only): the run carries its own copy to the next page or column.
    bool IsInKeepList = false;
};

class TqvxHeaderList
{
public:
    int Count() const { return int(m_items.size()); }
    const TqvxHeaderListItem &Items(int index) const { return m_items.at(index); }
    void Add(TqvxBand *band, bool isInKeepList, double left) { m_items.append({band, left, isInKeepList}); }
    bool Contains(const TqvxBand *band) const;
    // Removes the first item of band; nothing when there is none.
    void Remove(const TqvxBand *band);
    // Keeps the item but forgets its band.
    void ClearBand(int index) { m_items[index].Band = nullptr; }
    // The run being kept has moved or ended: its headers print again like
    // the others.
    void ClearKeepFlags();
    void Clear() { m_items.clear(); }

private:
    QList<TqvxHeaderListItem> m_items;
};
