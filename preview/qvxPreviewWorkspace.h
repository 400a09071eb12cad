#pragma once

// The scrolling area of a preview that shows prepared pages: the page
// area at the preview's zoom, or the thumbnail strip at zoom 0.1.  It lays
// the pages out in rows, paints the visible ones through the prepared
// pages' DrawPage with a frame around the current page, scrolls by drag,
// hands the mouse to the prepared pages' ObjectOver, and searches the text
// of the pages.

#include "preview/qvxCtrls.h"
#include "preview/qvxPageList.h"
#include "report/model/qvxServiceTypes.h"
#include "preview/qvxPreviewSearch.h"
#include "toolkit/graphics/RecordingCanvas.h"

#include <memory>

class TqvxCustomPreviewPages;
class TqvxPreview;

// Where the view's top-left corner lies on a page, as parts of the page's
// width and height, so that the view can come back to the same place after
// the pages are laid out again at another size.
struct TqvxViewAnchor {
    int Page = -1;
    double X = 0;
    double Y = 0;
};

class TqvxPreviewWorkspace : public TqvxScrollWin
{
    Q_OBJECT

public:
    TqvxPreviewWorkspace(TComponent *owner, TqvxPreview *preview);
    ~TqvxPreviewWorkspace() override;

    TColor ActiveFrameColor() const { return m_activeFrameColor; }
    void SetActiveFrameColor(TColor value) { m_activeFrameColor = value; }
    TColor BackColor() const { return m_backColor; }
    void SetBackColor(TColor value) { m_backColor = value; }
    TColor FrameColor() const { return m_frameColor; }
    void SetFrameColor(TColor value) { m_frameColor = value; }
    TCursor DefaultCursor() const { return m_defaultCursor; }
    void SetDefaultCursor(TCursor value) { m_defaultCursor = value; }
    bool IsThumbnail() const { return m_isThumbnail; }
    void SetIsThumbnail(bool value) { m_isThumbnail = value; }
    bool RightToLeft() const { return m_rightToLeft; }
    void SetRightToLeft(bool value) { m_rightToLeft = value; }
    bool Locked() const { return m_locked; }
    void SetLocked(bool value) { m_locked = value; }
    // Set while the current page follows the scroll position, so that the
    // preview does not scroll back to the page's top.
    bool SyncingPageNo() const { return m_syncingPageNo; }
    void SetSyncingPageNo(bool value) { m_syncingPageNo = value; }
    // One-based number of the current page.
    int CurrentPage() const { return m_currentPage; }
    void SetCurrentPage(int value) { m_currentPage = value; }
    double Zoom() const { return m_zoom; }
    void SetZoom(double value) { m_zoom = value; }
    TqvxCustomPreviewPages *PreviewPages() const { return m_previewPages; }
    void SetPreviewPages(TqvxCustomPreviewPages *value);
    const TqvxPageList &PageList() const { return m_pageList; }

    // The zero-based page index at which the next search looks.
    int FindPage() const { return m_findPage; }
    void SetFindPage(int value) { m_findPage = value; }

    // Adds a page of width x height pixels at zoom 1.
    void AddPage(int width, int height);
    void ClearPageList();
    void CalcPageBounds(int clientWidth);
    // Lays out the pages added after the first laidOut ones in the width
    // of the last layout.
    void CalcPageBoundsOfAdded(int laidOut);
    // The width the rows are laid out in.
    int LayoutWidth() const;
    void SetScrollRanges();
    // Scrolls so that page pageN (from 1) starts 10 pixels below the top;
    // SetPosition scrolls to vertical position top within it.
    void ScrollToPage(int pageN);
    void SetPosition(int pageN, int top);
    // The view's place on page pageN (from 1), and the scroll to the same
    // place after a new layout; neither changes the current page.
    TqvxViewAnchor ViewAnchor(int pageN) const;
    void RestoreViewAnchor(const TqvxViewAnchor &anchor);
    // The page index (from 0) under a point of the window; -1 above the
    // first page.
    int PageAt(int x, int y) const;
    // Page index (from 0) of the rectangle in window coordinates.
    TRect PageRect(int index) const;

    // Looks for the search text from FindPage on, offering to go on from
    // the first page at the end; false (after telling the user) when no
    // page holds it, and false at once when the user stops it.  Window
    // events run while it looks, with its progress in the status bar.  A
    // page that cannot be read ends the search with its error shown; the
    // next search goes on after that page.
    bool Find();
    bool Searching() const { return m_searching; }
    void CancelSearch();
    // Forgets the text read from the pages: they changed.
    void ForgetPagesText();
    // The memory the text kept for searching may take.
    void SetSearchBudget(qint64 bytes);
    const TqvxSearchIndex &SearchIndex() const { return m_searchIndex; }
    // Repaints; with framesOnly only the background and the current page's
    // frame.
    void DrawPages(bool framesOnly);

protected:
    void Paint() override;
    void Resize() override;
    void OnHScrollChange() override;
    void OnVScrollChange() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void DblClick() override;
    // Wheel steps of any size: high-resolution wheels and touch pads send
    // parts of a notch.
    bool HandleInputEvent(QEvent *event) override;

private:
    void scrolled();
    // Scrolls without making the page at the new position current.
    void scrollQuietly(int vertPosition);
    void objectOver(int index, int x, int y, TMouseButton button, TShiftState shift, TqvxMouseAction action);
    void drawSearchHit(const TRect &page);
    // The loop of Find: whether it found the text.
    bool searchPages();
    QList<TRect> pageHits(int index, const QString &text, bool caseSensitive);
    void searchProgress(int pageNo);
    void scrollToHit(int index);

    TqvxPreview *m_preview;
    TqvxCustomPreviewPages *m_previewPages = nullptr;
    TColor m_activeFrameColor = TColor(0x3CC7FF);
    TColor m_backColor = TColor(0x808080);
    TColor m_frameColor = TColor(0x606060);
    TCursor m_defaultCursor;
    bool m_syncingPageNo = false;
    bool m_scrollingToPage = false;
    bool m_dragging = false;
    bool m_isThumbnail = false;
    bool m_locked = false;
    bool m_rightToLeft = false;
    std::unique_ptr<TRecordingCanvas> m_searchCanvas;
    int m_searchPage = -1;
    TqvxSearchIndex m_searchIndex;
    bool m_searching = false;
    bool m_searchCancelled = false;
    int m_findPage = 0;
    int m_dragX = 0;
    int m_dragY = 0;
    int m_lastHorzPos = 0;
    int m_lastVertPos = 0;
    qint64 m_lastClickTime = 0;
    TqvxPageList m_pageList;
    int m_layoutWidth = 0;
    int m_currentPage = 0;
    double m_zoom = 1.0;
};
