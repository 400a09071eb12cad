#include "toolkit/core/VariantOps.h"

#include "toolkit/core/CodePages.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/core/SysUtils.h"

#include <cmath>
#include <limits>

namespace {

[[noreturn]] void InvalidOp()
{
    throw EVariantInvalidOpError(QStringLiteral("Invalid variant operation"));
}

[[noreturn]] void IntOverflow()
{
    throw EIntOverflow(QStringLiteral("Integer overflow"));
}

// An operand of arithmetic after the Empty, Boolean and string rules.
struct Number
{
    enum Kind { Int, Cur, Float } kind = Int;
    qint64 i = 0; // the integer, or the scaled currency
    double d = 0;
    bool int64 = false; // an Int64 operand makes an Int64 result
    bool date = false;

    double AsDouble() const
    {
        switch (kind) {
        case Int: return double(i);
        case Cur: return Currency::FromScaled(i).ToDouble();
        case Float: break;
        }
        return d;
    }

    Currency AsCurrency() const
    {
        if (kind == Cur)
            return Currency::FromScaled(i);
        qint64 scaled;
        if (__builtin_mul_overflow(i, Currency::Scale, &scaled))
            throw EOverflow(QStringLiteral("Floating point overflow"));
        return Currency::FromScaled(scaled);
    }
};

bool FitsInt32(qint64 v)
{
    return v >= std::numeric_limits<qint32>::min() && v <= std::numeric_limits<qint32>::max();
}

Number IntNumber(qint64 value, bool int64)
{
    Number n;
    n.i = value;
    n.int64 = int64;
    return n;
}

Number FloatNumber(double value, bool date)
{
    Number n;
    n.kind = Number::Float;
    n.d = value;
    n.date = date;
    return n;
}

Number ToNumber(const Variant &v)
{
    switch (VarKindOf(v.Type())) {
    case VarKind::Empty: return IntNumber(0, false);
    case VarKind::Boolean: return IntNumber(v.AsBoolean() ? -1 : 0, false);
    case VarKind::Integer: return IntNumber(v.AsInt64(), v.Type() == varInt64);
    case VarKind::Currency: {
        Number n;
        n.kind = Number::Cur;
        n.i = v.AsCurrency().Scaled();
        return n;
    }
    case VarKind::Float: return FloatNumber(v.AsDouble(), v.Type() == varDate);
    case VarKind::String: {
        qint64 i;
        if (TryStrToInt64(v.AsString(), i))
            return IntNumber(i, !FitsInt32(i));
        // Raises the conversion error when the text is no number.
        return FloatNumber(v.AsDouble(), false);
    }
    default: InvalidOp();
    }
}

Variant IntResult(qint64 value, bool int64)
{
    if (!int64 && FitsInt32(value))
        return Variant(int(value));
    return Variant(value);
}

Variant FloatResult(double value, bool date)
{
    if (std::isinf(value))
        throw EOverflow(QStringLiteral("Floating point overflow"));
    return date ? Variant::FromDate(value) : Variant(value);
}

bool IsTextOperand(const Variant &v)
{
    const VarKind k = VarKindOf(v.Type());
    return k == VarKind::String || k == VarKind::Empty;
}

enum class Arith { Add, Sub, Mul };

Variant Arithmetic(Arith op, const Variant &a, const Variant &b)
{
    if (a.IsNull() || b.IsNull())
        return Variant::Null();
    if (op == Arith::Add && IsTextOperand(a) && IsTextOperand(b) && (a.IsString() || b.IsString())) {
        const QString text = a.AsString() + b.AsString();
        return a.Type() == varOleStr || b.Type() == varOleStr ? Variant::FromOleStr(text) : Variant(text);
    }
    const Number x = ToNumber(a);
    const Number y = ToNumber(b);
    if (x.kind == Number::Float || y.kind == Number::Float) {
        const double l = x.AsDouble();
        const double r = y.AsDouble();
        switch (op) {
        case Arith::Add: return FloatResult(l + r, x.date || y.date);
        case Arith::Sub: return FloatResult(l - r, x.date && !y.date);
        case Arith::Mul: return FloatResult(l * r, false);
        }
    }
    if (x.kind == Number::Cur || y.kind == Number::Cur) {
        const Currency l = x.AsCurrency();
        const Currency r = y.AsCurrency();
        switch (op) {
        case Arith::Add: return Variant(l + r);
        case Arith::Sub: return Variant(l - r);
        case Arith::Mul: return Variant(l * r);
        }
    }
    qint64 result = 0;
    bool overflow = false;
    switch (op) {
    case Arith::Add: overflow = __builtin_add_overflow(x.i, y.i, &result); break;
    case Arith::Sub: overflow = __builtin_sub_overflow(x.i, y.i, &result); break;
    case Arith::Mul: overflow = __builtin_mul_overflow(x.i, y.i, &result); break;
    }
    if (overflow)
        IntOverflow();
    return IntResult(result, x.int64 || y.int64);
}

bool IsWideInteger(const Variant &v)
{
    return v.Type() == varInt64;
}

// A Boolean beside a Boolean, or beside a "True"/"False" text, makes a
// logical operation.
bool LogicalOperands(const Variant &a, const Variant &b, bool &l, bool &r)
{
    const bool aBool = a.Type() == varBoolean;
    const bool bBool = b.Type() == varBoolean;
    if (!aBool && !bBool)
        return false;
    if ((!aBool && !a.IsString()) || (!bBool && !b.IsString()))
        return false;
    return TryStrToBool(a.AsString(), l) && TryStrToBool(b.AsString(), r);
}

enum class Logic { And, Or, Xor };

Variant Logical(Logic op, const Variant &a, const Variant &b)
{
    if (a.IsNull() || b.IsNull())
        return Variant::Null();
    bool l, r;
    if (LogicalOperands(a, b, l, r)) {
        switch (op) {
        case Logic::And: return Variant(l && r);
        case Logic::Or: return Variant(l || r);
        case Logic::Xor: return Variant(l != r);
        }
    }
    const qint64 x = a.AsInt64();
    const qint64 y = b.AsInt64();
    qint64 result = 0;
    switch (op) {
    case Logic::And: result = x & y; break;
    case Logic::Or: result = x | y; break;
    case Logic::Xor: result = x ^ y; break;
    }
    return IntResult(result, IsWideInteger(a) || IsWideInteger(b));
}

enum class IntOp { Div, Mod, Shl, Shr };

Variant IntegerOp(IntOp op, const Variant &a, const Variant &b)
{
    if (a.IsNull() || b.IsNull())
        return Variant::Null();
    const qint64 x = a.AsInt64();
    const qint64 y = b.AsInt64();
    const bool wide = IsWideInteger(a) || IsWideInteger(b);
    switch (op) {
    case IntOp::Div:
    case IntOp::Mod:
        if (y == 0)
            throw EDivByZero(QStringLiteral("Division by zero"));
        if (x == std::numeric_limits<qint64>::min() && y == -1) {
            if (op == IntOp::Mod)
                return IntResult(0, wide);
            IntOverflow();
        }
        return IntResult(op == IntOp::Div ? x / y : x % y, wide);
    case IntOp::Shl:
    case IntOp::Shr:
        if (IsWideInteger(a) || !(x >= std::numeric_limits<qint32>::min() && x <= 0xFFFFFFFFll)) {
            const quint64 u = quint64(x);
            const int count = int(y & 63);
            return Variant(qint64(op == IntOp::Shl ? u << count : u >> count));
        } else {
            const quint32 u = quint32(x);
            const int count = int(y & 31);
            return Variant(int(qint32(op == IntOp::Shl ? u << count : u >> count)));
        }
    }
    InvalidOp();
}

TVariantRelationship Order(int comparison)
{
    return comparison < 0 ? vrLessThan : comparison > 0 ? vrGreaterThan : vrEqual;
}

template <class T>
TVariantRelationship Order(T l, T r)
{
    return l < r ? vrLessThan : r < l ? vrGreaterThan : vrEqual;
}

} // namespace

