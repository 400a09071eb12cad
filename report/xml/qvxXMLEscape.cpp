#include "report/xml/qvxXMLEscape.h"

#include "toolkit/core/FloatText.h"
#include "toolkit/core/FormatDateTime.h"
#include "toolkit/core/Variants.h"

#include <algorithm>
#include <charconv>

namespace {

bool needsEscape(QChar c)
{
    switch (c.unicode()) {
    case '"': case '&': case '<': case '>':
        return true;
    default:
        return c.unicode() < 0x20;
    }
}

// The longest decimal reference worth reading: "&#1114111;" holds 7 digits.
constexpr int MaxReferenceDigits = 7;

// Reads the decimal reference "&#digits;" at `pos`.  Returns the length of
// the whole reference and stores the code point, or returns 0 when the text
// at `pos` is no valid reference.
qsizetype readNumericReference(QStringView text, qsizetype pos, char32_t &codePoint)
{
    const qsizetype first = pos + 2;
    qsizetype end = first;
    char32_t value = 0;
    while (end < text.size() && end - first < MaxReferenceDigits && text[end].isDigit()
           && text[end].unicode() < 128) {
        value = value * 10 + (text[end].unicode() - '0');
        ++end;
    }
    if (end == first || end >= text.size() || text[end] != QLatin1Char(';'))
        return 0;
    if (value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    codePoint = value;
    return end + 1 - pos;
}

struct NamedEntity {
    QLatin1StringView name;
    QChar character;
};

const NamedEntity namedEntities[] = {
    {QLatin1StringView("&quot;"), QLatin1Char('"')},
    {QLatin1StringView("&amp;"), QLatin1Char('&')},
    {QLatin1StringView("&lt;"), QLatin1Char('<')},
    {QLatin1StringView("&gt;"), QLatin1Char('>')},
};

// The length of the reference at `pos` (an '&'), with its code point; 0
// when none stands there.
qsizetype readReference(QStringView text, qsizetype pos, char32_t &codePoint)
{
    if (pos + 1 < text.size() && text[pos + 1] == QLatin1Char('#'))
        return readNumericReference(text, pos, codePoint);
    for (const NamedEntity &entity : namedEntities) {
        if (text.mid(pos).startsWith(entity.name)) {
            codePoint = entity.character.unicode();
            return entity.name.size();
        }
    }
    return 0;
}

// Hands take the decoded text piece by piece: the stretches kept as
// written and the characters of each reference, in order.
template <class Take>
void forEachDecodedPiece(QStringView text, Take &&take)
{
    qsizetype run = 0;
    for (qsizetype at = text.indexOf(QLatin1Char('&')); at >= 0; at = text.indexOf(QLatin1Char('&'), at)) {
        char32_t codePoint = 0;
        const qsizetype length = readReference(text, at, codePoint);
        if (length == 0) {
            ++at;
            continue;
        }
        take(text.mid(run, at - run));
        const bool pair = QChar::requiresSurrogates(codePoint);
        const char16_t units[2] = {pair ? QChar::highSurrogate(codePoint) : char16_t(codePoint),
                                   QChar::lowSurrogate(codePoint)};
        take(QStringView(units, pair ? 2 : 1));
        at += length;
        run = at;
    }
    take(text.mid(run));
}

} // namespace

QString qvxXMLEncode(const QString &text)
{
    const auto first = std::find_if(text.begin(), text.end(), needsEscape);
    if (first == text.end())
        return text;
    QString result;
    result.reserve(text.size() + 16);
    qvxAppendXMLEncoded(result, text);
    return result;
}

qsizetype qvxXMLEncodedSize(QStringView text)
{
    qsizetype size = text.size();
    for (const QChar c : text) {
        if (!needsEscape(c))
            continue;
        // "&#" and ";" around the decimal code.
        const unsigned code = c.unicode();
        size += 2 + (code >= 100 ? 3 : code >= 10 ? 2 : 1);
    }
    return size;
}

void qvxAppendXMLEncoded(QString &out, QStringView text)
{
    auto run = text.begin();
    for (auto at = std::find_if(run, text.end(), needsEscape); at != text.end();
         at = std::find_if(run, text.end(), needsEscape)) {
        out.append(run, at - run);
        char reference[16];
        const auto end = std::to_chars(reference + 2, reference + sizeof reference - 1, at->unicode()).ptr;
        reference[0] = '&';
        reference[1] = '#';
        *end = ';';
        out += QLatin1StringView(reference, end + 1);
        run = at + 1;
    }
    out.append(run, text.end() - run);
}

QString qvxXMLDecode(const QString &text)
{
    if (!text.contains(QLatin1Char('&')))
        return text;
    return qvxXMLDecode(QStringView(text));
}

QString qvxXMLDecode(QStringView text)
{
    QString result;
    result.reserve(qvxXMLDecodedSize(text));
    qvxAppendXMLDecoded(result, text);
    return result;
}

qsizetype qvxXMLDecodedSize(QStringView text)
{
    qsizetype size = 0;
    forEachDecodedPiece(text, [&](QStringView piece) { size += piece.size(); });
    return size;
}

void qvxAppendXMLDecoded(QString &out, QStringView text)
{
    forEachDecodedPiece(text, [&](QStringView piece) { out.append(piece); });
}

QString qvxVariantToXMLText(const Variant &value)
{
    switch (value.Type()) {
    case varSmallint: case varInteger: case varShortInt: case varByte: case varWord:
    case varLongWord: case varInt64:
        return QString::number(value.AsInt64());
    case varSingle: case varDouble: case varCurrency: {
        TFormatSettings settings = FormatSettings;
        settings.DecimalSeparator = u'.';
        return FloatToStr(value.AsDouble(), settings);
    }
    case varDate:
        return DateTimeToStr(value.AsDate());
    case varBoolean:
        return value.AsBoolean() ? QStringLiteral("1") : QStringLiteral("0");
    case varOleStr: case varString:
        return qvxXMLEncode(value.AsString());
    default:
        return QString();
    }
}
