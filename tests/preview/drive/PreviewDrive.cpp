// Drives the preview window on a real X server (run under xvfb-run, with a
// window manager when one is installed): a 30-page report is shown, paged
// by keys and the wheel, zoomed, searched, followed through an outline item
// and a hyperlink, exported to PDF through the export menu, and closed.
// The screen is read back from the X server and checked.  With a file name
// argument the screenshot is also written there (PPM).  Prints each failed
// check and exits 1 when any failed.

#include "engine/PreparedReport.h"

#include "export/pdf/PdfExportUnits.h"
#include "export/pdf/qvxExportPDF.h"
#include "preview/PreviewUnits.h"
#include "preview/qvxPreview.h"
#include "preview/qvxPreviewDialogs.h"
#include "preview/qvxPreviewForm.h"
#include "preview/qvxPreviewSearch.h"
#include "preview/qvxPreviewWorkspace.h"
#include "preview/RowsReport.h"
#include "preview/qvxCtrls.h"
#include "report/model/qvxResources.h"
#include "toolkit/widgets/Dialogs.h"
#include "toolkit/widgets/ModalRunner.h"
#include "report/components/qvxHyperlink.h"
#include "report/model/qvxCustomOutline.h"
#include "toolkit/core/Units.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QScreen>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QWindow>

#include <cstdio>

namespace {

int failures = 0;

void check(bool ok, const char *what)
{
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what);
    failures += ok ? 0 : 1;
}

void settle(int rounds = 10)
{
    for (int i = 0; i < rounds; ++i)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

// The widget under a point of a control, and the point in its terms.
QWidget *widgetAt(TControl *control, int x, int y, QPoint &local)
{
    const TPoint global = control->ClientToScreen(Point(x, y));
    QWidget *widget = QApplication::widgetAt(global.X, global.Y);
    if (widget)
        local = widget->mapFromGlobal(QPoint(global.X, global.Y));
    return widget;
}

void key(QWidget *target, int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, qtKey, modifiers);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, qtKey, modifiers);
    QApplication::sendEvent(target, &release);
    settle(2);
}

void click(TControl *control, int x, int y)
{
    QPoint local;
    QWidget *widget = widgetAt(control, x, y, local);
    if (!widget)
        return;
    const QPoint global = widget->mapToGlobal(local);
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
    settle(2);
}

void wheel(TControl *control, int delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QPoint local;
    QWidget *widget = widgetAt(control, 50, 50, local);
    if (!widget)
        return;
    QWheelEvent event(local, widget->mapToGlobal(local), QPoint(), QPoint(0, delta), Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
    settle(2);
}

bool waitExposed(QWidget *widget)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 10000) {
        QWindow *window = widget->windowHandle();
        if (window && window->isExposed())
            return true;
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return false;
}

int countColor(const QImage &image, QRgb color)
{
    int count = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            count += (image.pixel(x, y) & 0xFFFFFF) == (color & 0xFFFFFF);
    return count;
}

QRgb rgb(TColor color)
{
    return qRgb(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

void type(QWidget *target, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_0 + c.digitValue(), Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_0 + c.digitValue(), Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &release);
    }
    settle(2);
}

// Waits for the window manager to move the window away from from (up to
// three seconds), then for its place to stay put for 0.8 seconds.
QRect settledGeometry(QWidget *window, const QRect &from = QRect())
{
    QElapsedTimer timer;
    timer.start();
    while (from.isValid() && window->geometry() == from && timer.elapsed() < 3000)
        settle(1);
    QRect last = window->geometry();
    QElapsedTimer still;
    still.start();
    while (still.elapsed() < 800 && timer.elapsed() < 6000) {
        settle(1);
        if (window->geometry() != last) {
            last = window->geometry();
            still.restart();
        }
    }
    return last;
}

// Answers the search's question Yes and remembers what was asked; every
// other box is answered OK.
class YesRunner : public ModalRunner
{
public:
    YesRunner() : m_previous(ModalRunner::Install(this)) {}
    ~YesRunner() override { ModalRunner::Install(m_previous); }
    int RunForm(TCustomForm &form) override { return m_previous->RunForm(form); }
    int MessageBox(const TMessageBoxRequest &request) override
    {
        asked << request.Text;
        return request.Buttons.testFlag(mbYes) ? mrYes : mrOk;
    }
    bool InputQuery(TInputRequest &) override { return false; }
    bool FileDialog(TFileDialogRequest &) override { return false; }
    bool ColorDialog(TColor &) override { return false; }
    bool FontDialog(TFontData &) override { return false; }
    bool PrintDialog(TPrintRequest &) override { return false; }
    QStringList asked;

private:
    ModalRunner *m_previous;
};

} // namespace

