#pragma once

// The small window that shows what a long report operation is doing
// (building, exporting, printing): a message, a progress bar and a Cancel
// button.  The report opens it when no preview is attached; the form that
// was active when it was made stays disabled until it is hidden or freed,
// and the window shows on that form's monitor.  The window belongs to the
// modal form shown last, or else to that active form, so that a modal form
// does not block its Cancel.  Cancel, Esc, and closing the window by the
// window manager set Terminated and close the window.  Having no border, the window is dragged by any point
// outside its button; in a right-to-left program its controls are
// mirrored.

#include "report/model/qvxCustomProgress.h"
#include "toolkit/widgets/TForm.h"

#include <QPointer>

class QProgressBar;
class TButton;
class TLabel;
class TPanel;
class TqvxProgressBar;

class TqvxProgress : public TForm, public TqvxCustomProgress
{
    Q_OBJECT

public:
    explicit TqvxProgress(TComponent *owner = nullptr);
    ~TqvxProgress() override;

    // The bar is hidden with showProgress off, and the message then moves
    // down to the middle of the window.
    void Execute(int maxValue, const QString &message, bool showCancel, bool showProgress) override;
    QString Message() const override { return m_message; }
    void SetMessage(const QString &value) override;
    // Moves the bar and lets pending events run, so that a Cancel click is
    // seen during long work.
    void SetPosition(int value) override;
    int Position() const { return m_position; }
    bool Terminated() const override { return m_terminated; }

    TPanel *Panel1;
    TLabel *LMessage;
    TqvxProgressBar *Bar;
    TButton *CancelB;

protected:
    void DoHide() override;
    void DoClose(TCloseAction &action) override;

private:
    void cancelClick();
    void enableActiveForm();
    // A left-button drag in the window moves it.  Presses on the label,
    // panel and bar come up to the form; the button keeps its own.
    void dragWindow();

    QPointer<TCustomForm> m_activeForm;
    bool m_terminated = false;
    int m_position = 0;
    QString m_message;
    bool m_showProgressBar = true;
    bool m_dragging = false;
    TPoint m_dragPoint; // the point pressed, in the window
};

// The progress bar of the window.
class TqvxProgressBar : public TWinControl
{
    Q_OBJECT

public:
    explicit TqvxProgressBar(TComponent *owner);

    void SetRange(int min, int max);
    int Max() const;
    void SetPosition(int value);
    int Position() const;

private:
    QProgressBar *bar() const;
};

// Unit start-up installs the window as the report's progress display;
// shut-down removes the engine library's services.
void InitializeQvxProgress();
void FinalizeQvxProgress();
