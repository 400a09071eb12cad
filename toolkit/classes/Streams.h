#pragma once

// Byte streams: the abstract TStream with its position and size, the memory
// stream, the file stream, the string stream and a bounded view over a part
// of another stream.  Positions, sizes and counts are 64-bit throughout.

#include "toolkit/classes/TObject.h"

#include <QByteArray>
#include <QString>

enum TSeekOrigin { soBeginning = 0, soCurrent = 1, soEnd = 2 };

// The classic integer spellings of the seek origins.
constexpr int soFromBeginning = 0;
constexpr int soFromCurrent = 1;
constexpr int soFromEnd = 2;

// File modes of TFileStream: one access mode, optionally added to one share
// mode.  Share modes are accepted and ignored: Linux has no mandatory locks.
constexpr quint32 fmCreate = 0xFFFF;
constexpr quint32 fmOpenRead = 0;
constexpr quint32 fmOpenWrite = 1;
constexpr quint32 fmOpenReadWrite = 2;
constexpr quint32 fmShareExclusive = 0x10;
constexpr quint32 fmShareDenyWrite = 0x20;
constexpr quint32 fmShareDenyNone = 0x40;

class TStream : public TObject
{
    Q_OBJECT

public:
    // Reads or writes up to count bytes at the position and moves past them;
    // returns the number of bytes actually moved (0 at the end).
    virtual qint64 Read(void *buffer, qint64 count) = 0;
    virtual qint64 Write(const void *buffer, qint64 count) = 0;

    // Moves the position and returns the new one.  A position past the end
    // is allowed; writing there fills the gap with zero bytes.  Before the
    // beginning nothing is read or written.
    virtual qint64 Seek(qint64 offset, TSeekOrigin origin) = 0;

    // Exactly count bytes, or EReadError / EWriteError.
    void ReadBuffer(void *buffer, qint64 count);
    void WriteBuffer(const void *buffer, qint64 count);
    void WriteBuffer(const QByteArray &bytes) { WriteBuffer(bytes.constData(), bytes.size()); }

    // Copies count bytes from the source's position; count 0 copies the
    // whole source from its beginning, a negative count nothing.  Returns
    // the number of bytes copied; a source that ends too soon raises
    // EReadError.
    qint64 CopyFrom(TStream *source, qint64 count);

    // Up to count bytes from the position (fewer at the end).
    QByteArray ReadBytes(qint64 count);
    // Everything from the position to the end.
    QByteArray ReadToEnd() { return ReadBytes(Size()); }

    qint64 Position() { return Seek(0, soCurrent); }
    void SetPosition(qint64 position) { Seek(position, soBeginning); }

    virtual qint64 Size();
    // Cuts or extends the stream; the base class cannot (EStreamError).
    virtual void SetSize(qint64 size);
};

// A stream held in memory, of at most 2 GiB - 1 bytes (growing beyond raises
// EStreamError).  The bytes are reachable directly through Memory().
class TMemoryStream : public TStream
{
    Q_OBJECT

public:
    qint64 Read(void *buffer, qint64 count) override;
    qint64 Write(const void *buffer, qint64 count) override;
    qint64 Seek(qint64 offset, TSeekOrigin origin) override;
    qint64 Size() override { return m_data.size(); }
    // New bytes are zero; the position stays, also when it is now past the end.
    void SetSize(qint64 size) override;

    char *Memory() { return m_data.data(); }
    const char *Memory() const { return m_data.constData(); }
    const QByteArray &Bytes() const { return m_data; }

    // Empties the stream and rewinds it.
    void Clear();

    // Replaces the content by the whole of the source stream (read from its
    // beginning) or of the file; the position is 0 afterwards.
    void LoadFromStream(TStream *source);
    void LoadFromFile(const QString &fileName);
    // Writes the whole content to the target at the target's position, or
    // to the file, which is replaced only once it is complete (see SaveFile).
    void SaveToStream(TStream *target) const;
    void SaveToFile(const QString &fileName) const;

protected:
    QByteArray m_data;
    qint64 m_position = 0;
};

// A memory stream built from, and read back as, UTF-8 text.
class TStringStream : public TMemoryStream
{
    Q_OBJECT

public:
    explicit TStringStream(const QString &text = QString());

    QString DataString() const { return QString::fromUtf8(m_data); }
};

// A stream over an open file.
class TFileStream : public TStream
{
    Q_OBJECT

public:
    // Mode is fmCreate (create or truncate, then read and write) or one of
    // fmOpenRead, fmOpenWrite, fmOpenReadWrite, each optionally added to a
    // share mode.  fmCreate added to a share mode still creates, also when
    // the sum was cut to 16 bits on the way.  Raises EFCreateError or
    // EFOpenError with the system's reason.
    TFileStream(const QString &fileName, quint32 mode);
    ~TFileStream() override;

    qint64 Read(void *buffer, qint64 count) override;
    qint64 Write(const void *buffer, qint64 count) override;
    qint64 Seek(qint64 offset, TSeekOrigin origin) override;
    qint64 Size() override;
    void SetSize(qint64 size) override;

    const QString &FileName() const { return m_fileName; }
    // The open file's descriptor.
    int Handle() const { return m_fd; }

protected:
    // Takes over handle, a descriptor of fileName opened for reading and
    // writing; it is closed with the stream.
    TFileStream(int handle, const QString &fileName);

private:
    QString m_fileName;
    int m_fd = -1;
};

// A read-only window of length bytes of another stream, starting at offset.
// Position 0 of the view is the offset in the base; the view ends at its
// length even when the base goes on, so a reader that measures the stream
// sees only the window.  The base stream is not owned and must outlive the
// view; the view moves the base's position as it reads.
class TSubStream : public TStream
{
    Q_OBJECT

public:
    TSubStream(TStream *base, qint64 offset, qint64 length);

    qint64 Read(void *buffer, qint64 count) override;
    // Always 0: the view never writes to its base.
    qint64 Write(const void *buffer, qint64 count) override;
    qint64 Seek(qint64 offset, TSeekOrigin origin) override;
    qint64 Size() override { return m_length; }

private:
    TStream *m_base;
    qint64 m_offset;
    qint64 m_length;
    qint64 m_position = 0;
};

// Unit initialisation: registers the stream classes by name (TFileStream is
// made from a file name and a mode).
void InitializeStreams();
