#include "toolkit/widgets/TWinControl.h"

#include "toolkit/core/Exceptions.h"
#include "toolkit/widgets/TForm.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QWidget>

#include <algorithm>

TWinControl::TWinControl(TComponent *owner) : TWinControl(owner, new QWidget) {}

TWinControl::TWinControl(TComponent *owner, QWidget *widget) : TControl(owner, widget)
{
    initFocusPolicy();
}

TWinControl::~TWinControl()
{
    // Children belong to their owners; they only leave this window.
    while (!m_controls.isEmpty())
        m_controls.last()->SetParent(nullptr);
}

void TWinControl::insertControl(TControl *control)
{
    m_controls.append(control);
    if (control->Align() != alNone)
        Realign(control);
    ControlsChanged();
}

void TWinControl::removeControl(TControl *control)
{
    m_controls.removeOne(control);
    if (control->Align() != alNone)
        Realign();
    ControlsChanged();
}

void TWinControl::initFocusPolicy()
{
    InputWidget()->setFocusPolicy(m_tabStop ? Qt::StrongFocus : Qt::ClickFocus);
}

void TWinControl::SetTabStop(bool tabStop)
{
    m_tabStop = tabStop;
    initFocusPolicy();
}

int TWinControl::TabOrder() const
{
    if (!Parent())
        return -1;
    int order = 0;
    for (TControl *c : Parent()->m_controls) {
        if (c == this)
            return order;
        if (qobject_cast<TWinControl *>(c))
            ++order;
    }
    return -1;
}

void TWinControl::SetTabOrder(int order)
{
    TWinControl *parent = Parent();
    if (!parent)
        return;
    QList<TWinControl *> siblings;
    for (TControl *c : parent->m_controls)
        if (auto *w = qobject_cast<TWinControl *>(c); w && w != this)
            siblings.append(w);
    siblings.insert(std::clamp(order, 0, int(siblings.size())), this);
    for (int i = 1; i < siblings.size(); ++i)
        QWidget::setTabOrder(siblings[i - 1]->InputWidget(), siblings[i]->InputWidget());
    // Keep the list in tab order, so TabOrder reads back what was set.
    for (TWinControl *w : siblings)
        parent->m_controls.removeOne(w);
    parent->m_controls.append(QList<TControl *>(siblings.begin(), siblings.end()));
}

bool TWinControl::CanFocus() const
{
    for (const TControl *c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled())
            return false;
    return true;
}

void TWinControl::SetFocus()
{
    focusFor(Qt::OtherFocusReason);
}

void TWinControl::focusFor(Qt::FocusReason reason)
{
    if (!CanFocus())
        throw EInvalidOperation(QStringLiteral("Cannot focus a disabled or invisible window"));
    HandleNeeded();
    // The widget first: the form would otherwise focus it for no reason.
    InputWidget()->setFocus(reason);
    if (TCustomForm *form = ParentForm(); form && form != this)
        form->SetActiveControl(this);
}

QList<TWinControl *> TWinControl::TabOrderList() const
{
    QList<TWinControl *> list;
    for (TControl *c : m_controls)
        if (auto *child = qobject_cast<TWinControl *>(c)) {
            list.append(child);
            list.append(child->TabOrderList());
        }
    return list;
}

