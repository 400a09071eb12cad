#pragma once

// One face of a TrueType font file: its table directory, its tables, and the
// subset font built from the glyphs a document uses.
//
// The face reads from the font image and never changes it; the subset is a
// new font file: the kept tables in their source order, each at a 4-byte
// boundary with zero padding and its real length, a tag-sorted directory
// with a header recomputed for the number of tables, every table checksum
// recomputed, and head's checkSumAdjustment making the whole file sum to
// 0xB1B0AFBA.

#include "export/pdf/qvxTrueTypeTables.h"

#include <functional>
#include <memory>
#include <vector>

class TrueTypeFont : public TTF_Helpers
{
public:
    // Receives the text of a checksum mismatch in checksum mode 2.
    using TWarningSink = std::function<void(const QString &)>;

    // The face whose offset table starts at faceOffset of the image.  The
    // image must outlive the face.
    TrueTypeFont(QByteArrayView image, qint64 faceOffset, quint8 checksumMode = 2,
                 TWarningSink warning = TWarningSink());
    ~TrueTypeFont();
    TrueTypeFont(const TrueTypeFont &) = delete;
    TrueTypeFont &operator=(const TrueTypeFont &) = delete;

    // Where the face's offset table lies in the image.
    qint64 FaceOffset() const { return m_faceOffset; }

    // 0: no check; 1: a mismatch raises; 2: a mismatch goes to the warning
    // sink and loading goes on.
    quint8 ChecksumMode;

    // ReadTableDirectory, LoadTables and CheckTableChecksums.
    void LoadFont(const QList<quint32> &skippedTags);
    // The directory; tables with a skipped tag are left out.
    void ReadTableDirectory(const QList<quint32> &skippedTags);
    // Parses the known tables (loca needs head and maxp; cmap raises on the
    // formats it cannot read).
    void LoadTables();
    void CheckTableChecksums();

    // The full font name (name ID 4); empty when the face has none.
    QString FullName() const;
    // The face has CFF outlines ("OTTO", or a CFF table and no glyf).
    bool IsCFF() const;

    // The glyph and every component of it, at any depth, lie inside the
    // glyph table (a face may map characters to glyphs it does not have, or
    // locate glyphs past its glyph table).  Needs the tables loaded.
    bool GlyphDrawable(quint32 glyph) const;

    void AddGlyph(quint16 glyph);
    const QList<quint16> &UsedGlyphs() const { return m_usedGlyphs; }

    // The subset font file: the used glyphs, glyph 0 and every component of
    // a kept composite glyph, at any depth; glyph numbers do not change.
    // A character map with mappings to glyphs past the face's count is
    // written anew without them.
    QByteArray SaveSubset();
    // Every table of the directory copied unchanged into a font file of its
    // own (a face of a collection taken whole, or a face whose CFF table
    // the subset replaced).
    QByteArray SaveFace();

    // The sum of the data as big-endian 32-bit words, the last one padded
    // with zeros.
    static quint32 CalcTableChecksum(QByteArrayView data);

    quint32 sfntVersion = 0;
    quint16 numTables = 0;
    quint16 searchRange = 0;
    quint16 entrySelector = 0;
    quint16 rangeShift = 0;

    CmapTableClass *cmap = nullptr;
    FontHeaderClass *head = nullptr;
    GlyphTableClass *glyf = nullptr;
    GlyphSubstitutionClass *GSUB = nullptr;
    HorizontalHeaderClass *hhea = nullptr;
    HorizontalMetrixClass *hmtx = nullptr;
    IndexToLocationClass *loca = nullptr;
    KerningTableClass *kern = nullptr;
    NameTableClass *name = nullptr;
    PostScriptClass *post = nullptr;
    MaximumProfileClass *maxp = nullptr;
    OS2WindowsMetricsClass *OS2 = nullptr;
    PreProgramClass *prep = nullptr;

    const std::vector<std::unique_ptr<TrueTypeTable>> &Tables() const { return m_tables; }

private:
    void BuildGlyphSubset();
    // The kept glyphs: every used glyph, glyph 0 and all their components.
    std::vector<bool> CollectGlyphs() const;
    QByteArray WriteFontFile();
    // The checksum of a table as the directory states it: head counts with
    // checkSumAdjustment zero.
    quint32 TableChecksum(const TrueTypeTable &table) const;

    QByteArrayView m_image;
    qint64 m_faceOffset;
    TWarningSink m_warning;
    std::vector<std::unique_ptr<TrueTypeTable>> m_tables;
    QList<quint16> m_usedGlyphs;
    std::vector<bool> m_isUsed = std::vector<bool>(65536, false);
};
