#pragma once

// Deflate and inflate over the system zlib: a write-only compression stream,
// a one-call buffer decompressor, whole-stream compression, and the reader of
// the gzip-packed resources the program carries.

#include "toolkit/classes/Events.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/classes/Streams.h"

#include <QByteArray>
#include <QString>

#include <zlib.h>

TOOLKIT_EXCEPTION(EZCompressionError, Exception)
TOOLKIT_EXCEPTION(EZDecompressionError, Exception)

// Maps in this order to the zlib levels 0, 1, -1 and 9.
enum TZCompressionLevel { zcNone, zcFastest, zcDefault, zcMax };

class TCustomZStream : public TStream
{
    Q_OBJECT

public:
    ~TCustomZStream() override;

    // Runs each time a full output block has been written.
    TNotifyEvent OnProgress;

protected:
    explicit TCustomZStream(TStream *dest);

    // Writes the first `count` bytes of the output buffer at the remembered
    // destination position.
    void writeOutput(int count);

    static constexpr int OutputBufferSize = 65536;

    TStream *m_dest;
    qint64 m_destPosition;
    z_stream m_zstream{};
    QByteArray m_output;
};

// Everything written to it arrives deflated, in zlib format, on the
// destination (which it does not own).  Finish must be called to complete
// the stream; a stream destroyed without it leaves the destination holding
// an incomplete zlib stream.
class TZCompressionStream : public TCustomZStream
{
    Q_OBJECT

public:
    TZCompressionStream(TStream *dest, TZCompressionLevel level);
    ~TZCompressionStream() override;

    // Always raises "Invalid ZStream operation!".
    qint64 Read(void *buffer, qint64 count) override;
    qint64 Write(const void *buffer, qint64 count) override;
    // Only Seek(0, soCurrent), which answers the number of bytes written so
    // far; anything else raises "Invalid ZStream operation!".
    qint64 Seek(qint64 offset, TSeekOrigin origin) override;

    // Flushes the rest of the deflate data and the checksum.  Raises
    // EZCompressionError (or the destination's own error) on failure.
    void Finish();

private:
    bool m_finished = false;
};

// Output larger than this is refused unless the caller allows more.
constexpr qsizetype ZDefaultMaxOutput = qsizetype(256) * 1024 * 1024;

// Inflates a zlib stream.  The output starts at `outEstimate` bytes (one
// step when 0) and grows by the input size rounded up to 256, or by its own
// size when that is more.  Raises
// EZDecompressionError with zlib's text on corrupt or truncated input, and
// when the output would exceed `maxOutput`.
QByteArray ZDecompressBuffer(const QByteArray &input, qsizetype outEstimate = 0,
                             qsizetype maxOutput = ZDefaultMaxOutput);

// Deflates `size` bytes in one call into a buffer sized by zlib's bound,
// giving the same bytes as the compression stream at every level but
// zcNone (whose stored blocks follow the output buffer's size).  Raises
// EZCompressionError on failure and for more than a gigabyte.
QByteArray ZCompressBuffer(const char *data, qsizetype size, TZCompressionLevel level);

// Deflates the whole source, from its beginning, onto the destination.
void CompressStreamDeflate(TStream *source, TStream *dest, TZCompressionLevel level);

// Reads a gzip-packed resource from the source's position: a gzip header
// (only the file-name flag is understood), raw deflate data, and an 8-byte
// trailer that is ignored.  The MTIME field carries the big-endian Adler-32
// of the data, so an ordinary gzip file fails with "data error".  The data
// is written to `dest`; the stored name, if any, comes back in `fileName`.
void DecompressGZipStream(TStream *source, TStream *dest, QString &fileName);
