#include "toolkit/widgets/ControlFrame.h"

#include "toolkit/graphics/Canvas.h"
#include "toolkit/widgets/SystemMetrics.h"

#include <QImage>
#include <QPainter>
#include <QScrollBar>

ControlFrame::ControlFrame(QWidget *parent, Qt::WindowFlags flags)
    : QWidget(parent, flags)
    , m_client(new QWidget(this))
    , m_horizontal(new QScrollBar(Qt::Horizontal, this))
    , m_vertical(new QScrollBar(Qt::Vertical, this))
{
    m_horizontal->hide();
    m_vertical->hide();
    setFocusProxy(m_client);
}

QScrollBar *ControlFrame::ScrollBar(Qt::Orientation orientation) const
{
    return orientation == Qt::Horizontal ? m_horizontal : m_vertical;
}

int ControlFrame::EdgeWidth(Edge edge)
{
    switch (edge) {
    case Edge::None:
        return 0;
    case Edge::Client:
        return 2;
    default:
        return 1;
    }
}

void ControlFrame::SetEdge(Edge edge)
{
    m_edge = edge;
    Relayout();
    update();
}

void ControlFrame::SetBorderWidth(int width)
{
    m_borderWidth = qMax(0, width);
    Relayout();
}

void ControlFrame::SetScrollBarShown(Qt::Orientation orientation, bool shown)
{
    (orientation == Qt::Horizontal ? m_horizontalShown : m_verticalShown) = shown;
    Relayout();
}

bool ControlFrame::ScrollBarShown(Qt::Orientation orientation) const
{
    return orientation == Qt::Horizontal ? m_horizontalShown : m_verticalShown;
}

QRect ControlFrame::ClientGeometry() const
{
    const int inset = EdgeWidth(m_edge) + m_borderWidth;
    const int extent = GetSystemMetrics(SM_CXVSCROLL);
    QRect r = rect().adjusted(inset, inset, -inset, -inset);
    if (m_verticalShown)
        r.setRight(r.right() - extent);
    if (m_horizontalShown)
        r.setBottom(r.bottom() - extent);
    if (r.width() < 0)
        r.setWidth(0);
    if (r.height() < 0)
        r.setHeight(0);
    return r;
}

void ControlFrame::Relayout()
{
    const QRect client = ClientGeometry();
    const int extent = GetSystemMetrics(SM_CXVSCROLL);
    m_client->setGeometry(client);
    m_vertical->setGeometry(client.right() + 1, client.top(), extent, client.height());
    m_horizontal->setGeometry(client.left(), client.bottom() + 1, client.width(), extent);
    m_vertical->setVisible(m_verticalShown);
    m_horizontal->setVisible(m_horizontalShown);
}

void ControlFrame::resizeEvent(QResizeEvent *)
{
    Relayout();
}

void ControlFrame::paintEvent(QPaintEvent *)
{
    if (m_edge == Edge::None)
        return;
    QPainter painter(this);
    const QRect r = rect();
    // One pixel wide lines on the four sides of rectangle `ring` in steps.
    auto frame = [&](const QRect &ring, TColor topLeft, TColor bottomRight) {
        painter.setPen(ColorToQColor(topLeft));
        painter.drawLine(ring.topLeft(), ring.topRight());
        painter.drawLine(ring.topLeft(), ring.bottomLeft());
        painter.setPen(ColorToQColor(bottomRight));
        painter.drawLine(ring.bottomLeft(), ring.bottomRight());
        painter.drawLine(ring.topRight(), ring.bottomRight());
    };
    switch (m_edge) {
    case Edge::Single:
        frame(r, clBlack, clBlack);
        break;
    case Edge::Static:
        frame(r, clBtnShadow, clBtnHighlight);
        break;
    case Edge::Client:
        frame(r, clBtnShadow, clBtnHighlight);
        frame(r.adjusted(1, 1, -1, -1), cl3DDkShadow, cl3DLight);
        break;
    case Edge::None:
        break;
    }
    // The corner between two scroll bars is the colour of a button face.
    if (m_horizontalShown && m_verticalShown) {
        const QRect client = ClientGeometry();
        painter.fillRect(QRect(client.right() + 1, client.bottom() + 1, m_vertical->width(), m_horizontal->height()),
                         ColorToQColor(clBtnFace));
    }
}

void ControlFrame::PaintThroughCanvas(QWidget *widget, TCanvas &canvas, const TFont &font, TColor color,
                                      const std::function<void()> &paint, Background background)
{
    const bool opaque = background == Background::Color;
    QImage buffer(widget->size() * widget->devicePixelRatio(),
                  opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    buffer.setDevicePixelRatio(widget->devicePixelRatio());
    if (opaque)
        buffer.fill(ColorToQColor(color));
    else
        buffer.fill(Qt::transparent);
    canvas.SetDevice(&buffer);
    canvas.Font()->Assign(&font);
    canvas.Brush()->SetColor(color);
    paint();
    canvas.SetDevice(nullptr);
    QPainter painter(widget);
    painter.drawImage(0, 0, buffer);
}
