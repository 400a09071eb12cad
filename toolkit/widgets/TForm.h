#pragma once

// Forms: the top-level windows of the program.
//
// A form is hidden until shown.  Left, Top, Width and Height are the
// window's outer bounds, the window manager's frame and title bar included;
// the client area is what the frame leaves, less BorderWidth of blank space
// all round.  The frame is known only once the window is shown: then the
// outer size stays and the client area shrinks, unless the size was last
// given as ClientWidth or ClientHeight, which then stay; until then a form
// shown takes the frame the last framed form had.  A form shown is placed
// as Position says, and placed again once its frame is known, so that the
// frame is centred and lies on the work area (a sizeable form shrinks to
// fit it).  The place and size the window system gives the
// window later (a drag, a frame of other margins, a maximised or restored
// window) become the form's bounds without the form moving the window in
// answer.  ShowModal
// runs through the modal runner (toolkit/widgets/ModalRunner.h) and ends when
// ModalResult becomes non-zero.  Close asks OnCloseQuery, then OnClose with
// the close action (caHide by default), and acts on it; closing the
// application's main form ends the program.  A dialog (bsDialog) or modal
// form that the window manager minimises comes straight back.  A form with
// a PopupParent belongs to that form: it stays above it, and is not blocked
// when that form is modal.  OnCreate fires once the form is constructed
// (AfterConstruction), OnDestroy when it is freed.

#include "toolkit/widgets/TWinControl.h"

#include <QPointer>
#include <QWindow>

#include <memory>

class ControlFrame;
class TCanvas;

TOOLKIT_EVENT(TCloseEvent, void(TObject *sender, TCloseAction &action))
TOOLKIT_EVENT(TCloseQueryEvent, void(TObject *sender, bool &canClose))

// Limits of a form's size; 0 means no limit.
struct TSizeConstraints {
    int MinWidth = 0;
    int MinHeight = 0;
    int MaxWidth = 0;
    int MaxHeight = 0;
};

class TCustomForm : public TWinControl
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int ClientWidth READ ClientWidth WRITE SetClientWidth)
    Q_PROPERTY(int ClientHeight READ ClientHeight WRITE SetClientHeight)
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE SetBorderWidth)
    Q_PROPERTY(ControlTypes::TFormBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(ControlTypes::TBorderIcons BorderIcons READ BorderIcons WRITE SetBorderIcons)
    Q_PROPERTY(ControlTypes::TPosition Position READ Position WRITE SetPosition)
    Q_PROPERTY(ControlTypes::TWindowState WindowState READ WindowState WRITE SetWindowState)
    Q_PROPERTY(ControlTypes::TFormStyle FormStyle READ FormStyle WRITE SetFormStyle)
    Q_PROPERTY(bool KeyPreview READ KeyPreview WRITE SetKeyPreview)

public:
    explicit TCustomForm(TComponent *owner);
    ~TCustomForm() override;

    void AfterConstruction() override;

    void SetCaption(const QString &caption) override;

    TRect ClientRect() const override;
    void SetBounds(int left, int top, int width, int height) override;
    void SetClientWidth(int width);
    void SetClientHeight(int height);
    int BorderWidth() const { return m_borderWidth; }
    void SetBorderWidth(int width);
    const TSizeConstraints &Constraints() const { return m_constraints; }
    void SetConstraints(const TSizeConstraints &constraints);

    TFormBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TFormBorderStyle style);
    TBorderIcons BorderIcons() const { return m_borderIcons; }
    void SetBorderIcons(TBorderIcons icons);
    TPosition Position() const { return m_position; }
    void SetPosition(TPosition position) { m_position = position; }
    TWindowState WindowState() const;
    void SetWindowState(TWindowState state);
    TFormStyle FormStyle() const { return m_formStyle; }
    void SetFormStyle(TFormStyle style);
    bool KeyPreview() const { return m_keyPreview; }
    void SetKeyPreview(bool preview) { m_keyPreview = preview; }

    TCustomForm *PopupParent() const { return m_popupParent; }
    // Takes effect when the form is next shown.
    void SetPopupParent(TCustomForm *form);

    TWinControl *ActiveControl() const { return m_activeControl; }
    void SetActiveControl(TWinControl *control);
    bool Active() const;

    void SetVisible(bool visible) override;
    // Raises EInvalidOperation for a form that is already visible.
    virtual int ShowModal();
    bool Modal() const { return m_modal; }
    int ModalResult() const { return m_modalResult; }
    void SetModalResult(int result);
    void Close();
    virtual bool CloseQuery();
    // Frees the form once the current event has been handled.
    void Release();

    // The work area of the monitor that shows the form: the one holding
    // its centre, else the primary one.
    TRect MonitorWorkArea() const;
    // Moves the form as little as needed to lie wholly inside area (its
    // top-left corner inside when the form is larger).
    void MakeFullyVisible(const TRect &area);

    // Clicks, for Return, the button that has the focus or else the default
    // button, and for Escape the cancel button; true when one took the key.
    bool DialogKey(int key);

    // The canvas of the client area; draws only inside OnPaint.
    TCanvas *Canvas() const { return m_canvas.get(); }

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnPaint;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

Q_SIGNALS:
    // The modal loop may end: ModalResult was set or the form was hidden.
    void ModalEnded();

protected:
    virtual void DoCreate();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction &action);
    virtual void Activate();
    virtual void Deactivate();
    virtual void Paint();

    QWidget *InputWidget() const override;
    QWidget *ClientWidget() const override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool HandleInputEvent(QEvent *event) override;
    void ApplyBounds() override;
    QSize WidgetSize() const override;
    void Changed() override;

private:
    // Takes in the window manager's frame once the window has one.
    void updateDecoration();
    bool fullScreen() const;
    int decorationWidth() const { return m_decoration.left() + m_decoration.right(); }
    int decorationHeight() const { return m_decoration.top() + m_decoration.bottom(); }
    void applyWindowFlags();
    void applyPopupParent();
    void applyConstraints();
    // Places the form as its Position says, on the work area.
    void place();
    // The window manager has the window's place and size: minimised,
    // maximised or full screen.
    bool windowManaged() const;

    class WindowPropertyWatch;

    ControlFrame *m_frame;
    std::unique_ptr<TCanvas> m_canvas;
    std::unique_ptr<WindowPropertyWatch> m_propertyWatch;
    int m_borderWidth = 0;
    // The window manager's frame around the window; none until shown.
    QMargins m_decoration;
    QPointer<QWindow> m_frameWindow;
    // The window is shown and its frame not known yet: the form places
    // itself again once it is.
    bool m_placing = false;
    // The size was last given as the client area's.
    bool m_clientSized = false;
    TSizeConstraints m_constraints;
    TFormBorderStyle m_borderStyle = bsSizeable;
    TBorderIcons m_borderIcons = biSystemMenu | biMinimize | biMaximize;
    TPosition m_position = poDesigned;
    TFormStyle m_formStyle = fsNormal;
    bool m_keyPreview = false;
    bool m_modal = false;
    bool m_closing = false;
    int m_modalResult = 0;
    QPointer<TWinControl> m_activeControl;
    QPointer<TCustomForm> m_popupParent;
};

class TForm : public TCustomForm
{
    Q_OBJECT

public:
    explicit TForm(TComponent *owner) : TCustomForm(owner) {}
};
