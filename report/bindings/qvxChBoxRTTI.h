#pragma once

// Scripts' view of the check box view: its two styles and its class, after
// the report classes.

#include "script/zqClasses.h"

namespace qvxChBoxRTTI {

class TFunctions : public TzqRTTIModule
{
public:
    explicit TFunctions(TzqScript *script);
};

// The unit's start and end: the module joins and leaves the module list.
void Initialize();
void Finalize();

} // namespace qvxChBoxRTTI
