#pragma once

// One font of a PDF document: the face the program's font engine measures
// a report font with, the glyphs of that face the document uses (in order
// of first use) with their widths and the text each stands for, and the
// font file that goes into the document.
//
// Text is shaped by the same engine that lays it out (FriBidi and
// HarfBuzz), so the glyph indices written are those of the face that
// measured them.  The text a glyph stands for comes from the shaper's
// clusters: a ligature stands for all its characters, and a right-to-left
// run maps back to its characters in logical order.  A cluster of as many
// glyphs as characters maps glyph by glyph; otherwise its first glyph
// stands for the whole cluster.  Glyph 0 stands for U+FFFD, never for a
// character the face lacks.
//
// A face is used only when the subsetter reads it as a TrueType or CFF
// face with outlines; Unusable says why another is not (a bitmap-only
// face, a WOFF file, a damaged font).  Of a TrueType face only the glyphs
// the subset can hold are used: a character the face maps to a glyph it
// does not have is one it lacks.

#include "toolkit/graphics/FontEngine.h"
#include "toolkit/graphics/GraphicsObjects.h"

#include <QList>
#include <QString>

#include <algorithm>
#include <functional>
#include <limits>
#include <memory>
#include <vector>

struct TGlyphRun;
struct TShapedGlyph;
class TqvxPDFContentText;
class TrueTypeFont;

// Receives the texts of what went wrong with a font without ending the
// export (a font file that could not be subset, a checksum mismatch).
using TqvxPDFWarningSink = std::function<void(const QString &)>;

// Metrics of the font descriptor in glyph space (1000 units per em).
struct TqvxPDFFontMetrics {
    int BBoxLeft = 0;
    int BBoxBottom = 0;
    int BBoxRight = 0;
    int BBoxTop = 0;
    int ItalicAngle = 0; // degrees
    int Ascent = 0;
    int Descent = 0; // negative below the baseline
    int Leading = 0;
    int CapHeight = 0;
    int StemV = 0;
    int AvgWidth = 0;
    int MaxWidth = 0;
};

// The bytes of an embedded font: a TrueType font (FontFile2) or, for a face
// with CFF outlines, an OpenType font (FontFile3 of subtype OpenType);
// empty when the subset could not be made.
struct TqvxPDFFontFile {
    QByteArray Data;
    bool OpenType = false;
};

// A box around the ink of a run of glyphs and the point the run starts
// at, in points from that point (y upwards).  Not Known when a glyph was
// not recorded.
struct TqvxPDFInk {
    bool Known = false;
    double Left = 0;
    double Right = 0;
    double Bottom = 0;
    double Top = 0;
};

// Where the ink of a line must stay: the line starts at X, Y, and its ink
// box reaches neither left of Left, right of Right, below Bottom nor above
// Top (points on the page).
struct TqvxPDFInkLimits {
    double X = 0;
    double Y = 0;
    double Left = 0;
    double Right = 0;
    double Bottom = 0;
    double Top = 0;

    bool Hold(const TqvxPDFInk &ink) const
    {
        return ink.Known
            && !(X + ink.Left < Left || X + ink.Right > Right || Y + ink.Bottom < Bottom || Y + ink.Top > Top);
    }
};

// Where a glyph is drawn apart from where the font's widths put it, in
// glyph space (1000 units per em): its offset from the pen (a mark the
// font places on its base, y upwards), and how much further than its
// width the pen moves after it; and whether the shaper moves the pen on
// after it at all (a mark of no advance does not, and takes no character
// spacing), and whether such a glyph comes ahead of the glyph it sits on
// (in right-to-left text) rather than after it.
struct TqvxPDFGlyphPlace {
    int X = 0;
    int Y = 0;
    int Advance = 0;
    bool Moves = true;
    bool Leads = false;
};

// Glyphs that show a cluster with characters that show nothing of their
// own (a joiner, a variation selector, a direction mark), and the
// cluster's whole text, which they stand for together.
struct TqvxPDFGlyphSpan {
    qsizetype First = 0; // index of the first glyph in the shaped line
    qsizetype Count = 0;
    QString Text;
};

// A line shaped in a document font.
struct TqvxPDFShapedText {
    QList<quint16> Glyphs; // in visual order
    // The place of each glyph; empty when every glyph sits where the
    // widths before it put it.
    QList<TqvxPDFGlyphPlace> Places;
    // In order of their glyphs, apart from each other.
    QList<TqvxPDFGlyphSpan> Spans;
    // The texts recorded for the glyphs, with the spans' texts in place of
    // their glyphs', give back the line (a glyph seen before with another
    // text does not).
    bool Exact = true;
};

