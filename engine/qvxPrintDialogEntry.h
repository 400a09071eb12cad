#pragma once

// The print dialog that printing shows when the report's print options ask
// for one.  The preview library installs the report library's own dialog
// when its units start.

#include <QtGlobal>

#include <functional>

class TqvxReport;

// Edits the report's PrintOptions and chooses the current printer (with
// the file to print into, if any).  duplex comes in as the options'
// DuplexOverride and goes out as the choice made.  Answers false when the
// user cancelled.
using TqvxPrintDialogEntry = std::function<bool(TqvxReport &report, quint8 &duplex)>;

void qvxInstallPrintDialog(const TqvxPrintDialogEntry &dialog);
void qvxRemovePrintDialog();
// Runs the installed dialog; raises Exception when none is installed.
bool qvxRunPrintDialog(TqvxReport &report, quint8 &duplex);
