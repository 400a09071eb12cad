#pragma once

// The content of an ini file in memory: sections of "name=value" keys, in
// file order, found by name without regard to letter case (Cyrillic
// included).
//
// Reading ini text keeps every key, also a name given twice (lookups find
// the first), and keeps comments (lines starting with ';') and other lines
// without '=' where they stand, so a file rewritten after a change loses
// nothing.  Names and values are trimmed; blank lines are dropped; lines
// before the first section belong to an unnamed section that is written
// without a header.  A section named twice is read as one.

#include <QString>
#include <QStringList>

#include <vector>

class IniSections
{
public:
    void SetLines(const QStringList &lines);
    // Each section's header and lines, then one blank line.
    QStringList Lines() const;
    void Clear() { m_sections.clear(); }

    bool HasKey(const QString &section, const QString &name) const;
    QString Value(const QString &section, const QString &name, const QString &defaultValue) const;
    // Replaces the first key of that name, or appends one (and the section).
    void SetValue(const QString &section, const QString &name, const QString &value);
    void DeleteKey(const QString &section, const QString &name);
    void EraseSection(const QString &section);

    // Section names in file order (the unnamed one left out).
    QStringList SectionNames() const;
    // The section's key names, and its "name=value" lines, in order.
    QStringList KeyNames(const QString &section) const;
    QStringList KeyLines(const QString &section) const;

private:
    struct Line {
        QString name;   // the key name; empty for a comment or other text
        QString value;  // the value, or the whole text of a non-key line
        bool isKey = false;
    };
    struct Section {
        QString name;
        std::vector<Line> lines;
    };

    QStringList KeysOf(const QString &section, bool withValues) const;
    const Section *FindSection(const QString &name) const;
    Section *FindSection(const QString &name);
    Section &SectionFor(const QString &name);

    std::vector<Section> m_sections;
};
