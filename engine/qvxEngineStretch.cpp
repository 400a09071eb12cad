// What changes the geometry of a band's output: objects growing with their
// content, bands split over pages, runs of bands kept together, and
// subreports.

#include "engine/qvxEngine.h"

#include "engine/qvxAggregate.h"
#include "engine/qvxOutline.h"
#include "engine/qvxPreparedItems.h"
#include "engine/qvxPreparedStore.h"
#include "report/pages/qvxBands.h"
#include "report/views/qvxCharGrid.h"
#include "report/model/qvxCustomOutline.h"
#include "report/model/qvxCustomPreviewPages.h"
#include "report/pages/qvxDMP.h"
#include "report/base/qvxNumbers.h"
#include "report/pages/qvxPage.h"
#include "report/report/qvxReport.h"
#include "report/pages/qvxSubreport.h"
#include "report/components/qvxView.h"
#include "report/xml/qvxXMLItem.h"

#include <QScopeGuard>

#include <algorithm>
#include <cmath>

namespace {

TqvxStretcheable *stretcheable(TqvxComponent *object)
{
    return qobject_cast<TqvxStretcheable *>(object);
}

// A dot-matrix memo with a bottom frame line takes a character line more.
bool hasCharFrameBottom(const TqvxComponent *object)
{
    const auto *memo = qobject_cast<const TqvxDMPMemoView *>(object);
    return memo && memo->Frame()->Typ().testFlag(ftBottom);
}

} // namespace

// --- Stretching ----------------------------------------------------------------

bool TqvxEngine::stretchObject(TqvxComponent *object)
{
    TqvxStretcheable *view = stretcheable(object);
    if (!view || view->StretchMode() == smDontStretch)
        return false;
    const double height = view->CalcHeight();
    if (height > view->Height()) {
        view->SetStretchDelta(height - view->Height());
        view->SetHeight(height);
        if (height > view->Height())
            m_heightsBeyondLimit[object] = height - view->Height();
        return true;
    }
    view->SetStretchDelta(0);
    return false;
}

void TqvxEngine::TopsBeyondLimit::SetTop(TqvxComponent *object, double top)
{
    object->SetTop(top);
    // Only the limit cuts a top off; a dot-matrix object rounds its top to
    // a character cell and stands there.
    const double cut = top - object->Top();
    if (std::isfinite(cut) && cut != 0 && std::abs(object->Top()) >= TqvxComponent::MaxCoordinate)
        m_cut.insert(object, cut);
    else
        m_cut.remove(object);
}

void TqvxEngine::ShiftObjects(TqvxComponent *parent, double distance)
{
    auto *owner = qobject_cast<TqvxReportComponent *>(parent);
    const bool parentIsBand = qobject_cast<TqvxBand *>(parent) != nullptr;
    for (TqvxView *child : owner->ShiftList()) {
        switch (child->ShiftMode()) {
        case smAlways:
            m_topsBeyondLimit.SetTop(child, m_topsBeyondLimit.Top(child) + distance);
            ShiftObjects(child, distance + child->StretchDelta());
            break;
        case smWhenOverlapped: {
            const double bottom = bottomBeyondLimit(parent);
            const double top = m_topsBeyondLimit.Top(child);
            if (!parentIsBand && bottom > top) {
                const double overlap = bottom - top;
                m_topsBeyondLimit.SetTop(child, bottom);
                ShiftObjects(child, overlap + child->StretchDelta());
            } else {
                ShiftObjects(child, child->StretchDelta());
            }
            break;
        }
        case smDontShift:
            ShiftObjects(child, distance + child->StretchDelta());
            break;
        }
        child->SetStretchDelta(0);
    }
}

double TqvxEngine::bottomBeyondLimit(const TqvxComponent *object) const
{
    return m_topsBeyondLimit.Top(object) + object->Height() + m_heightsBeyondLimit.value(object);
}

