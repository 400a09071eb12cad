// Translation of whole programs into the intermediate program, the first
// error with its position, the language directive and used units.

#include "script/zqILParser.h"
#include "script/zqScript.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/classes/Streams.h"

#include "common/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Source texts reach the translator as a string list's text: every line,
// the last included, ends with CR LF.
QString asLines(QString text)
{
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return text.endsWith(u'\n') ? text : text + QStringLiteral("\r\n");
}

QString readFile(const QString &fileName)
{
    QFile file(fileName);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(fileName);
    return QString::fromUtf8(file.readAll());
}

// The intermediate program, indented, with LF line ends.
QString indentedIL(const TzqILParser &parser)
{
    TMemoryStream stream;
    parser.ILScript()->AutoIndent = true;
    parser.ILScript()->SaveToStream(&stream);
    return QString::fromUtf8(stream.Bytes()).remove(u'\r');
}

struct Translation {
    TzqScript script;
    TzqILParser parser{&script};

    explicit Translation(const char *language) { parser.SelectLanguage(QString::fromUtf8(language)); }

    // "ok" or "message at line:col".
    QString run(const QString &text)
    {
        if (parser.MakeIL(text))
            return QStringLiteral("ok");
        return script.ErrorMsg + QStringLiteral(" at ") + script.ErrorPos;
    }
};

} // namespace

class GoldenProgram : public ::testing::TestWithParam<const char *>
{
};

TEST_P(GoldenProgram, TranslatesEveryConstruct)
{
    const QString language = QString::fromUtf8(GetParam());
    const QString folder = testDataPath(QStringLiteral("script/") + QString(language).replace(u'+', u'p'));
    Translation t(GetParam());
    t.script.IncludePath = {folder};
    ASSERT_EQ(t.run(asLines(readFile(folder + QStringLiteral("/program.txt")))), QStringLiteral("ok"));
    EXPECT_EQ(indentedIL(t.parser), readFile(folder + QStringLiteral("/program.il")));
}

INSTANTIATE_TEST_SUITE_P(Languages, GoldenProgram,
                         ::testing::Values("PascalScript", "C++Script", "BasicScript", "JScript"),
                         [](const auto &info) { return QString::fromUtf8(info.param).remove(u'+').toStdString(); });

TEST(Translator, ExactPositions)
{
    Translation t("PascalScript");
    ASSERT_EQ(t.run(QStringLiteral("begin a := 1 end.")), QStringLiteral("ok"));
    EXPECT_EQ(indentedIL(t.parser), QStringLiteral("<?xml version=\"1.0\"?>\n"
                                                   "<program>\n"
                                                   "  <compoundstmt pos=\"1:1\">\n"
                                                   "    <assignstmt pos=\"1:7\">\n"
                                                   "      <dsgn pos=\"1:7\">\n"
                                                   "        <node text=\"a\" pos=\"1:8\"/>\n"
                                                   "      </dsgn>\n"
                                                   "      <expr pos=\"1:12\" pos1=\"1:13\">\n"
                                                   "        <number text=\"1\" pos=\"1:13\"/>\n"
                                                   "      </expr>\n"
                                                   "    </assignstmt>\n"
                                                   "  </compoundstmt>\n"
                                                   "  <types/>\n"
                                                   "</program>\n"));

    // A report text becomes a call of Get, every piece at the closing sign.
    ASSERT_EQ(t.run(QStringLiteral("begin x := <a.\"b\"> end.")), QStringLiteral("ok"));
    const TzqXMLItem *expr = t.parser.ILScript()->Root()->Items(0)->Items(0)->Items(1);
    EXPECT_EQ(expr->Text(), QStringLiteral("pos=\"1:12\" pos1=\"1:19\""));
    const TzqXMLItem *get = expr->Items(0);
    EXPECT_EQ(get->Name(), QStringLiteral("dsgn"));
    EXPECT_EQ(get->Text(), QStringLiteral("pos=\"1:18\""));
    EXPECT_EQ(get->Items(0)->Text(), QStringLiteral("text=\"Get\" pos=\"1:18\""));
    EXPECT_EQ(get->Items(1)->Items(0)->Text(), QStringLiteral("text=\"'a.&#34;b&#34;'\" pos=\"1:18\""));

    // Token texts that look like references survive the trip.
    ASSERT_EQ(t.run(QStringLiteral("begin s := 'AT&#38;T&quot;' end.")), QStringLiteral("ok"));
    const TzqXMLItem *string = t.parser.ILScript()->Root()->Items(0)->Items(0)->Items(1)->Items(0);
    EXPECT_EQ(string->GetProp(QStringLiteral("text")), QStringLiteral("'AT&#38;T&quot;'"));
}

