#pragma once

// The program's unit start-up and shut-down list.
//
// Every unit that needs initialisation (registering classes, languages,
// resource texts, creating process-wide locks ...) adds one entry here, and
// the entries run in the order they were added; finalisation runs in the
// reverse order.  Each library has one registration function that first
// registers the libraries it stands on, then its own units in program order,
// so the order never depends on C++ static initialisation.

namespace Units {

using Procedure = void (*)();

// Appends a unit.  A unit already in the list (by name) is not added twice.
void Add(const char *name, Procedure initialize, Procedure finalize);

// Runs every initialisation not yet run, in list order.
void InitializeAll();

// Runs the finalisations of the initialised units in reverse order.
void FinalizeAll();

bool IsInitialized(const char *name);

} // namespace Units

// The toolkit's own units.
void RegisterToolkitUnits();
