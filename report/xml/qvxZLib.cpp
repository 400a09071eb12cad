#include "report/xml/qvxZLib.h"

#include <algorithm>

namespace {

const char *const InvalidOperation = "Invalid ZStream operation!";

int zlibLevel(TZCompressionLevel level)
{
    static const int levels[] = {0, 1, -1, 9};
    return levels[level];
}

template <class Error>
void check(int code)
{
    if (code < 0)
        throw Error(QString::fromLatin1(zError(code)));
}

// Ends inflate however the decompression ends.
struct InflateGuard {
    z_stream &stream;
    ~InflateGuard() { inflateEnd(&stream); }
};

} // namespace

TCustomZStream::TCustomZStream(TStream *dest)
    : m_dest(dest), m_destPosition(dest->Position()), m_output(OutputBufferSize, Qt::Uninitialized)
{
}

TCustomZStream::~TCustomZStream() = default;

void TCustomZStream::writeOutput(int count)
{
    if (m_dest->Position() != m_destPosition)
        m_dest->SetPosition(m_destPosition);
    m_dest->WriteBuffer(m_output.constData(), count);
    m_destPosition = m_dest->Position();
}

TZCompressionStream::TZCompressionStream(TStream *dest, TZCompressionLevel level)
    : TCustomZStream(dest)
{
    check<EZCompressionError>(deflateInit(&m_zstream, zlibLevel(level)));
    m_zstream.next_out = reinterpret_cast<Bytef *>(m_output.data());
    m_zstream.avail_out = OutputBufferSize;
}

TZCompressionStream::~TZCompressionStream()
{
    deflateEnd(&m_zstream);
}

qint64 TZCompressionStream::Read(void *, qint64)
{
    throw EZCompressionError(QString::fromLatin1(InvalidOperation));
}

qint64 TZCompressionStream::Write(const void *buffer, qint64 count)
{
    const auto *bytes = static_cast<const Bytef *>(buffer);
    qint64 remaining = count;
    while (remaining > 0) {
        const auto chunk = uInt(std::min<qint64>(remaining, 1 << 30));
        m_zstream.next_in = const_cast<Bytef *>(bytes);
        m_zstream.avail_in = chunk;
        while (m_zstream.avail_in > 0) {
            check<EZCompressionError>(deflate(&m_zstream, Z_NO_FLUSH));
            if (m_zstream.avail_out == 0) {
                writeOutput(OutputBufferSize);
                m_zstream.next_out = reinterpret_cast<Bytef *>(m_output.data());
                m_zstream.avail_out = OutputBufferSize;
                if (OnProgress)
                    OnProgress(this);
            }
        }
        bytes += chunk;
        remaining -= chunk;
    }
    return count;
}

qint64 TZCompressionStream::Seek(qint64 offset, TSeekOrigin origin)
{
    if (offset != 0 || origin != soCurrent)
        throw EZCompressionError(QString::fromLatin1(InvalidOperation));
    return qint64(m_zstream.total_in);
}

void TZCompressionStream::Finish()
{
    if (m_finished)
        return;
    m_zstream.next_in = nullptr;
    m_zstream.avail_in = 0;
    for (;;) {
        const int code = deflate(&m_zstream, Z_FINISH);
        check<EZCompressionError>(code);
        const int produced = OutputBufferSize - int(m_zstream.avail_out);
        if (produced > 0)
            writeOutput(produced);
        m_zstream.next_out = reinterpret_cast<Bytef *>(m_output.data());
        m_zstream.avail_out = OutputBufferSize;
        if (code == Z_STREAM_END)
            break;
    }
    m_finished = true;
}

