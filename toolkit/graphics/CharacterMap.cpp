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

// Whether the ranges of characters of a subtable (its segments or groups)
// lie as a binary search over them needs them: each start at most its end
// and past the end before it, so sorted by start and apart.
class RangeOrder
{
public:
    bool add(quint32 start, quint32 end)
    {
        const bool sound = start <= end && (m_first || start > m_lastEnd);
        m_first = false;
        m_lastEnd = end;
        return sound;
    }

private:
    bool m_first = true;
    quint32 m_lastEnd = 0;
};

// Glyph 0 stands for none, so a range whose glyphs end there maps nothing.
bool mapsPast(quint64 highestGlyph, quint32 glyphCount)
{
    return highestGlyph != 0 && highestGlyph >= glyphCount;
}

// The characters first..last, the first mapped to glyph, without a leading
// glyph 0.
void mapRange(const TCmapRangeSink *mapped, quint32 first, quint32 last, quint64 glyph)
{
    if (!mapped)
        return;
    if (glyph == 0) {
        ++first;
        ++glyph;
    }
    if (first <= last)
        (*mapped)({first, last, quint32(glyph)});
}

// The layout of a format 4 subtable: its four arrays of segCount entries
// (the ends, a pad, the starts, the deltas and the range offsets), then
// the glyph array to the subtable's end.
struct Format4 {
    Reader r;
    quint16 segCountX2 = 0;
    qint64 ends = 14;
    qint64 starts = 0;
    qint64 deltas = 0;
    qint64 rangeOffsets = 0;
    qint64 glyphArray = 0;

    explicit Format4(QByteArrayView table) : r{table}
    {
        segCountX2 = r.u16(6);
        starts = ends + segCountX2 + 2;
        deltas = starts + segCountX2;
        rangeOffsets = deltas + segCountX2;
        glyphArray = rangeOffsets + segCountX2;
    }
    bool wellFormed() { return r.ok && segCountX2 % 2 == 0 && r.has(rangeOffsets, segCountX2); }

    // A segment mapped by its delta: its glyphs run from start + delta
    // through 0xFFFF and on from 0, and a face has no glyph 0xFFFF.
    TCmapSubtableState deltaSegment(quint32 start, quint32 end, quint16 delta, quint32 glyphCount,
                                    const TCmapRangeSink *mapped)
    {
        const quint32 first = (start + delta) & 0xFFFF;
        const quint32 last = first + (end - start);
        if (mapsPast(std::min<quint32>(last, 0xFFFF), glyphCount))
            return TCmapSubtableState::MapsPastGlyphCount;
        mapRange(mapped, start, std::min<quint32>(end, 0xFFFE), first);
        return TCmapSubtableState::Usable;
    }

    // A segment mapped through the glyph array, at the range offset from
    // the range offset's own place; an odd offset, or one that reaches
    // before the glyph array or past the subtable, is read elsewhere by
    // shapers.  Sanitizers hold the array's entries to the glyph count, as
    // well as the glyphs they give with the delta.
    TCmapSubtableState arraySegment(qint64 at, quint32 start, quint32 end, quint16 delta, quint16 rangeOffset,
                                    quint32 glyphCount, const TCmapRangeSink *mapped)
    {
        const qint64 first = rangeOffsets + at + rangeOffset;
        if (rangeOffset % 2 != 0 || first < glyphArray || !r.has(first, 2 * (qint64(end - start) + 1)))
            return TCmapSubtableState::GlyphsOutsideArray;
        for (quint32 c = start; c <= end; ++c) {
            const quint16 entry = r.u16(first + 2 * qint64(c - start));
            if (entry == 0)
                continue;
            const quint32 glyph = (entry + delta) & 0xFFFF;
            if (entry >= glyphCount || mapsPast(glyph, glyphCount))
                return TCmapSubtableState::MapsPastGlyphCount;
            if (c < 0xFFFF)
                mapRange(mapped, c, c, glyph);
        }
        return TCmapSubtableState::Usable;
    }

