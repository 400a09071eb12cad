#include "preview/qvxPreviewWorkspace.h"

#include "preview/qvxPreview.h"
#include "preview/qvxPreviewSearch.h"
#include "report/model/qvxCustomPreviewPages.h"
#include "report/model/qvxGlobals.h"
#include "report/model/qvxResources.h"
#include "report/pages/qvxPage.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/core/Format.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/widgets/Dialogs.h"
#include "toolkit/widgets/SystemMetrics.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QWheelEvent>
#include <QGuiApplication>
#include <QStyleHints>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

constexpr int kPagesBefore = 60;
constexpr int kPagesAfter = 340;
constexpr int kTopGap = 10;
// What the page list keeps free at the right of the rows.
constexpr int kLayoutMargin = 26;
// How long a search runs before it lets window events run.
constexpr qint64 kSearchEventInterval = 50; // milliseconds

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
    if (value != m_previewPages)
        ForgetPagesText();
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
    m_layoutWidth = clientWidth;
    m_pageList.CalcBounds(clientWidth);
}

void TqvxPreviewWorkspace::CalcPageBoundsOfAdded(int laidOut)
{
    // A new width lays every row out again.
    if (m_layoutWidth != LayoutWidth())
        CalcPageBounds(LayoutWidth());
    else
        m_pageList.CalcBoundsOfAdded(m_layoutWidth, laidOut);
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

TqvxViewAnchor TqvxPreviewWorkspace::ViewAnchor(int pageN) const
{
    TqvxViewAnchor anchor;
    if (pageN < 1 || pageN > m_pageList.Count())
        return anchor;
    const TqvxPageItem &item = m_pageList.Items(pageN - 1);
    anchor.Page = pageN - 1;
    anchor.X = item.Width > 0 ? double(HorzPosition() - item.OffsetX) / item.Width : 0;
    anchor.Y = item.Height > 0 ? double(VertPosition() - item.OffsetY) / item.Height : 0;
    return anchor;
}

void TqvxPreviewWorkspace::RestoreViewAnchor(const TqvxViewAnchor &anchor)
{
    if (anchor.Page < 0 || anchor.Page >= m_pageList.Count())
        return;
    const TqvxPageItem &item = m_pageList.Items(anchor.Page);
    if (!m_rightToLeft)
        SetHorzPosition(item.OffsetX + int(std::lround(anchor.X * item.Width)));
    scrollQuietly(item.OffsetY + int(std::lround(anchor.Y * item.Height)));
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

int TqvxPreviewWorkspace::PageAt(int x, int y) const
{
    // Right to left, a page's window position is mirrored and then moved by
    // the scroll position (PageRect): the hit test undoes both.
    const int px = m_rightToLeft ? ClientWidth() - 1 - x + HorzPosition() : HorzPosition() + x;
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
    TqvxScrollWin::MouseDown(button, shift, x, y);
    if (!m_isThumbnail && m_preview->OnMouseDown)
        m_preview->OnMouseDown(this, button, shift, x, y);
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
    objectOver(PageAt(x, y), x, y, mbLeft, {}, maMove);
}

void TqvxPreviewWorkspace::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (!m_isThumbnail && m_preview->OnPreviewClick)
        m_preview->OnPreviewClick(m_preview);
    if (m_pageList.Count() == 0 || m_locked)
        return;
    m_dragging = false;
    const int index = PageAt(x, y);
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

bool TqvxPreviewWorkspace::HandleInputEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        // The page area answers its mouse itself: nothing goes on to the
        // preview around it.
        TqvxScrollWin::HandleInputEvent(event);
        event->accept();
        return true;
    case QEvent::Wheel:
        break;
    default:
        return TqvxScrollWin::HandleInputEvent(event);
    }
    auto *wheel = static_cast<QWheelEvent *>(event);
    const int delta = wheel->angleDelta().y();
    if (m_isThumbnail)
        SetVertPosition(VertPosition() - m_preview->WheelPixels(delta));
    else
        m_preview->MouseWheelScroll(delta, false, wheel->modifiers().testFlag(Qt::ControlModifier));
    event->accept();
    return true;
}

