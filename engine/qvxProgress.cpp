#include "engine/qvxProgress.h"

#include "report/model/qvxResources.h"
#include "report/model/qvxServices.h"
#include "toolkit/classes/TObject.h"
#include "toolkit/widgets/TApplication.h"
#include "toolkit/widgets/TButton.h"
#include "toolkit/widgets/TLabel.h"
#include "toolkit/widgets/TPanel.h"
#include "toolkit/widgets/TScreen.h"

#include <QProgressBar>

namespace {

void processMessages()
{
    if (Application)
        Application->ProcessMessages();
}

} // namespace

TqvxProgressBar::TqvxProgressBar(TComponent *owner) : TWinControl(owner, new QProgressBar)
{
    bar()->setTextVisible(false);
}

QProgressBar *TqvxProgressBar::bar() const
{
    return static_cast<QProgressBar *>(Widget());
}

void TqvxProgressBar::SetRange(int min, int max)
{
    bar()->setRange(min, std::max(min, max));
}

int TqvxProgressBar::Max() const
{
    return bar()->maximum();
}

void TqvxProgressBar::SetPosition(int value)
{
    bar()->setValue(value);
}

int TqvxProgressBar::Position() const
{
    return bar()->value();
}

TqvxProgress::TqvxProgress(TComponent *owner) : TForm(owner)
{
    SetBorderStyle(bsNone);
    TCustomForm::SetPosition(poScreenCenter);
    SetClientWidth(271);
    SetClientHeight(101);

    Panel1 = NewObject<TPanel>(this);
    Panel1->SetParent(this);
    Panel1->SetBevelInner(bvRaised);
    Panel1->SetAlign(alClient);

    LMessage = NewObject<TLabel>(this);
    LMessage->SetParent(Panel1);
    LMessage->SetAutoSize(false);
    LMessage->SetAlignment(taCenter);
    LMessage->SetBounds(16, 11, 237, 20);
    LMessage->Font()->SetName(QStringLiteral("Tahoma"));

    Bar = NewObject<TqvxProgressBar>(this);
    Bar->SetParent(Panel1);
    Bar->SetBounds(16, 37, 237, 17);
    Bar->SetRange(0, 100);

    CancelB = NewObject<TButton>(this);
    CancelB->SetParent(Panel1);
    CancelB->SetBounds(100, 64, 75, 25);
    CancelB->SetCancel(true);
    CancelB->SetModalResult(mrCancel);
    CancelB->Font()->SetName(QStringLiteral("Tahoma"));
    CancelB->SetCaption(qvxGet(2));
    CancelB->OnClick = [this](TObject *) { cancelClick(); };

    dragWindow();
    if (UseRightToLeftAlignment())
        FlipChildren(true);

    if (Screen) {
        m_activeForm = Screen->ActiveForm();
        TCustomForm *modal = Screen->ActiveModalForm();
        SetPopupParent(modal ? modal : m_activeForm.data());
    }
    if (m_activeForm)
        m_activeForm->SetEnabled(false);
}

void TqvxProgress::dragWindow()
{
    OnMouseDown = [this](TObject *, TMouseButton button, TShiftState, int x, int y) {
        if (button != mbLeft)
            return;
        m_dragging = true;
        m_dragPoint = TPoint(x, y);
    };
    // The window follows the pointer, which brings the pressed point back
    // under it.
    OnMouseMove = [this](TObject *, TShiftState shift, int x, int y) {
        if (m_dragging && shift.testFlag(ssLeft))
            SetBounds(Left() + x - m_dragPoint.X, Top() + y - m_dragPoint.Y, Width(), Height());
    };
    OnMouseUp = [this](TObject *, TMouseButton button, TShiftState, int, int) {
        if (button == mbLeft)
            m_dragging = false;
    };
}

TqvxProgress::~TqvxProgress()
{
    enableActiveForm();
}

void TqvxProgress::Execute(int maxValue, const QString &message, bool showCancel, bool showProgress)
{
    m_terminated = false;
    CancelB->SetVisible(showCancel);
    m_showProgressBar = showProgress;
    Bar->SetVisible(showProgress);
    LMessage->SetTop(showProgress ? 15 : 35);
    Bar->SetRange(0, maxValue);
    SetPosition(0);
    SetMessage(message);
    Show();
    if (m_activeForm)
        MakeFullyVisible(m_activeForm->MonitorWorkArea());
    processMessages();
}

void TqvxProgress::SetMessage(const QString &value)
{
    m_message = value;
    LMessage->SetCaption(value);
    LMessage->Repaint();
}

void TqvxProgress::SetPosition(int value)
{
    m_position = value;
    Bar->SetPosition(value);
    Repaint();
    processMessages();
}

void TqvxProgress::cancelClick()
{
    m_terminated = true;
    Hide();
}

void TqvxProgress::DoClose(TCloseAction &action)
{
    m_terminated = true;
    TForm::DoClose(action);
}

void TqvxProgress::DoHide()
{
    enableActiveForm();
    TForm::DoHide();
}

void TqvxProgress::enableActiveForm()
{
    if (m_activeForm)
        m_activeForm->SetEnabled(true);
}

void InitializeQvxProgress()
{
    TqvxServices services;
    services.NewProgress = []() -> TqvxCustomProgress * { return NewObject<TqvxProgress>(nullptr); };
    qvxInstallServices(services);
}

void FinalizeQvxProgress()
{
    qvxRemoveServices();
}
