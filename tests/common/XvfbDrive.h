#pragma once

// Driving windows on a real X server with a window manager, for the test
// programs that run under scripts/xvfb-session (add_xvfb_test in
// tests/CMakeLists.txt registers one).
//
// Input is real: xdotool sends it through the X server's test extension, so
// it reaches the program as a user's would, to the window the window
// manager has focused and the widget under the pointer.  States are read
// back from the X server and the window manager (xprop, xwininfo, xdotool),
// not taken from Qt's idea of them.
//
// Nothing here waits for a fixed time.  Each wait runs the program's event
// loop until its condition holds or its deadline passes, and the deadline
// is generous, since these tests run on loaded machines: a wait that holds
// costs only the time its state takes to arrive.  After sending input, wait
// for the effect it must have (a page shown, a state set) with WaitUntil.
//
//     QWidget *window = form->Widget()->window();
//     check(XvfbDrive::WaitForExposed(window) && XvfbDrive::Activate(window), "the window is up");
//     XvfbDrive::Key(QStringLiteral("F11"));
//     check(XvfbDrive::WaitForWindowManagerState(window, {QStringLiteral("FULLSCREEN")}), "F11: full screen");
//     XvfbDrive::Click(nextButton);
//     check(XvfbDrive::WaitUntil([&] { return preview->PageNo() == 2; }), "the click shows page 2");

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QStringList>

#include <functional>

class QWidget;

namespace XvfbDrive {

// The deadline of every wait, in milliseconds.
constexpr int kDeadline = 30000;

// Runs the event loop until condition holds (true) or the deadline passes
// (false).  The condition is checked before the first round.
bool WaitUntil(const std::function<bool()> &condition, int deadline = kDeadline);

// Runs action once condition holds, checked every few milliseconds from
// whatever event loop runs meanwhile: for windows and menus that run an
// event loop of their own (modal dialogs, menus opened by a press), set up
// before the input that opens them.  Gives up after the deadline, saying
// so on the standard error.
void WhenReady(const std::function<bool()> &condition, const std::function<void()> &action,
               int deadline = kDeadline);

// The top-level window's _NET_WM_STATE as the window manager set it, each
// atom without its prefix: "FULLSCREEN", "MAXIMIZED_VERT", "HIDDEN" ...
QStringList WindowManagerState(const QWidget *window);
// Waits until the window manager's state holds every atom of present and
// none of absent.
bool WaitForWindowManagerState(const QWidget *window, const QStringList &present,
                               const QStringList &absent = {});

// Asks the window manager, as a desktop tool (wmctrl) asks it, to add the
// atoms ("MAXIMIZED_VERT", "FULLSCREEN" ...) to the window's state or to
// take them away.  False when the message cannot be sent.
bool RequestWindowManagerState(const QWidget *window, bool add, const QStringList &atoms);

// The frame the window manager put round the top-level window, as it told
// the X server (_NET_FRAME_EXTENTS); null when it told nothing.
QMargins FrameExtents(const QWidget *window);

// The top-level window's client area on the X server, in screen
// coordinates (the window manager's frame left out); empty when the window
// has no X window or is not on the server.
QRect ServerGeometry(const QWidget *window);
// Waits until the window's client area is geometry on the X server and in
// Qt's widget geometry alike.
bool WaitForGeometry(const QWidget *window, const QRect &geometry);
// Waits until the window is viewable on the X server and Qt has it exposed.
bool WaitForExposed(const QWidget *window);
// Waits until the window manager has the window active (_NET_ACTIVE_WINDOW)
// and Qt sees it as the active window.
bool WaitForActive(const QWidget *window);
// Asks the window manager to activate the window, and waits for it.
bool Activate(const QWidget *window);

// Moves the pointer over point of widget (its middle by default), in the
// coordinates of the widget's X window on the server, and clicks a button:
// 1 the left, 3 the right, 4 and 5 the wheel away and toward the user.
// modifiers are held down meanwhile, as xdotool names them ("ctrl",
// "shift").  False when the tool fails.
bool Click(const QWidget *widget, QPoint point = QPoint(-1, -1), int button = 1,
           const QString &modifiers = QString());
// Clicks the left button twice at a point of the screen, as fast as a
// double-click goes.
bool DoubleClick(QPoint at);
// Presses the left button at from and moves the pointer to to with it
// held down: from a window's title bar, the window manager moves the
// window along.  The button is released once arrived holds (the drag has
// had its effect: the window stands where it was dragged, the text is
// selected), or when the deadline has passed without it.  False when it
// did not hold: the drag was not taken, and the caller may make it again.
// Screen coordinates.
bool Drag(QPoint from, QPoint to, const std::function<bool()> &arrived, int deadline = kDeadline);
// Presses and releases keys, named as xdotool names them: "End", "Next"
// (Page Down), "F3", "ctrl+Next", "Return"; several separated by blanks.
// They go to the window that has the input focus.
bool Key(const QString &keys);
// Types text into the window that has the input focus.
bool Type(const QString &text);

} // namespace XvfbDrive