TEST(Translator, LanguageShapes)
{
    const auto children = [](const TzqXMLItem *item) {
        QStringList names;
        for (int i = 0; i < item->Count(); ++i)
            names << item->Items(i)->Name() + u'=' + item->Items(i)->GetProp(QStringLiteral("text"));
        return names.join(u' ');
    };

    Translation cpp("C++Script");
    ASSERT_EQ(cpp.run(QStringLiteral("{ x += 2; i++; }")), QStringLiteral("ok"));
    const TzqXMLItem *block = cpp.parser.ILScript()->Root()->Items(0);
    EXPECT_EQ(children(block->Items(0)), QStringLiteral("dsgn= modificator=+ expr="));
    EXPECT_EQ(children(block->Items(1)), QStringLiteral("dsgn= modificator=+"));

    ASSERT_EQ(cpp.run(QStringLiteral("{ do x--; while (x > 0); }")), QStringLiteral("ok"));
    EXPECT_EQ(children(cpp.parser.ILScript()->Root()->Items(0)->Items(0)),
              QStringLiteral("callstmt= expr= inverse="));

    Translation basic("BasicScript");
    ASSERT_EQ(basic.run(asLines(QStringLiteral("If a Then\nx = 1\nElseIf b Then\nx = 2\nElse\nx = 3\nEnd If"))),
              QStringLiteral("ok"));
    const TzqXMLItem *ifstmt = basic.parser.ILScript()->Root()->Items(0)->Items(0);
    EXPECT_EQ(children(ifstmt), QStringLiteral("expr= thenstmt= elsestmt="));
    EXPECT_EQ(children(ifstmt->Items(2)), QStringLiteral("ifstmt="));
    EXPECT_EQ(children(ifstmt->Items(2)->Items(0)), QStringLiteral("expr= thenstmt= elsestmt="));

    // Operators come out in source order, spelled the common way.
    Translation js("JScript");
    ASSERT_EQ(js.run(QStringLiteral("x = -a + b * c >= d && !e || f % g << 1;")), QStringLiteral("ok"));
    const TzqXMLItem *expr = js.parser.ILScript()->Root()->Items(0)->Items(0)->Items(1);
    QStringList ops;
    for (int i = 0; i < expr->Count(); ++i) {
        if (expr->Items(i)->Name() == u"op")
            ops << expr->Items(i)->GetProp(QStringLiteral("text"));
    }
    EXPECT_EQ(ops.join(u' '), QStringLiteral("unminus + * >= and not or mod shl"));
}

struct ErrorCase {
    const char *language;
    const char *text; // "\n" stands for a line end
    const char *message;
    const char *position;
};

