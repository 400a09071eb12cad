#include "toolkit/widgets/THintWindow.h"

#include "toolkit/graphics/Canvas.h"
#include "toolkit/widgets/ControlFrame.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScreen>

namespace {

constexpr unsigned kTextFlags = DT_LEFT | DT_NOPREFIX | DT_WORDBREAK;

} // namespace

THintWindow::THintWindow(TComponent *owner)
    // The mouse passes through to the window below, so a hint laid over
    // what it explains does not take the mouse from it and vanish.
    : TCustomControl(owner,
                     new ControlFrame(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput))
{
    Widget()->setAttribute(Qt::WA_ShowWithoutActivating);
    SetBorderStyle(bsSingle);
    SetCtl3D(false);
    SetColor(clInfoBk);
    Font()->SetColor(clInfoText);
    SetVisible(false);
    SetTopLevel(true);
}

TRect THintWindow::CalcHintRect(int maxWidth, const QString &hint)
{
    Canvas()->Font()->Assign(Font());
    TRect text = Rect(0, 0, maxWidth, 0);
    Canvas()->DrawText(hint, text, kTextFlags | DT_CALCRECT);
    const int extra = 2 * (kPadding + ControlFrame::EdgeWidth(ControlFrame::Edge::Single));
    return Rect(0, 0, text.Width() + extra, text.Height() + extra);
}

void THintWindow::ActivateHint(const TRect &rect, const QString &hint)
{
    SetCaption(hint);
    QRect r = rect.ToQRect();
    const QScreen *screen = QGuiApplication::screenAt(r.topLeft());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen) {
        const QRect area = screen->availableGeometry();
        if (r.right() > area.right())
            r.moveRight(area.right());
        if (r.bottom() > area.bottom())
            r.moveBottom(area.bottom());
        r.moveLeft(qMax(r.left(), area.left()));
        r.moveTop(qMax(r.top(), area.top()));
    }
    SetBounds(r.left(), r.top(), r.width(), r.height());
    Show();
    Widget()->raise();
    Invalidate();
}

void THintWindow::Paint()
{
    TRect r = ClientRect().Inflate(-kPadding, -kPadding);
    Canvas()->Brush()->SetStyle(bsClear);
    Canvas()->DrawText(Caption(), r, kTextFlags);
}

bool THintWindow::HandleInputEvent(QEvent *event)
{
    if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonDblClick)
        return TCustomControl::HandleInputEvent(event);
    const auto *mouse = static_cast<QMouseEvent *>(event);
    Hide();
    if (QWidget *below = QApplication::widgetAt(mouse->globalPosition().toPoint())) {
        QMouseEvent press(QEvent::MouseButtonPress, below->mapFromGlobal(mouse->globalPosition()),
                          mouse->globalPosition(), mouse->button(), mouse->buttons(), mouse->modifiers());
        QApplication::sendEvent(below, &press);
    }
    return true;
}
