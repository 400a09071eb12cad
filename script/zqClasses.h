#pragma once

// Host classes as scripts see them.
//
// A TzqClassVariable names a registered class and lists its members, each a
// member helper that reaches one property, method, owned component, event,
// array element or string character of the object that the designator hands
// it (ParentValue, an object handle; ParentRef, the step before).  Objects
// cross into scripts only as checked handles: a number that is no live
// handle, or nil where an object is needed, raises.
//
// Reading a class as a value allocates nothing.  A constructor member creates
// the object through the class registry's factory of the class named in the
// script (TStringList.Create makes a TStringList even when Create is declared
// on TObject), then gives the new instance to the member's call-back, which
// may complete it (its result is ignored); the value is the new handle.

#include "script/zqScript.h"
#include "script/zqVariables.h"
#include "toolkit/classes/TObject.h"

#include <functional>
#include <memory>
#include <vector>

class TComponent;
class TPropInfo;
class TzqProcVariable;

using TzqGetPropEvent = std::function<Variant(TObject *Instance, TClass ClassType, const QString &PropName)>;
using TzqSetPropEvent =
    std::function<void(TObject *Instance, TClass ClassType, const QString &PropName, const Variant &Value)>;
// Builds the handler that an event slot of Instance is set to, calling the
// script procedure Proc of script Prog (an event adapter).
using TzqEventAdapterFactory = std::function<QVariant(TObject *Instance, TzqProcVariable *Proc, TzqScript *Prog)>;
// Stores a handler in the event slot of Instance; an invalid handler clears
// the slot.
using TzqEventSlotSetter = std::function<void(TObject *Instance, const QVariant &Handler)>;

// The object a value stands for: nil for Null, Empty and 0; raises
// EInvalidObject for a number that is no live handle.
TObject *zqObjectOf(const Variant &value);

class TzqCustomHelper : public TzqCustomVariable
{
public:
    using TzqCustomVariable::TzqCustomVariable;

    TzqCustomHelper *AsHelper() override { return this; }

    // What the helper reaches, so the designator tells array and character
    // access apart without a cast.
    enum Kinds : quint8 { Member, ArrayElement, Character };
    Kinds HelperKind = Member;

    // Set by the designator before each use.
    TzqCustomVariable *ParentRef = nullptr;
    Variant ParentValue;
    TzqScript *Prog = nullptr;

protected:
    // The object in ParentValue; raises when there is none.
    TObject *requireInstance() const;
};

class TzqPropertyHelper : public TzqCustomHelper
{
public:
    using TzqCustomHelper::TzqCustomHelper;

    TClass ClassType = nullptr;
    // Set for a published property read and written through reflection.
    const TPropInfo *PropInfo = nullptr;
    TzqGetPropEvent GetProp;
    TzqSetPropEvent SetProp;

    // A Boolean property reads as True for anything but 0 (and Null).
    Variant GetValue() override;
    void SetValue(const Variant &value) override;
};

class TzqMethodHelper : public TzqCustomHelper
{
public:
    // Parses the declaration in script.
    TzqMethodHelper(const QString &syntax, TzqScript *script);

    QString Category;
    TClass ClassType = nullptr;
    QString Description;
    bool IsIndexProp = false;
    TzqCallMethodArrayEvent ArrayCallEvent;
    TzqCallMethodEvent CallMethod;
    // The value being written through an indexed property.
    Variant AssignedValue;
    QString Syntax;
    Variant ArgArray;

    // The value of parameter index; the parameter count gives AssignedValue.
    Variant GetParams(int index) const;
    void SetParams(int index, const Variant &value);

    // Calls the host ("NAME", or "NAME.GET" for an indexed property).
    Variant GetValue() override;
    // Writes an indexed property ("NAME.SET"); ignored otherwise.
    void SetValue(const Variant &value) override;

private:
    Variant construct();
    Variant callHost(TObject *instance, const QString &name);
};

class TzqComponentHelper : public TzqCustomHelper
{
public:
    TzqComponentHelper(TComponent *component);

    TComponent *Component;

    Variant GetValue() override;
};

// An event property: the handler that the event type's factory builds
// around a script procedure (see toolkit/classes/EventHandlers.h).
class TzqEventHelper : public TzqCustomHelper
{
public:
    explicit TzqEventHelper(const QString &name);

    TClass ClassType = nullptr;
    // Set together for an event slot that is no published property: the
    // adapter factory and the slot's setter.  When empty the event is the
    // published property of that name, given the procedure's routine.
    TzqEventAdapterFactory Factory;
    TzqEventSlotSetter SetSlot;

