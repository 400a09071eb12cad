#include "script/zqClasses.h"

#include "script/zqDeclarations.h"
#include "script/zqHeldObjects.h"
#include "script/zqMessages.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/ObjectHandles.h"
#include "toolkit/classes/Reflection.h"
#include "toolkit/classes/TComponent.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/core/VariantOps.h"

#include <QSet>

namespace {

QString quoted(const QString &name)
{
    return u'\'' + name + u'\'';
}

// The kind a published property shows to scripts.
TzqVarType kindOf(const TPropInfo &prop, QString &typeName)
{
    typeName = prop.TypeName();
    switch (prop.Kind()) {
    case TTypeKind::Integer: return fvtInt;
    case TTypeKind::Char:
    case TTypeKind::WChar: return fvtChar;
    case TTypeKind::Enumeration:
        if (typeName.compare(QStringLiteral("Boolean"), Qt::CaseInsensitive) == 0
            || typeName.compare(QStringLiteral("bool"), Qt::CaseInsensitive) == 0)
            return fvtBool;
        return fvtEnum;
    case TTypeKind::Float: return fvtFloat;
    case TTypeKind::String:
    case TTypeKind::WideString: return fvtString;
    case TTypeKind::Set: return fvtEnum;
    case TTypeKind::Class: return fvtClass;
    case TTypeKind::Variant: return fvtVariant;
    default: break;
    }
    typeName.clear();
    return fvtInt;
}

QVariant toQVariant(const Variant &value)
{
    switch (VarKindOf(VarType(value))) {
    case VarKind::Integer: return QVariant(value.AsInt64());
    case VarKind::Float:
    case VarKind::Currency: return QVariant(value.AsDouble());
    case VarKind::Boolean: return QVariant(value.AsBoolean());
    case VarKind::String: return QVariant(value.AsString());
    default: return QVariant();
    }
}

bool isTrue(const Variant &value)
{
    return VarCompareValue(value, Variant(true)) == vrEqual;
}

} // namespace

TObject *zqObjectOf(const Variant &value)
{
    if (value.IsNull() || value.IsEmpty())
        return nullptr;
    return ObjectHandleRegistry::Resolve(value.AsInteger());
}

TObject *TzqCustomHelper::requireInstance() const
{
    TObject *instance = zqObjectOf(ParentValue);
    if (!instance)
        throw EInvalidObject(SNilObject + quoted(Name));
    return instance;
}

Variant TzqPropertyHelper::GetValue()
{
    TObject *instance = requireInstance();
    Variant value = Variant::Null();
    if (PropInfo) {
        value = PropInfo->GetValue(instance);
        // The instance's own part (a font, its lines) or an object it
        // refers to: either way not the script's to free under it.
        if (PropInfo->Kind() == TTypeKind::Class)
            zqMarkHeld(value.AsInteger());
    } else if (GetProp) {
        value = GetProp(instance, ClassType, UppercaseName);
    }
    if (Typ == fvtBool)
        value = Variant(!value.IsNull() && !value.IsEmpty() && VarCompareValue(value, Variant(0)) != vrEqual);
    return value;
}

void TzqPropertyHelper::SetValue(const Variant &value)
{
    if (IsReadOnly)
        return;
    TObject *instance = requireInstance();
    const Variant stored = Typ == fvtBool ? Variant(isTrue(value)) : value;
    if (PropInfo)
        PropInfo->SetValue(instance, stored);
    else if (SetProp)
        SetProp(instance, ClassType, UppercaseName, stored);
}

