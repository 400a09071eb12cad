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
int readNumericReference(const QString &text, int pos, char32_t &codePoint)
{
    const int first = pos + 2;
    int end = first;
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
    if (text.size() < 2 || !text.contains(QLatin1Char('&')))
        return text;

    QString result;
    result.reserve(text.size());
    int i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if (c != QLatin1Char('&') || i == text.size() - 1) {
            result += c;
            ++i;
            continue;
        }
        if (text[i + 1] == QLatin1Char('#')) {
            char32_t codePoint = 0;
            if (const int length = readNumericReference(text, i, codePoint)) {
                result += QString::fromUcs4(&codePoint, 1);
                i += length;
                continue;
            }
        } else {
            bool matched = false;
            for (const NamedEntity &entity : namedEntities) {
                if (QStringView(text).mid(i).startsWith(entity.name)) {
                    result += entity.character;
                    i += entity.name.size();
                    matched = true;
                    break;
                }
            }
            if (matched)
                continue;
        }
        result += c;
        ++i;
    }
    return result;
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