const ErrorCase errorCases[] = {
    {"PascalScript", "var : Integer; begin end.", "Identifier expected", "1:5"},
    {"PascalScript", "begin a := ; end.", "Expression expected", "1:12"},
    {"PascalScript", "begin end. x", "Statement expected", "1:12"},
    {"PascalScript", "var a Integer; begin end.", "':' expected", "1:7"},
    {"PascalScript", "begin a := 1 b := 2 end.", "';' expected", "1:14"},
    {"PascalScript", "begin end", "'.' expected", "2:1"},
    {"PascalScript", "begin a := (1; end.", "')' expected", "1:14"},
    {"PascalScript", "begin a := [1; end.", "']' expected", "1:14"},
    {"PascalScript", "begin for i : = 1 to 2 do end.", "'=' expected", "1:15"},
    {"PascalScript", "a := 1.", "'BEGIN' expected", "1:1"},
    {"PascalScript", "begin case a of 1: b c end.", "'END' expected", "1:22"},
    {"PascalScript", "begin case a 1: b end.", "'OF' expected", "1:14"},
    {"PascalScript", "begin if a b := 1 end.", "'THEN' expected", "1:12"},
    {"PascalScript", "begin repeat a := 1 end.", "'UNTIL' expected", "1:21"},
    {"PascalScript", "begin for i := 1 do a end.", "'TO' or 'DOWNTO' expected", "1:18"},
    {"PascalScript", "begin while a b end.", "'DO' expected", "1:15"},
    {"PascalScript", "begin try a := 1 end end.", "'FINALLY' or 'EXCEPT' expected", "1:18"},
    {"PascalScript", "var a: array[1. 5] of Integer; begin end.", "'..' expected", "1:17"},
    {"PascalScript", "begin a := <abc end.", "'>' expected", "2:1"},
    {"PascalScript", "begin a := [1. 5] end.", "'..' expected", "1:16"},
    {"JScript", "a = [1, 2 .. 3, 4.];", "'..' expected", "1:19"},
    {"PascalScript", "const begin end.", "Identifier expected", "1:7"},
    {"C++Script", "#define 1", "Identifier expected", "1:9"},
    {"C++Script", "{ a = ; }", "Expression expected", "1:7"},
    {"C++Script", "{ } )", "Statement expected", "1:5"},
    {"C++Script", "{ switch (a) { case 1 } }", "':' expected", "1:23"},
    {"C++Script", "{ a = 1 }", "';' expected", "1:9"},
    {"C++Script", "{ f(1; }", "')' expected", "1:6"},
    {"C++Script", "{ a[1 = 2; }", "']' expected", "1:7"},
    {"C++Script", "int a;", "'{' expected", "2:1"},
    {"C++Script", "{ a = 1;", "'}' expected", "2:1"},
    {"C++Script", "{ if a; }", "'(' expected", "1:6"},
    {"C++Script", "#defin x 1", "'DEFINE' expected", "1:2"},
    {"C++Script", "{ do a++; }", "'WHILE' expected", "1:11"},
    {"C++Script", "{ try { } }", "'FINALLY' or 'EXCEPT' expected", "1:11"},
    {"C++Script", "{ a = <b; }", "'>' expected", "2:1"},
    {"C++Script", "{ IF (a) b(); }", "';' expected", "1:10"},
    {"JScript", "var 1;", "Identifier expected", "1:5"},
    {"JScript", "a = ;", "Expression expected", "1:5"},
    {"JScript", "a = 1; )b = 2; c = 3;", "Statement expected", "1:8"},
    {"JScript", "switch (a) { case 1 }", "':' expected", "1:21"},
    {"JScript", "for (i = 0 i < 1; i++) ;", "';' expected", "1:12"},
    {"JScript", "f(1;", "')' expected", "1:4"},
    {"JScript", "a[1 = 2;", "']' expected", "1:5"},
    {"JScript", "try ;", "'{' expected", "1:5"},
    {"JScript", "{ a = 1", "'}' expected", "2:1"},
    {"JScript", "if a;", "'(' expected", "1:4"},
    {"JScript", "do a++; ;", "'WHILE' expected", "1:9"},
    {"JScript", "try { } a", "'FINALLY' or 'EXCEPT' expected", "1:9"},
    {"JScript", "a = <b;", "'>' expected", "2:1"},
    {"BasicScript", "Dim 1", "Identifier expected", "1:5"},
    {"BasicScript", "a =", "Expression expected", "1:4"},
    {"BasicScript", "a = 1 b", "End of line expected", "1:7"},
    {"BasicScript", "f(1", "')' expected", "1:4"},
    {"BasicScript", "a[1 = 2", "']' expected", "1:8"},
    {"BasicScript", "Set a 1", "'=' expected", "1:7"},
    {"BasicScript", "For i = 1 10", "'TO' expected", "1:11"},
    {"BasicScript", "If a Then\\nb = 1\\n", "'END' expected", "3:1"},
    {"BasicScript", "If a b", "'THEN' expected", "1:6"},
    {"BasicScript", "Do\\nLoop x", "'WHILE' expected", "2:6"},
    {"BasicScript", "Select a", "'CASE' expected", "1:8"},
    {"BasicScript", "Select Case a\\nEnd x", "'SELECT' expected", "2:5"},
    {"BasicScript", "Try\\nEnd Try", "'FINALLY' or 'CATCH' expected", "2:1"},
    {"BasicScript", "a = <b", "'>' expected", "2:1"},
    {"BasicScript", "While a\\n", "'WEND' expected", "2:1"},
    {"BasicScript", "For i = 1 To 2\\n", "'NEXT' expected", "2:1"},
    {"BasicScript", "With a\\nEnd x", "'WITH' expected", "2:5"},
    {"BasicScript", "Try\\nFinally\\nEnd x", "'TRY' expected", "3:5"},
    {"BasicScript", "Sub a\\nEnd x", "'SUB' expected", "2:5"},
    {"BasicScript", "Function a\\nEnd x", "'FUNCTION' expected", "2:5"},
    {"BasicScript", "If a Then\\nEnd x", "'IF' expected", "2:5"},
};

