#include "script/zqSysFunctions.h"

#include "script/zqFunctionTable.h"
#include "script/zqOLE.h"
#include "toolkit/core/CodePages.h"
#include "toolkit/core/Currency.h"
#include "toolkit/core/DateUtils.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/core/FloatText.h"
#include "toolkit/core/Format.h"
#include "toolkit/core/FormatDateTime.h"
#include "toolkit/core/FormatFloat.h"
#include "toolkit/core/MaskUtils.h"
#include "toolkit/core/Random.h"
#include "toolkit/core/StrUtils.h"
#include "toolkit/core/TextLimits.h"
#include "toolkit/core/SysUtils.h"
#include "toolkit/core/VarRec.h"
#include "toolkit/core/VariantOps.h"
#include "toolkit/widgets/Dialogs.h"

#include <cmath>
#include <numbers>

namespace {

Variant param(TzqMethodHelper *caller, int index) { return caller->GetParams(index); }

// A double rounded to four decimals through the currency type; any other
// kind converted to a float directly.
double throughCurrency(const Variant &value)
{
    if (value.Type() == varDouble || value.Type() == varSingle)
        return Currency::FromDouble(value.AsDouble()).ToDouble();
    return value.AsDouble();
}

// The argument of a mathematical function: multiplied by the currency
// value 1, then taken as a float.
double mathArgument(TzqMethodHelper *caller)
{
    return VarMul(caller->GetParams(0), Variant(Currency::FromScaled(Currency::Scale))).AsDouble();
}

[[noreturn]] void invalidOp() { throw EInvalidOp(QStringLiteral("Invalid floating point operation")); }

// A float result; infinities and NaN raise as the classic floating-point
// unit would.
Variant checkedFloat(double value)
{
    if (std::isnan(value))
        invalidOp();
    if (std::isinf(value))
        throw EOverflow(QStringLiteral("Floating point overflow"));
    return Variant(value);
}

Variant toInt32(qint64 value)
{
    if (value < INT32_MIN || value > INT32_MAX)
        throw EIntOverflow(QStringLiteral("Integer overflow"));
    return Variant(int(value));
}

// The classic Delete: nothing for a position outside the text or a count
// below 1; the count is clamped to the end of the text.
QString deleted(QString s, int from, int count)
{
    if (from >= 1 && from <= s.size() && count > 0)
        s.remove(from - 1, std::min<qsizetype>(count, s.size() - from + 1));
    return s;
}

// The classic Insert: a position before the text inserts at its start, one
// after it appends.
QString inserted(const QString &what, QString s, int pos)
{
    CheckTextLength(qint64(s.size()) + what.size());
    s.insert(std::clamp<qsizetype>(pos, 1, s.size() + 1) - 1, what);
    return s;
}

// The path part of a file name up to and including the last separator of
// either kind or a drive colon, since report scripts name files as their
// authors' systems did ("C:\dir\file.txt", "C:file").
QString filePath(const QString &fileName)
{
    qsizetype end = fileName.size();
    while (end > 0 && !QStringView(u"/\\:").contains(fileName[end - 1]))
        --end;
    return fileName.left(end);
}

QString nameCase(const QString &s)
{
    QString result = AnsiLowerCase(s);
    for (qsizetype i = 0; i < result.size(); ++i) {
        if (i == 0 || result[i - 1] == u' ')
            result.replace(i, 1, AnsiUpperCase(result.mid(i, 1)));
    }
    return result;
}

Variant setLength(Variant value, int length)
{
    if (value.IsString() || value.IsEmpty() || value.IsNull()) {
        QString s = VarToStr(value);
        CheckTextLength(length);
        s.resize(std::max(length, 0), QChar(u' '));
        return Variant(s);
    }
    VarArrayRedim(value, length - 1);
    return value;
}

Variant varArrayCreate(const Variant &boundsArray, int type)
{
    const int count = boundsArray.HighBound(1) + 1;
    if (count % 2 != 0 || count == 0)
        throw EVariantArrayCreateError(QStringLiteral("Error creating variant or safe array"));
    std::vector<int> bounds(size_t(count), 0);
    for (int i = 0; i < count; ++i)
        bounds[size_t(i)] = boundsArray.GetElement({i}).AsInteger();
    return VarArrayCreate(bounds.data(), count, TVarType(type));
}

template <class Try>
Variant valid(Try attempt)
{
    try {
        attempt();
        return Variant(true);
    } catch (const Exception &) {
        return Variant(false);
    }
}

TzqFunctionTable conversions()
{
    return {
        {"function IntToStr(i: Integer): String", [](auto c) { return Variant(IntToStr(param(c, 0).AsInt64())); }},
        {"function FloatToStr(e: Extended): String", [](auto c) { return Variant(FloatToStr(zqFloat(c, 0))); }},
        {"function DateToStr(e: Extended): String", [](auto c) { return Variant(DateToStr(zqFloat(c, 0))); }},
        {"function TimeToStr(e: Extended): String", [](auto c) { return Variant(TimeToStr(zqFloat(c, 0))); }},
        {"function DateTimeToStr(e: Extended): String", [](auto c) { return Variant(DateTimeToStr(zqFloat(c, 0))); }},
        {"function BoolToStr(B: Boolean): string;", [](auto c) { return Variant(BoolToStr(param(c, 0).AsBoolean())); }},
        {"function VarToStr(v: Variant): String", [](auto c) { return Variant(zqText(c, 0)); }},
        {"function StrToInt(s: String): Integer", [](auto c) { return Variant(StrToInt(zqText(c, 0))); }},
        {"function StrToInt64(s: String): Int64", [](auto c) { return Variant(StrToInt64(zqText(c, 0))); }},
        {"function StrToFloat(s: String): Extended", [](auto c) { return Variant(StrToFloat(zqText(c, 0))); }},
        {"function StrToDate(s: String): Extended", [](auto c) { return Variant(StrToDate(zqText(c, 0))); }},
        {"function StrToTime(s: String): Extended", [](auto c) { return Variant(StrToTime(zqText(c, 0))); }},
        {"function StrToDateTime(s: String): Extended", [](auto c) { return Variant(StrToDateTime(zqText(c, 0))); }},
        {"function StrToBool(const S: string): Boolean;", [](auto c) { return Variant(param(c, 0).AsBoolean()); }},
    };
}

TzqFunctionTable formatting()
{
    return {
        {"function Format(Fmt: String; Args: array): String", [](auto c) { return Variant(FormatV(zqText(c, 0), param(c, 1))); }},
        {"function FormatFloat(Fmt: String; Value: Extended): String",
         [](auto c) { return Variant(FormatFloat(zqText(c, 0), throughCurrency(param(c, 1)))); }},
        {"function FormatDateTime(Fmt: String; DateTime: TDateTime): String",
         [](auto c) { return Variant(FormatDateTime(zqText(c, 0), zqFloat(c, 1))); }},
        {"function FormatMaskText(EditMask: string; Value: string): string",
         [](auto c) { return Variant(FormatMaskText(zqText(c, 0), zqText(c, 1))); }},
    };
}

TzqFunctionTable dates()
{
    return {
        {"function EncodeDate(Year, Month, Day: Word): TDateTime",
         [](auto c) { return Variant::FromDate(EncodeDate(zqInt(c, 0), zqInt(c, 1), zqInt(c, 2))); }},
        {"procedure DecodeDate(Date: TDateTime; var Year, Month, Day: Word)",
         [](auto c) {
             int year = 0, month = 0, day = 0;
             DecodeDate(zqFloat(c, 0), year, month, day);
             c->SetParams(1, Variant(year));
             c->SetParams(2, Variant(month));
             c->SetParams(3, Variant(day));
             return Variant();
         }},
        {"function EncodeTime(Hour, Min, Sec, MSec: Word): TDateTime",
         [](auto c) {
             return Variant::FromDate(EncodeTime(zqInt(c, 0), zqInt(c, 1), zqInt(c, 2), zqInt(c, 3)));
         }},
        {"procedure DecodeTime(Time: TDateTime; var Hour, Min, Sec, MSec: Word)",
         [](auto c) {
             int hour = 0, minute = 0, second = 0, msec = 0;
             DecodeTime(zqFloat(c, 0), hour, minute, second, msec);
             c->SetParams(1, Variant(hour));
             c->SetParams(2, Variant(minute));
             c->SetParams(3, Variant(second));
             c->SetParams(4, Variant(msec));
             return Variant();
         }},
        {"function Date: TDateTime", [](auto) { return Variant::FromDate(Date()); }},
        {"function Time: TDateTime", [](auto) { return Variant::FromDate(Time()); }},
        {"function Now: TDateTime", [](auto) { return Variant::FromDate(Now()); }},
        {"function DayOfWeek(aDate: TDateTime): Integer", [](auto c) { return Variant(DayOfWeek(zqFloat(c, 0))); }},
        {"function IsLeapYear(Year: Word): Boolean", [](auto c) { return Variant(IsLeapYear(zqInt(c, 0))); }},
        {"function DaysInMonth(nYear, nMonth: Integer): Integer",
         [](auto c) {
             const int days = DaysInMonth(zqInt(c, 0), zqInt(c, 1));
             if (days == 0)
                 throw ERangeError(QStringLiteral("Range check error"));
             return Variant(days);
         }},
    };
}

TzqFunctionTable strings()
{
    return {
        {"function Length(s: Variant): Integer",
         [](auto c) {
             const Variant s = param(c, 0);
             if (s.IsArray())
                 return Variant(s.HighBound(1) - s.LowBound(1) + 1);
             return Variant(int(VarToStr(s).size()));
         }},
        {"function Copy(s: String; from, count: Integer): String",
         [](auto c) { return Variant(Copy(zqText(c, 0), zqInt(c, 1), zqInt(c, 2))); }},
        {"function Pos(substr, s: String): Integer", [](auto c) { return Variant(Pos(zqText(c, 0), zqText(c, 1))); }},
        {"procedure Delete(var s: String; from, count: Integer)",
         [](auto c) {
             c->SetParams(0, Variant(deleted(zqText(c, 0), zqInt(c, 1), zqInt(c, 2))));
             return Variant();
         }},
        {"procedure DeleteStr(var s: String; from, count: Integer)",
         [](auto c) {
             c->SetParams(0, Variant(deleted(zqText(c, 0), zqInt(c, 1), zqInt(c, 2))));
             return Variant();
         }},
        {"procedure Insert(s: String; var s2: String; pos: Integer)",
         [](auto c) {
             c->SetParams(1, Variant(inserted(zqText(c, 0), zqText(c, 1), zqInt(c, 2))));
             return Variant();
         }},
        {"function Uppercase(s: String): String", [](auto c) { return Variant(AnsiUpperCase(zqText(c, 0))); }},
        {"function Lowercase(s: String): String", [](auto c) { return Variant(AnsiLowerCase(zqText(c, 0))); }},
        {"function Trim(s: String): String", [](auto c) { return Variant(Trim(zqText(c, 0))); }},
        {"function NameCase(s: String): String", [](auto c) { return Variant(nameCase(zqText(c, 0))); }},
        {"function CompareText(s, s1: String): Integer",
         [](auto c) { return Variant(AnsiCompareText(zqText(c, 0), zqText(c, 1))); }},
        {"function Chr(i: Integer): Char",
         [](auto c) { return Variant(QString(Cp1251ToChar(quint8(zqInt(c, 0))))); }},
        {"function Ord(ch: Char): Integer",
         [](auto c) {
             const QString s = zqText(c, 0);
             return Variant(s.isEmpty() ? 0 : int(CharToCp1251(s[0])));
         }},
        {"procedure SetLength(var S: Variant; L: Integer)",
         [](auto c) {
             c->SetParams(0, setLength(param(c, 0), zqInt(c, 1)));
             return Variant();
         }},
    };
}

TzqFunctionTable mathematics()
{
    return {
        {"function Round(e: Extended): Integer", [](auto c) { return toInt32(Round(mathArgument(c))); }},
        {"function Trunc(e: Extended): Integer", [](auto c) { return toInt32(Trunc(mathArgument(c))); }},
        {"function Int(e: Extended): Integer", [](auto c) { return checkedFloat(std::trunc(mathArgument(c))); }},
        {"function Frac(X: Extended): Extended",
         [](auto c) {
             const double x = mathArgument(c);
             return checkedFloat(x - std::trunc(x));
         }},
        {"function Sqrt(e: Extended): Extended", [](auto c) { return checkedFloat(std::sqrt(mathArgument(c))); }},
        {"function Abs(e: Extended): Extended", [](auto c) { return checkedFloat(std::fabs(mathArgument(c))); }},
        {"function Sin(e: Extended): Extended", [](auto c) { return checkedFloat(std::sin(mathArgument(c))); }},
        {"function Cos(e: Extended): Extended", [](auto c) { return checkedFloat(std::cos(mathArgument(c))); }},
        {"function ArcTan(X: Extended): Extended", [](auto c) { return checkedFloat(std::atan(mathArgument(c))); }},
        {"function Tan(X: Extended): Extended",
         [](auto c) {
             const double x = mathArgument(c);
             return checkedFloat(std::sin(x) / std::cos(x));
         }},
        {"function Exp(X: Extended): Extended", [](auto c) { return checkedFloat(std::exp(mathArgument(c))); }},
        {"function Ln(X: Extended): Extended",
         [](auto c) {
             const double x = mathArgument(c);
             if (x == 0)
                 throw EZeroDivide(QStringLiteral("Floating point division by zero"));
             return checkedFloat(std::log(x));
         }},
        {"function Pi: Extended", [](auto) { return Variant(std::numbers::pi); }},
    };
}

Variant step(TzqMethodHelper *caller)
{
    const Variant by = caller->GetParams(1);
    return by.IsNull() || by.IsEmpty() ? Variant(1) : by;
}

TzqFunctionTable others(std::vector<std::unique_ptr<TObject>> &oleObjects)
{
    return {
        {"procedure Inc(var i: Integer; incr: Integer = 1)",
         [](auto c) {
             c->SetParams(0, VarAdd(param(c, 0), step(c)));
             return Variant();
         }},
        {"procedure Dec(var i: Integer; decr: Integer = 1)",
         [](auto c) {
             c->SetParams(0, VarSub(param(c, 0), step(c)));
             return Variant();
         }},
        {"procedure RaiseException(Param: String)", [](auto c) -> Variant { throw Exception(zqText(c, 0)); }},
        {"procedure ShowMessage(Msg: Variant)",
         [](auto c) {
             ShowMessage(zqText(c, 0));
             return Variant();
         }},
        {"procedure Randomize",
         [](auto) {
             Randomize();
             return Variant();
         }},
        {"function Random: Extended", [](auto) { return Variant(Random()); }},
        {"function ValidInt(cInt: String): Boolean", [](auto c) { return valid([c] { StrToInt(zqText(c, 0)); }); }},
        {"function ValidFloat(cFlt: String): Boolean", [](auto c) { return valid([c] { StrToFloat(zqText(c, 0)); }); }},
        {"function ValidDate(cDate: String): Boolean",
         [](auto c) {
             const Variant value = param(c, 0);
             const QString s = value.Type() == varDate ? DateToStr(value.AsDouble()) : VarToStr(value);
             return valid([&s] { StrToDate(s); });
         }},
        {"function ExtractFilePath(const FileName: string): string;",
         [](auto c) { return Variant(filePath(zqText(c, 0))); }},
        {"function CreateOleObject(ClassName: String): Variant",
         [&oleObjects](auto c) {
             oleObjects.emplace_back(CreateOleObject(zqText(c, 0)));
             return Variant(oleObjects.back()->Handle());
         }},
        {"function VarArrayCreate(Bounds: Array; Typ: Integer): Variant",
         [](auto c) { return varArrayCreate(param(c, 0), zqInt(c, 1)); }},
        {"function VarType(V: Variant): Integer", [](auto c) { return Variant(int(VarType(param(c, 0)))); }},
    };
}

} // namespace

