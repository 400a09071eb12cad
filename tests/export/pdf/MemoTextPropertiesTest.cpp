// Properties of memo text over generated memos, checked in the PDF file as
// pdftotext reads it back and on a recording canvas.
//
// Each memo comes from a seed: words of several scripts (Latin, Cyrillic,
// Greek, Arabic, Hebrew, Thai, Devanagari, Chinese, Japanese and Korean,
// letters with combining marks, emoji with joiners, skin tones, flags and
// keycaps), with soft hyphens, zero-width spaces and the other characters
// that draw nothing put inside words; a face (faces standing in for the
// characters it lacks), size, width, gap, frame, alignment and character
// spacing.  Beside them stand a few memos written out, texts that once went
// wrong.  Every memo is drawn on a page of its own in one file, and on a
// recording canvas, where each text drawn at one height is one line.  The
// tests' fonts show no Thai, Devanagari or emoji: those draw as U+FFFD,
// which still gives their text back.
//
// Each property is a test of its own.  A failure names the memo by its
// seed (or name), with its settings and text; set MEMO_PROPERTY_SEED to a
// seed to run that memo alone.  Sanitizer builds run fewer memos.

#include "PdfExportTestSupport.h"
#include "ToolTestSupport.h"

#include "export/pdf/qvxPDFPageContent.h"
#include "report/base/qvxNumbers.h"
#include "report/components/qvxFrame.h"
#include "report/views/qvxMemoView.h"
#include "toolkit/graphics/FontEngine.h"
#include "toolkit/graphics/RecordingCanvas.h"

#include <QScopeGuard>
#include <QTextBoundaryFinder>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <cmath>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <string>

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr int MemoCount = 40;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr int MemoCount = 40;
#else
constexpr int MemoCount = 300;
#endif
#else
constexpr int MemoCount = 300;
#endif
constexpr unsigned FirstSeed = 1;

// --- Generated memos ----------------------------------------------------------------

const QStringList &scriptWords(int script)
{
    static const QList<QStringList> words = [] {
        const char *const lists[] = {
            "the quick brown fox jumps over lazy dog efficient baffled fjord’ breaker, current. 250 A",
            "автоматический выключатель в литом корпусе ток номинальный расцепитель ООО «Семья» аабш,а",
            "αυτόματος διακόπτης ισχύος ονομαστικό ρεύμα Αθήνα",
            // Arabic, with and without harakat
            "قاطع دائرة كهربائية بتيار مُشَكَّلَة الْعَرَبِيَّة ه",
            // Hebrew, with and without points
            "מפסק זרם אוטומטי שָׁלוֹם עוֹלָם א",
            "เบรกเกอร์ อัตโนมัติ กระแส น้ำ ที่ตั้ง ความสำเร็จ",
            "स्वचालित परिपथ विच्छेदक क्षमता प्रत्यक्ष",
            // Chinese, Japanese and Korean, some long runs without blanks
            "自動遮断器 定格電流 北京市朝阳区建国路 成形ケース カ 한국어 단어",
            // combining marks, one behind a combining grapheme joiner
            "a\u0301e\u0300 n\u0303o\u0308 a\u034f\u0301 q\u0323\u0307 e\u0328\u0306x",
            // emoji: joined families and professions, skin tones, flags,
            // keycaps
            "👨\u200d👩\u200d👧\u200d👦 👍🏽 🏳️\u200d🌈 🇩🇪🇫🇷 1️⃣ #️⃣ 👩🏿\u200d💻 ❤️ 👨\u200d👩\u200d👧",
        };
        QList<QStringList> all;
        for (const char *list : lists)
            all.append(QString::fromUtf8(list).split(QLatin1Char(' ')));
        return all;
    }();
    return words.at(script);
}
constexpr int ScriptCount = 10;

// Characters that draw nothing, put inside words.
const char16_t Invisible[] = {u'\u00AD', u'\u200B', u'\u200C', u'\u200D', u'\u200E', u'\u200F',
                              u'\u2060', u'\uFEFF', u'\uFE0F', u'\u034F'};

struct Face {
    const char *name;
    TFontStyles style;
};
const Face Faces[] = {{"Arial", {}},
                      {"Times New Roman", {}},
                      {"Courier New", {}},
                      {"DejaVu Sans", {}},
                      {"DejaVu Sans", fsBold},
                      {"DejaVu Serif", {}},
                      {"Liberation Serif", {}},
                      {"WenQuanYi Zen Hei", {}}};
