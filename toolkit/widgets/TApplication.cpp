#include "toolkit/widgets/TApplication.h"

#include "toolkit/widgets/TForm.h"
#include "toolkit/widgets/TScreen.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QWidget>

#include <utility>

TApplication *Application = nullptr;

TApplication::TApplication(TComponent *owner) : TComponent(owner) {}

TApplication::~TApplication()
{
    // The forms go while the application they ask about is still whole.
    DestroyComponents();
}

TCustomForm *TApplication::MainForm() const
{
    return m_mainForm.data();
}

void TApplication::setMainForm(TCustomForm *form)
{
    m_mainForm = form;
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
    delete std::exchange(Screen, nullptr);
    delete std::exchange(Application, nullptr);
}
