#include "preview/qvxPreview.h"

#include "preview/qvxPreviewDialogs.h"
#include "preview/qvxPreviewForm.h"
#include "preview/qvxPreviewIcons.h"
#include "preview/qvxPreviewSearch.h"
#include "preview/qvxPreviewTabs.h"
#include "preview/qvxPreviewWorkspace.h"
#include "preview/qvxWidgetHost.h"
#include "report/model/qvxCustomEngine.h"
#include "report/model/qvxCustomOutline.h"
#include "report/model/qvxCustomPreviewPages.h"
#include "report/model/qvxResources.h"
#include "report/pages/qvxBands.h"
#include "report/pages/qvxPage.h"
#include "report/report/qvxReport.h"
#include "toolkit/classes/TStrings.h"
#include "toolkit/widgets/CommonDialogs.h"
#include "toolkit/widgets/SystemMetrics.h"
#include "toolkit/widgets/TButton.h"
#include "toolkit/widgets/TLabel.h"
#include "toolkit/widgets/TPanel.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenu>
#include <QTabBar>
#include <QTreeWidget>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kMinZoom = 0.25;
// The largest zoom: ten times the paper's size.
constexpr double kMaxZoom = 10;
// What the page area's coordinates may reach: a quarter of the int range.
constexpr double kMaxLayoutExtent = 1 << 29;
// A wheel's notch, in eighths of a degree, and the pixels it scrolls.
constexpr int kWheelNotch = 120;
constexpr int kWheelNotchPixels = 20;
constexpr double kMinWheelZoom = 0.3;
constexpr double kThumbnailZoom = 0.1;
constexpr int kLayoutMargin = 26;
constexpr int kOutlinePageRole = Qt::UserRole;
constexpr int kOutlineTopRole = Qt::UserRole + 1;
// Pages laid out one by one while a report builds.
constexpr int kPagesLaidOutAtOnce = 50;
constexpr double kPixelsPerMillimetre = 3.77953;
constexpr int kTabImage = 17;

qint64 tickCount()
{
    return QDateTime::currentMSecsSinceEpoch();
}

QString prepared(const QString &filter)
{
    return qvxResources()->Get(QStringLiteral("clQP3files")) + QStringLiteral(" (*.qp3)|*.qp3") + filter;
}

} // namespace

TqvxPreview::TqvxPreview(TComponent *owner)
    : TqvxCustomPreview(owner), m_tabs(std::make_unique<TqvxPreviewTabs>(this)), m_outlineColor(clWindow)
{
    SetBorderStyle(bsSingle);
    SetTabStop(true);

    m_tabBar = new QTabBar;
    m_tabBar->setIconSize(QSize(16, 16));
    m_tabBarHost = new TqvxWidgetHost(this, m_tabBar);
    m_tabBarHost->SetHeight(22);
    m_tabBarHost->SetAlign(alTop);
    m_tabBarHost->SetVisible(false);
    m_tabBarHost->SetParent(this);
    QObject::connect(m_tabBar, &QTabBar::currentChanged, this, [this](int index) {
        if (!m_tabSwitching && index >= 0 && index != m_tabs->CurrentTab())
            m_tabs->SwitchTab(index);
    });
    QObject::connect(m_tabBar, &QTabBar::tabCloseRequested, this, [this](int index) {
        if (index > 0)
            CloseTab(index);
    });

    m_outlineTree = new QTreeWidget;
    m_outlineTree->setHeaderHidden(true);
    m_outlineTree->setFrameShape(QFrame::NoFrame);
    m_outlineTree->setContextMenuPolicy(Qt::CustomContextMenu);
    m_outlineHost = new TqvxWidgetHost(this, m_outlineTree);
    m_outlineHost->SetAlign(alLeft);
    m_outlineHost->SetWidth(120);
    m_outlineHost->SetVisible(false);
    m_outlineHost->SetParent(this);
    SetOutlineColor(m_outlineColor);
    QObject::connect(m_outlineTree, &QTreeWidget::itemClicked, this,
                     [this](QTreeWidgetItem *item) { outlineClicked(item); });
    QObject::connect(m_outlineTree, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        QMenu menu;
        menu.addAction(qvxPreviewButtonIcon(13), qvxGet(601), [this] { m_outlineTree->collapseAll(); });
        menu.addAction(qvxPreviewButtonIcon(14), qvxGet(600), [this] {
            m_outlineTree->expandAll();
            if (m_outlineTree->topLevelItemCount() > 0)
                m_outlineTree->scrollToItem(m_outlineTree->topLevelItem(0));
        });
        menu.exec(m_outlineTree->mapToGlobal(pos));
    });

    m_thumbnails = new TqvxPreviewWorkspace(this, this);
    m_thumbnails->SetIsThumbnail(true);
    m_thumbnails->SetZoom(kThumbnailZoom);
    m_thumbnails->SetAlign(alLeft);
    m_thumbnails->SetWidth(120);
    m_thumbnails->SetVisible(false);
    m_thumbnails->SetParent(this);

    m_splitter = new TqvxSplitter(this);
    m_splitter->SetLeft(10000);
    m_splitter->SetAlign(alLeft);
    m_splitter->SetVisible(false);
    m_splitter->SetParent(this);
    m_splitter->OnMoved = [this] { relayout(m_workspace->ViewAnchor(m_pageNo)); };

    m_workspace = new TqvxPreviewWorkspace(this, this);
    m_workspace->SetAlign(alClient);
    m_workspace->SetParent(this);
    m_workspace->SetTabStop(true);
    // The page keys work wherever the focus is in the preview: the page
    // area, the thumbnail strip or the outline tree, which keeps its arrow
    // keys for its own items.
    const auto pageKeys = [this](TObject *, int &key, TShiftState shift) { KeyDown(key, shift); };
    m_workspace->OnKeyDown = pageKeys;
    m_thumbnails->OnKeyDown = pageKeys;
    m_outlineHost->OnKeyDown = [this](TObject *, int &key, TShiftState shift) {
        if (key != VK_UP && key != VK_DOWN && key != VK_LEFT && key != VK_RIGHT)
            KeyDown(key, shift);
    };

    m_cancelPanel = new TPanel(this);
    m_cancelPanel->SetVisible(false);
    m_cancelPanel->SetBounds(0, 0, 260, 75);
    m_cancelPanel->SetParent(this);
    m_cancelLabel = new TLabel(this);
    m_cancelLabel->SetBounds(4, 20, 255, 20);
    m_cancelLabel->SetAlignment(taCenter);
    m_cancelLabel->SetParent(m_cancelPanel);
    m_cancelButton = new TButton(this);
    m_cancelButton->SetBounds(92, 44, 75, 25);
    m_cancelButton->SetCaption(qvxResources()->Get(QStringLiteral("clCancel")));
    m_cancelButton->OnClick = [this](TObject *) { Cancel(); };
    m_cancelButton->SetParent(m_cancelPanel);
}

