#pragma once

// A frame with a caption around a group of controls.

#include "toolkit/widgets/TWinControl.h"

class TGroupBox : public TWinControl
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)

public:
    explicit TGroupBox(TComponent *owner);

    void SetCaption(const QString &caption) override;
};
