#pragma once

// A left-button click in the middle of a widget, sent as the window system
// sends one: a press and a release.

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

inline void ClickMiddle(QWidget *widget)
{
    const QPoint middle(widget->width() / 2, widget->height() / 2);
    const QPointF global(widget->mapToGlobal(middle));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(middle), global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(middle), global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}
