#include "script/zqStatements.h"

#include "script/zqDesignators.h"
#include "script/zqExpressions.h"
#include "script/zqScript.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/core/TextLimits.h"
#include "toolkit/core/VariantOps.h"

#include <new>
#include <typeinfo>

TzqStatement::TzqStatement(TzqScript *prog, const QString &unitName, const QString &sourcePos)
    : Prog(prog), SourcePos(sourcePos), UnitName(unitName)
{
}

TzqStatement::~TzqStatement() = default;

void TzqStatement::Execute()
{
    runBlock();
}

void TzqStatement::runBlock()
{
    TzqScript *prog = Prog;
    for (const auto &item : Items) {
        if (prog->Terminated)
            return;
        try {
            item->Execute();
        } catch (const std::bad_alloc &) {
            // An exception the program's own try ... except can catch.
            throw EOutOfMemory(QStringLiteral("Out of memory"));
        }
        if (prog->BreakCalled || prog->ContinueCalled || prog->ExitCalled)
            return;
    }
}

inline bool TzqStatement::trace()
{
    if (Prog->TracesLines())
        Prog->RunLine(UnitName, SourcePos);
    return !Prog->Terminated;
}

inline bool TzqStatement::leaveLoop()
{
    if (Prog->BreakCalled || Prog->ExitCalled)
        return true;
    Prog->ContinueCalled = false;
    return !trace();
}

TzqAssignmentStmt::~TzqAssignmentStmt() = default;

void TzqAssignmentStmt::Optimize()
{
    Target = Designator.get();
    if (Designator->Kind == TzqDesignator::SingleVariable && !Designator->Deferred)
        Target = Designator->RefItem;
    Source = Expression.get();
    if (TzqCustomVariable *variable = Expression->SingleVariable())
        Source = variable;
    findAppend();
}

namespace {

// A variable whose text an assignment may grow in place: a String variable,
// a parameter (it stores any value as it is) or a variable that stores any
// value as it is, with no read call-back.
bool mayHoldText(const TzqCustomVariable *target)
{
    if (target->OnGetVarValue)
        return false;
    if (target->Slot == TzqSlot::Text)
        return target->Typ == fvtString;
    if (target->Slot != TzqSlot::Value || target->IsReadOnly)
        return false;
    return target->Typ == fvtVariant || dynamic_cast<const TzqParamItem *>(target);
}

// The text kind op gives for current op tail when both are texts, with tail
// as text; false when op does something else with these values.
bool appendedText(TzqOperatorKind op, const Variant &current, const Variant &tail, QString &text)
{
    if (op == TzqOperatorKind::StrCat && current.Type() == varString) {
        text = VarToStr(tail);
        return true;
    }
    if (!current.IsString() || tail.Type() != current.Type())
        return false;
    text = tail.AsString();
    return true;
}

// Whether a value is the text read (the operands may have assigned its
// place since).
bool isText(const Variant &value, const Variant &read)
{
    return value.Type() == read.Type() && value.AsString().isSharedWith(read.AsString());
}

bool holdsText(TzqCustomVariable *target, const Variant &read)
{
    if (target->Slot == TzqSlot::Text)
        return static_cast<TzqStringVariable *>(target)->Str.isSharedWith(read.AsString());
    return isText(target->Value, read);
}

// The designator a leaf of an expression reads.
TzqDesignator *designatorOf(TzqExpressionNode *node)
{
    auto *leaf = dynamic_cast<TzqDesignatorNode *>(node);
    return leaf && !leaf->Designator()->Deferred ? leaf->Designator() : nullptr;
}

} // namespace

Variant TzqAssignmentStmt::combine(const Variant &, const Variant &operand)
{
    return operand;
}

void TzqAssignmentStmt::findAppend()
{
    m_appended.clear();
    m_elementRead = nullptr;
    const bool element = Designator->Kind == TzqDesignator::ArrayElement && !Designator->Deferred;
    if (!element && (Target == Designator.get() || !mayHoldText(Target)))
        return;
    if (!m_readsTarget) {
        findChain();
        return;
    }
    if (typeid(*this) != typeid(TzqAssignPlusStmt))
        return;
    m_appended.push_back({TzqOperatorKind::Plus, nullptr});
    if (element)
        m_elementRead = Designator.get();
}

