#pragma once

// Breaking a text into the lines that DrawText paints, by the DT_ flags:
// mnemonic prefixes ("&x" underlines x, "&&" is one "&") unless DT_NOPREFIX,
// one line with DT_SINGLELINE (line breaks dropped), otherwise one line per
// line break; with DT_WORDBREAK, lines wider than the width break after the
// last blank that fits (a word wider than the width stands alone, unbroken);
// with DT_END_ELLIPSIS, a line wider than the width is cut and ends in "...".

#include <QList>
#include <QString>

#include <functional>

struct TFormattedLine {
    QString Text;
    int Width = 0;
    int PrefixIndex = -1; // the character to underline, -1 for none
};

using TTextMeasure = std::function<int(const QString &)>;

QList<TFormattedLine> FormatText(const QString &text, unsigned flags, int width, const TTextMeasure &measure);
