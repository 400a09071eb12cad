#include "export/pdf/qvxTrueTypeTables.h"

#include "toolkit/core/Exceptions.h"

#include <QSet>

#include <algorithm>
#include <bit>
#include <map>

// ---- TTF_Helpers --------------------------------------------------------

void TTF_Helpers::FormatError(const char *message) { throw Exception(QString::fromLatin1(message)); }

void TTF_Helpers::Require(bool condition)
{
    if (!condition)
        FormatError("TrueType font format error");
}

QByteArrayView TTF_Helpers::Slice(QByteArrayView data, qint64 offset, qint64 length)
{
    Require(offset >= 0 && length >= 0 && offset <= data.size() && length <= data.size() - offset);
    return data.sliced(offset, length);
}

quint8 TTF_Helpers::ReadU8(QByteArrayView data, qint64 offset) { return quint8(Slice(data, offset, 1)[0]); }

quint16 TTF_Helpers::ReadU16(QByteArrayView data, qint64 offset)
{
    const QByteArrayView bytes = Slice(data, offset, 2);
    return quint16(quint8(bytes[0]) << 8 | quint8(bytes[1]));
}

quint32 TTF_Helpers::ReadU32(QByteArrayView data, qint64 offset)
{
    const QByteArrayView bytes = Slice(data, offset, 4);
    return quint32(quint8(bytes[0])) << 24 | quint32(quint8(bytes[1])) << 16 | quint32(quint8(bytes[2])) << 8
        | quint32(quint8(bytes[3]));
}

void TTF_Helpers::WriteU16(QByteArray &data, qint64 offset, quint16 value)
{
    data[offset] = char(value >> 8);
    data[offset + 1] = char(value);
}

void TTF_Helpers::WriteU32(QByteArray &data, qint64 offset, quint32 value)
{
    WriteU16(data, offset, quint16(value >> 16));
    WriteU16(data, offset + 2, quint16(value));
}

void TTF_Helpers::AppendU16(QByteArray &data, quint16 value)
{
    data.append(char(value >> 8));
    data.append(char(value));
}

void TTF_Helpers::AppendU32(QByteArray &data, quint32 value)
{
    AppendU16(data, quint16(value >> 16));
    AppendU16(data, quint16(value));
}

// ---- TrueTypeTable ------------------------------------------------------

TrueTypeTable::TrueTypeTable(QByteArrayView image, qint64 entryOffset)
    : tag(ReadU32(image, entryOffset)), checkSum(ReadU32(image, entryOffset + 4)),
      offset(ReadU32(image, entryOffset + 8)), length(ReadU32(image, entryOffset + 12)),
      sourceOffset(offset), m_source(Slice(image, offset, length))
{
}

void TrueTypeTable::Save(QByteArray &output)
{
    const QByteArrayView data = Data();
    offset = quint32(output.size());
    length = quint32(data.size());
    output.append(data);
    output.append(QByteArray((4 - data.size() % 4) % 4, '\0'));
}

QString TrueTypeTable::TagName() const
{
    QString name;
    for (int shift = 24; shift >= 0; shift -= 8)
        name.append(QLatin1Char(char(tag >> shift)));
    return name;
}

// ---- cmap ---------------------------------------------------------------

namespace {

// The ranges of several subtables joined, the first to map a character
// deciding its glyph.  The characters covered so far are kept as spans
// that each new range joins into one, so a range costs a walk over the
// spans it meets once.
class JoinedRanges
{
public:
    void add(const TCmapRange &range)
    {
        char32_t uncovered = range.First;
        char32_t joinedFirst = range.First;
        char32_t joinedLast = range.Last;
        auto it = m_covered.upper_bound(range.First);
        if (it != m_covered.begin() && std::prev(it)->second >= range.First)
            --it;
        for (; it != m_covered.end() && it->first <= range.Last; it = m_covered.erase(it)) {
            if (it->first > uncovered)
                addPiece(range, uncovered, it->first - 1);
            uncovered = std::max<char32_t>(uncovered, it->second + 1);
            joinedFirst = std::min(joinedFirst, it->first);
            joinedLast = std::max(joinedLast, it->second);
        }
        if (uncovered <= range.Last)
            addPiece(range, uncovered, range.Last);
        m_covered.emplace(joinedFirst, joinedLast);
    }

    std::vector<TCmapRange> sorted()
    {
        std::sort(m_pieces.begin(), m_pieces.end(),
                  [](const TCmapRange &a, const TCmapRange &b) { return a.First < b.First; });
        return std::move(m_pieces);
    }

private:
    void addPiece(const TCmapRange &range, char32_t first, char32_t last)
    {
        m_pieces.push_back({first, last, range.Glyph + (first - range.First)});
    }

