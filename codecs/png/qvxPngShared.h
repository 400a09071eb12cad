#pragma once

// Decoded pixels shared between PNG pictures read from the same bytes.
//
// A picture's image is made over a pixel buffer of this unit.  Once the
// picture has read its file, Share registers the buffer under the file's
// bytes and makes the image read-only over it: a change to the image (a
// drawing, a pixel, a resize) copies the pixels first, so it reaches no
// other picture.  A picture that reads the same bytes later takes the
// registered pixels instead of decoding them.  The registry holds no
// pixels alive: a buffer is freed with the last image over it.  Entries
// are found by the length and hash of the bytes, so that a look-up costs
// the same however many pictures are alive.  Pictures may be read in
// several threads.

#include <QByteArray>
#include <QImage>

#include <optional>

// What a header chunk decodes besides its fields (qvxPngHeader.h).
struct TPngPlanes {
    QImage Image;
    QByteArray ImageAlpha;
    QByteArray ExtraImageData;
};

namespace PngShared {

// A zeroed image whose pixels Share can register; a null image when there
// is no memory for it.
QImage NewImage(int width, int height, QImage::Format format);

// The planes of a picture read before from exactly these bytes, while an
// image still holds its pixels; nothing otherwise.  The image has no
// colour table: the reader sets it up from the chunks, as on any read.
std::optional<TPngPlanes> Find(const QByteArray &bytes);

// Registers the pixels of planes.Image under bytes and makes planes.Image
// read-only over them.  An image not made by NewImage, or one shared
// already, is left as it is.
void Share(const QByteArray &bytes, TPngPlanes &planes);

// The same for the picture as drawn, where it is made from the decoded
// image (with the file's transparency or gamma): FindShown gives the one
// registered under bytes, ShareShown registers one made by NewImage.
std::optional<QImage> FindShown(const QByteArray &bytes);
void ShareShown(const QByteArray &bytes, QImage &shown);

// An indexed image under another colour table: over the same pixels where
// they are shared, else a copy.
QImage WithColorTable(const QImage &image, const QList<QRgb> &colorTable);

} // namespace PngShared
