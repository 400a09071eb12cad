#pragma once

// The aggregate functions SUM, AVG, MIN, MAX and COUNT of report texts.
//
// A footer memo such as "[SUM(<Orders."Amount">, MasterData1)]" cannot be
// evaluated from the current record: it needs the values of every record
// printed since the total last restarted.  Before a run the aggregate list
// collects every such call of the footers, group footers, page and column
// footers, report summaries and vertical data bands of a page (AddItems)
// and keeps one accumulator per call.  While the report prints, the engine
// adds a value to each accumulator whenever its data band has printed
// (AddValue), restarts the accumulators of a band once the band has printed
// (Reset), and answers the expression evaluator's calls from them
// (GetValue).
//
// A call reads FUNC(expression[, band[, flags]]), COUNT(band[, flags]).
// The band names the data band whose records feed it (by default the data
// band the footer belongs to); flags bit 0 counts records while the band
// is hidden, bit 1 makes a running total that never restarts.
//
// Values follow the variant rules: a Null value is skipped (AVG counts only
// the values it adds; COUNT counts every record), a Boolean adds as 1 or 0,
// and a total without values answers 0.

#include "toolkit/core/Variants.h"

#include <QList>
#include <QPointer>
#include <QString>

#include <memory>
#include <vector>

class TqvxBand;
class TqvxComponent;
class TqvxReportPage;
class TqvxVariables;

enum TqvxAggregateFunction : quint8 { agSum, agAvg, agMin, agMax, agCount };

// What the aggregates ask of their report.
class TqvxAggregateReport
{
public:
    virtual ~TqvxAggregateReport() = default;

    // Evaluates an expression with the report's fields, variables and
    // built-in names.
    virtual Variant Calc(const QString &expression) = 0;
    // The report's variables (name to expression text), or nullptr.
    virtual TqvxVariables *Variables() const = 0;
    // Whether the text names a field of a data set: DataSet."Field".
    virtual bool IsDataField(const QString &text) const = 0;
    // The report's object of that name (letter case ignored), or nullptr.
    virtual TqvxComponent *FindObject(const QString &name) const = 0;
};

// A value and a count of values.
struct TqvxAggregateTotal
{
    Variant Value = Variant::Null();
    int Count = 0;
};

// The accumulator of one call.
class TqvxAggregateItem
{
public:
    explicit TqvxAggregateItem(TqvxAggregateReport *report);

    // --- The call -----------------------------------------------------------

    TqvxAggregateFunction Kind = agSum;
    // The band whose printed records feed the item; the band that prints
    // the memo of the call (the item's owner).  Cleared when freed.
    QPointer<TqvxBand> DataBand;
    QPointer<TqvxBand> ParentBand;
    bool CountInvisibleBands = false;
    bool RunningTotal = false;
    // The first argument, trimmed; empty for COUNT.
    QString Expression;
    // ParentBand is a page footer: only such items keep rows apart while a
    // block of bands is held together (StartKeep).
    bool IsPageFooter = false;
    // The name of the memo of the call and the call's text, trimmed.
    QString MemoName;
    QString FuncText;
    // The vertical column of the last addition or look-up; 0 outside
    // vertical bands.
    int VColumn = 0;

    // --- Accumulating -------------------------------------------------------

    // Adds the value of Expression for the record just printed (nothing
    // when DataBand is hidden, unless CountInvisibleBands): to the total of
    // column VColumn when it is 1 or more, else to the keep buffer while
    // keeping, else to the total.
    void AddValue();
    // Takes the last addition to the total back, keeping its value for
    // RedoLast.
    void UndoLast();
    // Adds the value of the last addition to the total again (nothing
    // before a first addition): the record it came from need not be
    // current any more.
    void RedoLast();
    // Empties the totals, except a running total that has values.
    void Reset();
    // Keeps the values added from now on apart from the total (page-footer
    // items only) until EndKeep merges them into it.
    void StartKeep();
    void EndKeep();

    // The value of the total (of column VColumn once columns were added):
    // the sum, average, minimum, maximum or count; 0 when there is none.
    Variant GetValue() const;

    const TqvxAggregateTotal &Total() const { return m_total; }
    bool Keeping() const { return m_keeping; }

private:
    void addToTotal(const Variant &value);
    void add(TqvxAggregateTotal &total, const Variant &value) const;
    void combine(Variant &accumulator, const Variant &value) const;
    Variant valueOf(const TqvxAggregateTotal &total) const;

    TqvxAggregateReport *m_report;
    TqvxAggregateTotal m_total;
    TqvxAggregateTotal m_saved;
    TqvxAggregateTotal m_kept;
    Variant m_lastValue = Variant::Null();
    bool m_hasLastValue = false;
    bool m_keeping = false;
    // Per vertical column, created at the first addition to a column.
    std::vector<TqvxAggregateTotal> m_columns;
};

// The accumulators of a run, owned.
class TqvxAggregateList
{
public:
    // report is not owned.
    explicit TqvxAggregateList(TqvxAggregateReport *report);
    ~TqvxAggregateList();

    TqvxAggregateReport *Report() const { return m_report; }
    int Count() const { return int(m_items.size()); }
    TqvxAggregateItem *Items(int index) const { return m_items.at(index).get(); }
    // A new item at the end.
    TqvxAggregateItem *Add();
    // Frees every item.
    void Clear();

    // Collects the calls of the page's footers, group footers, page and
    // column footers, report summary and vertical data bands.  A flags
    // argument that is no integer raises EConvertError.
    void AddItems(TqvxReportPage *page);

    // For every item fed by band: the column, then the item's AddValue.
    void AddValue(TqvxBand *band, int vColumn);
    // For every item fed by band: UndoLast, RedoLast.
    void UndoLast(TqvxBand *band);
    void RedoLast(TqvxBand *band);
    // Resets every item that band owns.
    void Reset(TqvxBand *band);
    // For every item.
    void StartKeep();
    void EndKeep();
    // Resets every item, running totals too (between two passes).
    void ClearValues();

    // The value of the first item owned by curBand with the function of
    // name ("SUM", "AVG", "MIN", "MAX", anything else COUNT; upper case),
    // the expression (trimmed, letter case ignored), the data band (any
    // when band is nullptr) and the flags; Null when no item matches.
    Variant GetValue(TqvxBand *curBand, int vColumn, int flags, TqvxBand *band, const QString &expression,
                     const QString &name);

private:
    template <class Action>
    void forEachFedBy(TqvxBand *band, Action action);

    TqvxAggregateReport *m_report;
    std::vector<std::unique_ptr<TqvxAggregateItem>> m_items;
};

// The function of an upper-case name: "SUM", "AVG", "MIN", "MAX", and
// COUNT for any other.
TqvxAggregateFunction qvxAggregateFunctionOf(const QString &name);
