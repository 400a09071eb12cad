#pragma once

// The script component: a table of named items (variables, constants, types,
// classes, global functions, the script's own procedures, binding modules),
// the source text, the compiled main program and the first error of the last
// compilation.
//
// A host adds its items, sets Lines and SyntaxType, calls Compile, then
// Execute, and afterwards calls script procedures by name.  Scripts form a
// chain through Parent: a lookup that misses here goes on in the parent.
// Compiling never raises for an error in the script (ErrorMsg, ErrorPos as
// "line:col", ErrorUnit); run-time errors reach the caller of Execute or
// CallFunction as exceptions, after the run flags have been reset.
// Break, continue, exit and termination travel as flags on the script.

#include "script/zqVariables.h"
#include "toolkit/classes/TComponent.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class TStringList;
class TStrings;
class TzqClassVariable;
class TzqMethodHelper;
class TzqStatement;

// Asked for the text of a used unit; leaves UnitText empty when it has none.
using TzqGetUnitEvent = std::function<void(TzqScript *Sender, const QString &UnitName, QString &UnitText)>;
// Trace hook before each statement.
using TzqRunLineEvent = std::function<void(TzqScript *Sender, const QString &UnitName, const QString &SourcePos)>;

// Call-backs of host functions and methods.  Instance is nil for global
// functions; names arrive in upper case.
using TzqCallMethodEvent =
    std::function<Variant(TObject *Instance, TClass ClassType, const QString &MethodName, TzqMethodHelper *Caller)>;
using TzqCallMethodArrayEvent =
    std::function<Variant(TObject *Instance, TClass ClassType, const QString &MethodName, Variant &Params)>;

class TzqScript : public TComponent
{
    Q_OBJECT
    Q_PROPERTY(QString SyntaxType READ SyntaxType WRITE SetSyntaxType)

public:
    explicit TzqScript(TComponent *owner = nullptr);
    ~TzqScript() override;

    // The item table: sorted by name without regard to case, duplicates
    // allowed, the one added last found first; items owned.
    void Add(const QString &name, std::unique_ptr<TzqScriptItem> item);
    // An entry that the table does not own (a procedure's parameters).
    void AddReference(const QString &name, TzqScriptItem *item);
    // Takes the entry out of the table without freeing the item.
    void Remove(TzqScriptItem *item);
    int Count() const { return int(m_items.size()); }
    TzqScriptItem *Items(int index) const { return m_items.at(index).item; }

    // The variable of that name here, else in the parent chain; nil when no
    // script of the chain has it.  Only TzqCustomVariable entries count.
    TzqCustomVariable *Find(const QString &name) const;
    TzqCustomVariable *FindLocal(const QString &name) const;
    TzqClassVariable *FindClass(const QString &name) const;
    // The class of object as the script knows it: its own, else its nearest
    // ancestor the chain has; nil when none is known (or object is nil).
    TzqClassVariable *FindClassOf(const TObject *object) const;
    // Sets the value of the variable found by Find, or adds a Variant one.
    void SetVariable(const QString &name, const Variant &value);

    // Registration.  Names already known in the chain are left alone unless
    // said otherwise.
    virtual void AddType(const QString &name, TzqVarType typ);
    // Nil when the name is known already.  Takes over the ancestor's default
    // property when the ancestor is registered.
    virtual TzqClassVariable *AddClass(TClass cls, const QString &ancestor);
    virtual void AddConst(const QString &name, const QString &typ, const Variant &value);
    // "A, B, C": constants 0, 1, 2 ... (AddEnumSet: 1, 2, 4 ...) of kind
    // fvtEnum with type name typ.
    virtual void AddEnum(const QString &typ, const QString &names);
    virtual void AddEnumSet(const QString &typ, const QString &names);
    // A global function from its declaration; added even when the name is
    // known.  An empty description becomes the function's name.
    virtual TzqMethodHelper *AddMethod(const QString &syntax, const TzqCallMethodEvent &callEvent,
                                       const QString &category = QString(), const QString &description = QString());
    virtual TzqMethodHelper *AddMethodArrayCall(const QString &syntax, const TzqCallMethodArrayEvent &callEvent,
                                                const QString &category = QString(),
                                                const QString &description = QString());
    // A variable of the object's class holding its handle; an object of a
    // class the script does not know is typed as its nearest known ancestor.
    virtual void AddObject(const QString &name, TObject *object);
    virtual void AddVariable(const QString &name, const QString &typ, const Variant &value);
    // A form or data module: its class with every owned component as a
    // member, and the object itself.  Anything else adds nothing.
    virtual void AddForm(TComponent *form);
    virtual void AddComponent(TComponent *component);

