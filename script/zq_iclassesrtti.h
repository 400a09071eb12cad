#pragma once

// Scripts' view of the basic classes: the root object, persistent objects,
// collections, lists, string lists, streams and components, with the
// file-mode and seek-origin constants, TDuplicates and TPrinterOrientation.
// Stream texts travel as cp1251 bytes; positions, sizes and copy counts as
// 64-bit numbers.

#include "script/zqClasses.h"

namespace zq_iclassesrtti {

class TFunctions : public TzqRTTIModule
{
public:
    explicit TFunctions(TzqScript *script);
};

// Appends the module to the module list.
void Register();

} // namespace zq_iclassesrtti
