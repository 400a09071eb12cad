#include "report/base/qvxNumbers.h"
#include "report/components/qvxRectArea.h"
#include "report/base/qvxStreamUtils.h"
#include "report/base/qvxTextUtils.h"

#include "common/TestSupport.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/core/FloatText.h"
#include "toolkit/core/FormatSettings.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TStringList.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Pins the locale's decimal separator for one test.
class DecimalSeparator
{
public:
    explicit DecimalSeparator(char16_t separator) : m_saved(FormatSettings.DecimalSeparator)
    {
        FormatSettings.DecimalSeparator = QChar(separator);
    }
    ~DecimalSeparator() { FormatSettings.DecimalSeparator = m_saved; }

private:
    QChar m_saved;
};

QStringList pages(const QString &text, int pageCount)
{
    TStringList list;
    qvxParsePageRange(text, &list, pageCount);
    QStringList result;
    for (int i = 0; i < list.Count(); ++i)
        result.append(list.Strings(i));
    return result;
}

struct Bracket {
    QString result;
    int endPos = -1;
    int startPos = 0;
};

Bracket findBracket(const QString &text, int start = 0, const QString &open = QStringLiteral("["),
                    const QString &close = QStringLiteral("]"))
{
    Bracket b;
    b.startPos = start;
    qvxFindBracketExpression(text, open, close, b.result, b.endPos, b.startPos);
    return b;
}

} // namespace

TEST(qvxNumbers, FixedTextIgnoresTheLocale)
{
    for (char16_t separator : {u'.', u','}) {
        DecimalSeparator pinned(separator);
        EXPECT_EQ(qvxFloatToFixedStr(1234.5, 2, u'.'), QStringLiteral("1234.50"));
        EXPECT_EQ(qvxFloatToFixedStr(1234567.891, 2, u'.'), QStringLiteral("1234567.89"));
        EXPECT_EQ(qvxFloatToFixedStr(-3.5, 2, u'.'), QStringLiteral("-3.50"));
        EXPECT_EQ(qvxFloatToFixedStr(0, 2, u'.'), QStringLiteral("0.00"));
        EXPECT_EQ(qvxFloatToFixedStr(0.125, 2, u','), QStringLiteral("0,13"));
        EXPECT_EQ(qvxFloatToFixedStr(-0.001, 2, u'.'), QStringLiteral("0.00"));
        EXPECT_EQ(qvxFloatToFixedStr(999999999999999872.0, 1, u'.'), QStringLiteral("999999999999999872.0"));
        EXPECT_EQ(qvxFloatToFixedStr(1e18, 2, u'.'), QStringLiteral("1E18"));
    }
}

TEST(qvxNumbers, FixedTextIntoABufferAgreesWithTheGeneralFormatter)
{
    DecimalSeparator pinned(u'.');
    auto fixed = [](double value, int digits) {
        char text[qvxFixedTextSize];
        return QString::fromLatin1(text, qvxFormatFixed(text, value, digits) - text);
    };
    auto general = [](double value, int digits) { return FloatToStrF(value, ffFixed, 18, digits); };
    // Halves at the last decimal, carries through nines, values that round
    // to zero either side, and the ends of the fixed range.
    const double edges[] = {0.005, -0.005, 0.004999, 0.125, 2.675, 9.995, 99.995, -99.995, 0.0049, 1e-12,
                            -1e-12, 0.5, 1.5, 2.5, 123456789.125, 1e17, 999999999999999872.0, 1e18,
                            -1e19, 1.0 / 3, 841.89, 595.28, std::nan(""), HUGE_VAL, -HUGE_VAL, -0.0};
    for (double value : edges)
        for (int digits : {0, 1, 2, 4, 18})
            EXPECT_EQ(fixed(value, digits), general(value, digits)) << value << ' ' << digits;
    quint64 seed = 88172645463325252ull;
    for (int i = 0; i < 20000; ++i) {
        seed ^= seed << 13;
        seed ^= seed >> 7;
        seed ^= seed << 17;
        const double value = (double(seed % 200000001) - 100000000) / double(1 << (seed >> 59));
        ASSERT_EQ(fixed(value, 2), general(value, 2)) << value;
        ASSERT_EQ(fixed(value / 1000, 3), general(value / 1000, 3)) << value;
    }
    // Close to a half at the last decimal, on either side of the margin the
    // shortcut keeps from it, and close to where the shortcut stops.
    for (double offset : {0.0, 1e-12, -1e-12, 9.9e-7, -9.9e-7, 1.01e-6, -1.01e-6, 1e-3, -1e-3})
        for (double base : {0.005, 12.345, 1234.565, 99999.995, 999999999.005, 1e9 - 0.005, 1e9 + 0.005})
            for (double value : {base + offset, -(base + offset)})
                for (int digits : {1, 2, 3, 6, 7})
                    EXPECT_EQ(fixed(value, digits), general(value, digits)) << value << ' ' << digits;
    // Points and colour components as the writers make them.
    for (int n = 0; n < 5000; ++n) {
        ASSERT_EQ(fixed(n * 0.75 / 3, 2), general(n * 0.75 / 3, 2)) << n;
        ASSERT_EQ(fixed(n / 255.0, 2), general(n / 255.0, 2)) << n;
        ASSERT_EQ(fixed(841.89 - n * 0.1, 2), general(841.89 - n * 0.1, 2)) << n;
    }
}

