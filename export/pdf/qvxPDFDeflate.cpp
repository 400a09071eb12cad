#include "export/pdf/qvxPDFDeflate.h"

#include "report/xml/qvxZLib.h"

#include <zlib.h>

#include <QCoreApplication>

TqvxPDFDeflater::TqvxPDFDeflater() : m_stream(std::make_unique<z_stream_s>()) {}

TqvxPDFDeflater::~TqvxPDFDeflater()
{
    if (m_ready)
        deflateEnd(m_stream.get());
}

QByteArrayView TqvxPDFDeflater::Deflate(const char *data, qsizetype size)
{
    // zlib counts both buffers in 32 bits; the bound of a gigabyte still fits.
    constexpr qsizetype MaxSize = qsizetype(1) << 30;
    if (size < 0 || size > MaxSize)
        throw EZCompressionError(
                QCoreApplication::translate("qvxExportPDF", "Data of %1 bytes is too large to compress at once")
                        .arg(size));
    z_stream &stream = *m_stream;
    if (!m_ready) {
        stream = z_stream();
        const int code = deflateInit(&stream, Z_BEST_SPEED);
        if (code != Z_OK)
            throw EZCompressionError(QString::fromLatin1(zError(code)));
        m_ready = true;
    } else {
        deflateReset(&stream);
    }
    const auto bound = qsizetype(deflateBound(&stream, uLong(size)));
    if (m_output.size() < bound)
        m_output.resize(bound);
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data));
    stream.avail_in = uInt(size);
    stream.next_out = reinterpret_cast<Bytef *>(m_output.data());
    stream.avail_out = uInt(m_output.size());
    const int code = deflate(&stream, Z_FINISH);
    if (code != Z_STREAM_END)
        throw EZCompressionError(QString::fromLatin1(zError(code < 0 ? code : Z_BUF_ERROR)));
    return QByteArrayView(m_output.constData(), qsizetype(stream.total_out));
}
