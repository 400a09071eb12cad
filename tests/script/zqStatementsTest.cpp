// Whole programs in each language, run end to end; the results are read back
// from global variables.

#include "ModuleTestSupport.h"
#include "ScriptTestSupport.h"

#include "toolkit/core/Exceptions.h"

namespace {

TEST(zqStatements, PascalScriptRunsEveryStatementForm)
{
    ScriptRunner r;
    ASSERT_TRUE(r.Run(QStringLiteral("PascalScript"), QStringLiteral(R"(
const Limit = 5;
var i, n, total, down, rep, wh, caseHits: Integer;
    s, log: String;
    grid: array[1..2, 0..2] of Integer;
    f: Extended;

procedure Twice(var x: Integer; by: Integer = 2);
begin
  x := x * by
end;

function Fib(k: Integer): Integer;
begin
  if k < 2 then Result := k else Result := Fib(k - 1) + Fib(k - 2)
end;

function Early(k: Integer): Integer;
begin
  Result := 1;
  while True do begin
    if k > 3 then exit;
    k := k + 1;
    Result := Result * 2
  end
end;

begin
  for i := 1 to Limit do total := total + i;
  for i := 3 downto 1 do down := down * 10 + i;
  repeat rep := rep + 1 until rep >= 3;
  while wh < 10 do begin
    wh := wh + 1;
    if wh = 2 then continue;
    if wh = 4 then break
  end;
  for i := 1 to 6 do
    case i of
      1, 2: caseHits := caseHits + 1;
      3..5: caseHits := caseHits + 10
    else
      caseHits := caseHits + 100
    end;
  n := 3; Twice(n); Twice(n, 5);
  s := 'abc'; s[2] := 'X';
  grid[2, 1] := 7; grid[1, 0] := grid[2, 1] + 1;
  try
    log := log + 'a';
    n := n div 0;
    log := log + 'b'
  except
    log := log + ExceptionClassName
  end;
  try log := log + '+' finally log := log + '!' end;
  f := 1 / 4;
  total := total + Fib(10) * 1000 + Early(0) * 100000
end.
)")));
    EXPECT_EQ(r.Int(QStringLiteral("total")), 15 + 55000 + 1600000);
    EXPECT_EQ(r.Int(QStringLiteral("i")), 6);
    EXPECT_EQ(r.Int(QStringLiteral("down")), 321);
    EXPECT_EQ(r.Int(QStringLiteral("rep")), 3);
    EXPECT_EQ(r.Int(QStringLiteral("wh")), 4);
    EXPECT_EQ(r.Int(QStringLiteral("caseHits")), 2 + 30 + 100);
    EXPECT_EQ(r.Int(QStringLiteral("n")), 30);
    EXPECT_EQ(r.Text(QStringLiteral("s")), QStringLiteral("aXc"));
    EXPECT_EQ(r.script.Find(QStringLiteral("grid"))->Value.GetElement({1, 0}).AsInteger(), 8);
    EXPECT_EQ(r.Text(QStringLiteral("log")), QStringLiteral("aEDivByZero+!"));
    EXPECT_DOUBLE_EQ(r.Value(QStringLiteral("f")).AsDouble(), 0.25);
}

TEST(zqStatements, CSharedFormsInCppScriptAndJScript)
{
    const QString body = QStringLiteral(R"(
  for (i = 0; i < 5; i++) { sum += i; }
  for (;;) { n++; if (n == 3) break; }
  for (i = 0; ; i++) { if (i > 4) break; }
  while (w < 5) {
    switch (w) { default: other = other + 1; case 1: one++; break; case 2, 3: two += 10; break; }
    w++;
  }
  do { k += 2; } while (k < 7);
  try { x = 1; x = x / zero; } except { caught = ExceptionClassName; }
  try { fin = 1; } finally { fin = fin * 5; }
)");
    ScriptRunner cpp;
    ASSERT_TRUE(cpp.Run(QStringLiteral("C++Script"),
                        QStringLiteral("int i, n, sum, w, one, two, other, k, fin, zero; float x; string caught;\n{")
                            + body + QStringLiteral("}\n")));
    ScriptRunner js;
    ASSERT_TRUE(js.Run(QStringLiteral("JScript"),
                       QStringLiteral("var i = 0, n = 0, sum = 0, w = 0, one = 0, two = 0, other = 0, k = 0, fin = 0, zero = 0, x, caught;")
                           + body));
    for (ScriptRunner *r : {&cpp, &js}) {
        EXPECT_EQ(r->Int(QStringLiteral("sum")), 10);
        EXPECT_EQ(r->Int(QStringLiteral("n")), 3);
        EXPECT_EQ(r->Int(QStringLiteral("i")), 5);
        EXPECT_EQ(r->Int(QStringLiteral("one")), 1);
        EXPECT_EQ(r->Int(QStringLiteral("two")), 20);
        EXPECT_EQ(r->Int(QStringLiteral("other")), 2);
        EXPECT_EQ(r->Int(QStringLiteral("w")), 5) << "the break that ends a case branch leaves no flag set";
        EXPECT_EQ(r->Int(QStringLiteral("k")), 8);
        EXPECT_EQ(r->Text(QStringLiteral("caught")), QStringLiteral("EZeroDivide"));
        EXPECT_EQ(r->Int(QStringLiteral("fin")), 5);
    }
}

TEST(zqStatements, CppScriptFunctionsReturnAndIncrement)
{
    ScriptRunner r;
    ASSERT_TRUE(r.Run(QStringLiteral("C++Script"), QStringLiteral(R"(
#define BASE 100
int a = 1, b, c;
string s = "x";
int twice(int v) { return v * 2; }
void bump(int &v, int by = 3) { v += by; }
{
  a = twice(a) + BASE;
  bump(b); bump(b, 10);
  c = a % 7 << 2;
  s += "y";
  a--; c--;
  return;
  a = 0;
}
)")));
    EXPECT_EQ(r.Int(QStringLiteral("a")), 101);
    EXPECT_EQ(r.Int(QStringLiteral("b")), 13);
    EXPECT_EQ(r.Text(QStringLiteral("s")), QStringLiteral("xy"));
}

TEST(zqStatements, BasicScriptRunsEveryStatementForm)
{
    ScriptRunner r;
    ASSERT_TRUE(r.Run(QStringLiteral("BasicScript"), QStringLiteral(R"(
Dim total As Integer = 0, cases
Sub Add(ByRef x, y = 1)
  x = x + y
End Sub
Function Half(n) As Decimal
  Return n / 2
End Function
For i = 10 To 1 Step -3
  total = total + i
Next i
If total = 22 Then flag = "yes" Else flag = "no"
For Each_ = 1 To 5
  Select Case Each_
    Case 1 To 2
      cases = cases & "a"
    Case 4
      cases = cases & "b"
      Exit For
    Case Else
      cases = cases & "c"
  End Select
Next
n = 0
Do
  Add n
  Add(n, 2)
Loop Until n >= 9
m = 0
Do
  m = m + 1
Loop While m < 4
While m > 0
  m = m - 1 : If m = 2 Then Exit While
Wend
If m = 1 Then
  branch = 1
ElseIf m = 2 Then
  branch = 2
Else
  branch = 3
End If
Try
  z = 1 \ 0
Catch
  err = ExceptionMessage
End Try
h = Half(5)
)")));
    EXPECT_EQ(r.Int(QStringLiteral("total")), 10 + 7 + 4 + 1);
    EXPECT_EQ(r.Text(QStringLiteral("flag")), QStringLiteral("yes"));
    EXPECT_EQ(r.Text(QStringLiteral("cases")), QStringLiteral("aacb"));
    EXPECT_EQ(r.Int(QStringLiteral("n")), 9);
    EXPECT_EQ(r.Int(QStringLiteral("m")), 2);
    EXPECT_EQ(r.Int(QStringLiteral("branch")), 2);
    EXPECT_EQ(r.Text(QStringLiteral("err")), QStringLiteral("Division by zero"));
    EXPECT_DOUBLE_EQ(r.Value(QStringLiteral("h")).AsDouble(), 2.5);
}

TEST(zqStatements, ExitInALoopEndsOnlyTheProcedure)
{
    ScriptRunner r;
    ASSERT_TRUE(r.Run(QStringLiteral("PascalScript"), QStringLiteral(R"(
var trace: String;
procedure P;
var i: Integer;
begin
  for i := 1 to 10 do begin
    trace := trace + 'p';
    if i = 2 then exit
  end;
  trace := trace + 'never'
end;
begin
  P; trace := trace + '|'; P
end.
)")));
    EXPECT_EQ(r.Text(QStringLiteral("trace")), QStringLiteral("pp|pp"));
}

TEST(zqStatements, FinallyRunsWholeUnderBreakAndExit)
{
    ScriptRunner r;
    ASSERT_TRUE(r.Run(QStringLiteral("PascalScript"), QStringLiteral(R"(
var trace: String; i: Integer;
procedure P;
begin
  try
    trace := trace + 'e';
    exit
  finally
    trace := trace + 'f1'; trace := trace + 'f2'
  end;
  trace := trace + 'never'
end;
begin
  for i := 1 to 3 do
    try
      if i = 2 then break;
      trace := trace + 'b'
    finally
      trace := trace + 'x'; trace := trace + 'y'
    end;
  P
end.
)")));
    EXPECT_EQ(r.Text(QStringLiteral("trace")), QStringLiteral("bxyxyef1f2"));
    EXPECT_EQ(r.Int(QStringLiteral("i")), 2);
}

TEST(zqStatements, CountingForBoundsAreEvaluatedOnce)
{
    ScriptRunner r;
    ASSERT_TRUE(r.Run(QStringLiteral("PascalScript"), QStringLiteral(R"(
var i, e, runs, none: Integer;
begin
  e := 3;
  for i := 1 to e do begin e := 10; runs := runs + 1 end;
  none := 7;
  for none := 1 to 0 do runs := 100
end.
)")));
    EXPECT_EQ(r.Int(QStringLiteral("runs")), 3);
    EXPECT_EQ(r.Int(QStringLiteral("i")), 3);
    EXPECT_EQ(r.Int(QStringLiteral("none")), 7);
}

TEST(zqStatements, RecursionKeepsTheCallersValuesAlsoWhenAnExceptionPasses)
{
    ScriptRunner r;
    ASSERT_TRUE(r.Run(QStringLiteral("PascalScript"), QStringLiteral(R"(
var after: Integer; caught: String;
procedure Deep(k: Integer);
begin
  if k = 3 then k := k div 0;
  try
    Deep(k + 1)
  except
    caught := ExceptionClassName
  end;
  after := after * 10 + k
end;
begin
  Deep(1)
end.
)")));
    // The exception raised at depth 3 passes into the try of depth 2, whose
    // k is 2 again afterwards.
    EXPECT_EQ(r.Text(QStringLiteral("caught")), QStringLiteral("EDivByZero"));
    EXPECT_EQ(r.Int(QStringLiteral("after")), 21);
}

TEST(zqStatements, TerminateFromTheTraceStopsAndTheScriptRunsAgain)
{
    ScriptRunner r;
    int lines = 0;
    r.script.OnRunLine = [&lines](TzqScript *sender, const QString &, const QString &) {
        if (++lines == 50)
            zqMainScriptOf(sender)->Terminate();
    };
    ASSERT_TRUE(r.Compile(QStringLiteral("PascalScript"), QStringLiteral(R"(
var n: Integer;
procedure Spin;
begin
  while True do n := n + 1
end;
begin
  n := 0;
  Spin;
  n := -1
end.
)")));
    r.script.Execute();
    EXPECT_GT(r.Int(QStringLiteral("n")), 0);
    EXPECT_FALSE(r.script.Terminated);
    lines = -1000;
    r.script.Execute();
    EXPECT_GT(r.Int(QStringLiteral("n")), 0);
}

TEST(zqStatements, RunawayScriptsAreStopped)
{
    ScriptRunner r;
    int lines = 0;
    r.script.OnRunLine = [&lines](TzqScript *sender, const QString &, const QString &) {
        if (++lines == 1000)
            zqMainScriptOf(sender)->Terminate();
    };
    ASSERT_TRUE(r.Run(QStringLiteral("PascalScript"), QStringLiteral("begin\n  while True do ;\n  repeat until False\nend.")))
        << "a loop with an empty body still passes the trace hook";

    ASSERT_TRUE(r.Compile(QStringLiteral("PascalScript"), QStringLiteral(R"(
var s: String;
procedure Forever; begin Forever end;
procedure Grow; begin s := 'ab'; while True do s := s + s end;
begin end.
)")));
    EXPECT_EQ(r.Raised(QStringLiteral("Forever")), QStringLiteral("Too many nested calls"));
    EXPECT_EQ(r.Raised(QStringLiteral("Grow")), QStringLiteral("Text too long"));
}

TEST(zqStatements, AnAllocationFailureIsAnExceptionTheProgramCatches)
{
    ScriptRunner r;
    r.script.AddMethod(QStringLiteral("procedure Exhaust"),
                       [](TObject *, TClass, const QString &, TzqMethodHelper *) -> Variant { throw std::bad_alloc(); });
    ASSERT_TRUE(r.Run(QStringLiteral("PascalScript"), QStringLiteral(R"(
var caught: String;
begin
  try Exhaust except caught := ExceptionClassName + ': ' + ExceptionMessage end
end.
)")));
    EXPECT_EQ(r.Text(QStringLiteral("caught")), QStringLiteral("EOutOfMemory: Out of memory"));
    ASSERT_TRUE(r.Compile(QStringLiteral("PascalScript"), QStringLiteral("begin Exhaust end.")));
    EXPECT_THROW(r.script.Execute(), EOutOfMemory) << "the host sees the same exception";
}

} // namespace

// A recursive call starts from the caller's values and hands them back
// unchanged, strings and var parameters included, at every depth and again
// on the next run, where the frames are reused.
TEST(zqStatements, RecursionFramesKeepEveryKindOfLocal)
{
    ScriptRunner r;
    ASSERT_TRUE(r.Compile(QStringLiteral("PascalScript"), QStringLiteral(R"(
var trail: String; seen: Integer; halves: Extended;
function Walk(k: Integer; var total: Integer): String;
var s: String; x: Extended; j, unset: Integer;
begin
  if k = 1 then unset := 0;
  s := 'k';
  for j := 1 to k do s := s + '*';
  x := k / 2;
  total := total + k;
  if k < 4 then Result := Walk(k + 1, total) + '<' + s
  else Result := s;
  trail := trail + s + ';';
  halves := halves + x;
  unset := unset + 1;
  seen := unset
end;
var sum: Integer; text: String;
begin
  trail := ''; sum := 0; halves := 0;
  text := Walk(1, sum)
end.
)")));
    for (int run = 0; run < 2; ++run) {
        r.script.Execute();
        EXPECT_EQ(r.Text(QStringLiteral("text")), QStringLiteral("k****<k***<k**<k*"));
        EXPECT_EQ(r.Text(QStringLiteral("trail")), QStringLiteral("k****;k***;k**;k*;"));
        EXPECT_EQ(r.Value(QStringLiteral("halves")).AsDouble(), 5.0);
        EXPECT_EQ(r.Int(QStringLiteral("sum")), 10);
        // Each call starts from its caller's value of an unset local and
        // gives the caller's back on return: the outermost sees 0 + 1.
        EXPECT_EQ(r.Int(QStringLiteral("seen")), 1);
    }
}

// The trace handler of any script up the chain sees every statement, also
// one set after compiling, and none is called once it is taken away.
TEST(zqStatements, TraceHandlerOfTheParentSeesProcedureStatements)
{
    ScriptRunner r;
    TzqScript parent;
    r.script.Parent = &parent;
    ASSERT_TRUE(r.Compile(QStringLiteral("PascalScript"), QStringLiteral(R"(
var n: Integer;
procedure Step;
begin
  n := n + 1
end;
begin
  Step; Step
end.
)")));
    QStringList positions;
    parent.OnRunLine = [&positions](TzqScript *, const QString &, const QString &pos) { positions << pos; };
    r.script.Execute();
    EXPECT_EQ(positions.count(QStringLiteral("5:3")), 2) << qPrintable(positions.join(u' '));
    parent.OnRunLine = nullptr;
    positions.clear();
    r.script.Execute();
    EXPECT_TRUE(positions.isEmpty());
    EXPECT_EQ(r.Int(QStringLiteral("n")), 4);
}

namespace {

// A program in one of the languages.
struct Program {
    const char *language;
    const char *text;
};

// The text a variable holds, sharing its characters.
QString heldText(TzqCustomVariable *variable)
{
    if (variable->Slot == TzqSlot::Text)
        return static_cast<TzqStringVariable *>(variable)->Str;
    return variable->Value.AsString();
}

} // namespace

// v := v + e, v := v & e and v += e append to the variable's own text: a
// text nothing else shares grows in place, its characters staying where they
// are while its capacity lasts; a text another variable shares is copied,
// and the other keeps its value.  s is a String variable (a Variant in
// JScript), v a Variant.
TEST(zqStatements, AppendingToATextGrowsItInPlace)
{
    const Program programs[] = {
        {"PascalScript", R"(
var s, t: String; v, w: Variant;
procedure AppendS; begin s := s + 'x' end;
procedure AppendV; begin v := v + 'x' end;
procedure ShareS; begin t := s; s := s + 'y' end;
procedure ShareV; begin w := v; v := v + 'y' end;
begin s := 'ab'; v := 'ab' end.
)"},
        {"C++Script", R"(
string s, t; variant v, w;
void AppendS() { s = s + "x"; }
void AppendV() { v += "x"; }
void ShareS() { t = s; s += "y"; }
void ShareV() { w = v; v = v + "y"; }
{ s = "ab"; v = "ab"; }
)"},
        {"BasicScript", R"(
Dim s As String, t As String, v, w
Sub AppendS
  s = s & "x"
End Sub
Sub AppendV
  v = v + "x"
End Sub
Sub ShareS
  t = s
  s = s + "y"
End Sub
Sub ShareV
  w = v
  v = v & "y"
End Sub
s = "ab"
v = "ab"
)"},
        {"JScript", R"(
var s, t, v, w;
function AppendS() { s = s + "x"; }
function AppendV() { v += "x"; }
function ShareS() { t = s; s += "y"; }
function ShareV() { w = v; v = v + "y"; }
s = "ab"; v = "ab";
)"},
    };
    for (const Program &program : programs) {
        SCOPED_TRACE(program.language);
        ScriptRunner r;
        ASSERT_TRUE(r.Run(QString::fromLatin1(program.language), QString::fromLatin1(program.text)));
        for (const QString &name : {QStringLiteral("S"), QStringLiteral("V")}) {
            SCOPED_TRACE(qPrintable(name));
            TzqCustomVariable *variable = r.script.Find(name.toLower());
            ASSERT_NE(variable, nullptr);
            const QString append = QStringLiteral("Append") + name;
            r.script.CallFunction(append, Variant());
            const QChar *characters = heldText(variable).constData();
            const qsizetype room = heldText(variable).capacity() - heldText(variable).size();
            ASSERT_GT(room, 0) << "an appended text has spare capacity";
            for (qsizetype i = 0; i < room; ++i)
                r.script.CallFunction(append, Variant());
            EXPECT_EQ(heldText(variable).constData(), characters) << "the text was copied";
            const QString appended = QStringLiteral("ab") + QString(room + 1, u'x');
            EXPECT_EQ(heldText(variable), appended);

            r.script.CallFunction(QStringLiteral("Share") + name, Variant());
            EXPECT_EQ(r.Text(name == u"S" ? QStringLiteral("t") : QStringLiteral("w")), appended);
            EXPECT_EQ(heldText(variable), appended + u'y');
        }
    }
}

// What is not two texts is added by the variant rules, and an operand that
// assigns the variable runs before the variable is read, as it did before.
TEST(zqStatements, AppendingKeepsTheOperatorsMeaning)
{
    ScriptRunner r;
    ASSERT_TRUE(r.Run(QStringLiteral("PascalScript"), QStringLiteral(R"(
var s: String; n: Variant;
function Changed: String; begin s := 'zz'; Result := 'y' end;
begin
  n := 2; n := n + '3';
  s := 'ab'; s := s + Changed
end.
)")));
    EXPECT_EQ(r.Int(QStringLiteral("n")), 5);
    EXPECT_EQ(r.Text(QStringLiteral("s")), QStringLiteral("zzy"));

    ScriptRunner basic;
    ASSERT_TRUE(basic.Run(QStringLiteral("BasicScript"), QStringLiteral("c = \"a\"\nc = c & 7\n")));
    EXPECT_EQ(basic.Text(QStringLiteral("c")), QStringLiteral("a7"));
}

namespace {

// The text element 1 of an array variable holds, sharing its characters.
QString elementText(ScriptRunner &r, const QString &array)
{
    return r.script.Find(array)->Value.GetElement({1}).AsString();
}

// Calls the procedure until the text that text() gives has grown past its
// capacity: true while its characters stayed where they were.
template <typename Text>
bool growsInPlace(ScriptRunner &r, const QString &procedure, Text text)
{
    r.script.CallFunction(procedure, Variant());
    const QChar *characters = text().constData();
    const qsizetype room = text().capacity() - text().size();
    if (room <= 0)
        return false;
    for (qsizetype i = 0; i < room / 2; ++i) {
        r.script.CallFunction(procedure, Variant());
        if (text().constData() != characters)
            return false;
    }
    return true;
}

} // namespace

// A chain v := v + e1 + e2, an append through a var parameter (and the
// variable's own append after that call) and an append to an element of an
// array grow the text in place, as single appends to a variable do.
TEST(zqStatements, AppendingAChainThroughAVarParameterOrToAnElementGrowsInPlace)
{
    const Program programs[] = {
        {"PascalScript", R"(
var s, t, u: String; v: Variant; a: array[1..2] of String;
procedure Add(var x: String); begin x := x + 'x' end;
procedure AddV(var x: Variant); begin x := x + 'x' end;
procedure Chain; begin s := s + 'x' + 'y' end;
procedure ByReference; begin Add(t); AddV(v) end;
procedure ThenDirect; begin Add(u); u := u + 'y' end;
procedure Element; begin a[1] := a[1] + 'x' + 'y' end;
begin s := 'ab'; t := 'ab'; u := 'ab'; v := 'ab'; a[1] := 'ab' end.
)"},
        {"C++Script", R"(
string s, t, u, a[2]; variant v;
void Add(string &x) { x = x + "x"; }
void AddV(variant &x) { x += "x"; }
void Chain() { s = s + "x" + "y"; }
void ByReference() { Add(t); AddV(v); }
void ThenDirect() { Add(u); u = u + "y"; }
void Element() { a[1] = a[1] + "x" + "y"; }
{ s = "ab"; t = "ab"; u = "ab"; v = "ab"; a[1] = "ab"; }
)"},
        {"BasicScript", R"(
Dim s As String, t As String, u As String, v, a[2]
Sub Add(ByRef x)
  x = x & "x"
End Sub
Sub AddV(ByRef x)
  x = x + "x"
End Sub
Sub Chain
  s = s & "x" & "y"
End Sub
Sub ByReference
  Add(t)
  AddV(v)
End Sub
Sub ThenDirect
  Add(u)
  u = u & "y"
End Sub
Sub Element
  a[1] = a[1] + "x" & "y"
End Sub
s = "ab"
t = "ab"
seenU = ""
u = "ab"
v = "ab"
a[1] = "ab"
)"},
        {"JScript", R"(
var s, t, u, v, a[2];
function Add(&x) { x = x + "x"; }
function AddV(&x) { x += "x"; }
function Chain() { s = s + "x" + "y"; }
function ByReference() { Add(t); AddV(v); }
function ThenDirect() { Add(u); u += "y"; }
function Element() { a[1] += "x"; a[1] = a[1] + "x" + "y"; }
s = "ab"; t = "ab"; u = "ab"; v = "ab"; a[1] = "ab";
)"},
    };
    for (const Program &program : programs) {
        SCOPED_TRACE(program.language);
        ScriptRunner r;
        ASSERT_TRUE(r.Run(QString::fromLatin1(program.language), QString::fromLatin1(program.text)));
        TzqCustomVariable *s = r.script.Find(QStringLiteral("s"));
        TzqCustomVariable *t = r.script.Find(QStringLiteral("t"));
        TzqCustomVariable *u = r.script.Find(QStringLiteral("u"));
        TzqCustomVariable *v = r.script.Find(QStringLiteral("v"));
        EXPECT_TRUE(growsInPlace(r, QStringLiteral("Chain"), [&] { return heldText(s); }));
        EXPECT_TRUE(growsInPlace(r, QStringLiteral("ByReference"), [&] { return heldText(t); }));
        EXPECT_TRUE(growsInPlace(r, QStringLiteral("ByReference"), [&] { return heldText(v); }));
        EXPECT_TRUE(growsInPlace(r, QStringLiteral("ThenDirect"), [&] { return heldText(u); }))
            << "the variable's own append after the call";
        EXPECT_TRUE(growsInPlace(r, QStringLiteral("Element"), [&] { return elementText(r, QStringLiteral("a")); }));

        const qsizetype calls = r.Text(QStringLiteral("t")).size() - 2;
        EXPECT_EQ(r.Text(QStringLiteral("t")), QStringLiteral("ab") + QString(calls, u'x'));
        EXPECT_EQ(r.Text(QStringLiteral("v")), QStringLiteral("ab") + QString(calls, u'x'));
        const QString then = r.Text(QStringLiteral("u"));
        EXPECT_EQ(then, QStringLiteral("ab") + QStringLiteral("xy").repeated((then.size() - 2) / 2));
        const QString chain = r.Text(QStringLiteral("s"));
        EXPECT_EQ(chain, QStringLiteral("ab") + QStringLiteral("xy").repeated((chain.size() - 2) / 2));
        const QString element = elementText(r, QStringLiteral("a"));
        EXPECT_TRUE(element.startsWith(QStringLiteral("abx")) && element.endsWith(QStringLiteral("xy"))) << qPrintable(element);
        EXPECT_TRUE(!t->Loan && t->Slot != TzqSlot::None) << "no loan outlives its call";
    }
}

// A chain gives what the plain evaluation of its expression gives, value or
// error, whatever its operands are: the statement takes the append road
// only where every operand is a text.
TEST(zqStatements, AChainAppendsAsThePlainEvaluationComputes)
{
    struct Case {
        const char *start;
        const char *expression;
    };
    const Case cases[] = {
        {"'12'", "v + 1 + 2"},     {"'12'", "v + '3' + 4"},     {"'a'", "v + 'b' + 'c'"},
        {"Null", "v + 'a' + 'b'"}, {"5", "v + '1' + '2'"},      {"'x'", "v + v + 'y'"},
        {"'a'", "v + 'b' + 1"},    {"'a'", "(v + 'b') + ('c' + v)"}, {"''", "v + '' + ''"},
        {"2.5", "v + 'x' + 'y'"},  {"'a'", "v + 1.5 + 'b'"},    {"Unassigned", "v + 'a' + 'b'"},
        {"'12'", "v + 3"},         {"'ab'", "v + 'c'"},
    };
    // A Variant variable, and an element of an array of Variants.
    for (const QString &target : {QStringLiteral("v"), QStringLiteral("w[1]")}) {
        for (const Case &c : cases) {
            SCOPED_TRACE(c.expression);
            SCOPED_TRACE(c.start);
            SCOPED_TRACE(qPrintable(target));
            ScriptRunner r;
            r.script.AddConst(QStringLiteral("Unassigned"), QStringLiteral("Variant"), Variant());
            const QString expression = QString::fromLatin1(c.expression).replace(u'v', target);
            const QString program = QStringLiteral(R"(
var v, r, start: Variant; w: array[1..1] of Variant; plainError, appendError: String;
begin
  %3 := %1; start := %3;
  try r := %2 except plainError := ExceptionMessage end;
  try %3 := %2 except appendError := ExceptionMessage end;
  v := %3
end.
)").arg(QString::fromLatin1(c.start), expression, target);
            ASSERT_TRUE(r.Run(QStringLiteral("PascalScript"), program));
            const QString error = r.Text(QStringLiteral("plainError"));
            EXPECT_EQ(r.Text(QStringLiteral("appendError")), error);
            const Variant expected = r.Value(error.isEmpty() ? QStringLiteral("r") : QStringLiteral("start"));
            const Variant v = r.Value(QStringLiteral("v"));
            EXPECT_EQ(VarType(v), VarType(expected));
            EXPECT_EQ(VarToStr(v), VarToStr(expected));
        }
    }
}

// Operands run left to right after the target is read, each once; one
// that assigns the target is seen by the operands after it and not by the
// target's value; an operand whose addition fails stops the chain before
// the next operand runs.  The same holds for elements, whose indices are
// read before the operands and again for the write.
TEST(zqStatements, AChainRunsItsOperandsInOrder)
{
    ScriptRunner r;
    ASSERT_TRUE(r.Run(QStringLiteral("PascalScript"), QStringLiteral(R"(
var s, log: String; n: Variant; a: array[1..3] of String; b, c: array[1..2] of String; i: Integer;
function FA: String; begin log := log + 'A'; Result := 'a' end;
function FB: String; begin log := log + 'B'; s := 'zz'; Result := 'b' end;
function FC: String; begin log := log + 'C'; Result := s end;
function Next: String; begin i := i + 1; Result := '+' end;
begin
  s := 'ab';
  s := s + FA + FB + FC + s;
  n := 'q';
  try n := n + FA + 1 + FB except end;
  a[1] := 'one'; a[2] := 'two'; i := 1;
  a[i] := a[i] + Next + 'x';
  b[1] := 'p'; b[2] := b[1];
  b[2] := b[2] + 'q';
  c[1] := 'm'; a[3] := c[1];
  c[1] := c[1] + 'n'
end.
)")));
    EXPECT_EQ(r.Text(QStringLiteral("s")), QStringLiteral("ababzzzz"));
    EXPECT_EQ(r.Text(QStringLiteral("log")), QStringLiteral("ABCA"));
    EXPECT_EQ(r.Text(QStringLiteral("n")), QStringLiteral("q"));
    const Variant a = r.Value(QStringLiteral("a"));
    EXPECT_EQ(a.GetElement({1}).AsString(), QStringLiteral("one"));
    EXPECT_EQ(a.GetElement({2}).AsString(), QStringLiteral("one+x"));
    EXPECT_EQ(a.GetElement({3}).AsString(), QStringLiteral("m")) << "a text shared with another array";
    const Variant b = r.Value(QStringLiteral("b"));
    EXPECT_EQ(b.GetElement({1}).AsString(), QStringLiteral("p")) << "a text shared with another element";
    EXPECT_EQ(b.GetElement({2}).AsString(), QStringLiteral("pq"));
    EXPECT_EQ(r.Value(QStringLiteral("c")).GetElement({1}).AsString(), QStringLiteral("mn"));

    ScriptRunner basic;
    ASSERT_TRUE(basic.Run(QStringLiteral("BasicScript"), QStringLiteral(R"(
c = "a"
c = c & 7 & "b"
d = 5
d = d & "1" & 2
e = "x"
Try
  e = e & "1" + 2
Catch
  failed = ExceptionMessage
End Try
f = "x"
Try
  g = f & "1" + 2
Catch
  plainFailed = ExceptionMessage
End Try
)")));
    EXPECT_EQ(basic.Text(QStringLiteral("c")), QStringLiteral("a7b"));
    EXPECT_EQ(basic.Int(QStringLiteral("d")), 8);
    EXPECT_EQ(basic.Text(QStringLiteral("e")), basic.Text(QStringLiteral("g")));
    EXPECT_EQ(basic.Text(QStringLiteral("failed")), basic.Text(QStringLiteral("plainFailed")));
}

// A var parameter hands its value back when the call ends, as before the
// text was lent to it: the procedure sees the variable's value from before
// the call, a variable it assigns takes the parameter's value afterwards,
// and a call that raises leaves the variable as it was.
TEST(zqStatements, AVarParameterHandsItsTextBackWhenTheCallEnds)
{
    ScriptRunner r;
    ASSERT_TRUE(r.Run(QStringLiteral("PascalScript"), QStringLiteral(R"(
var s1, s2, s3, s4, s5, s6, s7, s8, s9, s10, s11, seen, first, last, copied: String; v: Variant; n: Integer;
procedure Add(var t: String); begin t := t + 'x' end;
procedure AddAndLook(var t: String); begin t := t + 'x'; seen := s2; first := s2[1] end;
procedure LookAtFirst(var t: String); begin t := t + 'x'; last := s11[2] end;
procedure AddAndAssign(var t: String); begin t := t + 'x'; s3 := 'zz'; t := t + 'y' end;
procedure AddAndFail(var t: String); begin t := t + 'x'; n := 1 div n end;
procedure Replace(var t: String); begin t := t + 'x'; t := 'new' + t; seen := seen + '/' + s5 end;
procedure Two(var a, b: String); begin a := a + '1'; b := b + '2' end;
procedure Rec(var t: String; k: Integer); begin t := t + 'x'; if k > 0 then Rec(t, k - 1); t := t + 'y' end;
procedure AddV(var t: Variant); begin t := t + 'x' end;
procedure Local; var mine: String; begin mine := 'q'; Add(mine); Add(mine); s9 := mine end;
procedure SetFirst(var t: String); begin t := t + 'x'; s10[1] := 'Z'; copied := s10 end;
begin
  s1 := 'ab'; Add(s1); Add(s1);
  s2 := 'ab'; AddAndLook(s2);
  s3 := 'ab'; AddAndAssign(s3);
  s4 := 'ab'; n := 0;
  try AddAndFail(s4) except end;
  copied := s4; Add(s4);
  s5 := 'ab'; Replace(s5);
  s6 := 'ab'; Two(s6, s6);
  s7 := 'a'; Rec(s7, 2);
  v := 'ab'; AddV(v); AddV(v);
  Local;
  s10 := 'ab'; SetFirst(s10);
  s11 := 'ab'; LookAtFirst(s11)
end.
)")));
    EXPECT_EQ(r.Text(QStringLiteral("s1")), QStringLiteral("abxx"));
    EXPECT_EQ(r.Text(QStringLiteral("s2")), QStringLiteral("abx"));
    EXPECT_EQ(r.Text(QStringLiteral("first")), QStringLiteral("a"));
    EXPECT_EQ(r.Text(QStringLiteral("s3")), QStringLiteral("abxy"));
    EXPECT_EQ(r.Text(QStringLiteral("s4")), QStringLiteral("abx")) << "the failed call left ab";
    EXPECT_EQ(r.Text(QStringLiteral("s5")), QStringLiteral("newabx"));
    EXPECT_EQ(r.Text(QStringLiteral("seen")), QStringLiteral("ab/ab")) << "the variable read inside the call";
    EXPECT_EQ(r.Text(QStringLiteral("s6")), QStringLiteral("ab2"));
    EXPECT_EQ(r.Text(QStringLiteral("s7")), QStringLiteral("axxxyyy"));
    EXPECT_EQ(r.Text(QStringLiteral("v")), QStringLiteral("abxx"));
    EXPECT_EQ(r.Text(QStringLiteral("s9")), QStringLiteral("qxx"));
    EXPECT_EQ(r.Text(QStringLiteral("s10")), QStringLiteral("abx"));
    EXPECT_EQ(r.Text(QStringLiteral("copied")), QStringLiteral("Zb"));
    EXPECT_EQ(r.Text(QStringLiteral("last")), QStringLiteral("b"));
    EXPECT_EQ(r.Text(QStringLiteral("s11")), QStringLiteral("abx"));

    // A call that raises through the host gives the text back as well.
    ScriptRunner failed;
    ASSERT_TRUE(failed.Run(QStringLiteral("PascalScript"), QStringLiteral(R"(
var s: String; n: Integer;
procedure AddAndFail(var t: String); begin t := t + 'x'; n := 1 div n end;
procedure Call; begin AddAndFail(s) end;
begin s := 'ab' end.
)")));
    EXPECT_FALSE(failed.Raised(QStringLiteral("Call")).isEmpty());
    EXPECT_EQ(failed.Text(QStringLiteral("s")), QStringLiteral("ab"));
    EXPECT_EQ(failed.script.Find(QStringLiteral("s"))->Loan, nullptr);

    // So does a hand-back that fails on a parameter before the lent one.
    ScriptRunner handBack;
    ASSERT_TRUE(handBack.Run(QStringLiteral("PascalScript"), QStringLiteral(R"(
var s: String; n: Integer;
procedure NotANumber(var k: Variant; var t: String); begin t := t + 'x'; k := 'abc' end;
procedure Call; begin NotANumber(n, s) end;
begin s := 'ab' end.
)")));
    EXPECT_FALSE(handBack.Raised(QStringLiteral("Call")).isEmpty());
    EXPECT_EQ(handBack.Text(QStringLiteral("s")), QStringLiteral("ab"));
    EXPECT_EQ(handBack.script.Find(QStringLiteral("s"))->Loan, nullptr);
}

// The calls of the C++Script and JScript programs below, whose syntax they
// share.
const QString cStyleCalls = QStringLiteral(R"(
s = "ab"; P(a[Length(s)], s); afterIndex = s;
s = "ab"; PC(s[1], s); afterChar = s;
s = "ab"; P(a[SizeOfS()], s); afterRead = s;
s = "ab"; n = 0; P(a[NextS()], s); afterAssign = s;
sl = new TStringList; sl.Add("0"); sl.Add("1"); sl.Add("2");
s = "ab"; P(sl.Strings[Length(s)], s); afterStrings = s + "/" + sl.Strings[2];
sl.Free();
b = new TButton(nil); b.OnResize = "Resized";
s = "ab"; PInt(b.Width, s); afterWidth = s + "/" + seen;
b.Free();
Clear(); s = "ab"; Both(a[Length(s)], s); afterBoth = s + "/" + Elements();
Clear(); s = "ab"; Back(s, a[Length(s)]); afterBack = s + "/" + Elements();
Clear(); s = "ab"; n = 0; Both(a[NextS()], s); afterCount = s + "/" + Elements();
)");

// Every var parameter hands back the value it ends the call with, in the
// order of the parameters, whatever the hand-backs before it do to a
// variable passed to a later one: read it (an index, a character, an index
// function, an indexed property, a property setter whose event handler
// reads it) or assign it (an index function).  Each shape leaves its
// result in a variable of its own: s after the call, and where the
// procedure writes x the element it went to.
TEST(zqStatements, EachVarParameterHandsBackItsValueFromTheEndOfTheCall)
{
    const struct {
        const char *language;
        QString text;
    } programs[] = {
        {"PascalScript", QStringLiteral(R"(
var s, seen: String; a: array[0..3] of String; sl: TStringList; b: TButton; n: Integer;
    afterIndex, afterChar, afterRead, afterAssign, afterStrings, afterWidth, afterBoth, afterBack, afterCount: String;
procedure P(var x, t: String); begin end;
procedure PC(var c: Char; var t: String); begin end;
procedure PInt(var w: Integer; var t: String); begin w := w + 1 end;
procedure Both(var x, t: String); begin x := 'X'; t := t + 'T' end;
procedure Back(var t, x: String); begin x := 'X'; t := t + 'T' end;
function SizeOfS: Integer; begin Result := Length(s) end;
function NextS: Integer; begin n := n + 1; s := 'v' + IntToStr(n); Result := n end;
procedure Resized(Sender: TObject); begin seen := s end;
procedure Clear; var i: Integer; begin for i := 0 to 3 do a[i] := '' end;
function Elements: String; begin Result := a[0] + ',' + a[1] + ',' + a[2] + ',' + a[3] end;
begin
  s := 'ab'; P(a[Length(s)], s); afterIndex := s;
  s := 'ab'; PC(s[1], s); afterChar := s;
  s := 'ab'; P(a[SizeOfS], s); afterRead := s;
  s := 'ab'; n := 0; P(a[NextS], s); afterAssign := s;
  sl := TStringList.Create; sl.Add('0'); sl.Add('1'); sl.Add('2');
  s := 'ab'; P(sl.Strings[Length(s)], s); afterStrings := s + '/' + sl.Strings[2];
  sl.Free;
  b := TButton.Create(nil); b.OnResize := 'Resized';
  s := 'ab'; PInt(b.Width, s); afterWidth := s + '/' + seen;
  b.Free;
  Clear; s := 'ab'; Both(a[Length(s)], s); afterBoth := s + '/' + Elements;
  Clear; s := 'ab'; Back(s, a[Length(s)]); afterBack := s + '/' + Elements;
  Clear; s := 'ab'; n := 0; Both(a[NextS], s); afterCount := s + '/' + Elements
end.
)")},
        {"C++Script", QStringLiteral(R"(
string s, seen, a[4], afterIndex, afterChar, afterRead, afterAssign, afterStrings, afterWidth, afterBoth, afterBack, afterCount;
TStringList sl; TButton b; int n;
void P(string &x, string &t) { }
void PC(char &c, string &t) { }
void PInt(int &w, string &t) { w = w + 1; }
void Both(string &x, string &t) { x = "X"; t = t + "T"; }
void Back(string &t, string &x) { x = "X"; t = t + "T"; }
int SizeOfS() { return Length(s); }
int NextS() { n = n + 1; s = "v" + IntToStr(n); return n; }
void Resized(TObject Sender) { seen = s; }
void Clear() { int i; for (i = 0; i <= 3; i++) a[i] = ""; }
string Elements() { return a[0] + "," + a[1] + "," + a[2] + "," + a[3]; }
{)") + cStyleCalls + u'}'},
        {"BasicScript", QStringLiteral(R"(
Dim s, seen, a[4], sl, b, n, afterIndex, afterChar, afterRead, afterAssign, afterStrings, afterWidth, afterBoth, afterBack, afterCount
Sub P(ByRef x, ByRef t)
End Sub
Sub PC(ByRef c, ByRef t)
End Sub
Sub PInt(ByRef w, ByRef t)
  w = w + 1
End Sub
Sub Both(ByRef x, ByRef t)
  x = "X"
  t = t & "T"
End Sub
Sub Back(ByRef t, ByRef x)
  x = "X"
  t = t & "T"
End Sub
Function SizeOfS
  Return Length(s)
End Function
Function NextS
  n = n + 1
  s = "v" & n
  Return n
End Function
Sub Resized(Sender)
  seen = s
End Sub
Sub Clear
  For i = 0 To 3
    a[i] = ""
  Next
End Sub
Function Elements
  Return a[0] & "," & a[1] & "," & a[2] & "," & a[3]
End Function
s = "ab" : P(a[Length(s)], s) : afterIndex = s
s = "ab" : PC(s[1], s) : afterChar = s
s = "ab" : P(a[SizeOfS], s) : afterRead = s
s = "ab" : n = 0 : P(a[NextS], s) : afterAssign = s
Set sl = New TStringList
sl.Add("0") : sl.Add("1") : sl.Add("2")
s = "ab" : P(sl.Strings[Length(s)], s) : afterStrings = s & "/" & sl.Strings[2]
sl.Free
Set b = New TButton(Nil)
b.OnResize = "Resized"
s = "ab" : PInt(b.Width, s) : afterWidth = s & "/" & seen
b.Free
Clear : s = "ab" : Both(a[Length(s)], s) : afterBoth = s & "/" & Elements
Clear : s = "ab" : Back(s, a[Length(s)]) : afterBack = s & "/" & Elements
Clear : s = "ab" : n = 0 : Both(a[NextS], s) : afterCount = s & "/" & Elements
)")},
        {"JScript", QStringLiteral(R"(
var s, seen, a[4], sl, b, n, afterIndex, afterChar, afterRead, afterAssign, afterStrings, afterWidth, afterBoth, afterBack, afterCount;
function P(&x, &t) { }
function PC(&c, &t) { }
function PInt(&w, &t) { w = w + 1; }
function Both(&x, &t) { x = "X"; t = t + "T"; }
function Back(&t, &x) { x = "X"; t = t + "T"; }
function SizeOfS() { return Length(s); }
function NextS() { n = n + 1; s = "v" + IntToStr(n); return n; }
function Resized(Sender) { seen = s; }
function Clear() { for (var i = 0; i <= 3; i++) a[i] = ""; }
function Elements() { return a[0] + "," + a[1] + "," + a[2] + "," + a[3]; })") + cStyleCalls},
    };
    for (const auto &program : programs) {
        SCOPED_TRACE(program.language);
        ModuleRunner r;
        ASSERT_TRUE(r.Run(QString::fromLatin1(program.language), program.text));
        EXPECT_EQ(r.Text(QStringLiteral("afterIndex")), QStringLiteral("ab"));
        EXPECT_EQ(r.Text(QStringLiteral("afterChar")), QStringLiteral("ab"));
        EXPECT_EQ(r.Text(QStringLiteral("afterRead")), QStringLiteral("ab"));
        EXPECT_EQ(r.Text(QStringLiteral("afterAssign")), QStringLiteral("v1")) << "the value s was lent with";
        EXPECT_EQ(r.Text(QStringLiteral("afterStrings")), QStringLiteral("ab/2"));
        EXPECT_EQ(r.Text(QStringLiteral("afterWidth")), QStringLiteral("ab/ab"));
        EXPECT_EQ(r.Text(QStringLiteral("afterBoth")), QStringLiteral("abT/,,X,"));
        EXPECT_EQ(r.Text(QStringLiteral("afterBack")), QStringLiteral("abT/,,,X")) << "s is handed back first";
        EXPECT_EQ(r.Text(QStringLiteral("afterCount")), QStringLiteral("v1T/,,X,")) << "the index runs again";
    }
}

// A variable lends its text to a procedure's var parameter while the call
// runs; the procedure's own code may still assign the variable, as the
// counter of a loop too, and an assignment that fails leaves it its text.
TEST(zqStatements, AVariableLendingItsTextTakesWhatTheCallAssignsIt)
{
    ScriptRunner basic;
    ASSERT_TRUE(basic.Run(QStringLiteral("BasicScript"), QStringLiteral(R"(
Dim u, seen
Sub Count(ByRef t)
  For u = 1 To 2
    seen = seen & u & ";"
  Next
End Sub
seen = ""
u = "ab"
Count(u)
)")));
    EXPECT_EQ(basic.Text(QStringLiteral("seen")), QStringLiteral("1;2;"));
    EXPECT_EQ(basic.Text(QStringLiteral("u")), QStringLiteral("ab")) << "the parameter's value handed back";

    ScriptRunner pascal;
    ASSERT_TRUE(pascal.Run(QStringLiteral("PascalScript"), QStringLiteral(R"(
var s, seen: String;
procedure P(var t: String); begin try s := Null except end; seen := s end;
begin s := 'ab'; P(s) end.
)")));
    EXPECT_EQ(pascal.Text(QStringLiteral("seen")), QStringLiteral("ab"));
}

// The same in the languages with typed variables: a loop counting in the
// variable that lends its text to the running procedure (a counting for in
// PascalScript, a C for in the others) and a variable of the host, typed
// String, that keeps the text it lends when an assignment to it fails
// (a text the program made: a literal of the host is never lent).
// Each variable is handed back what its parameter ends the call with.
TEST(zqStatements, ALentVariableCountsAndKeepsItsTextInEveryLanguage)
{
    const struct {
        const char *language;
        QString text;
    } programs[] = {
        {"PascalScript", QStringLiteral(R"(
var u: Variant; sum: Integer; seen: String;
procedure Count(var t: Variant); begin for u := 1 to 3 do sum := sum * 10 + u end;
procedure Keep(var t: String); begin try typed := Null except end; seen := typed end;
begin sum := 0; u := 'ab'; Count(u); typed := 'ab'; Keep(typed) end.
)")},
        {"C++Script", QStringLiteral(R"(
variant u; int sum; string seen;
void Count(variant &t) { for (u = 1; u <= 3; u++) sum = sum * 10 + u; }
void Keep(string &t) { try { typed = Null; } except { } seen = typed; }
{ sum = 0; u = "ab"; Count(u); typed = "ab"; Keep(typed); }
)")},
        {"JScript", QStringLiteral(R"(
var u, sum, seen;
function Count(&t) { for (u = 1; u <= 3; u++) sum = sum * 10 + u; }
function Keep(&t) { try { typed = Null; } except { } seen = typed; }
sum = 0; u = "ab"; Count(u); typed = "ab"; Keep(typed);
)")},
    };
    for (const auto &program : programs) {
        SCOPED_TRACE(program.language);
        ScriptRunner r;
        r.script.AddVariable(QStringLiteral("typed"), QStringLiteral("String"), Variant(QString()));
        ASSERT_TRUE(r.Run(QString::fromLatin1(program.language), program.text));
        EXPECT_EQ(r.Int(QStringLiteral("sum")), 123) << "the loop counted in u";
        EXPECT_EQ(r.Text(QStringLiteral("u")), QStringLiteral("ab")) << "the parameter's value handed back";
        EXPECT_EQ(r.Text(QStringLiteral("seen")), QStringLiteral("ab")) << "the failed assignment left the text lent";
        EXPECT_EQ(r.Text(QStringLiteral("typed")), QStringLiteral("ab"));
        EXPECT_EQ(r.script.Find(QStringLiteral("typed"))->Loan, nullptr);
        EXPECT_EQ(r.script.Find(QStringLiteral("u"))->Loan, nullptr);
    }
}
