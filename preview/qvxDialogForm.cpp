#include "preview/qvxDialogForm.h"

#include "report/pages/qvxDialogPage.h"

#include <QEvent>

namespace {

constexpr int kNoReadStateTag = 318;
// How long a moved window stays still before the move counts as finished.
constexpr int kRestMilliseconds = 300;

} // namespace

TqvxDialogForm::TqvxDialogForm(TComponent *page)
    : TForm(nullptr), m_noReadState(page && page->Tag() == kNoReadStateTag)
{
    Font()->SetName(QStringLiteral("Tahoma"));
    Font()->SetSize(8);
    SetKeyPreview(true);
    SetClientWidth(115);
    SetClientHeight(59);
    SetCaption(QStringLiteral(" "));
    m_rest.setSingleShot(true);
    m_rest.setInterval(kRestMilliseconds);
    QObject::connect(&m_rest, &QTimer::timeout, this, [this] { ExitSizeMove(); });
}

bool TqvxDialogForm::CloseQuery()
{
    TForm::CloseQuery();
    return false;
}

void TqvxDialogForm::ExitSizeMove()
{
    if (OnModify)
        OnModify(this);
}

QRect TqvxDialogForm::userGeometry() const
{
    return QRect(Left(), Top(), ClientWidth(), ClientHeight());
}

bool TqvxDialogForm::eventFilter(QObject *watched, QEvent *event)
{
    const bool geometryEvent = (event->type() == QEvent::Move || event->type() == QEvent::Resize)
        && watched->isWidgetType() && static_cast<QWidget *>(watched)->isWindow();
    const QRect before = userGeometry();
    const bool result = TForm::eventFilter(watched, event);
    // The form takes a place only the user gave it (its own placing sets
    // its bounds first, and a frame put round it by the window manager
    // keeps the client's place and size).
    if (geometryEvent && Visible() && userGeometry() != before)
        m_rest.start();
    return result;
}

void InitializeQvxDialogForm()
{
    qvxInstallDialogFormMaker([](TqvxDialogPage *page) -> TForm * { return NewObject<TqvxDialogForm>(page); });
}

void FinalizeQvxDialogForm()
{
    qvxInstallDialogFormMaker(nullptr);
}
