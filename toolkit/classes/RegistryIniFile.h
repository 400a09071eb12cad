#pragma once

// The stand-in for settings that the system keeps in the registry.

#include "toolkit/classes/IniFiles.h"

#include <memory>

// Where the settings of a registry key are kept.
enum TRegistryRoot { rrCurrentUser, rrLocalMachine };

// Settings that the system keeps under a registry key, such as
// "\Software\Quorvel Labs", read from an ini file: the first part after
// "\Software\" names a folder under the user's configuration folder
// ($XDG_CONFIG_HOME, else ~/.config; for rrLocalMachine the first folder of
// $XDG_CONFIG_DIRS, else /etc/xdg) that holds
// registry.ini.  The further parts of the key, joined by '\' and followed by
// '\' and the section name, make the section:
// "\Software\Quorvel Labs" with section "Connections" and the key
// "\Software\Quorvel Labs\Connections" with an empty section both read
// [Connections] of "Quorvel Labs/registry.ini".  The file is read once, when
// the object is created.  The settings are read-only: every write raises
// EInvalidOperation.
class TRegistryIniFile : public TCustomIniFile
{
    Q_OBJECT

public:
    // Raises EInvalidOperation for a key that does not begin with
    // "\Software\" and a further part.
    explicit TRegistryIniFile(const QString &key, TRegistryRoot root = rrCurrentUser);
    ~TRegistryIniFile() override;

    QString ReadString(const QString &section, const QString &ident, const QString &defaultValue) const override;
    void WriteString(const QString &section, const QString &ident, const QString &value) override;
    void ReadSection(const QString &section, TStrings *strings) const override;
    // The sections below the key, named relative to it.
    void ReadSections(TStrings *strings) const override;
    void ReadSectionValues(const QString &section, TStrings *strings) const override;
    void EraseSection(const QString &section) override;
    void DeleteKey(const QString &section, const QString &ident) override;

    // The ini file that holds the key.
    const QString &SettingsFile() const { return m_settingsFile; }

private:
    QString SectionName(const QString &section) const;
    [[noreturn]] void ReadOnlyError() const;

    QString m_settingsFile;
    QString m_sectionPrefix;
    std::unique_ptr<TMemIniFile> m_settings;
};
