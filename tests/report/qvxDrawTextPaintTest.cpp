// Drawing laid-out text: where each run goes, with which font and which
// advances, for every alignment and rotation range.

#include "report/TableMeasurer.h"
#include "report/text/qvxDrawText.h"
#include "toolkit/graphics/RecordingCanvas.h"

#include <gtest/gtest.h>

namespace {

struct DrawTest : ::testing::Test {
    DrawTest()
    {
        font.SetName(QStringLiteral("Arial"));
        font.SetSize(10);
        font.SetColor(0);
        layout.SetFont(&font);
        layout.SetGaps(0, 0, 2);
        Options();
    }

    void Options(int rotation = 0, bool wysiwyg = true)
    {
        layout.SetOptions(true, true, false, false, true, wysiwyg, rotation);
    }

    // Lays out in textBox (screen pixels) and draws into deviceBox.
    QList<TCanvasRecord> Draw(const QStringList &lines, const TRect &textBox, const TRect &deviceBox,
                              TqvxHAlign hAlign = haLeft, TqvxVAlign vAlign = vaTop, double scale = 1)
    {
        layout.SetDimensions(scale, scale, 1, textBox, deviceBox);
        TWideStrings text;
        for (const QString &line : lines)
            text.Add(line);
        layout.SetText(&text);
        TRecordingCanvas canvas;
        layout.DrawText(&canvas, hAlign, vAlign);
        return canvas.TextRecords();
    }

    static TPoint Origin(const TCanvasRecord &record) { return record.Bounds.TopLeft(); }

