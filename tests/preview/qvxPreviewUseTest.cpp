// The preview window as a user meets it: keys typed into its boxes and
// pressed wherever the focus is, mouse clicks and wheel turns on its page
// area and thumbnails, a long build stopped half way, searches that wrap
// round, and the faults those once showed.

#include "engine/PreparedReport.h"
#include "report/RecordingRunner.h"

#include "preview/qvxCtrls.h"
#include "preview/qvxPreview.h"
#include "preview/RowsReport.h"
#include "preview/qvxPreviewDialogs.h"
#include "preview/qvxPreviewForm.h"
#include "preview/qvxPreviewSearch.h"
#include "preview/qvxPreviewTabs.h"
#include "preview/qvxPreviewWorkspace.h"
#include "report/components/qvxHyperlink.h"
#include "report/model/qvxResources.h"
#include "toolkit/classes/TStrings.h"
#include "toolkit/widgets/Dialogs.h"
#include "toolkit/widgets/TForm.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace {

void settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

void press(QWidget *target, int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString &text = {})
{
    QKeyEvent down(QEvent::KeyPress, qtKey, modifiers, text);
    QApplication::sendEvent(target, &down);
    QKeyEvent up(QEvent::KeyRelease, qtKey, modifiers, text);
    QApplication::sendEvent(target, &up);
}

void type(QWidget *target, const QString &text)
{
    for (const QChar c : text) {
        const int key = c == QLatin1Char(' ')   ? Qt::Key_Space
                        : c == QLatin1Char('%') ? Qt::Key_Percent
                                                : Qt::Key_0 + c.digitValue();
        press(target, key, Qt::NoModifier, QString(c));
    }
}

// The widget of control under its point (x, y), and the point in it.
QWidget *widgetAt(TControl *control, QPoint &at)
{
    QWidget *base = control->Widget();
    QWidget *child = base->childAt(at);
    QWidget *target = child ? child : base;
    at = target->mapFrom(base, at);
    return target;
}

