// Feeds arbitrary bytes to the PNG decoder, as a picture stored in a report
// reaches it, then writes what loaded back out.  Bad data raises one of the
// codec's exceptions, never crashes, hangs or exhausts memory.  Seed it with
// the PngSuite files (tests/data/pngsuite/png).

#include "codecs/png/qvxPngImage.h"
#include "fuzz/FuzzSupport.h"
#include "toolkit/classes/Streams.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    TMemoryStream input;
    input.WriteBuffer(data, qint64(size));
    input.SetPosition(0);
    TPNGObject png;
    Guarded([&] { png.LoadFromStream(&input); });
    Guarded([&] {
        TMemoryStream output;
        png.SaveToStream(&output);
    });
    return 0;
}