const int Sizes[] = {8, 10, 12, 16, 24, 41};
const int Widths[] = {40, 60, 100, 150, 237, 403};
const double Spacings[] = {-1, 0, 2};
const TqvxHAlign Aligns[] = {haLeft, haRight, haCenter, haBlock};

struct GeneratedMemo {
    unsigned seed = 0;
    // A memo written out rather than generated has a name instead.
    const char *name = nullptr;
    QString text;
    Face face{};
    int size = 10;
    int width = 100;
    double spacing = 0;
    TqvxHAlign align = haLeft;
    int gap = 2;
    bool frame = false;
    bool wordBreak = false;
};

template <typename T, std::size_t N>
const T &pick(std::mt19937 &random, const T (&values)[N])
{
    return values[std::uniform_int_distribution<std::size_t>(0, N - 1)(random)];
}

int below(std::mt19937 &random, int n)
{
    return std::uniform_int_distribution<int>(0, n - 1)(random);
}

GeneratedMemo generatedMemo(unsigned seed)
{
    std::mt19937 random(seed);
    GeneratedMemo memo;
    memo.seed = seed;
    memo.face = pick(random, Faces);
    memo.size = pick(random, Sizes);
    memo.width = pick(random, Widths);
    memo.spacing = pick(random, Spacings);
    memo.align = pick(random, Aligns);
    memo.gap = below(random, 3) * 2;
    memo.frame = below(random, 2) == 1;
    memo.wordBreak = below(random, 6) == 0;
    const int scripts[] = {below(random, ScriptCount), below(random, ScriptCount), below(random, ScriptCount)};
    const int mixed = 1 + below(random, 3);
    const int words = 1 + below(random, 4 + 2400 / (memo.size * 12 + 60) * memo.width / 100);
    QStringList text;
    for (int i = 0; i < words; ++i) {
        const QStringList &list = scriptWords(scripts[below(random, mixed)]);
        QString word = list.at(below(random, int(list.size())));
        // One word in four holds characters that draw nothing, between two
        // of its characters or at either end.
        while (below(random, 4) == 0) {
            const int at = below(random, int(word.size()) + 1);
            if (at > 0 && at < word.size() && word.at(at).isLowSurrogate())
                continue;
            word.insert(at, QChar(pick(random, Invisible)));
        }
        text.append(word);
    }
    // Words of a line run into each other now and then, and a paragraph
    // ends in the middle.
    QString joined;
    for (int i = 0; i < text.size(); ++i) {
        if (i > 0)
            joined += below(random, 12) == 0 ? QStringLiteral("\r\n") : below(random, 8) == 0 ? QString()
                                                                                           : QStringLiteral(" ");
        joined += text.at(i);
    }
    memo.text = joined;
    return memo;
}

