#include "report/report/qvxExportFilter.h"

#include "report/model/qvxRegistries.h"
#include "toolkit/classes/PropertyDeclarations.h"
#include "toolkit/classes/SaveFileStream.h"
#include "toolkit/core/Files.h"
#include "toolkit/widgets/ControlTypes.h"

#include <utility>

TqvxCustomExportFilter::TqvxCustomExportFilter(TComponent *owner) : TqvxCustomExportFilter(owner, true)
{
}

TqvxCustomExportFilter::TqvxCustomExportFilter(TComponent *owner, bool registered)
    : TComponent(owner), m_registered(registered)
{
    if (m_registered)
        qvxExportFilters()->Register(this);
}

TqvxCustomExportFilter::~TqvxCustomExportFilter()
{
    if (m_registered)
        qvxUnregisterExportFilter(this);
}

int TqvxCustomExportFilter::ShowModal()
{
    return mrOk;
}

bool TqvxCustomExportFilter::Start()
{
    return true;
}

void TqvxCustomExportFilter::FinishPage(TqvxReportPage *, int)
{
}

void TqvxCustomExportFilter::StartPage(TqvxReportPage *, int)
{
}

bool TqvxCustomExportFilter::BeginExport(TqvxReportLink *report)
{
    AbortExport();
    m_creationTime = Now();
    m_report = report;
    return !m_showDialog || ShowModal() == mrOk;
}

bool TqvxCustomExportFilter::StartExport()
{
    if (m_onBeginExport)
        m_onBeginExport(this);
    if (Start())
        return true;
    AbortExport();
    return false;
}

void TqvxCustomExportFilter::FinishExport()
{
    try {
        Finish();
        if (m_file)
            m_file->Commit();
    } catch (...) {
        AbortExport();
        throw;
    }
    m_file.reset();
    m_slaveFile.clear();
}

void TqvxCustomExportFilter::AbortExport()
{
    m_file.reset();
    if (!m_slaveFile.isEmpty())
        DeleteFile(std::exchange(m_slaveFile, QString()));
}

TStream *TqvxCustomExportFilter::OutputStream()
{
    if (m_stream)
        return m_stream;
    if (!m_file)
        m_file = std::make_unique<TSaveFileStream>(m_fileName);
    return m_file.get();
}

QString TqvxCustomExportFilter::NewSlaveFileName(const QString &stem, const QString &extension)
{
    AbortExport();
    m_slaveFile = CreateTempFile(stem, QString(), extension);
    return m_slaveFile;
}

void InitializeQvxExportFilter()
{
    DescribeProperties<TqvxCustomExportFilter>()
        .Default("ShowDialog", 1)
        .Default("ExportNotPrintable", 0)
        .Default("UseFileCache", 1)
        .Default("ShowProgress", 1)
        .Default("OverwritePrompt", 0)
        .Default("DataOnly", 0)
        .TypeName("CreationTime", "TDateTime");
}
