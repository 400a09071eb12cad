#include "toolkit/core/Currency.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/core/FloatText.h"
#include "toolkit/core/Random.h"
#include "toolkit/core/StrUtils.h"
#include "toolkit/core/SysUtils.h"

#include "RuntimeTestSupport.h"
#include "common/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

const QChar Nbsp(0x00A0);

} // namespace

TEST(FloatToStr, GeneralFormWithFifteenDigits)
{
    EXPECT_EQ(FloatToStr(0.1), QStringLiteral("0,1"));
    EXPECT_EQ(FloatToStr(-2.5), QStringLiteral("-2,5"));
    EXPECT_EQ(FloatToStr(3.0), QStringLiteral("3"));
    EXPECT_EQ(FloatToStr(1.0 / 3), QStringLiteral("0,333333333333333"));
    EXPECT_EQ(FloatToStr(2.0 / 3), QStringLiteral("0,666666666666667"));
    EXPECT_EQ(FloatToStr(123456789012345.0), QStringLiteral("123456789012345"));
    EXPECT_EQ(FloatToStr(0.0), QStringLiteral("0"));
    EXPECT_EQ(FloatToStr(-0.0), QStringLiteral("0"));
}

TEST(FloatToStr, ExponentFormBeyondFifteenDigitsOrBelowTenThousandth)
{
    EXPECT_EQ(FloatToStr(0.0001), QStringLiteral("0,0001"));
    EXPECT_EQ(FloatToStr(0.00001), QStringLiteral("1E-5"));
    EXPECT_EQ(FloatToStr(-0.000012), QStringLiteral("-1,2E-5"));
    EXPECT_EQ(FloatToStr(1e15), QStringLiteral("1E15"));
    EXPECT_EQ(FloatToStr(1.5e20), QStringLiteral("1,5E20"));
    EXPECT_EQ(FloatToStr(9.999999999999999e14), QStringLiteral("1E15"));
}

TEST(FloatToStr, SpecialValues)
{
    EXPECT_EQ(FloatToStr(std::numeric_limits<double>::quiet_NaN()), QStringLiteral("NAN"));
    EXPECT_EQ(FloatToStr(std::numeric_limits<double>::infinity()), QStringLiteral("INF"));
    EXPECT_EQ(FloatToStr(-std::numeric_limits<double>::infinity()), QStringLiteral("-INF"));
}

TEST(FloatToStrF, FixedRoundsHalfAwayOnTheDecimalDigits)
{
    const TFormatSettings point = PointSettings();
    EXPECT_EQ(FloatToStrF(1234.5, ffFixed, 32, 2, point), QStringLiteral("1234.50"));
    EXPECT_EQ(FloatToStrF(1234567.891, ffFixed, 32, 2, point), QStringLiteral("1234567.89"));
    EXPECT_EQ(FloatToStrF(0.125, ffFixed, 18, 2, point), QStringLiteral("0.13"));
    // 2.675 is really 2.67499999...
    EXPECT_EQ(FloatToStrF(2.675, ffFixed, 18, 2, point), QStringLiteral("2.67"));
    EXPECT_EQ(FloatToStrF(0.5, ffFixed, 18, 0, point), QStringLiteral("1"));
    EXPECT_EQ(FloatToStrF(9.995, ffFixed, 18, 1, point), QStringLiteral("10.0"));
    EXPECT_EQ(FloatToStrF(-0.001, ffFixed, 18, 2, point), QStringLiteral("0.00"));
    EXPECT_EQ(FloatToStrF(0.0, ffFixed, 18, 2, point), QStringLiteral("0.00"));
}

TEST(FloatToStrF, FixedFallsBackToExponentBeyondPrecision)
{
    const TFormatSettings point = PointSettings();
    EXPECT_EQ(FloatToStrF(1e17, ffFixed, 32, 2, point), QStringLiteral("100000000000000000.00"));
    EXPECT_EQ(FloatToStrF(1e18, ffFixed, 32, 2, point), QStringLiteral("1E18"));
}

