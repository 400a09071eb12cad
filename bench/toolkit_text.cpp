// Text measuring as the text layout does it: the running extents of a
// paragraph at the layout resolution, for simple (Cyrillic) text, for
// text that goes through bidi and shaping (Arabic), and for text whose
// characters Arial's face lacks (Arabic and Chinese), measured in the faces
// that stand in for it.

#include "BenchEnvironment.h"
#include "toolkit/graphics/Canvas.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

QString paragraph(const QString &word, int words)
{
    QStringList parts;
    for (int i = 0; i < words; ++i)
        parts += word;
    return parts.join(QLatin1Char(' '));
}

void measure(benchmark::State &state, const QString &word)
{
    PinBenchEnvironment();
    TCanvas canvas;
    canvas.Font()->SetName(QStringLiteral("Arial"));
    canvas.Font()->SetHeight(-83); // 10 points at 600 dots per inch
    const QString text = paragraph(word, int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(canvas.CharacterExtents(text));
    state.SetItemsProcessed(state.iterations() * text.size());
}

void CyrillicExtents(benchmark::State &state)
{
    measure(state, QStringLiteral("выключатель"));
}
BENCHMARK(CyrillicExtents)->Arg(10)->Arg(200);

void ArabicExtents(benchmark::State &state)
{
    measure(state, QStringLiteral("سلام"));
}
BENCHMARK(ArabicExtents)->Arg(10)->Arg(200);

void ChineseExtents(benchmark::State &state)
{
    measure(state, QStringLiteral("北京市朝阳区"));
}
BENCHMARK(ChineseExtents)->Arg(10)->Arg(200);

} // namespace
