#include "report/xml/qvxXMLReader.h"

#include "report/xml/qvxXMLItem.h"
#include "toolkit/classes/Streams.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

namespace {

constexpr int BufferSize = 4096;
// The room of a long tag is given back once it is read.
constexpr std::size_t MaxKeptTagRoom = 64 * 1024;
// Report and prepared-page files nest a few levels deep; anything near this
// is hostile input and would otherwise exhaust the stack.
constexpr int MaxDepth = 256;

const QLatin1StringView UnloadedMarker(" ld=\"0\"");

// Where the marker starts in the text, letter case ignored; -1 when absent.
qsizetype unloadedMarker(QStringView text)
{
    const qsizetype last = text.size() - UnloadedMarker.size();
    for (qsizetype i = 0; i <= last; ++i) {
        if (text[i] != QLatin1Char(' ') || (text[i + 1].unicode() | 0x20) != 'l')
            continue;
        if (text.mid(i, UnloadedMarker.size()).compare(UnloadedMarker, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

} // namespace

TqvxXMLReader::TqvxXMLReader(TStream *stream)
    : m_stream(stream), m_size(stream->Size()), m_position(stream->Position())
{
}

TqvxXMLReader::~TqvxXMLReader()
{
    m_stream->SetPosition(m_position);
}

void TqvxXMLReader::fail()
{
    throw TqvxInvalidXMLException(QStringLiteral("Invalid file format"));
}

void TqvxXMLReader::SetPosition(qint64 position)
{
    m_bufferIndex = 0;
    m_bufferEnd = 0;
    m_position = position;
}

bool TqvxXMLReader::refill()
{
    if (m_position >= m_size)
        return false;
    // One buffer serves every refill.
    if (m_buffer.size() != BufferSize)
        m_buffer.resize(BufferSize);
    m_stream->SetPosition(m_position);
    const qint64 read = m_stream->Read(m_buffer.data(), qMin<qint64>(BufferSize, m_size - m_position));
    m_bufferIndex = 0;
    m_bufferEnd = int(qMax<qint64>(read, 0));
    return m_bufferEnd > 0;
}

qint64 TqvxXMLReader::bytesToTagEnd()
{
    // A '<' ends the look as well: the tag is malformed there.
    const auto tagEnd = [](const char *begin, const char *end) {
        const char *found = std::find_if(begin, end, [](char c) { return c == '>' || c == '<'; });
        return found == end ? -1 : found - begin + 1;
    };
    const char *begin = m_buffer.constData() + m_bufferIndex;
    qint64 count = m_bufferEnd - m_bufferIndex;
    if (const qint64 end = tagEnd(begin, begin + count); end >= 0)
        return end;
    // Beyond the buffer, chunks read for the look only.
    qint64 position = m_position + count;
    char chunk[BufferSize];
    m_stream->SetPosition(position);
    while (position < m_size) {
        const qint64 read = m_stream->Read(chunk, qMin<qint64>(BufferSize, m_size - position));
        if (read <= 0)
            break;
        if (const qint64 end = tagEnd(chunk, chunk + read); end >= 0)
            return count + end;
        count += read;
        position += read;
    }
    return count;
}

int TqvxXMLReader::nextByte()
{
    if (m_bufferIndex >= m_bufferEnd && !refill())
        return -1;
    ++m_position;
    return static_cast<unsigned char>(m_buffer.constData()[m_bufferIndex++]);
}

void TqvxXMLReader::skipComment()
{
    int dashes = 0;
    for (;;) {
        const int c = nextByte();
        if (c < 0)
            fail();
        if (c == '>' && dashes >= 2)
            return;
        dashes = c == '-' ? dashes + 1 : 0;
    }
}

void TqvxXMLReader::ReadItem(QString &name, QString &text)
{
    name.clear();
    text.clear();
    std::string &tag = m_tag;
    for (;;) {
        int c;
        do
            c = nextByte();
        while (c >= 0 && c != '<');
        if (c < 0)
            return;

        tag.clear();
        bool comment = false;
        bool closed = false;
        // The first bytes one by one: they may open a comment.
        while (tag.size() < 3) {
            c = nextByte();
            if (c < 0 || c == '<')
                fail();
            if (c == '>') {
                closed = true;
                break;
            }
            tag += char(c);
            if (tag.size() == 3 && tag == "!--") {
                skipComment();
                comment = true;
            }
        }
        if (comment)
            continue;
        // The rest of the tag a buffer at a time, into room made for all of
        // it at once: a long text grown step by step holds its old and new
        // room together.
        if (!closed)
            tag.reserve(tag.size() + std::size_t(bytesToTagEnd()));
        while (!closed) {
            if (m_bufferIndex >= m_bufferEnd && !refill())
                fail();
            const char *begin = m_buffer.constData() + m_bufferIndex;
            const char *end = m_buffer.constData() + m_bufferEnd;
            const auto *close = static_cast<const char *>(std::memchr(begin, '>', size_t(end - begin)));
            const char *stop = close ? close : end;
            if (std::memchr(begin, '<', size_t(stop - begin)))
                fail();
            tag.append(begin, stop);
            const int consumed = int(stop - begin) + (close ? 1 : 0);
            m_bufferIndex += consumed;
            m_position += consumed;
            closed = close != nullptr;
        }
        break;
    }

    if (!tag.empty() && tag.back() == ' ')
        tag.pop_back();
    // A blank is never part of a longer UTF-8 sequence: the bytes split
    // where the text would.
    const size_t blank = tag.find(' ');
    if (blank == std::string::npos) {
        name = tagName(tag.data(), tag.size());
    } else {
        name = tagName(tag.data(), blank);
        text = QString::fromUtf8(tag.data() + blank + 1, qsizetype(tag.size() - blank - 1));
    }
    if (tag.capacity() > MaxKeptTagRoom)
        std::string().swap(tag);
}

QString TqvxXMLReader::tagName(const char *bytes, std::size_t size)
{
    for (const NameEntry &entry : m_names)
        if (entry.bytes.size() == size && std::memcmp(entry.bytes.data(), bytes, size) == 0)
            return entry.name;
    NameEntry &entry = m_names[m_nextName++ % m_names.size()];
    entry.bytes.assign(bytes, size);
    entry.name = QString::fromUtf8(bytes, qsizetype(size));
    return entry.name;
}

void TqvxXMLReader::ReadHeader()
{
    QString name;
    QString text;
    ReadItem(name, text);
    if (!name.startsWith(QLatin1String("?xml")))
        fail();
    QString version;
    const int at = text.indexOf(QLatin1String("version="));
    if (at >= 0)
        version = text.mid(at + 9, 3);
    m_oldVersion = version == QLatin1String("1.0") && !text.contains(QLatin1String("standalone="));
}

bool TqvxXMLReader::ReadRootItem(TqvxXMLItem *item, bool loadAll)
{
    return readRootItem(item, loadAll, 0);
}

void TqvxXMLReader::ReloadItem(TqvxXMLItem *item)
{
    SetPosition(qint64(item->GetOffset()));
    try {
        if (!ReadRootItem(item, true))
            fail();
    } catch (...) {
        // Nothing half-read stays behind to be doubled by the next attempt.
        item->Clear();
        throw;
    }
}

void TqvxXMLReader::ReadTag(TqvxXMLItem *item)
{
    SetPosition(qint64(item->GetOffset()));
    QString name;
    QString text;
    ReadItem(name, text);
    if (name.isEmpty() || name.startsWith(QLatin1Char('/')))
        fail();
    if (name.endsWith(QLatin1Char('/')))
        name.chop(1);
    else if (text.endsWith(QLatin1Char('/')))
        text.chop(1);
    item->SetName(name);
    item->SetText(text);
    // Only swapped-out elements are read this way: they carry the marker.
    if (!takeMarker(item))
        fail();
    item->SetUnloadable(true);
    item->SetLoaded(false);
    item->m_tagChanged = false;
}

QByteArray TqvxXMLReader::ReadElementBytes(std::uint64_t offset)
{
    const qint64 start = qint64(offset);
    QByteArray bytes;
    qsizetype scanned = 0;
    int depth = 0;
    for (;;) {
        // The whole tags read so far; a tag cut off waits for more bytes.
        for (;;) {
            const qsizetype open = bytes.indexOf('<', scanned);
            if (open < 0) {
                scanned = bytes.size();
                break;
            }
            const bool comment = QByteArrayView(bytes).sliced(open + 1).startsWith("!--");
            const qsizetype close = comment ? bytes.indexOf("-->", open + 4) : bytes.indexOf('>', open + 1);
            if (close < 0) {
                scanned = open;
                break;
            }
            if (comment) {
                scanned = close + 3;
                continue;
            }
            const QByteArrayView tag = QByteArrayView(bytes).sliced(open + 1, close - open - 1);
            if (tag.contains('<'))
                fail();
            scanned = close + 1;
            if (tag.startsWith('?') || tag.startsWith('!'))
                continue;
            if (tag.startsWith('/')) {
                if (depth == 0)
                    fail();
                --depth;
            } else if (!tag.endsWith('/')) {
                ++depth;
            }
            if (depth == 0) {
                bytes.truncate(scanned);
                SetPosition(start + scanned);
                return bytes;
            }
        }
        if (!appendChunk(start + bytes.size(), bytes))
            fail();
    }
}

bool TqvxXMLReader::appendChunk(qint64 position, QByteArray &bytes)
{
    // Elements read whole are pages of a few to some tens of kilobytes.
    constexpr qint64 ChunkSize = 16384;
    const qint64 size = qMin(ChunkSize, m_size - position);
    if (size <= 0)
        return false;
    const qsizetype kept = bytes.size();
    bytes.resize(kept + size);
    m_stream->SetPosition(position);
    const qint64 read = qMax<qint64>(m_stream->Read(bytes.data() + kept, size), 0);
    bytes.truncate(kept + read);
    return read > 0;
}

bool TqvxXMLReader::takeMarker(TqvxXMLItem *item)
{
    const qsizetype marker = unloadedMarker(item->Text());
    if (marker < 0)
        return false;
    QString text = item->Text();
    item->SetText(text.remove(marker, UnloadedMarker.size()));
    return true;
}

bool TqvxXMLReader::readRootItem(TqvxXMLItem *item, bool loadAll, int depth)
{
    if (depth > MaxDepth)
        fail();
    const qint64 start = m_position;

    QString name;
    QString text;
    ReadItem(name, text);
    const bool reloading = !item->Name().isEmpty();
    m_lastTagName = name;
    if (name.startsWith(QLatin1Char('/')) && depth == 0)
        fail();
    if (name.isEmpty() || name.startsWith(QLatin1Char('/')))
        return false;

    if (name.endsWith(QLatin1Char('/'))) {
        name.chop(1);
    } else if (text.endsWith(QLatin1Char('/'))) {
        text.chop(1);
    } else {
        for (;;) {
            auto child = std::make_unique<TqvxXMLItem>();
            if (!readRootItem(child.get(), loadAll, depth + 1))
                break;
            item->AddItem(child.release());
        }
        // A stream that ends here has lost its closing tags.
        if (m_lastTagName.size() != name.size() + 1 || m_lastTagName.front() != QLatin1Char('/')
            || QStringView(m_lastTagName).mid(1).compare(name, Qt::CaseInsensitive) != 0)
            fail();
    }
    if (!reloading) {
        item->SetName(name);
        item->SetText(text);
        // The tag is as the stream holds it (the marker aside).
        item->m_tagChanged = false;
    }

    const bool tagChanged = item->m_tagChanged;
    if (!takeMarker(item))
        return true;
    item->m_tagChanged = tagChanged;
    // Fully loaded, the element can still be swapped out (and is written
    // with its marker again).
    item->SetUnloadable(true);
    if (!loadAll) {
        item->Clear();
        item->SetOffset(quint64(start));
        item->SetOffsetSource(TqvxXMLItem::OffsetSource::SourceStream);
    }
    return true;
}
