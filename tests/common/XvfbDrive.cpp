#include "common/XvfbDrive.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
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

namespace {

// xprop's report of one property of the top-level window; empty when the
// tool fails.
QString windowProperty(const QWidget *window, const QString &property)
{
    const QString id = windowId(window);
    QString report;
    if (id.isEmpty()
        || !runTool(QStringLiteral("xprop"), {QStringLiteral("-id"), id, QStringLiteral("-notype"), property}, &report))
        return QString();
    return report;
}

} // namespace

QStringList WindowManagerState(const QWidget *window)
{
    const QString report = windowProperty(window, QStringLiteral("_NET_WM_STATE"));
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

namespace {

xcb_atom_t internAtom(xcb_connection_t *connection, const QByteArray &name)
{
    const xcb_intern_atom_cookie_t cookie = xcb_intern_atom(connection, 0, uint16_t(name.size()), name.constData());
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
            xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

} // namespace

bool RequestWindowManagerState(const QWidget *window, bool add, const QStringList &atoms)
{
    const QString id = windowId(window);
    if (id.isEmpty() || atoms.isEmpty() || atoms.size() > 2)
        return false;
    // A connection of its own, as a desktop tool has.
    int screenNumber = 0;
    std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> connection(xcb_connect(nullptr, &screenNumber),
                                                                            &xcb_disconnect);
    if (xcb_connection_has_error(connection.get()))
        return false;
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection.get()));
    for (int i = 0; i < screenNumber && screens.rem; ++i)
        xcb_screen_next(&screens);
    if (!screens.rem)
        return false;
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = id.toUInt();
    message.type = internAtom(connection.get(), "_NET_WM_STATE");
    message.data.data32[0] = add ? 1 : 0;
    for (int i = 0; i < atoms.size(); ++i)
        message.data.data32[1 + i] = internAtom(connection.get(), "_NET_WM_STATE_" + atoms[i].toLatin1());
    message.data.data32[3] = 2; // from a tool acting for the user
    xcb_send_event(connection.get(), 0, screens.data->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char *>(&message));
    // A round trip: the server has taken the message before the
    // connection closes.
    std::free(xcb_get_input_focus_reply(connection.get(), xcb_get_input_focus(connection.get()), nullptr));
    return !xcb_connection_has_error(connection.get());
}

QMargins FrameExtents(const QWidget *window)
{
    // "_NET_FRAME_EXTENTS = 1, 1, 22, 5": left, right, top, bottom.
    const QRegularExpressionMatch match =
            QRegularExpression(QStringLiteral("=\\s*(\\d+),\\s*(\\d+),\\s*(\\d+),\\s*(\\d+)"))
                    .match(windowProperty(window, QStringLiteral("_NET_FRAME_EXTENTS")));
    if (!match.hasMatch())
        return QMargins();
    return QMargins(match.captured(1).toInt(), match.captured(3).toInt(), match.captured(2).toInt(),
                    match.captured(4).toInt());
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

bool DoubleClick(QPoint at)
{
    return runTool(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QString::number(at.x()),
                                               QString::number(at.y()), QStringLiteral("click"),
                                               QStringLiteral("--repeat"), QStringLiteral("2"),
                                               QStringLiteral("--delay"), QStringLiteral("40"),
                                               QStringLiteral("1")});
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
