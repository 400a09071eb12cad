#include "preview/qvxPasswordForm.h"

#include "preview/qvxDialogControls.h"
#include "report/model/qvxResources.h"
#include "report/report/qvxReportOptions.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Picture.h"
#include "toolkit/widgets/TButton.h"
#include "toolkit/widgets/TCustomEdit.h"
#include "toolkit/widgets/TImage.h"
#include "toolkit/widgets/TLabel.h"

namespace {

// A padlock: a shackle over a body with a keyhole.
std::unique_ptr<TBitmap> padlockPicture()
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetSize(43, 48);
    TCanvas *canvas = bitmap->Canvas();
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FillRect(TRect(0, 0, 43, 48));
    canvas->Pen()->SetColor(clGray);
    canvas->Pen()->SetWidth(4);
    canvas->Brush()->SetStyle(bsClear);
    canvas->Rectangle(12, 4, 31, 26);
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetColor(clBlack);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(clOlive);
    canvas->Rectangle(5, 20, 38, 46);
    canvas->Brush()->SetColor(clBlack);
    canvas->Rectangle(20, 28, 24, 38);
    return bitmap;
}

} // namespace

TqvxPasswordForm::TqvxPasswordForm(TComponent *owner) : TForm(owner)
{
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    Font()->SetName(QStringLiteral("Tahoma"));
    Font()->SetSize(8);
    SetClientWidth(252);
    SetClientHeight(92);
    SetCaption(qvxGet(5000));

    Image1 = qvxPlace<TImage>(this, this, 12, 8, 43, 48);
    Image1->Picture()->SetGraphic(padlockPicture().get());
    PasswordL = qvxPlace<TLabel>(this, this, 84, 10, 157, 17, qvxGet(5001));
    PasswordE = qvxPlace<TEdit>(this, this, 84, 28, 157, 21);
    PasswordE->SetPasswordChar(u'*');
    OkB = qvxPlace<TButton>(this, this, 86, 60, 75, 25, qvxGet(1));
    OkB->SetDefault(true);
    OkB->SetModalResult(mrOk);
    CancelB = qvxPlace<TButton>(this, this, 166, 60, 75, 25, qvxGet(2));
    CancelB->SetCancel(true);
    CancelB->SetModalResult(mrCancel);
    SetActiveControl(PasswordE);
}

bool qvxAskPassword(QString &password)
{
    std::unique_ptr<TqvxPasswordForm> form(NewObject<TqvxPasswordForm>(nullptr));
    if (form->ShowModal() != mrOk)
        return false;
    password = form->PasswordE->Text();
    return true;
}

void InitializeQvxPasswordForm()
{
    qvxInstallPasswordPrompt(qvxAskPassword);
}

void FinalizeQvxPasswordForm()
{
    qvxInstallPasswordPrompt(nullptr);
}
