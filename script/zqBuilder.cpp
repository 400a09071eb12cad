#include "script/zqBuilder.h"

#include "script/zqBuildElements.h"
#include "script/zqClasses.h"
#include "script/zqDeclarations.h"
#include "script/zqDesignators.h"
#include "script/zqExpressions.h"
#include "script/zqILParser.h"
#include "script/zqMessages.h"
#include "script/zqScript.h"
#include "script/zqStatements.h"
#include "script/zqXML.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/core/Exceptions.h"

using namespace zqBuild;

namespace {

// Elements of one declared array.
constexpr qint64 maxArrayElements = 16 * 1024 * 1024;

// Two designators that name the same thing without calls or indices.
bool sameDesignator(const TzqXMLItem *a, const TzqXMLItem *b)
{
    if (!is(a, "dsgn") || !is(b, "dsgn") || a->Count() != b->Count())
        return false;
    for (int i = 0; i < a->Count(); ++i) {
        const TzqXMLItem *x = a->Items(i);
        const TzqXMLItem *y = b->Items(i);
        if (!is(x, "node") || !is(y, "node") || textOf(x) == u"[")
            return false;
        if (textOf(x).compare(textOf(y), Qt::CaseInsensitive) != 0)
            return false;
    }
    return true;
}

} // namespace

TzqProgramBuilder::TzqProgramBuilder(TzqILParser &parser) : m_parser(parser), m_script(parser.Program())
{
}

void TzqProgramBuilder::Build()
{
    TzqXMLItem *root = m_parser.ILScript()->Root();
    if (!is(root, "program"))
        invalidFormat();
    buildProgram(root, m_script->MainProgram());
}

std::unique_ptr<TzqDesignator> TzqProgramBuilder::BuildRuntimeDesignator(TzqXMLItem *element)
{
    m_runtime = true;
    return buildDesignator(element);
}

void TzqProgramBuilder::buildProgram(TzqXMLItem *program, TzqStatement *list)
{
    TzqXMLItem *saved = m_programRoot;
    m_programRoot = program;
    declareProcedures(program);
    buildStatements(program, list);
    m_programRoot = saved;
}

void TzqProgramBuilder::declareProcedures(TzqXMLItem *parent)
{
    DepthGuard guard(m_depth);
    for (int i = 0; i < parent->Count(); ++i) {
        TzqXMLItem *element = parent->Items(i);
        if (is(element, "procedure") || is(element, "function"))
            declareProcedure(element);
        else if (is(element, "compoundstmt"))
            declareProcedures(element);
    }
}

TzqCustomVariable *TzqProgramBuilder::declareProcedure(TzqXMLItem *element)
{
    m_parser.CurrentPos = posOf(element);
    TzqXMLItem *nameLeaf = childNamed(element, "name");
    const QString name = nameLeaf ? textOf(nameLeaf) : QString();
    if (name.isEmpty())
        invalidFormat();
    if (m_script->FindLocal(name))
        throw Exception(SIdRedeclared + quoted(name));
    bool isFunc = is(element, "function");
    QString typeName;
    TzqVarType typ = fvtVariant;
    if (isFunc) {
        TzqXMLItem *typeLeaf = childNamed(element, "type");
        typeName = typeLeaf ? textOf(typeLeaf) : QString();
        isFunc = typeName.compare(QStringLiteral("void"), Qt::CaseInsensitive) != 0;
        if (typeName.isEmpty())
            typeName = QStringLiteral("Variant");
        if (isFunc)
            typ = resolveType(typeName);
    }
    auto proc = std::make_unique<TzqProcVariable>(name, typ, typeName, m_script, isFunc);
    if (TzqXMLItem *parameters = childNamed(element, "parameters"))
        buildParameters(parameters, proc.get());
    TzqCustomVariable *result = proc.get();
    element->SetData(result);
    m_script->Add(name, std::move(proc));
    return result;
}

