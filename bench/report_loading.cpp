// Loading and freeing a report of many objects: the time per object should
// stay flat from a thousand objects to fifty thousand (name lookups, fix-ups
// and notifications all indexed or skipped).

#include "report/ReportUnits.h"
#include "report/model/qvxComponent.h"
#include "tests/common/NullReportLink.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/GuardedRef.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/core/Units.h"

#include <benchmark/benchmark.h>


// A view that refers to another by name, as data sets and bands do.
class TBenchView : public TqvxComponent
{
    Q_OBJECT
    Q_PROPERTY(double Left READ Left WRITE SetLeft)
    Q_PROPERTY(double Top READ Top WRITE SetTop)
    Q_PROPERTY(TBenchView *Next READ Next WRITE SetNext)

public:
    using TqvxComponent::TqvxComponent;

    TBenchView *Next() const { return m_next; }
    void SetNext(TBenchView *value) { m_next = value; }

private:
    TGuardedRef<TBenchView> m_next{this};
};

class TBenchReport : public TqvxComponent, public TNullReportLink
{
    Q_OBJECT

public:
    using TqvxComponent::TqvxComponent;
};

namespace {

void initializeOnce()
{
    static const bool done = [] {
        RegisterReportUnits();
        Units::InitializeAll();
        RegisterClass<TBenchView>();
        RegisterClass<TBenchReport>();
        return true;
    }();
    (void)done;
}

// A report of pages of 100 views each; every view refers to the view
// 50 further on, so half the references point forward in the file.
QByteArray reportFile(int objects)
{
    TBenchReport report;
    report.SetName(QStringLiteral("Report"));
    QList<TBenchView *> views;
    TBenchView *page = nullptr;
    for (int i = 0; i < objects; ++i) {
        if (i % 100 == 0) {
            page = new TBenchView(&report);
            page->SetName(QStringLiteral("Page%1").arg(i / 100));
            continue;
        }
        auto *view = new TBenchView(page);
        view->SetName(QStringLiteral("View%1").arg(i));
        view->SetBounds(i % 7, i % 11, 10, 10);
        views.append(view);
    }
    for (qsizetype i = 0; i < views.size(); ++i)
        views[i]->SetNext(views[(i + 50) % views.size()]);
    TMemoryStream stream;
    report.SaveToStream(&stream);
    return stream.Bytes();
}

void BM_LoadAndFreeReport(benchmark::State &state)
{
    initializeOnce();
    const int objects = int(state.range(0));
    const QByteArray file = reportFile(objects);
    for (auto _ : state) {
        TMemoryStream stream;
        stream.WriteBuffer(file);
        stream.SetPosition(0);
        auto *report = new TBenchReport;
        report->LoadFromStream(&stream);
        benchmark::DoNotOptimize(report->Objects().size());
        delete report;
    }
    state.counters["per_object"] =
        benchmark::Counter(double(objects), benchmark::Counter::kIsIterationInvariantRate |
                                                benchmark::Counter::kInvert);
}
BENCHMARK(BM_LoadAndFreeReport)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);

} // namespace

#include "report_loading.moc"
