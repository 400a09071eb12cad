#pragma once

// Reading and writing the BMP file format.
//
// Reads uncompressed bitmaps of 1, 4, 8, 16, 24 and 32 bits per pixel (with
// bit-field masks for 16 and 32), bottom-up or top-down, with the core and
// every later info header.  Bitmaps of up to 8 bits come back as
// Format_Indexed8 with their palette, 32-bit ones with an alpha mask as
// Format_ARGB32, all others as Format_RGB32.  Anything else, or data that
// does not add up, raises EInvalidGraphic "Bitmap image is not valid".

#include <QByteArray>
#include <QImage>

struct TBmpImage {
    QImage Image;
    int BitsPerPixel = 24;
};

TBmpImage ReadBmp(const QByteArray &data);

// Writes 1 (two-colour palette), 8 (palette of at most 256 colours), 24 or
// 32 bits per pixel (with the alpha bytes); other depths are written as 24.
QByteArray WriteBmp(const QImage &image, int bitsPerPixel);
