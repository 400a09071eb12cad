#pragma once

// Building the controls of the report dialogs in code.

#include "toolkit/classes/TObject.h"
#include "toolkit/classes/TStrings.h"
#include "toolkit/widgets/TComboBox.h"
#include "toolkit/widgets/TWinControl.h"

#include <QString>
#include <QStringList>

// A new control owned by the form, lying on parent at the given place,
// with the caption when one is given.
template <class Control>
Control *qvxPlace(TComponent *form, TWinControl *parent, int left, int top, int width, int height,
                  const QString &caption = QString())
{
    auto *control = NewObject<Control>(form);
    control->SetParent(parent);
    control->SetBounds(left, top, width, height);
    if (!caption.isNull())
        control->SetCaption(caption);
    return control;
}

// Makes texts the list's items, one item a text, empty texts kept.
inline void qvxSetItems(TComboBox *list, const QStringList &texts)
{
    TStrings *items = list->Items();
    TStrings::UpdateScope update(*items);
    items->Clear();
    for (const QString &text : texts)
        items->Add(text);
}
