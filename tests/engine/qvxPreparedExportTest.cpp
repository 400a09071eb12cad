#include "PreparedTestStore.h"

#include "report/base/TWideStrings.h"
#include "report/report/qvxExportFilter.h"
#include "report/views/qvxMemoView.h"

#include <gtest/gtest.h>

namespace {

// Records the calls of the export protocol, one line each.
class TRecordingFilter : public TqvxCustomExportFilter
{
public:
    TRecordingFilter()
    {
        SetShowDialog(false);
        SetOnBeginExport([this](TObject *) { calls << "OnBeginExport"; });
    }

    int ShowModal() override
    {
        calls << "ShowModal";
        return modalResult;
    }
    bool Start() override
    {
        calls << "Start";
        return startResult;
    }
    void ExportObject(TqvxComponent *object) override
    {
        calls << object->Name();
        if (object->Name() == failAt)
            throw Exception("Disk full");
        if (object->Name() == terminateAt && report)
            report->SetTerminated(true);
    }
    void Finish() override { calls << "Finish"; }
    void StartPage(TqvxReportPage *, int index) override { calls << "StartPage " + QString::number(index); }
    void FinishPage(TqvxReportPage *, int index) override { calls << "FinishPage " + QString::number(index); }

    QStringList calls;
    int modalResult = 1;
    bool startResult = true;
    QString failAt;
    QString terminateAt;
    TTestReport *report = nullptr;
};

} // namespace

class PreparedExportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        FillStore(store, templ, 3, 1);
        report.progress.clear();
        filter.report = &report;
    }

    QStringList page(int index)
    {
        return {"StartPage " + QString::number(index), "_pagebackground", "PageHeader1", "MasterData1", "Memo1",
                "Memo2", "PageFooter1", "FinishPage " + QString::number(index)};
    }

    TTestReport report;
    TTestPreparedStore store{&report};
    TTemplatePage templ;
    TRecordingFilter filter;
};

TEST_F(PreparedExportTest, EveryPageAndObjectInProtocolOrder)
{
    EXPECT_TRUE(store.Export(&filter));
    EXPECT_EQ(filter.calls, QStringList({"OnBeginExport", "Start"}) + page(0) + page(1) + page(2) +
                                QStringList({"Finish"}));
    EXPECT_EQ(report.progress,
              QStringList({"start 1", "progress 1 1", "progress 1 2", "progress 1 3", "stop 1"}));
    EXPECT_FALSE(store.Export(nullptr));
}

TEST_F(PreparedExportTest, DialogAndStartCanRefuse)
{
    filter.SetShowDialog(true);
    filter.modalResult = 2;
    EXPECT_FALSE(store.Export(&filter));
    EXPECT_EQ(filter.calls, QStringList({"ShowModal"}));

    filter.calls.clear();
    filter.modalResult = 1;
    filter.startResult = false;
    EXPECT_FALSE(store.Export(&filter));
    EXPECT_EQ(filter.calls, QStringList({"ShowModal", "OnBeginExport", "Start"}));
    EXPECT_TRUE(report.progress.isEmpty());
}

TEST_F(PreparedExportTest, PageRanges)
{
    filter.SetPageNumbers("3");
    EXPECT_TRUE(store.Export(&filter));
    EXPECT_EQ(filter.calls.mid(2, 8), page(2));
    EXPECT_EQ(filter.calls.size(), 2 + 8 + 1);

    filter.calls.clear();
    filter.SetPageNumbers("9, 2-");
    EXPECT_TRUE(store.Export(&filter));
    EXPECT_EQ(filter.calls.size(), 2 + 16 + 1);

    // A range that is no range is reported, not thrown.
    filter.calls.clear();
    filter.SetPageNumbers("2-, x");
    EXPECT_FALSE(store.Export(&filter));
    EXPECT_TRUE(filter.calls.isEmpty());
    EXPECT_EQ(report.errors->Count(), 1);

    // Ranges naming no page of the report give no document without pages.
    for (const char *none : {"0", "9", "4-7"}) {
        filter.calls.clear();
        report.errors->Clear();
        filter.SetPageNumbers(none);
        EXPECT_FALSE(store.Export(&filter)) << none;
        EXPECT_TRUE(filter.calls.isEmpty()) << none;
        ASSERT_EQ(report.errors->Count(), 1) << none;
        EXPECT_TRUE(report.errors->Strings(0).contains(QStringLiteral("no page"))) << none;
    }

    filter.calls.clear();
    filter.SetPageNumbers("1-2000000000");
    EXPECT_TRUE(store.Export(&filter));
    EXPECT_EQ(filter.calls.size(), 2 + 24 + 1);

    filter.calls.clear();
    filter.SetPageNumbers("2");
    filter.SetCurrentPageOnly(true);
    EXPECT_TRUE(store.Export(&filter));
    EXPECT_EQ(filter.calls.mid(2, 8), page(0));
}

TEST_F(PreparedExportTest, OuterHeadersFootersOnlyAndDataOnly)
{
    filter.SetOuterHeadersFootersOnly(true);
    EXPECT_TRUE(store.Export(&filter));
    EXPECT_EQ(filter.calls.count("PageHeader1"), 1);
    EXPECT_EQ(filter.calls.count("PageFooter1"), 1);
    EXPECT_EQ(filter.calls.indexOf("PageHeader1"), 4);
    EXPECT_GT(filter.calls.indexOf("PageFooter1"), filter.calls.indexOf("StartPage 2"));

    filter.calls.clear();
    filter.SetOuterHeadersFootersOnly(false);
    filter.SetDataOnly(true);
    EXPECT_TRUE(store.Export(&filter));
    EXPECT_EQ(filter.calls.mid(2, 4), QStringList({"StartPage 0", "Memo1", "Memo2", "FinishPage 0"}));
}

