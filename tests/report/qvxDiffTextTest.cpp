#include "report/model/qvxDiffText.h"
#include "report/model/qvxXMLSerializer.h"

#include "common/TestSupport.h"
#include "toolkit/core/FloatText.h"

#include <gtest/gtest.h>

#include <limits>

TEST(qvxDiffText, WritesEachKindAfterItsPrefixes)
{
    TqvxDiffText diff(QStringLiteral(" l=\"1\""), u"Frame");
    diff.Number(u"Typ", 15);
    diff.SetSubPrefix(u"LeftLine");
    diff.Float(u"Width", 1.5);
    diff.Bool(u"Hatch", true);
    diff.Text(u"Name", u"<\"a\" & b>");
    diff.SetSubPrefix({});
    diff.Number(u"Color", std::numeric_limits<qint64>::min());
    diff.Append(QStringLiteral(" raw"));
    EXPECT_EQ(diff.Result(), QStringLiteral(" l=\"1\" Frame.Typ=\"15\" Frame.LeftLine.Width=\"1.5\""
                                            " Frame.LeftLine.Hatch=\"1\" Frame.LeftLine.Name=\"&#60;&#34;a&#34; "
                                            "&#38; b&#62;\" Frame.Color=\"-9223372036854775808\" raw"));
}

TEST(qvxDiffText, WithoutPrefixTheNameStandsAlone)
{
    TqvxDiffText diff;
    diff.Bool(u"Visible", false);
    diff.Float(u"t", -0.0);
    EXPECT_EQ(diff.Result(), QStringLiteral(" Visible=\"0\" t=\"0\""));
}

TEST(qvxDiffText, NothingWrittenAllocatesNothing)
{
    TqvxDiffText diff(QString(), u"Fill");
    diff.SetSubPrefix(u"TopLine");
    EXPECT_TRUE(std::move(diff).Result().isNull());
}

TEST(qvxFloatToText, WholeNumbersReadAsFloatToStrWritesThem)
{
    const TFormatSettings point;
    const double values[] = {0.0,
                             -0.0,
                             1,
                             -26,
                             1022,
                             4503599627370496.0, // 2^52: above 10^15, in exponent form
                             999999999999999.0,
                             -999999999999999.0,
                             1e15,
                             -1e15,
                             123456789012345678.0,
                             1e300,
                             718.1107,
                             1022.92981,
                             0.1,
                             -0.00001,
                             2.675,
                             999999999999999.5,
                             std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::quiet_NaN()};
    for (const double value : values) {
        SCOPED_TRACE(value);
        EXPECT_EQ(TqvxXMLSerializer::FloatToText(value), FloatToStr(value, point));
    }
    EXPECT_EQ(TqvxXMLSerializer::FloatToText(999999999999999.0), QStringLiteral("999999999999999"));
    EXPECT_EQ(TqvxXMLSerializer::FloatToText(1e15), QStringLiteral("1E15"));
    EXPECT_EQ(TqvxXMLSerializer::FloatToText(-26), QStringLiteral("-26"));
}

TEST(qvxFloatToText, AppendsAfterWhatIsThere)
{
    QString text = QStringLiteral("w=");
    TqvxXMLSerializer::AppendFloatText(text, 306);
    TqvxXMLSerializer::AppendFloatText(text, 0.5);
    EXPECT_EQ(text, QStringLiteral("w=3060.5"));
}
