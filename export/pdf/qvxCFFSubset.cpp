#include "export/pdf/qvxCFFSubset.h"

#include "export/pdf/qvxTrueTypeTables.h"
#include "toolkit/core/Exceptions.h"

#include <cmath>
#include <functional>
#include <vector>

namespace {

enum Operator {
    opSubrs = 19,
    opCharset = 15,
    opEncoding = 16,
    opCharStrings = 17,
    opPrivate = 18,
    opROS = 1230,
    opFDArray = 1236,
    opFDSelect = 1237,
};

[[noreturn]] void formatError()
{
    throw Exception(QStringLiteral("CFF font format error"));
}

void require(bool condition)
{
    if (!condition)
        formatError();
}

quint8 byteAt(QByteArrayView data, qint64 offset)
{
    require(offset >= 0 && offset < data.size());
    return quint8(data[offset]);
}

qint64 readNumber(QByteArrayView data, qint64 offset, int size)
{
    qint64 value = 0;
    for (int i = 0; i < size; ++i)
        value = value << 8 | byteAt(data, offset + i);
    return value;
}

bool isOffsetOperator(int op)
{
    return op == opCharset || op == opEncoding || op == opCharStrings || op == opPrivate || op == opFDArray
        || op == opFDSelect || op == opSubrs;
}

QByteArray int32Operand(qint64 value)
{
    QByteArray bytes(1, char(29));
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.append(char((value >> shift) & 0xFF));
    return bytes;
}

QByteArray operatorBytes(int op)
{
    QByteArray bytes;
    if (op >= 1200)
        bytes.append(char(12));
    bytes.append(char(op % 1200));
    return bytes;
}

// A DICT written again: offset operators get the values given (in the
// order of their operands), every other entry stays as it was.
QByteArray writeDict(const QList<TqvxCFFFont::Entry> &entries, const std::function<QList<qint64>(int)> &offsets)
{
    QByteArray dict;
    for (const TqvxCFFFont::Entry &entry : entries) {
        if (isOffsetOperator(entry.Operator))
            for (qint64 value : offsets(entry.Operator))
                dict += int32Operand(value);
        else
            dict += entry.Operands;
        dict += operatorBytes(entry.Operator);
    }
    return dict;
}

QByteArray writeIndex(const QList<QByteArray> &items)
{
    QByteArray index;
    TTF_Helpers::AppendU16(index, quint16(items.size()));
    if (items.isEmpty())
        return index;
    index.append(char(4));
    quint32 offset = 1;
    TTF_Helpers::AppendU32(index, offset);
    for (const QByteArray &item : items) {
        offset += quint32(item.size());
        TTF_Helpers::AppendU32(index, offset);
    }
    for (const QByteArray &item : items)
        index += item;
    return index;
}

const TqvxCFFFont::Entry *findEntry(const QList<TqvxCFFFont::Entry> &dict, int op)
{
    for (const TqvxCFFFont::Entry &entry : dict)
        if (entry.Operator == op)
            return &entry;
    return nullptr;
}

qint64 entryValue(const QList<TqvxCFFFont::Entry> &dict, int op, int operand = 0)
{
    const TqvxCFFFont::Entry *entry = findEntry(dict, op);
    if (!entry)
        return 0;
    require(entry->Values.size() > operand);
    const double value = entry->Values[operand];
    require(value >= 0 && value < 2147483648.0 && value == std::floor(value));
    return qint64(value);
}

} // namespace

