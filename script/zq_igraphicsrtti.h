#pragma once

// Scripts' view of the drawing classes: fonts, pens, brushes, the canvas
// and its drawing operations, graphics, pictures, metafiles and bitmaps,
// with the colour constants (system colours negative) and the enumerations
// of their published properties.

#include "script/zqClasses.h"

namespace zq_igraphicsrtti {

class TFunctions : public TzqRTTIModule
{
public:
    explicit TFunctions(TzqScript *script);
};

// Appends the module to the module list.
void Register();

} // namespace zq_igraphicsrtti
