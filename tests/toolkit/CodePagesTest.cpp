#include "toolkit/core/CodePages.h"
#include "toolkit/core/Exceptions.h"

#include "RuntimeTestSupport.h"
#include "common/TestSupport.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <algorithm>

TEST(Cp1251, EveryByteRoundTrips)
{
    for (int b = 0; b < 256; ++b) {
        bool ok = false;
        EXPECT_EQ(CharToCp1251(Cp1251ToChar(quint8(b)), &ok), b);
        EXPECT_TRUE(ok);
    }
}

TEST(Cp1251, KnownLetters)
{
    EXPECT_EQ(Cp1251ToChar(0xC0), QChar(0x0410)); // А
    EXPECT_EQ(Cp1251ToChar(0xFF), QChar(0x044F)); // я
    EXPECT_EQ(Cp1251ToChar(0xA8), QChar(0x0401)); // Ё
    EXPECT_EQ(Cp1251ToChar(0xB8), QChar(0x0451)); // ё
    EXPECT_EQ(Cp1251ToChar(0xB9), QChar(0x2116)); // №
    EXPECT_EQ(Cp1251ToChar(0x88), QChar(0x20AC)); // €
    EXPECT_EQ(StringToCp1251(QStringLiteral("Ёж")), QByteArray("\xA8\xE6"));
    EXPECT_EQ(Cp1251ToString(QByteArray("\xCF\xF0\xE8")), QStringLiteral("При"));
}

TEST(Cp1251, CharacterOutsideTheTableBecomesQuestionMark)
{
    bool ok = true;
    EXPECT_EQ(CharToCp1251(QChar(0x4E2D), &ok), '?');
    EXPECT_FALSE(ok);
}

TEST(CodePages, CharsetTable)
{
    EXPECT_EQ(CharsetToCodePage(0), 1252);
    EXPECT_EQ(CharsetToCodePage(DEFAULT_CHARSET), 1251);
    EXPECT_EQ(CharsetToCodePage(SYMBOL_CHARSET), CP_SYMBOL);
    EXPECT_EQ(CharsetToCodePage(MAC_CHARSET), CP_MACCP);
    EXPECT_EQ(CharsetToCodePage(128), 932);
    EXPECT_EQ(CharsetToCodePage(130), 1361);
    EXPECT_EQ(CharsetToCodePage(204), 1251);
    EXPECT_EQ(CharsetToCodePage(238), 1250);
    EXPECT_EQ(CharsetToCodePage(OEM_CHARSET), CP_OEMCP);
    EXPECT_EQ(CharsetToCodePage(99), 1251);
}

TEST(CodePages, ConvertsThroughOtherCodePages)
{
    EXPECT_EQ(AnsiToWide(QByteArray("\x80\xA0"), 866), QStringLiteral("Аа"));
    EXPECT_EQ(AnsiToWide(QByteArray("\x80\xA0"), CP_OEMCP), QStringLiteral("Аа"));
    EXPECT_EQ(WideToAnsi(QStringLiteral("Привет"), 866), QByteArray("\x8F\xE0\xA8\xA2\xA5\xE2"));
    EXPECT_EQ(AnsiToWide(QByteArray("caf\xE9"), 1252), QStringLiteral("café"));
    EXPECT_EQ(AnsiToWide(QByteArray("\xC0"), CP_ACP), QStringLiteral("А"));
    EXPECT_EQ(AnsiToWide(QByteArray("\x93\xFA\x96\x7B"), 932), QStringLiteral("日本"));
    EXPECT_EQ(AnsiToWide(QByteArray("A"), CP_SYMBOL), QString(QChar(0xF041)));
    EXPECT_EQ(WideToAnsi(QString(QChar(0xF041)), CP_SYMBOL), QByteArray("A"));
}

TEST(CodePages, UnconvertibleTextIsReplacedNotLost)
{
    EXPECT_EQ(WideToAnsi(QStringLiteral("aЖb"), 1252), QByteArray("a?b"));
    // A surrogate pair counts as one character.
    EXPECT_EQ(WideToAnsi(QStringLiteral("a\U0001F600b"), 1252), QByteArray("a?b"));
    // A truncated double-byte character.
    EXPECT_EQ(AnsiToWide(QByteArray("a\x93"), 932), QStringLiteral("a\uFFFD"));
    EXPECT_THROW(AnsiToWide(QByteArray("a"), 12345), EConvertError);
}

TEST(LetterCase, PlainFunctionsTouchAsciiOnly)
{
    EXPECT_EQ(UpperCase(QStringLiteral("abc яё")), QStringLiteral("ABC яё"));
    EXPECT_EQ(LowerCase(QStringLiteral("ABC ЯЁ")), QStringLiteral("abc ЯЁ"));
    EXPECT_LT(CompareText(QStringLiteral("abc"), QStringLiteral("ABD")), 0);
    EXPECT_EQ(CompareText(QStringLiteral("Name"), QStringLiteral("NAME")), 0);
    EXPECT_NE(CompareText(QStringLiteral("Имя"), QStringLiteral("ИМЯ")), 0);
    EXPECT_TRUE(SameText(QStringLiteral("Abc"), QStringLiteral("aBC")));
    EXPECT_FALSE(SameText(QStringLiteral("Abc"), QStringLiteral("aBCd")));
}

