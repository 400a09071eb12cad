// Feeds arbitrary bytes, read as a prepared report's XML, to the picture
// cache, then takes every picture out again, so that entry bounds meet
// whatever the cached bytes claim.  Bad input may raise the library's
// exceptions, never crash or read outside an entry.

#include "fuzz/FuzzSupport.h"
#include "report/ReportUnits.h"
#include "report/report/qvxPictureCache.h"
#include "report/xml/qvxXMLDocument.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/core/Units.h"
#include "toolkit/graphics/Picture.h"

#include <cstddef>
#include <cstdint>

namespace {

void initialize()
{
    StartCoreApplication("picture_cache_fuzzer");
    RegisterReportUnits();
    Units::InitializeAll();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const bool ready = (initialize(), true);
    Q_UNUSED(ready);
    TMemoryStream input;
    input.WriteBuffer(data, qint64(size));
    input.SetPosition(0);
    TqvxXMLDocument document;
    TqvxPictureCache cache(64);
    Guarded([&] {
        document.LoadFromStream(&input, false);
        cache.LoadFromXML(document.Root());
    });
    TPicture picture;
    for (int number = 0; number <= cache.Count() + 1; ++number)
        Guarded([&] { cache.GetPicture(number, &picture); });
    return 0;
}
