#include "PreparedTestStore.h"

#include "report/base/TWideStrings.h"
#include "report/xml/qvxXMLItem.h"

#include <gtest/gtest.h>

class PreparedStoreTest : public ::testing::Test
{
protected:
    TTestReport report;
    TTestPreparedStore store{&report};
    TTemplatePage templ;

    TqvxXMLItem *pageItem(int index) { return store.PagesItem()->Items(index); }
};

TEST_F(PreparedStoreTest, EmptyStoreAnswersNothing)
{
    EXPECT_EQ(store.Count(), 0);
    EXPECT_EQ(store.GetPageObject(0), nullptr);
    EXPECT_EQ(store.GetPageSize(0), TPoint(0, 0));
    store.DeletePage(0);
    store.AddEmptyPage(0);
    EXPECT_EQ(store.Count(), 0);
    EXPECT_EQ(store.CurPage(), -1);
}

TEST_F(PreparedStoreTest, ObjectsAreStoredAsDifferencesAndRebuiltWhole)
{
    FillStore(store, templ, 2, 2);
    ASSERT_EQ(store.Count(), 2);
    EXPECT_EQ(pageItem(0)->Name(), "page0");
    // The copies are named by base letter: bands b, memos from their class.
    EXPECT_EQ(templ.header->DictionaryName(), "b1");
    EXPECT_EQ(store.Dictionary()->GetSourceName(templ.memo1->DictionaryName()), "Page0.Memo1");
    // The fixed memo has no differences of its own; the data band's top
    // and the first memo's text have.
    const TqvxXMLItem *row = pageItem(0)->Items(1);
    EXPECT_EQ(row->Name(), templ.data->DictionaryName());
    EXPECT_TRUE(row->Text().contains("t=\"40\""));
    EXPECT_TRUE(row->Items(0)->Text().contains("Row 1"));
    EXPECT_FALSE(row->Items(1)->Text().contains("Fixed"));

    EXPECT_EQ(DescribePage(store, 1),
              QStringList({"Page1 0,0", "  PageHeader1 0,0", "  MasterData1 0,40", "    Memo1 0,0 \"Row 3\"",
                           "    Memo2 200,0 \"Fixed\"", "  MasterData1 0,60", "    Memo1 0,0 \"Row 4\"",
                           "    Memo2 200,0 \"Fixed\"", "  PageFooter1 0,1000"}));
    EXPECT_EQ(store.GetPageSize(1), TPoint(794, 1123));
    EXPECT_EQ(report.progress, QStringList({"start 0", "progress 0 1", "progress 0 2", "stop 0"}));
}

TEST_F(PreparedStoreTest, InvisibleObjectsAreLeftOutWithTheirChildren)
{
    store.AddSourcePageObject(templ.page);
    store.SetAddPageAction(apAdd);
    store.AddPageObject(templ.page);
    templ.data->SetVisible(false);
    store.AddObject(templ.data);
    templ.data->SetVisible(true);
    EXPECT_EQ(store.GetCurPosition(), 0);
}

TEST_F(PreparedStoreTest, PageCacheKeepsTheMostRecentPagesAndSharedPagesOutliveIt)
{
    FillStore(store, templ, 3, 1);
    store.options.pagesInCache = 0;
    std::shared_ptr<TqvxComponent> held = store.SharedPage(0);
    TqvxComponent *first = store.GetPageObject(0);
    EXPECT_EQ(first, held.get());
    EXPECT_NE(store.GetPageObject(1), first);
    // Page 0 left the cache, but the holder still has it.
    EXPECT_EQ(held->Objects().size(), 3);
    EXPECT_NE(store.GetPageObject(0), held.get());
}

TEST_F(PreparedStoreTest, WriteOverMovesOntoTheNextExistingPage)
{
    FillStore(store, templ, 2, 1);
    store.SetCurPage(-1);
    store.AddPageObject(templ.page);
    EXPECT_EQ(store.CurPage(), 0);
    EXPECT_EQ(store.Count(), 2);
}