// Memos that went wrong before, written out: texts whose clusters hold
// joiners and marks, soft hyphens and zero-width spaces under negative
// spacing, a joined emoji sequence wider than its memo, blanks after
// characters the shaper drops where the face or the direction changes, a
// word broken with a hyphen, right-aligned lines that fill their memo.
QList<GeneratedMemo> writtenMemos()
{
    const auto memo = [](const char *name, const char *text, const char *face, int size, int width,
                         double spacing = 0, TqvxHAlign align = haLeft, TFontStyles style = {}, bool wordBreak = false) {
        GeneratedMemo m;
        m.name = name;
        m.text = QString::fromUtf8(text);
        m.face = {face, style};
        m.size = size;
        m.width = width;
        m.spacing = spacing;
        m.align = align;
        m.gap = 0;
        m.wordBreak = wordBreak;
        return m;
    };
    return {
        memo("clusters of several glyphs", "a \u034f\u0301 a\u034f\u0301 1\ufe0f\u20e3 ab\u200fcd "
                                           "\U0001f468\u200d\U0001f469\u200d\U0001f467 b", "Arial", 12, 400),
        memo("keycaps no face shows", "#\ufe0f\u20e3 1\ufe0f\u20e3 x1\ufe0f\u20e3", "Arial", 16, 100),
        memo("grapheme joiner in ideographs of a stand-in face", "\u81ea\u52d5\u034f\u906e\u65ad\u5668 "
                                                                "\u5b9a\u034f\u683c\u96fb\u6d41",
             "Times New Roman", 16, 403),
        memo("zero-width space after a blank after marks", "e\u0328\u0306x q\u0323\u0307 \u200ba\u034f\u0301a",
             "DejaVu Sans", 8, 150, -1, haLeft, fsBold),
        memo("soft hyphens, negative spacing",
             "ab\u00adcd\u00adef\u00adgh\u00adij ab\u00adcd\u00adef\u00adgh\u00adij ab\u00adcd\u00adef\u00adgh\u00adij "
             "ab\u00adcd\u00adef\u00adgh\u00adij ab\u00adcd\u00adef\u00adgh\u00adij ab\u00adcd\u00adef\u00adgh\u00adij",
             "Arial", 10, 403, -1),
        memo("zero-width spaces, negative spacing",
             "ab\u200bcd\u200bef\u200bgh\u200bij ab\u200bcd\u200bef\u200bgh\u200bij ab\u200bcd\u200bef\u200bgh\u200bij "
             "ab\u200bcd\u200bef\u200bgh\u200bij ab\u200bcd\u200bef\u200bgh\u200bij ab\u200bcd\u200bef\u200bgh\u200bij",
             "Arial", 10, 403, -1),
        memo("joined sequence wider than the memo",
             "\U0001f468\u200d\U0001f469\u200d\U0001f467\u200d\U0001f466 x", "Arial", 10, 40),
        memo("blank after a left-to-right mark", "a-M\u05d0\u200e i", "Arial", 41, 100),
        memo("blank after a zero-width space", "a-M\u30ab\u200b i", "Arial", 41, 115),
        memo("blank after a soft hyphen", "a\u00adM\u30ab\u00ad \u0647", "Courier New", 41, 140),
        memo("blank after a mark behind Hangul", "\ud55c\uad6d\uc5b4\u200e \ub2e8\uc5b4 \ud55c\uad6d\uc5b4\u200e \ub2e8\uc5b4",
             "DejaVu Sans", 20, 100, 0, haLeft, fsBold),
        memo("hyphen of a word break", "gaa,aa\u0430\u0431\u0448,\u0430", "Arial", 16, 60, 0, haLeft, {}, true),
        memo("right-aligned full lines", "Automatic circuit breakers in moulded cases for rated currents of 16 to 250 A, "
                                         "with thermal and magnetic trip units and accessories",
             "Liberation Serif", 10, 237, 0, haRight),
        memo("right-aligned, spacing -0.5", "efficient baffled fjord\u2019 efficient baffled fjord\u2019", "DejaVu Sans Mono",
             8, 150, -0.5, haRight),
    };
}

// Characters as text (QString::fromUcs4 would drop a byte-order mark at
// the start).
QString fromUcs4(const QList<uint> &characters)
{
    QString text;
    for (const uint c : characters) {
        if (QChar::requiresSurrogates(c)) {
            text += QChar(QChar::highSurrogate(c));
            text += QChar(QChar::lowSurrogate(c));
        } else {
            text += QChar(char16_t(c));
        }
    }
    return text;
}

std::string escaped(const QString &text)
{
    std::string out;
    for (const char32_t c : text.toUcs4()) {
        if (c < 0x20 || (c >= 0x7F && c < 0xA0) || QChar::category(c) == QChar::Other_Format
            || (c >= 0xFE00 && c <= 0xFE0F) || c == 0x034F || c == 0x00AD)
            out += QStringLiteral("\\u%1").arg(uint(c), 4, 16, QLatin1Char('0')).toStdString();
        else
            out += fromUcs4({uint(c)}).toStdString();
    }
    return out;
}

const char *alignName(TqvxHAlign align)
{
    switch (align) {
    case haLeft: return "left";
    case haRight: return "right";
    case haCenter: return "centre";
    case haBlock: return "justified";
    }
    return "?";
}

std::string describe(const GeneratedMemo &memo)
{
    std::ostringstream out;
    if (memo.name)
        out << "memo \"" << memo.name << "\": ";
    else
        out << "seed " << memo.seed << ": ";
    out << memo.face.name << (memo.face.style.testFlag(fsBold) ? " Bold" : "")
        << ' ' << memo.size << " pt, width " << memo.width << ", gap " << memo.gap << (memo.frame ? ", framed" : "")
        << ", " << alignName(memo.align) << ", spacing " << memo.spacing << (memo.wordBreak ? ", word break" : "")
        << ", text \"" << escaped(memo.text) << "\"";
    return out.str();
}

