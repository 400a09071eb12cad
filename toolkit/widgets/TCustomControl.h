#pragma once

// A windowed control that paints itself on its Canvas.
//
// The canvas draws on an off-screen image the size of the client area, which
// the window shows, so raster pen modes (xor) work and nothing flickers.
// Paint redraws the invalidated parts (the canvas is clipped to them);
// drawing on the canvas at any other time changes the image and shows at
// once, as drawing on a classic window does (an xor focus rectangle drawn
// twice disappears again).  The border
// (BorderStyle bsSingle) is the classic two-pixel sunken client edge, a
// one-pixel edge when flat, or a one-pixel black line without the 3D look;
// the client area lies inside it and inside the scroll bars.
//
// Scroll bars follow the classic arithmetic: SetScrollInfo takes a range
// Min..Max, a page size and a position; the thumb moves over
// Min..Max - max(Page - 1, 0).  A bar with nothing to scroll is hidden, or
// shown disabled when the info asks for that.  The user's actions on a bar
// arrive as ScrollMessage calls; the control moves the bar itself, by
// SetScrollInfo.

#include "toolkit/widgets/TWinControl.h"

#include <QImage>
#include <QRegion>

#include <memory>

class ControlFrame;
class TCanvas;

struct TScrollInfo {
    int Min = 0;
    int Max = 0;
    int Page = 0;
    int Pos = 0;
    // Keeps a bar with nothing to scroll visible, but disabled.
    bool DisableNoScroll = false;
};

class TCustomControl : public TWinControl
{
    Q_OBJECT

public:
    explicit TCustomControl(TComponent *owner);
    ~TCustomControl() override;

    // The canvas of the client area; draws only inside Paint.
    TCanvas *Canvas() const { return m_canvas.get(); }

    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle style);
    bool Ctl3D() const { return m_ctl3D; }
    void SetCtl3D(bool ctl3D);

    TRect ClientRect() const override;

    void SetScrollInfo(TScrollBarKind kind, const TScrollInfo &info);
    TScrollInfo GetScrollInfo(TScrollBarKind kind) const;
    // Moves the client area's pixels by dx, dy (within clip when given) and
    // invalidates the uncovered part.
    void ScrollWindow(int dx, int dy, const TRect *clip = nullptr);

    void Invalidate() override;
    void InvalidateRect(const TRect &rect) override;

protected:
    TCustomControl(TComponent *owner, ControlFrame *frame);

    virtual void Paint() {}
    // A scroll bar action of the user; pos is the thumb position for
    // scPosition and scTrack.
    virtual void ScrollMessage(TScrollBarKind kind, TScrollCode code, int pos);
    // A one-pixel sunken edge instead of the client edge (flat look).
    void SetStaticEdge(bool staticEdge);

    QWidget *InputWidget() const override;
    QPoint ClientOrigin() const override;
    bool HandleInputEvent(QEvent *event) override;
    void ApplyBounds() override;
    // Colour, font, caption or enabled state changed: paint again.
    void Changed() override;

private:
    class ClientCanvas;

    void updateEdge();
    void paintClient(const QRegion &exposed);
    void ensureBuffer();
    void drawn(const TRect &bounds);
    void connectScrollBar(TScrollBarKind kind);
    void applyScrollInfo(TScrollBarKind kind);

    ControlFrame *m_frame;
    std::unique_ptr<TCanvas> m_canvas;
    QImage m_buffer;
    QRegion m_invalid; // parts of the buffer that Paint must draw again
    bool m_painting = false;
    TBorderStyle m_borderStyle = bsNone;
    bool m_ctl3D = true;
    bool m_staticEdge = false;
    TScrollInfo m_scroll[2];
};
