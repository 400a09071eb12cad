#pragma once

// The fixed-point currency type: a 64-bit integer counting ten-thousandths.

#include <QtGlobal>

#include <compare>

class Currency
{
public:
    static constexpr qint64 Scale = 10000;

    constexpr Currency() = default;

    static constexpr Currency FromScaled(qint64 scaled)
    {
        Currency c;
        c.m_scaled = scaled;
        return c;
    }

    // value x 10^4 rounded half to even; false when out of range or NaN.
    static bool TryFromDouble(double value, Currency &result);
    // As TryFromDouble; raises EOverflow when out of range.
    static Currency FromDouble(double value);

    constexpr qint64 Scaled() const { return m_scaled; }
    double ToDouble() const { return double(m_scaled) / Scale; }

    // Exact sums and differences, products rounded half to even; EOverflow
    // when the result leaves the range.
    Currency operator+(Currency other) const;
    Currency operator-(Currency other) const;
    Currency operator*(Currency other) const;
    Currency operator-() const;

    constexpr auto operator<=>(const Currency &) const = default;

private:
    qint64 m_scaled = 0;
};
