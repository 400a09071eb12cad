#pragma once

// References between components by name, as report files write them.
//
// A plain name is a component of the report (or of the report's owner); a
// dotted name starts at one of the application's forms or data modules and
// goes down through the components each owns: "Form1.Table1".

#include <QString>

class TComponent;

// The component a reference names, or nullptr.  A plain name is looked up
// among owner's components and, when owner is a report, among those of the
// report's owner.
TComponent *qvxFindComponent(TComponent *owner, const QString &name);

// The name under which a report refers to component: its own name when it
// has no owner or belongs to the report or to the report's owner,
// "Owner.Name" when it belongs to a form or data module; empty (no
// reference can be written) for any other owner.
QString qvxGetReferenceName(const TComponent *report, const TComponent *component);