TWinControl *TWinControl::FindNextControl(TWinControl *current, bool goForward, bool checkTabStop) const
{
    const QList<TWinControl *> list = TabOrderList();
    const int count = int(list.size());
    if (count == 0)
        return nullptr;
    int index = int(list.indexOf(current));
    if (index < 0)
        index = goForward ? count - 1 : 0;
    for (int step = 1; step <= count; ++step) {
        TWinControl *candidate = list[((goForward ? index + step : index - step) % count + count) % count];
        if (candidate != current && (!checkTabStop || candidate->TabStop()) && candidate->CanFocus())
            return candidate;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl *current, bool goForward, bool checkTabStop)
{
    if (TWinControl *next = FindNextControl(current, goForward, checkTabStop))
        next->focusFor(goForward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

// The tab stop the focus moves on from: the outermost tab stop that holds
// this control, or the control itself.
TWinControl *TWinControl::tabStopOwner()
{
    TWinControl *owner = this;
    for (TWinControl *p = Parent(); p && p->Parent(); p = p->Parent())
        if (p->TabStop())
            owner = p;
    return owner;
}

bool TWinControl::Focused() const
{
    return InputWidget()->hasFocus();
}

void TWinControl::HandleNeeded()
{
    if (m_handleAllocated)
        return;
    m_handleAllocated = true;
    CreateWnd();
}

void TWinControl::KeyDown(int &key, TShiftState shift)
{
    if (OnKeyDown)
        OnKeyDown(this, key, shift);
}

void TWinControl::KeyPress(QChar &key)
{
    if (OnKeyPress)
        OnKeyPress(this, key);
}

void TWinControl::KeyUp(int &key, TShiftState shift)
{
    if (OnKeyUp)
        OnKeyUp(this, key, shift);
}

void TWinControl::DoEnter()
{
    if (OnEnter)
        OnEnter(this);
}

void TWinControl::DoExit()
{
    if (OnExit)
        OnExit(this);
}

bool TWinControl::handleKey(QEvent *event)
{
    auto *keyEvent = static_cast<QKeyEvent *>(event);
    TCustomForm *form = ParentForm();
    TWinControl *preview = form && form != this && form->KeyPreview() ? form : nullptr;
    const TShiftState shift = ShiftStateFromQt(keyEvent->modifiers());
    int key = VirtualKeyFromQt(keyEvent->key(), keyEvent->modifiers());

    if (event->type() == QEvent::KeyRelease) {
        if (preview && key)
            preview->KeyUp(key, shift);
        if (key)
            KeyUp(key, shift);
        return key != 0 ? deliverKey(event) : true;
    }

    // Tab moves between the form's tab stops before any control sees it,
    // unless the control takes Tab itself.
    if (key == VK_TAB && !(shift & (ssCtrl | ssAlt)) && !WantsKey(VK_TAB) && form && form != this) {
        form->SelectNext(tabStopOwner(), !(shift & ssShift), true);
        return true;
    }
    if (key) {
        if (preview)
            preview->KeyDown(key, shift);
        if (key)
            KeyDown(key, shift);
        if (!key)
            return true;
        if (!WantsKey(key))
            for (TWinControl *container = this; container; container = container->Parent())
                if (container->ChildKey(key, shift))
                    return true;
        if (form && !WantsKey(key) && form->DialogKey(key))
            return true;
    }
    const QString text = keyEvent->text();
    if (text.size() != 1)
        return deliverKey(event);
    QChar ch = text.at(0);
    if (preview)
        preview->KeyPress(ch);
    if (!ch.isNull())
        KeyPress(ch);
    if (ch.isNull())
        return true;
    if (ch == text.at(0))
        return deliverKey(event);
    QKeyEvent replaced(QEvent::KeyPress, keyEvent->key(), keyEvent->modifiers(), QString(ch));
    return deliverKey(&replaced);
}

bool TWinControl::deliverKey(QEvent *event)
{
    // The widget handles the key here and now, and the key goes no further:
    // a key the widget ignores does not reach the parent windows, which
    // have already had their say through KeyPreview.
    static_cast<QObject *>(InputWidget())->event(event);
    event->accept();
    return true;
}

void TWinControl::FlipChildren(bool allLevels)
{
    const int width = ClientWidth();
    const QList<TControl *> children = m_controls;
    for (TControl *child : children) {
        if (child->Align() == alLeft || child->Align() == alRight) {
            child->SetAlign(child->Align() == alLeft ? alRight : alLeft);
        } else if (child->Align() == alNone) {
            child->SetLeft(width - child->Left() - child->Width());
            const TAnchors anchors = child->Anchors();
            if (anchors.testFlag(akLeft) != anchors.testFlag(akRight))
                child->SetAnchors((anchors & ~(akLeft | akRight)) | (anchors.testFlag(akLeft) ? akRight : akLeft));
        }
        if (auto *control = qobject_cast<TWinControl *>(child); control && allLevels)
            control->FlipChildren(true);
    }
}

bool TWinControl::HandleInputEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return handleKey(event);
    case QEvent::FocusIn: {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        FocusIn();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            if (TCustomForm *form = ParentForm(); form && form != this)
                form->SetActiveControl(this);
            DoEnter();
        }
        return false;
    }
    case QEvent::FocusOut: {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        FocusOut();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            DoExit();
        return false;
    }
    case QEvent::Show:
        HandleNeeded();
        return false;
    default:
        return TControl::HandleInputEvent(event);
    }
}

