#pragma once

// What views ask of their report while it is prepared and drawn.  The
// report object implements it beside TqvxReportLink; an object's context
// is its report's (qvxReportContextOf), nullptr for an object outside a
// report.

#include "toolkit/core/Variants.h"

#include <QString>

class TStrings;
class TqvxComponent;
class TqvxDrawText;
class TqvxEngineOptions;
class TqvxStyles;

class TqvxReportContext
{
public:
    virtual ~TqvxReportContext() = default;

    // Evaluates an expression in the report's script language, with its
    // data fields, variables and built-in names.
    virtual Variant Calc(const QString &expression) = 0;
    // The report's script item Self: the object being printed.
    virtual void SetScriptSelf(TqvxComponent *object) = 0;
    // "PascalScript", "C++Script", "BasicScript" or "JScript".
    virtual QString ScriptLanguage() const = 0;

    // The report's error list.
    virtual TStrings *Errors() const = 0;
    virtual TqvxEngineOptions *EngineOptions() const = 0;
    virtual TqvxStyles *Styles() const = 0;
    // The data set the report knows by that user name, or nullptr.
    virtual TqvxComponent *FindDataSet(const QString &userName) const = 0;
    // The report's own text layout object.
    virtual TqvxDrawText *DrawText() const = 0;
};

// The context of the object's report, or nullptr.
TqvxReportContext *qvxReportContextOf(const TqvxComponent *object);
