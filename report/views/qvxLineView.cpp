#include "report/views/qvxLineView.h"

#include "report/base/qvxGraphicUtils.h"
#include "report/base/qvxNumbers.h"
#include "report/model/qvxResources.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/PropertyDeclarations.h"
#include "toolkit/graphics/Canvas.h"

#include <cmath>

TqvxCustomLineView::TqvxCustomLineView(TComponent *owner)
    : TqvxStretcheable(owner)
{
    SetStyleFlags(StyleFlags() & ~csoGenericDiff);
}

QString TqvxCustomLineView::GetDescription() const
{
    return qvxResources()->Get(QStringLiteral("obLine"));
}

void TqvxCustomLineView::DesignCreate(int flags)
{
    TqvxStretcheable::DesignCreate(flags);
    m_diagonal = flags != 0;
    m_arrowEnd = flags == 2 || flags == 4;
    m_arrowStart = flags == 3 || flags == 4;
}

void TqvxCustomLineView::Draw(TCanvas *canvas, double scaleX, double scaleY, double offsetX, double offsetY)
{
    if (!m_diagonal) {
        if (Height() >= Width()) {
            SetWidth(0);
            Frame()->SetTyp(ftLeft);
        } else {
            SetHeight(0);
            Frame()->SetTyp(ftTop);
        }
    }
    BeginDraw(canvas, scaleX, scaleY, offsetX, offsetY);
    if (!m_diagonal) {
        DrawFrame();
    } else if (Frame()->Color() != clNone && Frame()->Width() != 0) {
        canvas->Pen()->SetColor(Frame()->Color());
        canvas->Pen()->SetStyle(qvxPenStyleOf(Frame()->Style()));
        canvas->Pen()->SetWidth(1);
        if (m_color == clNone) {
            canvas->Brush()->SetStyle(bsClear);
        } else {
            canvas->Brush()->SetStyle(bsSolid);
            canvas->Brush()->SetColor(m_color);
        }
        qvxDrawThickLine(canvas, X(), Y(), X1(), Y1(), FrameWidth());
    }
    if (m_arrowStart)
        drawArrow(X1(), Y1(), X(), Y());
    if (m_arrowEnd)
        drawArrow(X(), Y(), X1(), Y1());
}

void TqvxCustomLineView::drawArrow(int fromX, int fromY, int tipX, int tipY)
{
    const double dx = fromX - tipX;
    const double dy = fromY - tipY;
    const double length = std::hypot(dx, dy);
    if (length == 0)
        return;
    // The base point lies on the line where a circle of the head's length
    // around the tip cuts it; the corners stand off it on either side.
    const double headLength = m_arrowLength * ScaleX();
    const double halfWidth = m_arrowWidth * ScaleX();
    const double ux = dx / length;
    const double uy = dy / length;
    const double baseX = tipX + ux * headLength;
    const double baseY = tipY + uy * headLength;
    const TPoint tip{tipX, tipY};
    const TPoint left{qvxRound(baseX - uy * halfWidth), qvxRound(baseY + ux * halfWidth)};
    const TPoint right{qvxRound(baseX + uy * halfWidth), qvxRound(baseY - ux * halfWidth)};

    TCanvas *canvas = Canvas();
    canvas->Pen()->SetColor(Frame()->Color());
    canvas->Pen()->SetStyle(psSolid);
    canvas->Pen()->SetWidth(1);
    if (m_arrowSolid) {
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(Frame()->Color());
        canvas->Polygon({tip, left, right});
        return;
    }
    canvas->MoveTo(tip.X, tip.Y);
    canvas->LineTo(left.X, left.Y);
    canvas->MoveTo(tip.X, tip.Y);
    canvas->LineTo(right.X, right.Y);
}

void InitializeQvxLineView()
{
    DescribeProperties<TqvxCustomLineView>()
        .Default("ArrowEnd", 0)
        .Default("ArrowLength", 20)
        .Default("ArrowSolid", 0)
        .Default("ArrowStart", 0)
        .Default("ArrowWidth", 5)
        .Default("Color", clNone)
        .TypeName("Color", QStringLiteral("TColor"))
        .Default("Diagonal", 0);
    RegisterClass<TqvxCustomLineView>();
    RegisterClass<TqvxLineView>();
}
