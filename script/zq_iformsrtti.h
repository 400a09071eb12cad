#pragma once

// Scripts' view of controls, forms, data modules and the application: the
// modal results, cursors, border styles and key codes, the enumerations
// and sets of their properties, the members a script drives them with and
// the events it may handle.  Controls and forms are built through
// TComponent's constructor with the class named in the script.

#include "script/zqClasses.h"

namespace zq_iformsrtti {

class TFunctions : public TzqRTTIModule
{
public:
    explicit TFunctions(TzqScript *script);
};

// Appends the module to the module list.
void Register();

} // namespace zq_iformsrtti