void TzqAssignmentStmt::findChain()
{
    std::vector<AppendedOperand> operands;
    TzqExpressionNode *node = Expression->Root();
    for (;;) {
        auto *op = dynamic_cast<TzqOperatorNode *>(node);
        if (!op)
            break;
        if (op->Kind == TzqOperatorKind::None || op->Kind == TzqOperatorKind::LeftBracket) {
            node = op->Left;
            continue;
        }
        if ((op->Kind != TzqOperatorKind::Plus && op->Kind != TzqOperatorKind::StrCat) || !op->Right)
            return;
        operands.push_back({op->Kind, op->Right});
        node = op->Left;
    }
    TzqDesignator *leftmost = designatorOf(node);
    if (operands.empty() || !leftmost || leftmost->Kind != Designator->Kind)
        return;
    if (leftmost->Kind == TzqDesignator::ArrayElement) {
        if (leftmost->RefItem != Designator->RefItem)
            return;
        m_elementRead = leftmost;
    } else if (leftmost->Kind != TzqDesignator::SingleVariable || leftmost->RefItem != Target) {
        return;
    }
    m_appended.assign(operands.rbegin(), operands.rend());
}

Variant TzqAssignmentStmt::readTarget()
{
    return m_elementRead ? m_elementRead->GetValue() : zqRead(Target);
}

Variant TzqAssignmentStmt::combined(const Variant &current, const QVarLengthArray<Variant, 4> &operands) const
{
    Variant value = current;
    for (qsizetype i = 0; i < operands.size(); ++i)
        value = zqApply(m_appended[size_t(i)].kind, value, operands[i]);
    return value;
}

void TzqAssignmentStmt::executeAppend()
{
    // As elsewhere, v := v + e1 + e2 reads v, then e1, then e2; v += e
    // reads v after e.
    QVarLengthArray<Variant, 4> operands;
    Variant current;
    if (m_appended.front().node) {
        current = readTarget();
    } else {
        operands.push_back(Expression->Evaluate());
        current = readTarget();
    }
    QString text;
    const size_t count = m_appended.size();
    for (size_t i = 0; i < count; ++i) {
        if (size_t(operands.size()) == i)
            operands.push_back(m_appended[i].node->Value());
        QString piece;
        if (!appendedText(m_appended[i].kind, current, operands.back(), piece)) {
            // Not texts: the rest goes the plain road, operand by operand.
            Variant value = combined(current, operands);
            for (size_t j = i + 1; j < count; ++j)
                value = zqApply(m_appended[j].kind, value, m_appended[j].node->Value());
            if (m_elementRead)
                Designator->SetValue(value);
            else
                zqWrite(Target, std::move(value));
            return;
        }
        CheckTextLength(qint64(current.AsString().size()) + text.size() + piece.size());
        text += piece;
    }
    appendToTarget(current, text, operands);
}

void TzqAssignmentStmt::appendToTarget(Variant &current, const QString &text, QVarLengthArray<Variant, 4> &operands)
{
    if (m_elementRead) {
        const TzqDesignator::ElementPlace place = Designator->PlaceElement();
        Variant &array = Designator->RefItem->Value;
        if (!place.count || !isText(array.GetElement(place.at, place.count), current)) {
            Designator->SetElement(place, combined(current, operands));
            return;
        }
        // The element lets go of its text while it grows, so that the text
        // is the read's alone.
        operands.clear();
        array.PutElement(place.at, place.count, Variant());
        try {
            current.AppendString(text);
        } catch (...) {
            array.PutElement(place.at, place.count, current);
            throw;
        }
        array.PutElement(place.at, place.count, current);
        return;
    }
    if (!holdsText(Target, current)) {
        zqWrite(Target, combined(current, operands));
        return;
    }
    current = Variant();
    operands.clear();
    if (Target->Slot == TzqSlot::Text)
        static_cast<TzqStringVariable *>(Target)->Str.append(text);
    else
        Target->Value.AppendString(text);
}

