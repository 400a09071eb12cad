// Views without a vector form: drawn into a bitmap, written as a JPEG image
// with a soft mask where the view is transparent, once per page.

#include "export/pdf/qvxPDFStrings.h"
#include "export/pdf/qvxPDFViewWriter.h"
#include "report/views/qvxLineView.h"
#include "report/views/qvxMemoView.h"
#include "report/base/qvxNumbers.h"
#include "report/views/qvxPictureView.h"
#include "report/views/qvxShapeView.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/JPEGImage.h"
#include "toolkit/graphics/TGraphic.h"

#include <QImage>

#include <cmath>

namespace {

// The frame width set to 0 while the view draws into the bitmap; every
// line gets its own width back.
class FrameWidthRemoved
{
public:
    explicit FrameWidthRemoved(TqvxFrame *frame) : m_frame(frame), m_width(frame->Width())
    {
        for (TqvxFrameLine *line : lines())
            m_lineWidths.append(line->Width());
        if (m_width > 0)
            m_frame->SetWidth(0);
    }
    ~FrameWidthRemoved() { restore(); }
    void restore()
    {
        if (m_restored)
            return;
        m_restored = true;
        if (m_width > 0)
            m_frame->SetWidth(m_width);
        const QList<TqvxFrameLine *> all = lines();
        for (int i = 0; i < all.size(); ++i)
            all[i]->SetWidth(m_lineWidths[i]);
    }
    FrameWidthRemoved(const FrameWidthRemoved &) = delete;
    FrameWidthRemoved &operator=(const FrameWidthRemoved &) = delete;

private:
    QList<TqvxFrameLine *> lines() const
    {
        return {m_frame->LeftLine(), m_frame->TopLine(), m_frame->RightLine(), m_frame->BottomLine()};
    }

    TqvxFrame *m_frame;
    double m_width;
    QList<double> m_lineWidths;
    bool m_restored = false;
};

// How a view's transparent parts are found: by a key colour (masked), by
// the alpha the drawing leaves (transparent only), or not at all.
struct Transparency {
    bool transparent = false;
    bool masked = false;
    TColor key = clWhite;
};

Transparency transparencyOf(TqvxView *view)
{
    Transparency t;
    if (auto *picture = dynamic_cast<TqvxPictureView *>(view)) {
        t.key = picture->TransparentColor();
        const TGraphic *graphic = picture->Picture()->Graphic();
        if (graphic && !graphic->Empty())
            t.transparent = picture->Transparent();
        else
            t.transparent = picture->Transparent() && graphic && graphic->Transparent();
        t.masked = t.transparent && t.key != clNone;
        return t;
    }
    t.transparent = t.masked = view->Color() == clNone;
    return t;
}

QImage filledImage(int width, int height, TColor color)
{
    QImage image(width, height, QImage::Format_ARGB32);
    if (color == clNone) {
        image.fill(Qt::transparent);
    } else {
        const TColor rgb = ColorToRGB(color);
        image.fill(QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF));
    }
    return image;
}

// The view drawn at factor k into a bitmap of the image's size; drawing
// errors leave what was drawn.
QImage drawView(TqvxView *view, QImage image, double k, int offsetX, int offsetY)
{
    TBitmap bitmap;
    // The bitmap alone holds the pixels, so that drawing changes them in
    // place rather than in a copy.
    bitmap.SetImage(std::exchange(image, QImage()));
    try {
        view->Draw(bitmap.Canvas(), k, k, offsetX, offsetY);
    } catch (...) {
    }
    // Copying pixels a painter is open on copies them deeply.
    bitmap.Canvas()->ReleaseHandle();
    return bitmap.Image().convertToFormat(QImage::Format_ARGB32);
}

QByteArray alphaBytes(const QImage &image)
{
    QByteArray alpha;
    alpha.reserve(qsizetype(image.width()) * image.height());
    for (int y = 0; y < image.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            alpha.append(char(qAlpha(row[x])));
    }
    return alpha;
}

