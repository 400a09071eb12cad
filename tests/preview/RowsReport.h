#pragma once

// A report that the real engine builds into one page per row: a data band
// as high as most of an A4 page with a memo "Row N", shown in a preview
// window of its own that is not modal.

#include "report/pages/qvxBands.h"
#include "report/pages/qvxPage.h"
#include "report/report/qvxReport.h"
#include "report/views/qvxMemoView.h"

inline void makeRowsReport(TqvxReport &report, int rows)
{
    report.SetName(QStringLiteral("Report1"));
    report.SetShowProgress(false);
    report.EngineOptions()->SetNewSilentMode(simSilent);
    report.PreviewOptions()->SetModal(false);
    report.PreviewOptions()->SetMaximized(false);
    auto *page = new TqvxReportPage(&report);
    page->SetName(QStringLiteral("Page1"));
    auto *band = new TqvxMasterData(page);
    band->SetName(QStringLiteral("MasterData1"));
    band->SetBounds(0, 0, 700, 900);
    band->SetRowCount(rows);
    auto *memo = new TqvxMemoView(band);
    memo->SetName(QStringLiteral("Memo1"));
    memo->SetBounds(10, 10, 300, 20);
    memo->SetText(QStringLiteral("Row [Line#]"));
}
