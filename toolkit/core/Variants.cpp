#include "toolkit/core/Variants.h"

#include "toolkit/core/Exceptions.h"
#include "toolkit/core/FloatText.h"
#include "toolkit/core/FormatDateTime.h"
#include "toolkit/core/SysUtils.h"

#include <cmath>
#include <limits>
#include <vector>

namespace {

// Keeps a runaway script from asking for gigabytes.
const qint64 kMaxArrayElements = qint64(1) << 22;

[[noreturn]] void CastError(TVarType from, TVarType to)
{
    throw EVariantTypeCastError(QStringLiteral("Could not convert variant of type (%1) into type (%2)")
                                    .arg(VarTypeAsText(from), VarTypeAsText(to)));
}

[[noreturn]] void OverflowError(TVarType from, TVarType to)
{
    throw EVariantOverflowError(QStringLiteral("Overflow while converting variant of type (%1) into type (%2)")
                                    .arg(VarTypeAsText(from), VarTypeAsText(to)));
}

[[noreturn]] void BadIndex()
{
    throw EVariantBadIndexError(QStringLiteral("Variant or safe array index out of bounds"));
}

struct IntegerRange
{
    qint64 min;
    qint64 max;
};

IntegerRange RangeOf(TVarType type)
{
    switch (type) {
    case varSmallint: return {-32768, 32767};
    case varShortInt: return {-128, 127};
    case varByte: return {0, 255};
    case varWord: return {0, 65535};
    case varLongWord: return {0, 0xFFFFFFFFll};
    case varInt64: return {std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max()};
    default: return {std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()};
    }
}

// Rounds half to even into the 64-bit range, or reports an overflow.
bool RoundToInt64(double value, qint64 &result)
{
    const double r = std::nearbyint(value);
    if (!(r >= -9223372036854775808.0 && r < 9223372036854775808.0))
        return false;
    result = qint64(r);
    return true;
}

qint64 CurrencyToInt64(Currency c)
{
    const qint64 scaled = c.Scaled();
    qint64 q = scaled / Currency::Scale;
    const qint64 r = scaled % Currency::Scale;
    const qint64 twice = (r < 0 ? -r : r) * 2;
    if (twice > Currency::Scale || (twice == Currency::Scale && (q & 1)))
        q += scaled < 0 ? -1 : 1;
    return q;
}

} // namespace

// --- Array storage -----------------------------------------------------------

struct VarArrayBound
{
    int low;
    int high;
    qint64 Count() const { return qint64(high) - low + 1; }
};

struct VarArrayData
{
    TVarType elementType = varVariant;
    std::vector<VarArrayBound> bounds;
    // The first index varies fastest, so the last dimension can grow in place.
    std::vector<Variant> elements;

    qint64 Offset(const int *indices, int count) const
    {
        if (count != int(bounds.size()))
            BadIndex();
        qint64 offset = 0;
        qint64 stride = 1;
        for (int d = 0; d < count; ++d) {
            const VarArrayBound &b = bounds[size_t(d)];
            if (indices[d] < b.low || indices[d] > b.high)
                BadIndex();
            offset += (indices[d] - b.low) * stride;
            stride *= b.Count();
        }
        return offset;
    }
};

namespace {

Variant EmptyElement(TVarType elementType)
{
    if (elementType == varVariant)
        return Variant();
    return VarAsType(Variant(), elementType);
}

} // namespace

// --- Construction ------------------------------------------------------------

Variant Variant::Null()
{
    return Variant(varNull, qint64(0));
}

Variant Variant::FromOleStr(const QString &value)
{
    return Variant(varOleStr, value);
}

Variant Variant::FromDate(TDateTime value)
{
    return Variant(varDate, value);
}

Variant Variant::FromSingle(float value)
{
    return Variant(varSingle, double(value));
}

Variant Variant::FromSmallint(qint16 value)
{
    return Variant(varSmallint, qint64(value));
}

Variant Variant::FromShortInt(qint8 value)
{
    return Variant(varShortInt, qint64(value));
}

Variant Variant::FromByte(quint8 value)
{
    return Variant(varByte, qint64(value));
}

Variant Variant::FromWord(quint16 value)
{
    return Variant(varWord, qint64(value));
}

Variant Variant::FromLongWord(quint32 value)
{
    return Variant(varLongWord, qint64(value));
}

// --- Conversions -------------------------------------------------------------

qint64 Variant::ToIntegerKind(TVarType target) const
{
    qint64 value = 0;
    switch (VarKindOf(m_type)) {
    case VarKind::Empty: return 0;
    case VarKind::Integer: value = RawInt(); break;
    case VarKind::Boolean: value = RawInt() ? -1 : 0; break;
    case VarKind::Float:
        if (!RoundToInt64(RawFloat(), value))
            OverflowError(m_type, target);
        break;
    case VarKind::Currency: value = CurrencyToInt64(Currency::FromScaled(RawInt())); break;
    case VarKind::String: {
        double d;
        if (TryStrToInt64(RawString(), value))
            break;
        if (!TryStrToFloat(RawString(), d))
            CastError(m_type, target);
        if (!RoundToInt64(d, value))
            OverflowError(m_type, target);
        break;
    }
    default: CastError(m_type, target);
    }
    const IntegerRange range = RangeOf(target);
    if (value < range.min || value > range.max)
        OverflowError(m_type, target);
    return value;
}

