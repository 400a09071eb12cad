#include "toolkit/widgets/TControl.h"

#include "toolkit/core/Exceptions.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/GraphicsObjects.h"
#include "toolkit/graphics/QtFonts.h"
#include "toolkit/widgets/TForm.h"
#include "toolkit/widgets/TWinControl.h"

#include <QGuiApplication>
#include <QImage>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

namespace {

// Wheel notches of the classic mouse: 120 units each.
constexpr int kWheelDelta = 120;

constexpr char kControlProperty[] = "toolkitControl";

} // namespace

TControl::TControl(TComponent *owner) : TControl(owner, new QWidget) {}

TControl::TControl(TComponent *owner, QWidget *widget)
    : TComponent(owner), m_widget(widget), m_font(std::make_unique<TFont>())
{
    init();
}

void TControl::init()
{
    m_bounds = QRect(0, 0, m_widget->width(), m_widget->height());
    m_widget->installEventFilter(this);
    m_widget->setProperty(kControlProperty, QVariant::fromValue<QObject *>(this));
    m_font->OnChange = [this](TObject *) { fontChanged(); };
    fontChanged();
    m_parentFont = true;
    applyColor();
}

void TControl::fontChanged()
{
    if (!m_settingFont)
        m_parentFont = false;
    if (!m_widget)
        return;
    m_widget->setFont(ToQFont(*m_font));
    QPalette palette = m_widget->palette();
    const QColor text = ColorToQColor(m_font->Color());
    // A disabled control writes in grey whatever its font's colour.
    const QColor grayText = ColorToQColor(clGrayText);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        palette.setColor(QPalette::Active, role, text);
        palette.setColor(QPalette::Inactive, role, text);
        palette.setColor(QPalette::Disabled, role, grayText);
    }
    m_widget->setPalette(palette);
    Changed();
    notifyChildren();
}

void TControl::notifyChildren()
{
    if (auto *container = qobject_cast<TWinControl *>(this)) {
        for (TControl *child : std::as_const(container->m_controls))
            child->parentChanged();
    }
}

void TControl::parentChanged()
{
    if (!m_parent)
        return;
    if (m_parentFont && !(m_font->Data() == m_parent->Font()->Data())) {
        m_settingFont = true;
        m_font->Assign(m_parent->Font());
        m_settingFont = false;
    }
    if (m_parentColor && m_color != m_parent->Color()) {
        m_color = m_parent->Color();
        applyColor();
    }
}

void TControl::SetFont(const TFont *font)
{
    m_font->Assign(font);
}

void TControl::SetParentFont(bool parentFont)
{
    m_parentFont = parentFont;
    if (parentFont)
        parentChanged();
}

void TControl::SetColor(TColor color)
{
    m_parentColor = false;
    if (color == m_color)
        return;
    m_color = color;
    applyColor();
}

void TControl::SetParentColor(bool parentColor)
{
    m_parentColor = parentColor;
    if (parentColor)
        parentChanged();
}

void TControl::applyColor()
{
    if (!m_widget)
        return;
    QPalette palette = m_widget->palette();
    const QColor color = ColorToQColor(m_color);
    palette.setColor(QPalette::Window, color);
    palette.setColor(QPalette::Base, color);
    palette.setColor(QPalette::Button, color);
    m_widget->setPalette(palette);
    Changed();
    notifyChildren();
}

TControl *TControl::FromWidget(const QWidget *widget)
{
    return widget ? qobject_cast<TControl *>(widget->property(kControlProperty).value<QObject *>()) : nullptr;
}

TControl::~TControl()
{
    TControl::BeforeDestruction();
    if (!m_widget)
        return;
    // The descendants' parts are gone: nothing the widget does while it is
    // destroyed may reach them.
    m_widget->removeEventFilter(this);
    m_widget->blockSignals(true);
    for (QObject *child : m_widget->findChildren<QObject *>()) {
        child->removeEventFilter(this);
        child->blockSignals(true);
    }
    delete m_widget.data();
}

void TControl::BeforeDestruction()
{
    if (m_parent)
        m_parent->removeControl(this);
    m_parent = nullptr;
    TComponent::BeforeDestruction();
}

void TControl::SetParent(TWinControl *parent)
{
    if (parent == m_parent)
        return;
    for (const TControl *ancestor = parent; ancestor; ancestor = ancestor->m_parent) {
        if (ancestor == this)
            throw EInvalidOperation(
                QStringLiteral("Control '%1' cannot have itself or a control it contains as its parent").arg(Name()));
    }
    if (m_parent)
        m_parent->removeControl(this);
    m_parent = parent;
    if (!m_widget)
        return;
    if (parent) {
        m_widget->setParent(parent->ClientWidget());
        parent->insertControl(this);
        ApplyBounds();
        recordAnchors();
        parentChanged();
    } else {
        m_widget->hide();
        m_widget->setParent(nullptr);
    }
    ApplyVisibility();
}