void TzqProgramBuilder::buildParameters(TzqXMLItem *parameters, TzqCustomVariable *procedure)
{
    auto *proc = static_cast<TzqProcVariable *>(procedure);
    bool byReference = false;
    for (int i = 0; i < parameters->Count(); ++i) {
        TzqXMLItem *group = parameters->Items(i);
        if (is(group, "varparams")) {
            byReference = true;
            continue;
        }
        if (!is(group, "var"))
            invalidFormat();
        QString typeName = QStringLiteral("Variant");
        QStringList names;
        TzqXMLItem *init = nullptr;
        bool openArray = false;
        for (int k = 0; k < group->Count(); ++k) {
            TzqXMLItem *item = group->Items(k);
            if (is(item, "ident"))
                names << textOf(item);
            else if (is(item, "type"))
                typeName = textOf(item);
            else if (is(item, "varparam"))
                byReference = true;
            else if (is(item, "init"))
                init = item;
            else if (is(item, "array"))
                openArray = true;
        }
        const TzqVarType typ = openArray ? fvtArray : resolveType(typeName);
        for (qsizetype k = 0; k < names.size(); ++k) {
            const bool optional = init && k == names.size() - 1;
            auto param = std::make_unique<TzqParamItem>(names[k], typ, typeName, optional, byReference);
            if (optional)
                param->DefValue = evaluate(child(init, 0));
            proc->AddParameter(std::move(param));
        }
        byReference = false;
    }
}

void TzqProgramBuilder::buildProcedure(TzqXMLItem *element)
{
    auto *proc = static_cast<TzqProcVariable *>(element->Data());
    if (!proc)
        proc = static_cast<TzqProcVariable *>(declareProcedure(element));
    TzqScript *saved = m_script;
    const QList<WithEntry> savedWith = m_withList;
    m_script = proc->Prog();
    m_withList.clear();
    declareProcedures(element);
    buildStatements(element, m_script->MainProgram());
    m_withList = savedWith;
    m_script = saved;
}

void TzqProgramBuilder::buildStatements(TzqXMLItem *parent, TzqStatement *list, int first, int last)
{
    DepthGuard guard(m_depth);
    const bool declarationLevel = is(parent, "program") || is(parent, "procedure") || is(parent, "function");
    const int end = last < 0 ? parent->Count() : last;
    for (int i = first; i < end; ++i) {
        TzqXMLItem *element = parent->Items(i);
        if (is(element, "var"))
            buildVar(element, declarationLevel ? nullptr : list);
        else
            buildStatement(element, list);
    }
}

template <class Statement>
Statement *TzqProgramBuilder::append(TzqXMLItem *element, TzqStatement *list)
{
    const QString pos = posOf(element);
    m_parser.CurrentPos = pos;
    auto statement = std::make_unique<Statement>(m_script, m_parser.UnitName, pos);
    Statement *result = statement.get();
    list->Items.push_back(std::move(statement));
    m_parser.Program()->AddCodeLine(m_parser.UnitName, pos);
    return result;
}

void TzqProgramBuilder::buildStatement(TzqXMLItem *element, TzqStatement *list)
{
    m_parser.CurrentPos = posOf(element);
    const QString name = element->Name().toLower();
    if (name == u"var")
        buildVar(element, list);
    else if (name == u"const")
        buildConst(element);
    else if (name == u"procedure" || name == u"function")
        buildProcedure(element);
    else if (name == u"uses")
        buildUses(element, list);
    else if (name == u"compoundstmt")
        buildStatements(element, list);
    else if (name == u"assignstmt")
        buildAssignment(element, list);
    else if (name == u"callstmt")
        buildCall(element, list);
    else if (name == u"ifstmt")
        buildIf(element, list);
    else if (name == u"casestmt")
        buildCase(element, list);
    else if (name == u"forstmt")
        buildFor(element, list, false);
    else if (name == u"vbforstmt")
        buildFor(element, list, true);
    else if (name == u"cppforstmt")
        buildCppFor(element, list);
    else if (name == u"whilestmt")
        buildWhile(element, list);
    else if (name == u"repeatstmt")
        buildRepeat(element, list);
    else if (name == u"trystmt")
        buildTry(element, list);
    else if (name == u"with")
        buildWith(element, list);
    else if (name == u"break")
        append<TzqBreakStmt>(element, list);
    else if (name == u"continue")
        append<TzqContinueStmt>(element, list);
    else if (name == u"exit")
        append<TzqExitStmt>(element, list);
    else if (name == u"return")
        buildReturn(element, list);
    else if (name == u"delete")
        buildDelete(element, list);
}