// Characters that draw nothing: blanks and line breaks, format characters
// (joiners, direction marks, the soft hyphen inside a line, the byte-order
// mark), variation selectors and the combining grapheme joiner.
bool drawsNothing(char32_t c)
{
    return QChar::isSpace(c) || QChar::category(c) == QChar::Other_Format || (c >= 0xFE00 && c <= 0xFE0F)
        || (c >= 0xE0100 && c <= 0xE01EF) || c == 0x034F;
}

// The text without blanks and line breaks, and without the embedding
// marks pdftotext puts around right-to-left text.
QString withoutSpaces(const QString &text)
{
    QString out;
    for (const QChar c : text)
        if (!c.isSpace() && !(c.unicode() >= 0x202A && c.unicode() <= 0x202E))
            out += c;
    return out;
}

bool oneCluster(const QString &text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    const qsizetype first = finder.toNextBoundary();
    return first == text.size() || first == -1;
}

// --- What the canvas and the PDF file show ----------------------------------------------

// A line as the canvas draws it: its text, where it starts and how wide
// the layout measured it (screen pixels).
struct CanvasLine {
    QString text;
    int top = 0;
    int left = 0;
    int right = 0;
    double measured = 0;
};

// A line of the PDF file: the words pdftotext places on it, in its order,
// in screen pixels from the page's drawing origin.
struct PdfLine {
    QStringList words;
    double left = 1e9;
    double right = -1e9;
};

struct MemoOutcome {
    GeneratedMemo memo;
    // The memo's text as its box holds it, and the box the layout wraps
    // in (screen pixels, the right edge exclusive as on the canvas).
    double innerLeft = 0;
    double innerRight = 0;
    double lineHeight = 0;
    QList<CanvasLine> canvas;
    // The same lines measured on a left-aligned copy: justified lines
    // are stretched on the canvas, not in the layout.
    QList<CanvasLine> measured;
    QList<PdfLine> pdf;
    QList<TPdfWord> words;
};

constexpr double MemoLeft = 20;
constexpr double MemoTop = 30;

std::unique_ptr<TqvxMemoView> memoView(const GeneratedMemo &generated, TqvxHAlign align)
{
    auto memo = std::make_unique<TqvxMemoView>();
    memo->SetBounds(MemoLeft, MemoTop, generated.width, 20);
    memo->SetText(generated.text);
    TFont font;
    font.SetName(QString::fromLatin1(generated.face.name));
    font.SetSize(generated.size);
    font.SetStyle(generated.face.style);
    memo->SetFont(&font);
    memo->SetHAlign(align);
    memo->SetCharSpacing(generated.spacing);
    memo->SetGapX(generated.gap);
    memo->SetGapY(generated.gap);
    memo->SetWordBreak(generated.wordBreak);
    if (generated.frame)
        memo->Frame()->SetTyp(ftLeft | ftTop | ftRight | ftBottom);
    memo->SetHeight(memo->CalcHeight());
    return memo;
}

QList<CanvasLine> canvasLines(TqvxMemoView &memo, double spacing)
{
    TRecordingCanvas canvas;
    memo.Draw(&canvas, 1, 1, 0, 0);
    QList<CanvasLine> lines;
    for (const TCanvasRecord &record : canvas.TextRecords()) {
        if (lines.isEmpty() || lines.back().top != record.Bounds.Top) {
            lines.append(CanvasLine());
            lines.back().top = record.Bounds.Top;
            lines.back().left = record.Bounds.Left;
        }
        CanvasLine &line = lines.back();
        line.text += record.Text;
        line.right = record.Bounds.Right;
        for (const int advance : record.Advances)
            line.measured += advance;
    }
    // The last character's advance holds the spacing after it; the layout
    // measures a line without it.
    for (CanvasLine &line : lines)
        line.measured -= qvxRound(spacing);
    return lines;
}

