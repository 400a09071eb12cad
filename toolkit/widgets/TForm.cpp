#include "toolkit/widgets/TForm.h"

#include "toolkit/graphics/Canvas.h"
#include "toolkit/widgets/ControlFrame.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/widgets/ModalRunner.h"
#include "toolkit/widgets/TApplication.h"

#include <QAbstractNativeEventFilter>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <utility>

#if __has_include(<xcb/xcb.h>)
#include <xcb/xcb.h>
#define TOOLKIT_XCB_EVENTS 1
#endif

// Tells the form when a property of its window changes on the X server.
// The window manager tells of the frame it puts round the window in one
// (_NET_FRAME_EXTENTS), and may change it after the window's new size and
// state are told of, as when it maximises or restores the window; Qt takes
// the new frame in without an event of its own.
class TCustomForm::WindowPropertyWatch : public QAbstractNativeEventFilter
{
public:
    explicit WindowPropertyWatch(TCustomForm *form) : m_form(form)
    {
        if (QCoreApplication::instance())
            QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~WindowPropertyWatch() override
    {
        if (QCoreApplication::instance())
            QCoreApplication::instance()->removeNativeEventFilter(this);
    }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override
    {
        Q_UNUSED(result);
#ifdef TOOLKIT_XCB_EVENTS
        if (eventType != "xcb_generic_event_t")
            return false;
        const auto *event = static_cast<const xcb_generic_event_t *>(message);
        if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
            return false;
        const WId window = m_form->m_frame->internalWinId();
        if (window && reinterpret_cast<const xcb_property_notify_event_t *>(event)->window == window)
            // Once Qt has taken the change in.
            QMetaObject::invokeMethod(m_form, [form = QPointer<TCustomForm>(m_form)] {
                if (form)
                    form->updateDecoration();
            }, Qt::QueuedConnection);
#else
        Q_UNUSED(eventType);
        Q_UNUSED(message);
#endif
        return false;
    }

private:
    TCustomForm *m_form;
};

TCustomForm::TCustomForm(TComponent *owner)
    : TWinControl(owner, new ControlFrame(nullptr, Qt::Window)), m_canvas(std::make_unique<TCanvas>()),
      m_propertyWatch(std::make_unique<WindowPropertyWatch>(this))
{
    m_frame = static_cast<ControlFrame *>(Widget());
    m_frame->Client()->installEventFilter(this);
    m_frame->Client()->setAttribute(Qt::WA_OpaquePaintEvent);
    SetVisible(false);
    SetColor(clBtnFace);
    SetBounds(0, 0, 320, 240);
    applyWindowFlags();
}

TCustomForm::~TCustomForm()
{
    if (OnDestroy)
        OnDestroy(this);
    if (Application && Application->MainForm() == this)
        Application->Terminate();
}

void TCustomForm::AfterConstruction()
{
    TWinControl::AfterConstruction();
    DoCreate();
}

void TCustomForm::DoCreate()
{
    if (OnCreate)
        OnCreate(this);
}

QWidget *TCustomForm::InputWidget() const
{
    return m_frame->Client();
}

QWidget *TCustomForm::ClientWidget() const
{
    return m_frame->Client();
}

void TCustomForm::SetCaption(const QString &caption)
{
    TWinControl::SetCaption(caption);
    m_frame->setWindowTitle(caption);
}

TRect TCustomForm::ClientRect() const
{
    return Rect(0, 0, qMax(0, Width() - decorationWidth() - 2 * m_borderWidth),
                qMax(0, Height() - decorationHeight() - 2 * m_borderWidth));
}

void TCustomForm::SetBounds(int left, int top, int width, int height)
{
    if (width != Width() || height != Height())
        m_clientSized = false;
    TWinControl::SetBounds(left, top, width, height);
}

// The client size holds from now on, also while the new size is applied:
// a window manager may frame the window right then.
void TCustomForm::SetClientWidth(int width)
{
    m_clientSized = true;
    TWinControl::SetBounds(Left(), Top(), width + decorationWidth() + 2 * m_borderWidth, Height());
}

void TCustomForm::SetClientHeight(int height)
{
    m_clientSized = true;
    TWinControl::SetBounds(Left(), Top(), Width(), height + decorationHeight() + 2 * m_borderWidth);
}

QSize TCustomForm::WidgetSize() const
{
    return m_frame->size().grownBy(m_decoration);
}

namespace {

// The frame the window manager last put round a form, which a form shown
// for the first time takes as its own until it learns its own.
QMargins lastFrame;

} // namespace

void TCustomForm::updateDecoration()
{
    if (!m_frame->isVisible() || fullScreen())
        return;
    // The frame is the one the window system tells of: the widget's own
    // idea of it can stay empty until the window is first moved, and a form
    // that learnt its frame only then would move back from where the user
    // put it.  A frame once known is kept while the window manager takes
    // it away for a moment, as it does when the window leaves full screen.
    QWindow *handle = m_frame->windowHandle();
    if (handle && handle != m_frameWindow) {
        m_frameWindow = handle;
        handle->installEventFilter(this);
    }
    const QMargins decoration = handle ? handle->frameMargins() : QMargins();
    if (decoration.isNull() || decoration.left() < 0 || decoration.top() < 0 || decoration.right() < 0
        || decoration.bottom() < 0)
        return;
    const bool placing = std::exchange(m_placing, false);
    if (!windowManaged())
        lastFrame = decoration;
    if (decoration == m_decoration)
        return;
    const QSize clientSize = m_frame->size();
    m_decoration = decoration;
    if (!placing || windowManaged()) {
        // The window manager framed the window anew, as it does when it
        // maximises or restores it: the window stays where the window
        // manager put it, in the frame it now has.
        applyConstraints();
        TakeBounds(m_frame->geometry().marginsAdded(m_decoration));
        return;
    }
    // The first frame round a window just shown: the form is placed again
    // as a whole, frame and all.
    if (m_clientSized)
        TWinControl::SetBounds(Left(), Top(), clientSize.width() + decorationWidth(),
                               clientSize.height() + decorationHeight());
    place();
    ApplyBounds();
    if (!m_clientSized)
        Resize();
}

bool TCustomForm::windowManaged() const
{
    return m_frame->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen);
}

