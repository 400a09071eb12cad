#pragma once

// Where the pages of a preview lie: each page's size at the current zoom
// and its offset from the top-left of the scrollable area, laid out in rows
// that fill the width, 10 pixels apart and centred.

#include "toolkit/graphics/Rects.h"

#include <QList>

struct TqvxPageItem {
    int Width = 0;
    int Height = 0;
    int OffsetX = 0;
    int OffsetY = 0;
};

class TqvxPageList
{
public:
    int Count() const { return int(m_items.size()); }
    const TqvxPageItem &Items(int index) const { return m_items.at(index); }
    void Add(int width, int height) { m_items.append({width, height, 0, 0}); }
    void Clear();

    // The widest row of the last layout.
    int MaxWidth() const { return m_maxWidth; }

    // Lays the pages out in rows no wider than maxWidth: the first row at
    // y = 10, pages and rows 10 pixels apart, each row centred; a page wider
    // than maxWidth takes a row of its own.
    void CalcBounds(int maxWidth);
    // The same after pages were added to a list laid out in the same width:
    // only the last row and the rows after it are laid out again.
    void CalcBoundsOfAdded(int maxWidth, int laidOut);

    // The rectangle of page index, mirrored within clientWidth when
    // rightToLeft; outside the list a default A4 sheet at zoom.
    TRect GetPageBounds(int index, int clientWidth, bool rightToLeft, double zoom) const;

    // The page at vertical position y: the last one whose top lies at or
    // above y, a page counting as reached a fifth of its height early when
    // x is 0.  With x given, the page around that one whose rectangle holds
    // (x, y) answers instead when there is one.  -1 before the first page.
    int GetPageNoAt(int y, int x) const;

    // The scrollable width and height of the laid-out pages.
    int HorzRange() const;
    int VertRange() const;

private:
    // Lays rows out from page first on, the first of them at y.
    void layRows(int maxWidth, int first, int y);

    QList<TqvxPageItem> m_items;
    int m_maxWidth = 0;
};
