// The preview control and window over real prepared pages, on the
// offscreen platform.

#include "engine/PreparedReport.h"
#include "export/pdf/qvxExportPDF.h"
#include "report/RecordingRunner.h"
#include "common/WidgetClicks.h"

#include "preview/qvxPreview.h"
#include "preview/RowsReport.h"
#include "preview/qvxPreviewDialogs.h"
#include "preview/qvxPreviewForm.h"
#include "preview/qvxPreviewSearch.h"
#include "preview/qvxPreviewTabs.h"
#include "preview/qvxPreviewWorkspace.h"
#include "report/model/qvxResources.h"
#include "report/report/qvxReportOptions.h"
#include "report/pages/qvxBands.h"
#include "report/views/qvxMemoView.h"
#include "report/model/qvxCustomPreviewPages.h"
#include "toolkit/classes/TStrings.h"
#include "toolkit/widgets/TCustomEdit.h"
#include "toolkit/widgets/TForm.h"

#include <QAction>
#include <QElapsedTimer>
#include <QPushButton>
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QPointer>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

// A visible form holding a preview bound to count prepared pages.
struct PreviewOnForm {
    explicit PreviewOnForm(int count = 3) : prepared(count)
    {
        form.SetBounds(0, 0, 900, 700);
        preview = new TqvxPreview(&form);
        preview->SetAlign(alClient);
        preview->SetParent(&form);
        form.Show();
        prepared.report->SetPreview(preview);
        settle();
    }
    ~PreviewOnForm() { prepared.report->SetPreview(nullptr); }

    static void settle()
    {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }
    QImage grabWorkspace() const
    {
        settle();
        return preview->Workspace()->Widget()->grab().toImage();
    }

    TPreparedReport prepared;
    TForm form{nullptr};
    TqvxPreview *preview;
};

