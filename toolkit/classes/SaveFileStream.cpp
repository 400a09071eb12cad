#include "toolkit/classes/SaveFileStream.h"

#include "toolkit/core/Exceptions.h"
#include "toolkit/core/Files.h"
#include "toolkit/core/SystemErrors.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace {

// As many links as the kernel follows before it answers ELOOP.
constexpr int MaxLinksFollowed = 40;

// How long a copy in place waits for another save to finish writing the
// same file, and how often it looks.
constexpr std::chrono::milliseconds LockWait{5000};
constexpr std::chrono::milliseconds LockPoll{20};

QByteArray encoded(const QString &name)
{
    return QFile::encodeName(name);
}

QString tr(const char *text)
{
    return QCoreApplication::translate("SaveFileStream", text);
}

// Why a file in that place could not be made or written, for a person.
// A name missing from a folder that is there is the file itself, gone
// while it was being saved.
QString reasonFor(int error, const QString &fileName)
{
    const QString folder = ExtractFilePath(fileName);
    if (error == ENOTDIR || (error == ENOENT && !DirectoryExists(folder)))
        return tr("The folder \"%1\" does not exist.").arg(folder);
    if (error == ENOENT)
        return tr("The file was removed while it was being saved.");
    return SystemErrorText(error) + QLatin1Char('.');
}

QString notARegularFile()
{
    return tr("It is not a regular file.");
}

// Why an existing target that is no regular file cannot be written over
// in place, or an empty text for a regular file or none at all.
QString notWritableInPlace(const QString &target)
{
    struct stat info;
    if (::stat(encoded(target).constData(), &info) != 0 || S_ISREG(info.st_mode))
        return QString();
    return S_ISDIR(info.st_mode) ? SystemErrorText(EISDIR) + QLatin1Char('.') : notARegularFile();
}

// Why the folder the temporary file of fileName was made in (folderFd) no
// longer stands at the name of fileName's folder, or an empty text while
// it does: gone from there, or another put in its place.
QString folderMoved(int folderFd, const QString &fileName)
{
    const QString folder = ExtractFilePath(fileName);
    struct stat made;
    struct stat named;
    if (::fstat(folderFd, &made) != 0)
        return SystemErrorText(errno) + QLatin1Char('.');
    if (::stat(encoded(folder).constData(), &named) != 0)
        return reasonFor(errno, fileName);
    if (named.st_dev == made.st_dev && named.st_ino == made.st_ino)
        return QString();
    return tr("The folder \"%1\" was moved or replaced while the file was being saved.").arg(folder);
}

EFCreateError createError(const QString &fileName, const QString &reason)
{
    return EFCreateError(tr("Cannot create file \"%1\". %2").arg(fileName, reason));
}

EFCreateError createError(const QString &fileName, int error)
{
    return createError(fileName, reasonFor(error, fileName));
}

EWriteError writeError(const QString &fileName, const QString &reason)
{
    return EWriteError(tr("Cannot write file \"%1\". %2").arg(fileName, reason));
}

EWriteError writeError(const QString &fileName, int error)
{
    return writeError(fileName, reasonFor(error, fileName));
}

// What the temporary folder of the in-place road failed to hold for
// fileName, naming the folder and its own reason (not the target's).
QString formerContentNotCopied(const QString &fileName, const QString &folder, int error)
{
    return tr("Cannot write file \"%1\": its former content cannot be copied into the temporary folder \"%2\". %3")
        .arg(fileName, folder, SystemErrorText(error) + QLatin1Char('.'));
}

