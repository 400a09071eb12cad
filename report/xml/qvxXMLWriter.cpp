#include "report/xml/qvxXMLWriter.h"

#include "report/xml/qvxXMLEscape.h"
#include "report/xml/qvxXMLItem.h"
#include "report/xml/qvxXMLReader.h"
#include "toolkit/classes/Streams.h"

namespace {

constexpr int FlushThreshold = 4096;

QString openingText(const TqvxXMLItem *item)
{
    QString text = QLatin1Char('<') + item->Name();
    if (item->Text().isEmpty() && !item->Unloadable())
        return text;
    if (!item->Text().startsWith(QLatin1Char(' ')))
        text += QLatin1Char(' ');
    text += item->Text();
    if (item->Unloadable())
        text += QLatin1String(" ld=\"0\"");
    return text;
}

} // namespace

TqvxXMLWriter::TqvxXMLWriter(TStream *stream) : m_stream(stream) {}

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
    m_buffer.clear();
}

void TqvxXMLWriter::writeLine(const QString &line, int level)
{
    if (m_autoIndent) {
        m_buffer += QString(level * 2, QLatin1Char(' '));
        m_buffer += line;
        m_buffer += QLatin1String("\r\n");
    } else {
        m_buffer += line;
    }
    if (m_buffer.size() > FlushThreshold)
        Flush();
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

    const QString opening = openingText(item);
    if (item->Count() > 0) {
        writeLine(opening + QLatin1Char('>'), level);
        for (int i = 0; i < item->Count(); ++i)
            writeItem(item->Items(i), level + 1);
        writeLine(QLatin1String("</") + item->Name() + QLatin1Char('>'), level);
    } else if (!item->Value().isEmpty()) {
        writeLine(opening + QLatin1Char('>') + qvxXMLEncode(item->Value()) + QLatin1String("</")
                      + item->Name() + QLatin1Char('>'),
                  level);
    } else {
        writeLine(opening + QLatin1String("/>"), level);
    }

    if (swappedIn)
        item->Clear();
}
