#pragma once

// The line view: a straight (horizontal or vertical) or diagonal line with
// optional arrow heads.  A straight line is drawn by its frame; a diagonal
// one as a thick line in the frame's colour and style.

#include "report/components/qvxView.h"

class TqvxCustomLineView : public TqvxStretcheable
{
    Q_OBJECT
    Q_PROPERTY(bool ArrowEnd READ ArrowEnd WRITE SetArrowEnd)
    Q_PROPERTY(int ArrowLength READ ArrowLength WRITE SetArrowLength)
    Q_PROPERTY(bool ArrowSolid READ ArrowSolid WRITE SetArrowSolid)
    Q_PROPERTY(bool ArrowStart READ ArrowStart WRITE SetArrowStart)
    Q_PROPERTY(int ArrowWidth READ ArrowWidth WRITE SetArrowWidth)
    Q_PROPERTY(TColor Color READ LineColor WRITE SetLineColor)
    Q_PROPERTY(bool Diagonal READ Diagonal WRITE SetDiagonal)

public:
    // Clears the generic-diff flag: prepared pages keep the view's own
    // difference text.
    explicit TqvxCustomLineView(TComponent *owner = nullptr);

    QString GetDescription() const override;

    // Flags 0: a straight line; 1: a diagonal; 2: a diagonal with an arrow
    // at its end, 3 at its start, 4 at both.
    void DesignCreate(int flags) override;

    // The fill colour of solid arrow heads (and the brush of a diagonal);
    // clNone for none.
    TColor LineColor() const { return m_color; }
    void SetLineColor(TColor value) { m_color = value; }
    bool Diagonal() const { return m_diagonal; }
    void SetDiagonal(bool value) { m_diagonal = value; }
    bool ArrowEnd() const { return m_arrowEnd; }
    void SetArrowEnd(bool value) { m_arrowEnd = value; }
    bool ArrowStart() const { return m_arrowStart; }
    void SetArrowStart(bool value) { m_arrowStart = value; }
    bool ArrowSolid() const { return m_arrowSolid; }
    void SetArrowSolid(bool value) { m_arrowSolid = value; }
    // In pixels at scale 1: the head's length along the line and its half
    // width across it.
    int ArrowLength() const { return m_arrowLength; }
    void SetArrowLength(int value) { m_arrowLength = value; }
    int ArrowWidth() const { return m_arrowWidth; }
    void SetArrowWidth(int value) { m_arrowWidth = value; }

    // A straight line first collapses to its longer axis (Width or Height
    // becomes 0 and the frame keeps only its left or top side).
    void Draw(TCanvas *canvas, double scaleX, double scaleY, double offsetX, double offsetY) override;

private:
    // The head whose tip is at (tipX, tipY) on the line coming from
    // (fromX, fromY); nothing when the two points coincide.
    void drawArrow(int fromX, int fromY, int tipX, int tipY);

    TColor m_color = clNone;
    bool m_diagonal = false;
    bool m_arrowEnd = false;
    bool m_arrowStart = false;
    bool m_arrowSolid = false;
    int m_arrowLength = 20;
    int m_arrowWidth = 5;
};

class TqvxLineView : public TqvxCustomLineView
{
    Q_OBJECT

public:
    using TqvxCustomLineView::TqvxCustomLineView;
};

// Declares the properties and registers the class.
void InitializeQvxLineView();
