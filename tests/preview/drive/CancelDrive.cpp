// Stops reports whose scripts loop without end the way a user does, on a
// real X server with a window manager (run by scripts/xvfb-session): real
// clicks and key presses through xdotool on the progress window that a
// long main block offers, and on the preview while a band event loops, with
// the preview modal (the library's default) and not.  After each stop the
// run must have ended and no window may be left blocked or disabled.  Prints
// each failed check and exits 1 when any failed.

#include "engine/qvxProgress.h"
#include "preview/PreviewUnits.h"
#include "preview/RowsReport.h"
#include "preview/qvxPreview.h"
#include "preview/qvxPreviewForm.h"
#include "report/model/qvxCustomPreviewPages.h"
#include "report/model/qvxResources.h"
#include "toolkit/core/Units.h"
#include "toolkit/widgets/TButton.h"

#include "common/XvfbDrive.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QToolButton>
#include <QWidgetAction>
#include <QWindow>

#include <cstdio>
#include <functional>

namespace {

int failures = 0;

void check(bool ok, const QString &what)
{
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", qPrintable(what));
    failures += ok ? 0 : 1;
}

// How long a looping run may take to stop once the input is sent.
constexpr int kRunDeadline = 60000;

bool exposed(TControl *control)
{
    QWidget *widget = control->Widget();
    return widget->isVisible() && widget->window()->windowHandle() && widget->window()->windowHandle()->isExposed();
}

TqvxProgress *shownProgress()
{
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (auto *progress = qobject_cast<TqvxProgress *>(TControl::FromWidget(widget));
            progress && exposed(progress))
            return progress;
    return nullptr;
}

QToolButton *cancelButton(TqvxPreviewForm *window)
{
    auto *action = qobject_cast<QWidgetAction *>(window->Button(QStringLiteral("CancelB")));
    return action ? qobject_cast<QToolButton *>(action->defaultWidget()) : nullptr;
}

// No window is left disabled, nor blocked by a modal one other than modal.
bool everyWindowUsable(TForm *modal = nullptr)
{
    if (QWidget *blocking = QApplication::activeModalWidget(); blocking && (!modal || blocking != modal->Widget()))
        return false;
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && !widget->isEnabled())
            return false;
    return true;
}

enum class Loop { MainBlock, BandEvent };
enum class Stop { Click, Escape, AltF4 };

const char *name(Loop loop)
{
    return loop == Loop::MainBlock ? "the main block" : "a band event";
}

const char *name(Stop stop)
{
    switch (stop) {
    case Stop::Click:
        return "a click on Cancel";
    case Stop::Escape:
        return "Esc";
    case Stop::AltF4:
        return "Alt+F4";
    }
    return "";
}

void makeLoopingReport(TqvxReport &report, Loop loop, bool modal)
{
    makeRowsReport(report, 3);
    report.PreviewOptions()->SetModal(modal);
    if (loop == Loop::MainBlock) {
        report.ScriptText()->SetText(QStringLiteral("begin\n  while true do ;\nend."));
        return;
    }
    report.ScriptText()->SetText(
            QStringLiteral("procedure Spin(Sender: Variant);\nbegin\n  while true do ;\nend;\n\nbegin\nend."));
    auto *band = qobject_cast<TqvxBand *>(report.FindObject(QStringLiteral("MasterData1")));
    band->SetOnBeforePrint(QStringLiteral("Spin"));
}

// Waits, while the report runs, for the window that offers to stop it, and
// stops it as a user does: keys only once that window has the keyboard.
// Gives up after the deadline and stops the run itself.
class Stopper
{
public:
    Stopper(TqvxReport &report, Loop loop, Stop stop) : m_report(report), m_loop(loop), m_stop(stop)
    {
        m_waited.start();
        QObject::connect(&m_poll, &QTimer::timeout, [this] { poll(); });
        m_poll.start(50);
    }

    Loop Place() const { return m_loop; }
    Stop Input() const { return m_stop; }
    bool Stopped() const { return m_sent; }
    bool GaveUp() const { return m_gaveUp; }
    QString Why() const { return m_why; }

private:
    void poll()
    {
        // The input sent may not have stopped the run either.
        if (m_waited.hasExpired(kRunDeadline)) {
            m_poll.stop();
            m_gaveUp = true;
            if (m_why.isEmpty())
                m_why = QStringLiteral("the run went on after it");
            m_report.SetTerminated(true);
            return;
        }
        if (m_sent) {
            if (!m_report.Busy())
                m_poll.stop();
            return;
        }
        if (m_loop == Loop::MainBlock)
            stopThroughProgressWindow();
        else
            stopThroughPreview();
    }

    void stopThroughProgressWindow()
    {
        TqvxProgress *progress = shownProgress();
        if (!progress) {
            m_why = QStringLiteral("no progress window showed");
            return;
        }
        m_why.clear();
        if (m_stop == Stop::Click) {
            sent(XvfbDrive::Click(progress->CancelB->Widget()));
            return;
        }
        if (!progress->Active()) {
            m_why = QStringLiteral("the progress window never took the keyboard");
            return;
        }
        sent(XvfbDrive::Key(m_stop == Stop::Escape ? QStringLiteral("Escape") : QStringLiteral("alt+F4")));
    }

