#include "script/zqBuilder.h"

#include "script/zqBuildElements.h"
#include "script/zqClasses.h"
#include "script/zqDeclarations.h"
#include "script/zqDesignators.h"
#include "script/zqExpressions.h"
#include "script/zqILParser.h"
#include "script/zqOLE.h"
#include "script/zqScript.h"
#include "toolkit/classes/TComponent.h"

// The builder's expressions and designators: operands and operators in
// source order, and the resolution of name chains step by step.

using namespace zqBuild;

std::unique_ptr<TzqExpression> TzqProgramBuilder::buildExpression(TzqXMLItem *element)
{
    if (!is(element, "expr"))
        invalidFormat();
    auto expression = std::make_unique<TzqExpression>(m_script);
    feedExpression(*expression, element);
    expression->Source = sourceText(posOf(element), element->GetProp(QStringLiteral("pos1")));
    const QString errorPos = expression->Finish();
    if (!errorPos.isEmpty()) {
        m_parser.CurrentPos = errorPos;
        throw Exception(SIncompatibleTypes);
    }
    return expression;
}

void TzqProgramBuilder::feedExpression(TzqExpression &expression, TzqXMLItem *element)
{
    DepthGuard guard(m_depth);
    for (int i = 0; i < element->Count(); ++i)
        feedItem(expression, element->Items(i), i == element->Count() - 1);
}

void TzqProgramBuilder::feedItem(TzqExpression &expression, TzqXMLItem *item, bool last)
{
    const QString pos = posOf(item);
    if (is(item, "op")) {
        const QString text = textOf(item);
        if (text != u")" && last)
            return;
        expression.AddOperator(text, pos);
    } else if (is(item, "number")) {
        expression.AddConstOperand(ParseConstant(textOf(item)), pos);
    } else if (is(item, "string")) {
        const QString text = textOf(item);
        expression.AddConstOperand(Variant(text.mid(1, text.size() - 2)), pos);
    } else if (is(item, "dsgn") || is(item, "new")) {
        expression.AddDesignatorOperand(buildDesignator(item, is(item, "new")), pos);
    } else if (is(item, "set")) {
        expression.AddSetOperand(buildSet(item), pos);
    } else if (is(item, "expr")) {
        feedExpression(expression, item);
    } else {
        invalidFormat();
    }
}

std::unique_ptr<TzqSetExpression> TzqProgramBuilder::buildSet(TzqXMLItem *element)
{
    if (!is(element, "set"))
        invalidFormat();
    auto set = std::make_unique<TzqSetExpression>();
    for (int i = 0; i < element->Count(); ++i) {
        TzqXMLItem *item = element->Items(i);
        if (is(item, "range"))
            set->Items.push_back(nullptr);
        else
            set->Items.push_back(buildExpression(item));
    }
    return set;
}




TzqCustomVariable *TzqProgramBuilder::namedHelper(const QString &name)
{
    if (TzqCustomVariable *helper = m_script->Find(name))
        return helper;
    std::unique_ptr<TzqCustomVariable> helper;
    if (name == u"__StringHelper")
        helper = std::make_unique<TzqStringHelper>(name);
    else
        helper = std::make_unique<TzqArrayHelper>(name, 0);
    TzqCustomVariable *result = helper.get();
    zqMainScriptOf(m_parser.Program())->Add(name, std::move(helper));
    return result;
}