TqvxPreview::~TqvxPreview()
{
    m_tabSwitching = true;
    if (TqvxReport *report = BoundReport())
        report->SetPreview(nullptr);
    if (m_tabs->Count() > 0) {
        TqvxPreviewTabItem &first = m_tabs->Items(0);
        if (first.Report) {
            first.Report->SetPreviewPages(first.PreviewPages);
            first.Report->SetPreview(nullptr);
        }
    }
    m_tabs->ClearTabs();
    m_tabSwitching = false;
}

TqvxReport *TqvxPreview::BoundReport() const
{
    return dynamic_cast<TqvxReport *>(Report());
}

TqvxPreviewForm *TqvxPreview::Form() const
{
    return qobject_cast<TqvxPreviewForm *>(PreviewForm());
}

bool TqvxPreview::hasButton(int button) const
{
    const TqvxReport *report = BoundReport();
    return report && report->PreviewOptions()->Buttons().testFlag(TqvxPreviewButton(button));
}

// --- binding and building --------------------------------------------------------

void TqvxPreview::Init(TqvxReportLink *report, TqvxCustomPreviewPages *previewPages)
{
    if (m_tabSwitching)
        return;
    SetReport(report);
    SetPreviewPages(previewPages);
    TqvxReport *rep = BoundReport();
    if (m_initialized && m_eachReportInTab && rep) {
        AddTabForReport(rep, QString(), false, QString());
        return;
    }
    if (!PreviewForm())
        SetPreviewForm(qobject_cast<TqvxPreviewForm *>(ParentForm()));
    m_workspace->SetPreviewPages(previewPages);
    m_thumbnails->SetPreviewPages(previewPages);
    TqvxSearchState &search = qvxSearchState();
    search.TextFound = false;
    search.LastFoundRecord = -1;
    m_workspace->SetFindPage(0);
    m_findNextAllowed = false;
    if (m_initialized) {
        if (m_tabs->Count() > 0) {
            m_tabs->Items(0).Report = rep;
            m_tabs->Items(0).PreviewPages = previewPages;
        }
        m_tabSwitching = true;
        m_tabBar->setCurrentIndex(0);
        m_tabs->SetCurrentTab(0);
        m_tabSwitching = false;
    } else {
        QString caption;
        if (rep) {
            caption = QFileInfo(rep->FileName()).fileName();
            if (caption.isEmpty())
                caption = rep->ReportOptions()->Name();
        }
        m_tabs->AddTab(rep, caption, false);
        m_tabSwitching = true;
        m_tabBar->addTab(qvxPreviewButtonIcon(kTabImage), caption);
        m_tabSwitching = false;
        m_initialized = true;
        if (rep) {
            const TqvxPreviewOptions *options = rep->PreviewOptions();
            SetOutlineWidth(options->OutlineWidth());
            SetOutlineVisible(options->OutlineVisible());
            SetThumbnailVisible(options->ThumbnailVisible());
            m_zoomMode = options->ZoomMode();
            m_zoom = ClampZoom(options->Zoom());
            // The text kept for searching stays within the memory the
            // prepared pages may keep.
            m_workspace->SetSearchBudget(qint64(std::max(rep->EngineOptions()->MaxMemSize(), 1)) << 20);
        }
        if (TqvxPreviewForm *form = Form())
            form->ApplyOptions();
    }
    UpdatePages();
    UpdateOutline();
    SetPageNo(1);
}

