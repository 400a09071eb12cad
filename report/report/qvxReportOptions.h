#pragma once

// The report's description (author, name, picture, version), its password
// and the database connection it names.

#include "toolkit/classes/TPersistent.h"
#include "toolkit/classes/TStrings.h"
#include "toolkit/core/DateUtils.h"
#include "toolkit/graphics/Picture.h"

#include <QString>

#include <functional>
#include <memory>

class TqvxComponent;
class TqvxReportContext;

class TqvxReportOptions : public TPersistent
{
    Q_OBJECT
    Q_PROPERTY(QString Author READ Author WRITE SetAuthor)
    Q_PROPERTY(bool Compressed READ Compressed WRITE SetCompressed)
    Q_PROPERTY(QString ConnectionName READ ConnectionName WRITE SetConnectionName)
    Q_PROPERTY(double CreateDate READ CreateDate WRITE SetCreateDate)
    Q_PROPERTY(TStrings *Description READ Description WRITE SetDescription)
    Q_PROPERTY(QString InitString READ InitString WRITE SetInitString)
    Q_PROPERTY(double LastChange READ LastChange WRITE SetLastChange)
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(QString Password READ Password WRITE SetPassword)
    Q_PROPERTY(TPicture *Picture READ Picture WRITE SetPicture)
    Q_PROPERTY(QString VersionBuild READ VersionBuild WRITE SetVersionBuild)
    Q_PROPERTY(QString VersionMajor READ VersionMajor WRITE SetVersionMajor)
    Q_PROPERTY(QString VersionMinor READ VersionMinor WRITE SetVersionMinor)
    Q_PROPERTY(QString VersionRelease READ VersionRelease WRITE SetVersionRelease)

public:
    // report is the owning report (its context answers the password check
    // and the connection lookup); nullptr for options of no report.
    explicit TqvxReportOptions(TqvxComponent *report = nullptr);
    ~TqvxReportOptions() override;

    QString Author() const { return m_author; }
    void SetAuthor(const QString &value) { m_author = value; }
    bool Compressed() const { return m_compressed; }
    void SetCompressed(bool value) { m_compressed = value; }
    // Setting a name hands the connection string stored under it in the
    // settings to the report's connection handler, once, from the first of
    // "\Software\Quorvel Labs\Connections" of the machine, then of the user,
    // then the same key with "FIB" appended, machine then user.
    QString ConnectionName() const { return m_connectionName; }
    void SetConnectionName(const QString &value);
    TDateTime CreateDate() const { return m_createDate; }
    void SetCreateDate(TDateTime value) { m_createDate = value; }
    TStrings *Description() const { return m_description.get(); }
    void SetDescription(const TStrings *value);
    QString InitString() const { return m_initString; }
    void SetInitString(const QString &value) { m_initString = value; }
    TDateTime LastChange() const { return m_lastChange; }
    void SetLastChange(TDateTime value) { m_lastChange = value; }
    QString Name() const { return m_name; }
    void SetName(const QString &value) { m_name = value; }
    QString Password() const { return m_password; }
    void SetPassword(const QString &value) { m_password = value; }
    TPicture *Picture() const { return m_picture.get(); }
    void SetPicture(const TPicture *value);
    QString VersionBuild() const { return m_versionBuild; }
    void SetVersionBuild(const QString &value) { m_versionBuild = value; }
    QString VersionMajor() const { return m_versionMajor; }
    void SetVersionMajor(const QString &value) { m_versionMajor = value; }
    QString VersionMinor() const { return m_versionMinor; }
    void SetVersionMinor(const QString &value) { m_versionMinor = value; }
    QString VersionRelease() const { return m_versionRelease; }
    void SetVersionRelease(const QString &value) { m_versionRelease = value; }

    // Not published.  The password the user last entered correctly.
    QString AcceptedPassword() const { return m_acceptedPassword; }
    void SetAcceptedPassword(const QString &value) { m_acceptedPassword = value; }
    // A password the host supplies in advance: loading starts from it and
    // the check accepts it without asking.
    QString PresetPassword() const { return m_presetPassword; }
    void SetPresetPassword(const QString &value) { m_presetPassword = value; }
    // Loading keeps only the descriptive fields, and Clear keeps them.
    bool InfoOnly() const { return m_infoOnly; }
    void SetInfoOnly(bool value) { m_infoOnly = value; }
    TqvxComponent *Report() const { return m_report; }

    // True when there is no password, or it is the accepted or the preset
    // one, or the user enters it (in the installed password prompt, else
    // in an input box).  Otherwise the text "Invalid password"
    // joins the report's errors, which the report then reports.
    // Without mayAsk nobody is asked (a report driven from another thread):
    // only the preset or the accepted password passes.
    bool CheckPassword(bool mayAsk = true);

    // Copies every published field.
    void Assign(const TPersistent *source) override;
    // Empties ConnectionName, InitString, Name, Password and the accepted
    // password; unless InfoOnly, also the descriptive fields, with both
    // dates set to now.
    void Clear();

private:
    TqvxReportContext *context() const;

    TqvxComponent *m_report;
    QString m_author;
    bool m_compressed = false;
    QString m_connectionName;
    TDateTime m_createDate;
    std::unique_ptr<TStrings> m_description;
    QString m_initString;
    TDateTime m_lastChange;
    QString m_name;
    QString m_password;
    std::unique_ptr<TPicture> m_picture;
    QString m_versionBuild;
    QString m_versionMajor;
    QString m_versionMinor;
    QString m_versionRelease;
    QString m_acceptedPassword;
    QString m_presetPassword;
    bool m_infoOnly = false;
};

// The password as report files keep it: every character moved 10 code
// points down, and back.  The shift runs over the Unicode scalar values
// (surrogates skipped) and wraps at the ends, so any text survives and a
// blank or a digit becomes a control character that the XML writer
// escapes.
QString qvxEncodePassword(const QString &password);
QString qvxDecodePassword(const QString &stored);

// The prompt a report shows for its password; it answers false when the
// user cancelled.  The preview library installs its password form;
// nullptr removes it.
using TqvxPasswordPrompt = std::function<bool(QString &password)>;
void qvxInstallPasswordPrompt(const TqvxPasswordPrompt &prompt);

// Declares the report options' published defaults.
void InitializeQvxReportOptions();