TEST(LetterCase, AnsiFunctionsFoldCyrillic)
{
    EXPECT_EQ(AnsiUpperCase(QStringLiteral("ёлка abc")), QStringLiteral("ЁЛКА ABC"));
    EXPECT_EQ(AnsiLowerCase(QStringLiteral("ЁЖИК")), QStringLiteral("ёжик"));
    EXPECT_EQ(AnsiCompareText(QStringLiteral("Ёлка"), QStringLiteral("ёЛКА")), 0);
    EXPECT_TRUE(AnsiSameText(QStringLiteral("Имя"), QStringLiteral("ИМЯ")));
    EXPECT_LT(AnsiCompareText(QStringLiteral("abc"), QStringLiteral("ABD")), 0);
}

TEST(LetterCase, OrdinalComparisonsFollowCp1251AndAnsiOnesTheCollation)
{
    // By cp1251 code, Ё (0xA8), № (0xB9) and € (0x88) come before А (0xC0), and ё (0xB8) before я.
    EXPECT_LT(CompareStr(QStringLiteral("Ёж"), QStringLiteral("Аист")), 0);
    EXPECT_LT(CompareStr(QStringLiteral("ё"), QStringLiteral("я")), 0);
    EXPECT_LT(CompareStr(QStringLiteral("№"), QStringLiteral("А")), 0);
    EXPECT_LT(CompareText(QStringLiteral("€"), QStringLiteral("я")), 0);
    EXPECT_GT(CompareStr(QStringLiteral("\u0101"), QStringLiteral("я")), 0);
    EXPECT_GT(AnsiCompareStr(QStringLiteral("Ёж"), QStringLiteral("Аист")), 0);
    EXPECT_LT(AnsiCompareStr(QStringLiteral("ель"), QStringLiteral("ёль")), 0);
    EXPECT_LT(AnsiCompareStr(QStringLiteral("Ёж"), QStringLiteral("Жук")), 0);
    EXPECT_LT(AnsiCompareStr(QStringLiteral("ёж"), QStringLiteral("я")), 0);
    EXPECT_LT(AnsiCompareText(QStringLiteral("ёж"), QStringLiteral("ЖУК")), 0);
    // Lower case before upper case; case still counts in the case-sensitive comparison.
    EXPECT_LT(AnsiCompareStr(QStringLiteral("a"), QStringLiteral("B")), 0);
    EXPECT_LT(AnsiCompareStr(QStringLiteral("a"), QStringLiteral("A")), 0);
    EXPECT_GT(AnsiCompareStr(QStringLiteral("Ж"), QStringLiteral("а")), 0);
    EXPECT_NE(AnsiCompareStr(QStringLiteral("ёж"), QStringLiteral("Ёж")), 0);
    EXPECT_LT(AnsiCompareStr(QStringLiteral("ab"), QStringLiteral("abc")), 0);
    // Texts the collation finds equal still differ.
    EXPECT_NE(AnsiCompareStr(QStringLiteral("a\u0001"), QStringLiteral("a")), 0);
}

TEST(LetterCase, AnsiComparisonsPutLatinBeforeGreekBeforeCyrillic)
{
    QStringList words = {QStringLiteral("Ромашка"), QStringLiteral("Zeta"), QStringLiteral("Яблоко"),
                         QStringLiteral("Ωμέγα"), QStringLiteral("ABC"), QStringLiteral("абв")};
    std::sort(words.begin(), words.end(), [](const QString &a, const QString &b) { return AnsiCompareStr(a, b) < 0; });
    EXPECT_EQ(words, QStringList({QStringLiteral("ABC"), QStringLiteral("Zeta"), QStringLiteral("Ωμέγα"),
                                  QStringLiteral("абв"), QStringLiteral("Ромашка"), QStringLiteral("Яблоко")}));
    EXPECT_LT(AnsiCompareText(QStringLiteral("zeta"), QStringLiteral("АБВ")), 0);
}

TEST(Cp1251, StreamTextIsCp1251UnlessACharacterNeedsUtf8)
{
    EXPECT_EQ(TextToStreamBytes(QStringLiteral("Да €")), QByteArray("\xC4\xE0 \x88"));
    EXPECT_EQ(TextToStreamBytes(QStringLiteral("Да 日")), QByteArray("\xEF\xBB\xBF") + QStringLiteral("Да 日").toUtf8());
    for (const QString &text : {QStringLiteral("Да €"), QStringLiteral("Да 日"), QStringLiteral("plain"), QString()})
        EXPECT_EQ(StreamBytesToText(TextToStreamBytes(text)), text);
    EXPECT_EQ(StreamBytesToText(QStringLiteral("Привет").toUtf8()), QStringLiteral("Привет"));
    EXPECT_EQ(StreamBytesToText(QByteArray("\xC4\xE0")), QStringLiteral("Да")) << "not UTF-8, so cp1251";

    EXPECT_EQ(StringToCp1251Exact(QStringLiteral("Да")), QByteArray("\xC4\xE0"));
    EXPECT_EQ(MessageOf<EConvertError>([] { StringToCp1251Exact(QStringLiteral("a日")); }),
              QStringLiteral("Character U+65E5 has no code in code page 1251"));
}

TEST(LetterCase, CaseMappingLeavesCharactersOutsideCp1251)
{
    EXPECT_EQ(AnsiUpperCase(QStringLiteral("µ")), QStringLiteral("µ"));
    EXPECT_EQ(AnsiUpperCase(QStringLiteral("\u03B1ў")), QStringLiteral("\u03B1Ў"));
}