void mouse(QEvent::Type type, TControl *control, int x, int y, Qt::MouseButton button = Qt::LeftButton)
{
    QPoint at(x, y);
    QWidget *target = widgetAt(control, at);
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease || type == QEvent::MouseMove ? Qt::NoButton : button;
    QMouseEvent event(type, at, target->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// The widget of control that takes its keys.
QWidget *keysOf(TControl *control)
{
    QPoint at(control->Width() / 2, control->Height() / 2);
    return widgetAt(control, at);
}

Qt::CursorShape cursorAt(TControl *control, int x, int y)
{
    QPoint at(x, y);
    return widgetAt(control, at)->cursor().shape();
}

void click(TControl *control, int x, int y)
{
    mouse(QEvent::MouseButtonPress, control, x, y);
    mouse(QEvent::MouseButtonRelease, control, x, y);
}

void wheel(TControl *control, int angle, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QPoint at(50, 50);
    QWidget *target = widgetAt(control, at);
    QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

QPoint centre(const TRect &r)
{
    return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
}

// The preview window of a prepared report, shown without its own modal
// loop; freed with the test.
struct PreviewWindow {
    explicit PreviewWindow(int count = 6, const std::function<void(TPreparedReport &)> &setUp = {})
        : prepared(count, 100, 150, setUp)
    {
        prepared.report->PreviewOptions()->SetModal(false);
        prepared.report->PreviewOptions()->SetMaximized(false);
        prepared.report->ShowPreparedReport();
        window = qobject_cast<TqvxPreviewForm *>(prepared.report->PreviewForm());
        preview = window->Preview();
        window->SetBounds(0, 0, 1000, 700);
        settle();
    }
    ~PreviewWindow() { delete window; }

    QLineEdit *zoomEditor() const { return static_cast<QComboBox *>(window->ZoomBox()->Widget())->lineEdit(); }
    TqvxPreviewWorkspace *workspace() const { return preview->Workspace(); }
    // The page at the top of the page area.
    int pageInView() const { return workspace()->PageList().GetPageNoAt(workspace()->VertPosition(), 0) + 1; }

    TPreparedReport prepared;
    TqvxPreviewForm *window;
    TqvxPreview *preview;
};

// Answers every question Yes (or No) and every file dialog with fileName.
class AnsweringRunner : public RecordingRunner
{
public:
    int MessageBox(const TMessageBoxRequest &request) override
    {
        RecordingRunner::MessageBox(request);
        return request.Buttons.testFlag(mbYes) ? (yes ? mrYes : mrNo) : mrOk;
    }
    bool FileDialog(TFileDialogRequest &request) override
    {
        request.FileName = fileName;
        return !fileName.isEmpty();
    }
    bool yes = true;
    QString fileName;
};

void search(const QString &text, bool fromTop)
{
    qvxPreviewDialogs().Find = [text, fromTop](TqvxFindRequest &request) {
        request.Text = text;
        request.FromTop = fromTop;
        request.CaseSensitive = false;
        return true;
    };
}

struct SearchScope {
    SearchScope() : installed(qvxPreviewDialogs().Find) { qvxSearchState() = TqvxSearchState(); }
    ~SearchScope()
    {
        qvxPreviewDialogs().Find = installed;
        qvxSearchState() = TqvxSearchState();
    }
    decltype(qvxPreviewDialogs().Find) installed;
};

} // namespace

// --- typing a zoom ---------------------------------------------------------------

TEST(PreviewUse, AZoomIsTypedWholeAndAppliedOnEnter)
{
    PreviewWindow view;
    QLineEdit *editor = view.zoomEditor();
    editor->setFocus();
    press(editor, Qt::Key_A, Qt::ControlModifier);
    type(editor, QStringLiteral("200"));
    // Nothing applies while typing, and the focus stays in the box.
    EXPECT_DOUBLE_EQ(view.preview->Zoom(), 1.0);
    EXPECT_EQ(editor->text(), "200");
    QWidget *focused = QApplication::focusWidget();
    EXPECT_TRUE(focused == editor || focused == view.window->ZoomBox()->Widget());
    press(editor, Qt::Key_Return);
    settle();
    EXPECT_DOUBLE_EQ(view.preview->Zoom(), 2.0);
    EXPECT_EQ(view.window->ZoomBox()->Caption(), "200%");

    editor->setFocus();
    press(editor, Qt::Key_A, Qt::ControlModifier);
    type(editor, QStringLiteral("1 5 0 %"));
    EXPECT_DOUBLE_EQ(view.preview->Zoom(), 2.0);
    press(editor, Qt::Key_Enter);
    settle();
    EXPECT_DOUBLE_EQ(view.preview->Zoom(), 1.5);
    EXPECT_EQ(view.window->ZoomBox()->Caption(), "150%");
}

TEST(PreviewUse, AHugeTypedZoomStopsAtTheLargestThatKeepsThePagesInRange)
{
    PreviewWindow view(3);
    QLineEdit *editor = view.zoomEditor();
    for (const QString &typed : {QStringLiteral("100000000"), QStringLiteral("10000000000")}) {
        editor->setFocus();
        press(editor, Qt::Key_A, Qt::ControlModifier);
        type(editor, typed);
        press(editor, Qt::Key_Return);
        settle();
        EXPECT_LE(view.preview->Zoom(), 10.0);
        const TqvxPageList &pages = view.workspace()->PageList();
        for (int i = 0; i < pages.Count(); ++i) {
            EXPECT_GT(pages.Items(i).Width, 0);
            EXPECT_GT(pages.Items(i).Height, 0);
            EXPECT_GT(pages.Items(i).OffsetY, i > 0 ? pages.Items(i - 1).OffsetY : 0);
        }
        EXPECT_GT(view.workspace()->VertRange(), 0);
    }
}

// --- a build stopped half way ----------------------------------------------------

TEST(PreviewUse, EscDuringALongBuildStopsItAndKeepsThePagesBuilt)
{
    TqvxReport report;
    makeRowsReport(report, 400);

    report.ShowReport();
    QPointer<TForm> form = report.PreviewForm();
    ASSERT_FALSE(form.isNull());
    auto *window = qobject_cast<TqvxPreviewForm *>(form.data());
    int laidOutWhileBuilding = 0;
    report.OnProgress = [&](TqvxReport *, TqvxProgressType type, int progress) {
        if (type != ptRunning)
            return;
        if (progress == 150) {
            // Any page built so far can be shown while the build goes on.
            laidOutWhileBuilding = window->Preview()->Workspace()->PageList().Count();
            window->Preview()->SetPageNo(120);
        }
        if (progress == 160)
            press(keysOf(window->Preview()->Workspace()), Qt::Key_Escape);
    };
    report.TimerTick();
    settle();

    ASSERT_FALSE(form.isNull());
    EXPECT_TRUE(window->Visible());
    EXPECT_GE(laidOutWhileBuilding, 100);
    EXPECT_FALSE(window->Preview()->Running());
    const int pages = window->Preview()->PageCount();
    EXPECT_GE(pages, 160);
    EXPECT_LT(pages, 400);
    EXPECT_EQ(window->Preview()->Workspace()->PageList().Count(), pages);
    EXPECT_EQ(window->StatusText(1), qvxResources()->Get(QStringLiteral("clBuildStopped")));
    EXPECT_TRUE(window->Button("PrintB")->isEnabled());
    // Esc now closes the window, as its button does.
    EXPECT_TRUE(window->CloseQuery());
    delete form.data();
}

// --- keys wherever the focus is ---------------------------------------------------

TEST(PreviewUse, PageKeysWorkAfterAThumbnailOrAnOutlineItemTookTheFocus)
{
    PreviewWindow view(6);
    view.preview->SetThumbnailVisible(true);
    settle();
    TqvxPreviewWorkspace *thumbnails = view.preview->Thumbnails();
    const QPoint third = centre(thumbnails->PageRect(2));
    click(thumbnails, third.x(), third.y());
    EXPECT_EQ(view.preview->PageNo(), 3);
    QWidget *focused = keysOf(thumbnails);
    press(focused, Qt::Key_End);
    EXPECT_EQ(view.preview->PageNo(), 6);
    press(focused, Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(view.preview->PageNo(), 5);
    press(focused, Qt::Key_Home);
    EXPECT_EQ(view.preview->PageNo(), 1);

    view.preview->SetOutlineVisible(true);
    settle();
    QTreeWidget *tree = view.preview->OutlineTree();
    press(tree, Qt::Key_End);
    EXPECT_EQ(view.preview->PageNo(), 6);
    press(tree, Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(view.preview->PageNo(), 5);
    // The tree keeps its arrows for its own items.
    press(tree, Qt::Key_Down);
    EXPECT_EQ(view.preview->PageNo(), 5);
}

// --- re-layouts and the page shown ---------------------------------------------------

TEST(PreviewUse, ARelayoutKeepsTheCurrentPageInViewAndTheCounterWithIt)
{
    PreviewWindow view(12);
    // One page a row.
    view.window->SetBounds(0, 0, 700, 700);
    settle();
    view.preview->SetPageNo(7);
    view.workspace()->SetVertPosition(view.workspace()->VertPosition() + 60);
    ASSERT_EQ(view.preview->PageNo(), 7);
    const TqvxPageItem before = view.workspace()->PageList().Items(6);
    const double place = double(view.workspace()->VertPosition() - before.OffsetY) / before.Height;

    QLineEdit *editor = view.zoomEditor();
    editor->setFocus();
    press(editor, Qt::Key_A, Qt::ControlModifier);
    type(editor, QStringLiteral("250"));
    press(editor, Qt::Key_Return);
    settle();
    ASSERT_DOUBLE_EQ(view.preview->Zoom(), 2.5);
    const TqvxPageItem after = view.workspace()->PageList().Items(6);
    EXPECT_EQ(view.preview->PageNo(), 7);
    EXPECT_EQ(view.pageInView(), 7);
    EXPECT_NEAR(double(view.workspace()->VertPosition() - after.OffsetY) / after.Height, place, 0.01);

    for (const auto &relayout : std::initializer_list<std::function<void()>>{
             [&] { view.preview->SetOutlineVisible(true); }, [&] { view.preview->SetThumbnailVisible(true); },
             [&] { view.preview->SetZoomMode(zmPageWidth); }, [&] { view.window->SetBounds(0, 0, 700, 500); }}) {
        relayout();
        settle();
        EXPECT_EQ(view.preview->PageNo(), 7);
        EXPECT_EQ(view.pageInView(), 7);
        EXPECT_EQ(view.window->StatusText(0), "Страница 7 из 12");
    }

    // The counter stays while the mouse moves over a page with no hint.
    const QPoint onPage = centre(view.workspace()->PageRect(6));
    mouse(QEvent::MouseMove, view.workspace(), onPage.x(), std::max(onPage.y(), 5));
    EXPECT_EQ(view.window->StatusText(0), "Страница 7 из 12");
}

// --- full screen ------------------------------------------------------------------

TEST(PreviewUse, F11TwiceGivesTheWindowBackItsPlaceAndSize)
{
    PreviewWindow view(2);
    view.window->SetBounds(120, 90, 800, 600);
    settle();
    QWidget *top = view.window->Widget()->window();
    const QRect before = top->geometry();
    press(keysOf(view.workspace()), Qt::Key_F11);
    settle();
    EXPECT_TRUE(view.window->FullScreen());
    press(keysOf(view.workspace()), Qt::Key_F11);
    settle();
    EXPECT_FALSE(view.window->FullScreen());
    EXPECT_EQ(top->geometry(), before);
}

// --- mouse ------------------------------------------------------------------------

TEST(PreviewUse, RightToLeftClicksHitThePageDrawnUnderTheMouseWhenScrolledAcross)
{
    // Two narrow pages share the first row; a wide third page makes the
    // area scroll across.
    PreviewWindow view(2, [](TPreparedReport &prepared) {
        auto *wide = NewObject<TqvxReportPage>(prepared.report.get());
        wide->SetParent(prepared.report.get());
        wide->SetName(QStringLiteral("Page2"));
        wide->SetPaperWidth(400);
        wide->SetPaperHeight(100);
        prepared.store()->AddSourcePage(wide);
    });
    TqvxPreviewPages *store = view.prepared.store();
    store->AddPage(qobject_cast<TqvxReportPage *>(view.prepared.report->FindObject(QStringLiteral("Page2"))));
    view.workspace()->SetRightToLeft(true);
    view.preview->UpdatePages();
    view.preview->SetPageNo(1);
    ASSERT_GT(view.workspace()->HorzRange(), view.workspace()->HorzPage());
    view.workspace()->SetHorzPosition(300);
    ASSERT_EQ(view.workspace()->HorzPosition(), 300);

    for (int index : {0, 1}) {
        TRect r = view.workspace()->PageRect(index);
        r.Right = std::min(r.Right, view.workspace()->ClientWidth() - 1);
        r.Bottom = std::min(r.Bottom, view.workspace()->ClientHeight() - 1);
        ASSERT_LT(r.Left, r.Right);
        const QPoint at = centre(r);
        click(view.workspace(), at.x(), at.y());
        EXPECT_EQ(view.preview->PageNo(), index + 1);
        view.preview->SetPageNo(3);
        view.workspace()->SetVertPosition(0);
        view.workspace()->SetHorzPosition(300);
    }
}

TEST(PreviewUse, LinksHaveTheirOwnCursorAndMouseDownReachesThePreviewsHandler)
{
    PreviewWindow view(2, [](TPreparedReport &prepared) {
        prepared.memo->Hyperlink()->SetKind(hkURL);
        prepared.memo->Hyperlink()->SetValue(QStringLiteral("https://example.com"));
    });
    int downs = 0;
    view.preview->OnMouseDown = [&](TObject *sender, TMouseButton button, TShiftState, int, int) {
        // From the page area, in its own coordinates.
        EXPECT_EQ(sender, view.workspace());
        downs += button == mbLeft;
    };
    const TRect page = view.workspace()->PageRect(0);
    const double zoom = view.preview->Zoom();
    // The memo sits at (20, 30) inside 10 mm margins.
    const int linkX = page.Left + int((10 * 3.77953 + 40) * zoom);
    const int linkY = page.Top + int((10 * 3.77953 + 50) * zoom);
    mouse(QEvent::MouseMove, view.workspace(), linkX, linkY);
    const Qt::CursorShape overLink = cursorAt(view.workspace(), linkX, linkY);
    mouse(QEvent::MouseMove, view.workspace(), page.Right - 20, page.Bottom - 20);
    const Qt::CursorShape overPage = cursorAt(view.workspace(), page.Right - 20, page.Bottom - 20);
    EXPECT_EQ(overLink, Qt::PointingHandCursor);
    EXPECT_NE(overPage, overLink);

    mouse(QEvent::MouseButtonPress, view.workspace(), page.Right - 20, page.Bottom - 20);
    mouse(QEvent::MouseButtonRelease, view.workspace(), page.Right - 20, page.Bottom - 20);
    EXPECT_EQ(downs, 1);
}

TEST(PreviewUse, SmallWheelStepsAddUpToANotch)
{
    PreviewWindow view(6);
    const int start = view.workspace()->VertPosition();
    for (int i = 0; i < 8; ++i)
        wheel(view.workspace(), -15);
    EXPECT_EQ(view.workspace()->VertPosition(), start + 20);
    wheel(view.workspace(), -120);
    EXPECT_EQ(view.workspace()->VertPosition(), start + 40);
    // Ctrl zooms by a tenth a notch, and by parts of it for parts.
    wheel(view.workspace(), 60, Qt::ControlModifier);
    EXPECT_NEAR(view.preview->Zoom(), 1.05, 1e-9);
}

// --- operations on the pages ---------------------------------------------------------

TEST(PreviewUse, SavingAsATextFileNameSavesAPreparedReportBesideIt)
{
    PreviewWindow view(2);
    QTemporaryDir dir;
    AnsweringRunner runner;
    runner.fileName = dir.filePath(QStringLiteral("a.txt"));
    view.preview->SaveToFile();
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("a.qp3"))));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("a.txt.qp3"))));
    EXPECT_EQ(TqvxPreview::PreparedFileName(QStringLiteral("/x/b.QP3")), "/x/b.QP3");
    EXPECT_EQ(TqvxPreview::PreparedFileName(QStringLiteral("/x.d/b")), "/x.d/b.qp3");
}

