#include "PdfExportTestSupport.h"
#include "ToolTestSupport.h"
#include "common/ScriptSamples.h"

#include "export/pdf/qvxPDFPageContent.h"
#include "report/views/qvxChBox.h"
#include "report/text/qvxDrawText.h"
#include "report/views/qvxLineView.h"
#include "report/views/qvxMemoView.h"
#include "report/pages/qvxBands.h"
#include "report/pages/qvxPage.h"
#include "report/report/qvxReport.h"
#include "report/views/qvxPictureView.h"
#include "report/views/qvxShapeView.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/FaceRuns.h"
#include "toolkit/graphics/JPEGImage.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The views are drawn by the real page content on the tests' A4 pages
// (margins 10 mm).
class PDFPageContent : public ::testing::Test
{
protected:
    PDFPageContent()
    {
        qvxInstallPDFPageDrawing({nullptr, qvxPDFWriteView});
        makeDeterministic(pdf, false);
    }

    QString path(const QString &name) const { return dir.filePath(name); }

    QByteArray exportChecked(const QList<QList<TqvxComponent *>> &pages, const QString &name,
                             TqvxReportLink *report = nullptr)
    {
        const QByteArray bytes = exportPages(pdf, pages, path(name), report);
        EXPECT_EQ(xrefComplaint(bytes).toStdString(), "") << name.toStdString();
        EXPECT_EQ(qpdfComplaint(path(name)).toStdString(), "") << name.toStdString();
        return bytes;
    }

    // The content stream of page index of an uncompressed file.
    static QByteArray pageContent(const QByteArray &pdf, int index = 0)
    {
        qsizetype at = -1;
        for (int i = 0; i <= index; ++i)
            at = pdf.indexOf("<< /Length ", at + 1);
        const qsizetype lengthEnd = pdf.indexOf(' ', at + 11);
        const int length = pdf.mid(at + 11, lengthEnd - at - 11).toInt();
        const qsizetype start = pdf.indexOf("stream\r\n", at) + 8;
        return pdf.mid(start, length);
    }

    // The content written for one view on one page.
    QByteArray contentOf(TqvxView *view, const QString &name)
    {
        return pageContent(exportChecked({{view}}, name));
    }

    TestPageDrawing drawing;
    TqvxPDFExport pdf;
    QTemporaryDir dir;
};

std::unique_ptr<TqvxMemoView> memoView(const QString &text, double left, double top, double width, double height)
{
    auto memo = std::make_unique<TqvxMemoView>();
    memo->SetBounds(left, top, width, height);
    memo->SetText(text);
    TFont font;
    font.SetName(QStringLiteral("Arial"));
    font.SetSize(10);
    memo->SetFont(&font);
    return memo;
}

std::unique_ptr<TBitmap> colouredBitmap(int width, int height, QRgb background, QRgb spot)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(background);
    for (int y = height / 4; y < height / 2; ++y)
        for (int x = width / 4; x < width / 2; ++x)
            image.setPixel(x, y, spot);
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetImage(image);
    return bitmap;
}

std::unique_ptr<TqvxPictureView> pictureView(const TBitmap &bitmap, double left, double top)
{
    auto view = std::make_unique<TqvxPictureView>();
    view->SetBounds(left, top, bitmap.Width(), bitmap.Height());
    view->Picture()->SetGraphic(&bitmap);
    return view;
}

// pdftotext's lines of a file, empty lines dropped.
QStringList extractedLines(const QString &fileName)
{
    QStringList lines = extractedText(fileName).split(QLatin1Char('\n'));
    lines.removeAll(QString());
    return lines;
}

} // namespace

// --- Memo text ---------------------------------------------------------------------------

TEST_F(PDFPageContent, MemoTextComesBackAsTheLayoutWrappedIt)
{
    const QString text = QStringLiteral("Автоматический выключатель в литом корпусе, ток 250 А; "
                                        "moulded-case circuit breaker with a rated current of 250 A");
    auto memo = memoView(text, 20, 30, 160, 200);
    memo->CalcHeight(); // lays the text out as the screen does
    QStringList wrapped;
    for (int i = 0; i < qvxDrawText()->LineCount(); ++i)
        wrapped << qvxDrawText()->Line(i).trimmed();
    ASSERT_GT(wrapped.size(), 2);

    exportChecked({{memo.get()}}, QStringLiteral("memo.pdf"));
    EXPECT_EQ(extractedLines(path(QStringLiteral("memo.pdf"))), wrapped);
}

// Long texts in other scripts, alone and among Cyrillic, wrap as the
// faces that show them measure them: in the framed memo of the
// questionnaire's address (446 pixels wide, gap 5) no word ends past the
// frame less the gap, as pdftotext places it, and all the text the faces
// can show comes back.
TEST_F(PDFPageContent, TextOfStandInFacesStaysInsideItsMemo)
{
    constexpr double left = 272, width = 446, gap = 5;
    // The tests' pages move their content by 0.05 points a millimetre of
    // margin.
    const double limit = (left + width - gap) * 0.75 + drawing.pageInfo.LeftMargin * 0.05 + 0.02;
    for (const TScriptSample &sample : LongAddresses()) {
        SCOPED_TRACE(sample.name.toStdString());
        auto memo = memoView(sample.text, left, 30, width, 600);
        memo->SetGapX(gap);
        memo->Frame()->SetTyp(ftLeft | ftTop | ftRight | ftBottom);
        exportChecked({{memo.get()}}, QStringLiteral("memo.pdf"));
        const QList<QList<TPdfWord>> pages = PdfWords(path(QStringLiteral("memo.pdf")));
        ASSERT_EQ(pages.size(), 1);
        QString found;
        for (const TPdfWord &word : pages.front()) {
            EXPECT_LE(word.right, limit) << "\"" << word.text.toStdString() << "\" ends past the memo";
            found += word.text;
        }
        EXPECT_EQ(MissingCharacters(sample.text, found).toStdString(), "");
    }
}

// Characters that show nothing (joiners, variation selectors, direction
// marks, the byte-order mark, a soft hyphen inside a line) take no room in
// the file and draw nothing: five of them inside a word leave the words
// where pdftotext finds them without, and the page renders as without.
// The text still comes back whole.
TEST_F(PDFPageContent, CharactersThatShowNothingTakeNoRoom)
{
    const auto exportText = [this](const QString &text, const QString &name) {
        auto memo = memoView(text, 20, 30, 300, 40);
        exportChecked({{memo.get()}}, name);
        return PdfWords(path(name)).value(0);
    };
    const QList<TPdfWord> plain = exportText(QStringLiteral("abcd end"), QStringLiteral("plain.pdf"));
    ASSERT_EQ(plain.size(), 2);
    const QImage plainPage = renderedPage(path(QStringLiteral("plain.pdf")), path(QStringLiteral("plain")));
    for (const char16_t c : InvisibleCharacters()) {
        SCOPED_TRACE(int(c));
        const QString hidden(5, QChar(c));
        const QList<TPdfWord> words =
            exportText(QStringLiteral("ab") + hidden + QStringLiteral("cd end"), QStringLiteral("hidden.pdf"));
        ASSERT_EQ(words.size(), 2);
        EXPECT_NEAR(words[0].right, plain[0].right, 0.01);
        EXPECT_NEAR(words[1].left, plain[1].left, 0.01);
        EXPECT_NEAR(words[1].right, plain[1].right, 0.01);
        EXPECT_EQ(words[0].text, QStringLiteral("ab") + hidden + QStringLiteral("cd"));
        EXPECT_EQ(words[1].text, QStringLiteral("end"));
        EXPECT_EQ(renderedPage(path(QStringLiteral("hidden.pdf")), path(QStringLiteral("hidden"))), plainPage);
    }
}

