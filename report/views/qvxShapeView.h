#pragma once

// The shape view: a rectangle, rounded rectangle, ellipse, triangle,
// diamond or diagonal, outlined in the frame's colour and filled with the
// view's colour, with a hatch in the frame's colour over it for hatched
// brush styles.

#include "report/base/qvxObjectTypes.h"
#include "report/components/qvxView.h"

class TqvxShapeView : public TqvxView
{
    Q_OBJECT
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(int Curve READ Curve WRITE SetCurve)
    Q_PROPERTY(ObjectTypes::TqvxShapeKind Shape READ Shape WRITE SetShape)

public:
    // Clears the generic-diff flag.
    explicit TqvxShapeView(TComponent *owner = nullptr);

    QString GetDescription() const override;
    // Flags: the shape's ordinal.
    void DesignCreate(int flags) override;

    TqvxShapeKind Shape() const { return m_shape; }
    void SetShape(TqvxShapeKind value) { m_shape = value; }
    // The rounded rectangle's corner diameter in tens of pixels; 0 for a
    // quarter of the shorter side.
    int Curve() const { return m_curve; }
    void SetCurve(int value) { m_curve = value; }

    // A double frame draws the shape solid, then again inside itself.
    void Draw(TCanvas *canvas, double scaleX, double scaleY, double offsetX, double offsetY) override;
    // The view's difference, then Shape when it differs.
    QString Diff(const TqvxComponent *source) override;

private:
    // The shape in the device box x, y, x1, y1, painted as the pen and
    // brush stand.
    void drawShape(int x, int y, int x1, int y1);
    void paint(int x, int y, int x1, int y1);

    TqvxShapeKind m_shape = skRectangle;
    int m_curve = 0;
};

// Declares the properties and registers the class.
void InitializeQvxShapeView();