bool TCustomForm::fullScreen() const
{
    // A full-screen window has no frame, and its place and size are the
    // window manager's until it leaves full screen, framed as before.
    return m_frame->windowState() & Qt::WindowFullScreen;
}

void TCustomForm::SetBorderWidth(int width)
{
    m_borderWidth = qMax(0, width);
    m_frame->SetBorderWidth(m_borderWidth);
    Realign();
}

void TCustomForm::SetConstraints(const TSizeConstraints &constraints)
{
    m_constraints = constraints;
    applyConstraints();
    int width = Width();
    int height = Height();
    if (m_constraints.MinWidth > 0)
        width = qMax(width, m_constraints.MinWidth);
    if (m_constraints.MinHeight > 0)
        height = qMax(height, m_constraints.MinHeight);
    if (m_constraints.MaxWidth > 0)
        width = qMin(width, m_constraints.MaxWidth);
    if (m_constraints.MaxHeight > 0)
        height = qMin(height, m_constraints.MaxHeight);
    SetBounds(Left(), Top(), width, height);
}

void TCustomForm::applyConstraints()
{
    const bool fixed = m_borderStyle == bsDialog || m_borderStyle == bsSingle || m_borderStyle == bsToolWindow;
    if (fixed) {
        m_frame->setFixedSize(qMax(0, Width() - decorationWidth()), qMax(0, Height() - decorationHeight()));
        return;
    }
    auto inner = [](int limit, int decoration) { return limit > 0 ? qMax(0, limit - decoration) : 0; };
    m_frame->setMinimumSize(inner(m_constraints.MinWidth, decorationWidth()),
                            inner(m_constraints.MinHeight, decorationHeight()));
    m_frame->setMaximumSize(
            m_constraints.MaxWidth > 0 ? inner(m_constraints.MaxWidth, decorationWidth()) : QWIDGETSIZE_MAX,
            m_constraints.MaxHeight > 0 ? inner(m_constraints.MaxHeight, decorationHeight()) : QWIDGETSIZE_MAX);
}

