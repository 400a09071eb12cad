#include "toolkit/graphics/JPEGImage.h"

#include "toolkit/graphics/BitmapLimits.h"

#include "toolkit/graphics/Bitmap.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/classes/Streams.h"

#include <algorithm>
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

[[noreturn]] void raise(const char *message)
{
    throw EInvalidGraphic(QStringLiteral("JPEG image is not valid: %1").arg(QString::fromLatin1(message)));
}

// The steps that call into libjpeg keep no C++ objects of their own, so
// that the jump back from errorExit skips no destructor.
bool startDecompress(jpeg_decompress_struct *info, ErrorManager *errors, const QByteArray *data)
{
    if (setjmp(errors->jump))
        return false;
    jpeg_create_decompress(info);
    jpeg_mem_src(info, reinterpret_cast<const unsigned char *>(data->constData()), data->size());
    jpeg_read_header(info, TRUE);
    info->out_color_space = info->jpeg_color_space == JCS_GRAYSCALE ? JCS_GRAYSCALE : JCS_EXT_BGRX;
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

bool compress(jpeg_compress_struct *info, ErrorManager *errors, const QImage *image, int quality, bool grayscale,
              unsigned char **buffer, unsigned long *size)
{
    if (setjmp(errors->jump))
        return false;
    jpeg_create_compress(info);
    jpeg_mem_dest(info, buffer, size);
    info->image_width = JDIMENSION(image->width());
    info->image_height = JDIMENSION(image->height());
    info->input_components = grayscale ? 1 : 4;
    info->in_color_space = grayscale ? JCS_GRAYSCALE : JCS_EXT_BGRX;
    jpeg_set_defaults(info);
    jpeg_set_quality(info, quality, TRUE);
    jpeg_start_compress(info, TRUE);
    while (info->next_scanline < info->image_height) {
        auto row = const_cast<JSAMPROW>(image->constScanLine(int(info->next_scanline)));
        jpeg_write_scanlines(info, &row, 1);
    }
    jpeg_finish_compress(info);
    return true;
}

} // namespace

QImage DecodeJpeg(const QByteArray &data)
{
    jpeg_decompress_struct info{};
    ErrorManager errors;
    installErrors(reinterpret_cast<jpeg_common_struct *>(&info), errors);
    if (!startDecompress(&info, &errors, &data)) {
        jpeg_destroy_decompress(&info);
        raise(errors.message);
    }
    if (!BitmapSizeAllowed(info.output_width, info.output_height)) {
        jpeg_destroy_decompress(&info);
        raise("the picture is too large");
    }
    const bool gray = info.out_color_space == JCS_GRAYSCALE;
    QImage image(int(info.output_width), int(info.output_height),
                 gray ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
    if (image.isNull()) {
        jpeg_destroy_decompress(&info);
        raise("the picture is too large");
    }
    const bool complete = readRows(&info, &errors, &image);
    jpeg_destroy_decompress(&info);
    if (!complete)
        raise(errors.message);
    return gray ? image.convertToFormat(QImage::Format_RGB32) : image;
}

QByteArray EncodeJpeg(const QImage &source, int quality, bool grayscale)
{
    const QImage image = grayscale ? source.convertToFormat(QImage::Format_Grayscale8)
                                   : source.convertToFormat(QImage::Format_RGB32);
    jpeg_compress_struct info{};
    ErrorManager errors;
    installErrors(reinterpret_cast<jpeg_common_struct *>(&info), errors);
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    const bool complete = compress(&info, &errors, &image, std::clamp(quality, 1, 100), grayscale, &buffer, &size);
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

void TJPEGImage::SetCompressionQuality(int value)
{
    value = std::clamp(value, 1, 100);
    if (value == m_quality)
        return;
    m_quality = value;
    m_data.clear();
}

void TJPEGImage::SetGrayscale(bool value)
{
    if (value == m_grayscale)
        return;
    m_grayscale = value;
    m_data.clear();
}

void TJPEGImage::LoadFromStream(TStream *stream)
{
    const QByteArray data = stream->ReadToEnd();
    SetImage(DecodeJpeg(data));
    m_data = data;
    Changed();
}

void TJPEGImage::SaveToStream(TStream *stream) const
{
    if (Image().isNull())
        return;
    if (m_data.isEmpty())
        m_data = EncodeJpeg(Image(), m_quality, m_grayscale);
    stream->WriteBuffer(m_data);
}

void TJPEGImage::Assign(const TPersistent *source)
{
    if (const auto *jpeg = qobject_cast<const TJPEGImage *>(source)) {
        SetImage(jpeg->Image());
        m_data = jpeg->m_data;
        m_quality = jpeg->m_quality;
        m_grayscale = jpeg->m_grayscale;
    } else if (const auto *bitmap = qobject_cast<const TBitmap *>(source)) {
        SetImage(bitmap->Image().convertToFormat(QImage::Format_RGB32));
        m_data.clear();
    } else {
        TGraphic::Assign(source);
        return;
    }
    Changed();
}
