// Feeds arbitrary bytes to the reader of style files, with a report whose
// memo names a style so that applying the styles runs too, then writes the
// styles and reads them again.  Malformed input may raise the library's
// exceptions, never crash.

#include "fuzz/FuzzSupport.h"
#include "engine/EngineUnits.h"
#include "report/components/qvxStyles.h"
#include "report/pages/qvxBands.h"
#include "report/pages/qvxPage.h"
#include "report/report/qvxReport.h"
#include "report/views/qvxMemoView.h"
#include "toolkit/classes/Streams.h"

#include <cstddef>
#include <cstdint>

namespace {

// A report with one memo that takes the style "Title".
struct StyledReport {
    StyledReport()
    {
        auto *page = new TqvxReportPage(&report);
        page->SetParent(&report);
        auto *band = new TqvxMasterData(&report);
        band->SetParent(page);
        auto *memo = new TqvxMemoView(&report);
        memo->SetParent(band);
        memo->SetStyle(QStringLiteral("Title"));
    }

    TqvxReport report;
};

void loadAndReload(const QByteArray &bytes)
{
    // Made once: a report is slow to make, and applying styles leaves it as
    // a new report would be but for the memo's font and frame.
    static StyledReport styled;
    TqvxStyles styles(&styled.report);
    TInputStream input(bytes);
    styles.LoadFromStream(&input);
    TMemoryStream saved;
    styles.SaveToStream(&saved);
    TInputStream reread(saved.Bytes());
    TqvxStyles copy(&styled.report);
    copy.LoadFromStream(&reread);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const bool ready = (StartGuiApplication("style_file_fuzzer", RegisterEngineUnits), true);
    Q_UNUSED(ready);
    Guarded([&] { loadAndReload(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size))); });
    return 0;
}
