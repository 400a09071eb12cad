#pragma once

// JPEG pictures through libjpeg: TJPEGImage, and the plain encoder and
// decoder that the PDF writer uses for its images.

#include "toolkit/graphics/ImageGraphic.h"

#include <QImage>

// Decodes JPEG data into a Format_RGB32 image; malformed data, and data of
// more pixels than a picture may have (toolkit/graphics/BitmapLimits.h),
// raise EInvalidGraphic.  Asked for at least minWidth x minHeight pixels,
// it decodes at the smallest eighth of the picture's size that gives them.
QImage DecodeJpeg(const QByteArray &data, int minWidth = 0, int minHeight = 0);

// The size JPEG data declares, from its header alone; a malformed header
// raises EInvalidGraphic.
QSize JpegSize(const QByteArray &data);

// Encodes a baseline JPEG; quality is clamped to 1..100; grayscale writes a
// single grey channel.
QByteArray EncodeJpeg(const QImage &image, int quality, bool grayscale = false);

class TJPEGImage : public TImageGraphic
{
    Q_OBJECT

public:
    TJPEGImage();

    int CompressionQuality() const { return m_quality; }
    void SetCompressionQuality(int value);
    bool Grayscale() const { return m_grayscale; }
    void SetGrayscale(bool value);

    // Empty without bytes and pixels.  A picture whose bytes cannot be
    // decoded is not empty but has no size and draws nothing.
    bool Empty() const override;
    int Width() const override;
    int Height() const override;

    // Loading keeps the file's bytes and reads only their header, and
    // saving writes them back unchanged unless the picture was assigned or
    // its settings changed.  Bytes that start as a JPEG picture (FF D8) but
    // do not decode still load (ErrorText says why they cannot be drawn);
    // other bytes, and a header of more pixels than a picture may have,
    // raise EInvalidGraphic.
    void LoadFromStream(TStream *stream) override;
    void SaveToStream(TStream *stream) const override;

    // Decodes at the smallest eighth of the picture's size that fills rect,
    // kept for the next draw.  Bytes that do not decode draw nothing.
    void Draw(TCanvas *canvas, const TRect &rect) const override;

    // Why the picture cannot be drawn; empty while nothing says it cannot.
    QString ErrorText() const { return m_error; }

    // Takes the pixels of a bitmap (compressed when saved) or another JPEG;
    // nil empties the picture.
    void Assign(const TPersistent *source) override;

private:
    // Decodes the bytes whole before the settings they were made with
    // change.
    void keepPixels();

    mutable QByteArray m_data;
    QSize m_size = QSize(0, 0);
    mutable QString m_error;
    mutable QImage m_scaled;
    int m_quality = 90;
    bool m_grayscale = false;
};