void TzqProgramBuilder::buildUses(TzqXMLItem *element, TzqStatement *list)
{
    TzqScript *program = m_parser.Program();
    const QString saved = m_parser.UnitName;
    m_parser.UnitName = element->GetProp(QStringLiteral("unit"));
    QString il;
    if (program->OnGetILUnit)
        program->OnGetILUnit(program, m_parser.UnitName, il);
    if (!il.isEmpty()) {
        TzqXMLDocument document;
        TStringStream stream(il);
        document.LoadFromStream(&stream);
        if (!is(document.Root(), "program"))
            invalidFormat();
        if (program->OnGetUnit && !m_parser.UnitTexts.contains(m_parser.UnitName)) {
            QString text;
            program->OnGetUnit(program, m_parser.UnitName, text);
            m_parser.UnitTexts.insert(m_parser.UnitName, text);
        }
        buildProgram(document.Root(), list);
    } else if (TzqXMLItem *unit = childNamed(element, "program")) {
        buildProgram(unit, list);
    }
    m_parser.UnitName = saved;
}

void TzqProgramBuilder::buildVar(TzqXMLItem *element, TzqStatement *list)
{
    struct Declared {
        QString name;
        TzqXMLItem *array = nullptr;
        TzqXMLItem *init = nullptr;
    };
    QList<Declared> names;
    QString typeName;
    int typeIndex = -1;
    int lastIdent = -1;
    for (int i = 0; i < element->Count(); ++i) {
        TzqXMLItem *item = element->Items(i);
        if (is(item, "ident")) {
            names.append({textOf(item)});
            lastIdent = i;
        } else if (is(item, "type") && typeIndex < 0) {
            typeName = textOf(item);
            typeIndex = i;
        } else if ((is(item, "array") || is(item, "init")) && !names.isEmpty()) {
            (is(item, "array") ? names.last().array : names.last().init) = item;
        }
    }
    // Written after the names and the type ("a, b: array[..] of T = v"),
    // the array and the initial value belong to every name.
    if (typeIndex > lastIdent && !names.isEmpty()) {
        for (Declared &declared : names) {
            declared.array = names.last().array;
            declared.init = names.last().init;
        }
    }
    for (const Declared &declared : std::as_const(names)) {
        m_parser.CurrentPos = posOf(element);
        buildVariable(declared.name, typeName, declared.array, declared.init, list);
    }
}

