// Line breaks with the real font service: Arial resolves to Liberation Sans
// through the project's font configuration, measured with unhinted design
// advances.  The expected breaks were checked against the font's own
// advance table read independently.

#include "common/ScriptSamples.h"
#include "report/ArialLayout.h"

#include "report/text/qvxDrawText.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/FaceRuns.h"
#include "toolkit/graphics/FontEngine.h"

#include <QTextBoundaryFinder>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

TEST(LiberationSansBreaks, MixedCyrillicAndLatinParagraphs)
{
    EXPECT_EQ(Wrap(QStringLiteral("Автоматический выключатель ZMT-250 с номинальным током 200 А и отключающей "
                                  "способностью 35 кА."),
                   180),
              (QStringList{QStringLiteral("Автоматический"), QStringLiteral("выключатель ZMT-250 с"),
                           QStringLiteral("номинальным током 200 А и"), QStringLiteral("отключающей способностью"),
                           QStringLiteral("35 кА.")}));
    EXPECT_EQ(Wrap(QStringLiteral("The quick brown fox jumps over the lazy dog; Съешь же ещё этих мягких "
                                  "французских булок, да выпей чаю."),
                   250),
              (QStringList{QStringLiteral("The quick brown fox jumps over the lazy"),
                           QStringLiteral("dog; Съешь же ещё этих мягких"),
                           QStringLiteral("французских булок, да выпей чаю.")}));
    // The bold words are measured in Liberation Sans Bold.
    EXPECT_EQ(Wrap(QStringLiteral("<b>Опросный лист</b> на автоматические выключатели серии ZMR: расцепитель, "
                                  "дополнительные контакты, привод."),
                   120),
              (QStringList{QStringLiteral("Опросный лист"), QStringLiteral("на автоматические"),
                           QStringLiteral("выключатели"), QStringLiteral("серии ZMR:"), QStringLiteral("расцепитель,"),
                           QStringLiteral("дополнительные"), QStringLiteral("контакты, привод.")}));
}

// A line that fits is measured whole: its width must be the last of its
// extents, for plain Latin and Cyrillic as for text that needs shaping
// (combining marks, Greek, Hebrew, a character outside the BMP), and the
// lines must break where the extents say.
TEST(LiberationSansBreaks, AWholeLineMeasuresAsItsLastExtent)
{
    TqvxFontServiceMeasurer measurer;
    TFontData font;
    font.Name = QStringLiteral("Arial");
    font.Height = -83;
    std::vector<int> extents;
    for (const QString &line :
         {QStringLiteral("Строка 1.1: автоматический выключатель ZMT-250, rated current 16 A"),
          QStringLiteral("Cafe\u0301 \u00AD\t x"), QStringLiteral("Ωμέγα 250"), QStringLiteral("שלום ZMT"),
          QStringLiteral("ZMT \U0001F600 250"), QStringLiteral("i")}) {
        for (const TFontStyles style : {TFontStyles(), TFontStyles(fsBold | fsItalic)}) {
            font.Style = style;
            measurer.Extents(font, line, extents);
            EXPECT_EQ(measurer.Width(font, line), extents.back()) << line.toStdString();
        }
    }
    EXPECT_EQ(measurer.Width(font, QString()), 0);

    // The same paragraph in a box one pixel narrower than its width breaks.
    const QString paragraph = QStringLiteral("Опросный лист ZMT-250");
    font.Style = {};
    const int width = qRound(measurer.Width(font, paragraph) / TqvxDrawText::LayoutRatio);
    EXPECT_EQ(Wrap(paragraph, width + 2), QStringList{paragraph});
    EXPECT_EQ(Wrap(paragraph, width - 1), (QStringList{QStringLiteral("Опросный лист"), QStringLiteral("ZMT-250")}));
}

