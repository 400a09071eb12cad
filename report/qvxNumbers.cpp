#include "report/qvxNumbers.h"

#include "toolkit/core/FloatText.h"
#include "toolkit/core/SysUtils.h"

#include <cmath>

namespace {

// The classic fixed format falls back to exponent form above this many
// integer digits.
constexpr int FixedPrecision = 18;

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
