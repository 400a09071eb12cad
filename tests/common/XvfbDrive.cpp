#include "common/XvfbDrive.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <memory>

namespace XvfbDrive {

namespace {

// Each X tool run is bounded too, so a hung tool fails the wait it serves.
constexpr int kToolDeadline = 10000;

bool runTool(const QString &program, const QStringList &arguments, QString *output = nullptr)
{
    QProcess tool;
    tool.start(program, arguments);
    if (!tool.waitForFinished(kToolDeadline)) {
        tool.kill();
        tool.waitForFinished();
        return false;
    }
    if (output)
        *output = QString::fromLocal8Bit(tool.readAllStandardOutput());
    return tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}

// The X window of a top-level widget, as a tool argument; empty when it has
// none yet.
QString windowId(const QWidget *window)
{
    if (!window || !window->windowHandle())
        return QString();
    return QString::number(window->window()->winId());
}

// One field of xwininfo's report ("Width:  803").
int xwininfoField(const QString &report, const QString &field, bool &found)
{
    const QRegularExpression line(QStringLiteral("^\\s*%1:\\s*(-?\\d+)").arg(QRegularExpression::escape(field)),
                                  QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = line.match(report);
    found = found && match.hasMatch();
    return match.captured(1).toInt();
}

QString xwininfo(const QWidget *window)
{
    const QString id = windowId(window);
    QString report;
    if (id.isEmpty() || !runTool(QStringLiteral("xwininfo"), {QStringLiteral("-id"), id}, &report))
        return QString();
    return report;
}

// One round of the event loop: whatever is pending, or the next event to
// arrive within a few milliseconds.
void runEventLoopRound()
{
    QTimer wake;
    wake.setSingleShot(true);
    wake.start(10);
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

} // namespace

bool WaitUntil(const std::function<bool()> &condition, int deadline)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > deadline)
            return false;
        runEventLoopRound();
    }
    return true;
}

void WhenReady(const std::function<bool()> &condition, const std::function<void()> &action, int deadline)
{
    auto *poll = new QTimer(QCoreApplication::instance());
    poll->setInterval(10);
    auto waited = std::make_shared<QElapsedTimer>();
    waited->start();
    QObject::connect(poll, &QTimer::timeout, poll, [poll, condition, action, waited, deadline] {
        const bool ready = condition();
        if (!ready && waited->elapsed() <= deadline)
            return;
        poll->stop();
        poll->deleteLater();
        if (ready)
            action();
        else
            std::fprintf(stderr, "XvfbDrive: gave up waiting to act after %d ms\n", deadline);
    });
    poll->start();
}

QStringList WindowManagerState(const QWidget *window)
{
    const QString id = windowId(window);
    QString report;
    if (id.isEmpty() || !runTool(QStringLiteral("xprop"), {QStringLiteral("-id"), id, QStringLiteral("-notype"),
                                                           QStringLiteral("_NET_WM_STATE")},
                                 &report))
        return {};
    // "_NET_WM_STATE = _NET_WM_STATE_FULLSCREEN, _NET_WM_STATE_ABOVE", or
    // "_NET_WM_STATE:  not found."
    const int equals = report.indexOf(QLatin1Char('='));
    if (equals < 0)
        return {};
    QStringList state;
    for (const QString &atom : report.mid(equals + 1).split(QLatin1Char(','), Qt::SkipEmptyParts))
        state << atom.trimmed().remove(QStringLiteral("_NET_WM_STATE_"));
    return state;
}

bool WaitForWindowManagerState(const QWidget *window, const QStringList &present, const QStringList &absent)
{
    return WaitUntil([&] {
        const QStringList state = WindowManagerState(window);
        for (const QString &atom : present)
            if (!state.contains(atom))
                return false;
        for (const QString &atom : absent)
            if (state.contains(atom))
                return false;
        return true;
    });
}

QRect ServerGeometry(const QWidget *window)
{
    const QString report = xwininfo(window);
    bool found = !report.isEmpty();
    const int left = xwininfoField(report, QStringLiteral("Absolute upper-left X"), found);
    const int top = xwininfoField(report, QStringLiteral("Absolute upper-left Y"), found);
    const int width = xwininfoField(report, QStringLiteral("Width"), found);
    const int height = xwininfoField(report, QStringLiteral("Height"), found);
    return found ? QRect(left, top, width, height) : QRect();
}

bool WaitForGeometry(const QWidget *window, const QRect &geometry)
{
    return WaitUntil([&] { return window->geometry() == geometry && ServerGeometry(window) == geometry; });
}

bool WaitForExposed(const QWidget *window)
{
    return WaitUntil([&] {
        return window->windowHandle() && window->windowHandle()->isExposed()
               && xwininfo(window).contains(QStringLiteral("Map State: IsViewable"));
    });
}

bool WaitForActive(const QWidget *window)
{
    return WaitUntil([&] {
        QString active;
        return QApplication::activeWindow() == window
               && runTool(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow")}, &active)
               && active.trimmed() == windowId(window);
    });
}

bool Activate(const QWidget *window)
{
    const QString id = windowId(window);
    return !id.isEmpty()
           && runTool(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), QStringLiteral("--sync"), id})
           && WaitForActive(window);
}

bool Click(const QWidget *widget, QPoint point, int button, const QString &modifiers)
{
    if (point == QPoint(-1, -1))
        point = widget->rect().center();
    const QWidget *window = widget->window();
    const QString id = windowId(window);
    if (id.isEmpty())
        return false;
    const QPoint inWindow = widget->mapTo(window, point);
    QStringList arguments;
    if (!modifiers.isEmpty())
        arguments << QStringLiteral("keydown") << modifiers;
    // The server takes the move and the click in order; xdotool's --sync
    // would wait for ever when the pointer is already there.
    arguments << QStringLiteral("mousemove") << QStringLiteral("--window") << id
              << QString::number(inWindow.x()) << QString::number(inWindow.y()) << QStringLiteral("click")
              << QString::number(button);
    if (!modifiers.isEmpty())
        arguments << QStringLiteral("keyup") << modifiers;
    return runTool(QStringLiteral("xdotool"), arguments);
}

bool Drag(QPoint from, QPoint to, const std::function<bool()> &arrived, int deadline)
{
    // The window manager moves a window by the pointer's motion while the
    // button is down: the pointer goes there in steps, with pauses as a
    // hand makes them, and the button is let go only once the motion has
    // had its effect, so a busy window manager never meets the release
    // before it has moved the window.
    const QString pause = QStringLiteral("0.05");
    QStringList arguments{QStringLiteral("mousemove"), QString::number(from.x()), QString::number(from.y()),
                          QStringLiteral("sleep"), pause, QStringLiteral("mousedown"), QStringLiteral("1")};
    constexpr int steps = 8;
    for (int step = 1; step <= steps; ++step) {
        const QPoint at = from + (to - from) * step / steps;
        arguments << QStringLiteral("sleep") << pause << QStringLiteral("mousemove") << QString::number(at.x())
                  << QString::number(at.y());
    }
    const bool moved = runTool(QStringLiteral("xdotool"), arguments) && WaitUntil(arrived, deadline);
    const bool released = runTool(QStringLiteral("xdotool"), {QStringLiteral("mouseup"), QStringLiteral("1")});
    return moved && released;
}

bool Key(const QString &keys)
{
    return runTool(QStringLiteral("xdotool"), QStringList{QStringLiteral("key")} + keys.split(QLatin1Char(' ')));
}

bool Type(const QString &text)
{
    return runTool(QStringLiteral("xdotool"), {QStringLiteral("type"), QStringLiteral("--"), text});
}

} // namespace XvfbDrive
