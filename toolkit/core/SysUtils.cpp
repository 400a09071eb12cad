#include "toolkit/core/SysUtils.h"

#include "toolkit/core/Exceptions.h"

#include <QCoreApplication>

#include <charconv>
#include <cmath>
#include <limits>

namespace {

// Only spaces count as blanks; a tab or line feed makes the text invalid.
bool IsBlank(QChar c)
{
    return c == QLatin1Char(' ');
}

int DigitValue(QChar c, int base)
{
    const char16_t u = c.unicode();
    int v = 99;
    if (u >= '0' && u <= '9')
        v = u - '0';
    else if (u >= 'a' && u <= 'f')
        v = u - 'a' + 10;
    else if (u >= 'A' && u <= 'F')
        v = u - 'A' + 10;
    return v < base ? v : -1;
}

// Parses an integer of `bits` width (32 or 64).
bool ParseInteger(const QString &text, int bits, qint64 &result)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        negative = text[i++] == QLatin1Char('-');
    int base = 10;
    if (i < n && (text[i] == QLatin1Char('$') || text[i] == QLatin1Char('x') || text[i] == QLatin1Char('X'))) {
        base = 16;
        ++i;
    } else if (i + 1 < n && text[i] == QLatin1Char('0') && (text[i + 1] == QLatin1Char('x') || text[i + 1] == QLatin1Char('X'))) {
        base = 16;
        i += 2;
    }
    if (i == n)
        return false;
    const quint64 unsignedMax = bits == 64 ? std::numeric_limits<quint64>::max() : 0xFFFFFFFFull;
    // Decimal text may reach the magnitude of the most negative value.
    const quint64 limit = base == 16 ? unsignedMax : (quint64(1) << (bits - 1)) - (negative ? 0 : 1);
    quint64 magnitude = 0;
    for (; i < n; ++i) {
        const int d = DigitValue(text[i], base);
        if (d < 0)
            return false;
        if (magnitude > (limit - quint64(d)) / quint64(base))
            return false;
        magnitude = magnitude * quint64(base) + quint64(d);
    }
    if (base == 16 && bits == 32)
        magnitude = quint64(qint64(qint32(quint32(magnitude))));
    result = negative ? qint64(quint64(0) - magnitude) : qint64(magnitude);
    if (bits == 32)
        result = qint64(qint32(result));
    return true;
}

bool IsAsciiDigit(QChar c)
{
    return c.unicode() >= '0' && c.unicode() <= '9';
}

} // namespace

void ConvertError(const char *pattern, const QString &text)
{
    throw EConvertError(QCoreApplication::translate("SysUtils", pattern).arg(text));
}

QString IntToStr(qint64 value)
{
    return QString::number(value);
}

QString IntToHex(qint32 value, int digits)
{
    return QString::number(quint32(value), 16).toUpper().rightJustified(digits, QLatin1Char('0'));
}

QString IntToHex(qint64 value, int digits)
{
    return QString::number(quint64(value), 16).toUpper().rightJustified(digits, QLatin1Char('0'));
}

bool TryStrToInt(const QString &text, qint32 &value)
{
    qint64 v;
    if (!ParseInteger(text, 32, v))
        return false;
    value = qint32(v);
    return true;
}

bool TryStrToInt64(const QString &text, qint64 &value)
{
    return ParseInteger(text, 64, value);
}

qint32 StrToInt(const QString &text)
{
    qint32 v;
    if (!TryStrToInt(text, v))
        ConvertError("'%1' is not a valid integer value", text);
    return v;
}

qint64 StrToInt64(const QString &text)
{
    qint64 v;
    if (!TryStrToInt64(text, v))
        ConvertError("'%1' is not a valid integer value", text);
    return v;
}

bool TryStrToFloat(const QString &text, double &value, const TFormatSettings &settings)
{
    qsizetype i = 0;
    // The text ends at a zero character, as a classic null-terminated one did.
    qsizetype n = text.indexOf(QChar(u'\0'));
    if (n < 0)
        n = text.size();
    while (i < n && IsBlank(text[i]))
        ++i;
    while (n > i && IsBlank(text[n - 1]))
        --n;
    // Rebuild the number in the C form for from_chars.
    std::string c;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        if (text[i] == QLatin1Char('-'))
            c += '-';
        ++i;
    }
    int mantissaDigits = 0;
    for (; i < n && IsAsciiDigit(text[i]); ++i, ++mantissaDigits)
        c += char(text[i].unicode());
    if (i < n && text[i] == settings.DecimalSeparator) {
        c += '.';
        for (++i; i < n && IsAsciiDigit(text[i]); ++i, ++mantissaDigits)
            c += char(text[i].unicode());
    }
    if (mantissaDigits == 0)
        return false;
    bool negativeExponent = false;
    if (i < n && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        c += 'e';
        ++i;
        if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
            negativeExponent = text[i] == QLatin1Char('-');
            c += char(text[i++].unicode());
        }
        int exponentDigits = 0;
        for (; i < n && IsAsciiDigit(text[i]); ++i, ++exponentDigits)
            c += char(text[i].unicode());
        if (exponentDigits == 0)
            return false;
    }
    if (i != n)
        return false;
    double v = 0;
    const auto [end, ec] = std::from_chars(c.data(), c.data() + c.size(), v);
    if (ec == std::errc::result_out_of_range) {
        if (!negativeExponent)
            return false;
        v = c[0] == '-' ? -0.0 : 0.0; // underflow reads as zero
    } else if (ec != std::errc() || end != c.data() + c.size()) {
        return false;
    }
    value = v;
    return true;
}

double StrToFloat(const QString &text, const TFormatSettings &settings)
{
    double v;
    if (!TryStrToFloat(text, v, settings))
        ConvertError("'%1' is not a valid floating point value", text);
    return v;
}

bool TryStrToBool(const QString &text, bool &value)
{
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) {
        value = true;
        return true;
    }
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) {
        value = false;
        return true;
    }
    double number;
    if (!TryStrToFloat(text, number))
        return false;
    value = number != 0;
    return true;
}

bool StrToBool(const QString &text)
{
    bool v;
    if (!TryStrToBool(text, v))
        ConvertError("'%1' is not a valid boolean value", text);
    return v;
}

QString BoolToStr(bool value, bool useBoolStrs)
{
    if (useBoolStrs)
        return value ? QStringLiteral("True") : QStringLiteral("False");
    return value ? QStringLiteral("-1") : QStringLiteral("0");
}

namespace {

qint64 CheckedToInt64(double value)
{
    // The range check is written so that NaN fails it.
    if (!(value >= -9223372036854775808.0 && value < 9223372036854775808.0))
        throw EInvalidOp(QStringLiteral("Invalid floating point operation"));
    return qint64(value);
}

} // namespace

qint64 Round(double value)
{
    return CheckedToInt64(std::nearbyint(value));
}

qint64 Trunc(double value)
{
    return CheckedToInt64(std::trunc(value));
}
