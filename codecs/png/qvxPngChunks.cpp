#include "codecs/png/qvxPngChunks.h"

#include "codecs/png/qvxPngErrors.h"
#include "codecs/png/qvxPngHeader.h"
#include "codecs/png/qvxPngIdat.h"
#include "codecs/png/qvxPngImage.h"
#include "report/xml/qvxZLib.h"
#include "toolkit/classes/Streams.h"

#include <QtEndian>

#include <zlib.h>

namespace {

constexpr quint32 MaxChunkLength = 0x7FFFFFFF;

struct RegisteredChunk {
    QByteArray Name;
    TChunkFactory Create;
};

std::vector<RegisteredChunk> &registry()
{
    static std::vector<RegisteredChunk> list;
    return list;
}

void registerBuiltIn()
{
    static const bool done = [] {
        RegisterChunk<TChunkIEND>();
        RegisterChunk<TChunkIHDR>();
        RegisterChunk<TChunkIDAT>();
        RegisterChunk<TChunkPLTE>();
        RegisterChunk<TChunkgAMA>();
        RegisterChunk<TChunktRNS>();
        RegisterChunk<TChunkpHYs>();
        RegisterChunk<TChunktIME>();
        RegisterChunk<TChunktEXt>();
        RegisterChunk<TChunkzTXt>();
        return true;
    }();
    Q_UNUSED(done);
}

quint8 byteAt(const QByteArray &data, qsizetype i)
{
    return quint8(data[i]);
}

quint32 u32At(const QByteArray &data, qsizetype i)
{
    return qFromBigEndian<quint32>(data.constData() + i);
}

void appendU32(QByteArray &data, quint32 value)
{
    char bytes[4];
    qToBigEndian(value, bytes);
    data.append(bytes, 4);
}

void appendU16(QByteArray &data, quint16 value)
{
    char bytes[2];
    qToBigEndian(value, bytes);
    data.append(bytes, 2);
}

template <class T>
const T &sameClass(const TChunk &source)
{
    const auto *typed = dynamic_cast<const T *>(&source);
    if (!typed)
        throw EPngError::Incompatible();
    return *typed;
}

} // namespace

quint32 ChunkCRC(const QByteArray &name, const char *data, qint64 size)
{
    uLong crc = crc32(0, reinterpret_cast<const Bytef *>(name.constData()), uInt(name.size()));
    return quint32(crc32_z(crc, reinterpret_cast<const Bytef *>(data), z_size_t(size)));
}

void WriteChunk(TStream *stream, const QByteArray &name, const char *data, qint64 size)
{
    char word[4];
    qToBigEndian(quint32(size), word);
    stream->WriteBuffer(word, 4);
    stream->WriteBuffer(name.constData(), 4);
    stream->WriteBuffer(data, size);
    qToBigEndian(ChunkCRC(name, data, size), word);
    stream->WriteBuffer(word, 4);
}

// --- TChunk ------------------------------------------------------------------

TChunk::TChunk(TPNGObject *owner) : m_owner(owner) {}

TChunk::~TChunk() = default;

void TChunk::Assign(const TChunk &source)
{
    m_name = source.m_name;
    m_data = source.m_data;
}

bool TChunk::LoadFromStream(TStream *stream, const QByteArray &name, quint32 size)
{
    m_name = name;
    if (size > MaxChunkLength || qint64(size) + 4 > stream->Size() - stream->Position())
        throw EPngUnexpectedEnd();
    m_data = stream->ReadBytes(size);
    char crc[4];
    if (m_data.size() != qsizetype(size) || stream->Read(crc, 4) != 4)
        throw EPngUnexpectedEnd();
    if (qFromBigEndian<quint32>(crc) != ChunkCRC(name, m_data.constData(), m_data.size()))
        throw EPngInvalidCRC();
    return true;
}

void TChunk::SaveToStream(TStream *stream)
{
    WriteChunk(stream, m_name, m_data.constData(), m_data.size());
}

// --- TDecodedChunk -----------------------------------------------------------

void TDecodedChunk::Assign(const TChunk &source)
{
    TChunk::Assign(source);
    Decode();
}

bool TDecodedChunk::LoadFromStream(TStream *stream, const QByteArray &name, quint32 size)
{
    TChunk::LoadFromStream(stream, name, size);
    Decode();
    return true;
}

// --- PLTE --------------------------------------------------------------------

void TChunkPLTE::Assign(const TChunk &source)
{
    m_count = sameClass<TChunkPLTE>(source).m_count;
    TChunk::Assign(source);
}