    std::map<char32_t, char32_t> m_covered; // first character to last
    std::vector<TCmapRange> m_pieces;
};

} // namespace

void CmapTableClass::LoadCmapTable(quint16 glyphCount)
{
    m_dropped = false;
    const QByteArrayView cmap = Data();
    const quint16 numTables = ReadU16(cmap, 2);
    JoinedRanges joined;
    QSet<qint64> read;
    for (int i = 0; i < numTables; ++i) {
        const qint64 record = 4 + 8 * qint64(i);
        const quint16 platform = ReadU16(cmap, record);
        const quint16 encoding = ReadU16(cmap, record + 2);
        if (platform != 0 && !(platform == 3 && (encoding == 1 || encoding == 10)))
            continue;
        const qint64 sub = ReadU32(cmap, record + 4);
        const quint16 format = ReadU16(cmap, sub);
        if (platform == 3 && encoding == 1) {
            switch (format) {
            case 0: FormatError("TO DO: ByteEncoding cmap format not implemented");
            case 2: FormatError("TO DO: HighByteMapping cmap format not implemented");
            case 6: FormatError("TO DO: TrimmedTable cmap format not implemented");
            default: break;
            }
        }
        // Records of several platforms often share one subtable.
        if (read.contains(sub))
            continue;
        read.insert(sub);
        const TCmapSubtableState state =
            ReadCmapSubtable(cmap, quint32(sub), glyphCount, [&joined](const TCmapRange &range) { joined.add(range); });
        Require(state != TCmapSubtableState::Malformed);
        m_dropped = m_dropped || IsLeftOut(state);
    }
    m_ranges = joined.sorted();
}

namespace {

// Ranges in a row whose glyphs go on in a row, joined.
std::vector<TCmapRange> runsOf(const std::vector<TCmapRange> &ranges)
{
    std::vector<TCmapRange> runs;
    for (const TCmapRange &range : ranges) {
        if (!runs.empty() && runs.back().Last + 1 == range.First
            && runs.back().Glyph + (range.First - runs.back().First) == range.Glyph)
            runs.back().Last = range.Last;
        else
            runs.push_back(range);
    }
    return runs;
}

// Format 4 of the runs below U+FFFF, every segment by its delta, and the
// closing segment; empty when that is longer than a subtable may be.
QByteArray format4(const std::vector<TCmapRange> &runs)
{
    std::vector<TCmapRange> segments;
    for (const TCmapRange &run : runs)
        if (run.First < 0xFFFF)
            segments.push_back({run.First, std::min<char32_t>(run.Last, 0xFFFE), run.Glyph});
    segments.push_back({0xFFFF, 0xFFFF, 0});
    const qsizetype count = qsizetype(segments.size());
    const qint64 length = 16 + 8 * qint64(count);
    if (length > 0xFFFF)
        return QByteArray();
    const int power = int(std::bit_floor(quint32(count)));
    QByteArray table;
    for (quint16 value : {quint16(4), quint16(length), quint16(0), quint16(2 * count), quint16(2 * power),
                          quint16(std::countr_zero(quint32(power))), quint16(2 * (count - power))})
        TTF_Helpers::AppendU16(table, value);
    for (const TCmapRange &s : segments)
        TTF_Helpers::AppendU16(table, quint16(s.Last));
    TTF_Helpers::AppendU16(table, 0);
    for (const TCmapRange &s : segments)
        TTF_Helpers::AppendU16(table, quint16(s.First));
    for (const TCmapRange &s : segments)
        TTF_Helpers::AppendU16(table, s.First == 0xFFFF ? quint16(1) : quint16(s.Glyph - s.First));
    for (qsizetype i = 0; i < count; ++i)
        TTF_Helpers::AppendU16(table, 0);
    return table;
}

QByteArray format12(const std::vector<TCmapRange> &runs)
{
    QByteArray table;
    TTF_Helpers::AppendU16(table, 12);
    TTF_Helpers::AppendU16(table, 0);
    TTF_Helpers::AppendU32(table, quint32(16 + 12 * runs.size()));
    TTF_Helpers::AppendU32(table, 0);
    TTF_Helpers::AppendU32(table, quint32(runs.size()));
    for (const TCmapRange &run : runs) {
        TTF_Helpers::AppendU32(table, run.First);
        TTF_Helpers::AppendU32(table, run.Last);
        TTF_Helpers::AppendU32(table, run.Glyph);
    }
    return table;
}

} // namespace

