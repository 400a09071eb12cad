#pragma once

// Scripts' view of the common dialogs (open, save, colour, font, print),
// their option sets, and MessageDlg, InputBox and InputQuery.  Every dialog
// and box goes through the modal runner.

#include "script/zqClasses.h"

namespace zq_idialogsrtti {

class TFunctions : public TzqRTTIModule
{
public:
    explicit TFunctions(TzqScript *script);
};

// Appends the module to the module list.
void Register();

} // namespace zq_idialogsrtti
