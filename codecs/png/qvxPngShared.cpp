#include "codecs/png/qvxPngShared.h"

#include <QHash>
#include <QMutex>

#include <cstdlib>
#include <memory>
#include <vector>

namespace {

// One image's pixels and, once shared, the bytes they were decoded from.
struct TPixels {
    TPixels(uchar *data, int width, int height, qsizetype bytesPerLine, QImage::Format format)
        : data(data), width(width), height(height), bytesPerLine(bytesPerLine), format(format)
    {
    }
    ~TPixels() { std::free(data); }
    TPixels(const TPixels &) = delete;
    TPixels &operator=(const TPixels &) = delete;

    uchar *const data;
    const int width;
    const int height;
    const qsizetype bytesPerLine;
    const QImage::Format format;
    // Set by Share or ShareShown, under the registry's lock.
    bool shared = false;
    bool shown = false;
    size_t keyHash = 0;
    QByteArray key;
    QList<QRgb> colorTable;
    QByteArray imageAlpha;
    QByteArray extraImageData;
};

struct TRegistry {
    QMutex lock;
    std::vector<std::weak_ptr<TPixels>> pixels;

    void dropFreed()
    {
        std::erase_if(pixels, [](const std::weak_ptr<TPixels> &held) { return held.expired(); });
    }

    // The pixels registered under bytes, as decoded or as shown.
    std::shared_ptr<TPixels> find(const QByteArray &bytes, bool shown) const
    {
        const size_t hash = qHash(bytes);
        for (const std::weak_ptr<TPixels> &held : pixels) {
            std::shared_ptr<TPixels> found = held.lock();
            if (found && found->shared && found->shown == shown && found->keyHash == hash && found->key == bytes)
                return found;
        }
        return nullptr;
    }

    std::shared_ptr<TPixels> sharedUnder(const QImage &image) const
    {
        for (const std::weak_ptr<TPixels> &held : pixels) {
            std::shared_ptr<TPixels> found = held.lock();
            if (found && found->shared && found->data == image.constBits())
                return found;
        }
        return nullptr;
    }

    // The pixels under image, made by NewImage and not shared yet; nullptr
    // for another image, or one held more than once, whose holders might
    // write to it in place.
    std::shared_ptr<TPixels> unshared(const QImage &image) const
    {
        if (!image.isDetached())
            return nullptr;
        for (const std::weak_ptr<TPixels> &held : pixels) {
            std::shared_ptr<TPixels> found = held.lock();
            if (found && found->data == image.constBits())
                return found->shared ? nullptr : found;
        }
        return nullptr;
    }

    static void share(TPixels &pixels, const QByteArray &bytes, bool shown)
    {
        pixels.shared = true;
        pixels.shown = shown;
        pixels.keyHash = qHash(bytes);
        pixels.key = bytes;
    }
};

TRegistry &registry()
{
    static TRegistry instance;
    return instance;
}

// An image over pixels holds them alive until its last copy goes.
void releasePixels(void *info)
{
    delete static_cast<std::shared_ptr<TPixels> *>(info);
}

QImage writableImageOver(const std::shared_ptr<TPixels> &pixels)
{
    return QImage(pixels->data, pixels->width, pixels->height, pixels->bytesPerLine, pixels->format, releasePixels,
                  new std::shared_ptr<TPixels>(pixels));
}

QImage readOnlyImageOver(const std::shared_ptr<TPixels> &pixels, const QList<QRgb> &colorTable)
{
    QImage image(static_cast<const uchar *>(pixels->data), pixels->width, pixels->height, pixels->bytesPerLine,
                 pixels->format, releasePixels, new std::shared_ptr<TPixels>(pixels));
    if (!colorTable.isEmpty())
        image.setColorTable(colorTable);
    return image;
}

QImage readOnlyImageOver(const std::shared_ptr<TPixels> &pixels)
{
    return readOnlyImageOver(pixels, pixels->colorTable);
}

// Registers the pixels under image (see TRegistry::unshared) under bytes
// and makes image read-only over them; nullptr when they cannot be shared.
std::shared_ptr<TPixels> shareImage(TRegistry &all, const QByteArray &bytes, QImage &image, bool shown)
{
    const std::shared_ptr<TPixels> pixels = all.unshared(image);
    if (!pixels)
        return nullptr;
    TRegistry::share(*pixels, bytes, shown);
    pixels->colorTable = image.colorTable();
    image = readOnlyImageOver(pixels);
    return pixels;
}

} // namespace

namespace PngShared {

QImage NewImage(int width, int height, QImage::Format format)
{
    const qsizetype bytesPerLine = ((qsizetype(width) * QImage::toPixelFormat(format).bitsPerPixel() + 31) / 32) * 4;
    auto *data = static_cast<uchar *>(std::calloc(size_t(bytesPerLine) * size_t(height), 1));
    if (!data)
        return QImage();
    const auto pixels = std::make_shared<TPixels>(data, width, height, bytesPerLine, format);
    TRegistry &all = registry();
    const QMutexLocker locker(&all.lock);
    all.dropFreed();
    all.pixels.push_back(pixels);
    return writableImageOver(pixels);
}

std::optional<TPngPlanes> Find(const QByteArray &bytes)
{
    TRegistry &all = registry();
    const QMutexLocker locker(&all.lock);
    const std::shared_ptr<TPixels> pixels = all.find(bytes, false);
    if (!pixels)
        return std::nullopt;
    return TPngPlanes{readOnlyImageOver(pixels), pixels->imageAlpha, pixels->extraImageData};
}

std::optional<QImage> FindShown(const QByteArray &bytes)
{
    TRegistry &all = registry();
    const QMutexLocker locker(&all.lock);
    const std::shared_ptr<TPixels> pixels = all.find(bytes, true);
    if (!pixels)
        return std::nullopt;
    return readOnlyImageOver(pixels);
}

void Share(const QByteArray &bytes, TPngPlanes &planes)
{
    TRegistry &all = registry();
    const QMutexLocker locker(&all.lock);
    const std::shared_ptr<TPixels> pixels = shareImage(all, bytes, planes.Image, false);
    if (!pixels)
        return;
    pixels->imageAlpha = planes.ImageAlpha;
    pixels->extraImageData = planes.ExtraImageData;
}

void ShareShown(const QByteArray &bytes, QImage &shown)
{
    TRegistry &all = registry();
    const QMutexLocker locker(&all.lock);
    shareImage(all, bytes, shown, true);
}

QImage WithColorTable(const QImage &image, const QList<QRgb> &colorTable)
{
    TRegistry &all = registry();
    const QMutexLocker locker(&all.lock);
    if (const std::shared_ptr<TPixels> pixels = all.sharedUnder(image))
        return readOnlyImageOver(pixels, colorTable);
    QImage recoloured = image;
    recoloured.setColorTable(colorTable);
    return recoloured;
}

} // namespace PngShared
