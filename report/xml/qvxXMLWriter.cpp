#include "report/xml/qvxXMLWriter.h"

#include "report/xml/qvxXMLEscape.h"
#include "report/xml/qvxXMLItem.h"
#include "report/xml/qvxXMLReader.h"
#include "toolkit/classes/Streams.h"

namespace {

constexpr int FlushThreshold = 4096;

} // namespace

TqvxXMLWriter::TqvxXMLWriter(TStream *stream) : m_stream(stream)
{
    // Room for a flush's worth and the line that passes it.
    m_buffer.reserve(2 * FlushThreshold);
}

void TqvxXMLWriter::WriteHeader()
{
    writeLine(QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>"), 0);
}

void TqvxXMLWriter::WriteRootItem(TqvxXMLItem *item)
{
    writeItem(item, 0);
    Flush();
}

void TqvxXMLWriter::Flush()
{
    if (m_buffer.isEmpty())
        return;
    m_stream->WriteBuffer(m_buffer.toUtf8());
    // Emptied, the buffer keeps its room.
    m_buffer.resize(0);
}

void TqvxXMLWriter::startLine(int level)
{
    if (m_autoIndent)
        m_buffer.append(QString(level * 2, QLatin1Char(' ')));
}

void TqvxXMLWriter::endLine()
{
    if (m_autoIndent)
        m_buffer.append(QLatin1String("\r\n"));
    if (m_buffer.size() > FlushThreshold)
        Flush();
}

void TqvxXMLWriter::writeLine(const QString &line, int level)
{
    startLine(level);
    m_buffer.append(line);
    endLine();
}

void TqvxXMLWriter::writeItem(TqvxXMLItem *item, int level)
{
    bool swappedIn = false;
    if (item->Unloadable() && !item->Loaded() && m_swapStream) {
        if (TStream *source = m_swapStream(item)) {
            TqvxXMLReader reader(source);
            reader.ReloadItem(item);
            swappedIn = true;
        }
    }

    // The opening tag: its name, then its attribute text after a blank,
    // and the marker of an element that can be swapped out.
    startLine(level);
    m_buffer.append(QLatin1Char('<'));
    m_buffer.append(item->Name());
    if (!item->Text().isEmpty() || item->Unloadable()) {
        if (!item->Text().startsWith(QLatin1Char(' ')))
            m_buffer.append(QLatin1Char(' '));
        m_buffer.append(item->Text());
        if (item->Unloadable())
            m_buffer.append(QLatin1String(" ld=\"0\""));
    }
    if (item->Count() > 0) {
        m_buffer.append(QLatin1Char('>'));
        endLine();
        for (int i = 0; i < item->Count(); ++i) {
            if (!item->Compacted(i) || !m_swapStream) {
                writeItem(item->Items(i), level + 1);
                continue;
            }
            // A child kept as its offset alone is read back whole into a
            // scratch element; the list keeps only the offset.
            const TqvxXMLItem::Slot slot = item->m_items[std::size_t(i)];
            TqvxXMLItem scratch;
            scratch.SetUnloadable(true);
            scratch.SetLoaded(false);
            scratch.SetOffset(TqvxXMLItem::slotOffset(slot));
            scratch.SetOffsetSource(TqvxXMLItem::slotSource(slot));
            writeItem(&scratch, level + 1);
        }
        startLine(level);
        m_buffer.append(QLatin1String("</"));
        m_buffer.append(item->Name());
        m_buffer.append(QLatin1Char('>'));
    } else if (!item->Value().isEmpty()) {
        m_buffer.append(QLatin1Char('>'));
        m_buffer.append(qvxXMLEncode(item->Value()));
        m_buffer.append(QLatin1String("</"));
        m_buffer.append(item->Name());
        m_buffer.append(QLatin1Char('>'));
    } else {
        m_buffer.append(QLatin1String("/>"));
    }
    endLine();

    if (swappedIn)
        item->Clear();
}
