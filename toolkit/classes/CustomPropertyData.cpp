#include "toolkit/classes/CustomPropertyData.h"

#include "toolkit/core/Exceptions.h"
#include "toolkit/classes/TFiler.h"
#include "toolkit/classes/TPersistent.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QtEndian>

namespace {

enum Tag : quint8 { IntegerTag = 1, StringTag = 2, BytesTag = 3 };

struct Value {
    Tag tag;
    qint32 integer = 0;
    QByteArray bytes; // UTF-8 for strings
};

[[noreturn]] void malformed()
{
    throw EReadError(QStringLiteral("Invalid property data"));
}

class ValueWriter : public TWriter
{
public:
    void WriteInteger(qint32 value) override
    {
        m_out.append(char(IntegerTag));
        appendUInt32(quint32(value));
        ++m_count;
    }
    void WriteString(const QString &value) override { appendBlock(StringTag, value.toUtf8()); }
    void WriteBytes(const QByteArray &value) override { appendBlock(BytesTag, value); }

    quint32 Count() const { return m_count; }
    const QByteArray &Data() const { return m_out; }

private:
    void appendUInt32(quint32 value)
    {
        char raw[4];
        qToLittleEndian(value, raw);
        m_out.append(raw, 4);
    }
    void appendBlock(Tag tag, const QByteArray &block)
    {
        m_out.append(char(tag));
        appendUInt32(quint32(block.size()));
        m_out.append(block);
        ++m_count;
    }

    QByteArray m_out;
    quint32 m_count = 0;
};

class WritingFiler : public TFiler
{
public:
    void DefineProperty(const QString &name, const ReaderProc &, const WriterProc &write,
                        bool hasData) override
    {
        if (!hasData || !write)
            return;
        ValueWriter values;
        write(values);
        const QByteArray utf8Name = name.toUtf8();
        char raw[4];
        qToLittleEndian(quint16(utf8Name.size()), raw);
        m_out.append(raw, 2);
        m_out.append(utf8Name);
        qToLittleEndian(values.Count(), raw);
        m_out.append(raw, 4);
        m_out.append(values.Data());
    }

    QByteArray m_out;
};

// Reads the stored form, checking each length against what is left.
class Parser
{
public:
    explicit Parser(const QByteArray &data) : m_data(data) {}

    QHash<QString, QList<Value>> parse()
    {
        QHash<QString, QList<Value>> properties;
        while (m_pos < m_data.size()) {
            const QString name = QString::fromUtf8(take(takeUInt16()));
            const quint32 count = takeUInt32();
            // Every value takes at least five bytes.
            if (count > quint32(remaining() / 5))
                malformed();
            QList<Value> values;
            for (quint32 i = 0; i < count; ++i)
                values.append(takeValue());
            if (properties.contains(name))
                malformed();
            properties.insert(name, values);
        }
        return properties;
    }

private:
    qsizetype remaining() const { return m_data.size() - m_pos; }

    QByteArray take(qsizetype length)
    {
        if (length < 0 || length > remaining())
            malformed();
        const QByteArray part = m_data.mid(m_pos, length);
        m_pos += length;
        return part;
    }
    quint16 takeUInt16() { return qFromLittleEndian<quint16>(take(2).constData()); }
    quint32 takeUInt32() { return qFromLittleEndian<quint32>(take(4).constData()); }

    Value takeValue()
    {
        const quint8 tag = quint8(take(1).at(0));
        switch (tag) {
        case IntegerTag:
            return {IntegerTag, qint32(takeUInt32()), {}};
        case StringTag:
        case BytesTag: {
            const quint32 length = takeUInt32();
            if (length > quint32(remaining()))
                malformed();
            return {Tag(tag), 0, take(qsizetype(length))};
        }
        default:
            malformed();
        }
    }

    const QByteArray &m_data;
    qsizetype m_pos = 0;
};

class ValueReader : public TReader
{
public:
    explicit ValueReader(const QList<Value> &values) : m_values(values) {}

    qint32 ReadInteger() override { return next(IntegerTag).integer; }
    QString ReadString() override { return QString::fromUtf8(next(StringTag).bytes); }
    QByteArray ReadBytes() override { return next(BytesTag).bytes; }

private:
    const Value &next(Tag tag)
    {
        if (m_next >= m_values.size() || m_values[m_next].tag != tag)
            malformed();
        return m_values[m_next++];
    }

    const QList<Value> &m_values;
    qsizetype m_next = 0;
};

class NameCollector : public TFiler
{
public:
    void DefineProperty(const QString &name, const ReaderProc &read, const WriterProc &, bool) override
    {
        if (read)
            m_names.insert(name);
    }
    QSet<QString> m_names;
};

class ReadingFiler : public TFiler
{
public:
    explicit ReadingFiler(const QHash<QString, QList<Value>> &properties) : m_properties(properties) {}

    void DefineProperty(const QString &name, const ReaderProc &read, const WriterProc &, bool) override
    {
        auto it = m_properties.constFind(name);
        if (it == m_properties.constEnd() || !read)
            return;
        ValueReader reader(*it);
        read(reader);
    }

private:
    const QHash<QString, QList<Value>> &m_properties;
};

} // namespace

QByteArray WritePropertyData(TPersistent &object)
{
    WritingFiler filer;
    object.DefineProperties(filer);
    return filer.m_out;
}

void ReadPropertyData(TPersistent &object, const QByteArray &data)
{
    const QHash<QString, QList<Value>> properties = Parser(data).parse();
    NameCollector defined;
    object.DefineProperties(defined);
    for (auto it = properties.constBegin(); it != properties.constEnd(); ++it)
        if (!defined.m_names.contains(it.key()))
            throw EReadError(QStringLiteral("Property %1 does not exist").arg(it.key()));
    ReadingFiler filer(properties);
    object.DefineProperties(filer);
}
