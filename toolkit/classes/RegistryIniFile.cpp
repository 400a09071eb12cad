#include "toolkit/classes/RegistryIniFile.h"

#include "toolkit/core/Exceptions.h"
#include "toolkit/core/Files.h"
#include "toolkit/classes/TStringList.h"

#include <QDir>

namespace {

QString configurationFolder(TRegistryRoot root)
{
    if (root == rrLocalMachine) {
        const QString dirs = qEnvironmentVariable("XDG_CONFIG_DIRS");
        const QString first = dirs.section(u':', 0, 0);
        return first.isEmpty() ? QStringLiteral("/etc/xdg/") : IncludeTrailingPathDelimiter(first);
    }
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!xdg.isEmpty())
        return IncludeTrailingPathDelimiter(xdg);
    return IncludeTrailingPathDelimiter(QDir::homePath()) + QStringLiteral(".config/");
}

} // namespace

TRegistryIniFile::TRegistryIniFile(const QString &key, TRegistryRoot root) : TCustomIniFile(key)
{
    QStringList parts = key.split(u'\\', Qt::SkipEmptyParts);
    if (parts.size() < 2 || parts[0].compare(QLatin1String("Software"), Qt::CaseInsensitive) != 0)
        throw EInvalidOperation(QStringLiteral("\"%1\" is not a settings key under \\Software\\").arg(key));
    m_settingsFile = configurationFolder(root) + parts[1] + QStringLiteral("/registry.ini");
    m_sectionPrefix = parts.mid(2).join(u'\\');
    m_settings = std::make_unique<TMemIniFile>(m_settingsFile);
}

TRegistryIniFile::~TRegistryIniFile() = default;

QString TRegistryIniFile::ReadString(const QString &section, const QString &ident, const QString &defaultValue) const
{
    return m_settings->ReadString(SectionName(section), ident, defaultValue);
}

void TRegistryIniFile::WriteString(const QString &, const QString &, const QString &)
{
    ReadOnlyError();
}

void TRegistryIniFile::ReadSection(const QString &section, TStrings *strings) const
{
    m_settings->ReadSection(SectionName(section), strings);
}

void TRegistryIniFile::ReadSections(TStrings *strings) const
{
    TStringList all;
    m_settings->ReadSections(&all);
    const QString prefix = m_sectionPrefix.isEmpty() ? QString() : m_sectionPrefix + u'\\';
    QStringList below;
    for (int i = 0; i < all.Count(); ++i)
        if (all.Strings(i).startsWith(prefix, Qt::CaseInsensitive) && all.Strings(i).size() > prefix.size())
            below += all.Strings(i).mid(prefix.size());
    SetLinesOf(strings, below);
}

void TRegistryIniFile::ReadSectionValues(const QString &section, TStrings *strings) const
{
    m_settings->ReadSectionValues(SectionName(section), strings);
}

void TRegistryIniFile::EraseSection(const QString &)
{
    ReadOnlyError();
}

void TRegistryIniFile::DeleteKey(const QString &, const QString &)
{
    ReadOnlyError();
}

QString TRegistryIniFile::SectionName(const QString &section) const
{
    if (m_sectionPrefix.isEmpty())
        return section;
    return section.isEmpty() ? m_sectionPrefix : m_sectionPrefix + u'\\' + section;
}

void TRegistryIniFile::ReadOnlyError() const
{
    throw EInvalidOperation(QStringLiteral("The settings under \"%1\" are read-only").arg(FileName()));
}
