// The preview over a 10,000-page prepared report kept in the swap file:
// opening it and showing the last page, then painting one page at 100 %
// and 200 % compared in the same run with poppler's pdftoppm rendering the
// same page of the exported PDF at the same pixel size (poppler-utils;
// without it that side is skipped).  The last benchmark prints the times
// and their ratio; the resident memory after opening is a counter.

#include "BenchEnvironment.h"
#include "LongReport.h"

#include "app/AppUnits.h"
#include "export/pdf/qvxExportPDF.h"
#include "preview/qvxPreview.h"
#include "preview/qvxPreviewWorkspace.h"
#include "report/model/qvxCustomPreviewPages.h"
#include "report/model/qvxOptions.h"
#include "report/pages/qvxBands.h"
#include "report/pages/qvxPage.h"
#include "report/report/qvxReport.h"
#include "report/views/qvxMemoView.h"
#include "toolkit/core/Units.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/widgets/TForm.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>

namespace {

constexpr int PageCount = 10000;
constexpr int MemosPerPage = 30;
constexpr int PaintedPage = 5000;

TqvxReport &preparedReport()
{
    static std::unique_ptr<TqvxReport> report = [] {
        auto made = makeLongReport(PageCount, MemosPerPage);
        made->PrepareReport(true);
        return made;
    }();
    return *report;
}

std::map<int, double> ourPaintMs;

void BM_OpenAndShowLastPage(benchmark::State &state)
{
    TqvxReport &report = preparedReport();
    if (report.PreviewPages()->Count() != PageCount) {
        state.SkipWithError("the report did not prepare its pages");
        return;
    }
    for (auto _ : state) {
        TForm form(nullptr);
        TqvxPreview *preview = showInPreview(form, report);
        preview->Last();
        preview->Workspace()->Widget()->grab();
        benchmark::DoNotOptimize(preview->PageNo());
        state.counters["resident_MiB"] = double(residentBytes()) / (1 << 20);
        report.SetPreview(nullptr);
    }
}
BENCHMARK(BM_OpenAndShowLastPage)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_PaintPage(benchmark::State &state)
{
    TqvxReport &report = preparedReport();
    const double zoom = state.range(0) / 100.0;
    const TPoint size = report.PreviewPages()->GetPageSize(PaintedPage);
    QImage image(int(size.X * zoom), int(size.Y * zoom), QImage::Format_RGB32);
    double total = 0;
    int runs = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        image.fill(Qt::white);
        TCanvas canvas;
        canvas.SetDevice(&image);
        report.PreviewPages()->DrawPage(PaintedPage, &canvas, zoom, zoom, 0, 0);
        canvas.ReleaseHandle();
        total += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        ++runs;
    }
    ourPaintMs[state.range(0)] = total / runs;
    state.SetLabel(QStringLiteral("%1 x %2 pixels").arg(image.width()).arg(image.height()).toStdString());
}
BENCHMARK(BM_PaintPage)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);

void BM_PdftoppmSamePage(benchmark::State &state)
{
    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftoppm.isEmpty()) {
        state.SkipWithError("pdftoppm is not installed (Debian package poppler-utils)");
        return;
    }
    TqvxReport &report = preparedReport();
    static QTemporaryDir folder;
    const QString pdfName = folder.filePath(QStringLiteral("page.pdf"));
    if (!QFile::exists(pdfName)) {
        TqvxPDFExport pdf(nullptr);
        pdf.SetShowDialog(false);
        pdf.SetShowProgress(false);
        pdf.SetFileName(pdfName);
        pdf.SetPageNumbers(QString::number(PaintedPage + 1));
        report.Export(&pdf);
    }
    const double zoom = state.range(0) / 100.0;
    const TPoint size = report.PreviewPages()->GetPageSize(PaintedPage);
    double total = 0;
    int runs = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        QProcess process;
        process.start(pdftoppm, {QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"),
                                 QStringLiteral("-scale-to-x"), QString::number(int(size.X * zoom)),
                                 QStringLiteral("-scale-to-y"), QString::number(int(size.Y * zoom)),
                                 QStringLiteral("-png"), pdfName, folder.filePath(QStringLiteral("page"))});
        if (!process.waitForFinished(60000) || process.exitCode() != 0) {
            state.SkipWithError("pdftoppm failed");
            return;
        }
        total += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        ++runs;
    }
    const double theirs = total / runs;
    const double ours = ourPaintMs[state.range(0)];
    std::printf("page %d at %lld %%: ours %.2f ms, pdftoppm %.2f ms (process included); pdftoppm / ours = %.2f\n",
                PaintedPage + 1, static_cast<long long>(state.range(0)), ours, theirs, ours > 0 ? theirs / ours : 0.0);
}
BENCHMARK(BM_PdftoppmSamePage)->Arg(100)->Arg(200)->Iterations(5)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return RunProgramBenchmarks<QApplication>(argc, argv);
}