void TzqProgramBuilder::buildVariable(const QString &name, const QString &declaredType, TzqXMLItem *array,
                                      TzqXMLItem *init, TzqStatement *list)
{
    if (name.isEmpty())
        invalidFormat();
    if (m_script->FindLocal(name))
        throw Exception(SIdRedeclared + quoted(name));
    QString typeName = declaredType.isEmpty() ? QStringLiteral("Variant") : declaredType;
    const TzqVarType typ = resolveType(typeName);
    std::unique_ptr<TzqVariable> variable;
    if ((typ == fvtChar || typ == fvtString) && !array)
        variable = std::make_unique<TzqStringVariable>(name, typ, typeName);
    else
        variable = std::make_unique<TzqVariable>(name, typ, typeName);
    switch (typ) {
    case fvtInt:
    case fvtClass: variable->Value = Variant(0); break;
    case fvtInt64: variable->Value = Variant(qint64(0)); break;
    case fvtFloat: variable->Value = Variant(0.0); break;
    case fvtBool: variable->Value = Variant(false); break;
    default: variable->Value = Unassigned; break;
    }
    variable->OnGetVarValue = m_parser.Program()->OnGetVarValue;
    if (array) {
        QList<int> bounds;
        qint64 elements = 1;
        for (int d = 0; d < array->Count(); ++d) {
            TzqXMLItem *dim = array->Items(d);
            if (!is(dim, "dim") || dim->Count() < 1)
                invalidFormat();
            const qint64 low = dim->Count() == 1 ? 0 : evaluate(child(dim, 0)).AsInteger();
            const qint64 high = dim->Count() == 1 ? evaluate(child(dim, 0)).AsInteger() - 1
                                                  : evaluate(child(dim, 1)).AsInteger();
            elements *= std::max<qint64>(high - low + 1, 0);
            if (elements > maxArrayElements || d >= 3)
                throw Exception(SArrayTooLarge);
            bounds << int(low) << int(high);
        }
        variable->Typ = fvtArray;
        if (!bounds.isEmpty()) {
            variable->Value = VarArrayCreate(bounds.constData(), int(bounds.size()), varVariant);
            auto accessor = std::make_unique<TzqArrayHelper>(QString(), int(bounds.size() / 2));
            variable->RefItem = accessor.get();
            m_script->Add(QString(), std::move(accessor));
        }
    }
    TzqVariable *declared = variable.get();
    m_script->Add(name, std::move(variable));
    if (!init)
        return;
    std::unique_ptr<TzqExpression> value = buildExpression(child(init, 0));
    checkAssignable(declared->Typ, declared->TypeName, value->Typ, value->TypeName);
    if (!list) {
        declared->SetValue(value->GetValue());
        return;
    }
    auto *statement = append<TzqAssignmentStmt>(init, list);
    statement->Designator = std::make_unique<TzqDesignator>(m_script);
    statement->Designator->Steps.emplace_back();
    statement->Designator->Steps.back().Ref = declared;
    statement->Designator->Finalize();
    statement->Expression = std::move(value);
    statement->Optimize();
}

void TzqProgramBuilder::buildConst(TzqXMLItem *element)
{
    const QString name = textOf(child(element, 0));
    m_parser.CurrentPos = posOf(element);
    if (m_script->FindLocal(name))
        throw Exception(SIdRedeclared + quoted(name));
    std::unique_ptr<TzqExpression> value = buildExpression(child(element, 1));
    auto constant = std::make_unique<TzqVariable>(name, value->Typ, value->TypeName);
    constant->Value = value->GetValue();
    constant->IsReadOnly = true;
    m_script->Add(name, std::move(constant));
}

void TzqProgramBuilder::checkAssignable(TzqVarType l, const QString &lName, TzqVarType r, const QString &rName)
{
    if (!zqTypesCompatible(m_script, l, lName, r, rName))
        throw Exception(SIncompatibleTypes + QStringLiteral(": ") + quoted(zqTypeNameOf(l, lName))
                        + QStringLiteral(", ") + quoted(zqTypeNameOf(r, rName)));
}

void TzqProgramBuilder::buildAssignment(TzqXMLItem *element, TzqStatement *list)
{
    TzqXMLItem *target = child(element, 0);
    TzqXMLItem *source = child(element, element->Count() - 1);
    TzqXMLItem *modificator = childNamed(element, "modificator");
    std::unique_ptr<TzqDesignator> designator = buildDesignator(target);
    m_parser.CurrentPos = posOf(element);
    if (designator->IsReadOnly)
        throw Exception(SLeftCantAssigned);
    std::unique_ptr<TzqExpression> expression = buildExpression(source);
    m_parser.CurrentPos = posOf(element);
    checkAssignable(designator->Typ, designator->TypeName, expression->Typ, expression->TypeName);

    QString op = modificator ? textOf(modificator) : QString();
    if (op.isEmpty() && source->Count() == 3 && is(source->Items(1), "op") && sameDesignator(target, source->Items(0))) {
        const QString candidate = textOf(source->Items(1));
        if (candidate == u"+" || candidate == u"-" || candidate == u"*" || candidate == u"/") {
            op = candidate;
            auto operand = std::make_unique<TzqExpression>(m_script);
            feedItem(*operand, source->Items(2), true);
            const QString errorPos = operand->Finish();
            if (!errorPos.isEmpty())
                throw Exception(SIncompatibleTypes);
            operand->Source = expression->Source;
            expression = std::move(operand);
        }
    }
    TzqAssignmentStmt *statement = nullptr;
    if (op == u"+")
        statement = append<TzqAssignPlusStmt>(element, list);
    else if (op == u"-")
        statement = append<TzqAssignMinusStmt>(element, list);
    else if (op == u"*")
        statement = append<TzqAssignMulStmt>(element, list);
    else if (op == u"/")
        statement = append<TzqAssignDivStmt>(element, list);
    else
        statement = append<TzqAssignmentStmt>(element, list);
    statement->Designator = std::move(designator);
    statement->Expression = std::move(expression);
    statement->Optimize();
}

