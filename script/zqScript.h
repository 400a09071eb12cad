#pragma once

// The script component as the translator and the declaration parser see it:
// the table of named items with its lookup through the parent chain, where a
// compilation leaves its first error, how used units are found, and the
// identifier character option.  The run-time side of the script (execution,
// calls, registration helpers) builds on this class.

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class TzqCustomVariable;
class TzqScript;

// Asked for the text of a used unit; leaves UnitText empty when it has none.
using TzqGetUnitEvent = std::function<void(TzqScript *Sender, const QString &UnitName, QString &UnitText)>;

class TzqScript
{
public:
    TzqScript();
    virtual ~TzqScript();

    TzqScript(const TzqScript &) = delete;
    TzqScript &operator=(const TzqScript &) = delete;

    // The item table: sorted by name without regard to case, duplicates
    // allowed, items owned.
    void Add(const QString &name, std::unique_ptr<TzqCustomVariable> item);
    int Count() const { return int(m_items.size()); }
    // The item of that name here, else in the parent chain; nil when no
    // script of the chain has it.
    TzqCustomVariable *Find(const QString &name) const;
    TzqCustomVariable *FindLocal(const QString &name) const;

    // Next script of the lookup chain; not owned.
    TzqScript *Parent = nullptr;

    // The first error of the last compilation; all empty after success.
    QString ErrorMsg;
    QString ErrorPos;  // "line:col"
    QString ErrorUnit; // empty for the main text

    // Folders searched, in order, for used units; the empty entry is the
    // current folder.
    QStringList IncludePath{QString()};
    TzqGetUnitEvent OnGetUnit;

    // Identifiers may use the 8-bit characters 128..255.
    bool ExtendedCharset = false;

private:
    struct Entry {
        QString name;
        std::unique_ptr<TzqCustomVariable> item;
    };
    std::vector<Entry> m_items;
};
