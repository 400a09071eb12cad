// Feeds arbitrary text to the number, date and variant parsers and to the
// formatting pictures built from it.  Bad input may raise the runtime's
// exceptions, never crash or hang.

#include "toolkit/core/DateUtils.h"
#include "fuzz/FuzzSupport.h"
#include "toolkit/core/Format.h"
#include "toolkit/core/FormatDateTime.h"
#include "toolkit/core/FormatFloat.h"
#include "toolkit/core/MaskUtils.h"
#include "toolkit/core/SysUtils.h"
#include "toolkit/core/VariantOps.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));

    qint32 i32;
    qint64 i64;
    double d;
    bool b;
    TDateTime dt;
    TryStrToInt(text, i32);
    TryStrToInt64(text, i64);
    TryStrToFloat(text, d);
    TryStrToBool(text, b);
    TryStrToDate(text, dt);
    TryStrToTime(text, dt);
    TryStrToDateTime(text, dt);

    const Variant asString(text);
    Guarded([&] { asString.AsInteger(); });
    Guarded([&] { asString.AsInt64(); });
    Guarded([&] { asString.AsDouble(); });
    Guarded([&] { asString.AsCurrency(); });
    Guarded([&] { asString.AsBoolean(); });
    Guarded([&] { asString.AsDate(); });
    Guarded([&] { VarAsType(asString, varSingle); });
    Guarded([&] { (void)(asString + Variant(1)); });
    Guarded([&] { (void)(asString < Variant(2.5)); });
    Guarded([&] { VarNot(asString); });

    // The same text as pictures.
    const double value = size > 0 ? double(data[0]) * 1234.5678 - 100000 : 0.0;
    Guarded([&] { FormatFloat(text, value); });
    Guarded([&] { FormatDateTime(text, value); });
    Guarded([&] { FormatMaskText(text, text); });
    Guarded([&] { Format(text, {42, qint64(-7), 1.5, "text", true, Variant::Null()}); });
    return 0;
}
