// A report to PDF the way users run it, against ReportLab and Qt's
// QPdfWriter drawing the same pages, interleaved in one run.
//
// The report is built in code: a user data set of 40 rows a page, one data
// band per row holding one framed memo of mixed Cyrillic and Latin text in
// Arial 10 (which fontconfig serves as Liberation Sans), 40 bands a page.
// The engine prepares it and the PDF filter exports it to a file; prepare
// and export are timed apart, and the export's peak memory is read from the
// kernel's high-water mark.  ReportLab (Debian's python3-reportlab with the
// system interpreter, installed by `make bench`; skipped without it) and
// QPdfWriter then draw a rectangle and a line of text for each row.  Each
// run prints the times, sizes and the ratios of the peers over ours, and
// what qpdf, pdffonts and pdftotext find in our file.  The long benchmark
// runs 100,000 pages with the file cache and without it.  The picture
// benchmark prepares and exports one large PNG picture shown in several
// ways and prints the peak memory it costs.

#include "BenchEnvironment.h"

#include "app/AppUnits.h"
#include "export/pdf/qvxExportPDF.h"
#include "report/base/qvxViewTypes.h"
#include "report/components/qvxFrame.h"
#include "report/data/qvxReportDataSets.h"
#include "report/data/qvxUserDataSet.h"
#include "report/model/qvxCustomPreviewPages.h"
#include "report/model/qvxOptions.h"
#include "report/pages/qvxBands.h"
#include "report/pages/qvxPage.h"
#include "report/report/qvxReport.h"
#include "report/views/qvxMemoView.h"
#include "tests/common/GeneratedPng.h"
#include "tests/common/LargePictureReport.h"
#include "toolkit/core/Units.h"
#include "toolkit/graphics/FontEngine.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

