#include "script/zqDesignators.h"

#include "script/zqBuilder.h"
#include "script/zqClasses.h"
#include "script/zqExpressions.h"
#include "script/zqILParser.h"
#include "script/zqMessages.h"
#include "script/zqScript.h"
#include "script/zqXML.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/core/VariantOps.h"

#include <QVarLengthArray>

namespace {

int checkedIndex(const QString &text, TzqExpression *index)
{
    const int i = index->GetValue().AsInteger();
    if (i < 1 || i > text.size())
        throw ERangeError(QString(SStringIndexError).replace(QStringLiteral("%d"), QString::number(i)));
    return i;
}

bool isPlainVariable(TzqCustomVariable *item)
{
    return item->Slot != TzqSlot::None;
}

bool isHelper(TzqCustomVariable *item, TzqCustomHelper::Kinds kind)
{
    TzqCustomHelper *helper = item->AsHelper();
    return helper && helper->HelperKind == kind;
}

} // namespace

TzqDesignator::TzqDesignator(TzqScript *prog)
    : TzqCustomVariable(QString(), fvtInt, QString()), Prog(prog), MainProg(zqMainScriptOf(prog))
{
    Prog->DeferUnresolved = MainProg->DeferUnresolved;
}

TzqDesignator::~TzqDesignator() = default;

void TzqDesignator::Finalize()
{
    const auto n = Steps.size();
    TzqCustomVariable *last = Steps.back().Ref;
    Typ = last->Typ;
    TypeName = last->TypeName;
    if (Typ == fvtConstructor) {
        Typ = fvtClass;
        if (n >= 2)
            TypeName = Steps[n - 2].Ref->TypeName;
    }
    IsReadOnly = last->IsReadOnly;
    TzqCustomVariable *first = Steps.front().Ref;
    Kind = General;
    if (n == 1 && isPlainVariable(first) && Steps[0].Args.empty())
        Kind = SingleVariable;
    else if (n == 2 && Steps[0].Args.empty() && first->Slot == TzqSlot::Text && isHelper(last, TzqCustomHelper::Character)
             && Steps[1].Args.size() == 1)
        Kind = StringElement;
    else if (n == 2 && Steps[0].Args.empty() && dynamic_cast<TzqVariable *>(first) && first->Typ == fvtArray
             && isHelper(last, TzqCustomHelper::ArrayElement))
        Kind = ArrayElement;
    RefItem = Kind == General ? nullptr : first;
}

void TzqDesignator::Borrow(TzqDesignator &source)
{
    std::swap(Steps, source.Steps);
    std::swap(OwnedRefs, source.OwnedRefs);
    std::swap(Deferred, source.Deferred);
    Kind = source.Kind;
    Typ = source.Typ;
    TypeName = source.TypeName;
    IsReadOnly = source.IsReadOnly;
    RefItem = source.RefItem;
}

void TzqDesignator::resolve()
{
    TzqILParser parser(Prog);
    std::unique_ptr<TzqDesignator> built = TzqProgramBuilder(parser).BuildRuntimeDesignator(Deferred.get());
    Deferred.reset();
    Borrow(*built);
}

// A string variable lending its text gets it back before its characters
// are reached in place.
void TzqDesignator::settleLoan()
{
    if (RefItem->Loan)
        RefItem->Loan->Settle();
}

TzqExpression *TzqDesignator::indexExpression() const
{
    return Steps[1].Args.front().get();
}

Variant TzqDesignator::GetValue()
{
    if (Deferred)
        resolve();
    switch (Kind) {
    case SingleVariable: return RefItem->GetValue();
    case StringElement: {
        settleLoan();
        const QString text = static_cast<TzqStringVariable *>(RefItem)->Str;
        return Variant(QString(text[checkedIndex(text, indexExpression()) - 1]));
    }
    case ArrayElement: {
        TzqCustomVariable *accessor = arrayAccessor();
        int at[3];
        if (const int count = elementIndices(accessor, at))
            return RefItem->Value.GetElement(at, count);
        return accessor->GetValue();
    }
    default: return walk(false, Variant());
    }
}

void TzqDesignator::SetValue(const Variant &value)
{
    if (Deferred)
        resolve();
    switch (Kind) {
    case SingleVariable: RefItem->SetValue(value); return;
    case StringElement: {
        settleLoan();
        QString &text = static_cast<TzqStringVariable *>(RefItem)->Str;
        const int i = checkedIndex(text, indexExpression());
        const QString character = value.AsString();
        text[i - 1] = character.isEmpty() ? QChar(0) : character[0];
        return;
    }
    case ArrayElement: SetElement(PlaceElement(), value); return;
    default: walk(true, value); return;
    }
}

TzqDesignator::ElementPlace TzqDesignator::PlaceElement()
{
    ElementPlace place{arrayAccessor(), {}, 0};
    place.count = elementIndices(place.accessor, place.at);
    return place;
}

void TzqDesignator::SetElement(const ElementPlace &place, const Variant &value)
{
    if (place.count)
        RefItem->Value.PutElement(place.at, place.count, value);
    else
        place.accessor->SetValue(value);
}

