#pragma once

// A number editor with up and down arrows.  Value is always within
// MinValue..MaxValue (no limit while both are equal); setting a text that
// is not a number sets MinValue.

#include "toolkit/widgets/TWinControl.h"

class QSpinBox;

class TSpinEdit : public TWinControl
{
    Q_OBJECT
    Q_PROPERTY(int MinValue READ MinValue WRITE SetMinValue)
    Q_PROPERTY(int MaxValue READ MaxValue WRITE SetMaxValue)
    Q_PROPERTY(int Value READ Value WRITE SetValue)
    Q_PROPERTY(int Increment READ Increment WRITE SetIncrement)

public:
    explicit TSpinEdit(TComponent *owner);

    int MinValue() const { return m_minValue; }
    void SetMinValue(int value);
    int MaxValue() const { return m_maxValue; }
    void SetMaxValue(int value);
    int Value() const;
    void SetValue(int value);
    int Increment() const;
    void SetIncrement(int increment);

    QString Caption() const override;
    void SetCaption(const QString &text) override;

    TNotifyEvent OnChange;

protected:
    virtual void Change();

private:
    QSpinBox *spin() const;
    void applyRange();
    int clamp(int value) const;

    int m_minValue = 0;
    int m_maxValue = 0;
};