namespace {

constexpr int rowsPerPage = 40;
constexpr double margin = 10;     // millimetres on every side
constexpr double marginPixels = margin * 96 / 25.4;
constexpr double bandHeight = 26; // pixels: 40 bands fill the printable height of A4
constexpr double memoWidth = 680;
constexpr double memoHeight = 20;

// The text of a row, the same for every writer.  Each writer gets all rows'
// texts made before its clock starts: the data is the user's, not the
// writer's work.
QString rowText(int row)
{
    const int line = row % rowsPerPage;
    return QStringLiteral("Строка %1.%2: автоматический выключатель ZMT-250, rated current %3 A, номер заказа "
                          "QV-%4")
        .arg(row / rowsPerPage + 1)
        .arg(line + 1)
        .arg(16 * (line % 16 + 1))
        .arg(row);
}

QStringList rowTexts(int rowCount)
{
    QStringList texts;
    texts.reserve(rowCount);
    for (int row = 0; row < rowCount; ++row)
        texts.append(rowText(row));
    return texts;
}

// With PDF_EXPORT_BENCH_KEEP set the files stay behind for a look.
QTemporaryDir &outputDir()
{
    static QTemporaryDir dir;
    static const bool keep = [] {
        if (!qEnvironmentVariableIsSet("PDF_EXPORT_BENCH_KEEP"))
            return false;
        dir.setAutoRemove(false);
        std::printf("files are kept in %s\n", qPrintable(dir.path()));
        return true;
    }();
    (void)keep;
    return dir;
}

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct TRowsReport {
    std::unique_ptr<TqvxReport> report = std::make_unique<TqvxReport>();
    std::unique_ptr<TqvxUserDataSet> rows = std::make_unique<TqvxUserDataSet>();
    QStringList texts;

    TRowsReport(int rowCount, bool fileCache) : texts(rowTexts(rowCount))
    {
        report->SetName(QStringLiteral("Report1"));
        report->SetShowProgress(false);
        report->EngineOptions()->SetUseFileCache(fileCache);
        report->EngineOptions()->SetMaxMemSize(10);
        rows->SetName(QStringLiteral("Rows"));
        rows->SetUserName(QStringLiteral("Rows"));
        rows->SetRangeEnd(reCount);
        rows->SetRangeEndCount(rowCount);
        rows->SetOnGetValue([this](const QString &, Variant &value) { value = texts.at(rows->RecNo()); });
        report->DataSets()->Add()->SetDataSet(rows.get());

        auto *page = new TqvxReportPage(report.get());
        page->SetName(QStringLiteral("Page1"));
        page->SetLeftMargin(margin);
        page->SetTopMargin(margin);
        page->SetRightMargin(margin);
        page->SetBottomMargin(margin);
        auto *data = new TqvxMasterData(page);
        data->SetName(QStringLiteral("MasterData1"));
        data->SetBounds(0, 0, 718, bandHeight);
        data->SetDataSet(rows.get());
        auto *memo = new TqvxMemoView(data);
        memo->SetName(QStringLiteral("Memo1"));
        memo->SetBounds(0, 0, memoWidth, memoHeight);
        memo->SetText(QStringLiteral("[Rows.\"Text\"]"));
        memo->Frame()->SetTyp(ftLeft | ftRight | ftTop | ftBottom);
        TFont font;
        font.SetName(QStringLiteral("Arial"));
        font.SetSize(10);
        memo->SetFont(&font);
    }
};

struct TRun {
    double seconds = 0;
    qint64 bytes = 0;
    qint64 peak = 0; // the peak resident size above the start, bytes
};

TRun qPdfWriterRun(int pages)
{
    const QString fileName = outputDir().filePath(QStringLiteral("qt.pdf"));
    const QStringList texts = rowTexts(pages * rowsPerPage);
    malloc_trim(0);
    const qint64 before = statusBytes("VmRSS");
    resetPeakMemory();
    const auto start = std::chrono::steady_clock::now();
    {
        QPdfWriter writer(fileName);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setResolution(96);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter(&writer);
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPointSizeF(10);
        painter.setFont(font);
        for (int row = 0; row < pages * rowsPerPage; ++row) {
            if (row > 0 && row % rowsPerPage == 0)
                writer.newPage();
            const QRectF box(marginPixels, marginPixels + (row % rowsPerPage) * bandHeight, memoWidth, memoHeight);
            painter.drawRect(box);
            painter.drawText(box.adjusted(2, 1, 0, 0), Qt::AlignTop, texts.at(row));
        }
    }
    return {secondsSince(start), QFileInfo(fileName).size(), statusBytes("VmHWM") - before};
}

const char reportLabScript[] = R"py(
import sys, time, resource
from reportlab.pdfgen import canvas
from reportlab.pdfbase import pdfmetrics
from reportlab.pdfbase.ttfonts import TTFont
from reportlab.lib.pagesizes import A4
font_file, out, pages, lines = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
margin, step = float(sys.argv[5]) * 0.75, float(sys.argv[6]) * 0.75
texts = ["Строка %d.%d: автоматический выключатель ZMT-250, rated current %d A, номер заказа QV-%d" % (
    row // lines + 1, row % lines + 1, 16 * (row % lines % 16 + 1), row) for row in range(pages * lines)]
base = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss
start = time.monotonic()
pdfmetrics.registerFont(TTFont("Body", font_file))
c = canvas.Canvas(out, pagesize=A4)
height = A4[1]
row = 0
for p in range(pages):
    c.setFont("Body", 10)
    for l in range(lines):
        top = margin + l * step
        c.rect(margin, height - top - 15, 510, 15)
        c.drawString(margin + 1.5, height - top - 10, texts[row])
        row += 1
    c.showPage()
c.save()
print(time.monotonic() - start, (resource.getrusage(resource.RUSAGE_SELF).ru_maxrss - base) * 1024)
)py";

// ReportLab's run, or seconds < 0 when it is not installed or failed.
TRun reportLabRun(int pages)
{
    // Debian's package goes with the system's interpreter.
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"), {QStringLiteral("/usr/bin")});
    if (python.isEmpty())
        return {-1, 0};
    const QString fileName = outputDir().filePath(QStringLiteral("reportlab.pdf"));
    const QString fontFile = TFontEngine::Face(QStringLiteral("Arial"), false, false)->File().FileName;
    QProcess process;
    process.start(python, {QStringLiteral("-c"), QString::fromUtf8(reportLabScript), fontFile, fileName,
                           QString::number(pages), QString::number(rowsPerPage), QString::number(marginPixels),
                           QString::number(bandHeight)});
    process.waitForFinished(-1);
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {-1, 0};
    // The time the script measured itself, without Python's start-up, and
    // the growth of its peak resident size while it drew.
    const QList<QByteArray> answer = process.readAllStandardOutput().trimmed().split(' ');
    return {answer.value(0).toDouble(), QFileInfo(fileName).size(), answer.value(1).toLongLong()};
}

// What a program's run prints (stdout), or an empty text when it failed.
QString toolOutput(const QString &program, const QStringList &arguments, int *exitCode = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(-1);
    const int code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    if (exitCode)
        *exitCode = code;
    return QString::fromUtf8(process.readAllStandardOutput());
}

// What the checkers find wrong with our file: qpdf --check, every font
// embedded (pdffonts), and the text pdftotext reads back, line for line
// the rows' texts.  Empty when all is well.
QString outputComplaint(const QString &fileName, const QStringList &texts)
{
    int code = 0;
    toolOutput(QStringLiteral("qpdf"), {QStringLiteral("--check"), fileName}, &code);
    if (code != 0)
        return QStringLiteral("qpdf --check exits with %1").arg(code);
    const QStringList fonts = toolOutput(QStringLiteral("pdffonts"), {fileName}, &code).split(u'\n');
    if (code != 0 || fonts.size() < 3)
        return QStringLiteral("pdffonts fails");
    for (const QString &font : fonts.mid(2))
        // Name (which may hold blanks), type, encoding, emb, sub, uni, object, generation.
        if (const QStringList fields = font.simplified().split(u' ');
            !font.trimmed().isEmpty() && fields.value(fields.size() - 5) != QStringLiteral("yes"))
            return QStringLiteral("a font is not embedded: ") + font.simplified();
    QStringList lines = toolOutput(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                                                                   fileName, QStringLiteral("-")}, &code)
                            .remove(u'\f')
                            .split(u'\n', Qt::SkipEmptyParts);
    if (code != 0)
        return QStringLiteral("pdftotext fails");
    if (lines != texts) {
        for (int i = 0; i < std::min(lines.size(), texts.size()); ++i)
            if (lines[i] != texts[i])
                return QStringLiteral("pdftotext reads line %1 as \"%2\"").arg(i + 1).arg(lines[i]);
        return QStringLiteral("pdftotext reads %1 lines of %2").arg(lines.size()).arg(texts.size());
    }
    return QString();
}

// Our run: prepare, then export to a file, each timed, with the growth of
// the peak resident size during each.
struct TOurRun {
    double prepare = 0;
    double exported = 0;
    qint64 preparePeak = 0;
    qint64 exportPeak = 0;
    qint64 bytes = 0;
    QString complaint;

