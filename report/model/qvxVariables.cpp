#include "report/model/qvxVariables.h"

#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/core/CodePages.h"

#include <memory>

namespace {

std::unique_ptr<TqvxVariables> globalVariables;

} // namespace

TqvxVariable::TqvxVariable(TCollection *collection)
    : TqvxCollectionItem(collection)
{
}

QString TqvxVariable::GetInheritedName() const
{
    return m_name.isEmpty() ? TqvxCollectionItem::GetInheritedName() : m_name;
}

void TqvxVariable::Assign(const TPersistent *source)
{
    const auto *variable = qobject_cast<const TqvxVariable *>(source);
    if (!variable) {
        TqvxCollectionItem::Assign(source);
        return;
    }
    m_name = variable->m_name;
    m_value = variable->m_value;
    m_isInherited = variable->m_isInherited;
}

TqvxVariables::TqvxVariables(TPersistent *owner)
    : TqvxCollection(qvxCollectionItemClassOf<TqvxVariable>(), owner)
{
}

TqvxVariable *TqvxVariables::Add()
{
    return static_cast<TqvxVariable *>(TCollection::Add());
}

TqvxVariable *TqvxVariables::Items(int index) const
{
    return static_cast<TqvxVariable *>(TCollection::Items(index));
}

int TqvxVariables::IndexOf(const QString &name) const
{
    for (int i = 0; i < Count(); ++i)
        if (AnsiSameText(Items(i)->Name(), name))
            return i;
    return -1;
}

Variant TqvxVariables::GetVariable(const QString &name) const
{
    const int index = IndexOf(name);
    return index < 0 ? Variant::Null() : Items(index)->Value();
}

void TqvxVariables::SetVariable(const QString &name, const Variant &value)
{
    const int index = IndexOf(name);
    TqvxVariable *variable = index < 0 ? Add() : Items(index);
    if (index < 0)
        variable->SetName(name);
    variable->SetValue(value);
}

TqvxArray::TqvxArray(TPersistent *owner)
    : TqvxVariables(owner)
{
}

int TqvxArray::IndexOf(const Variant &key) const
{
    return TqvxVariables::IndexOf(VarToStr(key));
}

Variant TqvxArray::GetValue(const Variant &key) const
{
    return GetVariable(VarToStr(key));
}

void TqvxArray::SetValue(const Variant &key, const Variant &value)
{
    SetVariable(VarToStr(key), value);
}

TqvxVariables *qvxGlobalVariables()
{
    return globalVariables.get();
}

void InitializeQvxVariables()
{
    RegisterClass<TqvxVariables>();
    RegisterClass<TqvxArray>();
    globalVariables = std::make_unique<TqvxVariables>();
}

void FinalizeQvxVariables()
{
    globalVariables.reset();
}
