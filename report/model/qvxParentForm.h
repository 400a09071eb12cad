#pragma once

// The hidden form that the controls of report dialog pages sit on while
// they are on no form of their own.  It is made on first use, never shown,
// and freed at the unit's end after every control has left it.

class TForm;

TForm *qvxParentForm();

void FinalizeQvxParentForm();
