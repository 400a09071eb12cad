#include "preview/qvxPreviewTabs.h"

#include "preview/qvxPreview.h"
#include "preview/qvxPreviewWorkspace.h"
#include "report/model/qvxCustomPreviewPages.h"
#include "report/report/qvxReport.h"

void TqvxPreviewTabs::AddTab(TqvxReport *report, const QString &caption, bool ownsReport)
{
    TqvxPreviewTabItem item;
    item.Caption = caption;
    item.Zoom = m_preview->Zoom();
    item.Report = report;
    item.PreviewPages = report ? report->PreviewPages() : nullptr;
    item.PageNo = 1;
    item.OwnsReport = ownsReport;
    m_items.append(item);
    if (report)
        QObject::connect(report, &QObject::destroyed, m_preview,
                         [preview = m_preview](QObject *gone) { preview->reportDestroyed(gone); });
}

void TqvxPreviewTabs::SwitchTab(int index, bool saveCurrent)
{
    if (index < 0 || index >= Count())
        return;
    TqvxPreviewWorkspace *workspace = m_preview->Workspace();
    if (saveCurrent && m_currentTab >= 0 && m_currentTab < Count()) {
        TqvxPreviewTabItem &current = m_items[m_currentTab];
        current.Zoom = m_preview->Zoom();
        current.HorzPos = workspace->HorzPosition();
        current.VertPos = workspace->VertPosition();
        current.PageNo = m_preview->PageNo();
    }
    const TqvxPreviewTabItem item = m_items.at(index);
    m_preview->SetReport(item.Report);
    if (item.Report) {
        item.Report->SetPreviewPages(item.PreviewPages);
        m_preview->SetTabSwitching(true);
        item.Report->SetPreview(m_preview);
        m_preview->SetTabSwitching(false);
    }
    m_preview->SetPreviewPages(item.PreviewPages);
    workspace->SetPreviewPages(item.PreviewPages);
    m_preview->Thumbnails()->SetPreviewPages(item.PreviewPages);
    const int pageNo = item.PageNo == 0 && m_preview->PageCount() > 0 ? 1 : item.PageNo;
    m_preview->m_pageNo = pageNo;
    m_preview->SetZoom(item.Zoom);
    workspace->SetScrollRanges();
    workspace->SetSyncingPageNo(true);
    workspace->SetHorzPosition(item.HorzPos);
    workspace->SetVertPosition(item.VertPos);
    m_preview->SetPageNo(pageNo);
    workspace->SetSyncingPageNo(false);
    m_preview->UpdateOutline();
    m_currentTab = index;
}

void TqvxPreviewTabs::DeleteTab(int index)
{
    if (index < 0 || index >= Count())
        return;
    const TqvxPreviewTabItem item = m_items.takeAt(index);
    if (item.Report) {
        m_preview->SetTabSwitching(true);
        if (item.Report->Preview() == m_preview)
            item.Report->SetPreview(nullptr);
        m_preview->SetTabSwitching(false);
    }
    // A tab owns at most its report: prepared pages belong to the store
    // or report that made them.
    if (item.OwnsReport && index > 0 && IndexOfReportAny(item.Report) < 0)
        delete item.Report;
    if (m_currentTab >= Count())
        m_currentTab = Count() - 1;
}

void TqvxPreviewTabs::RemoveTab(int index)
{
    m_items.removeAt(index);
    if (m_currentTab >= Count())
        m_currentTab = Count() - 1;
}

void TqvxPreviewTabs::ClearTabs()
{
    while (Count() >= 2)
        DeleteTab(1);
}

int TqvxPreviewTabs::IndexOfReport(const TqvxReport *report) const
{
    for (int i = 0; i < Count(); ++i)
        if (m_items.at(i).Report == report && report && m_items.at(i).PreviewPages == report->PreviewPages())
            return i;
    return -1;
}

int TqvxPreviewTabs::IndexOfReportAny(const TqvxReport *report) const
{
    for (int i = 0; i < Count(); ++i)
        if (m_items.at(i).Report == report)
            return i;
    return -1;
}

int TqvxPreviewTabs::IndexOfCaption(const QString &caption) const
{
    for (int i = 0; i < Count(); ++i)
        if (m_items.at(i).Caption == caption)
            return i;
    return -1;
}
