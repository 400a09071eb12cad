#pragma once

// The buffered tag reader under TqvxXMLDocument.
//
// It reads one tag at a time ("<name attributes>"), skipping text content and
// comments, and builds element trees from the tags.  Malformed input raises
// TqvxInvalidXMLException with "Invalid file format".

#include "toolkit/core/Exceptions.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

class TStream;
class TqvxXMLItem;

TOOLKIT_EXCEPTION(TqvxInvalidXMLException, Exception)

class TqvxXMLReader
{
public:
    // Reads from the stream's current position up to the size the stream
    // has now.
    explicit TqvxXMLReader(TStream *stream);
    // Leaves the stream just after the last byte consumed.
    ~TqvxXMLReader();

    TqvxXMLReader(const TqvxXMLReader &) = delete;
    TqvxXMLReader &operator=(const TqvxXMLReader &) = delete;

    // Reads the "<?xml ...?>" header and sets OldVersion: true when the
    // version is "1.0" and there is no standalone declaration.
    void ReadHeader();
    bool OldVersion() const { return m_oldVersion; }

    // Reads the next tag.  `name` is the text up to the first blank, `text`
    // the rest (one trailing blank dropped); a self-closing tag keeps its '/'.
    // At the end of the stream both come back empty.
    void ReadItem(QString &name, QString &text);

    // Reads one element with its subtree into `item`.  Returns false when
    // the stream ends before the element starts; a closing tag there is
    // malformed.
    // Elements marked ld="0" are left unloaded unless loadAll is set.
    bool ReadRootItem(TqvxXMLItem *item, bool loadAll);

    // Reads a swapped-out element again, whole, from its offset.  Raises
    // "Invalid file format" when no element is found there.
    void ReloadItem(TqvxXMLItem *item);
    // Reads only the opening tag at an element's offset into it: its name
    // and attribute text, unloaded.  Raises "Invalid file format" when no
    // element starts there.
    void ReadTag(TqvxXMLItem *item);
    // The bytes of the element at offset with its whole subtree, as the
    // stream holds them, without making elements of them.  Raises "Invalid
    // file format" when no whole element starts there.
    QByteArray ReadElementBytes(std::uint64_t offset);

    // Moves to an absolute stream position (an element's offset).
    void SetPosition(qint64 position);
    // The stream position of the next byte to be consumed.
    qint64 Position() const { return m_position; }

private:
    bool readRootItem(TqvxXMLItem *item, bool loadAll, int depth);
    // Takes the swap marker out of the item's text; whether it was there.
    static bool takeMarker(TqvxXMLItem *item);
    // The next byte, or -1 at the end.
    int nextByte();
    // Reads the bytes from the position on into the buffer; false at the end.
    bool refill();
    // The bytes from the position on up to and including the next '>' (or
    // '<'), or to the end of the stream, found without consuming them.
    qint64 bytesToTagEnd();
    void skipComment();
    // Appends the next bytes from position on to bytes; false at the end.
    bool appendChunk(qint64 position, QByteArray &bytes);
    // The name of a tag from its bytes.  Names repeat from element to
    // element: the last few are kept decoded and shared by the elements
    // that bear them.
    QString tagName(const char *bytes, std::size_t size);
    [[noreturn]] static void fail();

    TStream *m_stream;
    qint64 m_size;
    qint64 m_position;
    QByteArray m_buffer;
    int m_bufferIndex = 0;
    int m_bufferEnd = 0; // the bytes of the buffer read
    std::string m_tag; // the tag being read, its room kept while short
    QString m_lastTagName;
    struct NameEntry {
        std::string bytes;
        QString name;
    };
    std::array<NameEntry, 8> m_names;
    std::size_t m_nextName = 0;
    bool m_oldVersion = true;
};
