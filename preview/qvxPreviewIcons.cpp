#include "preview/qvxPreviewIcons.h"

#include "report/model/qvxResources.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/ImageList.h"

#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <array>

namespace {

// Colours of the drawings.
const QColor kOutline(0x40, 0x48, 0x58);
const QColor kPaper(0xFF, 0xFF, 0xFF);
const QColor kBlue(0x2F, 0x6F, 0xC0);
const QColor kFolder(0xF0, 0xC0, 0x40);
const QColor kRed(0xC8, 0x30, 0x30);
const QColor kGrey(0xA8, 0xAE, 0xB8);

void page(QPainter &p, const QRectF &r)
{
    p.setPen(QPen(kOutline, 1));
    p.setBrush(kPaper);
    p.drawRect(r);
}

void magnifier(QPainter &p)
{
    p.setPen(QPen(kOutline, 1.5));
    p.setBrush(QColor(0xDD, 0xEE, 0xFF));
    p.drawEllipse(QPointF(6.5, 6.5), 4.5, 4.5);
    p.setPen(QPen(kOutline, 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10, 10), QPointF(14, 14));
}

void triangle(QPainter &p, bool left, double x)
{
    QPainterPath path;
    if (left) {
        path.moveTo(x, 8);
        path.lineTo(x + 5, 3.5);
        path.lineTo(x + 5, 12.5);
    } else {
        path.moveTo(x + 5, 8);
        path.lineTo(x, 3.5);
        path.lineTo(x, 12.5);
    }
    path.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(kOutline);
    p.drawPath(path);
}

void bar(QPainter &p, double x)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kOutline);
    p.drawRect(QRectF(x, 3.5, 1.5, 9));
}

