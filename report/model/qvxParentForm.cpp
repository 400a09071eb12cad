#include "report/model/qvxParentForm.h"

#include "toolkit/widgets/TForm.h"

#include <memory>

namespace {

std::unique_ptr<TForm> parentForm;

} // namespace

TForm *qvxParentForm()
{
    if (!parentForm)
        parentForm.reset(NewObject<TForm>(nullptr));
    return parentForm.get();
}

void FinalizeQvxParentForm()
{
    if (!parentForm)
        return;
    while (parentForm->ControlCount() > 0)
        parentForm->Controls(parentForm->ControlCount() - 1)->SetParent(nullptr);
    parentForm.reset();
}
