// Finding text in the runs a page draws or its objects hold.

#include "preview/qvxPreviewSearch.h"

#include <gtest/gtest.h>

namespace {

// One run per text, each on a line of its own, 20 pixels apart.
TqvxTextRuns drawn(const QStringList &texts)
{
    TRecordingCanvas canvas;
    int y = 0;
    for (const QString &text : texts) {
        canvas.FillRect(Rect(0, y, 5, y + 5));
        canvas.TextOut(10, y, text);
        y += 20;
    }
    return qvxRecordedRuns(canvas.Records());
}

QList<int> tops(const QList<TRect> &rects)
{
    QList<int> result;
    for (const TRect &r : rects)
        result << r.Top;
    return result;
}

} // namespace

TEST(PreviewSearch, IgnoresCaseUnlessAskedAndFindsEveryHitInReadingOrder)
{
    const TqvxTextRuns runs = drawn({"Total ABC", "abc again", "one ABC and abc"});
    EXPECT_EQ(tops(qvxFindInRuns(runs, "abc", false)), QList<int>({0, 20, 40, 40}));
    EXPECT_EQ(tops(qvxFindInRuns(runs, "abc", true)), QList<int>({20, 40}));
}

TEST(PreviewSearch, FindsAnyCharacterInUnicode)
{
    const TqvxTextRuns runs = drawn({"Счёт № 5", "Ελλάδα", "價格 €"});
    EXPECT_EQ(tops(qvxFindInRuns(runs, "СЧЁТ", false)), QList<int>({0}));
    // Greek and Chinese have no place in the Cyrillic code page.
    EXPECT_EQ(tops(qvxFindInRuns(runs, "ΕΛΛΆΔΑ", false)), QList<int>({20}));
    EXPECT_EQ(tops(qvxFindInRuns(runs, "價格", false)), QList<int>({40}));
    EXPECT_TRUE(qvxFindInRuns(runs, "", false).isEmpty());
}

TEST(PreviewSearch, APhraseSplitOverRunsOfOneLineIsFoundButNotOneOverTwoLines)
{
    // Two objects side by side (the second a little lower, its text of
    // another size), and a third on the next line.
    const TqvxTextRuns runs = {{"выключатель", Rect(300, 102, 400, 118)},
                               {"Автоматический ", Rect(100, 100, 290, 120)},
                               {"ZMT-250", Rect(100, 130, 190, 150)}};
    const QList<TRect> hits = qvxFindInRuns(runs, "автоматический  выключатель", false);
    ASSERT_EQ(hits.size(), 1);
    // The hit covers both runs.
    EXPECT_EQ(hits[0].Left, 100);
    EXPECT_EQ(hits[0].Right, 400);
    EXPECT_EQ(hits[0].Top, 100);
    EXPECT_EQ(hits[0].Bottom, 120);
    EXPECT_TRUE(qvxFindInRuns(runs, "выключатель ZMT", false).isEmpty());
    // Line breaks inside one object's text compare as blanks.
    EXPECT_EQ(qvxFindInRuns({{"rated\r\ncurrent", Rect(0, 0, 50, 40)}}, "rated current", false).size(), 1);
}
