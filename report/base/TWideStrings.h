#pragma once

// A list of wide strings, each with an object beside it (not owned).  Memo
// views keep their lines in one; the resource store keeps its texts in one.

#include "toolkit/classes/ObjectHandles.h"
#include "toolkit/classes/TPersistent.h"

#include <QString>

#include <vector>

class TStream;

class TWideStrings : public TPersistent
{
    Q_OBJECT

public:
    TWideStrings();
    ~TWideStrings() override;

    int Count() const { return int(m_items.size()); }

    // Empty when index is out of range.
    QString Get(int index) const;
    // index == Count appends; any other index out of range raises
    // "Wide String Out of Bounds".
    void Put(int index, const QString &s);
    // nullptr when index is out of range.
    TObject *GetObject(int index) const { return ObjectRefs(index).Object; }
    // The object with the generation it had when it was attached (see
    // TObjectRef); none when index is out of range.
    TObjectRef ObjectRefs(int index) const;
    // Ignored when index is out of range.
    void PutObject(int index, TObject *object);

    int Add(const QString &s);
    int AddObject(const QString &s, TObject *object);
    void AddStrings(const TWideStrings *other);
    // Raises "Wide String Out of Bounds" when index is out of range.
    void Delete(int index);
    // Inserts s before index (Count appends).
    void Insert(int index, const QString &s);
    // Exact, case-sensitive; -1 when absent.
    int IndexOf(const QString &s) const;
    void Clear();
    // Exchanges the strings and objects with other's.
    void Swap(TWideStrings &other) noexcept { m_items.swap(other.m_items); }

    // Every string followed by CR LF.
    QString GetText() const;
    // Lines end at LF, CR or U+2028; after a line one CR, then one LF, then
    // one U+2028 are skipped, so CR LF ends one line.  A NUL ends the text.
    void SetText(const QString &text);
    // What GetText gives after SetText(text), without a list.
    static QString TextOf(const QString &text);

    // Reads the rest of the stream: UTF-16LE after the mark FF FE, else
    // 8-bit text as TStrings reads it (UTF-8, or the system code page).
    void LoadFromStream(TStream *stream);
    // Writes the text as UTF-16LE after the mark FF FE, which tells the
    // reader so.
    void SaveToStream(TStream *stream) const;
    void LoadFromFile(const QString &fileName);
    void SaveToFile(const QString &fileName) const;

    // Takes the strings and objects of another wide list or of a TStrings.
    void Assign(const TPersistent *source) override;

protected:
    // Fills a TStrings with the strings and objects.
    void AssignTo(TPersistent *dest) const override;

private:
    struct Item {
        QString text;
        TObjectRef object;
    };
    [[noreturn]] static void outOfBounds();
    int addItem(const QString &s, TObjectRef object);

    std::vector<Item> m_items;
};

// Makes wide-string lists stream as their text (their class category).
void InitializeWideStrings();
