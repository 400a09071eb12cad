#pragma once

// A face's character map (its cmap table) read as font sanitizers read it:
// a subtable that maps any character to a glyph past the face's glyph
// count, or whose segments or groups are not sorted by start and apart
// (each start at most its end), is broken as a whole.  Shapers look
// characters up by a binary search over those ranges, which finds other
// glyphs in ranges out of order than a reading from first to last.  None
// of a broken subtable's mappings is used, not even those that happen to
// be sound, so the characters come from the next usable subtable or from
// another face.  The font engine shapes with the usable subtables alone,
// and the PDF subsetter reads and writes the same ones, so screen, print
// and PDF draw the same glyphs.

#include <QByteArray>
#include <QByteArrayView>

#include <functional>
#include <optional>

enum class TCmapSubtableState {
    Usable,
    MapsPastGlyphCount,
    RangesOutOfOrder, // overlapping, reversed or unsorted segments or groups
    Malformed, // lies outside the table, or its arrays run past its end
};

// Whether a subtable in that state is broken and left out whole.
inline bool IsLeftOut(TCmapSubtableState state)
{
    return state == TCmapSubtableState::MapsPastGlyphCount || state == TCmapSubtableState::RangesOutOfOrder;
}

// The subtable at offset (from the table's start) of a cmap table.  Only
// formats 4 and 12 are looked into; others count as usable.
TCmapSubtableState CmapSubtableState(QByteArrayView cmap, quint32 offset, quint32 glyphCount);

// Calls mapped for every character a subtable of format 4 or 12 maps to a
// glyph other than 0, in the order of its segments or groups.  A segment or
// group that overlaps those before it maps only the characters past them,
// so every character comes once and the work stays within one pass over
// the code space.  Other formats map nothing here.  False when the
// subtable is malformed.
bool ReadCmapSubtable(QByteArrayView cmap, quint32 offset,
                      const std::function<void(char32_t character, quint32 glyph)> &mapped);

// The cmap table without the encoding records of the subtables left out,
// the subtables themselves left where they are; nothing when no subtable
// is (or the table's header is cut short).
std::optional<QByteArray> CmapWithoutBrokenSubtables(QByteArrayView cmap, quint32 glyphCount);