double Variant::ToFloat(TVarType target) const
{
    switch (VarKindOf(m_type)) {
    case VarKind::Empty: return 0;
    case VarKind::Integer: return double(RawInt());
    case VarKind::Boolean: return RawInt() ? -1 : 0;
    case VarKind::Float: return RawFloat();
    case VarKind::Currency: return Currency::FromScaled(RawInt()).ToDouble();
    case VarKind::String: {
        double d;
        qint64 i;
        if (TryStrToFloat(RawString(), d))
            return d;
        if (TryStrToInt64(RawString(), i))
            return double(i);
        if (target == varDate && TryStrToDateTime(RawString(), d))
            return d;
        CastError(m_type, target);
    }
    default: CastError(m_type, target);
    }
}

TDateTime Variant::AsDate() const
{
    return ToFloat(varDate);
}

Currency Variant::AsCurrency() const
{
    switch (VarKindOf(m_type)) {
    case VarKind::Currency: return Currency::FromScaled(RawInt());
    case VarKind::Integer: {
        qint64 scaled;
        if (__builtin_mul_overflow(RawInt(), Currency::Scale, &scaled))
            OverflowError(m_type, varCurrency);
        return Currency::FromScaled(scaled);
    }
    default: {
        Currency c;
        if (!Currency::TryFromDouble(ToFloat(varCurrency), c))
            OverflowError(m_type, varCurrency);
        return c;
    }
    }
}

bool Variant::ToBoolean() const
{
    switch (VarKindOf(m_type)) {
    case VarKind::Empty: return false;
    case VarKind::Integer:
    case VarKind::Boolean:
    case VarKind::Currency:
        return RawInt() != 0;
    case VarKind::Float: return RawFloat() != 0;
    case VarKind::String: {
        bool b;
        if (!TryStrToBool(RawString(), b))
            CastError(m_type, varBoolean);
        return b;
    }
    default: CastError(m_type, varBoolean);
    }
}

QString Variant::AsString() const
{
    switch (m_type) {
    case varEmpty: return QString();
    case varString:
    case varOleStr: return RawString();
    case varBoolean: return RawInt() ? QStringLiteral("True") : QStringLiteral("False");
    case varSingle: return FloatToStrF(RawFloat(), ffGeneral, 7, 0);
    case varDouble: return FloatToStr(RawFloat());
    case varDate: return DateTimeToStr(RawFloat());
    case varCurrency: return CurrToStr(Currency::FromScaled(RawInt()));
    default:
        if (VarKindOf(m_type) == VarKind::Integer)
            return QString::number(RawInt());
        CastError(m_type, varString);
    }
}

Variant VarAsType(const Variant &v, TVarType type)
{
    if (v.Type() == type)
        return v;
    if (v.IsNull() && type != varNull)
        CastError(varNull, type);
    switch (type) {
    case varEmpty: return Variant();
    case varNull: return Variant::Null();
    case varSmallint: return Variant::FromSmallint(qint16(v.ToIntegerKind(type)));
    case varInteger: return Variant(v.AsInteger());
    case varShortInt: return Variant::FromShortInt(qint8(v.ToIntegerKind(type)));
    case varByte: return Variant::FromByte(quint8(v.ToIntegerKind(type)));
    case varWord: return Variant::FromWord(quint16(v.ToIntegerKind(type)));
    case varLongWord: return Variant::FromLongWord(quint32(v.ToIntegerKind(type)));
    case varInt64: return Variant(v.AsInt64());
    case varSingle: {
        const double d = v.ToFloat(type);
        if (std::isfinite(d) && std::fabs(d) > double(std::numeric_limits<float>::max()))
            OverflowError(v.Type(), type);
        return Variant::FromSingle(float(d));
    }
    case varDouble: return Variant(v.AsDouble());
    case varDate: return Variant::FromDate(v.AsDate());
    case varCurrency: return Variant(v.AsCurrency());
    case varBoolean: return Variant(v.AsBoolean());
    case varString: return Variant(v.AsString());
    case varOleStr: return Variant::FromOleStr(v.AsString());
    case varVariant: return v;
    default: CastError(v.Type(), type);
    }
}

TVarType VarType(const Variant &v)
{
    return v.Type();
}

bool VarIsNull(const Variant &v)
{
    return v.IsNull();
}

bool VarIsEmpty(const Variant &v)
{
    return v.IsEmpty();
}

bool VarIsArray(const Variant &v)
{
    return v.IsArray();
}

bool VarIsStr(const Variant &v)
{
    return v.IsString();
}

QString VarToStr(const Variant &v)
{
    return v.IsNull() ? QString() : v.AsString();
}