void TqvxPreview::RemoveTab(TqvxCustomPreviewPages *previewPages)
{
    removeTabsWhere([previewPages](const TqvxPreviewTabItem &item) { return item.PreviewPages == previewPages; });
}

void TqvxPreview::reportDestroyed(QObject *report)
{
    removeTabsWhere([report](const TqvxPreviewTabItem &item) { return item.Report == report; });
}

void TqvxPreview::removeTabsWhere(const std::function<bool(const TqvxPreviewTabItem &)> &match)
{
    bool showsRemoved = false;
    for (int i = m_tabs->Count() - 1; i >= 0; --i) {
        if (!match(m_tabs->Items(i)))
            continue;
        showsRemoved = showsRemoved || m_tabs->Items(i).PreviewPages == PreviewPages();
        m_tabSwitching = true;
        m_tabBar->removeTab(i);
        m_tabSwitching = false;
        m_tabs->RemoveTab(i);
    }
    if (m_tabs->Count() == 0)
        m_initialized = false;
    if (showsRemoved) {
        SetReport(nullptr);
        SetPreviewPages(nullptr);
        for (TqvxPreviewWorkspace *workspace : {m_workspace, m_thumbnails}) {
            workspace->SetPreviewPages(nullptr);
            workspace->ClearPageList();
            workspace->Invalidate();
        }
        // Another tab's report is still there: show it rather than nothing.
        if (m_tabs->Count() > 0) {
            const int selected = std::clamp(m_tabBar->currentIndex(), 0, m_tabs->Count() - 1);
            m_tabSwitching = true;
            m_tabBar->setCurrentIndex(selected);
            m_tabSwitching = false;
            m_tabs->SwitchTab(selected, false);
        }
    }
    m_tabBarHost->SetVisible(m_tabs->Count() > 1);
}

void TqvxPreview::Lock()
{
    m_locked = true;
    m_workspace->SetLocked(true);
    m_thumbnails->SetLocked(true);
}

void TqvxPreview::Unlock()
{
    // Whatever ran locked may have changed the pages.
    m_workspace->ForgetPagesText();
    HideCancelPanel();
    m_locked = false;
    m_workspace->SetLocked(false);
    m_thumbnails->SetLocked(false);
    UpdatePages();
    m_workspace->Invalidate();
    m_thumbnails->Invalidate();
}

void TqvxPreview::RefreshReport()
{
    TqvxReport *report = BoundReport();
    if (!report)
        return;
    const int horz = m_workspace->HorzPosition();
    const int vert = m_workspace->VertPosition();
    const int pageNo = m_pageNo;
    Lock();
    m_refreshing = true;
    m_workspace->ForgetPagesText();
    report->PrepareReport(true);
    m_locked = false;
    m_thumbnails->SetLocked(false);
    m_pageNo = PageCount() >= pageNo ? pageNo : 1;
    UpdatePages();
    UpdateOutline();
    m_refreshing = false;
    m_workspace->SetHorzPosition(horz);
    m_workspace->SetVertPosition(vert);
    m_workspace->SetLocked(false);
    m_workspace->Invalidate();
    m_thumbnails->Invalidate();
    if (PageCount() < pageNo)
        SetPageNo(1);
}

void TqvxPreview::BuildStart()
{
    if (m_refreshing)
        return;
    Clear();
    m_workspace->ForgetPagesText();
    if (TqvxReport *report = BoundReport())
        report->Errors()->Clear();
    m_running = true;
    if (TqvxPreviewForm *form = Form())
        form->UpdateControls();
}

int TqvxPreview::RefreshIntervalFor(qint64 elapsedMs)
{
    if (elapsedMs < 5)
        return 50;
    if (elapsedMs >= 10)
        return 5;
    return 20;
}

void TqvxPreview::BuildProgress(int progress)
{
    if (m_refreshing) {
        firePageChanged();
        return;
    }
    TqvxReport *report = BoundReport();
    const bool finalPass = report && report->Engine()->FinalPass();
    if (finalPass && PreviewPages() && progress < kPagesLaidOutAtOnce)
        addBuiltPages();
    if (progress == 0) {
        SetPageNo(1);
        if (finalPass)
            UpdatePages();
        if (TqvxPreviewForm *form = Form())
            form->SetCancelCaption(qvxResources()->Get(QStringLiteral("clCancel")));
        m_buildStartTick = tickCount();
    } else if (progress == 1) {
        m_refreshInterval = RefreshIntervalFor(tickCount() - m_buildStartTick);
        SetPageNo(1);
        if (finalPass)
            UpdatePages();
    } else if (m_refreshInterval > 0 && progress % m_refreshInterval == 0) {
        if (finalPass)
            addBuiltPages();
        firePageChanged();
    }
    // The report lets window events run after each progress call.
}

