#include "report/data/qvxCustomDB.h"

#include "report/model/qvxReportContext.h"
#include "toolkit/classes/PropertyDeclarations.h"
#include "toolkit/classes/TStringList.h"

TqvxCustomDBDataSet::TqvxCustomDBDataSet(TComponent *owner)
    : TqvxDataSet(owner),
      m_fieldAliases(std::make_unique<TStringList>())
{
}

TqvxCustomDBDataSet::~TqvxCustomDBDataSet() = default;

void TqvxCustomDBDataSet::SetFieldAliases(const TStrings *value)
{
    m_fieldAliases->Assign(value);
}

int TqvxCustomDBDataSet::FieldsCount()
{
    TStringList fields;
    GetFieldList(&fields);
    return fields.Count();
}

bool TqvxCustomDatabase::GetConnected()
{
    return false;
}

void TqvxCustomDatabase::SetConnected(bool value)
{
    TqvxReportContext *context = qvxReportContextOf(this);
    if (value && context) {
        if (const TqvxBeforeConnectEvent before = context->BeforeConnectHandler())
            before(this, value);
        if (!value)
            return;
    }
    DoSetConnected(value);
    if (!value && context) {
        if (const TqvxAfterDisconnectEvent after = context->AfterDisconnectHandler())
            after(this);
    }
}

void TqvxCustomDatabase::DoSetConnected(bool)
{
}

QString TqvxCustomDatabase::GetDatabaseName()
{
    return QString();
}

void TqvxCustomDatabase::SetDatabaseName(const QString &)
{
}

bool TqvxCustomDatabase::GetLoginPrompt()
{
    return false;
}

void TqvxCustomDatabase::SetLoginPrompt(bool)
{
}

void TqvxCustomDatabase::GetParams(TStrings *params)
{
    params->Clear();
}

void TqvxCustomDatabase::SetParams(const TStrings *)
{
}

void InitializeQvxCustomDB()
{
    DescribeProperties<TqvxCustomDBDataSet>()
        .Default("CloseDataSource", false)
        .Default("OpenDataSource", true);
}
