#pragma once

// A preview control that keeps, as lines of text, what the report and the
// prepared pages tell it: build progress, page moves, tabs, repaints and
// status texts.  HasTab answers from the tabs added so far.

#include "report/model/qvxCustomPreview.h"

#include <QStringList>

class TRecordingPreview : public TqvxCustomPreview
{
public:
    TRecordingPreview() : TqvxCustomPreview(nullptr) {}

    void Init(TqvxReportLink *, TqvxCustomPreviewPages *) override { calls << QStringLiteral("Init"); }
    void RemoveTab(TqvxCustomPreviewPages *) override { calls << QStringLiteral("RemoveTab"); }
    void Lock() override { calls << QStringLiteral("Lock"); }
    void Unlock() override {}
    void RefreshReport() override { calls << QStringLiteral("RefreshReport"); }
    void BuildStart() override { calls << QStringLiteral("BuildStart"); }
    void BuildProgress(int progress) override { calls << QStringLiteral("BuildProgress %1").arg(progress); }
    void BuildEnd() override { calls << QStringLiteral("BuildEnd"); }
    void SetPageNo(int pageNo) override { calls << QStringLiteral("SetPageNo %1").arg(pageNo); }
    void SetPosition(int pageNo, int top) override
    {
        calls << QStringLiteral("SetPosition %1 %2").arg(pageNo).arg(top);
    }
    bool HasTab(const QString &caption) override { return tabs.contains(caption); }
    void SwitchToTab(const QString &caption) override { calls << QStringLiteral("SwitchToTab ") + caption; }
    void AddPreviewTab(TqvxReport *report, const QString &caption, bool ownsReport,
                       const QString &displayCaption) override
    {
        tabs << caption;
        tabReports << report;
        calls << QStringLiteral("AddPreviewTab %1 %2 %3").arg(caption, displayCaption).arg(ownsReport);
    }
    void InvalidatePages() override { calls << QStringLiteral("InvalidatePages"); }
    void SetStatusText(const QString &text, bool second) override
    {
        if (!text.isEmpty())
            calls << QStringLiteral("Status%1 %2").arg(second ? 2 : 1).arg(text);
    }

    QStringList calls;
    QStringList tabs;
    QList<TqvxReport *> tabReports;
};