TqvxCFFFont::TqvxCFFFont(QByteArrayView table) : m_data(table)
{
    require(byteAt(m_data, 0) == 1);
    m_headerSize = byteAt(m_data, 2);
    require(m_headerSize >= 4);
    m_names = readIndex(m_headerSize);
    m_topDicts = readIndex(m_names.End);
    require(m_names.Count() == 1 && m_topDicts.Count() == 1);
    m_strings = readIndex(m_topDicts.End);
    m_globalSubrs = readIndex(m_strings.End);
    m_top = readDict(m_topDicts.Offsets[0], m_topDicts.Offsets[1] - m_topDicts.Offsets[0]);

    const Entry *charstringType = findEntry(m_top, 1206);
    require(!charstringType || (charstringType->Values.size() == 1 && charstringType->Values[0] == 2));
    const qint64 charStrings = entryValue(m_top, opCharStrings);
    require(charStrings > 0);
    m_charStrings = readIndex(charStrings);
    m_glyphCount = m_charStrings.Count();
    require(m_glyphCount > 0);
    m_charset = entryValue(m_top, opCharset);
    m_encoding = entryValue(m_top, opEncoding);
    m_cidKeyed = findEntry(m_top, opROS) != nullptr;
    if (m_charset > 2)
        charsetLength(m_charset);

    if (m_cidKeyed) {
        m_fdSelect = entryValue(m_top, opFDSelect);
        const qint64 fdArray = entryValue(m_top, opFDArray);
        require(m_fdSelect > 0 && fdArray > 0);
        m_fdArray = readIndex(fdArray);
        require(m_fdArray.Count() > 0);
        fdSelectLength(m_fdSelect);
        for (int i = 0; i < m_fdArray.Count(); ++i) {
            m_fontDicts.append(readDict(m_fdArray.Offsets[i], m_fdArray.Offsets[i + 1] - m_fdArray.Offsets[i]));
            m_privates.append(readPrivate(m_fontDicts.last()));
        }
    } else {
        if (m_encoding > 1)
            encodingLength(m_encoding);
        m_privates.append(readPrivate(m_top));
    }
}

TqvxCFFFont::Index TqvxCFFFont::readIndex(qint64 offset) const
{
    Index index;
    index.Start = offset;
    const auto count = int(readNumber(m_data, offset, 2));
    if (count == 0) {
        index.End = offset + 2;
        index.Offsets = {index.End};
        return index;
    }
    const int offSize = byteAt(m_data, offset + 2);
    require(offSize >= 1 && offSize <= 4);
    const qint64 offsets = offset + 3;
    const qint64 base = offsets + qint64(count + 1) * offSize - 1;
    require(base < m_data.size());
    index.Offsets.reserve(count + 1);
    qint64 previous = 1;
    for (int i = 0; i <= count; ++i) {
        const qint64 value = readNumber(m_data, offsets + qint64(i) * offSize, offSize);
        require(value >= previous && base + value <= m_data.size());
        index.Offsets.append(base + value);
        previous = value;
    }
    require(index.Offsets[0] == base + 1);
    index.End = index.Offsets.last();
    return index;
}

QList<TqvxCFFFont::Entry> TqvxCFFFont::readDict(qint64 offset, qint64 length) const
{
    require(offset >= 0 && length >= 0 && offset + length <= m_data.size());
    QList<Entry> entries;
    Entry entry;
    qint64 start = offset;
    qint64 at = offset;
    const qint64 end = offset + length;
    while (at < end) {
        const int b0 = byteAt(m_data, at);
        if (b0 <= 21) {
            entry.Operator = b0;
            if (b0 == 12) {
                require(at + 1 < end);
                entry.Operator = 1200 + byteAt(m_data, at + 1);
            }
            entry.Operands = m_data.sliced(start, at - start).toByteArray();
            entries.append(entry);
            entry = Entry();
            at += b0 == 12 ? 2 : 1;
            start = at;
            continue;
        }
        double value = 0;
        if (b0 == 28) {
            value = qint16(readNumber(m_data, at + 1, 2));
            at += 3;
        } else if (b0 == 29) {
            value = qint32(readNumber(m_data, at + 1, 4));
            at += 5;
        } else if (b0 == 30) {
            // A real: nibbles up to the end nibble 0xF; its value is not
            // needed for any operator the subset rewrites.
            ++at;
            for (bool done = false; !done; ++at) {
                const int b = byteAt(m_data, at);
                done = (b & 0x0F) == 0x0F || (b & 0xF0) == 0xF0;
            }
            value = -1;
        } else if (b0 >= 32 && b0 <= 246) {
            value = b0 - 139;
            at += 1;
        } else if (b0 >= 247 && b0 <= 250) {
            value = (b0 - 247) * 256 + byteAt(m_data, at + 1) + 108;
            at += 2;
        } else if (b0 >= 251 && b0 <= 254) {
            value = -(b0 - 251) * 256 - byteAt(m_data, at + 1) - 108;
            at += 2;
        } else {
            formatError();
        }
        require(at <= end);
        entry.Values.append(value);
        require(entry.Values.size() <= 48);
    }
    require(start == end);
    return entries;
}