TCustomForm *TControl::ParentForm() const
{
    for (const TControl *c = this; c; c = c->m_parent)
        if (auto *form = qobject_cast<TCustomForm *>(const_cast<TControl *>(c)))
            return form;
    return nullptr;
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    width = qMax(0, width);
    height = qMax(0, height);
    if ((width != Width() || height != Height()) && !CanResize(width, height)) {
        width = Width();
        height = Height();
    }
    const QRect bounds(left, top, width, height);
    if (bounds == m_bounds)
        return;
    const bool resized = bounds.size() != m_bounds.size();
    m_bounds = bounds;
    ApplyBounds();
    recordAnchors();
    if (m_parent && m_align != alNone)
        m_parent->Realign(this);
    if (m_parent)
        m_parent->ControlsChanged();
    // A hidden widget hears of its new size only when shown; the control
    // tells itself now.
    if (resized)
        Resize();
}

void TControl::ApplyBounds()
{
    if (m_widget)
        m_widget->setGeometry(m_bounds);
}

void TControl::TakeBounds(const QRect &bounds)
{
    if (bounds == m_bounds)
        return;
    const bool resized = bounds.size() != m_bounds.size();
    m_bounds = bounds;
    recordAnchors();
    if (resized)
        Resize();
}

void TControl::recordAnchors()
{
    if (!m_parent)
        return;
    const TRect client = m_parent->ClientRect();
    m_anchorRight = client.Width() - (m_bounds.left() + m_bounds.width());
    m_anchorBottom = client.Height() - (m_bounds.top() + m_bounds.height());
}

TRect TControl::ClientRect() const
{
    return Rect(0, 0, Width(), Height());
}

bool TControl::UseRightToLeftAlignment()
{
    return QGuiApplication::isRightToLeft();
}

TPoint TControl::ClientToScreen(const TPoint &point) const
{
    const QPoint p = InputWidget()->mapToGlobal(QPoint(point.X, point.Y));
    return Point(p.x(), p.y());
}

TPoint TControl::ScreenToClient(const TPoint &point) const
{
    const QPoint p = InputWidget()->mapFromGlobal(QPoint(point.X, point.Y));
    return Point(p.x(), p.y());
}

void TControl::SetAlign(TAlign align)
{
    if (align == m_align)
        return;
    m_align = align;
    if (m_parent)
        m_parent->Realign(this);
}

void TControl::SetAnchors(TAnchors anchors)
{
    m_anchors = anchors;
    recordAnchors();
}

void TControl::SetVisible(bool visible)
{
    if (visible == m_visible)
        return;
    m_visible = visible;
    ApplyVisibility();
    if (m_parent && m_align != alNone)
        m_parent->Realign();
    if (m_parent)
        m_parent->ControlsChanged();
}

void TControl::ApplyVisibility()
{
    // A control without a parent has no window to show, unless it is one.
    if (m_widget && (m_parent || m_topLevel))
        m_widget->setVisible(m_visible);
}

void TControl::SetTopLevel(bool topLevel)
{
    m_topLevel = topLevel;
    ApplyVisibility();
}

bool TControl::Showing() const
{
    for (const TControl *c = this; c; c = c->m_parent) {
        if (!c->m_visible)
            return false;
        if (!c->m_parent)
            return qobject_cast<const TCustomForm *>(c) != nullptr;
    }
    return false;
}

void TControl::SetEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    if (m_widget)
        m_widget->setEnabled(enabled);
    Changed();
}

void TControl::SetCursor(TCursor cursor)
{
    m_cursor = cursor;
    if (cursor == crDefault)
        InputWidget()->unsetCursor();
    else
        InputWidget()->setCursor(QtCursorShape(cursor));
}

void TControl::SetHint(const QString &hint)
{
    m_hint = hint;
    if (m_widget)
        m_widget->setToolTip(m_showHint ? hint : QString());
}

void TControl::SetShowHint(bool show)
{
    m_showHint = show;
    SetHint(m_hint);
}

void TControl::SetCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    Changed();
}

bool TControl::MouseCapture() const
{
    return QWidget::mouseGrabber() == InputWidget();
}

void TControl::SetMouseCapture(bool capture)
{
    if (capture == MouseCapture())
        return;
    if (capture)
        InputWidget()->grabMouse();
    else
        InputWidget()->releaseMouse();
}

