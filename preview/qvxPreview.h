#pragma once

// The preview control: shows a report's prepared pages in a page area with
// an optional outline tree or thumbnail strip beside it and a bar of report
// tabs above it.  It binds to a report through the preview interface of the
// report model, follows a report build as it progresses, and passes every
// page operation (print, export, save, load, add, delete, page settings,
// clear) to the prepared pages.

#include "report/model/qvxCustomPreview.h"
#include "report/base/qvxTypes.h"
#include "toolkit/classes/Events.h"

#include <functional>
#include <memory>

class QTabBar;
class QTreeWidget;
class QTreeWidgetItem;
class TButton;
class TLabel;
class TPanel;
class TqvxCustomExportFilter;
class TqvxPreviewForm;
class TqvxPreviewTabs;
struct TqvxPreviewTabItem;
class TqvxPreviewWorkspace;
struct TqvxViewAnchor;
class TqvxReport;
class TqvxSplitter;
class TqvxWidgetHost;

class TqvxPreview;
TOOLKIT_EVENT(TqvxPageChangedEvent, void(TqvxPreview *sender, int pageNo))

class TqvxPreview : public TqvxCustomPreview
{
    Q_OBJECT
    Q_PROPERTY(TColor ActiveFrameColor READ ActiveFrameColor WRITE SetActiveFrameColor)
    Q_PROPERTY(TColor BackColor READ BackColor WRITE SetBackColor)
    Q_PROPERTY(TColor FrameColor READ FrameColor WRITE SetFrameColor)
    Q_PROPERTY(bool EachReportInTab READ EachReportInTab WRITE SetEachReportInTab)
    Q_PROPERTY(TColor OutlineColor READ OutlineColor WRITE SetOutlineColor)
    Q_PROPERTY(bool OutlineVisible READ OutlineVisible WRITE SetOutlineVisible)
    Q_PROPERTY(int OutlineWidth READ OutlineWidth WRITE SetOutlineWidth)
    Q_PROPERTY(bool ThumbnailVisible READ ThumbnailVisible WRITE SetThumbnailVisible)

public:
    explicit TqvxPreview(TComponent *owner);
    ~TqvxPreview() override;

    // The preview interface of the report model.
    void Init(TqvxReportLink *report, TqvxCustomPreviewPages *previewPages) override;
    void RemoveTab(TqvxCustomPreviewPages *previewPages) override;
    void Lock() override;
    void Unlock() override;
    void RefreshReport() override;
    void BuildStart() override;
    void BuildProgress(int progress) override;
    void BuildEnd() override;
    void SetPageNo(int value) override;
    void SetPosition(int pageN, int top) override;
    bool HasTab(const QString &caption) override;
    void SwitchToTab(const QString &caption) override;
    void AddPreviewTab(TqvxReport *report, const QString &caption, bool ownsReport,
                       const QString &displayCaption) override;
    void InvalidatePages() override;
    void SetStatusText(const QString &text, bool second) override;

    // The bound report as a report object (nullptr when none is bound).
    TqvxReport *BoundReport() const;
    TqvxPreviewForm *Form() const;

    int PageNo() const { return m_pageNo; }
    int PageCount() const;
    void First();
    void Next();
    void Prior();
    void Last();

    double Zoom() const { return m_zoom; }
    // Never below 0.25; sets the default zoom mode.
    void SetZoom(double value);
    TqvxZoomMode ZoomMode() const { return m_zoomMode; }
    void SetZoomMode(TqvxZoomMode value);
    // Lays the pages out again at the zoom the zoom mode gives.
    void UpdatePages();
    void UpdateOutline();

    TColor ActiveFrameColor() const;
    void SetActiveFrameColor(TColor value);
    TColor BackColor() const;
    void SetBackColor(TColor value);
    TColor FrameColor() const;
    void SetFrameColor(TColor value);
    bool EachReportInTab() const { return m_eachReportInTab; }
    void SetEachReportInTab(bool value) { m_eachReportInTab = value; }
    TColor OutlineColor() const { return m_outlineColor; }
    void SetOutlineColor(TColor value);
    bool OutlineVisible() const;
    void SetOutlineVisible(bool value);
    int OutlineWidth() const;
    void SetOutlineWidth(int value);
    bool ThumbnailVisible() const;
    void SetThumbnailVisible(bool value);

    bool Locked() const { return m_locked; }
    bool Running() const { return m_running; }
    bool Refreshing() const { return m_refreshing; }
    bool TabSwitching() const { return m_tabSwitching; }
    void SetTabSwitching(bool value) { m_tabSwitching = value; }
    bool FindNextAllowed() const { return m_findNextAllowed; }
    int RefreshInterval() const { return m_refreshInterval; }

