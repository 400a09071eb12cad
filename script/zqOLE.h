#pragma once

// Late-bound automation calls.
//
// An automation object is a TzqDispatch: it answers the dispatch number of a
// member name and invokes a member by number with its arguments, the last
// first.  Scripts hold one as an object handle; every designator step after
// such a value becomes a TzqOLEHelper, which calls the member by name each
// time the designator is read or written.  Objects are created by
// programmatic name from an in-process registry of factories, which the
// program leaves empty.  Failures raise
//   "OLE error XXXXXXXX: Member: <text of the code>"
// followed by the Source, Description and Help File lines the object gave.

#include "script/zqClasses.h"
#include "toolkit/classes/TObject.h"

#include <QList>
#include <QString>
#include <functional>

using HRESULT = qint32;

enum : HRESULT {
    S_OK = 0,
    E_FAIL = HRESULT(0x80004005),
    DISP_E_MEMBERNOTFOUND = HRESULT(0x80020003),
    DISP_E_TYPEMISMATCH = HRESULT(0x80020005),
    DISP_E_UNKNOWNNAME = HRESULT(0x80020006),
    DISP_E_EXCEPTION = HRESULT(0x80020009),
    DISP_E_BADPARAMCOUNT = HRESULT(0x8002000E),
    CO_E_CLASSSTRING = HRESULT(0x800401F3),
};

enum : quint16 {
    DISPATCH_METHOD = 1,
    DISPATCH_PROPERTYGET = 2,
    DISPATCH_PROPERTYPUT = 4,
    DISPATCH_PROPERTYPUTREF = 8,
};

constexpr qint32 DISPID_PROPERTYPUT = -3;

// The most arguments one call passes.
constexpr int MaxDispatchArgs = 64;

struct TzqDispParams {
    // The arguments, the last one first.
    QList<Variant> Args;
    // Dispatch numbers of the named arguments, which stand first in Args.
    QList<qint32> NamedArgs;
};

struct TzqExcepInfo {
    QString Source;
    QString Description;
    QString HelpFile;
};

class TzqDispatch : public TObject
{
    Q_OBJECT

public:
    virtual HRESULT GetIDsOfNames(const QString &name, qint32 &dispId) = 0;
    virtual HRESULT Invoke(qint32 dispId, quint16 flags, const TzqDispParams &params, Variant *result,
                           TzqExcepInfo &excepInfo) = 0;
};

// The text of a result code ("Invalid class string"), or "Unknown error".
QString SysErrorMessage(HRESULT code);

// Calls a member by name; raises the "OLE error" exception on failure.
// arguments are in source order.
Variant DispatchInvoke(TzqDispatch *object, const QString &name, quint16 flags, const QList<Variant> &arguments,
                       bool wantResult);

using TzqDispatchFactory = std::function<TzqDispatch *()>;
void RegisterOleClass(const QString &className, const TzqDispatchFactory &factory);
void UnregisterOleClass(const QString &className);
// A new object of the class registered under that name (the caller owns
// it); raises "OLE error 800401F3: <name>: Invalid class string" for an
// unknown name.
TzqDispatch *CreateOleObject(const QString &className);

// The automation object a value holds, or nil.
TzqDispatch *zqDispatchOf(const Variant &value);

// One late-bound step: reading calls the member (asking for a result when
// one is needed), writing puts the property, by reference when the value is
// itself an automation object.  The step's arguments are its parameters.
class TzqOLEHelper : public TzqCustomHelper
{
public:
    TzqOLEHelper(const QString &name, int argumentCount);

    Variant GetValue() override;
    void SetValue(const Variant &value) override;

private:
    QList<Variant> arguments() const;
};
