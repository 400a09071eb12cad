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
// run prints the times, sizes and the ratios of the peers over ours.

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

QTemporaryDir &outputDir()
{
    static QTemporaryDir dir;
    return dir;
}

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// A line of /proc/self/status in bytes ("VmRSS", "VmHWM").
qint64 statusBytes(const char *key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray prefix = QByteArray(key) + ':';
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toLongLong() * 1024;
    return 0;
}

// Sets the kernel's peak resident size back to the current one.
void resetPeakMemory()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (clearRefs.open(QIODevice::WriteOnly))
        clearRefs.write("5");
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
};

TRun qPdfWriterRun(int pages)
{
    const QString fileName = outputDir().filePath(QStringLiteral("qt.pdf"));
    const QStringList texts = rowTexts(pages * rowsPerPage);
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
    return {secondsSince(start), QFileInfo(fileName).size()};
}

const char reportLabScript[] = R"py(
import sys, time
from reportlab.pdfgen import canvas
from reportlab.pdfbase import pdfmetrics
from reportlab.pdfbase.ttfonts import TTFont
from reportlab.lib.pagesizes import A4
font_file, out, pages, lines = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
margin, step = float(sys.argv[5]) * 0.75, float(sys.argv[6]) * 0.75
texts = ["Строка %d.%d: автоматический выключатель ZMT-250, rated current %d A, номер заказа QV-%d" % (
    row // lines + 1, row % lines + 1, 16 * (row % lines % 16 + 1), row) for row in range(pages * lines)]
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
print(time.monotonic() - start)
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
    // The time the script measured itself, without Python's start-up.
    return {process.readAllStandardOutput().trimmed().toDouble(), QFileInfo(fileName).size()};
}

void BM_ReportToPdf(benchmark::State &state)
{
    const int pages = int(state.range(0));
    const bool fileCache = state.range(1) != 0;
    const QString fileName = outputDir().filePath(QStringLiteral("ours.pdf"));
    double prepareSeconds = 0;
    double exportSeconds = 0;
    qint64 exportPeak = 0;
    TRun qt;
    TRun reportLab;
    for (auto _ : state) {
        TRowsReport bench(pages * rowsPerPage, fileCache);
        auto start = std::chrono::steady_clock::now();
        if (!bench.report->PrepareReport())
            state.SkipWithError("the report did not prepare");
        prepareSeconds = secondsSince(start);
        if (bench.report->PreviewPages()->Count() != pages)
            state.SkipWithError(("the report prepared " + std::to_string(bench.report->PreviewPages()->Count()) + " pages").c_str());

        TqvxPDFExport pdf;
        pdf.SetShowDialog(false);
        pdf.SetShowProgress(false);
        pdf.SetFileName(fileName);
        malloc_trim(0);
        const qint64 before = statusBytes("VmRSS");
        resetPeakMemory();
        start = std::chrono::steady_clock::now();
        if (!bench.report->Export(&pdf))
            state.SkipWithError("the report did not export");
        exportSeconds = secondsSince(start);
        exportPeak = statusBytes("VmHWM") - before;

        qt = qPdfWriterRun(pages);
        reportLab = reportLabRun(pages);
    }
    const qint64 bytes = QFileInfo(fileName).size();
    const double ours = prepareSeconds + exportSeconds;
    state.counters["prepare_s"] = prepareSeconds;
    state.counters["export_s"] = exportSeconds;
    state.counters["export_peak_MiB"] = double(exportPeak) / (1 << 20);
    state.counters["file_bytes"] = double(bytes);
    state.counters["qt_over_ours"] = qt.seconds / ours;
    if (reportLab.seconds >= 0)
        state.counters["reportlab_over_ours"] = reportLab.seconds / ours;
    state.SetLabel(fileCache ? "file cache, 10 MiB" : "in memory");

    std::printf("%d pages%s: ours %.3f s (prepare %.3f, export %.3f), %lld bytes, export peak %.1f MiB; "
                "QPdfWriter %.3f s, %lld bytes",
                pages, fileCache ? " with the file cache" : "", ours, prepareSeconds, exportSeconds,
                static_cast<long long>(bytes), double(exportPeak) / (1 << 20), qt.seconds,
                static_cast<long long>(qt.bytes));
    if (reportLab.seconds >= 0)
        std::printf("; ReportLab %.3f s, %lld bytes", reportLab.seconds, static_cast<long long>(reportLab.bytes));
    else
        std::printf("; ReportLab not run (Debian package python3-reportlab)");
    std::printf("\n  time over ours: QPdfWriter %.2f", qt.seconds / ours);
    if (reportLab.seconds >= 0)
        std::printf(", ReportLab %.2f", reportLab.seconds / ours);
    std::printf("; size over ours: QPdfWriter %.2f", double(qt.bytes) / double(bytes));
    if (reportLab.seconds >= 0)
        std::printf(", ReportLab %.2f", double(reportLab.bytes) / double(bytes));
    std::printf("\n");
    std::fflush(stdout);
}
BENCHMARK(BM_ReportToPdf)
    ->ArgNames({"pages", "file_cache"})
    ->Args({100, 0})
    ->Args({1000, 0})
    ->Args({10000, 0})
    ->Args({10000, 1})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char **argv)
{
    return RunProgramBenchmarks<QGuiApplication>(argc, argv);
}