TEST_F(PreparedExportTest, MirroredMarginsMoveEveryOtherPage)
{
    store.margins = {10, 5, 20, 5, true};
    QList<double> lefts;
    filter.SetOnBeginExport(nullptr);
    struct TLeftFilter : TRecordingFilter {
        QList<double> *lefts;
        void ExportObject(TqvxComponent *object) override
        {
            if (object->Name() == "_pagebackground")
                lefts->append(object->Left());
        }
    } leftFilter;
    leftFilter.SetShowDialog(false);
    leftFilter.lefts = &lefts;
    EXPECT_TRUE(store.Export(&leftFilter));
    ASSERT_EQ(lefts.size(), 3);
    EXPECT_NEAR(lefts[0], 37.7953, 1e-9);
    EXPECT_NEAR(lefts[1], 75.5906, 1e-9);
    EXPECT_NEAR(lefts[2], 37.7953, 1e-9);
}

TEST_F(PreparedExportTest, TerminationEndsThePageAndAnswersFalse)
{
    filter.terminateAt = "Memo1";
    filter.SetPageNumbers("2-");
    EXPECT_FALSE(store.Export(&filter));
    EXPECT_EQ(filter.calls, QStringList({"OnBeginExport", "Start", "StartPage 1", "_pagebackground",
                                         "PageHeader1", "MasterData1", "Memo1", "FinishPage 1"}));
    EXPECT_EQ(report.progress, QStringList({"start 1", "progress 1 2", "stop 1"}));
    EXPECT_TRUE(report.errors->Text().isEmpty());
}

TEST_F(PreparedExportTest, ErrorsAreAddedToTheReportsList)
{
    report.errors->Add("earlier");
    filter.failAt = "PageFooter1";
    EXPECT_FALSE(store.Export(&filter));
    EXPECT_EQ(filter.calls.last(), "FinishPage 0");
    EXPECT_EQ(report.errors->Count(), 2);
    EXPECT_NE(report.errors->IndexOf("earlier"), -1);
    EXPECT_NE(report.errors->IndexOf("Disk full"), -1);
    EXPECT_EQ(report.progress.last(), "stop 1");
}

TEST_F(PreparedExportTest, MemosLearnThePageCountBeforeTheFilterSeesThem)
{
    TTestPreparedStore memoStore(&report);
    TTemplatePage memoPage;
    auto *memo = NewObject<TqvxMemoView>(memoPage.page);
    memo->SetName("Total");
    memo->SetParent(memoPage.data);
    memo->SetBounds(300, 0, 100, 20);
    memo->Memo()->SetText("of [TOTALPAGES#]");
    FillStore(memoStore, memoPage, 2, 1);

    QStringList texts;
    struct TTextFilter : TRecordingFilter {
        QStringList *texts;
        void ExportObject(TqvxComponent *object) override
        {
            if (auto *m = qobject_cast<TqvxCustomMemoView *>(object))
                texts->append(m->Memo()->GetText().trimmed());
        }
    } textFilter;
    textFilter.SetShowDialog(false);
    textFilter.texts = &texts;
    EXPECT_TRUE(memoStore.Export(&textFilter));
    EXPECT_EQ(texts, QStringList({"of 2", "of 2"}));
}

TEST(PreparedExportMemory, PagesReadBackFromTheSwapFileGoOutAgainOnceExported)
{
    TTestReport report;
    TTestPreparedStore store(&report);
    TTemplatePage templ;
    store.options.useFileCache = true;
    store.options.maxMemSize = 0;
    const int pages = 40;
    FillStore(store, templ, pages, 3);
    auto pagesInMemory = [&store] {
        int loaded = 0;
        for (int i = 0; i < store.Count(); ++i)
            loaded += !store.PagesItem()->Compacted(i) && store.PagesItem()->Items(i)->Loaded() ? 1 : 0;
        return loaded;
    };
    // A page out in the swap file keeps no element, only its offset.
    auto elements = [&store] {
        int kept = 0;
        for (int i = 0; i < store.Count(); ++i)
            kept += store.PagesItem()->Compacted(i) ? 0 : 1;
        return kept;
    };
    const int inMemoryBefore = pagesInMemory();
    ASSERT_LT(inMemoryBefore, pages / 4);
    const int elementsBefore = elements();
    ASSERT_LT(elementsBefore, pages / 4);

    // While each page is exported, only that page joins the ones the run kept.
    class TCountingFilter : public TRecordingFilter
    {
    public:
        std::function<int()> count;
        int most = 0;
        void ExportObject(TqvxComponent *object) override
        {
            most = std::max(most, count());
            TRecordingFilter::ExportObject(object);
        }
    } filter;
    filter.count = pagesInMemory;
    EXPECT_TRUE(store.Export(&filter));
    EXPECT_LE(filter.most, inMemoryBefore + 1);
    EXPECT_EQ(pagesInMemory(), inMemoryBefore);
    EXPECT_EQ(elements(), elementsBefore);

    // Released pages still read back whole, in an export and on their own.
    TRecordingFilter again;
    EXPECT_TRUE(store.Export(&again));
    EXPECT_EQ(again.calls, filter.calls);
    EXPECT_EQ(DescribePage(store, pages - 2).size(), 1 + 1 + 3 * 3 + 1);
}
