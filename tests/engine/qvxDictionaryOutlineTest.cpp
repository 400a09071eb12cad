#include "PreparedTestStore.h"

#include "engine/qvxDictionary.h"
#include "engine/qvxOutline.h"
#include "report/model/qvxComponent.h"
#include "report/xml/qvxXMLItem.h"
#include "toolkit/classes/Streams.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

TEST(qvxDictionary, UniqueNamesHalveThenCountUp)
{
    TqvxDictionary dictionary;
    EXPECT_EQ(dictionary.AddUnique("m", "Page0.Memo1", nullptr), "m1");
    for (int i = 2; i <= 700; ++i)
        dictionary.Add("m" + QString::number(i), "Page0.Memo" + QString::number(i), nullptr);
    EXPECT_EQ(dictionary.CreateUniqueName("m"), "m701");
    EXPECT_EQ(dictionary.CreateUniqueName("b"), "b1");
    EXPECT_EQ(dictionary.GetSourceName("m12"), "Page0.Memo12");
    EXPECT_EQ(dictionary.GetSourceName("x1"), QString());
    EXPECT_EQ(dictionary.GetObject(u"x1"), nullptr);
    // Names come out sorted, whatever the order they were added in.
    EXPECT_EQ(dictionary.Name(0), "m1");
    EXPECT_EQ(dictionary.Name(1), "m10");
}

TEST(qvxDictionary, LooksUpNamesAddedInAnyOrder)
{
    TqvxDictionary dictionary;
    std::vector<std::unique_ptr<TqvxComponent>> objects;
    for (int i = 300; i >= 1; --i) {
        objects.push_back(std::make_unique<TqvxComponent>(nullptr));
        dictionary.Add((i % 2 ? "m" : "b") + QString::number(i), "Page0.Object" + QString::number(i),
                       objects.back().get());
    }
    EXPECT_EQ(dictionary.GetObject(u"m1"), objects[299].get());
    EXPECT_EQ(dictionary.GetObject(u"b300"), objects[0].get());
    EXPECT_EQ(dictionary.GetSourceName("b2"), "Page0.Object2");
    EXPECT_EQ(dictionary.GetObject(u"m2"), nullptr);
    EXPECT_EQ(dictionary.GetObject(u"M1"), nullptr) << "names are case-sensitive";
    EXPECT_EQ(dictionary.GetObject(u""), nullptr);
    EXPECT_TRUE(dictionary.Contains("m299"));
    EXPECT_EQ(dictionary.Name(0), "b10");

    dictionary.Clear();
    EXPECT_EQ(dictionary.Count(), 0);
    EXPECT_EQ(dictionary.GetObject(u"m1"), nullptr);
    EXPECT_FALSE(dictionary.Contains("b2"));
    EXPECT_EQ(dictionary.AddUnique("m", "Page0.Memo1", nullptr), "m1");
    EXPECT_EQ(dictionary.GetSourceName("m1"), "Page0.Memo1");
}

class OutlineTest : public ::testing::Test
{
protected:
    TTestReport report;
    TTestPreparedStore store{&report};
    TqvxOutline *outline = store.PreparedOutline();

    QString outlineXML()
    {
        TqvxXMLItem *item = store.XMLDoc()->Root()->FindItem("outline");
        QString text;
        std::function<void(TqvxXMLItem *)> walk = [&](TqvxXMLItem *i) {
            for (int k = 0; k < i->Count(); ++k) {
                text += "<" + i->Items(k)->Text() + ">";
                walk(i->Items(k));
                text += "</>";
            }
        };
        walk(item);
        return text;
    }
};

TEST_F(OutlineTest, AddItemDescendsAndLevelUpStopsAtTheRoot)
{
    outline->LevelRoot();
    store.SetCurPage(0);
    outline->AddItem("Chapter & \"one\"", 10);
    outline->AddItem("Section", 25);
    outline->LevelUp();
    outline->LevelUp();
    outline->LevelUp();
    store.SetCurPage(2);
    outline->AddItem("Chapter two", 7);
    EXPECT_EQ(outlineXML(), "<text=\"Chapter &#38; &#34;one&#34;\" page=\"0\" top=\"10\">"
                            "<text=\"Section\" page=\"0\" top=\"25\"></></>"
                            "<text=\"Chapter two\" page=\"2\" top=\"7\"></>");

    outline->LevelRoot();
    ASSERT_EQ(outline->Count(), 2);
    QString text;
    int page = -5, top = -5;
    outline->GetItem(0, text, page, top);
    EXPECT_EQ(text, "Chapter & \"one\"");
    EXPECT_EQ(page, 0);
    EXPECT_EQ(top, 10);
    outline->LevelDown(0);
    EXPECT_EQ(outline->Count(), 1);
}

TEST_F(OutlineTest, ShiftItemsMovesEverythingAfterTheMarkToTheCurrentPage)
{
    outline->LevelRoot();
    store.SetCurPage(0);
    outline->AddItem("Before", 100);
    outline->LevelUp();
    TqvxXMLItem *mark = outline->GetCurPosition();
    outline->AddItem("Kept 1", 900);
    outline->AddItem("Child", 920);
    outline->LevelUp();
    outline->LevelUp();
    outline->AddItem("Kept 2", 950);
    outline->LevelUp();

    store.SetCurPage(1);
    outline->ShiftItems(mark, 40);
    EXPECT_EQ(outlineXML(), "<text=\"Before\" page=\"0\" top=\"100\"></>"
                            "<text=\"Kept 1\" page=\"1\" top=\"40\"><text=\"Child\" page=\"1\" top=\"60\"></></>"
                            "<text=\"Kept 2\" page=\"1\" top=\"90\"></>");

    // A run that started on an empty level takes the whole level along.
    outline->LevelDown(1);
    store.SetCurPage(2);
    outline->ShiftItems(nullptr, 5);
    outline->LevelRoot();
    EXPECT_EQ(outlineXML(), "<text=\"Before\" page=\"0\" top=\"100\"></>"
                            "<text=\"Kept 1\" page=\"1\" top=\"40\"><text=\"Child\" page=\"2\" top=\"5\"></></>"
                            "<text=\"Kept 2\" page=\"1\" top=\"90\"></>");
}

TEST_F(OutlineTest, AnchorsLaterNamesWinAndUnknownNamesGiveThePageOne)
{
    TRecordingEngine engine(&report);
    store.SetEngine(&engine);
    store.SetCurPage(0);
    engine.SetCurY(10.5);
    store.AddAnchor("Total");
    store.SetCurPage(3);
    engine.SetCurY(11.5);
    store.AddAnchor("total");
    TqvxXMLItem *anchors = store.XMLDoc()->Root()->FindItem("anchors");
    EXPECT_EQ(anchors->Items(0)->Text(), "text=\"Total\" page=\"0\" top=\"10\"");
    EXPECT_EQ(anchors->Items(1)->Text(), "text=\"total\" page=\"3\" top=\"12\"");
    EXPECT_EQ(store.GetAnchorPage("TOTAL"), 4);
    EXPECT_EQ(store.GetAnchorPage("missing"), 1);
    EXPECT_EQ(store.GetAnchorCurPosition(), 1);

    store.SetCurPage(4);
    store.ShiftAnchors(0, 30);
    EXPECT_EQ(anchors->Items(0)->Text(), "text=\"Total\" page=\"0\" top=\"10\"");
    EXPECT_EQ(anchors->Items(1)->Text(), "text=\"total\" page=\"4\" top=\"30\"");
    store.SetEngine(nullptr);
}
