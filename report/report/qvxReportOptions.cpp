#include "report/report/qvxReportOptions.h"

#include "report/model/qvxReportContext.h"
#include "report/model/qvxResources.h"
#include "toolkit/classes/PropertyDeclarations.h"
#include "toolkit/classes/RegistryIniFile.h"
#include "toolkit/classes/TStringList.h"
#include "toolkit/graphics/Picture.h"
#include "toolkit/widgets/ModalRunner.h"

namespace {

const QString connectionsKey = QStringLiteral("\\Software\\Quorvel Labs\\Connections");

// Unicode scalar values numbered without the surrogate gap, so that a
// shift never lands on half of a pair.
constexpr char32_t surrogateFirst = 0xD800;
constexpr char32_t surrogateCount = 0x800;
constexpr char32_t scalarCount = 0x110000 - surrogateCount;
constexpr char32_t passwordShift = 10;

char32_t scalarIndex(char32_t codePoint)
{
    return codePoint < surrogateFirst ? codePoint : codePoint - surrogateCount;
}

char32_t scalarAt(char32_t index)
{
    return index < surrogateFirst ? index : index + surrogateCount;
}

QString shifted(const QString &text, char32_t delta)
{
    QList<uint> codePoints = text.toUcs4();
    for (uint &c : codePoints)
        c = scalarAt((scalarIndex(c) + delta) % scalarCount);
    return QString::fromUcs4(reinterpret_cast<const char32_t *>(codePoints.constData()), codePoints.size());
}

} // namespace

QString qvxEncodePassword(const QString &password)
{
    return shifted(password, scalarCount - passwordShift);
}

QString qvxDecodePassword(const QString &stored)
{
    return shifted(stored, passwordShift);
}

TqvxReportOptions::TqvxReportOptions(TqvxComponent *report)
    : m_report(report),
      m_description(std::make_unique<TStringList>()),
      m_picture(std::make_unique<TPicture>())
{
    Clear();
}

TqvxReportOptions::~TqvxReportOptions() = default;

TqvxReportContext *TqvxReportOptions::context() const
{
    return qvxReportContextOf(m_report);
}

void TqvxReportOptions::SetConnectionName(const QString &value)
{
    m_connectionName = value;
    TqvxReportContext *report = context();
    if (value.isEmpty() || !report)
        return;
    const TqvxSetConnectionEvent handler = report->OnSetConnection();
    if (!handler)
        return;
    for (const QString &key : {connectionsKey, connectionsKey + QStringLiteral("FIB")}) {
        for (TRegistryRoot root : {rrLocalMachine, rrCurrentUser}) {
            const TRegistryIniFile settings(key, root);
            if (settings.ValueExists(QString(), value)) {
                handler(settings.ReadString(QString(), value, QString()));
                return;
            }
        }
    }
}

void TqvxReportOptions::SetDescription(const TStrings *value)
{
    m_description->Assign(value);
}

void TqvxReportOptions::SetPicture(const TPicture *value)
{
    m_picture->Assign(value);
}

namespace {

TqvxPasswordPrompt &installedPrompt()
{
    static TqvxPasswordPrompt prompt;
    return prompt;
}

bool askPassword(QString &password)
{
    if (installedPrompt())
        return installedPrompt()(password);
    TInputRequest request;
    request.Caption = qvxGet(5000);
    request.Prompt = qvxGet(5001);
    request.Masked = true;
    if (!ModalRunner::Current().InputQuery(request))
        return false;
    password = request.Value;
    return true;
}

} // namespace

void qvxInstallPasswordPrompt(const TqvxPasswordPrompt &prompt)
{
    installedPrompt() = prompt;
}

bool TqvxReportOptions::CheckPassword(bool mayAsk)
{
    if (m_password.isEmpty() || m_password == m_acceptedPassword || m_password == m_presetPassword)
        return true;
    QString entered;
    if (mayAsk && askPassword(entered) && entered == m_password) {
        m_acceptedPassword = m_password;
        return true;
    }
    if (TqvxReportContext *report = context()) {
        report->Errors()->Add(qvxResources()->Get(QStringLiteral("Invalid password")));
        report->ReportErrors();
    }
    return false;
}

void TqvxReportOptions::Assign(const TPersistent *source)
{
    const auto *options = qobject_cast<const TqvxReportOptions *>(source);
    if (!options) {
        TPersistent::Assign(source);
        return;
    }
    m_author = options->m_author;
    m_compressed = options->m_compressed;
    m_connectionName = options->m_connectionName;
    m_createDate = options->m_createDate;
    m_description->Assign(options->m_description.get());
    m_initString = options->m_initString;
    m_lastChange = options->m_lastChange;
    m_name = options->m_name;
    m_password = options->m_password;
    m_picture->Assign(options->m_picture.get());
    m_versionBuild = options->m_versionBuild;
    m_versionMajor = options->m_versionMajor;
    m_versionMinor = options->m_versionMinor;
    m_versionRelease = options->m_versionRelease;
}

void TqvxReportOptions::Clear()
{
    m_connectionName.clear();
    m_initString.clear();
    m_name.clear();
    m_password.clear();
    m_acceptedPassword.clear();
    if (m_infoOnly)
        return;
    m_author.clear();
    m_compressed = false;
    m_createDate = Now();
    m_lastChange = m_createDate;
    m_description->Clear();
    m_picture->Assign(nullptr);
    m_versionBuild.clear();
    m_versionMajor.clear();
    m_versionMinor.clear();
    m_versionRelease.clear();
}

void InitializeQvxReportOptions()
{
    DescribeProperties<TqvxReportOptions>()
        .Default("Compressed", false)
        .TypeName("CreateDate", QStringLiteral("TDateTime"))
        .TypeName("LastChange", QStringLiteral("TDateTime"));
}