// Faces that match by name alone and get no style suffix in their PDF name.
bool IsCJKFace(const QString &name);

class TqvxPDFFont
{
public:
    // The font of the report and the face the font engine serves it with,
    // or the face given (a font file chosen by its path).
    explicit TqvxPDFFont(const TFont &font, TFontFacePtr face = nullptr);
    ~TqvxPDFFont();

    const TFont &Font() const { return m_font; }
    const TFontFace &Face() const { return *m_face; }
    const TFontFacePtr &SharedFace() const { return m_face; }

    // The report font is drawn with this font: the same name (letter case
    // counts) and either the same style or a face of the CJK list.
    bool Matches(const TFont &font) const;

    // The face used is not the face the report names (fontconfig served
    // another family, or the face stands in for another's characters); its
    // file must then travel with the document.
    bool IsSubstituted() const { return m_substituted; }
    void SetSubstituted() { m_substituted = true; }

    // Why the face cannot be embedded; empty when it can.
    const QString &Unusable() const { return m_unusable; }
    // The face has CFF outlines (a CIDFontType0 font in the document).
    bool IsCFF() const { return m_cff; }
    // The face is usable and has a glyph for the character that the
    // embedded subset can hold (see TrueTypeFont::GlyphDrawable).
    bool Covers(char32_t character) const { return m_unusable.isEmpty() && drawable(m_face->GlyphIndex(character)); }

    // A line shaped: its glyphs in visual order, new ones recorded with
    // their widths and texts.  Characters that show nothing have no
    // glyph: a glyph whose cluster holds such characters stands for its
    // visible ones, and the glyphs of the cluster form a span with the
    // cluster's whole text.  A stretch of such characters alone (a
    // direction mark between two runs) joins the span of the cluster
    // before it, or else after it.
    TqvxPDFShapedText Shape(const QString &text, bool rightToLeft = false);
    // The glyphs of a line as Shape gives them; exact, when given, tells
    // whether their recorded texts alone give back the line.
    QList<quint16> GetGlyphs(const QString &text, bool rightToLeft = false, bool *exact = nullptr);

    // The glyphs used so far in order of first use, their widths in glyph
    // space, and the text each stands for (empty for a glyph that only
    // follows another of the same cluster).
    const QList<quint16> &Glyphs() const { return m_glyphs; }
    const QList<int> &Widths() const { return m_widths; }
    const QList<QString> &Characters() const { return m_characters; }

    // The ink of a shaped line's glyphs, all recorded, shown at a size in
    // points at their places, each advancing by its recorded width and the
    // character spacing (points).
    TqvxPDFInk Ink(const TqvxPDFShapedText &shaped, double size, double spacing) const;

    // Shows a line of characters that are each shaped alone
    // (IsSimplyShaped) and that the font covers, as GetGlyphs and
    // PdfShowGlyphs would: the glyphs are recorded and their operator
    // written to out.  With limits, within tells whether the ink of the
    // glyphs (as Ink gives it) keeps within them.  False, with nothing
    // written, for a line with another character or whose glyphs do not
    // give its text back.  What is known of each character is kept, so a
    // line costs a table look-up a character; the ink is summed up glyph
    // by glyph only where a box around all recorded glyphs' ink does not
    // settle it.
    bool ShowSimply(TqvxPDFContentText &out, QStringView text, double size, double spacing,
                    const TqvxPDFInkLimits *limits, bool *within);

    // "/F0 10": the resource name and a size, the operands of Tf.
    const QByteArray &FontOperands(int size);
    // The report font names a CJK face (IsCJKFace).
    bool IsCJK() const { return m_cjk; }

    // The name of the face used, escaped, with ",Bold", ",Italic" or
    // ",BoldItalic" after it unless it is a CJK face.
    QByteArray GetPDFName() const;

    TqvxPDFFontMetrics Metrics() const;

    // The subset of the used glyphs; empty when it cannot be made (the
    // warning says why).
    TqvxPDFFontFile GetFontFile(const TqvxPDFWarningSink &warning) const;

