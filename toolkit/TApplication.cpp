#include "toolkit/TApplication.h"

#include "toolkit/TForm.h"
#include "toolkit/TScreen.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QWidget>

TApplication *Application = nullptr;

TApplication::TApplication(TComponent *owner) : TComponent(owner) {}

TApplication::~TApplication() = default;

TCustomForm *TApplication::MainForm() const
{
    return m_mainForm.data();
}

void TApplication::setMainForm(TCustomForm *form)
{
    m_mainForm = form;
}

QString TApplication::Title() const
{
    return QGuiApplication::applicationDisplayName();
}

void TApplication::SetTitle(const QString &title)
{
    QGuiApplication::setApplicationDisplayName(title);
}

void TApplication::Run()
{
    if (m_terminated)
        return;
    if (m_mainForm)
        m_mainForm->Show();
    QEventLoop loop;
    m_loop = &loop;
    loop.exec();
    m_loop = nullptr;
}

void TApplication::ProcessMessages()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TApplication::Terminate()
{
    m_terminated = true;
    if (m_loop)
        m_loop->quit();
}

void TApplication::Minimize()
{
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window->isVisible())
            window->showMinimized();
}

void TApplication::Restore()
{
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window->isMinimized())
            window->showNormal();
}

QString TApplication::ExeName() const
{
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

void InitializeApplicationUnit()
{
    Application = new TApplication;
    Screen = new TScreen;
}

void FinalizeApplicationUnit()
{
    delete Screen;
    Screen = nullptr;
    delete Application;
    Application = nullptr;
}
