#include "toolkit/graphics/CharacterMap.h"

#include <QHash>

#include <algorithm>

namespace {

// Big-endian reads that turn false, and read 0, past the end of the bytes.
struct Reader {
    QByteArrayView bytes;
    bool ok = true;

    bool has(qint64 offset, qint64 length) const
    {
        return offset >= 0 && length >= 0 && offset <= bytes.size() && length <= bytes.size() - offset;
    }
    quint32 read(qint64 offset, int length)
    {
        if (!has(offset, length)) {
            ok = false;
            return 0;
        }
        quint32 value = 0;
        for (int i = 0; i < length; ++i)
            value = value << 8 | quint8(bytes[offset + i]);
        return value;
    }
    quint16 u16(qint64 offset) { return quint16(read(offset, 2)); }
    quint32 u32(qint64 offset) { return read(offset, 4); }
};

using Mapped = std::function<void(char32_t, quint32)>;

// Whether the ranges of characters of a subtable (its segments or groups)
// lie as a binary search over them needs them: each start at most its end
// and past the end before it, so sorted by start and apart.
class RangeOrder
{
public:
    void add(quint32 start, quint32 end)
    {
        m_sound = m_sound && start <= end && (m_first || start > m_lastEnd);
        m_first = false;
        m_lastEnd = end;
    }
    bool sound() const { return m_sound; }

private:
    bool m_sound = true;
    bool m_first = true;
    quint32 m_lastEnd = 0;
};

bool readFormat4(QByteArrayView table, const Mapped &mapped, RangeOrder &order)
{
    Reader r{table};
    const quint16 segCountX2 = r.u16(6);
    const qint64 ends = 14;
    const qint64 starts = ends + segCountX2 + 2;
    const qint64 deltas = starts + segCountX2;
    const qint64 rangeOffsets = deltas + segCountX2;
    if (!r.ok || segCountX2 % 2 != 0 || !r.has(rangeOffsets, segCountX2))
        return false;
    quint32 next = 0;
    for (qint64 at = 0; at < segCountX2; at += 2) {
        const quint32 start = r.u16(starts + at);
        const quint32 last = r.u16(ends + at);
        order.add(start, last);
        const quint32 end = std::min<quint32>(last, 0xFFFE);
        const quint16 delta = r.u16(deltas + at);
        const quint16 rangeOffset = r.u16(rangeOffsets + at);
        for (quint32 c = std::max(start, next); c <= end; ++c) {
            quint32 glyph = (c + delta) & 0xFFFF;
            if (rangeOffset != 0) {
                // A glyph index past the end of the subtable stands for none.
                const qint64 glyphAt = rangeOffsets + at + rangeOffset + 2 * qint64(c - start);
                const quint16 indexed = r.has(glyphAt, 2) ? r.u16(glyphAt) : 0;
                glyph = indexed == 0 ? 0 : (indexed + delta) & 0xFFFF;
            }
            if (glyph != 0)
                mapped(c, glyph);
        }
        next = std::max(next, end + 1);
    }
    return true;
}

bool readFormat12(QByteArrayView table, const Mapped &mapped, RangeOrder &order)
{
    Reader r{table};
    const quint32 groups = r.u32(12);
    if (!r.ok || groups > quint64(table.size() - 16) / 12)
        return false;
    quint32 next = 0;
    for (qint64 group = 16; group < 16 + 12 * qint64(groups); group += 12) {
        const quint32 start = r.u32(group);
        const quint32 last = r.u32(group + 4);
        order.add(start, last);
        const quint32 end = std::min<quint32>(last, 0x10FFFF);
        const quint64 startGlyph = r.u32(group + 8);
        for (quint32 c = std::max(start, next); c <= end; ++c)
            if (const quint64 glyph = std::min<quint64>(startGlyph + (c - start), 0xFFFFFFFF))
                mapped(c, quint32(glyph));
        next = std::max(next, end + 1);
    }
    return true;
}

bool readSubtable(QByteArrayView cmap, quint32 offset, const Mapped &mapped, RangeOrder &order)
{
    Reader r{cmap};
    const quint16 format = r.u16(offset);
    if (format == 4) {
        const quint16 length = r.u16(offset + 2);
        return r.ok && r.has(offset, length) && readFormat4(cmap.sliced(offset, length), mapped, order);
    }
    if (format == 12) {
        const quint32 length = r.u32(offset + 4);
        return r.ok && r.has(offset, length) && readFormat12(cmap.sliced(offset, length), mapped, order);
    }
    return r.ok;
}

} // namespace

bool ReadCmapSubtable(QByteArrayView cmap, quint32 offset, const Mapped &mapped)
{
    RangeOrder order;
    return readSubtable(cmap, offset, mapped, order);
}

TCmapSubtableState CmapSubtableState(QByteArrayView cmap, quint32 offset, quint32 glyphCount)
{
    bool past = false;
    const auto check = [&past, glyphCount](char32_t, quint32 glyph) { past = past || glyph >= glyphCount; };
    RangeOrder order;
    if (!readSubtable(cmap, offset, check, order))
        return TCmapSubtableState::Malformed;
    if (!order.sound())
        return TCmapSubtableState::RangesOutOfOrder;
    return past ? TCmapSubtableState::MapsPastGlyphCount : TCmapSubtableState::Usable;
}

std::optional<QByteArray> CmapWithoutBrokenSubtables(QByteArrayView cmap, quint32 glyphCount)
{
    Reader r{cmap};
    const quint16 numTables = r.u16(2);
    if (!r.ok || !r.has(4, 8 * qint64(numTables)))
        return std::nullopt;
    QByteArray kept = cmap.toByteArray();
    // Records of several platforms often share one subtable.
    QHash<quint32, bool> broken;
    quint16 keptCount = 0;
    for (qint64 record = 4; record < 4 + 8 * qint64(numTables); record += 8) {
        const quint32 offset = r.u32(record + 4);
        auto it = broken.constFind(offset);
        if (it == broken.constEnd())
            it = broken.insert(offset, IsLeftOut(CmapSubtableState(cmap, offset, glyphCount)));
        if (*it)
            continue;
        kept.replace(4 + 8 * qint64(keptCount++), 8, cmap.sliced(record, 8).toByteArray());
    }
    if (keptCount == numTables)
        return std::nullopt;
    kept[2] = char(keptCount >> 8);
    kept[3] = char(keptCount);
    return kept;
}
