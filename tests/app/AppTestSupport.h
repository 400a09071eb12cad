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

// Presses and releases the left button over the middle of a control, at the
// widget the screen shows there: a control out of the screen's work area,
// or covered, cannot be clicked (false).
inline bool ClickOnScreen(TControl *control)
{
    const QPoint global = control->Widget()->mapToGlobal(QPoint(control->Width() / 2, control->Height() / 2));
    QScreen *screen = QGuiApplication::screenAt(global);
    QWidget *widget = QApplication::widgetAt(global);
    if (!screen || !screen->availableGeometry().contains(global) || widget != control->Widget())
        return false;
    const QPoint local = widget->mapFromGlobal(global);
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
    return true;
}
