#include "report/pages/qvxDialogPage.h"

#include "report/base/qvxNumbers.h"
#include "report/model/qvxReportContext.h"
#include "report/model/qvxReportLink.h"
#include "report/model/qvxResources.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/ObjectHandles.h"
#include "toolkit/classes/PropertyDeclarations.h"
#include "toolkit/graphics/GraphicsObjects.h"
#include "toolkit/widgets/TForm.h"

#include <QMutexLocker>
#include <QRecursiveMutex>

#include <optional>

namespace {

TqvxDialogFormMaker &installedMaker()
{
    static TqvxDialogFormMaker maker;
    return maker;
}

} // namespace

void qvxInstallDialogFormMaker(const TqvxDialogFormMaker &maker)
{
    installedMaker() = maker;
}

TqvxDialogPage::TqvxDialogPage(TComponent *owner)
    : TqvxPage(owner)
{
    AddKind(ckDialogPage);
    if (TqvxReportLink *link = ReportLink())
        m_globalLock = link->LoadLock();
    m_form.reset(installedMaker() ? installedMaker()(this) : NewObject<TForm>(nullptr));
    m_form->Font()->SetName(QStringLiteral("Tahoma"));
    m_form->Font()->SetSize(8);
    m_form->SetKeyPreview(true);
    m_form->SetShowHint(true);
    m_form->SetColor(m_color);
}

TqvxDialogPage::~TqvxDialogPage()
{
    std::optional<QMutexLocker<QRecursiveMutex>> lock;
    if (m_globalLock)
        lock.emplace(m_globalLock);
    while (!Objects().isEmpty())
        delete Objects().last();
    m_form.reset();
}

QString TqvxDialogPage::GetDescription() const
{
    return qvxResources()->Get(QStringLiteral("obDlgPage"));
}

void TqvxDialogPage::applyBounds()
{
    m_form->SetBounds(qvxRound(Left()), qvxRound(Top()), qvxRound(Width()), qvxRound(Height()));
}

void TqvxDialogPage::takeBoundsFromForm()
{
    TqvxPage::SetLeft(m_form->Left());
    TqvxPage::SetTop(m_form->Top());
    TqvxPage::SetWidth(m_form->Width());
    TqvxPage::SetHeight(m_form->Height());
}

void TqvxDialogPage::SetLeft(double value)
{
    TqvxPage::SetLeft(value);
    applyBounds();
}

void TqvxDialogPage::SetTop(double value)
{
    TqvxPage::SetTop(value);
    applyBounds();
}

void TqvxDialogPage::SetWidth(double value)
{
    TqvxPage::SetWidth(value);
    if (!(IsLoading() && m_clientWidth != 0))
        applyBounds();
}

void TqvxDialogPage::SetHeight(double value)
{
    TqvxPage::SetHeight(value);
    if (!(IsLoading() && m_clientHeight != 0))
        applyBounds();
}

void TqvxDialogPage::SetClientWidth(double value)
{
    m_form->SetClientWidth(qvxRound(value));
    m_clientWidth = value;
    TqvxPage::SetWidth(m_form->Width());
}

void TqvxDialogPage::SetClientHeight(double value)
{
    m_form->SetClientHeight(qvxRound(value));
    m_clientHeight = value;
    TqvxPage::SetHeight(m_form->Height());
}

void TqvxDialogPage::SetCaption(const QString &value)
{
    m_caption = value;
    m_form->SetCaption(value);
}

void TqvxDialogPage::SetColor(TColor value)
{
    m_color = value;
    m_form->SetColor(value);
}

void TqvxDialogPage::FontChanged()
{
    TqvxPage::FontChanged();
    m_form->SetFont(Font());
}

int TqvxDialogPage::ModalResult() const
{
    return m_form->ModalResult();
}

void TqvxDialogPage::SetModalResult(int value)
{
    m_form->SetModalResult(value);
}

void TqvxDialogPage::notify(const QString &procedure)
{
    if (procedure.isEmpty())
        return;
    if (TqvxReportContext *context = qvxReportContextOf(this))
        context->DoNotifyEvent(this, procedure);
}

void TqvxDialogPage::ConnectFormEvents()
{
    const Variant self(ObjectHandleRegistry::Acquire(this));
    auto runWith = [this](const QString &procedure, QList<Variant> &params) {
        TqvxReportContext *context = qvxReportContextOf(this);
        if (!procedure.isEmpty() && context)
            context->DoParamEvent(procedure, params);
    };
    m_form->OnActivate = [this](TObject *) {
        takeBoundsFromForm();
        notify(m_onActivate);
    };
    m_form->OnClick = [this](TObject *) { notify(m_onClick); };
    m_form->OnDeactivate = [this](TObject *) { notify(m_onDeactivate); };
    m_form->OnHide = [this](TObject *) { notify(m_onHide); };
    m_form->OnResize = [this](TObject *) { notify(m_onResize); };
    m_form->OnShow = [this](TObject *) { notify(m_onShow); };
    m_form->OnCloseQuery = [this, self, runWith](TObject *, bool &canClose) {
        QList<Variant> params{self, Variant(canClose)};
        runWith(m_onCloseQuery, params);
        canClose = params.at(1).AsBoolean();
    };
    auto keyEvent = [self, runWith](const QString *procedure) {
        return [self, runWith, procedure](TObject *, int &key, TShiftState shift) {
            QList<Variant> params{self, Variant(key), Variant(int(shift.toInt()))};
            runWith(*procedure, params);
            key = params.at(1).AsInteger();
        };
    };
    m_form->OnKeyDown = keyEvent(&m_onKeyDown);
    m_form->OnKeyUp = keyEvent(&m_onKeyUp);
    m_form->OnKeyPress = [self, runWith, this](TObject *, QChar &key) {
        QList<Variant> params{self, Variant(QString(key))};
        runWith(m_onKeyPress, params);
        const QString text = params.at(1).AsString();
        key = text.isEmpty() ? QChar() : text.at(0);
    };
}

int TqvxDialogPage::ShowModal()
{
    m_form->SetPosition(m_position);
    m_form->SetWindowState(m_windowState);
    ConnectFormEvents();
    m_form->SetBorderStyle(m_borderStyle);
    m_form->SetFormStyle(fsNormal);
    m_form->OnClose = [this](TObject *, TCloseAction &) { takeBoundsFromForm(); };
    const int result = m_form->ShowModal();
    m_form->SetFormStyle(fsStayOnTop);
    return result;
}

void InitializeQvxDialogPage()
{
    DescribeProperties<TqvxDialogPage>()
        .Default("BorderStyle", bsSizeable)
        .Default("Color", clBtnFace)
        .TypeName("Color", QStringLiteral("TColor"))
        .Default("Position", poScreenCenter)
        .Default("WindowState", wsNormal);
    RegisterClass<TqvxDialogPage>();
}