int main(int argc, char **argv)
{
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    RegisterPreviewUnits();
    RegisterPdfExportUnits();
    Units::InitializeAll();
    {
        TPreparedReport prepared(30, 210, 297, [](TPreparedReport &p) {
            p.memo->Hyperlink()->SetKind(hkPageNumber);
            p.memo->Hyperlink()->SetValue(QStringLiteral("25"));
        });
        prepared.store()->SetCurPage(19);
        prepared.store()->Outline()->LevelRoot();
        prepared.store()->Outline()->AddItem(QStringLiteral("Chapter 20"), 0);
        prepared.report->PreviewOptions()->SetModal(false);
        prepared.report->PreviewOptions()->SetMaximized(false);
        prepared.report->PreviewOptions()->SetOutlineVisible(true);

        QTemporaryDir folder;
        TqvxPDFExport pdf(nullptr);
        pdf.SetShowDialog(false);
        pdf.SetFileName(folder.filePath(QStringLiteral("preview.pdf")));

        prepared.report->ShowPreparedReport();
        auto *window = qobject_cast<TqvxPreviewForm *>(prepared.report->PreviewForm());
        check(window != nullptr, "the report opens the preview window");
        if (!window)
            return 1;
        QPointer<TForm> guard(window);
        check(waitExposed(window->Widget()), "the window is exposed");
        settle(30);
        TqvxPreview *preview = window->Preview();
        TqvxPreviewWorkspace *workspace = preview->Workspace();
        QWidget *keys = QApplication::focusWidget() ? QApplication::focusWidget() : workspace->Widget();
        check(preview->PageCount() == 30, "30 pages are shown");

        key(keys, Qt::Key_PageDown, Qt::ControlModifier);
        check(preview->PageNo() == 2, "Ctrl+Page Down goes to the next page");
        key(keys, Qt::Key_End);
        check(preview->PageNo() == 30, "End goes to the last page");
        key(keys, Qt::Key_Home);
        check(preview->PageNo() == 1, "Home goes to the first page");
        const int before = workspace->VertPosition();
        wheel(workspace, -120);
        check(workspace->VertPosition() == before + 20, "the wheel scrolls by 20 pixels");
        wheel(workspace, 120, Qt::ControlModifier);
        check(preview->Zoom() > 1.05, "Ctrl+wheel zooms in");
        window->Button(QStringLiteral("ZoomMinusB"))->trigger();
        settle();
        check(window->ZoomBox()->Caption() == TqvxPreviewForm::ZoomText(preview->Zoom()), "the zoom box shows the zoom");
        preview->SetZoom(0.5);
        settle();

        qvxPreviewDialogs().Find = [](TqvxFindRequest &request) {
            request.Text = QStringLiteral("17");
            request.FromTop = true;
            return true;
        };
        window->Button(QStringLiteral("FindB"))->trigger();
        settle();
        check(qvxSearchState().TextFound && workspace->FindPage() == 16, "the search finds page 17");

        // Searching on from page 20 goes round to page 17 once asked.
        {
            YesRunner runner;
            preview->SetPageNo(20);
            qvxPreviewDialogs().Find = [](TqvxFindRequest &request) {
                request.Text = QStringLiteral("page 17");
                request.FromTop = false;
                return true;
            };
            window->Button(QStringLiteral("FindB"))->trigger();
            settle();
            check(runner.asked.size() == 1 && qvxSearchState().TextFound && workspace->FindPage() == 16,
                  "the search asks to go on from the top and finds page 17");
            key(keys, Qt::Key_F3);
            check(runner.asked.size() == 2 && workspace->FindPage() == 16, "F3 goes round to the same hit");
        }

        // A zoom typed into the box applies on Enter, not on each digit.
        {
            QLineEdit *editor = static_cast<QComboBox *>(window->ZoomBox()->Widget())->lineEdit();
            editor->setFocus();
            editor->selectAll();
            type(editor, QStringLiteral("200"));
            check(preview->Zoom() == 0.5, "typing a zoom changes nothing until Enter");
            key(editor, Qt::Key_Return);
            settle();
            check(preview->Zoom() == 2.0 && window->ZoomBox()->Caption() == QStringLiteral("200%"),
                  "Enter applies the typed zoom of 200 %");
            preview->SetZoom(0.5);
            settle();
        }

        // A thumbnail clicked takes the focus; the page keys still work.
        {
            preview->SetPageNo(3);
            window->Button(QStringLiteral("ThumbB"))->trigger();
            settle();
            TqvxPreviewWorkspace *thumbnails = preview->Thumbnails();
            const TRect fifth = thumbnails->PageRect(4);
            click(thumbnails, (fifth.Left + fifth.Right) / 2, (fifth.Top + fifth.Bottom) / 2);
            check(preview->PageNo() == 5, "a click on the fifth thumbnail shows page 5");
            QWidget *focused = QApplication::focusWidget();
            check(focused != nullptr, "something has the focus after the click");
            if (focused) {
                key(focused, Qt::Key_End);
                check(preview->PageNo() == 30, "End after a thumbnail click goes to the last page");
                key(focused, Qt::Key_PageUp, Qt::ControlModifier);
                check(preview->PageNo() == 29, "Ctrl+Page Up after a thumbnail click goes back a page");
            }
            window->Button(QStringLiteral("OutlineB"))->trigger();
            settle();
        }

        // F11 twice: full screen and back to the same place and size.
        {
            QWidget *top = window->Widget()->window();
            const QRect before = settledGeometry(top);
            key(keys, Qt::Key_F11);
            const QRect full = settledGeometry(top, before);
            check(window->FullScreen() && full.width() >= before.width() && full.height() > before.height(),
                  "F11 fills the screen");
            key(keys, Qt::Key_F11);
            const QRect after = settledGeometry(top, full);
            check(!window->FullScreen() && after == before, "F11 again gives the window back its place and size");
            if (after != before)
                std::printf("  before %d,%d %dx%d, after %d,%d %dx%d\n", before.x(), before.y(), before.width(),
                            before.height(), after.x(), after.y(), after.width(), after.height());
        }

        QTreeWidget *tree = preview->OutlineTree();
        check(tree->topLevelItemCount() == 1, "the outline shows its item");
        if (tree->topLevelItemCount() == 1) {
            const QRect item = tree->visualItemRect(tree->topLevelItem(0));
            QMouseEvent press(QEvent::MouseButtonPress, item.center(), tree->viewport()->mapToGlobal(item.center()),
                              Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(tree->viewport(), &press);
            QMouseEvent release(QEvent::MouseButtonRelease, item.center(),
                                tree->viewport()->mapToGlobal(item.center()), Qt::LeftButton, Qt::NoButton,
                                Qt::NoModifier);
            QApplication::sendEvent(tree->viewport(), &release);
            settle();
            check(preview->PageNo() == 20, "the outline item leads to page 20");
        }

        // The memo with the link lies at (20, 30) of the band, inside 10 mm
        // margins.
        preview->SetPageNo(3);
        settle();
        const TRect page = workspace->PageRect(2);
        const double margin = 10 * 3.77953;
        click(workspace, page.Left + int((margin + 30) * preview->Zoom()), page.Top + int((margin + 40) * preview->Zoom()));
        check(preview->PageNo() == 25, "the hyperlink leads to page 25");

        QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
        check(countColor(screen, rgb(workspace->BackColor())) > 1000, "the screen shows the page area's background");
        check(countColor(screen, rgb(workspace->ActiveFrameColor())) > 50, "the screen shows the current page's frame");
        check(countColor(screen, qRgb(255, 255, 255)) > 1000, "the screen shows white pages");
        if (argc > 1)
            screen.save(QString::fromLocal8Bit(argv[1]), "PPM");

        QMenu *menu = window->ExportPopup();
        menu->popup(window->Widget()->mapToGlobal(QPoint(20, 20)));
        settle();
        check(menu->isVisible(), "the export menu opens");
        QAction *pdfItem = nullptr;
        for (QAction *action : menu->actions())
            if (action->text() == pdf.GetDescription() + QStringLiteral("..."))
                pdfItem = action;
        check(pdfItem != nullptr, "the export menu lists the PDF export");
        menu->hide();
        if (pdfItem)
            pdfItem->trigger();
        settle();
        QFile exported(pdf.FileName());
        check(exported.open(QIODevice::ReadOnly) && exported.read(5) == "%PDF-", "the PDF file is written");

        key(keys, Qt::Key_Escape);
        settle();
        check(guard.isNull(), "Esc closes and frees the window");
        qvxPreviewDialogs().Find = nullptr;
    }
    {
        // A long build stopped by Esc keeps the pages it made, in the window.
        TqvxReport report;
        makeRowsReport(report, 3000);
        report.ShowReport();
        auto *window = qobject_cast<TqvxPreviewForm *>(report.PreviewForm());
        check(window != nullptr && waitExposed(window->Widget()), "the long report's window opens");
        QPointer<TForm> guard(window);
        report.OnProgress = [&](TqvxReport *, TqvxProgressType type, int progress) {
            if (type == ptRunning && progress == 300 && guard)
                key(QApplication::focusWidget() ? QApplication::focusWidget() : window->Widget(), Qt::Key_Escape);
        };
        report.TimerTick();
        settle(10);
        const int pages = guard ? window->Preview()->PageCount() : 0;
        check(!guard.isNull() && window->Visible(), "Esc during the build leaves the window open");
        check(pages >= 300 && pages < 3000, "the pages built before Esc stay");
        check(guard && window->StatusText(1) == qvxResources()->Get(QStringLiteral("clBuildStopped")),
              "the status bar says the build was stopped");
        if (guard) {
            window->Preview()->Last();
            settle(5);
            check(window->Preview()->PageNo() == pages, "the last page built can be shown");
            if (argc > 2)
                QGuiApplication::primaryScreen()->grabWindow(0).toImage().save(QString::fromLocal8Bit(argv[2]), "PPM");
            delete window;
        }
    }
    Units::FinalizeAll();
    std::printf("%s\n", failures == 0 ? "preview drive passed" : "preview drive failed");
    return failures == 0 ? 0 : 1;
}
