#include "preview/qvxPreviewWorkspace.h"

#include "preview/qvxPreview.h"
#include "preview/qvxPreviewSearch.h"
#include "report/model/qvxCustomPreviewPages.h"
#include "report/model/qvxGlobals.h"
#include "report/model/qvxResources.h"
#include "report/pages/qvxPage.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/widgets/Dialogs.h"
#include "toolkit/widgets/SystemMetrics.h"

#include <QDateTime>
#include <QGuiApplication>
#include <QStyleHints>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kPagesBefore = 60;
constexpr int kPagesAfter = 340;
constexpr int kTopGap = 10;
// What the page list keeps free at the right of the rows.
constexpr int kLayoutMargin = 26;

} // namespace

TqvxPreviewWorkspace::TqvxPreviewWorkspace(TComponent *owner, TqvxPreview *preview)
    : TqvxScrollWin(owner), m_preview(preview), m_defaultCursor(crHand),
      m_searchCanvas(std::make_unique<TRecordingCanvas>())
{
    SetLargeChange(300);
    SetSmallChange(8);
    SetColor(m_backColor);
}

TqvxPreviewWorkspace::~TqvxPreviewWorkspace() = default;

void TqvxPreviewWorkspace::SetPreviewPages(TqvxCustomPreviewPages *value)
{
    m_previewPages = value;
    m_searchPage = -1;
}

void TqvxPreviewWorkspace::AddPage(int width, int height)
{
    m_pageList.Add(int(std::lround(width * m_zoom)), int(std::lround(height * m_zoom)));
}

void TqvxPreviewWorkspace::ClearPageList()
{
    m_pageList.Clear();
}

int TqvxPreviewWorkspace::LayoutWidth() const
{
    return Width() - GetSystemMetrics(SM_CXVSCROLL) - kLayoutMargin;
}

void TqvxPreviewWorkspace::CalcPageBounds(int clientWidth)
{
    m_pageList.CalcBounds(clientWidth);
}

void TqvxPreviewWorkspace::SetScrollRanges()
{
    SetHorzRange(m_pageList.HorzRange());
    SetVertRange(m_pageList.VertRange());
}

TRect TqvxPreviewWorkspace::PageRect(int index) const
{
    TRect r = m_pageList.GetPageBounds(index, ClientWidth(), m_rightToLeft, m_zoom);
    const int dx = m_rightToLeft ? HorzPosition() : -HorzPosition();
    return Rect(r.Left + dx, r.Top - VertPosition(), r.Right + dx, r.Bottom - VertPosition());
}

void TqvxPreviewWorkspace::ScrollToPage(int pageN)
{
    if (pageN < 1 || pageN > m_pageList.Count())
        return;
    const TqvxPageItem &item = m_pageList.Items(pageN - 1);
    scrollQuietly(item.OffsetY - kTopGap);
    if (m_rightToLeft)
        return;
    const int left = item.OffsetX - kTopGap;
    if (left < HorzPosition() || item.OffsetX + item.Width > HorzPosition() + ClientWidth())
        SetHorzPosition(left);
}

void TqvxPreviewWorkspace::scrollQuietly(int vertPosition)
{
    m_scrollingToPage = true;
    SetVertPosition(vertPosition);
    m_scrollingToPage = false;
}

void TqvxPreviewWorkspace::SetPosition(int pageN, int top)
{
    if (pageN < 1 || pageN > m_pageList.Count())
        return;
    SetVertPosition(m_pageList.Items(pageN - 1).OffsetY - kTopGap + top);
}

void TqvxPreviewWorkspace::Resize()
{
    TqvxScrollWin::Resize();
    SetHorzPage(ClientWidth());
    SetVertPage(ClientHeight());
}

void TqvxPreviewWorkspace::OnHScrollChange()
{
    scrolled();
}

void TqvxPreviewWorkspace::OnVScrollChange()
{
    scrolled();
    if (m_isThumbnail || m_scrollingToPage || m_pageList.Count() == 0)
        return;
    m_syncingPageNo = true;
    m_preview->SetPageNo(m_pageList.GetPageNoAt(VertPosition(), 0) + 1);
    m_syncingPageNo = false;
}

void TqvxPreviewWorkspace::scrolled()
{
    const int dx = m_rightToLeft ? HorzPosition() - m_lastHorzPos : m_lastHorzPos - HorzPosition();
    const int dy = m_lastVertPos - VertPosition();
    m_lastHorzPos = HorzPosition();
    m_lastVertPos = VertPosition();
    if (dx != 0 || dy != 0)
        ScrollWindow(dx, dy);
}

