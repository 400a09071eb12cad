#pragma once

// The named things a script refers to: variables, constants, type entries,
// parameters and procedures all derive from TzqCustomVariable.  Values are
// variants; the value kind says how a value is stored and checked.

#include "toolkit/core/Variants.h"

#include <QString>
#include <memory>
#include <vector>

enum TzqVarType : quint8 {
    fvtInt = 0,
    fvtBool = 1,
    fvtFloat = 2,
    fvtChar = 3,
    fvtString = 4,
    fvtClass = 5,
    fvtArray = 6,
    fvtVariant = 7,
    fvtEnum = 8,
    fvtConstructor = 9,
    fvtInt64 = 10,
};

class TzqParamItem;

class TzqCustomVariable
{
public:
    TzqCustomVariable(const QString &name, TzqVarType typ, const QString &typeName);
    virtual ~TzqCustomVariable();

    TzqCustomVariable(const TzqCustomVariable &) = delete;
    TzqCustomVariable &operator=(const TzqCustomVariable &) = delete;

    QString Name;
    TzqVarType Typ;
    QString TypeName;
    // A macro function gets its arguments as their source text.
    bool IsMacro = false;
    Variant Value = Variant::Null();

    // The formal parameters, owned, in order.
    int Count() const { return int(m_params.size()); }
    TzqParamItem *Params(int index) const { return m_params.at(index).get(); }
    void AddParam(std::unique_ptr<TzqParamItem> param);

private:
    std::vector<std::unique_ptr<TzqParamItem>> m_params;
};

class TzqParamItem : public TzqCustomVariable
{
public:
    TzqParamItem(const QString &name, TzqVarType typ, const QString &typeName, bool isOptional, bool isVarParam);

    Variant DefValue = Variant::Null();
    bool IsOptional;
    bool IsVarParam;
};