// The width of a text alone, found without laying it out, is what laying
// it out alone and measuring it gives, with and without character spacing,
// indent, wrapping, tags and turned boxes; the laid-out lines stay.  Text
// with elements, or too wide to stay on one line, is left to the layout.
TEST(LiberationSansBreaks, ATextAloneMeasuresAsLaidOutAlone)
{
    TFont font;
    font.SetName(QStringLiteral("Arial"));
    font.SetSize(10);
    const QString texts[] = {QStringLiteral("Опросный лист ZMT-250"), QStringLiteral("i"), QStringLiteral("a <b"),
                             QStringLiteral("Автоматический выключатель ZMT-250 с номинальным током 200 А")};
    for (const bool wrap : {true, false})
        for (const bool tags : {true, false})
            for (const int rotation : {0, 90})
                for (const double spacing : {0.0, 1.5, -3.0})
                    for (const double indent : {0.0, 7.0}) {
                        TqvxDrawText layout;
                        layout.SetFont(&font);
                        layout.SetOptions(wrap, tags, false, false, true, true, rotation);
                        layout.SetGaps(indent, spacing, 0);
                        const TRect box(0, 0, rotation ? 60 : 180, rotation ? 180 : 60);
                        layout.SetDimensions(1, 1, 1, box, box);
                        TWideStrings kept;
                        kept.Add(QStringLiteral("kept"));
                        layout.SetText(&kept);
                        for (const QString &text : texts) {
                            double alone = -1;
                            const bool found = layout.WidthAlone(text, alone);
                            EXPECT_EQ(layout.GetWrappedText(), QStringLiteral("kept"));
                            TWideStrings single;
                            single.Add(text);
                            layout.SetText(&single);
                            const int lines = layout.LineCount();
                            const double laidOut = layout.CalcWidth();
                            layout.SetText(&kept);
                            EXPECT_EQ(found, (!tags || !text.contains(QLatin1Char('<'))) && lines == 1
                                                 && (text.size() < 30 || !wrap))
                                << text.toStdString() << ' ' << wrap << tags << rotation << spacing << indent;
                            if (found) {
                                EXPECT_EQ(alone, laidOut) << text.toStdString();
                            }
                        }
                    }
}

// The width of a text in layout units at 10 points, each character taken
// with the first face that has it: Arial's own, else the first that
// fontconfig offers for it.
double WidthInItsFaces(const QString &text)
{
    const TFontFacePtr arial = TFontEngine::Face(QStringLiteral("Arial"), false, false);
    double width = 0;
    for (const QChar c : text) {
        TFontFacePtr face = arial;
        if (arial->GlyphIndex(c.unicode()) == 0)
            face = TFontEngine::CoveringFace(c.unicode(), false, false);
        width += double(face->NominalGlyph(c.unicode()).Advance) * (10 * 600 / 72.0) / face->UnitsPerEm();
    }
    return width;
}

// Characters Arial lacks are measured in the faces that show them, so that
// every line fits: Chinese (no blanks) breaks between its characters,
// Korean at its blanks, both also after Cyrillic; each line takes as much
// as fits, and the lines give back the whole text.
TEST(FallbackFaceBreaks, LinesOfStandInCharactersFitTheirBox)
{
    constexpr int box = 440;
    const double available = (box - 1) * 6.25;
    for (const QString &text :
         {QStringLiteral("电话").repeated(60),
          QStringLiteral("тел. ") + QStringLiteral("北京市朝阳区建国路88号 ").repeated(6)
              + QStringLiteral("тел. +7 (383) 555-01-23"),
          QStringLiteral("서울특별시 강남구 테헤란로 152 강남파이낸스센터 20층 구매부 ").repeated(3),
          QStringLiteral("Адрес: ") + QStringLiteral("東京都千代田区丸の内一丁目九番二号グラントウキョウ").repeated(3)}) {
        SCOPED_TRACE(text.toStdString());
        const QStringList lines = Wrap(text, box);
        ASSERT_GT(lines.size(), 1);
        qsizetype at = 0;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const QString &line = lines[i];
            EXPECT_LE(WidthInItsFaces(line), available + 2) << "line " << i << ": " << line.toStdString();
            ASSERT_EQ(text.mid(at, line.size()), line) << "line " << i;
            at += line.size();
            // A line broken between two ideographs or syllables would not
            // hold the next one.
            if (i + 1 < lines.size() && line.back().unicode() >= 0x2E80 && text.at(at).unicode() >= 0x2E80) {
                EXPECT_GT(WidthInItsFaces(line + text.at(at)), available - 2) << "line " << i;
            }
            while (at < text.size() && text.at(at) == QLatin1Char(' ') && i + 1 < lines.size())
                ++at;
        }
        EXPECT_EQ(at, text.size());
    }
}