void TqvxPreview::addBuiltPages()
{
    // Only the pages added since the last call are measured; the layout of
    // the rows is cheap next to that.
    const int count = PageCount();
    const int laidOut = m_workspace->PageList().Count();
    if (count <= laidOut)
        return;
    for (int i = laidOut; i < count; ++i) {
        const TPoint size = PreviewPages()->GetPageSize(i);
        m_workspace->AddPage(size.X, size.Y);
    }
    const TqvxViewAnchor anchor = m_workspace->ViewAnchor(m_pageNo);
    m_workspace->CalcPageBoundsOfAdded(laidOut);
    m_workspace->SetScrollRanges();
    m_workspace->RestoreViewAnchor(anchor);
}

void TqvxPreview::BuildEnd()
{
    if (m_refreshing)
        return;
    m_running = false;
    // The last page was still growing while the search could read it.
    m_workspace->ForgetPagesText();
    firePageChanged();
    setScrollRanges();
    UpdatePages();
    UpdateOutline();
    if (TqvxPreviewForm *form = Form()) {
        form->SetCancelCaption(qvxResources()->Get(QStringLiteral("clClose")));
        // A stopped build keeps the pages it made; the status bar says why
        // there are no more.
        const TqvxReport *report = BoundReport();
        const bool stopped = report && report->Terminated();
        form->SetMessage(stopped ? qvxResources()->Get(QStringLiteral("clBuildStopped")) : QString(), true);
        form->UpdateControls();
    }
}

// --- pages and zoom --------------------------------------------------------------

int TqvxPreview::PageCount() const
{
    return PreviewPages() ? PreviewPages()->Count() : 0;
}

int TqvxPreview::ClampPageNo(int value, int pageCount)
{
    return std::min(std::max(value, 1), pageCount);
}

void TqvxPreview::SetPageNo(int value)
{
    const int pageNo = ClampPageNo(value, PageCount());
    const bool changed = pageNo != m_pageNo;
    m_pageNo = pageNo;
    for (TqvxPreviewWorkspace *workspace : {m_workspace, m_thumbnails}) {
        workspace->SetCurrentPage(pageNo);
        if (changed)
            workspace->Invalidate();
        if (!workspace->SyncingPageNo())
            workspace->ScrollToPage(pageNo);
    }
    firePageChanged();
}

void TqvxPreview::firePageChanged()
{
    if (OnPageChanged)
        OnPageChanged(this, m_pageNo);
}

void TqvxPreview::First()
{
    SetPageNo(1);
}

void TqvxPreview::Next()
{
    SetPageNo(m_pageNo + 1);
}

void TqvxPreview::Prior()
{
    SetPageNo(m_pageNo - 1);
}

void TqvxPreview::Last()
{
    SetPageNo(PageCount());
}

void TqvxPreview::SetPosition(int pageN, int top)
{
    pageN = ClampPageNo(pageN, PageCount());
    TqvxReportPage *page = PreviewPages() && pageN > 0 ? PreviewPages()->GetPage(pageN - 1) : nullptr;
    if (!page)
        return;
    const int offset = top != 0 ? int(std::lround((page->TopMargin() * kPixelsPerMillimetre + top) * m_zoom)) : 0;
    m_workspace->SetPosition(pageN, offset);
    m_workspace->SetSyncingPageNo(true);
    SetPageNo(pageN);
    m_workspace->SetSyncingPageNo(false);
}

void TqvxPreview::SetZoom(double value)
{
    m_zoom = ClampZoom(value);
    m_zoomMode = zmDefault;
    UpdatePages();
}

void TqvxPreview::SetZoomMode(TqvxZoomMode value)
{
    m_zoomMode = value;
    UpdatePages();
}

double TqvxPreview::ClampZoom(double zoom)
{
    if (std::isnan(zoom))
        return 1;
    return std::clamp(zoom, kMinZoom, kMaxZoom);
}

double TqvxPreview::WholePageZoom(double zoom, int pageWidth, int pageHeight, int areaWidth, int areaHeight,
                                  int scrollBarWidth)
{
    if (pageWidth <= 0 || pageHeight <= 0 || areaWidth <= 0 || areaHeight <= 0)
        return std::max(zoom, kMinZoom);
    const double z = double(pageHeight) / areaHeight >= double(pageWidth) / areaWidth
                         ? (areaHeight - kLayoutMargin) / double(pageHeight)
                         : (areaWidth - scrollBarWidth - kLayoutMargin) / double(pageWidth);
    return std::max(z, kMinZoom);
}

double TqvxPreview::PageWidthZoom(double zoom, int pageWidth, int areaWidth, int scrollBarWidth)
{
    if (pageWidth <= 0 || areaWidth <= 0)
        return std::max(zoom, kMinZoom);
    return std::max((areaWidth - scrollBarWidth - kLayoutMargin) / double(pageWidth), kMinZoom);
}

double TqvxPreview::WheelZoom(double zoom, int wheelDelta)
{
    return std::max(zoom + double(wheelDelta) / kWheelNotch / 10.0, kMinWheelZoom);
}

int TqvxPreview::WheelPixels(int wheelDelta)
{
    // Parts of a notch add up, so that a touch pad's many small steps
    // scroll as far as the notches they make together.
    m_wheelRemainder += wheelDelta * kWheelNotchPixels;
    const int pixels = m_wheelRemainder / kWheelNotch;
    m_wheelRemainder -= pixels * kWheelNotch;
    return pixels;
}

