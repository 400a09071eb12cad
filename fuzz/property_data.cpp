// Feeds arbitrary bytes to the reader of custom property data, for an
// object that defines properties of every value type.  Malformed input may
// raise EReadError, never crash.

#include "toolkit/core/Exceptions.h"
#include "toolkit/classes/CustomPropertyData.h"
#include "toolkit/classes/TFiler.h"
#include "toolkit/classes/TPersistent.h"

#include <cstddef>
#include <cstdint>

namespace {

class TEveryValue : public TPersistent
{
public:
    void DefineProperties(TFiler &filer) override
    {
        filer.DefineProperty(
            QStringLiteral("pLeft"), [this](TReader &r) { left = r.ReadInteger(); },
            [this](TWriter &w) { w.WriteInteger(left); }, true);
        filer.DefineProperty(
            QStringLiteral("Data"),
            [this](TReader &r) {
                name = r.ReadString();
                bytes = r.ReadBytes();
            },
            [this](TWriter &w) {
                w.WriteString(name);
                w.WriteBytes(bytes);
            },
            true);
    }

    qint32 left = 0;
    QString name;
    QByteArray bytes;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    TEveryValue object;
    try {
        ReadPropertyData(object, QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    } catch (const EReadError &) {
    }
    return 0;
}