TEST(Translator, ReportsTheFirstErrorWithItsPosition)
{
    for (const ErrorCase &c : errorCases) {
        Translation t(c.language);
        const QString text = asLines(QString::fromUtf8(c.text).replace(QStringLiteral("\\n"), QStringLiteral("\n")));
        EXPECT_EQ(t.run(text), QString::fromUtf8(c.message) + QStringLiteral(" at ") + QString::fromUtf8(c.position))
            << c.language << ": " << c.text;
        EXPECT_EQ(t.parser.ILScript()->Root()->Count(), 0);
    }
}

TEST(Translator, ErrorPositionsSkipBlanks)
{
    Translation t("PascalScript");
    EXPECT_EQ(t.run(QStringLiteral("begin end")), QStringLiteral("'.' expected at 1:10"));
    EXPECT_EQ(t.run(QStringLiteral("begin end\r\n")), QStringLiteral("'.' expected at 2:1"));
    EXPECT_EQ(t.run(QStringLiteral("begin end.")), QStringLiteral("ok"));
    EXPECT_TRUE(t.script.ErrorMsg.isEmpty());
    EXPECT_TRUE(t.script.ErrorPos.isEmpty());
}

TEST(Translator, LanguageDirective)
{
    Translation t("PascalScript");
    EXPECT_EQ(t.run(QStringLiteral("#language BasicScript\r\nx = 1\r\ny = \r\n")),
              QStringLiteral("Expression expected at 3:5"));
    EXPECT_EQ(t.parser.Language(), QStringLiteral("BasicScript"));

    for (const QString &lineEnd : {QStringLiteral("\n"), QStringLiteral("\r")}) {
        Translation u("PascalScript");
        EXPECT_EQ(u.run(QStringLiteral("#LANGUAGE JScript") + lineEnd + QStringLiteral("x = 1;")), QStringLiteral("ok"));
        EXPECT_EQ(u.parser.ILScript()->Root()->Items(0)->Items(0)->Name(), QStringLiteral("assignstmt"));
    }

    Translation cpp("C++Script");
    EXPECT_EQ(cpp.run(QStringLiteral("#include \"x\"\r\n{}")), QStringLiteral("Unit not found: 'x' at 1:13"));
    EXPECT_EQ(cpp.parser.Language(), QStringLiteral("C++Script"));

    Translation unknown("PascalScript");
    EXPECT_THROW(unknown.run(QStringLiteral("#language Cobol\r\n")), Exception);
}