QRgb rgb(TColor color)
{
    return qRgb(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

} // namespace

TEST(Preview, BindingShowsThePreparedPages)
{
    PreviewOnForm view(3);
    EXPECT_EQ(view.preview->PageCount(), 3);
    EXPECT_EQ(view.preview->PageNo(), 1);
    EXPECT_EQ(view.preview->Workspace()->PageList().Count(), 3);
    EXPECT_EQ(view.preview->Tabs()->Count(), 1);
    EXPECT_FALSE(view.preview->TabBar()->isVisibleTo(view.preview->Widget()));
}

TEST(Preview, PageNumbersAreClampedAndFollowTheScrollPosition)
{
    PreviewOnForm view(5);
    QList<int> changes;
    view.preview->OnPageChanged = [&](TqvxPreview *, int pageNo) { changes << pageNo; };
    view.preview->SetPageNo(9);
    EXPECT_EQ(view.preview->PageNo(), 5);
    view.preview->First();
    EXPECT_EQ(view.preview->PageNo(), 1);
    view.preview->Next();
    EXPECT_EQ(view.preview->PageNo(), 2);
    EXPECT_EQ(view.preview->Workspace()->CurrentPage(), 2);
    // The page area scrolled to the page's top less 10 pixels.
    const TqvxPageItem &second = view.preview->Workspace()->PageList().Items(1);
    EXPECT_EQ(view.preview->Workspace()->VertPosition(), second.OffsetY - 10);
    EXPECT_EQ(changes.last(), 2);

    // Scrolling the area makes the page at the top current, without
    // scrolling back.
    const TqvxPageItem &fourth = view.preview->Workspace()->PageList().Items(3);
    view.preview->Workspace()->SetVertPosition(fourth.OffsetY + 5);
    EXPECT_EQ(view.preview->PageNo(), 4);
    EXPECT_EQ(view.preview->Workspace()->VertPosition(), fourth.OffsetY + 5);
}

TEST(Preview, ZoomKeepsItsFloorAndRelaysThePages)
{
    PreviewOnForm view(2);
    const int width = view.preview->Workspace()->PageList().Items(0).Width;
    view.preview->SetZoom(2);
    EXPECT_EQ(view.preview->Workspace()->PageList().Items(0).Width, 2 * width);
    view.preview->SetZoomMode(zmPageWidth);
    view.preview->SetZoom(0.1);
    EXPECT_DOUBLE_EQ(view.preview->Zoom(), 0.25);
    EXPECT_EQ(view.preview->ZoomMode(), zmDefault);
    view.preview->SetZoom(0.35);
    view.preview->MouseWheelScroll(-120, false, true);
    EXPECT_DOUBLE_EQ(view.preview->Zoom(), 0.3);
}

TEST(Preview, PaintsBackgroundBorderAndTheActiveFrame)
{
    PreviewOnForm view(2);
    view.preview->SetZoom(0.5);
    const QImage image = view.grabWorkspace();
    TqvxPreviewWorkspace *workspace = view.preview->Workspace();
    const TRect page = workspace->PageRect(0);
    ASSERT_GT(page.Left, 4);
    EXPECT_EQ(image.pixel(2, 2), rgb(workspace->BackColor()));
    EXPECT_EQ(image.pixel(page.Left - 1, page.Top + 40), rgb(workspace->ActiveFrameColor()));
    EXPECT_EQ(image.pixel(page.Left, page.Top + 40), rgb(workspace->FrameColor()));
    EXPECT_EQ(image.pixel(page.Left + 3, page.Top + 3), qRgb(255, 255, 255));
    // The second page is not current: no active frame around it.
    const TRect second = workspace->PageRect(1);
    EXPECT_EQ(image.pixel(second.Left - 1, second.Top + 40), rgb(workspace->BackColor()));
}

TEST(Preview, SearchFindsTextOnLaterPagesAndAsksOnceWhenNothingIsLeft)
{
    PreviewOnForm view(3);
    RecordingRunner runner;
    const auto installed = qvxPreviewDialogs().Find;
    qvxPreviewDialogs().Find = [](TqvxFindRequest &request) {
        request.Text = QStringLiteral("page 2");
        request.FromTop = true;
        return true;
    };
    view.preview->Find();
    qvxPreviewDialogs().Find = installed;
    EXPECT_TRUE(qvxSearchState().TextFound);
    EXPECT_EQ(view.preview->Workspace()->FindPage(), 1);
    EXPECT_TRUE(runner.boxes.empty());

    // Past the last hit the search offers to go on from the top; not
    // going on ends it without a further word.
    view.preview->FindNext();
    EXPECT_FALSE(qvxSearchState().TextFound);
    ASSERT_EQ(runner.boxes.size(), 1u);
    EXPECT_EQ(runner.boxes[0].Text, qvxResources()->Get("clSearchFromStart"));
}

TEST(Preview, AnExportThatCannotWriteItsFileIsReportedOnce)
{
    PreviewOnForm view(2);
    view.prepared.report->EngineOptions()->SetNewSilentMode(simMessageBoxes);
    RecordingRunner runner;
    QTemporaryDir dir;
    TqvxPDFExport filter;
    filter.SetShowDialog(false);
    filter.SetFileName(dir.filePath(QStringLiteral("missing/order.pdf")));
    view.preview->Export(&filter);
    ASSERT_EQ(runner.boxes.size(), 1u);
    EXPECT_TRUE(runner.boxes[0].Text.contains(QStringLiteral("order.pdf"))) << runner.boxes[0].Text.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("missing/order.pdf"))));
}

TEST(Preview, SearchHighlightInvertsTheHit)
{
    PreviewOnForm view(1);
    const QImage before = view.grabWorkspace();
    qvxSearchState().SearchText = QStringLiteral("Page 1");
    qvxSearchState().SearchCaseSensitive = true;
    qvxSearchState().LastFoundRecord = -1;
    view.preview->Workspace()->SetFindPage(0);
    ASSERT_TRUE(view.preview->Workspace()->Find());
    const QImage after = view.grabWorkspace();
    const TRect page = view.preview->Workspace()->PageRect(0);
    const TRect hit = qvxSearchState().FoundRect;
    const int x = page.Left + (hit.Left + hit.Right) / 2;
    const int y = page.Top + (hit.Top + hit.Bottom) / 2;
    EXPECT_EQ(after.pixel(x, y), qRgb(255, 255, 255) ^ (before.pixel(x, y) & 0xFFFFFF));
    qvxSearchState() = TqvxSearchState();
}

