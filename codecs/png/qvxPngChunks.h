#pragma once

// The chunks of a PNG stream.
//
// A PNG picture is held as the ordered list of its chunks, one object per
// chunk of the file.  Every chunk keeps its raw data; the classes of the
// known chunk types also decode their fields.  A chunk is written as its
// length (big-endian), its 4-byte name, its data and the CRC-32 over name and
// data.  The header (IHDR) and the image data (IDAT) are in qvxPngHeader.h
// and qvxPngIdat.h.
//
// Lengths from the stream are never trusted: a length above 2^31 - 1 or
// beyond the end of the stream raises EPngUnexpectedEnd before anything is
// allocated.

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class TPNGObject;
class TStream;

// The CRC-32 of the PNG format over a chunk's name followed by its data.
quint32 ChunkCRC(const QByteArray &name, const char *data, qint64 size);

// Writes one chunk: length, name, data and CRC.
void WriteChunk(TStream *stream, const QByteArray &name, const char *data, qint64 size);

class TChunk
{
public:
    explicit TChunk(TPNGObject *owner);
    virtual ~TChunk();
    TChunk(const TChunk &) = delete;
    TChunk &operator=(const TChunk &) = delete;

    TPNGObject *Owner() const { return m_owner; }
    const QByteArray &Name() const { return m_name; }
    void SetName(const QByteArray &name) { m_name = name; }
    // Critical chunks have an upper-case first letter.
    bool IsCritical() const { return !m_name.isEmpty() && !(m_name[0] & 0x20); }

    const QByteArray &Data() const { return m_data; }
    qint64 DataSize() const { return m_data.size(); }

    // Copies name and data from another chunk.
    virtual void Assign(const TChunk &source);

    // Reads size bytes of data and the CRC that follows; a CRC that does not
    // match raises EPngInvalidCRC.  Returns whether the loop goes on.
    virtual bool LoadFromStream(TStream *stream, const QByteArray &name, quint32 size);
    // Writes the chunk as it stands.
    virtual void SaveToStream(TStream *stream);

protected:
    void SetData(const QByteArray &data) { m_data = data; }

private:
    TPNGObject *m_owner;
    QByteArray m_name;
    QByteArray m_data;
};

// A chunk whose fields are decoded from its data, on load and on assign.
class TDecodedChunk : public TChunk
{
public:
    using TChunk::TChunk;

    void Assign(const TChunk &source) override;
    bool LoadFromStream(TStream *stream, const QByteArray &name, quint32 size) override;

protected:
    // Takes the fields from the data; data too short for them changes
    // nothing.
    virtual void Decode() = 0;
};

class TChunkPLTE : public TChunk
{
public:
    static constexpr const char *ChunkName = "PLTE";
    using TChunk::TChunk;

    // Entries in the file (0 for a palette made in memory: the image
    // palette's size is written).
    int Count() const { return m_count; }

    void Assign(const TChunk &source) override;
    // A size that is not a multiple of 3, or more than 256 entries, raises
    // EPNGInvalidPalette.  The colours become the image palette.
    bool LoadFromStream(TStream *stream, const QByteArray &name, quint32 size) override;
    // The image palette (for an RGB image, the suggested palette as read).
    void SaveToStream(TStream *stream) override;

private:
    friend class TPNGObject;
    int m_count = 0;
};

class TChunktRNS : public TDecodedChunk
{
public:
    static constexpr const char *ChunkName = "tRNS";
    using TDecodedChunk::TDecodedChunk;

    // The alpha of each palette entry (255 where the chunk gives none).
    const std::array<quint8, 256> &PaletteValues() const { return m_paletteValues; }
    // True when the transparency is one colour: always for grey and RGB
    // images, for palette images when exactly one entry is below 255.
    bool BitTransparency() const { return m_bitTransparency; }

    // The transparent grey or RGB sample of channel (0 grey or red, 1
    // green, 2 blue), 16 bits.
    quint16 KeySample(int channel) const;
    // Its 8-bit key as the image plane holds it: the low byte, or the high
    // byte for 16-bit images.
    quint8 KeyByte(int channel) const;

    // Makes the chunk for a transparent colour of the owner's image; false
    // when the colour cannot be given (a palette image whose palette does
    // not hold it), and the chunk is then not to be used.
    bool SetTransparentColor(quint32 rgb);