TzqMethodHelper::TzqMethodHelper(const QString &syntax, TzqScript *script)
    : TzqCustomHelper(QString(), fvtVariant, QString()), Syntax(syntax)
{
    std::unique_ptr<TzqCustomVariable> descriptor = ParseMethodSyntax(syntax, script);
    Name = descriptor->Name;
    UppercaseName = Name.toUpper();
    Typ = descriptor->Typ;
    TypeName = descriptor->TypeName;
    IsMacro = descriptor->IsMacro;
    IsReadOnly = true;
    for (int i = 0; i < descriptor->Count(); ++i) {
        const TzqParamItem *p = descriptor->Params(i);
        auto param = std::make_unique<TzqParamItem>(p->Name, p->Typ, p->TypeName, p->IsOptional, p->IsVarParam);
        param->DefValue = p->DefValue;
        AddParam(std::move(param));
    }
    if (Count() > 0)
        ArgArray = VarArrayCreate({0, Count() - 1}, varVariant);
}

Variant TzqMethodHelper::GetParams(int index) const
{
    return index == Count() ? AssignedValue : Params(index)->Value;
}

void TzqMethodHelper::SetParams(int index, const Variant &value)
{
    Params(index)->Value = value;
}

Variant TzqMethodHelper::callHost(TObject *instance, const QString &name)
{
    if (ArrayCallEvent) {
        for (int i = 0; i < Count(); ++i)
            ArgArray.PutElement({i}, Params(i)->Value);
        Variant result = ArrayCallEvent(instance, ClassType, name, ArgArray);
        for (int i = 0; i < Count(); ++i) {
            if (Params(i)->IsVarParam)
                Params(i)->Value = ArgArray.GetElement({i});
        }
        return result;
    }
    if (CallMethod)
        return CallMethod(instance, ClassType, name, this);
    return Variant(0);
}

Variant TzqMethodHelper::construct()
{
    TObject *existing = zqObjectOf(ParentValue);
    TClass cls = ClassType;
    if (auto *named = dynamic_cast<TzqClassVariable *>(ParentRef))
        cls = named->ClassRef;
    else if (existing)
        return callHost(existing, UppercaseName);
    if (!cls)
        throw EInvalidObject(SNilObject + quoted(Name));
    const std::optional<RegisteredClass> registered = RegisteredClassOf(cls);
    TObject *object = nullptr;
    const Variant first = Count() > 0 ? Params(0)->Value : Variant::Null();
    TObject *owner = Count() > 0 && !VarIsStr(first) ? zqObjectOf(first) : nullptr;
    if (registered && registered->factories.createWith && Count() > 0 && !dynamic_cast<TComponent *>(owner)) {
        QVariantList arguments;
        for (int i = 0; i < Count(); ++i)
            arguments << toQVariant(Params(i)->Value);
        object = CreateObject(cls, arguments);
    } else {
        object = CreateObject(cls, dynamic_cast<TComponent *>(owner));
    }
    try {
        callHost(object, UppercaseName);
    } catch (...) {
        delete object;
        throw;
    }
    zqMarkMadeByScript(object);
    return Variant(object->Handle());
}

Variant TzqMethodHelper::GetValue()
{
    if (Typ == fvtConstructor)
        return construct();
    // Free of nil does nothing, so clean-up code may free what it never got.
    if (ClassType == ClassOf<TObject>() && UppercaseName == u"FREE" && !zqObjectOf(ParentValue))
        return Variant();
    TObject *instance = ClassType ? requireInstance() : zqObjectOf(ParentValue);
    return callHost(instance, IsIndexProp ? UppercaseName + QStringLiteral(".GET") : UppercaseName);
}

void TzqMethodHelper::SetValue(const Variant &value)
{
    if (!IsIndexProp)
        return;
    TObject *instance = ClassType ? requireInstance() : zqObjectOf(ParentValue);
    const QString name = UppercaseName + QStringLiteral(".SET");
    if (ArrayCallEvent) {
        struct RestoreSize {
            Variant &array;
            int high;
            ~RestoreSize() { VarArrayRedim(array, high); }
        };
        if (ArgArray.IsEmpty())
            ArgArray = VarArrayCreate({0, 0}, varVariant);
        else
            VarArrayRedim(ArgArray, Count());
        RestoreSize restore{ArgArray, Count() - 1};
        for (int i = 0; i < Count(); ++i)
            ArgArray.PutElement({i}, Params(i)->Value);
        ArgArray.PutElement({Count()}, value);
        ArrayCallEvent(instance, ClassType, name, ArgArray);
        return;
    }
    if (CallMethod) {
        struct ClearAssigned {
            Variant &assigned;
            ~ClearAssigned() { assigned = Variant::Null(); }
        } clear{AssignedValue};
        AssignedValue = value;
        CallMethod(instance, ClassType, name, this);
    }
}

