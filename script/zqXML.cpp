#include "script/zqXML.h"

#include "toolkit/core/CodePages.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/Streams.h"

#include <algorithm>
#include <memory>

namespace {

const char *const invalidFileFormat = "Invalid file format";

// Deeper documents are refused rather than read with unbounded recursion.
constexpr int maxDepth = 2000;

[[noreturn]] void raiseInvalidFormat()
{
    throw Exception(QString::fromLatin1(invalidFileFormat));
}

bool needsReference(const QString &value, qsizetype i)
{
    switch (value[i].unicode()) {
    case 10:
    case 13:
    case '"':
    case '<':
    case '>':
        return true;
    case '&':
        return QStringView(value).mid(i + 1).startsWith(u'#')
               || QStringView(value).mid(i + 1).startsWith(QStringLiteral("quot;"));
    default:
        return false;
    }
}

// The attribute pattern ' NAME="' in upper case; the blank and the quote keep
// "pos" from matching "pos1".
qsizetype findAttribute(const QString &text, const QString &name)
{
    const QString haystack = (u' ' + text).toUpper();
    const QString pattern = (u' ' + name + QStringLiteral("=\"")).toUpper();
    return haystack.indexOf(pattern);
}

} // namespace

QString zqEscapeAttribute(const QString &value)
{
    QString result;
    result.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (needsReference(value, i))
            result += QStringLiteral("&#") + QString::number(value[i].unicode()) + u';';
        else
            result += value[i];
    }
    return result;
}

QString zqDecodeAttribute(const QString &text)
{
    QString result;
    result.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        const QStringView rest = QStringView(text).mid(i);
        if (rest.startsWith(QStringLiteral("&quot;"))) {
            result += u'"';
            i += 6;
            continue;
        }
        if (rest.size() > 3 && rest.startsWith(QStringLiteral("&#"))) {
            qsizetype end = 2;
            int code = 0;
            while (end < rest.size() && rest[end].isDigit() && code <= 255)
                code = code * 10 + (rest[end++].unicode() - '0');
            if (end > 2 && end < rest.size() && rest[end] == u';' && code <= 255) {
                result += Cp1251ToChar(quint8(code));
                i += end + 1;
                continue;
            }
        }
        result += text[i++];
    }
    return result;
}

TzqXMLItem::~TzqXMLItem()
{
    Clear();
    detach();
}

void TzqXMLItem::detach()
{
    if (m_parent)
        m_parent->m_items.removeOne(this);
    m_parent = nullptr;
}

bool TzqXMLItem::isSelfOrAncestor(const TzqXMLItem *item) const
{
    for (const TzqXMLItem *p = this; p; p = p->m_parent) {
        if (p == item)
            return true;
    }
    return false;
}

TzqXMLItem *TzqXMLItem::Add()
{
    auto *item = new TzqXMLItem;
    item->m_parent = this;
    m_items.append(item);
    return item;
}

void TzqXMLItem::AddItem(TzqXMLItem *item)
{
    if (!item)
        throw EInvalidOperation(QStringLiteral("No XML item to add"));
    if (isSelfOrAncestor(item))
        throw EInvalidOperation(QStringLiteral("An XML item cannot contain itself"));
    item->detach();
    item->m_parent = this;
    m_items.append(item);
}

void TzqXMLItem::InsertItem(int index, TzqXMLItem *item)
{
    AddItem(item);
    m_items.move(m_items.size() - 1, std::clamp<qsizetype>(index, 0, m_items.size() - 1));
}

TzqXMLItem *TzqXMLItem::Items(int index) const
{
    if (index < 0 || index >= m_items.size())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
    return m_items[index];
}

