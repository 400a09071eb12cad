#include "report/base/qvxNumbers.h"

#include "toolkit/core/FloatText.h"
#include "toolkit/core/SysUtils.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <iterator>
#include <limits>

namespace {

// The classic fixed format falls back to exponent form above this many
// integer digits.
constexpr int FixedPrecision = 18;

// 1e7 * 1e8 stays below 2^53, where doubles still hold every integer.
constexpr double Round8Limit = 1e7;
constexpr double Round8Scale = 1e8;

} // namespace

namespace {

// The general formatter's text, for what the fixed fast path does not take:
// NaN, infinities and magnitudes that go to exponent form.
char *formatGenerally(char *out, double value, int digits)
{
    TFormatSettings settings = FormatSettings;
    settings.DecimalSeparator = QLatin1Char('.');
    const QByteArray text = FloatToStrF(value, ffFixed, FixedPrecision, digits, settings).toLatin1();
    const auto size = std::min<qsizetype>(text.size(), qvxFixedTextSize);
    std::memcpy(out, text.constData(), size_t(size));
    return out + size;
}

// Most values lie far from a tie at the last decimal kept.  For them the
// scaled product decides the rounding as the correctly rounded significant
// digits would: below MaxScaled, the product's error and that of the
// digits stay within 1e-5 of a unit, well inside TieMargin.  Answers
// nullptr for the rest.
char *formatFarFromTie(char *out, double value, int digits)
{
    constexpr double MaxScaled = 1e11;
    constexpr double TieMargin = 1e-4;
    static constexpr quint64 Powers[] = {1, 10, 100, 1000, 10000, 100000, 1000000};
    if (digits >= int(std::size(Powers)))
        return nullptr;
    const quint64 scale = Powers[digits];
    const double scaled = std::fabs(value) * double(scale);
    if (!(scaled < MaxScaled))
        return nullptr;
    const double whole = std::floor(scaled);
    const double fraction = scaled - whole;
    if (std::fabs(fraction - 0.5) < TieMargin)
        return nullptr;
    const quint64 units = quint64(whole) + (fraction > 0.5 ? 1 : 0);
    if (value < 0 && units != 0)
        *out++ = '-';
    out = std::to_chars(out, out + 20, units / scale).ptr;
    if (digits > 0) {
        *out++ = '.';
        quint64 rest = units % scale;
        for (int i = digits - 1; i >= 0; --i) {
            out[i] = char('0' + rest % 10);
            rest /= 10;
        }
        out += digits;
    }
    return out;
}

} // namespace

char *qvxFormatFixed(char *out, double value, int digits)
{
    digits = std::clamp(digits, 0, FixedPrecision);
    if (char *end = formatFarFromTie(out, value, digits))
        return end;
    if (!std::isfinite(value))
        return formatGenerally(out, value, digits);
    // The FixedPrecision significant digits of the value, correctly rounded,
    // as the general formatter takes them.
    char digitsOf[FixedPrecision];
    int exponent = 0; // where the decimal point sits in digitsOf
    int count = 0;
    if (value != 0) {
        char buffer[40];
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                       std::chars_format::scientific, FixedPrecision - 1).ptr;
        digitsOf[0] = buffer[0];
        std::memcpy(digitsOf + 1, buffer + 2, FixedPrecision - 1);
        const char *exponentText = buffer + FixedPrecision + 2;
        std::from_chars(exponentText + (*exponentText == '+'), end, exponent);
        exponent += 1;
        if (exponent > FixedPrecision)
            return formatGenerally(out, value, digits);
        // Rounded half away from zero at the last decimal kept.
        count = std::min(FixedPrecision, exponent + digits);
        if (count < 0) {
            count = 0;
        } else if (count < FixedPrecision) {
            const bool roundUp = digitsOf[count] >= '5';
            if (roundUp) {
                int i = count - 1;
                while (i >= 0 && digitsOf[i] == '9')
                    --i;
                if (i < 0) {
                    digitsOf[0] = '1';
                    count = 1;
                    ++exponent;
                } else {
                    ++digitsOf[i];
                    count = i + 1;
                }
            }
        }
    }
    auto digitAt = [&](int index) { return index >= 0 && index < count ? digitsOf[index] : '0'; };
    const bool zero = std::all_of(digitsOf, digitsOf + count, [](char c) { return c == '0'; });
    if (value < 0 && !zero)
        *out++ = '-';
    if (exponent <= 0 || zero)
        *out++ = '0';
    else
        for (int i = 0; i < exponent; ++i)
            *out++ = digitAt(i);
    if (digits > 0) {
        *out++ = '.';
        for (int i = 0; i < digits; ++i)
            *out++ = digitAt(exponent + i);
    }
    return out;
}

QString qvxFloatToFixedStr(double value, int digits, QChar separator)
{
    char text[qvxFixedTextSize];
    QString result = QString::fromLatin1(text, qvxFormatFixed(text, value, digits) - text);
    if (separator != QLatin1Char('.'))
        result.replace(QLatin1Char('.'), separator);
    return result;
}

QString qvxFloatToStr(double value)
{
    if (std::trunc(value) == value)
        return FloatToStr(value);
    return FloatToStrF(value, ffFixed, FixedPrecision, 2);
}

double qvxStrToFloat(const QString &text)
{
    QString normalized(text.size(), Qt::Uninitialized);
    QChar *out = normalized.data();
    const QChar separator = FormatSettings.DecimalSeparator;
    for (QChar c : text) {
        if (c == u',' || c == u'.')
            *out++ = separator;
        else if (c != u' ')
            *out++ = c;
    }
    normalized.truncate(out - normalized.constData());
    return StrToFloat(normalized);
}

double qvxRound8(double value)
{
    if (!std::isfinite(value) || std::abs(value) >= Round8Limit)
        return value;
    return std::nearbyint(value * Round8Scale) / Round8Scale;
}

int qvxRoundToPixel(double value)
{
    if (std::isnan(value))
        return 0;
    constexpr double lowest = std::numeric_limits<int>::min();
    constexpr double highest = std::numeric_limits<int>::max();
    return int(std::nearbyint(std::clamp(value, lowest, highest)));
}
