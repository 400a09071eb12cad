#include "toolkit/core/Exceptions.h"
#include "toolkit/core/Format.h"
#include "toolkit/core/FormatFloat.h"
#include "toolkit/core/MaskUtils.h"
#include "toolkit/core/TextLimits.h"

#include "RuntimeTestSupport.h"
#include "common/TestSupport.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

const QChar Nbsp(0x00A0);

QString InvalidFormatMessage(const char *format)
{
    return QStringLiteral("Format '%1' invalid or incompatible with argument").arg(QLatin1String(format));
}

} // namespace

TEST(Format, Integers)
{
    EXPECT_EQ(Format(QStringLiteral("%d"), {42}), QStringLiteral("42"));
    EXPECT_EQ(Format(QStringLiteral("[%5d]"), {42}), QStringLiteral("[   42]"));
    EXPECT_EQ(Format(QStringLiteral("[%-5d]"), {42}), QStringLiteral("[42   ]"));
    EXPECT_EQ(Format(QStringLiteral("%.4d"), {-42}), QStringLiteral("-0042"));
    EXPECT_EQ(Format(QStringLiteral("%d"), {std::numeric_limits<qint64>::min()}),
              QStringLiteral("-9223372036854775808"));
    EXPECT_EQ(Format(QStringLiteral("%u"), {-1}), QStringLiteral("4294967295"));
    EXPECT_EQ(Format(QStringLiteral("%x"), {255}), QStringLiteral("FF"));
    EXPECT_EQ(Format(QStringLiteral("%.4x"), {255}), QStringLiteral("00FF"));
    EXPECT_EQ(Format(QStringLiteral("%x"), {qint64(-1)}), QStringLiteral("FFFFFFFFFFFFFFFF"));
    EXPECT_EQ(Format(QStringLiteral("%p"), {TVarRec::Object(255)}), QStringLiteral("000000FF"));
}

TEST(Format, Floats)
{
    EXPECT_EQ(Format(QStringLiteral("%f"), {1.5}), QStringLiteral("1,50"));
    EXPECT_EQ(Format(QStringLiteral("%2.2f"), {3.14159}), QStringLiteral("3,14"));
    EXPECT_EQ(Format(QStringLiteral("[%9.2f]"), {1234.5}), QStringLiteral("[  1234,50]"));
    EXPECT_EQ(Format(QStringLiteral("%.0f"), {2.5}), QStringLiteral("3"));
    EXPECT_EQ(Format(QStringLiteral("%e"), {1234.5}), QStringLiteral("1,23450000000000E+003"));
    EXPECT_EQ(Format(QStringLiteral("%.3e"), {-0.0001234}), QStringLiteral("-1,23E-004"));
    EXPECT_EQ(Format(QStringLiteral("%g"), {1234.5}), QStringLiteral("1234,5"));
    EXPECT_EQ(Format(QStringLiteral("%g"), {0.00001}), QStringLiteral("1E-005"));
    EXPECT_EQ(Format(QStringLiteral("%n"), {1234567.891}), QStringLiteral("1") + Nbsp + "234" + Nbsp + "567,89");
    EXPECT_EQ(Format(QStringLiteral("%m"), {-1234.5}), QStringLiteral("-1") + Nbsp + "234,50 р.");
    EXPECT_EQ(Format(QStringLiteral("%.2f"), {1234.5}, PointSettings()), QStringLiteral("1234.50"));
}

TEST(Format, TextIndexStarAndPercent)
{
    EXPECT_EQ(Format(QStringLiteral("%s-%s"), {"a", QChar('b')}), QStringLiteral("a-b"));
    EXPECT_EQ(Format(QStringLiteral("%.2s|%5s"), {"abc", "abc"}), QStringLiteral("ab|  abc"));
    EXPECT_EQ(Format(QStringLiteral("%1:s %0:s %s"), {"a", "b"}), QStringLiteral("b a b"));
    EXPECT_EQ(Format(QStringLiteral("%:s"), {"a"}), QStringLiteral("a"));
    EXPECT_EQ(Format(QStringLiteral("[%*d]"), {5, 42}), QStringLiteral("[   42]"));
    EXPECT_EQ(Format(QStringLiteral("%.*f"), {1, 2.25}), QStringLiteral("2,3"));
    EXPECT_EQ(Format(QStringLiteral("100%% %s"), {"done"}), QStringLiteral("100% done"));
    EXPECT_EQ(Format(QStringLiteral("%D %S"), {7, "x"}), QStringLiteral("7 x"));
}

