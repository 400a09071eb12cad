#pragma once

// Temporary files and the program's own location.  Folder names returned
// here end with a '/'.

#include <QString>

// The system temporary folder.
QString qvxGetTempDir();
// Creates a new empty file with the prefix "qv" in the system temporary
// folder and returns its full name.
QString qvxGetTempFileName();
// The same in `dir`, or in the system temporary folder when `dir` is empty.
// Raises EFCreateError when the file cannot be made.
QString qvxGetTempFileNameIn(const QString &dir);

// The program's full file name, and its folder.
QString qvxGetAppFileName();
QString qvxGetAppPath();