    double seconds() const { return prepare + exported; }
};

TOurRun ourRun(benchmark::State &state, int pages, bool fileCache, bool check)
{
    TOurRun run;
    const QString fileName = outputDir().filePath(QStringLiteral("ours.pdf"));
    TRowsReport bench(pages * rowsPerPage, fileCache);
    malloc_trim(0);
    qint64 before = statusBytes("VmRSS");
    resetPeakMemory();
    auto start = std::chrono::steady_clock::now();
    if (!bench.report->PrepareReport())
        state.SkipWithError("the report did not prepare");
    run.prepare = secondsSince(start);
    run.preparePeak = statusBytes("VmHWM") - before;
    if (bench.report->PreviewPages()->Count() != pages)
        state.SkipWithError(
            ("the report prepared " + std::to_string(bench.report->PreviewPages()->Count()) + " pages").c_str());

    TqvxPDFExport pdf;
    pdf.SetShowDialog(false);
    pdf.SetShowProgress(false);
    pdf.SetFileName(fileName);
    malloc_trim(0);
    before = statusBytes("VmRSS");
    resetPeakMemory();
    start = std::chrono::steady_clock::now();
    if (!bench.report->Export(&pdf))
        state.SkipWithError("the report did not export");
    run.exported = secondsSince(start);
    run.exportPeak = statusBytes("VmHWM") - before;
    run.bytes = QFileInfo(fileName).size();
    if (check)
        run.complaint = outputComplaint(fileName, bench.texts);
    return run;
}

double mebibytes(qint64 bytes)
{
    return double(bytes) / (1 << 20);
}

// Our time per page at 1,000 pages, with and without the file cache, as
// this run measured it; 0 before it did.
double thousandPagesPerPage[2] = {0, 0};
// The same for the peak memory of preparing, bytes; -1 before it did.
qint64 thousandPagesPreparePeak[2] = {-1, -1};

void BM_ReportToPdf(benchmark::State &state)
{
    const int pages = int(state.range(0));
    const bool fileCache = state.range(1) != 0;
    TOurRun ours;
    TRun qt;
    TRun reportLab;
    for (auto _ : state) {
        ours = ourRun(state, pages, fileCache, true);
        qt = qPdfWriterRun(pages);
        reportLab = reportLabRun(pages);
    }
    if (pages == 1000) {
        thousandPagesPerPage[fileCache] = ours.seconds() / pages;
        thousandPagesPreparePeak[fileCache] = ours.preparePeak;
    }
    state.counters["prepare_s"] = ours.prepare;
    state.counters["export_s"] = ours.exported;
    state.counters["export_peak_MiB"] = mebibytes(ours.exportPeak);
    state.counters["file_bytes"] = double(ours.bytes);
    state.counters["qt_over_ours"] = qt.seconds / ours.seconds();
    if (reportLab.seconds >= 0)
        state.counters["reportlab_over_ours"] = reportLab.seconds / ours.seconds();
    state.SetLabel(fileCache ? "file cache, 10 MiB" : "in memory");

    std::printf("%d pages%s: ours %.3f s (prepare %.3f, export %.3f), %lld bytes, peak +%.1f MiB prepare, "
                "+%.1f MiB export; QPdfWriter %.3f s, %lld bytes",
                pages, fileCache ? " with the file cache" : "", ours.seconds(), ours.prepare, ours.exported,
                static_cast<long long>(ours.bytes), mebibytes(ours.preparePeak), mebibytes(ours.exportPeak),
                qt.seconds, static_cast<long long>(qt.bytes));
    if (reportLab.seconds >= 0)
        std::printf("; ReportLab %.3f s, %lld bytes", reportLab.seconds, static_cast<long long>(reportLab.bytes));
    else
        std::printf("; ReportLab not run (Debian package python3-reportlab)");
    std::printf("\n  time over ours: QPdfWriter %.2f", qt.seconds / ours.seconds());
    if (reportLab.seconds >= 0)
        std::printf(", ReportLab %.2f", reportLab.seconds / ours.seconds());
    std::printf("; our size over ReportLab's: %.2f, over QPdfWriter's: %.2f\n",
                reportLab.bytes > 0 ? double(ours.bytes) / double(reportLab.bytes) : 0.0,
                double(ours.bytes) / double(qt.bytes));
    std::printf("  checks of our file: %s\n", ours.complaint.isEmpty() ? "qpdf, pdffonts and pdftotext pass"
                                                                        : qPrintable(ours.complaint));
    std::fflush(stdout);
}
BENCHMARK(BM_ReportToPdf)
    ->ArgNames({"pages", "file_cache"})
    ->Args({100, 0})
    ->Args({1000, 0})
    ->Args({1000, 1})
    ->Args({10000, 0})
    ->Args({10000, 1})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

// 100,000 pages, with the file cache and without, against the peers drawing
// the same pages once: time per page, peak memory and file size, and our
// time per page over the one at 1,000 pages measured before in this run.
void BM_ReportToPdfLong(benchmark::State &state)
{
    const int pages = int(state.range(0));
    TOurRun ours[2];
    TRun qt;
    TRun reportLab;
    for (auto _ : state) {
        for (const bool fileCache : {false, true})
            ours[fileCache] = ourRun(state, pages, fileCache, true);
        qt = qPdfWriterRun(pages);
        reportLab = reportLabRun(pages);
    }
    const auto perPage = [pages](double seconds) { return seconds / pages * 1000; };
    std::printf("%d pages, ms a page: QPdfWriter %.3f (%lld bytes, peak +%.1f MiB)", pages, perPage(qt.seconds),
                static_cast<long long>(qt.bytes), mebibytes(qt.peak));
    if (reportLab.seconds >= 0)
        std::printf("; ReportLab %.3f (%lld bytes, peak +%.1f MiB)", perPage(reportLab.seconds),
                    static_cast<long long>(reportLab.bytes), mebibytes(reportLab.peak));
    std::printf("\n");
    for (const bool fileCache : {false, true}) {
        const TOurRun &run = ours[fileCache];
        std::printf("  ours%s: %.3f ms a page (prepare %.3f, export %.3f), %lld bytes, peak +%.1f MiB prepare, "
                    "+%.1f MiB export\n",
                    fileCache ? " with the file cache (10 MiB)" : " in memory", perPage(run.seconds()),
                    perPage(run.prepare), perPage(run.exported), static_cast<long long>(run.bytes),
                    mebibytes(run.preparePeak), mebibytes(run.exportPeak));
        std::printf("    time over ours: QPdfWriter %.2f", qt.seconds / run.seconds());
        if (reportLab.seconds >= 0)
            std::printf(", ReportLab %.2f; our size over ReportLab's %.2f", reportLab.seconds / run.seconds(),
                        double(run.bytes) / double(reportLab.bytes));
        if (thousandPagesPerPage[fileCache] > 0)
            std::printf("; our time a page over the one at 1,000 pages %.2f",
                        run.seconds() / pages / thousandPagesPerPage[fileCache]);
        // With the file cache, pages beyond its budget cost a few bytes each:
        // the peak of preparing stays near the one at 1,000 pages.
        if (fileCache && thousandPagesPreparePeak[fileCache] >= 0)
            std::printf("; our prepare peak over the one at 1,000 pages %+.1f MiB (cache budget 10 MiB)",
                        mebibytes(run.preparePeak - thousandPagesPreparePeak[fileCache]));
        std::printf("\n    checks of our file: %s\n",
                    run.complaint.isEmpty() ? "qpdf, pdffonts and pdftotext pass" : qPrintable(run.complaint));
        state.counters[fileCache ? "cache_ms_a_page" : "memory_ms_a_page"] = perPage(run.seconds());
    }
    std::fflush(stdout);
}
BENCHMARK(BM_ReportToPdfLong)->ArgNames({"pages"})->Arg(100000)->Iterations(1)->Unit(benchmark::kSecond);

// A generated RGBA PNG of width x height pixels prepared and exported in
// one of the layouts of tests/common/LargePictureReport.h: views reading it
// from its file, one view of its own size, or a logo on the rows of a data
// band.  The times, the peak resident size above the start (in all and a
// pixel) and the whole process's peak resident size.
void BM_LargePictureToPdf(benchmark::State &state)
{
    const int width = int(state.range(0));
    const int height = int(state.range(1));
    const auto layout = TPictureLayout(state.range(2));
    const int count = int(state.range(3));
    const QString picture = outputDir().filePath(QStringLiteral("large.png"));
    if (!WriteGeneratedPng(picture, width, height)) {
        state.SkipWithError("the picture could not be written");
        return;
    }
    qint64 peak = 0;
    qint64 processPeak = 0;
    double seconds = 0;
    for (auto _ : state) {
        TLargePictureReport test(picture, QSize(width, height), layout, count);
        malloc_trim(0);
        const qint64 before = statusBytes("VmRSS");
        resetPeakMemory();
        const auto start = std::chrono::steady_clock::now();
        if (!test.report->PrepareReport() || !test.exportTo(outputDir().filePath(QStringLiteral("picture.pdf"))))
            state.SkipWithError("the report did not prepare and export");
        seconds = secondsSince(start);
        processPeak = statusBytes("VmHWM");
        peak = processPeak - before;
    }
    const double pixels = double(width) * height;
    const char *const layouts[] = {"in small views", "in a view of its own size", "on band rows"};
    std::printf("%d x %d picture %s (%d) prepared and exported: %.2f s, peak +%.1f MiB (%.2f bytes a pixel), "
                "process peak %.1f MiB\n",
                width, height, layouts[int(layout)], count, seconds, mebibytes(peak), double(peak) / pixels,
                mebibytes(processPeak));
    std::fflush(stdout);
    state.counters["peak_MiB"] = mebibytes(peak);
    state.counters["bytes_a_pixel"] = double(peak) / pixels;
    state.counters["process_peak_MiB"] = mebibytes(processPeak);
}
BENCHMARK(BM_LargePictureToPdf)
    ->ArgNames({"width", "height", "layout", "count"})
    ->Args({8192, 4096, int(TPictureLayout::SmallViews), 1})
    ->Args({8192, 8192, int(TPictureLayout::SmallViews), 1})
    ->Args({8192, 8192, int(TPictureLayout::SmallViews), 5})
    ->Args({8192, 8192, int(TPictureLayout::OwnSize), 1})
    ->Args({4096, 4096, int(TPictureLayout::BandRows), 10})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char **argv)
{
    return RunProgramBenchmarks<QGuiApplication>(argc, argv);
}
