#pragma once

// Text helpers of the report library: bracketed expressions, page ranges and
// tokens.  Positions are 0-based indexes into the text.

#include <QChar>
#include <QString>

class TStrings;

// Finds the bracketed expression that starts at or after `startPos`.
// Brackets nest, and brackets inside single- or double-quoted strings do not
// count.  On return `startPos` is the index of the opening bracket, `endPos`
// the index of the last character of the closing one, and `result` the text
// between.  When no opening bracket follows, `result` is empty and `endPos`
// equals `startPos`.  When the closing bracket is missing, `endPos` is the
// last index of the text and `result` runs up to (not including) it.
void qvxFindBracketExpression(const QString &text, const QString &open, const QString &close,
                              QString &result, int &endPos, int &startPos);

// Fills `list` with the page numbers of a range text such as "1,3-5,8-"
// (blanks ignored; a trailing '-' runs to `pageCount`), as decimal texts in
// the order written, duplicates kept.  A range never runs past `pageCount`
// (a range starting beyond it keeps only its first page, which matches
// nothing).  Raises EConvertError on an item that is no number.
void qvxParsePageRange(const QString &text, TStrings *list, int pageCount);

// The characters from `pos` up to the delimiter or the end; `pos` moves
// past the delimiter.
QString qvxExtractToken(const QString &text, int &pos, QChar delimiter);
// Clears the list and adds each token of the text.
void qvxSplitToStrings(const QString &text, TStrings *list, QChar delimiter);

// Gives back the room a text kept for long has beyond its characters, when
// that is more than a quarter of them (a text grown by appending, or
// decoded in the room of its escaped form).
void qvxDropSpareRoom(QString &text);

QString qvxReplaceChar(const QString &text, QChar from, QChar to);
QString qvxSlashToBackslash(const QString &text);