void TControl::PaintTo(TCanvas *canvas, int x, int y)
{
    if (!m_widget || Width() <= 0 || Height() <= 0)
        return;
    QImage image(Width(), Height(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    m_widget->render(&image);
    canvas->StretchImage(TRect(x, y, x + Width(), y + Height()), image);
}

void TControl::Invalidate()
{
    if (m_widget)
        InputWidget()->update();
}

void TControl::InvalidateRect(const TRect &rect)
{
    if (m_widget)
        InputWidget()->update(rect.ToQRect());
}

void TControl::Update()
{
    if (m_widget)
        InputWidget()->repaint(InputWidget()->visibleRegion());
}

void TControl::Repaint()
{
    if (m_widget)
        InputWidget()->repaint();
}

void TControl::BringToFront()
{
    if (m_widget)
        m_widget->raise();
}

void TControl::ChangeScale(int multiplier, int divider)
{
    if (multiplier == divider || divider == 0)
        return;
    auto scale = [&](int v) { return int((qint64(v) * multiplier + (v >= 0 ? divider / 2 : -divider / 2)) / divider); };
    const int left = scale(Left());
    const int top = scale(Top());
    SetBounds(left, top, scale(Left() + Width()) - left, scale(Top() + Height()) - top);
}

void TControl::Click()
{
    if (OnClick)
        OnClick(this);
}

void TControl::DblClick()
{
    if (OnDblClick)
        OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseDown)
        OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y)
{
    if (OnMouseMove)
        OnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseUp)
        OnMouseUp(this, button, shift, x, y);
}

bool TControl::DoMouseWheel(TShiftState shift, int wheelDelta, const QPoint &mousePos)
{
    if (wheelDelta < 0)
        return DoMouseWheelDown(shift, mousePos);
    if (wheelDelta > 0)
        return DoMouseWheelUp(shift, mousePos);
    return false;
}

bool TControl::DoMouseWheelDown(TShiftState, const QPoint &)
{
    return false;
}

bool TControl::DoMouseWheelUp(TShiftState, const QPoint &)
{
    return false;
}

bool TControl::CanResize(int &newWidth, int &newHeight)
{
    bool resize = true;
    if (OnCanResize)
        OnCanResize(this, newWidth, newHeight, resize);
    return resize;
}

void TControl::Resize()
{
    if (OnResize)
        OnResize(this);
}

bool TControl::HandleInputEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        const QPoint pos = mouse->position().toPoint();
        TShiftState shift = ShiftStateFromQt(mouse->modifiers(), mouse->buttons());
        if (event->type() == QEvent::MouseButtonDblClick) {
            shift |= ssDouble;
            DblClick();
        }
        m_pressed = mouse->button() == Qt::LeftButton;
        MouseDown(MouseButtonFromQt(mouse->button()), shift, pos.x(), pos.y());
        return false;
    }
    case QEvent::MouseMove: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        const QPoint pos = mouse->position().toPoint();
        MouseMove(ShiftStateFromQt(mouse->modifiers(), mouse->buttons()), pos.x(), pos.y());
        return false;
    }
    case QEvent::MouseButtonRelease: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        const QPoint pos = mouse->position().toPoint();
        const bool click = m_pressed && mouse->button() == Qt::LeftButton && MouseWidget()->rect().contains(pos);
        if (mouse->button() == Qt::LeftButton)
            m_pressed = false;
        MouseUp(MouseButtonFromQt(mouse->button()), ShiftStateFromQt(mouse->modifiers(), mouse->buttons()), pos.x(),
                pos.y());
        if (click && ClicksOnMouseUp())
            Click();
        return false;
    }
    case QEvent::Wheel: {
        auto *wheel = static_cast<QWheelEvent *>(event);
        const int delta = wheel->angleDelta().y();
        const TShiftState shift = ShiftStateFromQt(wheel->modifiers(), wheel->buttons());
        const QPoint screenPos = wheel->globalPosition().toPoint();
        if (DoMouseWheel(shift, delta == 0 ? 0 : (delta > 0 ? kWheelDelta : -kWheelDelta), screenPos)) {
            event->accept();
            return true;
        }
        return false;
    }
    default:
        return false;
    }
}

bool TControl::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_widget.data() && event->type() == QEvent::Resize) {
        // Only sizes that the window system chose are news here.
        TakeBounds(QRect(m_bounds.topLeft(), WidgetSize()));
        return false;
    }
    if (watched == InputWidget() || watched == MouseWidget())
        return HandleInputEvent(event);
    return false;
}
