// Feeds arbitrary bytes to the metafile reader, which takes a picture's
// frame from an enhanced or placeable metafile header.  Bad data raises
// EInvalidGraphic; a frame that loads is never empty or beyond the bitmap
// cap.

#include "fuzz/FuzzSupport.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/graphics/BitmapLimits.h"
#include "toolkit/graphics/Metafile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Guarded([&] {
        TInputStream stream(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
        TMetafile metafile;
        metafile.LoadFromStream(&stream);
        if (!BitmapSizeAllowed(metafile.Width(), metafile.Height()))
            std::abort();
        TMemoryStream saved;
        metafile.SaveToStream(&saved);
        if (saved.Size() != qint64(size))
            std::abort();
    });
    return 0;
}
