#pragma once

// A push button.  A click sets the form's ModalResult to the button's own
// (when that is not mrNone) before OnClick runs.  Return typed anywhere on
// the form clicks the button that has the focus, or the default button when
// no button has it; that button shows the default frame.  The cancel
// button takes Escape.

#include "toolkit/widgets/TWinControl.h"

class QPushButton;

class TButton : public TWinControl
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool Default READ Default WRITE SetDefault)
    Q_PROPERTY(bool Cancel READ Cancel WRITE SetCancel)
    Q_PROPERTY(int ModalResult READ ModalResult WRITE SetModalResult)

public:
    explicit TButton(TComponent *owner);

    void SetCaption(const QString &caption) override;
    int ModalResult() const { return m_modalResult; }
    void SetModalResult(int result) { m_modalResult = result; }
    bool Default() const { return m_default; }
    void SetDefault(bool isDefault);
    bool Cancel() const { return m_cancel; }
    void SetCancel(bool cancel) { m_cancel = cancel; }

    void Click() override;
    bool WantsDialogKey(int key) const override;
    void FocusChanged(TWinControl *focused) override;

protected:
    TButton(TComponent *owner, QPushButton *button);
    QPushButton *Button() const;
    bool ClicksOnMouseUp() const override { return false; }

private:
    int m_modalResult = 0;
    bool m_default = false;
    bool m_cancel = false;
    // Takes Return and shows the default frame.
    bool m_active = false;
};
