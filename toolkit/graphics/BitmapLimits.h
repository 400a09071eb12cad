#pragma once

// The largest raster image the program makes.  Every maker of bitmaps
// checks a size against it before allocating, above all the readers that
// take a size from a file's header (BMP, JPEG, PNG): a hostile header then
// gets a clear error instead of a multi-gigabyte allocation.

#include <QtGlobal>

// At most 65536 pixels a side and 2^28 pixels in all (1 GiB at 32 bits).
constexpr qint64 MaxBitmapSide = qint64(1) << 16;
constexpr qint64 MaxBitmapPixels = qint64(1) << 28;

// True when a bitmap of width x height pixels (both at least 1) is within
// the cap.
bool BitmapSizeAllowed(qint64 width, qint64 height);

// Raises EInvalidGraphicOperation when a bitmap of width x height pixels
// (both at least 1) is beyond the cap.
void CheckBitmapSize(qint64 width, qint64 height);

// The most pixels a compressed picture file (JPEG, PNG) may declare.  Such
// a file can claim billions of pixels in a few hundred bytes; decoding one
// of 2^26 pixels (8192 x 8192, 256 MiB at 32 bits) is the most it may
// cost.  A JPEG drawn smaller than its size decodes at the size drawn.
constexpr qint64 MaxPicturePixels = qint64(1) << 26;

// Raises EInvalidGraphic, naming the size, when a picture of width x height
// pixels is beyond MaxPicturePixels or the bitmap cap.
void CheckPictureSize(qint64 width, qint64 height);
