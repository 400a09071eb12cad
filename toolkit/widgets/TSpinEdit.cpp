#include "toolkit/widgets/TSpinEdit.h"

#include <QSpinBox>

#include <algorithm>
#include <limits>

TSpinEdit::TSpinEdit(TComponent *owner) : TWinControl(owner, new QSpinBox)
{
    SetTabStop(true);
    SetColor(clWindow);
    SetBounds(0, 0, 121, 22);
    applyRange();
    QObject::connect(spin(), &QSpinBox::textChanged, this, [this] { Change(); });
}

QSpinBox *TSpinEdit::spin() const
{
    return static_cast<QSpinBox *>(Widget());
}

int TSpinEdit::clamp(int value) const
{
    return m_minValue == m_maxValue ? value : std::clamp(value, m_minValue, qMax(m_minValue, m_maxValue));
}

void TSpinEdit::applyRange()
{
    const QSignalBlocker blocker(spin());
    if (m_minValue == m_maxValue)
        spin()->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    else
        spin()->setRange(m_minValue, qMax(m_minValue, m_maxValue));
}

void TSpinEdit::SetMinValue(int value)
{
    m_minValue = value;
    applyRange();
}

void TSpinEdit::SetMaxValue(int value)
{
    m_maxValue = value;
    applyRange();
}

int TSpinEdit::Value() const
{
    bool ok = false;
    const int typed = spin()->cleanText().toInt(&ok);
    return clamp(ok ? typed : m_minValue);
}

void TSpinEdit::SetValue(int value)
{
    spin()->setValue(clamp(value));
}

int TSpinEdit::Increment() const
{
    return spin()->singleStep();
}

void TSpinEdit::SetIncrement(int increment)
{
    spin()->setSingleStep(increment);
}

QString TSpinEdit::Caption() const
{
    return spin()->text();
}

void TSpinEdit::SetCaption(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    SetValue(ok ? value : m_minValue);
}

void TSpinEdit::Change()
{
    if (OnChange)
        OnChange(this);
}
