#pragma once

// The check box view: a check mark or cross driven by a data field or an
// expression, drawn as vector shapes in CheckColor.  New check boxes are a
// 5 mm square.  Prepared pages describe it by the generic attribute text.

#include "report/base/qvxObjectTypes.h"
#include "report/components/qvxView.h"

class TqvxCheckBoxView : public TqvxView
{
    Q_OBJECT
    Q_PROPERTY(GraphicsTypes::TBrushStyle BrushStyle READ BrushStyle WRITE SetBrushStyle)
    Q_PROPERTY(bool Checked READ Checked WRITE SetChecked)
    Q_PROPERTY(TColor CheckColor READ CheckColor WRITE SetCheckColor)
    Q_PROPERTY(ObjectTypes::TqvxCheckStyle CheckStyle READ CheckStyle WRITE SetCheckStyle)
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(QString Expression READ Expression WRITE SetExpression)
    Q_PROPERTY(ObjectTypes::TqvxUncheckStyle UncheckStyle READ UncheckStyle WRITE SetUncheckStyle)

public:
    explicit TqvxCheckBoxView(TComponent *owner = nullptr);

    QString GetDescription() const override;

    bool Checked() const { return m_checked; }
    void SetChecked(bool value) { m_checked = value; }
    TColor CheckColor() const { return m_checkColor; }
    void SetCheckColor(TColor value) { m_checkColor = value; }
    TqvxCheckStyle CheckStyle() const { return m_checkStyle; }
    void SetCheckStyle(TqvxCheckStyle value) { m_checkStyle = value; }
    TqvxUncheckStyle UncheckStyle() const { return m_uncheckStyle; }
    void SetUncheckStyle(TqvxUncheckStyle value) { m_uncheckStyle = value; }
    // Evaluated by GetData when no data field drives the box.
    QString Expression() const { return m_expression; }
    void SetExpression(const QString &value) { m_expression = value; }

    // The background, the mark of the state in the device box, the frame.
    void Draw(TCanvas *canvas, double scaleX, double scaleY, double offsetX, double offsetY) override;
    // After the view's: the data field's value (null counts as False), or
    // else a non-empty Expression's Boolean value, sets Checked.
    void GetData() override;

private:
    void drawCross(int inset);
    void drawCheck();
    void drawLine(int x, int y, int x1, int y1, int width);

    bool m_checked = true;
    TColor m_checkColor = clBlack;
    TqvxCheckStyle m_checkStyle = csCross;
    TqvxUncheckStyle m_uncheckStyle = usEmpty;
    QString m_expression;
};

// Declares the check box's properties and registers it with image 24.
void InitializeQvxChBox();
void FinalizeQvxChBox();
