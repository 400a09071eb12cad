#include "toolkit/classes/IniSections.h"

#include "toolkit/core/CodePages.h"

#include <algorithm>

void IniSections::SetLines(const QStringList &lines)
{
    m_sections.clear();
    Section *current = nullptr;
    for (const QString &raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty())
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']') && line.size() >= 2) {
            current = &SectionFor(line.mid(1, line.size() - 2).trimmed());
            continue;
        }
        if (!current)
            current = &SectionFor(QString());
        const qsizetype eq = line.indexOf(u'=');
        if (line.startsWith(u';') || eq < 0)
            current->lines.push_back({QString(), line, false});
        else
            current->lines.push_back({line.left(eq).trimmed(), line.mid(eq + 1).trimmed(), true});
    }
}

QStringList IniSections::Lines() const
{
    QStringList result;
    for (const Section &section : m_sections) {
        if (!section.name.isEmpty())
            result += u'[' + section.name + u']';
        for (const Line &line : section.lines)
            result += line.isKey ? line.name + u'=' + line.value : line.value;
        result += QString();
    }
    return result;
}

bool IniSections::HasKey(const QString &section, const QString &name) const
{
    const Section *s = FindSection(section);
    return s && std::any_of(s->lines.begin(), s->lines.end(), [&](const Line &line) {
               return line.isKey && AnsiSameText(line.name, name);
           });
}

QString IniSections::Value(const QString &section, const QString &name, const QString &defaultValue) const
{
    if (const Section *s = FindSection(section))
        for (const Line &line : s->lines)
            if (line.isKey && AnsiSameText(line.name, name))
                return line.value;
    return defaultValue;
}

void IniSections::SetValue(const QString &section, const QString &name, const QString &value)
{
    Section &s = SectionFor(section);
    for (Line &line : s.lines) {
        if (line.isKey && AnsiSameText(line.name, name)) {
            line.value = value;
            return;
        }
    }
    s.lines.push_back({name, value, true});
}

void IniSections::DeleteKey(const QString &section, const QString &name)
{
    Section *s = FindSection(section);
    if (!s)
        return;
    const auto it = std::find_if(s->lines.begin(), s->lines.end(), [&](const Line &line) {
        return line.isKey && AnsiSameText(line.name, name);
    });
    if (it != s->lines.end())
        s->lines.erase(it);
}

void IniSections::EraseSection(const QString &section)
{
    std::erase_if(m_sections, [&](const Section &s) { return AnsiSameText(s.name, section); });
}

QStringList IniSections::SectionNames() const
{
    QStringList result;
    for (const Section &section : m_sections)
        if (!section.name.isEmpty())
            result += section.name;
    return result;
}

QStringList IniSections::KeyNames(const QString &section) const
{
    return KeysOf(section, false);
}

QStringList IniSections::KeyLines(const QString &section) const
{
    return KeysOf(section, true);
}

QStringList IniSections::KeysOf(const QString &section, bool withValues) const
{
    QStringList result;
    if (const Section *s = FindSection(section))
        for (const Line &line : s->lines)
            if (line.isKey)
                result += withValues ? line.name + u'=' + line.value : line.name;
    return result;
}

const IniSections::Section *IniSections::FindSection(const QString &name) const
{
    const auto it = std::find_if(m_sections.begin(), m_sections.end(),
                                 [&](const Section &s) { return AnsiSameText(s.name, name); });
    return it == m_sections.end() ? nullptr : &*it;
}

IniSections::Section *IniSections::FindSection(const QString &name)
{
    return const_cast<Section *>(std::as_const(*this).FindSection(name));
}

IniSections::Section &IniSections::SectionFor(const QString &name)
{
    if (Section *s = FindSection(name))
        return *s;
    // The unnamed section has no header, so it must come first.
    if (name.isEmpty())
        return *m_sections.insert(m_sections.begin(), Section{name, {}});
    m_sections.push_back({name, {}});
    return m_sections.back();
}