double TqvxEngine::contentBottom(TqvxBand *band) const
{
    double bottom = 0;
    const TqvxComponent *lowest = nullptr;
    for (const TqvxComponent *object : band->Objects()) {
        const double objectBottom = bottomBeyondLimit(object);
        if (!lowest || objectBottom > bottom) {
            bottom = objectBottom;
            lowest = object;
        }
    }
    if (hasCharFrameBottom(lowest))
        bottom += qv1CharY;
    return bottom;
}

void TqvxEngine::stretchToBottom(TqvxBand *band, double bottom)
{
    for (TqvxComponent *object : band->Objects()) {
        TqvxStretcheable *view = stretcheable(object);
        if (!view || view->StretchMode() != smMaxHeight)
            continue;
        view->SetHeight(bottom - m_topsBeyondLimit.Top(object) - (hasCharFrameBottom(view) ? qv1CharY : 0));
    }
}

// --- Subreports ------------------------------------------------------------------

// Runs the subreports printed on their parent band; what they output becomes
// objects of the band until the band has printed.
void TqvxEngine::ShowInlineSubreports(TqvxBand *band)
{
    if (m_inlineTarget)
        return;
    band->OwnObjectCount = int(band->Objects().size());
    TqvxNullBand target(nullptr);
    m_inlineTarget = &target;
    const double savedX = CurX();
    const double savedY = CurY();
    const double savedColumnLeft = m_columnLeft;
    const auto restore = [&] {
        SetCurX(savedX);
        SetCurY(savedY);
        m_columnLeft = savedColumnLeft;
        m_inlineTarget = nullptr;
    };
    try {
        const QList<TqvxComponent *> objects = band->Objects();
        for (TqvxComponent *object : objects) {
            auto *subreport = qobject_cast<TqvxSubreport *>(object);
            if (!subreport || !subreport->Visible() || !subreport->PrintOnParent() || !subreport->Page())
                continue;
            m_columnLeft = subreport->Left() + savedColumnLeft;
            SetCurX(subreport->Left());
            SetCurY(subreport->Top());
            const bool showingFooter = m_showingFooter;
            RunPage(subreport->Page());
            m_showingFooter = showingFooter;
        }
    } catch (...) {
        restore();
        throw;
    }
    restore();

    struct Placed {
        TqvxComponent *object;
        double left;
        double top;
    };
    QList<Placed> placed;
    for (TqvxComponent *object : target.GetAllObjects())
        if (qobject_cast<TqvxView *>(object) && !qobject_cast<TqvxSubreport *>(object))
            placed.append({object, object->GetAbsLeft(), object->GetAbsTop()});
    for (const Placed &item : placed) {
        item.object->SetLeft(item.left);
        item.object->SetTop(item.top);
        item.object->SetParentFont(false);
        item.object->SetParent(band);
        if (TqvxStretcheable *view = stretcheable(item.object))
            view->SetStretchMode(smDontStretch);
    }
}

