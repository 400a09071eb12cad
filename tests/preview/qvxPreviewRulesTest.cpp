// The preview's zoom arithmetic and the preview window's tool bar rules.

#include "preview/qvxPreview.h"
#include "preview/qvxPreviewForm.h"
#include "report/model/qvxOptions.h"
#include "report/model/qvxResources.h"

#include <gtest/gtest.h>

TEST(PreviewZoom, WholePageFitsTheLongerSideAndKeepsTheFloor)
{
    // A tall page in a wide area: the height decides.
    EXPECT_DOUBLE_EQ(TqvxPreview::WholePageZoom(1, 794, 1123, 1200, 600, 17), (600 - 26) / 1123.0);
    // A wide page: the width less the scroll bar decides.
    EXPECT_DOUBLE_EQ(TqvxPreview::WholePageZoom(1, 1123, 794, 600, 1200, 17), (600 - 17 - 26) / 1123.0);
    EXPECT_DOUBLE_EQ(TqvxPreview::PageWidthZoom(1, 794, 1000, 17), (1000 - 17 - 26) / 794.0);
}

TEST(PreviewZoom, AHiddenOrTinyAreaNeverGivesAZoomBelowTheFloor)
{
    // A minimised window has no client area: the zoom stays.
    EXPECT_DOUBLE_EQ(TqvxPreview::WholePageZoom(1.5, 794, 1123, 0, 0, 17), 1.5);
    EXPECT_DOUBLE_EQ(TqvxPreview::PageWidthZoom(0.75, 794, 0, 17), 0.75);
    // Under 26 pixels the formula goes negative.
    EXPECT_DOUBLE_EQ(TqvxPreview::WholePageZoom(1, 794, 1123, 20, 20, 17), 0.25);
    EXPECT_DOUBLE_EQ(TqvxPreview::PageWidthZoom(1, 794, 30, 17), 0.25);
}

TEST(PreviewZoom, WheelStepsAreTenthsWithTheirOwnFloor)
{
    EXPECT_DOUBLE_EQ(TqvxPreview::WheelZoom(1.0, 120), 1.1);
    EXPECT_DOUBLE_EQ(TqvxPreview::WheelZoom(0.35, -120), 0.3);
}

TEST(PreviewBuild, RefreshIntervalFollowsTheFirstPagesTime)
{
    EXPECT_EQ(TqvxPreview::RefreshIntervalFor(3), 50);
    EXPECT_EQ(TqvxPreview::RefreshIntervalFor(5), 20);
    EXPECT_EQ(TqvxPreview::RefreshIntervalFor(9), 20);
    EXPECT_EQ(TqvxPreview::RefreshIntervalFor(10), 5);
}

TEST(PreviewPages, PageNumbersAreClampedAndZeroWithoutPages)
{
    EXPECT_EQ(TqvxPreview::ClampPageNo(0, 5), 1);
    EXPECT_EQ(TqvxPreview::ClampPageNo(9, 5), 5);
    EXPECT_EQ(TqvxPreview::ClampPageNo(3, 5), 3);
    EXPECT_EQ(TqvxPreview::ClampPageNo(1, 0), 0);
}

TEST(PreviewWindow, ButtonsShowWhatThePreviewButtonsAllow)
{
    const QHash<QString, bool> v = TqvxPreviewForm::ButtonVisibility(pbPrint | pbZoom | pbNoFullScreen);
    for (const char *shown : {"PrintB", "ZoomPlusB", "ZoomMinusB", "Sep3", "Sep1", "CancelB"})
        EXPECT_TRUE(v.value(QString::fromLatin1(shown))) << shown;
    for (const char *hidden : {"FullScreenBtn", "Sep2", "Sep5", "Sep4", "OpenB", "SaveB", "FindB", "OutlineB",
                               "FirstB", "PdfB", "EmailB"})
        EXPECT_FALSE(v.value(QString::fromLatin1(hidden))) << hidden;

    const QHash<QString, bool> all = TqvxPreviewForm::ButtonVisibility(TqvxPreviewOptions::DefaultButtons);
    EXPECT_TRUE(all.value("FullScreenBtn"));
    EXPECT_TRUE(all.value("Sep2"));
    EXPECT_TRUE(all.value("NextB"));
    EXPECT_FALSE(TqvxPreviewForm::ButtonVisibility(pbNoClose).value("CancelB"));
    EXPECT_TRUE(TqvxPreviewForm::ButtonVisibility(pbExport).value("SaveB"));
}

TEST(PreviewWindow, TypedZoomDropsBlanksAndThePercentSign)
{
    double zoom = 0;
    ASSERT_TRUE(TqvxPreviewForm::ParseZoomText("1 5 0 %", zoom));
    EXPECT_DOUBLE_EQ(zoom, 1.5);
    EXPECT_EQ(TqvxPreviewForm::ZoomText(zoom), "150%");
    EXPECT_FALSE(TqvxPreviewForm::ParseZoomText(" % ", zoom));
    EXPECT_ANY_THROW(TqvxPreviewForm::ParseZoomText("abc", zoom));
    EXPECT_EQ(TqvxPreviewForm::ZoomText(0.254), "25%");
}

TEST(PreviewWindow, ExportMenuListsSavingThenTheFilters)
{
    const QString prepared = qvxResources()->Get("clQP3files") + "...";
    auto items = TqvxPreviewForm::ExportMenuItems(pbSave | pbExport, {"PDF"});
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0].Caption, prepared);
    EXPECT_EQ(items[1].Kind, TqvxExportMenuItem::Separator);
    EXPECT_EQ(items[2].Caption, "PDF...");
    EXPECT_EQ(items[2].FilterIndex, 0);

    items = TqvxPreviewForm::ExportMenuItems(pbSave, {"PDF"});
    ASSERT_EQ(items.size(), 1);
    EXPECT_EQ(items[0].Kind, TqvxExportMenuItem::SavePrepared);
    items = TqvxPreviewForm::ExportMenuItems(pbExport, {"PDF", "Text"});
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[1].FilterIndex, 1);
}