// The text box the layout wraps in, as the memo sets it up for drawing.
void innerEdges(const TqvxMemoView &memo, MemoOutcome &outcome)
{
    const double fw = memo.Frame()->Width();
    double left = qvxRound(memo.Left()) + qvxRound(memo.GapX());
    double right = qvxRound(memo.Left() + memo.Width()) - qvxRound(memo.GapX()) + 1;
    if (memo.Frame()->Typ().testFlag(ftLeft))
        left += qvxRound((fw - 1) / 2);
    if (memo.Frame()->Typ().testFlag(ftRight))
        right -= qvxRound(fw / 2);
    outcome.innerLeft = left;
    outcome.innerRight = right;
}

// The words of a page on the canvas lines nearest to them.
QList<PdfLine> pdfLines(const QList<TPdfWord> &words, const MemoOutcome &outcome)
{
    // The tests' pages shift their content by 0.05 points a millimetre of
    // margin.
    const double dx = TestPageDrawing::pageInfo.LeftMargin * 0.05;
    const double dy = TestPageDrawing::pageInfo.TopMargin * 0.05;
    QList<PdfLine> lines(outcome.canvas.size());
    for (const TPdfWord &word : words) {
        const double middle = ((word.top + word.bottom) / 2 - dy) / 0.75;
        qsizetype nearest = 0;
        for (qsizetype i = 1; i < outcome.canvas.size(); ++i)
            if (std::abs(outcome.canvas[i].top + outcome.lineHeight / 2 - middle)
                < std::abs(outcome.canvas[nearest].top + outcome.lineHeight / 2 - middle))
                nearest = i;
        if (lines.isEmpty())
            lines.append(PdfLine());
        PdfLine &line = lines[nearest];
        line.words.append(word.text);
        line.left = std::min(line.left, (word.left - dx) / 0.75);
        line.right = std::max(line.right, (word.right - dx) / 0.75);
    }
    return lines;
}

QList<unsigned> seeds()
{
    bool ok = false;
    const unsigned only = qEnvironmentVariable("MEMO_PROPERTY_SEED").toUInt(&ok);
    if (ok)
        return {only};
    QList<unsigned> all;
    for (int i = 0; i < MemoCount; ++i)
        all.append(FirstSeed + unsigned(i));
    return all;
}

class MemoTextProperties : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        // The program's page drawing comes back for the tests that follow.
        const auto restore = qScopeGuard([previous = qvxPDFPageDrawing()] { qvxInstallPDFPageDrawing(previous); });
        TestPageDrawing drawing;
        qvxInstallPDFPageDrawing({[](TqvxReportPage *) { return TestPageDrawing::pageInfo; }, qvxPDFWriteView});
        TqvxPDFExport pdf;
        makeDeterministic(pdf, true);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("memos.pdf"));

        outcomes = new QList<MemoOutcome>;
        std::vector<std::unique_ptr<TqvxMemoView>> views;
        QList<QList<TqvxComponent *>> pages;
        QList<GeneratedMemo> memos;
        for (const unsigned seed : seeds())
            memos.append(generatedMemo(seed));
        if (!qEnvironmentVariableIsSet("MEMO_PROPERTY_SEED"))
            memos += writtenMemos();
        for (const GeneratedMemo &generated : std::as_const(memos)) {
            MemoOutcome outcome;
            outcome.memo = generated;
            auto memo = memoView(outcome.memo, outcome.memo.align);
            // A page holds the memo whole.
            while (memo->Height() > 1000) {
                QString &text = outcome.memo.text;
                qsizetype cut = text.lastIndexOf(QLatin1Char(' '), text.size() * 2 / 3);
                if (cut <= 0)
                    cut = text.size() * 2 / 3;
                if (text.at(cut).isLowSurrogate())
                    --cut;
                text.truncate(cut);
                memo = memoView(outcome.memo, outcome.memo.align);
            }
            innerEdges(*memo, outcome);
            outcome.canvas = canvasLines(*memo, outcome.memo.spacing);
            auto left = memoView(outcome.memo, haLeft);
            outcome.measured = canvasLines(*left, outcome.memo.spacing);
            outcome.lineHeight = outcome.canvas.size() > 1 ? outcome.canvas[1].top - outcome.canvas[0].top
                                                           : memo->Height();
            pages.append({memo.get()});
            views.push_back(std::move(memo));
            outcomes->append(outcome);
        }
        const QByteArray bytes = exportPages(pdf, pages, file);
        ASSERT_FALSE(bytes.isEmpty());
        const QList<QList<TPdfWord>> words = PdfWords(file);
        ASSERT_EQ(words.size(), outcomes->size());
        for (qsizetype i = 0; i < outcomes->size(); ++i) {
            MemoOutcome &outcome = (*outcomes)[i];
            outcome.words = words.at(i);
            outcome.pdf = pdfLines(outcome.words, outcome);
        }
        exported = true;
    }

    static void TearDownTestSuite()
    {
        delete outcomes;
        outcomes = nullptr;
    }

    void SetUp() override
    {
        if (!exported)
            GTEST_FAIL() << "the memos were not exported and read back";
    }

    // Checks each memo; answers the failures, one line each, and how many
    // memos failed.
    template <typename Check>
    static void expectEveryMemo(const char *property, Check check)
    {
        int failed = 0;
        std::string failures;
        for (const MemoOutcome &outcome : *outcomes) {
            const std::string found = check(outcome);
            if (found.empty())
                continue;
            ++failed;
            failures += describe(outcome.memo) + "\n    " + found + "\n";
        }
        EXPECT_EQ(failed, 0) << property << " fails for " << failed << " of " << outcomes->size() << " memos:\n"
                             << failures;
    }

    static QList<MemoOutcome> *outcomes;
    static bool exported;
};

