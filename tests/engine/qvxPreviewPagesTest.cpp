#include "PreparedTestStore.h"

#include "engine/qvxPreviewPages.h"
#include "report/base/TWideStrings.h"
#include "report/pages/qvxBands.h"
#include "report/report/qvxExportFilter.h"
#include "report/views/qvxMemoView.h"
#include "report/pages/qvxPage.h"

#include <gtest/gtest.h>

namespace {

class TNameFilter : public TqvxCustomExportFilter
{
public:
    void ExportObject(TqvxComponent *object) override
    {
        names << object->Name() + (object->Name() == "_pagebackground" ? QString::number(object->Left()) : "");
    }
    QStringList names;
};

} // namespace

TEST(qvxPreviewPages, ReportPagesAndBandsThroughTheStore)
{
    TTestReport report;
    TqvxPreviewPages store(&report);
    TqvxReportPage page;
    page.SetName("Page1");
    page.SetMirrorMargins(true);
    page.SetLeftMargin(10);
    page.SetRightMargin(20);
    auto *header = NewObject<TqvxPageHeader>(&page);
    header->SetName("PageHeader1");
    header->SetParent(&page);
    auto *data = NewObject<TqvxMasterData>(&page);
    data->SetName("MasterData1");
    data->SetParent(&page);
    data->SetTop(40);
    auto *memo = NewObject<TqvxMemoView>(&page);
    memo->SetName("Memo1");
    memo->SetParent(data);
    auto *footer = NewObject<TqvxPageFooter>(&page);
    footer->SetName("PageFooter1");
    footer->SetParent(&page);

    store.AddSourcePage(&page);
    store.SetAddPageAction(apAdd);
    for (int i = 0; i < 2; ++i) {
        store.AddPage(&page);
        store.AddObject(header);
        memo->Memo()->SetText("Row " + QString::number(i + 1));
        store.AddObject(data);
        store.AddObject(footer);
        EXPECT_TRUE(store.BandExists(footer));
    }

    TqvxReportPage *rebuilt = store.GetPage(1);
    ASSERT_NE(rebuilt, nullptr);
    auto *rebuiltMemo = qobject_cast<TqvxMemoView *>(rebuilt->FindObject("Memo1"));
    ASSERT_NE(rebuiltMemo, nullptr);
    EXPECT_EQ(rebuiltMemo->Memo()->GetText().trimmed(), "Row 2");

    TNameFilter filter;
    filter.SetShowDialog(false);
    filter.SetOuterHeadersFootersOnly(true);
    EXPECT_TRUE(store.Export(&filter));
    EXPECT_EQ(filter.names, QStringList({"_pagebackground" + QString::number(10 * 3.77953), "PageHeader1",
                                         "MasterData1", "Memo1", "_pagebackground" + QString::number(20 * 3.77953),
                                         "MasterData1", "Memo1", "PageFooter1"}));
}