// 0 where the pixel has the key colour, 255 elsewhere.
QByteArray keyMaskBytes(const QImage &image, TColor key)
{
    const TColor rgb = ColorToRGB(key);
    const QRgb keyPixel = qRgb(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
    QByteArray alpha;
    alpha.reserve(qsizetype(image.width()) * image.height());
    for (int y = 0; y < image.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            alpha.append((row[x] | 0xFF000000) == keyPixel ? '\0' : char(0xFF));
    }
    return alpha;
}

// The colours premultiplied by alpha, that is over black (the soft mask's
// matte), opaque; converted in place.
QImage overBlack(QImage image)
{
    image.convertTo(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < image.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            row[x] |= 0xFF000000;
    }
    image.convertTo(QImage::Format_RGB32);
    return image;
}

bool drawsGrey(TqvxView *view)
{
    return view->ClassName() == QLatin1String("TqvxBarCodeView") || dynamic_cast<TqvxCustomLineView *>(view)
        || dynamic_cast<TqvxShapeView *>(view);
}

} // namespace

void TqvxPDFViewWriter::WriteBitmap()
{
    if (m_view->Name() == QLatin1String("_pagebackground") && !m_pdf.Background())
        return;
    if (W <= 0 || H <= 0)
        return;

    FrameWidthRemoved frameWidth(m_view->Frame());
    const TqvxRect bounds = m_view->GetBoundsRect();
    const double bw = bounds.Right - bounds.Left;
    const double bh = bounds.Bottom - bounds.Top;
    double dx = (bw - W) / 2;
    if (bw == W || L == bounds.Left)
        dx = 0;
    else if (L + W == bounds.Right)
        dx = bw - W;
    double dy = (bh - H) / 2;
    if (bh == H || T == bounds.Top)
        dy = 0;
    else if (T + H == bounds.Bottom)
        dy = bh - H;

    const bool vectorBrush = m_view->BrushStyle() == bsSolid || m_view->BrushStyle() == bsClear;
    int k = (m_pdf.PrintOptimized() || dynamic_cast<TqvxCustomMemoView *>(m_view)) && vectorBrush ? 3 : 1;
    int bo = 0;
    if (m_view->ClassName() == QLatin1String("TqvxBarCodeView")) {
        k = 2;
        if (!m_pdf.PrintOptimized())
            bo = 2;
    }
    const int width = qvxRound(k * bw) + k;
    const int height = qvxRound(k * bh) + k;
    const int offsetX = -qvxRound((L - dx) * k) + bo;
    const int offsetY = -qvxRound((T - dy) * k);

    const Transparency t = transparencyOf(m_view);
    QByteArray alpha;
    QImage image;
    if (t.masked) {
        m_view->SetNoBackground(true);
        alpha = keyMaskBytes(drawView(m_view, filledImage(width, height, t.key), k, offsetX, offsetY), t.key);
        m_view->SetNoBackground(false);
        image = drawView(m_view, filledImage(width, height, t.key), k, offsetX, offsetY);
    } else if (t.transparent) {
        QImage drawn = drawView(m_view, filledImage(width, height, clNone), k, offsetX, offsetY);
        alpha = alphaBytes(drawn);
        image = overBlack(std::move(drawn));
    } else {
        image = drawView(m_view, filledImage(width, height, clWhite), k, offsetX, offsetY);
    }

    writeImage(image, alpha, drawsGrey(m_view), L - dx, T - dy, bw, bh);
    frameWidth.restore();
    if (WriteFrame()) {
        // Outside any memo: memos drawn later inherit this pen.
        TqvxPDFGraphicsState &state = m_pdf.GraphicsState();
        state.Outside.Stroke = state.Current.Stroke;
        state.Outside.Dash = state.Current.Dash;
        state.Outside.Width = state.Current.Width;
    }
}

