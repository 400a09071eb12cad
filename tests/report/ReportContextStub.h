#pragma once

// A report that answers what views ask while they are prepared: Calc looks
// the expression up in a table (unknown ones give their own text in
// braces), the script language, styles and layout object are set by the test.

#include "report/ReportTestClasses.h"
#include "report/model/qvxReportContext.h"

#include <QHash>

class TContextReport : public TTestReport, public TqvxReportContext
{
public:
    using TTestReport::TTestReport;

    Variant Calc(const QString &expression) override
    {
        calls.append(expression);
        return values.value(expression, Variant(QLatin1Char('{') + expression + QLatin1Char('}')));
    }
    void SetScriptSelf(TqvxComponent *object) override { self = object; }
    void SetScriptValue(const Variant &value) override { scriptValue = value; }
    QString ScriptLanguage() const override { return language; }
    TStrings *Errors() const override { return TTestReport::Errors(); }
    void ReportErrors() override {}
    TqvxEngineOptions *EngineOptions() const override { return nullptr; }
    TqvxStyles *Styles() const override { return styles; }
    TqvxReportDataSets *DataSets() const override { return nullptr; }
    TqvxComponent *FindDataSet(const QString &) const override { return nullptr; }
    TqvxDrawText *DrawText() const override { return drawText; }
    TqvxSetConnectionEvent OnSetConnection() const override { return {}; }

    QHash<QString, Variant> values;
    QStringList calls;
    QString language = QStringLiteral("PascalScript");
    TqvxComponent *self = nullptr;
    Variant scriptValue;
    TqvxStyles *styles = nullptr;
    // The report's own layout object; nullptr for the shared one.
    TqvxDrawText *drawText = nullptr;
};
