// Drawing prepared pages onto canvases, and the mouse over their views.

#include "PreparedReport.h"

#include "common/RecordingPreview.h"
#include "report/base/TWideStrings.h"
#include "report/components/qvxHyperlink.h"
#include "report/report/qvxReportOptions.h"
#include "report/model/qvxVariables.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TStringList.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/RecordingCanvas.h"
#include "toolkit/ScriptedModalRunner.h"
#include "toolkit/widgets/ShellOpen.h"

#include <gtest/gtest.h>

namespace {

// The left and top of what was drawn in colour on a recording.
TPoint paintedAt(const TCanvasRecords &records, TColor color)
{
    for (const TCanvasRecord &record : records)
        if (record.Op == TCanvasOp::FillRect && record.Brush.Color == color)
            return {record.Bounds.Left, record.Bounds.Top};
    return {-1, -1};
}

QStringList textsOf(const TCanvasRecords &records)
{
    QStringList texts;
    for (const TCanvasRecord &record : records)
        if (record.Op == TCanvasOp::Text)
            texts << record.Text;
    return texts;
}

TEST(PageDrawing, TheReportGetsTheEnginesStore)
{
    TPreparedReport prepared(2);
    ASSERT_NE(qobject_cast<TqvxPreviewPages *>(prepared.report->PreviewPages()), nullptr);
    EXPECT_EQ(prepared.store()->Count(), 2);
    EXPECT_EQ(prepared.preparedMemo(1)->Memo()->GetText().trimmed(), "Page 2");
}

TEST(PageDrawing, SavedPagesKeepTheReportsSettingsAndAppendToOthers)
{
    TPreparedReport saved(1);
    saved.report->SetDotMatrixReport(true);
    saved.report->PreviewOptions()->SetOutlineVisible(true);
    saved.report->PreviewOptions()->SetOutlineWidth(200);
    saved.report->ReportOptions()->SetName("Orders \"2026\"");
    TMemoryStream stream;
    saved.store()->SaveToStream(&stream);
    stream.SetPosition(0);

    TPreparedReport loaded(0);
    loaded.store()->LoadFromStream(&stream, false);
    EXPECT_TRUE(loaded.report->DotMatrixReport());
    EXPECT_TRUE(loaded.report->PreviewOptions()->OutlineVisible());
    EXPECT_EQ(loaded.report->PreviewOptions()->OutlineWidth(), 200);
    EXPECT_EQ(loaded.report->ReportOptions()->Name(), "Orders \"2026\"");

    TPreparedReport other(2);
    other.store()->AddFrom(saved.report.get());
    EXPECT_EQ(other.store()->Count(), 3);
    EXPECT_EQ(other.preparedMemo(2)->Memo()->GetText().trimmed(), "Page 1");
}

TEST(PageDrawing, PixelsFollowScaleAndOffset)
{
    TPreparedReport prepared(1);
    TBitmap bitmap;
    bitmap.SetSize(400, 400);
    TCanvas *canvas = bitmap.Canvas();
    canvas->Brush()->SetColor(clWhite);
    canvas->FillRect(TRect(0, 0, 400, 400));

    // The memo lies at margin (37.8 px) + (20, 30), 50 x 40.
    prepared.store()->DrawPage(0, canvas, 1, 1, 0, 0);
    EXPECT_EQ(canvas->Pixel(60, 70), pageColor(0));
    EXPECT_EQ(canvas->Pixel(107, 107), pageColor(0));
    EXPECT_EQ(canvas->Pixel(56, 90), clWhite);
    EXPECT_EQ(canvas->Pixel(80, 109), clWhite);

    canvas->FillRect(TRect(0, 0, 400, 400));
    prepared.store()->DrawPage(0, canvas, 2, 2, 5, 7);
    EXPECT_EQ(canvas->Pixel(122, 144), pageColor(0));
    EXPECT_EQ(canvas->Pixel(220, 222), pageColor(0));
    EXPECT_EQ(canvas->Pixel(119, 180), clWhite);
    EXPECT_EQ(canvas->Pixel(170, 141), clWhite);
}

TEST(PageDrawing, TheScreenIsClippedToThePaper)
{
    // A 25 mm paper ends at 94.5 px, inside the memo.
    TPreparedReport prepared(1, 25, 40);
    TBitmap bitmap;
    bitmap.SetSize(200, 200);
    TCanvas *canvas = bitmap.Canvas();
    canvas->Brush()->SetColor(clWhite);
    canvas->FillRect(TRect(0, 0, 200, 200));
    prepared.store()->DrawPage(0, canvas, 1, 1, 0, 0);
    EXPECT_EQ(canvas->Pixel(90, 90), pageColor(0));
    EXPECT_EQ(canvas->Pixel(100, 90), clWhite);
    // The clip of the canvas is its own again.
    EXPECT_EQ(canvas->ClipRegion(), std::nullopt);
}

TEST(PageDrawing, ViewsAreDrawnWhereTheirVisibilitySays)
{
    TPreparedReport prepared(1, 100, 150, [](TPreparedReport &r) {
        auto *exported = r.addMemo("ExportOnly", 100, 0);
        exported->Memo()->SetText("exp");
        exported->SetVisibility(vsExport);
        auto *screen = r.addMemo("ScreenOnly", 100, 30);
        screen->Memo()->SetText("scr");
        screen->SetVisibility(vsPreview);
    });
    TRecordingCanvas screen;
    prepared.store()->DrawPage(0, &screen, 1, 1, 0, 0);
    EXPECT_EQ(textsOf(screen.Records()), QStringList({"Page 1", "scr"}));

    TRecordingCanvas printer;
    printer.SetIsPrinter(true);
    prepared.store()->DrawPage(0, &printer, 1, 1, 0, 0);
    EXPECT_EQ(textsOf(printer.Records()), QStringList({"Page 1"}));
}

TEST(PageDrawing, OnlyViewsNearTheClipAreDrawnExceptOnRecordings)
{
    TPreparedReport prepared(1, 100, 150, [](TPreparedReport &r) {
        r.addMemo("Far", 200, 300)->Memo()->SetText("far");
    });
    TBitmap bitmap;
    bitmap.SetSize(200, 200);
    TqvxMemoView *far = prepared.preparedMemo(0, "Far");
    ASSERT_NE(far, nullptr);
    far->SetTotalPages(-1);
    prepared.store()->DrawPage(0, bitmap.Canvas(), 1, 1, 0, 0);
    EXPECT_EQ(far->TotalPages(), -1) << "a view outside the canvas is passed over";
    EXPECT_EQ(prepared.preparedMemo(0)->TotalPages(), 1);

    TRecordingCanvas recording;
    prepared.store()->DrawPage(0, &recording, 1, 1, 0, 0);
    EXPECT_TRUE(textsOf(recording.Records()).contains("far"));
}

TEST(PageDrawing, MirroredMarginsSwapOnEverySecondPage)
{
    TPreparedReport prepared(2, 100, 150, [](TPreparedReport &r) {
        r.page->SetRightMargin(30);
        r.page->SetMirrorMargins(true);
    });
    TRecordingCanvas canvas;
    prepared.store()->DrawPage(0, &canvas, 1, 1, 0, 0);
    EXPECT_EQ(paintedAt(canvas.Records(), pageColor(0)).X, 58); // 10 mm + 20
    canvas.Clear();
    prepared.store()->DrawPage(1, &canvas, 1, 1, 0, 0);
    EXPECT_EQ(paintedAt(canvas.Records(), pageColor(1)).X, 133); // 30 mm + 20
    EXPECT_EQ(prepared.store()->GetPage(1)->LeftMargin(), 10);
    EXPECT_EQ(prepared.store()->GetPage(1)->RightMargin(), 30);
}

TEST(PageDrawing, TextObjectsLearnPageCountCopyAndScale)
{
    TPreparedReport prepared(3);
    prepared.store()->SetCopyNo(2);
    prepared.store()->SetPrintScale(0.5);
    TRecordingCanvas canvas;
    canvas.SetIsPrinter(true);
    prepared.store()->DrawPage(1, &canvas, 1, 1, 0, 0);
    const TqvxMemoView *memo = prepared.preparedMemo(1);
    EXPECT_EQ(memo->TotalPages(), 3);
    EXPECT_EQ(memo->CopyNo(), 2);
    EXPECT_EQ(memo->PrintScale(), 0.5);
    EXPECT_FALSE(memo->IsPrinting());
    EXPECT_TRUE(prepared.store()->GetPage(1)->IsPrinting());
    prepared.store()->DrawPage(7, &canvas, 1, 1, 0, 0);
}

// --- the mouse ----------------------------------------------------------------

// A prepared report with linked memos, an attached preview, recorded mouse
// events and a recorded URL opener.  Memos are 40 x 20 at the given place
// on the data band; the page's margin moves them by 38 pixels.
class ObjectOver : public ::testing::Test
{
protected:
    ObjectOver()
        : prepared(2, 150, 150, [](TPreparedReport &r) {
              link(r.addMemo("Url", 100, 0), hkURL, "https://example.com/x");
              TqvxMemoView *anchor = link(r.addMemo("Anchor", 100, 30), hkAnchor, "there");
              anchor->SetHint("Jump|Jumps to the totals");
              anchor->SetShowHint(true);
              link(r.addMemo("PageNo", 100, 60), hkPageNumber, "3");
              TqvxMemoView *own = r.addMemo("Own", 150, 0);
              link(own, hkURL, "https://example.com/own");
              own->SetCursor(crCross);
              r.addMemo("Over", 160, 0);
              link(r.addMemo("Detail", 200, 0), hkDetailReport, "Orders")->Hyperlink()->SetTabCaption("All orders");
              auto *group = NewObject<TqvxGroupHeader>(r.page);
              group->SetParent(r.page);
              group->SetName("GroupHeader1");
              group->SetBounds(0, 150, 300, 40);
              group->SetDrillDown(true);
              group->SetDrillName("Group.1");
              link(r.addMemo("InGroup", 10, 10, group), hkPageNumber, "2");
          })
    {
        prepared.report->SetPreview(&preview);
        prepared.store()->Anchors()->Add("there", 1, 250);
        prepared.report->OnMouseEnter = [this](TqvxView *view) { events << "enter " + view->Name(); };
        prepared.report->OnMouseLeave = [this](TqvxView *view) { events << "leave " + view->Name(); };
        previousOpener = SetShellOpener([this](const QString &target) { opened << target; });
    }
    ~ObjectOver() override
    {
        SetShellOpener(previousOpener);
        prepared.report->SetPreview(nullptr);
    }