void TqvxPreviewWorkspace::Paint()
{
    DrawPages(false);
}

void TqvxPreviewWorkspace::DrawPages(bool framesOnly)
{
    if (!Showing() && !Widget()->isVisible())
        return;
    TCanvas *canvas = Canvas();
    canvas->Pen()->SetMode(pmCopy);
    if (m_locked || m_pageList.Count() == 0) {
        canvas->Brush()->SetColor(m_backColor);
        canvas->Brush()->SetStyle(bsSolid);
        canvas->FillRect(ClientRect());
        return;
    }
    if (!m_previewPages)
        return;

    const int first = m_pageList.GetPageNoAt(VertPosition(), 0);
    const int from = std::max(first - kPagesBefore, 0);
    const int to = std::min(first + kPagesAfter, m_pageList.Count() - 1);
    const TRect clip = canvas->ClipRect();
    const auto visible = [&](const TRect &r) {
        return r.Bottom > 0 && r.Top < ClientHeight() && r.Right > clip.Left && r.Left < clip.Right &&
               r.Bottom > clip.Top && r.Top < clip.Bottom;
    };

    canvas->SaveClip();
    for (int i = from; i <= to; ++i)
        if (const TRect r = PageRect(i); visible(r))
            canvas->ExcludeClipRect(r);
    canvas->Brush()->SetColor(m_backColor);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRect(ClientRect());
    if (m_currentPage >= 1 && m_currentPage <= m_pageList.Count()) {
        const TRect r = PageRect(m_currentPage - 1);
        canvas->Pen()->SetColor(m_activeFrameColor);
        canvas->Pen()->SetWidth(2);
        canvas->Pen()->SetStyle(psSolid);
        canvas->Polyline({Point(r.Left - 1, r.Top - 1), Point(r.Right + 1, r.Top - 1), Point(r.Right + 1, r.Bottom + 1),
                          Point(r.Left - 1, r.Bottom + 1), Point(r.Left - 1, r.Top - 2)});
    }
    canvas->RestoreClip();
    if (framesOnly)
        return;

    const TqvxSearchState &search = qvxSearchState();
    for (int i = from; i <= to; ++i) {
        const TRect r = PageRect(i);
        if (!visible(r))
            continue;
        canvas->Pen()->SetColor(m_frameColor);
        canvas->Pen()->SetWidth(1);
        canvas->Pen()->SetStyle(psSolid);
        canvas->Brush()->SetColor(clWhite);
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Rectangle(r.Left, r.Top, r.Right, r.Bottom - 1);
        m_previewPages->DrawPage(i, canvas, m_zoom, m_zoom, r.Left, r.Top);
        if (m_isThumbnail) {
            canvas->Font()->SetName(QStringLiteral("Arial"));
            canvas->Font()->SetSize(8);
            canvas->Font()->SetColor(clWhite);
            canvas->Font()->SetStyle({});
            canvas->Brush()->SetColor(m_backColor);
            canvas->Brush()->SetStyle(bsSolid);
            canvas->TextOut(r.Left + 1, r.Top + 1, QLatin1Char(' ') + QString::number(i + 1) + QLatin1Char(' '));
        }
        if (search.TextFound && i == m_findPage)
            drawSearchHit(r);
    }
}

void TqvxPreviewWorkspace::drawSearchHit(const TRect &page)
{
    const TRect &hit = qvxSearchState().FoundRect;
    const auto scaled = [this](int v) { return int(std::lround(v * m_zoom)); };
    Canvas()->PatBlt(Rect(page.Left + scaled(hit.Left) - 1, page.Top + scaled(hit.Top),
                          page.Left + scaled(hit.Right) + 2, page.Top + scaled(hit.Bottom) + 1),
                     DSTINVERT);
}

int TqvxPreviewWorkspace::pageUnderMouse(int x, int y) const
{
    const int px = m_rightToLeft ? ClientWidth() - (HorzPosition() + x) : HorzPosition() + x;
    return m_pageList.GetPageNoAt(VertPosition() + y, px);
}

void TqvxPreviewWorkspace::objectOver(int index, int x, int y, TMouseButton button, TShiftState shift,
                                      TqvxMouseAction action)
{
    if (!m_previewPages || index < 0)
        return;
    const TRect r = PageRect(index);
    TCursor cursor = m_defaultCursor;
    m_previewPages->ObjectOver(index, x, y, button, shift, m_zoom, r.Left, r.Top, cursor, action);
    SetCursor(cursor);
}

