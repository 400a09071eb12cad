#include "preview/qvxPageList.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kGap = 10;
// Pixels of an A4 sheet at 96 pixels per inch.
constexpr double kA4Width = 794;
constexpr double kA4Height = 1123;
// How many pages around the one found by position a hit test tries.
constexpr int kHitSpan = 20;

} // namespace

void TqvxPageList::Clear()
{
    m_items.clear();
    m_maxWidth = 0;
}

void TqvxPageList::CalcBounds(int maxWidth)
{
    m_maxWidth = 0;
    layRows(maxWidth, 0, kGap);
}

void TqvxPageList::CalcBoundsOfAdded(int maxWidth, int laidOut)
{
    if (laidOut <= 0 || laidOut > Count()) {
        CalcBounds(maxWidth);
        return;
    }
    // The last row laid out may take some of the new pages.
    const int rowTop = m_items.at(laidOut - 1).OffsetY;
    int first = laidOut - 1;
    while (first > 0 && m_items.at(first - 1).OffsetY == rowTop)
        --first;
    layRows(maxWidth, first, rowTop);
}

void TqvxPageList::layRows(int maxWidth, int first, int y)
{
    int i = first;
    while (i < Count()) {
        const int rowStart = i;
        int x = 0;
        int rowHeight = 0;
        for (; i < Count(); ++i) {
            TqvxPageItem &item = m_items[i];
            if (x > 0 && x + item.Width > maxWidth)
                break;
            item.OffsetX = x;
            item.OffsetY = y;
            x += item.Width + kGap;
            rowHeight = std::max(rowHeight, item.Height);
        }
        m_maxWidth = std::max(m_maxWidth, x);
        const int centring = std::max((maxWidth - x + kGap) / 2, 0);
        for (int j = rowStart; j < i; ++j)
            m_items[j].OffsetX += centring + kGap;
        y += rowHeight + kGap;
    }
}

TRect TqvxPageList::GetPageBounds(int index, int clientWidth, bool rightToLeft, double zoom) const
{
    if (index >= 0 && index < Count()) {
        const TqvxPageItem &item = m_items.at(index);
        const int left = rightToLeft ? clientWidth - item.Width - item.OffsetX : item.OffsetX;
        return Rect(left, item.OffsetY, left + item.Width, item.OffsetY + item.Height);
    }
    const double w = zoom * kA4Width;
    const int left = clientWidth >= w ? int(std::lround((clientWidth - w) / 2)) : kGap;
    const int top = int(std::lround(zoom * kGap));
    return Rect(left, top, left + int(std::lround(w)), top + int(std::lround(zoom * kA4Height)));
}

int TqvxPageList::GetPageNoAt(int y, int x) const
{
    int lo = 0;
    int hi = Count() - 1;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        const TqvxPageItem &item = m_items.at(mid);
        const int tolerance = x != 0 ? 0 : int(std::lround(item.Height / 5.0));
        if (item.OffsetY <= y + tolerance)
            lo = mid + 1;
        else
            hi = mid - 1;
    }
    if (x == 0)
        return hi;
    for (int i = std::max(hi - kHitSpan, 0); i <= std::min(hi + kHitSpan, Count() - 1); ++i) {
        const TqvxPageItem &item = m_items.at(i);
        if (x >= item.OffsetX && x < item.OffsetX + item.Width && y >= item.OffsetY &&
            y < item.OffsetY + item.Height)
            return i;
    }
    return hi;
}

int TqvxPageList::HorzRange() const
{
    return Count() == 0 ? 0 : m_maxWidth + kGap;
}

int TqvxPageList::VertRange() const
{
    if (Count() == 0)
        return 0;
    const TqvxPageItem &last = m_items.last();
    return last.OffsetY + last.Height + kGap;
}
