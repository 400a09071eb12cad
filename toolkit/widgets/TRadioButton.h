#pragma once

// A radio button with its caption.  The radio buttons of one parent form a
// group: checking one, by the user or by code, unchecks the others.  Every
// check fires OnClick (unchecking does not).  With taLeftJustify the
// caption stands left of the button.

#include "toolkit/widgets/TWinControl.h"

class QRadioButton;

class TRadioButton : public TWinControl
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool Checked READ Checked WRITE SetChecked)
    Q_PROPERTY(ControlTypes::TAlignment Alignment READ Alignment WRITE SetAlignment)

public:
    explicit TRadioButton(TComponent *owner);

    void SetCaption(const QString &caption) override;
    bool Checked() const;
    void SetChecked(bool checked);
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment alignment);

protected:
    bool ClicksOnMouseUp() const override { return false; }

private:
    QRadioButton *button() const;
    void turnSiblingsOff();

    TAlignment m_alignment = taRightJustify;
};
