#pragma once

// The CFF table of an OpenType font with CFF outlines, read far enough to
// check it and to write a subset of it.
//
// The subset keeps glyph numbers: a glyph that is not used keeps its place
// with an empty charstring (a lone endchar).  The header, the names, the
// strings, the global and local subroutines, the encoding and the
// FDSelect are copied unchanged; the Top DICT, each Font DICT and each
// Private DICT are written again with every offset as a 5-byte integer.  A
// CID-keyed font gets an identity charset (CID n is glyph n), so that a
// PDF reader selecting glyphs by CID finds the glyph the shaper chose.
//
// Every read is checked against the table's bytes; a table that does not
// hold together raises "CFF font format error".  CFF2 (variable) tables
// are not read.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

class TqvxCFFFont
{
public:
    // Reads and checks the table.
    explicit TqvxCFFFont(QByteArrayView table);

    int GlyphCount() const { return m_glyphCount; }
    bool IsCIDKeyed() const { return m_cidKeyed; }

    // The table with the used glyphs and glyph 0; glyphs past the end of
    // the font raise the format error.
    QByteArray Subset(const QList<quint16> &usedGlyphs) const;

    // One DICT entry: its operands as written and as numbers, its operator.
    struct Entry {
        QByteArray Operands;
        QList<double> Values;
        int Operator = 0; // 12 x as 1200 + x
    };

    // An INDEX: where it lies and the offsets of its items.
    struct Index {
        qint64 Start = 0;
        qint64 End = 0;
        QList<qint64> Offsets; // absolute, one more than the items
        int Count() const { return int(Offsets.size()) - 1; }
    };

private:
    struct PrivateDict {
        QList<Entry> Entries;
        qint64 SubrsStart = -1; // absolute; -1 without local subroutines
        qint64 SubrsEnd = -1;
    };

    Index readIndex(qint64 offset) const;
    QList<Entry> readDict(qint64 offset, qint64 length) const;
    PrivateDict readPrivate(const QList<Entry> &dict) const;
    qint64 charsetLength(qint64 offset) const;
    qint64 encodingLength(qint64 offset) const;
    qint64 fdSelectLength(qint64 offset) const;

    QByteArrayView m_data;
    quint8 m_headerSize = 4;
    Index m_names;
    Index m_topDicts;
    Index m_strings;
    Index m_globalSubrs;
    Index m_charStrings;
    Index m_fdArray;
    QList<Entry> m_top;
    QList<QList<Entry>> m_fontDicts;
    QList<PrivateDict> m_privates; // the top's, or one per Font DICT
    int m_glyphCount = 0;
    bool m_cidKeyed = false;
    qint64 m_charset = 0;
    qint64 m_encoding = 0;
    qint64 m_fdSelect = 0;
};
