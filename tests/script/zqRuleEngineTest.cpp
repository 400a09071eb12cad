// The rule engine of the translator, on small grammars made for the test.

#include "script/zqILParser.h"
#include "script/zqLanguages.h"
#include "script/zqScript.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/classes/Streams.h"

#include "common/TestSupport.h"

#include <gtest/gtest.h>

namespace {

QString grammar(const QString &rules, const QString &settings = QString())
{
    return QStringLiteral("<?xml version=\"1.0\"?>\n<language text=\"Test\">\n<parser>\n") + settings
           + QStringLiteral("<keywords>\n<if/>\n</keywords>\n<errors>\n<err1 text=\"one\"/>\n"
                            "<err2 text=\"two\"/>\n<err3 text=\"three\"/>\n</errors>\n</parser>\n"
                            "<types>\n<int type=\"integer\"/>\n</types>\n<empty/>\n")
           + rules + QStringLiteral("\n</language>\n");
}

// Translates the text with a grammar of the given rules; answers the
// program's elements on one line, or "error: message at line:col".
QString translate(const QString &rules, const QString &text, const QString &settings = QString())
{
    RegisterLanguage(QStringLiteral("Test"), grammar(rules, settings));
    TzqScript script;
    TzqILParser parser(&script);
    parser.SelectLanguage(QStringLiteral("Test"));
    if (!parser.MakeIL(text))
        return QStringLiteral("error: ") + script.ErrorMsg + QStringLiteral(" at ") + script.ErrorPos;
    EXPECT_TRUE(script.ErrorMsg.isEmpty());
    TzqXMLItem *program = parser.ILScript()->Root();
    program->Items(program->Count() - 1)->Clear(); // the types
    TMemoryStream stream;
    TzqXMLDocument doc;
    doc.Root()->Assign(program);
    doc.SaveToStream(&stream);
    const QByteArray bytes = stream.Bytes();
    return QString::fromUtf8(bytes.mid(bytes.indexOf("<program>") + 9).chopped(18));
}

} // namespace

TEST(zqRuleEngine, SwitchTakesTheFirstMatchingAlternative)
{
    const QString rules = QStringLiteral(
        "<program><switch><char text=\"+\" add=\"first\"/><char text=\"+\" add=\"second\"/>"
        "<char text=\"-\" add=\"minus\"/></switch></program>");
    EXPECT_EQ(translate(rules, QStringLiteral(" +")), QStringLiteral("<first text=\"+\" pos=\"1:3\"/>"));
    EXPECT_EQ(translate(rules, QStringLiteral("-")), QStringLiteral("<minus text=\"-\" pos=\"1:2\"/>"));
}

TEST(zqRuleEngine, OptionalRestoresThePositionButKeepsLeavesWithoutNode)
{
    const QString rules = QStringLiteral(
        "<program><optional><ident add=\"leaf\"/><number/></optional><ident add=\"after\"/></program>");
    EXPECT_EQ(translate(rules, QStringLiteral("a")),
              QStringLiteral("<leaf text=\"a\" pos=\"1:2\"/><after text=\"a\" pos=\"1:2\"/>"));

    const QString withNode = QStringLiteral(
        "<program><optional><seq/></optional><ident add=\"after\"/></program>"
        "<seq node=\"n\"><ident add=\"leaf\"/><number/></seq>");
    EXPECT_EQ(translate(withNode, QStringLiteral("a")), QStringLiteral("<after text=\"a\" pos=\"1:2\"/>"));
    EXPECT_EQ(translate(withNode, QStringLiteral("a 1 b")),
              QStringLiteral("<n pos=\"1:1\"><leaf text=\"a\" pos=\"1:2\"/></n><after text=\"b\" pos=\"1:6\"/>"));
}

TEST(zqRuleEngine, Loops)
{
    const QString separated = QStringLiteral(
        "<program><loop text=\",\"><ident add=\"i\"/></loop><char text=\";\" err=\"err1\"/></program>");
    EXPECT_EQ(translate(separated, QStringLiteral("a,b,;")),
              QStringLiteral("<i text=\"a\" pos=\"1:2\"/><i text=\"b\" pos=\"1:4\"/>"));
    EXPECT_EQ(translate(separated, QStringLiteral("a b;")), QStringLiteral("error: one at 1:3"));

    // A single iteration gives the loop its own result.
    const QString pairs = QStringLiteral("<program><loop><ident add=\"i\"/><number/></loop></program>");
    EXPECT_EQ(translate(pairs, QStringLiteral("a")), QStringLiteral("error: three at 1:2"));
    EXPECT_EQ(translate(pairs, QStringLiteral("a 1 b 2")),
              QStringLiteral("<i text=\"a\" pos=\"1:2\"/><i text=\"b\" pos=\"1:6\"/>"));

    // An iteration that consumes nothing ends the loop.
    const QString idle = QStringLiteral(
        "<program><loop><optional><ident add=\"i\"/></optional></loop><number add=\"n\"/></program>");
    EXPECT_EQ(translate(idle, QStringLiteral("a 5")),
              QStringLiteral("<i text=\"a\" pos=\"1:2\"/><n text=\"5\" pos=\"1:4\"/>"));
}

