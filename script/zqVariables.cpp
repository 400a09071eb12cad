#include "script/zqVariables.h"

#include "script/zqMessages.h"
#include "script/zqScript.h"
#include "script/zqStatements.h"
#include "toolkit/core/Exceptions.h"

#include <QPointer>

TzqCustomVariable::TzqCustomVariable(const QString &name, TzqVarType typ, const QString &typeName)
    : Name(name), Typ(typ), TypeName(typeName), UppercaseName(name.toUpper())
{
}

TzqCustomVariable::~TzqCustomVariable() = default;

Variant TzqCustomVariable::GetValue()
{
    return Value;
}

void TzqCustomVariable::SetValue(const Variant &value)
{
    if (!IsReadOnly)
        Value = value;
}

void TzqCustomVariable::AddParam(std::unique_ptr<TzqParamItem> param)
{
    m_params.push_back(std::move(param));
}

int TzqCustomVariable::GetNumberOfRequiredParams() const
{
    int count = 0;
    for (const auto &param : m_params)
        count += param->IsOptional ? 0 : 1;
    return count;
}

QString TzqCustomVariable::GetFullTypeName() const
{
    return zqTypeNameOf(Typ, TypeName);
}

QString zqTypeNameOf(TzqVarType typ, const QString &typeName)
{
    switch (typ) {
    case fvtInt: return QStringLiteral("Integer");
    case fvtBool: return QStringLiteral("Boolean");
    case fvtFloat: return QStringLiteral("Extended");
    case fvtChar: return QStringLiteral("Char");
    case fvtString: return QStringLiteral("String");
    case fvtClass:
    case fvtEnum: return typeName;
    case fvtArray: return QStringLiteral("Array");
    case fvtInt64: return QStringLiteral("Int64");
    case fvtVariant:
    case fvtConstructor: break;
    }
    return QStringLiteral("Variant");
}

Variant TzqVariable::valueFromCallback(const Variant &stored) const
{
    if (!OnGetVarValue)
        return stored;
    Variant result = OnGetVarValue(Name, Typ, stored);
    return result.IsNull() ? stored : result;
}

Variant TzqVariable::GetValue()
{
    return valueFromCallback(Value);
}

void TzqVariable::SetValue(const Variant &value)
{
    if (IsReadOnly)
        return;
    switch (Typ) {
    case fvtInt: Value = Variant(value.AsInteger()); break;
    case fvtBool: Value = Variant(value.AsBoolean()); break;
    case fvtFloat:
        Value = VarType(value) == varDate ? value : Variant(value.AsDouble());
        break;
    case fvtString: Value = Variant(value.AsString()); break;
    default: Value = value; break;
    }
}

Variant TzqStringVariable::GetValue()
{
    return valueFromCallback(Variant(Str));
}

void TzqStringVariable::SetValue(const Variant &value)
{
    Str = value.AsString();
}

TzqParamItem::TzqParamItem(const QString &name, TzqVarType typ, const QString &typeName, bool isOptional,
                           bool isVarParam)
    : TzqCustomVariable(name, typ, typeName), IsOptional(isOptional), IsVarParam(isVarParam)
{
}

TzqProcVariable::TzqProcVariable(const QString &name, TzqVarType typ, const QString &typeName,
                                 TzqScript *parentProg, bool isFunc)
    : TzqCustomVariable(name, typ, typeName), IsFunc(isFunc), m_prog(std::make_unique<TzqScript>())
{
    IsReadOnly = true;
    m_prog->Parent = parentProg;
    if (parentProg)
        m_prog->DeferUnresolved = parentProg->DeferUnresolved;
    if (isFunc) {
        std::unique_ptr<TzqVariable> result;
        if (typ == fvtString || typ == fvtChar)
            result = std::make_unique<TzqStringVariable>(QStringLiteral("Result"), typ, typeName);
        else
            result = std::make_unique<TzqVariable>(QStringLiteral("Result"), typ, typeName);
        RefItem = result.get();
        m_prog->Add(QStringLiteral("Result"), std::move(result));
    }
}

TzqProcVariable::~TzqProcVariable()
{
    for (int i = 0; i < Count(); ++i)
        m_prog->Remove(Params(i));
}

void TzqProcVariable::AddParameter(std::unique_ptr<TzqParamItem> param)
{
    m_prog->AddReference(param->Name, param.get());
    AddParam(std::move(param));
}

void TzqProcVariable::SetValue(const Variant &)
{
}

Variant TzqProcVariable::Call(QList<Variant> &arguments)
{
    const int count = std::min(int(arguments.size()), Count());
    TzqRecursionGuard guard(this);
    for (int i = 0; i < count; ++i)
        Params(i)->SetValue(arguments[i]);
    Variant result = GetValue();
    for (int i = 0; i < count; ++i)
        arguments[i] = Params(i)->GetValue();
    return result;
}

Variant TzqProcVariable::HandleEvent(QList<Variant> &arguments)
{
    return Executing ? Variant() : Call(arguments);
}

TScriptCallable TzqProcVariable::Routine()
{
    QPointer<TzqScript> alive = m_prog.get();
    return [this, alive](QList<Variant> &arguments) { return alive ? HandleEvent(arguments) : Variant(); };
}

namespace {

// Script calls nested at once; each costs several native frames.
constexpr int maxCallDepth = 256;
int callDepth = 0;

} // namespace

Variant TzqProcVariable::GetValue()
{
    if (callDepth >= maxCallDepth)
        throw Exception(SCallsTooDeep);
    struct Restore {
        TzqProcVariable *proc;
        bool executing;
        TzqScript *main;
        TzqScript *running;
        ~Restore()
        {
            TzqScript *prog = proc->m_prog.get();
            prog->BreakCalled = prog->ContinueCalled = prog->ExitCalled = false;
            prog->Terminated = prog->IsRunning = false;
            if (main)
                main->RunningLocalScript = running;
            proc->Executing = executing;
            --callDepth;
        }
    };
    TzqScript *prog = m_prog.get();
    TzqScript *main = zqMainScriptOf(prog);
    if (!main->IsMainScript)
        main = nullptr;
    ++callDepth;
    Restore restore{this, Executing, main, main ? main->RunningLocalScript : nullptr};
    Executing = true;
    if (IsFunc)
        RefItem->SetValue(Unassigned);
    if (main)
        main->RunningLocalScript = prog;
    prog->BreakCalled = prog->ContinueCalled = prog->ExitCalled = false;
    prog->Terminated = false;
    prog->IsRunning = true;
    prog->MainProgram()->Execute();
    return IsFunc ? RefItem->GetValue() : Variant::Null();
}

TzqRecursionGuard::TzqRecursionGuard(TzqCustomVariable *callee)
{
    TzqProcVariable *proc = callee->AsProcedure();
    if (!proc || !proc->Executing)
        return;
    TzqScript *prog = proc->Prog();
    for (int i = 0; i < prog->Count(); ++i) {
        TzqCustomVariable *item = prog->Items(i)->AsVariable();
        if (!item || !item->HoldsLocalValue())
            continue;
        const QString *text = item->TextStorage();
        m_saved.push_back({item, item->Value, text ? *text : QString()});
    }
}

TzqRecursionGuard::~TzqRecursionGuard()
{
    for (Saved &saved : m_saved) {
        saved.item->Value = saved.value;
        if (QString *text = saved.item->TextStorage())
            *text = saved.str;
    }
}
