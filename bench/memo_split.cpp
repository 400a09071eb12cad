// One memo that grows to its text and splits over pages, the way users run
// it: the engine prepares it and the PDF filter exports it to a file.
//
// BM_MemoSplit runs texts of 1,000 to 200,000 lines of 14 characters and
// prints the time a line of preparing and of exporting at each size, and
// each over the one at 1,000 lines of this run: splitting costs the same a
// line however long the text, so the ratios stay near 1.  Above about
// 59,000 lines the memo is taller than a coordinate may be.
//
// BM_MemoSplitParagraph does the same with one paragraph of words without
// a line break, of 200,000 to 10 million characters, a character at a
// time: a part goes on from where the last one ended, so the ratios stay
// near 1.
//
// BM_MemoSplitTaggedParagraph runs one paragraph of 20,000 and 200,000
// words with bold, italic and colour elements, and the same words without
// them as plain text, and prints the time of each and their ratio: the
// elements cost a small factor however long the paragraph.
//
// BM_MemoSplitFarBlank runs "start " followed by 100,000 and 400,000
// characters of letters and emoji with no other blank, and prints the
// time of each and the longer over the shorter: a part does not lay out
// the whole rest of the paragraph because the first one had to, so four
// times the text takes about four times as long (within five).
//
// BM_MemoSplitNoBlanks runs 300,000 characters without a blank, in
// paragraphs of 20,000 and of 120, against Cyrillic words of the same size
// in Arial, and prints the time of each and its ratio to the Cyrillic one
// of this run: ideographs in Arial (drawn by stand-in faces), ideographs in
// the CJK face itself, and Latin letters with emoji.  Every line of such a
// text starts inside a word; measuring a line costs about what it costs
// between blanks (in Arial the stand-in faces about double it, in the CJK
// face it is less).
//
// BM_MemoSplitMemory runs 8 million characters in 2 million lines of four
// and prints the peak resident size of the process while it prepares and
// exports them.

#include "BenchEnvironment.h"
#include "tests/common/SplitMemoReport.h"
#include "tests/common/WordsParagraph.h"

#include "export/pdf/qvxExportPDF.h"
#include "report/components/qvxFrame.h"
#include "report/model/qvxCustomPreviewPages.h"
#include "report/pages/qvxBands.h"
#include "report/pages/qvxPage.h"
#include "report/report/qvxReport.h"
#include "report/views/qvxMemoView.h"

#include <QGuiApplication>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

