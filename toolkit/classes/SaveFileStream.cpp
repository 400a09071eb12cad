#include "toolkit/classes/SaveFileStream.h"

#include "toolkit/core/Exceptions.h"
#include "toolkit/core/Files.h"
#include "toolkit/core/SystemErrors.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

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

// Opens an existing file without following a link and without waiting
// (a pipe put in its place has no reader); -1 with errno set, or with
// errno 0 where it is no regular file.
int openRegularFile(const QString &fileName, int flags)
{
    const int fd = ::open(encoded(fileName).constData(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        // O_NOFOLLOW meets a link put in its place with ELOOP.
        struct stat info;
        if (errno == ELOOP && ::lstat(encoded(fileName).constData(), &info) == 0 && S_ISLNK(info.st_mode))
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

// The start of the names of temporary files for fileName: hidden, and
// named after it.
QString temporaryPrefix(const QString &fileName)
{
    return QLatin1Char('.') + ExtractFileName(fileName) + QLatin1Char('.');
}

// A new file in the folder folderFd named prefix and six random letters,
// readable and writable by the user alone: its descriptor and name, or -1
// with errno set.
int createUniqueFile(int folderFd, const QString &prefix, QString &name)
{
    static constexpr char Letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    constexpr int Attempts = 100;
    for (int attempt = 0; attempt < Attempts; ++attempt) {
        name = prefix;
        for (int letter = 0; letter < 6; ++letter)
            name += QLatin1Char(Letters[QRandomGenerator::global()->bounded(int(sizeof Letters - 1))]);
        const int fd = ::openat(folderFd, encoded(name).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// A copy of the file fd in the temporary folder, named after fileName; its
// name, or raises EWriteError naming fileName, and the temporary folder
// where that is what failed.
QString copyAside(int fd, const QString &fileName)
{
    const QString copy = TryCreateTempFile(temporaryPrefix(fileName), QString());
    if (copy.isEmpty()) {
        const int error = errno;
        throw EWriteError(formerContentNotCopied(fileName, TempFolder(), error));
    }
    Descriptor to(::open(encoded(copy).constData(), O_WRONLY | O_CLOEXEC));
    CopyFailure failure = to.get() < 0 ? writingFailure(errno) : copyFile(fd, to.get());
    if (const int closed = to.get() < 0 ? 0 : to.close(); !failure.error)
        failure = writingFailure(closed);
    if (!failure.error)
        return copy;
    DeleteFile(copy);
    if (failure.reading)
        throw writeError(fileName, failure.error);
    throw EWriteError(formerContentNotCopied(fileName, ExtractFilePath(copy), failure.error));
}

// Writes the content of the file former back over fileName; whether it is
// all there.
bool putBack(const QString &fileName, const QString &former)
{
    Descriptor from(::open(encoded(former).constData(), O_RDONLY | O_CLOEXEC));
    Descriptor target(openRegularFile(fileName, O_WRONLY));
    return from.get() >= 0 && target.get() >= 0 && replaceContent(target.get(), from.get()).error == 0
        && target.close() == 0;
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
    // The temporary file's name, its descriptor and that of its folder.
    QString temporary;
    int file = -1;
    int folder = -1;
    bool inPlace = false;

    // Makes the temporary file in folder (a name ending in '/'), hidden and
    // named after the target; false with errno set where it cannot.
    bool makeTemporary(const QString &folderName)
    {
        Descriptor opened(::open(encoded(folderName).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
        if (opened.get() < 0)
            return false;
        QString name;
        file = createUniqueFile(opened.get(), temporaryPrefix(target), name);
        if (file < 0) {
            const int error = errno;
            opened.close();
            errno = error;
            return false;
        }
        temporary = folderName + name;
        folder = opened.release();
        return true;
    }
};

// Beside the file when a file can be made there; else, for a file the user
// may write, in the temporary folder, to be copied over it in place.
TSaveFileStream::Placement TSaveFileStream::placementFor(const QString &fileName)
{
    Placement placement;
    placement.target = resolvedTarget(fileName);
    if (isReadOnly(placement.target))
        throw EFCreateError(ReadOnlyFileMessage(fileName));
    if (placement.makeTemporary(ExtractFilePath(placement.target)))
        return placement;
    const int error = errno;
    if (error != EACCES && error != EPERM)
        throw createError(fileName, error);
    if (const QString reason = notWritableInPlace(placement.target); !reason.isEmpty())
        throw createError(fileName, reason);
    if (!isWritableFile(placement.target))
        throw createError(fileName, error);
    if (!placement.makeTemporary(TempFolder())) {
        const int temporaryError = errno;
        throw EFCreateError(newContentNotKept(fileName, TempFolder(), temporaryError));
    }
    placement.inPlace = true;
    return placement;
}

TSaveFileStream::TSaveFileStream(const QString &fileName)
    : TSaveFileStream(placementFor(fileName))
{
}

TSaveFileStream::TSaveFileStream(const Placement &placement)
    : TFileStream(placement.file, placement.temporary), m_targetName(placement.target), m_folder(placement.folder),
      m_inPlace(placement.inPlace)
{
    if (!m_inPlace)
        ::fchmod(Handle(), modeFor(m_targetName));
}

TSaveFileStream::~TSaveFileStream()
{
    if (!m_committed && !m_temporaryKept)
        removeTemporary();
    ::close(m_folder);
}

// Through the folder it was made in, wherever that folder is now.
void TSaveFileStream::removeTemporary()
{
    ::unlinkat(m_folder, encoded(ExtractFileName(FileName())).constData(), 0);
}

void TSaveFileStream::Commit()
{
    if (m_committed)
        return;
    if (m_inPlace) {
        try {
            copyIntoTarget();
        } catch (...) {
            if (!m_temporaryKept)
                removeTemporary();
            throw;
        }
        removeTemporary();
    } else if (const QString failure = renameIntoPlace(); !failure.isEmpty()) {
        removeTemporary();
        throw createError(m_targetName, failure);
    }
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
    if (const QString moved = folderMoved(m_folder, m_targetName); !moved.isEmpty())
        return moved;
    if (::renameat(m_folder, encoded(ExtractFileName(FileName())).constData(), m_folder,
                   encoded(ExtractFileName(m_targetName)).constData())
        != 0)
        return reasonFor(errno, m_targetName);
    return QString();
}

// The target is opened without following a link, since its folder may be
// another user's, and only as the regular file it was.  Its content is
// copied aside into the temporary folder before it is cut, and put back
// when the new content cannot be written whole; where even that fails,
// both versions stay in the temporary folder and the error names them.
void TSaveFileStream::copyIntoTarget()
{
    Descriptor target(openRegularFile(m_targetName, O_RDWR));
    if (target.get() < 0) {
        const int error = errno;
        throw error ? writeError(m_targetName, error) : writeError(m_targetName, notARegularFile());
    }
    const QString former = copyAside(target.get(), m_targetName);
    CopyFailure failure = replaceContent(target.get(), Handle());
    if (const int closed = target.close(); !failure.error)
        failure = writingFailure(closed);
    const int error = failure.error;
    if (!error) {
        DeleteFile(former);
        return;
    }
    if (putBack(m_targetName, former)) {
        DeleteFile(former);
        if (failure.reading)
            throw EWriteError(newContentNotKept(m_targetName, ExtractFilePath(FileName()), error));
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
