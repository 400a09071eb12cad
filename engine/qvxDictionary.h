#pragma once

// The dictionary of the prepared pages: every object copied onto a source
// page gets a short unique name (a lower-case base letter and a number, such
// as m12 or b3), under which printed objects are stored as differences from
// that copy.  Each name leads to its source name ("Page" + source page
// index + "." + object name) and to the copy itself.
//
// Names are kept sorted for listing, and hashed for the lookups made
// while pages are rebuilt.

#include "toolkit/classes/NameHash.h"

#include <QList>
#include <QString>

class TqvxComponent;

class TqvxDictionary
{
public:
    // The first free name base + number: the numbers in use are dense from
    // 1, so the search halves down from 10000 to a taken number and counts
    // up from there ("m1" with no names yet, "m701" with m1 to m700 taken).
    QString CreateUniqueName(const QString &base) const;
    // Adds an entry; the name must be new.
    void Add(const QString &name, const QString &sourceName, TqvxComponent *object);
    // CreateUniqueName + Add; answers the name given.
    QString AddUnique(const QString &base, const QString &sourceName, TqvxComponent *object);

    // The copy named name, nullptr when the name is unknown or its object
    // was missing on its source page.
    TqvxComponent *GetObject(QStringView name) const;
    // The source name of name; empty when the name is unknown.
    QString GetSourceName(const QString &name) const;
    bool Contains(const QString &name) const { return m_index.contains(name); }

    int Count() const { return int(m_names.size()); }
    // The entries in name order.
    const QString &Name(int index) const { return m_names.at(index).name; }
    QString SourceName(int index) const { return m_sources.at(m_names.at(index).source).sourceName; }

    void Clear();

private:
    struct NameEntry {
        QString name;
        int source;
    };
    struct SourceEntry {
        QString sourceName;
        TqvxComponent *object;
    };

    // The entry of name, nullptr when the name is unknown.
    const SourceEntry *find(QStringView name) const;
    qsizetype insertionPoint(const QString &name) const;

    QList<NameEntry> m_names;
    QList<SourceEntry> m_sources;
    // Each name's index in m_sources.
    TNameTable<int> m_index;
};
