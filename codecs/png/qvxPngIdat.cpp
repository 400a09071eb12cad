#include "codecs/png/qvxPngIdat.h"

#include "codecs/png/qvxPngErrors.h"
#include "codecs/png/qvxPngFilters.h"
#include "codecs/png/qvxPngHeader.h"
#include "codecs/png/qvxPngImage.h"
#include "codecs/png/qvxPngRows.h"
#include "toolkit/classes/Streams.h"

#include <QtEndian>

#include <vector>

#include <zlib.h>

namespace {

const QByteArray idatName("IDAT");
constexpr qint64 InputBlock = 65535;
constexpr quint32 MaxChunkLength = 0x7FFFFFFF;

quint32 nameCRC()
{
    return quint32(crc32(0, reinterpret_cast<const Bytef *>(idatName.constData()), 4));
}

// Inflates the image data across consecutive IDAT chunks, keeping the CRC
// of the chunk being read.
class IdatReader
{
public:
    IdatReader(TStream *stream, quint32 length)
        : m_stream(stream), m_left(length), m_crc(nameCRC()), m_input(InputBlock)
    {
        checkLength(length);
        const int code = inflateInit(&m_zlib);
        if (code != Z_OK)
            throw EPNGZLIBError(code);
    }
    ~IdatReader() { inflateEnd(&m_zlib); }
    IdatReader(const IdatReader &) = delete;
    IdatReader &operator=(const IdatReader &) = delete;

    // Exactly count bytes of image data.
    void Read(quint8 *out, qsizetype count)
    {
        m_zlib.next_out = out;
        m_zlib.avail_out = uInt(count);
        while (m_zlib.avail_out > 0) {
            if (m_ended)
                throw EPngUnexpectedEnd();
            if (m_zlib.avail_in == 0) {
                if (m_left == 0)
                    NextChunk();
                FillInput();
                continue;
            }
            const int code = inflate(&m_zlib, Z_NO_FLUSH);
            if (code == Z_STREAM_END)
                m_ended = true;
            else if (code != Z_OK && code != Z_BUF_ERROR)
                throw EPNGZLIBError(code);
        }
    }

    // Reads what is left of the last chunk and checks its CRC.
    void Finish()
    {
        while (m_left > 0)
            FillInput();
        CheckCRC();
    }

private:
    void checkLength(quint32 length)
    {
        if (length > MaxChunkLength || qint64(length) + 4 > m_stream->Size() - m_stream->Position())
            throw EPngUnexpectedEnd();
    }

    void FillInput()
    {
        const qint64 count = std::min<qint64>(m_left, InputBlock);
        if (m_stream->Read(m_input.data(), count) != count)
            throw EPngUnexpectedEnd();
        m_crc = quint32(crc32(m_crc, m_input.data(), uInt(count)));
        m_left -= count;
        m_zlib.next_in = m_input.data();
        m_zlib.avail_in = uInt(count);
    }

    void CheckCRC()
    {
        char crc[4];
        if (m_stream->Read(crc, 4) != 4)
            throw EPngUnexpectedEnd();
        if (qFromBigEndian<quint32>(crc) != m_crc)
            throw EPngInvalidCRC();
    }

    void NextChunk()
    {
        CheckCRC();
        char head[8];
        if (m_stream->Read(head, 8) != 8)
            throw EPngUnexpectedEnd();
        if (QByteArray(head + 4, 4) != idatName)
            throw EPNGMissingMultipleIDAT();
        const quint32 length = qFromBigEndian<quint32>(head);
        checkLength(length);
        m_left = length;
        m_crc = nameCRC();
    }

    TStream *m_stream;
    qint64 m_left;
    quint32 m_crc;
    std::vector<Bytef> m_input;
    z_stream m_zlib{};
    bool m_ended = false;
};

// Deflates filtered rows into IDAT chunks of a fixed size.
class IdatWriter
{
public:
    IdatWriter(TStream *stream, int level, quint32 chunkSize) : m_stream(stream), m_output(chunkSize)
    {
        const int code = deflateInit(&m_zlib, level);
        if (code != Z_OK)
            throw EPNGZLIBError(code);
        Reset();
    }
    ~IdatWriter() { deflateEnd(&m_zlib); }
    IdatWriter(const IdatWriter &) = delete;
    IdatWriter &operator=(const IdatWriter &) = delete;

    void Write(const quint8 *data, qsizetype size)
    {
        m_zlib.next_in = const_cast<Bytef *>(data);
        m_zlib.avail_in = uInt(size);
        while (m_zlib.avail_in > 0)
            Deflate(Z_NO_FLUSH);
    }

