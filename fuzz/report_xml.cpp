// Feeds arbitrary bytes to the report XML reader: loaded whole, loaded
// partially with every unloaded element brought back, and, when it loads,
// written and read again.  Malformed input may raise the library's
// exceptions, never crash.

#include "report/xml/qvxXMLDocument.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/classes/Streams.h"

#include <cstddef>
#include <cstdint>

namespace {

void loadUnloaded(TqvxXMLDocument &document, TqvxXMLItem *item)
{
    document.LoadItem(item);
    for (int i = 0; i < item->Count(); ++i)
        loadUnloaded(document, item->Items(i));
}

void roundTrip(TMemoryStream &input, bool partial)
{
    TqvxXMLDocument document;
    input.SetPosition(0);
    document.LoadFromStream(&input, partial);
    if (partial)
        loadUnloaded(document, document.Root());

    TMemoryStream saved;
    document.SaveToStream(&saved);
    saved.SetPosition(0);
    TqvxXMLDocument copy;
    copy.LoadFromStream(&saved);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    TMemoryStream input;
    input.WriteBuffer(data, qint64(size));
    for (bool partial : {false, true}) {
        try {
            roundTrip(input, partial);
        } catch (const Exception &) {
        }
    }
    return 0;
}