    // More than 256 bytes raise EPNGInvalidPalette, and so does a grey or RGB
    // key shorter than its samples.
    bool LoadFromStream(TStream *stream, const QByteArray &name, quint32 size) override;

protected:
    void Decode() override;

private:

    std::array<quint8, 256> m_paletteValues{};
    bool m_bitTransparency = false;
};

class TChunkgAMA : public TChunk
{
public:
    static constexpr const char *ChunkName = "gAMA";
    // A new chunk holds 45455, the gamma of ordinary screen images (1/2.2).
    explicit TChunkgAMA(TPNGObject *owner);

    // 100000 stands for 1.0; 0 when the chunk holds no value.
    quint32 Gamma() const;
    void SetGamma(quint32 value);

    void Assign(const TChunk &source) override;
    // A value other than 0 fills the owner's gamma table.
    bool LoadFromStream(TStream *stream, const QByteArray &name, quint32 size) override;
};

class TChunkpHYs : public TDecodedChunk
{
public:
    static constexpr const char *ChunkName = "pHYs";
    using TDecodedChunk::TDecodedChunk;

    quint32 PPUnitX = 0;
    quint32 PPUnitY = 0;
    quint8 Unit = 0; // 1: metre

    void SaveToStream(TStream *stream) override;

protected:
    void Decode() override;
};

class TChunktIME : public TDecodedChunk
{
public:
    static constexpr const char *ChunkName = "tIME";
    using TDecodedChunk::TDecodedChunk;

    quint16 Year = 0;
    quint8 Month = 0, Day = 0, Hour = 0, Min = 0, Sec = 0;

    void SaveToStream(TStream *stream) override;

protected:
    void Decode() override;
};

class TChunktEXt : public TDecodedChunk
{
public:
    static constexpr const char *ChunkName = "tEXt";
    using TDecodedChunk::TDecodedChunk;

    // Latin-1 texts.
    QByteArray Keyword;
    QByteArray Text;

    // Keyword, a zero byte, text.
    void SaveToStream(TStream *stream) override;

protected:
    void Decode() override;
};

class TChunkzTXt : public TChunktEXt
{
public:
    static constexpr const char *ChunkName = "zTXt";
    using TChunktEXt::TChunktEXt;

    // Text inflated beyond this is not taken (the chunk keeps its data).
    static constexpr qsizetype MaxTextSize = qsizetype(16) * 1024 * 1024;

    // Keyword, a zero byte, method 0, the text deflated at the owner's
    // compression level (an empty text is written as " "); a compression
    // failure raises EPNGZLIBError.
    void SaveToStream(TStream *stream) override;

protected:
    // Text that does not inflate, or inflates past MaxTextSize, is empty.
    void Decode() override;
};

class TChunkIEND : public TChunk
{
public:
    static constexpr const char *ChunkName = "IEND";
    using TChunk::TChunk;
    // Ends the load loop.
    bool LoadFromStream(TStream *stream, const QByteArray &name, quint32 size) override;
};

// The registry of chunk classes by name, searched in registration order;
// it starts with IEND, IHDR, IDAT, PLTE, gAMA, tRNS, pHYs, tIME, tEXt, zTXt.
using TChunkFactory = std::function<TChunk *(TPNGObject *owner)>;
void RegisterChunk(const QByteArray &name, TChunkFactory create);
template <class T>
void RegisterChunk()
{
    RegisterChunk(T::ChunkName, [](TPNGObject *owner) -> TChunk * { return new T(owner); });
}
// A chunk of the first class registered for name, or a plain TChunk, named
// name.
std::unique_ptr<TChunk> CreateClassChunk(TPNGObject *owner, const QByteArray &name);

// The owner's chunk list, in file order.
class TPNGList
{
public:
    int Count() const { return int(m_items.size()); }
    // nullptr for an index past the end.
    TChunk *Item(int index) const;
    TChunk *Add(std::unique_ptr<TChunk> chunk);
    // Removes (and frees) the first occurrence; later items move down.
    void Remove(TChunk *chunk);
    // Frees the items past count.
    void SetCount(int count);
    void Clear() { m_items.clear(); }

    // The first chunk of class T, or nullptr.
    template <class T>
    T *ItemFromClass() const
    {
        for (const auto &item : m_items)
            if (auto *found = dynamic_cast<T *>(item.get()))
                return found;
        return nullptr;
    }

private:
    std::vector<std::unique_ptr<TChunk>> m_items;
};
