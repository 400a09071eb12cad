#pragma once

// The script engine's message texts.  They are variables so that a host can
// replace them with its own resource strings; the engine reads them at the
// moment it reports an error.

#include <QString>

extern QString SLangNotFound;      // "Language '%s' not found"
extern QString SInvalidLanguage;
extern QString SIdRedeclared;      // followed by the name in apostrophes
extern QString SUnknownType;       // followed by the name in apostrophes
extern QString SIncompatibleTypes;
extern QString SIdUndeclared;      // followed by the name in apostrophes
extern QString SClassRequired;
extern QString SIndexRequired;
extern QString SStringError;
extern QString SClassError;        // "Class %s does not have a default property"
extern QString SArrayRequired;
extern QString SVarRequired;
extern QString SNotEnoughParams;
extern QString STooManyParams;
extern QString SLeftCantAssigned;
extern QString SForError;
extern QString SEventError;

// The engine's own additions: input too deeply nested to translate, a unit
// name that is no plain relative file name, and a unit that cannot be found.
extern QString STooComplex;
extern QString SInvalidUnitName;   // followed by the name in apostrophes
extern QString SUnitNotFound;      // followed by the name in apostrophes
extern QString SUnclosedComment;
// Run-time and build checks of the engine itself.
extern QString SNilObject;         // followed by the member name in apostrophes
extern QString SObjectHeld;        // "Cannot free %s: the object that holds it frees it"
extern QString SEventNotFound;     // "Event %s not found"
extern QString SStringIndexError;  // "String index out of range: %d"
extern QString SArrayTooLarge;
extern QString SCallsTooDeep;
extern QString SInvalidFileFormat;
// "OLE error %s: %s: %s": the code in 8 hex digits, the member, the text.
extern QString SOleError;
