// The preview over a long report as a user meets it.  Search: a
// 10,000-page prepared report (file cache on) with 31 or 150 text objects
// a page is searched from the first page for a word on its last page, for
// a word it does not hold and for words every page holds in an order none
// does: first with nothing read before, as the first search after
// opening, then again, as a user searches again; each prints its time, and
// the resident memory afterwards is a counter.
// Opening: the same report is built once by the engine alone and once
// shown in a preview window that follows the build (ShowReport, as an
// application opens a report), and the last benchmark prints the two
// times and their ratio.

#include "BenchEnvironment.h"
#include "LongReport.h"

#include "preview/qvxPreview.h"
#include "preview/qvxPreviewForm.h"
#include "preview/qvxPreviewSearch.h"
#include "preview/qvxPreviewWorkspace.h"
#include "report/model/qvxCustomPreviewPages.h"
#include "report/model/qvxOptions.h"
#include "report/pages/qvxBands.h"
#include "report/pages/qvxPage.h"
#include "report/report/qvxReport.h"
#include "report/views/qvxMemoView.h"
#include "toolkit/widgets/ModalRunner.h"
#include "toolkit/widgets/TForm.h"

#include <QApplication>
#include <QPointer>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>

namespace {

constexpr int PageCount = 10000;
constexpr int MemosPerPage = 30;

// Message boxes are answered at once: the search's "not found" must not
// wait for a user.
class SilentRunner : public ModalRunner
{
public:
    SilentRunner() : m_previous(ModalRunner::Install(this)) {}
    ~SilentRunner() override { ModalRunner::Install(m_previous); }
    int RunForm(TCustomForm &) override { return 0; }
    int MessageBox(const TMessageBoxRequest &) override { return mrNo; }
    bool InputQuery(TInputRequest &) override { return false; }
    bool FileDialog(TFileDialogRequest &) override { return false; }
    bool ColorDialog(TColor &) override { return false; }
    bool FontDialog(TFontData &) override { return false; }
    bool PrintDialog(TPrintRequest &) override { return false; }

private:
    ModalRunner *m_previous;
};

// The long report with its first line numbering the pages, shown in a
// window of its own that is not modal.
std::unique_ptr<TqvxReport> longReport(int memosPerPage = MemosPerPage)
{
    auto made = makeLongReport(PageCount, memosPerPage, QStringLiteral("Запись [Line#]"));
    made->EngineOptions()->SetNewSilentMode(simSilent);
    made->PreviewOptions()->SetModal(false);
    made->PreviewOptions()->SetMaximized(false);
    return made;
}

// The long report with memosPerPage text objects a page, prepared once.
TqvxReport &preparedReport(int memosPerPage)
{
    static std::map<int, std::unique_ptr<TqvxReport>> reports;
    std::unique_ptr<TqvxReport> &report = reports[memosPerPage];
    if (!report) {
        report = longReport(memosPerPage);
        report->PrepareReport(true);
    }
    return *report;
}

enum class Search { First, Again };

// Searches the long report of state.range(0) text objects a page from the
// top for text.  A first search starts with nothing read; a search again
// follows one run untimed, as a user searches a second time.
void searchFromTheTop(benchmark::State &state, const QString &text, bool expectFound, Search kind)
{
    const int memosPerPage = int(state.range(0));
    TqvxReport &report = preparedReport(memosPerPage);
    if (report.PreviewPages()->Count() != PageCount) {
        state.SkipWithError("the report did not prepare its pages");
        return;
    }
    SilentRunner runner;
    TForm form(nullptr);
    TqvxPreview *preview = showInPreview(form, report);
    TqvxPreviewWorkspace *workspace = preview->Workspace();
    TqvxSearchState &search = qvxSearchState();
    // Each first search asks for the text in a letter case not asked for
    // before (the search ignores case), so that nothing kept for one helps
    // the next.
    const QString cases[] = {text.toLower(), text.toUpper(), text.left(1).toUpper() + text.mid(1).toLower()};
    int searches = 0;
    const auto find = [&] {
        search = TqvxSearchState();
        search.SearchText = kind == Search::First ? cases[searches++ % 3] : text;
        workspace->SetFindPage(0);
        return workspace->Find();
    };
    if (kind == Search::Again)
        find();
    bool found = false;
    double totalMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (kind == Search::First)
            workspace->ForgetPagesText();
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        found = find();
        totalMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    }
    if (found != expectFound)
        state.SkipWithError("the search did not end as expected");
    std::printf("10,000 pages of %d text objects, %s, %s search: %.0f ms\n", memosPerPage,
                expectFound ? "text on the last page" : "text on no page", kind == Search::First ? "first" : "repeated",
                totalMs / double(state.iterations()));
    state.counters["page"] = workspace->FindPage() + 1;
    state.counters["pages_kept"] = workspace->SearchIndex().PagesKept();
    state.counters["kept_MiB"] = double(workspace->SearchIndex().Bytes()) / (1 << 20);
    state.counters["resident_MiB"] = double(residentBytes()) / (1 << 20);
    report.SetPreview(nullptr);
    search = TqvxSearchState();
}

