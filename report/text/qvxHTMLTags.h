#pragma once

// The HTML-like tags of report texts and the per-character style records
// they expand into.
//
// The elements are <b>, <i>, <u>, <strike>, <sub>, <sup>, <nowrap>, their
// closers, </font> and <font color=value>, where value is "#RRGGBB" in
// double quotes or a colour name without its "cl" prefix (red, clBtnFace
// as btnface).  Element names ignore letter case.  Elements do not nest:
// each sets or clears one attribute of the current state.  Anything that
// is not a well-formed element, an unknown colour or a malformed
// hexadecimal value included, stays in the text as it is.

#include "toolkit/graphics/Colors.h"
#include "toolkit/graphics/GraphicsObjects.h"

#include <QString>

#include <vector>

// The style of one character of a wrapped line.
struct TqvxHTMLTag {
    // 1-based position of the character in the whole text as the memo
    // holds it: tags included, paragraphs joined by CR LF.
    int Position = 0;
    // Font size in points (two thirds of the default for sub- and
    // superscripts).
    int Size = 0;
    // 1 for a subscript character, else 0.
    int AddY = 0;
    TFontStyles Style;
    TColor Color = clBlack;
    // Nothing changes against the previous character (for the first one:
    // against the default font); always true when tags are off.
    bool Default = true;
    // The size differs from the default: the advance shrinks by 1.5.
    bool Small = false;
    // Inside a nowrap element: a blank here is no break point.
    bool DontWRAP = false;
    // 0 normal, 1 subscript, 2 superscript.
    quint8 SubType = 0;

    bool operator==(const TqvxHTMLTag &) const = default;

    // Whether drawing this character needs another font than other.
    bool DrawsLike(const TqvxHTMLTag &other) const
    {
        return Style == other.Style && Color == other.Color && Size == other.Size && AddY == other.AddY;
    }
};

// The records of one wrapped line, one per character.
using TqvxHTMLTags = std::vector<TqvxHTMLTag>;

// The tag state of a text being laid out, and the records of its lines.
class TqvxHTMLTagsList
{
public:
    // Tags are interpreted; off, every character is plain text.
    bool AllowTags = true;

    // The default font, and the running position in the memo text.
    TColor DefColor = clBlack;
    int DefSize = 10;
    TFontStyles DefStyle;
    int Position = 1;

    // One entry per wrapped line, in the order of the layout's lines.
    std::vector<TqvxHTMLTags> Items;

    // Starts a text: the state takes the defaults, the lines are dropped.
    void Init(TColor color, int size, TFontStyles style);
    // Starts the records of a new paragraph on a line of their own.
    void NewLine();
    // Removes the elements from line, advances Position over it and adds a
    // record for every character that remains to the last line.  A line
    // that held only elements becomes one blank.
    void ExpandHTMLTags(QString &line);

private:
    // The length of the element at line[index] after applying it, or 0
    // when there is none.
    int applyElement(const QString &line, int index);
    int applyFontColor(const QString &line, int index);
    void addRecord();
    // Records for count characters in a row without an element between
    // them: the first as addRecord makes it, each other like the one before.
    void addRecords(int count);

    TColor m_color = clBlack;
    int m_size = 10;
    TFontStyles m_style;
    int m_addY = 0;
    bool m_dontWrap = false;
    quint8 m_subType = 0;
};

// The colour of a <font color=...> value, as the element would set it.
bool qvxHTMLColor(const QString &value, TColor &color);