std::unique_ptr<TzqDesignator> TzqProgramBuilder::buildDesignator(TzqXMLItem *element, bool isNew)
{
    DepthGuard guard(m_depth);
    if (isNew)
        element = child(element, 0);
    if (!is(element, "dsgn"))
        invalidFormat();
    m_parser.CurrentPos = posOf(element);
    QList<RawStep> steps;
    bool address = false;
    for (int i = 0; i < element->Count(); ++i) {
        TzqXMLItem *item = element->Items(i);
        if (is(item, "addr") && i == 0) {
            address = true;
        } else if (is(item, "node")) {
            const QString text = textOf(item);
            steps.append(text == u"[" ? RawStep{QString(), true, posOf(item), {}} : RawStep{text, false, posOf(item), {}});
        } else if (is(item, "expr") && !steps.isEmpty()) {
            steps.last().args.append(item);
        } else {
            invalidFormat();
        }
    }
    if (steps.isEmpty() || steps[0].index || steps[0].name.isEmpty())
        invalidFormat();

    auto designator = std::make_unique<TzqDesignator>(m_script);
    const RawStep &first = steps[0];
    if (address) {
        if (steps.size() != 1 || !first.args.isEmpty())
            throw Exception(SVarRequired);
        auto name = std::make_unique<TzqStringVariable>(QString(), fvtString, QStringLiteral("String"));
        name->Str = first.name;
        name->IsReadOnly = true;
        addStep(*designator, name.get(), RawStep{});
        designator->OwnedRefs.push_back(std::move(name));
        designator->Finalize();
        return designator;
    }
    // ".Member" inside a with statement names a member of its object.
    if (first.name == u".") {
        if (m_withList.isEmpty())
            throw Exception(SIdUndeclared + quoted(first.name));
        TzqXMLItem rewritten;
        rewritten.Assign(element);
        rewritten.Items(element->Find(QStringLiteral("node")))->SetProp(QStringLiteral("text"), m_withList.last().name);
        return buildDesignator(&rewritten);
    }

    bool resolved = false;
    for (qsizetype w = m_withList.size() - 1; w >= 0 && !resolved && !isNew; --w) {
        TzqCustomVariable *with = m_withList[w].variable;
        if (with->Typ == fvtVariant) {
            if (m_script->Find(first.name))
                break;
            TzqXMLItem prefixed;
            prefixed.Assign(element);
            TzqXMLItem *node = prefixed.Add();
            node->SetName(QStringLiteral("node"));
            node->SetProp(QStringLiteral("text"), m_withList[w].name);
            node->SetProp(QStringLiteral("pos"), posOf(element));
            prefixed.InsertItem(0, node);
            return buildDesignator(&prefixed);
        }
        const TzqClassVariable *cls = m_script->FindClass(with->TypeName);
        if (TzqCustomVariable *member = cls ? cls->Find(first.name) : nullptr) {
            addStep(*designator, with, RawStep{});
            addStep(*designator, member, first);
            resolved = true;
        }
    }
    if (!resolved) {
        TzqCustomVariable *ref = findOrDeclare(first.name);
        if (isNew) {
            auto *cls = dynamic_cast<TzqClassVariable *>(ref);
            m_parser.CurrentPos = posOf(element);
            if (!cls)
                throw Exception(SClassRequired);
            TzqCustomVariable *create = cls->Find(QStringLiteral("Create"));
            if (!create)
                throw Exception(SIdUndeclared + quoted(QStringLiteral("Create")));
            addStep(*designator, cls, RawStep{});
            addStep(*designator, create, first);
        } else {
            addStep(*designator, ref, first);
        }
    }
    for (qsizetype i = 1; i < steps.size();) {
        const RawStep *next = i + 1 < steps.size() && steps[i + 1].index ? &steps[i + 1] : nullptr;
        const int used = resolveStep(*designator, steps[i], next, element);
        if (used == 0)
            return designator;
        i += used;
    }
    designator->Finalize();
    return designator;
}

bool TzqProgramBuilder::defer(TzqDesignator &designator, TzqXMLItem *element)
{
    designator.Deferred = std::make_unique<TzqXMLItem>();
    designator.Deferred->Assign(element);
    designator.Steps.clear();
    designator.OwnedRefs.clear();
    designator.Kind = TzqDesignator::General;
    designator.Typ = fvtVariant;
    designator.TypeName = QStringLiteral("Variant");
    designator.IsReadOnly = false;
    designator.RefItem = nullptr;
    return false;
}

bool TzqProgramBuilder::currentValue(TzqDesignator &designator, Variant &value)
{
    const TzqDesignatorItem &only = designator.Steps.front();
    if (designator.Steps.size() == 1 && only.Args.empty()
        && (dynamic_cast<TzqVariable *>(only.Ref) || dynamic_cast<TzqParamItem *>(only.Ref))) {
        value = only.Ref->GetValue();
        return true;
    }
    if (!m_runtime)
        return false;
    // At run time the chain so far is evaluated to see what follows it.
    TzqDesignator partial(m_script);
    struct SwapBack {
        TzqDesignator &a;
        TzqDesignator &b;
        ~SwapBack()
        {
            std::swap(a.Steps, b.Steps);
            std::swap(a.OwnedRefs, b.OwnedRefs);
        }
    } swapBack{designator, partial};
    std::swap(designator.Steps, partial.Steps);
    std::swap(designator.OwnedRefs, partial.OwnedRefs);
    partial.Finalize();
    value = partial.GetValue();
    return true;
}

