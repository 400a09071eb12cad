#include "report/base/qvxGraphicUtils.h"

#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/ImageList.h"

#include <QImage>

#include <algorithm>
#include <cstdlib>

namespace {

int disabledGrey(int red, int green, int blue)
{
    return std::min(255, (red + green + blue) / 3 / 3 + 150);
}

// A copy in grey, with the pixels of the transparent colour kept so that
// they stay transparent.
QImage greyed(const QImage &cell, TColor transparentColor)
{
    const QRgb key = ColorToQColor(transparentColor).rgb() & 0xFFFFFF;
    QImage image = cell.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] & 0xFFFFFF) == key)
                continue;
            const int grey = disabledGrey(qRed(line[x]), qGreen(line[x]), qBlue(line[x]));
            line[x] = qRgb(grey, grey, grey);
        }
    }
    return image;
}

void addCell(TImageList *list, const QImage &cell, TColor transparentColor)
{
    TBitmap bitmap;
    bitmap.SetImage(cell);
    list->AddMasked(&bitmap, transparentColor);
}

} // namespace

void qvxCreateImages(const TBitmap *bitmap, int cellWidth, int cellHeight, TImageList *disabledList,
                     TImageList *list)
{
    if (cellWidth <= 0 || cellHeight <= 0)
        return;
    const TColor transparentColor = bitmap->TransparentColor();
    const QImage &image = bitmap->Image();
    for (int top = 0; top + cellHeight <= image.height(); top += cellHeight) {
        for (int left = 0; left + cellWidth <= image.width(); left += cellWidth) {
            const QImage cell = image.copy(left, top, cellWidth, cellHeight);
            addCell(list, cell, transparentColor);
            if (disabledList)
                addCell(disabledList, greyed(cell, transparentColor), transparentColor);
        }
    }
}

void qvxDrawTransparent(TCanvas *canvas, int x, int y, const TBitmap *bitmap)
{
    if (!bitmap || bitmap->Empty())
        return;
    TImageList images;
    images.SetSize(bitmap->Width(), bitmap->Height());
    images.AddMasked(bitmap, bitmap->TransparentColor());
    images.Draw(canvas, x, y, 0);
}

void qvxDrawGraphic(TCanvas *canvas, const TRect &rect, const TGraphic *graphic, bool transparent,
                    TColor transparentColor)
{
    if (!graphic || graphic->Empty() || rect.IsEmpty())
        return;
    const auto *bitmap = qobject_cast<const TBitmap *>(graphic);
    if (!bitmap) {
        canvas->StretchDraw(rect, graphic);
        return;
    }
    if (transparent) {
        canvas->StretchImage(rect, bitmap->Image(), transparentColor);
        return;
    }
    canvas->StretchImage(rect, bitmap->Image().scaled(rect.Width(), rect.Height(), Qt::IgnoreAspectRatio,
                                                      Qt::SmoothTransformation));
}

void qvxDrawThickLine(TCanvas *canvas, int x, int y, int x1, int y1, int width)
{
    const int count = std::max(width, 1);
    const bool steep = std::abs(y1 - y) > std::abs(x1 - x);
    for (int k = 0; k < count; ++k) {
        const int shift = k - (count - 1) / 2;
        const int dx = steep ? shift : 0;
        const int dy = steep ? 0 : shift;
        canvas->MoveTo(x + dx, y + dy);
        canvas->LineTo(x1 + dx, y1 + dy);
    }
}

TqvxCanvasToolsScope::TqvxCanvasToolsScope(TCanvas *canvas)
    : m_canvas(canvas), m_font(canvas->Font()->Data()), m_pen(canvas->Pen()->Data()), m_brush(canvas->Brush()->Data())
{
    m_canvas->Lock();
}

TqvxCanvasToolsScope::~TqvxCanvasToolsScope()
{
    m_canvas->Font()->SetData(m_font);
    m_canvas->Pen()->SetData(m_pen);
    m_canvas->Brush()->SetData(m_brush);
    m_canvas->Unlock();
}