TEST(FloatToStrF, NumberExponentAndCurrency)
{
    EXPECT_EQ(FloatToStrF(1234567.891, ffNumber, 18, 2), QStringLiteral("1") + Nbsp + "234" + Nbsp + "567,89");
    EXPECT_EQ(FloatToStrF(123.0, ffNumber, 18, 0), QStringLiteral("123"));
    EXPECT_EQ(FloatToStrF(1234.5, ffExponent, 4, 2), QStringLiteral("1,235E+03"));
    EXPECT_EQ(FloatToStrF(-0.00012, ffExponent, 3, 0), QStringLiteral("-1,20E-4"));
    EXPECT_EQ(FloatToStrF(1234.5, ffCurrency, 18, 2), QStringLiteral("1") + Nbsp + "234,50 р.");
    EXPECT_EQ(FloatToStrF(-1234.5, ffCurrency, 18, 2), QStringLiteral("-1") + Nbsp + "234,50 р.");
    TFormatSettings dollars = PointSettings();
    dollars.CurrencyString = QStringLiteral("$");
    dollars.CurrencyFormat = 0;
    dollars.NegCurrFormat = 0;
    EXPECT_EQ(FloatToStrF(-5, ffCurrency, 18, 2, dollars), QStringLiteral("($5.00)"));
}

TEST(Currency, ExactDigitsAndHalfEvenProducts)
{
    EXPECT_EQ(CurrToStr(Currency::FromScaled(12345)), QStringLiteral("1,2345"));
    EXPECT_EQ(CurrToStr(Currency::FromScaled(-30000)), QStringLiteral("-3"));
    EXPECT_EQ(CurrToStr(Currency::FromScaled(std::numeric_limits<qint64>::max())),
              QStringLiteral("922337203685477,5807"));
    EXPECT_EQ(Currency::FromDouble(1.23456).Scaled(), 12346);
    // 1.5 x 0.0001 and 2.5 x 0.0001 both drop a half ten-thousandth.
    EXPECT_EQ((Currency::FromScaled(15000) * Currency::FromScaled(1)).Scaled(), 2);
    EXPECT_EQ((Currency::FromScaled(25000) * Currency::FromScaled(1)).Scaled(), 2);
    EXPECT_THROW(Currency::FromDouble(1e16), EOverflow);
    EXPECT_THROW(Currency::FromScaled(std::numeric_limits<qint64>::max()) + Currency::FromScaled(1), EOverflow);
}

TEST(StrToInt, AcceptsSignsAndHexPrefixes)
{
    EXPECT_EQ(StrToInt(QStringLiteral("123")), 123);
    EXPECT_EQ(StrToInt(QStringLiteral("  -45")), -45);
    EXPECT_EQ(StrToInt(QStringLiteral("$FF")), 255);
    EXPECT_EQ(StrToInt(QStringLiteral("0x1f")), 31);
    EXPECT_EQ(StrToInt(QStringLiteral("x1F")), 31);
    EXPECT_EQ(StrToInt(QStringLiteral("-X10")), -16);
    EXPECT_EQ(StrToInt(QStringLiteral("$FFFFFFFF")), -1);
    EXPECT_EQ(StrToInt(QStringLiteral("-2147483648")), std::numeric_limits<qint32>::min());
    EXPECT_EQ(StrToInt64(QStringLiteral("9223372036854775807")), std::numeric_limits<qint64>::max());
    EXPECT_EQ(StrToInt64(QStringLiteral("$FFFFFFFFFFFFFFFF")), -1);
    EXPECT_EQ(StrToInt64(QStringLiteral("4294967296")), 4294967296ll);
}

TEST(StrToInt, RejectsWhatIsNoInteger)
{
    EXPECT_EQ(MessageOf<EConvertError>([] { StrToInt(QStringLiteral("12a")); }),
              QStringLiteral("'12a' is not a valid integer value"));
    for (const char *text : {"", "-", "$", "12 ", "2147483648", "$100000000", "1.5", "1e3", "\t5", "\n5"})
        EXPECT_THROW(StrToInt(QString::fromLatin1(text)), EConvertError) << text;
    EXPECT_THROW(StrToInt64(QStringLiteral("9223372036854775808")), EConvertError);
    qint32 v = 7;
    EXPECT_FALSE(TryStrToInt(QStringLiteral("x"), v));
    EXPECT_EQ(v, 7);
}

TEST(StrToFloat, ReadsTheLocaleSeparator)
{
    EXPECT_EQ(StrToFloat(QStringLiteral("1,5")), 1.5);
    EXPECT_EQ(StrToFloat(QStringLiteral("1,5\u0000")), 1.5) << "the text ends at a zero character";
    EXPECT_EQ(StrToFloat(QStringLiteral("2,5 \u0000junk")), 2.5);
    EXPECT_EQ(StrToFloat(QStringLiteral("  -2,5E3 ")), -2500.0);
    EXPECT_EQ(StrToFloat(QStringLiteral("1.5"), PointSettings()), 1.5);
    EXPECT_EQ(StrToFloat(QStringLiteral("1E-400")), 0.0);
    EXPECT_EQ(MessageOf<EConvertError>([] { StrToFloat(QStringLiteral("1.5")); }),
              QStringLiteral("'1.5' is not a valid floating point value"));
    for (const char *text : {"", ",", "1E", "1E400", "abc", "1 000", "--1", "0x10"})
        EXPECT_THROW(StrToFloat(QString::fromLatin1(text)), EConvertError) << text;
}

