#include "report/base/qvxNumbers.h"

#include "toolkit/core/FloatText.h"
#include "toolkit/core/SysUtils.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The classic fixed format falls back to exponent form above this many
// integer digits.
constexpr int FixedPrecision = 18;

// 1e7 * 1e8 stays below 2^53, where doubles still hold every integer.
constexpr double Round8Limit = 1e7;
constexpr double Round8Scale = 1e8;

} // namespace

QString qvxFloatToFixedStr(double value, int digits, QChar separator)
{
    TFormatSettings settings = FormatSettings;
    settings.DecimalSeparator = separator;
    return FloatToStrF(value, ffFixed, FixedPrecision, digits, settings);
}

QString qvxFloatToStr(double value)
{
    if (std::trunc(value) == value)
        return FloatToStr(value);
    return FloatToStrF(value, ffFixed, FixedPrecision, 2);
}

double qvxStrToFloat(const QString &text)
{
    QString normalized;
    normalized.reserve(text.size());
    for (QChar c : text) {
        if (c == u',' || c == u'.')
            normalized += FormatSettings.DecimalSeparator;
        else if (c != u' ')
            normalized += c;
    }
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
