#pragma once

// A file written under a temporary name beside the file it is to become.
// Commit moves it into place; a stream freed without Commit deletes what it
// wrote, so a failed or cancelled write leaves the old file (or the absence
// of one) exactly as it was.

#include "toolkit/classes/Streams.h"

class TSaveFileStream : public TFileStream
{
    Q_OBJECT

public:
    // Creates the temporary file in fileName's folder, with the permissions
    // the file has now (or those of a new file).  A symbolic link stays: the
    // file it points to is replaced, but only where the kernel would follow
    // the link (not another user's link in a sticky world-writable folder).
    // Raises EFCreateError naming fileName and the reason, also for an
    // empty name.
    explicit TSaveFileStream(const QString &fileName);
    ~TSaveFileStream() override;

    // The absolute name the file gets on Commit.
    const QString &TargetName() const { return m_targetName; }
    bool Committed() const { return m_committed; }

    // Writes the file through to the disk and renames it to TargetName,
    // replacing what was there.  Raises EFCreateError when that fails; the
    // temporary file is then deleted.  Writing after Commit raises
    // EWriteError.
    void Commit();

    // Writes all of buffer or raises EWriteError naming the file and the
    // reason (a full disk, a file-size limit ...).
    qint64 Write(const void *buffer, qint64 count) override;

private:
    TSaveFileStream(const QString &fileName, const QString &target);

    QString m_targetName;
    bool m_committed = false;
};