// Drawn at twice the size, the laid-out line keeps its width: right-aligned
// ink ends at the box's right edge, and nothing is drawn outside the box.
TEST(LiberationSansDrawing, WysiwygLinesKeepTheirLaidOutWidth)
{
    TFont font;
    font.SetName(QStringLiteral("Arial"));
    font.SetSize(10);
    TqvxDrawText layout;
    layout.SetFont(&font);
    layout.SetOptions(true, false, false, false, true, true, 0);
    layout.SetGaps(0, 0, 2);
    const TRect box(0, 0, 150, 40);
    const TRect device(20, 10, 320, 90);
    layout.SetDimensions(2, 2, 1, box, device);
    TWideStrings text;
    text.Add(QStringLiteral("Опросный лист ZMT"));
    layout.SetText(&text);

    TBitmap bitmap;
    bitmap.SetSize(360, 120);
    bitmap.Canvas()->Brush()->SetColor(clWhite);
    bitmap.Canvas()->FillRect(TRect(0, 0, 360, 120));
    layout.DrawText(bitmap.Canvas(), haRight, vaTop);

    int left = 360, right = -1, outside = 0;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 360; ++x) {
            const TColor c = bitmap.Canvas()->Pixel(x, y);
            if ((c & 0xFF) > 128)
                continue;
            if (!device.Contains(x, y))
                ++outside;
            left = std::min(left, x);
            right = std::max(right, x);
        }
    EXPECT_EQ(outside, 0);
    EXPECT_GE(right, device.Right - 4);
    EXPECT_LT(left, device.Right - 150);
}

// Unclipped text turned by each right angle stays inside its box, from the
// corner the angle starts at.
TEST(LiberationSansDrawing, RotatedTextStaysInItsBox)
{
    TFont font;
    font.SetName(QStringLiteral("Arial"));
    font.SetSize(10);
    for (int rotation : {0, 90, 180, 270, 45}) {
        SCOPED_TRACE(rotation);
        TqvxDrawText layout;
        layout.SetFont(&font);
        layout.SetOptions(true, false, false, false, false, true, rotation);
        layout.SetGaps(0, 0, 2);
        const TRect box(40, 40, 160, 160);
        layout.SetDimensions(1, 1, 1, TRect(0, 0, 120, 120), box);
        TWideStrings text;
        text.Add(QStringLiteral("Лист ZMT"));
        text.Add(QStringLiteral("привод"));
        layout.SetText(&text);

        TBitmap bitmap;
        bitmap.SetSize(200, 200);
        bitmap.Canvas()->Brush()->SetColor(clWhite);
        bitmap.Canvas()->FillRect(TRect(0, 0, 200, 200));
        layout.DrawText(bitmap.Canvas(), haLeft, vaTop);
        int inside = 0, outside = 0;
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 200; ++x)
                if ((bitmap.Canvas()->Pixel(x, y) & 0xFF) < 128)
                    ++(box.Inflate(1, 1).Contains(x, y) ? inside : outside);
        EXPECT_GT(inside, 50);
        EXPECT_EQ(outside, 0);
    }
}