TEST(qvxNumbers, FloatToStrShowsFractionsWithTwoDecimals)
{
    DecimalSeparator pinned(u'.');
    EXPECT_EQ(qvxFloatToStr(3), QStringLiteral("3"));
    EXPECT_EQ(qvxFloatToStr(-40), QStringLiteral("-40"));
    EXPECT_EQ(qvxFloatToStr(2.5), QStringLiteral("2.50"));
    DecimalSeparator comma(u',');
    EXPECT_EQ(qvxFloatToStr(2.5), QStringLiteral("2,50"));
}

TEST(qvxNumbers, StrToFloatAcceptsEitherSeparator)
{
    for (char16_t separator : {u'.', u','}) {
        DecimalSeparator pinned(separator);
        EXPECT_DOUBLE_EQ(qvxStrToFloat(QStringLiteral("1 234,5")), 1234.5);
        EXPECT_DOUBLE_EQ(qvxStrToFloat(QStringLiteral("-0.25")), -0.25);
        EXPECT_THROW(qvxStrToFloat(QStringLiteral("1.2.3")), EConvertError);
        EXPECT_THROW(qvxStrToFloat(QStringLiteral("abc")), EConvertError);
    }
}

TEST(qvxParsePageRange, ListsPagesInTheOrderWritten)
{
    EXPECT_EQ(pages(QStringLiteral("1,3-5,8-"), 10), (QStringList{"1", "3", "4", "5", "8", "9", "10"}));
    EXPECT_EQ(pages(QStringLiteral(" 2 , 2,5-3"), 10), (QStringList{"2", "2"}));
    EXPECT_EQ(pages(QString(), 10), QStringList());
    EXPECT_THROW(pages(QStringLiteral("1,a"), 10), EConvertError);
    EXPECT_THROW(pages(QStringLiteral("1,,2"), 10), EConvertError);
}

TEST(qvxParsePageRange, NeverRunsPastTheLastPage)
{
    EXPECT_EQ(pages(QStringLiteral("8-2000000000"), 10), (QStringList{"8", "9", "10"}));
    // A range wholly beyond the report still selects nothing rather than
    // leaving the list empty (which would mean every page).
    EXPECT_EQ(pages(QStringLiteral("50-60"), 10), (QStringList{"50"}));
    EXPECT_EQ(pages(QStringLiteral("12"), 10), (QStringList{"12"}));
}

TEST(qvxFindBracketExpression, FindsNestedExpressions)
{
    const Bracket b = findBracket(QStringLiteral("x [a[b]c] y"));
    EXPECT_EQ(b.result, QStringLiteral("a[b]c"));
    EXPECT_EQ(b.startPos, 2);
    EXPECT_EQ(b.endPos, 8);

    const Bracket delimited = findBracket(QStringLiteral("<%1+2%>!"), 0, QStringLiteral("<%"), QStringLiteral("%>"));
    EXPECT_EQ(delimited.result, QStringLiteral("1+2"));
    EXPECT_EQ(delimited.endPos, 6);
}