TEST(PreviewUse, ClearLeavesNothingToPrintOrSave)
{
    PreviewWindow view(2);
    EXPECT_TRUE(view.window->Button("PrintB")->isEnabled());
    view.preview->Clear();
    EXPECT_EQ(view.preview->PageCount(), 0);
    for (const char *name : {"PrintB", "SaveB", "FindB", "PageSettingsB"})
        EXPECT_FALSE(view.window->Button(QString::fromLatin1(name))->isEnabled()) << name;
}

// --- searching ----------------------------------------------------------------------

TEST(PreviewUse, SearchAsksToGoOnFromTheTopAndFindsWhatLiesBefore)
{
    PreviewWindow view(6);
    SearchScope scope;
    AnsweringRunner runner;
    view.preview->SetPageNo(4);
    search(QStringLiteral("page 2"), false);
    view.preview->Find();
    ASSERT_EQ(runner.boxes.size(), 1u);
    EXPECT_EQ(runner.boxes[0].Text, qvxResources()->Get(QStringLiteral("clSearchFromStart")));
    EXPECT_TRUE(qvxSearchState().TextFound);
    EXPECT_EQ(view.workspace()->FindPage(), 1);

    // F3 after the only hit: round again to the same place.
    press(keysOf(view.workspace()), Qt::Key_F3);
    ASSERT_EQ(runner.boxes.size(), 2u);
    EXPECT_TRUE(qvxSearchState().TextFound);
    EXPECT_EQ(view.workspace()->FindPage(), 1);

    // No: the search ends there, without a second word.
    runner.yes = false;
    press(keysOf(view.workspace()), Qt::Key_F3);
    EXPECT_EQ(runner.boxes.size(), 3u);
    EXPECT_FALSE(qvxSearchState().TextFound);

    // From the top there is nothing to go round to.
    search(QStringLiteral("page 9"), true);
    view.preview->Find();
    ASSERT_EQ(runner.boxes.size(), 4u);
    EXPECT_EQ(runner.boxes[3].Text, qvxResources()->Get(QStringLiteral("clStrNotFound")));
}

