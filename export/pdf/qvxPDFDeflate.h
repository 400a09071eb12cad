#pragma once

// Deflates the streams of one PDF file one after another with one zlib
// state, reset between streams, and one output buffer that only grows:
// zlib format at the fastest level, as every stream of the file is stored.

#include <QByteArray>
#include <QByteArrayView>

#include <memory>

struct z_stream_s;

class TqvxPDFDeflater
{
public:
    TqvxPDFDeflater();
    ~TqvxPDFDeflater();
    TqvxPDFDeflater(const TqvxPDFDeflater &) = delete;
    TqvxPDFDeflater &operator=(const TqvxPDFDeflater &) = delete;

    // The deflated bytes, valid until the next call; raises
    // EZCompressionError when zlib fails.
    QByteArrayView Deflate(const char *data, qsizetype size);

private:
    std::unique_ptr<z_stream_s> m_stream;
    bool m_ready = false;
    QByteArray m_output;
};
