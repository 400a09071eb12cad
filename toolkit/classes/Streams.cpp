#include "toolkit/classes/Streams.h"

#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/core/Files.h"
#include "toolkit/core/SystemErrors.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The bytes CopyFrom moves at a time.
constexpr qint64 CopyChunk = 64 * 1024;

// A memory stream stays within the 32-bit sizes that its users store.
constexpr qint64 MaxMemorySize = 0x7FFFFFFF;

qint64 seekTarget(qint64 offset, TSeekOrigin origin, qint64 position, qint64 size)
{
    switch (origin) {
    case soCurrent:
        return position + offset;
    case soEnd:
        return size + offset;
    default:
        return offset;
    }
}

} // namespace

// ---------------------------------------------------------------- TStream

void TStream::ReadBuffer(void *buffer, qint64 count)
{
    if (count != 0 && Read(buffer, count) != count)
        throw EReadError(tr("Stream read error"));
}

void TStream::WriteBuffer(const void *buffer, qint64 count)
{
    if (count != 0 && Write(buffer, count) != count)
        throw EWriteError(tr("Stream write error"));
}

qint64 TStream::CopyFrom(TStream *source, qint64 count)
{
    if (count == 0) {
        source->SetPosition(0);
        count = source->Size();
    }
    if (count < 0)
        return 0;
    QByteArray chunk(std::min(count, CopyChunk), Qt::Uninitialized);
    for (qint64 left = count; left > 0;) {
        const qint64 n = std::min(left, CopyChunk);
        source->ReadBuffer(chunk.data(), n);
        WriteBuffer(chunk.constData(), n);
        left -= n;
    }
    return count;
}

QByteArray TStream::ReadBytes(qint64 count)
{
    // Never reserve more than the stream still holds.
    count = std::min(count, Size() - Position());
    if (count <= 0)
        return {};
    QByteArray bytes(count, Qt::Uninitialized);
    bytes.truncate(Read(bytes.data(), count));
    return bytes;
}

qint64 TStream::Size()
{
    const qint64 position = Seek(0, soCurrent);
    const qint64 size = Seek(0, soEnd);
    Seek(position, soBeginning);
    return size;
}

void TStream::SetSize(qint64)
{
    throw EStreamError(QStringLiteral("The size of this stream cannot be changed"));
}

// ---------------------------------------------------------- TMemoryStream

qint64 TMemoryStream::Read(void *buffer, qint64 count)
{
    if (count <= 0 || m_position < 0 || m_position >= m_data.size())
        return 0;
    const qint64 n = std::min(count, m_data.size() - m_position);
    std::memcpy(buffer, m_data.constData() + m_position, n);
    m_position += n;
    return n;
}

qint64 TMemoryStream::Write(const void *buffer, qint64 count)
{
    if (count <= 0 || m_position < 0)
        return 0;
    const qint64 end = m_position + count;
    if (end > m_data.size())
        SetSize(end);
    std::memcpy(m_data.data() + m_position, buffer, count);
    m_position = end;
    return count;
}

qint64 TMemoryStream::Seek(qint64 offset, TSeekOrigin origin)
{
    m_position = seekTarget(offset, origin, m_position, m_data.size());
    return m_position;
}

void TMemoryStream::SetSize(qint64 size)
{
    if (size > MaxMemorySize)
        throw EStreamError(QStringLiteral("Out of memory while expanding memory stream"));
    m_data.resize(std::max<qint64>(size, 0), '\0');
}

void TMemoryStream::Clear()
{
    m_data.clear();
    m_position = 0;
}

void TMemoryStream::LoadFromStream(TStream *source)
{
    source->SetPosition(0);
    const qint64 size = source->Size();
    if (size > MaxMemorySize)
        throw EStreamError(QStringLiteral("Out of memory while expanding memory stream"));
    QByteArray data(size, Qt::Uninitialized);
    source->ReadBuffer(data.data(), size);
    m_data = data;
    m_position = 0;
}

void TMemoryStream::LoadFromFile(const QString &fileName)
{
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&file);
}

void TMemoryStream::SaveToStream(TStream *target) const
{
    target->WriteBuffer(m_data);
}

void TMemoryStream::SaveToFile(const QString &fileName) const
{
    SaveFile(fileName, m_data);
}

// ---------------------------------------------------------- TStringStream

TStringStream::TStringStream(const QString &text)
{
    m_data = text.toUtf8();
}

// ------------------------------------------------------------ TFileStream