// Runs the band's other subreports side by side below their places; output
// goes on below the one that reached furthest.
void TqvxEngine::ShowSubreports(TqvxBand *band)
{
    QList<TqvxSubreport *> subreports;
    for (TqvxComponent *object : band->Objects())
        if (auto *subreport = qobject_cast<TqvxSubreport *>(object);
            subreport && subreport->Visible() && !subreport->PrintOnParent() && subreport->Page())
            subreports.append(subreport);
    if (subreports.isEmpty())
        return;
    TqvxCustomPreviewPages *pages = PreviewPages();
    const int page = pages->CurPage();
    const int column = CurColumn();
    const double x = CurX();
    const double y = CurY();
    const double columnLeft = m_columnLeft;
    struct Position {
        int page;
        int column;
        double y;
        bool operator>(const Position &other) const
        {
            if (page != other.page)
                return page > other.page;
            if (column != other.column)
                return column > other.column;
            return y > other.y;
        }
    };
    Position best{page, column, y};
    // The bands of a subreport are its own, not headers printed again, so
    // none is skipped as being on the page already.  Those of a header
    // reprinted at a page's top print in place, as the header does; the
    // report title's may break.
    const bool inPlace = (m_reprintingHeaders && !m_reprintingTitle) || m_subreportInPlace;
    const bool reprintingHeaders = std::exchange(m_reprintingHeaders, false);
    const bool reprintingTitle = std::exchange(m_reprintingTitle, false);
    const bool subreportInPlace = std::exchange(m_subreportInPlace, inPlace);
    const auto restore = qScopeGuard([&] {
        m_reprintingHeaders = reprintingHeaders;
        m_reprintingTitle = reprintingTitle;
        m_subreportInPlace = subreportInPlace;
    });
    for (TqvxSubreport *subreport : subreports) {
        pages->SetCurPage(page);
        m_columnLeft = subreport->Left() + columnLeft;
        SetCurColumn(column);
        SetCurX(subreport->Left() + x);
        SetCurY(subreport->Top() + y - band->OutputHeight);
        RunPage(subreport->Page());
        const Position reached{pages->CurPage(), CurColumn(), CurY()};
        if (reached > best)
            best = reached;
    }
    pages->SetCurPage(best.page);
    SetCurColumn(best.column);
    SetCurX(columnLeft + (best.column > 1 ? columnPosition(best.column) : 0));
    SetCurY(best.y);
    m_columnLeft = columnLeft;
}

// --- Splitting -------------------------------------------------------------------

// The objects of a band being split: those still to output, every one (to
// restore the band), those moved down in the current part and those of the
// current part; and where the split stands.
struct TqvxEngine::SplitState {
    QList<TqvxComponent *> pending;
    QList<TqvxComponent *> all;
    QList<TqvxComponent *> moved;
    QList<TqvxComponent *> part;
    QList<bool> visible;
    // The tops of the objects, beyond the coordinate limit too.
    TopsBeyondLimit tops;
    // The room of the current part.
    double space = 0;
    qsizetype count0 = 0;
    bool anySplit = false;
    // The part starts on a fresh column or page.
    bool freshColumn = false;

    // Every pending object below `object` that overlaps it horizontally
    // moves down by distance: once per part, unless told otherwise (then
    // the move counts for no such limit).
    void shiftBelow(TqvxComponent *object, double distance, bool oncePerPart = true)
    {
        const double bottom = tops.Top(object) + object->Height();
        const double left = object->Left();
        const double right = left + object->Width();
        for (TqvxComponent *other : std::as_const(pending)) {
            if (other == object || (oncePerPart && moved.contains(other)) || bottom > tops.Top(other))
                continue;
            if (right - other->Left() > 0.0001 && other->Left() + other->Width() - left > 0.0001) {
                tops.SetTop(other, tops.Top(other) + distance);
                if (oncePerPart)
                    moved.append(other);
            }
        }
    }

    // Shows only the objects of the current part.
    void showPart()
    {
        for (qsizetype i = 0; i < all.size(); ++i)
            all.at(i)->SetVisible(visible.at(i) && part.contains(all.at(i)));
    }

    void restore()
    {
        for (qsizetype i = 0; i < all.size(); ++i)
            all.at(i)->SetVisible(visible.at(i));
    }
};

void TqvxEngine::SplitBand(TqvxBand *band)
{
    band->CreateFillMemo();
    TqvxComponent *fill = band->FillMemo();
    SplitState split;
    // The parts start from the tops the band's stretching placed.
    split.tops = m_topsBeyondLimit;
    for (TqvxComponent *object : band->Objects()) {
        if (object == fill)
            continue;
        split.all.append(object);
        split.visible.append(object->Visible());
        if (!qobject_cast<TqvxSubreport *>(object))
            split.pending.append(object);
        if (TqvxStretcheable *view = stretcheable(object)) {
            view->InitPart();
            view->SetRemainingHeight(view->Height());
        }
    }
    split.count0 = split.pending.size();
    split.space = FreeSpace();
    try {
        while (!split.pending.isEmpty()) {
            split.moved.clear();
            split.part.clear();
            pumpMessages();
            if (terminated())
                break;
            layoutSplitPart(split);
            FitSplitPart(split, band);
            OutputSplitPart(split, band);
            split.space = FreeSpace();
        }
    } catch (...) {
        split.restore();
        throw;
    }
    split.restore();
}