TEST(StrToBool, WordsAndNumbers)
{
    EXPECT_TRUE(StrToBool(QStringLiteral("true")));
    EXPECT_FALSE(StrToBool(QStringLiteral("FALSE")));
    EXPECT_FALSE(StrToBool(QStringLiteral("0")));
    EXPECT_TRUE(StrToBool(QStringLiteral("2,5")));
    EXPECT_EQ(MessageOf<EConvertError>([] { StrToBool(QStringLiteral("yes")); }),
              QStringLiteral("'yes' is not a valid boolean value"));
    EXPECT_EQ(BoolToStr(true), QStringLiteral("-1"));
    EXPECT_EQ(BoolToStr(false), QStringLiteral("0"));
    EXPECT_EQ(BoolToStr(true, true), QStringLiteral("True"));
}

TEST(Rounding, RoundHalvesToEvenTruncTowardsZero)
{
    EXPECT_EQ(Round(2.5), 2);
    EXPECT_EQ(Round(3.5), 4);
    EXPECT_EQ(Round(-2.5), -2);
    EXPECT_EQ(Round(0.5), 0);
    EXPECT_EQ(Round(2.6), 3);
    EXPECT_EQ(Trunc(-2.7), -2);
    EXPECT_EQ(Trunc(2.7), 2);
    EXPECT_THROW(Round(std::numeric_limits<double>::quiet_NaN()), EInvalidOp);
    EXPECT_THROW(Trunc(1e19), EInvalidOp);
}

TEST(IntToText, DecimalAndHex)
{
    EXPECT_EQ(IntToStr(-42), QStringLiteral("-42"));
    EXPECT_EQ(IntToHex(255, 4), QStringLiteral("00FF"));
    EXPECT_EQ(IntToHex(qint32(-1), 2), QStringLiteral("FFFFFFFF"));
    EXPECT_EQ(IntToHex(qint64(-1), 1), QStringLiteral("FFFFFFFFFFFFFFFF"));
}

TEST(StrUtils, TrimPosAndCopyClamp)
{
    EXPECT_EQ(Trim(QStringLiteral(" \t a b \r\n")), QStringLiteral("a b"));
    EXPECT_EQ(TrimLeft(QStringLiteral("  a ")), QStringLiteral("a "));
    EXPECT_EQ(TrimRight(QStringLiteral("  a ")), QStringLiteral("  a"));
    EXPECT_EQ(Trim(QStringLiteral(" \x01 ")), QString());
    EXPECT_EQ(Pos(QStringLiteral("b"), QStringLiteral("abc")), 2);
    EXPECT_EQ(Pos(QStringLiteral("x"), QStringLiteral("abc")), 0);
    EXPECT_EQ(Pos(QString(), QStringLiteral("abc")), 0);
    EXPECT_EQ(Copy(QStringLiteral("abcdef"), 2, 3), QStringLiteral("bcd"));
    EXPECT_EQ(Copy(QStringLiteral("abc"), 0, 2), QStringLiteral("ab"));
    EXPECT_EQ(Copy(QStringLiteral("abc"), 2, 100), QStringLiteral("bc"));
    EXPECT_EQ(Copy(QStringLiteral("abc"), 5, 1), QString());
    EXPECT_EQ(Copy(QStringLiteral("abc"), 1, -1), QString());
}

TEST(Random, RepeatsFromTheSameSeedAndStaysInRange)
{
    RandSeed = 42;
    const double a = Random();
    const int b = Random(10);
    RandSeed = 42;
    EXPECT_EQ(Random(), a);
    EXPECT_EQ(Random(10), b);
    for (int i = 0; i < 1000; ++i) {
        const double r = Random();
        EXPECT_GE(r, 0.0);
        EXPECT_LT(r, 1.0);
        const int n = Random(7);
        EXPECT_GE(n, 0);
        EXPECT_LT(n, 7);
    }
    EXPECT_EQ(Random(0), 0);
}
