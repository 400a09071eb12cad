#pragma once

// Operators on variants.
//
// Null in an arithmetic or logical operation gives Null.  Empty acts as 0,
// or as "" beside a string.  Boolean acts as -1 / 0 in arithmetic.  A string
// beside a number is read as a number (an integer when it reads as one, else
// a float; EVariantTypeCastError when it is no number).
//
// Result kinds: string + string concatenates (OleStr when either side is
// wide); integers stay integers and widen to Int64 rather than wrap (beyond
// Int64 EIntOverflow); an integer with Currency gives Currency; Currency with
// a float gives Double; Date plus or minus a number stays a Date, Date minus
// Date is a Double; "/" always divides as Double.
//
// Errors keep the classic texts: "/" by zero raises EZeroDivide ("Floating
// point division by zero"), 0/0 EInvalidOp, div and mod by zero EDivByZero
// ("Division by zero"); an operation on arrays or other kinds raises
// EVariantInvalidOpError ("Invalid variant operation").

#include "toolkit/core/Variants.h"

Variant VarAdd(const Variant &a, const Variant &b);
Variant VarSub(const Variant &a, const Variant &b);
Variant VarMul(const Variant &a, const Variant &b);
Variant VarDivide(const Variant &a, const Variant &b); // "/"
Variant VarIntDiv(const Variant &a, const Variant &b); // div
Variant VarMod(const Variant &a, const Variant &b);

// Shifts of a 32-bit operand wrap within 32 bits (count mod 32), as integer
// bit masks expect; an Int64 operand shifts within 64 bits.
Variant VarShl(const Variant &a, const Variant &b);
Variant VarShr(const Variant &a, const Variant &b);

// Logical when both sides are Boolean (or a Boolean and a "True"/"False"
// text), bitwise on integers otherwise.
Variant VarAnd(const Variant &a, const Variant &b);
Variant VarOr(const Variant &a, const Variant &b);
Variant VarXor(const Variant &a, const Variant &b);
Variant VarNot(const Variant &a);
Variant VarNeg(const Variant &a);

// How two values relate.  Null equals only Null; Null against anything else
// is vrNotEqual, so every ordering comparison with one Null is false.
// Strings compare case-sensitively in alphabetical order (AnsiCompareStr);
// a string against a number is read as a number; False < True.
enum TVariantRelationship { vrEqual, vrLessThan, vrGreaterThan, vrNotEqual };
TVariantRelationship VarCompareValue(const Variant &a, const Variant &b);

inline Variant operator+(const Variant &a, const Variant &b) { return VarAdd(a, b); }
inline Variant operator-(const Variant &a, const Variant &b) { return VarSub(a, b); }
inline Variant operator*(const Variant &a, const Variant &b) { return VarMul(a, b); }
inline Variant operator/(const Variant &a, const Variant &b) { return VarDivide(a, b); }
inline Variant operator-(const Variant &a) { return VarNeg(a); }

inline bool operator==(const Variant &a, const Variant &b) { return VarCompareValue(a, b) == vrEqual; }
inline bool operator!=(const Variant &a, const Variant &b) { return VarCompareValue(a, b) != vrEqual; }
inline bool operator<(const Variant &a, const Variant &b) { return VarCompareValue(a, b) == vrLessThan; }
inline bool operator>(const Variant &a, const Variant &b) { return VarCompareValue(a, b) == vrGreaterThan; }
inline bool operator<=(const Variant &a, const Variant &b)
{
    const TVariantRelationship r = VarCompareValue(a, b);
    return r == vrLessThan || r == vrEqual;
}
inline bool operator>=(const Variant &a, const Variant &b)
{
    const TVariantRelationship r = VarCompareValue(a, b);
    return r == vrGreaterThan || r == vrEqual;
}