namespace {

// fmCreate is all ones in its 16 bits, so adding a share mode to it carries
// out of them; cut back to 16 bits the sum still ends in four one bits,
// which no open mode does.
bool isCreateMode(quint32 mode)
{
    return mode >= fmCreate || (mode & 0xF) == 0xF;
}

// Repeats a read or write call, which is handed the bytes done so far, until
// count bytes are moved, the file ends or the call fails; returns the bytes
// moved.
template <class Transfer>
qint64 repeatTransfer(qint64 count, Transfer transfer)
{
    qint64 done = 0;
    while (done < count) {
        const ssize_t n = transfer(done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += n;
    }
    return done;
}

} // namespace

TFileStream::TFileStream(const QString &fileName, quint32 mode) : m_fileName(fileName)
{
    const QByteArray path = QFile::encodeName(fileName);
    if (isCreateMode(mode)) {
        m_fd = ::open(path.constData(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (m_fd < 0)
            throw EFCreateError(tr("Cannot create file \"%1\". %2").arg(fileName, SystemErrorText(errno)));
        return;
    }
    int flags = O_CLOEXEC;
    switch (mode & 3) {
    case fmOpenRead:
        flags |= O_RDONLY;
        break;
    case fmOpenWrite:
        flags |= O_WRONLY;
        break;
    case fmOpenReadWrite:
        flags |= O_RDWR;
        break;
    default:
        throw EFOpenError(QStringLiteral("Cannot open file \"%1\". Invalid file mode %2").arg(fileName).arg(mode));
    }
    m_fd = ::open(path.constData(), flags);
    if (m_fd < 0)
        throw EFOpenError(tr("Cannot open file \"%1\". %2").arg(fileName, SystemErrorText(errno)));
    struct stat info;
    if (::fstat(m_fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(m_fd);
        m_fd = -1;
        throw EFOpenError(tr("Cannot open file \"%1\". %2").arg(fileName, SystemErrorText(EISDIR)));
    }
}

TFileStream::TFileStream(int handle, const QString &fileName) : m_fileName(fileName), m_fd(handle)
{
}

TFileStream::~TFileStream()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

qint64 TFileStream::Read(void *buffer, qint64 count)
{
    return repeatTransfer(count, [&](qint64 done) {
        return ::read(m_fd, static_cast<char *>(buffer) + done, count - done);
    });
}

qint64 TFileStream::Write(const void *buffer, qint64 count)
{
    return repeatTransfer(count, [&](qint64 done) {
        return ::write(m_fd, static_cast<const char *>(buffer) + done, count - done);
    });
}

qint64 TFileStream::Seek(qint64 offset, TSeekOrigin origin)
{
    const int whence = origin == soCurrent ? SEEK_CUR : origin == soEnd ? SEEK_END : SEEK_SET;
    const off_t position = ::lseek(m_fd, offset, whence);
    if (position < 0)
        throw EStreamError(tr("Cannot seek in file \"%1\". %2").arg(m_fileName, SystemErrorText(errno)));
    return position;
}

qint64 TFileStream::Size()
{
    struct stat info;
    if (::fstat(m_fd, &info) != 0)
        return 0;
    return info.st_size;
}

void TFileStream::SetSize(qint64 size)
{
    if (::ftruncate(m_fd, size) != 0)
        throw EWriteError(tr("Cannot resize file \"%1\". %2").arg(m_fileName, SystemErrorText(errno)));
}

// ------------------------------------------------------------- TSubStream

TSubStream::TSubStream(TStream *base, qint64 offset, qint64 length)
    : m_base(base), m_offset(offset), m_length(std::max<qint64>(length, 0))
{
}

qint64 TSubStream::Read(void *buffer, qint64 count)
{
    if (count <= 0 || m_position < 0 || m_position >= m_length)
        return 0;
    m_base->SetPosition(m_offset + m_position);
    const qint64 n = m_base->Read(buffer, std::min(count, m_length - m_position));
    m_position += n;
    return n;
}

qint64 TSubStream::Write(const void *, qint64)
{
    return 0;
}

qint64 TSubStream::Seek(qint64 offset, TSeekOrigin origin)
{
    m_position = seekTarget(offset, origin, m_position, m_length);
    return m_position;
}

void InitializeStreams()
{
    RegisterClass<TStream>();
    RegisterClass<TMemoryStream>();
    RegisterClass<TStringStream>();
    ClassFactories fileStream;
    fileStream.createWith = [](const QVariantList &arguments) -> TObject * {
        return new TFileStream(arguments.value(0).toString(), arguments.value(1).toUInt());
    };
    RegisterClass(ClassOf<TFileStream>(), std::move(fileStream));
}