TEST(PreviewUse, F3GoesOnAfterAZoomAndFindsAPhraseOverTwoObjects)
{
    PreviewWindow view(6, [](TPreparedReport &prepared) {
        prepared.addMemo(QStringLiteral("Memo2"), 75, 40)->Memo()->SetText(QStringLiteral("of the order"));
    });
    SearchScope scope;
    AnsweringRunner runner;
    search(QStringLiteral("page 3  of the"), true);
    view.preview->Find();
    EXPECT_TRUE(qvxSearchState().TextFound);
    EXPECT_EQ(view.workspace()->FindPage(), 2);

    search(QStringLiteral("of the order"), true);
    view.preview->Find();
    EXPECT_EQ(view.workspace()->FindPage(), 0);
    wheel(view.workspace(), 120, Qt::ControlModifier);
    view.window->SetBounds(0, 0, 900, 650);
    settle();
    press(keysOf(view.workspace()), Qt::Key_F3);
    EXPECT_TRUE(qvxSearchState().TextFound);
    EXPECT_EQ(view.workspace()->FindPage(), 1);
    EXPECT_TRUE(runner.boxes.empty());
}

TEST(PreviewUse, TheTextKeptForSearchingStaysWithinItsBudget)
{
    PreviewWindow view(40);
    SearchScope scope;
    AnsweringRunner runner;
    view.workspace()->SetSearchBudget(600);
    // No page shows the word: none is read.
    search(QStringLiteral("nowhere"), true);
    view.preview->Find();
    ASSERT_EQ(runner.boxes.size(), 1u);
    EXPECT_EQ(view.workspace()->SearchIndex().PagesKept(), 0);
    // Every page may show it after another text on the same line, so every
    // page is read; none has two texts.
    search(QStringLiteral(" page"), true);
    view.preview->Find();
    ASSERT_EQ(runner.boxes.size(), 2u);
    EXPECT_LE(view.workspace()->SearchIndex().Bytes(), 600);
    EXPECT_GT(view.workspace()->SearchIndex().PagesKept(), 0);
    EXPECT_LT(view.workspace()->SearchIndex().PagesKept(), 40);
    // The pages kept are found again without reading them.
    search(QStringLiteral("page 40"), true);
    view.preview->Find();
    EXPECT_EQ(view.workspace()->FindPage(), 39);
}

