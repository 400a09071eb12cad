#include "export/pdf/qvxTrueTypeFont.h"

#include "toolkit/core/Exceptions.h"

#include <QSet>

#include <algorithm>
#include <bit>

namespace {

constexpr quint32 wholeFontChecksum = 0xB1B0AFBA;

template <class Table>
Table *create(Table *&reference, QByteArrayView image, qint64 entry)
{
    reference = new Table(image, entry);
    return reference;
}

} // namespace

TrueTypeFont::TrueTypeFont(QByteArrayView image, qint64 faceOffset, quint8 checksumMode, TWarningSink warning)
    : ChecksumMode(checksumMode), m_image(image), m_faceOffset(faceOffset), m_warning(std::move(warning))
{
}

TrueTypeFont::~TrueTypeFont() = default;

void TrueTypeFont::LoadFont(const QList<quint32> &skippedTags)
{
    ReadTableDirectory(skippedTags);
    LoadTables();
    CheckTableChecksums();
}

void TrueTypeFont::ReadTableDirectory(const QList<quint32> &skippedTags)
{
    sfntVersion = ReadU32(m_image, m_faceOffset);
    const quint16 directoryCount = ReadU16(m_image, m_faceOffset + 4);
    searchRange = ReadU16(m_image, m_faceOffset + 6);
    entrySelector = ReadU16(m_image, m_faceOffset + 8);
    rangeShift = ReadU16(m_image, m_faceOffset + 10);
    Slice(m_image, m_faceOffset + 12, 16 * qint64(directoryCount));

    cmap = nullptr;
    head = nullptr;
    glyf = nullptr;
    GSUB = nullptr;
    hhea = nullptr;
    hmtx = nullptr;
    loca = nullptr;
    kern = nullptr;
    name = nullptr;
    post = nullptr;
    maxp = nullptr;
    OS2 = nullptr;
    prep = nullptr;
    m_tables.clear();
    QSet<quint32> seen;
    for (int i = 0; i < directoryCount; ++i) {
        const qint64 entry = m_faceOffset + 12 + 16 * qint64(i);
        const quint32 tag = ReadU32(m_image, entry);
        if (skippedTags.contains(tag))
            continue;
        Require(!seen.contains(tag));
        seen.insert(tag);
        TrueTypeTable *table;
        switch (tag) {
        case FontTag("cmap"): table = create(cmap, m_image, entry); break;
        case FontTag("head"): table = create(head, m_image, entry); break;
        case FontTag("glyf"): table = create(glyf, m_image, entry); break;
        case FontTag("GSUB"): table = create(GSUB, m_image, entry); break;
        case FontTag("hhea"): table = create(hhea, m_image, entry); break;
        case FontTag("hmtx"): table = create(hmtx, m_image, entry); break;
        case FontTag("loca"): table = create(loca, m_image, entry); break;
        case FontTag("kern"): table = create(kern, m_image, entry); break;
        case FontTag("name"): table = create(name, m_image, entry); break;
        case FontTag("post"): table = create(post, m_image, entry); break;
        case FontTag("maxp"): table = create(maxp, m_image, entry); break;
        case FontTag("OS/2"): table = create(OS2, m_image, entry); break;
        case FontTag("prep"): table = create(prep, m_image, entry); break;
        default: table = new TrueTypeTable(m_image, entry); break;
        }
        m_tables.emplace_back(table);
    }
    numTables = quint16(m_tables.size());
}

// head and maxp first: loca is read in head's format for maxp's glyph count,
// whatever the order of the directory.
void TrueTypeFont::LoadTables()
{
    for (TrueTypeTable *first : {static_cast<TrueTypeTable *>(head), static_cast<TrueTypeTable *>(maxp)})
        if (first)
            first->Load();
    for (const auto &table : m_tables) {
        if (table.get() == head || table.get() == maxp)
            continue;
        table->Load();
        if (table.get() == cmap)
            cmap->LoadCmapTable(maxp ? maxp->numGlyphs : 0);
        else if (table.get() == loca) {
            Require(head && maxp);
            loca->LoadLocaTable(*head, maxp->numGlyphs);
        }
    }
}

void TrueTypeFont::CheckTableChecksums()
{
    if (ChecksumMode == 0)
        return;
    for (const auto &table : m_tables) {
        const quint32 computed = TableChecksum(*table);
        // The faces of some collections state head's checksum over the
        // table as it stands, checkSumAdjustment included.
        if (computed == table->checkSum
            || (table.get() == head && CalcTableChecksum(table->Data()) == table->checkSum))
            continue;
        const QString message = QStringLiteral("Table ID \"%1\" checksum error.%2 %3")
                                    .arg(table->TagName())
                                    .arg(computed)
                                    .arg(table->checkSum);
        if (ChecksumMode == 1)
            throw Exception(message);
        if (m_warning)
            m_warning(message);
    }
}

QString TrueTypeFont::FullName() const { return name ? name->GetName(4) : QString(); }

bool TrueTypeFont::IsCFF() const
{
    if (sfntVersion == FontTag("OTTO"))
        return true;
    return !glyf && std::any_of(m_tables.begin(), m_tables.end(), [](const auto &t) {
        return t->tag == FontTag("CFF ") || t->tag == FontTag("CFF2");
    });
}

