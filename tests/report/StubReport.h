#pragma once

// A report for tests of the objects that serve a report: it has the error
// list, engine options, data-set list, styles and connection handler of the
// report context, and counts how often it reports its errors.  It has no
// script: Calc gives null.

#include "report/ReportTestClasses.h"
#include "report/model/qvxOptions.h"
#include "report/model/qvxReportContext.h"
#include "report/data/qvxReportDataSets.h"

#include <memory>

class TStubReport : public TTestReport, public TqvxReportContext
{
    Q_OBJECT

public:
    explicit TStubReport(TComponent *owner = nullptr) : TTestReport(owner) {}

    Variant Calc(const QString &) override { return Variant::Null(); }
    void SetScriptSelf(TqvxComponent *) override {}
    QString ScriptLanguage() const override { return QStringLiteral("PascalScript"); }
    TStrings *Errors() const override { return errors.get(); }
    // Counts, then reports as the report does.
    void ReportErrors() override;
    TqvxEngineOptions *EngineOptions() const override { return engineOptions.get(); }
    TqvxStyles *Styles() const override { return nullptr; }
    TqvxReportDataSets *DataSets() const override { return dataSets.get(); }
    TqvxComponent *FindDataSet(const QString &userName) const override;
    TqvxDrawText *DrawText() const override { return nullptr; }
    TqvxSetConnectionEvent OnSetConnection() const override { return onSetConnection; }

    std::unique_ptr<TqvxEngineOptions> engineOptions = std::make_unique<TqvxEngineOptions>();
    std::unique_ptr<TqvxReportDataSets> dataSets = std::make_unique<TqvxReportDataSets>(this);
    TqvxSetConnectionEvent onSetConnection;
    int reports = 0;
};
