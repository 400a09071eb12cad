#pragma once

// The long report the preview's benchmarks show: one page per master row,
// a band as high as the page's printable area holding lines of framed
// text (30 lines, side by side in columns when there are more memos), the
// prepared pages kept in the swap file beyond 10 MB.

#include "report/model/qvxOptions.h"
#include "report/pages/qvxBands.h"
#include "report/pages/qvxPage.h"
#include "report/report/qvxReport.h"
#include "report/views/qvxMemoView.h"
#include "preview/qvxPreview.h"
#include "toolkit/widgets/TForm.h"

#include <algorithm>
#include <memory>

// firstLine, when given, is the text of the first line instead of the
// usual one (an expression such as "[Line#]" numbers the pages).
inline std::unique_ptr<TqvxReport> makeLongReport(int pageCount, int memosPerPage, const QString &firstLine = {})
{
    auto made = std::make_unique<TqvxReport>();
    made->SetName(QStringLiteral("Report1"));
    made->SetShowProgress(false);
    made->EngineOptions()->SetUseFileCache(true);
    made->EngineOptions()->SetMaxMemSize(10);
    auto *page = new TqvxReportPage(made.get());
    page->SetName(QStringLiteral("Page1"));
    auto *band = new TqvxMasterData(page);
    band->SetName(QStringLiteral("MasterData1"));
    band->SetBounds(0, 0, 718, 1000);
    band->SetRowCount(pageCount);
    constexpr int linesPerColumn = 30;
    const int columns = (memosPerPage + linesPerColumn - 1) / linesPerColumn;
    const int columnWidth = 700 / std::max(columns, 1);
    for (int i = 0; i < memosPerPage; ++i) {
        auto *memo = new TqvxMemoView(band);
        memo->SetName(QStringLiteral("Memo%1").arg(i + 1));
        memo->SetBounds(10 + i / linesPerColumn * columnWidth, 10 + i % linesPerColumn * 32, columnWidth - 10, 26);
        memo->Frame()->SetTyp(TqvxFrameTypes::fromInt(15));
        memo->SetText(i == 0 && !firstLine.isEmpty()
                          ? firstLine
                          : QStringLiteral("Строка %1: автоматический выключатель ZMT-250, rated current %2 A")
                                .arg(i + 1)
                                .arg(16 * (i + 1)));
    }
    return made;
}

// A preview filling form, shown, bound to report.
inline TqvxPreview *showInPreview(TForm &form, TqvxReport &report)
{
    form.SetBounds(0, 0, 1000, 800);
    auto *preview = new TqvxPreview(&form);
    preview->SetAlign(alClient);
    preview->SetParent(&form);
    form.Show();
    report.SetPreview(preview);
    return preview;
}