Variant VarAdd(const Variant &a, const Variant &b)
{
    return Arithmetic(Arith::Add, a, b);
}

Variant VarSub(const Variant &a, const Variant &b)
{
    return Arithmetic(Arith::Sub, a, b);
}

Variant VarMul(const Variant &a, const Variant &b)
{
    return Arithmetic(Arith::Mul, a, b);
}

Variant VarDivide(const Variant &a, const Variant &b)
{
    if (a.IsNull() || b.IsNull())
        return Variant::Null();
    const double l = ToNumber(a).AsDouble();
    const double r = ToNumber(b).AsDouble();
    if (r == 0) {
        if (l == 0 || std::isnan(l))
            throw EInvalidOp(QStringLiteral("Invalid floating point operation"));
        throw EZeroDivide(QStringLiteral("Floating point division by zero"));
    }
    return FloatResult(l / r, false);
}

Variant VarIntDiv(const Variant &a, const Variant &b)
{
    return IntegerOp(IntOp::Div, a, b);
}

Variant VarMod(const Variant &a, const Variant &b)
{
    return IntegerOp(IntOp::Mod, a, b);
}

Variant VarShl(const Variant &a, const Variant &b)
{
    return IntegerOp(IntOp::Shl, a, b);
}

Variant VarShr(const Variant &a, const Variant &b)
{
    return IntegerOp(IntOp::Shr, a, b);
}