void TqvxPreview::UpdatePages()
{
    // A new layout leaves the search where it was: F3 goes on from the last
    // hit.
    if (m_locked || PageCount() == 0)
        return;
    const TPoint size = PreviewPages()->GetPageSize(m_pageNo - 1);
    if (size.Y == 0)
        return;
    const int scrollBar = GetSystemMetrics(SM_CXVSCROLL);
    if (m_zoomMode == zmWholePage)
        m_zoom = WholePageZoom(m_zoom, size.X, size.Y, m_workspace->Width(), m_workspace->Height(), scrollBar);
    else if (m_zoomMode == zmPageWidth)
        m_zoom = PageWidthZoom(m_zoom, size.X, m_workspace->Width(), scrollBar);
    const TqvxViewAnchor anchor = m_workspace->ViewAnchor(m_pageNo);
    const int count = PageCount();
    QList<TPoint> sizes;
    sizes.reserve(count);
    double extent = 0;
    for (int i = 0; i < count; ++i) {
        sizes.append(PreviewPages()->GetPageSize(i));
        extent += std::max(sizes.last().X, sizes.last().Y) + 10;
    }
    // However long the report, no offset of the page area may overflow.
    m_zoom = std::min(ClampZoom(m_zoom), std::max(kMaxLayoutExtent / std::max(extent, 1.0), 0.01));
    m_workspace->SetZoom(m_zoom);
    m_workspace->ClearPageList();
    m_thumbnails->ClearPageList();
    for (const TPoint &page : std::as_const(sizes)) {
        m_workspace->AddPage(page.X, page.Y);
        if (!m_running)
            m_thumbnails->AddPage(page.X, page.Y);
    }
    relayout(anchor);
    if (m_zoomMode == zmWholePage)
        SetPosition(m_pageNo, 0);
    if (TqvxPreviewForm *form = Form())
        form->UpdateZoom();
}

void TqvxPreview::relayout(const TqvxViewAnchor &anchor)
{
    m_workspace->CalcPageBounds(m_workspace->LayoutWidth());
    m_thumbnails->CalcPageBounds(m_thumbnails->LayoutWidth());
    setScrollRanges();
    // The current page stays in view at the same place on it; the
    // positions stay within the new ranges.
    m_workspace->RestoreViewAnchor(anchor);
    m_workspace->SetHorzPosition(m_workspace->HorzPosition());
    m_workspace->SetVertPosition(m_workspace->VertPosition());
    if (!m_refreshing) {
        m_workspace->Invalidate();
        m_thumbnails->Invalidate();
    }
}

void TqvxPreview::setScrollRanges()
{
    m_workspace->SetScrollRanges();
    m_thumbnails->SetScrollRanges();
}

void TqvxPreview::Resize()
{
    TqvxCustomPreview::Resize();
    if (!m_workspace)
        return;
    if (PreviewPages())
        UpdatePages();
    if (m_cancelPanel->Visible())
        m_cancelPanel->SetBounds((Width() - 260) / 2, (Height() - 75) / 3, 260, 75);
}

void TqvxPreview::InvalidatePages()
{
    // A click on an object may have changed its page.
    m_workspace->ForgetPagesText();
    m_workspace->Invalidate();
}

void TqvxPreview::SetStatusText(const QString &text, bool second)
{
    if (TqvxPreviewForm *form = Form())
        form->SetMessage(text, second);
}

// --- outline and thumbnails --------------------------------------------------------

void TqvxPreview::UpdateOutline()
{
    const QSignalBlocker blocker(m_outlineTree);
    m_outlineTree->setUpdatesEnabled(false);
    m_outlineTree->clear();
    if (PreviewPages() && PreviewPages()->Outline()) {
        PreviewPages()->Outline()->LevelRoot();
        addOutlineLevel(nullptr, 0);
    }
    const TqvxReport *report = BoundReport();
    if (report && report->PreviewOptions()->OutlineExpand())
        m_outlineTree->expandAll();
    if (m_outlineTree->topLevelItemCount() > 0)
        m_outlineTree->scrollToItem(m_outlineTree->topLevelItem(0));
    m_outlineTree->setUpdatesEnabled(true);
}

void TqvxPreview::addOutlineLevel(QTreeWidgetItem *parent, int depth)
{
    // Outlines come from prepared-report files: their depth is bounded here
    // rather than by the stack.
    constexpr int kMaxDepth = 256;
    if (depth > kMaxDepth)
        return;
    TqvxCustomOutline *outline = PreviewPages()->Outline();
    const int count = outline->Count();
    for (int i = 0; i < count; ++i) {
        QString text;
        int page = 0;
        int top = 0;
        outline->GetItem(i, text, page, top);
        auto *item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(m_outlineTree);
        item->setText(0, text);
        item->setData(0, kOutlinePageRole, page + 1);
        item->setData(0, kOutlineTopRole, top);
        outline->LevelDown(i);
        addOutlineLevel(item, depth + 1);
        outline->LevelUp();
    }
}

