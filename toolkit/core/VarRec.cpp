#include "toolkit/core/VarRec.h"

#include <limits>

TVarRec TVarRec::Object(qint32 handle)
{
    TVarRec rec{int(handle)};
    rec.VType = vtObject;
    return rec;
}

TVarRec VariantToVarRec(const Variant &value)
{
    switch (VarKindOf(value.Type())) {
    case VarKind::Integer: {
        const qint64 i = value.AsInt64();
        if (value.Type() == varInt64 || i > std::numeric_limits<qint32>::max())
            return TVarRec(i);
        return TVarRec(int(i));
    }
    case VarKind::Float:
    case VarKind::Currency: return TVarRec(value.AsDouble());
    case VarKind::String: return TVarRec(value.AsString());
    case VarKind::Boolean: return TVarRec(value.AsBoolean());
    default: return TVarRec(value);
    }
}

std::vector<TVarRec> VarArrayToConstArray(const Variant &array)
{
    std::vector<TVarRec> records;
    const qint64 low = array.LowBound(1);
    const qint64 high = array.HighBound(1);
    records.reserve(size_t(high - low + 1));
    for (qint64 i = low; i <= high; ++i)
        records.push_back(VariantToVarRec(array.GetElement({int(i)})));
    return records;
}

Variant VarRecToVariant(const TVarRec &rec)
{
    switch (rec.VType) {
    case TVarRec::vtInteger:
    case TVarRec::vtObject: return Variant(int(rec.VInteger));
    case TVarRec::vtInt64: return Variant(rec.VInteger);
    case TVarRec::vtBoolean: return Variant(rec.VInteger != 0);
    case TVarRec::vtChar:
    case TVarRec::vtString: return Variant(rec.VString);
    case TVarRec::vtExtended: return Variant(rec.VExtended);
    case TVarRec::vtVariant: return rec.VVariant;
    }
    return Variant();
}
