#pragma once

// A report that asks nothing of its objects: an error list, the current
// serializer, and no ancestors, custom data, load lock, progress, stop
// flag, preview or prepared pages.  Tests, benchmarks and fuzz targets stand
// it in for the report where they only need one to exist.

#include "report/model/qvxReportLink.h"
#include "toolkit/classes/TStringList.h"

#include <memory>

class TNullReportLink : public TqvxReportLink
{
public:
    TStrings *Errors() const override { return m_errors.get(); }
    TqvxComponent *DoGetAncestor(const QString &) override { return nullptr; }
    TqvxCustomDataEvent OnGetCustomData() const override { return {}; }
    TqvxCustomDataEvent OnSaveCustomData() const override { return {}; }
    TqvxXMLSerializer *CurrentSerializer() const override { return m_current; }
    void SetCurrentSerializer(TqvxXMLSerializer *serializer) override { m_current = serializer; }
    QRecursiveMutex *LoadLock() const override { return nullptr; }
    bool Terminated() const override { return false; }
    void SetTerminated(bool) override {}
    void DoProgressStart(TqvxProgressType) override {}
    void InternalOnProgress(TqvxProgressType, int) override {}
    void DoProgressStop(TqvxProgressType) override {}
    TqvxCustomPreview *Preview() const override { return nullptr; }

private:
    std::unique_ptr<TStringList> m_errors = std::make_unique<TStringList>();
    TqvxXMLSerializer *m_current = nullptr;
};
