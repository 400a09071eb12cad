#pragma once

// The tables of a TrueType (sfnt) font as the subsetter reads them.  A table
// object keeps its directory entry and a view of its bytes in the font
// image; the classes of the known tables parse what the subsetter and the
// PDF fonts need.  Every read is checked against the bytes it reads from:
// a font that is too short or points outside itself raises "TrueType font
// format error".  Multi-byte values are big-endian and read byte by byte,
// so tables at any offset of the image read alike.

#include "toolkit/graphics/CharacterMap.h"
#include "toolkit/graphics/FontEngine.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>
#include <vector>

// Big-endian reads and writes with bounds checks.
class TTF_Helpers
{
public:
    // Raises "TrueType font format error" unless the condition holds.
    static void Require(bool condition);
    [[noreturn]] static void FormatError(const char *message);

    static quint8 ReadU8(QByteArrayView data, qint64 offset);
    static quint16 ReadU16(QByteArrayView data, qint64 offset);
    static qint16 ReadS16(QByteArrayView data, qint64 offset) { return qint16(ReadU16(data, offset)); }
    static quint32 ReadU32(QByteArrayView data, qint64 offset);
    // The length bytes at offset; the whole range must lie inside data.
    static QByteArrayView Slice(QByteArrayView data, qint64 offset, qint64 length);

    static void WriteU16(QByteArray &data, qint64 offset, quint16 value);
    static void WriteU32(QByteArray &data, qint64 offset, quint32 value);
    static void AppendU16(QByteArray &data, quint16 value);
    static void AppendU32(QByteArray &data, quint32 value);
};

// One table: its directory entry and its bytes.
class TrueTypeTable : public TTF_Helpers
{
public:
    // From a 16-byte directory entry of the image; the table's bytes must
    // lie inside the image.
    TrueTypeTable(QByteArrayView image, qint64 entryOffset);
    virtual ~TrueTypeTable() = default;
    TrueTypeTable(const TrueTypeTable &) = delete;
    TrueTypeTable &operator=(const TrueTypeTable &) = delete;

    // Reads the table's fields (nothing in the base class).
    virtual void Load() {}

    // The bytes the table holds now: its source bytes, or what the subset
    // put in their place.
    QByteArrayView Data() const { return m_replacement ? QByteArrayView(*m_replacement) : m_source; }
    void Replace(const QByteArray &data) { m_replacement = data; }

    // Appends the table's bytes to the output, padded with zeros to a
    // multiple of 4; offset, length and checkSum describe the copy.
    void Save(QByteArray &output);

    QString TagName() const;

    quint32 tag = 0;
    quint32 checkSum = 0;
    quint32 offset = 0;
    quint32 length = 0;
    // Where the table lies in the font image it was read from.
    const quint32 sourceOffset;

protected:
    QByteArrayView m_source;

private:
    std::optional<QByteArray> m_replacement;
};

// The character map.  The Windows Unicode (3,1) subtable must be of format
// 4 or above: formats 0, 2 and 6 there raise.  The Unicode subtables of
// formats 4 and 12 (platform 0, and Windows encodings 1 and 10) are read
// into one mapping, each subtable once however many records share it.  A
// broken subtable (toolkit/graphics/CharacterMap.h) is left out whole, as
// the font engine leaves it out, and a cmap with such a subtable is
// written anew from the others.
class CmapTableClass : public TrueTypeTable
{
public:
    using TrueTypeTable::TrueTypeTable;
    void LoadCmapTable(quint16 glyphCount);

    // The characters with a glyph in ranges, ascending and apart; the
    // first subtable that maps a character decides.
    const std::vector<TCmapRange> &MappedRanges() const { return m_ranges; }
    // Some subtable was broken and left out.
    bool DroppedMappings() const { return m_dropped; }
    // A cmap of a (3,1) format 4 subtable, when the mapping fits one, and a
    // (3,10) format 12 subtable, when anything is mapped.
    static QByteArray Build(const std::vector<TCmapRange> &ranges);

private:
    std::vector<TCmapRange> m_ranges;
    bool m_dropped = false;
};

class FontHeaderClass : public TrueTypeTable
{
public:
    using TrueTypeTable::TrueTypeTable;
    void Load() override;

    // Offset of checkSumAdjustment in the table.
    static constexpr qint64 CheckSumAdjustmentOffset = 8;

    quint32 version = 0;
    quint32 fontRevision = 0;
    quint32 checkSumAdjustment = 0;
    quint32 magicNumber = 0;
    quint16 flags = 0;
    quint16 unitsPerEm = 0;
    qint16 xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    quint16 macStyle = 0;
    quint16 lowestRecPPEM = 0;
    qint16 fontDirectionHint = 0;
    qint16 indexToLocFormat = 0;
    qint16 glyphDataFormat = 0;
};

class GlyphTableClass : public TrueTypeTable
{
public:
    using TrueTypeTable::TrueTypeTable;