    void Finish()
    {
        while (Deflate(Z_FINISH) != Z_STREAM_END) {
        }
        if (const qsizetype used = qsizetype(m_output.size()) - m_zlib.avail_out)
            WriteChunk(m_stream, idatName, reinterpret_cast<const char *>(m_output.data()), used);
    }

private:
    int Deflate(int flush)
    {
        const int code = deflate(&m_zlib, flush);
        if (code != Z_OK && code != Z_STREAM_END && code != Z_BUF_ERROR)
            throw EPNGZLIBError(code);
        if (m_zlib.avail_out == 0) {
            WriteChunk(m_stream, idatName, reinterpret_cast<const char *>(m_output.data()), qsizetype(m_output.size()));
            Reset();
        }
        return code;
    }

    void Reset()
    {
        m_zlib.next_out = m_output.data();
        m_zlib.avail_out = uInt(m_output.size());
    }

    TStream *m_stream;
    std::vector<Bytef> m_output;
    z_stream m_zlib{};
};

TChunkIHDR &headerOf(const TPNGObject *owner)
{
    TChunkIHDR *header = owner->Header();
    if (!header)
        throw EPNGHeaderNotPresent();
    return *header;
}

// The filter with the best score among the candidates of the set; None
// when no candidate scores.
quint8 chooseFilter(quint8 filters, const std::vector<std::vector<quint8>> &candidates, qsizetype size)
{
    if (filters == 0 || filters == pfNone)
        return ftNone;
    quint8 best = ftNone;
    qsizetype bestScore = 0;
    for (quint8 type = ftNone; type <= ftPaeth; ++type) {
        if (!(filters & (1 << type)))
            continue;
        if (filters == (1 << type))
            return type;
        const qsizetype score = FilterScore(candidates[type].data() + 1, size);
        if (score > bestScore) {
            best = type;
            bestScore = score;
        }
    }
    return best;
}

} // namespace

bool TChunkIDAT::LoadFromStream(TStream *stream, const QByteArray &name, quint32 size)
{
    SetName(name);
    TChunkIHDR &header = headerOf(Owner());
    // A palette chunk read before the data never recolours a grey image.
    if (header.HasPalette() && (header.ColorType == 0 || header.ColorType == 4))
        header.BuildGrayPalette();
    if (Owner()->ReadsSharedPlanes()) {
        // The same bytes decoded before: the planes hold their pixels.
        if (qint64(size) + 4 > stream->Size() - stream->Position())
            throw EPngUnexpectedEnd();
        stream->Seek(qint64(size) + 4, soCurrent);
        return true;
    }
    IdatReader reader(stream, size);
    const TRowStore store = RowStoreFor(header);
    const int offset = header.Offset();
    const size_t rowBytes = size_t(header.BytesForPixels(header.Width));
    std::vector<quint8> current(rowBytes + 1);
    std::vector<quint8> previous(rowBytes + 1);
    ForEachFileRow(
        header, header.InterlaceMethod, [&] { std::fill(previous.begin(), previous.end(), 0); },
        [&](int y, const TInterlacePass &pass, int passWidth, qsizetype passBytes) {
            reader.Read(current.data(), passBytes + 1);
            const quint8 filter = current[0];
            if (filter > ftPaeth)
                throw EPNGZLIBError(Z_DATA_ERROR);
            UnfilterRow(filter, current.data() + 1, previous.data() + 1, passBytes, offset);
            store(header, current.data() + 1, y, pass.X0, pass.DX, passWidth);
            current.swap(previous);
        });
    reader.Finish();
    return true;
}

void TChunkIDAT::SaveToStream(TStream *stream)
{
    const TChunkIHDR &header = headerOf(Owner());
    const TRowLoad load = RowLoadFor(header);
    const quint8 filters = Owner()->Filters();
    const int offset = header.Offset();
    const size_t rowBytes = size_t(header.BytesForPixels(header.Width));
    std::vector<quint8> raw(rowBytes);
    std::vector<quint8> previous(rowBytes);
    // One row for each filter type, with its filter byte first.
    std::vector<std::vector<quint8>> candidates(ftPaeth + 1, std::vector<quint8>(rowBytes + 1));

    IdatWriter writer(stream, Owner()->CompressionLevel(), Owner()->MaxIdatSize());
    ForEachFileRow(
        header, Owner()->InterlaceMethod(), [&] { std::fill(previous.begin(), previous.end(), 0); },
        [&](int y, const TInterlacePass &pass, int passWidth, qsizetype passBytes) {
            load(header, raw.data(), y, pass.X0, pass.DX, passWidth);
            for (quint8 type = ftNone; type <= ftPaeth; ++type) {
                if (type == ftNone || (filters & (1 << type))) {
                    candidates[type][0] = type;
                    FilterRow(type, raw.data(), previous.data(), candidates[type].data() + 1, passBytes, offset);
                }
            }
            const quint8 chosen = chooseFilter(filters, candidates, passBytes);
            writer.Write(candidates[chosen].data(), passBytes + 1);
            raw.swap(previous);
        });
    writer.Finish();
}
