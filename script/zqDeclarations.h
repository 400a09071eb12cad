#pragma once

// Host functions and methods are registered with one-line declarations in
// PascalScript syntax:
//
//   [macro]function Name(var A, B: Integer; const S: String = 'x'): Type
//   procedure Name(P: Variant = 0)
//
// A parameter group takes the type after its ':'; "var" makes it by
// reference and "const" is ignored.  A default value is a number, a string,
// a negative number or the name of something the script knows, whose current
// value is used; only the last name of a group carries it.  The result type
// is the word after the last ':' of the whole declaration.  Malformed
// declarations yield fewer parameters or empty types, never an error.

#include "script/zqVariables.h"

#include <QString>
#include <memory>

class TzqScript;

// The descriptor of a declaration: name, result type, macro flag and one
// parameter item per formal parameter.
std::unique_ptr<TzqCustomVariable> ParseMethodSyntax(const QString &declaration, TzqScript *script);

// The kind of a type name the script knows; fvtClass for any other name.
TzqVarType StrToVarType(const QString &typeName, TzqScript *script);

// A constant as the translator writes it: a string between apostrophes, an
// integer (decimal or "$" hexadecimal; 32-bit when it fits, else 64-bit) or
// a floating number with a decimal point; empty text gives an unassigned
// value.
Variant ParseConstant(const QString &text);