bool TqvxPreviewWorkspace::Find()
{
    TqvxSearchState &search = qvxSearchState();
    if (m_searching)
        return false;
    search.TextFound = false;
    m_searching = true;
    m_searchCancelled = false;
    std::optional<QString> failure;
    bool found = false;
    try {
        found = searchPages();
    } catch (const Exception &e) {
        failure = e.Message();
    } catch (const std::exception &e) {
        failure = QString::fromUtf8(e.what());
    }
    m_searching = false;
    m_preview->SetStatusText(QString(), false);
    if (failure) {
        // The page that could not be read is passed over by the next search.
        ++m_findPage;
        search.LastFoundRecord = -1;
        MessageDlg(*failure, mtError, mbOK);
        return false;
    }
    if (found) {
        scrollToHit(m_findPage);
        Invalidate();
        return true;
    }
    if (!m_searchCancelled)
        MessageBox(qvxResources()->Get(QStringLiteral("clStrNotFound")), QString(), MB_OK | MB_ICONINFORMATION);
    return false;
}

bool TqvxPreviewWorkspace::searchPages()
{
    TqvxSearchState &search = qvxSearchState();
    const QString text = qvxSearchedText(search.SearchText);
    const bool caseSensitive = search.SearchCaseSensitive;
    const int startPage = m_findPage;
    // A search from the top has nothing before it to wrap round to.
    bool mayWrap = !(startPage <= 0 && search.LastFoundRecord < 0);
    int lastPage = m_previewPages ? m_previewPages->Count() - 1 : -1;
    // Events run at the start and then every interval.
    QElapsedTimer sinceEvents;
    while (!text.isEmpty()) {
        for (; m_previewPages && m_findPage <= std::min(lastPage, m_previewPages->Count() - 1); ++m_findPage) {
            if (!sinceEvents.isValid() || sinceEvents.hasExpired(kSearchEventInterval)) {
                searchProgress(m_findPage + 1);
                sinceEvents.start();
                if (m_searchCancelled || !m_previewPages)
                    break;
            }
            if (!m_searchIndex.PageMayHold(m_previewPages, m_findPage, text, caseSensitive)) {
                search.LastFoundRecord = -1;
                continue;
            }
            const QList<TRect> hits = pageHits(m_findPage, text, caseSensitive);
            const int next = search.LastFoundRecord + 1;
            if (next < hits.size()) {
                search.TextFound = true;
                search.FoundRect = hits.at(next);
                search.LastFoundRecord = next;
                return true;
            }
            search.LastFoundRecord = -1;
        }
        if (m_searchCancelled || !m_previewPages || !mayWrap)
            return false;
        mayWrap = false;
        if (MessageBox(qvxResources()->Get(QStringLiteral("clSearchFromStart")), QString(),
                       MB_YESNO | MB_ICONQUESTION) != IDYES) {
            m_searchCancelled = true;
            return false;
        }
        m_findPage = 0;
        lastPage = startPage;
        search.LastFoundRecord = -1;
    }
    return false;
}

QList<TRect> TqvxPreviewWorkspace::pageHits(int index, const QString &text, bool caseSensitive)
{
    // The drawn lines give the hit's exact place; a phrase that only the
    // objects' texts hold (wrapped over two drawn lines) is shown by its
    // objects.
    if (m_searchPage != index) {
        m_searchCanvas->Clear();
        m_previewPages->DrawPage(index, m_searchCanvas.get(), 1, 1, 0, 0);
        m_searchPage = index;
    }
    QList<TRect> hits = qvxFindInRuns(qvxRecordedRuns(m_searchCanvas->Records()), text, caseSensitive);
    if (hits.isEmpty())
        hits = qvxFindInRuns(qvxPageRuns(m_previewPages->PageTexts(index)), text, caseSensitive);
    return hits;
}

void TqvxPreviewWorkspace::searchProgress(int pageNo)
{
    const int count = m_previewPages ? m_previewPages->Count() : 0;
    m_preview->SetStatusText(Format(qvxResources()->Get(QStringLiteral("clSearching")), {pageNo, count}), false);
    QCoreApplication::processEvents();
}

void TqvxPreviewWorkspace::CancelSearch()
{
    if (m_searching)
        m_searchCancelled = true;
}

void TqvxPreviewWorkspace::ForgetPagesText()
{
    m_searchIndex.Clear();
    m_searchPage = -1;
}

void TqvxPreviewWorkspace::SetSearchBudget(qint64 bytes)
{
    m_searchIndex.SetBudget(bytes);
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