void TqvxPreview::outlineClicked(QTreeWidgetItem *item)
{
    SetPosition(item->data(0, kOutlinePageRole).toInt(), item->data(0, kOutlineTopRole).toInt());
    m_workspace->SetFocus();
}

bool TqvxPreview::OutlineVisible() const
{
    return m_outlineHost->Visible();
}

void TqvxPreview::SetOutlineVisible(bool value)
{
    const bool changed = value != OutlineVisible();
    m_outlineHost->SetVisible(value);
    if (value)
        m_thumbnails->SetVisible(false);
    updatePanels();
    if (changed)
        UpdatePages();
}

bool TqvxPreview::ThumbnailVisible() const
{
    return m_thumbnails->Visible();
}

void TqvxPreview::SetThumbnailVisible(bool value)
{
    const bool changed = value != ThumbnailVisible();
    m_thumbnails->SetVisible(value);
    if (value) {
        m_outlineHost->SetVisible(false);
        m_thumbnails->SetHorzPosition(m_thumbnails->HorzPosition());
        m_thumbnails->SetVertPosition(m_thumbnails->VertPosition());
    }
    updatePanels();
    if (changed)
        UpdatePages();
}

void TqvxPreview::updatePanels()
{
    const bool outline = m_outlineHost->Visible();
    const bool thumbnails = m_thumbnails->Visible();
    m_splitter->SetResized(outline ? static_cast<TControl *>(m_outlineHost) : m_thumbnails);
    m_splitter->SetVisible(outline || thumbnails);
    if (TqvxPreviewForm *form = Form())
        form->SetPanelButtons(outline, thumbnails);
}

int TqvxPreview::OutlineWidth() const
{
    return m_outlineHost->Width();
}

void TqvxPreview::SetOutlineWidth(int value)
{
    m_outlineHost->SetWidth(value);
    m_thumbnails->SetWidth(value);
}

void TqvxPreview::SetOutlineColor(TColor value)
{
    m_outlineColor = value;
    QPalette palette = m_outlineTree->palette();
    palette.setColor(QPalette::Base, ColorToQColor(value));
    m_outlineTree->setPalette(palette);
}

TColor TqvxPreview::ActiveFrameColor() const
{
    return m_workspace->ActiveFrameColor();
}

void TqvxPreview::SetActiveFrameColor(TColor value)
{
    m_workspace->SetActiveFrameColor(value);
}

TColor TqvxPreview::BackColor() const
{
    return m_workspace->BackColor();
}

void TqvxPreview::SetBackColor(TColor value)
{
    m_workspace->SetBackColor(value);
}

TColor TqvxPreview::FrameColor() const
{
    return m_workspace->FrameColor();
}

void TqvxPreview::SetFrameColor(TColor value)
{
    m_workspace->SetFrameColor(value);
}

// --- operations on the prepared pages ------------------------------------------------

void TqvxPreview::Print()
{
    if (m_running || !PreviewPages())
        return;
    PreviewPages()->SetCurrentPreviewPage(m_pageNo);
    PreviewPages()->Print();
    Unlock();
}

void TqvxPreview::Export(TqvxCustomExportFilter *filter)
{
    if (m_running || !PreviewPages())
        return;
    PreviewPages()->SetCurrentPreviewPage(m_pageNo);
    // Through the report, so that an export that fails (a file that cannot
    // be written) is reported to the user once.
    if (TqvxReport *report = BoundReport())
        report->ExportPages(PreviewPages(), filter);
    else
        PreviewPages()->Export(filter);
    Unlock();
}

void TqvxPreview::SaveToFile()
{
    TSaveDialog dialog(nullptr);
    dialog.SetOptions(dialog.Options() | ofNoChangeDir | ofOverwritePrompt);
    dialog.SetFilter(prepared(QString()));
    if (!dialog.Execute())
        return;
    m_workspace->Invalidate();
    SaveToFile(PreparedFileName(dialog.FileName()));
}

QString TqvxPreview::PreparedFileName(const QString &fileName)
{
    const QFileInfo info(fileName);
    if (info.suffix().compare(QLatin1String("qp3"), Qt::CaseInsensitive) == 0)
        return fileName;
    const QString name = info.suffix().isEmpty() ? fileName : fileName.left(fileName.size() - info.suffix().size() - 1);
    return name + QStringLiteral(".qp3");
}

void TqvxPreview::SaveToFile(const QString &fileName)
{
    if (m_running || !PreviewPages())
        return;
    Lock();
    ShowMessage(qvxResources()->Get(QStringLiteral("clSaving")));
    try {
        PreviewPages()->SaveToFile(fileName);
    } catch (...) {
        Unlock();
        throw;
    }
    Unlock();
}

void TqvxPreview::LoadFromFile()
{
    TOpenDialog dialog(nullptr);
    dialog.SetOptions(ofHideReadOnly | ofNoChangeDir | ofFileMustExist);
    dialog.SetFilter(prepared(QString()));
    if (!dialog.Execute())
        return;
    m_workspace->Invalidate();
    LoadFromFile(dialog.FileName());
}