// A soft hyphen shows nothing and takes no room inside a line; where a line
// breaks at it, the line ends in a hyphen and is measured with it.
TEST(LiberationSansBreaks, ASoftHyphenShowsOnlyWhereTheLineBreaksAtIt)
{
    const QString shy = QStringLiteral("\u00AD");
    const QString word = QStringLiteral("Auto") + shy + QStringLiteral("matisierungs") + shy + QStringLiteral("technik");
    EXPECT_EQ(WidthAlone(word + QStringLiteral(" end")), WidthAlone(QStringLiteral("Automatisierungstechnik end")));
    EXPECT_EQ(Wrap(word, 300), QStringList{word});

    const QString text = (word + QLatin1Char(' ')).repeated(6);
    for (const int box : {60, 90, 120}) {
        SCOPED_TRACE(box);
        const QStringList lines = Wrap(text, box);
        ASSERT_GT(lines.size(), 1);
        QString joined;
        for (const QString &line : lines) {
            EXPECT_LE(WidthAlone(line), (box - 1) * 6.25 + 0.5) << line.toStdString();
            QString shown = line.trimmed();
            if (shown.endsWith(QLatin1Char('-')))
                shown.chop(1);
            joined += shown;
        }
        EXPECT_TRUE(lines.join(QString()).contains(QStringLiteral("-"))) << lines.join(QLatin1Char('|')).toStdString();
        QString expected = text;
        expected.remove(QLatin1Char(' '));
        QString unbroken = joined;
        unbroken.remove(shy);
        EXPECT_EQ(unbroken, expected.remove(shy));
    }
}

// A line broken inside an Arabic word is measured as it is drawn: the letter
// at the break takes its final form, much wider than the medial one the
// whole word gives it.  No line is wider than the box, and the lines give
// back the whole text.
TEST(FallbackFaceBreaks, LinesBrokenInsideArabicWordsFitAsTheyAreDrawn)
{
    for (const QString &text :
         {QStringLiteral("بيت").repeated(40),
          QStringLiteral("مؤسسة ") + QStringLiteral("الخليجللطاقةالكهربائيةوالصناعاتالهندسية").repeated(5)}) {
        for (const int box : {120, 311, 436}) {
            SCOPED_TRACE(box);
            const QStringList lines = Wrap(text, box);
            ASSERT_GT(lines.size(), 1);
            // The layout's width rounds to whole units.
            for (const QString &line : lines)
                EXPECT_LE(WidthAlone(line), (box - 1) * 6.25 + 0.5) << line.toStdString();
            QString joined = lines.join(QString());
            joined.remove(QLatin1Char(' '));
            QString expected = text;
            EXPECT_EQ(joined, expected.remove(QLatin1Char(' ')));
        }
    }
}

// Characters that show nothing draw nothing and take no room on any canvas
// (preview, printer), nor character spacing, which goes after each glyph
// drawn: a line with five of them inside a word, drawn at the preview's
// zoom with spacing 0, -1 and +2, looks as without them, and it wraps as
// without them.
TEST(LiberationSansDrawing, CharactersThatShowNothingDrawNothing)
{
    for (const double spacing : {0.0, -1.0, 2.0}) {
        SCOPED_TRACE(spacing);
        const auto draw = [spacing](const QString &line) {
            TBitmap bitmap;
            bitmap.SetSize(320, 80);
            bitmap.Canvas()->Brush()->SetColor(clWhite);
            bitmap.Canvas()->FillRect(TRect(0, 0, 320, 80));
            LayOut(line, 200, true, 1.5, spacing)->DrawText(bitmap.Canvas(), haLeft, vaTop);
            bitmap.Canvas()->ReleaseHandle();
            return bitmap.Image();
        };
        const QImage plain = draw(QStringLiteral("abcd end"));
        const QString words = QStringLiteral("Automatisierungstechnik ").repeated(5);
        for (const char16_t c : InvisibleCharacters()) {
            SCOPED_TRACE(int(c));
            const QString hidden(5, QChar(c));
            EXPECT_EQ(draw(QStringLiteral("ab") + hidden + QStringLiteral("cd end")), plain);
            QString withHidden = words;
            withHidden.replace(QStringLiteral("isierungs"), QStringLiteral("isie") + hidden + QStringLiteral("rungs"));
            QStringList lines = Wrap(withHidden, 200, spacing);
            for (QString &line : lines)
                line.remove(QChar(c));
            EXPECT_EQ(lines, Wrap(words, 200, spacing));
        }
    }
}

