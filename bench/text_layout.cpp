// Wrapping and measuring 10,000 paragraphs of mixed Cyrillic and Latin text
// with tags (bold, italic, colour) in a 180-pixel box, against Qt's
// QTextLayout laying out the same text, with the same bold and italic
// ranges, at the same width and font.  Prints both rates and their ratio.

#include "BenchEnvironment.h"

#include "report/text/qvxDrawText.h"

#include <QGuiApplication>
#include <QTextLayout>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>

namespace {

constexpr int paragraphCount = 10000;
constexpr int boxWidth = 180; // screen pixels; 1125 units at 600 per inch

struct Paragraph {
    QString tagged;
    QString plain;
    QList<QTextLayout::FormatRange> formats;
};

// The same paragraphs on every run: a fixed linear congruential sequence.
QList<Paragraph> paragraphs()
{
    static const QStringList words = {
        QStringLiteral("автоматический"), QStringLiteral("выключатель"), QStringLiteral("ZMT-250"),
        QStringLiteral("номинальный"), QStringLiteral("ток"), QStringLiteral("breaker"),
        QStringLiteral("расцепитель"), QStringLiteral("contacts"), QStringLiteral("серии"),
        QStringLiteral("ZMR"), QStringLiteral("привод"), QStringLiteral("motor"), QStringLiteral("и"),
        QStringLiteral("рукоятка"), QStringLiteral("padlock"), QStringLiteral("200"), QStringLiteral("А"),
        QStringLiteral("отключающая"), QStringLiteral("способность"), QStringLiteral("кА."),
    };
    QList<Paragraph> result;
    quint32 seed = 12345;
    const auto next = [&seed](quint32 range) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % range;
    };
    for (int p = 0; p < paragraphCount; ++p) {
        Paragraph paragraph;
        const int count = 8 + int(next(33));
        for (int w = 0; w < count; ++w) {
            if (w > 0) {
                paragraph.tagged += QLatin1Char(' ');
                paragraph.plain += QLatin1Char(' ');
            }
            const QString &word = words.at(int(next(words.size())));
            const quint32 style = next(10);
            QTextCharFormat format;
            if (style == 0) {
                paragraph.tagged += QStringLiteral("<b>") + word + QStringLiteral("</b>");
                format.setFontWeight(QFont::Bold);
            } else if (style == 1) {
                paragraph.tagged += QStringLiteral("<i>") + word + QStringLiteral("</i>");
                format.setFontItalic(true);
            } else if (style == 2) {
                paragraph.tagged += QStringLiteral("<font color=\"#cc0000\">") + word + QStringLiteral("</font>");
                format.setForeground(QColor(0xcc, 0, 0));
            } else {
                paragraph.tagged += word;
            }
            if (style <= 2)
                paragraph.formats.append({int(paragraph.plain.size()), int(word.size()), format});
            paragraph.plain += word;
        }
        result.append(paragraph);
    }
    return result;
}

const QList<Paragraph> &corpus()
{
    static const QList<Paragraph> texts = paragraphs();
    return texts;
}

void TqvxDrawTextLayout(benchmark::State &state)
{
    TFont font;
    font.SetName(QStringLiteral("Arial"));
    font.SetSize(10);
    TqvxDrawText layout;
    layout.SetFont(&font);
    layout.SetOptions(true, true, false, false, true, true, 0);
    layout.SetGaps(0, 0, 2);
    const TRect box(0, 0, boxWidth, 100000);
    layout.SetDimensions(1, 1, 1, box, box);
    TWideStrings text;
    qint64 lines = 0;
    for (auto _ : state) {
        for (const Paragraph &paragraph : corpus()) {
            text.Clear();
            text.Add(paragraph.tagged);
            layout.SetText(&text);
            lines += layout.LineCount();
            benchmark::DoNotOptimize(layout.CalcHeight());
        }
    }
    state.SetItemsProcessed(state.iterations() * paragraphCount);
    state.counters["lines"] = double(lines) / double(state.iterations());
}
BENCHMARK(TqvxDrawTextLayout)->Unit(benchmark::kMillisecond);

void QtTextLayout(benchmark::State &state)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(83);
    font.setKerning(false);
    font.setHintingPreference(QFont::PreferNoHinting);
    const double width = boxWidth * TqvxDrawText::LayoutRatio;
    qint64 lines = 0;
    for (auto _ : state) {
        for (const Paragraph &paragraph : corpus()) {
            QTextLayout layout(paragraph.plain, font);
            layout.setFormats(paragraph.formats);
            layout.beginLayout();
            for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
                line.setLineWidth(width);
                ++lines;
            }
            layout.endLayout();
            benchmark::DoNotOptimize(layout.boundingRect());
        }
    }
    state.SetItemsProcessed(state.iterations() * paragraphCount);
    state.counters["lines"] = double(lines) / double(state.iterations());
}
BENCHMARK(QtTextLayout)->Unit(benchmark::kMillisecond);

// Keeps the paragraph rate of each benchmark for the ratio.
class RateReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            const auto rate = run.counters.find("items_per_second");
            if (rate != run.counters.end())
                rates[run.benchmark_name()] = rate->second;
        }
    }
    std::map<std::string, double> rates;
};

} // namespace

int main(int argc, char **argv)
{
    PinBenchEnvironment();
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    RateReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double ours = reporter.rates["TqvxDrawTextLayout"];
    const double qt = reporter.rates["QtTextLayout"];
    if (ours > 0 && qt > 0)
        std::printf("paragraphs per second: TqvxDrawText %.0f, QTextLayout %.0f, ratio %.2f\n", ours, qt,
                    ours / qt);
    benchmark::Shutdown();
    return 0;
}
