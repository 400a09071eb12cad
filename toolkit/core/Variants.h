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
#include <iterator>
#include <memory>
#include <new>

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

// Inline, since every operator and conversion asks it first.
inline VarKind VarKindOf(TVarType type)
{
    // By type code up to varInt64 (0x14).
    static constexpr VarKind low[] = {
        VarKind::Empty,   VarKind::Null,    VarKind::Integer, VarKind::Integer, VarKind::Float,
        VarKind::Float,   VarKind::Currency, VarKind::Float,  VarKind::String,  VarKind::Other,
        VarKind::Other,   VarKind::Boolean, VarKind::Other,   VarKind::Other,   VarKind::Other,
        VarKind::Other,   VarKind::Integer, VarKind::Integer, VarKind::Integer, VarKind::Integer,
        VarKind::Integer,
    };
    if (type < std::size(low))
        return low[type];
    return type == 0x0100 ? VarKind::String : VarKind::Other; // varString
}

class Variant
{
public:
    Variant() : m_int(0) {} // Empty
    Variant(int value) : Variant(varInteger, qint64(value)) {}
    Variant(qint64 value) : Variant(varInt64, value) {}
    Variant(double value) : Variant(varDouble, value) {}
    Variant(bool value) : Variant(varBoolean, qint64(value)) {}
    Variant(Currency value) : Variant(varCurrency, value.Scaled()) {}
    // 8-bit (native) strings.
    Variant(const QString &value) : Variant(varString, value) {}
    Variant(const char *utf8) : Variant(QString::fromUtf8(utf8)) {}
    // No accidental conversions from pointers or other integer widths.
    Variant(const void *) = delete;
    Variant(long) = delete;
    Variant(unsigned) = delete;

    // Numbers are copied as they are, without a look at the stored kind.
    Variant(const Variant &other) : m_type(other.m_type), m_store(other.m_store) { copyPayload(other); }
    Variant(Variant &&other) noexcept : m_type(other.m_type), m_store(other.m_store) { movePayload(other); }
    ~Variant() { destroyPayload(); }
    Variant &operator=(const Variant &other)
    {
        if (m_store <= Store::Float && other.m_store <= Store::Float) {
            m_type = other.m_type;
            m_store = other.m_store;
            m_int = other.m_int;
        } else if (this != &other) {
            assignSlow(other);
        }
        return *this;
    }
    Variant &operator=(Variant &&other) noexcept
    {
        if (this != &other) {
            destroyPayload();
            m_type = other.m_type;
            m_store = other.m_store;
            movePayload(other);
        }
        return *this;
    }

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

    // The exact kinds are read inline; the rest go through the conversion
    // rules.
    qint32 AsInteger() const { return m_type == varInteger ? qint32(RawInt()) : qint32(ToIntegerKind(varInteger)); }
    qint64 AsInt64() const { return m_type == varInteger || m_type == varInt64 ? RawInt() : ToIntegerKind(varInt64); }
    double AsDouble() const { return m_type == varDouble ? RawFloat() : ToFloat(varDouble); }
    bool AsBoolean() const { return m_type == varBoolean ? RawInt() != 0 : ToBoolean(); }
    QString AsString() const;
    Currency AsCurrency() const;
    // Appends text to the string this value holds (IsString), in place: a
    // text that no other value shares grows with spare capacity, a shared
    // one is copied once, and the values sharing it keep theirs.
    void AppendString(const QString &text)
    {
        Q_ASSERT(m_store == Store::Text);
        m_text.append(text);
    }
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
    // Integer kinds, Boolean and Currency (scaled) store a qint64; Single,
    // Double and Date a double; strings a QString; arrays their shared data.
    enum class Store : quint8 { Int, Float, Text, Array };

    Variant(TVarType type, qint64 value) : m_type(type), m_int(value) {}
    Variant(TVarType type, double value) : m_type(type), m_store(Store::Float), m_float(value) {}
    Variant(TVarType type, const QString &value) : m_type(type), m_store(Store::Text), m_text(value) {}
    Variant(TVarType type, Array value) : m_type(type), m_store(Store::Array), m_array(std::move(value)) {}

    void copyPayload(const Variant &other)
    {
        switch (other.m_store) {
        case Store::Text: new (&m_text) QString(other.m_text); break;
        case Store::Array: new (&m_array) Array(other.m_array); break;
        default: m_int = other.m_int; break;
        }
    }
    void movePayload(Variant &other) noexcept
    {
        switch (other.m_store) {
        case Store::Text: new (&m_text) QString(std::move(other.m_text)); break;
        case Store::Array: new (&m_array) Array(std::move(other.m_array)); break;
        default: m_int = other.m_int; break;
        }
    }
    // other may live inside this value (an element of its array), so its
    // payload is copied before this value lets go of its own.
    void assignSlow(const Variant &other)
    {
        const TVarType type = other.m_type;
        const Store store = other.m_store;
        switch (store) {
        case Store::Text: {
            QString text = other.m_text;
            destroyPayload();
            new (&m_text) QString(std::move(text));
            break;
        }
        case Store::Array: {
            Array array = other.m_array;
            destroyPayload();
            new (&m_array) Array(std::move(array));
            break;
        }
        default: {
            const qint64 bits = other.m_int;
            destroyPayload();
            m_int = bits;
            break;
        }
        }
        m_type = type;
        m_store = store;
    }
    void destroyPayload() noexcept
    {
        if (m_store == Store::Text)
            m_text.~QString();
        else if (m_store == Store::Array)
            m_array.~Array();
    }
    Array *arrayPayload() { return m_store == Store::Array ? &m_array : nullptr; }
    const Array *arrayPayload() const { return m_store == Store::Array ? &m_array : nullptr; }

    VarArrayData &ArrayForWriting();
    const VarArrayData &ArrayForReading() const;
    qint64 RawInt() const { return m_int; }
    double RawFloat() const { return m_float; }
    const QString &RawString() const { return m_text; }
    qint64 ToIntegerKind(TVarType target) const;
    double ToFloat(TVarType target) const;
    bool ToBoolean() const;

    TVarType m_type = varEmpty;
    Store m_store = Store::Int;
    union {
        qint64 m_int;
        double m_float;
        QString m_text;
        Array m_array;
    };
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
