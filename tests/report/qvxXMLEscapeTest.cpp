#include "report/xml/qvxXMLEscape.h"

#include "common/TestSupport.h"
#include "toolkit/core/FormatDateTime.h"
#include "toolkit/core/FormatSettings.h"
#include "toolkit/core/Variants.h"

#include <gtest/gtest.h>

TEST(qvxXMLEncode, EscapesOnlyMarkupAndLineCharacters)
{
    EXPECT_EQ(qvxXMLEncode(QStringLiteral("a<b")), QStringLiteral("a&#60;b"));
    EXPECT_EQ(qvxXMLEncode(QStringLiteral("a&b")), QStringLiteral("a&#38;b"));
    EXPECT_EQ(qvxXMLEncode(QStringLiteral("\"x\">\r\n")), QStringLiteral("&#34;x&#34;&#62;&#13;&#10;"));
    EXPECT_EQ(qvxXMLEncode(QString::fromUtf8("Ёлка é '")), QString::fromUtf8("Ёлка é '"));
}

TEST(qvxXMLEncode, IsTheSameForShortAndLongValues)
{
    const QString nul(1, QChar(0));
    EXPECT_EQ(qvxXMLEncode(nul), QStringLiteral("&#0;"));
    const QString longText = QString(40, u'x') + nul + QStringLiteral("&");
    EXPECT_EQ(qvxXMLEncode(longText), QString(40, u'x') + QStringLiteral("&#0;&#38;"));
}

TEST(qvxXMLEncode, AppendsRunsAndReferencesAfterWhatIsThere)
{
    QString out = QStringLiteral("a=\"");
    qvxAppendXMLEncoded(out, u"<<x>&\u0001y\U0001F600");
    EXPECT_EQ(out, QStringLiteral("a=\"&#60;&#60;x&#62;&#38;&#1;y") + QString::fromUtf8("\U0001F600"));
    qvxAppendXMLEncoded(out, u"");
    qvxAppendXMLEncoded(out, u"\"");
    EXPECT_TRUE(out.endsWith(QStringLiteral("y\U0001F600&#34;")));
    // Text with nothing to escape comes back as it is.
    const QString plain = QString::fromUtf8("Строка 1, ZMT-250");
    EXPECT_TRUE(qvxXMLEncode(plain).isSharedWith(plain));
}

TEST(qvxXMLDecode, UnderstandsNumericAndFourNamedReferences)
{
    EXPECT_EQ(qvxXMLDecode(QStringLiteral("&#65;")), QStringLiteral("A"));
    EXPECT_EQ(qvxXMLDecode(QStringLiteral("&quot;&amp;&lt;&gt;")), QStringLiteral("\"&<>"));
    EXPECT_EQ(qvxXMLDecode(QStringLiteral("&nbsp;")), QStringLiteral("&nbsp;"));
    EXPECT_EQ(qvxXMLDecode(QStringLiteral("&")), QStringLiteral("&"));
}

TEST(qvxXMLDecode, NeverRescansWhatItProduced)
{
    EXPECT_EQ(qvxXMLDecode(QStringLiteral("&amp;lt;")), QStringLiteral("&lt;"));
    EXPECT_EQ(qvxXMLDecode(QStringLiteral("&#38;#65;")), QStringLiteral("&#65;"));
}

TEST(qvxXMLDecode, ReadsReferencesAbove255AsWholeCodePoints)
{
    EXPECT_EQ(qvxXMLDecode(QStringLiteral("&#1055;")), QString(QChar(0x041F)));
    EXPECT_EQ(qvxXMLDecode(QStringLiteral("&#128512;")), QString::fromUcs4(U"\U0001F600", 1));
}

TEST(qvxXMLDecode, KeepsMalformedReferencesLiterally)
{
    for (const char *text : {"&#x41;", "&#;", "&#12", "&#12a;", "&#55296;", "&#1114112;", "a &# b"})
        EXPECT_EQ(qvxXMLDecode(QString::fromLatin1(text)), QString::fromLatin1(text)) << text;
}

TEST(qvxXMLDecode, MakesALongTextAtItsSize)
{
    // A memo's line end is two characters, and ten escaped.
    const QString text = QStringLiteral("ab\r\n").repeated(10000);
    const QString escaped = qvxXMLEncode(text);
    const QString decoded = qvxXMLDecode(escaped);
    EXPECT_EQ(decoded, text);
    EXPECT_LT(decoded.capacity(), escaped.size() / 2);
}

TEST(qvxXMLEscape, MeasuresWhatItWrites)
{
    const QString texts[] = {
        QString(),
        QStringLiteral("plain"),
        QString::fromUtf16(u"\u0001\u0009\u001F\"&<>\r\n\U0001F600 Ё"),
        QStringLiteral("&#65;&#1114112;&#55296;&#x41;&amp;&nbsp;&#;&#12 & &"),
        QStringLiteral("&#128512;&#0;&quot;&lt;&gt;"),
    };
    for (const QString &text : texts) {
        EXPECT_EQ(qvxXMLEncodedSize(text), qvxXMLEncode(text).size()) << text.toStdString();
        EXPECT_EQ(qvxXMLDecodedSize(text), qvxXMLDecode(text).size()) << text.toStdString();
        QString out = QStringLiteral("x");
        qvxAppendXMLDecoded(out, text);
        EXPECT_EQ(out, QLatin1Char('x') + qvxXMLDecode(text));
    }
}

TEST(qvxXMLEscape, EveryTextSurvivesARoundTrip)
{
    const QString texts[] = {
        QStringLiteral("&quot;"),
        QStringLiteral("&amp;lt;"),
        QStringLiteral("&#65;"),
        QString(QChar(0)) + QStringLiteral("x"),
        QString(50, u'&') + QString(QChar(0)),
        QStringLiteral("line1\r\nline2\n"),
        QString::fromUtf8("Ёж %d <b>"),
        QString::fromUcs4(U"\U0001F600 &", 3),
    };
    for (const QString &text : texts)
        EXPECT_EQ(qvxXMLDecode(qvxXMLEncode(text)), text);
}

TEST(qvxVariantToXMLText, WritesEachKindInAFixedForm)
{
    const QChar saved = FormatSettings.DecimalSeparator;
    FormatSettings.DecimalSeparator = u',';
    EXPECT_EQ(qvxVariantToXMLText(Variant()), QString());
    EXPECT_EQ(qvxVariantToXMLText(Variant::Null()), QString());
    EXPECT_EQ(qvxVariantToXMLText(Variant(-12)), QStringLiteral("-12"));
    EXPECT_EQ(qvxVariantToXMLText(Variant(qint64(1) << 40)), QStringLiteral("1099511627776"));
    EXPECT_EQ(qvxVariantToXMLText(Variant(2.5)), QStringLiteral("2.5"));
    EXPECT_EQ(qvxVariantToXMLText(Variant(true)), QStringLiteral("1"));
    EXPECT_EQ(qvxVariantToXMLText(Variant(QStringLiteral("a\"b"))), QStringLiteral("a&#34;b"));
    FormatSettings.DecimalSeparator = saved;
    EXPECT_EQ(qvxVariantToXMLText(Variant::FromDate(2.5)), DateTimeToStr(2.5));
    EXPECT_TRUE(qvxVariantToXMLText(Variant::FromDate(2.5)).contains(u':'));
}
