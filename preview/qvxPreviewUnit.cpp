#include "preview/qvxPreviewUnit.h"

#include "preview/qvxPreview.h"
#include "preview/qvxPreviewForm.h"
#include "report/model/qvxServices.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/widgets/TApplication.h"

void InitializeQvxPreview()
{
    RegisterClass<TqvxPreview>();
    TqvxServices services;
    services.NewPreviewForm = []() -> TqvxCustomPreview * {
        auto *form = new TqvxPreviewForm(Application);
        return form->Preview();
    };
    qvxInstallServices(services);
}

void FinalizeQvxPreview()
{
    TqvxServices services = qvxServices();
    services.NewPreviewForm = nullptr;
    qvxRemoveServices();
    qvxInstallServices(services);
}