QList<MemoOutcome> *MemoTextProperties::outcomes = nullptr;
bool MemoTextProperties::exported = false;

bool isMark(char32_t c)
{
    const QChar::Category category = QChar::category(c);
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining
        || category == QChar::Mark_Enclosing;
}

bool rightToLeft(char32_t c)
{
    const QChar::Direction direction = QChar::direction(c);
    return direction == QChar::DirR || direction == QChar::DirAL;
}

// The text pdftotext reads, word by word and line by line as it places
// them, is the memo's, character for character, but for blanks and line
// breaks and the hyphen a line ends in (the layout shows one where it
// breaks after a soft hyphen or inside a word it hyphenates).  Text in
// right-to-left scripts is read by pdftotext in an order of its own (its
// points and marks before their letters, say), so for memos holding such
// text the characters are compared as counted, order aside, hyphens aside.
// Characters no face can show are drawn as U+FFFD but read as themselves.
std::string textDifference(const MemoOutcome &outcome)
{
    const QString expected = withoutSpaces(outcome.memo.text);
    QString found;
    QList<qsizetype> lineEnds;
    for (const PdfLine &line : outcome.pdf) {
        found += withoutSpaces(line.words.join(QLatin1Char(' ')));
        lineEnds.append(found.size());
    }
    // Only characters that draw nothing follow j on its line.
    const auto endsLine = [&](qsizetype j) {
        for (qsizetype k = j + 1; k < found.size(); ++k) {
            if (lineEnds.contains(k))
                return true;
            if (!drawsNothing(found.at(k).unicode()))
                return false;
        }
        return true;
    };
    const QList<uint> memoCharacters = outcome.memo.text.toUcs4();
    if (std::any_of(memoCharacters.cbegin(), memoCharacters.cend(), rightToLeft)) {
        const auto counted = [](const QString &text) {
            QList<uint> characters = text.toUcs4();
            characters.removeIf([](uint c) { return c == u'-' || c == 0x00AD; });
            std::sort(characters.begin(), characters.end());
            return characters;
        };
        const QList<uint> want = counted(expected);
        const QList<uint> got = counted(found);
        if (want == got)
            return {};
        QList<uint> missing;
        QList<uint> extra;
        std::set_difference(want.cbegin(), want.cend(), got.cbegin(), got.cend(), std::back_inserter(missing));
        std::set_difference(got.cbegin(), got.cend(), want.cbegin(), want.cend(), std::back_inserter(extra));
        return "pdftotext gives \"" + escaped(found) + "\", without \"" + escaped(fromUcs4(missing))
            + "\" of the memo's characters and with \"" + escaped(fromUcs4(extra)) + "\" more";
    }
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < expected.size() || j < found.size()) {
        const bool breakHyphen = j < found.size() && endsLine(j)
            && (found.at(j) == QLatin1Char('-') || found.at(j) == QChar(0x00AD));
        if (i < expected.size() && j < found.size() && expected.at(i) == found.at(j)) {
            ++i;
            ++j;
        } else if (breakHyphen && i < expected.size() && expected.at(i) == QChar(0x00AD)) {
            ++i;
            ++j;
        } else if (breakHyphen) {
            ++j;
        } else {
            return "pdftotext gives \"" + escaped(found.mid(std::max<qsizetype>(j - 6, 0), 14)) + "\" where the memo has \""
                + escaped(expected.mid(std::max<qsizetype>(i - 6, 0), 14)) + "\" (character " + std::to_string(i)
                + "); whole: \"" + escaped(found) + "\"";
        }
    }
    return {};
}

} // namespace

