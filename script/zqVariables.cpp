#include "script/zqVariables.h"

TzqCustomVariable::TzqCustomVariable(const QString &name, TzqVarType typ, const QString &typeName)
    : Name(name), Typ(typ), TypeName(typeName)
{
}

TzqCustomVariable::~TzqCustomVariable() = default;

void TzqCustomVariable::AddParam(std::unique_ptr<TzqParamItem> param)
{
    m_params.push_back(std::move(param));
}

TzqParamItem::TzqParamItem(const QString &name, TzqVarType typ, const QString &typeName, bool isOptional,
                           bool isVarParam)
    : TzqCustomVariable(name, typ, typeName), IsOptional(isOptional), IsVarParam(isVarParam)
{
}
