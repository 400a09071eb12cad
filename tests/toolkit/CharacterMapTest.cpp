#include "toolkit/graphics/CharacterMap.h"

#include <QList>
#include <gtest/gtest.h>

namespace {

void appendU16(QByteArray &bytes, quint32 value)
{
    bytes.append(char(value >> 8));
    bytes.append(char(value));
}

void appendU32(QByteArray &bytes, quint32 value)
{
    appendU16(bytes, value >> 16);
    appendU16(bytes, value & 0xFFFF);
}

QByteArray format12(const QList<TCmapRange> &groups)
{
    QByteArray table;
    appendU16(table, 12);
    appendU16(table, 0);
    appendU32(table, quint32(16 + 12 * groups.size()));
    appendU32(table, 0);
    appendU32(table, quint32(groups.size()));
    for (const TCmapRange &group : groups) {
        appendU32(table, group.First);
        appendU32(table, group.Last);
        appendU32(table, group.Glyph);
    }
    return table;
}

struct Segment {
    quint16 first, last, delta, rangeOffset;
};

QByteArray format4(const QList<Segment> &segments, const QList<quint16> &glyphArray = {})
{
    QByteArray body;
    for (const Segment &s : segments)
        appendU16(body, s.last);
    appendU16(body, 0);
    for (const Segment &s : segments)
        appendU16(body, s.first);
    for (const Segment &s : segments)
        appendU16(body, s.delta);
    for (const Segment &s : segments)
        appendU16(body, s.rangeOffset);
    for (quint16 glyph : glyphArray)
        appendU16(body, glyph);
    QByteArray table;
    for (quint32 value : {4, 14 + int(body.size()), 0, 2 * int(segments.size()), 0, 0, 0})
        appendU16(table, value);
    return table + body;
}

// A cmap of one (3,10) record for each subtable.
QByteArray cmapOf(const QList<QByteArray> &subtables)
{
    QByteArray cmap;
    appendU16(cmap, 0);
    appendU16(cmap, quint32(subtables.size()));
    quint32 offset = quint32(4 + 8 * subtables.size());
    for (const QByteArray &subtable : subtables) {
        appendU16(cmap, 3);
        appendU16(cmap, 10);
        appendU32(cmap, offset);
        offset += quint32(subtable.size());
    }
    for (const QByteArray &subtable : subtables)
        cmap += subtable;
    return cmap;
}

quint32 subtableOffset(const QByteArray &cmap, int record)
{
    const qsizetype at = 4 + 8 * record + 4;
    return quint32(quint8(cmap[at])) << 24 | quint32(quint8(cmap[at + 1])) << 16
        | quint32(quint8(cmap[at + 2])) << 8 | quint32(quint8(cmap[at + 3]));
}

TCmapSubtableState stateOf(const QByteArray &subtable, quint32 glyphCount = 6)
{
    const QByteArray cmap = cmapOf({subtable});
    return ReadCmapSubtable(cmap, subtableOffset(cmap, 0), glyphCount);
}

} // namespace

// A group is checked and read by its bounds, so a font's character map
// costs work in proportion to its bytes: here 64 subtables, each of groups
// over the whole code space for a face of 65,535 glyphs, give one range a
// group, not one call a character.
TEST(CharacterMap, ReadsAGroupByItsBoundsWhateverItsSpan)
{
    QList<TCmapRange> wholeCodeSpace;
    for (char32_t first = 0; first <= 0x10FFFF; first += 65535)
        wholeCodeSpace.append({first, std::min<char32_t>(first + 65534, 0x10FFFF), 0});
    const int subtableCount = 64;
    const QByteArray cmap = cmapOf(QList<QByteArray>(subtableCount, format12(wholeCodeSpace)));
    qint64 ranges = 0;
    qint64 characters = 0;
    for (int record = 0; record < subtableCount; ++record) {
        const TCmapSubtableState state =
            ReadCmapSubtable(cmap, subtableOffset(cmap, record), 65535, [&](const TCmapRange &range) {
                ++ranges;
                characters += range.Last - range.First + 1;
            });
        EXPECT_EQ(state, TCmapSubtableState::Usable);
    }
    EXPECT_LE(ranges, cmap.size() / 12);
    // Glyph 0, where each group starts, stands for none.
    EXPECT_EQ(characters, subtableCount * (0x110000 - wholeCodeSpace.size()));

    // For a face of six glyphs each subtable maps past its glyphs from its
    // first group on, and maps nothing.
    ranges = 0;
    EXPECT_EQ(ReadCmapSubtable(cmap, subtableOffset(cmap, 0), 6, [&](const TCmapRange &) { ++ranges; }),
              TCmapSubtableState::MapsPastGlyphCount);
    EXPECT_EQ(ranges, 0);
    const std::optional<QByteArray> usable = CmapWithoutBrokenSubtables(cmap, 6);
    ASSERT_TRUE(usable.has_value());
    EXPECT_EQ(usable->left(4), QByteArray::fromHex("00000000"));
}

