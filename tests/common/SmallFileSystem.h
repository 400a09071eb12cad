#pragma once

// A file system of its own for a test that needs one to run full: a
// 512 KB tmpfs mounted (by root) on a temporary folder, with a folder
// "tmp" in it for the user nobody, and the rest of its space taken by a
// file "filler" beside that folder up to what the test leaves free.
// Unmounted again when the object goes.

#include "common/AsNobody.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

class SmallFileSystem
{
public:
    // Mounts it and leaves about free bytes free (whole pages of 4 KB);
    // Failure() says why when that could not be done.
    explicit SmallFileSystem(qint64 free = 0)
    {
        if (::geteuid() != 0) {
            m_failure = QStringLiteral("mounting a small file system needs root");
            return;
        }
        const QByteArray root = QFile::encodeName(m_mountPoint.path());
        if (::mount("tmpfs", root.constData(), "tmpfs", MS_NOSUID | MS_NODEV, "size=512k,mode=0755") != 0) {
            m_failure = QStringLiteral("a tmpfs cannot be mounted here: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
            return;
        }
        m_mounted = true;
        const QByteArray tmp = QFile::encodeName(TemporaryFolder());
        if (::mkdir(tmp.constData(), 0700) != 0 || ::chown(tmp.constData(), NobodyRun::Uid, NobodyRun::Gid) != 0) {
            m_failure = QStringLiteral("the folder for nobody cannot be made on the small file system");
            return;
        }
        const QByteArray filler = QFile::encodeName(m_mountPoint.filePath(QStringLiteral("filler")));
        const int fd = ::open(filler.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        const QByteArray block(4096, 'f');
        off_t size = 0;
        while (fd >= 0 && ::write(fd, block.constData(), size_t(block.size())) == block.size())
            size += block.size();
        if (fd < 0 || errno != ENOSPC || ::ftruncate(fd, std::max<off_t>(0, size - free)) != 0)
            m_failure = QStringLiteral("the small file system cannot be filled");
        if (fd >= 0)
            ::close(fd);
    }
    ~SmallFileSystem()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_mountPoint.path()).constData(), MNT_DETACH);
    }
    SmallFileSystem(const SmallFileSystem &) = delete;
    SmallFileSystem &operator=(const SmallFileSystem &) = delete;

    QString Failure() const { return m_failure; }
    // nobody's folder on it, without the '/' at the end.
    QString TemporaryFolder() const { return m_mountPoint.filePath(QStringLiteral("tmp")); }

private:
    QTemporaryDir m_mountPoint;
    bool m_mounted = false;
    QString m_failure;
};
