// The four language grammars: their structure, vocabulary and settings.

#include "script/zqILParser.h"
#include "script/zqLanguages.h"
#include "script/zqScript.h"
#include "toolkit/classes/Streams.h"

#include "common/TestSupport.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

const char *const PascalScriptRules[][2] = {{"types", ""}, {"empty", ""}, {"program", ""}, {"usesclause", "uses"}, {"block", ""}, {"declsection", ""}, {"constsection", ""}, {"constantdecl", "const"}, {"varsection", ""}, {"varlist", "var"}, {"typeident", ""}, {"array", "array"}, {"arraydim", "dim"}, {"initvalue", "init"}, {"expression", "expr"}, {"simpleexpression", ""}, {"term", ""}, {"factor", ""}, {"setconstructor", "set"}, {"setnode", ""}, {"relop", ""}, {"addop", ""}, {"mulop", ""}, {"designator", "dsgn"}, {"exprlist", ""}, {"statement", ""}, {"stmtlist", ""}, {"simplestatement", ""}, {"assignstmt", "assignstmt"}, {"callstmt", "callstmt"}, {"structstmt", ""}, {"compoundstmt", "compoundstmt"}, {"conditionalstmt", ""}, {"ifstmt", "ifstmt"}, {"casestmt", "casestmt"}, {"caseselector", "caseselector"}, {"loopstmt", ""}, {"repeatstmt", "repeatstmt"}, {"whilestmt", "whilestmt"}, {"forstmt", "forstmt"}, {"trystmt", "trystmt"}, {"withstmt", "with"}, {"proceduredeclsection", ""}, {"proceduredecl", "procedure"}, {"procedureheading", ""}, {"functiondecl", "function"}, {"functionheading", ""}, {"formalparameters", "parameters"}, {"formalparam", ""}};
const char *const CppScriptRules[][2] = {{"types", ""}, {"empty", ""}, {"program", ""}, {"usesclause", "uses"}, {"declsection", ""}, {"constsection", ""}, {"constantdecl", "const"}, {"varstmt", "var"}, {"array", "array"}, {"arraydim", "dim"}, {"initvalue", "init"}, {"expression", "expr"}, {"simpleexpression", ""}, {"term", ""}, {"factor", ""}, {"setconstructor", "set"}, {"setnode", ""}, {"newoperator", "new"}, {"relop", ""}, {"addop", ""}, {"mulop", ""}, {"designator", "dsgn"}, {"exprlist", ""}, {"statement", ""}, {"emptystmt", "empty"}, {"stmtlist", ""}, {"simplestatement", ""}, {"deletestmt", "delete"}, {"assignstmt", "assignstmt"}, {"callstmt", "callstmt"}, {"returnstmt", "return"}, {"structstmt", ""}, {"compoundstmt", "compoundstmt"}, {"conditionalstmt", ""}, {"ifstmt", "ifstmt"}, {"casestmt", "casestmt"}, {"caseselector", "caseselector"}, {"loopstmt", ""}, {"repeatstmt", "repeatstmt"}, {"whilestmt", "whilestmt"}, {"forstmt", "cppforstmt"}, {"forcompoundstmt", "compoundstmt"}, {"forstmtitem", ""}, {"trystmt", "trystmt"}, {"functiondecl", "function"}, {"functionheading", ""}, {"formalparameters", "parameters"}, {"formalparam", "var"}};
const char *const BasicScriptRules[][2] = {{"types", ""}, {"empty", ""}, {"program", ""}, {"statements", "compoundstmt"}, {"statementlist", ""}, {"importstmt", "uses"}, {"dimstmt", ""}, {"vardecl", "var"}, {"asclause", ""}, {"array", "array"}, {"arraydim", "dim"}, {"initvalue", "init"}, {"expression", "expr"}, {"simpleexpression", ""}, {"term", ""}, {"factor", ""}, {"setconstructor", "set"}, {"setnode", ""}, {"newoperator", "new"}, {"relop", ""}, {"addop", ""}, {"mulop", ""}, {"designator", "dsgn"}, {"exprlist", ""}, {"statement", ""}, {"breakstmt", ""}, {"continuestmt", ""}, {"exitstmt", ""}, {"deletestmt", "delete"}, {"setstmt", "assignstmt"}, {"assignstmt", "assignstmt"}, {"callstmt", "callstmt"}, {"returnstmt", "return"}, {"ifstmt", "ifstmt"}, {"thenstmt", ""}, {"elseifstmt", "ifstmt"}, {"elsestmt", ""}, {"casestmt", "casestmt"}, {"caseselector", "caseselector"}, {"dostmt", "repeatstmt"}, {"whilestmt", "whilestmt"}, {"forstmt", "vbforstmt"}, {"trystmt", "trystmt"}, {"withstmt", "with"}, {"procstmt", "procedure"}, {"funcstmt", "function"}, {"formalparameters", "parameters"}, {"formalparam", ""}};
const char *const JScriptRules[][2] = {{"types", ""}, {"empty", ""}, {"program", ""}, {"statements", "compoundstmt"}, {"block", ""}, {"importstmt", "uses"}, {"varstmt", ""}, {"vardecl", "var"}, {"array", "array"}, {"arraydim", "dim"}, {"initvalue", "init"}, {"expression", "expr"}, {"simpleexpression", ""}, {"term", ""}, {"factor", ""}, {"setconstructor", "set"}, {"setnode", ""}, {"newoperator", "new"}, {"relop", ""}, {"addop", ""}, {"mulop", ""}, {"designator", "dsgn"}, {"exprlist", ""}, {"statement", ""}, {"breakstmt", ""}, {"continuestmt", ""}, {"deletestmt", "delete"}, {"assignstmt", "assignstmt"}, {"callstmt", "callstmt"}, {"returnstmt", "return"}, {"ifstmt", "ifstmt"}, {"switchstmt", "casestmt"}, {"caseselector", "caseselector"}, {"dowhilestmt", "repeatstmt"}, {"whilestmt", "whilestmt"}, {"forstmt", "cppforstmt"}, {"forstmtitem", ""}, {"trystmt", "trystmt"}, {"functionstmt", "function"}, {"functionheading", ""}, {"formalparameters", "parameters"}, {"formalparam", "var"}, {"withstmt", "with"}};
const char *const PascalScriptKeywords[] = {"and", "array", "begin", "break", "case", "const", "continue", "div", "do", "downto", "else", "end", "except", "exit", "finally", "for", "function", "goto", "if", "in", "is", "label", "mod", "not", "of", "or", "procedure", "program", "repeat", "shl", "shr", "then", "to", "try", "until", "uses", "var", "while", "with", "xor"};
const char *const PascalScriptErrors[][2] = {{"err1", "Identifier expected"}, {"err2", "Expression expected"}, {"err3", "Statement expected"}, {"err4", "':' expected"}, {"err5", "';' expected"}, {"err6", "'.' expected"}, {"err7", "')' expected"}, {"err8", "']' expected"}, {"err9", "'=' expected"}, {"err10", "'BEGIN' expected"}, {"err11", "'END' expected"}, {"err12", "'OF' expected"}, {"err13", "'THEN' expected"}, {"err14", "'UNTIL' expected"}, {"err15", "'TO' or 'DOWNTO' expected"}, {"err16", "'DO' expected"}, {"err17", "'FINALLY' or 'EXCEPT' expected"}, {"err18", "'[' expected"}, {"err19", "'..' expected"}, {"err20", "'>' expected"}};
const char *const CppScriptKeywords[] = {"break", "case", "continue", "define", "default", "delete", "do", "else", "except", "finally", "for", "in", "is", "if", "new", "return", "switch", "try", "while"};
const char *const CppScriptErrors[][2] = {{"err1", "Identifier expected"}, {"err2", "Expression expected"}, {"err3", "Statement expected"}, {"err4", "':' expected"}, {"err5", "';' expected"}, {"err6", "'.' expected"}, {"err7", "')' expected"}, {"err8", "']' expected"}, {"err9", "'=' expected"}, {"err10", "'{' expected"}, {"err11", "'}' expected"}, {"err12", "'(' expected"}, {"err13", "'DEFINE' expected"}, {"err14", "'WHILE' expected"}, {"err17", "'FINALLY' or 'EXCEPT' expected"}, {"err18", "'[' expected"}, {"err19", "'..' expected"}, {"err20", "'>' expected"}};
const char *const BasicScriptKeywords[] = {"addressof", "and", "as", "byref", "byval", "case", "catch", "delete", "dim", "do", "else", "elseif", "end", "endif", "exit", "finally", "for", "function", "if", "imports", "is", "loop", "mod", "new", "next", "not", "or", "rem", "return", "select", "set", "step", "sub", "then", "to", "try", "wend", "while", "with", "xor"};
const char *const BasicScriptErrors[][2] = {{"err1", "Identifier expected"}, {"err2", "Expression expected"}, {"err3", "End of line expected"}, {"err4", "':' expected"}, {"err5", "';' expected"}, {"err6", "'.' expected"}, {"err7", "')' expected"}, {"err8", "']' expected"}, {"err9", "'=' expected"}, {"err10", "'TO' expected"}, {"err11", "'END' expected"}, {"err12", "'(' expected"}, {"err13", "'THEN' expected"}, {"err14", "'WHILE' expected"}, {"err15", "'CASE' expected"}, {"err16", "'SELECT' expected"}, {"err17", "'FINALLY' or 'CATCH' expected"}, {"err18", "'[' expected"}, {"err19", "'..' expected"}, {"err20", "'>' expected"}, {"err21", "'WEND' expected"}, {"err22", "'NEXT' expected"}, {"err23", "'WITH' expected"}, {"err24", "'TRY' expected"}, {"err25", "'SUB' expected"}, {"err26", "'FUNCTION' expected"}, {"err27", "'ELSE' expected"}, {"err28", "'IF' expected"}};
const char *const JScriptKeywords[] = {"break", "case", "continue", "default", "delete", "do", "else", "except", "finally", "for", "function", "import", "in", "is", "if", "new", "return", "switch", "try", "var", "while", "with"};
const char *const JScriptErrors[][2] = {{"err1", "Identifier expected"}, {"err2", "Expression expected"}, {"err3", "Statement expected"}, {"err4", "':' expected"}, {"err5", "';' expected"}, {"err6", "'.' expected"}, {"err7", "')' expected"}, {"err8", "']' expected"}, {"err9", "'=' expected"}, {"err10", "'{' expected"}, {"err11", "'}' expected"}, {"err12", "'(' expected"}, {"err14", "'WHILE' expected"}, {"err17", "'FINALLY' or 'EXCEPT' expected"}, {"err18", "'[' expected"}, {"err19", "'..' expected"}, {"err20", "'>' expected"}};