// A cluster drawn with several glyphs that holds characters showing
// nothing (a joiner, a variation selector, the combining grapheme joiner)
// gives its text back once, as do direction marks alone between letters
// and at the line's ends, in the memo's face and in a face standing in for
// it.  Emoji come back only where a face shows them.
TEST_F(PDFPageContent, ClustersOfSeveralGlyphsGiveTheirTextBackOnce)
{
    const QStringList texts = {
        QStringLiteral("a \u2639\u200D\u2600 b"),
        QStringLiteral("a\u034F\u0301 z"),
        QStringLiteral("x\u034F\u0301\u200D\u0300y"),
        QStringLiteral("ab\u200Fcd"),
        QStringLiteral("\u200Fab\u200Ecd \u200Fx\u200F"),
        QStringLiteral("q\u200B\u0323\u0307 a\u2060\u0301\u00E8"),
        QStringLiteral("a \U0001F468\u200D\U0001F469\u200D\U0001F467\u200D\U0001F466 b"),
        QStringLiteral("1\uFE0F\u20E3"),
        QStringLiteral("\U0001F3F3\uFE0F\u200D\U0001F308"),
        QStringLiteral("\u041E\u041E\u041E \u00AB\u0421\u0435\u043C\u044C\u044F "
                       "\U0001F468\u200D\U0001F469\u200D\U0001F467\u00BB"),
    };
    int checked = 0;
    for (const QString &text : texts) {
        SCOPED_TRACE(text.toStdString());
        if (!ShowsAll(text, [](char32_t c) { return TFontEngine::CoveringFace(c, false, false) != nullptr; }))
            continue; // an emoji no installed face shows
        ++checked;
        auto memo = memoView(text, 20, 30, 400, 40);
        exportChecked({{memo.get()}}, QStringLiteral("cluster.pdf"));
        EXPECT_EQ(extractedLines(path(QStringLiteral("cluster.pdf"))), QStringList{text});
    }
    EXPECT_GE(checked, 5);
}

// The words of a page grouped into lines, top to bottom (words of other
// faces have other boxes; their middles lie within a few points of the
// line's): each line's leftmost and rightmost point.
struct PdfLine {
    double middle, left, right;
};
QList<PdfLine> pdfLines(QList<TPdfWord> words)
{
    const auto middle = [](const TPdfWord &word) { return (word.top + word.bottom) / 2; };
    std::sort(words.begin(), words.end(),
              [&](const TPdfWord &a, const TPdfWord &b) { return middle(a) < middle(b); });
    QList<PdfLine> lines;
    for (const TPdfWord &word : words) {
        if (lines.isEmpty() || middle(word) - lines.back().middle > 4)
            lines.append({middle(word), word.left, word.right});
        else
            lines.back() = {lines.back().middle, std::min(lines.back().left, word.left),
                            std::max(lines.back().right, word.right)};
    }
    return lines;
}

// The width of one line in a memo's font and spacing, measured alone as the
// layout measures it (the spacing after every glyph included), in pixels.
// pdftotext's box of the line ends before the spacing after its last
// glyph.
double measuredWidth(const TqvxMemoView &memo, const QString &line)
{
    TqvxDrawText layout;
    layout.SetFont(memo.Font());
    layout.SetOptions(false, false, false, false, true, true, 0);
    layout.SetGaps(0, memo.CharSpacing(), 0);
    const TRect box(0, 0, 10000, 100);
    layout.SetDimensions(1, 1, 1, box, box);
    TWideStrings single;
    single.Add(line);
    layout.SetText(&single);
    return layout.CalcWidth();
}

// The columns of a picture's dark pixels in rows [top, bottom): the
// leftmost and one past the rightmost (0, 0 without any).
QPair<int, int> inkColumns(const QImage &image, int top, int bottom)
{
    int left = image.width(), right = 0;
    for (int y = std::max(0, top); y < std::min(bottom, image.height()); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                left = std::min(left, x);
                right = std::max(right, x + 1);
            }
    return left < right ? qMakePair(left, right) : qMakePair(0, 0);
}

