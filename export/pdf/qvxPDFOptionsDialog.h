#pragma once

// The options dialog of the PDF filter, which the preview library installs
// when its units start.  The filter's ShowModal hands the dialog its
// settings after filling the parts that do not need the user: an empty
// Title from the report's name and Outline from whether the report shows
// its outline.

#include <functional>

class TqvxPDFExport;

// Shows the filter's settings, writes the confirmed ones back and asks for
// the file to write; answers mrOk, or mrCancel when either is cancelled.
using TqvxPDFOptionsDialog = std::function<int(TqvxPDFExport &filter)>;

void qvxInstallPDFOptionsDialog(const TqvxPDFOptionsDialog &dialog);
void qvxRemovePDFOptionsDialog();
