// Feeds arbitrary bytes to the report reader as a report template and, when
// it loads, prepares it with the engine: pages, bands, views, data bands,
// groups, columns, stretching, splitting, keeping and subreports laid out
// over whatever geometry the input gives.  Scripts are cleared and row
// counts kept small so every run is short; the engine itself must end on
// its own.  Malformed input may raise the library's exceptions or leave
// lines in the report's error list, never crash or hang.

#include "fuzz/FuzzSupport.h"

#include "engine/EngineUnits.h"
#include "report/pages/qvxDataBand.h"
#include "report/data/qvxDataSet.h"
#include "report/pages/qvxPage.h"
#include "report/report/qvxReport.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TStringList.h"
#include "toolkit/core/Units.h"


#include <algorithm>
#include <cstdlib>
#include <cstddef>
#include <cstdint>

namespace {

// Enough rows and pages to reach every page-flow path, few enough that
// nested details stay quick.
constexpr int maxRows = 3;
constexpr int maxPageRuns = 2;
constexpr int maxPages = 40;

void initialize()
{
    StartGuiApplication("report_prepare_fuzzer", RegisterEngineUnits);
    InstallCancellingRunner();
    // The library's globals go in their own order when the fuzzer exits.
    std::atexit(Units::FinalizeAll);
}

void boundRuns(TComponent *component)
{
    if (auto *band = qobject_cast<TqvxDataBand *>(component))
        band->SetRowCount(std::clamp(band->RowCount(), 0, maxRows));
    if (auto *dataSet = qobject_cast<TqvxDataSet *>(component))
        dataSet->SetRangeEndCount(std::clamp(dataSet->RangeEndCount(), 0, maxRows));
    if (auto *page = qobject_cast<TqvxReportPage *>(component))
        page->SetPageCount(std::clamp(page->PageCount(), 0, maxPageRuns));
    for (int i = 0; i < component->ComponentCount(); ++i)
        boundRuns(component->Components(i));
}

void prepare(const QByteArray &bytes)
{
    TqvxReport report;
    report.SetShowProgress(false);
    TMemoryStream input;
    input.WriteBuffer(bytes);
    input.SetPosition(0);
    report.LoadFromStream(&input);
    report.ScriptText()->Clear();
    boundRuns(&report);
    report.OnProgress = [&report](TqvxReport *, TqvxProgressType, int progress) {
        if (progress > maxPages)
            report.SetTerminated(true);
    };
    report.PrepareReport();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const bool ready = (initialize(), true);
    Q_UNUSED(ready);
    Guarded([&] { prepare(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size))); });
    return 0;
}
