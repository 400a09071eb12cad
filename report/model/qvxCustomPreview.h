#pragma once

// The preview control as the report model knows it.  The report attaches
// one (its Preview property) or has the installed services make a preview
// window; it tells it when a report build starts, progresses and ends, and
// the prepared pages lock it while they print or export.

#include "toolkit/widgets/TCustomControl.h"

class TForm;
class TqvxCustomPreviewPages;
class TqvxReport;
class TqvxReportLink;

class TqvxCustomPreview : public TCustomControl
{
    Q_OBJECT

public:
    explicit TqvxCustomPreview(TComponent *owner) : TCustomControl(owner) {}

    // The virtual operations, in the order the preview overrides them.

    // Binds the preview to a report and its prepared pages.
    virtual void Init(TqvxReportLink *report, TqvxCustomPreviewPages *previewPages) = 0;
    // Forgets every tab showing those prepared pages.
    virtual void RemoveTab(TqvxCustomPreviewPages *previewPages) = 0;
    virtual void Lock() = 0;
    virtual void Unlock() = 0;
    // Builds the report again in place.
    virtual void RefreshReport() = 0;
    // A build starts, has done `progress` pages, ends.
    virtual void BuildStart() = 0;
    virtual void BuildProgress(int progress) = 0;
    virtual void BuildEnd() = 0;

    // What the prepared pages ask of the preview when a view is clicked.

    // Shows page pageNo (from 1); SetPosition also scrolls to top (pixels
    // of the page).
    virtual void SetPageNo(int pageNo) = 0;
    virtual void SetPosition(int pageNo, int top) = 0;
    // Report tabs by caption: whether one exists, switching to it, and a
    // new tab showing report (owned by the tab when ownsReport) under
    // displayCaption, or caption when that is empty.
    virtual bool HasTab(const QString &caption) = 0;
    virtual void SwitchToTab(const QString &caption) = 0;
    virtual void AddPreviewTab(TqvxReport *report, const QString &caption, bool ownsReport,
                               const QString &displayCaption) = 0;
    // Repaints the pages shown.
    virtual void InvalidatePages() = 0;
    // Shows text in the status bar of the preview window: its first field,
    // or its second when second is set.
    virtual void SetStatusText(const QString &text, bool second) = 0;
    // Whether the hints of views show as the preview's own hint.
    bool UseReportHints() const { return m_useReportHints; }
    void SetUseReportHints(bool value) { m_useReportHints = value; }

    TqvxReportLink *Report() const { return m_report; }
    void SetReport(TqvxReportLink *value) { m_report = value; }
    TqvxCustomPreviewPages *PreviewPages() const { return m_previewPages; }
    void SetPreviewPages(TqvxCustomPreviewPages *value) { m_previewPages = value; }
    // The preview window holding the control, or nullptr.
    TForm *PreviewForm() const { return m_previewForm; }
    void SetPreviewForm(TForm *value) { m_previewForm = value; }

private:
    TqvxReportLink *m_report = nullptr;
    TqvxCustomPreviewPages *m_previewPages = nullptr;
    TForm *m_previewForm = nullptr;
    bool m_useReportHints = true;
};
