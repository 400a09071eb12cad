// Forms on a real X server under openbox, their frames read back from the
// server and the window manager: a form opens with its frame centred on
// the work area and wholly on it, and so does a dialog centred on an owner
// that stands partly off the screen; maximised by the window manager, ten
// times over, a form fills the work area, and restored it comes back to
// its place and size, the form's bounds following all the while.  Run
// under scripts/xvfb-session, with the system's openbox or with the one of
// tests/common/openbox, whose frame differs from openbox's defaults on
// every side (--wide-frames: there a frame also arrives late); with a
// directory argument it also leaves screenshots there (PPM).

#include "toolkit/widgets/TApplication.h"
#include "toolkit/widgets/TButton.h"
#include "toolkit/widgets/TForm.h"
#include "toolkit/widgets/TPanel.h"
#include "toolkit/core/Units.h"

#include "common/XvfbDrive.h"

#include <QApplication>
#include <QImage>
#include <QScreen>
#include <QWindow>

#include <cstdio>
#include <cstdlib>

namespace {

// A wait for a state the window manager brings about; failing ones end
// the round they belong to.
constexpr int kStateDeadline = 10000;

int failures = 0;
QString shots;

bool check(bool ok, const QString &what)
{
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", qPrintable(what));
    failures += ok ? 0 : 1;
    return ok;
}

void shoot(const QString &name)
{
    if (shots.isEmpty())
        return;
    QGuiApplication::primaryScreen()->grabWindow(0).toImage().save(shots + QLatin1Char('/') + name + QStringLiteral(".ppm"),
                                                                    "PPM");
}

QString text(const QRect &r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// The window's frame on the X server: its client area there grown by the
// margins the window manager told the server.
QRect serverFrame(const QWidget *window)
{
    const QRect client = XvfbDrive::ServerGeometry(window);
    const QMargins margins = XvfbDrive::FrameExtents(window);
    return client.isEmpty() || margins.isNull() ? QRect() : client.marginsAdded(margins);
}

QRect bounds(const TForm *form)
{
    return form->BoundsRect().ToQRect();
}

QString where(const TForm *form)
{
    const QStringList state = XvfbDrive::WindowManagerState(form->Widget());
    return QStringLiteral("frame %1, form %2, state %3")
            .arg(text(serverFrame(form->Widget())), text(bounds(form)),
                 state.isEmpty() ? QStringLiteral("normal") : state.join(u' '));
}

// The form is shown in the window manager's frame, and its bounds are
// that frame.
bool framed(const TForm *form)
{
    const QWidget *window = form->Widget();
    return XvfbDrive::WaitForExposed(window) && XvfbDrive::WaitUntil([&] {
               const QRect frame = serverFrame(window);
               return frame.isValid() && bounds(form) == frame;
           });
}

// Centred on one axis: as much room on either side, give or take the odd
// pixel; or filling the area there.
bool centred(int start, int length, int areaStart, int areaLength)
{
    const int before = start - areaStart;
    const int after = areaStart + areaLength - (start + length);
    return std::abs(before - after) <= 1 || (before == 0 && after == 0);
}

TForm *newForm(TComponent *owner, TFormBorderStyle style, TPosition position, QSize client, const QString &caption)
{
    auto *form = NewObject<TForm>(owner);
    form->SetCaption(caption);
    form->SetBorderStyle(style);
    form->SetPosition(position);
    form->SetClientWidth(client.width());
    form->SetClientHeight(client.height());
    auto *buttons = new TPanel(form);
    buttons->SetParent(form);
    buttons->SetHeight(35);
    buttons->SetAlign(alBottom);
    auto *close = new TButton(form);
    close->SetParent(buttons);
    close->SetBounds(8, 5, 75, 25);
    close->SetCaption(QStringLiteral("Закрыть"));
    return form;
}

// Shows the form and checks that its frame opens centred on the work area
// (or filling it) and wholly on it; a form sized by its client area keeps
// that size where the area has room for it.
void checkOpensCentred(TForm *form, const QRect &area, const QString &what)
{
    const QSize client(form->ClientWidth(), form->ClientHeight());
    form->Show();
    const bool shown = framed(form);
    if (!check(shown, QStringLiteral("%1 is shown in its frame (%2)").arg(what, where(form))))
        return;
    const QRect frame = serverFrame(form->Widget());
    check(area.contains(frame), QStringLiteral("%1 opens on the work area %2 (%3)").arg(what, text(area), where(form)));
    check(centred(frame.x(), frame.width(), area.x(), area.width())
                  && centred(frame.y(), frame.height(), area.y(), area.height()),
          QStringLiteral("%1 opens with its frame centred on the work area %2 (%3)").arg(what, text(area), where(form)));
    if (frame.height() < area.height() && frame.width() < area.width())
        check(QSize(form->ClientWidth(), form->ClientHeight()) == client,
              QStringLiteral("%1 keeps its client area of %2x%3 (has %4x%5)")
                      .arg(what).arg(client.width()).arg(client.height())
                      .arg(form->ClientWidth()).arg(form->ClientHeight()));
}

// A point on the title bar of the window's frame.
QPoint titleBar(const QWidget *window)
{
    const QRect frame = serverFrame(window);
    return QPoint(frame.center().x(), frame.top() + XvfbDrive::FrameExtents(window).top() / 2);
}

// The window manager maximises the form and restores it, ten times over:
// asked as a desktop tool asks it, and, where its configuration has it,
// by a double-click on the title bar.
void checkMaximiseAndRestore(TForm *form, const QRect &area, bool byTitleBar)
{
    QWidget *window = form->Widget();
    const QRect placed = serverFrame(window);
    const QSize client(form->ClientWidth(), form->ClientHeight());
    const QStringList maximised{QStringLiteral("MAXIMIZED_VERT"), QStringLiteral("MAXIMIZED_HORZ")};
    for (int round = 1; round <= 10; ++round) {
        const bool doubleClick = byTitleBar && round % 2 == 0;
        const QString how = doubleClick ? QStringLiteral("a double-click on the title bar")
                                        : QStringLiteral("the window manager asked as a desktop tool asks it");
        const auto toggle = [&](bool on) {
            return doubleClick ? XvfbDrive::DoubleClick(titleBar(window))
                               : XvfbDrive::RequestWindowManagerState(window, on, maximised);
        };
        const bool grown = toggle(true) && XvfbDrive::WaitUntil(
                                                   [&] {
                                                       return XvfbDrive::WindowManagerState(window).contains(maximised[0])
                                                              && form->WindowState() == wsMaximized
                                                              && serverFrame(window) == area && bounds(form) == area;
                                                   },
                                                   kStateDeadline);
        if (!check(grown, QStringLiteral("round %1: %2 maximises the form over the work area %3 (%4)")
                                  .arg(round).arg(how, text(area), where(form))))
            return;
        if (round == 1)
            shoot(QStringLiteral("maximised"));
        const bool restored = toggle(false) && XvfbDrive::WaitUntil(
                                                       [&] {
                                                               return !XvfbDrive::WindowManagerState(window).contains(maximised[0])
                                                                  && form->WindowState() == wsNormal
                                                                  && serverFrame(window) == placed
                                                                  && bounds(form) == placed;
                                                       },
                                                       kStateDeadline);
        if (!check(restored, QStringLiteral("round %1: %2 restores the form to %3 (%4)")
                                     .arg(round).arg(how, text(placed), where(form))))
            return;
        if (!check(QSize(form->ClientWidth(), form->ClientHeight()) == client,
                   QStringLiteral("round %1: the restored form's client area is %2x%3 again (has %4x%5)")
                           .arg(round).arg(client.width()).arg(client.height())
                           .arg(form->ClientWidth()).arg(form->ClientHeight())))
            return;
    }
}

// The owner is dragged by its title bar until its right part is off the
// screen; a dialog centred on it opens wholly on the work area all the
// same.
void checkDialogOfAnOwnerOffTheScreen(TForm *owner, const QRect &area)
{
    QWidget *window = owner->Widget();
    XvfbDrive::Activate(window);
    const QPoint from = titleBar(window);
    // The window manager tells the window where it went once the button
    // is let go.
    const bool dragged = XvfbDrive::Drag(from, from + QPoint(500, 0),
                                         [&] { return serverFrame(window).right() > area.right() + 100; })
                         && XvfbDrive::WaitUntil([&] { return bounds(owner) == serverFrame(window); });
    if (!check(dragged, QStringLiteral("the owner is dragged partly off the screen (%1)").arg(where(owner))))
        return;
    TForm *dialog = newForm(owner, bsDialog, poOwnerFormCenter, QSize(684, 136), QStringLiteral("Выбор модели выключателя"));
    dialog->Show();
    const bool shown = framed(dialog);
    if (check(shown, QStringLiteral("the owner's dialog is shown in its frame (%1)").arg(where(dialog)))) {
        shoot(QStringLiteral("owner-off-the-screen"));
        check(area.contains(serverFrame(dialog->Widget())),
              QStringLiteral("the dialog centred on an owner partly off the screen opens on the work area %1 (%2)")
                      .arg(text(area), where(dialog)));
    }
    dialog->Hide();
}

// The window manager opens the form without a frame and puts one round it
// later (the configuration of tests/common/openbox does, on Super+F12): the
// form takes in the frame that arrives late, its bounds that frame, which
// lies on the work area.
void checkLateFrame(const QRect &area)
{
    TForm *form = newForm(nullptr, bsSizeable, poScreenCenter, QSize(600, 300), QStringLiteral("Late frame"));
    form->Show();
    QWidget *window = form->Widget();
    const bool bare = XvfbDrive::WaitForExposed(window) && XvfbDrive::Activate(window)
                      && XvfbDrive::FrameExtents(window).isNull();
    if (check(bare, QStringLiteral("the form opens without a frame (%1)").arg(where(form)))) {
        XvfbDrive::Key(QStringLiteral("super+F12"));
        const bool framedLate = XvfbDrive::WaitUntil([&] {
            const QRect frame = serverFrame(window);
            return frame.isValid() && bounds(form) == frame;
        }, kStateDeadline);
        check(framedLate, QStringLiteral("the form takes in the frame that arrives late (%1)").arg(where(form)));
        check(area.contains(serverFrame(window)),
              QStringLiteral("the frame that arrives late lies on the work area %1 (%2)").arg(text(area), where(form)));
        shoot(QStringLiteral("late-frame"));
    }
    delete form;
}

} // namespace

int main(int argc, char **argv)
{
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    // Under the window manager of tests/common/openbox, which maximises on
    // a double-click on the title bar that a loaded machine may make slowly,
    // and frames a window late on a key.
    const bool ownManager = argc > 1 && qstrcmp(argv[1], "--wide-frames") == 0;
    if (argc > 1 + int(ownManager))
        shots = QString::fromLocal8Bit(argv[1 + int(ownManager)]);
    RegisterToolkitUnits();
    Units::InitializeAll();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    std::printf("work area %s\n", qPrintable(text(area)));

    // A dialog of fixed size centred on the screen.
    TForm *dialog = newForm(nullptr, bsDialog, poScreenCenter, QSize(684, 136), QStringLiteral("Выбор модели"));
    checkOpensCentred(dialog, area, QStringLiteral("the dialog centred on the screen"));
    shoot(QStringLiteral("centred-dialog"));
    dialog->Hide();

    // A window the size of the preview, centred on the screen; on a small
    // screen it is made to fit.
    TForm *form = newForm(nullptr, bsSizeable, poScreenCenter, QSize(803, 584),
                          QStringLiteral("Предварительный просмотр"));
    checkOpensCentred(form, area, QStringLiteral("the preview-sized window"));
    shoot(QStringLiteral("centred-window"));
    if (failures == 0) {
        XvfbDrive::Activate(form->Widget());
        checkMaximiseAndRestore(form, area, ownManager);
        checkDialogOfAnOwnerOffTheScreen(form, area);
    }
    delete form;
    if (ownManager)
        checkLateFrame(area);
    delete dialog;
    Units::FinalizeAll();
    std::printf("%s\n", failures ? "FAILED" : "passed");
    return failures ? 1 : 0;
}