TEST(Format, VariantArgumentsTakeTheKindAsked)
{
    EXPECT_EQ(Format(QStringLiteral("%d"), {Variant("12")}), QStringLiteral("12"));
    EXPECT_EQ(Format(QStringLiteral("%s"), {Variant(3.5)}), QStringLiteral("3,5"));
    EXPECT_EQ(Format(QStringLiteral("%.1f"), {Variant(2)}), QStringLiteral("2,0"));
    EXPECT_EQ(Format(QStringLiteral("[%s]"), {Variant::Null()}), QStringLiteral("[]"));
    EXPECT_THROW(Format(QStringLiteral("%f"), {Variant("abc")}), EConvertError);
}

TEST(Format, MismatchesAndMalformedSpecifiersRaise)
{
    EXPECT_EQ(MessageOf<EConvertError>([] { Format(QStringLiteral("%d"), {1.5}); }), InvalidFormatMessage("%d"));
    EXPECT_EQ(MessageOf<EConvertError>([] { Format(QStringLiteral("%d %d"), {1}); }),
              QStringLiteral("No argument for format '%d %d'"));
    EXPECT_THROW(Format(QStringLiteral("%f"), {1}), EConvertError);
    EXPECT_THROW(Format(QStringLiteral("%s"), {1}), EConvertError);
    EXPECT_THROW(Format(QStringLiteral("%d"), {true}), EConvertError);
    EXPECT_THROW(Format(QStringLiteral("%p"), {1}), EConvertError);
    EXPECT_THROW(Format(QStringLiteral("abc%"), {1}), EConvertError);
    EXPECT_THROW(Format(QStringLiteral("%y"), {1}), EConvertError);
    EXPECT_THROW(Format(QStringLiteral("%*d"), {"x", 1}), EConvertError);
    EXPECT_THROW(Format(QStringLiteral("%99999999d"), {1}), EConvertError);
    EXPECT_THROW(Format(QStringLiteral("%*d"), {1000000000, 1}), EConvertError);
}

TEST(FormatFloat, DigitPlaceholders)
{
    EXPECT_EQ(FormatFloat(QStringLiteral("0.00"), 1.5), QStringLiteral("1,50"));
    EXPECT_EQ(FormatFloat(QStringLiteral("0.00"), 0.125), QStringLiteral("0,13"));
    EXPECT_EQ(FormatFloat(QStringLiteral("#.##"), 0.5), QStringLiteral(",5"));
    EXPECT_EQ(FormatFloat(QStringLiteral("#.##"), 1), QStringLiteral("1"));
    EXPECT_EQ(FormatFloat(QStringLiteral("#"), 0), QString());
    EXPECT_EQ(FormatFloat(QStringLiteral("000"), 7), QStringLiteral("007"));
    EXPECT_EQ(FormatFloat(QStringLiteral("0"), 1234.5), QStringLiteral("1235"));
    EXPECT_EQ(FormatFloat(QStringLiteral(".00"), 12.5), QStringLiteral("12,50"));
    EXPECT_EQ(FormatFloat(QStringLiteral("0.0#"), -2.5), QStringLiteral("-2,5"));
}

TEST(FormatFloat, ThousandsAndLiterals)
{
    EXPECT_EQ(FormatFloat(QStringLiteral("#,##0.00"), 1234567.891),
              QStringLiteral("1") + Nbsp + "234" + Nbsp + "567,89");
    EXPECT_EQ(FormatFloat(QStringLiteral("#,##0"), 12), QStringLiteral("12"));
    // A blank is a literal: surplus digits all go to the first placeholder.
    EXPECT_EQ(FormatFloat(QStringLiteral("# ##0"), 1234567), QStringLiteral("1234 567"));
    EXPECT_EQ(FormatFloat(QStringLiteral("\"$\"0.00"), -5), QStringLiteral("-$5,00"));
    EXPECT_EQ(FormatFloat(QStringLiteral("0.00' руб.'"), 5), QStringLiteral("5,00 руб."));
    EXPECT_EQ(FormatFloat(QStringLiteral("'#0;'0"), 5), QStringLiteral("#0;5"));
}

