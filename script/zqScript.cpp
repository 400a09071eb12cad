#include "script/zqScript.h"

#include "script/zqClasses.h"
#include "script/zqDeclarations.h"
#include "script/zqEvents.h"
#include "script/zqHeldObjects.h"
#include "script/zqILParser.h"
#include "script/zqStatements.h"
#include "toolkit/classes/TDataModule.h"
#include "toolkit/classes/TStringList.h"
#include "toolkit/widgets/TForm.h"

#include <algorithm>

namespace {

// The owner tag of everything the binding modules add; no host object can
// have its address.
const char rttiModuleMarker = 0;

bool lessByName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) < 0;
}

} // namespace

TzqScript *zqMainScriptOf(TzqScript *script)
{
    for (TzqScript *s = script; s; s = s->Parent) {
        if (s->IsMainScript)
            return s;
    }
    return script;
}

TzqScript::TzqScript(TComponent *owner)
    : TComponent(owner),
      m_lines(std::make_unique<TStringList>()),
      m_unitLines(std::make_unique<TStringList>(true))
{
    m_unitLines->SetSorted(true);
    resetProgram();
}

TzqScript::~TzqScript()
{
    Clear();
    RemoveRTTIModules();
    m_mainProgram.reset();
    for (auto it = m_items.rbegin(); it != m_items.rend(); ++it) {
        if (it->owned)
            delete it->item;
    }
}

void TzqScript::insert(const QString &name, TzqScriptItem *item, bool owned)
{
    // In front of the entries of the same name, so the one added last is found.
    const auto at = std::lower_bound(m_items.begin(), m_items.end(), name,
                                     [](const Entry &e, const QString &n) { return lessByName(e.name, n); });
    m_items.insert(at, Entry{name, item, owned});
    if (auto *variable = dynamic_cast<TzqCustomVariable *>(item); variable && owned)
        variable->AddedBy = AddedBy;
}

void TzqScript::Add(const QString &name, std::unique_ptr<TzqScriptItem> item)
{
    insert(name, item.release(), true);
}

void TzqScript::AddReference(const QString &name, TzqScriptItem *item)
{
    insert(name, item, false);
}

void TzqScript::Remove(TzqScriptItem *item)
{
    const auto at = std::find_if(m_items.begin(), m_items.end(), [item](const Entry &e) { return e.item == item; });
    if (at != m_items.end())
        m_items.erase(at);
}

TzqCustomVariable *TzqScript::FindLocal(const QString &name) const
{
    const auto at = std::lower_bound(m_items.begin(), m_items.end(), name,
                                     [](const Entry &e, const QString &n) { return lessByName(e.name, n); });
    if (at == m_items.end() || at->name.compare(name, Qt::CaseInsensitive) != 0)
        return nullptr;
    return dynamic_cast<TzqCustomVariable *>(at->item);
}

TzqCustomVariable *TzqScript::Find(const QString &name) const
{
    for (const TzqScript *script = this; script; script = script->Parent) {
        if (TzqCustomVariable *item = script->FindLocal(name))
            return item;
    }
    return nullptr;
}

TzqClassVariable *TzqScript::FindClass(const QString &name) const
{
    return dynamic_cast<TzqClassVariable *>(Find(name));
}

TzqClassVariable *TzqScript::FindClassOf(const TObject *object) const
{
    for (TClass cls = object ? object->ClassType() : nullptr; cls; cls = ClassParentOf(cls))
        if (TzqClassVariable *known = FindClass(ClassNameOf(cls)))
            return known;
    return nullptr;
}

void TzqScript::SetVariable(const QString &name, const Variant &value)
{
    if (TzqCustomVariable *item = Find(name))
        item->SetValue(value);
    else
        AddVariable(name, QStringLiteral("Variant"), value);
}

void TzqScript::AddType(const QString &name, TzqVarType typ)
{
    if (!Find(name))
        Add(name, std::make_unique<TzqTypeVariable>(name, typ, QString()));
}

TzqClassVariable *TzqScript::AddClass(TClass cls, const QString &ancestor)
{
    const QString name = ClassNameOf(cls);
    if (Find(name))
        return nullptr;
    auto classVariable = std::make_unique<TzqClassVariable>(cls, ancestor);
    TzqClassVariable *result = classVariable.get();
    result->Program = this;
    Add(name, std::move(classVariable));
    if (TzqClassVariable *parent = FindClass(ancestor); parent && parent != result)
        result->DefProperty = parent->DefProperty;
    return result;
}

