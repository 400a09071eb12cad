// The same 1,000 pages of text (40 framed lines of mixed Cyrillic and Latin
// each, Arial 10, which fontconfig serves as Liberation Sans) written three
// ways in one run: through our PDF writer with its subset font, through
// Qt's QPdfWriter drawing with QPainter, and through ReportLab's canvas with
// the same TrueType font embedded (Debian's python3-reportlab, installed by
// `make bench`; without it that side is skipped).  The last benchmark
// prints times, file sizes and the ratios.
//
// Our side draws the lines with a page drawing of its own (text runs of the
// document's font and a rectangle per line), the operators memo views
// write.

#include "BenchEnvironment.h"

#include "export/pdf/PdfExportUnits.h"
#include "export/pdf/qvxExportPDF.h"
#include "report/components/qvxView.h"
#include "toolkit/core/Units.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <memory>

namespace {

constexpr int pageCount = 1000;
constexpr int linesPerPage = 40;
constexpr double lineStep = 25; // pixels
constexpr double lineWidth = 680;

QString lineText(int page, int line)
{
    return QStringLiteral("Строка %1.%2: автоматический выключатель ZMT-250, rated current %3 A, номер заказа "
                          "QV-%4")
        .arg(page + 1)
        .arg(line + 1)
        .arg(16 * (line % 16 + 1))
        .arg(page * linesPerPage + line);
}

struct Result {
    double seconds = 0;
    qint64 bytes = 0;
};
Result ours;
Result qt;

QTemporaryDir &outputDir()
{
    static QTemporaryDir dir;
    return dir;
}

void writeLine(TqvxPDFExport &pdf, TqvxView *view)
{
    TqvxPDFFont *font = pdf.FindFont(*view->Font());
    const QList<quint16> glyphs = font->GetGlyphs(view->Description());
    const double x = pdf.PX(view->Left());
    const double y = pdf.PY(view->Top() + view->Height());
    TStream *c = pdf.PageContent();
    TqvxPDFExport::WriteLn(c, "0 0 0 RG 0.75 w " + PdfNumber(x) + ' ' + PdfNumber(y) + ' '
                                  + PdfNumber(view->Width() * 0.75) + ' ' + PdfNumber(view->Height() * 0.75)
                                  + " re S");
    TqvxPDFExport::WriteLn(c, "BT " + font->ResourceName + " 10 Tf 0 0 0 rg " + PdfNumber(x + 2) + ' '
                                  + PdfNumber(y + 5) + " Td <" + GlyphsToHex4(glyphs) + "> Tj ET");
}

void BM_OurPdfExport(benchmark::State &state)
{
    TqvxPDFPageInfo page;
    page.Width = 210 * 3.77953;
    page.Height = 297 * 3.77953;
    qvxInstallPDFPageDrawing({[page](TqvxReportPage *) { return page; }, writeLine});
    std::vector<std::unique_ptr<TqvxView>> views;
    for (int line = 0; line < linesPerPage; ++line) {
        auto view = std::make_unique<TqvxView>();
        view->SetBounds(40, 40 + line * lineStep, lineWidth, 20);
        TFont font;
        font.SetName(QStringLiteral("Arial"));
        font.SetSize(10);
        view->SetFont(&font);
        views.push_back(std::move(view));
    }
    const QString fileName = outputDir().filePath(QStringLiteral("ours.pdf"));
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        TqvxPDFExport pdf;
        pdf.SetShowDialog(false);
        pdf.SetFileName(fileName);
        pdf.BeginExport(nullptr);
        pdf.StartExport();
        for (int p = 0; p < pageCount; ++p) {
            pdf.StartPage(nullptr, p);
            for (int line = 0; line < linesPerPage; ++line) {
                views[size_t(line)]->SetDescription(lineText(p, line));
                pdf.ExportObject(views[size_t(line)].get());
            }
            pdf.FinishPage(nullptr, p);
        }
        pdf.FinishExport();
        ours.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    qvxRemovePDFPageDrawing();
    ours.bytes = QFileInfo(fileName).size();
    state.counters["file_bytes"] = double(ours.bytes);
}
BENCHMARK(BM_OurPdfExport)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_QPdfWriter(benchmark::State &state)
{
    const QString fileName = outputDir().filePath(QStringLiteral("qt.pdf"));
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        QPdfWriter writer(fileName);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setResolution(96);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter(&writer);
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPointSizeF(10);
        painter.setFont(font);
        for (int p = 0; p < pageCount; ++p) {
            if (p > 0)
                writer.newPage();
            for (int line = 0; line < linesPerPage; ++line) {
                const QRectF box(40, 40 + line * lineStep, lineWidth, 20);
                painter.drawRect(box);
                painter.drawText(box.adjusted(3, 0, 0, 0), Qt::AlignVCenter, lineText(p, line));
            }
        }
        painter.end();
        qt.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    qt.bytes = QFileInfo(fileName).size();
    state.counters["file_bytes"] = double(qt.bytes);
}
BENCHMARK(BM_QPdfWriter)->Iterations(1)->Unit(benchmark::kMillisecond);

const char reportLabScript[] = R"py(
import sys, time
from reportlab.pdfgen import canvas
from reportlab.pdfbase import pdfmetrics
from reportlab.pdfbase.ttfonts import TTFont
from reportlab.lib.pagesizes import A4
font_file, out, pages, lines = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
start = time.monotonic()
pdfmetrics.registerFont(TTFont("Body", font_file))
c = canvas.Canvas(out, pagesize=A4)
height = A4[1]
for p in range(pages):
    c.setFont("Body", 10)
    for l in range(lines):
        top = (40 + l * 25) * 0.75
        c.rect(30, height - top - 15, 510, 15)
        text = "Строка %d.%d: автоматический выключатель ZMT-250, rated current %d A, номер заказа QV-%d" % (
            p + 1, l + 1, 16 * (l % 16 + 1), p * lines + l)
        c.drawString(32, height - top - 11, text)
    c.showPage()
c.save()
print(time.monotonic() - start)
)py";