void TqvxPDFViewWriter::writeImage(const QImage &image, const QByteArray &alpha, bool grey, double left, double top,
                                   double width, double height)
{
    const QByteArray jpeg = EncodeJpeg(image, grey ? m_pdf.Quality() + 5 : m_pdf.Quality(), grey);
    TStream *out = m_pdf.Output();
    int maskObject = 0;
    if (!alpha.isEmpty()) {
        const QByteArray maskDigest = TqvxPDFExport::PictureFingerprint(alpha);
        const int known = m_pdf.FindPicture(maskDigest);
        if (known >= 0) {
            maskObject = m_pdf.PictureObject(known);
        } else {
            maskObject = m_pdf.UpdateXRef();
            m_pdf.AddPicture(maskObject, maskDigest);
            TqvxPDFExport::WriteLn(out, TqvxPDFExport::ObjNumber(maskObject));
            TqvxPDFExport::WriteLn(out, "<< /Type /XObject");
            TqvxPDFExport::WriteLn(out, "/Subtype /Image");
            TqvxPDFExport::WriteLn(out, "/Width " + QByteArray::number(image.width()));
            TqvxPDFExport::WriteLn(out, "/Height " + QByteArray::number(image.height()));
            TqvxPDFExport::WriteLn(out, "/ColorSpace /DeviceGray/Matte[ 0 0 0] ");
            TqvxPDFExport::WriteLn(out, "/BitsPerComponent 8");
            TqvxPDFExport::WriteLn(out, "/Interpolate false");
            TqvxPDFExport::WriteLn(out, " /Length " + QByteArray::number(alpha.size()) + " >>");
            TqvxPDFExport::WriteLn(out, "stream");
            TqvxPDFExport::Write(out, m_pdf.CryptData(alpha, maskObject));
            TqvxPDFExport::Write(out, "\r\nendstream\r\n");
            TqvxPDFExport::WriteLn(out, "endobj");
        }
    }

    // With a mask, the image is known by the mask's bytes and its own.
    const QByteArray digest = alpha.isEmpty() ? TqvxPDFExport::PictureFingerprint(jpeg)
                                              : TqvxPDFExport::PictureFingerprint(alpha, jpeg);
    int index = m_pdf.FindPicture(digest);
    if (index < 0) {
        const int i = m_pdf.UpdateXRef();
        index = m_pdf.AddPicture(i, digest);
        TqvxPDFExport::WriteLn(out, TqvxPDFExport::ObjNumber(i));
        TqvxPDFExport::WriteLn(out, "<<");
        TqvxPDFExport::WriteLn(out, "/Type /XObject");
        TqvxPDFExport::WriteLn(out, "/Subtype /Image");
        TqvxPDFExport::WriteLn(out, grey ? "/ColorSpace /DeviceGray" : "/ColorSpace /DeviceRGB");
        TqvxPDFExport::WriteLn(out, "/BitsPerComponent 8");
        TqvxPDFExport::WriteLn(out, "/Filter /DCTDecode");
        TqvxPDFExport::WriteLn(out, "/Width " + QByteArray::number(image.width()));
        TqvxPDFExport::WriteLn(out, "/Height " + QByteArray::number(image.height()));
        if (!alpha.isEmpty())
            TqvxPDFExport::WriteLn(out, "/SMask " + TqvxPDFExport::ObjNumberRef(maskObject));
        TqvxPDFExport::WriteLn(out, "/Length " + QByteArray::number(jpeg.size()));
        TqvxPDFExport::WriteLn(out, ">>");
        TqvxPDFExport::Write(out, "stream\r\n");
        TqvxPDFExport::Write(out, m_pdf.CryptData(jpeg, i));
        TqvxPDFExport::Write(out, "\r\nendstream\r\n");
        TqvxPDFExport::WriteLn(out, "endobj");
    }

    m_pdf.UsePicture(index);
    writeLn("q");
    writeLn(PdfNumber(width * 0.75) + " 0 0 " + PdfNumber(height * 0.75) + ' ' + PdfNumber(m_pdf.PX(left)) + ' '
            + PdfNumber(m_pdf.PY(top + height)) + " cm");
    writeLn("/Im" + QByteArray::number(index) + " Do");
    writeLn("Q");
}

void TqvxPDFViewWriter::writeFillImage(const TqvxCustomFill *fill, double width, double height)
{
    // Twice the screen's resolution keeps the colour steps fine.
    const int k = 2;
    const int w = qvxRound(width * k);
    const int h = qvxRound(height * k);
    if (w <= 0 || h <= 0)
        return;
    TBitmap bitmap;
    bitmap.SetImage(filledImage(w, h, clWhite));
    fill->Draw(bitmap.Canvas(), 0, 0, w, h, k, k);
    writeImage(bitmap.Image().convertToFormat(QImage::Format_RGB32), QByteArray(), false, L, T, width, height);
}