// Character spacing goes after each glyph drawn, in the layout, on the
// canvas and in the PDF (its Tc) alike: characters that show nothing take
// none, a cluster or surrogate pair drawn as one glyph takes one, a
// character drawn with two takes two.  With spacing -1 and +2, every line
// of a paragraph of such words is as wide in the file as the layout
// measured it and keeps inside the memo's inner edges, and a line drawn on
// a canvas is as wide as the file renders it.
TEST_F(PDFPageContent, CharacterSpacingGoesAfterEachGlyphDrawn)
{
    const QList<TScriptSample> kinds = {
        {QStringLiteral("soft hyphen"), QStringLiteral("ab\u00ADcd\u00ADef\u00ADgh\u00ADij")},
        {QStringLiteral("zero width space"), QStringLiteral("ab\u200Bcd\u200Bef\u200Bgh\u200Bij")},
        {QStringLiteral("zero width joiner"), QStringLiteral("ab\u200Dcd\u200Def\u200Dgh\u200Dij")},
        {QStringLiteral("variation selector"), QStringLiteral("ab\uFE0Fcd\uFE0Fef\uFE0Fgh\uFE0Fij")},
        {QStringLiteral("combining marks"), QStringLiteral("q\u0301w\u0323\u0302rt\u0306z\u0330v\u0307x")},
        {QStringLiteral("Devanagari conjuncts"), QStringLiteral("\u0915\u094D\u0937\u0924\u094D\u0930\u093F")},
        {QStringLiteral("Thai sara am"), QStringLiteral("\u0E01\u0E33\u0E25\u0E31\u0E07\u0E19\u0E49\u0E33")},
        {QStringLiteral("surrogate pairs"), QStringLiteral("a\U0001D400\U0001D401b\U00010330\U00010331c")},
    };
    constexpr double left = 20, width = 403, gap = 2;
    const double offset = drawing.pageInfo.LeftMargin * 0.05;
    for (const TScriptSample &kind : kinds) {
        for (const double spacing : {-1.0, 2.0}) {
            SCOPED_TRACE(kind.name.toStdString() + " spacing " + std::to_string(spacing));
            auto memo = memoView(QStringList(20, kind.text).join(QLatin1Char(' ')), left, 30, width, 300);
            memo->SetCharSpacing(spacing);
            memo->CalcHeight(); // lays the text out as the screen does
            QStringList wrapped;
            for (int i = 0; i < qvxDrawText()->LineCount(); ++i)
                wrapped << qvxDrawText()->Line(i);
            ASSERT_GT(wrapped.size(), 1);

            exportChecked({{memo.get()}}, QStringLiteral("spacing.pdf"));
            const QList<PdfLine> lines = pdfLines(PdfWords(path(QStringLiteral("spacing.pdf"))).value(0));
            ASSERT_EQ(lines.size(), wrapped.size());
            for (int i = 0; i < lines.size(); ++i) {
                const double drawn = (lines[i].right - lines[i].left) / 0.75;
                EXPECT_NEAR(drawn, measuredWidth(*memo, wrapped[i]) - TqvxDrawText::LaidOutSpacing(spacing), 1)
                    << wrapped[i].toStdString();
                EXPECT_GE(lines[i].left, (left + gap) * 0.75 + offset - 0.02);
                EXPECT_LE(lines[i].right, (left + width - gap) * 0.75 + offset + 0.02)
                    << wrapped[i].toStdString();
            }

            // One line of it drawn on a canvas at 96 per inch and in the file
            // rendered at 96 dots per inch.
            auto single = memoView(QStringList(3, kind.text).join(QLatin1Char(' ')), left, 30, width, 40);
            single->SetCharSpacing(spacing);
            exportChecked({{single.get()}}, QStringLiteral("line.pdf"));
            const QImage page = renderedPage(path(QStringLiteral("line.pdf")), path(QStringLiteral("line")));
            const QPair<int, int> rendered = inkColumns(page, 0, page.height());
            TBitmap bitmap;
            bitmap.SetSize(500, 100);
            bitmap.Canvas()->Brush()->SetColor(clWhite);
            bitmap.Canvas()->FillRect(TRect(0, 0, 500, 100));
            single->SetBounds(left, 30, width, 40);
            single->Draw(bitmap.Canvas(), 1, 1, 0, 0);
            bitmap.Canvas()->ReleaseHandle();
            const QPair<int, int> drawnOnCanvas = inkColumns(bitmap.Image(), 0, 100);
            ASSERT_GT(rendered.second, rendered.first);
            EXPECT_NEAR(drawnOnCanvas.second - drawnOnCanvas.first, rendered.second - rendered.first, 1);
        }
    }
}

// Right-aligned lines end at the memo's inner right edge, the one the
// layout wraps against, and centred lines keep the middle between the
// inner edges, in every face: so a line the layout filled starts at the
// inner left edge, not outside the memo.  With character spacing the last
// glyph ends at the edge; a line that fills the memo only with its
// spacing stays where the layout put it.
TEST_F(PDFPageContent, AlignedLinesKeepToTheEdgesTheLayoutMeasuredAgainst)
{
    constexpr double left = 20, width = 237, gap = 2;
    const double offset = drawing.pageInfo.LeftMargin * 0.05;
    const double innerLeft = (left + gap) * 0.75 + offset;
    const double innerRight = (left + width - gap) * 0.75 + offset;
    const QString text = QStringLiteral("efficient baffled fjord\u2019 quartz nymph vex; Breaker of 250 A "
                                        "with a thermal-magnetic trip unit and auxiliary contacts");
    for (const QString &face : {QStringLiteral("Arial"), QStringLiteral("Times New Roman"),
                                QStringLiteral("Courier New"), QStringLiteral("DejaVu Sans"),
                                QStringLiteral("DejaVu Serif"), QStringLiteral("DejaVu Sans Mono")}) {
        for (const double spacing : {0.0, -0.5, 1.0}) {
            for (const TqvxHAlign align : {haRight, haCenter}) {
                SCOPED_TRACE(face.toStdString() + " spacing " + std::to_string(spacing)
                             + (align == haRight ? " right" : " centre"));
                auto memo = memoView(text, left, 30, width, 200);
                memo->Font()->SetName(face);
                memo->Font()->SetSize(10);
                memo->SetCharSpacing(spacing);
                memo->SetHAlign(align);
                memo->CalcHeight();
                const int count = qvxDrawText()->LineCount();
                QList<double> widths;
                for (int i = 0; i < count; ++i)
                    widths << measuredWidth(*memo, qvxDrawText()->Line(i));
                exportChecked({{memo.get()}}, QStringLiteral("aligned.pdf"));
                const QList<PdfLine> lines = pdfLines(PdfWords(path(QStringLiteral("aligned.pdf"))).value(0));
                ASSERT_EQ(lines.size(), count);
                for (int i = 0; i < count; ++i) {
                    // pdftotext's box ends with the last glyph, before its
                    // spacing.
                    const double right = lines[i].right;
                    const double glyphSpacing = TqvxDrawText::LaidOutSpacing(spacing);
                    if (align == haRight)
                        EXPECT_NEAR(right, innerRight, 0.3) << i;
                    else
                        EXPECT_NEAR((lines[i].left + right) / 2, (innerLeft + innerRight) / 2, 0.3) << i;
                    EXPECT_NEAR(lines[i].right - lines[i].left, (widths[i] - glyphSpacing) * 0.75, 0.75) << i;
                    EXPECT_GE(lines[i].left, innerLeft + std::min(0.0, glyphSpacing) * 0.75 - 0.02) << i;
                }
            }
        }
    }
}

// Every word the file draws ends inside the memo, as pdftotext places it:
// a blank after a character the shaper drops (a direction mark, a
// zero-width space, a soft hyphen), where the face or the direction
// changes, takes its room in the line, and so does the hyphen a word break
// adds.
TEST_F(PDFPageContent, WordsEndInsideTheMemoWhereTheShaperDropsACharacter)
{
    struct Case {
        QString face;
        int size;
        QString text;
        bool wordBreak;
        QList<int> widths;
    };
    const QList<Case> cases = {
        {QStringLiteral("Arial"), 41, QStringLiteral("a-M\u05D0\u200E i"), false, {100, 104, 120}},
        {QStringLiteral("Arial"), 41, QStringLiteral("a-M\u30AB\u200B i"), false, {114, 116, 130}},
        {QStringLiteral("Courier New"), 41, QStringLiteral("a\u00ADM\u30AB\u00AD \u0647"), false, {100, 120, 140}},
        {QStringLiteral("Arial"), 16, QStringLiteral("gaa,aaабш,а"), true, {60, 61, 62}},
    };
    constexpr double left = 20;
    for (const Case &c : cases) {
        for (const int width : c.widths) {
            SCOPED_TRACE(c.text.toStdString() + " in " + std::to_string(width));
            auto memo = memoView(c.text, left, 30, width, 400);
            memo->Font()->SetName(c.face);
            memo->Font()->SetSize(c.size);
            memo->SetGapX(0);
            memo->SetWordBreak(c.wordBreak);
            exportPages(pdf, {{memo.get()}}, path(QStringLiteral("memo.pdf")));
            // The tests' pages move their content by 0.05 points a
            // millimetre of margin.
            const double limit = (left + width) * 0.75 + drawing.pageInfo.LeftMargin * 0.05 + 0.02;
            const QList<TPdfWord> words = PdfWords(path(QStringLiteral("memo.pdf"))).value(0);
            ASSERT_FALSE(words.isEmpty());
            for (const TPdfWord &word : words)
                EXPECT_LE(word.right, limit) << "\"" << word.text.toStdString() << "\" ends past the memo";
        }
    }
}

