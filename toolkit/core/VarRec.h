#pragma once

// The records of an open argument list ("array of const"), as Format takes
// them, and their conversions to and from variants.

#include "toolkit/core/Variants.h"

#include <QChar>
#include <QString>

#include <vector>

class TVarRec
{
public:
    enum Kind { vtInteger, vtBoolean, vtChar, vtExtended, vtString, vtObject, vtVariant, vtInt64 };

    TVarRec(int value) : VType(vtInteger), VInteger(value) {}
    TVarRec(qint64 value) : VType(vtInt64), VInteger(value) {}
    TVarRec(double value) : VType(vtExtended), VExtended(value) {}
    TVarRec(bool value) : VType(vtBoolean), VInteger(value) {}
    TVarRec(QChar value) : VType(vtChar), VString(value) {}
    TVarRec(const QString &value) : VType(vtString), VString(value) {}
    TVarRec(const char *utf8) : TVarRec(QString::fromUtf8(utf8)) {}
    TVarRec(const Variant &value) : VType(vtVariant), VVariant(value) {}
    TVarRec(const void *) = delete;

    // An object, by its handle.
    static TVarRec Object(qint32 handle);

    Kind VType;
    qint64 VInteger = 0; // vtInteger, vtInt64, vtBoolean (0 / 1), vtObject (handle)
    double VExtended = 0;
    QString VString; // vtString, vtChar (one character)
    Variant VVariant;
};

// Integer kinds give vtInteger (vtInt64 for Int64 and for LongWord values
// beyond the signed range); Single, Double, Currency and Date give
// vtExtended; strings give vtString (whole, never shortened); Boolean gives
// vtBoolean; any other value travels as vtVariant.
TVarRec VariantToVarRec(const Variant &value);

// The elements of a one-dimensional variant array, in index order.
std::vector<TVarRec> VarArrayToConstArray(const Variant &array);

// vtInteger and vtObject give Integer, vtInt64 Int64, vtBoolean Boolean,
// vtChar and vtString a String, vtExtended a Double, vtVariant a copy.
Variant VarRecToVariant(const TVarRec &rec);
