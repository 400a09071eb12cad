#include "script/zqVariables.h"

#include "script/zqMessages.h"
#include "script/zqScript.h"
#include "script/zqStatements.h"
#include "toolkit/core/Exceptions.h"

#include <QPointer>
#include <new>

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

TzqVariable::TzqVariable(const QString &name, TzqVarType typ, const QString &typeName)
    : TzqCustomVariable(name, typ, typeName)
{
    Slot = TzqSlot::Value;
}

TzqStringVariable::TzqStringVariable(const QString &name, TzqVarType typ, const QString &typeName)
    : TzqVariable(name, typ, typeName)
{
    Slot = TzqSlot::Text;
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
    if (Loan)
        Loan->Settle();
    return valueFromCallback(Value);
}

namespace {

// The value a variable of kind typ stores for value.
Variant typedValue(TzqVarType typ, const Variant &value)
{
    switch (typ) {
    case fvtInt: return Variant(value.AsInteger());
    case fvtBool: return Variant(value.AsBoolean());
    case fvtFloat: return VarType(value) == varDate ? value : Variant(value.AsDouble());
    case fvtString: return Variant(value.AsString());
    default: return value;
    }
}

} // namespace

// A value that cannot be converted leaves a lent text lent.
void TzqVariable::SetValue(const Variant &value)
{
    if (IsReadOnly)
        return;
    Variant typed = typedValue(Typ, value);
    if (Loan)
        Loan->End();
    Value = std::move(typed);
}

Variant TzqStringVariable::GetValue()
{
    if (Loan)
        Loan->Settle();
    return valueFromCallback(Variant(Str));
}

void TzqStringVariable::SetValue(const Variant &value)
{
    QString text = value.AsString();
    if (Loan)
        Loan->End();
    Str = std::move(text);
}

TzqParamItem::TzqParamItem(const QString &name, TzqVarType typ, const QString &typeName, bool isOptional,
                           bool isVarParam)
    : TzqCustomVariable(name, typ, typeName), IsOptional(isOptional), IsVarParam(isVarParam)
{
    Slot = TzqSlot::Value;
}

void TzqParamItem::SetValue(const Variant &value)
{
    if (Loan)
        Loan->Settle();
    TzqCustomVariable::SetValue(value);
}

Variant TzqParamItem::HandBack()
{
    Variant value = std::move(Value);
    Value = Variant::Null();
    return value;
}

namespace {

// Whether the variable keeps a text in place, with nothing between it and
// its readers; text is then that text.
bool lendableText(TzqCustomVariable *variable, QString &text)
{
    if (variable->Loan || variable->OnGetVarValue || variable->IsReadOnly || !dynamic_cast<TzqVariable *>(variable))
        return false;
    if (variable->Slot == TzqSlot::Text) {
        text = static_cast<TzqStringVariable *>(variable)->Str;
        return true;
    }
    if (variable->Slot != TzqSlot::Value || variable->Value.Type() != varString)
        return false;
    text = variable->Value.AsString();
    return true;
}

} // namespace

void TzqTextLoan::Lend(TzqCustomVariable *variable, TzqParamItem *param)
{
    QString text;
    if (!lendableText(variable, text) || param->Loan || param->Slot != TzqSlot::Value || param->OnGetVarValue ||
        param->Value.Type() != varString || !param->Value.AsString().isSharedWith(text))
        return;
    m_length = text.size();
    m_lenderSlot = variable->Slot;
    if (m_lenderSlot == TzqSlot::Text)
        static_cast<TzqStringVariable *>(variable)->Str = QString();
    else
        variable->Value = Variant();
    m_lender = variable;
    m_borrower = param;
    m_text = &param->Value;
    variable->Slot = param->Slot = TzqSlot::None;
    variable->Loan = param->Loan = this;
}

TzqTextLoan::~TzqTextLoan()
{
    try {
        Settle();
    } catch (const std::bad_alloc &) {
        // No room for the variable's own copy: it is left empty rather than
        // the program ended.
        End();
    }
}

