// Feeds arbitrary bytes to the bitmap, icon and JPEG readers, as a picture
// stored in a report reaches them.  Bad data may raise EInvalidGraphic,
// never crash, hang or read outside the data.

#include "toolkit/graphics/BmpCodec.h"
#include "fuzz/FuzzSupport.h"
#include "toolkit/graphics/Icon.h"
#include "toolkit/graphics/JPEGImage.h"
#include "toolkit/classes/Streams.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    Guarded([&] { ReadBmp(bytes); });
    Guarded([&] { DecodeJpeg(bytes); });
    Guarded([&] {
        TMemoryStream stream;
        stream.WriteBuffer(bytes);
        stream.SetPosition(0);
        TIcon icon;
        icon.LoadFromStream(&stream);
    });
    return 0;
}