void TzqAssignmentStmt::Execute()
{
    if (!trace())
        return;
    if (!m_appended.empty()) {
        executeAppend();
        return;
    }
    Variant operand = Source == Expression.get() ? Expression->Evaluate() : zqRead(Source);
    if (m_readsTarget)
        operand = combine(zqRead(Target), operand);
    if (Target == Designator.get())
        Designator->SetValue(operand);
    else
        zqWrite(Target, std::move(operand));
}

TzqAssignPlusStmt::TzqAssignPlusStmt(TzqScript *prog, const QString &unitName, const QString &sourcePos)
    : TzqAssignmentStmt(prog, unitName, sourcePos)
{
    m_readsTarget = true;
}

Variant TzqAssignPlusStmt::combine(const Variant &current, const Variant &operand)
{
    return zqApply(TzqOperatorKind::Plus, current, operand);
}

Variant TzqAssignMinusStmt::combine(const Variant &current, const Variant &operand)
{
    return zqApply(TzqOperatorKind::Minus, current, operand);
}

Variant TzqAssignMulStmt::combine(const Variant &current, const Variant &operand)
{
    return zqApply(TzqOperatorKind::Mul, current, operand);
}

Variant TzqAssignDivStmt::combine(const Variant &current, const Variant &operand)
{
    return zqApply(TzqOperatorKind::DivFloat, current, operand);
}

TzqCallStmt::~TzqCallStmt() = default;

void TzqCallStmt::Execute()
{
    if (!trace())
        return;
    if (Modificator.isEmpty()) {
        Designator->NeedResult = false;
        Designator->GetValue();
    } else if (Modificator == u"+" || Modificator == u"-") {
        const Variant value = Designator->Read();
        Designator->SetValue(zqApply(Modificator == u"+" ? TzqOperatorKind::Plus : TzqOperatorKind::Minus, value,
                                     Variant(1)));
    }
}

TzqIfStmt::TzqIfStmt(TzqScript *prog, const QString &unitName, const QString &sourcePos)
    : TzqStatement(prog, unitName, sourcePos), ElseStmt(std::make_unique<TzqStatement>(prog, unitName, sourcePos))
{
}

TzqIfStmt::~TzqIfStmt() = default;

void TzqIfStmt::Execute()
{
    if (!trace())
        return;
    if (Condition->IsTrue())
        runBlock();
    else
        ElseStmt->Execute();
}

TzqCaseSelector::~TzqCaseSelector() = default;

bool TzqCaseSelector::Check(const Variant &value)
{
    return SetExpression->Check(value);
}

TzqCaseStmt::TzqCaseStmt(TzqScript *prog, const QString &unitName, const QString &sourcePos)
    : TzqStatement(prog, unitName, sourcePos), ElseStmt(std::make_unique<TzqStatement>(prog, unitName, sourcePos))
{
}

TzqCaseStmt::~TzqCaseStmt() = default;

void TzqCaseStmt::Execute()
{
    const Variant value = Condition->GetValue();
    if (!trace())
        return;
    for (const auto &item : Items) {
        auto *selector = static_cast<TzqCaseSelector *>(item.get());
        if (selector->Check(value)) {
            selector->Execute();
            return;
        }
    }
    ElseStmt->Execute();
}

TzqRepeatStmt::~TzqRepeatStmt() = default;

void TzqRepeatStmt::Execute()
{
    if (!trace())
        return;
    for (;;) {
        runBlock();
        if (leaveLoop())
            break;
        if (Condition->IsTrue() != InverseCondition)
            break;
    }
    Prog->BreakCalled = false;
}

TzqWhileStmt::~TzqWhileStmt() = default;

void TzqWhileStmt::Execute()
{
    if (!trace())
        return;
    while (Condition->IsTrue()) {
        runBlock();
        if (leaveLoop())
            break;
    }
    Prog->BreakCalled = false;
}

TzqForStmt::~TzqForStmt() = default;

