#pragma once

// Error messages of the report library.

#include <QString>

// A modal error box captioned with the resource text "mbError".
void qvxErrorMsg(const QString &text);