    // Page operations, refused while a report builds.
    void Print();
    void Export(TqvxCustomExportFilter *filter);
    // With a file dialog, and to a file.
    void SaveToFile();
    void SaveToFile(const QString &fileName);
    void LoadFromFile();
    void LoadFromFile(const QString &fileName);
    void AddPage();
    void DeletePage();
    void PageSetup();
    void Edit();
    void Clear();
    // Stops the report build.
    void Cancel();
    // Asks for the text and looks for it; FindNext continues the search.
    void Find();
    void FindNext();
    // A search is looking through the pages; Esc stops it.
    bool Searching() const;
    void CancelSearch();

    // Shows text on the cancel panel while a long operation runs.
    void ShowMessage(const QString &text);
    void HideCancelPanel();

    // Scrolls or, with zoomIt, zooms in steps of a tenth by the wheel.
    void MouseWheelScroll(int wheelDelta, bool horizontal, bool zoomIt);

    // Report tabs.
    void AddTabForReport(TqvxReport *report, const QString &caption, bool ownsReport,
                         const QString &displayCaption);
    void CloseTab(int index);
    TqvxPreviewTabs *Tabs() const { return m_tabs.get(); }
    QTabBar *TabBar() const { return m_tabBar; }

    TqvxPreviewWorkspace *Workspace() const { return m_workspace; }
    TqvxPreviewWorkspace *Thumbnails() const { return m_thumbnails; }
    QTreeWidget *OutlineTree() const { return m_outlineTree; }
    TPanel *CancelPanel() const { return m_cancelPanel; }

    // The zoom that shows a whole page of pageWidth x pageHeight in an area
    // of areaWidth x areaHeight beside a scroll bar of scrollBarWidth, and
    // the zoom that fits the page's width; never below 0.25, and the
    // current zoom when the area is empty.
    static double WholePageZoom(double zoom, int pageWidth, int pageHeight, int areaWidth, int areaHeight,
                                int scrollBarWidth);
    static double PageWidthZoom(double zoom, int pageWidth, int areaWidth, int scrollBarWidth);
    // The zoom after a wheel turn of wheelDelta eighths of a degree (a
    // tenth per notch), never below 0.3.
    static double WheelZoom(double zoom, int wheelDelta);
    // A zoom within the preview's bounds: 0.25 to 10.
    static double ClampZoom(double zoom);
    // The pixels a wheel turn of wheelDelta scrolls: 20 a notch, parts of
    // notches adding up.
    int WheelPixels(int wheelDelta);
    // The name a prepared report is saved under: its extension becomes
    // ".qp3".
    static QString PreparedFileName(const QString &fileName);
    // Pages between display refreshes of a build whose first page took
    // elapsedMs.
    static int RefreshIntervalFor(qint64 elapsedMs);
    // The current page clamped to the pages there are; 0 without pages.
    static int ClampPageNo(int value, int pageCount);

    TNotifyEvent OnPreviewClick;
    TNotifyEvent OnPreviewDblClick;
    TqvxPageChangedEvent OnPageChanged;

protected:
    void KeyDown(int &key, TShiftState shift) override;
    void Resize() override;
    bool DoMouseWheel(TShiftState shift, int wheelDelta, const QPoint &mousePos) override;

private:
    friend class TqvxPreviewTabs;
    friend class TqvxPreviewWorkspace;

    void firePageChanged();
    // Forgets the tabs of a report that is being freed.
    void reportDestroyed(QObject *report);
    void removeTabsWhere(const std::function<bool(const TqvxPreviewTabItem &)> &match);
    void setScrollRanges();
    void relayout(const TqvxViewAnchor &anchor);
    // Lays out the pages a build added since the last call.
    void addBuiltPages();
    void addOutlineLevel(QTreeWidgetItem *parent, int depth);
    void outlineClicked(QTreeWidgetItem *item);
    void updatePanels();
    void workspaceClicked();
    void workspaceDblClicked();
    bool hasButton(int button) const;

    TqvxWidgetHost *m_tabBarHost = nullptr;
    QTabBar *m_tabBar = nullptr;
    TqvxWidgetHost *m_outlineHost = nullptr;
    QTreeWidget *m_outlineTree = nullptr;
    TqvxPreviewWorkspace *m_thumbnails = nullptr;
    TqvxSplitter *m_splitter = nullptr;
    TqvxPreviewWorkspace *m_workspace = nullptr;
    TPanel *m_cancelPanel = nullptr;
    TLabel *m_cancelLabel = nullptr;
    TButton *m_cancelButton = nullptr;
    std::unique_ptr<TqvxPreviewTabs> m_tabs;

    int m_pageNo = 1;
    double m_zoom = 1.0;
    TqvxZoomMode m_zoomMode = zmDefault;
    TColor m_outlineColor;
    bool m_eachReportInTab = false;
    bool m_locked = false;
    bool m_refreshing = false;
    bool m_running = false;
    bool m_tabSwitching = false;
    bool m_initialized = false;
    bool m_findNextAllowed = false;
    int m_refreshInterval = 0;
    qint64 m_buildStartTick = 0;
    int m_wheelRemainder = 0;
};