void TqvxPreview::LoadFromFile(const QString &fileName)
{
    if (m_running || !PreviewPages())
        return;
    Lock();
    ShowMessage(qvxResources()->Get(QStringLiteral("clLoading")));
    try {
        PreviewPages()->LoadFromFile(fileName, false);
    } catch (...) {
        Unlock();
        throw;
    }
    SetPageNo(1);
    UpdateOutline();
    Unlock();
}

void TqvxPreview::AddPage()
{
    if (m_running || !PreviewPages())
        return;
    PreviewPages()->AddEmptyPage(m_pageNo - 1);
    m_workspace->ForgetPagesText();
    UpdatePages();
    SetPageNo(m_pageNo);
}

void TqvxPreview::DeletePage()
{
    if (m_running || !PreviewPages())
        return;
    PreviewPages()->DeletePage(m_pageNo - 1);
    m_workspace->ForgetPagesText();
    if (PageCount() <= m_pageNo)
        SetPageNo(m_pageNo - 1);
    UpdatePages();
    firePageChanged();
}

void TqvxPreview::PageSetup()
{
    if (m_running || !PreviewPages())
        return;
    TqvxReportPage *page = PreviewPages()->GetPage(m_pageNo - 1);
    TqvxReport *report = BoundReport();
    if (!page || !report)
        return;
    TqvxPageSetupRequest request;
    request.Page = page;
    request.Report = report;
    if (!qvxRunPageSetupDialog(request))
        return;
    if (!request.ApplyToAll) {
        Lock();
        try {
            PreviewPages()->ModifyPage(m_pageNo - 1, page);
        } catch (...) {
            Unlock();
            throw;
        }
        Unlock();
        return;
    }
    for (int i = 0; i < report->PagesCount(); ++i) {
        auto *target = qobject_cast<TqvxReportPage *>(report->GetPages(i));
        if (!target)
            continue;
        target->SetOrientation(page->Orientation());
        target->SetPaperWidth(page->PaperWidth());
        target->SetPaperHeight(page->PaperHeight());
        target->SetPaperSize(page->PaperSize());
        target->SetLeftMargin(page->LeftMargin());
        target->SetRightMargin(page->RightMargin());
        target->SetTopMargin(page->TopMargin());
        target->SetBottomMargin(page->BottomMargin());
    }
    report->PrepareReport(true);
}

void TqvxPreview::Edit()
{
    // Editing a page needs the report designer, which this program does
    // not have: the page stays as it is.
}

void TqvxPreview::Clear()
{
    if (m_running || !PreviewPages())
        return;
    Lock();
    PreviewPages()->Clear();
    Unlock();
    m_workspace->ClearPageList();
    m_thumbnails->ClearPageList();
    UpdateOutline();
    SetPageNo(1);
    m_workspace->SetHorzRange(0);
    m_workspace->SetVertRange(0);
    if (m_thumbnails->Visible()) {
        m_thumbnails->SetHorzRange(0);
        m_thumbnails->SetVertRange(0);
    }
    m_workspace->Invalidate();
    if (TqvxPreviewForm *form = Form())
        form->UpdateControls();
}

void TqvxPreview::Cancel()
{
    if (TqvxReport *report = BoundReport())
        report->SetTerminated(true);
}

void TqvxPreview::Find()
{
    TqvxFindRequest request;
    request.Text = qvxSearchState().SearchText;
    request.CaseSensitive = qvxSearchState().SearchCaseSensitive;
    if (qvxRunFindDialog(request)) {
        TqvxSearchState &search = qvxSearchState();
        search.SearchText = request.Text;
        search.SearchCaseSensitive = request.CaseSensitive;
        m_workspace->SetFindPage(request.FromTop ? 0 : m_pageNo - 1);
        search.LastFoundRecord = -1;
        m_workspace->Find();
    }
    m_findNextAllowed = true;
}

void TqvxPreview::FindNext()
{
    if (m_findNextAllowed)
        m_workspace->Find();
}

bool TqvxPreview::Searching() const
{
    return m_workspace->Searching();
}

void TqvxPreview::CancelSearch()
{
    m_workspace->CancelSearch();
}

void TqvxPreview::ShowMessage(const QString &text)
{
    m_cancelPanel->SetBounds((Width() - 260) / 2, (Height() - 75) / 3, 260, 75);
    m_cancelLabel->SetCaption(text);
    m_cancelPanel->SetVisible(true);
    m_cancelPanel->BringToFront();
    m_cancelPanel->Repaint();
}

void TqvxPreview::HideCancelPanel()
{
    m_cancelPanel->SetVisible(false);
}

// --- keys and wheel ----------------------------------------------------------------

void TqvxPreview::MouseWheelScroll(int wheelDelta, bool horizontal, bool zoomIt)
{
    if (wheelDelta == 0)
        return;
    if (zoomIt) {
        SetZoom(WheelZoom(m_zoom, wheelDelta));
        return;
    }
    const int pixels = WheelPixels(wheelDelta);
    if (horizontal)
        m_workspace->SetHorzPosition(m_workspace->HorzPosition() - pixels);
    else
        m_workspace->SetVertPosition(m_workspace->VertPosition() - pixels);
}

