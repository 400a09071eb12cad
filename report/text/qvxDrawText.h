#pragma once

// TqvxDrawText lays out and draws the text of memo views.
//
// The memo's lines (wide strings, HTML-like tags allowed, see
// qvxHTMLTags.h) are wrapped once at a fixed resolution of 600 units per
// inch, whatever the output device, so that text drawn at any zoom, on any
// printer or into a PDF file breaks its lines in the same places.  Drawing
// then only corrects the device's advances so that every line keeps its
// laid-out width (Wysiwyg).
//
// The object keeps the laid-out text between calls.  A use is one sequence
// under Lock/Unlock: SetFont, SetOptions, SetGaps, SetDimensions, SetText
// (and SetParaBreaks), then queries or DrawText.  Screen geometry is in
// pixels at 96 per inch; the layout ratio is 600 / 96 = 6.25.
//
// One lock guards every instance: a shared one (qvxDrawText()) and one per
// report.

#include "report/text/qvxHTMLTags.h"
#include "report/text/qvxTextMeasurer.h"
#include "report/base/qvxViewTypes.h"
#include "report/base/TWideStrings.h"
#include "toolkit/graphics/Rects.h"

#include <QString>

#include <memory>
#include <vector>

class TCanvas;
class TFont;

class TqvxDrawText
{
public:
    // Paragraph bits of an output line (LineFlags).
    static constexpr int ParagraphStart = 1;
    static constexpr int ParagraphEnd = 2;

    static constexpr int DefPPI = 600;
    static constexpr int ScrPPI = 96;
    static constexpr double LayoutRatio = double(DefPPI) / ScrPPI;

    // Measures with the font service unless another measurer is given.
    explicit TqvxDrawText(std::shared_ptr<TqvxTextMeasurer> measurer = nullptr);
    ~TqvxDrawText();
    TqvxDrawText(const TqvxDrawText &) = delete;
    TqvxDrawText &operator=(const TqvxDrawText &) = delete;

    // The process-wide lock of all instances (recursive).
    static void Lock();
    static void Unlock();

    // --- Set-up -------------------------------------------------------------

    // The memo font: its size in points, and the measuring font (name,
    // style, character set and colour; black with ForceBlackText) at 600
    // per inch.
    void SetFont(const TFont *font);
    // A negative rotation counts from 360; tags on or off for SetText.
    void SetOptions(bool wordWrap, bool htmlTags, bool rtlReading, bool wordBreak, bool clipped, bool wysiwyg,
                    int rotateAngle);
    // Screen pixels: first-line indent, extra space after each character,
    // extra space between lines (may be negative).
    void SetGaps(double paragraphGap, double charSpacing, double lineSpacing);
    // Device pixels per screen pixel; the extra scale of printer canvases;
    // the text rectangle in screen pixels (its width wraps, its height
    // cuts) and on the device (also the clip rectangle).
    void SetDimensions(double scaleX, double scaleY, double printScale, const TRect &textRect,
                       const TRect &scaledRect);
    // Lays the lines out.  firstParaBreak: the first paragraph continues
    // one of a previous part, so its first line has no indent.
    void SetText(const TWideStrings *lines, bool firstParaBreak = false);
    // A part that continues a paragraph loses the start bit of its first
    // line; one whose last paragraph goes on loses the end bit of its last.
    void SetParaBreaks(bool firstParaBreak, bool lastParaBreak);

    // All text is drawn black.
    bool ForceBlackText = false;
    // Treat the text as Unicode whatever the font's character set.  Text
    // is always measured and drawn as Unicode here; memos still set it.
    bool UseDefaultCharset = false;

    // --- Queries ------------------------------------------------------------

    // N * LineHeight, plus |LineSpacing| once when it is negative; 0
    // without lines.
    double CalcHeight() const;
    // The widest line in screen pixels (with char spacing and the first
    // line's indent).
    double CalcWidth();
    // What CalcWidth would give after SetText of text alone, found without
    // laying it out (the laid-out lines stay as they are) when the text has
    // no elements and stays on one line; false for other text.
    bool WidthAlone(const QString &text, double &width);
    // The font's line height in screen pixels plus LineSpacing.
    double LineHeight() const;
    // The height left below the whole lines that fit into the text
    // rectangle; 0.0001 when they fill it exactly, 0 when none fits.
    double RemainingSpace() const;
    // Where a cut leaves the source lines: the line it falls in (the number
    // of lines when nothing was cut), where in that line, as it was laid
    // out (an empty line as one blank, elements included), the rest begins,
    // and the elements that reopen the first cut character's colour,
    // underline, italic and bold (none without tags).
    struct Cut {
        int line = 0;
        int offset = 0;
        QString reopen;
    };
    // Keeps the lines that fit into the text rectangle's height and returns
    // the text of the others in rest, beginning with the elements that
    // reopen its style.  paraBreak tells whether the cut falls inside a
    // paragraph.
    void GetOutBoundsText(bool &paraBreak, QString &rest);
    // The same cut, told as where it falls rather than as the rest's text:
    // a caller that keeps the lines itself goes on from there.
    void GetOutBoundsText(bool &paraBreak, Cut &cut);
    // The source text (after a cut: the part that fits), each line closed
    // by CR LF.
    QString GetInBoundsText() const { return m_plainText; }
    // The output lines joined by CR LF.
    QString GetWrappedText() const;

    // The output lines, their paragraph bits and the style records of
    // their characters (a hyphen added by the layout included).
    int LineCount() const { return int(m_lines.size()); }
    QString Line(int line) const;
    int LineFlags(int line) const { return m_lines.at(std::size_t(line)).flags; }
    TqvxHTMLTags LineRecords(int line) const;