TEST(qvxFindBracketExpression, IgnoresBracketsInQuotes)
{
    EXPECT_EQ(findBracket(QStringLiteral("[IIF(a = ']', 1, 2)]")).result, QStringLiteral("IIF(a = ']', 1, 2)"));
    EXPECT_EQ(findBracket(QStringLiteral("[\"it's ]\" + b]")).result, QStringLiteral("\"it's ]\" + b"));
}

TEST(qvxFindBracketExpression, HandlesMissingBrackets)
{
    const Bracket none = findBracket(QStringLiteral("no brackets"), 3);
    EXPECT_EQ(none.result, QString());
    EXPECT_EQ(none.endPos, 3);

    const Bracket open = findBracket(QStringLiteral("[abc"));
    EXPECT_EQ(open.result, QStringLiteral("ab"));
    EXPECT_EQ(open.endPos, 3);
}

TEST(qvxTextUtils, SplitsTokens)
{
    int pos = 0;
    const QString text = QStringLiteral("a;;bc");
    EXPECT_EQ(qvxExtractToken(text, pos, u';'), QStringLiteral("a"));
    EXPECT_EQ(qvxExtractToken(text, pos, u';'), QString());
    EXPECT_EQ(qvxExtractToken(text, pos, u';'), QStringLiteral("bc"));
    EXPECT_EQ(pos, 6);

    TStringList list;
    list.Add(QStringLiteral("old"));
    qvxSplitToStrings(QStringLiteral("x,,y,"), &list, u',');
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Strings(2), QStringLiteral("y"));
    EXPECT_EQ(qvxSlashToBackslash(QStringLiteral("a/b/c")), QStringLiteral("a\\b\\c"));
}

TEST(qvxStreamUtils, ChecksumsTheWholeStream)
{
    TMemoryStream stream;
    stream.WriteBuffer(QByteArray("abc"));
    stream.SetPosition(1);
    EXPECT_EQ(qvxStreamCRC32(&stream), 0x352441C2u);
    EXPECT_EQ(stream.Position(), 1);
}

TEST(qvxStreamUtils, ConvertsStreamsToHexAndBack)
{
    TMemoryStream stream;
    stream.WriteBuffer(QByteArray("\x00\xAB\x7F", 3));
    EXPECT_EQ(qvxStreamToHex(&stream), QStringLiteral("00AB7F"));

    qvxHexToStream(QStringLiteral("fF01"), &stream);
    EXPECT_EQ(stream.Bytes(), QByteArray("\xFF\x01", 2));
    EXPECT_THROW(qvxHexToStream(QStringLiteral("ABC"), &stream), EConvertError);
    EXPECT_THROW(qvxHexToStream(QStringLiteral("G0"), &stream), EConvertError);
    EXPECT_THROW(qvxHexToStream(QStringLiteral(" 1"), &stream), EConvertError);
}

TEST(TqvxRectArea, OverlapsOnlyBeyondTheTolerance)
{
    const TqvxRectArea a{0, 0, 10, 10};
    EXPECT_FALSE(a.InterceptsX({10, 0, 20, 5}));
    EXPECT_FALSE(a.InterceptsX({9.99995, 0, 20, 5}));
    EXPECT_TRUE(a.InterceptsX({9.9, 0, 20, 5}));
    EXPECT_TRUE(a.InterceptsY({0, -5, 1, 0.5}));
    EXPECT_FALSE(a.InterceptsY({0, 10, 1, 12}));

    const auto overlap = a.InterceptX({4, 20, 30, 40});
    ASSERT_TRUE(overlap.has_value());
    EXPECT_DOUBLE_EQ(overlap->X, 4);
    EXPECT_DOUBLE_EQ(overlap->X1, 10);
    EXPECT_DOUBLE_EQ(overlap->Y1, 0);
    EXPECT_FALSE(a.InterceptX({10, 0, 20, 5}).has_value());
}