Variant VarAnd(const Variant &a, const Variant &b)
{
    return Logical(Logic::And, a, b);
}

Variant VarOr(const Variant &a, const Variant &b)
{
    return Logical(Logic::Or, a, b);
}

Variant VarXor(const Variant &a, const Variant &b)
{
    return Logical(Logic::Xor, a, b);
}

Variant VarNot(const Variant &a)
{
    switch (VarKindOf(a.Type())) {
    case VarKind::Null: return a;
    case VarKind::Boolean: return Variant(!a.AsBoolean());
    case VarKind::String: {
        qint64 i;
        bool b;
        if (!TryStrToInt64(a.AsString(), i) && TryStrToBool(a.AsString(), b))
            return Variant(!b);
        break;
    }
    case VarKind::Other: InvalidOp();
    default: break;
    }
    const qint64 value = a.AsInt64();
    if (IsWideInteger(a))
        return Variant(~value);
    return IntResult(~value, !FitsInt32(value));
}

Variant VarNeg(const Variant &a)
{
    switch (a.Type()) {
    case varNull: return a;
    case varSingle: return Variant::FromSingle(-float(a.AsDouble()));
    case varDouble: return Variant(-a.AsDouble());
    case varDate: return Variant::FromDate(-a.AsDouble());
    case varCurrency: return Variant(-a.AsCurrency());
    default: break;
    }
    if (a.IsArray() || VarKindOf(a.Type()) == VarKind::Other)
        InvalidOp();
    const Number n = ToNumber(a);
    if (n.kind == Number::Float)
        return Variant(-n.d);
    if (n.i == std::numeric_limits<qint64>::min())
        IntOverflow();
    return IntResult(-n.i, n.int64);
}

TVariantRelationship VarCompareValue(const Variant &a, const Variant &b)
{
    if (a.IsNull() || b.IsNull())
        return a.IsNull() && b.IsNull() ? vrEqual : vrNotEqual;
    const VarKind ka = VarKindOf(a.Type());
    const VarKind kb = VarKindOf(b.Type());
    if (ka == VarKind::Other || kb == VarKind::Other)
        InvalidOp();
    if (ka == VarKind::Empty && kb == VarKind::Empty)
        return vrEqual;
    if (IsTextOperand(a) && IsTextOperand(b))
        return Order(AnsiCompareStr(a.AsString(), b.AsString()));
    if ((ka == VarKind::Boolean && (kb == VarKind::Boolean || kb == VarKind::String))
        || (kb == VarKind::Boolean && ka == VarKind::String))
        return Order(a.AsBoolean(), b.AsBoolean());

    const Number x = ToNumber(a);
    const Number y = ToNumber(b);
    if (x.kind == Number::Float || y.kind == Number::Float) {
        const double l = x.AsDouble();
        const double r = y.AsDouble();
        if (std::isnan(l) || std::isnan(r))
            return vrNotEqual;
        return Order(l, r);
    }
    if (x.kind == Number::Int && y.kind == Number::Int)
        return Order(x.i, y.i);
    // Currency against currency or an integer, compared exactly.
    const __int128 l = x.kind == Number::Cur ? __int128(x.i) : __int128(x.i) * Currency::Scale;
    const __int128 r = y.kind == Number::Cur ? __int128(y.i) : __int128(y.i) * Currency::Scale;
    return Order(l, r);
}
