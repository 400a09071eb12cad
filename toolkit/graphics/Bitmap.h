#pragma once

// TBitmap: a raster image with a canvas, read and written as BMP.
//
// The pixels live in a QImage.  PixelFormat says how the bitmap is kept and
// saved: pf1bit and pf8bit hold a palette (Format_Indexed8), pf32bit an alpha
// channel (Format_ARGB32), the others plain RGB (Format_RGB32).  Asking for
// the Canvas turns a paletted image into RGB for drawing; saving quantises it
// back to the pixel format.

#include "toolkit/graphics/Colors.h"
#include "toolkit/graphics/TGraphic.h"

#include <QImage>

#include <memory>

class TCanvas;

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };

class TBitmap : public TGraphic
{
    Q_OBJECT

public:
    TBitmap();
    ~TBitmap() override;

    bool Empty() const override { return m_image.isNull(); }
    // The requested size: setting the width and then the height one at a
    // time gives a bitmap of that size (it holds no pixels while either side
    // is 0).
    int Width() const override { return m_width; }
    int Height() const override { return m_height; }
    void SetWidth(int value) override { SetSize(value, m_height); }
    void SetHeight(int value) override { SetSize(m_width, value); }
    // New pixels are white; existing ones keep their place.  A size beyond
    // the cap (toolkit/graphics/BitmapLimits.h) raises
    // EInvalidGraphicOperation before anything is allocated or changed.
    void SetSize(int width, int height);

    TPixelFormat PixelFormat() const { return m_pixelFormat; }
    void SetPixelFormat(TPixelFormat format);
    bool Monochrome() const { return m_pixelFormat == pf1bit; }
    void SetMonochrome(bool value) { SetPixelFormat(value ? pf1bit : pfDevice); }

    // The colour left out when drawn transparently: by default the colour of
    // the bottom-left pixel; setting one fixes it (clDefault returns to the
    // bottom-left pixel).
    TColor TransparentColor() const;
    void SetTransparentColor(TColor color);

    // The canvas drawing on the pixels (owned by the bitmap).
    TCanvas *Canvas();

    const QImage &Image() const { return m_image; }
    // Replaces the pixels; the pixel format follows the image's format.
    void SetImage(const QImage &image);

    void LoadFromStream(TStream *stream) override;
    void SaveToStream(TStream *stream) const override;
    // A bitmap of the program's resources (":/bitmaps/<name>.bmp").
    void LoadFromResourceName(const QString &name);

    void Draw(TCanvas *canvas, const TRect &rect) const override;

    // Copies another bitmap; other graphics give themselves (by default
    // drawn onto a bitmap of their size, see TGraphic::AssignTo); nil
    // empties the bitmap.
    void Assign(const TPersistent *source) override;

private:
    void ReplaceImage(const QImage &image);
    // An empty image may come with a requested size of one empty side.
    void ReplaceImage(const QImage &image, int width, int height);
    void EnsurePaintable();

    QImage m_image;
    int m_width = 0;
    int m_height = 0;
    TPixelFormat m_pixelFormat = pfDevice;
    TColor m_transparentColor = clDefault;
    std::unique_ptr<TCanvas> m_canvas;
};

// An 8 x 8 checkerboard of the two colours, for halftone pattern brushes
// (kept by the toolkit; do not free).
TBitmap *AllocPatternBitmap(TColor background, TColor foreground);
