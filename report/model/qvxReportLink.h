#pragma once

// What the objects of a report ask of the report they belong to while they
// are loaded, saved and renamed, and what the engine, the prepared pages
// and export filters ask of it while it is prepared, printed or exported.
// The report object implements it; an object's report is the nearest
// object up its Parent chain (itself included) that does.

#include "report/model/qvxServiceTypes.h"
#include "toolkit/classes/Events.h"

#include <QString>

class QRecursiveMutex;
class TStrings;
class TqvxComponent;
class TqvxCustomPreview;
class TqvxCustomPreviewPages;
class TqvxXMLItem;
class TqvxXMLSerializer;

// Receives or fills the custom-data element of a report file.
TOOLKIT_EVENT(TqvxCustomDataEvent, void(TqvxXMLItem *item))

class TqvxReportLink
{
public:
    virtual ~TqvxReportLink() = default;

    // The report's error list; errors met while loading are added to it.
    virtual TStrings *Errors() const = 0;

    // The object of that name in the parent report, or the parent report
    // itself for the report's own name; nullptr without a parent report.
    virtual TqvxComponent *DoGetAncestor(const QString &name) = 0;

    virtual TqvxCustomDataEvent OnGetCustomData() const = 0;
    virtual TqvxCustomDataEvent OnSaveCustomData() const = 0;

    // The serializer that reads or writes the report's objects just now
    // (collections written as nested elements use it), or nullptr.
    virtual TqvxXMLSerializer *CurrentSerializer() const = 0;
    virtual void SetCurrentSerializer(TqvxXMLSerializer *serializer) = 0;

    // The lock held while objects are read into the report, or nullptr when
    // the report's engine options do not ask for one.
    virtual QRecursiveMutex *LoadLock() const = 0;

    // The stop flag of a run, a print or an export: set when the user
    // cancels or a script stops the report; the engine and the export walk
    // poll it.  Setting it also stops a running script.
    virtual bool Terminated() const = 0;
    virtual void SetTerminated(bool value) = 0;

    // Progress of a long operation: started once, told of each page
    // (counted from 1), stopped once.
    virtual void DoProgressStart(TqvxProgressType type) = 0;
    virtual void InternalOnProgress(TqvxProgressType type, int progress) = 0;
    virtual void DoProgressStop(TqvxProgressType type) = 0;

    // The preview attached to the report, or nullptr.
    virtual TqvxCustomPreview *Preview() const = 0;

    // The report's prepared pages (the export filters read their outline
    // and count), and the file the report was loaded from or saved to.
    virtual TqvxCustomPreviewPages *PreviewPages() const { return nullptr; }
    virtual QString FileName() const { return QString(); }
};
