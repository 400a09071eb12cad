#pragma once

// Ini files: the abstract TCustomIniFile with its typed reads and writes, the
// in-memory TMemIniFile and the file-backed TIniFile.
//
// Sections and key names are found without regard to letter case.  Ini
// files are UTF-8 text.  A relative file name is relative to the current
// folder.

#include "toolkit/core/DateUtils.h"
#include "toolkit/classes/IniSections.h"
#include "toolkit/classes/TObject.h"

#include <QString>

class TStream;
class TStrings;

class TCustomIniFile : public TObject
{
    Q_OBJECT

public:
    explicit TCustomIniFile(const QString &fileName);
    ~TCustomIniFile() override;

    const QString &FileName() const { return m_fileName; }

    virtual QString ReadString(const QString &section, const QString &ident, const QString &defaultValue) const = 0;
    virtual void WriteString(const QString &section, const QString &ident, const QString &value) = 0;

    // The key names of a section, the section names, and a section's
    // "name=value" lines; each replaces the content of strings.
    virtual void ReadSection(const QString &section, TStrings *strings) const = 0;
    virtual void ReadSections(TStrings *strings) const = 0;
    virtual void ReadSectionValues(const QString &section, TStrings *strings) const = 0;
    virtual void EraseSection(const QString &section) = 0;
    virtual void DeleteKey(const QString &section, const QString &ident) = 0;

    // A section exists when it holds at least one key.
    virtual bool SectionExists(const QString &section) const;
    virtual bool ValueExists(const QString &section, const QString &ident) const;

    // Decimal, or hexadecimal after "0x" or "$" (StrToInt's rules); a missing
    // or unreadable value gives the default.
    qint32 ReadInteger(const QString &section, const QString &ident, qint32 defaultValue) const;
    void WriteInteger(const QString &section, const QString &ident, qint32 value);
    // Stored as "1" / "0"; read as an integer that is true when not 0.
    bool ReadBool(const QString &section, const QString &ident, bool defaultValue) const;
    void WriteBool(const QString &section, const QString &ident, bool value);

    // As FloatToStr, DateToStr, DateTimeToStr and TimeToStr write them with
    // FormatSettings; a missing or unreadable value gives the default.
    double ReadFloat(const QString &section, const QString &ident, double defaultValue) const;
    void WriteFloat(const QString &section, const QString &ident, double value);
    TDateTime ReadDate(const QString &section, const QString &ident, TDateTime defaultValue) const;
    void WriteDate(const QString &section, const QString &ident, TDateTime value);
    TDateTime ReadDateTime(const QString &section, const QString &ident, TDateTime defaultValue) const;
    void WriteDateTime(const QString &section, const QString &ident, TDateTime value);
    TDateTime ReadTime(const QString &section, const QString &ident, TDateTime defaultValue) const;
    void WriteTime(const QString &section, const QString &ident, TDateTime value);

    // Bytes as hexadecimal text, two upper-case digits a byte.  Write takes
    // the stream's bytes from its position to its end.  Read writes the
    // bytes into the stream at its position, leaves the position where they
    // start (so they can be read at once) and returns their number; a
    // missing value, or one that is not hexadecimal text, writes nothing
    // and gives 0.
    int ReadBinaryStream(const QString &section, const QString &ident, TStream *value) const;
    void WriteBinaryStream(const QString &section, const QString &ident, TStream *value);

protected:
    // Replaces the content of strings by lines.
    static void SetLinesOf(TStrings *strings, const QStringList &lines);

private:
    QString m_fileName;
};

// An ini file read into memory when created (a missing file gives an empty
// one).  Changes stay in memory; nothing is saved by itself.
class TMemIniFile : public TCustomIniFile
{
    Q_OBJECT

public:
    explicit TMemIniFile(const QString &fileName);

    QString ReadString(const QString &section, const QString &ident, const QString &defaultValue) const override;
    void WriteString(const QString &section, const QString &ident, const QString &value) override;
    void ReadSection(const QString &section, TStrings *strings) const override;
    void ReadSections(TStrings *strings) const override;
    void ReadSectionValues(const QString &section, TStrings *strings) const override;
    void EraseSection(const QString &section) override;
    void DeleteKey(const QString &section, const QString &ident) override;

    void Clear();
    // The whole content as ini text lines, and back.
    void GetStrings(TStrings *list) const;
    void SetStrings(const TStrings *list);

private:
    IniSections m_sections;
};

// An ini file on disk.  Every read reads the file (a missing file is
// empty); every write rewrites it at once, replacing the old file only when
// the new one is complete.  A write that fails raises EFCreateError.
class TIniFile : public TCustomIniFile
{
    Q_OBJECT

public:
    explicit TIniFile(const QString &fileName);

    QString ReadString(const QString &section, const QString &ident, const QString &defaultValue) const override;
    void WriteString(const QString &section, const QString &ident, const QString &value) override;
    void ReadSection(const QString &section, TStrings *strings) const override;
    void ReadSections(TStrings *strings) const override;
    void ReadSectionValues(const QString &section, TStrings *strings) const override;
    void EraseSection(const QString &section) override;
    void DeleteKey(const QString &section, const QString &ident) override;

private:
    IniSections Load() const;
    void Save(const IniSections &sections);
};

// Unit initialisation: registers the ini file classes by name; the concrete
// ones are made from a file name.
void InitializeIniFiles();
