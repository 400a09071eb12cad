#include "export/pdf/qvxPDFDeflate.h"
#include "export/pdf/qvxPDFSecurity.h"
#include "export/pdf/qvxPDFStrings.h"
#include "report/xml/qvxZLib.h"

#include <gtest/gtest.h>

#include <limits>

TEST(PDFStrings, NumbersHaveTwoDecimalsAndAPoint)
{
    EXPECT_EQ(PdfNumber(12), "12.00");
    EXPECT_EQ(PdfNumber(-3.5), "-3.50");
    EXPECT_EQ(PdfNumber(0), "0.00");
    EXPECT_EQ(PdfNumber(0.005), "0.01");
}

// Operator text built in place writes each number as the single formatters
// do, and a cleared buffer starts over.
TEST(PDFStrings, ContentTextPutsPartsTogetherAsTheFormattersWriteThem)
{
    TqvxPDFContentText text;
    const double reals[] = {0, -0.004, 0.005, -12.345, 1e15, 595.275};
    const int wholes[] = {0, -7, 10, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()};
    QByteArray expected;
    for (const double real : reals) {
        const TqvxPDFNumber kept(real);
        EXPECT_EQ(QByteArray(kept.Data(), kept.Size()), PdfNumber(real));
        text << real << ' ' << kept << ' ';
        expected += PdfNumber(real) + ' ' + PdfNumber(real) + ' ';
    }
    EXPECT_TRUE(TqvxPDFNumber().IsEmpty());
    EXPECT_FALSE(TqvxPDFNumber(0).IsEmpty());
    for (const int whole : wholes) {
        text << whole << " Tf\r\n";
        expected += QByteArray::number(whole) + " Tf\r\n";
    }
    text << QByteArray("<00", 3) << QByteArray("\0", 1) << '>';
    expected += QByteArray("<00\0>", 5);
    EXPECT_EQ(QByteArray(text.Data(), text.Size()), expected);

    text.Clear();
    text << "q\r\n";
    EXPECT_EQ(QByteArray(text.Data(), text.Size()), "q\r\n");
}

TEST(PDFStrings, EscapeStringEscapesDelimitersAndLineEnds)
{
    EXPECT_EQ(EscapeString(QByteArray("a(b)c\\d\ne\rf\0g\xFF", 14)), QByteArray("a\\(b\\)c\\\\d\\ne\\rf\0g\xFF", 19));
}

// Two bytes a glyph, high byte first; a byte that is a delimiter, the
// backslash or a line end is escaped (a reader takes a bare CR for LF).
TEST(PDFStrings, GlyphsShowAsEscapedLiteralStrings)
{
    EXPECT_EQ(PdfShowGlyphs({0x0028, 0x5C29, 0x0D0A, 0x0041, 0xFF00}),
              QByteArray("(\0\\(\\\\\\)\\r\\n\0A\xFF\0) Tj\n", 21));
    EXPECT_EQ(PdfShowGlyphs({}), "() Tj\n");

    // Written in place into content text after other operators, piece by
    // piece in the room asked, they come out the same.
    const quint16 glyphs[] = {0x0028, 0x5C29, 0x0D0A, 0x0041, 0xFF00};
    TqvxPDFContentText text;
    text << "BT\n";
    char *at = BeginShowGlyphs(text.Extend(ShowGlyphsRoom(5)));
    for (const quint16 glyph : glyphs)
        at = PutGlyphCode(at, glyph);
    text.Cut(EndShowGlyphs(at));
    text.Cut(EndShowGlyphs(BeginShowGlyphs(text.Extend(ShowGlyphsRoom(0)))));
    EXPECT_EQ(QByteArray(text.Data(), text.Size()),
              "BT\n" + PdfShowGlyphs({0x0028, 0x5C29, 0x0D0A, 0x0041, 0xFF00}) + PdfShowGlyphs({}));
}

