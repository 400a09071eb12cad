#pragma once

// Variant: the value type that reports, data sets and scripts pass around,
// with the classic variant kinds, type codes and conversion rules.
//
// Kinds: Empty (unassigned), Null, the integer kinds (Smallint, Integer,
// ShortInt, Byte, Word, LongWord, Int64), Single, Double, Currency (int64
// counting ten-thousandths), Date (days since 1899-12-30), Boolean, 8-bit
// String and OleStr (both hold a QString; the tag tells them apart), and
// arrays.  Dispatch and Unknown exist as type codes only.  An object travels
// as an Integer handle (see ObjectHandles).
//
// Conversions:
//   to an integer kind  floats round half to even; Boolean gives -1 / 0;
//                       Empty gives 0; text must read as a number
//   to a float          Empty gives 0; text is read with FormatSettings
//   to Boolean          any number other than 0 is true; text "True"/"False"
//                       (any case) or a number
//   to text             numbers as FloatToStr / decimal; Boolean as
//                       "True"/"False"; Date as DateTimeToStr; Empty as ""
// Null converts to nothing but itself (EVariantTypeCastError); VarToStr maps
// it to "".  A value outside the target's range raises
// EVariantOverflowError.
//
// Arrays have 1 or more dimensions with their own bounds and an element
// type; copies share storage until one is written (value semantics).
// Elements are read and written in place in the variant that holds the array.

#include "toolkit/core/Currency.h"
#include "toolkit/core/DateUtils.h"

#include <QString>

#include <initializer_list>
#include <memory>
#include <variant>

using TVarType = quint16;

enum : TVarType {
    varEmpty = 0x0000,
    varNull = 0x0001,
    varSmallint = 0x0002,
    varInteger = 0x0003,
    varSingle = 0x0004,
    varDouble = 0x0005,
    varCurrency = 0x0006,
    varDate = 0x0007,
    varOleStr = 0x0008,
    varDispatch = 0x0009,
    varError = 0x000A,
    varBoolean = 0x000B,
    varVariant = 0x000C,
    varUnknown = 0x000D,
    varShortInt = 0x0010,
    varByte = 0x0011,
    varWord = 0x0012,
    varLongWord = 0x0013,
    varInt64 = 0x0014,
    varStrArg = 0x0048,
    varString = 0x0100,
    varAny = 0x0101,
    varTypeMask = 0x0FFF,
    varArray = 0x2000,
    varByRef = 0x4000,
};

struct VarArrayData;

// The families that the conversion and operator rules treat alike: the
// integer kinds; Single, Double and Date; 8-bit and wide strings.
enum class VarKind { Empty, Null, Integer, Float, Currency, Boolean, String, Other };
VarKind VarKindOf(TVarType type);

class Variant
{
public:
    Variant() = default; // Empty
    Variant(int value) : m_type(varInteger), m_value(qint64(value)) {}
    Variant(qint64 value) : m_type(varInt64), m_value(value) {}
    Variant(double value) : m_type(varDouble), m_value(value) {}
    Variant(bool value) : m_type(varBoolean), m_value(qint64(value)) {}
    Variant(Currency value) : m_type(varCurrency), m_value(value.Scaled()) {}
    // 8-bit (native) strings.
    Variant(const QString &value) : m_type(varString), m_value(value) {}
    Variant(const char *utf8) : Variant(QString::fromUtf8(utf8)) {}
    // No accidental conversions from pointers or other integer widths.
    Variant(const void *) = delete;
    Variant(long) = delete;
    Variant(unsigned) = delete;

    static Variant Null();
    static Variant FromOleStr(const QString &value);
    static Variant FromDate(TDateTime value);
    static Variant FromSingle(float value);
    static Variant FromSmallint(qint16 value);
    static Variant FromShortInt(qint8 value);
    static Variant FromByte(quint8 value);
    static Variant FromWord(quint16 value);
    static Variant FromLongWord(quint32 value);

    // The type code, with varArray for arrays.
    TVarType Type() const { return m_type; }
    bool IsEmpty() const { return m_type == varEmpty; }
    bool IsNull() const { return m_type == varNull; }
    bool IsArray() const { return (m_type & varArray) != 0; }
    bool IsString() const { return m_type == varString || m_type == varOleStr; }

    qint32 AsInteger() const;
    qint64 AsInt64() const;
    double AsDouble() const;
    bool AsBoolean() const;
    QString AsString() const;
    Currency AsCurrency() const;
    TDateTime AsDate() const;

    // Arrays.  Dimensions count from 1.  Indices are checked against the
    // bounds (EVariantBadIndexError); a variant that holds no array raises
    // EVariantNotAnArrayError.
    int DimCount() const;
    int LowBound(int dim) const;
    int HighBound(int dim) const;
    Variant GetElement(std::initializer_list<int> indices) const;
    // Stores the value converted to the array's element type.
    void PutElement(std::initializer_list<int> indices, const Variant &value);
    Variant GetElement(const int *indices, int count) const;
    void PutElement(const int *indices, int count, const Variant &value);

private:
    friend Variant VarArrayCreate(const int *, int, TVarType);
    friend void VarArrayRedim(Variant &, int);
    friend Variant VarAsType(const Variant &, TVarType);
    using Array = std::shared_ptr<VarArrayData>;
    // Integer kinds, Boolean and Currency (scaled) use qint64; Single, Double
    // and Date use double.
    using Payload = std::variant<qint64, double, QString, Array>;

    Variant(TVarType type, Payload value) : m_type(type), m_value(std::move(value)) {}

    VarArrayData &ArrayForWriting();
    const VarArrayData &ArrayForReading() const;
    qint64 RawInt() const { return std::get<qint64>(m_value); }
    double RawFloat() const { return std::get<double>(m_value); }
    const QString &RawString() const { return std::get<QString>(m_value); }
    qint64 ToIntegerKind(TVarType target) const;
    double ToFloat(TVarType target) const;

    TVarType m_type = varEmpty;
    Payload m_value = qint64(0);
};

// The empty value, for code that reads better with a name.
inline const Variant Unassigned;

TVarType VarType(const Variant &v);
bool VarIsNull(const Variant &v);
bool VarIsEmpty(const Variant &v);
bool VarIsArray(const Variant &v);
bool VarIsStr(const Variant &v);

// The value as text; Null gives "".
QString VarToStr(const Variant &v);

// The value converted to another kind (only simple kinds, not arrays).
Variant VarAsType(const Variant &v, TVarType type);

// "Integer", "OleStr", "Array Variant" ...
QString VarTypeAsText(TVarType type);

// A new array.  `bounds` holds one low/high pair per dimension; every element
// starts as the element type's empty value (0, "", False, or Empty for
// varVariant).  An element type other than a simple kind or varVariant, a
// high bound below low - 1, or too many elements raise
// EVariantArrayCreateError.
Variant VarArrayCreate(std::initializer_list<int> bounds, TVarType elementType);
Variant VarArrayCreate(const int *bounds, int boundCount, TVarType elementType);

// 0 for a variant that is no array.
int VarArrayDimCount(const Variant &v);
int VarArrayLowBound(const Variant &v, int dim);
int VarArrayHighBound(const Variant &v, int dim);

// Moves the high bound of the last dimension; kept elements keep their values.
void VarArrayRedim(Variant &v, int highBound);
