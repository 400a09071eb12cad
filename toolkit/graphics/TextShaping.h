#pragma once

// Shaping of one line of UTF-16 text with one face: FriBidi splits the line
// into directional runs and orders them for display, HarfBuzz turns each run
// into glyphs.  Kerning and Latin ligatures are off, so a shaped line of
// Latin or Cyrillic measures exactly like the sum of its characters'
// advances and like the same glyphs written into a PDF file.  Characters
// that show nothing (joiners, variation selectors, direction marks, the
// soft hyphen) get no glyph and take no room.

#include "toolkit/graphics/FontEngine.h"

#include <QList>
#include <QStringView>

// A break opportunity that shows nothing, unless a line breaks at it: then
// it shows as a hyphen.
constexpr char16_t SoftHyphen = 0x00AD;

struct TShapedGlyph {
    quint32 Glyph = 0;
    int Cluster = 0; // index of the first UTF-16 unit of the character(s) it shows
    int Advance = 0; // font units, as the shaper places the next glyph
    // Where the glyph is drawn from the pen, font units, y upwards: marks
    // that the font places on their base, in stacks or beside it.
    int XOffset = 0;
    int YOffset = 0;
};

// A run of one direction and script.  Glyphs are in visual order (left to
// right on the page), so a right-to-left run lists its last character first.
struct TGlyphRun {
    int Start = 0; // UTF-16 range of the run in the line
    int Length = 0;
    bool RightToLeft = false;
    quint32 Script = 0; // HarfBuzz's script tag (hb_script_t); 0 for a line shaped simply
    QList<TShapedGlyph> Glyphs;
};

// Latin and Cyrillic characters other than combining marks need neither
// bidi nor shaping: a line of such characters alone shows each with the
// face's own glyph for it and that glyph's nominal advance.  The soft
// hyphen is not one of them: the shaper leaves it out.
inline bool IsSimplyShaped(char16_t u)
{
    return (u < 0x0300 && u != SoftHyphen) || (u >= 0x0400 && u < 0x0483) || (u >= 0x048A && u < 0x0530);
}

// Whether the shaper leaves the character out (Unicode's default
// ignorables, as HarfBuzz hides them): it shows nothing and takes no room.
bool IsDefaultIgnorable(char32_t character);

// The runs of one direction and script of a line in visual order, without
// glyphs.  With rightToLeft the line reads from the right.
QList<TGlyphRun> DirectionalRuns(QStringView text, bool rightToLeft = false);

// The runs of a line in visual order.  With rightToLeft the paragraph's base
// direction is right to left (the line reads from the right).
QList<TGlyphRun> ShapeLine(const TFontFace &face, QStringView text, bool rightToLeft = false);

// The advance of each UTF-16 unit of the text in font units, in logical
// order: a glyph's advance goes to the first unit of its cluster, the other
// units of the cluster get 0.  With glyphs, the number of glyphs drawn for
// each unit that move the pen on is counted the same way (0 for a
// character that shows nothing or is drawn by the glyph of another; a mark
// of no advance counts none).
QList<int> CharacterAdvances(const TFontFace &face, QStringView text, bool rightToLeft = false,
                             QList<int> *glyphs = nullptr);

// The sum of all advances of the text in font units.
qint64 TextAdvance(const TFontFace &face, QStringView text, bool rightToLeft = false);
