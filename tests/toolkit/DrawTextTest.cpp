#include "toolkit/graphics/RecordingCanvas.h"

#include "common/TestSupport.h"

#include <gtest/gtest.h>

namespace {

// DrawText on a recording canvas: each drawn line is a text record with
// its bounds.
struct Recorder {
    TRecordingCanvas canvas;
    Recorder()
    {
        canvas.Font()->SetName(QStringLiteral("Arial"));
        canvas.Font()->SetHeight(-13);
    }
    QList<TCanvasRecord> lines() const { return canvas.TextRecords(); }
    int width(const QString &text) { return canvas.TextWidth(text); }
    int lineHeight() { return canvas.TextHeight(QStringLiteral("^j")); }
};

TEST(DrawText, AlignmentInsideTheMargins)
{
    Recorder r;
    const QString text = QStringLiteral("Order");
    TRect rect = Rect(10, 20, 110, 60);
    r.canvas.DrawText(text, rect, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX, 3, 5);
    r.canvas.DrawText(text, rect, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX, 3, 5);
    r.canvas.DrawText(text, rect, DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX, 3, 5);
    r.canvas.DrawText(text, rect, DT_SINGLELINE | DT_BOTTOM | DT_NOPREFIX);
    const QList<TCanvasRecord> lines = r.lines();
    ASSERT_EQ(lines.size(), 4);
    const int w = r.width(text);
    const int h = r.lineHeight();
    EXPECT_EQ(lines[0].Bounds, Bounds(13, 20, w, h));
    EXPECT_EQ(lines[1].Bounds.Right, 105);
    EXPECT_EQ(lines[2].Bounds.Left, 13 + (92 - w) / 2);
    EXPECT_EQ(lines[2].Bounds.Top, 20 + (40 - h) / 2);
    EXPECT_EQ(lines[3].Bounds.Bottom, 60);
    EXPECT_EQ(rect, Rect(10, 20, 110, 60)); // drawing leaves the rect alone
}

TEST(DrawText, WordBreakWrapsAtBlanksAndKeepsLongWordsWhole)
{
    Recorder r;
    const QString text = QStringLiteral("one two three Unbreakablewordthatiswide");
    const int width = r.width(QStringLiteral("one two")) + 2;
    TRect rect = Rect(0, 0, width, 500);
    const int height = r.canvas.DrawText(text, rect, DT_WORDBREAK | DT_NOPREFIX);
    const QList<TCanvasRecord> lines = r.lines();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0].Text, QStringLiteral("one two"));
    EXPECT_EQ(lines[1].Text, QStringLiteral("three"));
    EXPECT_EQ(lines[2].Text, QStringLiteral("Unbreakablewordthatiswide"));
    EXPECT_EQ(lines[1].Bounds.Top, r.lineHeight());
    EXPECT_EQ(height, 3 * r.lineHeight());
}

TEST(DrawText, LineBreaksStartNewLinesUnlessSingleLine)
{
    Recorder r;
    TRect rect = Rect(0, 0, 300, 300);
    r.canvas.DrawText(QStringLiteral("first\r\nsecond\nthird"), rect, DT_NOPREFIX);
    EXPECT_EQ(r.lines().size(), 3);
    r.canvas.Clear();
    r.canvas.DrawText(QStringLiteral("first\r\nsecond"), rect, DT_SINGLELINE | DT_NOPREFIX);
    ASSERT_EQ(r.lines().size(), 1);
    EXPECT_EQ(r.lines()[0].Text, QStringLiteral("firstsecond"));
}

TEST(DrawText, EndEllipsisCutsToTheWidth)
{
    Recorder r;
    const QString text = QStringLiteral("Moulded-case circuit breaker");
    const int width = r.width(text) / 2;
    TRect rect = Rect(0, 0, width, 20);
    r.canvas.DrawText(text, rect, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    ASSERT_EQ(r.lines().size(), 1);
    const QString shown = r.lines()[0].Text;
    EXPECT_TRUE(shown.endsWith(QStringLiteral("...")));
    EXPECT_TRUE(text.startsWith(shown.chopped(3)));
    EXPECT_LE(r.width(shown), width);
    EXPECT_GT(r.width(shown.chopped(3) + text[shown.size() - 3] + QStringLiteral("...")), width);

    r.canvas.Clear();
    r.canvas.DrawText(QStringLiteral("ZMT"), rect, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    EXPECT_EQ(r.lines()[0].Text, QStringLiteral("ZMT")); // what fits stays whole
}

TEST(DrawText, CalcRectMeasuresWithoutDrawing)
{
    Recorder r;
    TRect rect = Rect(5, 5, 6, 6);
    const int height = r.canvas.DrawText(QStringLiteral("Quantity"), rect, DT_CALCRECT | DT_SINGLELINE, 2, 3);
    EXPECT_TRUE(r.lines().isEmpty());
    EXPECT_EQ(rect, Rect(5, 5, 5 + 2 + r.width(QStringLiteral("Quantity")) + 3, 5 + r.lineHeight()));
    EXPECT_EQ(height, r.lineHeight());

    // Word-broken text: the rect narrows to its widest line, or widens to a
    // word that does not fit.
    TRect wrapped = Rect(0, 0, r.width(QStringLiteral("aaa bbb")) + 5, 0);
    r.canvas.DrawText(QStringLiteral("aaa bbb cc d"), wrapped, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(wrapped.Right, r.width(QStringLiteral("aaa bbb")));
    EXPECT_EQ(wrapped.Bottom, 2 * r.lineHeight());
    TRect narrow = Rect(0, 0, 10, 0);
    r.canvas.DrawText(QStringLiteral("Unbreakable"), narrow, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(narrow.Right, r.width(QStringLiteral("Unbreakable")));
}

TEST(DrawText, PrefixesAreRemovedUnlessNoPrefix)
{
    Recorder r;
    TRect rect = Rect(0, 0, 300, 40);
    r.canvas.DrawText(QStringLiteral("&Save && exit"), rect, DT_SINGLELINE);
    r.canvas.DrawText(QStringLiteral("&Save && exit"), rect, DT_SINGLELINE | DT_NOPREFIX);
    ASSERT_EQ(r.lines().size(), 2);
    EXPECT_EQ(r.lines()[0].Text, QStringLiteral("Save & exit"));
    EXPECT_EQ(r.lines()[1].Text, QStringLiteral("&Save && exit"));
}

} // namespace
