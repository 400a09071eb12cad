// The report's expressions and script: Calc, name resolution, script
// preparation and the functions the report registers in its script.

#include "report/report/qvxReport.h"

#include "report/pages/qvxBand.h"
#include "report/pages/qvxPage.h"
#include "report/model/qvxCustomEngine.h"
#include "report/model/qvxCustomOutline.h"
#include "report/model/qvxCustomPreviewPages.h"
#include "report/data/qvxDataSet.h"
#include "report/report/qvxExpressionCache.h"
#include "report/model/qvxGlobals.h"
#include "report/model/qvxOptions.h"
#include "report/data/qvxReportDataSets.h"
#include "report/model/qvxResources.h"
#include "report/model/qvxVariables.h"
#include "report/components/qvxView.h"
#include "script/zqClasses.h"
#include "script/zqHeldObjects.h"
#include "script/zqScript.h"
#include "script/zqVariables.h"
#include "toolkit/classes/ObjectHandles.h"
#include "toolkit/classes/TList.h"
#include "toolkit/classes/TStringList.h"
#include "toolkit/core/Exceptions.h"

namespace {

// Variables evaluated inside one another deeper than this form a cycle.
constexpr int MaxVariableDepth = 64;

const QStringList &aggregateNames()
{
    static const QStringList names{QStringLiteral("SUM"), QStringLiteral("AVG"), QStringLiteral("MIN"),
                                   QStringLiteral("MAX"), QStringLiteral("COUNT")};
    return names;
}

int builtinIndex(const QString &name)
{
    const QStringList &names = TqvxReport::BuiltinNames();
    for (int i = 0; i < names.size(); ++i)
        if (names.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

// A variable that takes part in its own value.
TOOLKIT_EXCEPTION(ECircularReference, Exception)

class DepthScope
{
public:
    explicit DepthScope(int &depth) : m_depth(depth) { ++m_depth; }
    ~DepthScope() { --m_depth; }
    DepthScope(const DepthScope &) = delete;
    DepthScope &operator=(const DepthScope &) = delete;

private:
    int &m_depth;
};

} // namespace

Variant TqvxReport::Calc(const QString &expression, TzqScript *script)
{
    return calcGuarded(expression, script, false);
}

Variant TqvxReport::CalcFromScript(const QString &expression)
{
    return calcGuarded(expression, nullptr, true);
}

Variant TqvxReport::calcGuarded(const QString &expression, TzqScript *script, bool fromScript)
{
    DepthScope nesting(m_calcDepth);
    const bool outermost = m_calcDepth == 1;
    Variant value;
    QString message;
    try {
        if (ResolveBuiltinName(expression, value))
            return value;
        m_expressionCache->Calc(expression, message, value, script ? script : m_script.get());
    } catch (const ECircularReference &e) {
        if (!outermost)
            throw;
        message = e.Message();
    }
    if (message.isEmpty())
        return value;
    // One error, one line: an expression written over several lines (or
    // one whose bracket is never closed) names its text on one.
    message.replace(QLatin1String("\r\n"), QLatin1String(" "));
    for (const char16_t lineBreak : {u'\r', u'\n', u'\u2028'})
        message.replace(QChar(lineBreak), QLatin1Char(' '));
    if (message == QLatin1String("Floating point division by zero") && m_engineOptions->IgnoreDevByZero())
        return Variant::Null();
    if (fromScript)
        throw Exception(qvxResources()->Get(QStringLiteral("clErrorInExp")) + message);
    // An error inside nested evaluations (variables holding expressions)
    // is recorded once, by the evaluation that began them.
    if (!outermost)
        throw Exception(message);
    if (!m_curObject.isEmpty())
        message += QStringLiteral(": ") + m_curObject;
    m_errors->Add(message);
    throw Exception(message);
}

void TqvxReport::GetDataSetAndField(const QString &text, TqvxDataSet *&dataSet, QString &field) const
{
    dataSet = nullptr;
    field.clear();
    const qsizetype split = text.indexOf(QLatin1String(".\""));
    // Only the exact form DS."Field": one closing quotation mark, last.
    if (split <= 0 || !text.endsWith(u'"') || text.size() < split + 3 ||
        text.indexOf(u'"', split + 2) != text.size() - 1)
        return;
    dataSet = GetDataset(text.left(split));
    if (dataSet)
        field = text.mid(split + 2, text.size() - split - 3);
}

Variant TqvxReport::builtinValue(int index) const
{
    switch (index) {
    case 0:
        return Variant::FromDate(m_engine->StartDate());
    case 1:
        return Variant::FromDate(m_engine->StartTime());
    case 2:
        return m_previewPages->GetLogicalPageNo();
    case 3:
        return m_previewPages->CurPage() + 1;
    case 4:
        return m_previewPages->GetLogicalTotalPages();
    case 5:
        return m_engine->TotalPages();
    case 6:
        return m_engine->CurLine();
    case 7:
        return m_engine->CurLineThrough();
    default:
        return qvxGlobalVariables()->GetVariable(QStringLiteral("CopyName0"));
    }
}

bool TqvxReport::resolveVariable(const QString &name, Variant &value)
{
    const int index = m_variables->IndexOf(name);
    if (index < 0)
        return false;
    const Variant stored = m_variables->Items(index)->Value();
    if (!stored.IsString() || stored.AsString().contains(QLatin1String("\r\n"))) {
        value = stored;
        return true;
    }
    const QString text = stored.AsString();
    if (text.isEmpty()) {
        value = stored;
        return true;
    }
    if (m_variableDepth >= MaxVariableDepth)
        throw ECircularReference(qvxResources()->Get(QStringLiteral("clCirRefNotAllow")) + QStringLiteral(": ") + name);
    DepthScope depth(m_variableDepth);
    value = Calc(text);
    return true;
}

bool TqvxReport::ResolveBuiltinName(const QString &name, Variant &value)
{
    TqvxQV2Events *hook = qvxQV2Events();
    if (hook && hook->OnGetValue) {
        value = Variant();
        hook->OnGetValue(name, value);
        if (!value.IsEmpty())
            return true;
    }

    TqvxDataSet *dataSet = nullptr;
    QString field;
    GetDataSetAndField(name, dataSet, field);
    if (dataSet && !field.isEmpty()) {
        value = dataSet->GetValue(field);
        if (m_engineOptions->ConvertNulls() && value.IsNull()) {
            switch (dataSet->GetFieldType(field)) {
            case fftString:
                value = QString();
                break;
            case fftBoolean:
                value = false;
                break;
            default:
                value = 0;
                break;
            }
        }
        return true;
    }

    const int builtin = builtinIndex(name);
    if (builtin >= 0) {
        value = builtinValue(builtin);
        return true;
    }

    value = Variant();
    if (OnGetValue)
        OnGetValue(name, value);
    if (OnNewGetValue)
        OnNewGetValue(this, name, value);
    if (!value.IsEmpty())
        return true;

    if (resolveVariable(name, value))
        return true;
    if (TqvxVariables *globals = qvxGlobalVariables(); globals && globals->IndexOf(name) >= 0) {
        value = globals->GetVariable(name);
        return true;
    }
    if (hook && hook->OnUnknownName)
        return false;
    if (TzqCustomVariable *item = m_script->Find(name)) {
        if (!item->AsProcedure() && !dynamic_cast<TzqMethodHelper *>(item)) {
            value = item->GetValue();
            return true;
        }
    }
    return false;
}

// --- script preparation -------------------------------------------------------

void TqvxReport::addReportItems(TqvxReport *activeReport)
{
    TzqScript *target = activeReport->m_script.get();
    for (TqvxComponent *object : GetAllObjects())
        if (!object->IsAncestor() && !object->Name().isEmpty())
            target->AddObject(object->Name(), object);
    target->AddObject(QStringLiteral("Report"), this);
    target->AddObject(QStringLiteral("Engine"), m_engine.get());
    if (TqvxCustomOutline *outline = m_previewPages->Outline())
        target->AddObject(QStringLiteral("Outline"), outline);
    target->AddVariable(QStringLiteral("Value"), QStringLiteral("Variant"), Variant::Null());
    target->AddVariable(QStringLiteral("Self"), QStringLiteral("TqvxView"), Variant::Null());
    addVariableItems(target);
    target->AddMethod(QStringLiteral("function Get(Name: String): Variant"),
                      [this](TObject *, TClass, const QString &, TzqMethodHelper *caller) {
                          return getScriptValue(caller);
                      });
    target->AddMethod(QStringLiteral("procedure Set(Name: String; Value: Variant)"),
                      [this](TObject *, TClass, const QString &, TzqMethodHelper *caller) {
                          m_variables->SetVariable(caller->GetParams(0).AsString(), caller->GetParams(1));
                          return Variant();
                      });
    const auto macro = [this](TObject *, TClass, const QString &name, TzqMethodHelper *caller) {
        return callMacroFunction(name, caller);
    };
    target->AddMethod(QStringLiteral("macrofunction IIF(Expr: Boolean; TrueValue, FalseValue: Variant): Variant"),
                      macro);
    for (const QString &aggregate : {QStringLiteral("SUM"), QStringLiteral("AVG"), QStringLiteral("MIN"),
                                     QStringLiteral("MAX")})
        target->AddMethod(QStringLiteral("macrofunction ") + aggregate +
                              QStringLiteral("(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant"),
                          macro);
    target->AddMethod(QStringLiteral("macrofunction COUNT(Band: Variant = 0; Flags: Integer = 0): Variant"), macro);
}

void TqvxReport::addVariableItems(TzqScript *target)
{
    // Each report variable becomes a script variable that reads the report's
    // value at every access, so expressions may use it inside larger terms.
    for (int i = 0; i < m_variables->Count(); ++i) {
        const QString name = m_variables->Items(i)->Name();
        if (name.isEmpty() || target->Find(name))
            continue;
        target->AddVariable(name, QStringLiteral("Variant"), Variant::Null());
        if (auto *item = dynamic_cast<TzqVariable *>(target->FindLocal(name)))
            item->OnGetVarValue = [this](const QString &variable, TzqVarType, const Variant &stored) {
                Variant value;
                return resolveVariable(variable, value) ? value : stored;
            };
    }
}

bool TqvxReport::PrepareScript(TqvxReport *activeReport)
{
    if (!activeReport)
        activeReport = this;
    TzqScript *keptParent = m_script->Parent;
    if (m_parentReportObject)
        m_parentReportObject->PrepareScript(activeReport);

    m_expressionCache->Clear();
    m_expressionCache->SetScriptLanguage(m_scriptLanguage);
    m_engine->NotifyList()->Clear();
    m_script->ClearItems(this);
    m_valueItem = nullptr;
    m_selfItem = nullptr;
    m_script->AddedBy = activeReport;
    m_script->IsMainScript = true;
    m_script->DeferUnresolved = true;
    m_script->Parent = m_parentReportObject ? m_parentReportObject->m_script.get() : keptParent;

    bool compiled = false;
    try {
        addReportItems(activeReport);
        if (TqvxQV2Events *hook = qvxQV2Events(); hook && hook->OnPrepareScript)
            hook->OnPrepareScript(this);
        m_valueItem = m_script->Find(QStringLiteral("Value"));
        m_selfItem = m_script->Find(QStringLiteral("Self"));
        m_script->SetLines(m_scriptText.get());
        m_script->SetSyntaxType(m_scriptLanguage);
        compiled = m_script->Compile();
        if (!compiled) {
            QString text = qvxResources()->Get(QStringLiteral("clScrError"));
            text.replace(text.indexOf(QLatin1String("%s")), 2, m_script->ErrorPos);
            text.replace(text.indexOf(QLatin1String("%s")), 2, m_script->ErrorMsg);
            m_errors->Add(text);
        }
    } catch (...) {
        m_script->AddedBy = nullptr;
        throw;
    }
    m_script->AddedBy = nullptr;
    return compiled;
}

void TqvxReport::rebindScriptItems()
{
    // The objects the script knew were freed with the old template: each
    // item names the reloaded object of its name, or nil when there is none.
    // The reloaded objects are lent as the first ones were (AddObject), so
    // that no script frees them.
    for (TqvxComponent *object : GetAllObjects()) {
        if (object->Name().isEmpty())
            continue;
        TzqCustomVariable *item = m_script->FindLocal(object->Name());
        if (item && item->AddedBy == this)
            item->SetValue(zqLentObjectValue(object));
    }
    for (int i = 0; i < m_script->Count(); ++i) {
        TzqCustomVariable *item = m_script->Items(i)->AsVariable();
        if (!item || item->AddedBy != this || item->AsProcedure() || item->AsHelper())
            continue;
        // The stored value: reading through the item would evaluate a
        // report variable, which may fail or refer to the old objects.
        const Variant &value = item->Value;
        if (VarType(value) == varInteger && value.AsInteger() >= 65536 && !ObjectHandleRegistry::Find(value.AsInteger()))
            item->SetValue(Variant(0));
    }
    if (m_selfItem)
        m_selfItem->SetValue(Variant::Null());
}

void TqvxReport::SetScriptSelf(TqvxComponent *object)
{
    if (m_selfItem)
        m_selfItem->SetValue(object ? Variant(object->Handle()) : Variant::Null());
}

void TqvxReport::SetScriptValue(const Variant &value)
{
    if (m_valueItem)
        m_valueItem->SetValue(value);
}

Variant TqvxReport::getScriptValue(TzqMethodHelper *caller)
{
    const QString name = caller->GetParams(0).AsString();
    Variant value;
    if (ResolveBuiltinName(name, value))
        return value;
    const qsizetype bracket = name.indexOf(u'(');
    if (bracket >= 0 && aggregateNames().contains(name.left(bracket).trimmed().toUpper()))
        return Calc(name);
    TqvxQV2Events *hook = qvxQV2Events();
    if (hook && hook->OnUnknownName) {
        value = Variant::Null();
        hook->OnUnknownName(name, value);
        return value;
    }
    m_errors->Add(qvxResources()->Get(QStringLiteral("clUnknownVar")) + QStringLiteral(" ") + name);
    return Variant::Null();
}

Variant TqvxReport::calcArgument(const QString &text)
{
    const QString trimmed = text.trimmed();
    return trimmed.isEmpty() ? Variant() : Calc(trimmed);
}

Variant TqvxReport::callMacroFunction(const QString &name, TzqMethodHelper *caller)
{
    const auto param = [caller](int index) { return caller->GetParams(index).AsString(); };
    if (name == QLatin1String("IIF"))
        return Calc(param(0)).AsBoolean() ? Calc(param(1)) : Calc(param(2));
    const bool count = name == QLatin1String("COUNT");
    const int first = count ? 0 : 1;
    const Variant band = calcArgument(param(first));
    const Variant flags = calcArgument(param(first + 1));
    TqvxBand *bandObject = nullptr;
    if (!band.IsEmpty() && !band.IsNull() && band.AsInteger() != 0) {
        bandObject = dynamic_cast<TqvxBand *>(ObjectHandleRegistry::Resolve(band.AsInteger()));
        if (!bandObject)
            throw Exception(QStringLiteral("%1: the band argument is no band").arg(name));
    }
    return m_engine->GetAggregateValue(name, count ? QString() : param(0), bandObject,
                                       flags.IsEmpty() || flags.IsNull() ? 0 : flags.AsInteger());
}

// --- script events --------------------------------------------------------------

void TqvxReport::DoNotifyEvent(TObject *obj, const QString &procName, bool force)
{
    if (procName.isEmpty() || !(m_engine->Running() || force))
        return;
    Variant params = VarArrayCreate({0, 0}, varVariant);
    params.PutElement({0}, Variant(obj ? obj->Handle() : 0));
    m_script->CallFunction(procName, params);
}

void TqvxReport::DoParamEvent(const QString &procName, Variant &params, bool force)
{
    if (procName.isEmpty() || !(m_engine->Running() || force))
        return;
    m_script->CallFunctionVar(procName, params);
}

void TqvxReport::DoNotifyEvent(TObject *sender, const QString &procedure)
{
    DoNotifyEvent(sender, procedure, false);
}

void TqvxReport::DoParamEvent(const QString &procedure, QList<Variant> &params)
{
    const int count = int(params.size());
    Variant array = VarArrayCreate({0, count - 1}, varVariant);
    for (int i = 0; i < count; ++i)
        array.PutElement({i}, params.at(i));
    DoParamEvent(procedure, array, false);
    for (int i = 0; i < count; ++i)
        params[i] = array.GetElement({i});
}

namespace {

// The script procedure an object names for a print event: bands and views
// (report components) and report pages have them, other objects none.
QString printHandler(const TqvxComponent *object, QString (TqvxReportComponent::*ofComponent)() const,
                     QString (TqvxReportPage::*ofPage)() const)
{
    if (const auto *component = qobject_cast<const TqvxReportComponent *>(object))
        return (component->*ofComponent)();
    if (const auto *page = qobject_cast<const TqvxReportPage *>(object))
        return (page->*ofPage)();
    return QString();
}

} // namespace

void TqvxReport::DoBeforePrint(TqvxComponent *obj)
{
    if (OnBeforePrint)
        OnBeforePrint(obj);
    DoNotifyEvent(obj, printHandler(obj, &TqvxReportComponent::OnBeforePrint, &TqvxReportPage::OnBeforePrint),
                  false);
}

void TqvxReport::DoAfterPrint(TqvxComponent *obj)
{
    if (OnAfterPrint)
        OnAfterPrint(obj);
    DoNotifyEvent(obj, printHandler(obj, &TqvxReportComponent::OnAfterPrint, &TqvxReportPage::OnAfterPrint),
                  false);
}

void TqvxReport::callViewHandler(const QString &procName, const QList<Variant> &arguments, bool &flag)
{
    if (procName.isEmpty())
        return;
    const int last = int(arguments.size());
    Variant params = VarArrayCreate({0, last}, varVariant);
    for (int i = 0; i < last; ++i)
        params.PutElement({i}, arguments.at(i));
    params.PutElement({last}, Variant(flag));
    DoParamEvent(procName, params, true);
    flag = params.GetElement({last}).AsBoolean();
}

void TqvxReport::DoPreviewClick(TqvxView *view, TMouseButton button, TShiftState shift, bool &modified,
                                bool dblClick)
{
    callViewHandler(dblClick ? view->OnPreviewDblClick() : view->OnPreviewClick(),
                    {Variant(view->Handle()), Variant(int(button)), Variant(int(shift.toInt()))}, modified);
    const TqvxPreviewClickEvent &event = dblClick ? OnDblClickObject : OnClickObject;
    if (event)
        event(view, button, shift, modified);
}

void TqvxReport::DoMouseEnter(TqvxView *view, bool &refresh)
{
    if (OnMouseEnter)
        OnMouseEnter(view);
    callViewHandler(view->OnMouseEnter(), {Variant(view->Handle())}, refresh);
}

void TqvxReport::DoMouseLeave(TqvxView *view, bool &refresh)
{
    if (OnMouseLeave)
        OnMouseLeave(view);
    callViewHandler(view->OnMouseLeave(), {Variant(view->Handle())}, refresh);
}

void TqvxReport::DoMouseUp(TqvxView *view, double x, double y, TMouseButton button, TShiftState shift, bool &refresh)
{
    callViewHandler(view->OnMouseUp(),
                    {Variant(view->Handle()), Variant(x), Variant(y), Variant(int(button)), Variant(int(shift.toInt()))},
                    refresh);
}