    // Binding modules: created once from the module list; they and what
    // they add survive Clear.
    void AddRTTIModules();
    void RemoveRTTIModules();
    bool RTTIModulesAdded() const { return m_rttiModulesAdded; }

    // Frees every item but the modules', the main program and the line
    // table, and empties the error fields.
    void Clear();
    // Frees the items added under owner (last first), the event adapters of
    // its procedures, the main program and the line table; the error fields
    // stay.
    void ClearItems(const void *owner);

    // True when the text compiled; registers the script's procedures as
    // items and fills MainProgram.  Raises only for an unknown language.
    bool Compile();
    // Runs the main program.  The flags are reset also when an exception
    // passes; the exception reaches the caller.
    void Execute();
    // Runs the procedure of that name with the elements of a variant array
    // as its first arguments and returns its result; Null when the name is
    // no procedure.  CallFunctionVar writes every parameter's value back
    // into the array.
    Variant CallFunction(const QString &name, const Variant &params, bool searchParents = false);
    Variant CallFunctionVar(const QString &name, Variant &params, bool searchParents = false);
    // Stops a running script, including the procedures running below it.
    void Terminate();
    // The first OnRunLine up the chain gets the call.
    void RunLine(const QString &unitName, const QString &sourcePos);
    // Whether a script up the chain has an OnRunLine handler.
    bool TracesLines() const
    {
        for (const TzqScript *script = this; script; script = script->Parent) {
            if (script->OnRunLine)
                return true;
        }
        return false;
    }
    // Records an executable line of a unit (the line part of "line:col").
    void AddCodeLine(const QString &unitName, const QString &sourcePos);

    TStringList *Lines() const { return m_lines.get(); }
    void SetLines(const TStrings *lines);
    const QString &SyntaxType() const { return m_syntaxType; }
    void SetSyntaxType(const QString &value) { m_syntaxType = value; }
    TzqStatement *MainProgram() const { return m_mainProgram.get(); }
    // Unit name -> sorted list of line numbers (as texts) with statements.
    TStringList *UnitLines() const { return m_unitLines.get(); }

    // Owner tag written into every variable added while it is set.
    const void *AddedBy = nullptr;
    bool BreakCalled = false;
    bool ContinueCalled = false;
    bool ExitCalled = false;
    bool Terminated = false;
    bool IsRunning = false;
    // Marks the script that owns a run; procedures and designators look for
    // it up the chain.
    bool IsMainScript = false;
    // On the main script: the local script of the innermost procedure
    // running below it.
    TzqScript *RunningLocalScript = nullptr;
    // While not running, the builder leaves names it cannot resolve for
    // resolution at run time (set on a report's script).
    bool DeferUnresolved = false;

    // Next script of the lookup chain; not owned.
    TzqScript *Parent = nullptr;

    // The first error of the last compilation; all empty after success.
    QString ErrorMsg;
    QString ErrorPos;  // "line:col"
    QString ErrorUnit; // empty for the main text

    // Folders searched, in order, for used units; the empty entry is the
    // current folder.
    QStringList IncludePath{QString()};
    TzqGetUnitEvent OnGetUnit;
    // Asked for the intermediate program of a used unit; its answer is not
    // trusted.
    TzqGetUnitEvent OnGetILUnit;
    TzqRunLineEvent OnRunLine;
    // Copied into every variable added by AddVariable.
    TzqGetVariableValueEvent OnGetVarValue;

    // Identifiers may use the 8-bit characters 128..255.
    bool ExtendedCharset = false;

private:
    struct Entry {
        QString name;
        TzqScriptItem *item;
        bool owned;
    };

    void insert(const QString &name, TzqScriptItem *item, bool owned);
    void addEnumValues(const QString &typ, const QString &names, bool asSet);
    // Frees and removes, last first, the entries the predicate selects.
    void removeItems(const std::function<bool(TzqScriptItem *)> &selects);
    void resetProgram();
    static void resetRunFlags(TzqScript *script);

    std::vector<Entry> m_items;
    std::unique_ptr<TStringList> m_lines;
    QString m_syntaxType = QStringLiteral("PascalScript");
    std::unique_ptr<TzqStatement> m_mainProgram;
    std::unique_ptr<TStringList> m_unitLines;
    bool m_rttiModulesAdded = false;
};

// The first script from this one up the chain that owns the run; the script
// itself when none does.
TzqScript *zqMainScriptOf(TzqScript *script);
