#include "toolkit/graphics/ImageList.h"

#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"

namespace {

QImage greyed(const QImage &image)
{
    QImage result = image;
    for (int y = 0; y < result.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            const int grey = std::min(255, (qRed(line[x]) + qGreen(line[x]) + qBlue(line[x])) / 6 + 128);
            line[x] = qRgba(grey, grey, grey, qAlpha(line[x]));
        }
    }
    return result;
}

QImage blended(const QImage &image, const QColor &color)
{
    QImage result = image;
    for (int y = 0; y < result.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x)
            line[x] = qRgba((qRed(line[x]) + color.red()) / 2, (qGreen(line[x]) + color.green()) / 2,
                            (qBlue(line[x]) + color.blue()) / 2, qAlpha(line[x]));
    }
    return result;
}

} // namespace

TChangeLink::~TChangeLink()
{
    if (m_sender)
        m_sender->UnRegisterChanges(this);
}

TImageList::TImageList(TComponent *owner) : TComponent(owner) {}

TImageList::~TImageList()
{
    for (TChangeLink *link : std::as_const(m_links))
        link->m_sender = nullptr;
}

void TImageList::RegisterChanges(TChangeLink *link)
{
    if (link->m_sender == this)
        return;
    if (link->m_sender)
        link->m_sender->UnRegisterChanges(link);
    link->m_sender = this;
    m_links.append(link);
}

void TImageList::UnRegisterChanges(TChangeLink *link)
{
    if (m_links.removeOne(link))
        link->m_sender = nullptr;
}

void TImageList::SetSize(int width, int height)
{
    if (width == m_width && height == m_height)
        return;
    m_width = std::max(1, width);
    m_height = std::max(1, height);
    Clear();
}

int TImageList::AddCells(const QImage &image)
{
    const int first = Count();
    const int cells = std::max(1, image.width() / m_width);
    for (int i = 0; i < cells; ++i) {
        QImage cell(m_width, m_height, QImage::Format_ARGB32);
        cell.fill(Qt::transparent);
        for (int y = 0; y < std::min(m_height, image.height()); ++y)
            for (int x = 0; x < m_width && i * m_width + x < image.width(); ++x)
                cell.setPixel(x, y, image.pixel(i * m_width + x, y));
        m_images.append(cell);
    }
    Changed();
    return first;
}

int TImageList::Add(const TBitmap *image, const TBitmap *mask)
{
    if (!image || image->Empty())
        return -1;
    QImage pixels = image->Image().convertToFormat(QImage::Format_ARGB32);
    if (mask && !mask->Empty()) {
        const QImage bits = mask->Image().convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < std::min(pixels.height(), bits.height()); ++y)
            for (int x = 0; x < std::min(pixels.width(), bits.width()); ++x)
                if ((bits.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF)
                    pixels.setPixel(x, y, 0);
    }
    return AddCells(pixels);
}

int TImageList::AddMasked(const TBitmap *image, TColor transparentColor)
{
    if (!image || image->Empty())
        return -1;
    QImage pixels = image->Image().convertToFormat(QImage::Format_ARGB32);
    const QRgb key = ColorToQColor(transparentColor).rgb() & 0xFFFFFF;
    for (int y = 0; y < pixels.height(); ++y)
        for (int x = 0; x < pixels.width(); ++x)
            if ((pixels.pixel(x, y) & 0xFFFFFF) == key)
                pixels.setPixel(x, y, 0);
    return AddCells(pixels);
}

void TImageList::Delete(int index)
{
    if (index < 0 || index >= Count())
        return;
    m_images.removeAt(index);
    Changed();
}

void TImageList::Clear()
{
    m_images.clear();
    Changed();
}

void TImageList::Draw(TCanvas *canvas, int x, int y, int index, bool enabled, bool selected) const
{
    if (!canvas || index < 0 || index >= Count())
        return;
    QImage image = m_images[index];
    if (!enabled)
        image = greyed(image);
    else if (selected)
        image = blended(image, ColorToQColor(clHighlight));
    canvas->StretchImage(Bounds(x, y, m_width, m_height), image);
}

void TImageList::Changed()
{
    if (OnChange)
        OnChange(this);
    // A handler may unregister its link: walk a copy.
    const QList<TChangeLink *> links = m_links;
    for (TChangeLink *link : links)
        if (m_links.contains(link) && link->OnChange)
            link->OnChange(this);
}