// Only the lines the memo's box shows are written: a hundred lines in a box
// of three give those three and a few on either side, top, centre or
// bottom aligned.
TEST_F(PDFPageContent, LinesOutsideTheMemoAreNotWritten)
{
    QStringList rows;
    for (int i = 1; i <= 100; ++i)
        rows << QStringLiteral("row %1").arg(i);
    auto memo = memoView(rows.join(QLatin1Char('\n')), 20, 30, 160, 48);
    memo->SetVAlign(vaTop);
    QByteArray content = contentOf(memo.get(), QStringLiteral("top.pdf"));
    EXPECT_LE(content.count("BT\n"), 8);
    EXPECT_EQ(extractedLines(path(QStringLiteral("top.pdf"))).first(), QStringLiteral("row 1"));

    memo->SetVAlign(vaBottom);
    content = contentOf(memo.get(), QStringLiteral("bottom.pdf"));
    EXPECT_LE(content.count("BT\n"), 8);
    EXPECT_EQ(extractedLines(path(QStringLiteral("bottom.pdf"))).last(), QStringLiteral("row 100"));

    memo->SetVAlign(vaCenter);
    content = contentOf(memo.get(), QStringLiteral("centre.pdf"));
    EXPECT_LE(content.count("BT\n"), 8);
    EXPECT_TRUE(extractedLines(path(QStringLiteral("centre.pdf"))).contains(QStringLiteral("row 50")));
}

// A memo's text past the most the export lays out is left out, with one
// warning naming the memo; what the box shows stays.
TEST_F(PDFPageContent, TextPastTheMostAMemoShowsIsLeftOutWithAWarning)
{
    QString text = QStringLiteral("first line\n");
    text += QString(MaxExportedMemoChars, QLatin1Char('x'));
    auto memo = memoView(text, 20, 30, 160, 48);
    memo->SetName(QStringLiteral("Memo7"));
    memo->SetWordWrap(false);
    QStringList warnings;
    pdf.OnWarning = [&warnings](const QString &warning) { warnings << warning; };
    exportChecked({{memo.get()}}, QStringLiteral("long.pdf"));
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings.at(0).startsWith(QStringLiteral("Memo7: "))) << warnings.at(0).toStdString();
    EXPECT_EQ(extractedLines(path(QStringLiteral("long.pdf"))).first(), QStringLiteral("first line"));
}

TEST_F(PDFPageContent, MemoIsFilledAndFramedBeforeItsTextAndNotClippedWhereItFits)
{
    auto memo = memoView(QStringLiteral("Text"), 0, 0, 100, 20);
    memo->SetColor(clYellow);
    memo->Frame()->SetTyp(ftLeft | ftTop | ftRight | ftBottom);
    memo->Frame()->SetWidth(2);
    const QByteArray content = contentOf(memo.get(), QStringLiteral("framed.pdf"));
    // The page is 841.89 points high and its offsets are 0.5 points; the
    // four sides are one path, the pen black as a page starts.
    EXPECT_TRUE(content.startsWith("1.00 1.00 0.00 rg\n0.50 826.39 75.00 15.00 re\nf\n1.50 w\n"
                                   "q\n1 0 0 1 0.50 826.39 cm\n0 15.00 m 75.00 15.00 l 75.00 15.00 m 75.00 0 l "
                                   "0 0 m 75.00 0 l 0 15.00 m 0 0 l S\nQ\n"
                                   "/F0 10 Tf\n0.00 0.00 0.00 rg\nBT\n"))
        << content.constData();
    EXPECT_TRUE(content.endsWith("ET\n"));
    EXPECT_FALSE(content.contains("W\nn\n"));
    EXPECT_EQ(extractedLines(path(QStringLiteral("framed.pdf"))), QStringList(QStringLiteral("Text")));
}

// The clip, grown by the frame width on each side, stays where something
// would reach outside it: text running past the box, sides wider than
// twice the frame's width, a dashed frame's corners.
TEST_F(PDFPageContent, MemoIsClippedWhereItsDrawingReachesOutside)
{
    auto longLine = memoView(QStringLiteral("A line far too long for its memo, not wrapped"), 0, 0, 100, 20);
    longLine->SetWordWrap(false);
    const QByteArray content = contentOf(longLine.get(), QStringLiteral("long.pdf"));
    EXPECT_TRUE(content.startsWith("q\n-0.25 825.64 76.50 16.50 re\nW\nn\n")) << content.constData();
    EXPECT_TRUE(content.endsWith("ET\nQ\n"));

    auto tall = memoView(QStringLiteral("Tall"), 0, 0, 100, 10);
    EXPECT_TRUE(contentOf(tall.get(), QStringLiteral("tall.pdf")).startsWith("q\n"));

    auto wideSide = memoView(QStringLiteral("Wide"), 0, 0, 100, 40);
    wideSide->Frame()->SetTyp(ftBottom);
    wideSide->Frame()->BottomLine()->SetWidth(3);
    const QByteArray wide = contentOf(wideSide.get(), QStringLiteral("wide.pdf"));
    EXPECT_TRUE(wide.startsWith("q\n")) << wide.constData();
    EXPECT_TRUE(wide.contains("2.25 w\n")) << wide.constData();

    auto thin = memoView(QStringLiteral("Thin"), 0, 0, 100, 40);
    thin->Frame()->SetTyp(ftBottom);
    EXPECT_FALSE(contentOf(thin.get(), QStringLiteral("thin.pdf")).contains("W\nn\n"));
}

