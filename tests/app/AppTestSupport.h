#pragma once

// Helpers shared by the tests of the questionnaire's windows.

#include "toolkit/widgets/TButton.h"
#include "toolkit/widgets/TForm.h"

#include <QList>

// The buttons lying directly on form, in creation order.
inline QList<TButton *> FormButtons(TCustomForm &form)
{
    QList<TButton *> buttons;
    for (int i = 0; i < form.ControlCount(); ++i)
        if (auto *button = qobject_cast<TButton *>(form.Controls(i)))
            buttons.append(button);
    return buttons;
}
