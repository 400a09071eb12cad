#include "report/data/qvxUserDataSet.h"

#include "report/model/qvxReportContext.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/Reflection.h"
#include "toolkit/classes/TStringList.h"

TqvxUserDataSet::TqvxUserDataSet(TComponent *owner)
    : TqvxDataSet(owner),
      m_fields(std::make_unique<TStringList>())
{
}

TqvxUserDataSet::~TqvxUserDataSet() = default;

void TqvxUserDataSet::SetFields(const TStrings *value)
{
    m_fields->Assign(value);
}

Variant TqvxUserDataSet::GetValue(const QString &field)
{
    Variant value = Variant::Null();
    if (m_onGetValue)
        m_onGetValue(field, value);
    if (m_onNewGetValue)
        m_onNewGetValue(this, field, value);
    return value;
}

QString TqvxUserDataSet::GetDisplayText(const QString &field)
{
    return VarToStr(GetValue(field));
}

int TqvxUserDataSet::FieldsCount()
{
    return m_fields->Count();
}

void TqvxUserDataSet::GetFieldList(TStrings *list)
{
    list->Assign(m_fields.get());
}

bool TqvxUserDataSet::Eof()
{
    if (RangeEnd() == reCount || OnCheckEOF())
        return TqvxDataSet::Eof();
    TqvxReportContext *report = qvxReportContextOf(ReportRef());
    if (!report)
        report = qvxReportContextOf(this);
    if (report)
        report->Errors()->Add(QStringLiteral("Набор данных \"%1\" не имеет ни числа записей (RangeEnd = reCount), "
                                             "ни обработчика OnCheckEOF и считается пустым")
                                  .arg(UserName()));
    return true;
}

void InitializeQvxUserDataSet()
{
    RegisterMethodType<TqvxGetValueEvent>();
    RegisterMethodType<TqvxNewGetValueEvent>();
    RegisterClass<TqvxUserDataSet>();
}