struct LanguageFacts {
    const char *name;
    const char *const (*rules)[2];
    int ruleCount;
    const char *const *keywords;
    int keywordCount;
    const char *const (*errors)[2];
    int errorCount;
    const char *types; // alias=type, comma-separated
};

#define FACTS(name, ident, types)                                                                 \
    LanguageFacts                                                                                 \
    {                                                                                             \
        name, ident##Rules, int(std::size(ident##Rules)), ident##Keywords,                        \
            int(std::size(ident##Keywords)), ident##Errors, int(std::size(ident##Errors)), types \
    }

const LanguageFacts languages[] = {
    FACTS("PascalScript", PascalScript, ""),
    FACTS("C++Script", CppScript, "int=integer,long=integer,void=integer,bool=boolean,float=extended"),
    FACTS("BasicScript", BasicScript, "decimal=extended"),
    FACTS("JScript", JScript, ""),
};

const QSet<QString> builtInItems = {
    QStringLiteral("char"),     QStringLiteral("keyword"),        QStringLiteral("ident"),
    QStringLiteral("number"),   QStringLiteral("string"),         QStringLiteral("qvstring"),
    QStringLiteral("eol"),      QStringLiteral("sequence"),       QStringLiteral("switch"),
    QStringLiteral("optionalswitch"), QStringLiteral("loop"),     QStringLiteral("optionalloop"),
    QStringLiteral("optional"),
};

class Grammar : public ::testing::TestWithParam<LanguageFacts>
{
protected:
    void SetUp() override { parser.SelectLanguage(QString::fromUtf8(GetParam().name)); }

    TzqXMLItem *root() const { return parser.Grammar()->Root(); }
    TzqXMLItem *section(const char *name) const
    {
        TzqXMLItem *settings = root()->Items(root()->Find(QStringLiteral("parser")));
        const int index = settings->Find(QString::fromLatin1(name));
        return index < 0 ? nullptr : settings->Items(index);
    }

    TzqScript script;
    TzqILParser parser{&script};
};

// Every rule item names a built-in item or a rule, and every error key it
// records exists.
void checkItems(const TzqXMLItem *item, const QSet<QString> &rules, const TzqXMLItem *errors)
{
    for (int i = 0; i < item->Count(); ++i) {
        const TzqXMLItem *child = item->Items(i);
        const QString name = child->Name().toLower();
        EXPECT_TRUE(builtInItems.contains(name) || rules.contains(name)) << qPrintable(name);
        const QString err = child->GetProp(QStringLiteral("err"));
        if (!err.isEmpty()) {
            EXPECT_GE(errors->Find(err), 0) << qPrintable(err);
        }
        checkItems(child, rules, errors);
    }
}

} // namespace

TEST_P(Grammar, RulesAreTheDocumentedOnes)
{
    const LanguageFacts &facts = GetParam();
    EXPECT_EQ(root()->GetProp(QStringLiteral("text")), QString::fromUtf8(facts.name));
    QStringList names;
    QSet<QString> rules;
    for (int i = 0; i < root()->Count(); ++i) {
        const TzqXMLItem *rule = root()->Items(i);
        if (rule->Name() != u"parser") {
            names << rule->Name() + u'/' + rule->GetProp(QStringLiteral("node"));
            rules << rule->Name();
        }
    }
    // The documented rules in their order; the grammars may add rules of
    // their own between them (the branches of a C-style switch, the case
    // ranges and argument lists of BasicScript).
    QStringList expected;
    for (int i = 0; i < facts.ruleCount; ++i)
        expected << QString::fromUtf8(facts.rules[i][0]) + u'/' + QString::fromUtf8(facts.rules[i][1]);
    names.removeIf([&expected](const QString &name) {
        return !expected.contains(name)
               && (name.startsWith(u"branchstatement/") || name.startsWith(u"defaultbranch/")
                   || name.startsWith(u"casebranch/") || name.startsWith(u"calldesignator/")
                   || name.startsWith(u"caseset/"));
    });
    EXPECT_EQ(names, expected);

    for (int i = 0; i < root()->Count(); ++i) {
        if (root()->Items(i)->Name() != u"parser" && root()->Items(i)->Name() != u"types")
            checkItems(root()->Items(i), rules, section("errors"));
    }
}

TEST_P(Grammar, VocabularyIsTheDocumentedOne)
{
    const LanguageFacts &facts = GetParam();
    QStringList keywords;
    for (int i = 0; i < section("keywords")->Count(); ++i)
        keywords << section("keywords")->Items(i)->Name();
    QStringList expectedKeywords;
    for (int i = 0; i < facts.keywordCount; ++i)
        expectedKeywords << QString::fromUtf8(facts.keywords[i]);
    EXPECT_EQ(keywords, expectedKeywords);

    const TzqXMLItem *errors = section("errors");
    ASSERT_EQ(errors->Count(), facts.errorCount);
    for (int i = 0; i < facts.errorCount; ++i) {
        EXPECT_EQ(errors->Items(i)->Name(), QString::fromUtf8(facts.errors[i][0]));
        EXPECT_EQ(errors->Items(i)->GetProp(QStringLiteral("text")), QString::fromUtf8(facts.errors[i][1]));
    }

    QStringList types;
    const TzqXMLItem *aliases = root()->Items(root()->Find(QStringLiteral("types")));
    for (int i = 0; i < aliases->Count(); ++i)
        types << aliases->Items(i)->Name() + u'=' + aliases->Items(i)->GetProp(QStringLiteral("type"));
    EXPECT_EQ(types.join(u','), QString::fromUtf8(facts.types));
}

INSTANTIATE_TEST_SUITE_P(Languages, Grammar, ::testing::ValuesIn(languages),
                         [](const auto &info) {
                             return QString::fromUtf8(info.param.name).remove(u'+').toStdString();
                         });

TEST(GrammarSettings, SelectingALanguageConfiguresTheTokenizer)
{
    TzqScript script;
    TzqILParser parser(&script);
    TzqParser *p = parser.Parser();

    parser.SelectLanguage(QStringLiteral("PascalScript"));
    EXPECT_EQ(p->CommentBlock1(), QStringLiteral("{,}"));
    EXPECT_EQ(p->StringQuotes, QStringLiteral("'"));
    EXPECT_EQ(p->HexSequence, QStringLiteral("$"));
    EXPECT_FALSE(p->CaseSensitive);
    EXPECT_TRUE(parser.NeedDeclareVars());
    EXPECT_TRUE(p->IsKeyword(QStringLiteral("BEGIN")));

    parser.SelectLanguage(QStringLiteral("C++Script"));
    EXPECT_EQ(p->CommentBlock1(), QStringLiteral("/*,*/"));
    EXPECT_EQ(p->StringQuotes, QStringLiteral("\""));
    EXPECT_EQ(p->HexSequence, QStringLiteral("0x"));
    EXPECT_TRUE(p->SpecStrChar);
    EXPECT_TRUE(p->CaseSensitive);
    EXPECT_FALSE(p->IsKeyword(QStringLiteral("begin")));

    parser.SelectLanguage(QStringLiteral("JScript"));
    EXPECT_FALSE(p->CaseSensitive);
    EXPECT_TRUE(p->SpecStrChar);
    EXPECT_FALSE(parser.NeedDeclareVars());

    parser.SelectLanguage(QStringLiteral("BasicScript"));
    EXPECT_EQ(p->CommentLine1, QStringLiteral("'"));
    EXPECT_EQ(p->CommentLine2, QStringLiteral("rem"));
    EXPECT_FALSE(p->SkipEOL);
    EXPECT_EQ(p->SkipChar, QStringLiteral("_"));
    EXPECT_FALSE(p->SpecStrChar);
    EXPECT_FALSE(parser.NeedDeclareVars());
}

TEST(GrammarSettings, ExtendedCharsetAddsNationalLetters)
{
    TzqScript script;
    TzqILParser parser(&script);
    parser.SelectLanguage(QStringLiteral("PascalScript"));
    parser.Parser()->SetText(QStringLiteral("Имя"));
    EXPECT_EQ(parser.Parser()->GetIdent(), QString());

    script.ExtendedCharset = true;
    parser.SelectLanguage(QStringLiteral("PascalScript"));
    parser.Parser()->SetText(QStringLiteral("Имя"));
    EXPECT_EQ(parser.Parser()->GetIdent(), QStringLiteral("Имя"));
}
