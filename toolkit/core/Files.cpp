#include "toolkit/core/Files.h"

#include "toolkit/core/Exceptions.h"
#include "toolkit/core/SystemErrors.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

bool FileExists(const QString &fileName)
{
    const QFileInfo info(fileName);
    return info.exists() && !info.isDir();
}

bool DirectoryExists(const QString &folder)
{
    return QFileInfo(folder).isDir();
}

bool DeleteFile(const QString &fileName)
{
    return ::unlink(QFile::encodeName(fileName).constData()) == 0;
}

QString ExtractFilePath(const QString &fileName)
{
    return fileName.left(fileName.lastIndexOf(PathDelim) + 1);
}

QString ExtractFileName(const QString &fileName)
{
    return fileName.mid(fileName.lastIndexOf(PathDelim) + 1);
}

namespace {

// The index of the extension's dot, or -1.
qsizetype extensionDot(const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return dot > fileName.lastIndexOf(PathDelim) ? dot : -1;
}

} // namespace

QString ExtractFileExt(const QString &fileName)
{
    const qsizetype dot = extensionDot(fileName);
    return dot < 0 ? QString() : fileName.mid(dot);
}

QString ChangeFileExt(const QString &fileName, const QString &extension)
{
    const qsizetype dot = extensionDot(fileName);
    return (dot < 0 ? fileName : fileName.left(dot)) + extension;
}

QString IncludeTrailingPathDelimiter(const QString &path)
{
    return path.endsWith(PathDelim) ? path : path + PathDelim;
}

QString ExpandFileName(const QString &fileName)
{
    if (fileName.isEmpty())
        return QString();
    const QString expanded = QDir::cleanPath(QDir::current().absoluteFilePath(fileName));
    const bool keepDelimiter = fileName.endsWith(PathDelim) && expanded != QStringLiteral("/");
    return keepDelimiter ? expanded + PathDelim : expanded;
}

QString ExtractRelativePath(const QString &baseName, const QString &destName)
{
    const QStringList base = ExpandFileName(ExtractFilePath(baseName)).split(PathDelim, Qt::SkipEmptyParts);
    const QStringList dest = ExpandFileName(destName).split(PathDelim, Qt::SkipEmptyParts);
    qsizetype common = 0;
    // The last part of dest is the file name, never a shared folder.
    while (common < base.size() && common + 1 < dest.size() && base[common] == dest[common])
        ++common;
    QString result;
    for (qsizetype i = common; i < base.size(); ++i)
        result += QStringLiteral("../");
    result += dest.mid(common).join(PathDelim);
    if (destName.endsWith(PathDelim))
        result += PathDelim;
    return result;
}

void SaveFile(const QString &fileName, const QByteArray &bytes)
{
    QSaveFile file(fileName);
    // A folder that admits no new file still lets its existing files be
    // rewritten in place.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw EFCreateError(
            QCoreApplication::translate("Streams", "Cannot create file \"%1\". %2").arg(fileName, file.errorString()));
}

QString TempFolder()
{
    const QString folder = qEnvironmentVariable("TMPDIR");
    return IncludeTrailingPathDelimiter(folder.isEmpty() ? QStringLiteral("/tmp") : folder);
}

namespace {

QString tempFolderOr(const QString &folder)
{
    return folder.isEmpty() ? TempFolder() : IncludeTrailingPathDelimiter(folder);
}

} // namespace

QString TryCreateTempFile(const QString &prefix, const QString &folder, const QString &suffix)
{
    const QByteArray suffixBytes = QFile::encodeName(suffix);
    QByteArray pattern = QFile::encodeName(tempFolderOr(folder) + prefix) + "XXXXXX" + suffixBytes;
    const int fd = ::mkstemps(pattern.data(), int(suffixBytes.size()));
    if (fd < 0)
        return QString();
    ::close(fd);
    return QFile::decodeName(pattern);
}

QString CreateTempFile(const QString &prefix, const QString &folder, const QString &suffix)
{
    const QString name = TryCreateTempFile(prefix, folder, suffix);
    if (name.isEmpty()) {
        const int error = errno;
        throw EFCreateError(QCoreApplication::translate("Streams", "Cannot create file \"%1\". %2")
                                .arg(tempFolderOr(folder) + prefix, SystemErrorText(error)));
    }
    return name;
}

QString ProgramFileName()
{
    return QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
}

QString ProgramFolder()
{
    return ExtractFilePath(ProgramFileName());
}

QStringList ListFiles(const QString &folder, const QString &mask)
{
    return QDir(folder).entryList({mask}, QDir::Files | QDir::Hidden, QDir::Name);
}