void BM_SearchWordOnTheLastPage(benchmark::State &state)
{
    searchFromTheTop(state, QStringLiteral("Запись %1").arg(PageCount), true, Search::First);
}
BENCHMARK(BM_SearchWordOnTheLastPage)->Arg(31)->Arg(150)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_SearchWordOnTheLastPageAgain(benchmark::State &state)
{
    searchFromTheTop(state, QStringLiteral("Запись %1").arg(PageCount), true, Search::Again);
}
BENCHMARK(BM_SearchWordOnTheLastPageAgain)->Arg(31)->Arg(150)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_SearchMissingWord(benchmark::State &state)
{
    searchFromTheTop(state, QStringLiteral("нигде"), false, Search::First);
}
BENCHMARK(BM_SearchMissingWord)->Arg(31)->Arg(150)->Iterations(3)->Unit(benchmark::kMillisecond);

// Words every page shows, in an order none does.
void BM_SearchMissingPhrase(benchmark::State &state)
{
    searchFromTheTop(state, QStringLiteral("выключатель автоматический"), false, Search::First);
}
BENCHMARK(BM_SearchMissingPhrase)->Arg(31)->Arg(150)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_SearchMissingWordAgain(benchmark::State &state)
{
    searchFromTheTop(state, QStringLiteral("нигде"), false, Search::Again);
}
BENCHMARK(BM_SearchMissingWordAgain)->Arg(31)->Arg(150)->Iterations(3)->Unit(benchmark::kMillisecond);

double buildAloneMs = 0;

// The mean time of build over fresh copies of the long report, in
// milliseconds; build answers whether it made every page.
double timeBuilds(benchmark::State &state, const std::function<bool(TqvxReport &)> &build)
{
    double total = 0;
    int runs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto report = longReport();
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        const bool built = build(*report);
        total += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        ++runs;
        state.PauseTiming();
        delete report->PreviewForm();
        report.reset();
        state.ResumeTiming();
        if (!built) {
            state.SkipWithError("the report's pages were not all built and shown");
            return 0;
        }
    }
    return runs > 0 ? total / runs : 0;
}

void BM_BuildAlone(benchmark::State &state)
{
    buildAloneMs = timeBuilds(state, [](TqvxReport &report) {
        report.PrepareReport(true);
        return report.PreviewPages()->Count() == PageCount;
    });
}
BENCHMARK(BM_BuildAlone)->Iterations(2)->Unit(benchmark::kMillisecond);

void BM_BuildInPreview(benchmark::State &state)
{
    const double withPreview = timeBuilds(state, [](TqvxReport &report) {
        // As an application shows a report: the window opens, its timer
        // builds the report while the window follows, and the first page
        // is painted.
        report.ShowReport();
        report.TimerTick();
        auto *window = qobject_cast<TqvxPreviewForm *>(report.PreviewForm());
        if (!window || window->Preview()->PageCount() != PageCount)
            return false;
        window->Preview()->Workspace()->Widget()->grab();
        return true;
    });
    std::printf("10,000 pages: build alone %.0f ms, build shown in the preview %.0f ms; preview / build = %.2f\n",
                buildAloneMs, withPreview, buildAloneMs > 0 ? withPreview / buildAloneMs : 0.0);
}
BENCHMARK(BM_BuildInPreview)->Iterations(2)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return RunProgramBenchmarks<QApplication>(argc, argv);
}
