// Feeds arbitrary bytes to the report file reader: a report of small views
// with properties of every kind (floats, enumerations, strings, lists, a
// font, references, custom data) reads them, and, when the file loads, is
// saved and read again.  Malformed input may raise the library's
// exceptions, never crash or hang.

#include "report/ReportUnits.h"
#include "report/qvxReportComponent.h"
#include "report/qvxReportLink.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/GuardedRef.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/graphics/GraphicsObjects.h"
#include "toolkit/classes/PropertyDeclarations.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TFiler.h"
#include "toolkit/classes/TStringList.h"
#include "toolkit/core/Units.h"

#include <QCoreApplication>
#include <QRecursiveMutex>

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

class TFuzzReport : public TqvxComponent, public TqvxReportLink
{
    Q_OBJECT

public:
    using TqvxComponent::TqvxComponent;

    TStrings *Errors() const override { return errors.get(); }
    TqvxComponent *DoGetAncestor(const QString &) override { return nullptr; }
    TqvxCustomDataEvent OnGetCustomData() const override { return {}; }
    TqvxCustomDataEvent OnSaveCustomData() const override { return {}; }
    TqvxXMLSerializer *CurrentSerializer() const override { return current; }
    void SetCurrentSerializer(TqvxXMLSerializer *serializer) override { current = serializer; }
    QRecursiveMutex *LoadLock() const override { return nullptr; }
    bool Terminated() const override { return false; }
    void SetTerminated(bool) override {}
    void DoProgressStart(TqvxProgressType) override {}
    void InternalOnProgress(TqvxProgressType, int) override {}
    void DoProgressStop(TqvxProgressType) override {}
    TqvxCustomPreview *Preview() const override { return nullptr; }

private:
    std::unique_ptr<TStringList> errors = std::make_unique<TStringList>();
    TqvxXMLSerializer *current = nullptr;
};

namespace {

void initialize()
{
    static int argc = 1;
    static char name[] = "report_file_fuzzer";
    static char *argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
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
    try {
        const QByteArray saved = loadAndSave(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
        loadAndSave(saved);
    } catch (const Exception &) {
    }
    return 0;
}

#include "report_file.moc"