TqvxCFFFont::PrivateDict TqvxCFFFont::readPrivate(const QList<Entry> &dict) const
{
    PrivateDict result;
    if (!findEntry(dict, opPrivate))
        return result;
    const qint64 size = entryValue(dict, opPrivate, 0);
    const qint64 offset = entryValue(dict, opPrivate, 1);
    result.Entries = readDict(offset, size);
    if (findEntry(result.Entries, opSubrs)) {
        const Index subrs = readIndex(offset + entryValue(result.Entries, opSubrs));
        result.SubrsStart = subrs.Start;
        result.SubrsEnd = subrs.End;
    }
    return result;
}

qint64 TqvxCFFFont::charsetLength(qint64 offset) const
{
    const int format = byteAt(m_data, offset);
    qint64 length = 1;
    if (format == 0) {
        length += 2 * qint64(m_glyphCount - 1);
    } else {
        require(format == 1 || format == 2);
        const int leftSize = format == 1 ? 1 : 2;
        for (qint64 covered = 1; covered < m_glyphCount; length += 2 + leftSize)
            covered += readNumber(m_data, offset + length + 2, leftSize) + 1;
    }
    require(offset + length <= m_data.size());
    return length;
}

qint64 TqvxCFFFont::encodingLength(qint64 offset) const
{
    const int format = byteAt(m_data, offset);
    const int count = byteAt(m_data, offset + 1);
    qint64 length = 2 + qint64(count) * ((format & 0x7F) == 0 ? 1 : 2);
    require((format & 0x7F) <= 1);
    if (format & 0x80)
        length += 1 + 3 * qint64(byteAt(m_data, offset + length));
    require(offset + length <= m_data.size());
    return length;
}

qint64 TqvxCFFFont::fdSelectLength(qint64 offset) const
{
    const int format = byteAt(m_data, offset);
    qint64 length = 0;
    if (format == 0) {
        length = 1 + qint64(m_glyphCount);
        for (qint64 g = 0; g < m_glyphCount; ++g)
            require(byteAt(m_data, offset + 1 + g) < m_fdArray.Count());
    } else {
        require(format == 3);
        length = 1 + 2 + 3 * readNumber(m_data, offset + 1, 2) + 2;
    }
    require(offset + length <= m_data.size());
    return length;
}

