#pragma once

// A check box with its caption.  Every change of Checked, by the user or by
// code, fires OnClick.  With taLeftJustify the caption stands left of the box.

#include "toolkit/widgets/TWinControl.h"

class QCheckBox;

class TCheckBox : public TWinControl
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool Checked READ Checked WRITE SetChecked)
    Q_PROPERTY(ControlTypes::TCheckBoxState State READ State WRITE SetState)
    Q_PROPERTY(bool AllowGrayed READ AllowGrayed WRITE SetAllowGrayed)
    Q_PROPERTY(ControlTypes::TAlignment Alignment READ Alignment WRITE SetAlignment)

public:
    explicit TCheckBox(TComponent *owner);

    void SetCaption(const QString &caption) override;
    bool Checked() const { return State() == cbChecked; }
    void SetChecked(bool checked) { SetState(checked ? cbChecked : cbUnchecked); }
    TCheckBoxState State() const;
    // cbGrayed needs AllowGrayed.
    void SetState(TCheckBoxState state);
    bool AllowGrayed() const;
    void SetAllowGrayed(bool allow);
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment alignment);

protected:
    bool ClicksOnMouseUp() const override { return false; }

private:
    QCheckBox *box() const;

    TAlignment m_alignment = taRightJustify;
};
