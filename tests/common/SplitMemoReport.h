#pragma once

// A report of one data band holding one memo, "Memo1", that grows to its
// text and splits over as many pages as it takes: the case that long memos
// are checked and measured on.

#include "report/pages/qvxBands.h"
#include "report/pages/qvxPage.h"
#include "report/report/qvxReport.h"
#include "report/views/qvxMemoView.h"
#include "toolkit/graphics/GraphicsObjects.h"

#include <memory>

// The memo is memoWidth pixels wide and keeps the report's default font
// unless one is given.
inline std::unique_ptr<TqvxReport> SplitMemoReport(const QString &text, double memoWidth, bool htmlTags,
                                                   const TFont *font = nullptr)
{
    auto report = std::make_unique<TqvxReport>();
    report->SetName(QStringLiteral("Report1"));
    report->SetShowProgress(false);
    auto *page = new TqvxReportPage(report.get());
    page->SetName(QStringLiteral("Page1"));
    auto *data = new TqvxMasterData(page);
    data->SetName(QStringLiteral("MasterData1"));
    data->SetBounds(0, 0, 718, 20);
    data->SetRowCount(1);
    data->SetAllowSplit(true);
    data->SetStretched(true);
    auto *memo = new TqvxMemoView(data);
    memo->SetName(QStringLiteral("Memo1"));
    memo->SetBounds(0, 0, memoWidth, 20);
    memo->SetStretchMode(smActualHeight);
    memo->SetAllowHTMLTags(htmlTags);
    if (font)
        memo->SetFont(font);
    memo->SetText(text);
    return report;
}