QByteArray ZDecompressBuffer(const QByteArray &input, qsizetype outEstimate, qsizetype maxOutput)
{
    const qsizetype step = std::max<qsizetype>(256, (input.size() + 255) / 256 * 256);
    QByteArray output(std::min(outEstimate > 0 ? outEstimate : step, maxOutput), Qt::Uninitialized);

    z_stream stream{};
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(input.constData()));
    stream.avail_in = uInt(input.size());
    check<EZDecompressionError>(inflateInit(&stream));
    InflateGuard guard{stream};

    for (;;) {
        stream.next_out = reinterpret_cast<Bytef *>(output.data()) + stream.total_out;
        stream.avail_out = uInt(output.size() - qsizetype(stream.total_out));
        const int code = inflate(&stream, Z_NO_FLUSH);
        if (code == Z_STREAM_END)
            break;
        check<EZDecompressionError>(code);
        if (stream.avail_out > 0) {
            // Room left but no end: the input ran out before the stream did.
            throw EZDecompressionError(QString::fromLatin1(zError(Z_BUF_ERROR)));
        }
        if (output.size() >= maxOutput)
            throw EZDecompressionError(QStringLiteral("Decompressed data exceeds %1 bytes").arg(maxOutput));
        // Growing by at least the size so far keeps a large output linear.
        output.resize(std::min(output.size() + std::max(step, output.size()), maxOutput));
    }
    output.resize(qsizetype(stream.total_out));
    return output;
}

QByteArray ZCompressBuffer(const char *data, qsizetype size, TZCompressionLevel level)
{
    // zlib counts both buffers in 32 bits; the bound of a gigabyte still fits.
    constexpr qsizetype MaxSize = qsizetype(1) << 30;
    if (size < 0 || size > MaxSize)
        throw EZCompressionError(QStringLiteral("Data of %1 bytes is too large to compress at once").arg(size));
    QByteArray output(qsizetype(compressBound(uLong(size))), Qt::Uninitialized);
    z_stream stream{};
    check<EZCompressionError>(deflateInit(&stream, zlibLevel(level)));
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data));
    stream.avail_in = uInt(size);
    stream.next_out = reinterpret_cast<Bytef *>(output.data());
    stream.avail_out = uInt(output.size());
    const int code = deflate(&stream, Z_FINISH);
    deflateEnd(&stream);
    if (code != Z_STREAM_END)
        throw EZCompressionError(QString::fromLatin1(zError(code < 0 ? code : Z_BUF_ERROR)));
    output.resize(qsizetype(stream.total_out));
    return output;
}

void CompressStreamDeflate(TStream *source, TStream *dest, TZCompressionLevel level)
{
    TZCompressionStream compressor(dest, level);
    compressor.CopyFrom(source, 0);
    compressor.Finish();
}

void DecompressGZipStream(TStream *source, TStream *dest, QString &fileName)
{
    constexpr int HeaderSize = 10;
    constexpr int TrailerSize = 8;
    constexpr unsigned char FlagName = 8;

    const QByteArray data = source->ReadToEnd();
    const auto byteAt = [&](qsizetype i) { return static_cast<unsigned char>(data[i]); };
    if (data.size() < HeaderSize + TrailerSize || byteAt(0) != 0x1F || byteAt(1) != 0x8B
        || byteAt(2) != 8)
        throw EZDecompressionError(QString::fromLatin1(zError(Z_DATA_ERROR)));

    qsizetype pos = HeaderSize;
    fileName.clear();
    if (byteAt(3) & FlagName) {
        const qsizetype end = data.indexOf('\0', pos);
        if (end < 0 || end + 1 > data.size() - TrailerSize)
            throw EZDecompressionError(QString::fromLatin1(zError(Z_DATA_ERROR)));
        fileName = QString::fromLatin1(data.constData() + pos, end - pos);
        pos = end + 1;
    }

    QByteArray zlibStream("\x78\xDA", 2);
    zlibStream += data.mid(pos, data.size() - TrailerSize - pos);
    zlibStream += data.mid(4, 4);
    dest->WriteBuffer(ZDecompressBuffer(zlibStream));
}
