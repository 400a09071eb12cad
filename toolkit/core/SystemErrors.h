#pragma once

// Why a call into the system failed, as a person reads it.
//
// The errors that files and folders meet (a missing place, no permission,
// a full disk, a file over the size limit ...) have texts of their own,
// which a program may translate (context "SystemErrors"); any other error
// is named by its number.  No full stop at the end.

#include <QString>

QString SystemErrorText(int error);
