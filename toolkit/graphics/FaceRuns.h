#pragma once

// Which face shows each part of a line.  A face lacks many characters
// (Liberation has no Chinese); for such a character the faces fontconfig
// offers stand in, each for whole grapheme clusters, so that a letter and
// its marks come from one face.  The canvas measures and draws through
// this split, and so the text layout does; the PDF writer splits its lines
// here too.  Every width is thus measured with the face that shows it.

#include "toolkit/graphics/FontEngine.h"

#include <QList>
#include <QStringView>

#include <functional>

// A stretch of a line of one direction shown by one face.
struct TFaceRun {
    int Start = 0; // UTF-16 range in the line
    int Length = 0;
    bool RightToLeft = false;
    TFontFacePtr Face;
    // No face shows the stretch (one grapheme cluster): Face shows U+FFFD
    // in its place.
    bool Replaced = false;
};

// Whether a face shows every character of a cluster.
using TFaceCovers = std::function<bool(const TFontFace &face, QStringView cluster)>;

// Characters that show nothing of their own: controls, format characters
// (joiners, direction marks, the soft hyphen) and the other characters the
// shaper leaves out (variation selectors, the combining grapheme joiner).
bool ShowsNothing(char32_t character);

// The ends of the text's grapheme clusters (UTF-16 indices, ascending, the
// text's length last): a letter with its marks, an emoji sequence with its
// joiners, modifiers and selectors, a flag's two regional indicators.
QList<qsizetype> GraphemeClusterEnds(QStringView text);

// The character at UTF-16 index i, whose length in units goes to length;
// a lone surrogate is U+FFFD.
inline char32_t CharacterAt(QStringView text, qsizetype i, int &length)
{
    const char16_t u = text[i].unicode();
    length = 1;
    if (!QChar::isSurrogate(u))
        return u;
    if (QChar::isHighSurrogate(u) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
        length = 2;
        return QChar::surrogateToUcs4(text[i], text[i + 1]);
    }
    return 0xFFFD;
}

// Whether has(character) holds for every character of the text that shows
// something.
template <typename Has>
bool ShowsAll(QStringView text, Has has)
{
    int length = 1;
    for (qsizetype i = 0; i < text.size(); i += length) {
        const char32_t c = CharacterAt(text, i, length);
        // has is asked first: most characters are covered, and the
        // category of those is not needed.
        if (!has(c) && !ShowsNothing(c))
            return false;
    }
    return true;
}

// Whether the face has a glyph for every character of the text that shows
// something.
inline bool FaceCoversText(const TFontFace &face, QStringView text)
{
    return ShowsAll(text, [&face](char32_t c) { return face.GlyphIndex(c) != 0; });
}

// The stretches of a line and their faces, in visual order; with
// rightToLeft the line reads from the right.  A line the face covers whole
// is one stretch of the face, in the line's own direction (which the
// shaping of the whole line resolves); otherwise every stretch is of one
// direction.  covers decides which faces can show a cluster.
QList<TFaceRun> FaceRuns(const TFontFacePtr &face, QStringView text, bool rightToLeft, bool bold, bool italic,
                         const TFaceCovers &covers = FaceCoversText);
