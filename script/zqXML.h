#pragma once

// The script engine's own small XML tree: it holds the language grammars and
// the intermediate program.  Elements have a name and their raw attribute
// text but no text content.  Attribute values are escaped with the engine's
// own scheme (see zqEscapeAttribute), which differs from the report files'.
//
// Items and documents are TObjects, so scripts hold them as handles: an item
// belongs to its parent (the root to its document) and goes with it, which
// ends its handle; freeing an item takes it out of its parent.

#include "toolkit/classes/TObject.h"

#include <QByteArray>
#include <QPointer>
#include <QList>
#include <QString>

class TStream;

// Escapes a value for attribute text: CR, LF, '"', '<' and '>' become numeric
// character references, and so does an ampersand that would otherwise read
// back as a reference ("&#..." or "&quot;").
QString zqEscapeAttribute(const QString &value);
// The reverse: "&#NN;" and "&quot;" become their characters.
QString zqDecodeAttribute(const QString &text);

class TzqXMLItem : public TObject
{
    Q_OBJECT

public:
    TzqXMLItem() = default;
    // Frees the children and leaves the parent's list.
    ~TzqXMLItem() override;

    // A new child at the end.
    TzqXMLItem *Add();
    // Moves an item to the end of this item's children.  Adding the item
    // itself or one of its ancestors raises, since it would make a cycle.
    void AddItem(TzqXMLItem *item);
    // AddItem, then moves the item to the index.
    void InsertItem(int index, TzqXMLItem *item);

    int Count() const { return int(m_items.size()); }
    // Raises EListError for an index out of range.
    TzqXMLItem *Items(int index) const;

    // Index of the first child of that name (ignoring case), or -1.
    int Find(const QString &name) const;
    // That child, or a new child of that name.
    TzqXMLItem *FindItem(const QString &name);

    // Decoded value of an attribute; empty when absent.
    QString GetProp(const QString &name) const;
    // Replaces the attribute in place, or appends it.
    void SetProp(const QString &name, const QString &value);

    // Frees all children.
    void Clear();
    // Deep copy of the item's name, attribute text, data and children; a nil
    // item only clears.
    void Assign(const TzqXMLItem *item);

    TzqXMLItem *Root();
    TzqXMLItem *Parent() const { return m_parent; }

    const QString &Name() const { return m_name; }
    void SetName(const QString &name) { m_name = name; }
    // The raw attribute text, values escaped.
    const QString &Text() const { return m_text; }
    void SetText(const QString &text) { m_text = text; }
    // Free for the user of the tree; not owned.
    void *Data() const { return m_data; }
    void SetData(void *data) { m_data = data; }

private:
    void detach();
    bool isSelfOrAncestor(const TzqXMLItem *item) const;

    void *m_data = nullptr;
    QList<TzqXMLItem *> m_items;
    QString m_name;
    TzqXMLItem *m_parent = nullptr;
    QString m_text;
};

// Reads tags from a stream through a buffer.  When destroyed it leaves the
// stream right after the last byte it consumed.
class TzqXMLReader
{
public:
    explicit TzqXMLReader(TStream *stream);
    ~TzqXMLReader();

    // Raises "Invalid file format" unless the first tag is the XML header.
    void ReadHeader();
    void ReadRootItem(TzqXMLItem *item);

private:
    bool readByte(char &c);
    QByteArray readTag();
    bool readItem(TzqXMLItem *item, int depth);

    TStream *m_stream;
    char m_buffer[4096];
    int m_bufferIndex = 0;
    int m_bufferCount = 0;
    qint64 m_position = 0;
    qint64 m_size = 0;
    QString m_lastTag;
};

// Writes one tag per line, indented with CR LF line ends when AutoIndent is
// set, otherwise all on one line.
class TzqXMLWriter
{
public:
    explicit TzqXMLWriter(TStream *stream);
    ~TzqXMLWriter();

    bool AutoIndent = false;

    void WriteHeader();
    void WriteRootItem(TzqXMLItem *item);

private:
    void writeItem(const TzqXMLItem *item, int depth);
    void writeLine(const QString &line, int depth);
    void flush();

    TStream *m_stream;
    QByteArray m_pending;
};

class TzqXMLDocument : public TObject
{
    Q_OBJECT

public:
    TzqXMLDocument();
    ~TzqXMLDocument() override;

    // A root freed on its own (by a script) gives way to a new, empty one.
    TzqXMLItem *Root() const;
    bool AutoIndent = false;

    void LoadFromStream(TStream *stream);
    void SaveToStream(TStream *stream);
    void LoadFromFile(const QString &fileName);
    void SaveToFile(const QString &fileName);

private:
    mutable QPointer<TzqXMLItem> m_root;
};

// Start-up of the unit: scripts create items and documents by class name.
void RegisterXMLClasses();
