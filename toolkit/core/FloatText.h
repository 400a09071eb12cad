#pragma once

// Floating-point numbers as text, the classic way.
//
// A number is first turned into decimal digits (TFloatRec), rounded half away
// from zero at the requested precision; the formats then lay the digits out.
// A double is read with 18 significant digits before any rounding, so a value
// such as 0.125 rounds to 0.13 and 2.675 (really 2.67499...) to 2.67.

#include "toolkit/core/FormatSettings.h"

#include <QString>

class Currency;

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// value = 0.Digits x 10^Exponent.  Zero has no digits and exponent 0.
struct TFloatRec
{
    enum Special { Finite, Infinite, NaN };

    Special Kind = Finite;
    bool Negative = false;
    int Exponent = 0;
    QByteArray Digits; // '0'..'9', no trailing zeros

    bool IsZero() const { return Kind == Finite && Digits.isEmpty(); }
};

// The digits of a value, rounded to at most `precision` significant digits
// (1..18) and at most `decimals` digits after the decimal point.
TFloatRec FloatToDecimal(double value, int precision, int decimals);
TFloatRec CurrencyToDecimal(Currency value, int precision, int decimals);

// Rounds digits in place at position `count` (count <= 0 may round up to a
// single digit or down to zero).
void RoundDecimal(TFloatRec &rec, int count);

// Lays out digits in a format.  `precision` and `digits` mean what they mean
// for FloatToStrF.
QString FloatRecToText(const TFloatRec &rec, TFloatFormat format, int precision, int digits,
                       const TFormatSettings &settings);

// The general format with 15 significant digits: "0.1", "1E-5", "1.5E20".
QString FloatToStr(double value, const TFormatSettings &settings = FormatSettings);

// ffGeneral: shortest of fixed and scientific, `digits` = minimum exponent digits;
// ffExponent: "d.dddE+xx" with `precision` digits; ffFixed / ffNumber: `digits`
// decimals (ffNumber with thousand separators), scientific when the integer
// part has more than `precision` digits; ffCurrency: the currency layout.
QString FloatToStrF(double value, TFloatFormat format, int precision, int digits,
                    const TFormatSettings &settings = FormatSettings);

// A currency amount in the general format with up to four decimals.
QString CurrToStr(Currency value, const TFormatSettings &settings = FormatSettings);