    // The glyph indices of the components of the glyph stored at
    // [glyphOffset, glyphOffset + glyphLength) of the table; empty for a
    // simple glyph.
    QList<quint16> GetComponents(quint32 glyphOffset, quint32 glyphLength) const;
};

class GlyphSubstitutionClass : public TrueTypeTable
{
public:
    using TrueTypeTable::TrueTypeTable;
};

class HorizontalHeaderClass : public TrueTypeTable
{
public:
    using TrueTypeTable::TrueTypeTable;
    void Load() override;

    quint32 version = 0;
    qint16 ascender = 0, descender = 0, lineGap = 0;
    quint16 advanceWidthMax = 0;
    qint16 minLeftSideBearing = 0, minRightSideBearing = 0, xMaxExtent = 0;
    qint16 caretSlopeRise = 0, caretSlopeRun = 0, caretOffset = 0;
    qint16 metricDataFormat = 0;
    quint16 numberOfHMetrics = 0;
};

class HorizontalMetrixClass : public TrueTypeTable
{
public:
    using TrueTypeTable::TrueTypeTable;
};

// Glyph locations, held as byte offsets into glyf whatever the format.
class IndexToLocationClass : public TrueTypeTable
{
public:
    using TrueTypeTable::TrueTypeTable;
    // Reads numGlyphs + 1 entries in head's format (0 short, 1 long).
    void LoadLocaTable(const FontHeaderClass &head, quint16 numGlyphs);

    int GlyphCount() const { return int(m_offsets.size()) - 1; }
    // Offset and length of glyph g in glyf; the glyph must exist and its
    // end may not lie before its start.
    quint32 GlyphOffset(int g) const;
    quint32 GlyphLength(int g) const;

    // The table for new glyph offsets (numGlyphs + 1 of them) in its format.
    QByteArray Build(const QList<quint32> &offsets) const;
    bool IsShort() const { return m_short; }

private:
    QList<quint32> m_offsets;
    bool m_short = true;
};

class KerningTableClass : public TrueTypeTable
{
public:
    using TrueTypeTable::TrueTypeTable;
};

class NameTableClass : public TrueTypeTable
{
public:
    using TrueTypeTable::TrueTypeTable;
    void Load() override;

    // The first Unicode (platform 0) or Windows Unicode (3,1) name with the
    // ID; empty when there is none.
    QString GetName(quint16 nameID) const;

    quint16 format = 0;
    quint16 count = 0;
    quint16 stringOffset = 0;
};

class PostScriptClass : public TrueTypeTable
{
public:
    using TrueTypeTable::TrueTypeTable;
    void Load() override;

    // The 32-byte header as a version 3.0 table (no glyph names).
    QByteArray Version3() const;

    quint32 version = 0;
    qint32 italicAngle = 0; // 16.16 degrees
    qint16 underlinePosition = 0;
    qint16 underlineThickness = 0;
    quint32 isFixedPitch = 0;
    quint32 minMemType42 = 0, maxMemType42 = 0, minMemType1 = 0, maxMemType1 = 0;
};

class MaximumProfileClass : public TrueTypeTable
{
public:
    using TrueTypeTable::TrueTypeTable;
    void Load() override;

    quint32 version = 0;
    quint16 numGlyphs = 0;
    // Version 1.0 only (TrueType outlines).
    quint16 maxPoints = 0, maxContours = 0, maxCompositePoints = 0, maxCompositeContours = 0;
    quint16 maxZones = 0, maxTwilightPoints = 0, maxStorage = 0, maxFunctionDefs = 0;
    quint16 maxInstructionDefs = 0, maxStackElements = 0, maxSizeOfInstructions = 0;
    quint16 maxComponentElements = 0, maxComponentDepth = 0;
};

// OS/2 of any version; the fields of versions 0 and 1 are read as far as the
// table reaches, and the table is always copied whole.
class OS2WindowsMetricsClass : public TrueTypeTable
{
public:
    using TrueTypeTable::TrueTypeTable;
    void Load() override;

    quint16 version = 0;
    qint16 xAvgCharWidth = 0;
    quint16 usWeightClass = 0, usWidthClass = 0;
    quint16 fsType = 0;
    qint16 yStrikeoutSize = 0, yStrikeoutPosition = 0;
    qint16 sFamilyClass = 0;
    QByteArray panose;
    QByteArray achVendID;
    quint16 fsSelection = 0;
    quint16 usFirstCharIndex = 0, usLastCharIndex = 0;
    qint16 sTypoAscender = 0, sTypoDescender = 0, sTypoLineGap = 0;
    quint16 usWinAscent = 0, usWinDescent = 0;
    qint16 sCapHeight = 0; // version 2 and later
};

class PreProgramClass : public TrueTypeTable
{
public:
    using TrueTypeTable::TrueTypeTable;
};
