#include "toolkit/widgets/TCustomControl.h"

#include "toolkit/graphics/Canvas.h"
#include "toolkit/widgets/ControlFrame.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace {

Qt::Orientation orientationOf(TScrollBarKind kind)
{
    return kind == sbHorizontal ? Qt::Horizontal : Qt::Vertical;
}

} // namespace

// Tells the control of every drawing call, so what is drawn outside Paint
// reaches the window.
class TCustomControl::ClientCanvas : public TCanvas
{
public:
    explicit ClientCanvas(TCustomControl *control) : m_control(control) {}

protected:
    bool Record(TCanvasOp, const TRect &bounds, const QString &, std::function<void(TCanvas &)>) override
    {
        m_control->drawn(bounds);
        return false;
    }

private:
    TCustomControl *m_control;
};

TCustomControl::TCustomControl(TComponent *owner) : TCustomControl(owner, new ControlFrame) {}

TCustomControl::TCustomControl(TComponent *owner, ControlFrame *frame)
    : TWinControl(owner, frame), m_frame(frame), m_canvas(std::make_unique<ClientCanvas>(this))
{
    QWidget *client = m_frame->Client();
    client->installEventFilter(this);
    client->setAttribute(Qt::WA_OpaquePaintEvent);
    client->setMouseTracking(true);
    SetTabStop(TabStop());
    connectScrollBar(sbHorizontal);
    connectScrollBar(sbVertical);
}

TCustomControl::~TCustomControl() = default;

QWidget *TCustomControl::InputWidget() const
{
    return m_frame->Client();
}

QPoint TCustomControl::ClientOrigin() const
{
    return m_frame->ClientGeometry().topLeft();
}

TRect TCustomControl::ClientRect() const
{
    const QRect client = m_frame->ClientGeometry();
    return Rect(0, 0, client.width(), client.height());
}

void TCustomControl::ApplyBounds()
{
    TWinControl::ApplyBounds();
    m_frame->Relayout();
}

void TCustomControl::SetBorderStyle(TBorderStyle style)
{
    m_borderStyle = style == bsNone ? bsNone : bsSingle;
    updateEdge();
}

void TCustomControl::SetCtl3D(bool ctl3D)
{
    m_ctl3D = ctl3D;
    updateEdge();
}

void TCustomControl::SetStaticEdge(bool staticEdge)
{
    m_staticEdge = staticEdge;
    updateEdge();
}

void TCustomControl::updateEdge()
{
    using Edge = ControlFrame::Edge;
    Edge edge = Edge::None;
    if (m_borderStyle == bsSingle)
        edge = !m_ctl3D ? Edge::Single : m_staticEdge ? Edge::Static : Edge::Client;
    m_frame->SetEdge(edge);
    Resize();
}

void TCustomControl::connectScrollBar(TScrollBarKind kind)
{
    QScrollBar *bar = m_frame->ScrollBar(orientationOf(kind));
    connect(bar, &QAbstractSlider::actionTriggered, this, [this, kind, bar](int action) {
        switch (action) {
        case QAbstractSlider::SliderSingleStepAdd:
            ScrollMessage(kind, scLineDown, 0);
            break;
        case QAbstractSlider::SliderSingleStepSub:
            ScrollMessage(kind, scLineUp, 0);
            break;
        case QAbstractSlider::SliderPageStepAdd:
            ScrollMessage(kind, scPageDown, 0);
            break;
        case QAbstractSlider::SliderPageStepSub:
            ScrollMessage(kind, scPageUp, 0);
            break;
        case QAbstractSlider::SliderToMinimum:
            ScrollMessage(kind, scTop, 0);
            break;
        case QAbstractSlider::SliderToMaximum:
            ScrollMessage(kind, scBottom, 0);
            break;
        case QAbstractSlider::SliderMove:
            ScrollMessage(kind, scTrack, bar->sliderPosition());
            return; // the thumb follows the mouse while it is dragged
        default:
            return;
        }
        ScrollMessage(kind, scEndScroll, 0);
        // The control, not the bar, decides where the thumb goes.
        bar->setSliderPosition(m_scroll[kind].Pos);
    });
    connect(bar, &QAbstractSlider::sliderReleased, this, [this, kind, bar] {
        ScrollMessage(kind, scPosition, bar->sliderPosition());
        ScrollMessage(kind, scEndScroll, 0);
        bar->setSliderPosition(m_scroll[kind].Pos);
    });
}