// What is left of the height an object stretched to may fall short of its
// last part: each part was laid out from where the last one ended and may
// take a line more than the whole did, and a height at the coordinate limit
// stopped there.  The last part then takes the height of what it holds as
// laid out on its own, within the room it has (less than a pixel more is
// the rounding of the stretched height), and the objects below it move
// down by what it takes past where they expect it to end.  That move is
// not the one move per part the objects below take for the free room at
// the bottom of a part: an object below this one and below another whose
// part starts under it takes both, or it would stand above the other's
// end by that room.
double TqvxEngine::lastPartHeight(SplitState &split, TqvxStretcheable *view, double remaining, double room)
{
    const double needed = view->PartHeight();
    if (needed - remaining < 1)
        return remaining;
    const double height = std::min(needed, room);
    const double expected = remaining + m_heightsBeyondLimit.value(view);
    if (height > expected) {
        // What lies below within the tolerance of positions counts as below:
        // their tops came there by other sums.
        view->SetHeight(expected - 0.0001);
        split.shiftBelow(view, height - expected, false);
    }
    return height;
}

// Takes into the part what fits of each pending object; what does not fit
// moves down to the next part.
void TqvxEngine::layoutSplitPart(SplitState &split)
{
    const double space = split.space;
    const double bodyHeight = GetPageHeight() - FooterHeight();
    const double firstTop = split.tops.Top(split.pending.first());
    for (qsizetype i = 0; i < split.pending.size();) {
        TqvxComponent *object = split.pending.at(i);
        TqvxStretcheable *view = stretcheable(object);
        const double top = split.tops.Top(object);
        double partGap = 0;
        double height = object->Height();
        bool hasNext = false;
        if (view) {
            view->SetSplitStartTop(top);
            object->SetHeight(space - top);
            if (space > top) {
                partGap = view->DrawPart();
                height = view->RemainingHeight();
                hasNext = view->HasNextPart();
                if (!hasNext && view->StretchMode() != smDontStretch)
                    height = lastPartHeight(split, view, height, space - top);
            }
        }
        if (!exceeds(top + height, space) && !hasNext) {
            object->SetHeight(height);
            split.part.append(object);
            split.pending.removeAt(i);
        } else if (view) {
            if (space > top) {
                split.shiftBelow(object, partGap);
                if (std::abs(partGap - object->Height()) < 0.0001) {
                    split.tops.SetTop(object, space);
                    object->SetHeight(view->RemainingHeight());
                } else {
                    view->SetRemainingHeight(view->RemainingHeight() - object->Height() + partGap);
                    split.part.append(object);
                    split.anySplit = true;
                }
            }
            ++i;
        } else if (object->Height() > bodyHeight) {
            // Taller than any page: output whole here, clipped.
            split.part.append(object);
            split.pending.removeAt(i);
        } else {
            if (space > top) {
                split.shiftBelow(object, space - top);
                split.tops.SetTop(object, space);
            }
            ++i;
        }
    }
    if (!split.part.isEmpty() || !split.freshColumn)
        return;
    // Nothing fits even on a fresh column or page: the first object goes
    // into this part whole, clipped by the page, so that no band adds pages
    // without end.
    TqvxComponent *object = split.pending.takeFirst();
    const double room = std::max(space, 0.0);
    split.tops.SetTop(object, std::clamp(firstTop, 0.0, room));
    if (TqvxStretcheable *view = stretcheable(object)) {
        object->SetHeight(view->RemainingHeight());
        view->DrawPart();
        object->SetHeight(std::max(std::min(view->RemainingHeight(), room - object->Top()), 0.0));
    }
    split.part.append(object);
}

