#include "preview/qvxDialogHelp.h"

#include "report/model/qvxResources.h"
#include "toolkit/widgets/KeyMapping.h"
#include "toolkit/widgets/TForm.h"

void qvxHelpOnF1(TCustomForm *form)
{
    form->SetKeyPreview(true);
    form->OnKeyDown = [form](TObject *, int &key, TShiftState) {
        if (key == VK_F1)
            qvxResources()->Help(form);
    };
}
