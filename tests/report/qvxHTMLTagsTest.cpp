#include "report/text/qvxHTMLTags.h"

#include <gtest/gtest.h>

namespace {

TqvxHTMLTags expand(QString &line, bool allowTags)
{
    TqvxHTMLTagsList tags;
    tags.AllowTags = allowTags;
    tags.Init(clBlack, 10, {});
    tags.ExpandHTMLTags(line);
    EXPECT_EQ(tags.Items.size(), 1u);
    return tags.Items.back();
}

} // namespace

// Each character left keeps its place in the text as held and whether it
// draws like the one before; a '<' that starts no element is text.
TEST(HTMLTags, EveryCharacterHasItsRecordAroundElements)
{
    QString line = QStringLiteral("ab<b>cd</b>e<x f");
    const TqvxHTMLTags records = expand(line, true);
    EXPECT_EQ(line, QStringLiteral("abcde<x f"));
    ASSERT_EQ(records.size(), size_t(line.size()));
    const int positions[] = {1, 2, 6, 7, 12, 13, 14, 15, 16};
    const bool defaults[] = {true, true, false, true, false, true, true, true, true};
    for (int i = 0; i < line.size(); ++i) {
        EXPECT_EQ(records[i].Position, positions[i]) << i;
        EXPECT_EQ(records[i].Default, defaults[i]) << i;
        EXPECT_EQ(records[i].Style.testFlag(fsBold), i == 2 || i == 3) << i;
    }
}

TEST(HTMLTags, WithoutTagsTheTextStaysWhole)
{
    QString line = QStringLiteral("a<b>c");
    const TqvxHTMLTags records = expand(line, false);
    EXPECT_EQ(line, QStringLiteral("a<b>c"));
    ASSERT_EQ(records.size(), 5u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(records[i].Position, i + 1);
        EXPECT_TRUE(records[i].Default);
        EXPECT_FALSE(records[i].Style.testFlag(fsBold));
    }

    // A line without elements keeps its text with tags on as well, and
    // its records continue the positions of the lines before.
    TqvxHTMLTagsList list;
    list.Init(clBlack, 10, fsBold);
    list.NewLine();
    QString first = QStringLiteral("ab");
    list.ExpandHTMLTags(first);
    list.Position += 2;
    list.NewLine();
    QString second = QStringLiteral("cde");
    list.ExpandHTMLTags(second);
    EXPECT_EQ(second, QStringLiteral("cde"));
    ASSERT_EQ(list.Items.size(), 2u);
    ASSERT_EQ(list.Items[1].size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(list.Items[1][size_t(i)].Position, 5 + i);
        EXPECT_TRUE(list.Items[1][size_t(i)].Style.testFlag(fsBold));
        EXPECT_TRUE(list.Items[1][size_t(i)].Default);
    }
    EXPECT_EQ(list.Position, 8);

    QString onlyElements = QStringLiteral("<b></b>");
    const TqvxHTMLTags blank = expand(onlyElements, true);
    EXPECT_EQ(onlyElements, QStringLiteral(" "));
    ASSERT_EQ(blank.size(), 1u);
    EXPECT_EQ(blank[0].Position, 1);
}
