#include "toolkit/core/FloatText.h"

#include "toolkit/core/Currency.h"

#include <algorithm>
#include <cmath>
#include <charconv>
#include <cstdlib>

namespace {

const int kDoubleDigits = 18;
const int kCurrencyDigits = 19;

void StripTrailingZeros(TFloatRec &rec)
{
    qsizetype n = rec.Digits.size();
    while (n > 0 && rec.Digits[n - 1] == '0')
        --n;
    rec.Digits.truncate(n);
    if (n == 0) {
        rec.Exponent = 0;
        rec.Negative = false;
    }
}

// The digit at a position of the unrounded expansion, '0' outside it.
char DigitAt(const TFloatRec &rec, qsizetype index)
{
    return index >= 0 && index < rec.Digits.size() ? rec.Digits[index] : '0';
}

QString PadNumber(int value, int width)
{
    return QString::number(value).rightJustified(width, QLatin1Char('0'));
}

QString ExponentText(int exponent, int minDigits, bool forceSign)
{
    QString text;
    if (exponent < 0)
        text += QLatin1Char('-');
    else if (forceSign)
        text += QLatin1Char('+');
    return text + PadNumber(std::abs(exponent), minDigits);
}

// d.ddd with at least `minDigits` mantissa digits, then E and the exponent.
QString ScientificText(const TFloatRec &rec, int minDigits, int expDigits, bool forceSign,
                       const TFormatSettings &settings)
{
    const qsizetype count = std::max<qsizetype>({rec.Digits.size(), qsizetype(minDigits), 1});
    QString text;
    text += QLatin1Char(DigitAt(rec, 0));
    if (count > 1) {
        text += settings.DecimalSeparator;
        for (qsizetype i = 1; i < count; ++i)
            text += QLatin1Char(DigitAt(rec, i));
    }
    const int exponent = rec.IsZero() ? 0 : rec.Exponent - 1;
    return text + QLatin1Char('E') + ExponentText(exponent, expDigits, forceSign);
}

QString IntegerPartText(const TFloatRec &rec, bool thousands, const TFormatSettings &settings)
{
    if (rec.Exponent <= 0)
        return QStringLiteral("0");
    QString text;
    for (int i = 0; i < rec.Exponent; ++i) {
        if (thousands && i > 0 && (rec.Exponent - i) % 3 == 0)
            text += settings.ThousandSeparator;
        text += QLatin1Char(DigitAt(rec, i));
    }
    return text;
}

QString FixedText(const TFloatRec &rec, int decimals, bool thousands, const TFormatSettings &settings)
{
    QString text = IntegerPartText(rec, thousands, settings);
    if (decimals > 0) {
        text += settings.DecimalSeparator;
        for (int i = 0; i < decimals; ++i)
            text += QLatin1Char(DigitAt(rec, rec.Exponent + i));
    }
    return text;
}

QString GeneralText(const TFloatRec &rec, int precision, int expDigits, const TFormatSettings &settings)
{
    if (rec.IsZero())
        return QStringLiteral("0");
    if (rec.Exponent > precision || rec.Exponent < -3)
        return ScientificText(rec, 0, expDigits, false, settings);
    const int decimals = std::max(0, int(rec.Digits.size()) - rec.Exponent);
    return FixedText(rec, decimals, false, settings);
}

QString CurrencyText(const QString &number, bool negative, const TFormatSettings &settings)
{
    static const char *const positive[4] = {"$1", "1$", "$ 1", "1 $"};
    static const char *const negativePatterns[16] = {
        "($1)", "-$1", "$-1", "$1-", "(1$)", "-1$", "1-$", "1$-",
        "-1 $", "-$ 1", "1 $-", "$ 1-", "$ -1", "1- $", "($ 1)", "(1 $)",
    };
    const char *pattern = negative ? negativePatterns[std::clamp(settings.NegCurrFormat, 0, 15)]
                                   : positive[std::clamp(settings.CurrencyFormat, 0, 3)];
    QString text;
    for (const char *p = pattern; *p; ++p) {
        if (*p == '$')
            text += settings.CurrencyString;
        else if (*p == '1')
            text += number;
        else
            text += QLatin1Char(*p);
    }
    return text;
}

TFloatRec DigitsOf(quint64 magnitude, bool negative, int exponentShift)
{
    TFloatRec rec;
    rec.Negative = negative;
    rec.Digits = QByteArray::number(magnitude);
    rec.Exponent = int(rec.Digits.size()) + exponentShift;
    StripTrailingZeros(rec);
    return rec;
}

} // namespace

