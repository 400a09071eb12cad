#pragma once

// The background of a view, band or page: a brush, gradient or glass fill.
//
// Each fill draws itself into a device rectangle, copies itself from a
// fill of its own class and writes the attributes in which it differs from
// another fill into the difference text of prepared objects (all of them
// when the other fill is of another class).  The fill kind of an object
// and the class of a kind map one to one (qvxCreateFill, qvxFillTypeOf).

#include "report/base/qvxViewTypes.h"
#include "toolkit/classes/TPersistent.h"
#include "toolkit/graphics/Colors.h"
#include "toolkit/graphics/GraphicsObjects.h"

#include <memory>

class TCanvas;

class TqvxCustomFill : public TPersistent
{
    Q_OBJECT

public:
    // Fills the device rectangle x, y, x1, y1.
    virtual void Draw(TCanvas *canvas, int x, int y, int x1, int y1, double scaleX, double scaleY) const = 0;
    // The attributes that differ from other, each named prefix + "." +
    // property.
    virtual QString Diff(const TqvxCustomFill *other, const QString &prefix) const = 0;
};

// A colour with an optional hatch over it.  BackColor clNone paints no
// colour.
class TqvxBrushFill : public TqvxCustomFill
{
    Q_OBJECT
    Q_PROPERTY(TColor BackColor READ BackColor WRITE SetBackColor)
    Q_PROPERTY(TColor ForeColor READ ForeColor WRITE SetForeColor)
    Q_PROPERTY(GraphicsTypes::TBrushStyle Style READ Style WRITE SetStyle)

public:
    TColor BackColor() const { return m_backColor; }
    void SetBackColor(TColor value) { m_backColor = value; }
    TColor ForeColor() const { return m_foreColor; }
    void SetForeColor(TColor value) { m_foreColor = value; }
    TBrushStyle Style() const { return m_style; }
    void SetStyle(TBrushStyle value) { m_style = value; }

    void Assign(const TPersistent *source) override;
    void Draw(TCanvas *canvas, int x, int y, int x1, int y1, double scaleX, double scaleY) const override;
    QString Diff(const TqvxCustomFill *other, const QString &prefix) const override;

private:
    TColor m_backColor = clNone;
    TColor m_foreColor = clBlack;
    TBrushStyle m_style = bsSolid;
};

// A gradient from StartColor to EndColor: strips, ellipses, rectangles, or
// rows or columns mirrored about the centre.
class TqvxGradientFill : public TqvxCustomFill
{
    Q_OBJECT
    Q_PROPERTY(TColor StartColor READ StartColor WRITE SetStartColor)
    Q_PROPERTY(TColor EndColor READ EndColor WRITE SetEndColor)
    Q_PROPERTY(ViewTypes::TqvxGradientStyle GradientStyle READ GradientStyle WRITE SetGradientStyle)

public:
    TColor StartColor() const { return m_startColor; }
    void SetStartColor(TColor value) { m_startColor = value; }
    TColor EndColor() const { return m_endColor; }
    void SetEndColor(TColor value) { m_endColor = value; }
    TqvxGradientStyle GradientStyle() const { return m_gradientStyle; }
    void SetGradientStyle(TqvxGradientStyle value) { m_gradientStyle = value; }

    // The colour step of step of steps from start to end, per channel.
    TColor ColorAt(int step, int steps) const;
    // The middle colour (step 127 of 255), which a view reports as Color.
    TColor MiddleColor() const { return ColorAt(127, 255); }

    void Assign(const TPersistent *source) override;
    void Draw(TCanvas *canvas, int x, int y, int x1, int y1, double scaleX, double scaleY) const override;
    QString Diff(const TqvxCustomFill *other, const QString &prefix) const override;

private:
    TColor m_startColor = clWhite;
    TColor m_endColor = clBlack;
    TqvxGradientStyle m_gradientStyle = gsHorizontal;
};

// A colour with one half lightened towards white by Blend, and an optional
// backward-diagonal hatch.
class TqvxGlassFill : public TqvxCustomFill
{
    Q_OBJECT
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(double Blend READ Blend WRITE SetBlend)
    Q_PROPERTY(bool Hatch READ Hatch WRITE SetHatch)
    Q_PROPERTY(ViewTypes::TqvxGlassFillOrientation Orientation READ Orientation WRITE SetOrientation)

public:
    TColor Color() const { return m_color; }
    void SetColor(TColor value) { m_color = value; }
    double Blend() const { return m_blend; }
    void SetBlend(double value) { m_blend = value; }
    bool Hatch() const { return m_hatch; }
    void SetHatch(bool value) { m_hatch = value; }
    TqvxGlassFillOrientation Orientation() const { return m_orientation; }
    void SetOrientation(TqvxGlassFillOrientation value) { m_orientation = value; }

    // Each channel moved towards 255 by Blend.
    TColor LightColor() const;

    void Assign(const TPersistent *source) override;
    void Draw(TCanvas *canvas, int x, int y, int x1, int y1, double scaleX, double scaleY) const override;
    QString Diff(const TqvxCustomFill *other, const QString &prefix) const override;

private:
    TColor m_color = clGray;
    double m_blend = 0.5;
    bool m_hatch = false;
    TqvxGlassFillOrientation m_orientation = foHorizontal;
};

// A new fill of a kind; nullptr for a value that is no kind.
std::unique_ptr<TqvxCustomFill> qvxCreateFill(int fillType);
// The kind of a fill: ftGradient, ftGlass, else ftBrush.
TqvxFillType qvxFillTypeOf(const TqvxCustomFill *fill);

// Declares what the fills publish.
void InitializeQvxFill();

// The fill of a view or highlight, whose class follows its kind: a brush
// fill at first; a new kind frees the fill and makes one of that kind.
class TqvxFillSlot
{
public:
    TqvxFillSlot();
    ~TqvxFillSlot();
    TqvxFillSlot(const TqvxFillSlot &) = delete;
    TqvxFillSlot &operator=(const TqvxFillSlot &) = delete;

    TqvxCustomFill *Fill() const { return m_fill.get(); }
    TqvxFillType FillType() const { return qvxFillTypeOf(m_fill.get()); }
    void SetFillType(TqvxFillType type);
    // Takes the kind of fill, then copies it.
    void SetFill(const TqvxCustomFill *fill);

    // The brush fill's BackColor and Style; clNone and bsClear for other
    // kinds.  Setting them changes only a brush fill.
    TColor BackColor() const;
    void SetBackColor(TColor value);
    TBrushStyle BrushStyle() const;
    void SetBrushStyle(TBrushStyle value);

private:
    TqvxBrushFill *brush() const;

    std::unique_ptr<TqvxCustomFill> m_fill;
};
