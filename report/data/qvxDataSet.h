#pragma once

// Data sets: the report's sources of records.  The engine walks a data set
// record by record for a data band (Initialize, First, then Eof / body /
// Next until Eof, Finalize), and report texts read its fields by name.
//
// A data set walks from its first record (RangeBegin rbFirst) to the end
// its RangeEnd names: a count of records (reCount with RangeEndCount), or
// wherever its OnCheckEOF handler says.  RecNo counts from 0 and never goes
// below it.
//
// Every data set of the process is in the global data-set list while it
// exists; reports find data sets by their UserName (see
// report/qvxReportDataSets.h).

#include "report/data/qvxDialogComponent.h"
#include "toolkit/classes/Events.h"
#include "toolkit/core/Variants.h"

#include <QList>
#include <QRecursiveMutex>
#include <QString>

class TStrings;

// May decide that the data has ended.
TOOLKIT_EVENT(TqvxCheckEOFEvent, void(TObject *sender, bool &eof))

class TqvxDataSet : public TqvxDialogComponent
{
    Q_OBJECT
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(ReportTypes::TqvxRangeBegin RangeBegin READ RangeBegin WRITE SetRangeBegin)
    Q_PROPERTY(ReportTypes::TqvxRangeEnd RangeEnd READ RangeEnd WRITE SetRangeEnd)
    Q_PROPERTY(int RangeEndCount READ RangeEndCount WRITE SetRangeEndCount)
    Q_PROPERTY(QString UserName READ UserName WRITE SetUserName)
    Q_PROPERTY(TqvxCheckEOFEvent OnCheckEOF READ OnCheckEOF WRITE SetOnCheckEOF)
    Q_PROPERTY(TNotifyEvent OnFirst READ OnFirst WRITE SetOnFirst)
    Q_PROPERTY(TNotifyEvent OnNext READ OnNext WRITE SetOnNext)
    Q_PROPERTY(TNotifyEvent OnPrior READ OnPrior WRITE SetOnPrior)

public:
    static constexpr TqvxObjectKind PaletteKind = okData;

    // Joins the global data-set list.
    explicit TqvxDataSet(TComponent *owner = nullptr);
    // Leaves the global data-set list.
    ~TqvxDataSet() override;

    // Fields.  The base has none: empty text, width 10, numeric, null.
    virtual QString GetDisplayText(const QString &field);
    virtual int GetDisplayWidth(const QString &field);
    virtual TqvxFieldType GetFieldType(const QString &field);
    virtual Variant GetValue(const QString &field);
    virtual int FieldsCount();
    virtual bool IsBlobField(const QString &field);
    // Replaces the content of list by the field names.
    virtual void GetFieldList(TStrings *list);
    // Whether GetFieldList names field (letter case ignored).
    bool HasField(const QString &field);

    // Before and after a run; nothing in the base.
    virtual void Initialize();
    virtual void Finalize();
    // Fire the open and close events.
    virtual void Open();
    virtual void Close();

    // Navigation.  First goes to record 0.  Next moves one on; with reCount
    // it stops on the last counted record (0 when there is none), sets the
    // end and does not fire OnNext.  Prior moves one back, not below 0.
    virtual void First();
    virtual void Next();
    virtual void Prior();
    // With reCount: before the count's end OnCheckEOF may end the walk
    // early; at the count's end the walk has ended whatever the handler
    // says (it is still told).  With another RangeEnd, OnCheckEOF decides
    // alone, and without one the walk never ends.
    virtual bool Eof();
    // RangeEndCount for a counted walk from the first record, else 0.
    virtual int RecordCount();

    int RecNo() const { return m_recNo; }

    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool value) { m_enabled = value; }
    TqvxRangeBegin RangeBegin() const { return m_rangeBegin; }
    void SetRangeBegin(TqvxRangeBegin value) { m_rangeBegin = value; }
    TqvxRangeEnd RangeEnd() const { return m_rangeEnd; }
    void SetRangeEnd(TqvxRangeEnd value) { m_rangeEnd = value; }
    int RangeEndCount() const { return m_rangeEndCount; }
    void SetRangeEndCount(int value) { m_rangeEndCount = value; }
    // The name under which reports and texts know the data set.  Setting a
    // name that is empty once trimmed raises Exception with the text
    // "prInvProp"; any other name is kept as given, blanks included.
    QString UserName() const { return m_userName; }
    virtual void SetUserName(const QString &value);

    // A rename takes UserName along when it was empty or the old name.
    void SetName(const QString &name) override;

    // The report that uses the data set in its current run, set by the
    // report's data-set list before Initialize; nullptr before.
    TqvxComponent *ReportRef() const { return m_reportRef.get(); }
    void SetReportRef(TqvxComponent *report) { m_reportRef = report; }

    TqvxCheckEOFEvent OnCheckEOF() const { return m_onCheckEOF; }
    void SetOnCheckEOF(const TqvxCheckEOFEvent &handler) { m_onCheckEOF = handler; }
    TNotifyEvent OnFirst() const { return m_onFirst; }
    void SetOnFirst(const TNotifyEvent &handler) { m_onFirst = handler; }
    TNotifyEvent OnNext() const { return m_onNext; }
    void SetOnNext(const TNotifyEvent &handler) { m_onNext = handler; }
    TNotifyEvent OnPrior() const { return m_onPrior; }
    void SetOnPrior(const TNotifyEvent &handler) { m_onPrior = handler; }
    // Published by the database data sets.
    TNotifyEvent OnOpen() const { return m_onOpen; }
    void SetOnOpen(const TNotifyEvent &handler) { m_onOpen = handler; }
    TNotifyEvent OnClose() const { return m_onClose; }
    void SetOnClose(const TNotifyEvent &handler) { m_onClose = handler; }

protected:
    // Published as OpenDataSource by the database data sets.
    bool OpenDataSource() const { return m_openDataSource; }
    void SetOpenDataSource(bool value) { m_openDataSource = value; }

private:
    bool m_enabled = true;
    bool m_eof = false;
    bool m_openDataSource = true;
    TqvxRangeBegin m_rangeBegin = rbFirst;
    TqvxRangeEnd m_rangeEnd = reLast;
    int m_rangeEndCount = 0;
    QString m_userName;
    int m_recNo = 0;
    TGuardedRef<TqvxComponent> m_reportRef{this};
    TqvxCheckEOFEvent m_onCheckEOF;
    TNotifyEvent m_onFirst;
    TNotifyEvent m_onNext;
    TNotifyEvent m_onPrior;
    TNotifyEvent m_onOpen;
    TNotifyEvent m_onClose;
};

// Every data set alive, in the order they were made, under its own lock.
class TqvxGlobalDataSetList
{
public:
    void Lock() { m_lock.lock(); }
    void Unlock() { m_lock.unlock(); }
    QRecursiveMutex &Mutex() { return m_lock; }

    // Read under the lock.
    const QList<TqvxDataSet *> &Items() const { return m_items; }

    // Each takes the lock.
    void Add(TqvxDataSet *dataSet);
    void Remove(TqvxDataSet *dataSet);

private:
    QRecursiveMutex m_lock;
    QList<TqvxDataSet *> m_items;
};

// The global list between the unit's start and end; nullptr outside.
TqvxGlobalDataSetList *qvxDataSetList();

void InitializeQvxDataSet();
void FinalizeQvxDataSet();
