#pragma once

// The window of a control with a non-client area: a border edge, an inner
// border width and two scroll bars around a client widget, where the
// control paints, takes input and keeps its children.

#include "toolkit/graphics/Colors.h"

#include <QWidget>

#include <functional>

class QScrollBar;
class TCanvas;
class TFont;

class ControlFrame : public QWidget
{
    Q_OBJECT

public:
    enum class Edge {
        None,
        Single, // one black pixel
        Static, // one pixel, sunken
        Client, // two pixels, sunken: the classic client edge
    };

    explicit ControlFrame(QWidget *parent = nullptr, Qt::WindowFlags flags = {});

    QWidget *Client() const { return m_client; }
    QScrollBar *ScrollBar(Qt::Orientation orientation) const;

    void SetEdge(Edge edge);
    Edge EdgeKind() const { return m_edge; }
    static int EdgeWidth(Edge edge);
    // Blank space inside the edge (a form's BorderWidth).
    void SetBorderWidth(int width);
    void SetScrollBarShown(Qt::Orientation orientation, bool shown);
    bool ScrollBarShown(Qt::Orientation orientation) const;

    // The client widget's place in this widget for the current size.
    QRect ClientGeometry() const;
    // Places the client widget and the scroll bars.
    void Relayout();

    // What an off-screen image starts as: the colour, or transparent so that
    // the parent's painting shows where nothing is drawn.
    enum class Background { Color, Parent };

    // Paints widget through canvas: paint draws on an off-screen image
    // (with color as the brush), which then goes onto the widget.  Call from
    // the widget's paint event.
    static void PaintThroughCanvas(QWidget *widget, TCanvas &canvas, const TFont &font, TColor color,
                                   const std::function<void()> &paint, Background background = Background::Color);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QWidget *m_client;
    QScrollBar *m_horizontal;
    QScrollBar *m_vertical;
    Edge m_edge = Edge::None;
    int m_borderWidth = 0;
    bool m_horizontalShown = false;
    bool m_verticalShown = false;
};