void TCustomForm::ApplyBounds()
{
    applyConstraints();
    // A window's position is its frame's; its size is the client area's.
    // The client area is placed inside the frame as the form knows it, so
    // that where the window lands does not hang on the widget's idea of the
    // frame.
    m_frame->setGeometry(Left() + m_decoration.left(), Top() + m_decoration.top(),
                         qMax(0, Width() - decorationWidth()), qMax(0, Height() - decorationHeight()));
    m_frame->Relayout();
}

void TCustomForm::SetBorderStyle(TFormBorderStyle style)
{
    m_borderStyle = style;
    applyWindowFlags();
    applyConstraints();
}

void TCustomForm::SetBorderIcons(TBorderIcons icons)
{
    m_borderIcons = icons;
    applyWindowFlags();
}

void TCustomForm::SetFormStyle(TFormStyle style)
{
    // Multiple-document styles have no meaning here; they act as normal.
    m_formStyle = style;
    applyWindowFlags();
}

void TCustomForm::applyWindowFlags()
{
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    switch (m_borderStyle) {
    case bsNone:
        flags = Qt::Window | Qt::FramelessWindowHint;
        break;
    case bsDialog:
        flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        break;
    case bsToolWindow:
    case bsSizeToolWin:
        flags = Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        break;
    default:
        break;
    }
    if (m_borderStyle != bsNone && m_borderIcons.testFlag(biSystemMenu)) {
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        const bool resizable = m_borderStyle == bsSizeable || m_borderStyle == bsSingle;
        if (resizable && m_borderIcons.testFlag(biMinimize))
            flags |= Qt::WindowMinimizeButtonHint;
        if (resizable && m_borderIcons.testFlag(biMaximize))
            flags |= Qt::WindowMaximizeButtonHint;
        if (m_borderIcons.testFlag(biHelp))
            flags |= Qt::WindowContextHelpButtonHint;
    }
    if (m_formStyle == fsStayOnTop)
        flags |= Qt::WindowStaysOnTopHint;
    // A window that belongs to another is a transient one to the window
    // manager, which keeps it above its owner.
    if (m_popupParent && (flags & Qt::WindowType_Mask) == Qt::Window)
        flags = (flags & ~Qt::WindowType_Mask) | Qt::Dialog;
    const bool shown = m_frame->isVisible();
    m_frame->setWindowFlags(flags);
    if (shown)
        m_frame->show();
}

void TCustomForm::SetPopupParent(TCustomForm *form)
{
    m_popupParent = form != this ? form : nullptr;
    applyWindowFlags();
}

void TCustomForm::applyPopupParent()
{
    // Qt blocks input to every window but a modal one and the windows whose
    // transient parent it is; the native window must exist to take one.
    if (!m_popupParent && !m_frame->windowHandle())
        return;
    m_frame->winId();
    QWindow *parent = m_popupParent ? m_popupParent->m_frame->windowHandle() : nullptr;
    m_frame->windowHandle()->setTransientParent(parent);
}

TWindowState TCustomForm::WindowState() const
{
    const Qt::WindowStates state = m_frame->windowState();
    if (state & Qt::WindowMinimized)
        return wsMinimized;
    if (state & Qt::WindowMaximized)
        return wsMaximized;
    return wsNormal;
}

void TCustomForm::SetWindowState(TWindowState state)
{
    m_frame->setWindowState(state == wsMinimized   ? Qt::WindowMinimized
                            : state == wsMaximized ? Qt::WindowMaximized
                                                   : Qt::WindowNoState);
}

void TCustomForm::SetActiveControl(TWinControl *control)
{
    if (control == m_activeControl)
        return;
    m_activeControl = control;
    for (TWinControl *child : TabOrderList())
        child->FocusChanged(control);
    if (control && Visible() && !control->Focused() && control->CanFocus())
        control->SetFocus();
}

bool TCustomForm::Active() const
{
    return m_frame->isActiveWindow();
}