void TzqProgramBuilder::buildCall(TzqXMLItem *element, TzqStatement *list)
{
    std::unique_ptr<TzqDesignator> designator = buildDesignator(child(element, 0));
    TzqXMLItem *modificator = childNamed(element, "modificator");
    m_parser.CurrentPos = posOf(element);
    if (modificator && designator->IsReadOnly)
        throw Exception(SLeftCantAssigned);
    auto *statement = append<TzqCallStmt>(element, list);
    statement->Designator = std::move(designator);
    statement->Modificator = modificator ? textOf(modificator) : QString();
}

void TzqProgramBuilder::buildIf(TzqXMLItem *element, TzqStatement *list)
{
    auto *statement = append<TzqIfStmt>(element, list);
    statement->Condition = buildExpression(child(element, 0));
    for (int i = 1; i < element->Count(); ++i) {
        TzqXMLItem *branch = element->Items(i);
        if (is(branch, "thenstmt"))
            buildStatements(branch, statement);
        else if (is(branch, "elsestmt"))
            buildStatements(branch, statement->ElseStmt.get());
        else
            invalidFormat();
    }
}

void TzqProgramBuilder::buildCase(TzqXMLItem *element, TzqStatement *list)
{
    auto *statement = append<TzqCaseStmt>(element, list);
    statement->Condition = buildExpression(child(element, 0));
    for (int i = 1; i < element->Count(); ++i) {
        TzqXMLItem *branch = element->Items(i);
        if (!is(branch, "caseselector")) {
            buildStatement(branch, statement->ElseStmt.get());
            continue;
        }
        auto selector = std::make_unique<TzqCaseSelector>(m_script, m_parser.UnitName, posOf(branch));
        selector->SetExpression = buildSet(child(branch, 0));
        buildStatements(branch, selector.get(), 1);
        statement->Items.push_back(std::move(selector));
    }
}

void TzqProgramBuilder::buildFor(TzqXMLItem *element, TzqStatement *list, bool stepped)
{
    TzqXMLItem *ident = child(element, 0);
    if (!is(ident, "ident"))
        invalidFormat();
    TzqCustomVariable *variable = findOrDeclare(textOf(ident));
    m_parser.CurrentPos = posOf(element);
    const TzqVarType typ = variable->Typ;
    if (!dynamic_cast<TzqVariable *>(variable) || variable->IsReadOnly
        || !(typ == fvtInt || typ == fvtFloat || typ == fvtVariant || typ == fvtInt64))
        throw Exception(SForError);
    std::vector<std::unique_ptr<TzqExpression>> bounds;
    bool down = false;
    int i = 1;
    const int wanted = stepped ? 3 : 2;
    for (; i < element->Count() && int(bounds.size()) < wanted; ++i) {
        TzqXMLItem *item = element->Items(i);
        if (is(item, "downto") && !stepped)
            down = true;
        else if (is(item, "expr"))
            bounds.push_back(buildExpression(item));
        else if (bounds.size() >= 2)
            break;
        else
            invalidFormat();
    }
    if (bounds.size() < 2)
        invalidFormat();
    m_parser.CurrentPos = posOf(element);
    for (const auto &bound : bounds)
        checkAssignable(typ, variable->TypeName, bound->Typ, bound->TypeName);
    if (stepped) {
        auto *statement = append<TzqVbForStmt>(element, list);
        statement->Variable = variable;
        statement->BeginValue = std::move(bounds[0]);
        statement->EndValue = std::move(bounds[1]);
        if (bounds.size() > 2)
            statement->Step = std::move(bounds[2]);
        buildStatements(element, statement, i);
        return;
    }
    auto *statement = append<TzqForStmt>(element, list);
    statement->Variable = variable;
    statement->Down = down;
    statement->BeginValue = std::move(bounds[0]);
    statement->EndValue = std::move(bounds[1]);
    buildStatements(element, statement, i);
}