// The band takes the height of the part's objects.
void TqvxEngine::FitSplitPart(SplitState &split, TqvxBand *band)
{
    double height = 0;
    for (const TqvxComponent *object : std::as_const(split.part))
        height = std::max(height, object->Top() + object->Height());
    band->SetHeight(height);
    for (TqvxComponent *object : std::as_const(split.part)) {
        if (split.pending.isEmpty()) {
            if (object->ViewAlign() == baBottom)
                object->SetTop(height - object->Height());
        } else if (TqvxStretcheable *view = stretcheable(object); view && view->StretchMode() == smMaxHeight) {
            object->SetHeight(height - object->Top());
        }
    }
}

// Writes the part and moves on to the next column or page, where the
// pending objects start from the top.
void TqvxEngine::OutputSplitPart(SplitState &split, TqvxBand *band)
{
    if (!split.freshColumn)
        notePlaced(band);
    band->SetLeft(CurX());
    band->SetTop(CurY());
    band->CreateFillMemo();
    split.showPart();
    addBand(band);
    SetCurY(CurY() + band->Height());
    m_curBand = band;
    if (!split.pending.isEmpty()) {
        NewColumn();
        split.freshColumn = true;
    }
    for (TqvxComponent *object : std::as_const(split.pending)) {
        split.tops.SetTop(object, split.tops.Top(object) - split.space);
        if (TqvxStretcheable *view = stretcheable(object)) {
            if (!split.anySplit && split.pending.size() == split.count0)
                split.tops.SetTop(object, view->SplitStartTop());
            if (object->Top() < 0)
                split.tops.SetTop(object, 0);
            object->SetHeight(view->RemainingHeight());
        }
    }
}

// --- Keeping ---------------------------------------------------------------------

void TqvxEngine::StartKeep(TqvxBand *band, int position)
{
    if (m_keeping || m_firstRowPending)
        return;
    m_keepStartY = CurY();
    m_keeping = true;
    m_keepBand = band;
    m_keepPosition = position != 0 ? position : PreviewPages()->GetCurPosition();
    m_keepOutlinePosition = outline()->GetCurPosition();
    m_keepAnchorPosition = PreviewPages()->GetAnchorCurPosition();
    m_keptBands.clear();
    m_aggregates->StartKeep();
}

// The run begins before the cursor: the kept height that decides whether
// it fits an empty page, and the distance it moves, count from its top.
void TqvxEngine::startFooterKeep(TqvxBand *band, const FooterKeepStart &start)
{
    if (m_keeping)
        return;
    StartKeep(band, start.position);
    if (m_keeping && start.position != 0)
        m_keepStartY = start.y;
}

void TqvxEngine::EndKeep(TqvxBand *band)
{
    if (band == m_keepBand)
        BreakAllKeep();
}

void TqvxEngine::BreakAllKeep()
{
    m_keepStartY = 0;
    m_keeping = false;
    m_headerList.ClearKeepFlags();
    m_keepBand = nullptr;
    m_keptBands.clear();
    endKeptTotals();
    m_keepWithHeader = false;
}

void TqvxEngine::endKeptTotals()
{
    if (!m_rowTotalsBand)
        m_aggregates->EndKeep();
}

void TqvxEngine::keepCutAtPage()
{
    m_keptHeader = nullptr;
    // A run that would not fit even on an empty page breaks where it is.
    if (m_keepBand && exceeds(CurY() - m_keepStartY + m_keepBand->Height(), GetPageHeight() - FooterHeight())) {
        m_keeping = false;
        m_headerList.ClearKeepFlags();
        endKeptTotals();
    }
    if (!m_keeping)
        return;
    if (m_showingFooter)
        m_aggregates->UndoLast(m_keepBand);
    PreviewPages()->CutObjects(m_keepPosition);
    auto *dataBand = qobject_cast<TqvxDataBand *>(m_curBand);
    // Bands of this column were lifted: the new page shows them, not a
    // reprint of their header as well.
    if (dataBand && std::abs(PreviewPages()->GetLastY(CurX()) - CurY()) >= 0.0001 &&
        m_headerList.Contains(dataBand->Header())) {
        m_keptHeader = dataBand->Header();
        RemoveFromHeaderList(m_keptHeader);
    }
}

