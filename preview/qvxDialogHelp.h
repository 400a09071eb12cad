#pragma once

// F1 on a report dialog opens the help topic of its form through the
// resource store (nothing shows while no help viewer is installed).

class TCustomForm;

void qvxHelpOnF1(TCustomForm *form);