namespace {

// The split memo at 680 pixels in Arial of 10 points, on A4 pages with
// margins of 10 mm.
std::unique_ptr<TqvxReport> memoReport(const QString &text, bool htmlTags = false,
                                       const QString &fontName = QStringLiteral("Arial"))
{
    TFont font;
    font.SetName(fontName);
    font.SetSize(10);
    return SplitMemoReport(text, 680, htmlTags, &font);
}

// count lines, each its number in width digits after prefix, ended by
// CR LF.
QString numberedLines(int count, const QString &prefix, int width)
{
    QString text;
    text.reserve(qsizetype(count) * (prefix.size() + width + 2));
    for (int i = 1; i <= count; ++i) {
        text += prefix;
        text += QStringLiteral("%1").arg(i % 10000000, width, 10, QLatin1Char('0'));
        text += QStringLiteral("\r\n");
    }
    return text;
}

// Words of one to eleven letters.
QStringList words()
{
    return QStringLiteral("a of to in it is be as at so we he by or on do if me my up an go no us am the and for are "
                          "but not you all any can had her was one our out day get has him his how man new now old "
                          "see two way who boy did its let put say she too use report breaker circuit current "
                          "frequency contacts accessories questionnaire characteristics")
        .split(QLatin1Char(' '));
}

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double mebibytes(qint64 bytes)
{
    return double(bytes) / (1 << 20);
}

struct TSplitRun {
    double prepare = 0;
    double exported = 0;
    int pages = 0;
    qint64 preparePeak = 0; // the process's peak resident size, bytes
    qint64 exportPeak = 0;
};

TSplitRun splitRun(benchmark::State &state, const QString &text, bool htmlTags = false,
                   const QString &fontName = QStringLiteral("Arial"))
{
    TSplitRun run;
    QTemporaryDir dir;
    malloc_trim(0);
    resetPeakMemory();
    std::unique_ptr<TqvxReport> report = memoReport(text, htmlTags, fontName);
    auto start = std::chrono::steady_clock::now();
    if (!report->PrepareReport())
        state.SkipWithError("the report did not prepare");
    run.prepare = secondsSince(start);
    run.preparePeak = statusBytes("VmHWM");
    run.pages = report->PreviewPages()->Count();

    TqvxPDFExport pdf;
    pdf.SetShowDialog(false);
    pdf.SetShowProgress(false);
    pdf.SetFileName(dir.filePath(QStringLiteral("memo.pdf")));
    start = std::chrono::steady_clock::now();
    if (!report->Export(&pdf))
        state.SkipWithError("the report did not export");
    run.exported = secondsSince(start);
    run.exportPeak = statusBytes("VmHWM");
    return run;
}

// Microseconds a line or a character of preparing and exporting at the
// first size run; 0 before it ran.
struct TPerUnit {
    double prepare = 0;
    double exported = 0;
};

// Prints and counts a run of `units` lines or characters: its times, each
// a unit, and their ratio to those at the first size, kept in first.
void reportPerUnit(benchmark::State &state, const TSplitRun &run, qint64 units, const char *unit, TPerUnit &first)
{
    const TPerUnit time{run.prepare * 1e6 / double(units), run.exported * 1e6 / double(units)};
    if (first.prepare == 0)
        first = time;
    state.counters["pages"] = run.pages;
    state.counters[std::string("prepare_us_a_") + unit] = time.prepare;
    state.counters[std::string("export_us_a_") + unit] = time.exported;
    std::printf("%lld %ss on %d pages: prepare %.3f s (%.3f us a %s), export %.3f s (%.3f us a %s); a %s over one "
                "at the first size: prepare %.2f, export %.2f\n",
                units, unit, run.pages, run.prepare, time.prepare, unit, run.exported, time.exported, unit, unit,
                time.prepare / first.prepare, time.exported / first.exported);
    std::fflush(stdout);
}

void BM_MemoSplit(benchmark::State &state)
{
    // Fonts and caches are made by a first run, not by the one at 1,000
    // lines that the others are set against.
    static const bool warmedUp = [&] {
        splitRun(state, numberedLines(100, QStringLiteral("Строка "), 7));
        return true;
    }();
    (void)warmedUp;
    const int lines = int(state.range(0));
    const QString text = numberedLines(lines, QStringLiteral("Строка "), 7);
    TSplitRun run;
    for (auto _ : state)
        run = splitRun(state, text);
    static TPerUnit first;
    reportPerUnit(state, run, lines, "line", first);
}
BENCHMARK(BM_MemoSplit)
    ->ArgNames({"lines"})
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(50000)
    ->Arg(200000)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

void BM_MemoSplitParagraph(benchmark::State &state)
{
    const qsizetype characters = state.range(0);
    const QString text = WordsParagraph(characters, words());
    TSplitRun run;
    for (auto _ : state)
        run = splitRun(state, text);
    static TPerUnit first;
    reportPerUnit(state, run, characters, "character", first);
}
BENCHMARK(BM_MemoSplitParagraph)
    ->ArgNames({"characters"})
    ->Arg(200000)
    ->Arg(800000)
    ->Arg(1600000)
    ->Arg(10000000)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

void BM_MemoSplitTaggedParagraph(benchmark::State &state)
{
    // The fonts of the styles are made by a first run.
    static const bool warmedUp = [&] {
        splitRun(state, WordsParagraph(2000, words(), true), true);
        return true;
    }();
    (void)warmedUp;
    const qsizetype count = state.range(0);
    // The paragraph up to the blank after its count-th word.
    QString tagged = WordsParagraph(count * 16, words(), true);
    qsizetype end = -1;
    for (qsizetype word = 0; word < count; ++word)
        end = tagged.indexOf(QLatin1Char(' '), end + 1);
    tagged.truncate(end + 1);
    const QString plain = QString(tagged).remove(QRegularExpression(QStringLiteral("<[^>]*>")));
    TSplitRun taggedRun;
    TSplitRun plainRun;
    for (auto _ : state) {
        taggedRun = splitRun(state, tagged, true);
        plainRun = splitRun(state, plain);
    }
    state.counters["pages"] = taggedRun.pages;
    state.counters["prepare_over_plain"] = taggedRun.prepare / plainRun.prepare;
    state.counters["export_over_plain"] = taggedRun.exported / plainRun.exported;
    std::printf("%lld words on %d pages: with elements prepare %.3f s, export %.3f s; as plain text prepare %.3f s, "
                "export %.3f s; with elements over plain: prepare %.2f, export %.2f\n",
                qint64(count), taggedRun.pages, taggedRun.prepare, taggedRun.exported, plainRun.prepare,
                plainRun.exported, taggedRun.prepare / plainRun.prepare, taggedRun.exported / plainRun.exported);
    std::fflush(stdout);
}
BENCHMARK(BM_MemoSplitTaggedParagraph)
    ->ArgNames({"words"})
    ->Arg(20000)
    ->Arg(200000)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

// "start " and then count characters of letters and emoji (each two
// UTF-16 units) without a blank.
QString farBlankParagraph(qsizetype count)
{
    const QString letters = QStringLiteral("абвгдежзиклмнопрстуфхцчшщыэюяabcdefghijklmnopqrstuvwxyz");
    const QString emoji = QStringLiteral("\U0001F600\U0001F4A1\U0001F50C\U0001F527");
    QString text = QStringLiteral("start ");
    text.reserve(count + 8);
    for (qsizetype i = 0; text.size() < count; ++i)
        text += i % 7 == 6 ? emoji.mid((i / 7) % 4 * 2, 2) : QString(letters.at(i % letters.size()));
    return text;
}

void BM_MemoSplitFarBlank(benchmark::State &state)
{
    const qsizetype count = state.range(0);
    const QString shorter = farBlankParagraph(count);
    const QString longer = farBlankParagraph(4 * count);
    // The faces of the emoji are found by a first run.
    splitRun(state, shorter);
    TSplitRun shorterRun;
    TSplitRun longerRun;
    for (auto _ : state) {
        shorterRun = splitRun(state, shorter);
        longerRun = splitRun(state, longer);
    }
    state.counters["pages"] = longerRun.pages;
    state.counters["prepare_longer_over_shorter"] = longerRun.prepare / shorterRun.prepare;
    std::printf("\"start \" and %lld characters without a blank on %d pages: prepare %.3f s, export %.3f s; %lld on %d "
                "pages: prepare %.3f s, export %.3f s; four times the text over once: prepare %.2f, export %.2f\n",
                qint64(shorter.size()), shorterRun.pages, shorterRun.prepare, shorterRun.exported,
                qint64(longer.size()), longerRun.pages, longerRun.prepare, longerRun.exported,
                longerRun.prepare / shorterRun.prepare, longerRun.exported / shorterRun.exported);
    std::fflush(stdout);
}
BENCHMARK(BM_MemoSplitFarBlank)->ArgNames({"characters"})->Arg(100000)->Iterations(1)->Unit(benchmark::kSecond);

// count characters without a blank, repeating pattern, in paragraphs of
// paragraph characters.
QString withoutBlanks(const QString &pattern, qsizetype count, qsizetype paragraph)
{
    QString text;
    text.reserve(count + count / paragraph * 2 + pattern.size());
    qsizetype inParagraph = 0;
    for (qsizetype i = 0; i < count;) {
        const QString piece = pattern.mid(i % pattern.size(), pattern.at(i % pattern.size()).isHighSurrogate() ? 2 : 1);
        text += piece;
        i += piece.size();
        inParagraph += piece.size();
        if (inParagraph >= paragraph) {
            text += QStringLiteral("\r\n");
            inParagraph = 0;
        }
    }
    return text;
}

void BM_MemoSplitNoBlanks(benchmark::State &state)
{
    const qsizetype count = 300000;
    const qsizetype paragraph = state.range(0);
    const QString ideographs = QStringLiteral("北京市朝阳区建国路号电话传真邮编中华人民共和国上海广州深圳");
    const QString emoji = QStringLiteral("abcdefgh\U0001F600ijklmn\U0001F4A1opqrst\U0001F50Cuvwxyz\U0001F527");
    const QString cjkFace = QStringLiteral("WenQuanYi Zen Hei");
    // Cyrillic words of the same size, with their blanks.
    QString cyrillic = RandomCyrillicParagraph(count, 7);
    for (qsizetype at = paragraph; at < cyrillic.size(); at += paragraph + 2)
        cyrillic.insert(at, QStringLiteral("\r\n"));
    struct Case {
        const char *name;
        QString text;
        QString font;
    };
    const Case cases[] = {
        {"ideographs in Arial", withoutBlanks(ideographs, count, paragraph), QStringLiteral("Arial")},
        {"ideographs in the CJK face", withoutBlanks(ideographs, count, paragraph), cjkFace},
        {"letters and emoji in Arial", withoutBlanks(emoji, count, paragraph), QStringLiteral("Arial")},
    };
    // The faces are found by a first run of each.
    splitRun(state, cyrillic.left(2000));
    for (const Case &c : cases)
        splitRun(state, c.text.left(2000), false, c.font);
    for (auto _ : state) {
        const TSplitRun base = splitRun(state, cyrillic);
        std::printf("%lld characters in paragraphs of %lld: Cyrillic words in Arial on %d pages: prepare %.3f s, "
                    "export %.3f s\n",
                    qint64(count), qint64(paragraph), base.pages, base.prepare, base.exported);
        for (const Case &c : cases) {
            const TSplitRun run = splitRun(state, c.text, false, c.font);
            state.counters[std::string(c.name) + " prepare_over_cyrillic"] = run.prepare / base.prepare;
            std::printf("  %s on %d pages: prepare %.3f s, export %.3f s; over Cyrillic: prepare %.2f, export "
                        "%.2f\n",
                        c.name, run.pages, run.prepare, run.exported, run.prepare / base.prepare,
                        run.exported / base.exported);
        }
        std::fflush(stdout);
    }
}
BENCHMARK(BM_MemoSplitNoBlanks)
    ->ArgNames({"paragraph"})
    ->Arg(20000)
    ->Arg(120)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

void BM_MemoSplitMemory(benchmark::State &state)
{
    const int lines = 2000000;
    // Four characters a line, and the line break's two: 8 million of text.
    const QString text = numberedLines(lines, QString(), 4);
    TSplitRun run;
    for (auto _ : state)
        run = splitRun(state, text);
    state.counters["pages"] = run.pages;
    state.counters["prepare_peak_MiB"] = mebibytes(run.preparePeak);
    state.counters["export_peak_MiB"] = mebibytes(run.exportPeak);
    std::printf("%d lines of 4 characters on %d pages: prepare %.1f s, peak %.0f MiB; export %.1f s, peak %.0f MiB "
                "(resident, the whole process)\n",
                lines, run.pages, run.prepare, mebibytes(run.preparePeak), run.exported, mebibytes(run.exportPeak));
    std::fflush(stdout);
}
BENCHMARK(BM_MemoSplitMemory)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char **argv)
{
    return RunProgramBenchmarks<QGuiApplication>(argc, argv);
}
