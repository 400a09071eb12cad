#pragma once

// The named things a script refers to: variables, constants, type entries,
// parameters and procedures all derive from TzqCustomVariable.  Values are
// variants; the value kind says how a value is stored and checked.  Reading
// a procedure's value runs it.

#include "toolkit/classes/EventHandlers.h"
#include "toolkit/core/Variants.h"

#include <QList>
#include <QString>
#include <functional>
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

class TzqCustomHelper;
class TzqCustomVariable;
class TzqParamItem;
class TzqProcVariable;
class TzqScript;
class TzqTextLoan;

// Anything a script's item table holds (variables, modules, event adapters).
class TzqScriptItem
{
public:
    virtual ~TzqScriptItem() = default;
    virtual TzqCustomVariable *AsVariable() { return nullptr; }
};

// Asked for the value of a variable added by TzqScript::AddVariable; a Null
// answer keeps the stored value.
using TzqGetVariableValueEvent =
    std::function<Variant(const QString &VarName, TzqVarType VarTyp, const Variant &OldValue)>;

// Where an item keeps its value, for the interpreter's inline reads and
// writes: in Value (variables and parameters), in the text storage (string
// variables), or behind the virtual GetValue and SetValue.
enum class TzqSlot : quint8 { None, Value, Text };

class TzqCustomVariable : public TzqScriptItem
{
public:
    TzqCustomVariable(const QString &name, TzqVarType typ, const QString &typeName);
    ~TzqCustomVariable() override;

    TzqCustomVariable(const TzqCustomVariable &) = delete;
    TzqCustomVariable &operator=(const TzqCustomVariable &) = delete;

    // Owner tag of the host that added the item (TzqScript::ClearItems).
    const void *AddedBy = nullptr;
    // A macro function gets its arguments as their source text.
    bool IsMacro = false;
    bool IsReadOnly = false;
    QString Name;
    // Cleared on the last step of a call statement: the value is dropped.
    bool NeedResult = true;
    // Not owned: a function's Result variable, an array's element accessor.
    TzqCustomVariable *RefItem = nullptr;
    TzqVarType Typ;
    QString TypeName;
    // The name in upper case; host call-backs receive this form.
    QString UppercaseName;
    Variant Value = Variant::Null();
    TzqGetVariableValueEvent OnGetVarValue;
    TzqSlot Slot = TzqSlot::None;
    // The loan of a text this item lends or borrows, while a call runs.
    TzqTextLoan *Loan = nullptr;

    // The stored value; writes are ignored on a read-only item.
    virtual Variant GetValue();
    virtual void SetValue(const Variant &value);

    // Kind tests for the interpreter's inner loops.
    TzqCustomVariable *AsVariable() override { return this; }
    virtual TzqCustomHelper *AsHelper() { return nullptr; }
    virtual TzqProcVariable *AsProcedure() { return nullptr; }

    // The formal parameters, owned, in order.
    int Count() const { return int(m_params.size()); }
    TzqParamItem *Params(int index) const { return m_params.at(index).get(); }
    void AddParam(std::unique_ptr<TzqParamItem> param);
    int GetNumberOfRequiredParams() const;

    // "Integer", "Boolean", "Extended", "Char", "String", "Array",
    // "Variant", "Int64", or the own type name of a class or enumeration.
    QString GetFullTypeName() const;

private:
    std::vector<std::unique_ptr<TzqParamItem>> m_params;
};

// The value GetValue gives, read in place from an item that keeps it in
// Value and has no read call-back.
inline Variant zqRead(TzqCustomVariable *item)
{
    if (item->Slot == TzqSlot::Value && !item->OnGetVarValue)
        return item->Value;
    return item->GetValue();
}

// Whether a variable of kind typ stores a value of this type unchanged.
inline bool zqStoresAsIs(TzqVarType typ, TVarType type)
{
    switch (typ) {
    case fvtInt: return type == varInteger;
    case fvtBool: return type == varBoolean;
    case fvtFloat: return type == varDouble || type == varDate;
    case fvtString: return type == varString;
    default: return true;
    }
}

// SetValue, done in place where it would store the value unchanged.
inline void zqWrite(TzqCustomVariable *item, Variant &&value)
{
    if (item->Slot == TzqSlot::Value && !item->IsReadOnly && zqStoresAsIs(item->Typ, value.Type()))
        item->Value = std::move(value);
    else
        item->SetValue(value);
}

// The type name reported for a kind; the type name itself for classes and
// enumerations.
QString zqTypeNameOf(TzqVarType typ, const QString &typeName);

// A variable or constant with typed assignment: Int stores an Integer
// (3.7 gives 4, halves to even), Bool a Boolean, Float a Double (a date
// stays a date), String a string; other kinds store the value as it is.
class TzqVariable : public TzqCustomVariable
{
public:
    TzqVariable(const QString &name, TzqVarType typ, const QString &typeName);

    Variant GetValue() override;
    void SetValue(const Variant &value) override;
protected:
    Variant valueFromCallback(const Variant &stored) const;
};

// A Char or String variable: the text itself, so that index access changes
// characters in place.  Not subject to the read-only test.
class TzqStringVariable : public TzqVariable
{
public:
    TzqStringVariable(const QString &name, TzqVarType typ, const QString &typeName);

    QString Str;

    Variant GetValue() override;
    void SetValue(const Variant &value) override;
};

// A type name registered with TzqScript::AddType.
class TzqTypeVariable : public TzqCustomVariable
{
public:
    using TzqCustomVariable::TzqCustomVariable;
};

