// Text that the memo's face lacks, the way users run it: the engine
// prepares a report whose memo, in Arial, holds distinct characters that
// other faces stand in for, or that no face has.  The font engine starts
// each run as at the start of the program, with nothing looked up yet.
//
// BM_StandInIdeographs runs the first 500 and all 20,992 CJK ideographs
// (U+4E00 to U+9FFF); BM_StandInMissing the 65,534 characters of the
// private use plane 15, which no face has.  Each prints the time of
// preparing and the number of installed faces.

#include "BenchEnvironment.h"
#include "tests/common/SplitMemoReport.h"

#include "report/model/qvxCustomPreviewPages.h"
#include "report/report/qvxReport.h"
#include "toolkit/graphics/FontEngine.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <fontconfig/fontconfig.h>
#include <memory>

namespace {

int installedFaces()
{
    FcPattern *pattern = FcPatternCreate();
    FcObjectSet *objects = FcObjectSetBuild(FC_FILE, FC_INDEX, nullptr);
    FcFontSet *fonts = FcFontList(nullptr, pattern, objects);
    const int count = fonts ? fonts->nfont : 0;
    if (fonts)
        FcFontSetDestroy(fonts);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    return count;
}

// count characters from first on, 40 to a line.
QString lines(char32_t first, int count)
{
    QString text;
    for (int i = 0; i < count; ++i) {
        const char32_t c = first + char32_t(i);
        text += QString::fromUcs4(&c, 1);
        if (i % 40 == 39)
            text += QStringLiteral("\r\n");
    }
    return text;
}

void prepare(benchmark::State &state, const QString &text, const char *what)
{
    TFont font;
    font.SetName(QStringLiteral("Arial"));
    font.SetSize(10);
    double seconds = 0;
    int pages = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<TqvxReport> report = SplitMemoReport(text, 680, false, &font);
        TFontEngine::Clear();
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        if (!report->PrepareReport())
            state.SkipWithError("the report did not prepare");
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        pages = report->PreviewPages()->Count();
    }
    state.counters["pages"] = pages;
    std::printf("%lld %s on %d pages, %d faces installed: prepare %.3f s\n", static_cast<long long>(state.range(0)),
                what, pages, installedFaces(), seconds);
    std::fflush(stdout);
}

void BM_StandInIdeographs(benchmark::State &state)
{
    prepare(state, lines(0x4E00, int(state.range(0))), "ideographs");
}
BENCHMARK(BM_StandInIdeographs)
    ->ArgNames({"characters"})
    ->Arg(500)
    ->Arg(20992)
    ->Iterations(2)
    ->Unit(benchmark::kSecond);

void BM_StandInMissing(benchmark::State &state)
{
    prepare(state, lines(0xF0000, int(state.range(0))), "characters no face has");
}
BENCHMARK(BM_StandInMissing)->ArgNames({"characters"})->Arg(65534)->Iterations(2)->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char **argv)
{
    return RunProgramBenchmarks<QGuiApplication>(argc, argv);
}