// Memos one after another set the font, colours and pen only where they
// change; a clipped memo's settings end with its Q, and the next memo
// starts from the state before it.
TEST_F(PDFPageContent, PenAndFontAreSetOnlyWhereTheyChange)
{
    std::vector<std::unique_ptr<TqvxMemoView>> memos;
    const QStringList texts = {QStringLiteral("Первая"), QStringLiteral("Second"),
                               QStringLiteral("A third line that runs far past its memo"), QStringLiteral("Fourth")};
    for (int i = 0; i < texts.size(); ++i) {
        memos.push_back(memoView(texts[i], 0, i * 30, 100, 20));
        memos.back()->Frame()->SetTyp(ftLeft | ftTop | ftRight | ftBottom);
    }
    memos[2]->SetWordWrap(false);
    memos[2]->Frame()->SetColor(clRed);
    memos[3]->Font()->SetColor(clBlue);
    QList<TqvxComponent *> page;
    for (const auto &memo : memos)
        page.append(memo.get());
    const QByteArray content = pageContent(exportChecked({page}, QStringLiteral("state.pdf")));
    EXPECT_EQ(content.count(" Tf\n"), 1) << content.constData();
    EXPECT_EQ(content.count("0.75 w\n"), 1) << content.constData();
    EXPECT_EQ(content.count("1.00 0.00 0.00 RG\n"), 1) << content.constData();
    EXPECT_EQ(content.count("0.00 0.00 1.00 rg\n"), 1) << content.constData();
    // Black text once; after the clipped memo black is in force again.
    EXPECT_EQ(content.count("0.00 0.00 0.00 rg\n"), 1) << content.constData();
    EXPECT_EQ(content.count("W\nn\n"), 1);
    QStringList lines = extractedLines(path(QStringLiteral("state.pdf")));
    EXPECT_EQ(lines.size(), 4);
    EXPECT_EQ(lines.value(0), texts[0]);
    EXPECT_EQ(lines.value(3), texts[3]);
}

// A memo's shadow borders are stroked with the pen in force outside the
// memos (here a line's), whatever an earlier memo set.
TEST_F(PDFPageContent, ShadowKeepsThePenOutsideTheMemos)
{
    TqvxLineView line;
    line.SetBounds(0, 100, 100, 0);
    line.Frame()->SetWidth(3);
    line.Frame()->SetStyle(fsDash);
    auto framed = memoView(QStringLiteral("Framed"), 0, 0, 100, 20);
    framed->Frame()->SetTyp(ftLeft | ftTop | ftRight | ftBottom);
    auto shadowed = memoView(QStringLiteral("Shadow"), 0, 30, 100, 30);
    shadowed->Frame()->SetDropShadow(true);
    const QByteArray content = pageContent(exportChecked({{&line, framed.get(), shadowed.get()}},
                                                         QStringLiteral("shadow.pdf")));
    const qsizetype shadow = content.indexOf("re\nB\n");
    ASSERT_GE(shadow, 0) << content.constData();
    const QByteArray before = content.left(shadow);
    // The frame of the first memo set a solid dash and 0.75; the shadow
    // goes back to the line's dash and width.
    EXPECT_GT(before.lastIndexOf("[18.00 ] 0 d\n"), before.lastIndexOf("[] 0 d\n")) << content.constData();
    EXPECT_GT(before.lastIndexOf("2.25 w\n"), before.lastIndexOf("0.75 w\n")) << content.constData();
}

TEST_F(PDFPageContent, EmptyMemoWritesNothingWithoutFillAndFrame)
{
    auto memo = memoView(QString(), 0, 0, 100, 20);
    EXPECT_EQ(contentOf(memo.get(), QStringLiteral("empty.pdf")), QByteArray());
}

TEST_F(PDFPageContent, HighlightColoursTheExportWithoutChangingTheView)
{
    auto memo = memoView(QStringLiteral("Warning"), 0, 0, 100, 20);
    memo->SetColor(clWhite);
    memo->Highlight()->SetActive(true);
    memo->Highlight()->SetColor(clRed);
    memo->Highlight()->Font()->SetColor(clBlue);
    const TColor fontColor = memo->Font()->Color();
    const QByteArray content = contentOf(memo.get(), QStringLiteral("highlight.pdf"));
    EXPECT_TRUE(content.contains("1.00 0.00 0.00 rg\n0.50")) << content.constData();
    EXPECT_TRUE(content.contains("0.00 0.00 1.00 rg\nBT")) << content.constData();
    EXPECT_EQ(memo->Color(), clWhite);
    EXPECT_EQ(memo->Font()->Color(), fontColor);
}

TEST_F(PDFPageContent, CJKFacesGetFakeBoldAndItalic)
{
    auto memo = memoView(QStringLiteral("abc"), 0, 0, 100, 20);
    memo->Font()->SetName(QStringLiteral("MS Gothic"));
    memo->Font()->SetStyle(TFontStyles(fsBold) | fsItalic);
    const QByteArray content = contentOf(memo.get(), QStringLiteral("cjk.pdf"));
    const QRegularExpression pattern(QStringLiteral("BT\n(\\S+) (\\S+) Td\n1 0 0.3333 1 \\1 \\2 Tm\n"
                                                    "2 Tr\n0.29 w\n0.00 0.00 0.00 RG\n\\(.+\\) Tj\nET\n0 Tr\n"),
                                     QRegularExpression::DotMatchesEverythingOption);
    EXPECT_TRUE(pattern.match(QString::fromLatin1(content)).hasMatch()) << content.constData();
}

// Every operator of a memo with a drop shadow, a fill, character spacing and
// both lines through its text, right-aligned.
TEST_F(PDFPageContent, DecoratedMemoWritesItsOperatorsExactly)
{
    auto memo = memoView(QStringLiteral("Zakaz"), 10, 20, 120, 30);
    memo->Frame()->SetTyp(TqvxFrameTypes(ftLeft) | ftTop | ftRight | ftBottom);
    memo->Frame()->SetDropShadow(true);
    memo->Frame()->SetShadowWidth(3);
    memo->SetColor(clYellow);
    memo->SetCharSpacing(2);
    memo->SetHAlign(haRight);
    memo->Font()->SetStyle(TFontStyles(fsUnderline) | fsStrikeout);
    memo->Font()->SetColor(clNavy);
    const QByteArray content = contentOf(memo.get(), QStringLiteral("decorated.pdf"));
    // The pen and colours as a page starts (black, solid, 1 point) are not
    // written again.
    const QByteArray expected("q\n7.25 803.14 91.50 24.00 re\nW\nn\n"
                              // the shadow
                              "95.75 803.89 2.25 20.25 re\nB\n"
                              "10.25 803.89 87.75 2.25 re\nB\n"
                              // the fill and the four sides
                              "1.00 1.00 0.00 rg\n8.00 806.14 87.75 20.25 re\nf\n0.75 w\n"
                              "q\n1 0 0 1 8.00 806.14 cm\n0 20.25 m 87.75 20.25 l 87.75 20.25 m 87.75 0 l "
                              "0 0 m 87.75 0 l 0 20.25 m 0 0 l S\nQ\n"
                              // the text, its underline and its strike-out
                              // 2 pixels of spacing are 12 layout units, 1.44 points
                              "/F0 10 Tf\n0.00 0.00 0.50 rg\n1.44 Tc\n"
                              "BT\n61.25 813.73 Td\n(\0=\0D\0N\0D\0]) Tj\nET\n"
                              "0.00 0.00 0.50 RG\n0.80 w\n61.25 812.53 m\n95.69 812.53 l\nS\n"
                              "61.25 816.53 m\n95.69 816.53 l\nS\n"
                              "Q\n",
                              419);;
    EXPECT_EQ(content.toStdString(), expected.toStdString());
}

