#pragma once

// The find-text dialog of the preview: the text, whether to search from
// the first page, and whether letter case counts.  The text confirmed last
// (LastSearchText, shared by the whole program) is offered again, selected.

#include "preview/qvxPreviewDialogs.h"
#include "toolkit/widgets/TForm.h"

class TButton;
class TCheckBox;
class TEdit;
class TGroupBox;
class TLabel;
class TPanel;

class TqvxSearchDialog : public TForm
{
    Q_OBJECT

public:
    explicit TqvxSearchDialog(TComponent *owner = nullptr);

    // The text confirmed by the last OK of any search dialog.
    static QString LastSearchText();

    // Never shown here: the panel of a replacement text.
    TPanel *ReplacePanel;
    TLabel *ReplaceL;
    TEdit *ReplaceE;
    TPanel *Panel2;
    TLabel *TextL;
    TEdit *TextE;
    TPanel *Panel3;
    TButton *OkB;
    TButton *CancelB;
    TGroupBox *SearchL;
    TCheckBox *TopCB;
    TCheckBox *CaseCB;

protected:
    void DoShow() override;
    void DoHide() override;
    void Activate() override;
};

// Shows the dialog with the last confirmed text and fills the request
// from it; answers false when the user cancelled.
bool qvxAskSearch(TqvxFindRequest &request);

// Unit start-up installs the dialog as the preview's search dialog;
// shut-down removes it.
void InitializeQvxSearchDialog();
void FinalizeQvxSearchDialog();
