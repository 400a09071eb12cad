#pragma once

// The XML document model of report files, prepared reports and resource
// texts.
//
// Loading may be partial: elements marked ld="0" are parsed, dropped, and
// read again from the source stream when LoadItem asks for them.  The
// caller keeps that stream open (and owns it) until the document is cleared,
// loaded again or destroyed.  Loaded Unloadable elements can be swapped out
// to a temporary file with UnloadItem; each element remembers which of the
// two streams its offset refers to.  Once out, an element can be dropped
// down to that offset in its parent's list (CompactItem), so that a long
// list of swapped-out elements costs a word each.

#include "report/xml/qvxXMLItem.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>

class TStream;
class TFileStream;

class TqvxXMLDocument
{
public:
    TqvxXMLDocument();
    // Deletes the swap file.
    ~TqvxXMLDocument();

    TqvxXMLDocument(const TqvxXMLDocument &) = delete;
    TqvxXMLDocument &operator=(const TqvxXMLDocument &) = delete;

    TqvxXMLItem *Root() const { return m_root.get(); }

    // Off by default: the whole document on one line.
    bool AutoIndent() const { return m_autoIndent; }
    void SetAutoIndent(bool autoIndent) { m_autoIndent = autoIndent; }

    // Folder of the swap file; the system temporary folder is used when it
    // is empty or does not exist.
    const QString &TempDir() const { return m_tempDir; }
    void SetTempDir(const QString &dir) { m_tempDir = dir; }
    const QString &TempFileName() const { return m_tempFileName; }

    // True when the last file loaded declared version 1.0 without a
    // standalone declaration (as this writer's own files do).
    bool OldVersion() const { return m_oldVersion; }

    // Clears the tree and deletes the swap file.
    void Clear();

    // Reads the document from the stream's position.  Raises
    // TqvxInvalidXMLException on malformed or truncated input; the tree then
    // holds what was read so far.
    void LoadFromStream(TStream *stream, bool allowPartialLoading = false);
    // Writes the header and the whole tree, swapped-out parts included.
    void SaveToStream(TStream *stream);

    // Brings a swapped-out subtree back into memory.
    void LoadItem(TqvxXMLItem *item);
    // Moves a loaded Unloadable element's subtree out to the swap file.
    void UnloadItem(TqvxXMLItem *item);
    // Frees the children of an Unloadable item read back from the swap
    // file or the source stream, without writing it again: the caller
    // knows it has not changed since, so the copy there still holds.
    void ReleaseItem(TqvxXMLItem *item);
    // Deletes an element that is swapped out, unchanged since its tag was
    // read or written, and has a parent, leaving its offset in the parent's
    // list; Items makes it again when asked.  Pointers to it are invalid
    // once this answers true; otherwise it does nothing.
    bool CompactItem(TqvxXMLItem *item);
    // CompactItem for each child of parent.
    void CompactItems(TqvxXMLItem *parent);
    // An unloaded element made from the tag at offset in the stream source
    // refers to.  Raises TqvxInvalidXMLException where no element starts
    // there.
    std::unique_ptr<TqvxXMLItem> ReadTag(std::uint64_t offset, TqvxXMLItem::OffsetSource source) const;
    // The bytes (UTF-8) of child index of parent with its subtree as its
    // stream holds them, when it is swapped out, for a reader that only
    // looks through them; a child dropped to its position stays so.  Null
    // for a child in memory.  Raises TqvxInvalidXMLException where no
    // whole element starts at its offset.
    QByteArray StoredBytes(const TqvxXMLItem *parent, int index) const;

    void CreateTempFile();
    void DeleteTempFile();

private:
    TStream *streamOf(const TqvxXMLItem *item) const;
    TStream *streamOf(TqvxXMLItem::OffsetSource source) const;

    std::unique_ptr<TqvxXMLItem> m_root;
    bool m_autoIndent = false;
    bool m_oldVersion = true;
    QString m_tempDir;
    QString m_tempFileName;
    TStream *m_sourceStream = nullptr;
    std::unique_ptr<TFileStream> m_swapFile;
};