void TzqScript::AddConst(const QString &name, const QString &typ, const Variant &value)
{
    if (Find(name))
        return;
    auto constant = std::make_unique<TzqVariable>(name, StrToVarType(typ, this), typ);
    constant->SetValue(value);
    constant->IsReadOnly = true;
    Add(name, std::move(constant));
}

void TzqScript::addEnumValues(const QString &typ, const QString &names, bool asSet)
{
    Add(typ, std::make_unique<TzqVariable>(typ, fvtEnum, typ));
    const QStringList parts = names.split(u',');
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString name = parts[i].trimmed();
        auto constant = std::make_unique<TzqVariable>(name, fvtEnum, typ);
        constant->Value = asSet ? Variant(int(1u << (i & 31))) : Variant(int(i));
        constant->IsReadOnly = true;
        Add(name, std::move(constant));
    }
}

void TzqScript::AddEnum(const QString &typ, const QString &names)
{
    addEnumValues(typ, names, false);
}

void TzqScript::AddEnumSet(const QString &typ, const QString &names)
{
    addEnumValues(typ, names, true);
}

TzqMethodHelper *TzqScript::AddMethod(const QString &syntax, const TzqCallMethodEvent &callEvent,
                                      const QString &category, const QString &description)
{
    auto method = std::make_unique<TzqMethodHelper>(syntax, this);
    method->CallMethod = callEvent;
    method->Category = category;
    method->Description = description.isEmpty() ? method->Name : description;
    TzqMethodHelper *result = method.get();
    Add(result->Name, std::move(method));
    return result;
}

TzqMethodHelper *TzqScript::AddMethodArrayCall(const QString &syntax, const TzqCallMethodArrayEvent &callEvent,
                                               const QString &category, const QString &description)
{
    TzqMethodHelper *method = AddMethod(syntax, nullptr, category, description);
    method->ArrayCallEvent = callEvent;
    return method;
}

void TzqScript::AddObject(const QString &name, TObject *object)
{
    const TzqClassVariable *known = FindClassOf(object);
    AddVariable(name, known ? known->Name : object->ClassName(), zqLentObjectValue(object));
}

void TzqScript::AddVariable(const QString &name, const QString &typ, const Variant &value)
{
    if (Find(name))
        return;
    auto variable = std::make_unique<TzqVariable>(name, StrToVarType(typ, this), typ);
    variable->SetValue(value);
    variable->OnGetVarValue = OnGetVarValue;
    Add(name, std::move(variable));
}

void TzqScript::AddForm(TComponent *form)
{
    if (!form || FindClass(form->ClassName()))
        return;
    QString ancestor;
    if (form->InheritsFrom<TForm>())
        ancestor = QStringLiteral("TForm");
    else if (form->InheritsFrom<TDataModule>())
        ancestor = QStringLiteral("TDataModule");
    else
        return;
    TzqClassVariable *classVariable = AddClass(form->ClassType(), ancestor);
    if (!classVariable)
        return;
    for (int i = 0; i < form->ComponentCount(); ++i)
        classVariable->AddComponent(form->Components(i));
    AddObject(form->Name(), form);
}

void TzqScript::AddComponent(TComponent *component)
{
    AddForm(component);
}

void TzqScript::AddRTTIModules()
{
    if (m_rttiModulesAdded)
        return;
    const void *savedAddedBy = AddedBy;
    AddedBy = &rttiModuleMarker;
    if (std::vector<TzqRTTIModuleClass> *modules = RTTIModuleList()) {
        for (const TzqRTTIModuleClass &create : *modules)
            Add(QString(), create(this));
    }
    AddedBy = savedAddedBy;
    m_rttiModulesAdded = true;
}

void TzqScript::removeItems(const std::function<bool(TzqScriptItem *)> &selects)
{
    for (auto i = qsizetype(m_items.size()) - 1; i >= 0; --i) {
        if (i >= qsizetype(m_items.size()) || !selects(m_items[i].item))
            continue;
        const Entry entry = m_items[i];
        m_items.erase(m_items.begin() + i);
        if (entry.owned)
            delete entry.item;
    }
}

