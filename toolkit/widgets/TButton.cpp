#include "toolkit/widgets/TButton.h"

#include "toolkit/widgets/TForm.h"

#include <QPushButton>

TButton::TButton(TComponent *owner) : TButton(owner, new QPushButton) {}

TButton::TButton(TComponent *owner, QPushButton *button) : TWinControl(owner, button)
{
    SetTabStop(true);
    SetControlStyle(ControlStyle() | csSetCaption);
    SetBounds(0, 0, 75, 25);
    QObject::connect(button, &QPushButton::clicked, this, [this] { Click(); });
}

QPushButton *TButton::Button() const
{
    return static_cast<QPushButton *>(Widget());
}

void TButton::SetCaption(const QString &caption)
{
    TWinControl::SetCaption(caption);
    Button()->setText(caption);
}

void TButton::SetDefault(bool isDefault)
{
    m_default = isDefault;
    const TCustomForm *form = ParentForm();
    FocusChanged(form ? form->ActiveControl() : nullptr);
}

void TButton::FocusChanged(TWinControl *focused)
{
    m_active = focused == this || (m_default && !qobject_cast<TButton *>(focused));
    Button()->setDefault(m_active);
}

bool TButton::WantsDialogKey(int key) const
{
    return (key == VK_RETURN && m_active) || (key == VK_ESCAPE && m_cancel);
}

void TButton::Click()
{
    if (TCustomForm *form = ParentForm(); form && m_modalResult != mrNone)
        form->SetModalResult(m_modalResult);
    TWinControl::Click();
}