// Character spacing goes after each glyph that moves the pen on: a mark of
// no advance takes none, so letters with marks the face has no letter for
// measure as the letters alone.
TEST(LiberationSansDrawing, MarksTakeNoSpacing)
{
    for (const double spacing : {-1.0, 0.0, 2.0}) {
        SCOPED_TRACE(spacing);
        const auto width = [spacing](const QString &line) {
            return LayOut(line, 10000, false, 1, spacing)->CalcWidth();
        };
        EXPECT_DOUBLE_EQ(width(QStringLiteral("q\u0301x\u0330 q\u0323\u0307")), width(QStringLiteral("qx q")));
    }
}

// A line is drawn without the spacing after its last glyph.  With negative
// spacing that makes it wider than its advances add up to, and it still
// ends inside the box; with positive spacing its advances, the spacing
// after every glyph included, stay within the box.
TEST(LiberationSansBreaks, LinesWithSpacingEndInsideTheBox)
{
    const QString paragraph = QStringLiteral(
        "Automatisierungstechnik mit thermisch-magnetischem Ausl\u00f6ser, Hilfskontakten und "
        "Arbeitsstromausl\u00f6ser f\u00fcr 250 A; efficient baffled fjord quartz nymph vex "
        "\u0430\u0432\u0442\u043e\u043c\u0430\u0442\u0438\u0447\u0435\u0441\u043a\u0438\u0439 "
        "\u0432\u044b\u043a\u043b\u044e\u0447\u0430\u0442\u0435\u043b\u044c");
    for (const double spacing : {-1.0, -0.5, 2.0}) {
        const double trailing = TqvxDrawText::LaidOutSpacing(spacing) * 6.25;
        for (int width = 60; width <= 240; width += 3) {
            SCOPED_TRACE("spacing " + std::to_string(spacing) + " width " + std::to_string(width));
            const QStringList lines = Wrap(paragraph, width, spacing);
            ASSERT_GT(lines.size(), 1);
            for (const QString &line : lines) {
                const double summed = std::round(LayOut(line, 10000, false, 1, spacing)->CalcWidth() * 6.25);
                // The box in layout units, halves rounded to even.
                EXPECT_LE(spacing < 0 ? summed - trailing : summed, std::nearbyint((width - 1) * 6.25))
                    << line.toStdString();
            }
        }
    }
}

// A text exactly as wide as the wrap width as it is drawn (spacing
// included; negative spacing after its last glyph is not drawn) stays one
// line, and its width alone is found as the layout keeps it.
TEST(LiberationSansBreaks, ATextAsWideAsTheBoxIsMeasuredAlone)
{
    TFont font;
    font.SetName(QStringLiteral("Arial"));
    font.SetSize(10);
    int checked = 0;
    for (const double spacing : {0.0, -0.5, 1.0}) {
        for (int k = 1; k <= 40 && checked < 6; ++k) {
            const QString text = QStringLiteral("i").repeated(k) + QStringLiteral(" ZMT");
            // Its width in layout units, spacing included.
            const double width = LayOut(text, 10000, false, 1, spacing)->CalcWidth() * 6.25;
            const double drawn = width - std::min(0.0, TqvxDrawText::LaidOutSpacing(spacing) * 6.25);
            // The layout rounds halves to even.
            const int box = qRound(drawn / 6.25) + 1;
            if (std::nearbyint((box - 1) * 6.25) != std::nearbyint(drawn))
                continue;
            SCOPED_TRACE(text.toStdString() + " spacing " + std::to_string(spacing));
            ++checked;
            TqvxDrawText layout;
            layout.SetFont(&font);
            layout.SetOptions(true, false, false, false, true, true, 0);
            layout.SetGaps(0, spacing, 0);
            layout.SetDimensions(1, 1, 1, TRect(0, 0, box, 100), TRect(0, 0, box, 100));
            TWideStrings single;
            single.Add(text);
            layout.SetText(&single);
            EXPECT_EQ(layout.LineCount(), 1);
            double alone = -1;
            EXPECT_TRUE(layout.WidthAlone(text, alone));
            EXPECT_NEAR(alone * 6.25, width, 1e-6);
        }
    }
    EXPECT_GT(checked, 2);
}