TEST(PreviewUse, SearchFindsWhatPagesShowInTheSwapFileAfterAScriptChangedThemAndInASavedFile)
{
    TqvxReport report;
    makeRowsReport(report, 60);
    report.EngineOptions()->SetUseFileCache(true);
    report.EngineOptions()->SetMaxMemSize(0);
    auto *band = report.FindObject(QStringLiteral("MasterData1"));
    auto *tagged = new TqvxMemoView(band);
    tagged->SetName(QStringLiteral("Tagged"));
    tagged->SetBounds(10, 40, 300, 20);
    tagged->SetAllowHTMLTags(true);
    tagged->SetText(QStringLiteral("<b>Жирный</b> ряд [Line#]"));
    auto *printed = new TqvxMemoView(band);
    printed->SetName(QStringLiteral("Printed"));
    printed->SetBounds(10, 70, 300, 20);
    printed->SetVisibility(TqvxVisibilityTypes(vsPrint) | vsExport);
    printed->SetText(QStringLiteral("тайна [Line#]"));
    ASSERT_TRUE(report.PrepareReport(true));
    report.ShowPreparedReport();
    auto *window = qobject_cast<TqvxPreviewForm *>(report.PreviewForm());
    ASSERT_NE(window, nullptr);
    TqvxPreview *preview = window->Preview();
    SearchScope scope;
    AnsweringRunner runner;
    // The page number the search from the top ends on; 0 for none.
    const auto foundOn = [&](const QString &text) {
        search(text, true);
        preview->Find();
        return qvxSearchState().TextFound ? preview->Workspace()->FindPage() + 1 : 0;
    };

    // Without its tags, whatever its case, on a page read back from the
    // swap file; and again, from what the first search kept.
    EXPECT_EQ(foundOn(QStringLiteral("жирный РЯД 37")), 37);
    const double tagTop = preview->PreviewPages()->GetPage(36)->TopMargin() * qv01cm + 40;
    EXPECT_GE(qvxSearchState().FoundRect.Top, tagTop - 1);
    EXPECT_LT(qvxSearchState().FoundRect.Top, tagTop + 20);
    EXPECT_EQ(foundOn(QStringLiteral("жирный ряд 37")), 37);
    EXPECT_EQ(foundOn(QStringLiteral("тайна")), 0);
    EXPECT_EQ(foundOn(QStringLiteral("тайна")), 0);

    // A script in the preview changes a page the page cache holds, as a
    // click on an object does.
    auto *row = qobject_cast<TqvxMemoView *>(preview->PreviewPages()->GetPage(11)->FindObject(QStringLiteral("Memo1")));
    ASSERT_NE(row, nullptr);
    row->SetText(QStringLiteral("Изменено щелчком"));
    preview->InvalidatePages();
    EXPECT_EQ(foundOn(QStringLiteral("изменено щелчком")), 12);

    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("rows.qp3"));
    preview->SaveToFile(fileName);
    preview->Clear();
    EXPECT_EQ(foundOn(QStringLiteral("жирный ряд 52")), 0);
    preview->LoadFromFile(fileName);
    EXPECT_EQ(foundOn(QStringLiteral("жирный ряд 52")), 52);
    delete window;
}