void TCustomControl::ScrollMessage(TScrollBarKind, TScrollCode, int) {}

void TCustomControl::SetScrollInfo(TScrollBarKind kind, const TScrollInfo &info)
{
    m_scroll[kind] = info;
    applyScrollInfo(kind);
}

TScrollInfo TCustomControl::GetScrollInfo(TScrollBarKind kind) const
{
    return m_scroll[kind];
}

void TCustomControl::applyScrollInfo(TScrollBarKind kind)
{
    TScrollInfo &info = m_scroll[kind];
    const int span = info.Max - info.Min + 1;
    info.Page = std::clamp(info.Page, 0, qMax(0, span));
    const int last = info.Max - qMax(info.Page - 1, 0);
    info.Pos = std::clamp(info.Pos, info.Min, qMax(info.Min, last));
    const bool scrolls = info.Max > info.Min && info.Page < span;

    QScrollBar *bar = m_frame->ScrollBar(orientationOf(kind));
    const QSignalBlocker blocker(bar);
    bar->setRange(info.Min, qMax(info.Min, last));
    bar->setPageStep(qMax(1, info.Page));
    bar->setValue(info.Pos);
    bar->setEnabled(scrolls);
    const bool shown = scrolls || info.DisableNoScroll;
    if (shown != m_frame->ScrollBarShown(orientationOf(kind))) {
        m_frame->SetScrollBarShown(orientationOf(kind), shown);
        Resize();
    }
}

void TCustomControl::ScrollWindow(int dx, int dy, const TRect *clip)
{
    ensureBuffer();
    const QRect area = clip ? clip->ToQRect() & m_buffer.rect() : m_buffer.rect();
    if (area.isEmpty())
        return;
    m_canvas->ReleaseHandle();
    const QImage moved = m_buffer.copy(area);
    {
        QPainter painter(&m_buffer);
        painter.setClipRect(area);
        painter.drawImage(area.topLeft() + QPoint(dx, dy), moved);
    }
    // Parts waiting for Paint move with the pixels; what was uncovered joins them.
    m_invalid = (m_invalid - area) | ((m_invalid & area).translated(dx, dy) & area);
    m_invalid |= QRegion(area) - QRegion(area.translated(dx, dy));
    InputWidget()->update(area);
}

void TCustomControl::Invalidate()
{
    InvalidateRect(ClientRect());
}

void TCustomControl::InvalidateRect(const TRect &rect)
{
    m_invalid |= rect.ToQRect();
    TWinControl::InvalidateRect(rect);
}

void TCustomControl::Changed()
{
    Invalidate();
}

void TCustomControl::drawn(const TRect &bounds)
{
    if (m_painting)
        return;
    // Lines and frames may reach past their bounds by the pen's width.
    const int margin = 1 + m_canvas->Pen()->Width();
    InputWidget()->update(bounds.Inflate(margin, margin).ToQRect());
}

void TCustomControl::ensureBuffer()
{
    const QSize size = InputWidget()->size();
    if (m_buffer.size() == size)
        return;
    m_canvas->SetDevice(nullptr);
    m_buffer = QImage(size, QImage::Format_RGB32);
    m_buffer.fill(ColorToQColor(Color()));
    m_canvas->SetDevice(&m_buffer);
    m_invalid = QRegion(m_buffer.rect());
}

bool TCustomControl::HandleInputEvent(QEvent *event)
{
    if (event->type() == QEvent::Paint) {
        paintClient(static_cast<QPaintEvent *>(event)->region());
        return true;
    }
    return TWinControl::HandleInputEvent(event);
}

void TCustomControl::paintClient(const QRegion &exposed)
{
    ensureBuffer();
    if (!m_invalid.isEmpty()) {
        m_painting = true;
        m_canvas->Font()->Assign(Font());
        m_canvas->Brush()->SetColor(Color());
        m_canvas->SetClipRegion(m_invalid);
        // The background is erased first, as for any classic window.
        m_canvas->FillRect(ClientRect());
        try {
            Paint();
        } catch (...) {
            m_painting = false;
            m_canvas->SetClipRegion(std::nullopt);
            throw;
        }
        m_canvas->SetClipRegion(std::nullopt);
        m_invalid = QRegion();
        m_painting = false;
    }
    m_canvas->ReleaseHandle();
    QPainter painter(InputWidget());
    painter.setClipRegion(exposed);
    painter.drawImage(0, 0, m_buffer);
}