void TCustomForm::place()
{
    QRect area;
    switch (m_position) {
    case poScreenCenter:
    case poDesktopCenter:
        if (QScreen *screen = QGuiApplication::primaryScreen())
            area = screen->availableGeometry();
        break;
    case poOwnerFormCenter:
    case poMainFormCenter: {
        auto *owner = qobject_cast<TCustomForm *>(Owner());
        if (m_position == poMainFormCenter || !owner)
            owner = Application ? Application->MainForm() : nullptr;
        if (owner && owner != this)
            area = owner->BoundsRect().ToQRect();
        else if (QScreen *screen = QGuiApplication::primaryScreen())
            area = screen->availableGeometry();
        break;
    }
    default:
        break;
    }
    if (area.isValid())
        SetBounds(area.left() + (area.width() - Width()) / 2, area.top() + (area.height() - Height()) / 2, Width(),
                  Height());
    // Wherever it was meant to go, a window opens on the work area: one
    // that may be resized is made to fit, any other shows its top-left
    // corner.
    const TRect workArea = MonitorWorkArea();
    if (workArea.IsEmpty() || windowManaged())
        return;
    if (m_borderStyle == bsSizeable || m_borderStyle == bsSizeToolWin)
        SetBounds(Left(), Top(), std::min(Width(), workArea.Width()), std::min(Height(), workArea.Height()));
    MakeFullyVisible(workArea);
}