    // "/F" + index in the document's font list.
    QByteArray ResourceName;
    // The Type0 font's object number once reserved; 0 before.
    int ObjectNumber = 0;

private:
    // Records a glyph; false when it was recorded before with another text.
    bool record(quint32 glyph, int advance, QStringView text)
    {
        const auto id = quint16(glyph);
        if (id >= m_index.size() || m_index[id] < 0)
            return recordNew(id, advance, text);
        // Most glyphs stand for one character: compared without a call.
        const QString &known = m_characters.at(m_index[id]);
        return known.size() == text.size() && (text.size() == 1 ? known.front() == text.front() : known == text);
    }
    bool recordNew(quint16 id, int advance, QStringView text);
    // Records the glyphs of a run whose clusters are not one glyph each in
    // logical order; false as record.  The spans of its clusters that hold
    // characters that show nothing go to spans, their glyphs counted from
    // first; the ranges of such characters after a blank, to afterBlanks.
    bool recordReordered(const QString &text, const TGlyphRun &run, qsizetype first, QList<TqvxPDFGlyphSpan> &spans,
                         QList<std::pair<int, int>> &afterBlanks);
    // The place of a shaped glyph, recorded before.
    TqvxPDFGlyphPlace place(const TShapedGlyph &glyph) const;
    void checkFace();
    bool drawable(quint32 glyph) const
    {
        if (glyph == 0)
            return false;
        if (glyph < m_drawable.size() && m_drawable[glyph] != unknownGlyph)
            return m_drawable[glyph] == drawableGlyph;
        return checkDrawable(glyph);
    }
    bool checkDrawable(quint32 glyph) const;
    // What is known of a character below simpleCharacters: the glyph that
    // shows it when it is shaped alone and covered (else noGlyph; 0 when
    // not asked yet), and once the glyph is recorded, where, whether for
    // this character's text, and its code in a literal string.  At stays
    // -1 for a character without such a glyph.
    struct SimpleCharacter {
        quint32 Glyph = 0;
        int At = -1;
        int Advance = 0; // glyph space
        bool Exact = false;
        quint8 CodeLength = 0;
        char Code[4] = {};
    };
    SimpleCharacter &simpleCharacter(char16_t character);

    TFont m_font;
    TFontFacePtr m_face;
    bool m_substituted = false;
    QString m_unusable;
    bool m_cff = false;
    // The face's tables, read for the glyphs' checks on first need, and
    // what the checks found, by glyph.
    enum : quint8 { unknownGlyph, drawableGlyph, missingGlyph };
    mutable bool m_outlinesRead = false;
    mutable std::unique_ptr<TrueTypeFont> m_outlines;
    mutable std::vector<quint8> m_drawable;
    QList<quint16> m_glyphs;
    QList<int> m_widths;
    QList<QString> m_characters;
    // Where each glyph id sits in the lists above, -1 where it is not;
    // grown up to the highest id recorded.
    std::vector<int> m_index;
    // The outline's box and the advance of each recorded glyph in glyph
    // space, in the order of the lists above.
    struct Extents {
        float Left, Right, Bottom, Top, Advance;
    };
    std::vector<Extents> m_extents;
    // The ink of glyphs shown one after another at a size and spacing.
    class InkSum
    {
    public:
        InkSum(double size, double spacing) : m_k(size / 1000), m_spacing(spacing) {}
        void Add(const Extents &e, const TqvxPDFGlyphPlace &at = {})
        {
            // A glyph without outline (a space) has no ink.
            // A glyph that does not move the pen on sits on its neighbour
            // (ahead of the spacing after the glyph before it when it
            // follows that one), and takes no spacing itself.
            const double x = m_pen + at.X * m_k - (at.Moves || at.Leads ? 0 : m_spacing);
            if (e.Right > e.Left) {
                m_left = std::min(m_left, x + e.Left * m_k);
                m_right = std::max(m_right, x + e.Right * m_k);
                m_bottom = std::min(m_bottom, (e.Bottom + at.Y) * m_k);
                m_top = std::max(m_top, (e.Top + at.Y) * m_k);
            }
            if (at.Moves)
                m_pen += (e.Advance + at.Advance) * m_k + m_spacing;
        }
        TqvxPDFInk Ink() const { return {true, m_left, m_right, m_bottom, m_top}; }

    private:
        double m_k, m_spacing;
        double m_left = 0, m_right = 0, m_bottom = 0, m_top = 0, m_pen = 0;
    };
    static constexpr char16_t simpleCharacters = 0x0530;
    static constexpr quint32 noGlyph = ~quint32(0);
    std::vector<SimpleCharacter> m_simpleCharacters;
    // The extremes of the ink of all recorded glyphs, glyph space, and
    // whether one advances backwards.
    float m_inkLeft = std::numeric_limits<float>::infinity();
    float m_inkRight = -std::numeric_limits<float>::infinity();
    float m_inkBottom = std::numeric_limits<float>::infinity();
    float m_inkTop = -std::numeric_limits<float>::infinity();
    bool m_backwards = false;
    bool m_cjk = false;
    int m_operandSize = 0;
    QByteArray m_operands;
};
