#include "toolkit/core/SystemErrors.h"

#include <QCoreApplication>

#include <cerrno>
#include <cstring>

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
};

} // namespace

QString SystemErrorText(int error)
{
    for (const ErrorText &entry : ErrorTexts)
        if (entry.error == error)
            return QCoreApplication::translate("SystemErrors", entry.text);
    return QString::fromLocal8Bit(std::strerror(error));
}