    // --- Drawing ------------------------------------------------------------

    // Draws the lines into the device rectangle with the alignment given.
    // Each run of one style is one ExtTextOut with the advance of every
    // character: the device's own, corrected so that the line keeps its
    // laid-out width (Wysiwyg) or fills the box (justified lines).
    void DrawText(TCanvas *canvas, TqvxHAlign hAlign, TqvxVAlign vAlign);

    // The character spacing as lines are laid out, measured and drawn:
    // whole layout units after each glyph, in screen pixels.
    static double LaidOutSpacing(double charSpacing);

    // Spreads units (signed) over a[lo..hi]: the same share to every
    // element, then the rest one by one from the middle outwards, halving.
    static void DistributeUnits(std::vector<int> &a, int lo, int hi, int units);

private:
    struct Device;
    // One output line: a stretch of the shown characters (the text without
    // its elements), so that a long text costs a few words a line.
    struct OutputLine {
        int start = 0;    // in m_shown
        int length = 0;   // without the hyphen
        int position = 0; // Position of its first character
        // Its first record in m_records; -1 when every character is in the
        // default style and their positions follow one another, as in any
        // text without elements.
        int records = -1;
        quint8 flags = 0;
        bool hyphenated = false;
    };

    int measureHeight() const;
    // Cuts the layout to the lines that fit; the position in the source
    // text where the rest (given in rest when asked) begins, -1 when
    // everything fits.
    qsizetype cutToBounds(bool &paraBreak, QString &reopen, QString *rest);
    // The width lines wrap at in layout units, less an indent in pixels:
    // the text rectangle's width between its inner edges (its right edge
    // counts the last pixel column in).
    int wrapWidth(double indent) const;
    // The most the advances of a line, spacing included, may add up to in
    // a wrap width.
    static int summedWidth(int width, int add);
    // Per-character advances of a line in the style of its records, plus
    // add after each glyph a character draws (sub- and superscripts shrink
    // by 1.5): in layout units, or with a device font as that font gives
    // them.  Gives the number of glyphs spaced (0 when add is 0).
    int fillLayoutAdvances(const QString &text, const TqvxHTMLTags &tags, int add, std::vector<int> &advances);
    int fillAdvances(const TFontData &font, int divisor, const QString &text, const TqvxHTMLTags &tags, int add,
                     std::vector<int> &advances);
    // The width of text in the memo's own style, in layout units, and the
    // number of glyphs it draws when asked.
    int layoutWidth(const QString &text, int *glyphs = nullptr);
    // Extents of text in font, each divided by divisor, and the glyphs of
    // each character when asked.
    void measureExtents(const TFontData &font, int divisor, QStringView text, std::vector<int> &extents,
                        std::vector<int> *glyphs = nullptr);
    // Extents taken with m_advanceFont, in layout units.
    void measureLayoutExtents(TFontData font, QStringView text, std::vector<int> &extents,
                              std::vector<int> *glyphs = nullptr);
    void wrapLine(QString text, int firstWidth, int fullWidth, int add);
    // The width of text[from, from + count) shaped on its own, with a
    // hyphen after it when asked, in layout units.
    int partWidth(const QString &text, const TqvxHTMLTags &records, int from, int count, bool hyphen, int add);
    // Adds shown[start, start + count) as a line, its characters styled
    // by records[from, from + count).
    void addLine(int start, int count, const TqvxHTMLTags &records, int from, bool plain, bool hyphenated);
    TqvxHTMLTag firstRecord(int line) const;
    // The record of a character at position in the default style.
    TqvxHTMLTag plainRecord(int position) const;
    // Whether the records are those of plain text: the default style,
    // positions one after another.
    bool isPlain(const TqvxHTMLTags &records) const;
    void drawLine(Device &device, int index, int x, int y, int width, TqvxHAlign align);
    void selectRunFont(Device &device, const TqvxHTMLTag &tag);

    std::shared_ptr<TqvxTextMeasurer> m_measurer;
    TFontData m_font;      // the measuring font at 600 per inch
    // Advances are measured at a multiple of the layout resolution where
    // the font's em is a whole number of pixels (25 a point at 1800 per
    // inch) and brought back to layout units: so a line measures as wide
    // as the font at its size in points draws it, in a PDF file above all,
    // where m_font's em, rounded to whole layout units, measures it up to
    // 0.6 percent narrower.  Line heights stay those of m_font.
    TFontData m_advanceFont;
    int m_advanceDivisor = 1;
    TFontStyles m_measureStyle;
    int m_fontSize = 10;
    TqvxHTMLTagsList m_tags;
    double m_charSpacing = 0;
    double m_lineSpacing = 0;
    double m_paragraphGap = 0;
    unsigned m_outputFlags = 0;
    TRect m_textRect;
    TRect m_scaledRect;
    QString m_plainText;
    // Where each source line begins in m_plainText.
    std::vector<int> m_paragraphStarts;
    double m_printScale = 1;
    int m_rotation = 0;
    bool m_rtlReading = false;
    double m_scaleX = 1;
    double m_scaleY = 1;
    QString m_shown;
    std::vector<OutputLine> m_lines;
    // The records of the lines that have any in another style.
    TqvxHTMLTags m_records;
    // The measurer's extents of one run and its glyphs, kept to reuse
    // their room.
    std::vector<int> m_extents;
    std::vector<int> m_glyphs;
    bool m_wordBreak = false;
    bool m_wordWrap = true;
    bool m_wysiwyg = true;
};

// The shared instance, made at unit start.
TqvxDrawText *qvxDrawText();

void InitializeQvxDrawText();
void FinalizeQvxDrawText();
