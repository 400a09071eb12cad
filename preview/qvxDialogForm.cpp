#include "preview/qvxDialogForm.h"

#include "report/pages/qvxDialogPage.h"

#include <QEvent>

namespace {

constexpr int kNoReadStateTag = 318;

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

bool TqvxDialogForm::eventFilter(QObject *watched, QEvent *event)
{
    const bool result = TForm::eventFilter(watched, event);
    // Only the user moves or sizes the window with spontaneous events.
    if ((event->type() == QEvent::Move || event->type() == QEvent::Resize) && event->spontaneous()
        && watched->isWidgetType() && static_cast<QWidget *>(watched)->isWindow() && Visible())
        ExitSizeMove();
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