TEST_F(PDFPageContent, RotatedMemoTurnsAboutItsCentre)
{
    auto memo = memoView(QStringLiteral("up"), 0, 0, 100, 40);
    memo->SetRotation(90);
    const QByteArray content = contentOf(memo.get(), QStringLiteral("rotated.pdf"));
    // cos 90 = 0, sin 90 = 1; the centre x is PX((10 * 0.8 + 100) / 2).
    EXPECT_TRUE(content.contains("0.00 1.00 -1.00 0.00 41.00 826.39 cm\n")) << content.constData();
    EXPECT_EQ(extractedLines(path(QStringLiteral("rotated.pdf"))), QStringList(QStringLiteral("up")));
}

TEST_F(PDFPageContent, EncryptedDocumentKeepsImagesAndLinksReadable)
{
    pdf.SetUserPassword(QStringLiteral("secret"));
    const auto bitmap = colouredBitmap(20, 20, qRgb(255, 255, 255), qRgb(0, 0, 255));
    auto picture = pictureView(*bitmap, 0, 0);
    picture->SetTransparent(true);
    picture->Hyperlink()->SetValue(QStringLiteral("https://example.com/"));
    const QString name = path(QStringLiteral("encrypted.pdf"));
    exportPages(pdf, {{picture.get()}}, name);
    EXPECT_EQ(qpdfComplaint(name, QStringLiteral("secret")).toStdString(), "");
    const QString list = toolOutput(QStringLiteral("pdfimages"),
                                    {QStringLiteral("-upw"), QStringLiteral("secret"), QStringLiteral("-list"), name});
    EXPECT_TRUE(list.contains(QStringLiteral("smask"))) << list.toStdString();
    const QString shown = toolOutput(QStringLiteral("qpdf"), {QStringLiteral("--password=secret"),
                                                             QStringLiteral("--qdf"), name, QStringLiteral("-")});
    EXPECT_TRUE(shown.contains(QStringLiteral("/URI (https://example.com/)"))) << shown.toStdString();
}

TEST_F(PDFPageContent, UnderlinesOfAFontWithoutHeightAreSkipped)
{
    auto memo = memoView(QStringLiteral("x"), 0, 0, 100, 40);
    memo->SetUnderlines(true);
    memo->SetLineSpacing(-1000);
    const QByteArray content = contentOf(memo.get(), QStringLiteral("underlines.pdf"));
    EXPECT_FALSE(content.contains(" l\nS\n"));
}

TEST_F(PDFPageContent, HatchedMemoIsDrawnAsAnImage)
{
    auto memo = memoView(QStringLiteral("Hatched"), 0, 0, 100, 20);
    memo->SetColor(clWhite);
    memo->SetBrushStyle(bsDiagCross);
    const QByteArray content = contentOf(memo.get(), QStringLiteral("hatched.pdf"));
    EXPECT_FALSE(content.contains("BT"));
    EXPECT_TRUE(content.contains("/Im0 Do"));
}

TEST_F(PDFPageContent, GradientAndGlassFillsLieUnderTheTextAsImages)
{
    auto glass = memoView(QStringLiteral("Glass"), 0, 0, 100, 20);
    glass->SetFillType(ftGlass);
    auto gradient = memoView(QStringLiteral("Gradient"), 0, 40, 100, 20);
    gradient->SetFillType(ftGradient);
    const QByteArray bytes = exportChecked({{glass.get(), gradient.get()}}, QStringLiteral("fills.pdf"));
    const QByteArray content = pageContent(bytes);
    EXPECT_LT(content.indexOf("/Im0 Do"), content.indexOf("BT"));
    EXPECT_EQ(content.count(" Do"), 2);
    EXPECT_FALSE(content.contains(" re\nf\n"));
    EXPECT_TRUE(content.contains("75.00 0 0 15.00 0.50 826.39 cm")) << content.constData();
    EXPECT_EQ(extractedLines(path(QStringLiteral("fills.pdf"))),
              QStringList({QStringLiteral("Glass"), QStringLiteral("Gradient")}));
}

// --- Lines, shapes, check boxes -------------------------------------------------------------

TEST(PDFArrowHead, LiesOnTheLineAtItsLengthWithSymmetricWings)
{
    const double lines[][4] = {{0, 0, 100, 0}, {0, 0, 0, 100}, {0, 100, 0, 0}, {10, 20, 110, 70}, {50, 50, -30, 90}};
    for (const auto &line : lines) {
        const TqvxPDFArrow a = qvxPDFArrowHead(line[0], line[1], line[2], line[3], 15, 4);
        EXPECT_NEAR(std::hypot(line[2] - a.BaseX, line[3] - a.BaseY), 15, 0.01);
        // The base lies between the ends, on the line.
        const double cross = (line[2] - line[0]) * (a.BaseY - line[1]) - (line[3] - line[1]) * (a.BaseX - line[0]);
        EXPECT_NEAR(cross, 0, 0.01);
        EXPECT_NEAR((a.Wing1X + a.Wing2X) / 2, a.BaseX, 1e-9);
        EXPECT_NEAR((a.Wing1Y + a.Wing2Y) / 2, a.BaseY, 1e-9);
        EXPECT_NEAR(std::hypot(a.Wing1X - a.BaseX, a.Wing1Y - a.BaseY), 4, 1e-9);
        const double dot = (a.Wing1X - a.BaseX) * (line[2] - line[0]) + (a.Wing1Y - a.BaseY) * (line[3] - line[1]);
        EXPECT_NEAR(dot, 0, 1e-6);
    }
}

TEST_F(PDFPageContent, LineWithSolidArrowsKeepsItsJoinInsideQ)
{
    TqvxLineView line;
    line.SetBounds(0, 0, 100, 0);
    line.SetArrowStart(true);
    line.SetArrowEnd(true);
    line.SetArrowSolid(true);
    const QByteArray content = contentOf(&line, QStringLiteral("line.pdf"));
    EXPECT_TRUE(content.startsWith("[] 0 d\n0 0 0 RG\n0.75 w\n0.50 841.39 m\n75.50 841.39 l\nS\n"))
        << content.constData();
    EXPECT_EQ(content.count("1 j\n0 0 0 rg\nb\nQ\n"), 2);
    EXPECT_EQ(content.count("q\n"), 2);
}