TEST(PreviewTabs, ClosingATabReturnsToTheFirstReportAsItWasLeft)
{
    PreviewOnForm view(6);
    view.preview->SetZoom(0.5);
    view.preview->SetPageNo(4);
    const int vert = view.preview->Workspace()->VertPosition();

    TPreparedReport second(2);
    view.preview->AddPreviewTab(second.report.get(), QStringLiteral("Detail"), false, QString());
    EXPECT_EQ(view.preview->Tabs()->Count(), 2);
    EXPECT_TRUE(view.preview->TabBar()->isVisibleTo(view.preview->Widget()));
    EXPECT_EQ(view.preview->PageCount(), 2);
    EXPECT_TRUE(view.preview->HasTab("Detail"));
    view.preview->SetZoom(2);
    view.preview->SetPageNo(2);

    view.preview->CloseTab(1);
    EXPECT_EQ(view.preview->Tabs()->Count(), 1);
    EXPECT_EQ(view.preview->PageCount(), 6);
    EXPECT_DOUBLE_EQ(view.preview->Zoom(), 0.5);
    EXPECT_EQ(view.preview->PageNo(), 4);
    EXPECT_EQ(view.preview->Workspace()->VertPosition(), vert);
    EXPECT_FALSE(view.preview->TabBar()->isVisibleTo(view.preview->Widget()));
    EXPECT_EQ(second.report->Preview(), nullptr);
}

TEST(PreviewTabs, ClosingTheFirstOfTwoSelectsTheOther)
{
    PreviewOnForm view(2);
    TPreparedReport second(3);
    view.preview->AddPreviewTab(second.report.get(), QStringLiteral("Detail"), false, QString());
    view.preview->CloseTab(0);
    EXPECT_EQ(view.preview->Tabs()->Count(), 1);
    EXPECT_EQ(view.preview->Tabs()->CurrentTab(), 0);
    EXPECT_EQ(view.preview->TabBar()->currentIndex(), 0);
    EXPECT_EQ(view.preview->PageCount(), 3);
    view.preview->CloseTab(0);
    second.report->SetPreview(nullptr);
}

TEST(PreviewTabs, SwitchingToAnExistingCaptionBuildsNothing)
{
    PreviewOnForm view(2);
    TPreparedReport second(3);
    view.preview->AddPreviewTab(second.report.get(), QStringLiteral("Detail"), false, QStringLiteral("Shown"));
    EXPECT_EQ(view.preview->TabBar()->tabText(1), "Shown");
    view.preview->TabBar()->setCurrentIndex(0);
    EXPECT_EQ(view.preview->PageCount(), 2);
    view.preview->SwitchToTab("Detail");
    EXPECT_EQ(view.preview->Tabs()->Count(), 2);
    EXPECT_EQ(view.preview->PageCount(), 3);
    view.preview->CloseTab(1);
}

TEST(PreviewTabs, AnOwnedReportGoesWithItsTab)
{
    PreviewOnForm view(2);
    auto *detail = new TqvxReport(view.preview);
    QPointer<TqvxReport> guard(detail);
    view.preview->AddPreviewTab(detail, QStringLiteral("Owned"), true, QString());
    view.preview->CloseTab(1);
    EXPECT_TRUE(guard.isNull());
}

TEST(PreviewWindow, ShowsAReportModelessAndTellsOfClosing)
{
    TPreparedReport prepared(4);
    prepared.report->PreviewOptions()->SetModal(false);
    prepared.report->PreviewOptions()->SetMaximized(false);
    int closed = 0;
    prepared.report->OnClosePreview = [&](TObject *) { ++closed; };
    prepared.report->ShowPreparedReport();
    QPointer<TForm> form = prepared.report->PreviewForm();
    ASSERT_FALSE(form.isNull());
    auto *window = qobject_cast<TqvxPreviewForm *>(form.data());
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->Visible());
    EXPECT_EQ(window->Preview()->PageCount(), 4);
    EXPECT_EQ(prepared.report->Preview(), window->Preview());
    EXPECT_EQ(window->StatusText(0), "Страница 1 из 4");
    window->Preview()->Last();
    EXPECT_EQ(window->StatusText(0), "Страница 4 из 4");
    EXPECT_EQ(window->PageEdit()->Caption(), "4");

    window->Close();
    QApplication::processEvents();
    EXPECT_EQ(closed, 1);
    EXPECT_TRUE(form.isNull());
    EXPECT_EQ(prepared.report->Preview(), nullptr);
}

