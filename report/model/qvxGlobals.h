#pragma once

// The process-wide objects of the report library that no single class
// owns: the library lock, the report cursors and the hook of old-style
// report events.  They exist between the unit's start and its end; the
// unit starts before the global variable and data-set lists and ends after
// them, so the lock outlives every list it guards.

#include "toolkit/classes/Events.h"
#include "toolkit/core/Variants.h"
#include "toolkit/widgets/Cursors.h"

#include <QString>

class QRecursiveMutex;
class TqvxReportLink;

// The cursors of report views and the preview.
enum : TCursor {
    crHand = 150,   // the preview's page area, which drags the pages
    crZoom = 151,   // the preview's zoom tool
    crFormat = 152, // the designer's format painter
};

// Held while a report component is loaded without a user interface and
// while a dialog page is destroyed.  nullptr outside the unit's life.
QRecursiveMutex *qvxLibraryLock();

// Supplies a value for a name; leaving value empty declines.
TOOLKIT_EVENT(TqvxQV2ValueEvent, void(const QString &name, Variant &value))
// Is told of a report whose script is being prepared.
TOOLKIT_EVENT(TqvxQV2ScriptEvent, void(TqvxReportLink *report))

// The hook through which code written for old-style report events takes
// part in evaluation.  Nothing in this program sets a handler; the report
// consults those that are set.
struct TqvxQV2Events {
    // Asked first for every name an expression uses.
    TqvxQV2ValueEvent OnGetValue;
    // While set, names that are neither fields, built-in names nor
    // variables go to it instead of the script.
    TqvxQV2ValueEvent OnUnknownName;
    TqvxQV2ScriptEvent OnPrepareScript;
};

// nullptr outside the unit's life.
TqvxQV2Events *qvxQV2Events();

void InitializeQvxGlobals();
void FinalizeQvxGlobals();
