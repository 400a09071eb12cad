#include "report/data/qvxDataSet.h"

#include "report/model/qvxResources.h"
#include "toolkit/classes/PropertyDeclarations.h"
#include "toolkit/classes/Reflection.h"
#include "toolkit/classes/TStringList.h"
#include "toolkit/core/Exceptions.h"

#include <QMutexLocker>

#include <algorithm>
#include <memory>

namespace {

std::unique_ptr<TqvxGlobalDataSetList> globalDataSets;

constexpr int defaultDisplayWidth = 10;

void fire(const TNotifyEvent &event, TObject *sender)
{
    if (event)
        event(sender);
}

} // namespace

TqvxDataSet::TqvxDataSet(TComponent *owner)
    : TqvxDialogComponent(owner)
{
    if (globalDataSets)
        globalDataSets->Add(this);
}

TqvxDataSet::~TqvxDataSet()
{
    if (globalDataSets)
        globalDataSets->Remove(this);
}

QString TqvxDataSet::GetDisplayText(const QString &)
{
    return QString();
}

int TqvxDataSet::GetDisplayWidth(const QString &)
{
    return defaultDisplayWidth;
}

TqvxFieldType TqvxDataSet::GetFieldType(const QString &)
{
    return fftNumeric;
}

Variant TqvxDataSet::GetValue(const QString &)
{
    return Variant::Null();
}

int TqvxDataSet::FieldsCount()
{
    return 0;
}

bool TqvxDataSet::IsBlobField(const QString &)
{
    return false;
}

void TqvxDataSet::GetFieldList(TStrings *list)
{
    list->Clear();
}

bool TqvxDataSet::HasField(const QString &field)
{
    TStringList fields;
    GetFieldList(&fields);
    return fields.IndexOf(field) >= 0;
}

void TqvxDataSet::Initialize()
{
}

void TqvxDataSet::Finalize()
{
}

void TqvxDataSet::Open()
{
    fire(m_onOpen, this);
}

void TqvxDataSet::Close()
{
    fire(m_onClose, this);
}

void TqvxDataSet::First()
{
    m_recNo = 0;
    m_eof = false;
    fire(m_onFirst, this);
}

void TqvxDataSet::Next()
{
    m_eof = false;
    ++m_recNo;
    if (m_rangeEnd == reCount && m_recNo >= m_rangeEndCount) {
        m_recNo = std::max(m_rangeEndCount - 1, 0);
        m_eof = true;
        return;
    }
    fire(m_onNext, this);
}

void TqvxDataSet::Prior()
{
    if (m_recNo <= 0)
        return;
    --m_recNo;
    fire(m_onPrior, this);
}

bool TqvxDataSet::Eof()
{
    bool result = false;
    if (m_rangeEnd != reCount) {
        if (m_onCheckEOF)
            m_onCheckEOF(this, result);
        return result;
    }
    const bool counted = m_eof || m_recNo >= m_rangeEndCount;
    if (!counted) {
        if (m_onCheckEOF)
            m_onCheckEOF(this, result);
        return result;
    }
    // The handler is told of the end but cannot undo it: going on would
    // repeat the last counted record for ever.
    bool told = true;
    if (m_onCheckEOF)
        m_onCheckEOF(this, told);
    return true;
}

int TqvxDataSet::RecordCount()
{
    return m_rangeBegin == rbFirst && m_rangeEnd == reCount ? m_rangeEndCount : 0;
}

void TqvxDataSet::SetUserName(const QString &value)
{
    if (value.trimmed().isEmpty())
        throw Exception(qvxResources()->Get(QStringLiteral("prInvProp")));
    m_userName = value;
}

void TqvxDataSet::SetName(const QString &name)
{
    const QString oldName = Name();
    TqvxDialogComponent::SetName(name);
    if (m_userName.isEmpty() || m_userName == oldName)
        m_userName = Name();
}

void TqvxGlobalDataSetList::Add(TqvxDataSet *dataSet)
{
    QMutexLocker locker(&m_lock);
    m_items.append(dataSet);
}

void TqvxGlobalDataSetList::Remove(TqvxDataSet *dataSet)
{
    QMutexLocker locker(&m_lock);
    m_items.removeOne(dataSet);
}

TqvxGlobalDataSetList *qvxDataSetList()
{
    return globalDataSets.get();
}

void InitializeQvxDataSet()
{
    globalDataSets = std::make_unique<TqvxGlobalDataSetList>();
    RegisterMethodType<TqvxCheckEOFEvent>();
    DescribeProperties<TqvxDataSet>()
        .Default("Enabled", true)
        .Default("RangeBegin", rbFirst)
        .Default("RangeEnd", reLast)
        .Default("RangeEndCount", 0);
}

void FinalizeQvxDataSet()
{
    globalDataSets.reset();
}