TEST_F(PDFPageContent, ShapesWriteTheirPaths)
{
    TqvxShapeView rectangle;
    rectangle.SetBounds(0, 0, 40, 20);
    EXPECT_EQ(contentOf(&rectangle, QStringLiteral("rect.pdf")),
              "[] 0 d\n0 0 0 RG\n0.75 w\n1 1 1 rg\n0.50 826.39 \n30.00 15.00 re\nS\n");

    TqvxShapeView ellipse;
    ellipse.SetBounds(0, 0, 40, 20);
    ellipse.SetShape(skEllipse);
    ellipse.SetColor(clRed);
    const QByteArray oval = contentOf(&ellipse, QStringLiteral("ellipse.pdf"));
    EXPECT_TRUE(oval.contains("1.00 0.00 0.00 rg\n30.50 833.89 m\n30.50 829.75 23.78 826.39 15.50 826.39 c\n"))
        << oval.constData();
    EXPECT_TRUE(oval.endsWith(" c\nB\n"));

    TqvxShapeView round;
    round.SetBounds(0, 0, 40, 20);
    round.SetShape(skRoundRectangle);
    const QByteArray rounded = contentOf(&round, QStringLiteral("round.pdf"));
    EXPECT_TRUE(rounded.contains("6.11 826.39 m\n24.89 826.39 l\n")) << rounded.constData();
    EXPECT_TRUE(rounded.endsWith(" c\nS\n"));
}

TEST_F(PDFPageContent, CheckBoxMarksFollowTheState)
{
    TqvxCheckBoxView box;
    box.SetBounds(0, 0, 20, 20);
    box.SetCheckStyle(csCheck);
    const QByteArray checked = contentOf(&box, QStringLiteral("check.pdf"));
    EXPECT_TRUE(checked.contains("1.50 w 2 J 3.50 833.89 m ")) << checked.constData();
    EXPECT_TRUE(checked.startsWith("q\n") && checked.endsWith("Q\n"));

    box.SetChecked(false);
    EXPECT_EQ(contentOf(&box, QStringLiteral("unchecked.pdf")), "");

    box.Frame()->SetTyp(ftLeft | ftTop | ftRight | ftBottom);
    const QByteArray empty = contentOf(&box, QStringLiteral("emptybox.pdf"));
    EXPECT_TRUE(empty.contains("\n 1.50 w 0.50 841.39 m ")) << empty.constData();
    EXPECT_FALSE(empty.contains(" S "));
}

// --- Images --------------------------------------------------------------------------------

TEST_F(PDFPageContent, PicturesAreWrittenOncePerPage)
{
    const auto bitmap = colouredBitmap(40, 30, qRgb(10, 200, 30), qRgb(200, 0, 0));
    auto first = pictureView(*bitmap, 0, 0);
    auto second = pictureView(*bitmap, 100, 0);
    auto third = pictureView(*bitmap, 0, 100);
    const QByteArray bytes = exportChecked({{first.get(), second.get()}, {third.get()}}, QStringLiteral("pics.pdf"));
    EXPECT_EQ(pageContent(bytes, 0).count("/Im0 Do"), 2);
    EXPECT_EQ(pageContent(bytes, 1).count("/Im1 Do"), 1);

    const QStringList rows = toolOutput(QStringLiteral("pdfimages"), {QStringLiteral("-list"), path(QStringLiteral("pics.pdf"))})
                                 .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    // pdfimages lists every use: three uses of two objects, one per page.
    ASSERT_EQ(rows.size(), 5) << rows.join(QLatin1Char('\n')).toStdString();
    QStringList objects;
    for (int i = 2; i < rows.size(); ++i) {
        const QStringList columns = rows[i].simplified().split(QLatin1Char(' '));
        EXPECT_EQ(columns.value(8), QStringLiteral("jpeg"));
        objects << columns.value(0) + QLatin1Char('/') + columns.value(10);
    }
    EXPECT_EQ(objects[0], objects[1]);
    EXPECT_NE(objects[1], objects[2]);

    // The JPEG itself: the bitmap's size plus one pixel at factor 1.
    const qsizetype at = bytes.indexOf("/Filter /DCTDecode");
    const qsizetype start = bytes.indexOf("stream\r\n", at) + 8;
    const int length = QRegularExpression(QStringLiteral("/Length (\\d+)"))
                           .match(QString::fromLatin1(bytes.mid(at, 200)))
                           .captured(1)
                           .toInt();
    const QImage decoded = DecodeJpeg(bytes.mid(start, length));
    EXPECT_EQ(decoded.width(), 41);
    EXPECT_EQ(decoded.height(), 31);
}

TEST_F(PDFPageContent, TransparentPictureHasASoftMaskZeroAtTheKeyColour)
{
    const auto bitmap = colouredBitmap(40, 30, qRgb(255, 255, 255), qRgb(0, 0, 255));
    auto view = pictureView(*bitmap, 0, 0);
    view->SetTransparent(true);
    const QByteArray bytes = exportChecked({{view.get()}}, QStringLiteral("masked.pdf"));
    const QString list = toolOutput(QStringLiteral("pdfimages"), {QStringLiteral("-list"), path(QStringLiteral("masked.pdf"))});
    EXPECT_TRUE(list.contains(QStringLiteral("smask"))) << list.toStdString();

    const qsizetype at = bytes.indexOf("/Matte[ 0 0 0]");
    const qsizetype start = bytes.indexOf("stream\r\n", at) + 8;
    const QByteArray alpha = bytes.mid(start, 41 * 31);
    EXPECT_EQ(uchar(alpha[0]), 0);                  // white: keyed out
    EXPECT_EQ(uchar(alpha[41 * 10 + 12]), 255);      // the blue spot
}

TEST_F(PDFPageContent, AlphaOfAPictureComesFromItsAlphaChannel)
{
    QImage image(20, 20, QImage::Format_ARGB32);
    image.fill(qRgba(0, 0, 0, 0));
    image.setPixel(5, 5, qRgba(255, 0, 0, 255));
    TBitmap bitmap;
    bitmap.SetImage(image);
    auto view = pictureView(bitmap, 0, 0);
    view->SetTransparent(true);
    view->SetTransparentColor(clNone);
    const QByteArray bytes = exportChecked({{view.get()}}, QStringLiteral("alpha.pdf"));
    const qsizetype at = bytes.indexOf("/Matte[ 0 0 0]");
    ASSERT_GE(at, 0);
    const QByteArray alpha = bytes.mid(bytes.indexOf("stream\r\n", at) + 8, 21 * 21);
    EXPECT_EQ(uchar(alpha[0]), 0);
    EXPECT_EQ(uchar(alpha[21 * 5 + 5]), 255);
}

TEST_F(PDFPageContent, BackgroundAndEmptyViewsAreNotDrawn)
{
    const auto bitmap = colouredBitmap(10, 10, qRgb(1, 2, 3), qRgb(4, 5, 6));
    auto background = pictureView(*bitmap, 0, 0);
    background->SetName(QStringLiteral("_pagebackground"));
    auto flat = pictureView(*bitmap, 0, 0);
    flat->SetHeight(0);
    EXPECT_EQ(contentOf(background.get(), QStringLiteral("background.pdf")), "");
    EXPECT_EQ(contentOf(flat.get(), QStringLiteral("flat.pdf")), "");
    pdf.SetBackground(true);
    EXPECT_TRUE(contentOf(background.get(), QStringLiteral("background2.pdf")).contains("Do"));
}