// A paragraph in the named face and size laid out in a box width pixels
// wide, with hyphenation when asked.
std::unique_ptr<TqvxDrawText> LayOutIn(const QString &face, int size, const QString &paragraph, int width,
                                       bool wordBreak = false, bool wordWrap = true)
{
    TFont font;
    font.SetName(face);
    font.SetSize(size);
    auto layout = std::make_unique<TqvxDrawText>();
    layout->SetFont(&font);
    layout->SetOptions(wordWrap, true, false, wordBreak, true, true, 0);
    const TRect box(0, 0, width, 1000);
    layout->SetDimensions(1, 1, 1, box, box);
    TWideStrings text;
    text.Add(paragraph);
    layout->SetText(&text);
    return layout;
}

QStringList LinesOf(const TqvxDrawText &layout)
{
    QStringList lines;
    for (int i = 0; i < layout.LineCount(); ++i)
        lines.append(layout.Line(i));
    return lines;
}

// Every line of a paragraph in face and size, wrapped at each width, is no
// wider as drawn (laid out alone, as drawing measures it) than the box.
void ExpectLinesFitAsDrawn(const QString &face, int size, const QString &text, const QList<int> &widths,
                           bool wordBreak = false)
{
    for (const int width : widths) {
        const QStringList lines = LinesOf(*LayOutIn(face, size, text, width, wordBreak));
        for (const QString &line : lines) {
            const double drawn = LayOutIn(face, size, line, 100000, false, false)->CalcWidth();
            // The layout rounds the extents it adds up to whole units.
            EXPECT_LE(drawn, width - 1 + 0.1) << face.toStdString() << " " << size << " in " << width << ": \""
                                               << line.toStdString() << "\" of " << lines.size() << " lines: "
                                               << lines.join(QLatin1Char('|')).toStdString();
        }
    }
}

QList<int> Widths(int from, int to, int step)
{
    QList<int> widths;
    for (int width = from; width <= to; width += step)
        widths.append(width);
    return widths;
}

// A line that begins inside an Arabic word, where its first letter takes
// its initial form, and ends at a blank is measured as it is drawn: the
// rest of the word and the words after it fit the box.
TEST(FallbackFaceBreaks, LinesStartingInsideArabicWordsFitAsTheyAreDrawn)
{
    // In the stand-in face (DejaVu Sans) ain and heh are wider at a word's
    // start than inside it.
    // The words after them are Arabic or Latin.
    const QString text = QStringLiteral("عهعهعهعهعهعهعهعهعهعهعهعهعهعهعهعهعهعهعهعه عه هع عهع هعه عه ع "
                                        "مؤسسة الخليجللطاقةالكهربائيةوالصناعاتالهندسية في الرياض "
                                        "هعهعهعهعهعهعهعهعهعهعهعهعهعهعهعهعهعهعهعهعهع ab cd efg hi jk lm no pq")
                             .repeated(2);
    ExpectLinesFitAsDrawn(QStringLiteral("Arial"), 10, text, Widths(60, 400, 3));
    ExpectLinesFitAsDrawn(QStringLiteral("DejaVu Sans"), 12, text, Widths(60, 400, 3));
}