TEST_F(PreparedStoreTest, LogicalPageNumbersCountWithinGroups)
{
    store.AddSourcePageObject(templ.page);
    store.SetAddPageAction(apAdd);
    store.BeginPass();
    store.AddPageObject(templ.page);
    store.SetAddPageAction(apAdd);
    store.AddPageObject(templ.page);
    store.ResetLogicalPageNumber();
    store.SetAddPageAction(apAdd);
    store.AddPageObject(templ.page);
    store.ResetLogicalPageNumber();
    QStringList numbers;
    for (int i = 0; i < 3; ++i) {
        store.SetCurPage(i);
        numbers << QString("%1/%2").arg(store.GetLogicalPageNo()).arg(store.GetLogicalTotalPages());
    }
    EXPECT_EQ(numbers, QStringList({"1/2", "2/2", "1/1"}));
}

TEST_F(PreparedStoreTest, CutAndPasteMoveObjectsToTheNewPlace)
{
    FillStore(store, templ, 2, 3);
    store.SetCurPage(0);
    store.CutObjects(2);
    EXPECT_EQ(store.GetCurPosition(), 2);
    store.SetCurPage(1);
    store.PasteObjects(10, 100.5);
    EXPECT_EQ(store.GetCurPosition(), 5 + 3);
    EXPECT_EQ(store.XMLDoc()->Root()->Find("cutted"), -1);
    const QStringList page = DescribePage(store, 1);
    // Rows 2 and 3 and the footer: the first lands at (10, 100.5), the
    // others keep their distance to it.
    EXPECT_EQ(page.mid(page.size() - 7),
              QStringList({"  MasterData1 10,100.5", "    Memo1 0,0 \"Row 2\"", "    Memo2 200,0 \"Fixed\"",
                           "  MasterData1 10,120.5", "    Memo1 0,0 \"Row 3\"", "    Memo2 200,0 \"Fixed\"",
                           "  PageFooter1 10,1040.5"}));
    EXPECT_TRUE(pageItem(1)->Items(5)->Text().contains("t=\"100.5\""));

    store.PasteObjects(0, 0);
    EXPECT_EQ(store.XMLDoc()->Root()->Find("cutted"), -1);
}

TEST_F(PreparedStoreTest, LastYAndBandExistsLookAtTheCurrentPage)
{
    FillStore(store, templ, 1, 3);
    store.SetCurPage(0);
    EXPECT_DOUBLE_EQ(store.GetLastY(0), 100);
    EXPECT_DOUBLE_EQ(store.GetLastY(5), 30);
    EXPECT_TRUE(store.BandExistsObject(templ.data));
    TTestBand otherFooter;
    otherFooter.SetName("PageFooter2");
    EXPECT_TRUE(store.BandExistsObject(&otherFooter));
}

TEST_F(PreparedStoreTest, SecondPassStartsFromTheFirstPassMark)
{
    TRecordingEngine engine(&report);
    engine.doublePass = true;
    store.SetEngine(&engine);
    FillStore(store, templ, 2, 1);
    store.AddAnchor("kept");
    store.ClearFirstPassPages();
    EXPECT_EQ(store.Count(), 0);
    EXPECT_EQ(store.GetAnchorCurPosition(), 0);
    engine.SetFinalPass(true);
    FillStore(store, templ, 1, 1);
    EXPECT_EQ(store.Count(), 1);
    store.SetEngine(nullptr);
}

TEST_F(PreparedStoreTest, EditingKeepsAtLeastOnePage)
{
    FillStore(store, templ, 2, 1);
    store.AddEmptyPage(1);
    EXPECT_EQ(store.Count(), 3);
    EXPECT_EQ(DescribePage(store, 1), QStringList({"Page1 0,0"}));
    store.DeletePage(1);
    store.DeletePage(0);
    EXPECT_EQ(store.Count(), 1);
    store.DeletePage(0);
    EXPECT_EQ(store.Count(), 1);

    std::shared_ptr<TqvxComponent> page = store.SharedPage(0);
    page->Objects().at(0)->SetTop(5);
    store.ModifyPageObject(0, page.get());
    EXPECT_EQ(pageItem(0)->Name(), "TTestPage");
    EXPECT_EQ(DescribePage(store, 0).at(1), "  PageHeader1 0,5");
}