TEST(PreviewUse, APageThatCannotBeReadEndsTheSearchWithItsErrorAndTheNextSearchRuns)
{
    PreviewWindow view(30);
    SearchScope scope;
    AnsweringRunner runner;
    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("damaged.qp3"));
    view.preview->SaveToFile(fileName);
    QFile file(fileName);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray bytes = file.readAll();
    file.close();
    // Page 21, out of view, holds an object of no class the program knows.
    const QByteArray damagedText = "u=\"Page 21\"/>";
    const qsizetype damaged = bytes.indexOf(damagedText);
    ASSERT_GE(damaged, 0);
    bytes.insert(damaged + damagedText.size(), "<TNoSuchView l=\"1\"/>");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    file.close();
    view.preview->LoadFromFile(fileName);
    ASSERT_EQ(view.preview->PreviewPages()->Count(), 30);

    search(QStringLiteral("page 21"), true);
    view.preview->Find();
    ASSERT_EQ(runner.boxes.size(), 1u);
    EXPECT_TRUE(runner.boxes[0].Text.contains(QStringLiteral("TNoSuchView"))) << runner.boxes[0].Text.toStdString();
    EXPECT_FALSE(qvxSearchState().TextFound);
    EXPECT_FALSE(view.preview->Searching());

    // F3 goes on after that page, to the end; a new search finds what the
    // other pages show.
    runner.yes = false;
    press(keysOf(view.workspace()), Qt::Key_F3);
    ASSERT_EQ(runner.boxes.size(), 2u);
    EXPECT_EQ(runner.boxes[1].Text, qvxResources()->Get(QStringLiteral("clSearchFromStart")));
    search(QStringLiteral("page 25"), true);
    view.preview->Find();
    EXPECT_TRUE(qvxSearchState().TextFound);
    EXPECT_EQ(view.workspace()->FindPage(), 24);
    EXPECT_EQ(runner.boxes.size(), 2u);
}

