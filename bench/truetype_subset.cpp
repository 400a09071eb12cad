// Subsetting DejaVu Sans to 200 glyphs, 1,000 times, against HarfBuzz's
// hb-subset on the same glyphs (glyph numbers kept, as ours keeps them).
// The peer comes from Debian's libharfbuzz-bin, which `make bench`
// installs; without it only our side runs.  The second benchmark prints
// the ratio of the two times and both subset sizes.  The last ones load a
// face whose character map has 4,096 subtables, each one group over the
// whole code space, through the font engine and through the subsetter.

#include "export/pdf/qvxTrueTypeCollection.h"
#include "toolkit/graphics/FontEngine.h"
#include "toolkit/graphics/GraphicsObjects.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>

namespace {

constexpr int subsetsPerRun = 1000;

struct Input {
    TFontFacePtr face;
    QList<quint16> glyphs;
};

// 200 glyphs of Latin, Cyrillic and Greek letters, digits and signs.
const Input &input()
{
    static const Input value = [] {
        Input in;
        in.face = TFontEngine::Face(QStringLiteral("DejaVu Sans"), false, false);
        for (char32_t c = 0x21; in.glyphs.size() < 200 && c < 0x3000; ++c) {
            if (c == 0x7F)
                c = 0x391; // Greek, then Cyrillic
            const quint32 glyph = in.face->GlyphIndex(c);
            if (glyph != 0 && !in.glyphs.contains(quint16(glyph)))
                in.glyphs.append(quint16(glyph));
        }
        return in;
    }();
    return value;
}

struct Result {
    double seconds = 0;
    qsizetype bytes = 0;
};
Result ours;

void BM_SubsetDejaVu200(benchmark::State &state)
{
    const Input &in = input();
    TFont font;
    font.SetName(QStringLiteral("DejaVu Sans"));
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < subsetsPerRun; ++i) {
            TrueTypeCollection collection;
            collection.LoadFromMemory(in.face->FileData());
            const QByteArray subset = collection.GetSubsetFontData(font, in.glyphs, in.face->File().FaceIndex);
            ours.bytes = subset.size();
            benchmark::DoNotOptimize(subset.constData());
        }
        ours.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    state.counters["subset_bytes"] = double(ours.bytes);
    state.counters["font_bytes"] = double(in.face->FileData().size());
}
BENCHMARK(BM_SubsetDejaVu200)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_HbSubsetDejaVu200(benchmark::State &state)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("hb-subset"));
    if (program.isEmpty()) {
        state.SkipWithError("hb-subset is not installed (Debian package libharfbuzz-bin)");
        return;
    }
    const Input &in = input();
    QStringList gids;
    for (quint16 g : in.glyphs)
        gids.append(QString::number(g));
    QTemporaryDir dir;
    const QString output = dir.filePath(QStringLiteral("subset.ttf"));
    const QStringList arguments = {QStringLiteral("--gids=") + gids.join(QLatin1Char(',')),
                                   QStringLiteral("--retain-gids"),
                                   QStringLiteral("--num-iterations=%1").arg(subsetsPerRun),
                                   QStringLiteral("--output-file=") + output,
                                   in.face->File().FileName};
    double seconds = 0;
    for (auto _ : state) {
        QProcess process;
        const auto start = std::chrono::steady_clock::now();
        process.start(program, arguments);
        process.waitForFinished(-1);
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (process.exitCode() != 0) {
            state.SkipWithError("hb-subset failed");
            return;
        }
    }
    const qint64 peerBytes = QFile(output).size();
    const double ratio = ours.seconds > 0 ? seconds / ours.seconds : 0;
    state.counters["subset_bytes"] = double(peerBytes);
    state.counters["hb_time_over_ours"] = ratio;
    std::printf("TrueType subset of DejaVu Sans to %d glyphs, %d times: ours %.3f s, %lld bytes; "
                "hb-subset %.3f s, %lld bytes; hb-subset time / ours = %.2f\n",
                int(in.glyphs.size()), subsetsPerRun, ours.seconds, static_cast<long long>(ours.bytes), seconds,
                static_cast<long long>(peerBytes), ratio);
}
BENCHMARK(BM_HbSubsetDejaVu200)->Iterations(1)->Unit(benchmark::kMillisecond);

// A test font whose cmap has 4,096 format 12 subtables of one group each
// over the whole code space.
const QString manySubtables = QStringLiteral(TEST_DATA_DIR "/fonts/cmap12many.ttf");

void BM_EngineLoadsManyCmapSubtables(benchmark::State &state)
{
    TFontFile file;
    file.FileName = manySubtables;
    for (auto _ : state) {
        TFontEngine::Clear();
        benchmark::DoNotOptimize(TFontEngine::Face(file)->GlyphIndex(U'A'));
    }
}
BENCHMARK(BM_EngineLoadsManyCmapSubtables)->Unit(benchmark::kMillisecond);

void BM_SubsetterLoadsManyCmapSubtables(benchmark::State &state)
{
    QFile file(manySubtables);
    file.open(QIODevice::ReadOnly);
    const QByteArray font = file.readAll();
    TFont name;
    name.SetName(QStringLiteral("Test Many Twelve"));
    for (auto _ : state) {
        TrueTypeCollection collection;
        collection.LoadFromMemory(font);
        benchmark::DoNotOptimize(collection.GetSubsetFontData(name, {1, 2}, 0).size());
    }
    state.counters["font_bytes"] = double(font.size());
}
BENCHMARK(BM_SubsetterLoadsManyCmapSubtables)->Unit(benchmark::kMillisecond);

} // namespace
