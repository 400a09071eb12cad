#pragma once

// Keys as the user presses them, sent to the control's real widget.

#include "toolkit/widgets/TForm.h"
#include "toolkit/widgets/TWinControl.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

inline void pressKey(TWinControl *control, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                     const QString &text = QString())
{
    QWidget *target = control->Widget()->focusProxy() ? control->Widget()->focusProxy() : control->Widget();
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(target, &release);
}

// Selects the whole text of the edit (Ctrl+A) and types text over it.
inline void typeOver(TWinControl *edit, const QString &text)
{
    edit->SetFocus();
    pressKey(edit, Qt::Key_A, Qt::ControlModifier);
    pressKey(edit, Qt::Key_Delete);
    for (const QChar c : text)
        pressKey(edit, int(c.toUpper().unicode()), Qt::NoModifier, QString(c));
}

// A key pressed with the focus where the form has it.
inline void pressOnFocus(TCustomForm &form, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    if (TWinControl *focused = form.ActiveControl())
        pressKey(focused, key, modifiers);
}