int TzqXMLItem::Find(const QString &name) const
{
    for (qsizetype i = 0; i < m_items.size(); ++i) {
        if (m_items[i]->m_name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

TzqXMLItem *TzqXMLItem::FindItem(const QString &name)
{
    const int index = Find(name);
    if (index >= 0)
        return m_items[index];
    TzqXMLItem *item = Add();
    item->m_name = name;
    return item;
}

QString TzqXMLItem::GetProp(const QString &name) const
{
    const qsizetype found = findAttribute(m_text, name);
    if (found < 0)
        return QString();
    // The pattern starts with the blank put in front of the text.
    const qsizetype start = found + name.size() + 2;
    qsizetype end = m_text.indexOf(u'"', start);
    if (end < 0)
        end = m_text.size();
    return zqDecodeAttribute(m_text.mid(start, end - start));
}

void TzqXMLItem::SetProp(const QString &name, const QString &value)
{
    QString attribute = name + QStringLiteral("=\"") + zqEscapeAttribute(value) + u'"';
    qsizetype at = m_text.size();
    const qsizetype found = findAttribute(m_text, name);
    if (found >= 0) {
        at = found;
        const qsizetype valueStart = found + name.size() + 2;
        qsizetype end = m_text.indexOf(u'"', valueStart);
        end = end < 0 ? m_text.size() : end + 1;
        m_text.remove(at, end - at);
    }
    if (at > 0 && m_text[at - 1] != u' ')
        attribute.prepend(u' ');
    m_text.insert(at, attribute);
}

void TzqXMLItem::Clear()
{
    while (!m_items.isEmpty())
        delete m_items.last();
}

void TzqXMLItem::Assign(const TzqXMLItem *item)
{
    // Copy first: the source may be one of the children about to be freed.
    std::unique_ptr<TzqXMLItem> copy;
    if (item) {
        copy = std::make_unique<TzqXMLItem>();
        copy->m_name = item->m_name;
        copy->m_text = item->m_text;
        copy->m_data = item->m_data;
        for (const TzqXMLItem *child : item->m_items)
            copy->Add()->Assign(child);
    }
    Clear();
    if (!copy)
        return;
    m_name = copy->m_name;
    m_text = copy->m_text;
    m_data = copy->m_data;
    while (copy->Count() > 0)
        AddItem(copy->m_items.first());
}

TzqXMLItem *TzqXMLItem::Root()
{
    TzqXMLItem *item = this;
    while (item->m_parent)
        item = item->m_parent;
    return item;
}

TzqXMLReader::TzqXMLReader(TStream *stream) : m_stream(stream)
{
    m_position = stream->Position();
    m_size = stream->Size();
}

TzqXMLReader::~TzqXMLReader()
{
    m_stream->Seek(m_position - (m_bufferCount - m_bufferIndex), soBeginning);
}

bool TzqXMLReader::readByte(char &c)
{
    if (m_bufferIndex >= m_bufferCount) {
        if (m_position >= m_size)
            return false;
        m_bufferCount = int(m_stream->Read(m_buffer, std::min<qint64>(sizeof m_buffer, m_size - m_position)));
        m_bufferIndex = 0;
        if (m_bufferCount <= 0) {
            m_bufferCount = 0;
            return false;
        }
        m_position += m_bufferCount;
    }
    c = m_buffer[m_bufferIndex++];
    return true;
}

// The text between the next '<' and its '>', comments skipped; empty at the
// end of the stream.
QByteArray TzqXMLReader::readTag()
{
    for (;;) {
        char c = 0;
        do {
            if (!readByte(c))
                return QByteArray();
        } while (c != '<');

        QByteArray tag;
        for (;;) {
            if (!readByte(c))
                raiseInvalidFormat();
            if (c == '>')
                break;
            if (c == '<')
                raiseInvalidFormat();
            tag += c;
        }
        if (!tag.startsWith("!--"))
            return tag.endsWith(' ') ? tag.chopped(1) : tag;
        // A comment holding '>' goes on to the next "-->".
        if (tag.size() >= 5 && tag.endsWith("--"))
            continue;
        int hyphens = 0;
        for (;;) {
            if (!readByte(c))
                return QByteArray();
            if (c == '>' && hyphens >= 2)
                break;
            hyphens = c == '-' ? hyphens + 1 : 0;
        }
    }
}

void TzqXMLReader::ReadHeader()
{
    if (!readTag().startsWith("?xml"))
        raiseInvalidFormat();
}

void TzqXMLReader::ReadRootItem(TzqXMLItem *item)
{
    readItem(item, 0);
}

// Reads one element into the item; false when the tag read ends the parent's
// child list instead.
bool TzqXMLReader::readItem(TzqXMLItem *item, int depth)
{
    if (depth > maxDepth)
        raiseInvalidFormat();
    const QString tag = QString::fromUtf8(readTag());
    m_lastTag = tag;
    const qsizetype blank = tag.indexOf(u' ');
    QString name = blank < 0 ? tag : tag.left(blank);
    QString text = blank < 0 ? QString() : tag.mid(blank + 1);
    if (name.isEmpty() || name.startsWith(u'/'))
        return false;

    const bool empty = name.endsWith(u'/') || text.endsWith(u'/');
    if (name.endsWith(u'/'))
        name.chop(1);
    else if (text.endsWith(u'/'))
        text.chop(1);
    item->SetName(name);
    item->SetText(text);
    if (empty)
        return true;

    for (;;) {
        auto child = std::make_unique<TzqXMLItem>();
        if (!readItem(child.get(), depth + 1))
            break;
        item->AddItem(child.release());
    }
    if (!m_lastTag.isEmpty() && m_lastTag.compare(u'/' + name, Qt::CaseInsensitive) != 0)
        raiseInvalidFormat();
    return true;
}

TzqXMLWriter::TzqXMLWriter(TStream *stream) : m_stream(stream) {}

TzqXMLWriter::~TzqXMLWriter()
{
    flush();
}

void TzqXMLWriter::WriteHeader()
{
    writeLine(QStringLiteral("<?xml version=\"1.0\"?>"), 0);
}

void TzqXMLWriter::WriteRootItem(TzqXMLItem *item)
{
    writeItem(item, 0);
    flush();
}

void TzqXMLWriter::writeItem(const TzqXMLItem *item, int depth)
{
    QString line = u'<' + item->Name();
    if (!item->Text().isEmpty()) {
        if (!item->Text().startsWith(u' '))
            line += u' ';
        line += item->Text();
    }
    if (item->Count() == 0) {
        writeLine(line + QStringLiteral("/>"), depth);
        return;
    }
    writeLine(line + u'>', depth);
    for (int i = 0; i < item->Count(); ++i)
        writeItem(item->Items(i), depth + 1);
    writeLine(QStringLiteral("</") + item->Name() + u'>', depth);
}

void TzqXMLWriter::writeLine(const QString &line, int depth)
{
    if (AutoIndent)
        m_pending += QByteArray(depth * 2, ' ');
    m_pending += line.toUtf8();
    if (AutoIndent)
        m_pending += "\r\n";
    if (m_pending.size() > 4096)
        flush();
}

void TzqXMLWriter::flush()
{
    if (m_pending.isEmpty())
        return;
    m_stream->WriteBuffer(m_pending);
    m_pending.clear();
}

TzqXMLDocument::TzqXMLDocument() : m_root(new TzqXMLItem) {}

TzqXMLDocument::~TzqXMLDocument()
{
    delete m_root.data();
}

TzqXMLItem *TzqXMLDocument::Root() const
{
    if (!m_root)
        m_root = new TzqXMLItem;
    return m_root;
}

void TzqXMLDocument::LoadFromStream(TStream *stream)
{
    Root()->Clear();
    TzqXMLReader reader(stream);
    reader.ReadHeader();
    reader.ReadRootItem(Root());
}

void TzqXMLDocument::SaveToStream(TStream *stream)
{
    TzqXMLWriter writer(stream);
    writer.AutoIndent = AutoIndent;
    writer.WriteHeader();
    writer.WriteRootItem(Root());
}

void TzqXMLDocument::LoadFromFile(const QString &fileName)
{
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&stream);
}

void TzqXMLDocument::SaveToFile(const QString &fileName)
{
    TFileStream stream(fileName, fmCreate);
    SaveToStream(&stream);
}

void RegisterXMLClasses()
{
    RegisterClass<TzqXMLItem>();
    RegisterClass<TzqXMLDocument>();
}