TzqComponentHelper::TzqComponentHelper(TComponent *component)
    : TzqCustomHelper(component->Name(), fvtClass, component->ClassName()), Component(component)
{
    IsReadOnly = true;
}

Variant TzqComponentHelper::GetValue()
{
    return Variant(Component->Handle());
}

TzqEventHelper::TzqEventHelper(const QString &name) : TzqCustomHelper(name, fvtString, QString())
{
}

Variant TzqEventHelper::GetValue()
{
    return Variant(QString());
}

void TzqEventHelper::SetValue(const Variant &value)
{
    TObject *instance = requireInstance();
    const TPropInfo *prop = nullptr;
    if (!SetSlot) {
        prop = GetPropInfo(instance, Name);
        if (!prop || prop->Kind() != TTypeKind::Method)
            throw EPropertyError(QString(SEventNotFound).replace(QStringLiteral("%s"), Name));
    }
    const QString text = value.AsString();
    if (text == QStringLiteral("0")) {
        if (prop)
            prop->ClearMethod(instance);
        else
            SetSlot(instance, QVariant());
        return;
    }
    TzqCustomVariable *named = Prog ? Prog->Find(text) : nullptr;
    TzqProcVariable *proc = named ? named->AsProcedure() : nullptr;
    if (!proc)
        throw Exception(SEventError);
    if (prop)
        prop->AssignRoutine(instance, proc->Routine());
    else
        SetSlot(instance, Factory(instance, proc, Prog));
}

TzqArrayHelper::TzqArrayHelper(const QString &name, int dimensions)
    : TzqCustomHelper(name, fvtVariant, QString())
{
    HelperKind = ArrayElement;
    const int count = dimensions == 0 ? 3 : dimensions;
    for (int i = 0; i < count; ++i) {
        const bool optional = dimensions == 0 && i > 0;
        AddParam(std::make_unique<TzqParamItem>(QStringLiteral("Index%1").arg(i), fvtInt, QStringLiteral("Integer"),
                                                optional, false));
    }
}

Variant *TzqArrayHelper::array()
{
    if (ParentRef && VarIsArray(ParentRef->Value))
        return &ParentRef->Value;
    m_copy = ParentValue;
    return &m_copy;
}

int TzqArrayHelper::indices(const Variant &array, int (&at)[3]) const
{
    const int dims = VarArrayDimCount(array);
    if (dims < 1 || dims > 3 || dims > Count())
        return 0;
    for (int i = 0; i < dims; ++i)
        at[i] = Params(i)->Value.AsInteger();
    return dims;
}

Variant TzqArrayHelper::GetValue()
{
    const Variant *a = array();
    int at[3];
    const int count = indices(*a, at);
    if (count == 0) {
        if (!VarIsArray(*a))
            throw EVariantNotAnArrayError(SArrayRequired);
        return Variant::Null();
    }
    return a->GetElement(at, count);
}

void TzqArrayHelper::SetValue(const Variant &value)
{
    Variant *a = array();
    int at[3];
    if (const int count = indices(*a, at))
        a->PutElement(at, count, value);
}

TzqStringHelper::TzqStringHelper(const QString &name) : TzqCustomHelper(name, fvtString, QString())
{
    HelperKind = Character;
    AddParam(std::make_unique<TzqParamItem>(QStringLiteral("Index"), fvtInt, QStringLiteral("Integer"), false, false));
}

