#pragma once

// Global functions of a binding module, declared once: each entry is the
// declaration a script sees and the code that answers it.  Registering a
// table adds every declaration to the script under one category, with one
// call-back that finds the entry by the upper-case name the script calls
// (first match); so nothing is registered that is not served.

#include "script/zqScript.h"
#include "toolkit/classes/ObjectHandles.h"

#include <functional>
#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

class TzqMethodHelper;

// Reads the arguments with GetParams, hands var parameters back with
// SetParams; a procedure answers Unassigned.
using TzqFunctionCall = std::function<Variant(TzqMethodHelper *Caller)>;

struct TzqFunctionEntry {
    const char *Syntax;
    TzqFunctionCall Call;
};

using TzqFunctionTable = std::vector<TzqFunctionEntry>;

// The argument at index as text, integer, float or Boolean (variant rules).
QString zqText(TzqMethodHelper *caller, int index);
int zqInt(TzqMethodHelper *caller, int index);
double zqFloat(TzqMethodHelper *caller, int index);
bool zqBool(TzqMethodHelper *caller, int index);
// The object argument at index: nil for 0, Null or Empty; a number that is no
// live handle raises EInvalidObject.
TObject *zqObjectArg(TzqMethodHelper *caller, int index);
// An object result: its handle, or 0 for nil; EInvalidObject for an object
// that is no longer alive (a freed one still kept by a host list).
Variant zqObjectValue(const TObject *object);
// The same for an address a host list keeps with the object's generation:
// raises when that object is gone, also when another now lives there.
Variant zqObjectValue(const TObject *object, quint32 generation);
Variant zqObjectValue(TObjectRef object);

// An enumeration (constants 0, 1, 2 ...) or a set (1, 2, 4 ...) and the
// comma-separated names of its members.
struct TzqEnumDeclaration {
    const char *Type;
    const char *Names;
    bool IsSet;
};

// Adds integer constants ("Integer"), in order, to script.
void zqRegisterConstants(TzqScript *script, std::initializer_list<std::pair<const char *, int>> constants);

// Adds the enumerations and sets, in order, to script.
void zqRegisterEnums(TzqScript *script, std::initializer_list<TzqEnumDeclaration> declarations);

// Adds the table's functions, in order, to script.
void zqRegisterFunctions(TzqScript *script, const QString &category, TzqFunctionTable table);