void RoundDecimal(TFloatRec &rec, int count)
{
    if (rec.Kind != TFloatRec::Finite)
        return;
    if (count >= rec.Digits.size()) {
        StripTrailingZeros(rec);
        return;
    }
    if (count < 0) {
        rec.Digits.clear();
        StripTrailingZeros(rec);
        return;
    }
    const bool roundUp = rec.Digits[count] >= '5';
    rec.Digits.truncate(count);
    if (roundUp) {
        int i = count - 1;
        while (i >= 0 && rec.Digits[i] == '9')
            rec.Digits[i--] = '0';
        if (i < 0) {
            rec.Digits = "1";
            ++rec.Exponent;
        } else {
            ++rec.Digits[i];
        }
    }
    StripTrailingZeros(rec);
}

TFloatRec FloatToDecimal(double value, int precision, int decimals)
{
    TFloatRec rec;
    if (std::isnan(value)) {
        rec.Kind = TFloatRec::NaN;
        return rec;
    }
    rec.Negative = std::signbit(value);
    if (std::isinf(value)) {
        rec.Kind = TFloatRec::Infinite;
        return rec;
    }
    if (value == 0) {
        rec.Negative = false;
        return rec;
    }
    // d.ddddddddddddddddde[+-]xx, whatever the C locale says.
    char buffer[40];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific,
                                   kDoubleDigits - 1).ptr;
    rec.Digits.append(buffer[0]);
    rec.Digits.append(buffer + 2, kDoubleDigits - 1);
    int exponent = 0;
    std::from_chars(buffer + kDoubleDigits + 2 + (buffer[kDoubleDigits + 2] == '+'), end, exponent);
    rec.Exponent = exponent + 1;
    precision = std::clamp(precision, 1, kDoubleDigits);
    RoundDecimal(rec, int(std::min<qint64>(precision, qint64(rec.Exponent) + decimals)));
    return rec;
}

TFloatRec CurrencyToDecimal(Currency value, int precision, int decimals)
{
    const qint64 scaled = value.Scaled();
    const quint64 magnitude = scaled < 0 ? quint64(0) - quint64(scaled) : quint64(scaled);
    TFloatRec rec = DigitsOf(magnitude, scaled < 0, -4);
    if (rec.IsZero())
        return rec;
    precision = std::clamp(precision, 1, kCurrencyDigits);
    RoundDecimal(rec, int(std::min<qint64>(precision, qint64(rec.Exponent) + decimals)));
    return rec;
}

QString FloatRecToText(const TFloatRec &rec, TFloatFormat format, int precision, int digits,
                       const TFormatSettings &settings)
{
    if (rec.Kind == TFloatRec::NaN)
        return QStringLiteral("NAN");
    if (rec.Kind == TFloatRec::Infinite)
        return rec.Negative ? QStringLiteral("-INF") : QStringLiteral("INF");

    QString text;
    switch (format) {
    case ffGeneral:
        text = GeneralText(rec, precision, std::clamp(digits, 0, 4), settings);
        break;
    case ffExponent:
        text = ScientificText(rec, precision, std::clamp(digits, 0, 4), true, settings);
        break;
    case ffFixed:
    case ffNumber:
        if (rec.Exponent > precision)
            text = GeneralText(rec, precision, std::clamp(digits, 0, 4), settings);
        else
            text = FixedText(rec, digits, format == ffNumber, settings);
        break;
    case ffCurrency:
        return CurrencyText(FixedText(rec, digits, true, settings), rec.Negative, settings);
    }
    return rec.Negative ? QLatin1Char('-') + text : text;
}

QString FloatToStr(double value, const TFormatSettings &settings)
{
    return FloatToStrF(value, ffGeneral, 15, 0, settings);
}

QString FloatToStrF(double value, TFloatFormat format, int precision, int digits, const TFormatSettings &settings)
{
    precision = std::clamp(precision, 1, kDoubleDigits);
    const bool fixedDecimals = format == ffFixed || format == ffNumber || format == ffCurrency;
    if (fixedDecimals)
        digits = std::clamp(digits, 0, kDoubleDigits);
    const TFloatRec rec = FloatToDecimal(value, precision, fixedDecimals ? digits : 9999);
    return FloatRecToText(rec, format, precision, digits, settings);
}

QString CurrToStr(Currency value, const TFormatSettings &settings)
{
    return FloatRecToText(CurrencyToDecimal(value, kCurrencyDigits, 9999), ffGeneral, kCurrencyDigits, 0, settings);
}
