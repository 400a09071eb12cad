#pragma once

// The model selection dialog: when several breaker models fit the chosen
// characteristics, the user picks one of them by its button, or leaves the
// choice to the manager with "Cancel".

#include "app/SelectionRules.h"
#include "toolkit/graphics/Rects.h"
#include "toolkit/widgets/TForm.h"

#include <QList>

class TImage;
class TLabel;

class TSelModelForm : public TForm
{
    Q_OBJECT

public:
    explicit TSelModelForm(TComponent *owner);

    // The click handler of the candidate buttons: copies the clicked
    // button's Tag (its model number) into the dialog's Tag.
    void ButtonClick(TObject *sender);

    TImage *Image1;
    TLabel *Label1;
    TLabel *Label2;
};

// The row of candidate buttons and the closing cancel button, centred in the
// dialog's client area.  Gaps and then widths shrink while the row is wider
// than the client area, down to a gap of 2 or a width of 70.
struct TModelButtonRow {
    static constexpr int ButtonTop = 96;
    static constexpr int ButtonHeight = 25;

    int Left = 0;
    int Gap = 0;
    int ButtonWidth = 0;
    int Width = 0;

    // The bounds of button index; the cancel button follows the candidates.
    TRect Button(int index) const;
};

TModelButtonRow LayoutModelButtons(int candidateCount, int clientWidth);

// Shows the dialog over candidates; answers the model number of the button
// pressed, or 0 when the dialog was cancelled.
int SelectModel(TComponent *owner, const QList<TModelCandidate> &candidates);
