#include "toolkit/widgets/TScreen.h"

#include "toolkit/widgets/TForm.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>

TScreen *Screen = nullptr;

namespace {

QRect screenGeometry(bool available)
{
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    return available ? screen->availableGeometry() : screen->geometry();
}

} // namespace

TScreen::TScreen(TComponent *owner) : TComponent(owner) {}

TScreen::~TScreen()
{
    SetCursor(crDefault);
}

int TScreen::Width() const
{
    return screenGeometry(false).width();
}

int TScreen::Height() const
{
    return screenGeometry(false).height();
}

TRect TScreen::WorkAreaRect() const
{
    return TRect::FromQRect(screenGeometry(true));
}

void TScreen::SetCursor(TCursor cursor)
{
    if (cursor == m_cursor)
        return;
    if (m_cursor != crDefault)
        QApplication::restoreOverrideCursor();
    m_cursor = cursor;
    if (cursor != crDefault)
        QApplication::setOverrideCursor(QtCursorShape(cursor));
}

TCustomForm *TScreen::ActiveForm() const
{
    return qobject_cast<TCustomForm *>(TControl::FromWidget(QApplication::activeWindow()));
}

TCustomForm *TScreen::ActiveModalForm() const
{
    return qobject_cast<TCustomForm *>(TControl::FromWidget(QApplication::activeModalWidget()));
}
