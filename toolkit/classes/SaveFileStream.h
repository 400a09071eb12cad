#pragma once

// A file written under a temporary name beside the file it is to become.
// Commit moves it into place; a stream freed without Commit deletes what it
// wrote, so a failed or cancelled write leaves the old file (or the absence
// of one) exactly as it was.  The temporary file is renamed and removed
// through the folder it was made in, so nothing is left in that folder
// when it is renamed meanwhile; and it is not moved into a folder put in
// the place of that one.
//
// Where no file can be made beside it (a folder the user may not write) but
// the file itself may be written, the stream is written to a temporary file
// of the system's temporary folder and Commit copies it over the file in
// place, through the file's folder as it was when the stream was made and
// only while that folder still stands at its name.  The copy holds an
// advisory lock on the file, so two saves in place do not write it at once:
// the second waits a few seconds for the first, then fails.  The old
// content is copied aside first and put back when that copy fails part
// way; only where even that fails does the target stay cut, and the error
// then names the temporary files that hold both versions.  What the
// temporary folder cannot hold (the new content or the old one's copy) is
// an error that names that folder and its own reason; a target that is not
// a regular file (a folder, a pipe, a link put in its place) is not
// written.
//
// Temporary names are hidden and start with the file's name, cut where the
// folder's limit on names needs it.

#include "toolkit/classes/Streams.h"

// Whether fileName is an existing file the stream refuses to replace as
// read-only, and the message that refuses it.
bool IsReadOnlyFile(const QString &fileName);
QString ReadOnlyFileMessage(const QString &fileName);

class TSaveFileStream : public TFileStream
{
    Q_OBJECT

public:
    // Creates the temporary file in fileName's folder, with the permissions
    // the file has now (or those of a new file).  A symbolic link stays: the
    // file it points to is replaced, but only where the kernel would follow
    // the link (not another user's link in a sticky world-writable folder).
    // Raises EFCreateError naming fileName and the reason, also for an
    // empty name and for a file that is read-only (no write permission for
    // the user, or none at all for the superuser): such a file is never
    // replaced.
    explicit TSaveFileStream(const QString &fileName);
    ~TSaveFileStream() override;

    // The absolute name the file gets on Commit.
    const QString &TargetName() const { return m_targetName; }
    bool Committed() const { return m_committed; }

    // True when Commit writes over TargetName in place instead of renaming.
    bool InPlace() const { return m_inPlace; }

    // Writes the file through to the disk and renames it to TargetName (or
    // copies it there in place), replacing what was there.  Raises
    // EFCreateError or EWriteError when that fails, with the old file kept
    // and the temporary file deleted; but when a copy in place failed and
    // the old content could not be put back, the temporary file and a copy
    // of the old content are kept and the EWriteError names both.  A
    // temporary file that cannot be deleted is named by the error too.
    // Writing after Commit raises EWriteError.
    void Commit();

    // Writes all of buffer or raises EWriteError naming the file and the
    // reason (a full disk, a file-size limit ...).
    qint64 Write(const void *buffer, qint64 count) override;

private:
    struct Placement;
    explicit TSaveFileStream(const Placement &placement);
    static Placement placementFor(const QString &fileName);
    int openLockedTarget(QString &failure) const;
    void copyIntoTarget();
    QString renameIntoPlace();
    bool removeTemporary();

    QString m_targetName;
    // The target's folder as it was when the stream was made, and the
    // folder the temporary file was made in: the same one beside the
    // target.
    int m_targetFolder = -1;
    int m_temporaryFolder = -1;
    bool m_inPlace = false;
    bool m_committed = false;
    // The temporary file holds the only whole copy of the new content.
    bool m_temporaryKept = false;
};
