#pragma once

// Custom properties of persistent objects (TPersistent::DefineProperties).
//
// An object declares each custom property by name with a procedure that
// reads it and one that writes it; the filer calls the one it needs.  The
// values are small sequences of integers, strings and byte blocks.

#include <QByteArray>
#include <QString>

#include <functional>

class TReader
{
public:
    virtual ~TReader() = default;
    virtual qint32 ReadInteger() = 0;
    virtual QString ReadString() = 0;
    virtual QByteArray ReadBytes() = 0;
};

class TWriter
{
public:
    virtual ~TWriter() = default;
    virtual void WriteInteger(qint32 value) = 0;
    virtual void WriteString(const QString &value) = 0;
    virtual void WriteBytes(const QByteArray &value) = 0;
};

class TFiler
{
public:
    using ReaderProc = std::function<void(TReader &)>;
    using WriterProc = std::function<void(TWriter &)>;

    virtual ~TFiler() = default;

    // hasData tells a writing filer whether the property needs storing.
    virtual void DefineProperty(const QString &name, const ReaderProc &read, const WriterProc &write,
                                bool hasData) = 0;
};