void BM_ReportLab(benchmark::State &state)
{
    // Debian's package goes with the system's interpreter.
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"), {QStringLiteral("/usr/bin")});
    QProcess probe;
    probe.start(python, {QStringLiteral("-c"), QStringLiteral("import reportlab")});
    probe.waitForFinished(-1);
    if (python.isEmpty() || probe.exitCode() != 0) {
        state.SkipWithError("ReportLab is not installed (Debian package python3-reportlab)");
        return;
    }
    const QString fileName = outputDir().filePath(QStringLiteral("reportlab.pdf"));
    const QString fontFile = TFontEngine::Face(QStringLiteral("Arial"), false, false)->File().FileName;
    double seconds = 0;
    for (auto _ : state) {
        QProcess process;
        process.start(python, {QStringLiteral("-c"), QString::fromUtf8(reportLabScript), fontFile, fileName,
                               QString::number(pageCount), QString::number(linesPerPage)});
        process.waitForFinished(-1);
        if (process.exitCode() != 0) {
            state.SkipWithError("ReportLab failed");
            return;
        }
        // The time the script measured itself, without Python's start-up.
        seconds = process.readAllStandardOutput().trimmed().toDouble();
    }
    const qint64 bytes = QFileInfo(fileName).size();
    state.counters["file_bytes"] = double(bytes);
    std::printf("%d pages of %d framed lines: ours %.3f s, %lld bytes; QPdfWriter %.3f s, %lld bytes; "
                "ReportLab %.3f s, %lld bytes\n",
                pageCount, linesPerPage, ours.seconds, static_cast<long long>(ours.bytes), qt.seconds,
                static_cast<long long>(qt.bytes), seconds, static_cast<long long>(bytes));
    if (ours.seconds > 0)
        std::printf("time over ours: QPdfWriter %.2f, ReportLab %.2f; size over ours: QPdfWriter %.2f, "
                    "ReportLab %.2f\n",
                    qt.seconds / ours.seconds, seconds / ours.seconds, double(qt.bytes) / double(ours.bytes),
                    double(bytes) / double(ours.bytes));
}
BENCHMARK(BM_ReportLab)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    PinBenchEnvironment();
    QGuiApplication application(argc, argv);
    RegisterPdfExportUnits();
    Units::InitializeAll();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Units::FinalizeAll();
    return 0;
}
