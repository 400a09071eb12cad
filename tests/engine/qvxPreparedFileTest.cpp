#include "PreparedTestStore.h"

#include "engine/qvxOutline.h"
#include "report/xml/qvxXMLItem.h"
#include "report/xml/qvxXMLReader.h"
#include "toolkit/classes/Streams.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray saved(TqvxPreparedStore &store)
{
    TMemoryStream stream;
    store.SaveToStream(&stream);
    stream.SetPosition(0);
    return stream.ReadToEnd();
}

void load(TqvxPreparedStore &store, const QByteArray &bytes, bool partial = false)
{
    TMemoryStream stream;
    stream.WriteBuffer(bytes.constData(), bytes.size());
    stream.SetPosition(0);
    store.LoadFromStream(&stream, partial);
}

} // namespace

class PreparedFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        FillStore(store, templ, 4, 3);
        store.SetCurPage(1);
        store.Outline()->LevelRoot();
        store.Outline()->AddItem("Second page", 40);
        store.AddAnchor("Second");
    }

    TTestReport report;
    TTestPreparedStore store{&report};
    TTemplatePage templ;
};

TEST_F(PreparedFileTest, SaveLoadSaveIsByteForByte)
{
    const QByteArray first = saved(store);
    EXPECT_TRUE(first.contains("<dictionary>"));
    EXPECT_TRUE(first.contains("name=\"Page0.Memo1\""));

    TTestPreparedStore loaded(&report);
    load(loaded, first);
    EXPECT_EQ(loaded.loadedReportName, "Orders");
    ASSERT_EQ(loaded.Count(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(DescribePage(loaded, i), DescribePage(store, i)) << "page " << i;
    EXPECT_EQ(loaded.GetAnchorPage("second"), 2);
    loaded.SetCurPage(3);
    EXPECT_EQ(loaded.GetLogicalPageNo(), 4);
    EXPECT_EQ(loaded.GetLogicalTotalPages(), 4);
    EXPECT_EQ(saved(loaded), first);
}

TEST_F(PreparedFileTest, PartialLoadingAndSwappingKeepEveryPage)
{
    TTestPreparedStore loaded(&report);
    {
        // The store keeps what it needs of the stream: this one goes away.
        load(loaded, saved(store), true);
    }
    loaded.options.useFileCache = true;
    loaded.options.pagesInCache = 1;
    for (int round = 0; round < 2; ++round)
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(DescribePage(loaded, i), DescribePage(store, i)) << "page " << i;
    EXPECT_EQ(saved(loaded), saved(store));
}

TEST_F(PreparedFileTest, PagesSwappedOutWhileAddingComeBack)
{
    TTestPreparedStore big(&report);
    big.options.useFileCache = true;
    big.options.maxMemSize = 0;
    FillStore(big, templ, 6, 2);
    EXPECT_FALSE(big.XMLDoc()->TempFileName().isEmpty());
    EXPECT_TRUE(big.PagesItem()->Items(0)->Loaded());
    EXPECT_TRUE(big.PagesItem()->Items(1)->Loaded());
    EXPECT_FALSE(big.PagesItem()->Items(2)->Loaded());
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(DescribePage(big, i).size(), 1 + 1 + 2 * 3 + 1) << "page " << i;
    TTestPreparedStore copy(&report);
    load(copy, saved(big));
    EXPECT_EQ(DescribePage(copy, 5), DescribePage(big, 5));
}

TEST_F(PreparedFileTest, SwappedOutPagesKeepOnlyTheirOffset)
{
    TTestPreparedStore big(&report);
    big.options.useFileCache = true;
    big.options.maxMemSize = 0;
    big.options.pagesInCache = 2;
    TTestPreparedStore inMemory(&report);
    TTemplatePage otherTempl;
    const int pages = 30;
    FillStore(big, templ, pages, 2);
    FillStore(inMemory, otherTempl, pages, 2);
    auto compacted = [](TqvxPreparedStore &store) {
        int count = 0;
        for (int i = 0; i < store.Count(); ++i)
            count += store.PagesItem()->Compacted(i) ? 1 : 0;
        return count;
    };
    // The first two pages stay, and the last two: pages go out when the
    // page after next starts.
    EXPECT_EQ(compacted(big), pages - 4);
    EXPECT_FALSE(big.PagesItem()->Compacted(pages - 2));

    // Reading every page, and every page's size as the preview asks it,
    // brings none back for good.
    for (int i = 0; i < pages; ++i) {
        EXPECT_EQ(DescribePage(big, i), DescribePage(inMemory, i)) << "page " << i;
        EXPECT_EQ(big.GetPageSize(i), inMemory.GetPageSize(i)) << "page " << i;
    }
    EXPECT_EQ(compacted(big), pages - 4);
    // A page read for one look (as the search reads them) goes out again.
    for (int i = 0; i < pages; ++i)
        big.ReadPageObject(i, [&](TqvxComponent *page) { ASSERT_NE(page, nullptr); });
    EXPECT_EQ(compacted(big), pages - 4);
    big.SetCurPage(pages - 1);
    EXPECT_EQ(big.GetLogicalPageNo(), pages);
    EXPECT_EQ(big.GetLogicalTotalPages(), pages);

    const QByteArray bytes = saved(inMemory);
    EXPECT_EQ(saved(big), bytes);
    TTestPreparedStore partial(&report);
    load(partial, bytes, true);
    EXPECT_EQ(compacted(partial), pages - 2);
    partial.options.useFileCache = true;
    partial.options.pagesInCache = 1;
    for (int i = pages - 1; i >= 0; --i)
        EXPECT_EQ(DescribePage(partial, i), DescribePage(inMemory, i)) << "page " << i;
    EXPECT_EQ(compacted(partial), pages - 2);
    partial.SetCurPage(4);
    EXPECT_EQ(partial.GetLogicalPageNo(), 5);
    EXPECT_EQ(partial.GetLogicalTotalPages(), pages);
    EXPECT_EQ(saved(partial), bytes);
}

TEST_F(PreparedFileTest, OnceOverTheMemoryBudgetPagesGoOutAsWithTheFileCache)
{
    // A page here takes some 8 KB: the megabyte is passed after about 130
    // pages, and the pages after that would fill less than another.
    TTestPreparedStore big(&report);
    big.options.maxPreparedMemory = 1;
    big.options.maxMemSize = 0;
    const int pages = 200;
    FillStore(big, templ, pages, 20);
    ASSERT_FALSE(big.XMLDoc()->TempFileName().isEmpty());
    int kept = 0;
    for (int i = 0; i < pages; ++i)
        kept += big.PagesItem()->Compacted(i) ? 0 : 1;
    // The first two pages and the last two.
    EXPECT_EQ(kept, 4);
    EXPECT_EQ(DescribePage(big, pages / 2).size(), 1 + 1 + 3 * 20 + 1);
}

TEST_F(PreparedFileTest, FilesAreReplacedWhole)
{
    QTemporaryDir dir;
    const QString name = dir.filePath("orders.qp3");
    TTestPreparedStore loaded(&report);
    EXPECT_FALSE(loaded.LoadFromFile(name, false));
    EXPECT_ANY_THROW(loaded.LoadFromFile(name, true));
    store.SaveToFile(name);
    EXPECT_TRUE(loaded.LoadFromFile(name, false));
    EXPECT_EQ(loaded.Count(), 4);
}

TEST_F(PreparedFileTest, MalformedFilesAreRefusedAndLeaveTheStoreEmpty)
{
    const QByteArray good = saved(store);
    const QList<QByteArray> bad = {
        QByteArray("<?xml version=\"1.0\"?><preparedreport><previewpages><page0"),
        QByteArray(good).replace("name=\"Page0.", "name=\"Page7."),
        QByteArray(good).replace("name=\"Page0.", "name=\"Pagex."),
        QByteArray(good).replace("name=\"Page0.", "nome=\"Page0."),
        QByteArray(good).replace("<page0", "<page9"),
        QByteArray(good).replace("<page0", "<pageA"),
        QByteArray(good).replace("<TTestPage", "<TTestBand"),
        QByteArray(good).replace("<TTestPage", "<TUnknownPage"),
        QByteArray(good).replace("<page n=\"2\"", "<page n=\"two\""),
        QByteArray(good).replace("n=\"3\" t=\"4\"", "n=\"3\" t=\"-4\""),
    };
    for (const QByteArray &bytes : bad) {
        TTestPreparedStore loaded(&report);
        try {
            load(loaded, bytes);
            ADD_FAILURE() << "accepted: " << bytes.left(200).constData();
        } catch (const TqvxInvalidXMLException &e) {
            EXPECT_EQ(e.Message(), "Invalid file format");
        }
        EXPECT_EQ(loaded.Count(), 0);
    }
}

TEST_F(PreparedFileTest, AddFromAppendsPagesAnchorsAndOutline)
{
    TTestPreparedStore target(&report);
    TTestPreparedStore empty(&report);
    FillStore(target, templ, 1, 1);
    target.AddFromPages(&empty);
    EXPECT_EQ(target.Count(), 1);
    EXPECT_EQ(target.LastY(), 0);

    target.AddFromPages(&store);
    ASSERT_EQ(target.Count(), 5);
    EXPECT_EQ(target.PagesItem()->Items(1)->Name(), "TTestPage");
    EXPECT_FALSE(target.PagesItem()->Items(1)->Unloadable());
    EXPECT_EQ(DescribePage(target, 2), DescribePage(store, 1));
    EXPECT_EQ(target.GetAnchorPage("Second"), 3);
    target.Outline()->LevelRoot();
    QString text;
    int page = 0, top = 0;
    target.Outline()->GetItem(0, text, page, top);
    EXPECT_EQ(text, "Second page");
    EXPECT_EQ(page, 2);
    EXPECT_DOUBLE_EQ(target.LastY(), 100);
}
