#include "toolkit/core/SystemErrors.h"

#include <QCoreApplication>

#include <cerrno>

namespace {

struct ErrorText {
    int error;
    const char *text;
};

constexpr ErrorText ErrorTexts[] = {
    {ENOENT, QT_TRANSLATE_NOOP("SystemErrors", "No such file or folder")},
    {ENOTDIR, QT_TRANSLATE_NOOP("SystemErrors", "A part of the path is not a folder")},
    {EACCES, QT_TRANSLATE_NOOP("SystemErrors", "Permission denied")},
    {EPERM, QT_TRANSLATE_NOOP("SystemErrors", "Permission denied")},
    {EROFS, QT_TRANSLATE_NOOP("SystemErrors", "The file system is read-only")},
    {ENOSPC, QT_TRANSLATE_NOOP("SystemErrors", "No space left on the device")},
    {EDQUOT, QT_TRANSLATE_NOOP("SystemErrors", "The disk quota is exhausted")},
    {EFBIG, QT_TRANSLATE_NOOP("SystemErrors", "The file is too large")},
    {EISDIR, QT_TRANSLATE_NOOP("SystemErrors", "It is a folder")},
    {EEXIST, QT_TRANSLATE_NOOP("SystemErrors", "The file already exists")},
    {ENAMETOOLONG, QT_TRANSLATE_NOOP("SystemErrors", "The file name is too long")},
    {ELOOP, QT_TRANSLATE_NOOP("SystemErrors", "Too many symbolic links")},
    {EIO, QT_TRANSLATE_NOOP("SystemErrors", "Input/output error")},
    {EMFILE, QT_TRANSLATE_NOOP("SystemErrors", "Too many open files")},
    {ENFILE, QT_TRANSLATE_NOOP("SystemErrors", "Too many open files")},
    {EBUSY, QT_TRANSLATE_NOOP("SystemErrors", "The file is in use")},
    {ETXTBSY, QT_TRANSLATE_NOOP("SystemErrors", "The file is in use")},
    {ESPIPE, QT_TRANSLATE_NOOP("SystemErrors", "It is a pipe, not a file")},
    {EPIPE, QT_TRANSLATE_NOOP("SystemErrors", "The pipe has no reader")},
    {ENXIO, QT_TRANSLATE_NOOP("SystemErrors", "No such device or address")},
    {ENODEV, QT_TRANSLATE_NOOP("SystemErrors", "No such device")},
    {EINVAL, QT_TRANSLATE_NOOP("SystemErrors", "The operation is not possible for this file")},
    {EAGAIN, QT_TRANSLATE_NOOP("SystemErrors", "The file is temporarily unavailable")},
    {EINTR, QT_TRANSLATE_NOOP("SystemErrors", "The operation was interrupted")},
    {ENOMEM, QT_TRANSLATE_NOOP("SystemErrors", "Not enough memory")},
    {EOVERFLOW, QT_TRANSLATE_NOOP("SystemErrors", "The file is too large for this operation")},
    {EBADF, QT_TRANSLATE_NOOP("SystemErrors", "The file is not open")},
    {EXDEV, QT_TRANSLATE_NOOP("SystemErrors", "The file cannot be moved to another device")},
    {EMLINK, QT_TRANSLATE_NOOP("SystemErrors", "Too many links")},
    {ENOTEMPTY, QT_TRANSLATE_NOOP("SystemErrors", "The folder is not empty")},
    {ESTALE, QT_TRANSLATE_NOOP("SystemErrors", "The file on the network is no longer available")},
};

} // namespace

QString SystemErrorText(int error)
{
    for (const ErrorText &entry : ErrorTexts)
        if (entry.error == error)
            return QCoreApplication::translate("SystemErrors", entry.text);
    return QCoreApplication::translate("SystemErrors", "System error %1").arg(error);
}
