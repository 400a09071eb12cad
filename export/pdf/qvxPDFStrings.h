#pragma once

// The operand and string texts of a PDF file: numbers, literal and hex
// strings, text strings (plain or encrypted), link URIs, names, colours and
// dash patterns.  Every text here is bytes as they go into the file.

#include "report/base/qvxNumbers.h"
#include "report/base/qvxViewTypes.h"
#include "toolkit/graphics/Colors.h"

#include <QByteArray>
#include <QString>

#include <cstring>
#include <string>

// A real number with two decimals and a point: 12.00, -3.50, 0.00.
QByteArray PdfNumber(double value);

// The same text kept in place, for numbers written again and again; empty
// when made without a value.
class TqvxPDFNumber
{
public:
    TqvxPDFNumber() = default;
    explicit TqvxPDFNumber(double value);

    bool IsEmpty() const { return m_length == 0; }
    const char *Data() const { return m_text; }
    // The number as written, read back.
    double Value() const;
    bool operator==(const TqvxPDFNumber &other) const
    {
        return m_length == other.m_length && std::memcmp(m_text, other.m_text, std::size_t(m_length)) == 0;
    }
    int Size() const { return m_length; }

private:
    char m_text[qvxFixedTextSize] = {};
    int m_length = 0;
};

// The text of content stream operators, built in place piece by piece: a
// real number as PdfNumber writes it, a whole number in decimal, bytes and
// characters as they are.  Clearing keeps the room already taken, so one
// buffer serves every operator of a view.
class TqvxPDFContentText
{
public:
    // Room for the operators of a framed view without growing.
    TqvxPDFContentText() { m_bytes.reserve(1024); }

    TqvxPDFContentText &operator<<(double value);
    TqvxPDFContentText &operator<<(int value);
    TqvxPDFContentText &operator<<(char c)
    {
        m_bytes.push_back(c);
        return *this;
    }
    TqvxPDFContentText &operator<<(const char *text)
    {
        m_bytes.append(text);
        return *this;
    }
    TqvxPDFContentText &operator<<(const QByteArray &text)
    {
        m_bytes.append(text.constData(), std::size_t(text.size()));
        return *this;
    }
    TqvxPDFContentText &operator<<(const TqvxPDFNumber &number)
    {
        m_bytes.append(number.Data(), std::size_t(number.Size()));
        return *this;
    }

    // Room for size bytes at the end, to be written in place; Cut then
    // ends the text where the writing ended (or anywhere before).
    char *Extend(qsizetype size);
    void Cut(const char *end) { m_bytes.resize(std::size_t(end - m_bytes.data())); }

    const char *Data() const { return m_bytes.data(); }
    qint64 Size() const { return qint64(m_bytes.size()); }
    void Clear() { m_bytes.clear(); }

private:
    std::string m_bytes;
};

// A PDF literal string's contents: "(", ")" and "\" escaped with "\", LF as
// "\n" and CR as "\r"; every other byte unchanged.
QByteArray EscapeString(const QByteArray &bytes);

// Four uppercase hex digits per UTF-16 code unit, no byte-order mark.
QByteArray StrToHex4(const QString &text);
// The same for 16-bit glyph indices.
QByteArray GlyphsToHex4(const QList<quint16> &glyphs);
// The operator that shows the glyphs, with its line end: the glyph codes
// high byte first as a literal string, escaped, + " Tj".
QByteArray PdfShowGlyphs(const QList<quint16> &glyphs);
// The same operator written piece by piece into room of at least
// ShowGlyphsRoom(count) bytes: its start, the code of each glyph and its
// end, each answering where it ended.
constexpr qsizetype ShowGlyphsRoom(qsizetype count)
{
    return 1 + count * 4 + 6;
}
inline char *BeginShowGlyphs(char *out)
{
    *out = '(';
    return out + 1;
}
char *PutGlyphCode(char *out, quint16 glyph);
char *EndShowGlyphs(char *out);

// A text string: "<FEFF" + StrToHex4 + ">" without a file key; with one,
// the bytes FE FF and UTF-16BE encrypted with the key of the object,
// escaped, between "(" and ")".
QByteArray PdfString(const QString &text, int objectNumber, const QByteArray &fileKey = QByteArray());

// The string of a link URI.  A URI is ASCII: characters outside 32..126 go
// in as their UTF-8 bytes percent-encoded; the result is a literal string,
// escaped, and encrypted with the key of the object when there is a file
// key.
QByteArray PdfStringOf(const QString &uri, int objectNumber, const QByteArray &fileKey = QByteArray());

// A name without its "/": "#" and the delimiters " ()%<>[]{}/" as "#xx",
// then every byte above 127 as "#xx" (uppercase hex).  The text goes in as
// code page 1251 when it fits, else as UTF-8.
QByteArray PdfName(const QString &text);

// Three components from 0 to 1 separated by blanks: "0 0 0" for black,
// "1 1 1" for white, else each of red, green and blue / 255 as PdfNumber.
// clNone, which paints nothing, is written as white.  The last other
// colour and its text are cached.
class TqvxPDFColorText
{
public:
    QByteArray operator()(TColor color);

private:
    TColor m_lastColor = clBlack;
    QByteArray m_lastText = "0 0 0";
};

// The dash operator for a frame style and a width in pixels, without a line
// end: "[] 0 d" for solid lines and every style without a pattern.
QByteArray GetDashPattern(TqvxFrameStyle style, double width);
