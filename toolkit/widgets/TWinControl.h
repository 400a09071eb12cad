#pragma once

// A control that can hold other controls, take the keyboard focus and
// receive keys.
//
// Keys arrive as virtual-key codes with a shift state (KeyDown, KeyUp) and
// as characters (KeyPress).  Setting the key to 0 in a handler swallows it;
// a KeyPress handler that changes the character delivers the new one
// instead.  A form with KeyPreview sees every key of its controls first.
//
// Children with an Align are laid out in the client area in the classic
// order (top, bottom, left, right, client); anchored children follow the
// parent's right and bottom edges when it is resized.
//
// Tab and Shift+Tab move the focus to the next or previous tab stop of the
// form, unless the focused control wants Tab itself (WantsKey).  A control
// lying inside a tab stop, such as a grid's in-place editor, moves on as
// part of that tab stop.

#include "toolkit/widgets/TControl.h"

#include <QList>

TOOLKIT_EVENT(TKeyEvent, void(TObject *sender, int &key, TShiftState shift))
TOOLKIT_EVENT(TKeyPressEvent, void(TObject *sender, QChar &key))

class TWinControl : public TControl
{
    Q_OBJECT
    Q_PROPERTY(int TabOrder READ TabOrder WRITE SetTabOrder)
    Q_PROPERTY(bool TabStop READ TabStop WRITE SetTabStop)

public:
    explicit TWinControl(TComponent *owner);
    ~TWinControl() override;

    int ControlCount() const { return int(m_controls.size()); }
    TControl *Controls(int index) const { return m_controls.at(index); }

    // Mirrors the places of the children across the client area, as a
    // right-to-left layout wants them: left becomes right, alLeft alRight
    // and a left anchor a right one.  With allLevels their children too.
    void FlipChildren(bool allLevels);

    bool TabStop() const { return m_tabStop; }
    void SetTabStop(bool tabStop);
    int TabOrder() const;
    void SetTabOrder(int order);

    // Raises EInvalidOperation for a control that cannot take the focus.
    virtual void SetFocus();
    // Every window control inside this one, depth first, each before its
    // children and siblings in tab order.
    QList<TWinControl *> TabOrderList() const;
    // The control after (or before) current in tab order, wrapping round,
    // that can take the focus and, with checkTabStop, is a tab stop;
    // nullptr when there is none.
    TWinControl *FindNextControl(TWinControl *current, bool goForward, bool checkTabStop) const;
    // Focuses the control FindNextControl finds, as a move by Tab or
    // Shift+Tab: a style then shows the focus.
    void SelectNext(TWinControl *current, bool goForward, bool checkTabStop);
    bool Focused() const;
    // Visible and enabled together with every parent.
    virtual bool CanFocus() const;

    // True once the window was created (CreateWnd has run).
    bool HandleAllocated() const { return m_handleAllocated; }
    // Creates the window now when it does not exist yet.
    void HandleNeeded();

    // Lays the aligned children out again; trigger, the child whose place
    // or alignment changed, goes first among children at the same position.
    void Realign(TControl *trigger = nullptr);

    void ChangeScale(int multiplier, int divider) override;

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;

    // The focus of the form moved to focused (nullptr: to no control).
    virtual void FocusChanged(TWinControl *focused) { Q_UNUSED(focused); }

    virtual void KeyDown(int &key, TShiftState shift);
    virtual void KeyPress(QChar &key);
    virtual void KeyUp(int &key, TShiftState shift);

    // A key pressed in a control inside this one (or in this one), after
    // that control's own key handlers and before the form's dialog keys,
    // unless the control takes the key itself: true takes the key.  The
    // innermost container is asked first.
    virtual bool ChildKey(int key, TShiftState shift)
    {
        Q_UNUSED(key);
        Q_UNUSED(shift);
        return false;
    }

protected:
    TWinControl(TComponent *owner, QWidget *widget);

    // Where children's widgets live.
    virtual QWidget *ClientWidget() const { return InputWidget(); }

    // Runs once, before the window is first shown or HandleNeeded.
    virtual void CreateWnd() {}
    // Whether the control itself takes Return, Escape or Tab instead of
    // leaving them to the form.
    virtual bool WantsKey(int key) const
    {
        Q_UNUSED(key);
        return false;
    }
    virtual void DoEnter();
    virtual void DoExit();
    // A child came or went, moved, was resized, shown or hidden.
    virtual void ControlsChanged() {}
    // Every focus change of the window, including window activation.
    virtual void FocusIn() {}
    virtual void FocusOut() {}

    bool HandleInputEvent(QEvent *event) override;
    void Resize() override;

private:
    friend class TControl;

    void insertControl(TControl *control);
    void removeControl(TControl *control);
    void alignControls(TControl *trigger);
    void applyAnchors();
    bool handleKey(QEvent *event);
    void focusFor(Qt::FocusReason reason);
    TWinControl *tabStopOwner();
    bool deliverKey(QEvent *event);
    void initFocusPolicy();

    QList<TControl *> m_controls;
    bool m_tabStop = false;
    bool m_handleAllocated = false;
    bool m_aligning = false;
    QSize m_lastClientSize;
};
