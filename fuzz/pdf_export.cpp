// Feeds arbitrary bytes to the prepared-report reader of a full report and
// exports whatever pages load to PDF, in memory: hostile objects, texts,
// fonts, frames, fills, pictures and links reach the PDF writer, its fonts
// and its pictures.  Malformed input may raise the library's exceptions or
// leave lines in the report's error list, never crash or hang.

#include "fuzz/FuzzSupport.h"

#include "export/pdf/PdfExportUnits.h"
#include "export/pdf/qvxExportPDF.h"
#include "report/model/qvxCustomPreviewPages.h"
#include "report/model/qvxOptions.h"
#include "report/report/qvxReport.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TStrings.h"

#include <cstddef>
#include <cstdint>

namespace {

void loadAndExport(const QByteArray &bytes, bool compressed)
{
    // Made once (a report is slow to make) and never freed, like the
    // application object it stands on; loading replaces its pages.
    static TqvxReport &report = [] () -> TqvxReport & {
        auto *made = new TqvxReport;
        made->SetShowProgress(false);
        made->EngineOptions()->SetNewSilentMode(simSilent);
        return *made;
    }();
    report.Errors()->Clear();
    TInputStream input(bytes);
    report.PreviewPages()->LoadFromStream(&input, false);

    TqvxPDFExport pdf;
    pdf.SetShowDialog(false);
    pdf.SetShowProgress(false);
    pdf.SetCompressed(compressed);
    TMemoryStream output;
    pdf.SetStream(&output);
    report.Export(&pdf);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const bool ready = (StartGuiApplication("pdf_export_fuzzer", RegisterPdfExportUnits), true);
    Q_UNUSED(ready);
    GuardedWithFlag(data, size, [](bool compressed, const QByteArray &bytes) { loadAndExport(bytes, compressed); });
    return 0;
}