void TzqProgramBuilder::buildCppFor(TzqXMLItem *element, TzqStatement *list)
{
    auto *statement = append<TzqCppForStmt>(element, list);
    buildStatements(child(element, 0), statement->FirstStmt.get());
    int next = 1;
    if (is(child(element, next), "expr"))
        statement->Condition = buildExpression(element->Items(next++));
    TzqXMLItem *step = child(element, next);
    if (!is(step, "compoundstmt"))
        invalidFormat();
    buildStatements(step, statement->SecondStmt.get());
    buildStatements(element, statement, next + 1);
}

void TzqProgramBuilder::buildWhile(TzqXMLItem *element, TzqStatement *list)
{
    auto *statement = append<TzqWhileStmt>(element, list);
    statement->Condition = buildExpression(child(element, 0));
    buildStatements(element, statement, 1);
}

void TzqProgramBuilder::buildRepeat(TzqXMLItem *element, TzqStatement *list)
{
    auto *statement = append<TzqRepeatStmt>(element, list);
    int condition = element->Count() - 1;
    if (is(child(element, condition), "inverse")) {
        statement->InverseCondition = true;
        --condition;
    }
    buildStatements(element, statement, 0, condition);
    statement->Condition = buildExpression(child(element, condition));
}

void TzqProgramBuilder::buildTry(TzqXMLItem *element, TzqStatement *list)
{
    auto *statement = append<TzqTryStmt>(element, list);
    TzqXMLItem *handler = child(element, element->Count() - 1);
    if (!is(handler, "finallystmt") && !is(handler, "exceptstmt"))
        invalidFormat();
    statement->IsExcept = is(handler, "exceptstmt");
    buildStatements(element, statement, 0, element->Count() - 1);
    buildStatements(handler, statement->ExceptStmt.get());
}

void TzqProgramBuilder::buildWith(TzqXMLItem *element, TzqStatement *list)
{
    qsizetype pushed = 0;
    for (int i = 0; i < element->Count(); ++i) {
        TzqXMLItem *item = element->Items(i);
        if (!is(item, "dsgn")) {
            buildStatement(item, list);
            continue;
        }
        std::unique_ptr<TzqDesignator> designator = buildDesignator(item);
        m_parser.CurrentPos = posOf(item);
        if (designator->Typ != fvtClass && designator->Typ != fvtVariant)
            throw Exception(SClassRequired);
        QString name;
        for (int n = 0;; ++n) {
            name = QStringLiteral("_WithList_%1").arg(n);
            const bool listed = std::any_of(m_withList.cbegin(), m_withList.cend(), [&name](const WithEntry &w) {
                return w.name.compare(name, Qt::CaseInsensitive) == 0;
            });
            if (!listed && !m_script->FindLocal(name))
                break;
        }
        auto variable = std::make_unique<TzqVariable>(name, designator->Typ, designator->TypeName);
        auto *statement = append<TzqWithStmt>(item, list);
        statement->Variable = variable.get();
        statement->Designator = std::move(designator);
        m_withList.append({name, variable.get()});
        m_script->Add(name, std::move(variable));
        ++pushed;
    }
    m_withList.resize(m_withList.size() - pushed);
}

