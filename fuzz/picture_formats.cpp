// Feeds arbitrary bytes to a picture as a stream (the class is chosen by
// the data's first bytes), and, past the first byte, to the graphic class of
// the registered format that byte picks, as a file of that extension
// reaches it; what loads is saved and loaded again, up to a few megapixels
// (a picture as large as the bound is valid and only slow to encode under
// the fuzzer's instrumentation).  Bad data raises EInvalidGraphic or the
// stream errors, never crashes, and no picture costs more memory than its
// pixel bound.  Seeds are in
// fuzz/seeds/picture_formats: a JPEG and a PNG declaring far more pixels
// than a picture may have, and JPEG bytes that do not decode.

#include "fuzz/FuzzSupport.h"
#include "codecs/png/PngUnits.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/graphics/Picture.h"
#include "toolkit/graphics/TGraphic.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace {

constexpr qint64 LargestPictureSaved = qint64(1) << 22;

bool worthSaving(const TGraphic &graphic)
{
    return qint64(graphic.Width()) * graphic.Height() <= LargestPictureSaved;
}

void loadAsFormat(const TGraphicFormat &format, const QByteArray &bytes)
{
    std::unique_ptr<TGraphic> graphic(format.Create());
    TInputStream stream(bytes);
    graphic->LoadFromStream(&stream);
    if (!worthSaving(*graphic))
        return;
    TMemoryStream saved;
    graphic->SaveToStream(&saved);
}

void loadAndReload(TPicture &picture, const QByteArray &bytes)
{
    TInputStream stream(bytes);
    picture.LoadFromStream(&stream);
    if (picture.Graphic() && !worthSaving(*picture.Graphic()))
        return;
    TMemoryStream saved;
    picture.SaveToStream(&saved);
    TInputStream reread(saved.Bytes());
    TPicture copy;
    copy.LoadFromStream(&reread);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const bool ready = (StartGuiApplication("picture_formats_fuzzer", RegisterPngUnits), true);
    Q_UNUSED(ready);
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    TPicture picture;
    Guarded([&] { loadAndReload(picture, bytes); });
    static const QList<TGraphicFormat> formats = GraphicFormats();
    if (size > 0 && !formats.isEmpty())
        Guarded([&] { loadAsFormat(formats[data[0] % formats.size()], bytes.mid(1)); });
    return 0;
}