QString newContentNotKept(const QString &fileName, const QString &folder, int error)
{
    return tr("Cannot write file \"%1\": its new content cannot be kept in the temporary folder \"%2\". %3")
        .arg(fileName, folder, SystemErrorText(error) + QLatin1Char('.'));
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

// Whether the existing regular file target is one the user may not write:
// its permissions grant the user no write, or grant nobody any (which also
// stops the superuser, whom permissions do not stop otherwise).
bool isReadOnly(const QString &target)
{
    struct stat info;
    if (::stat(encoded(target).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return true;
    return ::faccessat(AT_FDCWD, encoded(target).constData(), W_OK, AT_EACCESS) != 0 && errno == EACCES;
}

bool isWritableFile(const QString &target)
{
    struct stat info;
    return ::stat(encoded(target).constData(), &info) == 0 && S_ISREG(info.st_mode)
        && ::faccessat(AT_FDCWD, encoded(target).constData(), W_OK, AT_EACCESS) == 0;
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

// Closes a descriptor when it goes out of scope, unless closed before.
class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_fd; }
    // Hands the descriptor over, to be closed by its taker.
    int release() { return std::exchange(m_fd, -1); }
    // Closes the descriptor held, if any, and holds fd instead.
    void reset(int fd)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }
    // The error of the close, or 0.
    int close() { return ::close(std::exchange(m_fd, -1)) == 0 ? 0 : errno; }

private:
    int m_fd;
};

bool writeAll(int fd, const char *data, ssize_t count, off_t at)
{
    while (count > 0) {
        const ssize_t written = ::pwrite(fd, data, size_t(count), at);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        count -= written;
        at += written;
    }
    return true;
}

// The error that stopped a copy (0 for none), and whether it was met
// reading the source rather than writing the copy.
struct CopyFailure {
    int error = 0;
    bool reading = false;
};

CopyFailure writingFailure(int error)
{
    return {error, false};
}

// Copies all of the file from to the file to, from the start of each.
CopyFailure copyFile(int from, int to)
{
    char buffer[1 << 16];
    for (off_t at = 0;;) {
        const ssize_t read = ::pread(from, buffer, sizeof buffer, at);
        if (read < 0 && errno == EINTR)
            continue;
        if (read < 0)
            return {errno, true};
        if (read == 0)
            return {};
        errno = 0;
        if (!writeAll(to, buffer, read, at))
            return writingFailure(errno ? errno : EIO);
        at += read;
    }
}

// Makes the content of the file to that of the file from, through to the
// disk.
CopyFailure replaceContent(int to, int from)
{
    if (::ftruncate(to, 0) != 0)
        return writingFailure(errno);
    if (const CopyFailure failure = copyFile(from, to); failure.error)
        return failure;
    return writingFailure(::fsync(to) == 0 ? 0 : errno);
}

// Opens a folder to make, rename and open files in through it; -1 with
// errno set.
int openFolder(const QString &folder)
{
    return ::open(encoded(folder).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
}

// Opens the existing file of folderFd named like fileName without
// following a link and without waiting (a pipe put in its place has no
// reader); -1 with errno set, or with errno 0 where it is no regular file.
int openRegularFile(int folderFd, const QString &fileName, int flags)
{
    const QByteArray name = encoded(ExtractFileName(fileName));
    const int fd = ::openat(folderFd, name.constData(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        // O_NOFOLLOW meets a link put in its place with ELOOP.
        struct stat info;
        if (errno == ELOOP && ::fstatat(folderFd, name.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0
            && S_ISLNK(info.st_mode))
            errno = 0;
        return -1;
    }
    struct stat info;
    const bool known = ::fstat(fd, &info) == 0;
    if (known && S_ISREG(info.st_mode))
        return fd;
    const int error = known ? 0 : errno;
    ::close(fd);
    errno = error;
    return -1;
}

// Takes the advisory lock that every save in place takes on the file fd
// for its copy, waiting a while for another save to finish with it; false
// with errno set where it could not.  A file system that keeps no locks
// (a network share without its lock service) is written without one
// rather than not at all.
bool lockForCopy(int fd)
{
    const auto giveUp = std::chrono::steady_clock::now() + LockWait;
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return true;
        if (errno == ENOLCK || errno == EINVAL || errno == EOPNOTSUPP)
            return true;
        if (errno != EWOULDBLOCK && errno != EINTR)
            return false;
        if (std::chrono::steady_clock::now() >= giveUp) {
            errno = EWOULDBLOCK;
            return false;
        }
        std::this_thread::sleep_for(LockPoll);
    }
}

constexpr int RandomLetters = 6;

// The start of the names of temporary files for fileName in the folder
// folderFd: hidden and named after it, with as much of its name as the
// folder's limit on names leaves room for beside the random letters.
QString temporaryPrefix(int folderFd, const QString &fileName)
{
    long limit = ::fpathconf(folderFd, _PC_NAME_MAX);
    if (limit <= 0)
        limit = NAME_MAX;
    QString name = ExtractFileName(fileName);
    const auto prefix = [&name] { return QLatin1Char('.') + name + QLatin1Char('.'); };
    while (!name.isEmpty() && encoded(prefix()).size() + RandomLetters > limit)
        name.chop(name.size() > 1 && name.back().isLowSurrogate() ? 2 : 1);
    return prefix();
}

// A new file in the folder folderFd named after fileName and a few random
// letters, hidden, readable and writable by the user alone: its descriptor
// and name, or -1 with errno set.
int createUniqueFile(int folderFd, const QString &fileName, QString &name)
{
    static constexpr char Letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    constexpr int Attempts = 100;
    const QString prefix = temporaryPrefix(folderFd, fileName);
    for (int attempt = 0; attempt < Attempts; ++attempt) {
        name = prefix;
        for (int letter = 0; letter < RandomLetters; ++letter)
            name += QLatin1Char(Letters[QRandomGenerator::global()->bounded(int(sizeof Letters - 1))]);
        const int fd = ::openat(folderFd, encoded(name).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Removes the file name of the folder folderFd; whether it is gone.
bool removeFrom(int folderFd, const QString &name)
{
    return ::unlinkat(folderFd, encoded(ExtractFileName(name)).constData(), 0) == 0 || errno == ENOENT;
}

// A copy of the file fd in the temporary folder folderFd (named folder),
// named after fileName; its name, or raises EWriteError naming fileName,
// and the temporary folder where that is what failed.
QString copyAside(int fd, const QString &fileName, int folderFd, const QString &folder)
{
    QString copy;
    Descriptor to(createUniqueFile(folderFd, fileName, copy));
    if (to.get() < 0) {
        const int error = errno;
        throw EWriteError(formerContentNotCopied(fileName, folder, error));
    }
    CopyFailure failure = copyFile(fd, to.get());
    if (const int closed = to.close(); !failure.error)
        failure = writingFailure(closed);
    if (!failure.error)
        return folder + copy;
    removeFrom(folderFd, copy);
    if (failure.reading)
        throw writeError(fileName, failure.error);
    throw EWriteError(formerContentNotCopied(fileName, folder, failure.error));
}

// Writes the content of the file former of the folder folderFd back over
// the file target; whether it is all there.
bool putBack(int target, int folderFd, const QString &former)
{
    Descriptor from(::openat(folderFd, encoded(ExtractFileName(former)).constData(), O_RDONLY | O_CLOEXEC));
    return from.get() >= 0 && target >= 0 && replaceContent(target, from.get()).error == 0;
}

} // namespace

bool IsReadOnlyFile(const QString &fileName)
{
    return isReadOnly(ExpandFileName(fileName));
}

QString ReadOnlyFileMessage(const QString &fileName)
{
    return tr("The file \"%1\" is read-only and cannot be replaced.").arg(fileName);
}

struct TSaveFileStream::Placement {
    QString target;
    // The temporary file's name and its descriptor.
    QString temporary;
    int file = -1;
    // The folders of the target and of the temporary file, the same one
    // beside the target.
    int targetFolder = -1;
    int temporaryFolder = -1;
    bool inPlace = false;

    // Makes the temporary file in the folder folderFd (named folderName,
    // ending in '/'), hidden and named after the target; false with errno
    // set where it cannot.
    bool makeTemporary(int folderFd, const QString &folderName)
    {
        QString name;
        file = folderFd < 0 ? -1 : createUniqueFile(folderFd, target, name);
        if (file < 0)
            return false;
        temporary = folderName + name;
        return true;
    }
};

// Beside the file when a file can be made there; else, for a file the user
// may write, in the temporary folder, to be copied over it in place.
// Either way the target's folder is held from here on, so that the file is
// written in that folder or not at all.
TSaveFileStream::Placement TSaveFileStream::placementFor(const QString &fileName)
{
    Placement placement;
    placement.target = resolvedTarget(fileName);
    if (isReadOnly(placement.target))
        throw EFCreateError(ReadOnlyFileMessage(fileName));
    const QString folder = ExtractFilePath(placement.target);
    Descriptor targetFolder(openFolder(folder));
    if (placement.makeTemporary(targetFolder.get(), folder)) {
        placement.targetFolder = placement.temporaryFolder = targetFolder.release();
        return placement;
    }
    const int error = errno;
    if (error != EACCES && error != EPERM)
        throw createError(fileName, error);
    if (const QString reason = notWritableInPlace(placement.target); !reason.isEmpty())
        throw createError(fileName, reason);
    if (!isWritableFile(placement.target) || targetFolder.get() < 0)
        throw createError(fileName, error);
    const QString temporaryFolderName = TempFolder();
    Descriptor temporaryFolder(openFolder(temporaryFolderName));
    if (!placement.makeTemporary(temporaryFolder.get(), temporaryFolderName)) {
        const int temporaryError = errno;
        throw EFCreateError(newContentNotKept(fileName, temporaryFolderName, temporaryError));
    }
    placement.inPlace = true;
    placement.targetFolder = targetFolder.release();
    placement.temporaryFolder = temporaryFolder.release();
    return placement;
}

TSaveFileStream::TSaveFileStream(const QString &fileName)
    : TSaveFileStream(placementFor(fileName))
{
}

TSaveFileStream::TSaveFileStream(const Placement &placement)
    : TFileStream(placement.file, placement.temporary), m_targetName(placement.target),
      m_targetFolder(placement.targetFolder), m_temporaryFolder(placement.temporaryFolder),
      m_inPlace(placement.inPlace)
{
    if (!m_inPlace)
        ::fchmod(Handle(), modeFor(m_targetName));
}

TSaveFileStream::~TSaveFileStream()
{
    if (!m_committed && !m_temporaryKept)
        removeTemporary();
    if (m_temporaryFolder != m_targetFolder)
        ::close(m_temporaryFolder);
    ::close(m_targetFolder);
}

// Through the folder it was made in, wherever that folder is now.
bool TSaveFileStream::removeTemporary()
{
    return removeFrom(m_temporaryFolder, FileName());
}

// A temporary file that cannot be removed after a failure (its folder was
// made read-only meanwhile) holds the whole new content: it is kept, and
// the error names it.
void TSaveFileStream::Commit()
{
    if (m_committed)
        return;
    try {
        if (m_inPlace)
            copyIntoTarget();
        else if (const QString failure = renameIntoPlace(); !failure.isEmpty())
            throw createError(m_targetName, failure);
    } catch (Exception &error) {
        if (!m_temporaryKept && !removeTemporary()) {
            m_temporaryKept = true;
            error.SetMessage(error.Message() + QLatin1Char(' ')
                             + tr("Its new content is kept in \"%1\".").arg(FileName()));
        }
        throw;
    }
    if (m_inPlace)
        removeTemporary();
    m_committed = true;
}

// The file is renamed only within the folder it was made in, and only
// while that folder still stands at the target's folder name: the user
// agreed to replace the file there, not one in a folder put in its place.
// Why that failed, or an empty text.
QString TSaveFileStream::renameIntoPlace()
{
    if (::fsync(Handle()) != 0)
        return reasonFor(errno, m_targetName);
    if (const QString moved = folderMoved(m_targetFolder, m_targetName); !moved.isEmpty())
        return moved;
    if (::renameat(m_targetFolder, encoded(ExtractFileName(FileName())).constData(), m_targetFolder,
                   encoded(ExtractFileName(m_targetName)).constData())
        != 0)
        return reasonFor(errno, m_targetName);
    return QString();
}

// The target is opened through the folder it was in when the save began,
// without following a link, since that folder may be another user's, and
// only as the regular file it was.  Its lock keeps two saves in place from
// writing it at once.  Its descriptor, or -1 and why not.
int TSaveFileStream::openLockedTarget(QString &failure) const
{
    Descriptor target(openRegularFile(m_targetFolder, m_targetName, O_RDWR));
    if (target.get() < 0) {
        failure = errno ? reasonFor(errno, m_targetName) : notARegularFile();
        return -1;
    }
    if (!lockForCopy(target.get())) {
        failure = errno == EWOULDBLOCK ? tr("The file is being written by another save.")
                                       : reasonFor(errno, m_targetName);
        return -1;
    }
    return target.release();
}

// The copy is made only while the target's folder still stands at its
// name, as the rename beside it is.  The target's content is copied aside
// into the temporary folder before it is cut, and put back when the new
// content cannot be written whole; where even that fails, both versions
// stay in the temporary folder and the error names them.
void TSaveFileStream::copyIntoTarget()
{
    if (const QString moved = folderMoved(m_targetFolder, m_targetName); !moved.isEmpty())
        throw writeError(m_targetName, moved);
    QString why;
    Descriptor target(openLockedTarget(why));
    if (target.get() < 0)
        throw writeError(m_targetName, why);
    const QString temporaryFolder = ExtractFilePath(FileName());
    const QString former = copyAside(target.get(), m_targetName, m_temporaryFolder, temporaryFolder);
    CopyFailure failure = replaceContent(target.get(), Handle());
    if (!failure.error) {
        failure = writingFailure(target.close());
        if (failure.error)
            target.reset(openLockedTarget(why));
    }
    const int error = failure.error;
    if (!error) {
        removeFrom(m_temporaryFolder, former);
        return;
    }
    if (putBack(target.get(), m_temporaryFolder, former) && target.close() == 0) {
        removeFrom(m_temporaryFolder, former);
        if (failure.reading)
            throw EWriteError(newContentNotKept(m_targetName, temporaryFolder, error));
        throw writeError(m_targetName, error);
    }
    m_temporaryKept = true;
    throw EWriteError(tr("Cannot write file \"%1\". %2 Its former content is kept in \"%3\" and the new content "
                         "in \"%4\".")
                          .arg(m_targetName, reasonFor(error, m_targetName), former, FileName()));
}

qint64 TSaveFileStream::Write(const void *buffer, qint64 count)
{
    if (m_committed)
        throw EWriteError(tr("The file \"%1\" is already complete").arg(m_targetName));
    errno = 0;
    const qint64 written = TFileStream::Write(buffer, count);
    if (written < count) {
        const int error = errno ? errno : EIO;
        if (m_inPlace)
            throw EWriteError(newContentNotKept(m_targetName, ExtractFilePath(FileName()), error));
        throw writeError(m_targetName, error);
    }
    return written;
}
