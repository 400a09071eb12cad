#include "script/zqMessages.h"

QString SLangNotFound = QStringLiteral("Language '%s' not found");
QString SInvalidLanguage = QStringLiteral("Invalid language definition");
QString SIdRedeclared = QStringLiteral("Identifier redeclared: ");
QString SUnknownType = QStringLiteral("Unknown type: ");
QString SIncompatibleTypes = QStringLiteral("Incompatible types");
QString SIdUndeclared = QStringLiteral("Undeclared identifier: ");
QString SClassRequired = QStringLiteral("Class type required");
QString SIndexRequired = QStringLiteral("Index required");
QString SStringError = QStringLiteral("Strings doesn't have properties or methods");
QString SClassError = QStringLiteral("Class %s does not have a default property");
QString SArrayRequired = QStringLiteral("Array type required");
QString SVarRequired = QStringLiteral("Variable required");
QString SNotEnoughParams = QStringLiteral("Not enough actual parameters");
QString STooManyParams = QStringLiteral("Too many actual parameters");
QString SLeftCantAssigned = QStringLiteral("Left side cannot be assigned to");
QString SForError = QStringLiteral("For loop variable must be numeric variable");
QString SEventError = QStringLiteral("Event handler must be a procedure");

QString STooComplex = QStringLiteral("Expression too complex");
QString SInvalidUnitName = QStringLiteral("Invalid unit name: ");
QString SUnitNotFound = QStringLiteral("Unit not found: ");
QString SUnclosedComment = QStringLiteral("Unterminated comment");
QString SNilObject = QStringLiteral("Object reference is nil: ");
QString SObjectHeld = QStringLiteral("Cannot free %s: the object that holds it frees it");
QString SEventNotFound = QStringLiteral("Event %s not found");
QString SStringIndexError = QStringLiteral("String index out of range: %d");
QString SArrayTooLarge = QStringLiteral("Array too large");
QString SCallsTooDeep = QStringLiteral("Too many nested calls");
QString SInvalidFileFormat = QStringLiteral("Invalid file format");
QString SOleError = QStringLiteral("OLE error %s: %s: %s");