QByteArray CmapTableClass::Build(const std::vector<TCmapRange> &ranges)
{
    const std::vector<TCmapRange> runs = runsOf(ranges);
    QList<QByteArray> subtables;
    QList<quint16> encodings;
    if (const QByteArray bmp = format4(runs); !bmp.isEmpty()) {
        subtables.append(bmp);
        encodings.append(1);
    }
    // A format 12 subtable needs a group at least.
    if (!runs.empty()) {
        subtables.append(format12(runs));
        encodings.append(10);
    }

    QByteArray cmap;
    AppendU16(cmap, 0);
    AppendU16(cmap, quint16(subtables.size()));
    quint32 offset = quint32(4 + 8 * subtables.size());
    for (qsizetype i = 0; i < subtables.size(); ++i) {
        AppendU16(cmap, 3);
        AppendU16(cmap, encodings[i]);
        AppendU32(cmap, offset);
        offset += quint32(subtables[i].size());
    }
    for (const QByteArray &subtable : subtables)
        cmap.append(subtable);
    return cmap;
}

// ---- head ---------------------------------------------------------------

void FontHeaderClass::Load()
{
    const QByteArrayView d = Data();
    Require(d.size() >= 54);
    version = ReadU32(d, 0);
    fontRevision = ReadU32(d, 4);
    checkSumAdjustment = ReadU32(d, CheckSumAdjustmentOffset);
    magicNumber = ReadU32(d, 12);
    flags = ReadU16(d, 16);
    unitsPerEm = ReadU16(d, 18);
    xMin = ReadS16(d, 36);
    yMin = ReadS16(d, 38);
    xMax = ReadS16(d, 40);
    yMax = ReadS16(d, 42);
    macStyle = ReadU16(d, 44);
    lowestRecPPEM = ReadU16(d, 46);
    fontDirectionHint = ReadS16(d, 48);
    indexToLocFormat = ReadS16(d, 50);
    glyphDataFormat = ReadS16(d, 52);
}

// ---- glyf ---------------------------------------------------------------

QList<quint16> GlyphTableClass::GetComponents(quint32 glyphOffset, quint32 glyphLength) const
{
    enum : quint16 {
        ArgsAreWords = 0x0001,
        HaveScale = 0x0008,
        MoreComponents = 0x0020,
        HaveXYScale = 0x0040,
        HaveTwoByTwo = 0x0080,
    };
    QList<quint16> components;
    const QByteArrayView glyph = Slice(Data(), glyphOffset, glyphLength);
    if (glyph.isEmpty() || ReadS16(glyph, 0) >= 0)
        return components;
    qint64 position = 10;
    quint16 flags = 0;
    do {
        flags = ReadU16(glyph, position);
        components.append(ReadU16(glyph, position + 2));
        position += 4 + ((flags & ArgsAreWords) ? 4 : 2);
        if (flags & HaveScale)
            position += 2;
        else if (flags & HaveXYScale)
            position += 4;
        else if (flags & HaveTwoByTwo)
            position += 8;
        Require(position <= glyph.size());
    } while (flags & MoreComponents);
    return components;
}

// ---- hhea ---------------------------------------------------------------

void HorizontalHeaderClass::Load()
{
    const QByteArrayView d = Data();
    Require(d.size() >= 36);
    version = ReadU32(d, 0);
    ascender = ReadS16(d, 4);
    descender = ReadS16(d, 6);
    lineGap = ReadS16(d, 8);
    advanceWidthMax = ReadU16(d, 10);
    minLeftSideBearing = ReadS16(d, 12);
    minRightSideBearing = ReadS16(d, 14);
    xMaxExtent = ReadS16(d, 16);
    caretSlopeRise = ReadS16(d, 18);
    caretSlopeRun = ReadS16(d, 20);
    caretOffset = ReadS16(d, 22);
    metricDataFormat = ReadS16(d, 32);
    numberOfHMetrics = ReadU16(d, 34);
}

// ---- loca ---------------------------------------------------------------

void IndexToLocationClass::LoadLocaTable(const FontHeaderClass &head, quint16 numGlyphs)
{
    if (head.indexToLocFormat != 0 && head.indexToLocFormat != 1)
        FormatError("Unsupported Index to Location format");
    m_short = head.indexToLocFormat == 0;
    const QByteArrayView d = Data();
    const int entries = numGlyphs + 1;
    m_offsets.resize(entries);
    for (int i = 0; i < entries; ++i)
        m_offsets[i] = m_short ? 2 * quint32(ReadU16(d, 2 * qint64(i))) : ReadU32(d, 4 * qint64(i));
}

quint32 IndexToLocationClass::GlyphOffset(int g) const
{
    Require(g >= 0 && g < GlyphCount());
    return m_offsets[g];
}

quint32 IndexToLocationClass::GlyphLength(int g) const
{
    Require(g >= 0 && g < GlyphCount() && m_offsets[g + 1] >= m_offsets[g]);
    return m_offsets[g + 1] - m_offsets[g];
}