QString VarTypeAsText(TVarType type)
{
    static const char *const simple[] = {
        "Empty", "Null", "Smallint", "Integer", "Single", "Double", "Currency", "Date", "OleStr",
        "Dispatch", "Error", "Boolean", "Variant", "Unknown", "Decimal", "$000F", "ShortInt",
        "Byte", "Word", "LongWord", "Int64",
    };
    QString prefix;
    if (type & varArray)
        prefix = QStringLiteral("Array ");
    const TVarType base = type & varTypeMask;
    if (base < std::size(simple))
        return prefix + QLatin1String(simple[base]);
    if (base == varString)
        return prefix + QStringLiteral("String");
    if (base == varAny)
        return prefix + QStringLiteral("Any");
    return prefix + QLatin1Char('$') + IntToHex(qint32(base), 4);
}

// --- Arrays ------------------------------------------------------------------

VarArrayData &Variant::ArrayForWriting()
{
    Array *array = arrayPayload();
    if (!array)
        throw EVariantNotAnArrayError(QStringLiteral("Variant is not an array"));
    if (array->use_count() > 1)
        *array = std::make_shared<VarArrayData>(**array);
    return **array;
}

const VarArrayData &Variant::ArrayForReading() const
{
    const Array *array = arrayPayload();
    if (!array)
        throw EVariantNotAnArrayError(QStringLiteral("Variant is not an array"));
    return **array;
}

int Variant::DimCount() const
{
    const Array *array = arrayPayload();
    return array ? int((*array)->bounds.size()) : 0;
}

int Variant::LowBound(int dim) const
{
    const VarArrayData &data = ArrayForReading();
    if (dim < 1 || dim > int(data.bounds.size()))
        BadIndex();
    return data.bounds[size_t(dim - 1)].low;
}

int Variant::HighBound(int dim) const
{
    const VarArrayData &data = ArrayForReading();
    if (dim < 1 || dim > int(data.bounds.size()))
        BadIndex();
    return data.bounds[size_t(dim - 1)].high;
}

Variant Variant::GetElement(const int *indices, int count) const
{
    const VarArrayData &data = ArrayForReading();
    return data.elements[size_t(data.Offset(indices, count))];
}

void Variant::PutElement(const int *indices, int count, const Variant &value)
{
    const TVarType elementType = ArrayForReading().elementType;
    if (elementType == varVariant) {
        VarArrayData &data = ArrayForWriting();
        data.elements[size_t(data.Offset(indices, count))] = value;
        return;
    }
    // Convert first: a failed conversion leaves the array untouched.
    Variant converted = VarAsType(value, elementType);
    VarArrayData &data = ArrayForWriting();
    data.elements[size_t(data.Offset(indices, count))] = std::move(converted);
}

Variant Variant::GetElement(std::initializer_list<int> indices) const
{
    return GetElement(indices.begin(), int(indices.size()));
}

void Variant::PutElement(std::initializer_list<int> indices, const Variant &value)
{
    PutElement(indices.begin(), int(indices.size()), value);
}

Variant VarArrayCreate(const int *bounds, int boundCount, TVarType elementType)
{
    elementType &= varTypeMask;
    const bool simpleElements = VarKindOf(elementType) != VarKind::Other && elementType != varNull;
    if (boundCount < 2 || boundCount % 2 != 0 || !(simpleElements || elementType == varVariant))
        throw EVariantArrayCreateError(QStringLiteral("Error creating variant or safe array"));
    auto data = std::make_shared<VarArrayData>();
    data->elementType = elementType;
    qint64 total = 1;
    for (int i = 0; i < boundCount; i += 2) {
        const VarArrayBound b{bounds[i], bounds[i + 1]};
        if (b.Count() < 0)
            throw EVariantArrayCreateError(QStringLiteral("Error creating variant or safe array"));
        total *= b.Count();
        if (total > kMaxArrayElements)
            throw EVariantArrayCreateError(QStringLiteral("Error creating variant or safe array"));
        data->bounds.push_back(b);
    }
    data->elements.assign(size_t(total), EmptyElement(data->elementType));
    const TVarType type = varArray | data->elementType;
    return Variant(type, std::move(data));
}

Variant VarArrayCreate(std::initializer_list<int> bounds, TVarType elementType)
{
    return VarArrayCreate(bounds.begin(), int(bounds.size()), elementType);
}

int VarArrayDimCount(const Variant &v)
{
    return v.DimCount();
}

int VarArrayLowBound(const Variant &v, int dim)
{
    return v.LowBound(dim);
}

int VarArrayHighBound(const Variant &v, int dim)
{
    return v.HighBound(dim);
}

void VarArrayRedim(Variant &v, int highBound)
{
    VarArrayData &data = v.ArrayForWriting();
    VarArrayBound &last = data.bounds.back();
    const VarArrayBound resized{last.low, highBound};
    if (resized.Count() < 0)
        BadIndex();
    qint64 stride = 1;
    for (size_t d = 0; d + 1 < data.bounds.size(); ++d)
        stride *= data.bounds[d].Count();
    if (stride * resized.Count() > kMaxArrayElements)
        throw EVariantArrayCreateError(QStringLiteral("Error creating variant or safe array"));
    last = resized;
    data.elements.resize(size_t(stride * resized.Count()), EmptyElement(data.elementType));
}