    std::shared_ptr<TTableMeasurer> measurer = std::make_shared<TTableMeasurer>();
    TqvxDrawText layout{measurer};
    TFont font;
};

// At scale 1 the device font is 13 pixels: 'a' advances 6, 6, 7, 6 (25
// for four), while the layout gives four of them 160 / 6.25 = 25.6 -> 26.
// Each character goes where the layout puts it (6.5, 13, 19.5, 26),
// rounded once (halves to even), so that no gap is two pixels wider than
// another.
TEST_F(DrawTest, WysiwygPlacesEachCharacterWhereTheLayoutPutsIt)
{
    const QList<TCanvasRecord> runs = Draw({QStringLiteral("aaaa")}, TRect(0, 0, 100, 50), TRect(10, 20, 110, 70));
    ASSERT_EQ(runs.size(), 1);
    EXPECT_EQ(runs[0].Text, QStringLiteral("aaaa"));
    EXPECT_EQ(Origin(runs[0]), TPoint(10, 20));
    EXPECT_EQ(runs[0].Advances, (QList<int>{6, 7, 7, 6}));
    EXPECT_EQ(runs[0].Font.Height, -13);
    EXPECT_EQ(runs[0].TextOptions, ETO_CLIPPED);

    Options(0, false);
    const QList<TCanvasRecord> plain = Draw({QStringLiteral("aaaa")}, TRect(0, 0, 100, 50), TRect(10, 20, 110, 70));
    EXPECT_EQ(plain[0].Advances, (QList<int>{6, 6, 7, 6}));
}

TEST_F(DrawTest, HorizontalAlignment)
{
    const TRect box(0, 0, 100, 50);
    const TRect device(10, 20, 110, 70);
    // The lines wrap 99 pixels wide: the last column of the box is outside.
    EXPECT_EQ(Origin(Draw({QStringLiteral("aaaa")}, box, device, haRight)[0]), TPoint(83, 20));
    EXPECT_EQ(Origin(Draw({QStringLiteral("aaaa")}, box, device, haCenter)[0]), TPoint(46, 20));
    font.SetStyle(fsBold);
    layout.SetFont(&font);
    EXPECT_EQ(Origin(Draw({QStringLiteral("aaaa")}, box, device, haRight)[0]), TPoint(82, 20));
}

TEST_F(DrawTest, JustifiedLineFillsItsBlanks)
{
    // Wrapped at 100 px; drawn 54 px wide: 10 units over 3 blanks.
    const QList<TCanvasRecord> runs = Draw({QStringLiteral("a a a a bbbbbbbbbbbbbbbbb")}, TRect(0, 0, 100, 100),
                                           TRect(0, 0, 54, 100), haBlock);
    ASSERT_EQ(runs.size(), 3);
    EXPECT_EQ(runs[0].Text, QStringLiteral("a a a a"));
    EXPECT_EQ(runs[0].Advances, (QList<int>{6, 6 + 4, 7, 6 + 3, 6, 6 + 3, 7}));
    // The last line of the paragraph is not stretched.
    EXPECT_EQ(runs[2].Text, QStringLiteral("bb"));
    EXPECT_EQ(runs[2].Advances, (QList<int>{6, 7}));
}

TEST_F(DrawTest, LineAdvancesCarryTheHeightCorrection)
{
    // At scale 1.2 the device font is 16 px high 19 per line, the layout
    // 19.2: one pixel goes to the second advance of four.
    layout.SetGaps(0, 0, 0);
    const QList<TCanvasRecord> runs =
        Draw({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d"), QStringLiteral("e")},
             TRect(0, 0, 100, 200), TRect(0, 0, 120, 240), haLeft, vaTop, 1.2);
    ASSERT_EQ(runs.size(), 5);
    QList<int> tops;
    for (const TCanvasRecord &run : runs)
        tops.append(run.Bounds.Top);
    EXPECT_EQ(tops, (QList<int>{0, 19, 39, 58, 77}));
}

TEST_F(DrawTest, VerticalAlignment)
{
    // One line is 18 px high in a 50 px box.
    const TRect box(0, 0, 100, 50);
    EXPECT_EQ(Origin(Draw({QStringLiteral("a")}, box, box, haLeft, vaBottom)[0]), TPoint(0, 32));
    EXPECT_EQ(Origin(Draw({QStringLiteral("a")}, box, box, haLeft, vaCenter)[0]), TPoint(0, 16));
    layout.SetGaps(0, 0, -2);
    // 14 px lines; a negative spacing reserves 4 more for bottom alignment.
    EXPECT_EQ(Origin(Draw({QStringLiteral("a")}, box, box, haLeft, vaBottom)[0]), TPoint(0, 32));
}

TEST_F(DrawTest, StartPointPerRotation)
{
    const TRect box(10, 20, 110, 70);
    struct Case {
        int rotation;
        TPoint first;
        TPoint second;
    };
    // Lines are 18 px apart, stepping along the rotated vertical.
    for (const Case &c : {Case{90, {10, 70}, {28, 70}}, Case{180, {110, 70}, {110, 52}},
                          Case{270, {110, 20}, {92, 20}}, Case{-90, {110, 20}, {92, 20}}}) {
        SCOPED_TRACE(c.rotation);
        Options(c.rotation);
        const QList<TCanvasRecord> runs = Draw({QStringLiteral("a"), QStringLiteral("b")}, box, box);
        ASSERT_EQ(runs.size(), 2);
        EXPECT_EQ(Origin(runs[0]), c.first);
        EXPECT_EQ(Origin(runs[1]), c.second);
        EXPECT_EQ(runs[0].Font.Orientation, ((c.rotation + 360) % 360) * 10);
    }
    // 30 degrees: the line is w = round((100 - 18 * 0.5) / cos 30) = 105
    // long and starts w * sin 30 = 52.5 -> 52 below the top.
    Options(30);
    EXPECT_EQ(Origin(Draw({QStringLiteral("a")}, box, box)[0]), TPoint(10, 72));
    // 120: w = round((100 - 18 * sin 60) / cos 60) = 169, from the bottom
    // edge at R.Left + round(169 * 0.5) = 10 + 84.
    Options(120);
    EXPECT_EQ(Origin(Draw({QStringLiteral("a")}, box, box)[0]), TPoint(94, 70));
    // 200: w = 100, from the right edge at R.Bottom - round(100 * sin 20).
    Options(200);
    EXPECT_EQ(Origin(Draw({QStringLiteral("a")}, box, box)[0]), TPoint(110, 36));
    // 300: from the top edge at R.Left + round(18 * sin 60).
    Options(300);
    EXPECT_EQ(Origin(Draw({QStringLiteral("a")}, box, box)[0]), TPoint(26, 20));
}

TEST_F(DrawTest, RunsSplitAtStyleChangesWithSubscriptShift)
{
    const QList<TCanvasRecord> runs =
        Draw({QStringLiteral("a<sub>2</sub><font color=\"#00ff00\">b</font>")}, TRect(0, 0, 100, 50),
             TRect(0, 0, 100, 50));
    ASSERT_EQ(runs.size(), 3);
    EXPECT_EQ(runs[0].Text, QStringLiteral("a"));
    EXPECT_EQ(runs[1].Text, QStringLiteral("2"));
    EXPECT_EQ(runs[1].Font.Height, -9);
    // Shifted down by its size in points times the scale.
    EXPECT_EQ(runs[1].Bounds.Top, 7);
    EXPECT_EQ(runs[1].Bounds.Left, runs[0].Bounds.Right);
    EXPECT_EQ(runs[2].Text, QStringLiteral("b"));
    EXPECT_EQ(runs[2].Bounds.Top, 0);
    EXPECT_EQ(runs[2].Font.Color, clLime);
    EXPECT_EQ(runs[2].Font.Height, -13);

    layout.ForceBlackText = true;
    EXPECT_EQ(Draw({QStringLiteral("<font color=red>r")}, TRect(0, 0, 100, 50), TRect(0, 0, 100, 50))[0].Font.Color,
              clBlack);
}

TEST_F(DrawTest, IndentOnParagraphStartsOnly)
{
    layout.SetGaps(10, 0, 2);
    const QList<TCanvasRecord> runs =
        Draw({QStringLiteral("aaaa bbbb cccc dddd")}, TRect(0, 0, 100, 100), TRect(0, 0, 100, 100));
    ASSERT_EQ(runs.size(), 2);
    EXPECT_EQ(Origin(runs[0]), TPoint(10, 0));
    EXPECT_EQ(Origin(runs[1]), TPoint(0, 18));
}

TEST_F(DrawTest, PrinterCanvasSizesFontsByItsResolution)
{
    // At 600 dots per inch the device font is the layout font itself.
    layout.SetDimensions(6.25, 6.25, 1, TRect(0, 0, 100, 50), TRect(0, 0, 625, 312));
    TWideStrings text;
    text.Add(QStringLiteral("aa<sub>2</sub>"));
    layout.SetText(&text);
    TRecordingCanvas canvas;
    canvas.SetIsPrinter(true);
    canvas.SetResolution(600, 600);
    layout.DrawText(&canvas, haLeft, vaTop);
    const QList<TCanvasRecord> runs = canvas.TextRecords();
    ASSERT_EQ(runs.size(), 2);
    EXPECT_EQ(runs[0].Font.Height, -83);
    EXPECT_EQ(runs[0].Advances, (QList<int>{40, 40}));
    // Two thirds of the size, shifted by its points times the scale.
    EXPECT_EQ(runs[1].Font.Height, -58);
    EXPECT_EQ(runs[1].Advances, (QList<int>{27}));
    EXPECT_EQ(runs[1].Bounds.Top, 44);
}

TEST_F(DrawTest, EmptyLayoutDrawsNothing)
{
    EXPECT_TRUE(Draw({}, TRect(0, 0, 100, 50), TRect(0, 0, 100, 50)).isEmpty());
}

} // namespace
