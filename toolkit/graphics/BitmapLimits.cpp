#include "toolkit/graphics/BitmapLimits.h"

#include "toolkit/core/Exceptions.h"

#include <QCoreApplication>

bool BitmapSizeAllowed(qint64 width, qint64 height)
{
    return width >= 1 && height >= 1 && width <= MaxBitmapSide && height <= MaxBitmapSide &&
           width * height <= MaxBitmapPixels;
}

void CheckBitmapSize(qint64 width, qint64 height)
{
    if (!BitmapSizeAllowed(width, height))
        throw EInvalidGraphicOperation(
            QCoreApplication::translate("BitmapLimits", "A bitmap of %1 x %2 pixels is larger than the program allows")
                .arg(width)
                .arg(height));
}

void CheckPictureSize(qint64 width, qint64 height)
{
    if (!BitmapSizeAllowed(width, height) || width * height > MaxPicturePixels)
        throw EInvalidGraphic(QCoreApplication::translate(
                                  "BitmapLimits", "The picture has %1 x %2 pixels; a picture may have at most %3 pixels")
                                  .arg(width)
                                  .arg(height)
                                  .arg(MaxPicturePixels));
}
