// Feeds arbitrary text to the aggregate scanner, as memo texts of report
// files reach it: the input splits at the first line end into the text of a
// report variable "V" (which may name itself) and the text of a footer memo,
// which is scanned for calls.  Bad flags raise EConvertError; anything else
// (a crash, a hang, a sanitizer report) is a fault.

#include "FuzzSupport.h"

#include "engine/EngineUnits.h"
#include "engine/qvxAggregate.h"
#include "report/pages/qvxBands.h"
#include "report/views/qvxMemoView.h"
#include "report/pages/qvxPage.h"
#include "report/model/qvxVariables.h"
#include "toolkit/core/Units.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace {

class TFuzzReport : public TqvxAggregateReport
{
public:
    explicit TFuzzReport(TqvxComponent *root) : m_root(root) {}

    Variant Calc(const QString &) override { return 1; }
    TqvxVariables *Variables() const override { return variables.get(); }
    bool IsDataField(const QString &text) const override { return text.startsWith(u'F'); }
    TqvxComponent *FindObject(const QString &name) const override { return m_root->FindObject(name); }

    std::unique_ptr<TqvxVariables> variables = std::make_unique<TqvxVariables>();

private:
    TqvxComponent *m_root;
};

void initialize()
{
    StartCoreApplication("aggregate_scanner_fuzzer");
    RegisterEngineUnits();
    Units::InitializeAll();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const bool ready = (initialize(), true);
    (void)ready;
    const QString input = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype lineEnd = input.indexOf(u'\n');

    TqvxReportPage page;
    auto *master = new TqvxMasterData(&page);
    master->SetName(QStringLiteral("MasterData1"));
    page.HDataBands().append(master);
    auto *footer = new TqvxFooter(&page);
    footer->SetName(QStringLiteral("Footer1"));
    master->SetFooter(footer);
    auto *memo = new TqvxMemoView(footer);
    memo->SetText(lineEnd < 0 ? input : input.mid(lineEnd + 1));

    TFuzzReport report(&page);
    if (lineEnd >= 0)
        report.variables->SetVariable(QStringLiteral("V"), input.left(lineEnd));
    TqvxAggregateList list(&report);
    Guarded([&] {
        list.AddItems(&page);
        list.AddValue(master, 0);
        for (int i = 0; i < list.Count(); ++i)
            list.Items(i)->GetValue();
    });
    return 0;
}
