#include "toolkit/core/Currency.h"

#include "toolkit/core/Exceptions.h"

#include <cmath>
#include <limits>

namespace {

[[noreturn]] void Overflow()
{
    throw EOverflow(QStringLiteral("Floating point overflow"));
}

} // namespace

bool Currency::TryFromDouble(double value, Currency &result)
{
    const double scaled = std::nearbyint(value * Scale);
    // 2^63 is exactly representable; anything at or beyond it does not fit.
    if (!(std::fabs(scaled) < 9223372036854775808.0))
        return false;
    result.m_scaled = qint64(scaled);
    return true;
}

Currency Currency::FromDouble(double value)
{
    Currency c;
    if (!TryFromDouble(value, c))
        Overflow();
    return c;
}

Currency Currency::operator+(Currency other) const
{
    qint64 sum;
    if (__builtin_add_overflow(m_scaled, other.m_scaled, &sum))
        Overflow();
    return FromScaled(sum);
}

Currency Currency::operator-(Currency other) const
{
    qint64 difference;
    if (__builtin_sub_overflow(m_scaled, other.m_scaled, &difference))
        Overflow();
    return FromScaled(difference);
}

Currency Currency::operator*(Currency other) const
{
    const __int128 product = __int128(m_scaled) * other.m_scaled;
    __int128 quotient = product / Scale;
    const __int128 remainder = product % Scale;
    // Half to even on the dropped ten-thousandths.
    const __int128 twice = remainder < 0 ? -remainder * 2 : remainder * 2;
    if (twice > Scale || (twice == Scale && (quotient & 1)))
        quotient += product < 0 ? -1 : 1;
    if (quotient > std::numeric_limits<qint64>::max() || quotient < std::numeric_limits<qint64>::min())
        Overflow();
    return FromScaled(qint64(quotient));
}

Currency Currency::operator-() const
{
    if (m_scaled == std::numeric_limits<qint64>::min())
        Overflow();
    return FromScaled(-m_scaled);
}