void TqvxPreviewWorkspace::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnWorkspaceMouseDown)
        OnWorkspaceMouseDown(this, button, shift, x, y);
    if (m_pageList.Count() > 0 && !m_locked && button == mbLeft) {
        m_dragging = true;
        m_dragX = x;
        m_dragY = y;
    }
}

void TqvxPreviewWorkspace::MouseMove(TShiftState, int x, int y)
{
    if (m_pageList.Count() == 0 || m_locked || m_isThumbnail)
        return;
    if (m_dragging) {
        SetHorzPosition(HorzPosition() + (m_dragX - x));
        SetVertPosition(VertPosition() - (y - m_dragY));
        m_dragX = x;
        m_dragY = y;
        return;
    }
    objectOver(pageUnderMouse(x, y), x, y, mbLeft, {}, maMove);
}

void TqvxPreviewWorkspace::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (!m_isThumbnail && m_preview->OnPreviewClick)
        m_preview->OnPreviewClick(m_preview);
    if (m_pageList.Count() == 0 || m_locked)
        return;
    m_dragging = false;
    const int index = pageUnderMouse(x, y);
    m_syncingPageNo = true;
    m_preview->SetPageNo(index + 1);
    m_syncingPageNo = false;
    if (m_isThumbnail || button == mbRight)
        return;
    objectOver(index, x, y, button, shift, maMouseUp);
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (now - m_lastClickTime > QGuiApplication::styleHints()->mouseDoubleClickInterval()) {
        m_lastClickTime = now;
        objectOver(index, x, y, button, shift, maClick);
    } else {
        m_lastClickTime = 0;
        objectOver(index, x, y, button, shift, maDblClick);
    }
}

void TqvxPreviewWorkspace::DblClick()
{
    if (!m_isThumbnail && m_preview->OnPreviewDblClick)
        m_preview->OnPreviewDblClick(m_preview);
}

bool TqvxPreviewWorkspace::DoMouseWheel(TShiftState shift, int wheelDelta, const QPoint &)
{
    if (m_isThumbnail)
        SetVertPosition(VertPosition() - (wheelDelta > 0 ? 20 : -20));
    else
        m_preview->MouseWheelScroll(wheelDelta, false, shift.testFlag(ssCtrl));
    return true;
}

bool TqvxPreviewWorkspace::Find()
{
    TqvxSearchState &search = qvxSearchState();
    search.TextFound = false;
    while (m_previewPages && m_findPage < m_previewPages->Count()) {
        if (m_searchPage != m_findPage) {
            m_searchCanvas->Clear();
            m_previewPages->DrawPage(m_findPage, m_searchCanvas.get(), 1, 1, 0, 0);
            m_searchPage = m_findPage;
        }
        TRect found;
        const int record = qvxFindTextRecord(m_searchCanvas->Records(), search.SearchText, search.SearchCaseSensitive,
                                             search.LastFoundRecord, found);
        if (record >= 0) {
            search.TextFound = true;
            search.FoundRect = found;
            search.LastFoundRecord = record;
            scrollToHit(m_findPage);
            Invalidate();
            return true;
        }
        search.LastFoundRecord = -1;
        ++m_findPage;
    }
    MessageBox(qvxResources()->Get(QStringLiteral("clStrNotFound")), QString(), MB_OK | MB_ICONINFORMATION);
    return false;
}

void TqvxPreviewWorkspace::scrollToHit(int index)
{
    if (index >= m_pageList.Count())
        return;
    const TqvxPageItem &page = m_pageList.Items(index);
    const TRect &hit = qvxSearchState().FoundRect;
    const int top = page.OffsetY + int(std::lround(hit.Top * m_zoom));
    const int bottom = page.OffsetY + int(std::lround(hit.Bottom * m_zoom));
    if (top < VertPosition() || VertPosition() + ClientHeight() < bottom)
        SetVertPosition(bottom - ClientHeight() + 20);
    const int left = page.OffsetX + int(std::lround(hit.Left * m_zoom));
    const int right = page.OffsetX + int(std::lround(hit.Right * m_zoom));
    if (left < HorzPosition() || HorzPosition() + ClientWidth() < right)
        SetHorzPosition(right - ClientWidth() + 20);
}