    // Always the empty string.
    Variant GetValue() override;
    // "0" clears the event; any other text names a procedure of the script.
    void SetValue(const Variant &value) override;
};

// Element access of an array held by ParentRef (in place) or, failing that,
// in ParentValue; 1 to 3 dimensions.
class TzqArrayHelper : public TzqCustomHelper
{
public:
    // dimensions 0 makes the open accessor: 3 parameters, 2 optional.
    TzqArrayHelper(const QString &name, int dimensions);

    Variant GetValue() override;
    void SetValue(const Variant &value) override;

private:
    Variant *array();
    // The indices for the array's dimensions into at; 0 when the array has
    // more dimensions than the accessor takes (or none).
    int indices(const Variant &array, int (&at)[3]) const;
    Variant m_copy;
};

// Character access, 1-based and checked, on the text in ParentValue; a write
// stores the whole text back through ParentRef.
class TzqStringHelper : public TzqCustomHelper
{
public:
    explicit TzqStringHelper(const QString &name);

    Variant GetValue() override;
    void SetValue(const Variant &value) override;
};

class TzqClassVariable : public TzqCustomVariable
{
public:
    // Imports the published properties of cls.
    TzqClassVariable(TClass cls, const QString &ancestor);
    ~TzqClassVariable() override;

    QString Ancestor;
    TClass ClassRef;
    TzqCustomVariable *DefProperty = nullptr;
    TzqScript *Program = nullptr;

    TzqMethodHelper *AddConstructor(const QString &syntax, const TzqCallMethodEvent &callMethod);
    TzqMethodHelper *AddMethod(const QString &syntax, const TzqCallMethodEvent &callMethod);
    TzqMethodHelper *AddMethodArrayCall(const QString &syntax, const TzqCallMethodArrayEvent &callMethod);
    TzqPropertyHelper *AddProperty(const QString &name, const QString &typeName, const TzqGetPropEvent &getProp,
                                   const TzqSetPropEvent &setProp = nullptr);
    // indexTypes: "Integer, String"; the member is called "NAME.GET" and
    // "NAME.SET" with the indices (and the value) as its arguments.
    TzqMethodHelper *AddIndexProperty(const QString &name, const QString &indexTypes, const QString &typeName,
                                      const TzqCallMethodEvent &callMethod, bool readOnly = false);
    TzqMethodHelper *AddDefaultProperty(const QString &name, const QString &indexTypes, const QString &typeName,
                                        const TzqCallMethodEvent &callMethod, bool readOnly = false);
    TzqEventHelper *AddEvent(const QString &name);
    void AddComponent(TComponent *component);
    void AddPublishedProperties(TClass cls);

    // The member of that name here or up the ancestors (a cycle of ancestor
    // names ends the walk); nil when none has it.
    TzqCustomVariable *Find(const QString &name) const;
    int MemberCount() const { return int(m_members.size()); }
    TzqCustomVariable *Members(int index) const { return m_members.at(index).get(); }

    // A type cast's argument, or Null: no object is made here.
    Variant GetValue() override;

private:
    template <class Helper>
    Helper *append(std::unique_ptr<Helper> helper);

    std::vector<std::unique_ptr<TzqCustomVariable>> m_members;
};

// True when the class named derived (a registered class variable, or failing
// that the name itself) is or descends from the class named base.
bool zqClassDescendsFrom(const TzqScript *script, const QString &derived, const QString &base);

// Binding modules register names into a script from their constructor.
class TzqRTTIModule : public TzqScriptItem
{
public:
    explicit TzqRTTIModule(TzqScript *script) : Script(script) {}

    TzqScript *Script;
};

using TzqRTTIModuleClass = std::function<std::unique_ptr<TzqRTTIModule>(TzqScript *script)>;

// The module classes in start-up order; nil outside the engine's lifetime.
std::vector<TzqRTTIModuleClass> *RTTIModuleList();
void InitializeRTTIModuleList();
void FinalizeRTTIModuleList();

// A module class made by a plain function, which a unit adds to the list at
// its start and takes out again at its end (nothing when the list is gone).
using TzqRTTIModuleFactory = std::unique_ptr<TzqRTTIModule> (*)(TzqScript *script);
void AddRTTIModule(TzqRTTIModuleFactory create);
void RemoveRTTIModule(TzqRTTIModuleFactory create);
