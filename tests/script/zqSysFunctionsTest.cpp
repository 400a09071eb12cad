// The system library from scripts: every function with exact values in
// PascalScript, a representative set in the other languages, and the
// registrations every script gets first.

#include "ModuleTestSupport.h"

#include "script/zqSysFunctions.h"
#include "toolkit/ScriptedModalRunner.h"
#include "toolkit/core/DateUtils.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class SysScript : public ModuleRunner
{
public:
    // The value of a PascalScript expression.
    Variant Eval(const QString &expression)
    {
        EXPECT_TRUE(Run(QStringLiteral("PascalScript"),
                        QStringLiteral("var r: Variant;\nbegin\n  r := ") + expression + QStringLiteral("\nend.")))
            << qPrintable(expression);
        return Value(QStringLiteral("r"));
    }
    QString Text(const QString &expression) { return VarToStr(Eval(expression)); }

    // The class name and message of the exception the expression raises.
    QString Raised(const QString &expression)
    {
        return ModuleRunner::Raised(QStringLiteral("var r: Variant;\nbegin\n  r := ") + expression + QStringLiteral("\nend."));
    }
};

TEST(zqSysFunctions, RegistersTypesConstantsAccessorsAndVariables)
{
    SysScript s;
    for (const char *name : {"Byte", "Word", "Integer", "Longint", "Cardinal", "TColor", "TAlphaColor"})
        EXPECT_EQ(s.script.Find(QString::fromLatin1(name))->Typ, fvtInt) << name;
    EXPECT_EQ(s.script.Find(QStringLiteral("TDateTime"))->Typ, fvtFloat);
    EXPECT_EQ(s.script.Find(QStringLiteral("Pointer"))->Typ, fvtVariant);
    EXPECT_EQ(s.script.Find(QStringLiteral("Constructor"))->Typ, fvtConstructor);
    EXPECT_FALSE(s.script.Find(QStringLiteral("Int64")));
    EXPECT_TRUE(dynamic_cast<TzqStringHelper *>(s.script.Find(QStringLiteral("__StringHelper"))));
    EXPECT_TRUE(dynamic_cast<TzqArrayHelper *>(s.script.Find(QStringLiteral("__ArrayHelper"))));
    EXPECT_EQ(s.Eval(QStringLiteral("varByRef")).AsInteger(), 16384);
    EXPECT_EQ(s.Eval(QStringLiteral("varTypeMask")).AsInteger(), 4095);
    EXPECT_EQ(s.Eval(QStringLiteral("VarType(varString)")).AsInteger(), 3);
    EXPECT_TRUE(s.Eval(QStringLiteral("Null")).IsNull());

    // The library alone, without the modules that follow it.
    TzqScript alone;
    const TzqSysFunctions library(&alone);
    int functions = 0;
    QStringList categories;
    for (int i = 0; i < alone.Count(); ++i) {
        if (auto *method = dynamic_cast<TzqMethodHelper *>(alone.Items(i))) {
            ++functions;
            if (!categories.contains(method->Category))
                categories << method->Category;
        }
    }
    EXPECT_EQ(functions, 68);
    categories.sort();
    EXPECT_EQ(categories.join(u','), QStringLiteral("ctConv,ctDate,ctFormat,ctMath,ctOther,ctString"));

    s.script.AddRTTIModules();
    s.script.Clear();
    EXPECT_TRUE(s.script.Find(QStringLiteral("IntToStr")));
}

