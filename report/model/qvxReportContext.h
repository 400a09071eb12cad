#pragma once

// What the objects of a report ask of it while it is loaded, prepared and
// drawn: views, data sets, option objects and styles.  The report object
// implements it beside TqvxReportLink; an object's context is its report's
// (qvxReportContextOf), nullptr for an object outside a report.

#include "toolkit/classes/Events.h"
#include "toolkit/core/Variants.h"

#include <QList>
#include <QString>

class TObject;
class TStrings;
class TqvxComponent;
class TqvxCustomDatabase;
class TqvxDrawText;
class TqvxEngineOptions;
class TqvxReportDataSets;
class TqvxStyles;

// Receives a named database connection's connection string.
TOOLKIT_EVENT(TqvxSetConnectionEvent, void(const QString &connectionString))
// Told before a database connects; clearing connected refuses it.
TOOLKIT_EVENT(TqvxBeforeConnectEvent, void(TqvxCustomDatabase *sender, bool &connected))
// Told after a database has disconnected.
TOOLKIT_EVENT(TqvxAfterDisconnectEvent, void(TqvxCustomDatabase *sender))

class TqvxReportContext
{
public:
    virtual ~TqvxReportContext() = default;

    // Evaluates an expression in the report's script language, with its
    // data fields, variables and built-in names.
    virtual Variant Calc(const QString &expression) = 0;
    // The report's script item Self: the object being printed.
    virtual void SetScriptSelf(TqvxComponent *object) = 0;
    // The report's script item Value: the value a memo has just evaluated,
    // which its highlight conditions read.
    virtual void SetScriptValue(const Variant &) {}
    // "PascalScript", "C++Script", "BasicScript" or "JScript".
    virtual QString ScriptLanguage() const = 0;

    // The report's error list (sorted, without duplicates).
    virtual TStrings *Errors() const = 0;
    // Reports the error list by the engine options' silent mode: the text
    // "clErrors", a line break and the list.
    virtual void ReportErrors() = 0;

    virtual TqvxEngineOptions *EngineOptions() const = 0;
    virtual TqvxStyles *Styles() const = 0;
    // The data sets the report uses, under the names its texts know them.
    virtual TqvxReportDataSets *DataSets() const = 0;
    // The data set the report knows by that user name, or nullptr.
    virtual TqvxComponent *FindDataSet(const QString &userName) const = 0;
    // The report's own text layout object.
    virtual TqvxDrawText *DrawText() const = 0;

    // Run the script procedure of an object's event: with the object as its
    // one argument, or with the arguments given, whose values the procedure
    // may change (var parameters come back in params).  A report that runs
    // no script ignores them.
    virtual void DoNotifyEvent(TObject *sender, const QString &procedure)
    {
        Q_UNUSED(sender);
        Q_UNUSED(procedure);
    }
    virtual void DoParamEvent(const QString &procedure, QList<Variant> &params)
    {
        Q_UNUSED(procedure);
        Q_UNUSED(params);
    }

    // The handler that takes a named connection's string; empty when the
    // report has none.
    virtual TqvxSetConnectionEvent OnSetConnection() const = 0;

    // The report's handlers of a database's connecting and disconnecting;
    // empty when it has none.
    virtual TqvxBeforeConnectEvent BeforeConnectHandler() const { return {}; }
    virtual TqvxAfterDisconnectEvent AfterDisconnectHandler() const { return {}; }
};

// The context of the object's report, or nullptr.
TqvxReportContext *qvxReportContextOf(const TqvxComponent *object);