TEST(PreviewWindow, ButtonsFollowTheOptionsAndThePreviewsState)
{
    TPreparedReport prepared(2);
    prepared.report->PreviewOptions()->SetModal(false);
    prepared.report->PreviewOptions()->SetButtons(pbPrint | pbZoom | pbNoFullScreen);
    prepared.report->ShowPreparedReport();
    auto *window = qobject_cast<TqvxPreviewForm *>(prepared.report->PreviewForm());
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->Button("PrintB")->isVisible());
    EXPECT_FALSE(window->Button("FullScreenBtn")->isVisible());
    EXPECT_FALSE(window->Button("FirstB")->isVisible());
    EXPECT_TRUE(window->Button("PrintB")->isEnabled());
    // The right menu mirrors the visible buttons with a caption.
    QStringList mirrored;
    for (QAction *item : window->RightMenu()->actions())
        mirrored << item->text();
    EXPECT_TRUE(mirrored.contains(window->Button("PrintB")->text()));
    EXPECT_FALSE(mirrored.contains(window->Button("OpenB")->text()));

    window->Preview()->BuildStart();
    EXPECT_FALSE(window->Button("PrintB")->isEnabled());
    EXPECT_FALSE(window->CloseQuery());
    window->Preview()->BuildEnd();
    EXPECT_TRUE(window->CloseQuery());
    delete window;
}

TEST(Preview, TheOutlineIsDrawnInItsColourFromTheStart)
{
    PreviewOnForm view;
    view.preview->SetOutlineVisible(true);
    view.settle();
    QWidget *tree = view.preview->OutlineTree()->viewport();
    const QImage drawn = tree->grab().toImage();
    EXPECT_EQ(drawn.pixel(drawn.width() / 2, drawn.height() - 2), ColorToQColor(clWindow).rgb());
}

TEST(PreviewWindow, TheCloseButtonIs68PixelsWideWithEitherCaption)
{
    TPreparedReport prepared(1);
    prepared.report->PreviewOptions()->SetModal(false);
    prepared.report->ShowPreparedReport();
    auto *window = qobject_cast<TqvxPreviewForm *>(prepared.report->PreviewForm());
    ASSERT_NE(window, nullptr);
    QWidget *button = window->Widget()->findChild<QToolBar *>()->widgetForAction(window->Button("CancelB"));
    for (const char *caption : {"clCancel", "clClose"}) {
        window->SetCancelCaption(qvxResources()->Get(QString::fromLatin1(caption)));
        QApplication::processEvents();
        EXPECT_EQ(button->width(), 68) << caption;
    }
    delete window;
}

TEST(PreviewWindow, TypedZoomIsAppliedAndShownAsSet)
{
    TPreparedReport prepared(1);
    prepared.report->PreviewOptions()->SetModal(false);
    prepared.report->ShowPreparedReport();
    auto *window = qobject_cast<TqvxPreviewForm *>(prepared.report->PreviewForm());
    ASSERT_NE(window, nullptr);
    window->ZoomBox()->SetCaption("1 5 0 %");
    window->ZoomChosen(-1);
    QApplication::processEvents();
    EXPECT_DOUBLE_EQ(window->Preview()->Zoom(), 1.5);
    EXPECT_EQ(window->ZoomBox()->Caption(), "150%");
    window->ZoomChosen(7);
    EXPECT_EQ(window->Preview()->ZoomMode(), zmWholePage);
    delete window;
}

TEST(PreviewWindow, ShowReportBuildsTheReportWhileTheWindowIsOpen)
{
    TqvxReport report;
    makeRowsReport(report, 5);

    report.ShowReport();
    QPointer<TForm> form = report.PreviewForm();
    ASSERT_FALSE(form.isNull());
    // The window is on the screen before the report builds: the report's
    // timer starts the build.
    EXPECT_TRUE(report.PreparationPending());
    report.TimerTick();
    auto *window = qobject_cast<TqvxPreviewForm *>(form.data());
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(window->Preview()->Running()) << report.Errors()->Text().toStdString();
    EXPECT_EQ(report.PreviewPages()->Count(), 5) << report.Errors()->Text().toStdString();
    EXPECT_EQ(window->Preview()->PageCount(), 5);
    EXPECT_EQ(window->Preview()->Workspace()->PageList().Count(), 5);
    EXPECT_EQ(window->Preview()->Thumbnails()->PageList().Count(), 5);
    EXPECT_EQ(window->StatusText(0), "Страница 1 из 5");
    EXPECT_TRUE(window->Button("PrintB")->isEnabled());

    qvxSearchState() = TqvxSearchState();
    qvxSearchState().SearchText = QStringLiteral("row 4");
    window->Preview()->Workspace()->SetFindPage(0);
    EXPECT_TRUE(window->Preview()->Workspace()->Find());
    EXPECT_EQ(window->Preview()->Workspace()->FindPage(), 3);
    qvxSearchState() = TqvxSearchState();
    delete form.data();
}

