#include "toolkit/widgets/TGroupBox.h"

#include <QGroupBox>

TGroupBox::TGroupBox(TComponent *owner) : TWinControl(owner, new QGroupBox)
{
    Widget()->setAutoFillBackground(true);
    SetParentColor(true);
    SetControlStyle(ControlStyle() | csSetCaption);
    SetBounds(0, 0, 185, 105);
}

void TGroupBox::SetCaption(const QString &caption)
{
    TWinControl::SetCaption(caption);
    static_cast<QGroupBox *>(Widget())->setTitle(caption);
}
