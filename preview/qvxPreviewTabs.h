#pragma once

// The report tabs of a preview: one item per report shown in it, keeping
// where the user was in that report (zoom, page, scroll position) while
// another tab is shown.  A tab that owns its report frees it, or only its
// prepared pages when another tab shows the same report, when the tab
// goes.

#include <QList>
#include <QString>

#include <memory>

class TqvxCustomPreviewPages;
class TqvxPreview;
class TqvxReport;

struct TqvxPreviewTabItem {
    QString Caption;
    int VertPos = 0;
    int HorzPos = 0;
    int PageNo = 0;
    TqvxReport *Report = nullptr;
    TqvxCustomPreviewPages *PreviewPages = nullptr;
    double Zoom = 1.0;
    bool OwnsReport = false;
};

class TqvxPreviewTabs
{
public:
    explicit TqvxPreviewTabs(TqvxPreview *preview) : m_preview(preview) {}

    int Count() const { return int(m_items.size()); }
    TqvxPreviewTabItem &Items(int index) { return m_items[index]; }
    int CurrentTab() const { return m_currentTab; }
    void SetCurrentTab(int value) { m_currentTab = value; }

    // A new tab of report at page 1, the preview's zoom, top-left.
    void AddTab(TqvxReport *report, const QString &caption, bool ownsReport);
    // Keeps the view in the current tab (unless saveCurrent is off) and
    // shows tab index.
    void SwitchTab(int index, bool saveCurrent = true);
    void DeleteTab(int index);
    // Takes the tab out without freeing anything of it.
    void RemoveTab(int index);
    // Deletes every tab but the first.
    void ClearTabs();
    // The tab showing report with its current prepared pages; -1 when none.
    int IndexOfReport(const TqvxReport *report) const;
    int IndexOfCaption(const QString &caption) const;
    // The first tab showing report with any prepared pages; -1 when none.
    int IndexOfReportAny(const TqvxReport *report) const;

private:
    TqvxPreview *m_preview;
    QList<TqvxPreviewTabItem> m_items;
    int m_currentTab = 0;
};
