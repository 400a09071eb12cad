#pragma once

// A list of wide strings, each with an object beside it (not owned).  Memo
// views keep their lines in one; the resource store keeps its texts in one.
//
// The lines live in one text, as stretches of it, so that a memo of
// millions of short lines costs its characters and a few bytes a line, not
// a string of its own for each.  While the lines stand in that text in
// order, each followed by CR LF, the text is what GetText gives, and
// SetText of a text already in that form keeps the text itself; where the
// lines begin is worked out only once a line is asked for by its index.
// Copies (Assign, Swap) share the text until one of them changes.

#include "toolkit/classes/ObjectHandles.h"
#include "toolkit/classes/TPersistent.h"

#include <QAtomicInt>
#include <QSharedData>
#include <QString>
#include <QStringView>

#include <vector>

class TStream;

class TWideStrings : public TPersistent
{
    Q_OBJECT

public:
    TWideStrings();
    ~TWideStrings() override;

    int Count() const;

    // Empty when index is out of range.
    QString Get(int index) const;
    // The same without a copy; valid until the list changes.
    QStringView View(int index) const;
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
    void Swap(TWideStrings &other) noexcept { m_data.swap(other.m_data); }

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
    // A line: where it stands in the text and how long it is.
    struct Line {
        qint32 start = 0;
        qint32 length = 0;
    };
    struct Data : QSharedData {
        Data() = default;
        // A copy made while another list sharing other may be indexing it:
        // other's lines are taken only once complete, else found again.
        Data(const Data &other);
        Data &operator=(const Data &) = delete;

        QString text;
        // Once indexed; a text set whole keeps only its number of lines
        // until then.
        mutable std::vector<Line> lines;
        mutable QAtomicInt indexed = 1;
        int count = 0;
        // Empty until an object is attached; then one for each line.
        std::vector<TObjectRef> objects;
        // The text is the lines in order, each followed by CR LF, and no
        // more: what GetText gives.
        bool ordered = true;
        // Characters of the text no line uses any more.
        qsizetype unused = 0;
    };

    [[noreturn]] static void outOfBounds();
    const Data &data() const { return *m_data; }
    // The lines of the data, indexed on first use.
    static const std::vector<Line> &lines(const Data &d);
    // The data to change, its lines indexed.
    Data &changing();
    int addItem(QStringView s, TObjectRef object);
    // Appends s and CR LF to the text; the stretch s takes in it.
    Line appendToText(Data &d, QStringView s);
    // Writes the lines out in order again once most of the text is unused.
    static void compactIfWasteful(Data &d);
    static void putText(Data &d, const QString &ordered);
    void setObject(Data &d, int index, TObjectRef object);

    QSharedDataPointer<Data> m_data;
};

// Makes wide-string lists stream as their text (their class category).
void InitializeWideStrings();