namespace {

int checkedIndex(const QString &text, const Variant &index)
{
    const int i = index.AsInteger();
    if (i < 1 || i > text.size())
        throw ERangeError(QString(SStringIndexError).replace(QStringLiteral("%d"), QString::number(i)));
    return i;
}

} // namespace

Variant TzqStringHelper::GetValue()
{
    const QString text = ParentValue.AsString();
    return Variant(QString(text[checkedIndex(text, Params(0)->Value) - 1]));
}

void TzqStringHelper::SetValue(const Variant &value)
{
    QString text = ParentValue.AsString();
    const QString character = value.AsString();
    text[checkedIndex(text, Params(0)->Value) - 1] = character.isEmpty() ? QChar(0) : character[0];
    if (ParentRef)
        ParentRef->SetValue(Variant(text));
}

TzqClassVariable::TzqClassVariable(TClass cls, const QString &ancestor)
    : TzqCustomVariable(ClassNameOf(cls), fvtClass, ClassNameOf(cls)), Ancestor(ancestor), ClassRef(cls)
{
    // A class is never its own ancestor.
    if (Ancestor.compare(Name, Qt::CaseInsensitive) == 0)
        Ancestor.clear();
    AddPublishedProperties(cls);
    AddParam(std::make_unique<TzqParamItem>(QString(), fvtVariant, QString(), true, false));
}

TzqClassVariable::~TzqClassVariable() = default;

template <class Helper>
Helper *TzqClassVariable::append(std::unique_ptr<Helper> helper)
{
    Helper *result = helper.get();
    m_members.push_back(std::move(helper));
    return result;
}

void TzqClassVariable::AddPublishedProperties(TClass cls)
{
    for (const TPropInfo *prop : GetPropList(cls)) {
        if (prop->Kind() == TTypeKind::Method)
            continue;
        QString typeName;
        const TzqVarType typ = kindOf(*prop, typeName);
        auto helper = std::make_unique<TzqPropertyHelper>(prop->Name(), typ, typeName);
        helper->ClassType = ClassRef;
        helper->PropInfo = prop;
        helper->IsReadOnly = !prop->IsWritable();
        append(std::move(helper));
    }
}

TzqMethodHelper *TzqClassVariable::AddMethod(const QString &syntax, const TzqCallMethodEvent &callMethod)
{
    auto helper = std::make_unique<TzqMethodHelper>(syntax, Program);
    helper->CallMethod = callMethod;
    helper->ClassType = ClassRef;
    return append(std::move(helper));
}

TzqMethodHelper *TzqClassVariable::AddMethodArrayCall(const QString &syntax, const TzqCallMethodArrayEvent &callMethod)
{
    TzqMethodHelper *helper = AddMethod(syntax, nullptr);
    helper->ArrayCallEvent = callMethod;
    return helper;
}

TzqMethodHelper *TzqClassVariable::AddConstructor(const QString &syntax, const TzqCallMethodEvent &callMethod)
{
    const qsizetype blank = syntax.indexOf(u' ');
    const QString rest = blank < 0 ? QString() : syntax.mid(blank + 1);
    TzqMethodHelper *helper = AddMethod(QStringLiteral("function ") + rest + QStringLiteral(": Constructor"), callMethod);
    helper->Typ = fvtConstructor;
    return helper;
}

TzqPropertyHelper *TzqClassVariable::AddProperty(const QString &name, const QString &typeName,
                                                 const TzqGetPropEvent &getProp, const TzqSetPropEvent &setProp)
{
    auto helper = std::make_unique<TzqPropertyHelper>(name, StrToVarType(typeName, Program), typeName);
    helper->ClassType = ClassRef;
    helper->GetProp = getProp;
    helper->SetProp = setProp;
    helper->IsReadOnly = !setProp;
    return append(std::move(helper));
}