QByteArray TqvxCFFFont::Subset(const QList<quint16> &usedGlyphs) const
{
    std::vector<bool> kept(size_t(m_glyphCount), false);
    kept[0] = true;
    for (quint16 glyph : usedGlyphs) {
        require(glyph < m_glyphCount);
        kept[glyph] = true;
    }
    QList<QByteArray> charStrings;
    charStrings.reserve(m_glyphCount);
    for (int g = 0; g < m_glyphCount; ++g)
        charStrings.append(kept[size_t(g)]
                               ? m_data.sliced(m_charStrings.Offsets[g],
                                               m_charStrings.Offsets[g + 1] - m_charStrings.Offsets[g])
                                     .toByteArray()
                               : QByteArray(1, char(14)));

    auto raw = [this](qint64 start, qint64 length) { return m_data.sliced(start, length).toByteArray(); };
    QByteArray charset;
    if (m_cidKeyed) {
        charset = QByteArray(1, char(m_glyphCount > 1 ? 2 : 0));
        if (m_glyphCount > 1) {
            TTF_Helpers::AppendU16(charset, 1);
            TTF_Helpers::AppendU16(charset, quint16(m_glyphCount - 2));
        }
    } else if (m_charset > 2) {
        charset = raw(m_charset, charsetLength(m_charset));
    }
    const QByteArray encoding = !m_cidKeyed && m_encoding > 1 ? raw(m_encoding, encodingLength(m_encoding))
                                                              : QByteArray();
    const QByteArray fdSelect = m_cidKeyed ? raw(m_fdSelect, fdSelectLength(m_fdSelect)) : QByteArray();
    const QByteArray charStringIndex = writeIndex(charStrings);

    // Private DICTs with their subroutines right after them.
    QList<QByteArray> privates;
    for (const PrivateDict &p : m_privates) {
        const bool hasSubrs = p.SubrsStart >= 0;
        QByteArray dict = writeDict(p.Entries, [](int) { return QList<qint64>{0}; });
        dict = writeDict(p.Entries, [&dict](int) { return QList<qint64>{dict.size()}; });
        if (hasSubrs)
            dict += raw(p.SubrsStart, p.SubrsEnd - p.SubrsStart);
        privates.append(dict);
    }
    const auto privateSize = [this](int i) {
        const PrivateDict &p = m_privates[i];
        return qint64(writeDict(p.Entries, [](int) { return QList<qint64>{0}; }).size());
    };

    // Sizes do not depend on the offsets written, so the layout is found
    // with zeros first.
    QList<qint64> privateOffsets(privates.size(), 0);
    qint64 charsetAt = m_charset <= 2 && !m_cidKeyed ? m_charset : 0;
    qint64 encodingAt = m_encoding <= 1 || m_cidKeyed ? m_encoding : 0;
    qint64 fdSelectAt = 0;
    qint64 charStringsAt = 0;
    qint64 fdArrayAt = 0;
    const auto topOffsets = [&](int op) -> QList<qint64> {
        switch (op) {
        case opCharset: return {charsetAt};
        case opEncoding: return {encodingAt};
        case opCharStrings: return {charStringsAt};
        case opPrivate: return {privateSize(0), privateOffsets.value(0)};
        case opFDArray: return {fdArrayAt};
        case opFDSelect: return {fdSelectAt};
        default: return {0};
        }
    };
    const auto fdArrayIndex = [&]() {
        QList<QByteArray> dicts;
        for (int i = 0; i < m_fontDicts.size(); ++i)
            dicts.append(writeDict(m_fontDicts[i], [&](int op) -> QList<qint64> {
                if (op == opPrivate)
                    return {privateSize(i), privateOffsets[i]};
                return {0};
            }));
        return writeIndex(dicts);
    };

    const QByteArray head = raw(0, m_headerSize) + raw(m_names.Start, m_names.End - m_names.Start);
    const QByteArray shared = raw(m_strings.Start, m_globalSubrs.End - m_strings.Start);
    const qint64 topSize = writeIndex({writeDict(m_top, topOffsets)}).size();
    qint64 at = head.size() + topSize + shared.size();
    if (!charset.isEmpty()) {
        charsetAt = at;
        at += charset.size();
    }
    if (!encoding.isEmpty()) {
        encodingAt = at;
        at += encoding.size();
    }
    if (!fdSelect.isEmpty()) {
        fdSelectAt = at;
        at += fdSelect.size();
    }
    charStringsAt = at;
    at += charStringIndex.size();
    if (m_cidKeyed) {
        fdArrayAt = at;
        at += fdArrayIndex().size();
    }
    for (int i = 0; i < privates.size(); ++i) {
        privateOffsets[i] = at;
        at += privates[i].size();
    }

    QByteArray out = head + writeIndex({writeDict(m_top, topOffsets)}) + shared + charset + encoding + fdSelect
        + charStringIndex;
    if (m_cidKeyed)
        out += fdArrayIndex();
    for (const QByteArray &p : privates)
        out += p;
    require(out.size() == at);
    return out;
}
