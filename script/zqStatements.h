#pragma once

// Statements.  A compiled script is a tree of statements; running it calls
// Execute on the main program.
//
// Control flow travels as flags on the statement's script (BreakCalled,
// ContinueCalled, ExitCalled, Terminated): a block checks Terminated before
// each statement and stops after one that raised a flag; a loop leaves on
// break or exit and clears break and continue; a procedure call and Execute
// clear them all.  A statement that is "traced" first calls RunLine and then
// does nothing when the script has been terminated.

#include "script/zqExpressions.h"
#include "script/zqVariables.h"

#include <QString>
#include <QVarLengthArray>
#include <memory>
#include <vector>

class TzqDesignator;
class TzqExpression;
class TzqSetExpression;

class TzqStatement
{
public:
    TzqStatement(TzqScript *prog, const QString &unitName, const QString &sourcePos);
    virtual ~TzqStatement();

    TzqStatement(const TzqStatement &) = delete;
    TzqStatement &operator=(const TzqStatement &) = delete;

    // Runs the statements of the block in order.
    virtual void Execute();
    void Clear() { Items.clear(); }

    TzqScript *Prog;
    QString SourcePos;
    QString UnitName;
    std::vector<std::unique_ptr<TzqStatement>> Items;

protected:
    // RunLine; true when the script goes on (not terminated).
    bool trace();
    // The items as a block.
    void runBlock();
    // After the body of a loop: true when the loop is to be left.  Clears
    // continue and traces the loop again, so that the trace hook sees every
    // iteration and can stop any loop, even one with an empty body.
    bool leaveLoop();
};

class TzqAssignmentStmt : public TzqStatement
{
public:
    using TzqStatement::TzqStatement;
    ~TzqAssignmentStmt() override;

    std::unique_ptr<TzqDesignator> Designator;
    std::unique_ptr<TzqExpression> Expression;
    // What is written and read: the designator's variable for a plain one.
    TzqCustomVariable *Target = nullptr;
    TzqCustomVariable *Source = nullptr;

    // Picks Target and Source once Designator and Expression are set.
    void Optimize();
    void Execute() override;

protected:
    virtual Variant combine(const Variant &current, const Variant &operand);
    bool m_readsTarget = false;

private:
    // One operand added by an appending statement, with its operator (Plus
    // or StrCat); a nil node stands for the whole Expression (v += e).
    struct AppendedOperand {
        TzqOperatorKind kind;
        TzqExpressionNode *node;
    };

    // Picks the append road for v := v + e1 + ... + en, v := v & e and
    // v += e, where v is a variable that can hold a string or an element of
    // an array variable.
    void findAppend();
    // Takes the operands e1 ... en, in order, of a chain whose leftmost
    // operand reads the target; leaves the plain road to any other
    // expression.
    void findChain();
    // Runs an appending statement: the operands are added to the target's
    // own text in place when all are texts, else combined as usual.
    void executeAppend();
    // The target's value, read as the plain road reads it.
    Variant readTarget();
    // Appends text to the target in place when it still holds the text
    // read; else writes the value the operators give (replayed over the
    // operand values).
    void appendToTarget(Variant &current, const QString &text, QVarLengthArray<Variant, 4> &operands);
    Variant combined(const Variant &current, const QVarLengthArray<Variant, 4> &operands) const;

    // The operands of the append road; empty when the statement takes the
    // plain road.
    std::vector<AppendedOperand> m_appended;
    // Reads the element that a[i] := a[i] + e appends to (the leftmost
    // operand's designator, or the target's for a[i] += e).
    TzqDesignator *m_elementRead = nullptr;
};

class TzqAssignPlusStmt : public TzqAssignmentStmt
{
public:
    TzqAssignPlusStmt(TzqScript *prog, const QString &unitName, const QString &sourcePos);

protected:
    Variant combine(const Variant &current, const Variant &operand) override;
};

class TzqAssignMinusStmt : public TzqAssignPlusStmt
{
public:
    using TzqAssignPlusStmt::TzqAssignPlusStmt;

protected:
    Variant combine(const Variant &current, const Variant &operand) override;
};

class TzqAssignMulStmt : public TzqAssignPlusStmt
{
public:
    using TzqAssignPlusStmt::TzqAssignPlusStmt;

protected:
    Variant combine(const Variant &current, const Variant &operand) override;
};

// Always the real division.
class TzqAssignDivStmt : public TzqAssignPlusStmt
{
public:
    using TzqAssignPlusStmt::TzqAssignPlusStmt;

protected:
    Variant combine(const Variant &current, const Variant &operand) override;
};

