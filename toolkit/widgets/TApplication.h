#pragma once

// The application object: title, main form, message loop.
//
// One global Application exists from the toolkit's start-up to its
// shut-down; it owns the forms made by CreateForm, and the first of them is
// the main form.  Run shows the main form and handles events until
// Terminate, which closing the main form calls.

#include "toolkit/classes/TComponent.h"
#include "toolkit/classes/TObject.h"

#include <QList>
#include <QPointer>
#include <QString>

class QEventLoop;
class TCustomForm;

class TApplication : public TComponent
{
    Q_OBJECT

public:
    explicit TApplication(TComponent *owner = nullptr);
    ~TApplication() override;

    void Initialize() {}

    // The program's name for the user (message box captions).
    QString Title() const { return m_title; }
    void SetTitle(const QString &title) { m_title = title; }

    // Creates a form owned by the application; the first becomes the main
    // form.
    template <class T>
    void CreateForm(T *&reference)
    {
        reference = NewObject<T>(this);
        if (!m_mainForm)
            setMainForm(reference);
    }
    TCustomForm *MainForm() const;

    // Shows the main form and handles events until Terminate.
    void Run();
    // Handles the pending events and returns.
    void ProcessMessages();
    void Terminate();
    bool Terminated() const { return m_terminated; }

    // Minimises every visible form (a modal or dialog form comes straight
    // back, see TCustomForm); Restore brings back the forms Minimize took
    // and the main form, each to the state it had (normal or maximised).
    void Minimize();
    void Restore();

    // Full path of the program file.
    QString ExeName() const;

private:
    void setMainForm(TCustomForm *form);

    QPointer<TCustomForm> m_mainForm;
    QList<QPointer<TCustomForm>> m_minimized;
    QString m_title;
    QEventLoop *m_loop = nullptr;
    bool m_terminated = false;
};

extern TApplication *Application;

// Start-up and shut-down of the application and screen objects.
void InitializeApplicationUnit();
void FinalizeApplicationUnit();
