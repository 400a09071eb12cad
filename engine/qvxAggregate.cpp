#include "engine/qvxAggregate.h"

#include "engine/qvxAggregateScanner.h"
#include "report/pages/qvxBand.h"
#include "toolkit/core/VariantOps.h"

TqvxAggregateFunction qvxAggregateFunctionOf(const QString &name)
{
    if (name == QLatin1String("SUM"))
        return agSum;
    if (name == QLatin1String("AVG"))
        return agAvg;
    if (name == QLatin1String("MIN"))
        return agMin;
    if (name == QLatin1String("MAX"))
        return agMax;
    return agCount;
}

// --- Item -------------------------------------------------------------------

TqvxAggregateItem::TqvxAggregateItem(TqvxAggregateReport *report)
    : m_report(report)
{
}

void TqvxAggregateItem::AddValue()
{
    if (!DataBand || (!DataBand->Visible() && !CountInvisibleBands))
        return;
    Variant value = Kind == agCount ? Variant::Null() : m_report->Calc(Expression);
    // A Boolean counts as 1 or 0 (as a variant, True is -1).
    if (value.Type() == varBoolean)
        value = Variant(value.AsBoolean() ? 1 : 0);

    if (VColumn >= 1) {
        if (m_columns.size() <= size_t(VColumn))
            m_columns.resize(VColumn + 1);
        add(m_columns[VColumn], value);
    } else if (m_keeping) {
        add(m_kept, value);
    } else {
        addToTotal(value);
    }
}

void TqvxAggregateItem::UndoLast()
{
    m_total = m_saved;
}

void TqvxAggregateItem::RedoLast()
{
    if (!m_hasLastValue)
        return;
    if (m_keeping)
        add(m_kept, m_lastValue);
    else
        addToTotal(m_lastValue);
}

void TqvxAggregateItem::Reset()
{
    if (RunningTotal && m_total.Count != 0)
        return;
    m_total = TqvxAggregateTotal();
    m_columns.clear();
}

void TqvxAggregateItem::StartKeep()
{
    if (!IsPageFooter || m_keeping)
        return;
    m_keeping = true;
    m_kept = TqvxAggregateTotal();
}

void TqvxAggregateItem::EndKeep()
{
    if (!IsPageFooter || !m_keeping)
        return;
    m_keeping = false;
    m_total.Count += m_kept.Count;
    combine(m_total.Value, m_kept.Value);
}

Variant TqvxAggregateItem::GetValue() const
{
    Variant result;
    if (m_columns.empty())
        result = valueOf(m_total);
    else if (VColumn >= 0 && size_t(VColumn) < m_columns.size())
        result = valueOf(m_columns[VColumn]);
    else
        result = Variant::Null();
    return result.IsNull() ? Variant(0) : result;
}

void TqvxAggregateItem::addToTotal(const Variant &value)
{
    m_saved = m_total;
    m_lastValue = value;
    m_hasLastValue = true;
    add(m_total, value);
}

void TqvxAggregateItem::add(TqvxAggregateTotal &total, const Variant &value) const
{
    if (Kind != agAvg || !value.IsNull())
        ++total.Count;
    combine(total.Value, value);
}

void TqvxAggregateItem::combine(Variant &accumulator, const Variant &value) const
{
    if (accumulator.IsNull()) {
        accumulator = value;
        return;
    }
    if (value.IsNull())
        return;
    switch (Kind) {
    case agSum:
    case agAvg:
        accumulator = accumulator + value;
        break;
    case agMin:
        if (value < accumulator)
            accumulator = value;
        break;
    case agMax:
        if (value > accumulator)
            accumulator = value;
        break;
    case agCount:
        break;
    }
}

Variant TqvxAggregateItem::valueOf(const TqvxAggregateTotal &total) const
{
    switch (Kind) {
    case agAvg:
        return total.Value.IsNull() || total.Count == 0 ? Variant::Null() : total.Value / Variant(total.Count);
    case agCount:
        return total.Count;
    default:
        return total.Value;
    }
}

// --- List -------------------------------------------------------------------

TqvxAggregateList::TqvxAggregateList(TqvxAggregateReport *report)
    : m_report(report)
{
}

TqvxAggregateList::~TqvxAggregateList() = default;

TqvxAggregateItem *TqvxAggregateList::Add()
{
    m_items.push_back(std::make_unique<TqvxAggregateItem>(m_report));
    return m_items.back().get();
}

void TqvxAggregateList::Clear()
{
    m_items.clear();
}

void TqvxAggregateList::AddItems(TqvxReportPage *page)
{
    TqvxAggregateScanner(this).ScanPage(page);
}

template <class Action>
void TqvxAggregateList::forEachFedBy(TqvxBand *band, Action action)
{
    if (!band)
        return;
    for (const std::unique_ptr<TqvxAggregateItem> &item : m_items)
        if (item->DataBand == band)
            action(*item);
}

void TqvxAggregateList::AddValue(TqvxBand *band, int vColumn)
{
    forEachFedBy(band, [vColumn](TqvxAggregateItem &item) {
        item.VColumn = vColumn;
        item.AddValue();
    });
}

void TqvxAggregateList::UndoLast(TqvxBand *band)
{
    forEachFedBy(band, [](TqvxAggregateItem &item) { item.UndoLast(); });
}

void TqvxAggregateList::RedoLast(TqvxBand *band)
{
    forEachFedBy(band, [](TqvxAggregateItem &item) {
        item.VColumn = 0;
        item.RedoLast();
    });
}

void TqvxAggregateList::Reset(TqvxBand *band)
{
    if (!band)
        return;
    for (const std::unique_ptr<TqvxAggregateItem> &item : m_items)
        if (item->ParentBand == band)
            item->Reset();
}

void TqvxAggregateList::StartKeep()
{
    for (const std::unique_ptr<TqvxAggregateItem> &item : m_items)
        item->StartKeep();
}

void TqvxAggregateList::EndKeep()
{
    for (const std::unique_ptr<TqvxAggregateItem> &item : m_items)
        item->EndKeep();
}

void TqvxAggregateList::ClearValues()
{
    for (const std::unique_ptr<TqvxAggregateItem> &item : m_items) {
        const bool runningTotal = item->RunningTotal;
        item->RunningTotal = false;
        item->Reset();
        item->RunningTotal = runningTotal;
    }
}

Variant TqvxAggregateList::GetValue(TqvxBand *curBand, int vColumn, int flags, TqvxBand *band,
                                    const QString &expression, const QString &name)
{
    if (!curBand)
        return Variant::Null();
    const TqvxAggregateFunction kind = qvxAggregateFunctionOf(name);
    const QString trimmed = expression.trimmed();
    const bool countInvisibleBands = flags & 1;
    const bool runningTotal = flags & 2;
    for (const std::unique_ptr<TqvxAggregateItem> &item : m_items) {
        if (item->ParentBand != curBand || item->Kind != kind ||
            item->Expression.compare(trimmed, Qt::CaseInsensitive) != 0 || (band && item->DataBand != band) ||
            item->CountInvisibleBands != countInvisibleBands || item->RunningTotal != runningTotal)
            continue;
        item->VColumn = vColumn;
        return item->GetValue();
    }
    return Variant::Null();
}