TEST(zqSysFunctions, Conversions)
{
    SysScript s;
    EXPECT_EQ(s.Text(QStringLiteral("IntToStr(-42)")), QStringLiteral("-42"));
    EXPECT_EQ(s.Text(QStringLiteral("FloatToStr(2.5)")), QStringLiteral("2,5"));
    EXPECT_EQ(s.Text(QStringLiteral("DateToStr(EncodeDate(2024, 2, 29))")), QStringLiteral("29.02.2024"));
    EXPECT_EQ(s.Text(QStringLiteral("TimeToStr(EncodeTime(7, 5, 3, 0))")), QStringLiteral("07:05:03"));
    EXPECT_EQ(s.Text(QStringLiteral("DateTimeToStr(EncodeDate(2024, 2, 29) + EncodeTime(7, 5, 3, 0))")),
              QStringLiteral("29.02.2024 07:05:03"));
    EXPECT_EQ(s.Text(QStringLiteral("BoolToStr(True)")), QStringLiteral("-1"));
    EXPECT_EQ(s.Text(QStringLiteral("BoolToStr(False)")), QStringLiteral("0"));
    EXPECT_EQ(s.Text(QStringLiteral("VarToStr(Null)")), QString());
    EXPECT_EQ(s.Eval(QStringLiteral("StrToInt(' 12')")).AsInteger(), 12);
    EXPECT_EQ(s.Eval(QStringLiteral("StrToInt('$1F')")).AsInteger(), 31);
    EXPECT_EQ(s.Eval(QStringLiteral("StrToInt64('9000000000')")).AsInt64(), Q_INT64_C(9000000000));
    EXPECT_DOUBLE_EQ(s.Eval(QStringLiteral("StrToFloat('1,25')")).AsDouble(), 1.25);
    EXPECT_DOUBLE_EQ(s.Eval(QStringLiteral("StrToDate('01.01.2000')")).AsDouble(), 36526);
    EXPECT_DOUBLE_EQ(s.Eval(QStringLiteral("StrToTime('12:00:00')")).AsDouble(), 0.5);
    EXPECT_DOUBLE_EQ(s.Eval(QStringLiteral("StrToDateTime('01.01.2000 18:00')")).AsDouble(), 36526.75);
    EXPECT_TRUE(s.Eval(QStringLiteral("StrToBool('True')")).AsBoolean());
    EXPECT_FALSE(s.Eval(QStringLiteral("StrToBool('0')")).AsBoolean());
    EXPECT_EQ(s.Raised(QStringLiteral("StrToInt('12a')")), QStringLiteral("EConvertError: '12a' is not a valid integer value"));
}

TEST(zqSysFunctions, FormattingPassesFloatsThroughCurrency)
{
    SysScript s;
    EXPECT_EQ(s.Text(QStringLiteral("Format('%.6f', [1.234567])")), QStringLiteral("1,234600"));
    EXPECT_EQ(s.Text(QStringLiteral("Format('%.2f|%.2f', [1.5, 2.25])")), QStringLiteral("1,50|2,25"));
    EXPECT_EQ(s.Text(QStringLiteral("Format('%d-%s', [7, 'x'])")), QStringLiteral("7-x"));
    EXPECT_EQ(s.Text(QStringLiteral("FormatFloat('0.000000', 1.23456789)")), QStringLiteral("1,234600"));
    EXPECT_EQ(s.Text(QStringLiteral("FormatFloat('#,##0.00', 1234.5)")), QString::fromUtf8("1\u00A0234,50"));
    EXPECT_EQ(s.Text(QStringLiteral("FormatDateTime('yyyy-mm-dd hh:nn', EncodeDate(2001, 2, 3) + EncodeTime(4, 5, 0, 0))")),
              QStringLiteral("2001-02-03 04:05"));
    EXPECT_EQ(s.Text(QStringLiteral("FormatMaskText('000-000;0;_', '123456')")), QStringLiteral("123-456"));
    EXPECT_EQ(s.Raised(QStringLiteral("FormatFloat('0', 1e300)")), QStringLiteral("EOverflow: Floating point overflow"));
    EXPECT_EQ(s.Raised(QStringLiteral("Format('%f', [1e300])")), QStringLiteral("EOverflow: Floating point overflow"));
}

