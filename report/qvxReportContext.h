#pragma once

// What data sets, option objects and styles ask of the report they serve.
// The report object implements it beside TqvxReportLink; an object's
// context is its report's (see qvxReportContextOf).

#include "toolkit/classes/Events.h"

#include <QString>

class TStrings;
class TqvxComponent;
class TqvxEngineOptions;
class TqvxReportDataSets;

// Receives a named database connection's connection string.
TOOLKIT_EVENT(TqvxSetConnectionEvent, void(const QString &connectionString))

class TqvxReportContext
{
public:
    virtual ~TqvxReportContext() = default;

    // The report's error list (sorted, without duplicates).
    virtual TStrings *Errors() const = 0;
    // Reports the error list by the engine options' silent mode: the text
    // "clErrors", a line break and the list.
    virtual void ReportErrors() = 0;

    virtual TqvxEngineOptions *EngineOptions() const = 0;
    // The data sets the report uses, under the names its texts know them.
    virtual TqvxReportDataSets *DataSets() const = 0;

    // The handler that takes a named connection's string; empty when the
    // report has none.
    virtual TqvxSetConnectionEvent OnSetConnection() const = 0;
};

// The context of the report that object belongs to (the object itself when
// it is a report), or nullptr.
TqvxReportContext *qvxReportContextOf(const TqvxComponent *object);