// A call whose result is dropped, or an increment ("+") or decrement ("-").
class TzqCallStmt : public TzqStatement
{
public:
    using TzqStatement::TzqStatement;
    ~TzqCallStmt() override;

    std::unique_ptr<TzqDesignator> Designator;
    QString Modificator;

    void Execute() override;
};

// The items are the then-branch.
class TzqIfStmt : public TzqStatement
{
public:
    TzqIfStmt(TzqScript *prog, const QString &unitName, const QString &sourcePos);
    ~TzqIfStmt() override;

    std::unique_ptr<TzqExpression> Condition;
    std::unique_ptr<TzqStatement> ElseStmt;

    void Execute() override;
};

// The items are the branch.
class TzqCaseSelector : public TzqStatement
{
public:
    using TzqStatement::TzqStatement;
    ~TzqCaseSelector() override;

    std::unique_ptr<TzqSetExpression> SetExpression;

    bool Check(const Variant &value);
};

// The items are the selectors; the first that holds runs, else ElseStmt.
class TzqCaseStmt : public TzqStatement
{
public:
    TzqCaseStmt(TzqScript *prog, const QString &unitName, const QString &sourcePos);
    ~TzqCaseStmt() override;

    std::unique_ptr<TzqExpression> Condition;
    std::unique_ptr<TzqStatement> ElseStmt;

    void Execute() override;
};

// Repeat-until; with InverseCondition, do-while.
class TzqRepeatStmt : public TzqStatement
{
public:
    using TzqStatement::TzqStatement;
    ~TzqRepeatStmt() override;

    std::unique_ptr<TzqExpression> Condition;
    bool InverseCondition = false;

    void Execute() override;
};

class TzqWhileStmt : public TzqStatement
{
public:
    using TzqStatement::TzqStatement;
    ~TzqWhileStmt() override;

    std::unique_ptr<TzqExpression> Condition;

    void Execute() override;
};

// Counting for: the bounds are integers evaluated once; after a full run the
// variable holds the last value.
class TzqForStmt : public TzqStatement
{
public:
    using TzqStatement::TzqStatement;
    ~TzqForStmt() override;

    std::unique_ptr<TzqExpression> BeginValue;
    bool Down = false;
    std::unique_ptr<TzqExpression> EndValue;
    TzqCustomVariable *Variable = nullptr;

    void Execute() override;
};

// Stepped for: variant bounds and step (1 without one); the step's sign
// gives the direction, and a step 0 loops until break, exit or termination.
class TzqVbForStmt : public TzqStatement
{
public:
    using TzqStatement::TzqStatement;
    ~TzqVbForStmt() override;

    std::unique_ptr<TzqExpression> BeginValue;
    std::unique_ptr<TzqExpression> EndValue;
    std::unique_ptr<TzqExpression> Step;
    TzqCustomVariable *Variable = nullptr;

    void Execute() override;
};

// Three-part for; no condition loops until break, exit or termination.
class TzqCppForStmt : public TzqStatement
{
public:
    TzqCppForStmt(TzqScript *prog, const QString &unitName, const QString &sourcePos);
    ~TzqCppForStmt() override;

    std::unique_ptr<TzqStatement> FirstStmt;
    std::unique_ptr<TzqExpression> Condition;
    std::unique_ptr<TzqStatement> SecondStmt;

    void Execute() override;
};

// try/except records the exception's class name and message in the
// variables ExceptionClassName and ExceptionMessage and goes on; try/finally
// runs the finally part with break, continue and exit cleared and restores
// them afterwards, and lets an exception continue.
class TzqTryStmt : public TzqStatement
{
public:
    TzqTryStmt(TzqScript *prog, const QString &unitName, const QString &sourcePos);
    ~TzqTryStmt() override;

    bool IsExcept = false;
    std::unique_ptr<TzqStatement> ExceptStmt;

    void Execute() override;

private:
    void runFinally();
};

class TzqBreakStmt : public TzqStatement
{
public:
    using TzqStatement::TzqStatement;
    void Execute() override;
};

class TzqContinueStmt : public TzqStatement
{
public:
    using TzqStatement::TzqStatement;
    void Execute() override;
};

class TzqExitStmt : public TzqStatement
{
public:
    using TzqStatement::TzqStatement;
    void Execute() override;
};

// Binds the hidden variable of a with statement to the designator's value;
// the body follows in the enclosing block.
class TzqWithStmt : public TzqStatement
{
public:
    using TzqStatement::TzqStatement;
    ~TzqWithStmt() override;

    std::unique_ptr<TzqDesignator> Designator;
    TzqCustomVariable *Variable = nullptr;

    void Execute() override;
};
