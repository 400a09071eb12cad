#pragma once

// Helpers shared by the tests of the questionnaire's windows.

#include "toolkit/widgets/TButton.h"
#include "toolkit/widgets/TForm.h"

#include <QApplication>
#include <QList>
#include <QMouseEvent>
#include <QScreen>

// The buttons lying directly on form, in creation order.
inline QList<TButton *> FormButtons(TCustomForm &form)
{
    QList<TButton *> buttons;
    for (int i = 0; i < form.ControlCount(); ++i)
        if (auto *button = qobject_cast<TButton *>(form.Controls(i)))
            buttons.append(button);
    return buttons;
}

// Whether the middle of a control lies on a screen's work area, with the
// control itself shown there: a control out of the work area, or covered,
// cannot be clicked.
inline bool OnScreen(TControl *control)
{
    const QPoint global = control->Widget()->mapToGlobal(QPoint(control->Width() / 2, control->Height() / 2));
    QScreen *screen = QGuiApplication::screenAt(global);
    return screen && screen->availableGeometry().contains(global) && QApplication::widgetAt(global) == control->Widget();
}

// Presses and releases the left button over the middle of a control, when
// it is on screen (false otherwise).
inline bool ClickOnScreen(TControl *control)
{
    if (!OnScreen(control))
        return false;
    QWidget *widget = control->Widget();
    const QPoint local(control->Width() / 2, control->Height() / 2);
    const QPoint global = widget->mapToGlobal(local);
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
    return true;
}