namespace {

// A report whose script's main block loops without end, shown in a
// window of its own.
struct LoopingReport {
    LoopingReport()
    {
        report.SetName(QStringLiteral("Report1"));
        report.EngineOptions()->SetNewSilentMode(simSilent);
        report.PreviewOptions()->SetModal(false);
        report.PreviewOptions()->SetMaximized(false);
        report.ScriptText()->SetText(QStringLiteral("var i: Integer;\nbegin\n  while True do i := i + 1\nend."));
        auto *page = new TqvxReportPage(&report);
        page->SetName(QStringLiteral("Page1"));
    }

    TqvxReport report;
};

} // namespace

TEST(PreviewWindow, ClosingTheWindowEndsAScriptLoopingInItsMainBlock)
{
    LoopingReport looping;
    TqvxReport &report = looping.report;

    report.ShowReport();
    QPointer<TForm> form = report.PreviewForm();
    auto *window = qobject_cast<TqvxPreviewForm *>(form.data());
    ASSERT_NE(window, nullptr);
    // The user clicks "Закрыть" while the loop runs; the click waits until
    // the loop lets events run.  A run that does not end gives up after
    // ten seconds.
    QWidget *closeButton = window->Widget()->findChild<QToolBar *>()->widgetForAction(window->Button("CancelB"));
    ASSERT_NE(closeButton, nullptr);
    EXPECT_EQ(closeButton->property("text").toString(), QStringLiteral("Закрыть"));
    QTimer::singleShot(100, closeButton, [closeButton] { ClickMiddle(closeButton); });
    bool stoppedByHand = false;
    QTimer::singleShot(10000, &report, [&] {
        stoppedByHand = true;
        report.SetTerminated(true);
    });
    report.TimerTick();
    EXPECT_FALSE(stoppedByHand) << "closing the window did not stop the script";
    EXPECT_TRUE(report.Terminated());
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
    EXPECT_TRUE(form.isNull()) << "the window closed";
    EXPECT_EQ(report.Preview(), nullptr);
}

TEST(PreviewWindow, AMainBlockRunningLongIsOfferedACancelOverTheWindow)
{
    LoopingReport looping;
    TqvxReport &report = looping.report;
    report.ShowReport();
    QPointer<TForm> form = report.PreviewForm();
    ASSERT_FALSE(form.isNull());

    // Once a window with "Отмена" shows beside the preview, the user clicks
    // it; a run that is offered none gives up after ten seconds.
    bool offered = false;
    QElapsedTimer waited;
    waited.start();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (!window->isVisible() || window == form->Widget())
                continue;
            for (QPushButton *button : window->findChildren<QPushButton *>())
                if (button->isVisible() && button->text() == QStringLiteral("Отмена")) {
                    offered = true;
                    poll.stop();
                    ClickMiddle(button);
                    return;
                }
        }
        if (waited.hasExpired(10000)) {
            poll.stop();
            report.SetTerminated(true);
        }
    });
    poll.start(10);
    report.TimerTick();
    EXPECT_TRUE(offered);
    EXPECT_TRUE(report.Terminated());
    EXPECT_GE(waited.elapsed(), 900) << "not before the block has run about a second";
    delete form.data();
}

TEST(PreviewTabs, EachReportInTabGivesASecondReportItsOwnTab)
{
    PreviewOnForm view(2);
    view.preview->SetEachReportInTab(true);
    {
        TPreparedReport second(3);
        second.report->ReportOptions()->SetName(QStringLiteral("Second"));
        second.report->SetPreview(view.preview);
        EXPECT_EQ(view.preview->Tabs()->Count(), 2);
        EXPECT_TRUE(view.preview->HasTab("Second"));
        EXPECT_EQ(view.preview->PageCount(), 3);
        EXPECT_EQ(second.report->Preview(), view.preview);
    }
    // The report went: so did its tab, and the preview shows the first one
    // at once, not a blank area with the other tab out of reach.
    EXPECT_EQ(view.preview->Tabs()->Count(), 1);
    EXPECT_EQ(view.preview->PageCount(), 2);
    EXPECT_EQ(view.preview->Workspace()->PageList().Count(), 2);
    EXPECT_EQ(view.preview->BoundReport(), view.prepared.report.get());
}
