#pragma once

// Access to the compiled HTML help of the report dialogs.
//
// This platform has no HTML help viewer, so the help entry point is never
// loaded and HtmlHelp shows nothing; callers still compute the topic.

#include <QString>

class TObject;

// Would show the topic named by fileName ("<help file>::/<topic>") for the
// window.
void HtmlHelp(const TObject *window, const QString &fileName);
