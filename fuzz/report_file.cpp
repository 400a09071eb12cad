// Feeds arbitrary bytes to the report file reader: a report of small views
// with properties of every kind (floats, enumerations, strings, lists, a
// font, references, custom data) reads them, and, when the file loads, is
// saved and read again.  Malformed input may raise the library's
// exceptions, never crash or hang.

#include "fuzz/FuzzSupport.h"

#include "report/ReportUnits.h"
#include "report/components/qvxReportComponent.h"
#include "tests/common/NullReportLink.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/GuardedRef.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/graphics/GraphicsObjects.h"
#include "toolkit/classes/PropertyDeclarations.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TFiler.h"
#include "toolkit/classes/TStringList.h"
#include "toolkit/core/Units.h"

#include <cstddef>
#include <cstdint>
#include <memory>

class TFuzzView : public TqvxReportComponent
{
    Q_OBJECT
    Q_PROPERTY(double Left READ Left WRITE SetLeft)
    Q_PROPERTY(double Width READ Width WRITE SetWidth)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(ReportTypes::TqvxAlign Align MEMBER align)
    Q_PROPERTY(ReportTypes::TqvxRestrictions Restrictions READ Restrictions WRITE SetRestrictions)
    Q_PROPERTY(TFont *Font READ Font WRITE SetFont)
    Q_PROPERTY(bool ParentFont READ ParentFont WRITE SetParentFont)
    Q_PROPERTY(QString Hint MEMBER hint)
    Q_PROPERTY(TStrings *Lines READ Lines)
    Q_PROPERTY(TFuzzView *Next READ Next WRITE SetNext)

public:
    using TqvxReportComponent::TqvxReportComponent;

    TStrings *Lines() const { return lines.get(); }
    TFuzzView *Next() const { return next; }
    void SetNext(TFuzzView *value)
    {
        for (TFuzzView *v = value; v; v = v->next)
            if (v == this)
                throw EInvalidOperation(QStringLiteral("circular"));
        next = value;
    }
    void Draw(TCanvas *, double, double, double, double) override {}
    void DefineProperties(TFiler &filer) override
    {
        filer.DefineProperty(
            QStringLiteral("Data"), [this](TReader &r) { data = r.ReadBytes(); },
            [this](TWriter &w) { w.WriteBytes(data); }, !data.isEmpty());
    }

private:
    TqvxAlign align = baNone;
    QString hint;
    std::unique_ptr<TStringList> lines = std::make_unique<TStringList>();
    TGuardedRef<TFuzzView> next{this};
    QByteArray data;
};

// A report component that asks nothing of its objects.
class TFuzzReport : public TqvxComponent, public TNullReportLink
{
    Q_OBJECT

public:
    using TqvxComponent::TqvxComponent;
};

namespace {

void initialize()
{
    StartCoreApplication("report_file_fuzzer");
    RegisterReportUnits();
    Units::InitializeAll();
    RegisterClass<TFuzzView>();
    RegisterClass<TFuzzReport>();
    DescribeProperties<TFuzzView>().Default("Visible", 1).Default("ParentFont", 1).Stored(
        "Font", &TqvxComponent::IsFontStored);
}

QByteArray loadAndSave(const QByteArray &bytes)
{
    TFuzzReport report;
    TMemoryStream input;
    input.WriteBuffer(bytes);
    input.SetPosition(0);
    report.LoadFromStream(&input);
    TMemoryStream output;
    report.SaveToStream(&output);
    return output.Bytes();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const bool ready = (initialize(), true);
    Q_UNUSED(ready);
    Guarded([&] {
        const QByteArray saved = loadAndSave(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
        loadAndSave(saved);
    });
    return 0;
}

#include "report_file.moc"