void TzqScript::RemoveRTTIModules()
{
    if (!m_rttiModulesAdded)
        return;
    removeItems([](TzqScriptItem *item) {
        auto *variable = dynamic_cast<TzqCustomVariable *>(item);
        return dynamic_cast<TzqRTTIModule *>(item) || (variable && variable->AddedBy == &rttiModuleMarker);
    });
    m_rttiModulesAdded = false;
}

void TzqScript::resetProgram()
{
    m_mainProgram = std::make_unique<TzqStatement>(this, QString(), QString());
    m_unitLines->Clear();
}

void TzqScript::Clear()
{
    resetProgram();
    removeItems([](TzqScriptItem *item) {
        auto *variable = dynamic_cast<TzqCustomVariable *>(item);
        return !dynamic_cast<TzqRTTIModule *>(item) && !(variable && variable->AddedBy == &rttiModuleMarker);
    });
    ErrorPos.clear();
    ErrorMsg.clear();
    ErrorUnit.clear();
}

void TzqScript::ClearItems(const void *owner)
{
    resetProgram();
    removeItems([owner](TzqScriptItem *item) {
        if (auto *adapter = dynamic_cast<TzqCustomEvent *>(item))
            return adapter->AddedBy == owner;
        auto *variable = dynamic_cast<TzqCustomVariable *>(item);
        return variable && variable->AddedBy == owner;
    });
}

void TzqScript::SetLines(const TStrings *lines)
{
    m_lines->Assign(lines);
}

bool TzqScript::Compile()
{
    ErrorMsg.clear();
    TzqILParser parser(this);
    parser.SelectLanguage(m_syntaxType);
    if (parser.MakeIL(m_lines->Text()))
        parser.BuildProgram();
    if (ErrorMsg.isEmpty())
        ErrorPos.clear();
    return ErrorMsg.isEmpty();
}

void TzqScript::resetRunFlags(TzqScript *script)
{
    script->BreakCalled = script->ContinueCalled = script->ExitCalled = false;
    script->Terminated = false;
}

void TzqScript::Execute()
{
    struct Reset {
        TzqScript *script;
        ~Reset()
        {
            resetRunFlags(script);
            script->IsRunning = false;
        }
    } reset{this};
    resetRunFlags(this);
    IsRunning = true;
    IsMainScript = true;
    m_mainProgram->Execute();
}

Variant TzqScript::CallFunctionVar(const QString &name, Variant &params, bool searchParents)
{
    auto *proc = dynamic_cast<TzqProcVariable *>(searchParents ? Find(name) : FindLocal(name));
    if (!proc)
        return Variant::Null();
    const bool isArray = VarIsArray(params) && VarArrayDimCount(params) == 1;
    const int low = isArray ? VarArrayLowBound(params, 1) : 0;
    const int count = isArray ? std::min(VarArrayHighBound(params, 1) - low + 1, proc->Count()) : 0;
    QList<Variant> arguments;
    for (int i = 0; i < count; ++i)
        arguments.append(params.GetElement({low + i}));
    Variant result = proc->Call(arguments);
    for (int i = 0; i < count; ++i)
        params.PutElement({low + i}, arguments[i]);
    return result;
}

Variant TzqScript::CallFunction(const QString &name, const Variant &params, bool searchParents)
{
    Variant copy = params;
    return CallFunctionVar(name, copy, searchParents);
}

void TzqScript::Terminate()
{
    ExitCalled = true;
    Terminated = true;
    for (const Entry &entry : m_items) {
        if (auto *proc = dynamic_cast<TzqProcVariable *>(entry.item))
            proc->Prog()->Terminate();
    }
}

void TzqScript::RunLine(const QString &unitName, const QString &sourcePos)
{
    for (TzqScript *script = this; script; script = script->Parent) {
        if (script->OnRunLine) {
            script->OnRunLine(this, unitName, sourcePos);
            return;
        }
    }
}

void TzqScript::AddCodeLine(const QString &unitName, const QString &sourcePos)
{
    int index = 0;
    if (!m_unitLines->Find(unitName, index))
        index = m_unitLines->AddObject(unitName, new TStringList);
    auto *lines = static_cast<TStringList *>(m_unitLines->Objects(index));
    lines->SetSorted(true);
    lines->SetDuplicates(dupIgnore);
    lines->Add(sourcePos.section(u':', 0, 0));
}