TEST(PreviewUse, EscStopsASearchWhileTheWindowKeepsAnswering)
{
    PreviewWindow view(200);
    SearchScope scope;
    AnsweringRunner runner;
    // Esc waits in the event queue until the search lets events run.
    QWidget *keys = keysOf(view.workspace());
    QTimer::singleShot(0, keys, [keys] { press(keys, Qt::Key_Escape); });
    search(QStringLiteral("nowhere"), true);
    view.preview->Find();
    EXPECT_FALSE(qvxSearchState().TextFound);
    EXPECT_TRUE(runner.boxes.empty());
    EXPECT_LT(view.workspace()->FindPage(), 199);
    EXPECT_FALSE(view.preview->Searching());
    EXPECT_TRUE(view.window->Visible());
    EXPECT_EQ(view.window->StatusText(0), "Страница 1 из 200");
}

// --- looks -----------------------------------------------------------------------

TEST(PreviewUse, ToolButtonsAre23PixelsHighAndTheBarHoldsThem)
{
    PreviewWindow view(2);
    QToolBar *bar = view.window->Widget()->findChild<QToolBar *>();
    ASSERT_NE(bar, nullptr);
    for (const char *name : {"PrintB", "FindB", "ZoomPlusB", "FirstB", "LastB"}) {
        QWidget *button = bar->widgetForAction(view.window->Button(QString::fromLatin1(name)));
        ASSERT_NE(button, nullptr) << name;
        EXPECT_GE(button->height(), 23) << name;
        EXPECT_GE(button->width(), 23) << name;
        EXPECT_LE(button->geometry().bottom(), bar->height()) << name;
    }
}

