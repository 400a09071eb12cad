#pragma once

// JPEG pictures through libjpeg: TJPEGImage, and the plain encoder and
// decoder that the PDF writer uses for its images.

#include "toolkit/graphics/ImageGraphic.h"

#include <QImage>

// Decodes JPEG data into a Format_RGB32 image; malformed data raises
// EInvalidGraphic.
QImage DecodeJpeg(const QByteArray &data);

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

    // Loading keeps the file's bytes, and saving writes them back unchanged
    // unless the picture was assigned or its settings changed.
    void LoadFromStream(TStream *stream) override;
    void SaveToStream(TStream *stream) const override;

    // Takes the pixels of a bitmap (compressed when saved) or another JPEG.
    void Assign(const TPersistent *source) override;

private:
    mutable QByteArray m_data;
    int m_quality = 90;
    bool m_grayscale = false;
};
