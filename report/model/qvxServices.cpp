#include "report/model/qvxServices.h"

#include "toolkit/core/Exceptions.h"

namespace {

TqvxServices &installed()
{
    static TqvxServices services;
    return services;
}

template <class Maker>
void install(Maker &target, const Maker &maker)
{
    if (maker)
        target = maker;
}

template <class Maker, class... Args>
auto make(const Maker &maker, const char *service, Args... args)
{
    if (!maker)
        throw Exception(QStringLiteral("No %1 is installed").arg(QLatin1String(service)));
    return maker(args...);
}

} // namespace

const TqvxServices &qvxServices()
{
    return installed();
}

void qvxInstallServices(const TqvxServices &services)
{
    TqvxServices &target = installed();
    install(target.NewEngine, services.NewEngine);
    install(target.NewPreviewPages, services.NewPreviewPages);
    install(target.NewProgress, services.NewProgress);
    install(target.NewPreviewForm, services.NewPreviewForm);
}

void qvxRemoveServices()
{
    installed() = TqvxServices();
}

TqvxCustomEngine *qvxNewEngine(TqvxReportLink *report)
{
    return make(installed().NewEngine, "report engine", report);
}

TqvxCustomPreviewPages *qvxNewPreviewPages(TqvxReportLink *report)
{
    return make(installed().NewPreviewPages, "prepared-pages store", report);
}

TqvxCustomProgress *qvxNewProgress()
{
    return installed().NewProgress ? installed().NewProgress() : nullptr;
}

TqvxCustomPreview *qvxNewPreviewForm()
{
    return make(installed().NewPreviewForm, "preview window");
}
