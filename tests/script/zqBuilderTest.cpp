// What the builder refuses, with the exact message and position, and what
// it makes of declarations.

#include "ScriptTestSupport.h"

#include "script/zqClasses.h"
#include "script/zqMessages.h"
#include "toolkit/core/Exceptions.h"

namespace {

QString pascalError(const QString &text)
{
    ScriptRunner r;
    EXPECT_FALSE(r.Compile(QStringLiteral("PascalScript"), text)) << qPrintable(text);
    return r.Error();
}

TEST(zqBuilder, MessagesAndPositions)
{
    EXPECT_EQ(pascalError(QStringLiteral("begin\n  x := 1\nend.")), QStringLiteral("Undeclared identifier: 'x' at 2:3"));
    EXPECT_EQ(pascalError(QStringLiteral("var a: Integer;\n    a: String;\nbegin end.")),
              QStringLiteral("Identifier redeclared: 'a' at 2:5"));
    EXPECT_EQ(pascalError(QStringLiteral("var a: TNothing;\nbegin end.")), QStringLiteral("Unknown type: 'TNothing' at 1:5"));
    EXPECT_EQ(pascalError(QStringLiteral("var i: Integer; s: String;\nbegin\n  i := s\nend.")),
              QStringLiteral("Incompatible types: 'Integer', 'String' at 3:3"));
    EXPECT_EQ(pascalError(QStringLiteral("const C = 1;\nbegin\n  C := 2\nend.")),
              QStringLiteral("Left side cannot be assigned to at 3:3"));
    EXPECT_EQ(pascalError(QStringLiteral("procedure P(a, b: Integer);\nbegin end;\nbegin\n  P(1)\nend.")),
              QStringLiteral("Not enough actual parameters at 4:4"));
    EXPECT_EQ(pascalError(QStringLiteral("procedure P;\nbegin end;\nbegin\n  P(1, 2)\nend.")),
              QStringLiteral("Too many actual parameters at 4:4"));
    EXPECT_EQ(pascalError(QStringLiteral("var s: String;\nbegin\n  for s := 1 to 2 do\nend.")),
              QStringLiteral("For loop variable must be numeric variable at 3:3"));
    EXPECT_EQ(pascalError(QStringLiteral("var s: String;\nbegin\n  s.Length := 1\nend.")),
              QStringLiteral("Strings doesn't have properties or methods at 3:11"));
    EXPECT_EQ(pascalError(QStringLiteral("var i: Integer;\nbegin\n  i[1] := 1\nend.")),
              QStringLiteral("Array type required at 3:5"));
    EXPECT_EQ(pascalError(QStringLiteral("var i: Integer;\nbegin\n  with i do\nend.")),
              QStringLiteral("Class type required at 3:8"));
    EXPECT_EQ(pascalError(QStringLiteral("var a: array[3] of Integer;\nbegin\n  a.x := 1\nend.")),
              QStringLiteral("Index required at 3:6"));
    EXPECT_EQ(pascalError(QStringLiteral("var a: array[5000, 5000] of Integer;\nbegin end.")),
              QStringLiteral("Array too large at 1:5"));
    EXPECT_EQ(pascalError(QStringLiteral("begin\n  (* never closed\nend.")), QStringLiteral("Unterminated comment at 2:3"));

    ScriptRunner basic;
    EXPECT_FALSE(basic.Compile(QStringLiteral("BasicScript"), QStringLiteral("x = addressof y.z\n")));
    EXPECT_EQ(basic.Error(), QStringLiteral("Variable required at 1:5"));
}

TEST(zqBuilder, MessagesAreReplaceable)
{
    const QString saved = SIdUndeclared;
    SIdUndeclared = QStringLiteral("Неизвестный идентификатор: ");
    EXPECT_EQ(pascalError(QStringLiteral("begin x := 1 end.")), QStringLiteral("Неизвестный идентификатор: 'x' at 1:7"));
    SIdUndeclared = saved;
}

TEST(zqBuilder, UndeclaredNamesBecomeVariablesWhereTheLanguageAllows)
{
    ScriptRunner r;
    ASSERT_TRUE(r.Run(QStringLiteral("BasicScript"), QStringLiteral("Sub P\n  fresh = 5\nEnd Sub\nP\n")));
    EXPECT_EQ(r.Int(QStringLiteral("fresh")), 5);
}

TEST(zqBuilder, DeclarationsTypesAndInitialValues)
{
    ScriptRunner r;
    ASSERT_TRUE(r.Run(QStringLiteral("C++Script"), QStringLiteral(R"(
int i; float f; bool b; string s; long l = 3.7;
int early() { return later(); }
int later() { return 42; }
{ i = early(); }
)")));
    EXPECT_EQ(VarType(r.Value(QStringLiteral("f"))), varDouble);
    EXPECT_EQ(r.Value(QStringLiteral("b")).AsBoolean(), false);
    EXPECT_EQ(r.Text(QStringLiteral("s")), QString());
    EXPECT_EQ(r.Int(QStringLiteral("l")), 4);
    EXPECT_EQ(r.Int(QStringLiteral("i")), 42);
}

TEST(zqBuilder, CompoundAssignmentOnlyForTheExactShape)
{
    ScriptRunner r;
    ASSERT_TRUE(r.Run(QStringLiteral("PascalScript"), QStringLiteral(R"(
var x, y, z: Integer;
begin
  x := 10; x := x - 1 - 1;
  y := 5; y := y * 2 + 1;
  z := 7; z := z + 1
end.
)")));
    EXPECT_EQ(r.Int(QStringLiteral("x")), 8);
    EXPECT_EQ(r.Int(QStringLiteral("y")), 11);
    EXPECT_EQ(r.Int(QStringLiteral("z")), 8);
}

TEST(zqBuilder, UntrustedIntermediateUnitsAreChecked)
{
    for (const char *il : {"<?xml version=\"1.0\"?><program><assignstmt pos=\"1:1\"/></program>",
                           "<?xml version=\"1.0\"?><program><callstmt pos=\"1:1\"><dsgn pos=\"1:1\"><expr/></dsgn></callstmt></program>",
                           "<?xml version=\"1.0\"?><program><ifstmt><expr><number text=\"1\"/></expr><other/></ifstmt></program>",
                           "<?xml version=\"1.0\"?><nonsense/>", "<?xml version=\"1.0\"?><program><x"}) {
        ScriptRunner r;
        r.script.OnGetILUnit = [il](TzqScript *, const QString &, QString &text) { text = QString::fromUtf8(il); };
        r.script.OnGetUnit = [](TzqScript *, const QString &, QString &text) { text = QStringLiteral("begin end."); };
        EXPECT_FALSE(r.Compile(QStringLiteral("PascalScript"), QStringLiteral("uses 'u';\nbegin end."))) << il;
        EXPECT_EQ(r.script.ErrorMsg, QStringLiteral("Invalid file format")) << il;
        EXPECT_EQ(r.script.ErrorUnit, QStringLiteral("u")) << il;
    }
}

TEST(zqBuilder, MacroArgumentsAreTheirSourceTextAlsoInUnits)
{
    ScriptRunner r;
    QStringList seen;
    r.script.AddMethod(QStringLiteral("macrofunction Show(Expr: Variant): Variant"),
                       [&seen](TObject *, TClass, const QString &, TzqMethodHelper *caller) {
                           seen << caller->GetParams(0).AsString();
                           return Variant(0);
                       });
    r.script.OnGetUnit = [](TzqScript *, const QString &, QString &text) {
        text = QStringLiteral("procedure InUnit;\r\nbegin\r\n  Show( 2 * 3 )\r\nend;\r\nbegin end.\r\n");
    };
    ASSERT_TRUE(r.Run(QStringLiteral("PascalScript"),
                      QStringLiteral("uses 'u';\nvar a: Integer;\nbegin\n  Show(a + 1);\n  InUnit\nend.")));
    EXPECT_EQ(seen, QStringList({QStringLiteral("a + 1"), QStringLiteral("2 * 3")}));
}

TEST(zqBuilder, CodeLinesAreRecordedPerUnit)
{
    ScriptRunner r;
    ASSERT_TRUE(r.Compile(QStringLiteral("PascalScript"), QStringLiteral("var i: Integer;\nbegin\n  i := 1;\n\n  i := 2\nend.")));
    TStringList *units = r.script.UnitLines();
    ASSERT_EQ(units->Count(), 1);
    EXPECT_EQ(static_cast<TStringList *>(units->Objects(0))->Text(), QStringLiteral("3\r\n5\r\n"));
}

} // namespace
