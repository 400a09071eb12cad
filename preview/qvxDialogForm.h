#pragma once

// The window of a report's dialog page while the report runs.  The user
// cannot close it: the page's controls end the dialog through their modal
// results.  OnModify tells the page that the user moved or resized the
// window: once for each move, when the window has come to rest (the window
// system reports a drag as many small moves, and no end of it), and never
// for the window manager's placing of the window.

#include "toolkit/widgets/TForm.h"

#include <QRect>
#include <QTimer>

class TqvxDialogForm : public TForm
{
    Q_OBJECT

public:
    // page: the dialog page the window belongs to (the window itself has
    // no owner).  A page whose Tag is 318 asks for a window without its
    // stored design.
    explicit TqvxDialogForm(TComponent *page = nullptr);

    bool NoReadState() const { return m_noReadState; }
    // Answers false whatever the close query handlers say.
    bool CloseQuery() override;
    // The user has finished moving or sizing the window.
    void ExitSizeMove();

    TNotifyEvent OnModify;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Where the user left the window: its place and client size.
    QRect userGeometry() const;

    bool m_noReadState;
    QTimer m_rest;
};

// Unit start-up installs the form as the window of dialog pages; shut-down
// removes it.
void InitializeQvxDialogForm();
void FinalizeQvxDialogForm();
