// Feeds arbitrary bytes to the prepared-report reader (the first byte picks
// full or partial loading), then rebuilds every page, asks its size, saves
// the report and reads it again.  Malformed input may raise the library's
// exceptions, never crash or hang.

#include "fuzz/FuzzSupport.h"

#include "engine/EngineUnits.h"
#include "engine/qvxPreparedStore.h"
#include "report/components/qvxReportComponent.h"
#include "tests/common/NullPreviewPages.h"
#include "tests/common/NullReportLink.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/PropertyDeclarations.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/core/Units.h"

#include <cstddef>
#include <cstdint>
#include <memory>

class TFuzzView : public TqvxReportComponent
{
    Q_OBJECT
    Q_PROPERTY(double Left READ Left WRITE SetLeft)
    Q_PROPERTY(double Top READ Top WRITE SetTop)
    Q_PROPERTY(double Width READ Width WRITE SetWidth)
    Q_PROPERTY(double Height READ Height WRITE SetHeight)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(QString Hint MEMBER hint)

public:
    using TqvxReportComponent::TqvxReportComponent;

    void Draw(TCanvas *, double, double, double, double) override {}

private:
    QString hint;
};

class TFuzzBand : public TFuzzView
{
    Q_OBJECT

public:
    explicit TFuzzBand(TComponent *owner = nullptr) : TFuzzView(owner) { AddKind(ckBand); }
};

class TFuzzPage : public TFuzzView
{
    Q_OBJECT

public:
    explicit TFuzzPage(TComponent *owner = nullptr) : TFuzzView(owner) { AddKind(ckPage); }
};

// A store over the fuzz views, reporting to a report that asks nothing.
class TFuzzStore : public TNullReportClassSlots<TqvxPreparedStore>
{
    Q_OBJECT

public:
    using TNullReportClassSlots::TNullReportClassSlots;

protected:
    TqvxReportPage *ReportPageOf(TqvxComponent *) override { return nullptr; }
    TqvxPreparedOptions Options() const override
    {
        TqvxPreparedOptions options;
        options.useFileCache = true;
        options.pagesInCache = 1;
        return options;
    }
    TqvxPageMargins PageMargins(const TqvxComponent *) const override { return {}; }
    TqvxStoreBand BandOf(const TqvxComponent *object) const override
    {
        return object->IsKind(ckBand) ? TqvxStoreBand::Other : TqvxStoreBand::None;
    }
    std::unique_ptr<TqvxComponent> NewPageBackground(TqvxComponent *, double, double, double, double) override
    {
        return nullptr;
    }
    void ObjectRebuilt(TqvxComponent *) override {}
    void SaveReportSettings(TqvxXMLItem *) override {}
    void LoadReportSettings(TqvxXMLItem *) override {}
};

namespace {

void initialize()
{
    StartCoreApplication("prepared_report_fuzzer");
    RegisterEngineUnits();
    Units::InitializeAll();
    RegisterClass<TFuzzView>();
    RegisterClass<TFuzzBand>();
    RegisterClass<TFuzzPage>();
    DescribeProperties<TFuzzView>().Default("Visible", 1);
}

QByteArray loadRebuildAndSave(const QByteArray &bytes, bool partial)
{
    TNullReportLink report;
    TFuzzStore store(&report);
    TMemoryStream input;
    input.WriteBuffer(bytes);
    input.SetPosition(0);
    store.LoadFromStream(&input, partial);
    for (int i = 0; i < store.Count(); ++i) {
        store.GetPageObject(i);
        store.GetPageSize(i);
    }
    TMemoryStream output;
    store.SaveToStream(&output);
    return output.Bytes();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const bool ready = (initialize(), true);
    Q_UNUSED(ready);
    GuardedWithFlag(data, size, [](bool partial, const QByteArray &bytes) {
        loadRebuildAndSave(loadRebuildAndSave(bytes, partial), !partial);
    });
    return 0;
}

#include "prepared_report.moc"
