#include "toolkit/graphics/JPEGImage.h"

#include "toolkit/graphics/BitmapLimits.h"

#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/classes/Streams.h"

#include <QCoreApplication>

#include <algorithm>
#include <climits>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

namespace {


// libjpeg reports fatal errors through error_exit, which must not return:
// it jumps back to the caller, which raises the exception after libjpeg's
// state is destroyed.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void errorExit(j_common_ptr info)
{
    auto *errors = reinterpret_cast<ErrorManager *>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->jump, 1);
}

void silent(j_common_ptr) {}

ErrorManager *installErrors(jpeg_common_struct *info, ErrorManager &errors)
{
    info->err = jpeg_std_error(&errors.base);
    errors.base.error_exit = errorExit;
    errors.base.output_message = silent;
    errors.message[0] = '\0';
    return &errors;
}

// message is libjpeg's own (which has no translation) or one of ours.
[[noreturn]] void raise(const char *message)
{
    throw EInvalidGraphic(QCoreApplication::translate("JPEGImage", "JPEG image is not valid: %1")
                              .arg(QCoreApplication::translate("JPEGImage", message)));
}

// The steps that call into libjpeg keep no C++ objects of their own, so
// that the jump back from errorExit skips no destructor.
bool readHeader(jpeg_decompress_struct *info, ErrorManager *errors, const QByteArray *data)
{
    if (setjmp(errors->jump))
        return false;
    jpeg_create_decompress(info);
    jpeg_mem_src(info, reinterpret_cast<const unsigned char *>(data->constData()), data->size());
    jpeg_read_header(info, TRUE);
    return true;
}

// Output of scale/8 of the picture's size (scale 1..8).
bool startDecompress(jpeg_decompress_struct *info, ErrorManager *errors, unsigned scale)
{
    if (setjmp(errors->jump))
        return false;
    info->out_color_space = info->jpeg_color_space == JCS_GRAYSCALE ? JCS_GRAYSCALE : JCS_EXT_BGRX;
    info->scale_num = scale;
    info->scale_denom = 8;
    jpeg_start_decompress(info);
    return true;
}

bool readRows(jpeg_decompress_struct *info, ErrorManager *errors, QImage *image)
{
    if (setjmp(errors->jump))
        return false;
    while (info->output_scanline < info->output_height) {
        JSAMPROW row = image->scanLine(int(info->output_scanline));
        jpeg_read_scanlines(info, &row, 1);
    }
    jpeg_finish_decompress(info);
    return true;
}

// The eighths of a picture of width x height that give at least
// minWidth x minHeight pixels (8, the whole size, when nothing smaller
// does or no size is asked for).
unsigned scaleFor(qint64 width, qint64 height, qint64 minWidth, qint64 minHeight)
{
    if (minWidth <= 0 || minHeight <= 0)
        return 8;
    for (unsigned scale = 1; scale < 8; ++scale)
        if ((width * scale + 7) / 8 >= minWidth && (height * scale + 7) / 8 >= minHeight)
            return scale;
    return 8;
}

// The header of data, read into info; malformed data raises.
void openJpeg(jpeg_decompress_struct *info, ErrorManager *errors, const QByteArray *data)
{
    installErrors(reinterpret_cast<jpeg_common_struct *>(info), *errors);
    if (!readHeader(info, errors, data)) {
        jpeg_destroy_decompress(info);
        raise(errors->message);
    }
}

// The encoder's rows of an image of another format, converted a band at a
// time, so that a large image is never held twice.
class EncoderRows
{
public:
    EncoderRows(const QImage &image, QImage::Format format) : m_image(image), m_format(format) {}

    const uchar *Row(int y)
    {
        if (m_image.format() == m_format)
            return m_image.constScanLine(y);
        if (m_band.isNull() || y < m_top || y >= m_top + m_band.height()) {
            constexpr int bandRows = 64;
            m_top = y;
            m_band = m_image.copy(0, y, m_image.width(), std::min(bandRows, m_image.height() - y))
                             .convertToFormat(m_format);
        }
        return m_band.constScanLine(y - m_top);
    }

private:
    const QImage &m_image;
    QImage::Format m_format;
    QImage m_band;
    int m_top = 0;
};

bool compress(jpeg_compress_struct *info, ErrorManager *errors, EncoderRows *rows, QSize pixels, int quality,
              bool grayscale, unsigned char **buffer, unsigned long *size)
{
    if (setjmp(errors->jump))
        return false;
    jpeg_create_compress(info);
    jpeg_mem_dest(info, buffer, size);
    info->image_width = JDIMENSION(pixels.width());
    info->image_height = JDIMENSION(pixels.height());
    info->input_components = grayscale ? 1 : 4;
    info->in_color_space = grayscale ? JCS_GRAYSCALE : JCS_EXT_BGRX;
    jpeg_set_defaults(info);
    jpeg_set_quality(info, quality, TRUE);
    jpeg_start_compress(info, TRUE);
    while (info->next_scanline < info->image_height) {
        auto row = const_cast<JSAMPROW>(rows->Row(int(info->next_scanline)));
        jpeg_write_scanlines(info, &row, 1);
    }
    jpeg_finish_compress(info);
    return true;
}

} // namespace

QSize JpegSize(const QByteArray &data)
{
    jpeg_decompress_struct info{};
    ErrorManager errors;
    openJpeg(&info, &errors, &data);
    const QSize size(int(std::min<JDIMENSION>(info.image_width, INT_MAX)),
                     int(std::min<JDIMENSION>(info.image_height, INT_MAX)));
    jpeg_destroy_decompress(&info);
    return size;
}

