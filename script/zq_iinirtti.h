#pragma once

// Scripts' view of ini files: the abstract ini file with its typed reads and
// writes, the in-memory and the file-backed ini file, and four operations of
// their own: a whole string list stored in one section (keys "Items0",
// "Items1", ... and "Count"), the values of a section without their names,
// and the whole content copied to and from a stream.

#include "script/zqClasses.h"

namespace zq_iinirtti {

class TFunctions : public TzqRTTIModule
{
public:
    explicit TFunctions(TzqScript *script);
};

// Appends the module to the module list.
void Register();

} // namespace zq_iinirtti