    static TqvxMemoView *link(TqvxMemoView *memo, TqvxHyperlinkKind kind, const QString &value)
    {
        memo->Hyperlink()->SetKind(kind);
        memo->Hyperlink()->SetValue(value);
        return memo;
    }

    TCursor over(int x, int y, TqvxMouseAction action = maMove, int page = 0, TMouseButton button = mbLeft)
    {
        TCursor cursor = crDefault;
        prepared.store()->ObjectOver(page, x, y, button, {}, 1, 0, 0, cursor, action);
        return cursor;
    }

    TPreparedReport prepared;
    TRecordingPreview preview;
    QStringList events;
    QStringList opened;
    TShellOpener previousOpener;
};

TEST_F(ObjectOver, MovesFireEnterAndLeaveOncePerView)
{
    over(140, 40);
    over(141, 41);
    over(140, 70);
    over(5, 5);
    over(5, 6);
    EXPECT_EQ(events, QStringList({"enter Url", "leave Url", "enter Anchor", "leave Anchor"}));
    EXPECT_EQ(prepared.store()->MouseOverObject(), nullptr);
}

TEST_F(ObjectOver, CursorsAndStatusTextFollowTheView)
{
    EXPECT_EQ(over(140, 40), crHandPoint);
    EXPECT_TRUE(preview.calls.contains("Status1 https://example.com/x"));
    EXPECT_EQ(over(190, 40), crCross);
    EXPECT_EQ(over(60, 70), crDefault);
    EXPECT_EQ(over(5, 5), crDefault);
}

TEST_F(ObjectOver, HintsShowAsThePreviewsOwn)
{
    over(140, 70);
    EXPECT_EQ(preview.Hint(), "Jump");
    EXPECT_TRUE(preview.ShowHint());
    EXPECT_TRUE(preview.calls.contains("Status2 Jumps to the totals"));
    over(60, 70);
    EXPECT_FALSE(preview.ShowHint());
    preview.SetUseReportHints(false);
    over(140, 70);
    EXPECT_FALSE(preview.ShowHint());
}

TEST_F(ObjectOver, TheViewDrawnLastGetsTheMouse)
{
    // "Over" (198..238 on the canvas) lies on "Own" (188..228) and comes
    // later.
    over(200, 40);
    over(190, 40);
    EXPECT_EQ(events, QStringList({"enter Over", "leave Over", "enter Own"}));
}

TEST_F(ObjectOver, ClicksFollowHyperlinks)
{
    over(140, 40, maClick);
    EXPECT_EQ(opened, QStringList{"https://example.com/x"});
    over(140, 70, maClick);
    over(140, 100, maClick);
    EXPECT_TRUE(preview.calls.contains("SetPosition 2 250"));
    EXPECT_TRUE(preview.calls.contains("SetPageNo 3"));
    // Moving and releasing the button follow nothing.
    over(140, 40, maMove);
    over(140, 40, maMouseUp);
    EXPECT_EQ(opened.size(), 1);
}

TEST_F(ObjectOver, LinksOtherThanWebAndMailAreRefusedByName)
{
    ScriptedModalRunner runner;
    const QStringList refused{"file:///tmp/payload.desktop", "x-hostile-scheme://run?cmd=id", "/usr/bin/xterm",
                              "javascript:alert(1)", "smb://host/share"};
    for (const QString &target : refused) {
        prepared.preparedMemo(0, "Url")->Hyperlink()->SetValue(target);
        over(140, 40, maClick);
    }
    EXPECT_TRUE(opened.isEmpty()) << qPrintable(opened.join(' '));
    ASSERT_EQ(runner.messages.size(), size_t(refused.size()));
    for (int i = 0; i < refused.size(); ++i) {
        EXPECT_TRUE(runner.messages[size_t(i)].Text.contains('"' + refused[i] + '"'));
        EXPECT_EQ(runner.messages[size_t(i)].Type, mtError);
    }

    prepared.preparedMemo(0, "Url")->Hyperlink()->SetValue("mailto:orders@example.com");
    over(140, 40, maClick);
    EXPECT_EQ(opened, QStringList{"mailto:orders@example.com"});
    EXPECT_EQ(runner.messages.size(), size_t(refused.size()));
}

TEST_F(ObjectOver, AMailLinkThatWouldAttachAFileIsRefusedByName)
{
    ScriptedModalRunner runner;
    const QString hostile = "mailto:orders@example.com?subject=Order&attach=/home/user/secret.txt";
    prepared.preparedMemo(0, "Url")->Hyperlink()->SetValue(hostile);
    over(140, 40, maClick);
    EXPECT_TRUE(opened.isEmpty()) << qPrintable(opened.join(' '));
    ASSERT_EQ(runner.messages.size(), size_t(1));
    EXPECT_TRUE(runner.messages[0].Text.contains('"' + hostile + '"')) << qPrintable(runner.messages[0].Text);
    EXPECT_TRUE(runner.messages[0].Text.contains("\"attach\"")) << qPrintable(runner.messages[0].Text);

    prepared.preparedMemo(0, "Url")->Hyperlink()->SetValue("mailto:orders@example.com?subject=Order%20ZMT&cc=a@example.com");
    over(140, 40, maClick);
    EXPECT_EQ(opened, QStringList{"mailto:orders@example.com?subject=Order%20ZMT&cc=a@example.com"});
}

TEST_F(ObjectOver, ClickHandlersThatChangeAViewStoreThePage)
{
    prepared.report->OnClickObject = [](TqvxView *view, TMouseButton, TShiftState, bool &modified) {
        view->SetColor(clOlive);
        modified = true;
    };
    over(60, 70, maClick);
    prepared.store()->ClearPageCache();
    EXPECT_EQ(prepared.preparedMemo(0)->Color(), clOlive);
    EXPECT_EQ(prepared.preparedMemo(1)->Color(), pageColor(1));
}

TEST_F(ObjectOver, ADrillDownGroupTogglesInsteadOfFollowingTheLink)
{
    // InGroup lies at (10, 160) on the band, (48, 198) on the canvas.
    EXPECT_EQ(over(50, 200, maClick), crHandPoint);
    EXPECT_EQ(prepared.report->DrillState()->IndexOf("Group.1"), 0);
    EXPECT_TRUE(preview.calls.contains("RefreshReport"));
    EXPECT_FALSE(preview.calls.contains("SetPageNo 2"));
    over(50, 200, maDblClick);
    EXPECT_EQ(prepared.report->DrillState()->Count(), 1);
    over(50, 200, maClick);
    EXPECT_EQ(prepared.report->DrillState()->Count(), 0);
    // The right button does not toggle.
    over(50, 200, maClick, 0, mbRight);
    EXPECT_EQ(prepared.report->DrillState()->Count(), 0);
}

TEST_F(ObjectOver, ADetailReportOpensInATabOnce)
{
    QString loaded;
    prepared.report->OnLoadDetailTemplate = [&](TqvxReport *detail, const QString &name, TqvxHyperlink *) {
        loaded = name;
        detail->SetName("Detail");
        return true;
    };
    prepared.preparedMemo(0, "Detail")->Hyperlink()->SetDetailReport("orders.qvx");
    over(240, 40, maClick);
    EXPECT_EQ(loaded, "orders.qvx");
    ASSERT_EQ(preview.tabReports.size(), 1);
    EXPECT_NE(preview.tabReports[0], prepared.report.get());
    EXPECT_TRUE(preview.calls.contains("AddPreviewTab Orders All orders 1"));

    over(240, 40, maClick);
    EXPECT_EQ(preview.tabReports.size(), 1);
    EXPECT_TRUE(preview.calls.contains("SwitchToTab Orders"));
    delete preview.tabReports[0];
}

TEST_F(ObjectOver, ADetailPageBuildsIntoAStoreOfItsOwn)
{
    auto *details = NewObject<TqvxReportPage>(prepared.report.get());
    details->SetParent(prepared.report.get());
    details->SetName("Details");
    TqvxHyperlink *link = prepared.preparedMemo(0, "Detail")->Hyperlink();
    link->SetKind(hkDetailPage);
    link->SetDetailPage("Details");
    TqvxCustomPreviewPages *store = prepared.store();

    over(240, 40, maClick);
    EXPECT_NE(prepared.report->PreviewPages(), store);
    EXPECT_EQ(prepared.report->Preview(), nullptr);
    auto *engine = static_cast<TRecordingEngine *>(prepared.report->Engine());
    ASSERT_FALSE(engine->calls.isEmpty());
    EXPECT_EQ(engine->calls.last(), "Run(0,0,page)");
    EXPECT_TRUE(preview.calls.contains("AddPreviewTab Orders All orders 0"));
    prepared.report->SetPreviewPages(nullptr);
}

TEST_F(ObjectOver, NothingHappensOutsideThePagesOrWhileTheEngineRuns)
{
    EXPECT_EQ(over(140, 40, maClick, 5), crDefault);
    prepared.report->Engine()->SetRunning(true);
    over(140, 40, maClick);
    prepared.report->Engine()->SetRunning(false);
    EXPECT_TRUE(events.isEmpty());
    EXPECT_TRUE(opened.isEmpty());
}

} // namespace