// A blank right after a character the shaper drops (a direction mark, a
// zero-width space, a soft hyphen), where the face or the direction
// changes, takes its room in the line being wrapped; the hyphen a word
// break adds takes its own.
TEST(FallbackFaceBreaks, LinesWithCharactersTheShaperDropsFitAsTheyAreDrawn)
{
    ExpectLinesFitAsDrawn(QStringLiteral("Arial"), 41, QStringLiteral("a-M\u05D0\u200E i"), Widths(60, 200, 4));
    EXPECT_EQ(LinesOf(*LayOutIn(QStringLiteral("Arial"), 41, QStringLiteral("a-M\u05D0\u200E i"), 100)),
              (QStringList{QStringLiteral("a-"), QStringLiteral("M\u05D0\u200E"), QStringLiteral("i")}));
    ExpectLinesFitAsDrawn(QStringLiteral("Arial"), 41, QStringLiteral("a-M\u30AB\u200B i"), Widths(60, 200, 4));
    ExpectLinesFitAsDrawn(QStringLiteral("Courier New"), 41, QStringLiteral("a\u00ADM\u30AB\u00AD \u0647"),
                          Widths(60, 200, 4));
    ExpectLinesFitAsDrawn(QStringLiteral("DejaVu Sans"), 20,
                          QStringLiteral("\uC11C\uC6B8\u200E \uAC15\uB0A8\u200F \u05E9\u05DC\u05D5\u05DD\u200E "
                                         "abc\u2060 \u0645\u0631\u062D\u0628\u0627\u200E x"),
                          Widths(40, 300, 5));
    ExpectLinesFitAsDrawn(QStringLiteral("Arial"), 16, QStringLiteral("gaa,aaабш,а"), Widths(40, 120, 1), true);
    ExpectLinesFitAsDrawn(QStringLiteral("Arial"), 10,
                          QStringLiteral("Автоматический выключатель с номинальным током и отключающей способностью"),
                          Widths(40, 200, 1), true);
}

// A grapheme cluster (an emoji sequence with its joiners, a flag, a keycap,
// a skin tone, a letter with its marks) is never broken: one wider than the
// line stands on a line of its own, whole, and no line holds only
// characters that show nothing.  The lines give back the text.
TEST(FallbackFaceBreaks, AClusterIsNeverBrokenAndNoLineShowsNothing)
{
    // Whatever face shows it, the family is wider than 8 pixels.
    const QString family = QStringLiteral("\U0001F468\u200D\U0001F469\u200D\U0001F467\u200D\U0001F466");
    EXPECT_EQ(LinesOf(*LayOutIn(QStringLiteral("Arial"), 10, family + QStringLiteral(" x"), 9)),
              (QStringList{family, QStringLiteral("x")}));

    QStringList joined;
    for (int i = 0; i < 300; ++i)
        joined.append(QStringLiteral("\U0001F468"));
    const QString samples[] = {
        family.repeated(6),
        (family + QStringLiteral(" ")).repeated(4),
        QStringLiteral("\U0001F3F3\uFE0F\u200D\U0001F308 1\uFE0F\u20E3\U0001F44D\U0001F3FD\U0001F1E9\U0001F1EA"
                       "\U0001F1EB\U0001F1F7a\u034F\u0301b\u200B\u200E")
            .repeated(4),
        QStringLiteral("x\u200E \u200B") + family + QStringLiteral("\u200D\u200B"),
        joined.join(QChar(0x200D)) + QStringLiteral(" x"),
    };
    for (const QString &text : samples) {
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
        for (const int width : {7, 20, 40, 60, 90}) {
            const QStringList lines = LinesOf(*LayOutIn(QStringLiteral("Arial"), 10, text, width));
            const std::string all = lines.join(QLatin1Char('|')).toStdString();
            qsizetype at = 0;
            for (const QString &line : lines) {
                // A blank the line before broke at is not shown.
                if (text.mid(at, line.size()) != line && text.at(at) == QLatin1Char(' '))
                    ++at;
                ASSERT_EQ(text.mid(at, line.size()), line) << width << ": " << all;
                finder.setPosition(at);
                EXPECT_TRUE(finder.isAtBoundary()) << width << ": a line starts inside a cluster: " << all;
                int length = 1;
                bool shows = false;
                for (qsizetype k = 0; k < line.size(); k += length)
                    shows = shows || !ShowsNothing(CharacterAt(line, k, length));
                EXPECT_TRUE(shows) << width << ": a line shows nothing: " << all;
                at += line.size();
            }
            EXPECT_EQ(at, text.size()) << width << ": " << all;
        }
    }
    EXPECT_LE(LayOutIn(QStringLiteral("Arial"), 10, samples[4], 100)->LineCount(), 2);
}

} // namespace