// The element accessor of an array variable, set to the indices.
TzqCustomVariable *TzqDesignator::arrayAccessor()
{
    auto *accessor = static_cast<TzqArrayHelper *>(Steps[1].Ref);
    accessor->ParentRef = RefItem;
    if (!accessor->ParentValue.IsEmpty())
        accessor->ParentValue = Variant();
    const auto &args = Steps[1].Args;
    for (size_t j = 0; j < args.size() && int(j) < accessor->Count(); ++j)
        accessor->Params(int(j))->Value = args[j]->Evaluate();
    return accessor;
}

// The indices the accessor reads when the array variable has one dimension
// per index given (its element is then reached in place); 0 otherwise, for
// the accessor's own rules.
int TzqDesignator::elementIndices(TzqCustomVariable *accessor, int (&at)[3]) const
{
    const int count = int(Steps[1].Args.size());
    if (count < 1 || count > 3 || count > accessor->Count() || RefItem->Value.DimCount() != count)
        return 0;
    for (int i = 0; i < count; ++i)
        at[i] = accessor->Params(i)->Value.AsInteger();
    return count;
}

Variant TzqDesignator::walk(bool setting, const Variant &newValue)
{
    Variant value = Variant::Null();
    TzqCustomVariable *previous = nullptr;
    const auto n = Steps.size();
    for (size_t i = 0; i < n; ++i) {
        TzqDesignatorItem &step = Steps[i];
        TzqCustomVariable *ref = step.Ref;
        const auto argCount = std::min<size_t>(step.Args.size(), size_t(ref->Count()));
        bool varParams = false;
        for (size_t j = 0; j < argCount; ++j)
            varParams = varParams || ref->Params(int(j))->IsVarParam;
        // What the var parameters hand back, taken when the call ends, so
        // that each argument gets the value its parameter ends the call with,
        // whatever the hand-backs before it do.
        QVarLengthArray<Variant, 8> handBacks;
        if (varParams)
            handBacks.resize(qsizetype(argCount));
        // A script procedure that is not running borrows the texts of the
        // variables handed to its var parameters until they are handed back.
        std::unique_ptr<TzqTextLoan[]> loans;
        if (varParams && ref->AsProcedure() && !ref->AsProcedure()->Executing)
            loans = std::make_unique<TzqTextLoan[]>(argCount);
        {
            TzqRecursionGuard guard(ref);
            if (argCount > 0) {
                QVarLengthArray<Variant, 8> arguments;
                for (size_t j = 0; j < argCount; ++j) {
                    TzqExpression *argument = step.Args[j].get();
                    arguments.push_back(ref->IsMacro ? Variant(argument->Source) : argument->Evaluate());
                }
                for (size_t j = 0; j < argCount; ++j) {
                    TzqParamItem *param = ref->Params(int(j));
                    zqWrite(param, std::move(arguments[j]));
                    TzqCustomVariable *variable = loans && param->IsVarParam ? step.Args[j]->SingleVariable() : nullptr;
                    if (variable)
                        loans[j].Lend(variable, param);
                }
            }
            if (TzqCustomHelper *helper = ref->AsHelper()) {
                // An array held by the previous step is changed in place,
                // so no second reference to it may stay here.
                if (helper->HelperKind == TzqCustomHelper::ArrayElement && previous && VarIsArray(previous->Value))
                    value = Variant();
                helper->ParentRef = previous;
                helper->ParentValue = value;
                helper->Prog = Prog;
            }
            previous = ref;
            if (setting && i == n - 1) {
                ref->SetValue(newValue);
            } else {
                ref->NeedResult = i < n - 1 || NeedResult;
                value = ref->GetValue();
            }
            // Taken before a recursive call's values come back.
            for (size_t j = 0; varParams && j < argCount; ++j) {
                TzqParamItem *param = ref->Params(int(j));
                if (!param->IsVarParam)
                    continue;
                handBacks[qsizetype(j)] = param->HandBack();
                if (loans)
                    loans[j].Return(handBacks[qsizetype(j)]);
            }
        }
        for (size_t j = 0; varParams && j < argCount; ++j) {
            if (!ref->Params(int(j))->IsVarParam)
                continue;
            step.Args[j]->SetValue(handBacks[qsizetype(j)]);
            // The argument's text is its own again, for its appends in place.
            handBacks[qsizetype(j)] = Variant();
        }
    }
    return value;
}

TzqSetExpression::TzqSetExpression() : TzqCustomVariable(QString(), fvtInt, QString())
{
}

TzqSetExpression::~TzqSetExpression() = default;

bool TzqSetExpression::Check(const Variant &value)
{
    const size_t n = Items.size();
    for (size_t i = 0; i < n;) {
        if (!Items[i]) {
            ++i;
            continue;
        }
        if (i + 2 < n && !Items[i + 1] && Items[i + 2]) {
            if (Items[i]->GetValue() <= value && value <= Items[i + 2]->GetValue())
                return true;
            i += 3;
            continue;
        }
        if (Items[i]->GetValue() == value)
            return true;
        ++i;
    }
    return false;
}

Variant TzqSetExpression::GetValue()
{
    Variant result = VarArrayCreate({0, int(Items.size()) - 1}, varVariant);
    for (size_t i = 0; i < Items.size(); ++i)
        result.PutElement({int(i)}, Items[i] ? Items[i]->GetValue() : Variant::Null());
    return result;
}