QByteArray IndexToLocationClass::Build(const QList<quint32> &offsets) const
{
    QByteArray table;
    table.reserve(offsets.size() * (m_short ? 2 : 4));
    for (quint32 o : offsets) {
        if (m_short) {
            Require(o % 2 == 0 && o / 2 <= 0xFFFF);
            AppendU16(table, quint16(o / 2));
        } else {
            AppendU32(table, o);
        }
    }
    return table;
}

// ---- name ---------------------------------------------------------------

void NameTableClass::Load()
{
    const QByteArrayView d = Data();
    format = ReadU16(d, 0);
    count = ReadU16(d, 2);
    stringOffset = ReadU16(d, 4);
}

QString NameTableClass::GetName(quint16 nameID) const
{
    const QByteArrayView d = Data();
    const quint16 records = ReadU16(d, 2);
    const quint16 storage = ReadU16(d, 4);
    for (int i = 0; i < records; ++i) {
        const qint64 record = 6 + 12 * qint64(i);
        const quint16 platformID = ReadU16(d, record);
        const quint16 encodingID = ReadU16(d, record + 2);
        if (!(platformID == 0 || (platformID == 3 && encodingID == 1)) || ReadU16(d, record + 6) != nameID)
            continue;
        const QByteArrayView text = Slice(d, qint64(storage) + ReadU16(d, record + 10), ReadU16(d, record + 8));
        QString name;
        for (qint64 k = 0; k + 1 < text.size(); k += 2)
            name.append(QChar(ReadU16(text, k)));
        return name;
    }
    return QString();
}

// ---- post ---------------------------------------------------------------

void PostScriptClass::Load()
{
    const QByteArrayView d = Data();
    Require(d.size() >= 32);
    version = ReadU32(d, 0);
    italicAngle = qint32(ReadU32(d, 4));
    underlinePosition = ReadS16(d, 8);
    underlineThickness = ReadS16(d, 10);
    isFixedPitch = ReadU32(d, 12);
    minMemType42 = ReadU32(d, 16);
    maxMemType42 = ReadU32(d, 20);
    minMemType1 = ReadU32(d, 24);
    maxMemType1 = ReadU32(d, 28);
}

QByteArray PostScriptClass::Version3() const
{
    QByteArray table;
    AppendU32(table, 0x00030000);
    AppendU32(table, quint32(italicAngle));
    AppendU16(table, quint16(underlinePosition));
    AppendU16(table, quint16(underlineThickness));
    for (quint32 value : {isFixedPitch, minMemType42, maxMemType42, minMemType1, maxMemType1})
        AppendU32(table, value);
    return table;
}

// ---- maxp ---------------------------------------------------------------

void MaximumProfileClass::Load()
{
    const QByteArrayView d = Data();
    version = ReadU32(d, 0);
    numGlyphs = ReadU16(d, 4);
    if (version < 0x00010000)
        return;
    quint16 *const fields[] = {&maxPoints,          &maxContours,          &maxCompositePoints,
                               &maxCompositeContours, &maxZones,           &maxTwilightPoints,
                               &maxStorage,         &maxFunctionDefs,      &maxInstructionDefs,
                               &maxStackElements,   &maxSizeOfInstructions, &maxComponentElements,
                               &maxComponentDepth};
    qint64 position = 6;
    for (quint16 *field : fields) {
        *field = ReadU16(d, position);
        position += 2;
    }
}

// ---- OS/2 ---------------------------------------------------------------

void OS2WindowsMetricsClass::Load()
{
    const QByteArrayView d = Data();
    version = ReadU16(d, 0);
    Require(d.size() >= 78);
    xAvgCharWidth = ReadS16(d, 2);
    usWeightClass = ReadU16(d, 4);
    usWidthClass = ReadU16(d, 6);
    fsType = ReadU16(d, 8);
    yStrikeoutSize = ReadS16(d, 26);
    yStrikeoutPosition = ReadS16(d, 28);
    sFamilyClass = ReadS16(d, 30);
    panose = Slice(d, 32, 10).toByteArray();
    achVendID = Slice(d, 58, 4).toByteArray();
    fsSelection = ReadU16(d, 62);
    usFirstCharIndex = ReadU16(d, 64);
    usLastCharIndex = ReadU16(d, 66);
    sTypoAscender = ReadS16(d, 68);
    sTypoDescender = ReadS16(d, 70);
    sTypoLineGap = ReadS16(d, 72);
    usWinAscent = ReadU16(d, 74);
    usWinDescent = ReadU16(d, 76);
    if (version >= 2 && d.size() >= 90)
        sCapHeight = ReadS16(d, 88);
}