bool TqvxPreview::DoMouseWheel(TShiftState shift, int wheelDelta, const QPoint &)
{
    MouseWheelScroll(wheelDelta, false, shift.testFlag(ssCtrl));
    return true;
}

void TqvxPreview::KeyDown(int &key, TShiftState shift)
{
    TqvxCustomPreview::KeyDown(key, shift);
    const bool ctrl = shift.testFlag(ssCtrl);
    switch (key) {
    case VK_UP:
        m_workspace->SetVertPosition(m_workspace->VertPosition() - 8);
        break;
    case VK_DOWN:
        m_workspace->SetVertPosition(m_workspace->VertPosition() + 8);
        break;
    case VK_LEFT:
        m_workspace->SetHorzPosition(m_workspace->HorzPosition() - 8);
        break;
    case VK_RIGHT:
        m_workspace->SetHorzPosition(m_workspace->HorzPosition() + 8);
        break;
    case VK_PRIOR:
        if (ctrl)
            Prior();
        else
            m_workspace->SetVertPosition(m_workspace->VertPosition() - 300);
        break;
    case VK_NEXT:
        if (ctrl)
            Next();
        else
            m_workspace->SetVertPosition(m_workspace->VertPosition() + 300);
        break;
    case VK_HOME:
        First();
        break;
    case VK_END:
        Last();
        break;
    case VK_F3:
        if (hasButton(pbFind))
            FindNext();
        break;
    case VK_ESCAPE:
        if (!Searching())
            return;
        CancelSearch();
        break;
    case 'P':
        if (ctrl && hasButton(pbPrint))
            Print();
        break;
    case 'S':
        if (ctrl && hasButton(pbSave))
            SaveToFile();
        break;
    case 'F':
        if (ctrl && hasButton(pbFind))
            Find();
        break;
    case 'O':
        if (ctrl && hasButton(pbLoad))
            LoadFromFile();
        break;
    default:
        return;
    }
    if (ctrl || (key != 'P' && key != 'S' && key != 'F' && key != 'O'))
        key = 0;
}

// --- tabs ------------------------------------------------------------------------

bool TqvxPreview::HasTab(const QString &caption)
{
    return m_tabs->IndexOfCaption(caption) >= 0;
}

void TqvxPreview::SwitchToTab(const QString &caption)
{
    const int index = m_tabs->IndexOfCaption(caption);
    if (index < 0)
        return;
    m_tabSwitching = true;
    m_tabBar->setCurrentIndex(index);
    m_tabSwitching = false;
    m_tabs->SwitchTab(index);
}

void TqvxPreview::AddPreviewTab(TqvxReport *report, const QString &caption, bool ownsReport,
                                const QString &displayCaption)
{
    m_tabSwitching = true;
    const int index =
        m_tabBar->addTab(qvxPreviewButtonIcon(kTabImage), displayCaption.isEmpty() ? caption : displayCaption);
    if (index > 0) {
        m_tabBar->setTabsClosable(true);
        // The first tab can never be closed.
        m_tabBar->setTabButton(0, QTabBar::RightSide, nullptr);
        m_tabBar->setTabButton(0, QTabBar::LeftSide, nullptr);
    }
    m_tabs->AddTab(report, caption, ownsReport);
    m_tabBarHost->SetVisible(m_tabs->Count() >= 2);
    m_tabBar->setCurrentIndex(index);
    m_tabSwitching = false;
    m_tabs->SwitchTab(index);
}

void TqvxPreview::AddTabForReport(TqvxReport *report, const QString &caption, bool ownsReport,
                                  const QString &displayCaption)
{
    const int index = m_tabs->IndexOfReport(report);
    if (index >= 0) {
        m_tabSwitching = true;
        m_tabBar->setCurrentIndex(index);
        m_tabSwitching = false;
        m_tabs->SwitchTab(index);
        return;
    }
    QString name = caption;
    if (name.isEmpty())
        name = QFileInfo(report->FileName()).fileName();
    if (name.isEmpty())
        name = report->ReportOptions()->Name();
    AddPreviewTab(report, name, ownsReport, displayCaption);
}

void TqvxPreview::CloseTab(int index)
{
    if (index < 0 || index >= m_tabs->Count())
        return;
    // The neighbour before the tab, or after it for the first one.
    const int remaining = m_tabs->Count() - 1;
    const int selected = remaining == 0 ? -1 : std::min(index > 0 ? index - 1 : 0, remaining - 1);
    m_tabSwitching = true;
    m_tabBar->removeTab(index);
    m_tabSwitching = false;
    m_tabs->DeleteTab(index);
    if (selected >= 0) {
        TqvxPreviewTabItem &item = m_tabs->Items(selected);
        m_tabSwitching = true;
        if (item.Report)
            item.Report->SetPreview(this);
        m_tabBar->setCurrentIndex(selected);
        m_tabSwitching = false;
        m_tabs->SwitchTab(selected, false);
    }
    m_tabBarHost->SetVisible(m_tabs->Count() > 1);
}