    TCmapSubtableState read(quint32 glyphCount, const TCmapRangeSink *mapped)
    {
        if (!wellFormed())
            return TCmapSubtableState::Malformed;
        if (segCountX2 == 0)
            return TCmapSubtableState::Unclosed;
        RangeOrder order;
        for (qint64 at = 0; at < segCountX2; at += 2) {
            const quint32 start = r.u16(starts + at);
            const quint32 end = r.u16(ends + at);
            if (!order.add(start, end))
                return TCmapSubtableState::RangesOutOfOrder;
            const bool closing = at == segCountX2 - 2;
            if (closing && start != 0xFFFF)
                return TCmapSubtableState::Unclosed;
            const quint16 delta = r.u16(deltas + at);
            quint16 rangeOffset = r.u16(rangeOffsets + at);
            // Font generators often leave an odd range offset in the
            // closing segment; sanitizers read it as none.
            if (closing && rangeOffset % 2 != 0)
                rangeOffset = 0;
            const TCmapSubtableState state =
                rangeOffset == 0 ? deltaSegment(start, end, delta, glyphCount, mapped)
                                 : arraySegment(at, start, end, delta, rangeOffset, glyphCount, mapped);
            if (state != TCmapSubtableState::Usable)
                return state;
        }
        return TCmapSubtableState::Usable;
    }
};

TCmapSubtableState readFormat12(QByteArrayView table, quint32 glyphCount, const TCmapRangeSink *mapped)
{
    Reader r{table};
    const quint32 groups = r.u32(12);
    if (!r.ok || groups > quint64(table.size() - 16) / 12)
        return TCmapSubtableState::Malformed;
    RangeOrder order;
    for (qint64 group = 16; group < 16 + 12 * qint64(groups); group += 12) {
        const quint32 start = r.u32(group);
        const quint32 last = r.u32(group + 4);
        if (!order.add(start, last))
            return TCmapSubtableState::RangesOutOfOrder;
        // In order, a group starting past the last character ends past it.
        if (last > 0x10FFFF)
            return TCmapSubtableState::MapsPastLastCharacter;
        const quint64 startGlyph = r.u32(group + 8);
        if (mapsPast(startGlyph + (last - start), glyphCount))
            return TCmapSubtableState::MapsPastGlyphCount;
        mapRange(mapped, start, last, startGlyph);
    }
    return TCmapSubtableState::Usable;
}

TCmapSubtableState readFormat(quint16 format, QByteArrayView table, quint32 glyphCount,
                              const TCmapRangeSink *mapped)
{
    return format == 4 ? Format4(table).read(glyphCount, mapped) : readFormat12(table, glyphCount, mapped);
}

} // namespace

TCmapSubtableState ReadCmapSubtable(QByteArrayView cmap, quint32 offset, quint32 glyphCount,
                                    const TCmapRangeSink &mapped)
{
    Reader r{cmap};
    const quint16 format = r.u16(offset);
    if (format != 4 && format != 12)
        return r.ok ? TCmapSubtableState::Usable : TCmapSubtableState::Malformed;
    const quint32 length = format == 4 ? r.u16(offset + 2) : r.u32(offset + 4);
    if (!r.ok || !r.has(offset, length))
        return TCmapSubtableState::Malformed;
    const QByteArrayView table = cmap.sliced(offset, length);
    // A face has at most 65,535 glyphs, numbered below 0xFFFF.
    glyphCount = std::min<quint32>(glyphCount, 0xFFFF);
    // Checked whole first: a broken subtable maps nothing.
    const TCmapSubtableState state = readFormat(format, table, glyphCount, nullptr);
    if (state == TCmapSubtableState::Usable && mapped)
        readFormat(format, table, glyphCount, &mapped);
    return state;
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
            it = broken.insert(offset, IsLeftOut(ReadCmapSubtable(cmap, offset, glyphCount)));
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