// Draws image index on a 16 x 16 grid; false for an image without a
// drawing.
bool draw(QPainter &p, int index)
{
    switch (index) {
    case 0: { // open: a folder
        QPainterPath back;
        back.moveTo(1.5, 3.5);
        back.lineTo(6, 3.5);
        back.lineTo(7.5, 5);
        back.lineTo(13.5, 5);
        back.lineTo(13.5, 13.5);
        back.lineTo(1.5, 13.5);
        back.closeSubpath();
        p.setPen(QPen(kOutline, 1));
        p.setBrush(kFolder.darker(115));
        p.drawPath(back);
        QPainterPath front;
        front.moveTo(3.5, 7.5);
        front.lineTo(15, 7.5);
        front.lineTo(13.5, 13.5);
        front.lineTo(1.5, 13.5);
        front.closeSubpath();
        p.setBrush(kFolder);
        p.drawPath(front);
        return true;
    }
    case 1: // save: a disk
        p.setPen(QPen(kOutline, 1));
        p.setBrush(kBlue);
        p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1, 1);
        p.setBrush(kPaper);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.setBrush(kGrey);
        p.drawRect(QRectF(4.5, 9.5, 7, 5));
        return true;
    case 2: // print: a printer
        page(p, QRectF(4.5, 1.5, 7, 5));
        p.setPen(QPen(kOutline, 1));
        p.setBrush(kGrey);
        p.drawRoundedRect(QRectF(1.5, 6.5, 13, 6), 1, 1);
        page(p, QRectF(4.5, 10.5, 7, 4));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x30, 0xB0, 0x40));
        p.drawRect(QRectF(11.5, 8, 1.5, 1.5));
        return true;
    case 4: // find
        magnifier(p);
        return true;
    case 5: // thumbnails: four small pages
        for (const QPointF &at : {QPointF(1.5, 1.5), QPointF(8.5, 1.5), QPointF(1.5, 8.5), QPointF(8.5, 8.5)})
            page(p, QRectF(at, QSizeF(6, 6)));
        return true;
    case 7: { // page settings: a page with its margins
        page(p, QRectF(2.5, 1.5, 11, 13));
        QPen dashed(kBlue, 1, Qt::DotLine);
        p.setPen(dashed);
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(4.5, 3.5, 7, 9));
        return true;
    }
    case 8: // first
        bar(p, 3.5);
        triangle(p, true, 6);
        return true;
    case 9: // prior
        triangle(p, true, 5);
        return true;
    case 10: // next
        triangle(p, false, 6);
        return true;
    case 11: // last
        triangle(p, false, 5);
        bar(p, 11);
        return true;
    case 12: // outline: a tree
        p.setPen(QPen(kOutline, 1));
        p.drawLine(QPointF(3.5, 4), QPointF(3.5, 12.5));
        p.drawLine(QPointF(3.5, 8.5), QPointF(7, 8.5));
        p.drawLine(QPointF(3.5, 12.5), QPointF(7, 12.5));
        p.setBrush(kBlue);
        p.drawRect(QRectF(1.5, 1.5, 4, 3));
        p.setBrush(kFolder);
        p.drawRect(QRectF(7.5, 7, 6, 3));
        p.drawRect(QRectF(7.5, 11, 6, 3));
        return true;
    case 13: // collapse all
    case 14: // expand all
        p.setPen(QPen(kOutline, 1));
        p.setBrush(kPaper);
        p.drawRect(QRectF(3.5, 3.5, 9, 9));
        p.drawLine(QPointF(5.5, 8), QPointF(10.5, 8));
        if (index == 14)
            p.drawLine(QPointF(8, 5.5), QPointF(8, 10.5));
        return true;
    case 15: // zoom in
    case 16: // zoom out
        magnifier(p);
        p.setPen(QPen(kOutline, 1.2));
        p.drawLine(QPointF(4.5, 6.5), QPointF(8.5, 6.5));
        if (index == 15)
            p.drawLine(QPointF(6.5, 4.5), QPointF(6.5, 8.5));
        return true;
    case 17: // a report's tab: a page with lines
        page(p, QRectF(3.5, 1.5, 9, 13));
        p.setPen(QPen(kGrey, 1));
        for (double y : {5.0, 7.5, 10.0})
            p.drawLine(QPointF(5.5, y), QPointF(10.5, y));
        return true;
    case 21: { // edit: a pencil over a page
        page(p, QRectF(1.5, 1.5, 9, 12));
        QPainterPath pencil;
        pencil.moveTo(7, 13);
        pencil.lineTo(13.5, 6.5);
        pencil.lineTo(15, 8);
        pencil.lineTo(8.5, 14.5);
        pencil.lineTo(6.5, 15);
        pencil.closeSubpath();
        p.setPen(QPen(kOutline, 1));
        p.setBrush(kFolder);
        p.drawPath(pencil);
        return true;
    }
    case 22: { // full screen: a frame with its corners pushed out
        p.setPen(QPen(kOutline, 1.5, Qt::SolidLine, Qt::SquareCap));
        p.setBrush(Qt::NoBrush);
        for (const auto &[x, y, dx, dy] : {std::array<double, 4>{2, 2, 1, 1}, {14, 2, -1, 1}, {2, 14, 1, -1},
                                           {14, 14, -1, -1}}) {
            p.drawLine(QPointF(x, y), QPointF(x + 4 * dx, y));
            p.drawLine(QPointF(x, y), QPointF(x, y + 4 * dy));
        }
        p.setPen(QPen(kBlue, 1));
        p.drawRect(QRectF(5.5, 5.5, 5, 5));
        return true;
    }
    case 23: // e-mail: an envelope
        p.setPen(QPen(kOutline, 1));
        p.setBrush(kPaper);
        p.drawRect(QRectF(1.5, 3.5, 13, 9));
        p.drawLine(QPointF(1.5, 3.5), QPointF(8, 9));
        p.drawLine(QPointF(14.5, 3.5), QPointF(8, 9));
        return true;
    case 24: { // PDF: a page with a red band
        page(p, QRectF(2.5, 1.5, 11, 13));
        p.setPen(Qt::NoPen);
        p.setBrush(kRed);
        p.drawRect(QRectF(1, 8, 14, 5));
        return true;
    }
    default:
        return false;
    }
}

// An image of the preview's buttons drawn at whatever size and pixel
// density it is asked for, so that it stays sharp at any screen scale.
class DrawnIcon : public QIconEngine
{
public:
    explicit DrawnIcon(int index) : m_index(index) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State) override
    {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->translate(rect.topLeft());
        painter->scale(rect.width() / 16.0, rect.height() / 16.0);
        if (mode == QIcon::Disabled)
            painter->setOpacity(0.4);
        draw(*painter, m_index);
        painter->restore();
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }

    // size is in device pixels already; scale is their ratio to logical
    // ones.
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            paint(&painter, image.rect(), mode, state);
        }
        QPixmap pixmap = QPixmap::fromImage(image);
        pixmap.setDevicePixelRatio(scale);
        return pixmap;
    }

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override { return size; }
    QIconEngine *clone() const override { return new DrawnIcon(m_index); }
    QString key() const override { return QStringLiteral("qvxPreviewButton"); }

private:
    int m_index;
};

QIcon imageListIcon(int index)
{
    TImageList *images = qvxResources()->PreviewButtonImages();
    QImage image(images->Width(), images->Height(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    TCanvas canvas;
    canvas.SetDevice(&image);
    images->Draw(&canvas, 0, 0, index);
    canvas.ReleaseHandle();
    return QIcon(QPixmap::fromImage(image));
}

bool hasDrawing(int index)
{
    QImage probe(16, 16, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&probe);
    return draw(painter, index);
}

} // namespace

QIcon qvxPreviewButtonIcon(int index)
{
    if (index < 0)
        return {};
    if (hasDrawing(index))
        return QIcon(new DrawnIcon(index));
    return imageListIcon(index);
}