void TzqTextLoan::Return(const Variant &handBack)
{
    if (!m_borrower)
        return;
    releaseBorrower();
    m_text = &handBack;
}

void TzqTextLoan::Settle()
{
    if (!m_lender)
        return;
    // Only ever appended to while lent, the text is a string.
    QString text = m_text->IsString() ? m_text->AsString().left(m_length) : QString();
    TzqCustomVariable *lender = m_lender;
    const TzqSlot slot = m_lenderSlot;
    End();
    if (slot == TzqSlot::Text)
        static_cast<TzqStringVariable *>(lender)->Str = std::move(text);
    else
        lender->Value = Variant(text);
}

void TzqTextLoan::End()
{
    if (!m_lender)
        return;
    m_lender->Slot = m_lenderSlot;
    m_lender->Loan = nullptr;
    m_lender = nullptr;
    releaseBorrower();
}

void TzqTextLoan::releaseBorrower()
{
    if (!m_borrower)
        return;
    m_borrower->Slot = TzqSlot::Value;
    m_borrower->Loan = nullptr;
    m_borrower = nullptr;
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
    if (IsFunc) {
        // What assigning Unassigned leaves in Result, stored directly where
        // Result keeps its value in Value.
        if (RefItem->Slot == TzqSlot::Value) {
            if (m_resultStart.IsNull()) {
                RefItem->SetValue(Unassigned);
                m_resultStart = RefItem->Value;
            }
            RefItem->Value = m_resultStart;
        } else {
            RefItem->SetValue(Unassigned);
        }
    }
    if (main)
        main->RunningLocalScript = prog;
    prog->BreakCalled = prog->ContinueCalled = prog->ExitCalled = false;
    prog->Terminated = false;
    prog->IsRunning = true;
    prog->MainProgram()->Execute();
    return IsFunc ? zqRead(RefItem) : Variant::Null();
}

size_t TzqProcVariable::pushFrame()
{
    TzqScript *prog = m_prog.get();
    if (m_localsCount != prog->Count()) {
        m_locals.clear();
        for (int i = 0; i < prog->Count(); ++i) {
            TzqCustomVariable *item = prog->Items(i)->AsVariable();
            if (item && (item->Slot != TzqSlot::None || item->Loan))
                m_locals.push_back(item);
        }
        m_localsCount = prog->Count();
    }
    const size_t base = m_frameTop;
    const size_t top = base + m_locals.size();
    if (m_frames.size() < top)
        m_frames.resize(top);
    Saved *saved = m_frames.data() + base;
    for (TzqCustomVariable *item : m_locals) {
        // The frame keeps values, not loans.
        if (item->Loan)
            item->Loan->Settle();
        saved->item = item;
        if (item->Slot == TzqSlot::Text)
            saved->value = Variant(static_cast<TzqStringVariable *>(item)->Str);
        else
            saved->value = item->Value;
        ++saved;
    }
    m_frameTop = top;
    return base;
}

void TzqProcVariable::popFrame(size_t base)
{
    for (size_t i = base; i < m_frameTop; ++i) {
        Saved &saved = m_frames[i];
        if (saved.item->Slot == TzqSlot::Text) {
            static_cast<TzqStringVariable *>(saved.item)->Str = saved.value.AsString();
            saved.value = Variant();
        } else {
            saved.item->Value = std::move(saved.value);
        }
    }
    m_frameTop = base;
}

TzqRecursionGuard::TzqRecursionGuard(TzqCustomVariable *callee)
{
    TzqProcVariable *proc = callee->AsProcedure();
    if (!proc || !proc->Executing)
        return;
    m_base = proc->pushFrame();
    m_proc = proc;
}

TzqRecursionGuard::~TzqRecursionGuard()
{
    if (m_proc)
        m_proc->popFrame(m_base);
}
