#pragma once

// The abstract list of strings, each with an optional object beside it.
//
// A descendant stores the lines (TStringList in memory, the widget-backed
// lists of memos, combo boxes and list boxes in their widget) and provides
// the core: Count, Get, Put, GetObjectRef, PutObjectRef, Insert, Delete,
// Clear.
// Everything else (name=value access, the comma and line texts, files and
// streams, Move, Assign) is built on that core here.
//
// Indexes are 0-based; an index out of range raises EListError
// "List index out of bounds (<index>)".  Names are compared with
// CompareStrings, which ignores letter case (Cyrillic included) unless a
// descendant says otherwise.

#include "toolkit/classes/ObjectHandles.h"
#include "toolkit/classes/TPersistent.h"

#include <QString>

class TStream;

class TStrings : public TPersistent
{
    Q_OBJECT

public:
    TStrings();
    ~TStrings() override;

    virtual int Count() const = 0;

    QString Strings(int index) const { return Get(index); }
    void SetStrings(int index, const QString &s) { Put(index, s); }
    TObject *Objects(int index) const { return GetObjectRef(index).Object; }
    void SetObjects(int index, TObject *object) { PutObjectRef(index, TObjectRef::To(object)); }
    // The line's object with the generation it had when it was attached:
    // what a reader checks before it trusts the address.  Copies and moves
    // of lines carry it along.
    TObjectRef ObjectRefs(int index) const { return GetObjectRef(index); }

    // Appends (or, in a sorted list, inserts in order); returns the index.
    virtual int Add(const QString &s);
    int AddObject(const QString &s, TObject *object) { return AddObjectRef(s, TObjectRef::To(object)); }
    virtual int AddObjectRef(const QString &s, TObjectRef object);
    // Inserts before index; index == Count() appends.
    virtual void Insert(int index, const QString &s) = 0;
    void InsertObject(int index, const QString &s, TObject *object);
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    // Moves the line and its object from curIndex to newIndex.
    virtual void Move(int curIndex, int newIndex);

    // -1 when absent.
    virtual int IndexOf(const QString &s) const;
    int IndexOfObject(const TObject *object) const;

    // "Name=Value" lines.  Names(i) is the part of line i before the first
    // '=' ("" when it has none); IndexOfName finds the first line of that
    // name; Values gives the part after the '=' ("" when absent).
    // SetValues replaces the value of the first line of that name or appends
    // a line; an empty value deletes the line.
    QString Names(int index) const;
    int IndexOfName(const QString &name) const;
    QString Values(const QString &name) const;
    void SetValues(const QString &name, const QString &value);

    // The lines separated by commas.  A line that is empty (the only line of
    // the list) or holds a blank, a control character, a comma or a double
    // quote is written in double quotes, with inner quotes doubled.  The
    // setter splits at commas and at blanks outside quotes.
    QString CommaText() const;
    void SetCommaText(const QString &text);

    // Every line followed by CR LF, the last one included.  The setter splits
    // at CR LF, at a lone LF and at a lone CR; a final line end adds no
    // empty line.
    virtual QString Text() const;
    virtual void SetText(const QString &text);

    // Streams and files hold the lines as 8-bit text in code page 1251, the
    // way a stream's byte-wise reads and writes see text, and as UTF-8 after
    // a byte-order mark when cp1251 cannot hold them or its bytes would read
    // back as UTF-8 (see TextToStreamBytes).  Loading, from a stream or a
    // file, takes either, and UTF-8 without the mark (see StreamBytesToText);
    // it reads from the stream's position to its end; saving writes at the
    // stream's position.  A file is replaced only once its new content is
    // complete (see SaveFile).
    void LoadFromStream(TStream *stream);
    void SaveToStream(TStream *stream) const;
    void LoadFromFile(const QString &fileName);
    void SaveToFile(const QString &fileName) const;

    // Nested calls: change notifications wait until the outermost EndUpdate.
    void BeginUpdate();
    void EndUpdate();
    bool Updating() const { return m_updateCount > 0; }

    // BeginUpdate for the lifetime of the scope.
    class UpdateScope
    {
    public:
        explicit UpdateScope(TStrings &strings) : m_strings(strings) { m_strings.BeginUpdate(); }
        ~UpdateScope() { m_strings.EndUpdate(); }
        UpdateScope(const UpdateScope &) = delete;
        UpdateScope &operator=(const UpdateScope &) = delete;

    private:
        TStrings &m_strings;
    };

    // Copies the lines and objects of another string list; any other source
    // is handed on to TPersistent::Assign.
    void Assign(const TPersistent *source) override;

protected:
    // <0, 0 or >0, in alphabetical order (AnsiCompareText): ignores the
    // case of every letter here.
    virtual int CompareStrings(const QString &a, const QString &b) const;

    virtual QString Get(int index) const = 0;
    // The default replaces the line by deleting and re-inserting it.
    virtual void Put(int index, const QString &s);
    // The default list keeps no objects.
    virtual TObjectRef GetObjectRef(int index) const;
    virtual void PutObjectRef(int index, TObjectRef object);

    // Told when the first BeginUpdate starts (true) and the last EndUpdate
    // ends (false) an update.
    virtual void SetUpdateState(bool updating);

    [[noreturn]] static void IndexError(int index);

private:
    int m_updateCount = 0;
};
