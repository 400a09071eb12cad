#include "export/pdf/qvxPDFStrings.h"

#include "export/pdf/qvxPDFSecurity.h"
#include "report/base/qvxNumbers.h"
#include "toolkit/core/CodePages.h"

#include <charconv>
#include <cstring>

QByteArray PdfNumber(double value)
{
    char text[qvxFixedTextSize];
    return QByteArray(text, qvxFormatFixed(text, value, 2) - text);
}

TqvxPDFNumber::TqvxPDFNumber(double value) : m_length(int(qvxFormatFixed(m_text, value, 2) - m_text))
{
}

double TqvxPDFNumber::Value() const
{
    double value = 0;
    std::from_chars(m_text, m_text + m_length, value);
    return value;
}

TqvxPDFContentText &TqvxPDFContentText::operator<<(double value)
{
    char text[qvxFixedTextSize];
    m_bytes.append(text, qvxFormatFixed(text, value, 2));
    return *this;
}

TqvxPDFContentText &TqvxPDFContentText::operator<<(int value)
{
    char text[16];
    m_bytes.append(text, std::to_chars(text, text + sizeof text, value).ptr);
    return *this;
}

QByteArray EscapeString(const QByteArray &bytes)
{
    QByteArray result;
    result.reserve(bytes.size() + bytes.size() / 8);
    for (char c : bytes) {
        switch (c) {
        case '(':
        case ')':
        case '\\':
            result += '\\';
            result += c;
            break;
        case '\n':
            result += "\\n";
            break;
        case '\r':
            result += "\\r";
            break;
        default:
            result += c;
        }
    }
    return result;
}

namespace {

// Appends four uppercase hex digits per 16-bit value.
template <class Values, class Code>
void appendHex4(QByteArray &out, const Values &values, Code code)
{
    static const char digits[] = "0123456789ABCDEF";
    const qsizetype start = out.size();
    const qsizetype count = values.size();
    out.resize(start + count * 4);
    char *at = out.data() + start;
    const auto *value = values.constData();
    for (qsizetype i = 0; i < count; ++i, at += 4) {
        const unsigned v = code(value[i]);
        const char quad[4] = {digits[(v >> 12) & 0xF], digits[(v >> 8) & 0xF], digits[(v >> 4) & 0xF],
                              digits[v & 0xF]};
        std::memcpy(at, quad, 4);
    }
}

constexpr auto glyphCode = [](quint16 glyph) { return unsigned(glyph); };

} // namespace

QByteArray StrToHex4(const QString &text)
{
    QByteArray result;
    appendHex4(result, text, [](QChar c) { return unsigned(c.unicode()); });
    return result;
}

QByteArray GlyphsToHex4(const QList<quint16> &glyphs)
{
    QByteArray result;
    appendHex4(result, glyphs, glyphCode);
    return result;
}

char *PutGlyphCode(char *out, quint16 glyph)
{
    // Two bytes a glyph in a literal string; only the delimiters, the
    // backslash and line ends (which a reader would take as one LF) are
    // escaped.
    const auto put = [&out](unsigned char byte) {
        switch (byte) {
        case '(':
        case ')':
        case '\\':
            *out++ = '\\';
            *out++ = char(byte);
            break;
        case '\r':
            *out++ = '\\';
            *out++ = 'r';
            break;
        case '\n':
            *out++ = '\\';
            *out++ = 'n';
            break;
        default:
            *out++ = char(byte);
        }
    };
    put(glyph >> 8);
    put(glyph & 0xFF);
    return out;
}

char *EndShowGlyphs(char *out)
{
    static constexpr char end[] = ") Tj\n";
    std::memcpy(out, end, sizeof end - 1);
    return out + sizeof end - 1;
}

namespace {

char *writeShowGlyphs(char *out, const quint16 *glyphs, qsizetype count)
{
    out = BeginShowGlyphs(out);
    for (qsizetype i = 0; i < count; ++i)
        out = PutGlyphCode(out, glyphs[i]);
    return EndShowGlyphs(out);
}

} // namespace

QByteArray PdfShowGlyphs(const QList<quint16> &glyphs)
{
    QByteArray shown(ShowGlyphsRoom(glyphs.size()), Qt::Uninitialized);
    shown.resize(writeShowGlyphs(shown.data(), glyphs.constData(), glyphs.size()) - shown.constData());
    return shown;
}

char *TqvxPDFContentText::Extend(qsizetype size)
{
    const std::size_t start = m_bytes.size();
    m_bytes.resize(start + std::size_t(size));
    return m_bytes.data() + start;
}

QByteArray PdfString(const QString &text, int objectNumber, const QByteArray &fileKey)
{
    if (fileKey.isEmpty())
        return "<FEFF" + StrToHex4(text) + '>';
    QByteArray bytes("\xFE\xFF", 2);
    for (QChar c : text) {
        bytes += char(c.unicode() >> 8);
        bytes += char(c.unicode() & 0xFF);
    }
    return '(' + EscapeString(CryptBytes(fileKey, bytes, objectNumber)) + ')';
}

QByteArray PdfStringOf(const QString &uri, int objectNumber, const QByteArray &fileKey)
{
    QByteArray ascii;
    for (char c : uri.toUtf8()) {
        const auto byte = quint8(c);
        if (byte >= 32 && byte <= 126)
            ascii += c;
        else
            ascii += '%' + QByteArray::number(byte | 0x100, 16).mid(1).toUpper();
    }
    if (!fileKey.isEmpty())
        ascii = CryptBytes(fileKey, ascii, objectNumber);
    return '(' + EscapeString(ascii) + ')';
}

QByteArray PdfName(const QString &text)
{
    bool allFit = true;
    for (QChar c : text) {
        bool ok = false;
        CharToCp1251(c, &ok);
        allFit = allFit && ok;
    }
    const QByteArray bytes = allFit ? StringToCp1251(text) : text.toUtf8();
    static const QByteArray delimiters("# ()%<>[]{}/");
    QByteArray result;
    for (char c : bytes) {
        const auto byte = quint8(c);
        if (byte > 127 || byte < 33 || delimiters.contains(c))
            result += '#' + QByteArray::number(byte | 0x100, 16).mid(1).toUpper();
        else
            result += c;
    }
    return result;
}

QByteArray TqvxPDFColorText::operator()(TColor color)
{
    if (color == clBlack)
        return QByteArrayLiteral("0 0 0");
    if (color == clWhite || color == clNone)
        return QByteArrayLiteral("1 1 1");
    if (color == m_lastColor)
        return m_lastText;
    const TColor rgb = ColorToRGB(color);
    auto component = [](int value) { return PdfNumber(value / 255.0); };
    m_lastColor = color;
    m_lastText = component(rgb & 0xFF) + ' ' + component((rgb >> 8) & 0xFF) + ' ' + component((rgb >> 16) & 0xFF);
    return m_lastText;
}

QByteArray GetDashPattern(TqvxFrameStyle style, double width)
{
    if (style != fsDash && style != fsDot && style != fsDashDot && style != fsDashDotDot)
        return QByteArrayLiteral("[] 0 d");
    const QByteArray dash = PdfNumber(width * 6) + ' ';
    const QByteArray dot = PdfNumber(width * 2) + ' ';
    switch (style) {
    case fsDash:
        return '[' + dash + "] 0 d";
    case fsDot:
        return '[' + dot + dash + "] 0 d";
    case fsDashDot:
        return '[' + dash + dash + dot + dash + "] 0 d";
    default:
        return '[' + dash + dash + dot + dash + dot + dash + "] 0 d";
    }
}