TzqMethodHelper *TzqClassVariable::AddIndexProperty(const QString &name, const QString &indexTypes,
                                                    const QString &typeName, const TzqCallMethodEvent &callMethod,
                                                    bool readOnly)
{
    QStringList params;
    const QStringList types = indexTypes.split(u',');
    for (qsizetype k = 0; k < types.size(); ++k)
        params << QStringLiteral("p%1: %2").arg(k).arg(types[k].trimmed());
    TzqMethodHelper *helper = AddMethod(QStringLiteral("function ") + name + u'(' + params.join(QStringLiteral("; "))
                                            + QStringLiteral("): ") + typeName,
                                        callMethod);
    helper->IsReadOnly = readOnly;
    helper->IsIndexProp = true;
    return helper;
}

TzqMethodHelper *TzqClassVariable::AddDefaultProperty(const QString &name, const QString &indexTypes,
                                                      const QString &typeName, const TzqCallMethodEvent &callMethod,
                                                      bool readOnly)
{
    TzqMethodHelper *helper = AddIndexProperty(name, indexTypes, typeName, callMethod, readOnly);
    DefProperty = helper;
    return helper;
}

TzqEventHelper *TzqClassVariable::AddEvent(const QString &name)
{
    auto helper = std::make_unique<TzqEventHelper>(name);
    helper->ClassType = ClassRef;
    return append(std::move(helper));
}

void TzqClassVariable::AddComponent(TComponent *component)
{
    append(std::make_unique<TzqComponentHelper>(component));
}

TzqCustomVariable *TzqClassVariable::Find(const QString &name) const
{
    QSet<const TzqClassVariable *> visited;
    for (const TzqClassVariable *cls = this; cls && !visited.contains(cls);
         cls = cls->Program ? cls->Program->FindClass(cls->Ancestor) : nullptr) {
        visited.insert(cls);
        for (const auto &member : cls->m_members) {
            if (member->Name.compare(name, Qt::CaseInsensitive) == 0)
                return member.get();
        }
        if (cls->Ancestor.isEmpty())
            break;
    }
    return nullptr;
}

Variant TzqClassVariable::GetValue()
{
    TzqParamItem *cast = Params(0);
    Variant result = cast->Value;
    cast->Value = Variant::Null();
    return result;
}

bool zqClassDescendsFrom(const TzqScript *script, const QString &derived, const QString &base)
{
    if (derived.compare(base, Qt::CaseInsensitive) == 0)
        return true;
    const TzqClassVariable *d = script ? script->FindClass(derived) : nullptr;
    const TzqClassVariable *b = script ? script->FindClass(base) : nullptr;
    if (d && b && ClassInheritsFrom(d->ClassRef, b->ClassRef))
        return true;
    QSet<const TzqClassVariable *> visited;
    for (; d && !visited.contains(d); d = script->FindClass(d->Ancestor)) {
        visited.insert(d);
        if (d->Ancestor.compare(base, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

namespace {

std::unique_ptr<std::vector<TzqRTTIModuleClass>> &moduleList()
{
    static std::unique_ptr<std::vector<TzqRTTIModuleClass>> list;
    return list;
}

} // namespace

std::vector<TzqRTTIModuleClass> *RTTIModuleList()
{
    return moduleList().get();
}

void InitializeRTTIModuleList()
{
    moduleList() = std::make_unique<std::vector<TzqRTTIModuleClass>>();
}

void FinalizeRTTIModuleList()
{
    moduleList().reset();
}

void AddRTTIModule(TzqRTTIModuleFactory create)
{
    if (RTTIModuleList())
        RTTIModuleList()->push_back(create);
}

void RemoveRTTIModule(TzqRTTIModuleFactory create)
{
    if (std::vector<TzqRTTIModuleClass> *modules = RTTIModuleList())
        std::erase_if(*modules, [create](const TzqRTTIModuleClass &entry) {
            const TzqRTTIModuleFactory *target = entry.target<TzqRTTIModuleFactory>();
            return target && *target == create;
        });
}
