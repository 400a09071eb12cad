#include "toolkit/classes/SaveFileStream.h"

#include "toolkit/core/Exceptions.h"
#include "toolkit/core/Files.h"
#include "toolkit/core/SystemErrors.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <climits>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// As many links as the kernel follows before it answers ELOOP.
constexpr int MaxLinksFollowed = 40;

QByteArray encoded(const QString &name)
{
    return QFile::encodeName(name);
}

QString tr(const char *text)
{
    return QCoreApplication::translate("SaveFileStream", text);
}

// Why a file in that place could not be made or written, for a person.
QString reasonFor(int error, const QString &fileName)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return tr("The folder \"%1\" does not exist.").arg(ExtractFilePath(fileName));
    default:
        return SystemErrorText(error) + QLatin1Char('.');
    }
}

EFCreateError createError(const QString &fileName, const QString &reason)
{
    return EFCreateError(tr("Cannot create file \"%1\". %2").arg(fileName, reason));
}

EFCreateError createError(const QString &fileName, int error)
{
    return createError(fileName, reasonFor(error, fileName));
}

// The kernel's rule for links in a sticky world-writable folder (such as
// /tmp): a link there is followed only by its owner or when the folder's
// owner owns it, so nobody can steer another user's file onto a target of
// their choosing.
bool mayFollow(const struct stat &link, const QString &folder)
{
    struct stat place;
    if (::stat(encoded(folder).constData(), &place) != 0)
        return false;
    const bool shared = (place.st_mode & S_ISVTX) && (place.st_mode & S_IWOTH);
    return !shared || link.st_uid == ::geteuid() || link.st_uid == place.st_uid;
}

QString linkTarget(const QString &link)
{
    char target[PATH_MAX];
    const ssize_t length = ::readlink(encoded(link).constData(), target, sizeof target);
    if (length < 0 || length == ssize_t(sizeof target))
        return QString();
    return QFile::decodeName(QByteArray(target, length));
}

// The file a name stands for: the end of a chain of symbolic links, so
// that the links stay and their file is replaced.  A link the kernel would
// refuse to follow is refused here too.
QString resolvedTarget(const QString &fileName)
{
    if (fileName.isEmpty())
        throw EFCreateError(tr("Cannot create a file without a name"));
    QString path = ExpandFileName(fileName);
    for (int followed = 0;; ++followed) {
        struct stat info;
        if (::lstat(encoded(path).constData(), &info) != 0 || !S_ISLNK(info.st_mode))
            return path;
        if (followed == MaxLinksFollowed)
            throw createError(fileName, ELOOP);
        const QString folder = ExtractFilePath(path);
        if (!mayFollow(info, folder))
            throw createError(fileName, tr("It is a symbolic link of another user in a shared folder."));
        const QString target = linkTarget(path);
        if (target.isEmpty())
            throw createError(fileName, errno ? errno : ENAMETOOLONG);
        path = QDir::cleanPath(QDir(folder).absoluteFilePath(target));
    }
}

// A new empty file beside target, hidden and named after it.
QString temporaryNameBeside(const QString &target, const QString &fileName)
{
    const QString name =
        TryCreateTempFile(QLatin1Char('.') + ExtractFileName(target) + QLatin1Char('.'), ExtractFilePath(target));
    if (name.isEmpty())
        throw createError(fileName, errno);
    return name;
}

// The mode an existing file has, or the one the user's mask gives a new file.
mode_t modeFor(const QString &target)
{
    struct stat info;
    if (::stat(encoded(target).constData(), &info) == 0)
        return info.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

TSaveFileStream::TSaveFileStream(const QString &fileName)
    : TSaveFileStream(fileName, resolvedTarget(fileName))
{
}

TSaveFileStream::TSaveFileStream(const QString &fileName, const QString &target)
    : TFileStream(temporaryNameBeside(target, fileName), fmOpenReadWrite), m_targetName(target)
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
    if (::fsync(Handle()) != 0 || ::rename(encoded(FileName()).constData(), encoded(m_targetName).constData()) != 0) {
        const int error = errno;
        DeleteFile(FileName());
        throw createError(m_targetName, error);
    }
    m_committed = true;
}

qint64 TSaveFileStream::Write(const void *buffer, qint64 count)
{
    if (m_committed)
        throw EWriteError(tr("The file \"%1\" is already complete").arg(m_targetName));
    errno = 0;
    const qint64 written = TFileStream::Write(buffer, count);
    if (written < count) {
        const int error = errno ? errno : EIO;
        throw EWriteError(tr("Cannot write file \"%1\". %2").arg(m_targetName, reasonFor(error, m_targetName)));
    }
    return written;
}