void TqvxEngine::keepPasteAtPage()
{
    if (!m_keeping)
        return;
    endKeptTotals();
    PreviewPages()->PasteObjects(0, CurY());
    shiftMarks(m_keepStartY, m_keepOutlinePosition, m_keepAnchorPosition);
    shiftKeptBands();
    SetCurY(PreviewPages()->GetLastY(0));
    if (m_showingFooter)
        m_aggregates->RedoLast(m_keepBand);
    if (m_keptHeader) {
        AddToHeaderList(m_keptHeader);
        m_keptHeader = nullptr;
    }
}

void TqvxEngine::keepCutAtColumn()
{
    if (!m_keeping)
        return;
    if (m_showingFooter)
        m_aggregates->UndoLast(m_keepBand);
    PreviewPages()->CutObjects(m_keepPosition);
    // The column footer follows the last band staying in this column; the
    // bands and footers of the columns to its left do not count.
    SetCurY(PreviewPages()->GetLastY(CurX()));
}

void TqvxEngine::keepPasteAtColumn()
{
    if (!m_keeping)
        return;
    endKeptTotals();
    PreviewPages()->PasteObjects(CurX(), CurY());
    shiftMarks(m_keepStartY, m_keepOutlinePosition, m_keepAnchorPosition);
    shiftKeptBands();
    SetCurY(PreviewPages()->GetLastY(CurX()));
    if (m_showingFooter)
        m_aggregates->RedoLast(m_keepBand);
}

namespace {

// The top of the first item after `mark` among the children of `parent`;
// fallback when there is none.
int firstTopAfter(const TqvxXMLItem *parent, const TqvxXMLItem *mark, int fallback)
{
    const int index = mark ? parent->IndexOf(mark) + 1 : 0;
    return index >= 0 && index < parent->Count() ? qvxIntPropOr(parent->Items(index), QStringLiteral("top"), fallback)
                                                 : fallback;
}

} // namespace

// The outline items and anchors made after the marks go where the cut
// objects went, keeping their distance from startY.
void TqvxEngine::shiftMarks(double startY, TqvxXMLItem *outlinePosition, int anchorPosition)
{
    const double distance = CurY() - startY;
    const int top = qvxRound(CurY());
    int outlineTop = top;
    auto *preparedOutline = qobject_cast<TqvxOutline *>(outline());
    const TqvxXMLItem *level = outlinePosition ? outlinePosition->Parent()
                                               : preparedOutline ? preparedOutline->CurItem() : nullptr;
    if (level)
        outlineTop = qvxRound(firstTopAfter(level, outlinePosition, qvxRound(startY)) + distance);
    outline()->ShiftItems(outlinePosition, outlineTop);

    int anchorTop = top;
    if (auto *store = qobject_cast<TqvxPreparedStore *>(PreviewPages())) {
        const TqvxXMLItem *anchors = store->Anchors()->Item();
        const TqvxXMLItem *mark =
            anchorPosition >= 0 && anchorPosition < anchors->Count() ? anchors->Items(anchorPosition) : nullptr;
        if (anchorPosition < 0 || mark)
            anchorTop = qvxRound(firstTopAfter(anchors, mark, qvxRound(startY)) + distance);
    }
    PreviewPages()->ShiftAnchors(anchorPosition, anchorTop);
}

void TqvxEngine::shiftKeptBands()
{
    const double distance = CurY() - m_keepStartY;
    const int page = PreviewPages()->CurPage();
    for (TqvxBand *band : std::as_const(m_keptBands)) {
        band->OutputTop += distance;
        band->OutputPage = page;
    }
    m_keptBands.clear();
}
