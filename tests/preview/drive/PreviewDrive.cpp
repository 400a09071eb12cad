// Drives the preview window on a real X server with a window manager (run
// under scripts/xvfb-session), with real mouse and key input: a 30-page
// report is shown, paged by keys and the wheel, zoomed, searched, paged by
// keys after a click on each tool button, put to full screen and back six
// times, followed through an outline item and a hyperlink, exported to PDF
// through the export menu, and closed; then a long build is stopped by Esc.
// The screen is read back from the X server and checked.  With a file name
// argument the screenshot is also written there (PPM), and with a second
// one the stopped build's.  Prints each failed check and exits 1 when any
// failed.

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

#include "common/XvfbDrive.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QTemporaryDir>
#include <QToolBar>
#include <QTreeWidget>

#include <cstdio>
#include <functional>

namespace {

int failures = 0;

bool check(bool ok, const QString &what)
{
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", qPrintable(what));
    failures += ok ? 0 : 1;
    return ok;
}

using XvfbDrive::WaitUntil;

// Clicks the point (x, y) of a control's client area.
void clickAt(TControl *control, int x, int y, int button = 1, const QString &modifiers = QString())
{
    const TPoint global = control->ClientToScreen(Point(x, y));
    QWidget *window = control->Widget()->window();
    XvfbDrive::Click(window, window->mapFromGlobal(QPoint(global.X, global.Y)), button, modifiers);
}

// The widget the tool bar shows for one of the window's buttons.
QWidget *toolButton(TqvxPreviewForm *window, const char *name)
{
    auto *bar = window->Widget()->findChild<QToolBar *>();
    return bar->widgetForAction(window->Button(QString::fromLatin1(name)));
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

QImage screenshot()
{
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage();
}

// Answers every modal question at once: message boxes Yes where Yes is
// offered (remembering what was asked), else OK; forms and file dialogs
// are cancelled.
class AnsweringRunner : public ModalRunner
{
public:
    AnsweringRunner() : m_previous(ModalRunner::Install(this)) {}
    ~AnsweringRunner() override { ModalRunner::Install(m_previous); }
    int RunForm(TCustomForm &) override { return mrCancel; }
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

// The page keys move the page area: End, Home, Page Down, the arrows.
// Stops at the first key that does nothing, and names it.
bool pageKeysWork(TqvxPreview *preview, const QString &after)
{
    TqvxPreviewWorkspace *area = preview->Workspace();
    const auto press = [&](const char *key, const std::function<bool()> &effect) {
        XvfbDrive::Key(QString::fromLatin1(key));
        return check(WaitUntil(effect), QStringLiteral("%1 works after %2").arg(QString::fromLatin1(key), after));
    };
    const int last = preview->PageCount();
    if (!press("End", [&] { return preview->PageNo() == last; })
        || !press("Home", [&] { return preview->PageNo() == 1 && area->VertPosition() == 0; }))
        return false;
    const int top = area->VertPosition();
    if (!press("Next", [&] { return area->VertPosition() == top + 300; })
        || !press("Down", [&] { return area->VertPosition() == top + 308; })
        || !press("Up", [&] { return area->VertPosition() == top + 300; }))
        return false;
    const int left = area->HorzPosition();
    if (area->HorzRange() - area->HorzPage() < left + 8)
        return check(false, QStringLiteral("the page area scrolls across"));
    return press("Right", [&] { return area->HorzPosition() == left + 8; })
           && press("Left", [&] { return area->HorzPosition() == left; });
}

} // namespace

int main(int argc, char **argv)
{
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    RegisterPreviewUnits();
    RegisterPdfExportUnits();
    Units::InitializeAll();
    AnsweringRunner runner;
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
        check(window != nullptr, QStringLiteral("the report opens the preview window"));
        if (!window)
            return 1;
        QPointer<TForm> guard(window);
        QWidget *top = window->Widget()->window();
        check(XvfbDrive::WaitForExposed(top) && XvfbDrive::Activate(top), QStringLiteral("the window is up"));
        TqvxPreview *preview = window->Preview();
        TqvxPreviewWorkspace *workspace = preview->Workspace();
        check(preview->PageCount() == 30, QStringLiteral("30 pages are shown"));

        XvfbDrive::Key(QStringLiteral("ctrl+Next"));
        check(WaitUntil([&] { return preview->PageNo() == 2; }), QStringLiteral("Ctrl+Page Down goes to the next page"));
        XvfbDrive::Key(QStringLiteral("End"));
        check(WaitUntil([&] { return preview->PageNo() == 30; }), QStringLiteral("End goes to the last page"));
        XvfbDrive::Key(QStringLiteral("Home"));
        check(WaitUntil([&] { return preview->PageNo() == 1; }), QStringLiteral("Home goes to the first page"));
        const int before = workspace->VertPosition();
        clickAt(workspace, 50, 50, 5);
        check(WaitUntil([&] { return workspace->VertPosition() == before + 20; }),
              QStringLiteral("the wheel scrolls by 20 pixels"));
        clickAt(workspace, 50, 50, 4, QStringLiteral("ctrl"));
        check(WaitUntil([&] { return preview->Zoom() > 1.05; }), QStringLiteral("Ctrl+wheel zooms in"));
        const double zoomed = preview->Zoom();
        XvfbDrive::Click(toolButton(window, "ZoomMinusB"));
        check(WaitUntil([&] {
                  return preview->Zoom() == zoomed - 0.25
                         && window->ZoomBox()->Caption() == TqvxPreviewForm::ZoomText(preview->Zoom());
              }),
              QStringLiteral("the zoom box shows the zoom"));
        preview->SetZoom(0.5);

        qvxPreviewDialogs().Find = [](TqvxFindRequest &request) {
            request.Text = QStringLiteral("17");
            request.FromTop = true;
            return true;
        };
        XvfbDrive::Click(toolButton(window, "FindB"));
        check(WaitUntil([&] { return qvxSearchState().TextFound && workspace->FindPage() == 16; }),
              QStringLiteral("the search finds page 17"));

        // Searching on from page 20 goes round to page 17 once asked.
        runner.asked.clear();
        preview->SetPageNo(20);
        qvxPreviewDialogs().Find = [](TqvxFindRequest &request) {
            request.Text = QStringLiteral("page 17");
            request.FromTop = false;
            return true;
        };
        XvfbDrive::Click(toolButton(window, "FindB"));
        check(WaitUntil([&] {
                  return runner.asked.size() == 1 && qvxSearchState().TextFound && workspace->FindPage() == 16;
              }),
              QStringLiteral("the search asks to go on from the top and finds page 17"));
        XvfbDrive::Key(QStringLiteral("F3"));
        check(WaitUntil([&] { return runner.asked.size() == 2 && workspace->FindPage() == 16; }),
              QStringLiteral("F3 goes round to the same hit"));

        // A zoom typed into the box applies on Enter, not on each digit.
        {
            QLineEdit *editor = static_cast<QComboBox *>(window->ZoomBox()->Widget())->lineEdit();
            XvfbDrive::Click(editor);
            check(WaitUntil([&] { return editor->hasFocus(); }), QStringLiteral("a click focuses the zoom box"));
            XvfbDrive::Key(QStringLiteral("ctrl+a"));
            XvfbDrive::Type(QStringLiteral("200"));
            check(WaitUntil([&] { return editor->text() == QStringLiteral("200"); }) && preview->Zoom() == 0.5,
                  QStringLiteral("typing a zoom changes nothing until Enter"));
            XvfbDrive::Key(QStringLiteral("Return"));
            check(WaitUntil([&] {
                      return preview->Zoom() == 2.0 && window->ZoomBox()->Caption() == QStringLiteral("200%");
                  }),
                  QStringLiteral("Enter applies the typed zoom of 200 %"));
            preview->SetZoom(0.5);
        }

        // A thumbnail clicked takes the focus; the page keys still work.
        {
            preview->SetPageNo(3);
            TqvxPreviewWorkspace *thumbnails = preview->Thumbnails();
            XvfbDrive::Click(toolButton(window, "ThumbB"));
            check(WaitUntil([&] { return thumbnails->Visible() && !thumbnails->PageRect(4).IsEmpty(); }),
                  QStringLiteral("the thumbnails button shows the thumbnails"));
            const TRect fifth = thumbnails->PageRect(4);
            clickAt(thumbnails, (fifth.Left + fifth.Right) / 2, (fifth.Top + fifth.Bottom) / 2);
            check(WaitUntil([&] { return preview->PageNo() == 5; }),
                  QStringLiteral("a click on the fifth thumbnail shows page 5"));
            XvfbDrive::Key(QStringLiteral("End"));
            check(WaitUntil([&] { return preview->PageNo() == 30; }),
                  QStringLiteral("End after a thumbnail click goes to the last page"));
            XvfbDrive::Key(QStringLiteral("ctrl+Prior"));
            check(WaitUntil([&] { return preview->PageNo() == 29; }),
                  QStringLiteral("Ctrl+Page Up after a thumbnail click goes back a page"));
            XvfbDrive::Click(toolButton(window, "OutlineB"));
            check(WaitUntil([&] { return preview->OutlineVisible(); }),
                  QStringLiteral("the outline button shows the outline"));
        }

        // Tool buttons leave the keyboard to the page area: after a click on
        // each, the page keys work, and F3 after a search.
        {
            qvxPreviewDialogs().Find = [](TqvxFindRequest &request) {
                request.Text = QStringLiteral("Page");
                request.FromTop = true;
                return true;
            };
            qvxPreviewDialogs().PageSetup = [](TqvxPageSetupRequest &) { return false; };
            preview->SetZoom(1.5);
            for (const char *name : {"PrintB", "OpenB", "FindB", "ZoomPlusB", "ZoomMinusB", "OutlineB", "ThumbB",
                                     "OutlineB", "PageSettingsB", "DesignerB", "FirstB", "PriorB", "NextB",
                                     "LastB"}) {
                XvfbDrive::Click(toolButton(window, name));
                const QString after = QStringLiteral("a click on ") + QString::fromLatin1(name);
                // The search lets events run; keys pressed meanwhile would
                // be undone by its scroll to the hit.
                const bool find = qstrcmp(name, "FindB") == 0;
                if (find && !check(WaitUntil([&] {
                                       return !preview->Searching() && qvxSearchState().TextFound
                                              && workspace->FindPage() == 0;
                                   }),
                                   QStringLiteral("the search finds the first page")))
                    break;
                if (!pageKeysWork(preview, after))
                    break;
                if (find) {
                    XvfbDrive::Key(QStringLiteral("F3"));
                    if (!check(WaitUntil([&] { return qvxSearchState().TextFound && workspace->FindPage() == 1; }),
                               QStringLiteral("F3 finds the next hit after ") + after))
                        break;
                }
            }
            qvxPreviewDialogs().PageSetup = nullptr;
            preview->SetZoom(0.5);
        }

        // F11 six times: full screen and back, however fast the window
        // manager answers; three of the presses come at once.
        {
            check(WaitUntil([&] { return XvfbDrive::ServerGeometry(top) == top->geometry(); }),
                  QStringLiteral("the window is where the window manager put it"));
            const QRect normal = top->geometry();
            const QRect screen = top->screen()->geometry();
            const QString fullScreenState = QStringLiteral("FULLSCREEN");
            const auto fullScreen = [&] {
                return window->FullScreen() && top->geometry() == screen && XvfbDrive::ServerGeometry(top) == screen
                       && XvfbDrive::WindowManagerState(top).contains(fullScreenState);
            };
            const auto restored = [&] {
                return !window->FullScreen() && top->geometry() == normal && XvfbDrive::ServerGeometry(top) == normal
                       && !XvfbDrive::WindowManagerState(top).contains(fullScreenState);
            };
            const auto report = [&] {
                const auto text = [](const QRect &r) {
                    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
                };
                std::printf("  screen %s, before %s; now %s, on the X server %s, window manager state %s\n",
                            qPrintable(text(screen)), qPrintable(text(normal)), qPrintable(text(top->geometry())),
                            qPrintable(text(XvfbDrive::ServerGeometry(top))),
                            qPrintable(XvfbDrive::WindowManagerState(top).join(QLatin1Char(' '))));
            };
            const struct {
                const char *keys;
                bool full;
            } toggles[] = {{"F11", true}, {"F11", false}, {"F11 F11 F11", true}, {"F11", false}};
            int pressed = 0;
            for (const auto &toggle : toggles) {
                XvfbDrive::Key(QString::fromLatin1(toggle.keys));
                pressed += int(QByteArray(toggle.keys).count("F11"));
                const bool ok = toggle.full ? WaitUntil(fullScreen) && !window->ZoomBox()->Widget()->isVisible()
                                            : WaitUntil(restored) && window->ZoomBox()->Widget()->isVisible();
                if (!check(ok, toggle.full ? QStringLiteral("F11 (%1 in all) fills the screen").arg(pressed)
                                           : QStringLiteral("F11 (%1 in all) gives the window back its place "
                                                            "and size").arg(pressed))) {
                    report();
                    break;
                }
            }
        }

        QTreeWidget *tree = preview->OutlineTree();
        check(tree->topLevelItemCount() == 1, QStringLiteral("the outline shows its item"));
        if (tree->topLevelItemCount() == 1) {
            XvfbDrive::Click(tree->viewport(), tree->visualItemRect(tree->topLevelItem(0)).center());
            check(WaitUntil([&] { return preview->PageNo() == 20; }), QStringLiteral("the outline item leads to page 20"));
        }

        // The memo with the link lies at (20, 30) of the band, inside 10 mm
        // margins.
        preview->SetPageNo(3);
        const TRect page = workspace->PageRect(2);
        const double margin = 10 * 3.77953;
        clickAt(workspace, page.Left + int((margin + 30) * preview->Zoom()),
                page.Top + int((margin + 40) * preview->Zoom()));
        check(WaitUntil([&] { return preview->PageNo() == 25; }), QStringLiteral("the hyperlink leads to page 25"));

        QImage screen;
        const auto shows = [&](QRgb color, int pixels) { return countColor(screen, color) > pixels; };
        check(WaitUntil([&] {
                  screen = screenshot();
                  return shows(rgb(workspace->BackColor()), 1000) && shows(rgb(workspace->ActiveFrameColor()), 50)
                         && shows(qRgb(255, 255, 255), 1000);
              }),
              QStringLiteral("the screen shows the page area's background, the current page's frame and white "
                             "pages"));
        if (argc > 1)
            screen.save(QString::fromLocal8Bit(argv[1]), "PPM");

        // The save button's menu runs its own event loop from the press on.
        QMenu *menu = window->ExportPopup();
        QAction *pdfItem = nullptr;
        for (QAction *action : menu->actions())
            if (action->text() == pdf.GetDescription() + QStringLiteral("..."))
                pdfItem = action;
        check(pdfItem != nullptr, QStringLiteral("the export menu lists the PDF export"));
        QFile exported(pdf.FileName());
        if (pdfItem) {
            bool opened = false;
            XvfbDrive::WhenReady([&] { return menu->isVisible() && XvfbDrive::WaitForExposed(menu); },
                                 [&] {
                                     opened = true;
                                     XvfbDrive::Click(menu, menu->actionGeometry(pdfItem).center());
                                 });
            XvfbDrive::Click(toolButton(window, "SaveB"));
            check(WaitUntil([&] { return opened; }), QStringLiteral("the save button opens the export menu"));
            check(WaitUntil([&] { return exported.exists(); }), QStringLiteral("its PDF item writes the PDF file"));
        }
        check(exported.open(QIODevice::ReadOnly) && exported.read(5) == "%PDF-", QStringLiteral("it is a PDF file"));

        check(XvfbDrive::WaitForActive(top), QStringLiteral("the window is active again after the export"));
        XvfbDrive::Key(QStringLiteral("Escape"));
        check(WaitUntil([&] { return guard.isNull(); }), QStringLiteral("Esc closes and frees the window"));
        qvxPreviewDialogs().Find = nullptr;
    }
    {
        // A long build stopped by Esc keeps the pages it made, in the window.
        TqvxReport report;
        makeRowsReport(report, 3000);
        report.ShowReport();
        auto *window = qobject_cast<TqvxPreviewForm *>(report.PreviewForm());
        QWidget *top = window ? window->Widget()->window() : nullptr;
        check(window && XvfbDrive::WaitForExposed(top) && XvfbDrive::Activate(top),
              QStringLiteral("the long report's window opens"));
        QPointer<TForm> guard(window);
        int widthWhileBuilding = 0;
        report.OnProgress = [&](TqvxReport *, TqvxProgressType type, int progress) {
            if (type == ptRunning && progress == 300 && guard) {
                widthWhileBuilding = toolButton(window, "CancelB")->width();
                XvfbDrive::Key(QStringLiteral("Escape"));
            }
        };
        report.TimerTick();
        const int pages = guard ? window->Preview()->PageCount() : 0;
        check(!guard.isNull() && window->Visible(), QStringLiteral("Esc during the build leaves the window open"));
        check(pages >= 300 && pages < 3000, QStringLiteral("the pages built before Esc stay"));
        check(guard && widthWhileBuilding == 68 && toolButton(window, "CancelB")->width() == 68,
              QStringLiteral("the Cancel and Close button is 68 pixels wide with either caption"));
        check(guard && window->StatusText(1) == qvxResources()->Get(QStringLiteral("clBuildStopped")),
              QStringLiteral("the status bar says the build was stopped"));
        if (guard) {
            XvfbDrive::Key(QStringLiteral("End"));
            check(WaitUntil([&] { return window->Preview()->PageNo() == pages; }),
                  QStringLiteral("the last page built can be shown"));
            if (argc > 2)
                screenshot().save(QString::fromLocal8Bit(argv[2]), "PPM");
            delete window;
        }
    }
    Units::FinalizeAll();
    std::printf("%s\n", failures == 0 ? "preview drive passed" : "preview drive failed");
    return failures == 0 ? 0 : 1;
}