    void stopThroughPreview()
    {
        auto *window = qobject_cast<TqvxPreviewForm *>(m_report.PreviewForm());
        if (!window || !window->Preview()->Running() || !exposed(window)) {
            m_why = QStringLiteral("the preview never showed the build");
            return;
        }
        m_why.clear();
        if (m_stop == Stop::Click) {
            if (QToolButton *button = cancelButton(window))
                sent(XvfbDrive::Click(button));
            return;
        }
        if (!window->Active()) {
            m_why = QStringLiteral("the preview never took the keyboard");
            return;
        }
        sent(XvfbDrive::Key(QStringLiteral("Escape")));
    }

    void sent(bool done)
    {
        m_sent = done;
        if (!done)
            m_why = QStringLiteral("xdotool failed");
    }

    TqvxReport &m_report;
    Loop m_loop;
    Stop m_stop;
    QTimer m_poll;
    QElapsedTimer m_waited;
    bool m_sent = false;
    bool m_gaveUp = false;
    QString m_why;
};

// what: "%1" the input, "%2" where the loop runs, "%3" the preview's modality.
void checkStopped(const Stopper &stopper, const QString &what, bool modal)
{
    const QString scenario = what.arg(QLatin1String(name(stopper.Input())), QLatin1String(name(stopper.Place())),
                                      modal ? QStringLiteral("modal") : QStringLiteral("non-modal"));
    check(stopper.Stopped() && !stopper.GaveUp(),
          stopper.GaveUp() ? scenario + QStringLiteral(" (") + stopper.Why() + QLatin1Char(')') : scenario);
}

// A cancelled main block ends the preparation: the engine does not run and
// the preview closes.
void stopMainBlock(bool modal, Stop stop)
{
    TqvxReport report;
    makeLoopingReport(report, Loop::MainBlock, modal);
    Stopper stopper(report, Loop::MainBlock, stop);
    report.ShowReport();
    // A modal preview returns once it has closed; a non-modal one is waited for.
    XvfbDrive::WaitUntil([&] { return !report.PreviewForm() && !report.Busy(); }, kRunDeadline);
    checkStopped(stopper, QStringLiteral("%1 on the progress window stops %2 under a %3 preview"), modal);
    check(!report.Busy() && report.Terminated() && report.PreviewPages()->Count() == 0,
          QStringLiteral("  the run ended without pages"));
    check(XvfbDrive::WaitUntil([] { return !shownProgress(); }), QStringLiteral("  the progress window is gone"));
    check(everyWindowUsable(), QStringLiteral("  no window is left disabled or blocked"));
}

// A build stopped in a band event keeps its preview open, saying so; Esc
// then closes it.
void stopBandEvent(bool modal, Stop stop)
{
    TqvxReport report;
    makeLoopingReport(report, Loop::BandEvent, modal);
    Stopper stopper(report, Loop::BandEvent, stop);
    bool stoppedBuildShown = false;
    bool usableAfterStop = false;
    // Once the build has stopped the window must answer the keys again: Esc
    // closes it, which ends a modal preview's ShowReport.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        auto *form = qobject_cast<TqvxPreviewForm *>(report.PreviewForm());
        if (!form || report.Busy() || !stopper.Stopped())
            return;
        closer.stop();
        stoppedBuildShown = !form->Preview()->Running()
                && form->StatusText(1) == qvxResources()->Get(QStringLiteral("clBuildStopped"));
        usableAfterStop = everyWindowUsable(form) && XvfbDrive::WaitForActive(form->Widget()->window());
        XvfbDrive::Key(QStringLiteral("Escape"));
    });
    closer.start(50);
    report.ShowReport();
    XvfbDrive::WaitUntil([&] { return !report.PreviewForm() && !report.Busy(); }, kRunDeadline);
    closer.stop();
    checkStopped(stopper, QStringLiteral("%1 in the preview stops %2 under a %3 preview"), modal);
    check(report.Terminated() && stoppedBuildShown, QStringLiteral("  the preview says the build was stopped"));
    check(usableAfterStop, QStringLiteral("  the preview is usable after the stop"));
    check(!report.PreviewForm(), QStringLiteral("  Esc then closes the preview"));
    check(everyWindowUsable(), QStringLiteral("  no window is left disabled or blocked"));
}

} // namespace

int main(int argc, char **argv)
{
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    RegisterPreviewUnits();
    Units::InitializeAll();
    for (const bool modal : {true, false}) {
        for (const Stop stop : {Stop::Click, Stop::Escape, Stop::AltF4})
            stopMainBlock(modal, stop);
        for (const Stop stop : {Stop::Click, Stop::Escape})
            stopBandEvent(modal, stop);
    }
    Units::FinalizeAll();
    std::printf("%s\n", failures == 0 ? "cancel drive passed" : "cancel drive failed");
    return failures == 0 ? 0 : 1;
}