// The streams of a file deflated one after another with one zlib state
// come out as each deflated alone.
TEST(PDFDeflate, OneStateServesStreamAfterStream)
{
    TqvxPDFDeflater deflater;
    QByteArray big;
    for (int i = 0; i < 20000; ++i)
        big += QByteArray::number(i * 7919 % 1000) + " 0 0 RG\r\n";
    const QByteArray streams[] = {big, QByteArray("q\r\nQ\r\n"), QByteArray(), big.left(5000), big};
    for (const QByteArray &stream : streams)
        EXPECT_EQ(deflater.Deflate(stream.constData(), stream.size()).toByteArray(),
                  ZCompressBuffer(stream.constData(), stream.size(), zcFastest));
}

TEST(PDFStrings, TextStringsAreHexWithAByteOrderMark)
{
    EXPECT_EQ(StrToHex4(QStringLiteral("Aя")), "0041044F");
    EXPECT_EQ(PdfString(QStringLiteral("(x"), 4), "<FEFF00280078>");
    EXPECT_EQ(PdfString(QString(), 4), "<FEFF>");
}

TEST(PDFStrings, EncryptedTextStringsAreEscapedLiteralsOfTheObjectKey)
{
    const QByteArray key = QByteArray::fromHex("f190142ca4d2ac66b420b33dbcf712a7");
    const QByteArray written = PdfString(QStringLiteral("(x"), 7, key);
    ASSERT_TRUE(written.startsWith('(') && written.endsWith(')'));
    // Unescape and decrypt: the bytes come back as FE FF and UTF-16BE.
    QByteArray raw;
    const QByteArray body = written.mid(1, written.size() - 2);
    for (qsizetype i = 0; i < body.size(); ++i) {
        if (body[i] != '\\') {
            raw += body[i];
            continue;
        }
        const char next = body[++i];
        raw += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    }
    EXPECT_EQ(CryptBytes(key, raw, 7), QByteArray("\xFE\xFF\x00(\x00x", 6));
}

TEST(PDFStrings, URIsAreEscapedAsciiWithPercentEncodedUtf8)
{
    EXPECT_EQ(PdfStringOf(QStringLiteral("http://a.b/c(d)"), 3), "(http://a.b/c\\(d\\))");
    EXPECT_EQ(PdfStringOf(QStringLiteral("http://a.b/x)y\\z"), 3), "(http://a.b/x\\)y\\\\z)");
    EXPECT_EQ(PdfStringOf(QStringLiteral("http://a.b/мир"), 3), "(http://a.b/%D0%BC%D0%B8%D1%80)");
}

TEST(PDFStrings, NamesEscapeDelimitersNumberSignsAndHighBytes)
{
    EXPECT_EQ(PdfName(QStringLiteral("A (B)")), "A#20#28B#29");
    EXPECT_EQ(PdfName(QStringLiteral("C#/%<>[]{}")), "C#23#2F#25#3C#3E#5B#5D#7B#7D");
    EXPECT_EQ(PdfName(QStringLiteral("Шрифт")), "#D8#F0#E8#F4#F2");
}

TEST(PDFStrings, ColoursAreComponentsWithACacheForTheLastOne)
{
    TqvxPDFColorText color;
    EXPECT_EQ(color(clBlack), "0 0 0");
    EXPECT_EQ(color(clWhite), "1 1 1");
    EXPECT_EQ(color(clNone), "1 1 1");
    EXPECT_EQ(color(0x0080FF), "1.00 0.50 0.00");
    EXPECT_EQ(color(0x0080FF), "1.00 0.50 0.00");
    EXPECT_EQ(color(0x330000), "0.00 0.00 0.20");
}

TEST(PDFStrings, DashPatternsOfEveryLineStyle)
{
    EXPECT_EQ(GetDashPattern(fsSolid, 1), "[] 0 d");
    EXPECT_EQ(GetDashPattern(fsDash, 1), "[6.00 ] 0 d");
    EXPECT_EQ(GetDashPattern(fsDot, 1), "[2.00 6.00 ] 0 d");
    EXPECT_EQ(GetDashPattern(fsDashDot, 0.5), "[3.00 3.00 1.00 3.00 ] 0 d");
    EXPECT_EQ(GetDashPattern(fsDashDotDot, 1), "[6.00 6.00 2.00 6.00 2.00 6.00 ] 0 d");
    EXPECT_EQ(GetDashPattern(fsDouble, 2), "[] 0 d");
}
