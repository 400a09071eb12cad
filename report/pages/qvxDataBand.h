#pragma once

// The band printed once for each row of a data set: the master, detail and
// subdetail data bands and the three further data levels.  Without a data
// set, RowCount rows of its own are printed.  A data band can print its
// rows in columns side by side.

#include "report/pages/qvxBand.h"
#include "report/model/qvxDataSetLink.h"

#include <memory>

class TqvxUserDataSet;

class TqvxDataBand : public TqvxBand
{
    Q_OBJECT
    Q_PROPERTY(bool AllowSplit READ AllowSplit WRITE SetAllowSplit)
    Q_PROPERTY(TqvxBand *Child READ Child WRITE SetChild)
    Q_PROPERTY(int Columns READ Columns WRITE SetColumns)
    Q_PROPERTY(double ColumnWidth READ ColumnWidth WRITE SetColumnWidth)
    Q_PROPERTY(double ColumnGap READ ColumnGap WRITE SetColumnGap)
    Q_PROPERTY(TqvxComponent *DataSet READ DataSet WRITE SetDataSet)
    Q_PROPERTY(QString DataSetName READ DataSetName WRITE SetDataSetName)
    Q_PROPERTY(bool FooterAfterEach READ FooterAfterEach WRITE SetFooterAfterEach)
    Q_PROPERTY(QString Filter READ Filter WRITE SetFilter)
    Q_PROPERTY(bool KeepChild READ KeepChild WRITE SetKeepChild)
    Q_PROPERTY(bool KeepFooter READ KeepFooter WRITE SetKeepFooter)
    Q_PROPERTY(bool KeepHeader READ KeepHeader WRITE SetKeepHeader)
    Q_PROPERTY(bool KeepTogether READ KeepTogether WRITE SetKeepTogether)
    Q_PROPERTY(QString OutlineText READ OutlineText WRITE SetOutlineText)
    Q_PROPERTY(bool PrintChildIfInvisible READ PrintChildIfInvisible WRITE SetPrintChildIfInvisible)
    Q_PROPERTY(bool PrintIfDetailEmpty READ PrintIfDetailEmpty WRITE SetPrintIfDetailEmpty)
    Q_PROPERTY(int RowCount READ RowCount WRITE SetRowCount)
    Q_PROPERTY(bool StartNewPage READ StartNewPage WRITE SetStartNewPage)
    Q_PROPERTY(bool Stretched READ Stretched WRITE SetStretched)
    Q_PROPERTY(QString OnMasterDetail READ OnMasterDetail WRITE SetOnMasterDetail)

public:
    explicit TqvxDataBand(TComponent *owner = nullptr);
    ~TqvxDataBand() override;

    QString GetDescription() const override;

    // The number of columns (0 and 1: one), their width and the gap
    // between them, in pixels.
    int Columns() const { return m_columns; }
    void SetColumns(int value) { m_columns = value; }
    double ColumnWidth() const { return m_columnWidth; }
    void SetColumnWidth(double value) { m_columnWidth = value; }
    double ColumnGap() const { return m_columnGap; }
    void SetColumnGap(double value) { m_columnGap = value; }
    // The column the band prints in, from 1.  A value above Columns starts
    // again at 1; Left follows the column.
    int CurColumn() const { return m_curColumn; }
    void SetCurColumn(int value);
    // The band's offset within its column, which the engine keeps; back to
    // 0 at the first column.
    double ColumnOffset() const { return m_columnOffset; }
    void SetColumnOffset(double value) { m_columnOffset = value; }

    // The data set of the rows.  Setting it sets DataSetName to its user
    // name; setting DataSetName looks the data set up in the report by that
    // name.  Cleared when the data set is freed.
    TqvxComponent *DataSet() const { return m_dataSet.DataSet(); }
    void SetDataSet(TqvxComponent *value) { m_dataSet.SetDataSet(value); }
    // The data set's user name, else the name stored.
    QString DataSetName() const { return m_dataSet.DataSetName(); }
    void SetDataSetName(const QString &value) { m_dataSet.SetDataSetName(value); }

    // The rows printed without a data set: the count of the band's own
    // data set, which the engine walks when RowCount is 1 or more and no
    // data set is assigned.  That data set is made on first use.
    int RowCount() const { return m_rowCount; }
    void SetRowCount(int value);
    TqvxUserDataSet *VirtualDataSet() const;

    bool FooterAfterEach() const { return m_footerAfterEach; }
    void SetFooterAfterEach(bool value) { m_footerAfterEach = value; }
    QString Filter() const { return m_filter; }
    void SetFilter(const QString &value) { m_filter = value; }
    bool KeepFooter() const { return m_keepFooter; }
    void SetKeepFooter(bool value) { m_keepFooter = value; }
    bool KeepHeader() const { return m_keepHeader; }
    void SetKeepHeader(bool value) { m_keepHeader = value; }
    bool KeepTogether() const { return m_keepTogether; }
    void SetKeepTogether(bool value) { m_keepTogether = value; }
    bool PrintIfDetailEmpty() const { return m_printIfDetailEmpty; }
    void SetPrintIfDetailEmpty(bool value) { m_printIfDetailEmpty = value; }
    QString OnMasterDetail() const { return m_onMasterDetail; }
    void SetOnMasterDetail(const QString &value) { m_onMasterDetail = value; }

private:
    int m_columns = 0;
    double m_columnWidth = 0;
    double m_columnGap = 0;
    int m_curColumn = 1;
    double m_columnOffset = 0;
    TqvxDataSetLink m_dataSet{this};
    int m_rowCount = 0;
    mutable std::unique_ptr<TqvxUserDataSet> m_virtualDataSet;
    bool m_footerAfterEach = false;
    QString m_filter;
    bool m_keepFooter = false;
    bool m_keepHeader = false;
    bool m_keepTogether = false;
    bool m_printIfDetailEmpty = false;
    QString m_onMasterDetail;
};
