#include "toolkit/classes/SaveFileStream.h"

#include "toolkit/core/Exceptions.h"
#include "toolkit/core/Files.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The file a name stands for: the target of a symbolic link, so that the
// link stays and its file is replaced.
QString resolvedTarget(const QString &fileName)
{
    if (fileName.isEmpty())
        throw EFCreateError(QStringLiteral("Cannot create a file without a name"));
    const QFileInfo info(ExpandFileName(fileName));
    return info.isSymLink() ? info.symLinkTarget() : info.filePath();
}

// A new empty file beside target, hidden and named after it.
QString temporaryNameBeside(const QString &target)
{
    return CreateTempFile(QLatin1Char('.') + ExtractFileName(target) + QLatin1Char('.'),
                          ExtractFilePath(target));
}

// The mode an existing file has, or the one the user's mask gives a new file.
mode_t modeFor(const QString &target)
{
    struct stat info;
    if (::stat(QFile::encodeName(target).constData(), &info) == 0)
        return info.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

EFCreateError createError(const QString &fileName, int error)
{
    return EFCreateError(
        QStringLiteral("Cannot create file \"%1\". %2").arg(fileName, QString::fromLocal8Bit(std::strerror(error))));
}

} // namespace

TSaveFileStream::TSaveFileStream(const QString &fileName)
    : TFileStream(temporaryNameBeside(resolvedTarget(fileName)), fmOpenReadWrite),
      m_targetName(resolvedTarget(fileName))
{
    ::fchmod(Handle(), modeFor(m_targetName));
}

TSaveFileStream::~TSaveFileStream()
{
    if (!m_committed)
        DeleteFile(FileName());
}

void TSaveFileStream::Commit()
{
    if (m_committed)
        return;
    if (::fsync(Handle()) != 0
        || ::rename(QFile::encodeName(FileName()).constData(), QFile::encodeName(m_targetName).constData()) != 0) {
        const int error = errno;
        DeleteFile(FileName());
        throw createError(m_targetName, error);
    }
    m_committed = true;
}

qint64 TSaveFileStream::Write(const void *buffer, qint64 count)
{
    if (m_committed)
        throw EWriteError(QStringLiteral("The file \"%1\" is already complete").arg(m_targetName));
    return TFileStream::Write(buffer, count);
}