TEST(zqSysFunctions, Dates)
{
    SysScript s;
    ASSERT_TRUE(s.Run(QStringLiteral("PascalScript"), QStringLiteral(R"(
var y, m, d, h, n, sec, ms: Integer; today, clock, now1: Variant;
begin
  DecodeDate(EncodeDate(1999, 12, 31), y, m, d);
  DecodeTime(EncodeTime(23, 59, 58, 997), h, n, sec, ms);
  today := Date; clock := Time; now1 := Now
end.
)")));
    EXPECT_EQ(s.Value(QStringLiteral("y")).AsInteger(), 1999);
    EXPECT_EQ(s.Value(QStringLiteral("m")).AsInteger(), 12);
    EXPECT_EQ(s.Value(QStringLiteral("d")).AsInteger(), 31);
    EXPECT_EQ(s.Value(QStringLiteral("h")).AsInteger(), 23);
    EXPECT_EQ(s.Value(QStringLiteral("n")).AsInteger(), 59);
    EXPECT_EQ(s.Value(QStringLiteral("sec")).AsInteger(), 58);
    EXPECT_EQ(s.Value(QStringLiteral("ms")).AsInteger(), 997);
    const double today = s.Value(QStringLiteral("today")).AsDouble();
    EXPECT_GT(today, 45000);
    EXPECT_EQ(today, std::floor(today));
    const double clock = s.Value(QStringLiteral("clock")).AsDouble();
    EXPECT_TRUE(clock >= 0 && clock < 1);
    EXPECT_GE(s.Value(QStringLiteral("now1")).AsDouble(), today);

    EXPECT_EQ(s.Eval(QStringLiteral("DayOfWeek(EncodeDate(2024, 6, 2))")).AsInteger(), 1);
    EXPECT_EQ(s.Eval(QStringLiteral("DayOfWeek(EncodeDate(2024, 6, 8))")).AsInteger(), 7);
    EXPECT_TRUE(s.Eval(QStringLiteral("IsLeapYear(2000)")).AsBoolean());
    EXPECT_FALSE(s.Eval(QStringLiteral("IsLeapYear(1900)")).AsBoolean());
    EXPECT_EQ(s.Eval(QStringLiteral("DaysInMonth(2000, 2)")).AsInteger(), 29);
    EXPECT_EQ(s.Eval(QStringLiteral("DaysInMonth(1900, 2)")).AsInteger(), 28);
    EXPECT_EQ(s.Eval(QStringLiteral("DaysInMonth(2001, 4)")).AsInteger(), 30);
    EXPECT_EQ(s.Raised(QStringLiteral("DaysInMonth(2001, 13)")), QStringLiteral("ERangeError: Range check error"));
    EXPECT_EQ(s.Raised(QStringLiteral("EncodeDate(2001, 2, 30)")).section(u':', 0, 0), QStringLiteral("EConvertError"));
}

TEST(zqSysFunctions, Strings)
{
    SysScript s;
    EXPECT_EQ(s.Eval(QStringLiteral("Length('abc')")).AsInteger(), 3);
    EXPECT_EQ(s.Eval(QStringLiteral("Length(123)")).AsInteger(), 3);
    EXPECT_EQ(s.Eval(QStringLiteral("Length(VarArrayCreate([0, 4], varVariant))")).AsInteger(), 5);
    EXPECT_EQ(s.Text(QStringLiteral("Copy('abcdef', 2, 3)")), QStringLiteral("bcd"));
    EXPECT_EQ(s.Text(QStringLiteral("Copy('abcdef', 5, 10)")), QStringLiteral("ef"));
    EXPECT_EQ(s.Eval(QStringLiteral("Pos('cd', 'abcdef')")).AsInteger(), 3);
    EXPECT_EQ(s.Eval(QStringLiteral("Pos('x', 'abcdef')")).AsInteger(), 0);
    EXPECT_EQ(s.Text(QStringLiteral("Uppercase('abc жёл')")), QStringLiteral("ABC ЖЁЛ"));
    EXPECT_EQ(s.Text(QStringLiteral("Lowercase('ABC ЖЁЛ')")), QStringLiteral("abc жёл"));
    EXPECT_EQ(s.Text(QStringLiteral("Trim(#9'  ab '#13#10)")), QStringLiteral("ab"));
    EXPECT_EQ(s.Text(QStringLiteral("NameCase('иВАН  пЕТРОВ smith')")), QStringLiteral("Иван  Петров Smith"));
    EXPECT_EQ(s.Eval(QStringLiteral("CompareText('abc', 'ABC')")).AsInteger(), 0);
    EXPECT_LT(s.Eval(QStringLiteral("CompareText('a', 'B')")).AsInteger(), 0);
    EXPECT_EQ(s.Text(QStringLiteral("Chr(65) + Chr(200)")), QStringLiteral("AИ"));
    EXPECT_EQ(s.Eval(QStringLiteral("Ord('И')")).AsInteger(), 200);
    EXPECT_EQ(s.Eval(QStringLiteral("Ord('')")).AsInteger(), 0);

    ASSERT_TRUE(s.Run(QStringLiteral("PascalScript"), QStringLiteral(R"(
var a, b, c, d, e, f: String; arr, g: Variant;
begin
  a := 'abcdef'; Delete(a, 2, 3);
  b := 'abcdef'; DeleteStr(b, 5, 100);
  c := 'abc'; Delete(c, 0, 1);
  d := 'ad'; Insert('bc', d, 2);
  e := 'ab'; Insert('z', e, 100);
  f := 'abc'; SetLength(f, 2);
  arr := VarArrayCreate([0, 1], varVariant); SetLength(arr, 4);
  g := 'xyz'; SetLength(g, 1)
end.
)")));
    EXPECT_EQ(VarToStr(s.Value(QStringLiteral("a"))), QStringLiteral("aef"));
    EXPECT_EQ(VarToStr(s.Value(QStringLiteral("b"))), QStringLiteral("abcd"));
    EXPECT_EQ(VarToStr(s.Value(QStringLiteral("c"))), QStringLiteral("abc"));
    EXPECT_EQ(VarToStr(s.Value(QStringLiteral("d"))), QStringLiteral("abcd"));
    EXPECT_EQ(VarToStr(s.Value(QStringLiteral("e"))), QStringLiteral("abz"));
    EXPECT_EQ(VarToStr(s.Value(QStringLiteral("f"))), QStringLiteral("ab"));
    EXPECT_EQ(s.Value(QStringLiteral("arr")).HighBound(1), 3);
    EXPECT_EQ(VarToStr(s.Value(QStringLiteral("g"))), QStringLiteral("x"));
}

TEST(zqSysFunctions, MathematicsMultipliesByCurrencyOne)
{
    SysScript s;
    EXPECT_EQ(s.Eval(QStringLiteral("Round(2.5)")).AsInteger(), 2);
    EXPECT_EQ(s.Eval(QStringLiteral("Round(3.5)")).AsInteger(), 4);
    EXPECT_EQ(s.Eval(QStringLiteral("Trunc(-2.7)")).AsInteger(), -2);
    const Variant i = s.Eval(QStringLiteral("Int(2.7)"));
    EXPECT_EQ(i.Type(), varDouble);
    EXPECT_EQ(i.AsDouble(), 2.0);
    EXPECT_NEAR(s.Eval(QStringLiteral("Frac(2.75)")).AsDouble(), 0.75, 1e-12);
    EXPECT_DOUBLE_EQ(s.Eval(QStringLiteral("Sqrt(16)")).AsDouble(), 4);
    EXPECT_DOUBLE_EQ(s.Eval(QStringLiteral("Abs(-3)")).AsDouble(), 3);
    EXPECT_NE(s.Eval(QStringLiteral("Sin(0.00001)")).AsDouble(), 0);
    EXPECT_DOUBLE_EQ(s.Eval(QStringLiteral("Cos(0)")).AsDouble(), 1);
    EXPECT_DOUBLE_EQ(s.Eval(QStringLiteral("ArcTan(1) * 4")).AsDouble(), M_PI);
    EXPECT_NEAR(s.Eval(QStringLiteral("Tan(Pi / 4)")).AsDouble(), 1, 1e-12);
    EXPECT_DOUBLE_EQ(s.Eval(QStringLiteral("Ln(Exp(2))")).AsDouble(), 2);
    EXPECT_DOUBLE_EQ(s.Eval(QStringLiteral("Pi")).AsDouble(), M_PI);
    EXPECT_EQ(s.Raised(QStringLiteral("Round(3000000000.0)")), QStringLiteral("EIntOverflow: Integer overflow"));
    EXPECT_EQ(s.Raised(QStringLiteral("Trunc(-3000000000.0)")), QStringLiteral("EIntOverflow: Integer overflow"));
    EXPECT_EQ(s.Raised(QStringLiteral("Sqrt(-1)")), QStringLiteral("EInvalidOp: Invalid floating point operation"));
    EXPECT_EQ(s.Raised(QStringLiteral("Ln(0)")), QStringLiteral("EZeroDivide: Floating point division by zero"));

    // Text arguments turn into numbers through the multiplication.
    ASSERT_TRUE(s.Run(QStringLiteral("PascalScript"), QStringLiteral(R"(
var v, r, caught: Variant;
begin
  v := '7,6'; r := Round(v);
  v := 'x';
  try Sqrt(v) except caught := ExceptionClassName end
end.
)")));
    EXPECT_EQ(s.Value(QStringLiteral("r")).AsInteger(), 8);
    EXPECT_EQ(VarToStr(s.Value(QStringLiteral("caught"))), QStringLiteral("EVariantTypeCastError"));
}

TEST(zqSysFunctions, OtherFunctions)
{
    SysScript s;
    ScriptedModalRunner runner;
    ASSERT_TRUE(s.Run(QStringLiteral("PascalScript"), QStringLiteral(R"(
var a, b, c, d, r: Variant; caught: String;
begin
  a := 1; Inc(a); Inc(a, 5);
  b := 10; Dec(b); Dec(b, 4);
  try RaiseException('boom') except caught := ExceptionMessage end;
  ShowMessage(42);
  Randomize; r := Random;
  c := VarArrayCreate([1, 2, 0, 3], varInteger);
  d := VarType(c)
end.
)")));
    EXPECT_EQ(s.Value(QStringLiteral("a")).AsInteger(), 7);
    EXPECT_EQ(s.Value(QStringLiteral("b")).AsInteger(), 5);
    EXPECT_EQ(VarToStr(s.Value(QStringLiteral("caught"))), QStringLiteral("boom"));
    ASSERT_EQ(runner.messages.size(), 1u);
    EXPECT_EQ(runner.messages[0].Text, QStringLiteral("42"));
    const double r = s.Value(QStringLiteral("r")).AsDouble();
    EXPECT_TRUE(r >= 0 && r < 1);
    const Variant c = s.Value(QStringLiteral("c"));
    EXPECT_EQ(c.DimCount(), 2);
    EXPECT_EQ(c.LowBound(1), 1);
    EXPECT_EQ(c.HighBound(2), 3);
    EXPECT_EQ(s.Value(QStringLiteral("d")).AsInteger(), 8192 + 3);

    EXPECT_TRUE(s.Eval(QStringLiteral("ValidInt('123')")).AsBoolean());
    EXPECT_FALSE(s.Eval(QStringLiteral("ValidInt('123a')")).AsBoolean());
    EXPECT_TRUE(s.Eval(QStringLiteral("ValidFloat('1,5')")).AsBoolean());
    EXPECT_FALSE(s.Eval(QStringLiteral("ValidFloat('1,5,')")).AsBoolean());
    EXPECT_TRUE(s.Eval(QStringLiteral("ValidDate('31.12.2000')")).AsBoolean());
    ASSERT_TRUE(s.Run(QStringLiteral("PascalScript"),
                      QStringLiteral("var d, r: Variant;\nbegin\n  d := EncodeDate(2000, 1, 2); r := ValidDate(d)\nend.")));
    EXPECT_TRUE(s.Value(QStringLiteral("r")).AsBoolean());
    EXPECT_FALSE(s.Eval(QStringLiteral("ValidDate('31.02.2000')")).AsBoolean());
    EXPECT_EQ(s.Text(QStringLiteral("ExtractFilePath('/a/b/c.txt')")), QStringLiteral("/a/b/"));
    EXPECT_EQ(s.Raised(QStringLiteral("CreateOleObject('Word.Application')")),
              QStringLiteral("EOleError: OLE error 800401F3: Word.Application: Invalid class string"));
    EXPECT_EQ(s.Raised(QStringLiteral("VarArrayCreate([0, 1, 2], varVariant)")).section(u':', 0, 0),
              QStringLiteral("EVariantArrayCreateError"));
}

TEST(zqSysFunctions, OtherLanguages)
{
    SysScript cpp;
    ASSERT_TRUE(cpp.Run(QStringLiteral("C++Script"), QStringLiteral(R"(
int n = 1; string s, t;
{
  Inc(n, 4);
  s = Format("%d:%s", [n, Uppercase("ab")]);
  t = Copy("abcdef", 2, 2) + IntToStr(Round(2.5));
}
)")));
    EXPECT_EQ(cpp.Value(QStringLiteral("n")).AsInteger(), 5);
    EXPECT_EQ(VarToStr(cpp.Value(QStringLiteral("s"))), QStringLiteral("5:AB"));
    EXPECT_EQ(VarToStr(cpp.Value(QStringLiteral("t"))), QStringLiteral("bc2"));

    SysScript basic;
    ASSERT_TRUE(basic.Run(QStringLiteral("BasicScript"), QStringLiteral(R"(
Dim s, d, y, m, dd
s = FormatFloat("0.00", 1.125) & "|" & Trim("  x  ")
d = EncodeDate(2020, 3, 4)
DecodeDate(d, y, m, dd)
)")));
    EXPECT_EQ(VarToStr(basic.Value(QStringLiteral("s"))), QStringLiteral("1,13|x"));
    EXPECT_EQ(basic.Value(QStringLiteral("m")).AsInteger(), 3);
    EXPECT_EQ(basic.Value(QStringLiteral("dd")).AsInteger(), 4);

    SysScript js;
    ASSERT_TRUE(js.Run(QStringLiteral("JScript"), QStringLiteral(R"(
var a = "hello", p = Pos("ll", a), len = Length(a), up = NameCase("hello world");
Insert("<", a, 1);
)")));
    EXPECT_EQ(js.Value(QStringLiteral("p")).AsInteger(), 3);
    EXPECT_EQ(js.Value(QStringLiteral("len")).AsInteger(), 5);
    EXPECT_EQ(VarToStr(js.Value(QStringLiteral("up"))), QStringLiteral("Hello World"));
    EXPECT_EQ(VarToStr(js.Value(QStringLiteral("a"))), QStringLiteral("<hello"));
}

} // namespace

TEST(zqSysFunctions, TextsGrowOnlyUpToTheCapAndTheProgramCatchesIt)
{
    SysScript s;
    EXPECT_EQ(s.Raised(QStringLiteral("SetLength(r, 2000000000)")), QStringLiteral("EOutOfMemory: Text too long"));
    ASSERT_TRUE(s.Run(QStringLiteral("PascalScript"), QStringLiteral(R"(
var t, a, caughtInsert, caughtFormat, caughtArray: Variant; i: Integer;
begin
  t := 'ab';
  try
    for i := 1 to 40 do Insert(t, t, 1)
  except
    caughtInsert := ExceptionClassName + ': ' + ExceptionMessage
  end;
  try
    t := Format('%s%s%s%s%s', [t, t, t, t, t])
  except
    caughtFormat := ExceptionMessage
  end;
  a := VarArrayCreate([0, 1], varVariant);
  try SetLength(a, 2000000000) except caughtArray := ExceptionClassName end
end.
)")));
    EXPECT_EQ(VarToStr(s.Value(QStringLiteral("caughtInsert"))), QStringLiteral("EOutOfMemory: Text too long"));
    EXPECT_EQ(VarToStr(s.Value(QStringLiteral("caughtFormat"))), QStringLiteral("Text too long"));
    EXPECT_EQ(VarToStr(s.Value(QStringLiteral("caughtArray"))), QStringLiteral("EVariantArrayCreateError"));
    EXPECT_EQ(s.Text(QStringLiteral("Format('%5s|%-3s|', ['ab', 'c'])")), QStringLiteral("   ab|c  |"));
}

TEST(zqSysFunctions, RuntimeCornerCasesFollowTheClassicRuntime)
{
    SysScript s;
    EXPECT_EQ(s.Text(QStringLiteral("ExtractFilePath('C:\\dir\\file.txt')")), QStringLiteral("C:\\dir\\"));
    EXPECT_EQ(s.Text(QStringLiteral("ExtractFilePath('C:file')")), QStringLiteral("C:"));
    EXPECT_EQ(s.Text(QStringLiteral("ExtractFilePath('file')")), QString());
    EXPECT_EQ(s.Text(QStringLiteral("FormatFloat(';0', -1234.5678)")), QStringLiteral("1235"));
    EXPECT_DOUBLE_EQ(s.Eval(QStringLiteral("StrToFloat('1,5' + Chr(0) + 'junk')")).AsDouble(), 1.5);
    EXPECT_EQ(s.Raised(QStringLiteral("StrToDate(Chr(9) + '01.02.2020')")).section(u':', 0, 0),
              QStringLiteral("EConvertError"));
}