class TzqParamItem final : public TzqCustomVariable
{
public:
    TzqParamItem(const QString &name, TzqVarType typ, const QString &typeName, bool isOptional, bool isVarParam);

    Variant DefValue = Variant::Null();
    bool IsOptional;
    bool IsVarParam;

    void SetValue(const Variant &value) override;
    // The value handed back to the caller when a call ends, moved out: the
    // parameter is left Null, so that it keeps no share of the caller's text
    // and the caller's next append stays in place.
    Variant HandBack();
};

// A variable's text lent to a var parameter of a script procedure for one
// call.  Passed the plain way, the variable and the parameter share the
// text, and the procedure's first append to the parameter copies it.  Lent,
// the text moves to the parameter and the variable holds nothing, both with
// Slot None, so that every read and write of either goes through GetValue
// and SetValue.  While the loan runs the text is only appended to, so the
// variable's value is the text's first characters, as many as it lent:
// reading the variable, or writing the parameter otherwise than by an
// append, gives the variable those characters as its own (Settle); writing
// the variable ends the loan (End).  When the call ends the parameter's
// value moves to the hand-back, and the variable reads its characters from
// there until its own hand-back writes it (Return).  A loan destroyed while
// it runs (an exception passed) settles.
class TzqTextLoan
{
public:
    TzqTextLoan() = default;
    ~TzqTextLoan();

    TzqTextLoan(const TzqTextLoan &) = delete;
    TzqTextLoan &operator=(const TzqTextLoan &) = delete;

    // Lends the variable's text to the parameter when the parameter holds
    // it, shared with the variable only; nothing otherwise.
    void Lend(TzqCustomVariable *variable, TzqParamItem *param);
    // The parameter's value has moved to handBack (TzqParamItem::HandBack);
    // the parameter is free, and the text stays lent from there.
    void Return(const Variant &handBack);
    // Gives the variable its text back and ends the loan.
    void Settle();
    // Ends the loan; the variable keeps what it holds.
    void End();

private:
    void releaseBorrower();

    TzqCustomVariable *m_lender = nullptr;
    // The parameter, until the call returns the text.
    TzqParamItem *m_borrower = nullptr;
    // Where the text is: the parameter's value, then the hand-back.
    const Variant *m_text = nullptr;
    qsizetype m_length = 0;
    TzqSlot m_lenderSlot = TzqSlot::None;
};

// A procedure or function of a script.  Its parameters, local variables and
// Result live in Prog, its own local script under the declaring one.
// Reading the value runs the body (the caller has stored the arguments in the
// parameters) and yields the function result, or Null for a procedure.
class TzqProcVariable final : public TzqCustomVariable
{
public:
    TzqProcVariable(const QString &name, TzqVarType typ, const QString &typeName, TzqScript *parentProg, bool isFunc);
    ~TzqProcVariable() override;

    bool Executing = false;
    bool IsFunc;
    TzqScript *Prog() const { return m_prog.get(); }

    // Makes the parameter a parameter of the procedure and an entry of Prog.
    void AddParameter(std::unique_ptr<TzqParamItem> param);

    // Runs the procedure with its first parameters set from the arguments
    // (as many as both have) and writes their values back into them; a call
    // while the procedure runs keeps the caller's values apart.
    Variant Call(QList<Variant> &arguments);
    // Runs the procedure as the handler of a host event: as Call, except
    // that an event its own code fires again while it runs (OnChange setting
    // the text that fires OnChange) does not run it a second time and leaves
    // the arguments as they are.  Event properties and event adapters both
    // call handlers through here.
    Variant HandleEvent(QList<Variant> &arguments);
    // The procedure as a routine for event handlers (HandleEvent); once the
    // procedure is gone the routine does nothing.
    TScriptCallable Routine();

    Variant GetValue() override;
    void SetValue(const Variant &value) override;
    TzqProcVariable *AsProcedure() override { return this; }

private:
    friend class TzqRecursionGuard;

    // A caller's values of the locals while a call of the procedure from
    // within it runs.
    struct Saved {
        TzqCustomVariable *item = nullptr;
        // Value, or the text of a string variable.
        Variant value;
    };

    // Copies the locals' values onto the frame stack and returns where
    // they start; popFrame puts them back.
    size_t pushFrame();
    void popFrame(size_t base);

    std::unique_ptr<TzqScript> m_prog;
    // The parameters, variables and Result of Prog (their values are the
    // running call's), listed for an item count of m_localsCount.
    std::vector<TzqCustomVariable *> m_locals;
    int m_localsCount = -1;
    // Saved frames, innermost last, up to m_frameTop; the entries above
    // stay for the next call so that no call allocates once the depth was
    // reached.
    std::vector<Saved> m_frames;
    size_t m_frameTop = 0;
    // Result's value at the start of a call; Null until the first call.
    Variant m_resultStart = Variant::Null();
};

// Keeps the values of a procedure's parameters and local variables while a
// recursive call of it runs, and puts them back when the call ends, also when
// an exception passes.  Does nothing when the procedure is not executing.
class TzqRecursionGuard
{
public:
    explicit TzqRecursionGuard(TzqCustomVariable *callee);
    ~TzqRecursionGuard();

    TzqRecursionGuard(const TzqRecursionGuard &) = delete;
    TzqRecursionGuard &operator=(const TzqRecursionGuard &) = delete;

private:
    TzqProcVariable *m_proc = nullptr;
    size_t m_base = 0;
};
