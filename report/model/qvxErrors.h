#pragma once

// Error messages of the report library.

#include <QString>

class TqvxReportContext;

// A modal error box captioned with the resource text "mbError".
void qvxErrorMsg(const QString &text);

// Reports text by the report's silent mode: an error box (simMessageBoxes),
// nothing (simSilent) or an Exception carrying text (simReThrow).  Without
// a report, an error box.
void qvxReportError(TqvxReportContext *report, const QString &text);