TEST_F(MemoTextProperties, PdfTextIsTheMemoText)
{
    expectEveryMemo("the PDF's text", textDifference);
}

// Every word pdftotext places lies between the inner edges of its memo
// (the box the layout wraps in), but for a single cluster wider than the
// line, and what pdftotext reads apart inside such a cluster's box (a mark
// of a right-to-left cluster).
TEST_F(MemoTextProperties, WordsStayInsideTheMemo)
{
    constexpr double tolerance = 0.25;
    expectEveryMemo("words inside the memo", [](const MemoOutcome &outcome) -> std::string {
        const double dx = TestPageDrawing::pageInfo.LeftMargin * 0.05;
        const auto oneWideCluster = [&outcome](const TPdfWord &word) {
            // Characters that draw nothing beside the cluster stay with its
            // line and take no room; a blank before it does take room.
            QList<uint> drawn = withoutSpaces(word.text).toUcs4();
            while (!drawn.isEmpty() && drawsNothing(drawn.back()))
                drawn.removeLast();
            if (!word.text.isEmpty() && word.text.front().isSpace())
                return false;
            while (!drawn.isEmpty() && drawsNothing(drawn.front()))
                drawn.removeFirst();
            return oneCluster(fromUcs4(drawn)) && (word.right - word.left) / 0.75 > outcome.innerRight - outcome.innerLeft;
        };
        const auto insideAWideCluster = [&](const TPdfWord &word) {
            return std::any_of(outcome.words.cbegin(), outcome.words.cend(), [&](const TPdfWord &other) {
                return &other != &word && oneWideCluster(other) && word.left >= other.left - 0.01
                    && word.right <= other.right + 0.01 && word.top < other.bottom && other.top < word.bottom;
            });
        };
        for (const TPdfWord &word : outcome.words) {
            const double left = (word.left - dx) / 0.75;
            const double right = (word.right - dx) / 0.75;
            if (left >= outcome.innerLeft - tolerance && right <= outcome.innerRight + tolerance)
                continue;
            if (oneWideCluster(word) || insideAWideCluster(word))
                continue;
            return QStringLiteral("\"%1\" lies at %2-%3 px, the memo's inner edges at %4-%5 px")
                .arg(QString::fromStdString(escaped(word.text)))
                .arg(left, 0, 'f', 2)
                .arg(right, 0, 'f', 2)
                .arg(outcome.innerLeft)
                .arg(outcome.innerRight)
                .toStdString();
        }
        return {};
    });
}

// Each line the PDF draws is as wide as the layout measured it (the canvas
// is given that width), within a pixel: from its first word's left edge to
// its last word's right edge as pdftotext places them.
TEST_F(MemoTextProperties, DrawnLineWidthIsTheMeasuredWidth)
{
    expectEveryMemo("drawn width", [](const MemoOutcome &outcome) -> std::string {
        for (qsizetype i = 0; i < outcome.pdf.size() && i < outcome.measured.size(); ++i) {
            const PdfLine &line = outcome.pdf.at(i);
            if (line.words.isEmpty())
                continue;
            const double drawn = line.right - line.left;
            const double measured = outcome.measured.at(i).measured;
            if (std::abs(drawn - measured) <= 1)
                continue;
            return QStringLiteral("line %1 \"%2\" is drawn %3 px wide, measured %4 px")
                .arg(i + 1)
                .arg(QString::fromStdString(escaped(outcome.measured.at(i).text)))
                .arg(drawn, 0, 'f', 2)
                .arg(measured, 0, 'f', 2)
                .toStdString();
        }
        return {};
    });
}

