#include "toolkit/widgets/TRadioButton.h"

#include <QRadioButton>

namespace {

// Qt's own exclusivity reaches into nested parents; the control keeps its
// group itself.  A click checks the button and never unchecks it.
class RadioWidget : public QRadioButton
{
public:
    RadioWidget() { setAutoExclusive(false); }

protected:
    void nextCheckState() override { setChecked(true); }
};

} // namespace

TRadioButton::TRadioButton(TComponent *owner) : TWinControl(owner, new RadioWidget)
{
    SetTabStop(true);
    SetParentColor(true);
    SetControlStyle(ControlStyle() | csSetCaption);
    SetBounds(0, 0, 113, 17);
    QObject::connect(button(), &QRadioButton::toggled, this, [this](bool checked) {
        if (!checked)
            return;
        turnSiblingsOff();
        Click();
    });
}

QRadioButton *TRadioButton::button() const
{
    return static_cast<QRadioButton *>(Widget());
}

void TRadioButton::SetCaption(const QString &caption)
{
    TWinControl::SetCaption(caption);
    button()->setText(caption);
}

bool TRadioButton::Checked() const
{
    return button()->isChecked();
}

void TRadioButton::SetChecked(bool checked)
{
    button()->setChecked(checked);
}

void TRadioButton::turnSiblingsOff()
{
    if (!Parent())
        return;
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        auto *sibling = qobject_cast<TRadioButton *>(Parent()->Controls(i));
        if (sibling && sibling != this)
            sibling->SetChecked(false);
    }
}

void TRadioButton::SetAlignment(TAlignment alignment)
{
    m_alignment = alignment;
    button()->setLayoutDirection(alignment == taLeftJustify ? Qt::RightToLeft : Qt::LeftToRight);
}
