#pragma once

// The border of a view, band or page: a frame with four sides.
//
// The frame's Color, Style and Width set all four lines; a line keeps its
// own values afterwards and is written to a file only where it differs
// from its frame.  Typ says which sides are drawn (none by default).  A
// drop shadow lies inside the object's size: the view's box leaves room
// for it on the right and at the bottom.

#include "report/base/qvxViewTypes.h"
#include "toolkit/classes/TPersistent.h"
#include "toolkit/graphics/Colors.h"
#include "toolkit/graphics/GraphicsObjects.h"

#include <memory>

class TCanvas;
class TqvxFrame;

class TqvxFrameLine : public TPersistent
{
    Q_OBJECT
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(ViewTypes::TqvxFrameStyle Style READ Style WRITE SetStyle)
    Q_PROPERTY(double Width READ Width WRITE SetWidth)

public:
    explicit TqvxFrameLine(TqvxFrame *frame = nullptr);

    TqvxFrame *Frame() const { return m_frame; }

    TColor Color() const { return m_color; }
    void SetColor(TColor value) { m_color = value; }
    TqvxFrameStyle Style() const { return m_style; }
    void SetStyle(TqvxFrameStyle value) { m_style = value; }
    double Width() const { return m_width; }
    void SetWidth(double value) { m_width = value; }

    // Stored conditions: the value differs from the frame's.
    bool IsColorStored() const;
    bool IsStyleStored() const;
    bool IsWidthStored() const;

    void Assign(const TPersistent *source) override;

private:
    TqvxFrame *m_frame;
    TColor m_color = clBlack;
    TqvxFrameStyle m_style = fsSolid;
    double m_width = 1;
};

class TqvxFrame : public TPersistent
{
    Q_OBJECT
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(bool DropShadow READ DropShadow WRITE SetDropShadow)
    Q_PROPERTY(TColor ShadowColor READ ShadowColor WRITE SetShadowColor)
    Q_PROPERTY(double ShadowWidth READ ShadowWidth WRITE SetShadowWidth)
    Q_PROPERTY(ViewTypes::TqvxFrameStyle Style READ Style WRITE SetStyle)
    Q_PROPERTY(ViewTypes::TqvxFrameTypes Typ READ Typ WRITE SetTyp)
    Q_PROPERTY(double Width READ Width WRITE SetWidth)
    Q_PROPERTY(TqvxFrameLine *LeftLine READ LeftLine WRITE SetLeftLine)
    Q_PROPERTY(TqvxFrameLine *TopLine READ TopLine WRITE SetTopLine)
    Q_PROPERTY(TqvxFrameLine *RightLine READ RightLine WRITE SetRightLine)
    Q_PROPERTY(TqvxFrameLine *BottomLine READ BottomLine WRITE SetBottomLine)

public:
    TqvxFrame();
    ~TqvxFrame() override;

    TColor Color() const { return m_color; }
    void SetColor(TColor value);
    bool DropShadow() const { return m_dropShadow; }
    void SetDropShadow(bool value) { m_dropShadow = value; }
    TColor ShadowColor() const { return m_shadowColor; }
    void SetShadowColor(TColor value) { m_shadowColor = value; }
    double ShadowWidth() const { return m_shadowWidth; }
    void SetShadowWidth(double value) { m_shadowWidth = value; }
    TqvxFrameStyle Style() const { return m_style; }
    void SetStyle(TqvxFrameStyle value);
    TqvxFrameTypes Typ() const { return m_typ; }
    void SetTyp(TqvxFrameTypes value) { m_typ = value; }
    double Width() const { return m_width; }
    void SetWidth(double value);

    TqvxFrameLine *LeftLine() const { return m_leftLine.get(); }
    void SetLeftLine(TqvxFrameLine *value) { m_leftLine->Assign(value); }
    TqvxFrameLine *TopLine() const { return m_topLine.get(); }
    void SetTopLine(TqvxFrameLine *value) { m_topLine->Assign(value); }
    TqvxFrameLine *RightLine() const { return m_rightLine.get(); }
    void SetRightLine(TqvxFrameLine *value) { m_rightLine->Assign(value); }
    TqvxFrameLine *BottomLine() const { return m_bottomLine.get(); }
    void SetBottomLine(TqvxFrameLine *value) { m_bottomLine->Assign(value); }

    bool IsShadowWidthStored() const { return m_shadowWidth != 4; }
    bool IsWidthStored() const { return m_width != 1; }

    void Assign(const TPersistent *source) override;

    // Draws the shadow and the sides around the device box x, y, x1, y1
    // (the sides run on x and x1, y and y1).  Nothing of the sides without
    // Typ, without a colour or with a width of 0.
    void Draw(TCanvas *canvas, int x, int y, int x1, int y1, double scaleX, double scaleY) const;

    // The attributes in which this frame differs from other, named
    // prefix + "." + property (Frame.Color ...), then those of the lines.
    QString Diff(const TqvxFrame *other, const QString &prefix = QStringLiteral("Frame")) const;

private:
    void drawSide(TCanvas *canvas, TqvxFrameType side, int x, int y, int x1, int y1, double scale) const;

    TColor m_color = clBlack;
    bool m_dropShadow = false;
    TColor m_shadowColor = clBlack;
    double m_shadowWidth = 4;
    TqvxFrameStyle m_style = fsSolid;
    TqvxFrameTypes m_typ;
    double m_width = 1;
    std::unique_ptr<TqvxFrameLine> m_leftLine;
    std::unique_ptr<TqvxFrameLine> m_topLine;
    std::unique_ptr<TqvxFrameLine> m_rightLine;
    std::unique_ptr<TqvxFrameLine> m_bottomLine;
};

// Declares what frames publish and registers the class.
// The pen style that draws a frame line style; fsDouble, fsAltDot and
// fsSquare draw solid.
TPenStyle qvxPenStyleOf(TqvxFrameStyle style);

void InitializeQvxFrame();