QImage DecodeJpeg(const QByteArray &data, int minWidth, int minHeight)
{
    jpeg_decompress_struct info{};
    ErrorManager errors;
    openJpeg(&info, &errors, &data);
    const qint64 width = info.image_width;
    const qint64 height = info.image_height;
    try {
        CheckPictureSize(width, height);
    } catch (...) {
        jpeg_destroy_decompress(&info);
        throw;
    }
    if (!startDecompress(&info, &errors, scaleFor(width, height, minWidth, minHeight))) {
        jpeg_destroy_decompress(&info);
        raise(errors.message);
    }
    const bool gray = info.out_color_space == JCS_GRAYSCALE;
    QImage image(int(info.output_width), int(info.output_height),
                 gray ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
    if (image.isNull()) {
        jpeg_destroy_decompress(&info);
        raise(QT_TRANSLATE_NOOP("JPEGImage", "the picture is too large"));
    }
    const bool complete = readRows(&info, &errors, &image);
    jpeg_destroy_decompress(&info);
    if (!complete)
        raise(errors.message);
    return gray ? image.convertToFormat(QImage::Format_RGB32) : image;
}

QByteArray EncodeJpeg(const QImage &source, int quality, bool grayscale)
{
    EncoderRows rows(source, grayscale ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
    jpeg_compress_struct info{};
    ErrorManager errors;
    installErrors(reinterpret_cast<jpeg_common_struct *>(&info), errors);
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    const bool complete = compress(&info, &errors, &rows, source.size(), std::clamp(quality, 1, 100), grayscale,
                                   &buffer, &size);
    jpeg_destroy_compress(&info);
    QByteArray result;
    if (complete)
        result = QByteArray(reinterpret_cast<const char *>(buffer), qsizetype(size));
    std::free(buffer);
    if (!complete)
        raise(errors.message);
    return result;
}

TJPEGImage::TJPEGImage() : TImageGraphic(QStringLiteral("a JPEG image")) {}

bool TJPEGImage::Empty() const
{
    return m_data.isEmpty() && Image().isNull();
}

int TJPEGImage::Width() const
{
    return Image().isNull() ? m_size.width() : Image().width();
}

int TJPEGImage::Height() const
{
    return Image().isNull() ? m_size.height() : Image().height();
}

void TJPEGImage::keepPixels()
{
    if (!Image().isNull() || m_data.isEmpty() || !m_error.isEmpty())
        return;
    SetImage(DecodeJpeg(m_data));
}

void TJPEGImage::SetCompressionQuality(int value)
{
    value = std::clamp(value, 1, 100);
    if (value == m_quality)
        return;
    keepPixels();
    m_quality = value;
    if (!Image().isNull())
        m_data.clear();
}

void TJPEGImage::SetGrayscale(bool value)
{
    if (value == m_grayscale)
        return;
    keepPixels();
    m_grayscale = value;
    if (!Image().isNull())
        m_data.clear();
}

void TJPEGImage::LoadFromStream(TStream *stream)
{
    const QByteArray data = stream->ReadToEnd();
    QSize size(0, 0);
    QString error;
    try {
        size = JpegSize(data);
    } catch (const EInvalidGraphic &e) {
        // Bytes that start as a JPEG picture stay one that cannot be drawn.
        if (!data.startsWith(QByteArrayLiteral("\xFF\xD8")))
            throw;
        error = e.Message();
    }
    if (error.isEmpty())
        CheckPictureSize(size.width(), size.height());
    SetImage(QImage());
    m_scaled = QImage();
    m_data = data;
    m_size = size;
    m_error = error;
    Changed();
}

void TJPEGImage::SaveToStream(TStream *stream) const
{
    if (m_data.isEmpty() && !Image().isNull())
        m_data = EncodeJpeg(Image(), m_quality, m_grayscale);
    stream->WriteBuffer(m_data);
}

void TJPEGImage::Draw(TCanvas *canvas, const TRect &rect) const
{
    if (!Image().isNull()) {
        TImageGraphic::Draw(canvas, rect);
        return;
    }
    if (m_data.isEmpty() || !m_error.isEmpty() || rect.IsEmpty())
        return;
    const int width = std::abs(rect.Width());
    const int height = std::abs(rect.Height());
    if (m_scaled.isNull() || (m_scaled.width() < width && m_scaled.width() < m_size.width()) ||
        (m_scaled.height() < height && m_scaled.height() < m_size.height())) {
        try {
            m_scaled = DecodeJpeg(m_data, width, height);
        } catch (const EInvalidGraphic &e) {
            m_scaled = QImage();
            m_error = e.Message();
            return;
        }
    }
    canvas->StretchImage(rect, m_scaled);
}

void TJPEGImage::Assign(const TPersistent *source)
{
    if (!source) {
        SetImage(QImage());
        m_scaled = QImage();
        m_data.clear();
        m_size = QSize(0, 0);
        m_error.clear();
    } else if (const auto *jpeg = qobject_cast<const TJPEGImage *>(source)) {
        SetImage(jpeg->Image());
        m_scaled = jpeg->m_scaled;
        m_data = jpeg->m_data;
        m_size = jpeg->m_size;
        m_error = jpeg->m_error;
        m_quality = jpeg->m_quality;
        m_grayscale = jpeg->m_grayscale;
    } else if (const auto *bitmap = qobject_cast<const TBitmap *>(source)) {
        SetImage(bitmap->Image().convertToFormat(QImage::Format_RGB32));
        m_scaled = QImage();
        m_data.clear();
        m_size = Image().size();
        m_error.clear();
    } else {
        TGraphic::Assign(source);
        return;
    }
    Changed();
}