bool TChunkPLTE::LoadFromStream(TStream *stream, const QByteArray &name, quint32 size)
{
    if (size % 3 != 0 || size / 3 > 256)
        throw EPNGInvalidPalette();
    TChunk::LoadFromStream(stream, name, size);
    m_count = int(size / 3);
    QList<QRgb> palette;
    for (int i = 0; i < m_count; ++i)
        palette.append(qRgb(byteAt(Data(), 3 * i), byteAt(Data(), 3 * i + 1), byteAt(Data(), 3 * i + 2)));
    Owner()->SetPalette(palette);
    return true;
}

void TChunkPLTE::SaveToStream(TStream *stream)
{
    // The suggested palette of an RGB image is kept as read.
    const TChunkIHDR *header = Owner()->Header();
    if (header && !header->HasPalette()) {
        TChunk::SaveToStream(stream);
        return;
    }
    const QList<QRgb> palette = Owner()->Palette();
    const int count = m_count > 0 ? std::min<int>(m_count, palette.size()) : palette.size();
    QByteArray data;
    for (int i = 0; i < count; ++i) {
        data.append(char(qRed(palette[i])));
        data.append(char(qGreen(palette[i])));
        data.append(char(qBlue(palette[i])));
    }
    SetData(data);
    TChunk::SaveToStream(stream);
}

// --- tRNS --------------------------------------------------------------------

quint16 TChunktRNS::KeySample(int channel) const
{
    const qsizetype at = 2 * channel;
    return at + 1 < DataSize() ? qFromBigEndian<quint16>(Data().constData() + at) : 0;
}

quint8 TChunktRNS::KeyByte(int channel) const
{
    const TChunkIHDR *header = Owner()->Header();
    const quint16 sample = KeySample(channel);
    return quint8(header && header->BitDepth == 16 ? sample >> 8 : sample);
}

void TChunktRNS::Decode()
{
    m_paletteValues.fill(255);
    for (qsizetype i = 0; i < DataSize(); ++i)
        m_paletteValues[size_t(i)] = byteAt(Data(), i);
    const TChunkIHDR *header = Owner()->Header();
    const int colorType = header ? header->ColorType : -1;
    if (colorType == 3) {
        int below = 0;
        for (qsizetype i = 0; i < DataSize(); ++i)
            below += byteAt(Data(), i) < 255;
        m_bitTransparency = below == 1;
    } else {
        m_bitTransparency = colorType == 0 || colorType == 2;
    }
}

bool TChunktRNS::SetTransparentColor(quint32 rgb)
{
    const TChunkIHDR *header = Owner()->Header();
    if (!header)
        throw EPNGHeaderNotPresent();
    QByteArray data;
    switch (header->ColorType) {
    case 0:
        appendU16(data, quint16(qRed(rgb)));
        break;
    case 2:
        appendU16(data, quint16(qRed(rgb)));
        appendU16(data, quint16(qGreen(rgb)));
        appendU16(data, quint16(qBlue(rgb)));
        break;
    case 3: {
        const QList<QRgb> palette = header->Image.colorTable();
        const qsizetype index = palette.indexOf(rgb | 0xFF000000u);
        if (index < 0)
            return false;
        data = QByteArray(index + 1, char(255));
        data[index] = 0;
        break;
    }
    default:
        return false;
    }
    SetData(data);
    Decode();
    return true;
}

bool TChunktRNS::LoadFromStream(TStream *stream, const QByteArray &name, quint32 size)
{
    if (size > 256)
        throw EPNGInvalidPalette();
    const TChunkIHDR *header = Owner()->Header();
    if (header && ((header->ColorType == 0 && size < 2) || (header->ColorType == 2 && size < 6)))
        throw EPNGInvalidPalette();
    return TDecodedChunk::LoadFromStream(stream, name, size);
}

// --- gAMA --------------------------------------------------------------------

TChunkgAMA::TChunkgAMA(TPNGObject *owner) : TChunk(owner)
{
    SetName(ChunkName);
    SetGamma(45455);
}

quint32 TChunkgAMA::Gamma() const
{
    return DataSize() >= 4 ? u32At(Data(), 0) : 0;
}

void TChunkgAMA::SetGamma(quint32 value)
{
    QByteArray data;
    appendU32(data, value);
    SetData(data);
}

void TChunkgAMA::Assign(const TChunk &source)
{
    TChunk::Assign(sameClass<TChunkgAMA>(source));
}

bool TChunkgAMA::LoadFromStream(TStream *stream, const QByteArray &name, quint32 size)
{
    TChunk::LoadFromStream(stream, name, size);
    if (const quint32 gamma = Gamma())
        Owner()->SetGamma(gamma);
    return true;
}