TEST(zqRuleEngine, LoopsForgetErrorsOnlyWhenAllowed)
{
    const QString plain = QStringLiteral("<program><loop><ident add=\"i\" err=\"err1\"/></loop><number/></program>");
    EXPECT_EQ(translate(plain, QStringLiteral("a b 5")), QStringLiteral("error: one at 1:5"));

    const QString skip = QStringLiteral(
        "<program><loop skip=\"1\"><ident add=\"i\" err=\"err1\"/></loop><number/></program>");
    EXPECT_EQ(translate(skip, QStringLiteral("a b 5")),
              QStringLiteral("<i text=\"a\" pos=\"1:2\"/><i text=\"b\" pos=\"1:4\"/>"));
    EXPECT_EQ(translate(skip, QStringLiteral("5")), QStringLiteral("error: one at 1:1"));

    const QString term = QStringLiteral(
        "<program><loop><ident add=\"i\" err=\"err1\" term=\"1\"/></loop><number/></program>");
    EXPECT_EQ(translate(term, QStringLiteral("a 5")), QStringLiteral("<i text=\"a\" pos=\"1:2\"/>"));

    // An error recorded before the loop began stays.
    const QString earlier = QStringLiteral(
        "<program><optional><number err=\"err2\"/></optional>"
        "<loop skip=\"1\"><ident add=\"i\" err=\"err1\"/></loop></program>");
    EXPECT_EQ(translate(earlier, QStringLiteral("a b")), QStringLiteral("error: two at 1:1"));
}

TEST(zqRuleEngine, Tokens)
{
    const QString assign = QStringLiteral(
        "<program><ident/><char text=\":\"/><char text=\"=\" skip=\"0\" err=\"err1\"/><number/></program>");
    EXPECT_EQ(translate(assign, QStringLiteral("a := 1")), QString());
    EXPECT_EQ(translate(assign, QStringLiteral("a : = 1")), QStringLiteral("error: one at 1:5"));

    const QString keyword = QStringLiteral("<program><keyword text=\"IF\" add=\"k\"/></program>");
    EXPECT_EQ(translate(keyword, QStringLiteral("If")), QStringLiteral("<k text=\"If\" pos=\"1:3\"/>"));
    const QString caseSensitive = QStringLiteral("<casesensitive text=\"1\"/>\n");
    EXPECT_EQ(translate(keyword, QStringLiteral("IF"), caseSensitive), QStringLiteral("error: three at 1:1"));
    EXPECT_EQ(translate(keyword, QStringLiteral("if"), caseSensitive), QStringLiteral("<k text=\"if\" pos=\"1:3\"/>"));

    const QString marker = QStringLiteral("<program><number/><empty add=\"inverse\"/><empty node=\"exit\"/></program>");
    EXPECT_EQ(translate(marker, QStringLiteral("1")),
              QStringLiteral("<inverse text=\"\" pos=\"1:2\"/><exit pos=\"1:2\"/>"));
}

TEST(zqRuleEngine, NeverAnswersSuccessForPartOfTheText)
{
    const QString rules = QStringLiteral("<program><number/></program>");
    EXPECT_EQ(translate(rules, QStringLiteral("x")), QStringLiteral("error: three at 1:1"));
    EXPECT_EQ(translate(rules, QStringLiteral("1 2")), QStringLiteral("error: three at 1:3"));
    EXPECT_EQ(translate(rules, QStringLiteral("1 // done\r\n")), QString());
}

TEST(zqRuleEngine, DeepNestingIsACompileError)
{
    const QString rules = QStringLiteral(
        "<program><factor/></program><factor><switch><number/>"
        "<sequence><char text=\"(\"/><factor/><char text=\")\"/></sequence></switch></factor>");
    const auto nested = [](int depth) {
        return QString(depth, u'(') + u'1' + QString(depth, u')');
    };
    EXPECT_EQ(translate(rules, nested(100)), QString());
    EXPECT_TRUE(translate(rules, nested(20000)).startsWith(QStringLiteral("error: Expression too complex at 1:")));
}

TEST(zqRuleEngine, GrammarFaultsRaise)
{
    EXPECT_THROW(translate(QStringLiteral("<program><nosuchrule/></program>"), QStringLiteral("1")), Exception);
    try {
        translate(QStringLiteral("<program><nosuchrule/></program>"), QStringLiteral("1"));
    } catch (const Exception &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Invalid language definition"));
    }
}

TEST(zqLanguages, Registry)
{
    RegisterLanguage(QStringLiteral("Twice"), QStringLiteral("first"));
    RegisterLanguage(QStringLiteral("TWICE"), QStringLiteral("second"));
    EXPECT_EQ(GetLanguageGrammar(QStringLiteral("twice")), QStringLiteral("second"));
    try {
        GetLanguageGrammar(QStringLiteral("X"));
        FAIL();
    } catch (const Exception &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Language 'X' not found"));
    }
}