// A format 4 subtable is usable only closed by the segment U+FFFF..U+FFFF,
// with every segment that maps through the glyph array reading inside it
// at even offsets, and every entry of it a glyph of the face.
TEST(CharacterMap, AFormat4SubtableIsUsableOnlyClosedAndReadingItsOwnGlyphArray)
{
    const Segment closing{0xFFFF, 0xFFFF, 1, 0};
    const Segment sound{0x41, 0x43, quint16(1 - 0x41), 0};
    EXPECT_EQ(stateOf(format4({sound, closing})), TCmapSubtableState::Usable);
    // Font generators often leave an odd range offset in the closing segment.
    EXPECT_EQ(stateOf(format4({sound, {0xFFFF, 0xFFFF, 1, 0xFFFF}})), TCmapSubtableState::Usable);

    EXPECT_EQ(stateOf(format4({})), TCmapSubtableState::Unclosed);
    EXPECT_EQ(stateOf(format4({sound})), TCmapSubtableState::Unclosed);
    EXPECT_EQ(stateOf(format4({sound, {0xFFFB, 0xFFFF, 5, 0}})), TCmapSubtableState::Unclosed);
    EXPECT_EQ(stateOf(format4({sound, {0xFFFE, 0xFFFF, 2, 0}, closing})), TCmapSubtableState::RangesOutOfOrder);
    // The closing segment's glyph counts as any other.
    EXPECT_EQ(stateOf(format4({sound, {0xFFFF, 0xFFFF, 0, 0}})), TCmapSubtableState::MapsPastGlyphCount);

    // "A" and "B" through the glyph array, which starts 4 bytes past the
    // first segment's range offset.
    const auto throughArray = [&](quint16 rangeOffset, const QList<quint16> &glyphArray) {
        return stateOf(format4({{0x41, 0x42, 0, rangeOffset}, closing}, glyphArray));
    };
    EXPECT_EQ(throughArray(4, {1, 2}), TCmapSubtableState::Usable);
    EXPECT_EQ(throughArray(5, {1, 2, 3}), TCmapSubtableState::GlyphsOutsideArray);
    EXPECT_EQ(throughArray(2, {1, 2}), TCmapSubtableState::GlyphsOutsideArray);
    EXPECT_EQ(throughArray(4, {1}), TCmapSubtableState::GlyphsOutsideArray);
    EXPECT_EQ(throughArray(6, {1, 2}), TCmapSubtableState::GlyphsOutsideArray);
    EXPECT_EQ(throughArray(4, {1, 6}), TCmapSubtableState::MapsPastGlyphCount);
    // An entry past the glyph count is one even where the delta brings it back.
    EXPECT_EQ(stateOf(format4({{0x41, 0x42, 0xFFF0, 4}, closing}, {17, 18})), TCmapSubtableState::MapsPastGlyphCount);
}

// Sanitizers refuse a format 12 group starting or ending past U+10FFFF, the
// last character, though no shaper looks those characters up: its
// subtable is left out whole, its groups in range included.
TEST(CharacterMap, AFormat12GroupPastTheLastCharacterBreaksItsSubtable)
{
    const TCmapRange sound{0x41, 0x42, 1};
    EXPECT_EQ(stateOf(format12({sound, {0x10FFFE, 0x10FFFF, 3}})), TCmapSubtableState::Usable);
    EXPECT_EQ(stateOf(format12({sound, {0x10FFFE, 0x110001, 1}})), TCmapSubtableState::MapsPastLastCharacter);
    EXPECT_EQ(stateOf(format12({sound, {0x110000, 0x110000, 1}})), TCmapSubtableState::MapsPastLastCharacter);
    EXPECT_TRUE(IsLeftOut(TCmapSubtableState::MapsPastLastCharacter));

    const QByteArray cmap = cmapOf({format12({sound, {0x10FFFF, 0x110000, 3}}), format12({sound})});
    int ranges = 0;
    ReadCmapSubtable(cmap, subtableOffset(cmap, 0), 6, [&](const TCmapRange &) { ++ranges; });
    EXPECT_EQ(ranges, 0);
    const std::optional<QByteArray> usable = CmapWithoutBrokenSubtables(cmap, 6);
    ASSERT_TRUE(usable.has_value());
    // One record left, the second.
    EXPECT_EQ(usable->left(12), QByteArray::fromHex("00000001") + cmap.mid(12, 8));
}
