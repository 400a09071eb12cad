#include "report/xml/qvxXMLReader.h"

#include "report/xml/qvxXMLItem.h"
#include "toolkit/classes/Streams.h"

#include <memory>

namespace {

constexpr int BufferSize = 4096;
// Report and prepared-page files nest a few levels deep; anything near this
// is hostile input and would otherwise exhaust the stack.
constexpr int MaxDepth = 256;

const QLatin1StringView UnloadedMarker(" ld=\"0\"");

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
    m_buffer.clear();
    m_bufferIndex = 0;
    m_position = position;
}

int TqvxXMLReader::nextByte()
{
    if (m_bufferIndex >= m_buffer.size()) {
        if (m_position >= m_size)
            return -1;
        m_stream->SetPosition(m_position);
        m_buffer = m_stream->ReadBytes(qMin<qint64>(BufferSize, m_size - m_position));
        m_bufferIndex = 0;
        if (m_buffer.isEmpty())
            return -1;
    }
    ++m_position;
    return static_cast<unsigned char>(m_buffer[m_bufferIndex++]);
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
    QByteArray tag;
    for (;;) {
        int c;
        do
            c = nextByte();
        while (c >= 0 && c != '<');
        if (c < 0)
            return;

        tag.clear();
        bool comment = false;
        for (;;) {
            c = nextByte();
            if (c < 0 || c == '<')
                fail();
            if (c == '>')
                break;
            tag += char(c);
            if (tag.size() == 3 && tag == "!--") {
                skipComment();
                comment = true;
                break;
            }
        }
        if (!comment)
            break;
    }

    if (tag.endsWith(' '))
        tag.chop(1);
    const QString whole = QString::fromUtf8(tag);
    const int blank = whole.indexOf(QLatin1Char(' '));
    if (blank < 0) {
        name = whole;
    } else {
        name = whole.left(blank);
        text = whole.mid(blank + 1);
    }
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
        if (m_lastTagName.isEmpty()
            || m_lastTagName.compare(QLatin1Char('/') + name, Qt::CaseInsensitive) != 0)
            fail();
    }
    if (!reloading) {
        item->SetName(name);
        item->SetText(text);
    }

    QString ownText = item->Text();
    const int marker = ownText.indexOf(UnloadedMarker, 0, Qt::CaseInsensitive);
    if (marker < 0)
        return true;
    item->SetText(ownText.remove(marker, UnloadedMarker.size()));
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