bool TrueTypeFont::GlyphDrawable(quint32 glyph) const
{
    if (!glyf || !loca)
        return false;
    const auto glyphCount = quint32(loca->GlyphCount());
    QList<quint32> pending{glyph};
    QSet<quint32> seen;
    try {
        while (!pending.isEmpty()) {
            const quint32 g = pending.takeLast();
            if (g >= glyphCount)
                return false;
            if (seen.contains(g))
                continue;
            seen.insert(g);
            const quint32 length = loca->GlyphLength(int(g));
            if (length == 0)
                continue;
            for (quint16 component : glyf->GetComponents(loca->GlyphOffset(int(g)), length))
                pending.append(component);
        }
    } catch (const Exception &) {
        return false;
    }
    return true;
}

void TrueTypeFont::AddGlyph(quint16 glyph)
{
    if (m_isUsed[glyph])
        return;
    m_isUsed[glyph] = true;
    m_usedGlyphs.append(glyph);
}

QByteArray TrueTypeFont::SaveSubset()
{
    BuildGlyphSubset();
    if (cmap && cmap->DroppedMappings())
        cmap->Replace(CmapTableClass::Build(cmap->MappedRanges()));
    if (post)
        post->Replace(post->Version3());
    return WriteFontFile();
}

QByteArray TrueTypeFont::SaveFace() { return WriteFontFile(); }

// A walk over a stack, each glyph entered once: chains of any depth, shared
// components and even cycles cost one visit per glyph.
std::vector<bool> TrueTypeFont::CollectGlyphs() const
{
    const int glyphCount = loca->GlyphCount();
    std::vector<bool> kept(size_t(glyphCount), false);
    QList<quint16> pending = m_usedGlyphs;
    pending.append(0);
    while (!pending.isEmpty()) {
        const quint16 g = pending.takeLast();
        Require(g < glyphCount);
        if (kept[g])
            continue;
        kept[g] = true;
        const quint32 length = loca->GlyphLength(g);
        if (length == 0)
            continue;
        for (quint16 component : glyf->GetComponents(loca->GlyphOffset(g), length))
            if (component >= glyphCount || !kept[component])
                pending.append(component);
    }
    return kept;
}

void TrueTypeFont::BuildGlyphSubset()
{
    if (!glyf)
        FormatError("Glyph table not found");
    Require(head && maxp && loca);
    const std::vector<bool> kept = CollectGlyphs();
    const QByteArrayView source = glyf->Data();
    QByteArray glyphs;
    QList<quint32> offsets;
    offsets.reserve(qsizetype(kept.size()) + 1);
    for (int g = 0; g < int(kept.size()); ++g) {
        offsets.append(quint32(glyphs.size()));
        if (kept[size_t(g)])
            glyphs.append(Slice(source, loca->GlyphOffset(g), loca->GlyphLength(g)));
    }
    offsets.append(quint32(glyphs.size()));
    glyf->Replace(glyphs);
    loca->Replace(loca->Build(offsets));
}

QByteArray TrueTypeFont::WriteFontFile()
{
    const quint16 count = quint16(m_tables.size());
    Require(count > 0);
    std::vector<TrueTypeTable *> bySource;
    for (const auto &table : m_tables)
        bySource.push_back(table.get());
    std::stable_sort(bySource.begin(), bySource.end(),
                     [](const TrueTypeTable *a, const TrueTypeTable *b) { return a->sourceOffset < b->sourceOffset; });

    QByteArray output(12 + 16 * qsizetype(count), '\0');
    for (TrueTypeTable *table : bySource) {
        table->Save(output);
        table->checkSum = TableChecksum(*table);
    }

    const int power = std::bit_floor(unsigned(count));
    WriteU32(output, 0, sfntVersion);
    WriteU16(output, 4, count);
    WriteU16(output, 6, quint16(16 * power));
    WriteU16(output, 8, quint16(std::countr_zero(unsigned(power))));
    WriteU16(output, 10, quint16(16 * (count - power)));
    std::vector<TrueTypeTable *> byTag = bySource;
    std::sort(byTag.begin(), byTag.end(), [](const TrueTypeTable *a, const TrueTypeTable *b) { return a->tag < b->tag; });
    qint64 entry = 12;
    for (const TrueTypeTable *table : byTag) {
        WriteU32(output, entry, table->tag);
        WriteU32(output, entry + 4, table->checkSum);
        WriteU32(output, entry + 8, table->offset);
        WriteU32(output, entry + 12, table->length);
        entry += 16;
    }

    if (head && head->length >= FontHeaderClass::CheckSumAdjustmentOffset + 4) {
        const qint64 adjustment = head->offset + FontHeaderClass::CheckSumAdjustmentOffset;
        WriteU32(output, adjustment, 0);
        WriteU32(output, adjustment, wholeFontChecksum - CalcTableChecksum(output));
    }
    return output;
}

quint32 TrueTypeFont::CalcTableChecksum(QByteArrayView data)
{
    const auto *bytes = reinterpret_cast<const quint8 *>(data.data());
    quint32 sum = 0;
    const qint64 whole = data.size() & ~qint64(3);
    for (qint64 i = 0; i < whole; i += 4)
        sum += quint32(bytes[i]) << 24 | quint32(bytes[i + 1]) << 16 | quint32(bytes[i + 2]) << 8 | bytes[i + 3];
    for (qint64 i = whole; i < data.size(); ++i)
        sum += quint32(bytes[i]) << (24 - 8 * (i - whole));
    return sum;
}

quint32 TrueTypeFont::TableChecksum(const TrueTypeTable &table) const
{
    const QByteArrayView data = table.Data();
    quint32 sum = CalcTableChecksum(data);
    if (&table == head && data.size() >= FontHeaderClass::CheckSumAdjustmentOffset + 4)
        sum -= ReadU32(data, FontHeaderClass::CheckSumAdjustmentOffset);
    return sum;
}
