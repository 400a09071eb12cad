#include "script/zqParser.h"

#include "common/TestSupport.h"

#include <gtest/gtest.h>

namespace {

TzqParser parserFor(const QString &text)
{
    TzqParser parser;
    parser.SetText(text);
    return parser;
}

} // namespace

TEST(zqParser, SkipsBlanksAndComments)
{
    TzqParser p = parserFor(QStringLiteral(" {a} (* b *) // c\n  word"));
    EXPECT_EQ(p.GetWord(), QStringLiteral("word"));

    // Line markers compare exactly and match at the start of a longer word.
    p.CommentLine2 = QStringLiteral("rem");
    p.SetText(QStringLiteral("remark x\nREM"));
    EXPECT_EQ(p.GetWord(), QStringLiteral("REM"));

    // A last-line comment without a line end stops at the end of the text.
    p.SetText(QStringLiteral("a // b"));
    p.GetWord();
    p.SkipSpaces();
    EXPECT_EQ(p.Position(), 7);
    p.SetText(QStringLiteral("{ open"));
    p.SkipSpaces();
    EXPECT_EQ(p.Position(), 7);
}

TEST(zqParser, LineEndsWhenSignificant)
{
    TzqParser p;
    p.SkipEOL = false;
    p.SetText(QStringLiteral("a // note\r\nb"));
    EXPECT_EQ(p.GetWord(), QStringLiteral("a"));
    EXPECT_TRUE(p.GetEOL());
    EXPECT_EQ(p.GetWord(), QStringLiteral("b"));
    EXPECT_FALSE(p.GetEOL());

    p.SkipChar = QStringLiteral("_");
    p.SetText(QStringLiteral("a _ \r\nb _x"));
    p.GetWord();
    EXPECT_FALSE(p.GetEOL());
    EXPECT_EQ(p.GetWord(), QStringLiteral("b"));
    EXPECT_EQ(p.GetWord(), QStringLiteral("_x"));
}

TEST(zqParser, Words)
{
    TzqParser p = parserFor(QStringLiteral("Begin 1abc"));
    p.AddKeyword(QStringLiteral("begin"));
    EXPECT_TRUE(p.IsKeyword(QStringLiteral("BEGIN")));
    EXPECT_EQ(p.GetIdent(), QString());
    EXPECT_EQ(p.Position(), 6);
    EXPECT_EQ(p.GetWord(), QString());

    p.CaseSensitive = true;
    EXPECT_FALSE(p.IsKeyword(QStringLiteral("BEGIN")));
    EXPECT_TRUE(p.IsKeyword(QStringLiteral("begin")));
}

TEST(zqParser, Strings)
{
    TzqParser p = parserFor(QStringLiteral("'it''s'"));
    EXPECT_EQ(p.GetString(), QStringLiteral("'it's'"));

    p.SetText(QStringLiteral("'a'#13#10'b' 'c'"));
    EXPECT_EQ(p.GetString(), QStringLiteral("'a\r\nb'"));
    p.SetText(QStringLiteral("'a' #65"));
    EXPECT_EQ(p.GetString(), QStringLiteral("'a'"));
    // Character codes are those of the 8-bit Cyrillic code page.
    p.SetText(QStringLiteral("#200#$C9"));
    EXPECT_EQ(p.GetString(), QStringLiteral("'ИЙ'"));
    p.SetText(QStringLiteral("#$41#256"));
    EXPECT_EQ(p.GetString(), QStringLiteral("'A'"));
    EXPECT_EQ(p.Position(), 5);

    // A line end inside the quotes: no string, position back at the quote.
    p.SetText(QStringLiteral("  'abc\r\n'"));
    EXPECT_EQ(p.GetString(), QString());
    EXPECT_EQ(p.Position(), 3);
    p.SetText(QStringLiteral("'unterminated"));
    EXPECT_EQ(p.GetString(), QString());

    p.SpecStrChar = true;
    p.StringQuotes = QStringLiteral("\"");
    p.SetText(QStringLiteral(R"("\t\"\\\x41\n\xZ")"));
    EXPECT_EQ(p.GetString(), QString());
    p.SetText(QStringLiteral(R"("\t\"\\\x41\n")"));
    EXPECT_EQ(p.GetString(), QStringLiteral("'t\"\\A\n'"));
    p.SetText(QStringLiteral(R"("\x100")"));
    EXPECT_EQ(p.GetString(), QString());
}

TEST(zqParser, Numbers)
{
    struct Case {
        const char *text;
        const char *number;
        int next;
    };
    const Case cases[] = {
        {"1.5e3", "1.5e3", 6}, {"1e5", "1e5", 4}, {"$FF", "$FF", 4}, {"1.", "1", 2},
        {"1..5", "1", 2},      {".5", "", 1},    {"2e+", "2", 2},   {"007 ", "007", 4},
    };
    for (const Case &c : cases) {
        TzqParser p = parserFor(QString::fromLatin1(c.text));
        EXPECT_EQ(p.GetNumber(), QString::fromLatin1(c.number)) << c.text;
        EXPECT_EQ(p.Position(), c.next) << c.text;
    }
    TzqParser p = parserFor(QStringLiteral("0x1F"));
    p.HexSequence = QStringLiteral("0x");
    EXPECT_EQ(p.GetNumber(), QStringLiteral("$1F"));
}

TEST(zqParser, CharsAndReportTexts)
{
    TzqParser p = parserFor(QStringLiteral(":a"));
    EXPECT_EQ(p.GetChar(), QStringLiteral(":"));
    EXPECT_EQ(p.GetChar(), QString());

    p.SetText(QStringLiteral("a.\"b>c\">rest"));
    EXPECT_EQ(p.GetQVString(), QStringLiteral("a.\"b>c\""));
    EXPECT_EQ(p.GetChar(), QStringLiteral(">"));
    p.SetText(QStringLiteral("x<[y]>z>"));
    EXPECT_EQ(p.GetQVString(), QStringLiteral("x<[y]>z"));
    p.SetText(QStringLiteral("'open"));
    EXPECT_EQ(p.GetQVString(), QStringLiteral("'open"));
    EXPECT_EQ(p.Position(), 6);
}

TEST(zqParser, Positions)
{
    TzqParser p = parserFor(QStringLiteral("abc\r\ndef\r\nghi"));
    p.SetPosition(6);
    EXPECT_EQ(p.GetXYPosition(), QStringLiteral("2:1"));
    p.SetPosition(5);
    EXPECT_EQ(p.GetXYPosition(), QStringLiteral("1:5"));
    p.SetPosition(14);
    EXPECT_EQ(p.GetXYPosition(), QStringLiteral("3:4"));
    EXPECT_EQ(p.GetPlainPosition(2, 3), 12);
    EXPECT_EQ(p.GetPlainPosition(1, 4), -1);
    EXPECT_EQ(p.GetPlainPosition(1, 0), -1);
}