TEST(FormatFloat, SectionsForNegativeAndZero)
{
    const QString picture = QStringLiteral("0.00;(0.00);zero");
    EXPECT_EQ(FormatFloat(picture, 5), QStringLiteral("5,00"));
    EXPECT_EQ(FormatFloat(picture, -5), QStringLiteral("(5,00)"));
    EXPECT_EQ(FormatFloat(picture, 0), QStringLiteral("zero"));
    EXPECT_EQ(FormatFloat(picture, -0.001), QStringLiteral("zero"));
    EXPECT_EQ(FormatFloat(QStringLiteral("0.00;;zero"), -5), QStringLiteral("-5,00"));
    EXPECT_EQ(FormatFloat(QStringLiteral("0.0;-0.0"), -0.04), QStringLiteral("0,0"));
}

TEST(FormatFloat, Scientific)
{
    EXPECT_EQ(FormatFloat(QStringLiteral("0.00E+00"), 1234.5), QStringLiteral("1,23E+03"));
    EXPECT_EQ(FormatFloat(QStringLiteral("0.0e-0"), 0.000123), QStringLiteral("1,2e-4"));
    EXPECT_EQ(FormatFloat(QStringLiteral("0.0E-00"), 12345), QStringLiteral("1,2E04"));
    EXPECT_EQ(FormatFloat(QStringLiteral("00.0E+0"), 12345), QStringLiteral("12,3E+3"));
    EXPECT_EQ(FormatFloat(QStringLiteral("0E+0"), 0), QStringLiteral("0E+0"));
    EXPECT_EQ(FormatFloat(QStringLiteral("#.###E-0"), 1234), QStringLiteral("1,234E3"));
    EXPECT_EQ(FormatFloat(QStringLiteral("#.###E-0"), 0.5), QStringLiteral("5E-1"));
    EXPECT_EQ(FormatFloat(QStringLiteral("#.###E-0"), 0), QStringLiteral("0E0"));
}

TEST(FormatFloat, FallsBackToGeneralText)
{
    EXPECT_EQ(FormatFloat(QString(), 2.5), QStringLiteral("2,5"));
    EXPECT_EQ(FormatFloat(QStringLiteral(";;"), 1.0), QStringLiteral("1"));
    EXPECT_EQ(FormatFloat(QStringLiteral(";0"), 1.5), QStringLiteral("1,5"));
    EXPECT_EQ(FormatFloat(QStringLiteral(";0"), -1234.5678), QStringLiteral("1235"))
        << "a negative section serves negative numbers also after an empty first one";
    EXPECT_EQ(FormatFloat(QStringLiteral("0"), 1e20), QStringLiteral("1E20"));
    EXPECT_EQ(FormatFloat(QStringLiteral("0.00"), std::numeric_limits<double>::quiet_NaN()), QStringLiteral("NAN"));
}

TEST(Format, ResultsLongerThanTheTextCapRaise)
{
    const QString half(MaxTextLength / 2 + 1, QLatin1Char('x'));
    EXPECT_EQ(MessageOf<EOutOfMemory>([&half] { Format(QStringLiteral("%s%s"), {half, half}); }),
              QStringLiteral("Text too long"));
    EXPECT_EQ(Format(QStringLiteral("%s"), {half}).size(), half.size());
}

TEST(FormatMaskText, InsertsLiteralsAndPadsWithBlanks)
{
    EXPECT_EQ(FormatMaskText(QStringLiteral("(999)000-0000;0;_"), QStringLiteral("5551234")),
              QStringLiteral("(555)123-4   "));
    EXPECT_EQ(FormatMaskText(QStringLiteral("!(999)000-0000;0;_"), QStringLiteral("5551234")),
              QStringLiteral("(   )555-1234"));
    EXPECT_EQ(FormatMaskText(QStringLiteral("\\(000\\);0"), QStringLiteral("123")), QStringLiteral("(123)"));
    EXPECT_EQ(FormatMaskText(QStringLiteral("00_00;0"), QStringLiteral("1234")), QStringLiteral("12 34"));
}

TEST(FormatMaskText, SavedLiteralsCaseAndSeparators)
{
    // The value already holds its literals; "/" is the date separator.
    EXPECT_EQ(FormatMaskText(QStringLiteral("00/00/0000;1;_"), QStringLiteral("07/12/2026")),
              QStringLiteral("07.12.2026"));
    EXPECT_EQ(FormatMaskText(QStringLiteral("00:00"), QStringLiteral("09:30")), QStringLiteral("09:30"));
    EXPECT_EQ(FormatMaskText(QStringLiteral(">LL<ll<>cc;0"), QStringLiteral("abCDeF")), QStringLiteral("ABcdeF"));
    EXPECT_EQ(FormatMaskText(QString(), QStringLiteral("abc")), QString());
}
