#pragma once

// A font file as the PDF fonts hand it over: a single TrueType font, a
// TrueType collection, or a CFF-flavoured OpenType font ("OTTO"), and the
// subset of one face of it.
//
// The face is the one fontconfig named by its index when the caller knows
// it; otherwise the face whose full name (name ID 4) is the font's name with
// " Bold" / " Italic" added, and failing that the last face.  A face with
// CFF outlines is subset in its CFF table (see TqvxCFFFont) and keeps its
// other tables but the layout and variation ones.
//
// Checksum mismatches are not fatal; their messages go to OnWarning.

#include "export/pdf/qvxTrueTypeFont.h"

class TFont;

class TrueTypeCollection
{
public:
    TrueTypeCollection();
    ~TrueTypeCollection();
    TrueTypeCollection(const TrueTypeCollection &) = delete;
    TrueTypeCollection &operator=(const TrueTypeCollection &) = delete;

    TrueTypeFont::TWarningSink OnWarning;

    // Takes the font file (the array is shared, not copied).  Raises
    // "TrueType font format error" for a file of no known kind (WOFF among
    // them) and "Unknown font collection version" for a collection of
    // another version.
    void LoadFromMemory(const QByteArray &image);

    bool IsCollection() const { return m_collection; }
    int FaceCount() const { return int(m_faces.size()); }
    TrueTypeFont &Face(int index) const { return *m_faces.at(size_t(index)); }

    // The index of the face for the font (see above); -1 without faces.
    int ChooseFace(const TFont &font, int faceIndex = -1) const;
    // The font or its chosen face has CFF outlines.
    bool IsCFF(const TFont &font, int faceIndex = -1) const;

    // The subset font file of the chosen face for the glyphs; empty when
    // there is no face.  Raises the reader's error for a face it cannot
    // read, one without outlines among them ("Glyph table not found").
    QByteArray GetSubsetFontData(const TFont &font, const QList<quint16> &usedGlyphs, int faceIndex = -1);
    // The chosen face whole as a font file of its own: the file itself
    // unless it is a collection.
    QByteArray GetFaceFontData(const TFont &font, int faceIndex = -1) const;

private:
    QByteArray subsetCFF(TrueTypeFont &face, const QList<quint16> &usedGlyphs);

    QByteArray m_image;
    bool m_collection = false;
    bool m_cff = false;
    std::vector<std::unique_ptr<TrueTypeFont>> m_faces;
};

// Tables a subset leaves out: bitmaps, device metrics, the signature and
// the variation tables.
const QList<quint32> &SkippedTables();
// What a CFF subset leaves out besides: the layout tables.
const QList<quint32> &SkippedCFFTables();