int TzqProgramBuilder::resolveStep(TzqDesignator &designator, const RawStep &step, const RawStep *next,
                                   TzqXMLItem *element)
{
    TzqCustomVariable *previous = designator.Steps.back().Ref;
    TzqVarType typ = previous->Typ;
    QString typeName = previous->TypeName;
    if (typ == fvtConstructor) {
        typ = fvtClass;
        if (designator.Steps.size() >= 2)
            typeName = designator.Steps[designator.Steps.size() - 2].Ref->TypeName;
    }
    m_parser.CurrentPos = step.pos;
    const QString shown = step.index ? QStringLiteral("[") : step.name;
    bool lateBound = dynamic_cast<TzqOLEHelper *>(previous);
    if (typ == fvtVariant && !lateBound) {
        Variant value;
        if (!currentValue(designator, value) || value.IsEmpty() || value.IsNull()) {
            if (m_runtime)
                throw EInvalidObject(SNilObject + quoted(shown));
            return defer(designator, element) ? 1 : 0;
        }
        if (zqDispatchOf(value)) {
            lateBound = true;
        } else if (VarIsStr(value)) {
            typ = fvtString;
        } else if (VarIsArray(value)) {
            typ = fvtArray;
        } else {
            const TzqClassVariable *cls = m_script->FindClassOf(zqObjectOf(value));
            if (!cls)
                throw Exception(SClassRequired);
            typ = fvtClass;
            typeName = cls->Name;
        }
    }
    if (lateBound) {
        if (step.index)
            throw Exception(SArrayRequired);
        auto helper = std::make_unique<TzqOLEHelper>(step.name, int(step.args.size()));
        addStep(designator, helper.get(), step);
        designator.OwnedRefs.push_back(std::move(helper));
        return 1;
    }
    switch (typ) {
    case fvtClass: {
        const TzqClassVariable *cls = m_script->FindClass(typeName);
        if (step.index) {
            if (!cls || !cls->DefProperty)
                throw Exception(QString(SClassError).replace(QStringLiteral("%s"), typeName));
            addStep(designator, cls->DefProperty, step);
            return 1;
        }
        if (TzqCustomVariable *member = cls ? cls->Find(step.name) : nullptr) {
            // An indexed property takes the index list that follows it.
            if (next && step.args.isEmpty() && member->GetNumberOfRequiredParams() > 0) {
                addStep(designator, member, RawStep{step.name, false, next->pos, next->args});
                return 2;
            }
            addStep(designator, member, step);
            return 1;
        }
        Variant value;
        auto *owner = currentValue(designator, value) ? dynamic_cast<TComponent *>(zqObjectOf(value)) : nullptr;
        if (TComponent *component = owner ? owner->FindComponent(step.name) : nullptr) {
            auto holder = std::make_unique<TzqVariable>(step.name, fvtClass, component->ClassName());
            holder->Value = Variant(component->Handle());
            holder->IsReadOnly = true;
            addStep(designator, holder.get(), step);
            designator.OwnedRefs.push_back(std::move(holder));
            return 1;
        }
        if (!m_runtime && m_script->DeferUnresolved && !zqMainScriptOf(m_script)->IsRunning)
            return defer(designator, element) ? 1 : 0;
        throw Exception(SIdUndeclared + quoted(step.name));
    }
    case fvtChar:
    case fvtString:
        if (!step.index)
            throw Exception(SStringError);
        addStep(designator, namedHelper(QStringLiteral("__StringHelper")), step);
        return 1;
    case fvtArray:
        if (!step.index)
            throw Exception(SIndexRequired);
        addStep(designator,
                dynamic_cast<TzqArrayHelper *>(previous->RefItem) ? previous->RefItem
                                                                  : namedHelper(QStringLiteral("__ArrayHelper")),
                step);
        return 1;
    default: throw Exception(step.index ? SArrayRequired : SClassRequired);
    }
}

void TzqProgramBuilder::addStep(TzqDesignator &designator, TzqCustomVariable *ref, const RawStep &step)
{
    designator.Steps.emplace_back();
    designator.Steps.back().Ref = ref;
    designator.Steps.back().SourcePos = step.pos;
    std::vector<std::unique_ptr<TzqExpression>> args;
    for (TzqXMLItem *argument : step.args)
        args.push_back(buildExpression(argument));
    if (!step.pos.isEmpty())
        m_parser.CurrentPos = step.pos;
    const int count = int(args.size());
    if (count < ref->GetNumberOfRequiredParams())
        throw Exception(SNotEnoughParams);
    if (count > ref->Count())
        throw Exception(STooManyParams);
    for (int j = 0; j < count && !ref->IsMacro; ++j) {
        const TzqParamItem *param = ref->Params(j);
        checkAssignable(param->Typ, param->TypeName, args[j]->Typ, args[j]->TypeName);
    }
    for (int j = count; j < ref->Count(); ++j) {
        auto fallback = std::make_unique<TzqExpression>(m_script);
        fallback->AddConstOperand(ref->Params(j)->DefValue, step.pos);
        fallback->Finish();
        args.push_back(std::move(fallback));
    }
    designator.Steps.back().Args = std::move(args);
}
