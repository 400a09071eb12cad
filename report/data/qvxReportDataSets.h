#pragma once

// The data sets a report uses, each under the name its texts know it by,
// and the lookup of a data set by that name.

#include "report/data/qvxDataSet.h"
#include "toolkit/classes/TCollection.h"

#include <QPointer>
#include <QString>

class TqvxDataSetItem : public TCollectionItem
{
    Q_OBJECT
    Q_PROPERTY(TqvxDataSet *DataSet READ DataSet WRITE SetDataSet)
    Q_PROPERTY(QString DataSetName READ DataSetName WRITE SetDataSetName)

public:
    explicit TqvxDataSetItem(TCollection *collection = nullptr);

    // nullptr once the data set is freed.
    TqvxDataSet *DataSet() const;
    // Also takes the data set's UserName as the stored name.
    void SetDataSet(TqvxDataSet *value);
    // The data set's UserName while there is a data set, else the stored
    // name.
    QString DataSetName() const;
    // Stores the name and, for a name within a report, looks the data set
    // up by it (qvxFindDataSet).
    void SetDataSetName(const QString &value);

private:
    TqvxComponent *report() const;

    QPointer<TqvxDataSet> m_dataSet;
    QString m_dataSetName;
};

class TqvxReportDataSets : public TCollection
{
    Q_OBJECT

public:
    explicit TqvxReportDataSets(TqvxComponent *report = nullptr);

    TqvxComponent *Report() const { return m_report; }

    TqvxDataSetItem *Add();
    TqvxDataSetItem *Items(int index) const;

    // Each listed data set that still exists learns the report, then
    // initialises itself.
    void Initialize();
    void Finalize();

    // The item holding dataSet, or nullptr.
    TqvxDataSetItem *Find(const TqvxDataSet *dataSet) const;
    // The first item whose data set has that UserName (letter case
    // ignored), or nullptr.
    TqvxDataSetItem *Find(const QString &name) const;

private:
    TqvxComponent *m_report;
};

// The data set that report knows by name.  An empty name gives nullptr and
// no report gives current.  Otherwise, when the report's engine options
// look in the global data-set list (the default), the first data set there
// with that UserName (letter case ignored) that belongs to no report or to
// this one, found under the list's lock; else the one of the report's own
// list.  When none has the name, current.
TqvxDataSet *qvxFindDataSet(TqvxComponent *report, TqvxDataSet *current, const QString &name);
