// Preparing a report of 10,000 master rows, three memos each, with a page
// header and footer showing "[Page#] / [TotalPages#]", in two passes: pages
// per second and the peak memory the run adds, first with every page in
// memory, then with pages swapped to a file past 10 MiB.

#include "BenchEnvironment.h"

#include "app/AppUnits.h"
#include "report/pages/qvxBands.h"
#include "report/model/qvxCustomPreviewPages.h"
#include "report/views/qvxMemoView.h"
#include "report/model/qvxOptions.h"
#include "report/pages/qvxPage.h"
#include "report/report/qvxReport.h"
#include "report/data/qvxReportDataSets.h"
#include "report/data/qvxUserDataSet.h"
#include "toolkit/core/Units.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QGuiApplication>

#include <malloc.h>

#include <algorithm>
#include <memory>

namespace {

constexpr int MasterRows = 10000;

struct TBenchReport {
    std::unique_ptr<TqvxReport> report = std::make_unique<TqvxReport>();
    std::unique_ptr<TqvxUserDataSet> rows = std::make_unique<TqvxUserDataSet>();

    TBenchReport()
    {
        report->SetName(QStringLiteral("Report1"));
        report->SetShowProgress(false);
        report->EngineOptions()->SetDoublePass(true);
        report->EngineOptions()->SetDestroyForms(false);
        rows->SetName(QStringLiteral("Rows"));
        rows->SetUserName(QStringLiteral("Rows"));
        rows->SetRangeEnd(reCount);
        rows->SetRangeEndCount(MasterRows);
        rows->SetOnGetValue([this](const QString &field, Variant &value) {
            value = field + QStringLiteral(" of row ") + QString::number(rows->RecNo() + 1);
        });
        report->DataSets()->Add()->SetDataSet(rows.get());

        auto *page = new TqvxReportPage(report.get());
        page->SetName(QStringLiteral("Page1"));
        auto *header = band<TqvxPageHeader>(page, "PageHeader1", 0);
        memo(header, "HeaderPages", QStringLiteral("[Page#] / [TotalPages#]"), 0);
        auto *data = band<TqvxMasterData>(page, "MasterData1", 100);
        data->SetDataSet(rows.get());
        memo(data, "Name", QStringLiteral("[Rows.\"Name\"]"), 0);
        memo(data, "Code", QStringLiteral("[Rows.\"Code\"]"), 200);
        memo(data, "Note", QStringLiteral("[Rows.\"Note\"]"), 400);
        auto *footer = band<TqvxPageFooter>(page, "PageFooter1", 900);
        memo(footer, "FooterPages", QStringLiteral("[Page#] / [TotalPages#]"), 500);
    }

    template <class T>
    static T *band(TqvxReportPage *page, const char *name, double top)
    {
        auto *result = new T(page);
        result->SetName(QString::fromLatin1(name));
        result->SetBounds(0, top, 718, 20);
        return result;
    }

    static void memo(TqvxBand *band, const char *name, const QString &text, double left)
    {
        auto *result = new TqvxMemoView(band);
        result->SetName(QString::fromLatin1(name));
        result->SetBounds(left, 0, 180, 20);
        result->SetText(text);
    }
};

void BM_PrepareMasterRows(benchmark::State &state)
{
    TBenchReport bench;
    const bool fileCache = state.range(0) != 0;
    bench.report->EngineOptions()->SetUseFileCache(fileCache);
    bench.report->EngineOptions()->SetMaxMemSize(10);
    // What earlier runs freed goes back to the system first.
    malloc_trim(0);
    const qint64 baseline = residentBytes();
    qint64 peak = baseline;
    bench.report->OnProgress = [&](TqvxReport *, TqvxProgressType, int) { peak = std::max(peak, residentBytes()); };
    int pages = 0;
    for (auto _ : state) {
        if (!bench.report->PrepareReport())
            state.SkipWithError("the report did not prepare");
        pages = bench.report->PreviewPages()->Count();
        peak = std::max(peak, residentBytes());
    }
    state.counters["pages"] = pages;
    state.counters["pages/s"] = benchmark::Counter(double(pages), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["peak_MiB"] = double(peak - baseline) / (1 << 20);
    state.SetLabel(fileCache ? "file cache, 10 MiB" : "in memory");
}
BENCHMARK(BM_PrepareMasterRows)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char **argv)
{
    return RunProgramBenchmarks<QGuiApplication>(argc, argv);
}
