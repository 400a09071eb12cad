#pragma once

// The one font service of the program: fontconfig finds the font file of a
// face name, FreeType reads the font's design metrics, HarfBuzz gives glyph
// indices and advances.  Canvas measuring, text layout and the PDF writer
// all measure through it, with unhinted design advances, so the three agree
// to the last unit whatever the output device.
//
// Face names are resolved through the fontconfig configuration in effect
// (FONTCONFIG_FILE); the project's own configuration maps the usual office
// names (Arial, Times New Roman, Tahoma ...) onto Liberation and DejaVu.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "toolkit/graphics/LazyGlyphTable.h"

#include <functional>
#include <memory>

// Where a requested face was found.
struct TFontFile {
    QString FileName;
    int FaceIndex = 0;
    // The family of the face found, which differs from the request when
    // fontconfig substituted another font.
    QString Family;
    bool Bold = false;
    bool Italic = false;
    bool Substituted = false;
};

// Design metrics of a face in font units.
struct TFontDesignMetrics {
    int UnitsPerEm = 1000;
    int WinAscent = 0;
    int WinDescent = 0; // positive below the baseline
    int TypoAscender = 0;
    int TypoDescender = 0; // negative below the baseline
    int TypoLineGap = 0;
    int HheaAscender = 0;
    int HheaDescender = 0;
    int HheaLineGap = 0;
    int AverageWidth = 0;
    int MaxAdvance = 0;
    int CapHeight = 0;
    int Weight = 400;
    double ItalicAngle = 0; // degrees, negative for a right slant
    int BBoxLeft = 0, BBoxBottom = 0, BBoxRight = 0, BBoxTop = 0;
    int UnderlinePosition = 0; // top of the underline, negative below the baseline
    int UnderlineThickness = 0;
    int StrikeoutPosition = 0;
    int StrikeoutThickness = 0;
    bool FixedPitch = false;
    QString PostScriptName;
};

// Text metrics at one pixel size, rounded like a device font's.
struct TFontMetrics {
    int Ascent = 0;
    int Descent = 0;
    int Height = 0; // Ascent + Descent: the height of every line of text
    int InternalLeading = 0; // Height less the em size
    int ExternalLeading = 0;
    int AverageWidth = 0;
    int MaxWidth = 0;
};

// The glyph a character maps to in a face's character map, without
// shaping, and that glyph's advance in font units.
struct TNominalGlyph {
    quint32 Glyph = 0; // 0 when the face has no glyph for the character
    int Advance = 0;
};

// One loaded face of a font file.  Faces are shared and live as long as the
// font engine's cache (the whole run).
class TFontFace
{
public:
    ~TFontFace();
    TFontFace(const TFontFace &) = delete;
    TFontFace &operator=(const TFontFace &) = delete;

    // The file, face index, family and style of the face.  Substituted is
    // always false here: whether a request was substituted is Resolve's
    // answer to that request.
    const TFontFile &File() const { return m_file; }
    const TFontDesignMetrics &Design() const { return m_design; }
    int UnitsPerEm() const { return m_design.UnitsPerEm; }

    // Metrics at an em size of pixelSize pixels.
    TFontMetrics Metrics(double pixelSize) const;

    // The glyph of a character and its unhinted advance; asked of HarfBuzz
    // once per character and kept.
    TNominalGlyph NominalGlyph(char32_t character) const
    {
        if (character >= m_nominal.Size)
            return unpack(nominalGlyph(character));
        return unpack(m_nominal.Get(character, [this](char32_t c) { return nominalGlyph(c); }));
    }
    // The glyph of a character, 0 when the face has none.
    quint32 GlyphIndex(char32_t character) const { return NominalGlyph(character).Glyph; }
    // The unhinted advance of a glyph in font units.
    int GlyphAdvance(quint32 glyph) const
    {
        if (glyph >= m_advances.Size)
            return glyphAdvance(glyph);
        return m_advances.Get(glyph, [this](quint32 g) { return glyphAdvance(g); });
    }

    // The whole font file (the whole collection for a collection file).
    const QByteArray &FileData() const { return m_data; }
    // One table of the face by its tag ('glyf' ...); empty when absent.
    QByteArray Table(quint32 tag) const;

    // The HarfBuzz font at a scale of one font unit (hb_font_t *).
    void *HarfBuzzFont() const { return m_hbFont; }

private:
    friend class TFontEngine;
    TFontFace() = default;
    void Load(const TFontFile &file);
    // HarfBuzz's answers: a character's glyph and advance packed as
    // advance << 32 | glyph, and a glyph's advance.
    quint64 nominalGlyph(char32_t character) const;
    qint32 glyphAdvance(quint32 glyph) const;
    static TNominalGlyph unpack(quint64 packed) { return {quint32(packed), qint32(packed >> 32)}; }

    TFontFile m_file;
    TFontDesignMetrics m_design;
    QByteArray m_data;
    void *m_ftFace = nullptr; // FT_Face
    void *m_hbFont = nullptr; // hb_font_t
    // What HarfBuzz answered, kept: the glyphs of characters with their
    // advances, and the advances of glyphs.  No real entry has all bits
    // set: glyph ids stay below 65,536.
    mutable TLazyGlyphTable<quint64, ~quint64(0)> m_nominal;
    mutable TLazyGlyphTable<qint32, qint32(-0x7fffffff - 1)> m_advances;
};

using TFontFacePtr = std::shared_ptr<const TFontFace>;

class TFontEngine
{
public:
    // The face file that fontconfig chooses for a face name and style.
    static TFontFile Resolve(const QString &name, bool bold, bool italic);

    // The loaded face for a name and style; cached.  Raises EInvalidOperation
    // when not even a substitute font can be found or read.
    static TFontFacePtr Face(const QString &name, bool bold, bool italic);
    static TFontFacePtr Face(const TFontFile &file);

    // The first face fontconfig offers for a character, best first, that
    // has it in its character set and that shows accepts (any such face
    // when shows is empty); null when none does.  The faces are sorted
    // once a style for all the characters that the same faces have.  A
    // face whose file cannot be read is passed over.
    static TFontFacePtr CoveringFace(char32_t character, bool bold, bool italic,
                                     const std::function<bool(const TFontFace &)> &shows = {});

    // The family names of the installed fonts (the screen fonts), each once,
    // in fontconfig's order.
    static QStringList Families();

    // Frees every cached face and resolution (unit finalisation).
    static void Clear();
    // Counts the calls of Clear: a face kept outside the engine is still the
    // one it would resolve while this stays the same.
    static unsigned Generation();
};

// Builds a table tag from its four letters: FontTag("glyf").
constexpr quint32 FontTag(const char (&tag)[5])
{
    return (quint32(quint8(tag[0])) << 24) | (quint32(quint8(tag[1])) << 16)
        | (quint32(quint8(tag[2])) << 8) | quint32(quint8(tag[3]));
}