// --- pHYs --------------------------------------------------------------------

void TChunkpHYs::Decode()
{
    if (DataSize() != 9)
        return;
    PPUnitX = u32At(Data(), 0);
    PPUnitY = u32At(Data(), 4);
    Unit = byteAt(Data(), 8);
}

void TChunkpHYs::SaveToStream(TStream *stream)
{
    QByteArray data;
    appendU32(data, PPUnitX);
    appendU32(data, PPUnitY);
    data.append(char(Unit));
    SetData(data);
    TChunk::SaveToStream(stream);
}

// --- tIME --------------------------------------------------------------------

void TChunktIME::Decode()
{
    if (DataSize() != 7)
        return;
    Year = qFromBigEndian<quint16>(Data().constData());
    Month = byteAt(Data(), 2);
    Day = byteAt(Data(), 3);
    Hour = byteAt(Data(), 4);
    Min = byteAt(Data(), 5);
    Sec = byteAt(Data(), 6);
}

void TChunktIME::SaveToStream(TStream *stream)
{
    QByteArray data;
    appendU16(data, Year);
    for (quint8 value : {Month, Day, Hour, Min, Sec})
        data.append(char(value));
    SetData(data);
    TChunk::SaveToStream(stream);
}

// --- tEXt and zTXt -----------------------------------------------------------

void TChunktEXt::Decode()
{
    if (DataSize() < 3)
        return;
    const qsizetype zero = Data().indexOf('\0');
    Keyword = zero < 0 ? Data() : Data().left(zero);
    Text = zero < 0 ? QByteArray() : Data().mid(zero + 1);
}

void TChunktEXt::SaveToStream(TStream *stream)
{
    SetData(Keyword + '\0' + Text);
    TChunk::SaveToStream(stream);
}

void TChunkzTXt::Decode()
{
    if (DataSize() < 4)
        return;
    const qsizetype zero = Data().indexOf('\0');
    if (zero < 0 || zero + 1 >= DataSize() || Data()[zero + 1] != 0)
        return;
    Keyword = Data().left(zero);
    try {
        Text = ZDecompressBuffer(Data().mid(zero + 2), 0, MaxTextSize);
    } catch (const EZDecompressionError &) {
        Text.clear();
    }
}

void TChunkzTXt::SaveToStream(TStream *stream)
{
    const QByteArray text = Text.isEmpty() ? QByteArray(" ") : Text;
    uLongf size = compressBound(uLong(text.size()));
    QByteArray packed(qsizetype(size), Qt::Uninitialized);
    const int code = compress2(reinterpret_cast<Bytef *>(packed.data()), &size,
                               reinterpret_cast<const Bytef *>(text.constData()), uLong(text.size()),
                               Owner()->CompressionLevel());
    if (code != Z_OK)
        throw EPNGZLIBError(code);
    packed.truncate(qsizetype(size));
    SetData(Keyword + '\0' + '\0' + packed);
    TChunk::SaveToStream(stream);
}

// --- IEND --------------------------------------------------------------------

bool TChunkIEND::LoadFromStream(TStream *stream, const QByteArray &name, quint32 size)
{
    TChunk::LoadFromStream(stream, name, size);
    return false;
}

// --- Registry and list -------------------------------------------------------

void RegisterChunk(const QByteArray &name, TChunkFactory create)
{
    registry().push_back({name, std::move(create)});
}

std::unique_ptr<TChunk> CreateClassChunk(TPNGObject *owner, const QByteArray &name)
{
    registerBuiltIn();
    std::unique_ptr<TChunk> chunk;
    for (const RegisteredChunk &entry : registry()) {
        if (entry.Name == name) {
            chunk.reset(entry.Create(owner));
            break;
        }
    }
    if (!chunk)
        chunk = std::make_unique<TChunk>(owner);
    chunk->SetName(name);
    return chunk;
}

TChunk *TPNGList::Item(int index) const
{
    return index >= 0 && index < Count() ? m_items[size_t(index)].get() : nullptr;
}

TChunk *TPNGList::Add(std::unique_ptr<TChunk> chunk)
{
    m_items.push_back(std::move(chunk));
    return m_items.back().get();
}

void TPNGList::Remove(TChunk *chunk)
{
    for (auto it = m_items.begin(); it != m_items.end(); ++it) {
        if (it->get() == chunk) {
            m_items.erase(it);
            return;
        }
    }
}

void TPNGList::SetCount(int count)
{
    if (count >= 0 && count < Count())
        m_items.resize(size_t(count));
}
