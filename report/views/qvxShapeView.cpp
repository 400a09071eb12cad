#include "report/views/qvxShapeView.h"

#include "report/model/qvxDiffText.h"
#include "report/base/qvxGraphicUtils.h"
#include "report/base/qvxNumbers.h"
#include "report/model/qvxResources.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/PropertyDeclarations.h"
#include "toolkit/graphics/Canvas.h"

#include <algorithm>

TqvxShapeView::TqvxShapeView(TComponent *owner)
    : TqvxView(owner)
{
    SetStyleFlags(StyleFlags() & ~csoGenericDiff);
}

QString TqvxShapeView::GetDescription() const
{
    return qvxResources()->Get(QStringLiteral("obShape"));
}

void TqvxShapeView::DesignCreate(int flags)
{
    TqvxView::DesignCreate(flags);
    if (flags >= skRectangle && flags <= skDiagonal2)
        m_shape = TqvxShapeKind(flags);
}

void TqvxShapeView::drawShape(int x, int y, int x1, int y1)
{
    TCanvas *canvas = Canvas();
    const int dx = x1 - x;
    const int dy = y1 - y;
    switch (m_shape) {
    case skRectangle:
        canvas->Rectangle(x, y, x1 + 1, y1 + 1);
        break;
    case skRoundRectangle: {
        const int diameter = m_curve == 0 ? std::min(dx, dy) / 4 : qvxRound(m_curve * ScaleX() * 10);
        canvas->RoundRect(x, y, x1 + 1, y1 + 1, diameter, diameter);
        break;
    }
    case skEllipse:
        canvas->Ellipse(x, y, x1 + 1, y1 + 1);
        break;
    case skTriangle:
        canvas->Polygon({{x1, y1}, {x, y1}, {x + dx / 2, y}});
        break;
    case skDiamond:
        canvas->Polygon({{x + dx / 2, y}, {x1, y + dy / 2}, {x + dx / 2, y1}, {x, y + dy / 2}});
        break;
    case skDiagonal1:
        qvxDrawThickLine(canvas, x, y1, x1, y, FrameWidth());
        break;
    case skDiagonal2:
        qvxDrawThickLine(canvas, x, y, x1, y1, FrameWidth());
        break;
    }
}

void TqvxShapeView::paint(int x, int y, int x1, int y1)
{
    TCanvas *canvas = Canvas();
    const TColor color = Color();
    const TBrushStyle style = BrushStyle();
    const bool hatched = style != bsSolid && style != bsClear;
    if (hatched && color != clNone) {
        const TPenStyle penStyle = canvas->Pen()->Style();
        canvas->Pen()->SetStyle(psClear);
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(color);
        drawShape(x, y, x1, y1);
        canvas->Pen()->SetStyle(penStyle);
    }
    if (hatched) {
        canvas->Brush()->SetStyle(style);
        canvas->Brush()->SetColor(Frame()->Color());
    } else if (color == clNone || style == bsClear) {
        canvas->Brush()->SetStyle(bsClear);
    } else {
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(color);
    }
    drawShape(x, y, x1, y1);
}

void TqvxShapeView::Draw(TCanvas *canvas, double scaleX, double scaleY, double offsetX, double offsetY)
{
    BeginDraw(canvas, scaleX, scaleY, offsetX, offsetY);
    TqvxCanvasToolsScope tools(canvas);
    canvas->Pen()->SetColor(Frame()->Color());
    canvas->Pen()->SetWidth(std::max(FrameWidth(), 1));
    const bool doubleFrame = Frame()->Style() == fsDouble;
    canvas->Pen()->SetStyle(Frame()->Color() == clNone ? psClear : qvxPenStyleOf(Frame()->Style()));
    paint(X(), Y(), X1(), Y1());
    if (!doubleFrame)
        return;
    // The second outline, moved inwards by multiples of the frame width.
    const int w = FrameWidth();
    int left = 2 * w, top = 2 * w, right = 2 * w, bottom = 2 * w;
    switch (m_shape) {
    case skTriangle:
        left = top = right = 4 * w;
        bottom = 2 * w;
        break;
    case skDiamond:
        left = top = right = bottom = 3 * w;
        break;
    case skDiagonal1:
    case skDiagonal2:
        top = bottom = 0;
        right = -2 * w;
        break;
    default:
        break;
    }
    paint(X() + left, Y() + top, X1() - right, Y1() - bottom);
}

QString TqvxShapeView::Diff(const TqvxComponent *source)
{
    TqvxDiffText diff(TqvxView::Diff(source));
    const auto *shape = qobject_cast<const TqvxShapeView *>(source);
    if (shape && shape->m_shape != m_shape)
        diff.Number(u"Shape", m_shape);
    return std::move(diff).Result();
}

void InitializeQvxShapeView()
{
    DescribeProperties<TqvxShapeView>()
        .Default("Color", clNone)
        .TypeName("Color", QStringLiteral("TColor"))
        .Default("Curve", 0)
        .Default("Shape", skRectangle);
    RegisterClass<TqvxShapeView>();
}
