#pragma once

// Scripts' view of the report classes: the report library's constants and
// enumerations, its classes with their ancestors (each before its
// descendants) and the members beyond their published properties, the
// process-wide variables as "qvxGlobalVariables", and the date functions
// with the declarations of the report's macro functions.
//
// The module comes after the class-library modules, whose TPersistent,
// TComponent, TCollection, TCollectionItem and TGraphic the report classes
// descend from.  IIF, SUM, AVG, MIN, MAX and COUNT answer 0 here: a report
// registers functions of those names on every preparation, which scripts
// find first.

#include "script/zqClasses.h"

#include <QList>

#include <map>
#include <memory>

class TList;
class TqvxComponent;

namespace qvxClassRTTI {

class TFunctions : public TzqRTTIModule
{
public:
    explicit TFunctions(TzqScript *script);
    ~TFunctions() override;

    // The list a script reads as a component's Objects (all false) or
    // AllObjects (all true), filled anew with objects on each read; kept
    // while the module lives, as long as the component does.
    TList *ObjectList(const TqvxComponent *owner, bool all, const QList<TqvxComponent *> &objects);

private:
    std::map<std::pair<int, bool>, std::unique_ptr<TList>> m_objectLists;
};

// The unit's start and end: the module joins and leaves the module list.
void Initialize();
void Finalize();

// Adds the class registered under name, with its ancestor, to script: a
// class above the report library, known once its unit has registered it.
void BindRegistered(TzqScript *script, const char *name, const char *ancestor);

// Registration steps, in the module's order.
void RegisterGraphicsAndFills(TzqScript *script);
void RegisterWideStrings(TzqScript *script);
void RegisterDataSets(TzqScript *script);
void RegisterComponentsAndViews(TzqScript *script, TFunctions *module);
void RegisterBandsAndPages(TzqScript *script);
void RegisterOptionsAndCollections(TzqScript *script);
void RegisterReportAndEngine(TzqScript *script);

} // namespace qvxClassRTTI
