#pragma once

// The pictures of prepared pages.  Each picture is written once into one of
// a few large block streams, and its picture view keeps only the picture's
// number (ImageIndex: the entry index + 1, 0 for none).  The blocks live in
// memory or in temporary files, and the cache is saved into and loaded from
// a prepared-report file as hexadecimal text.

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class TPicture;
class TStream;
class TqvxXMLItem;

class TqvxPictureCache
{
public:
    // A block takes no further picture once it holds this many bytes.
    static constexpr qint64 DefaultBlockLimit = 0x6AAAAAAA;
    // The decoded pixels held beside the pictures given them, at 4 bytes a
    // pixel: the picture decoded last is held whatever its size, older ones
    // while all fit in this many bytes.
    static constexpr qint64 DecodedBudget = qint64(256) << 20;

    explicit TqvxPictureCache(qint64 blockLimit = DefaultBlockLimit);
    // Deletes the temporary files.
    ~TqvxPictureCache();

    TqvxPictureCache(const TqvxPictureCache &) = delete;
    TqvxPictureCache &operator=(const TqvxPictureCache &) = delete;

    // Stores the picture's graphic as a new entry (equal pictures are stored
    // again) and answers its number; 0, and nothing stored, for a picture
    // without a graphic.  A graphic that fails to write itself leaves the
    // cache as it was.
    int AddPicture(const TPicture *picture);
    // Loads picture number `number` into picture, reading exactly that
    // entry's bytes; a number that names no entry clears the picture.  Bytes
    // no graphic class reads raise EInvalidGraphic and leave the picture
    // empty.  Entries of the same bytes decode once: the pictures given
    // them share the decoded pixels, which the cache holds until
    // ReleaseDecoded (see DecodedBudget).
    void GetPicture(int number, TPicture *picture);
    // Lets go of the decoded pictures held; pictures given them keep theirs.
    void ReleaseDecoded();
    int Count() const { return int(m_items.size()); }

    // Frees every block and deletes its file.
    void Clear();

    // Both take effect only while the cache has no block.  An empty folder
    // means the system's temporary folder.
    QString TempDir() const { return m_tempDir; }
    void SetTempDir(const QString &dir);
    bool UseFileCache() const { return m_useFileCache; }
    void SetUseFileCache(bool value);
    // The temporary files of the blocks, in the order they were made.
    const QStringList &FileNames() const { return m_fileNames; }
    int BlockCount() const { return int(m_blocks.size()); }

    // Replaces item's children by one child "item" per entry, in order, its
    // attribute "stream" the entry's bytes as upper-case hexadecimal.
    void SaveToXML(TqvxXMLItem *item);
    // Clears the cache, then stores the bytes of each child's "stream".  A
    // text that is no even-length hexadecimal raises
    // TqvxInvalidXMLException "Invalid file format".
    void LoadFromXML(TqvxXMLItem *item);

private:
    struct Entry {
        int block;
        qint64 position;
    };

    // Starts an entry at the end of the last block (a new block when there
    // is none or the last is full) and answers that block, positioned at
    // its end.
    TStream *newEntry();
    void addBlock();
    qint64 entryLength(int index);
    // Whether entries a and b (indices) hold the same bytes.
    bool sameBytes(int a, int b);
    // The decoded picture held for the bytes of entry index; nullptr when
    // none is held.
    const TPicture *heldDecoded(int index);
    void holdDecoded(int index, std::unique_ptr<TPicture> picture);

    struct Decoded {
        int index;
        std::unique_ptr<TPicture> picture;
    };

    qint64 m_blockLimit;
    std::vector<Entry> m_items;
    std::vector<std::unique_ptr<TStream>> m_blocks;
    QStringList m_fileNames;
    // Most recent first.
    std::vector<Decoded> m_decoded;
    QString m_tempDir;
    bool m_useFileCache = false;
};
