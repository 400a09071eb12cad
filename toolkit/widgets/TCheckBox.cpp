#include "toolkit/widgets/TCheckBox.h"

#include <QCheckBox>

TCheckBox::TCheckBox(TComponent *owner) : TWinControl(owner, new QCheckBox)
{
    SetTabStop(true);
    SetParentColor(true);
    SetControlStyle(ControlStyle() | csSetCaption);
    SetBounds(0, 0, 97, 17);
    QObject::connect(box(), &QCheckBox::stateChanged, this, [this] { Click(); });
}

QCheckBox *TCheckBox::box() const
{
    return static_cast<QCheckBox *>(Widget());
}

void TCheckBox::SetCaption(const QString &caption)
{
    TWinControl::SetCaption(caption);
    box()->setText(caption);
}

TCheckBoxState TCheckBox::State() const
{
    switch (box()->checkState()) {
    case Qt::Checked:
        return cbChecked;
    case Qt::PartiallyChecked:
        return cbGrayed;
    default:
        return cbUnchecked;
    }
}

void TCheckBox::SetState(TCheckBoxState state)
{
    if (state == cbGrayed && !AllowGrayed())
        state = cbUnchecked;
    box()->setCheckState(state == cbChecked  ? Qt::Checked
                         : state == cbGrayed ? Qt::PartiallyChecked
                                             : Qt::Unchecked);
}

bool TCheckBox::AllowGrayed() const
{
    return box()->isTristate();
}

void TCheckBox::SetAllowGrayed(bool allow)
{
    box()->setTristate(allow);
    if (!allow && State() == cbGrayed)
        SetState(cbUnchecked);
}

void TCheckBox::SetAlignment(TAlignment alignment)
{
    m_alignment = alignment;
    box()->setLayoutDirection(alignment == taLeftJustify ? Qt::RightToLeft : Qt::LeftToRight);
}
