#pragma once

// What the objects of a report ask of the report they belong to while they
// are loaded, saved and renamed.  The report object implements it; an
// object's report is the nearest object up its Parent chain (itself
// included) that does.

#include "toolkit/classes/Events.h"

#include <QString>

class QRecursiveMutex;
class TStrings;
class TqvxComponent;
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
};
