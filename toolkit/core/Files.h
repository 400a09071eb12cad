#pragma once

// Files, folders and file names.  The path delimiter is '/'; file names are
// compared with letter case, as the file system does.

#include <QString>
#include <QStringList>

constexpr QChar PathDelim = u'/';

bool FileExists(const QString &fileName);      // an existing file, not a folder
bool DirectoryExists(const QString &folder);
// True when the file is gone afterwards because it was deleted.
bool DeleteFile(const QString &fileName);

// "/a/b/c.txt": ExtractFilePath "/a/b/", ExtractFileName "c.txt",
// ExtractFileExt ".txt" (with its dot; "" when the name has none).
QString ExtractFilePath(const QString &fileName);
QString ExtractFileName(const QString &fileName);
QString ExtractFileExt(const QString &fileName);
// Replaces the extension (or appends one); extension carries its dot.
QString ChangeFileExt(const QString &fileName, const QString &extension);
QString IncludeTrailingPathDelimiter(const QString &path);

// The absolute form of a name relative to the current folder, with "." and
// ".." parts resolved; symbolic links are kept.
QString ExpandFileName(const QString &fileName);
// destName relative to the folder of baseName (a file name; a folder ends in
// '/'), e.g. ("/a/b/x.txt", "/a/c/y.txt") gives "../c/y.txt".
QString ExtractRelativePath(const QString &baseName, const QString &destName);

// Writes a whole file: the bytes go to a new file that replaces the old one
// only once it is complete, so a failed save leaves the old file as it was
// (except in a folder where no new file can be made: there the file is
// rewritten in place).  Raises EFCreateError.
void SaveFile(const QString &fileName, const QByteArray &bytes);

// $TMPDIR, else /tmp; ends in '/'.
QString TempFolder();
// Creates a new empty file with a unique, unpredictable name of prefix,
// six random characters and suffix in the folder (TempFolder() when empty)
// and returns its name.  The file is made exclusively: nothing that was at
// the name before, not even a symbolic link, is opened.
// CreateTempFile raises EFCreateError when it cannot; TryCreateTempFile
// answers an empty name and leaves errno set.
QString CreateTempFile(const QString &prefix, const QString &folder = QString(), const QString &suffix = QString());
QString TryCreateTempFile(const QString &prefix, const QString &folder, const QString &suffix = QString());

// The running program's file, and its folder ending in '/'.
QString ProgramFileName();
QString ProgramFolder();

// The names (without folder) of the files in folder that match a wildcard
// mask ('*', '?') without regard to letter case, sorted by name.
QStringList ListFiles(const QString &folder, const QString &mask);
