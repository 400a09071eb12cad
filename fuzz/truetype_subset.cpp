// Feeds arbitrary bytes to the TrueType reader and subsetter, as any font
// file installed on the machine reaches them: every face of the file is
// chosen by index and by name, subset and extracted whole.  Bad data may
// raise "TrueType font format error" and the like, never crash, hang or
// read outside the data.

#include "export/pdf/qvxTrueTypeCollection.h"
#include "fuzz/FuzzSupport.h"
#include "toolkit/graphics/GraphicsObjects.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    // The glyphs asked for come from the input's first bytes.
    QList<quint16> glyphs;
    for (size_t i = 0; i + 1 < size && i < 16; i += 2)
        glyphs.append(quint16(data[i] << 8 | data[i + 1]));
    TFont font;
    font.SetName(QStringLiteral("Test Sans"));
    font.SetStyle(fsBold);
    TrueTypeCollection collection;
    Guarded([&] { collection.LoadFromMemory(bytes); });
    for (int face = -1; face < std::min(collection.FaceCount(), 4); ++face) {
        Guarded([&] { collection.IsCFF(font, face); });
        Guarded([&] { collection.GetFaceFontData(font, face); });
        Guarded([&] { collection.GetSubsetFontData(font, glyphs, face); });
    }
    return 0;
}
