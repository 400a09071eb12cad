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
    for (QWidget *window : QApplication::topLevelWidgets()) {
        auto *form = qobject_cast<TCustomForm *>(TControl::FromWidget(window));
        if (!form || !window->isVisible() || window->isMinimized())
            continue;
        m_minimized.append(form);
        window->setWindowState(window->windowState() | Qt::WindowMinimized);
    }
}

void TApplication::Restore()
{
    QList<QPointer<TCustomForm>> forms = std::exchange(m_minimized, {});
    forms.append(m_mainForm);
    for (const QPointer<TCustomForm> &form : std::as_const(forms)) {
        QWidget *window = form ? form->Widget() : nullptr;
        if (window && window->isMinimized())
            window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    }
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
