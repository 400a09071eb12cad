#pragma once

// The data set a band or page runs over, with the user name the report
// knows it by.  Setting the data set sets the name; setting the name looks
// the data set up in the holder's report.  The link clears itself when the
// data set is freed.

#include "toolkit/classes/GuardedRef.h"

#include <QString>

class TqvxComponent;

class TqvxDataSetLink
{
public:
    explicit TqvxDataSetLink(TqvxComponent *holder);

    TqvxComponent *DataSet() const { return m_dataSet; }
    void SetDataSet(TqvxComponent *value);
    // The data set's user name, else the name stored.
    QString DataSetName() const;
    void SetDataSetName(const QString &value);

private:
    TqvxComponent *m_holder;
    TGuardedRef<TqvxComponent> m_dataSet;
    QString m_dataSetName;
};

// The name a data set is known by in reports (its published UserName);
// empty for nullptr.
QString qvxDataSetUserName(const TqvxComponent *dataSet);