namespace {

// Counters are written in place; a variable that lends its text to a
// procedure running the loop no longer waits for it back.
void setCounter(TzqCustomVariable *counter, const Variant &value)
{
    if (counter->Loan)
        counter->Loan->End();
    counter->Value = value;
}

} // namespace

void TzqForStmt::Execute()
{
    const qint64 first = BeginValue->GetValue().AsInteger();
    const qint64 last = EndValue->GetValue().AsInteger();
    if (!trace())
        return;
    const qint64 step = Down ? -1 : 1;
    if (Down ? last <= first : last >= first) {
        for (qint64 i = first;; i += step) {
            setCounter(Variable, Variant(int(i)));
            runBlock();
            if (i == last) {
                Prog->ContinueCalled = false;
                break;
            }
            if (leaveLoop())
                break;
        }
    }
    Prog->BreakCalled = false;
}

TzqVbForStmt::~TzqVbForStmt() = default;

void TzqVbForStmt::Execute()
{
    Variant current = BeginValue->GetValue();
    const Variant last = EndValue->GetValue();
    const Variant step = Step ? Step->GetValue() : Variant(1);
    const bool down = VarCompareValue(step, Variant(0)) == vrLessThan;
    if (!trace())
        return;
    while (down ? current >= last : current <= last) {
        setCounter(Variable, current);
        runBlock();
        if (leaveLoop())
            break;
        current = VarAdd(current, step);
    }
    Prog->BreakCalled = false;
}

TzqCppForStmt::TzqCppForStmt(TzqScript *prog, const QString &unitName, const QString &sourcePos)
    : TzqStatement(prog, unitName, sourcePos),
      FirstStmt(std::make_unique<TzqStatement>(prog, unitName, sourcePos)),
      SecondStmt(std::make_unique<TzqStatement>(prog, unitName, sourcePos))
{
}

TzqCppForStmt::~TzqCppForStmt() = default;

void TzqCppForStmt::Execute()
{
    if (!trace())
        return;
    FirstStmt->Execute();
    if (Prog->Terminated)
        return;
    while (!Prog->Terminated && (!Condition || Condition->IsTrue())) {
        runBlock();
        if (leaveLoop())
            break;
        SecondStmt->Execute();
    }
    Prog->BreakCalled = false;
}

TzqTryStmt::TzqTryStmt(TzqScript *prog, const QString &unitName, const QString &sourcePos)
    : TzqStatement(prog, unitName, sourcePos), ExceptStmt(std::make_unique<TzqStatement>(prog, unitName, sourcePos))
{
}

TzqTryStmt::~TzqTryStmt() = default;

void TzqTryStmt::runFinally()
{
    TzqScript *prog = Prog;
    const bool savedBreak = prog->BreakCalled;
    const bool savedContinue = prog->ContinueCalled;
    const bool savedExit = prog->ExitCalled;
    prog->BreakCalled = prog->ContinueCalled = prog->ExitCalled = false;
    ExceptStmt->Execute();
    prog->BreakCalled = prog->BreakCalled || savedBreak;
    prog->ContinueCalled = prog->ContinueCalled || savedContinue;
    prog->ExitCalled = prog->ExitCalled || savedExit;
}

void TzqTryStmt::Execute()
{
    if (!trace())
        return;
    if (IsExcept) {
        try {
            runBlock();
        } catch (const Exception &e) {
            Prog->SetVariable(QStringLiteral("ExceptionClassName"), Variant(e.ClassName()));
            Prog->SetVariable(QStringLiteral("ExceptionMessage"), Variant(e.Message()));
            ExceptStmt->Execute();
        }
        return;
    }
    try {
        runBlock();
    } catch (...) {
        runFinally();
        throw;
    }
    runFinally();
}

void TzqBreakStmt::Execute()
{
    Prog->BreakCalled = true;
}

void TzqContinueStmt::Execute()
{
    Prog->ContinueCalled = true;
}

void TzqExitStmt::Execute()
{
    trace();
    Prog->ExitCalled = true;
}

TzqWithStmt::~TzqWithStmt() = default;

void TzqWithStmt::Execute()
{
    runBlock();
    Variable->SetValue(Designator->GetValue());
}