TEST_F(PreparedStoreTest, ObjectsAddedToAPageStoredWholeAreWrittenWhole)
{
    FillStore(store, templ, 2, 1);
    std::shared_ptr<TqvxComponent> page = store.SharedPage(0);
    store.ModifyPageObject(0, page.get());
    ASSERT_EQ(pageItem(0)->Name(), "TTestPage");
    // Back and forth between a page stored whole and one built from its
    // source page, twice.
    for (int round = 0; round < 2; ++round) {
        store.SetCurPage(0);
        store.AddObject(templ.footer);
        const TqvxXMLItem *whole = pageItem(0)->Items(pageItem(0)->Count() - 1);
        EXPECT_EQ(whole->Name(), "TTestBand");
        EXPECT_TRUE(whole->Text().contains("Top=\"1000\"")) << whole->Text().toStdString();
        store.SetCurPage(1);
        store.AddObject(templ.footer);
        const TqvxXMLItem *difference = pageItem(1)->Items(pageItem(1)->Count() - 1);
        EXPECT_EQ(difference->Name(), templ.footer->DictionaryName());
        EXPECT_FALSE(difference->Text().contains("Top=")) << difference->Text().toStdString();
    }
}

TEST_F(PreparedStoreTest, EndlessPagesKeepTheirOwnSize)
{
    FillStore(store, templ, 2, 1);
    store.SetCurPage(0);
    EXPECT_EQ(pageItem(0)->Text(), QString());
    store.UpdatePageDimensions(templ.page, 500, 600);
    EXPECT_TRUE(pageItem(0)->Text().startsWith("PaperSize=\"256\" PaperWidth=\"132.29"));
    EXPECT_EQ(pageItem(1)->Text(), QString());
}

TEST_F(PreparedStoreTest, LooseObjectsJoinTheLastSourcePage)
{
    FillStore(store, templ, 1, 1);
    TTestDiffMemo loose;
    loose.SetName("Loose");
    loose.SetBounds(5, 6, 50, 20);
    store.SetCurPage(0);
    store.AddToSourcePage(&loose);
    EXPECT_EQ(loose.DictionaryName(), "t3");
    EXPECT_EQ(store.Dictionary()->GetSourceName("t3"), "Page0.TTestDiffMemo1");
    loose.Memo()->SetText("Note");
    store.AddObject(&loose);
    EXPECT_EQ(DescribePage(store, 0).last(), "  TTestDiffMemo1 5,6 \"Note\"");

    // An object without a source copy is stored whole under its class name.
    TTestDiffMemo whole;
    whole.SetName("Whole");
    store.AddObject(&whole);
    EXPECT_EQ(store.PagesItem()->Items(0)->Items(store.GetCurPosition() - 1)->Name(), "TTestDiffMemo");
}

TEST_F(PreparedStoreTest, RebuiltPagesTakeTheirSourcePageAsItWasCopied)
{
    templ.page->SetWidth(500);
    FillStore(store, templ, 2, 1);
    store.options.pagesInCache = 0;
    EXPECT_EQ(store.GetPageObject(0)->Width(), 500);
    EXPECT_EQ(store.GetPageObject(1)->Width(), 500);
    EXPECT_EQ(store.GetPageObject(0)->Width(), 500);

    // A store filled again copies the changed template page afresh.
    store.Clear();
    templ.page->SetWidth(600);
    FillStore(store, templ, 2, 1);
    EXPECT_EQ(store.GetPageObject(0)->Width(), 600);
    EXPECT_EQ(store.GetPageObject(1)->Width(), 600);
}

TEST_F(PreparedStoreTest, RebuiltPagesCarryEveryValueOfTheirSourcePage)
{
    templ.page->shape = TestTypes::tsStar;
    templ.page->color = 0x123456;
    templ.page->hint = "<a & \"b\">";
    templ.page->Lines()->SetText("one\r\ntwo\r\n");
    templ.page->Frame()->width = 2.5;
    templ.page->Font()->SetName("Courier New");
    templ.page->SetValue(Variant(QStringLiteral("v")));
    FillStore(store, templ, 3, 1);
    store.options.pagesInCache = 0;

    auto allValues = [](TqvxComponent *object) {
        TqvxXMLSerializer writer;
        writer.SetSerializeDefaultValues(true);
        return writer.WriteComponentStr(object);
    };
    const QString source = allValues(store.SourcePages().front().get());
    EXPECT_TRUE(source.contains("Shape=\"tsStar\"")) << source.toStdString();
    // The first page resolves where each value goes; the others reuse it.
    for (int index : {0, 1, 2, 0}) {
        TqvxComponent *page = store.GetPageObject(index);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(allValues(page), source) << index;
        EXPECT_EQ(page->Name(), templ.page->Name());
    }
}