void TWinControl::Resize()
{
    const QSize oldSize = m_lastClientSize;
    const QSize clientSize(ClientWidth(), ClientHeight());
    m_lastClientSize = clientSize;
    if (oldSize.isValid() && oldSize != clientSize)
        applyAnchors();
    alignControls(nullptr);
    TControl::Resize();
}

void TWinControl::applyAnchors()
{
    const TRect client = ClientRect();
    for (TControl *c : std::as_const(m_controls)) {
        if (c->Align() != alNone)
            continue;
        QRect r = c->m_bounds;
        const TAnchors a = c->Anchors();
        if (a & akRight) {
            const int right = client.Width() - c->m_anchorRight;
            if (a & akLeft)
                r.setWidth(qMax(0, right - r.left()));
            else
                r.moveLeft(right - r.width());
        }
        if (a & akBottom) {
            const int bottom = client.Height() - c->m_anchorBottom;
            if (a & akTop)
                r.setHeight(qMax(0, bottom - r.top()));
            else
                r.moveTop(bottom - r.height());
        }
        if (r != c->m_bounds) {
            const int right = c->m_anchorRight;
            const int bottom = c->m_anchorBottom;
            c->SetBounds(r.left(), r.top(), r.width(), r.height());
            c->m_anchorRight = right;
            c->m_anchorBottom = bottom;
        }
    }
}

void TWinControl::Realign(TControl *trigger)
{
    alignControls(trigger);
}

void TWinControl::alignControls(TControl *trigger)
{
    if (m_aligning)
        return;
    m_aligning = true;
    QRect rest = ClientRect().ToQRect();
    // Classic order: each kind in turn, and within a kind by position.
    for (TAlign kind : {alTop, alBottom, alLeft, alRight, alClient}) {
        QList<TControl *> aligned;
        for (TControl *c : std::as_const(m_controls))
            if (c->Align() == kind && c->Visible())
                aligned.append(c);
        // The position that orders the kind: smaller goes first.
        auto key = [kind](TControl *c) {
            switch (kind) {
            case alTop:
                return c->Top();
            case alBottom:
                return -(c->Top() + c->Height());
            case alLeft:
                return c->Left();
            case alRight:
                return -(c->Left() + c->Width());
            default:
                return 0;
            }
        };
        std::stable_sort(aligned.begin(), aligned.end(), [&](TControl *a, TControl *b) {
            if (key(a) != key(b))
                return key(a) < key(b);
            return a == trigger && b != trigger;
        });
        for (TControl *c : aligned) {
            QRect r;
            switch (kind) {
            case alTop:
                r = QRect(rest.left(), rest.top(), rest.width(), c->Height());
                rest.setTop(rest.top() + c->Height());
                break;
            case alBottom:
                r = QRect(rest.left(), rest.bottom() + 1 - c->Height(), rest.width(), c->Height());
                rest.setBottom(rest.bottom() - c->Height());
                break;
            case alLeft:
                r = QRect(rest.left(), rest.top(), c->Width(), rest.height());
                rest.setLeft(rest.left() + c->Width());
                break;
            case alRight:
                r = QRect(rest.right() + 1 - c->Width(), rest.top(), c->Width(), rest.height());
                rest.setRight(rest.right() - c->Width());
                break;
            default:
                r = rest;
            }
            c->SetBounds(r.left(), r.top(), qMax(0, r.width()), qMax(0, r.height()));
        }
    }
    m_aligning = false;
}

void TWinControl::ChangeScale(int multiplier, int divider)
{
    for (TControl *c : std::as_const(m_controls))
        c->ChangeScale(multiplier, divider);
    TControl::ChangeScale(multiplier, divider);
}
