#include "codecs/png/qvxPngShared.h"

#include <QHash>
#include <QMutex>

#include <cstdlib>
#include <memory>
#include <unordered_map>

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
    QByteArray key;
    QByteArray imageAlpha;
    QByteArray extraImageData;
};

// What shared pixels are registered under: the length and hash of the
// bytes they come from, and whether they are the picture as drawn.
struct TKey {
    qsizetype length;
    size_t hash;
    bool shown;

    TKey(const QByteArray &bytes, bool shown) : length(bytes.size()), hash(qHash(bytes)), shown(shown) {}
    bool operator==(const TKey &) const = default;
};

struct TKeyHash {
    size_t operator()(const TKey &key) const { return qHashMulti(0, key.length, key.hash, key.shown); }
};

// The registry holds the pixels weakly: an entry whose pixels are freed
// stays until a look-up meets it, or until a sweep, which runs when the
// entries have doubled since the last one.
struct TRegistry {
    QMutex lock;
    // Every buffer NewImage made, by its address.
    std::unordered_map<const uchar *, std::weak_ptr<TPixels>> byAddress;
    // The shared ones by their key.
    std::unordered_multimap<TKey, std::weak_ptr<TPixels>, TKeyHash> byBytes;
    size_t sweepAt = 1024;

    void add(const std::shared_ptr<TPixels> &pixels)
    {
        if (byAddress.size() + byBytes.size() >= sweepAt)
            sweep();
        // An entry of freed pixels at the same address gives way.
        byAddress[pixels->data] = pixels;
    }

    void sweep()
    {
        std::erase_if(byAddress, [](const auto &entry) { return entry.second.expired(); });
        std::erase_if(byBytes, [](const auto &entry) { return entry.second.expired(); });
        sweepAt = std::max<size_t>(1024, 2 * (byAddress.size() + byBytes.size()));
    }

    // The pixels registered under bytes, as decoded or as shown; the bytes
    // are compared only for entries of the same length and hash.
    std::shared_ptr<TPixels> find(const QByteArray &bytes, bool shown)
    {
        auto [at, end] = byBytes.equal_range(TKey(bytes, shown));
        while (at != end) {
            std::shared_ptr<TPixels> found = at->second.lock();
            if (!found) {
                at = byBytes.erase(at);
                continue;
            }
            if (found->key == bytes)
                return found;
            ++at;
        }
        return nullptr;
    }

    // The live pixels made by NewImage under image, shared or not.
    std::shared_ptr<TPixels> under(const QImage &image) const
    {
        const auto at = byAddress.find(image.constBits());
        return at == byAddress.end() ? nullptr : at->second.lock();
    }

    // The pixels under image, made by NewImage and not shared yet; nullptr
    // for another image, or one held more than once, whose holders might
    // write to it in place.
    std::shared_ptr<TPixels> unshared(const QImage &image) const
    {
        if (!image.isDetached())
            return nullptr;
        std::shared_ptr<TPixels> pixels = under(image);
        return pixels && !pixels->shared ? pixels : nullptr;
    }

    void share(const std::shared_ptr<TPixels> &pixels, const QByteArray &bytes, bool shown)
    {
        pixels->shared = true;
        pixels->key = bytes;
        byBytes.emplace(TKey(bytes, shown), pixels);
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

// Registers the pixels under image (see TRegistry::unshared) under bytes
// and makes image read-only over them; nullptr when they cannot be shared.
std::shared_ptr<TPixels> shareImage(TRegistry &all, const QByteArray &bytes, QImage &image, bool shown)
{
    const std::shared_ptr<TPixels> pixels = all.unshared(image);
    if (!pixels)
        return nullptr;
    all.share(pixels, bytes, shown);
    image = readOnlyImageOver(pixels, image.colorTable());
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
    all.add(pixels);
    return writableImageOver(pixels);
}

std::optional<TPngPlanes> Find(const QByteArray &bytes)
{
    TRegistry &all = registry();
    const QMutexLocker locker(&all.lock);
    const std::shared_ptr<TPixels> pixels = all.find(bytes, false);
    if (!pixels)
        return std::nullopt;
    return TPngPlanes{readOnlyImageOver(pixels, {}), pixels->imageAlpha, pixels->extraImageData};
}

std::optional<QImage> FindShown(const QByteArray &bytes)
{
    TRegistry &all = registry();
    const QMutexLocker locker(&all.lock);
    const std::shared_ptr<TPixels> pixels = all.find(bytes, true);
    if (!pixels)
        return std::nullopt;
    return readOnlyImageOver(pixels, {});
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
    if (const std::shared_ptr<TPixels> pixels = all.under(image); pixels && pixels->shared)
        return readOnlyImageOver(pixels, colorTable);
    QImage recoloured = image;
    recoloured.setColorTable(colorTable);
    return recoloured;
}

} // namespace PngShared
