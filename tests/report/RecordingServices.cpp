#include "report/RecordingServices.h"

#include "report/report/qvxExportFilter.h"
#include "report/model/qvxReportLink.h"

TRecordingServicesScope::TRecordingServicesScope() : m_previous(qvxServices())
{
    TqvxServices services;
    services.NewEngine = [](TqvxReportLink *report) { return new TRecordingEngine(report); };
    services.NewPreviewPages = [](TqvxReportLink *report) { return new TRecordingPreviewPages(report); };
    qvxInstallServices(services);
}

TRecordingServicesScope::~TRecordingServicesScope()
{
    qvxRemoveServices();
    qvxInstallServices(m_previous);
}

void TRecordingEngine::ShowBand(TqvxBand *)
{
    calls.append(QStringLiteral("ShowBand"));
}

void TRecordingEngine::ShowBand(TClass bandClass)
{
    calls.append(QStringLiteral("ShowBand %1").arg(QLatin1String(bandClass->className())));
}

Variant TRecordingEngine::GetAggregateValue(const QString &name, const QString &expression, TqvxBand *band,
                                            int flags)
{
    calls.append(QStringLiteral("%1(%2)").arg(name, expression));
    aggregateBand = band;
    aggregateFlags = flags;
    return aggregateValue;
}

bool TRecordingEngine::Run(bool runDialogs, bool clearLast, TqvxReportPage *page)
{
    calls.append(QStringLiteral("Run(%1,%2,%3)")
                     .arg(int(runDialogs))
                     .arg(int(clearLast))
                     .arg(page ? QStringLiteral("page") : QStringLiteral("none")));
    SetRunning(true);
    try {
        if (onRun)
            onRun();
    } catch (...) {
        SetRunning(false);
        throw;
    }
    SetRunning(false);
    return runResult;
}

int TRecordingOutline::freed = 0;

TRecordingOutline::~TRecordingOutline()
{
    ++freed;
}

void TRecordingOutline::AddItem(const QString &text, int top)
{
    items.append(QStringLiteral("%1@%2").arg(text).arg(top));
}

TRecordingPreviewPages::TRecordingPreviewPages(TqvxReportLink *report) : TNullPreviewPages(report)
{
    SetOutline(std::make_unique<TRecordingOutline>(this));
}

bool TRecordingPreviewPages::Export(TqvxCustomExportFilter *filter)
{
    exported.append(filter);
    SetCopyNo(0);
    if (!filter || !filter->BeginExport(Report()))
        return false;
    Report()->SetTerminated(false);
    if (!filter->StartExport())
        return false;
    try {
        for (int i = 0; i < Count(); ++i) {
            filter->StartPage(nullptr, i);
            try {
                for (TqvxComponent *object : std::as_const(pages[i])) {
                    filter->ExportObject(object);
                    if (Report()->Terminated())
                        throw EExportTerminated(QString());
                }
            } catch (...) {
                filter->FinishPage(nullptr, i);
                throw;
            }
            filter->FinishPage(nullptr, i);
        }
        filter->FinishExport();
        return true;
    } catch (const EExportTerminated &) {
    } catch (const Exception &e) {
        errorText = e.Message();
    }
    filter->AbortExport();
    return false;
}