TEST(Translator, UsedUnits)
{
    Translation t("PascalScript");
    QStringList asked;
    t.script.OnGetUnit = [&](TzqScript *, const QString &name, QString &text) {
        asked << name;
        if (name == u"a")
            text = QStringLiteral("uses 'b'; procedure A; begin end; begin end.");
        else if (name == u"b")
            text = QStringLiteral("procedure B; begin end; begin end.");
        else if (name == u"bad")
            text = QStringLiteral("uses 'worse'; begin end.");
        else if (name == u"worse")
            text = QStringLiteral("\r\nbegin x := end.");
    };

    // Units named later stand first; a unit is included once.
    ASSERT_EQ(t.run(QStringLiteral("uses 'a', 'b'; begin end.")), QStringLiteral("ok"));
    EXPECT_EQ(asked, QStringList({QStringLiteral("b"), QStringLiteral("a")}));
    const TzqXMLItem *program = t.parser.ILScript()->Root();
    ASSERT_EQ(program->Find(QStringLiteral("uses")), 0);
    EXPECT_EQ(program->Items(0)->GetProp(QStringLiteral("unit")), QStringLiteral("b"));
    EXPECT_EQ(program->Items(1)->GetProp(QStringLiteral("unit")), QStringLiteral("a"));
    EXPECT_EQ(program->Items(1)->Items(0)->Find(QStringLiteral("uses")), -1);

    // The innermost failing unit is named, with its own message and position.
    Translation f("PascalScript");
    f.script.OnGetUnit = t.script.OnGetUnit;
    EXPECT_EQ(f.run(QStringLiteral("uses 'bad'; begin end.")), QStringLiteral("Expression expected at 2:12"));
    EXPECT_EQ(f.script.ErrorUnit, QStringLiteral("worse"));
}

TEST(Translator, UnitFiles)
{
    QTemporaryDir first;
    QTemporaryDir second;
    const auto write = [](const QString &fileName, const QByteArray &text) {
        QFile file(fileName);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    };
    write(second.filePath(QStringLiteral("u.pas")), "procedure FromSecond;\nbegin\nend;\nbegin\nend.");
    write(first.filePath(QStringLiteral("v.pas")), "procedure FromFirst; begin end; begin end.");
    write(second.filePath(QStringLiteral("v.pas")), "procedure Wrong; begin end; begin end.");

    Translation t("PascalScript");
    t.script.IncludePath = {first.path(), second.path() + u'/'};
    ASSERT_EQ(t.run(QStringLiteral("uses 'u.pas', 'v.pas'; begin end.")), QStringLiteral("ok"));
    const TzqXMLItem *program = t.parser.ILScript()->Root();
    EXPECT_EQ(program->Items(0)->Items(0)->Items(0)->Items(0)->GetProp(QStringLiteral("text")),
              QStringLiteral("FromFirst"));
    EXPECT_EQ(program->Items(1)->Items(0)->Items(0)->Items(0)->GetProp(QStringLiteral("text")),
              QStringLiteral("FromSecond"));

    // The host's units come first.
    t.script.OnGetUnit = [](TzqScript *, const QString &, QString &text) {
        text = QStringLiteral("procedure FromHost; begin end; begin end.");
    };
    ASSERT_EQ(t.run(QStringLiteral("uses 'u.pas'; begin end.")), QStringLiteral("ok"));
    EXPECT_EQ(t.parser.ILScript()->Root()->Items(0)->Items(0)->Items(0)->Items(0)->GetProp(QStringLiteral("text")),
              QStringLiteral("FromHost"));
}

TEST(Translator, UnitNamesStayInsideTheIncludePath)
{
    QTemporaryDir dir;
    Translation t("PascalScript");
    t.script.IncludePath = {dir.path()};
    EXPECT_EQ(t.run(QStringLiteral("uses 'missing'; begin end.")), QStringLiteral("Unit not found: 'missing' at 1:15"));
    EXPECT_EQ(t.script.ErrorUnit, QStringLiteral("missing"));

    for (const char *name : {"/etc/passwd", "../x", "a\\..\\b", "c:x"}) {
        Translation u("PascalScript");
        u.script.IncludePath = {dir.path()};
        const QString text = QStringLiteral("uses '") + QString::fromUtf8(name) + QStringLiteral("'; begin end.");
        EXPECT_TRUE(u.run(text).startsWith(QStringLiteral("Invalid unit name: '"))) << name;
    }
}
