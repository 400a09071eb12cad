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
    // Set by Share, under the registry's lock.
    bool shared = false;
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

QImage readOnlyImageOver(const std::shared_ptr<TPixels> &pixels)
{
    QImage image(static_cast<const uchar *>(pixels->data), pixels->width, pixels->height, pixels->bytesPerLine,
                 pixels->format, releasePixels, new std::shared_ptr<TPixels>(pixels));
    image.setColorTable(pixels->colorTable);
    return image;
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
    const size_t hash = qHash(bytes);
    TRegistry &all = registry();
    const QMutexLocker locker(&all.lock);
    for (const std::weak_ptr<TPixels> &held : all.pixels) {
        const std::shared_ptr<TPixels> pixels = held.lock();
        if (!pixels || !pixels->shared || pixels->keyHash != hash || pixels->key != bytes)
            continue;
        return TPngPlanes{readOnlyImageOver(pixels), pixels->imageAlpha, pixels->extraImageData};
    }
    return std::nullopt;
}

void Share(const QByteArray &bytes, TPngPlanes &planes)
{
    TRegistry &all = registry();
    const QMutexLocker locker(&all.lock);
    for (const std::weak_ptr<TPixels> &held : all.pixels) {
        const std::shared_ptr<TPixels> pixels = held.lock();
        if (!pixels || pixels->data != planes.Image.constBits())
            continue;
        if (pixels->shared)
            return;
        pixels->shared = true;
        pixels->keyHash = qHash(bytes);
        pixels->key = bytes;
        pixels->colorTable = planes.Image.colorTable();
        pixels->imageAlpha = planes.ImageAlpha;
        pixels->extraImageData = planes.ExtraImageData;
        planes.Image = readOnlyImageOver(pixels);
        return;
    }
}

} // namespace PngShared
