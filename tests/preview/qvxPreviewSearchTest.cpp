// Finding text in the runs a page draws.

#include "preview/qvxPreviewSearch.h"

#include <gtest/gtest.h>

namespace {

TCanvasRecords runs(const QStringList &texts)
{
    TRecordingCanvas canvas;
    int y = 0;
    for (const QString &text : texts) {
        canvas.FillRect(Rect(0, y, 5, y + 5));
        canvas.TextOut(10, y, text);
        y += 20;
    }
    return canvas.Records();
}

} // namespace

TEST(PreviewSearch, IgnoresCaseUnlessAsked)
{
    const TCanvasRecords records = runs({"Total ABC", "abc again"});
    TRect found;
    EXPECT_EQ(qvxFindTextRecord(records, "abc", false, -1, found), 1);
    EXPECT_EQ(found.Top, 0);
    EXPECT_EQ(qvxFindTextRecord(records, "abc", true, -1, found), 3);
    EXPECT_EQ(found.Top, 20);
}

TEST(PreviewSearch, NextHitStartsAfterTheLastOne)
{
    const TCanvasRecords records = runs({"one", "two one", "three"});
    TRect found;
    const int first = qvxFindTextRecord(records, "one", false, -1, found);
    const int second = qvxFindTextRecord(records, "one", false, first, found);
    EXPECT_GT(second, first);
    EXPECT_EQ(found.Top, 20);
    EXPECT_EQ(qvxFindTextRecord(records, "one", false, second, found), -1);
}

TEST(PreviewSearch, FindsAnyCharacterInUnicode)
{
    const TCanvasRecords records = runs({"Счёт № 5", "Ελλάδα", "價格 €"});
    TRect found;
    EXPECT_EQ(qvxFindTextRecord(records, "СЧЁТ", false, -1, found), 1);
    // Greek and Chinese have no place in the Cyrillic code page.
    EXPECT_EQ(qvxFindTextRecord(records, "ΕΛΛΆΔΑ", false, -1, found), 3);
    EXPECT_EQ(qvxFindTextRecord(records, "價格", false, -1, found), 5);
    EXPECT_EQ(qvxFindTextRecord(records, "", false, -1, found), -1);
}
