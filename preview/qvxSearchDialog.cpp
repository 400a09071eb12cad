#include "preview/qvxSearchDialog.h"

#include "preview/qvxDialogControls.h"
#include "preview/qvxDialogHelp.h"
#include "report/model/qvxResources.h"
#include "toolkit/widgets/TButton.h"
#include "toolkit/widgets/TCheckBox.h"
#include "toolkit/widgets/TCustomEdit.h"
#include "toolkit/widgets/TGroupBox.h"
#include "toolkit/widgets/TLabel.h"
#include "toolkit/widgets/TPanel.h"

namespace {

QString &lastSearchText()
{
    static QString text;
    return text;
}

// Panels aligned to the top keep the order of their tops.
TPanel *topPanel(TComponent *form, TWinControl *parent, int top, int height)
{
    auto *panel = qvxPlace<TPanel>(form, parent, 0, top, 252, height, QString());
    panel->SetBevelOuter(bvNone);
    panel->SetAlign(alTop);
    return panel;
}

} // namespace

TqvxSearchDialog::TqvxSearchDialog(TComponent *owner) : TForm(owner)
{
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    Font()->SetName(QStringLiteral("Tahoma"));
    Font()->SetSize(8);
    SetClientWidth(252);
    SetClientHeight(154);
    SetCaption(qvxGet(300));
    qvxHelpOnF1(this);

    ReplacePanel = topPanel(this, this, 0, 52);
    ReplaceL = qvxPlace<TLabel>(this, ReplacePanel, 8, 6, 237, 17, qvxGet(303));
    ReplaceE = qvxPlace<TEdit>(this, ReplacePanel, 8, 24, 237, 21);
    ReplacePanel->SetVisible(false);

    Panel2 = topPanel(this, this, 52, 49);
    TextL = qvxPlace<TLabel>(this, Panel2, 8, 6, 237, 17, qvxGet(301));
    TextE = qvxPlace<TEdit>(this, Panel2, 8, 24, 237, 21);

    Panel3 = topPanel(this, this, 101, 105);
    SearchL = qvxPlace<TGroupBox>(this, Panel3, 8, 2, 237, 64, qvxGet(302));
    TopCB = qvxPlace<TCheckBox>(this, SearchL, 10, 18, 220, 19, qvxGet(304));
    CaseCB = qvxPlace<TCheckBox>(this, SearchL, 10, 40, 220, 19, qvxGet(305));
    OkB = qvxPlace<TButton>(this, Panel3, 90, 74, 75, 25, qvxGet(1));
    OkB->SetDefault(true);
    OkB->SetModalResult(mrOk);
    CancelB = qvxPlace<TButton>(this, Panel3, 170, 74, 75, 25, qvxGet(2));
    CancelB->SetCancel(true);
    CancelB->SetModalResult(mrCancel);
}

QString TqvxSearchDialog::LastSearchText()
{
    return lastSearchText();
}

void TqvxSearchDialog::DoShow()
{
    TextE->SetText(lastSearchText());
    TForm::DoShow();
}

void TqvxSearchDialog::Activate()
{
    TForm::Activate();
    TextE->SetFocus();
    TextE->SelectAll();
}

void TqvxSearchDialog::DoHide()
{
    if (ModalResult() == mrOk)
        lastSearchText() = TextE->Text();
    TForm::DoHide();
}

bool qvxAskSearch(TqvxFindRequest &request)
{
    std::unique_ptr<TqvxSearchDialog> dialog(NewObject<TqvxSearchDialog>(nullptr));
    if (dialog->ShowModal() != mrOk)
        return false;
    request.Text = dialog->TextE->Text();
    request.FromTop = dialog->TopCB->Checked();
    request.CaseSensitive = dialog->CaseCB->Checked();
    return true;
}

void InitializeQvxSearchDialog()
{
    qvxPreviewDialogs().Find = qvxAskSearch;
}

void FinalizeQvxSearchDialog()
{
    qvxPreviewDialogs().Find = nullptr;
}