QString FormatV(const QString &format, const Variant &args)
{
    std::vector<TVarRec> records;
    if (args.IsArray())
        records = VarArrayToConstArray(args);
    for (TVarRec &record : records) {
        if (record.VType == TVarRec::vtExtended)
            record.VExtended = Currency::FromDouble(record.VExtended).ToDouble();
    }
    return Format(format, records);
}

TzqSysFunctions::TzqSysFunctions(TzqScript *script) : TzqRTTIModule(script)
{
    for (const char *name : {"Byte", "Word", "Integer", "Longint", "Cardinal", "TColor", "TAlphaColor"})
        script->AddType(QString::fromLatin1(name), fvtInt);
    script->AddType(QStringLiteral("Boolean"), fvtBool);
    for (const char *name : {"Real", "Single", "Double", "Extended", "Currency", "TDate", "TTime", "TDateTime"})
        script->AddType(QString::fromLatin1(name), fvtFloat);
    script->AddType(QStringLiteral("Char"), fvtChar);
    script->AddType(QStringLiteral("String"), fvtString);
    script->AddType(QStringLiteral("Variant"), fvtVariant);
    script->AddType(QStringLiteral("Pointer"), fvtVariant);
    script->AddType(QStringLiteral("Array"), fvtArray);
    script->AddType(QStringLiteral("Constructor"), fvtConstructor);

    script->AddConst(QStringLiteral("True"), QStringLiteral("Boolean"), Variant(true));
    script->AddConst(QStringLiteral("False"), QStringLiteral("Boolean"), Variant(false));
    script->AddConst(QStringLiteral("nil"), QStringLiteral("Variant"), Variant(0));
    script->AddConst(QStringLiteral("Null"), QStringLiteral("Variant"), Variant::Null());

    script->Add(QStringLiteral("__StringHelper"), std::make_unique<TzqStringHelper>(QStringLiteral("__StringHelper")));
    script->Add(QStringLiteral("__ArrayHelper"), std::make_unique<TzqArrayHelper>(QStringLiteral("__ArrayHelper"), 0));

    script->AddVariable(QStringLiteral("ExceptionClassName"), QStringLiteral("String"), Variant(QString()));
    script->AddVariable(QStringLiteral("ExceptionMessage"), QStringLiteral("String"), Variant(QString()));

    zqRegisterFunctions(script, QStringLiteral("ctConv"), conversions());
    zqRegisterFunctions(script, QStringLiteral("ctFormat"), formatting());
    zqRegisterFunctions(script, QStringLiteral("ctDate"), dates());
    zqRegisterFunctions(script, QStringLiteral("ctString"), strings());
    zqRegisterFunctions(script, QStringLiteral("ctMath"), mathematics());
    zqRegisterFunctions(script, QStringLiteral("ctOther"), others(m_oleObjects));

    zqRegisterConstants(script, {
        {"varEmpty", 0},      {"varNull", 1},     {"varSmallint", 2},  {"varInteger", 3},     {"varSingle", 4},
        {"varDouble", 5},     {"varCurrency", 6}, {"varDate", 7},      {"varOleStr", 8},      {"varDispatch", 9},
        {"varError", 10},     {"varBoolean", 11}, {"varVariant", 12},  {"varUnknown", 13},    {"varShortInt", 16},
        {"varByte", 17},      {"varWord", 18},    {"varLongWord", 19}, {"varInt64", 20},      {"varStrArg", 72},
        {"varString", 256},   {"varAny", 257},    {"varTypeMask", 4095}, {"varArray", 8192},  {"varByRef", 16384},
    });
}

TzqSysFunctions::~TzqSysFunctions() = default;

void RegisterSysFunctions()
{
    RTTIModuleList()->push_back([](TzqScript *script) { return std::make_unique<TzqSysFunctions>(script); });
}
