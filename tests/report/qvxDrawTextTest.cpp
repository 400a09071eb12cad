// Text layout with a table measurer: tag records, wrapping, hyphenation,
// heights, cuts and the drawing calls on a recording canvas.

#include "report/TableMeasurer.h"
#include "report/text/qvxDrawText.h"
#include "toolkit/graphics/RecordingCanvas.h"

#include <gtest/gtest.h>

namespace {

struct LayoutTest : ::testing::Test {
    LayoutTest()
    {
        font.SetName(QStringLiteral("Arial"));
        font.SetSize(10);
        font.SetColor(0);
        layout.SetFont(&font);
        layout.SetGaps(0, 0, 2);
        SetOptions();
    }

    void SetOptions(bool tags = true, bool wordBreak = false, int rotation = 0, bool wysiwyg = true)
    {
        layout.SetOptions(true, tags, false, wordBreak, true, wysiwyg, rotation);
    }

    // Lays the lines out in a box of width x height screen pixels, drawn at
    // deviceBox (the same box by default) and scale.
    void Lay(const QStringList &lines, int width, int height = 1000, TRect deviceBox = {}, double scale = 1)
    {
        const TRect box(0, 0, width, height);
        layout.SetDimensions(scale, scale, 1, box, deviceBox.IsEmpty() ? box : deviceBox);
        TWideStrings text;
        for (const QString &line : lines)
            text.Add(line);
        layout.SetText(&text);
    }

    QStringList Lines() const
    {
        QStringList result;
        for (int i = 0; i < layout.LineCount(); ++i)
            result.append(layout.Line(i));
        return result;
    }

    QList<int> Flags() const
    {
        QList<int> result;
        for (int i = 0; i < layout.LineCount(); ++i)
            result.append(layout.LineFlags(i));
        return result;
    }