TRect TCustomForm::MonitorWorkArea() const
{
    QScreen *screen = QGuiApplication::screenAt(BoundsRect().ToQRect().center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? TRect::FromQRect(screen->availableGeometry()) : TRect();
}

void TCustomForm::MakeFullyVisible(const TRect &area)
{
    if (area.IsEmpty())
        return;
    const int left = std::max(area.Left, std::min(Left(), area.Right - Width()));
    const int top = std::max(area.Top, std::min(Top(), area.Bottom - Height()));
    if (left != Left() || top != Top())
        SetBounds(left, top, Width(), Height());
}

void TCustomForm::SetVisible(bool visible)
{
    if (visible == Visible() && visible == m_frame->isVisible())
        return;
    TWinControl::SetVisible(visible);
    if (visible) {
        HandleNeeded();
        m_placing = true;
        // Placed in the frame other forms have, the window stays where it
        // opens when its own frame is the same.
        if (m_decoration.isNull() && m_borderStyle != bsNone && !lastFrame.isNull()) {
            m_decoration = lastFrame;
            if (m_clientSized)
                TWinControl::SetBounds(Left(), Top(), Width() + decorationWidth(), Height() + decorationHeight());
            ApplyBounds();
            if (!m_clientSized)
                Resize();
        }
        place();
        DoShow();
        applyPopupParent();
        m_frame->show();
        m_frame->raise();
        m_frame->activateWindow();
        if (m_activeControl && m_activeControl->CanFocus())
            m_activeControl->SetFocus();
    } else if (m_frame->isVisible()) {
        DoHide();
        m_frame->hide();
        Q_EMIT ModalEnded();
    }
}

void TCustomForm::DoShow()
{
    if (OnShow)
        OnShow(this);
}

void TCustomForm::DoHide()
{
    if (OnHide)
        OnHide(this);
}

int TCustomForm::ShowModal()
{
    if (Visible() && m_frame->isVisible())
        throw EInvalidOperation(QStringLiteral("Cannot make a visible window modal"));
    m_modalResult = mrNone;
    m_modal = true;
    m_frame->setWindowModality(Qt::ApplicationModal);
    struct ModalScope {
        TCustomForm *form;
        ~ModalScope()
        {
            form->m_modal = false;
            form->SetVisible(false);
            form->m_frame->setWindowModality(Qt::NonModal);
        }
    } scope{this};
    SetVisible(true);
    const int result = ModalRunner::Current().RunForm(*this);
    if (m_modalResult == mrNone)
        m_modalResult = result != mrNone ? result : mrCancel;
    return m_modalResult;
}

void TCustomForm::SetModalResult(int result)
{
    m_modalResult = result;
    if (result != mrNone && m_modal)
        Q_EMIT ModalEnded();
}

bool TCustomForm::CloseQuery()
{
    bool canClose = true;
    if (OnCloseQuery)
        OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::DoClose(TCloseAction &action)
{
    if (OnClose)
        OnClose(this, action);
}

void TCustomForm::Close()
{
    if (m_closing)
        return;
    m_closing = true;
    struct Reset {
        bool &flag;
        ~Reset() { flag = false; }
    } reset{m_closing};

    if (!CloseQuery())
        return;
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone)
        return;
    if (m_modal) {
        // A modal form only ends its loop; ShowModal hides it.
        if (m_modalResult == mrNone)
            SetModalResult(mrCancel);
        return;
    }
    if (Application && Application->MainForm() == this) {
        Application->Terminate();
        SetVisible(false);
        return;
    }
    switch (action) {
    case caMinimize:
        SetWindowState(wsMinimized);
        break;
    case caFree:
        Release();
        break;
    default:
        SetVisible(false);
    }
}

void TCustomForm::Release()
{
    SetVisible(false);
    QTimer::singleShot(0, Application, [form = QPointer<TCustomForm>(this)] { delete form.data(); });
}

bool TCustomForm::DialogKey(int key)
{
    if (key != VK_RETURN && key != VK_ESCAPE)
        return false;
    // Depth-first over the visible, enabled controls.
    std::function<bool(TWinControl *)> visit = [&](TWinControl *container) {
        for (int i = 0; i < container->ControlCount(); ++i) {
            TControl *control = container->Controls(i);
            if (!control->Visible() || !control->Enabled())
                continue;
            if (control->WantsDialogKey(key)) {
                control->Click();
                return true;
            }
            if (auto *child = qobject_cast<TWinControl *>(control); child && visit(child))
                return true;
        }
        return false;
    };
    return visit(this);
}

void TCustomForm::Activate()
{
    if (OnActivate)
        OnActivate(this);
}

void TCustomForm::Deactivate()
{
    if (OnDeactivate)
        OnDeactivate(this);
}

void TCustomForm::Paint()
{
    if (OnPaint)
        OnPaint(this);
}

void TCustomForm::Changed()
{
    m_frame->update();
    m_frame->Client()->update();
}

bool TCustomForm::eventFilter(QObject *watched, QEvent *event)
{
    // The window manager shows the window once it has framed it.
    if (watched == m_frameWindow && event->type() == QEvent::Expose) {
        updateDecoration();
        return false;
    }
    if (watched == m_frame) {
        switch (event->type()) {
        case QEvent::Close:
            // The window's close button closes the form the classic way.
            event->ignore();
            Close();
            return true;
        case QEvent::WindowStateChange:
            // A dialog has no minimise button, but some window managers
            // minimise every window anyway; a modal one gone from the
            // screen would leave the program dead.
            if ((m_borderStyle == bsDialog || m_modal) && (m_frame->windowState() & Qt::WindowMinimized))
                QTimer::singleShot(0, m_frame, [frame = m_frame] {
                    frame->setWindowState(frame->windowState() & ~Qt::WindowMinimized);
                    frame->show();
                    frame->raise();
                    frame->activateWindow();
                });
            // A window manager frames a maximised window anew, and may tell
            // of its new frame only just before it tells of the new state.
            updateDecoration();
            break;
        case QEvent::WindowActivate:
            Activate();
            break;
        case QEvent::WindowDeactivate:
            Deactivate();
            break;
        case QEvent::Show:
        case QEvent::Resize:
            updateDecoration();
            break;
        case QEvent::Move: {
            // The form follows the window to wherever the window system
            // says it is, without moving it again: a place it would not
            // take is then the form's place, rather than a move that asks
            // for the next.
            if (fullScreen())
                break;
            const QMargins known = m_decoration;
            updateDecoration();
            const QPoint frame = m_frame->geometry().topLeft() - QPoint(m_decoration.left(), m_decoration.top());
            if (known == m_decoration)
                TakeBounds(QRect(frame, BoundsRect().ToQRect().size()));
            break;
        }
        default:
            break;
        }
    }
    return TWinControl::eventFilter(watched, event);
}

bool TCustomForm::HandleInputEvent(QEvent *event)
{
    if (event->type() == QEvent::Paint) {
        ControlFrame::PaintThroughCanvas(InputWidget(), *m_canvas, *Font(), Color(), [this] { Paint(); });
        return true;
    }
    return TWinControl::HandleInputEvent(event);
}