TEST(PreviewUse, ButtonImagesAreDrawnSharpAtTwiceTheScale)
{
    PreviewWindow view(2);
    for (const char *name : {"PrintB", "OpenB", "SaveB", "FindB", "ZoomPlusB", "ZoomMinusB", "FullScreenBtn",
                             "OutlineB", "ThumbB", "PageSettingsB", "FirstB", "PriorB", "NextB", "LastB"}) {
        const QIcon icon = view.window->Button(QString::fromLatin1(name))->icon();
        const QPixmap doubled = icon.pixmap(QSize(16, 16), 2.0);
        EXPECT_EQ(doubled.size(), QSize(32, 32)) << name;
        EXPECT_DOUBLE_EQ(doubled.devicePixelRatio(), 2.0) << name;
        // Not the small image blown up: some pixel of the large one has no
        // like in the small one's block of four.
        const QImage large = doubled.toImage().convertToFormat(QImage::Format_ARGB32);
        const QImage small = icon.pixmap(QSize(16, 16), 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
        bool finer = false;
        for (int y = 0; y < 32 && !finer; ++y)
            for (int x = 0; x < 32 && !finer; ++x)
                finer = large.pixel(x, y) != large.pixel(x & ~1, y & ~1);
        EXPECT_TRUE(finer) << name;
        EXPECT_FALSE(small.isNull()) << name;
    }
}

TEST(PreviewUse, StatusPanelsAndTheZoomListShowTheirWholeContent)
{
    PreviewWindow view(2);
    QStatusBar *status = view.window->Widget()->findChild<QStatusBar *>();
    ASSERT_NE(status, nullptr);
    const QList<QLabel *> panels = status->findChildren<QLabel *>();
    ASSERT_EQ(panels.size(), 3);
    for (QLabel *panel : panels) {
        EXPECT_GE(panel->geometry().top(), 0);
        EXPECT_LE(panel->geometry().bottom(), status->height() - 1);
        EXPECT_GE(panel->height(), panel->fontMetrics().height() + 2 * panel->frameWidth());
    }
    QLabel *first = panels.at(0);
    EXPECT_GE(first->contentsRect().width(), first->fontMetrics().horizontalAdvance(QStringLiteral("Страница 9999 из 9999")));

    auto *box = static_cast<QComboBox *>(view.window->ZoomBox()->Widget());
    view.window->ZoomBox()->SetDroppedDown(true);
    settle();
    QAbstractItemView *list = box->view();
    for (int i = 0; i < box->count(); ++i)
        EXPECT_GE(list->width(), list->fontMetrics().horizontalAdvance(box->itemText(i))) << i;
    const int rows = std::min(box->count(), view.window->ZoomBox()->DropDownCount());
    EXPECT_GE(list->height(), rows * list->sizeHintForRow(0));
    EXPECT_LE(list->height(), rows * list->sizeHintForRow(0) + 2 * list->frameWidth() + 2);
    view.window->ZoomBox()->SetDroppedDown(false);
}