    std::shared_ptr<TTableMeasurer> measurer = std::make_shared<TTableMeasurer>();
    TqvxDrawText layout{measurer};
    TFont font;
};

TEST_F(LayoutTest, SubscriptElementGivesThreeRecords)
{
    Lay({QStringLiteral("a<sub>2</sub>b")}, 500);
    ASSERT_EQ(Lines(), QStringList{QStringLiteral("a2b")});
    const TqvxHTMLTags &tags = layout.LineRecords(0);
    ASSERT_EQ(tags.size(), 3u);
    EXPECT_EQ(tags[0].Position, 1);
    EXPECT_TRUE(tags[0].Default);
    EXPECT_EQ(tags[1].Position, 7);
    EXPECT_EQ(tags[1].Size, 7);
    EXPECT_TRUE(tags[1].Small);
    EXPECT_EQ(tags[1].SubType, 1);
    EXPECT_EQ(tags[1].AddY, 1);
    EXPECT_FALSE(tags[1].Default);
    EXPECT_EQ(tags[2].Position, 14);
    EXPECT_EQ(tags[2].Size, 10);
    EXPECT_FALSE(tags[2].Small);
    EXPECT_FALSE(tags[2].Default);

    Lay({QStringLiteral("x<sup>2</sup>")}, 500);
    EXPECT_EQ(layout.LineRecords(0)[1].SubType, 2);
    EXPECT_EQ(layout.LineRecords(0)[1].AddY, 0);
}

TEST_F(LayoutTest, ColourElementsAndMalformedTags)
{
    Lay({QStringLiteral("<font color=\"#FF0000\">r</font>g<font color=red>R<FONT COLOR=\"#0000fF\">B")}, 500);
    ASSERT_EQ(Lines(), QStringList{QStringLiteral("rgRB")});
    const TqvxHTMLTags &tags = layout.LineRecords(0);
    EXPECT_EQ(tags[0].Color, clRed);
    EXPECT_EQ(tags[1].Color, clBlack);
    EXPECT_EQ(tags[2].Color, clRed);
    EXPECT_EQ(tags[3].Color, clBlue);

    // Data-driven text with broken elements lays out as plain text.
    const QStringList broken{QStringLiteral("<font color=\"#zz\">x"), QStringLiteral("<font color=nosuch>y"),
                             QStringLiteral("<font color=>z"), QStringLiteral("<font color=\"#12"),
                             QStringLiteral("<bogus>")};
    Lay(broken, 500);
    EXPECT_EQ(Lines(), broken);
}

TEST_F(LayoutTest, OnlyElementsGiveOneBlankAndTagsOffKeepText)
{
    Lay({QStringLiteral("<b></b>"), QString()}, 500);
    EXPECT_EQ(Lines(), (QStringList{QStringLiteral(" "), QStringLiteral(" ")}));
    EXPECT_EQ(layout.LineRecords(0).size(), 1u);
    EXPECT_EQ(layout.GetInBoundsText(), QStringLiteral("<b></b>\r\n \r\n"));

    SetOptions(false);
    Lay({QStringLiteral("<b>x")}, 500);
    EXPECT_EQ(Lines(), QStringList{QStringLiteral("<b>x")});
    for (const TqvxHTMLTag &tag : layout.LineRecords(0))
        EXPECT_TRUE(tag.Default);
}

TEST_F(LayoutTest, WrapsAfterLastFittingBlank)
{
    // 100 px = 625 units; every character advances 40.
    Lay({QStringLiteral("aaaa bbbb cccc dddd"), QStringLiteral("x")}, 100);
    EXPECT_EQ(Lines(), (QStringList{QStringLiteral("aaaa bbbb cccc"), QStringLiteral("dddd"), QStringLiteral("x")}));
    EXPECT_EQ(Flags(), (QList<int>{1, 2, 3}));
    EXPECT_EQ(layout.GetWrappedText(), QStringLiteral("aaaa bbbb cccc\r\ndddd\r\nx"));
    EXPECT_EQ(layout.LineRecords(1).front().Position, 16);
}

TEST_F(LayoutTest, BlankInsideNowrapIsNoBreak)
{
    Lay({QStringLiteral("aaaa bbbb<nowrap> cccc dddd</nowrap>")}, 100);
    EXPECT_EQ(Lines(), (QStringList{QStringLiteral("aaaa"), QStringLiteral("bbbb cccc dddd")}));
}

TEST_F(LayoutTest, WideCharacterStandsAloneAndLongWordsAreCut)
{
    measurer->table.insert(QLatin1Char('W'), 700);
    Lay({QStringLiteral("WW"), QString(20, QLatin1Char('a'))}, 100);
    EXPECT_EQ(Lines(), (QStringList{QStringLiteral("W"), QStringLiteral("W"), QString(15, QLatin1Char('a')),
                                    QString(5, QLatin1Char('a'))}));
    EXPECT_EQ(Flags(), (QList<int>{1, 2, 1, 2}));

    // A character outside the basic plane is never split.
    const QString clef = QString::fromUcs4(U"\U0001D11E");
    measurer->table.insert(clef.at(0), 700);
    Lay({clef + clef}, 100);
    EXPECT_EQ(Lines(), (QStringList{clef, clef}));
}

// A word longer than the line breaks after its last hyphen or slash that
// fits, as a line breaks at its last blank; only a word without one is cut
// where it overflows.
TEST_F(LayoutTest, LongWordsBreakAfterAHyphenOrASlash)
{
    Lay({QStringLiteral("aaaaaa-bbbbbbbbbbbb"), QStringLiteral("aaaa/bbbb/cccccccccc")}, 100);
    EXPECT_EQ(Lines(), (QStringList{QStringLiteral("aaaaaa-"), QStringLiteral("bbbbbbbbbbbb"),
                                    QStringLiteral("aaaa/bbbb/"), QStringLiteral("cccccccccc")}));
    EXPECT_EQ(Flags(), (QList<int>{1, 2, 1, 2}));
    EXPECT_EQ(layout.LineRecords(1).front().Position, 8);

    // A blank still comes first; the word after it breaks on its own line.
    Lay({QStringLiteral("xx aaaaaa-bbbbbbbbbbbb")}, 100);
    EXPECT_EQ(Lines(), (QStringList{QStringLiteral("xx"), QStringLiteral("aaaaaa-"), QStringLiteral("bbbbbbbbbbbb")}));

    // A leading hyphen, and one inside a nowrap element, are no break.
    Lay({QStringLiteral("-aaaaaaaaaaaaaaaaaa"), QStringLiteral("<nowrap>aaaaaa-</nowrap>bbbbbbbbbbbb")}, 100);
    EXPECT_EQ(Lines(), (QStringList{QStringLiteral("-aaaaaaaaaaaaaa"), QStringLiteral("aaaa"),
                                    QStringLiteral("aaaaaa-bbbbbbbb"), QStringLiteral("bbbb")}));
}

TEST_F(LayoutTest, ParagraphsOfAnyLength)
{
    // Far beyond the old fixed advance arrays.
    Lay({QString(40000, QLatin1Char('a'))}, 100);
    EXPECT_EQ(layout.LineCount(), 40000 / 15 + 1);
    EXPECT_EQ(layout.Line(layout.LineCount() - 1).size(), 40000 % 15);
}

TEST_F(LayoutTest, RussianHyphenation)
{
    SetOptions(true, true);
    // 35 px, 34 between the box's inner edges = 212 units: five letters fit.
    Lay({QStringLiteral("РАБОТА")}, 35);
    EXPECT_EQ(Lines(), (QStringList{QStringLiteral("РАБО-"), QStringLiteral("ТА")}));
    // A doubled consonant before a vowel is split.
    Lay({QStringLiteral("я ВАННА")}, 40);
    EXPECT_EQ(Lines(), (QStringList{QStringLiteral("я ВАН-"), QStringLiteral("НА")}));
    // "СТ-" has no vowel: no hyphen, the word is cut where it overflows.
    Lay({QStringLiteral("СТРАНА")}, 21);
    EXPECT_EQ(Lines(), (QStringList{QStringLiteral("СТР"), QStringLiteral("АНА")}));
    // A word far over 255 letters still breaks at the last place that fits.
    const QString longWord = QStringLiteral("БА").repeated(200);
    Lay({longWord}, 100);
    EXPECT_EQ(layout.Line(0), QStringLiteral("БА").repeated(7) + QStringLiteral("-"));

    SetOptions(true, false);
    Lay({QStringLiteral("я ВАННА")}, 40);
    EXPECT_EQ(Lines(), (QStringList{QStringLiteral("я"), QStringLiteral("ВАННА")}));
}

TEST_F(LayoutTest, HeightsAndRemainingSpace)
{
    Lay({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}, 100, 35);
    EXPECT_DOUBLE_EQ(layout.LineHeight(), 18);
    EXPECT_DOUBLE_EQ(layout.CalcHeight(), 54);
    // 35 + 1 holds two lines of 18 exactly.
    EXPECT_DOUBLE_EQ(layout.RemainingSpace(), 0.0001);
    Lay({QStringLiteral("a")}, 100, 40);
    EXPECT_DOUBLE_EQ(layout.RemainingSpace(), 5);
    Lay({QStringLiteral("a")}, 100, 10);
    EXPECT_DOUBLE_EQ(layout.RemainingSpace(), 0);

    layout.SetGaps(0, 0, -2);
    Lay({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}, 100, 35);
    EXPECT_DOUBLE_EQ(layout.CalcHeight(), 3 * 14 + 2);

    Lay({}, 100);
    EXPECT_DOUBLE_EQ(layout.CalcHeight(), 0);
    EXPECT_DOUBLE_EQ(layout.CalcWidth(), 0);
}

TEST_F(LayoutTest, NonPositiveLineHeightNeverDividesByZero)
{
    layout.SetGaps(0, 0, -16);
    Lay({QStringLiteral("a"), QStringLiteral("b")}, 100, 20);
    EXPECT_DOUBLE_EQ(layout.LineHeight(), 0);
    EXPECT_DOUBLE_EQ(layout.RemainingSpace(), 21);
    bool paraBreak = true;
    QString rest = QStringLiteral("x");
    layout.GetOutBoundsText(paraBreak, rest);
    EXPECT_FALSE(paraBreak);
    EXPECT_TRUE(rest.isEmpty());
    EXPECT_EQ(layout.LineCount(), 2);
}

TEST_F(LayoutTest, CalcWidthCountsIndentAndSpacing)
{
    layout.SetGaps(10, 0, 2);
    Lay({QStringLiteral("aaaa")}, 500);
    EXPECT_DOUBLE_EQ(layout.CalcWidth(), 160 / 6.25 + 10);
    // A pixel of spacing is 6 whole layout units after each glyph.
    layout.SetGaps(0, 1, 2);
    Lay({QStringLiteral("aaaa"), QStringLiteral("aa")}, 500);
    EXPECT_DOUBLE_EQ(layout.CalcWidth(), 160 / 6.25 + 4 * 6 / 6.25);
}

TEST_F(LayoutTest, CutReopensColourUnderlineItalicBold)
{
    const QString text = QStringLiteral("<font color=\"#ff0000\"><b>aaaa bbbb cccc dddd</b></font>");
    Lay({text, QStringLiteral("next")}, 60, 20);
    ASSERT_EQ(Lines(), (QStringList{QStringLiteral("aaaa bbbb"), QStringLiteral("cccc dddd"), QStringLiteral("next")}));
    bool paraBreak = false;
    QString rest;
    layout.GetOutBoundsText(paraBreak, rest);
    EXPECT_TRUE(paraBreak);
    EXPECT_EQ(rest, QStringLiteral("<font color=\"#ff0000\"><b>cccc dddd</b></font>\r\nnext\r\n"));
    EXPECT_EQ(layout.GetInBoundsText(), QStringLiteral("<font color=\"#ff0000\"><b>aaaa bbbb "));
    EXPECT_EQ(Lines(), QStringList{QStringLiteral("aaaa bbbb")});

    // A line of elements only is cut with its elements.
    SetOptions(true);
    Lay({QStringLiteral("x"), QStringLiteral("<b></b>")}, 60, 20);
    layout.GetOutBoundsText(paraBreak, rest);
    EXPECT_EQ(rest, QStringLiteral("<font color=\"#000000\"><b></b>\r\n"));

    Lay({QStringLiteral("<u><i><b>x</b></i></u>"), QStringLiteral("y")}, 60, 20);
    layout.GetOutBoundsText(paraBreak, rest);
    EXPECT_FALSE(paraBreak);
    EXPECT_EQ(rest, QStringLiteral("<font color=\"#000000\">y\r\n"));
}

TEST_F(LayoutTest, CutTellsTheLineItFallsInAndWhereInIt)
{
    const QString first = QStringLiteral("<font color=\"#ff0000\"><b>aaaa bbbb cccc dddd</b></font>");
    bool paraBreak = false;
    TqvxDrawText::Cut cut;
    Lay({QStringLiteral("x"), first, QStringLiteral("next")}, 60, 40);
    layout.GetOutBoundsText(paraBreak, cut);
    EXPECT_TRUE(paraBreak);
    EXPECT_EQ(cut.line, 1);
    EXPECT_EQ(first.mid(cut.offset), QStringLiteral("cccc dddd</b></font>"));
    EXPECT_EQ(cut.reopen, QStringLiteral("<font color=\"#ff0000\"><b>"));

    // A cut between lines falls at the start of the next one (an empty line
    // is laid out as a blank); no cut, at the count.
    SetOptions(false);
    Lay({QStringLiteral("x"), QStringLiteral("y"), QStringLiteral(""), QStringLiteral("z")}, 60, 40);
    layout.GetOutBoundsText(paraBreak, cut);
    EXPECT_FALSE(paraBreak);
    EXPECT_EQ(cut.line, 2);
    EXPECT_EQ(cut.offset, 0);
    EXPECT_TRUE(cut.reopen.isEmpty());
    EXPECT_EQ(layout.GetInBoundsText(), QStringLiteral("x\r\ny\r\n"));
    Lay({QStringLiteral("x")}, 60, 40);
    layout.GetOutBoundsText(paraBreak, cut);
    EXPECT_EQ(cut.line, 1);
}

TEST_F(LayoutTest, CutInsideHyphenatedWordKeepsEveryLetter)
{
    SetOptions(false, true);
    Lay({QStringLiteral("РАБОТА")}, 35, 20);
    bool paraBreak = false;
    QString rest;
    layout.GetOutBoundsText(paraBreak, rest);
    EXPECT_TRUE(paraBreak);
    EXPECT_EQ(layout.GetInBoundsText(), QStringLiteral("РАБО-"));
    EXPECT_EQ(rest, QStringLiteral("ТА\r\n"));

    Lay({QString(20, QLatin1Char('a'))}, 100, 20);
    layout.GetOutBoundsText(paraBreak, rest);
    EXPECT_EQ(layout.GetInBoundsText().size() + rest.size() - 2, 20);
}

TEST_F(LayoutTest, NegativeRotationWrapsToBoxHeight)
{
    SetOptions(true, false, -90);
    Lay({QStringLiteral("aaaa bbbb")}, 100, 30);
    EXPECT_EQ(Lines(), (QStringList{QStringLiteral("aaaa"), QStringLiteral("bbbb")}));
}

TEST(DistributeUnits, SpreadsFromTheMiddleAndNeverLeavesTheRange)
{
    std::vector<int> a(3, 0);
    TqvxDrawText::DistributeUnits(a, 0, 2, 1);
    EXPECT_EQ(a, (std::vector<int>{1, 0, 0}));
    a.assign(4, 0);
    TqvxDrawText::DistributeUnits(a, 0, 3, 1);
    EXPECT_EQ(a, (std::vector<int>{0, 1, 0, 0}));
    a.assign(4, 0);
    TqvxDrawText::DistributeUnits(a, 0, 3, -3);
    EXPECT_EQ(a, (std::vector<int>{-1, 0, -1, -1}));
    // More units than elements, and an empty range.
    a.assign(2, 0);
    TqvxDrawText::DistributeUnits(a, 0, 1, 7);
    EXPECT_EQ(a, (std::vector<int>{4, 3}));
    std::vector<int> none;
    TqvxDrawText::DistributeUnits(none, 0, -1, 5);
    EXPECT_TRUE(none.empty());
}

} // namespace