TEST_F(PDFPageContent, DrawingIntoABitmapKeepsTheFrameLines)
{
    const auto bitmap = colouredBitmap(10, 10, qRgb(1, 2, 3), qRgb(4, 5, 6));
    auto view = pictureView(*bitmap, 0, 0);
    view->Frame()->SetTyp(ftLeft);
    view->Frame()->SetWidth(3);
    view->Frame()->LeftLine()->SetWidth(5);
    contentOf(view.get(), QStringLiteral("frame.pdf"));
    EXPECT_EQ(view->Frame()->Width(), 3);
    EXPECT_EQ(view->Frame()->LeftLine()->Width(), 5);
    EXPECT_EQ(view->Frame()->TopLine()->Width(), 3);
}

// --- Rendering ------------------------------------------------------------------------------

TEST_F(PDFPageContent, RenderedPageShowsFillAndFrame)
{
    auto memo = memoView(QStringLiteral("Пример"), 100, 100, 200, 60);
    memo->SetColor(clLime);
    memo->Frame()->SetTyp(ftLeft | ftTop | ftRight | ftBottom);
    memo->Frame()->SetColor(clRed);
    memo->Frame()->SetWidth(3);
    exportChecked({{memo.get()}}, QStringLiteral("render.pdf"));
    const QImage page = renderedPage(path(QStringLiteral("render.pdf")), path(QStringLiteral("render")));
    ASSERT_FALSE(page.isNull());
    // Pixels of 96 dpi; the page's offsets are 0.5 points (2/3 pixel).
    EXPECT_EQ(page.pixel(250, 150), qRgb(0, 255, 0));
    EXPECT_EQ(page.pixel(200, 101), qRgb(255, 0, 0));
    EXPECT_EQ(page.pixel(101, 130), qRgb(255, 0, 0));
    EXPECT_EQ(page.pixel(50, 50), qRgb(255, 255, 255));
}

// --- Hyperlinks -----------------------------------------------------------------------------

TEST_F(PDFPageContent, HyperlinksBecomeLinkAnnotations)
{
    TestReport report(3);
    auto web = memoView(QStringLiteral("site"), 0, 0, 100, 20);
    web->Hyperlink()->SetValue(QStringLiteral("https://example.com/a(b)"));
    auto page = memoView(QStringLiteral("page 2"), 0, 40, 100, 20);
    page->Hyperlink()->SetKind(hkPageNumber);
    page->Hyperlink()->SetValue(QStringLiteral("2"));
    auto anchor = memoView(QStringLiteral("anchor"), 0, 80, 100, 20);
    anchor->Hyperlink()->SetKind(hkAnchor);
    anchor->Hyperlink()->SetValue(QStringLiteral("missing"));
    report.pages.anchors.insert(QStringLiteral("there"), {2, 100});
    const QByteArray bytes = exportChecked({{web.get(), page.get(), anchor.get()}, {}, {}}, QStringLiteral("links.pdf"),
                                           &report);
    EXPECT_TRUE(bytes.contains("/URI (https://example.com/a\\(b\\))"));
    EXPECT_TRUE(bytes.contains("/Rect [0.50 826.39 75.50 841.39]")) << bytes.constData();
    EXPECT_EQ(bytes.count("/Subtype /Link"), 2);

    anchor->Hyperlink()->SetValue(QStringLiteral("there"));
    const QByteArray linked = exportChecked({{anchor.get()}, {}, {}}, QStringLiteral("anchor.pdf"), &report);
    EXPECT_TRUE(linked.contains(" /XYZ null 766 null]")) << linked.constData();

    page->Hyperlink()->SetValue(QStringLiteral("two"));
    EXPECT_ANY_THROW(exportPages(pdf, {{page.get()}}, path(QStringLiteral("bad.pdf")), &report));
}

TEST(PDFPageInfo, TakesThePreparedPagesGeometry)
{
    TqvxReportPage page;
    page.SetPaperWidth(100);
    page.SetPaperHeight(200);
    page.SetLeftMargin(7);
    page.SetTopMargin(8);
    page.SetColor(clSilver);
    page.Frame()->SetTyp(ftLeft);
    page.Frame()->SetWidth(2);
    const TqvxPDFPageInfo info = qvxPDFPageInfo(&page);
    EXPECT_NEAR(info.Width, 100 * 3.77953, 0.5);
    EXPECT_NEAR(info.Height, 200 * 3.77953, 0.5);
    EXPECT_EQ(info.LeftMargin, 7);
    EXPECT_EQ(info.TopMargin, 8);
    EXPECT_EQ(info.Color, clSilver);
    EXPECT_TRUE(info.FrameHasSides);
    EXPECT_EQ(info.FrameWidth, 2);
}

// The second of three rows is highlighted: the highlight's font and fill
// reach the PDF for that row only.
TEST(PDFHighlight, AConditionalHighlightPrintsInThePDFAsOnScreen)
{
    // Other tests leave drawings of their own installed, or none.
    qvxInstallPDFPageDrawing(qvxPDFPageContent());
    TqvxReport report;
    report.EngineOptions()->SetNewSilentMode(simSilent);
    auto *page = new TqvxReportPage(&report);
    page->SetParent(&report);
    page->SetName(QStringLiteral("Page1"));
    auto *band = new TqvxMasterData(&report);
    band->SetParent(page);
    band->SetName(QStringLiteral("MasterData1"));
    band->SetHeight(40);
    band->SetRowCount(3);
    auto *memo = new TqvxMemoView(&report);
    memo->SetParent(band);
    memo->SetName(QStringLiteral("Memo1"));
    memo->SetBounds(0, 0, 200, 20);
    memo->SetText(QStringLiteral("Row [Line#]"));
    memo->Highlight()->SetCondition(QStringLiteral("<Line#> = 2"));
    memo->Highlight()->SetColor(clYellow);
    memo->Highlight()->Font()->SetColor(clRed);
    memo->Highlight()->Font()->SetStyle(fsBold);
    ASSERT_TRUE(report.PrepareReport()) << report.Errors()->Text().toStdString();

    QTemporaryDir dir;
    qvxInstallPDFPageDrawing(qvxPDFPageContent());
    TqvxPDFExport pdf;
    makeDeterministic(pdf, false);
    pdf.SetShowDialog(false);
    pdf.SetFileName(dir.filePath(QStringLiteral("highlight.pdf")));
    ASSERT_TRUE(report.Export(&pdf)) << report.Errors()->Text().toStdString();
    QFile file(pdf.FileName());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(bytes.count("1.00 1.00 0.00 rg\n"), 1) << bytes.constData();
    EXPECT_EQ(bytes.count("1.00 0.00 0.00 rg\nBT"), 1) << bytes.constData();
    EXPECT_TRUE(bytes.contains("/BaseFont /Liberation#20Sans,Bold")) << bytes.constData();
    EXPECT_EQ(extractedText(file.fileName()).simplified(), QStringLiteral("Row 1 Row 2 Row 3"));
}