// No line the layout makes holds only characters that draw nothing.
TEST_F(MemoTextProperties, NoLineHoldsOnlyCharactersThatDrawNothing)
{
    expectEveryMemo("lines of nothing", [](const MemoOutcome &outcome) -> std::string {
        for (qsizetype i = 0; i < outcome.canvas.size(); ++i) {
            const QList<uint> characters = outcome.canvas.at(i).text.toUcs4();
            if (std::all_of(characters.cbegin(), characters.cend(), [](uint c) { return drawsNothing(c); }))
                return QStringLiteral("line %1 of %2 is \"%3\"")
                    .arg(i + 1)
                    .arg(outcome.canvas.size())
                    .arg(QString::fromStdString(escaped(outcome.canvas.at(i).text)))
                    .toStdString();
        }
        return {};
    });
}

// The PDF breaks the lines where the canvas does: each line the canvas
// draws holds the characters pdftotext finds on the same line, blanks
// aside.  (Where the PDF's text itself differs from the memo's, only the
// number of lines is compared; the text's property reports the rest.)
TEST_F(MemoTextProperties, CanvasAndPdfBreakLinesAlike)
{
    expectEveryMemo("line breaks", [](const MemoOutcome &outcome) -> std::string {
        const auto sorted = [](const QString &text) {
            QList<uint> characters = withoutSpaces(text).toUcs4();
            characters.removeIf([](uint c) { return c == u'-' || c == 0x00AD; });
            std::sort(characters.begin(), characters.end());
            return characters;
        };
        qsizetype pdfLineCount = 0;
        for (const PdfLine &line : outcome.pdf)
            pdfLineCount += line.words.isEmpty() ? 0 : 1;
        // A line of characters that draw nothing is the property above; a
        // soft hyphen at a line's end shows a hyphen.
        const auto showsSomething = [](const CanvasLine &line) {
            const QList<uint> characters = line.text.toUcs4();
            return !std::all_of(characters.cbegin(), characters.cend(),
                                [](uint c) { return drawsNothing(c) && c != 0x00AD; });
        };
        const qsizetype canvasLineCount = std::count_if(outcome.canvas.cbegin(), outcome.canvas.cend(), showsSomething);
        if (pdfLineCount != canvasLineCount)
            return QStringLiteral("the canvas draws %1 lines, the PDF %2").arg(canvasLineCount).arg(pdfLineCount)
                .toStdString();
        if (!textDifference(outcome).empty())
            return {};
        for (qsizetype i = 0; i < outcome.canvas.size(); ++i) {
            if (!showsSomething(outcome.canvas.at(i)))
                continue;
            const QString pdf = outcome.pdf.at(i).words.join(QLatin1Char(' '));
            if (sorted(pdf) != sorted(outcome.canvas.at(i).text))
                return QStringLiteral("line %1: the canvas draws \"%2\", the PDF \"%3\"")
                    .arg(i + 1)
                    .arg(QString::fromStdString(escaped(outcome.canvas.at(i).text)),
                         QString::fromStdString(escaped(pdf)))
                    .toStdString();
        }
        return {};
    });
}

// Each line of the PDF starts where the canvas starts it, within a pixel,
// whatever the alignment.  The canvas draws a right-aligned line of bold
// or italic text one pixel further left than the same line upright and
// regular; the PDF places every line by its width alone.
TEST_F(MemoTextProperties, PdfLinesStartWhereTheCanvasStartsThem)
{
    expectEveryMemo("line starts", [](const MemoOutcome &outcome) -> std::string {
        const TFontStyles style = outcome.memo.face.style;
        const bool movedLeft = outcome.memo.align == haRight && (style.testFlag(fsBold) || style.testFlag(fsItalic));
        for (qsizetype i = 0; i < outcome.pdf.size() && i < outcome.canvas.size(); ++i) {
            const PdfLine &line = outcome.pdf.at(i);
            if (line.words.isEmpty())
                continue;
            if (std::abs(line.left - (outcome.canvas.at(i).left + (movedLeft ? 1 : 0))) <= 1)
                continue;
            return QStringLiteral("line %1 \"%2\" starts at %3 px in the PDF, at %4 px on the canvas")
                .arg(i + 1)
                .arg(QString::fromStdString(escaped(outcome.canvas.at(i).text)))
                .arg(line.left, 0, 'f', 2)
                .arg(outcome.canvas.at(i).left)
                .toStdString();
        }
        return {};
    });
}