void TzqProgramBuilder::buildReturn(TzqXMLItem *element, TzqStatement *list)
{
    if (element->Count() > 0) {
        TzqCustomVariable *result = m_script->Find(QStringLiteral("Result"));
        if (!result)
            throw Exception(SIdUndeclared + quoted(QStringLiteral("Result")));
        std::unique_ptr<TzqExpression> value = buildExpression(child(element, 0));
        m_parser.CurrentPos = posOf(element);
        checkAssignable(result->Typ, result->TypeName, value->Typ, value->TypeName);
        auto *statement = append<TzqAssignmentStmt>(element, list);
        statement->Designator = std::make_unique<TzqDesignator>(m_script);
        statement->Designator->Steps.emplace_back();
        statement->Designator->Steps.back().Ref = result;
        statement->Designator->Finalize();
        statement->Expression = std::move(value);
        statement->Optimize();
    }
    append<TzqExitStmt>(element, list);
}

void TzqProgramBuilder::buildDelete(TzqXMLItem *element, TzqStatement *list)
{
    TzqXMLItem *target = child(element, 0);
    TzqXMLItem extended;
    extended.Assign(target);
    TzqXMLItem *free = extended.Add();
    free->SetName(QStringLiteral("node"));
    free->SetProp(QStringLiteral("text"), QStringLiteral("Free"));
    free->SetProp(QStringLiteral("pos"), posOf(target));
    std::unique_ptr<TzqDesignator> object = buildDesignator(target);
    m_parser.CurrentPos = posOf(element);
    if (object->Typ != fvtClass && object->Typ != fvtVariant)
        throw Exception(SClassRequired);
    auto *statement = append<TzqCallStmt>(element, list);
    statement->Designator = buildDesignator(&extended);
}

TzqVarType TzqProgramBuilder::resolveType(QString &typeName)
{
    const auto alias = [&typeName](TzqXMLItem *root) {
        TzqXMLItem *types = root ? childNamed(root, "types") : nullptr;
        const int index = types ? types->Find(typeName) : -1;
        if (index < 0)
            return false;
        typeName = types->Items(index)->GetProp(QStringLiteral("type"));
        return true;
    };
    if (!alias(m_programRoot) && m_parser.Grammar())
        alias(m_parser.Grammar()->Root());
    const TzqCustomVariable *item = m_script->Find(typeName);
    if (!item) {
        if (typeName.compare(QStringLiteral("Variant"), Qt::CaseInsensitive) == 0)
            return fvtVariant;
        throw Exception(SUnknownType + quoted(typeName));
    }
    return dynamic_cast<const TzqClassVariable *>(item) ? fvtClass : item->Typ;
}

TzqCustomVariable *TzqProgramBuilder::findOrDeclare(const QString &name)
{
    if (TzqCustomVariable *item = m_script->Find(name))
        return item;
    if (m_parser.NeedDeclareVars() || m_runtime)
        throw Exception(SIdUndeclared + quoted(name));
    auto variable = std::make_unique<TzqVariable>(name, fvtVariant, QStringLiteral("Variant"));
    TzqCustomVariable *result = variable.get();
    m_parser.Program()->Add(name, std::move(variable));
    return result;
}

QString TzqProgramBuilder::sourceText(const QString &pos, const QString &pos1)
{
    const QString unit = m_parser.UnitName;
    const QString text = unit.isEmpty() ? m_parser.Parser()->Text().left(m_parser.Parser()->Size())
                                        : m_parser.UnitTexts.value(unit);
    if (text.isEmpty() || pos.isEmpty())
        return QString();
    std::shared_ptr<TzqParser> &lines = m_lineTables[unit];
    if (!lines) {
        lines = std::make_shared<TzqParser>();
        lines->SetText(text);
    }
    const auto position = [&lines](const QString &lineCol) {
        return lines->GetPlainPosition(lineCol.section(u':', 1).toInt(), lineCol.section(u':', 0, 0).toInt());
    };
    const int start = std::max(1, position(pos));
    const int end = std::min(int(text.size()) + 1, position(pos1));
    return end > start ? text.mid(start - 1, end - start) : QString();
}

Variant TzqProgramBuilder::evaluate(TzqXMLItem *element)
{
    return buildExpression(element)->GetValue();
}
