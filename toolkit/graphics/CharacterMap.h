#pragma once

// A face's character map (its cmap table) read as font sanitizers read it:
// a subtable of format 4 or 12 is broken as a whole when it maps any
// character to a glyph past the face's glyph count, when a format 12 group
// starts or ends past U+10FFFF, the last character, when its segments or
// groups are not sorted by start and apart (each start at most its end),
// when a format 4 subtable lacks the closing segment U+FFFF..U+FFFF (or
// has no segment at all), or when a format 4 segment looks its glyphs up
// anywhere but in the subtable's glyph array.  Shapers look characters up
// by a binary search over those ranges, which finds other glyphs in ranges
// out of order than a reading from first to last, and they look a glyph up
// at an even place inside the glyph array, not where an odd or misplaced
// offset points.  None of a broken subtable's mappings is used, not even
// those that happen to be sound, so the characters come from the next
// usable subtable or from another face.  The font engine shapes with the usable subtables alone,
// and the PDF subsetter reads and writes the same ones, so screen, print
// and PDF draw the same glyphs.
//
// A subtable is checked by the bounds of its segments and groups, and the
// check stops at the first fault: the work is linear in the subtable's
// bytes, however many characters its ranges span.

#include <QByteArray>
#include <QByteArrayView>

#include <functional>
#include <optional>

enum class TCmapSubtableState {
    Usable,
    MapsPastGlyphCount,
    RangesOutOfOrder, // overlapping, reversed or unsorted segments or groups
    Unclosed, // a format 4 subtable without segments, or not closed by U+FFFF..U+FFFF
    MapsPastLastCharacter, // a format 12 group starting or ending past U+10FFFF
    GlyphsOutsideArray, // a format 4 segment reading glyphs at an odd offset or outside the glyph array
    Malformed, // lies outside the table, or its arrays run past its end
};

// Whether a subtable in that state is broken and left out whole.
inline bool IsLeftOut(TCmapSubtableState state)
{
    return state != TCmapSubtableState::Usable && state != TCmapSubtableState::Malformed;
}

// Characters First..Last mapped to the glyphs Glyph, Glyph + 1, and so on.
struct TCmapRange {
    char32_t First;
    char32_t Last;
    quint32 Glyph;
};

using TCmapRangeSink = std::function<void(const TCmapRange &range)>;

// The state of the subtable at offset (from the table's start) of a cmap
// table for a face of glyphCount glyphs.  Only formats 4 and 12 are looked
// into; others count as usable and map nothing here.  When the subtable is
// usable and mapped is given, mapped receives its ranges of characters
// with a glyph other than 0, in the order of its segments and groups: one
// range for each group and each segment mapped by its delta, one for each
// character of a segment mapped through the glyph array.
TCmapSubtableState ReadCmapSubtable(QByteArrayView cmap, quint32 offset, quint32 glyphCount,
                                    const TCmapRangeSink &mapped = {});

// The cmap table without the encoding records of the subtables left out,
// the subtables themselves left where they are; nothing when no subtable
// is (or the table's header is cut short).  Each subtable is read once,
// however many records share it.
std::optional<QByteArray> CmapWithoutBrokenSubtables(QByteArrayView cmap, quint32 glyphCount);
