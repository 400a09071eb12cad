#pragma once

// Finds the aggregate calls of a report page and adds an item to the
// aggregate list for each.
//
// Only the bands that print totals are read: the footers and group footers
// of the page's data bands (and of their details), their child chains, the
// page footer, the column footer, the report summary and vertical data
// bands.  In each memo that allows expressions, every bracketed expression
// is scanned for SUM, AVG, MIN, MAX and COUNT followed directly by "(";
// parentheses and <...> are scanned inside, quoted text is skipped, and a
// name of a report variable is scanned as the variable's expression (a
// variable that comes back to itself is scanned once).

#include <QList>
#include <QString>
#include <QStringList>

class TqvxAggregateList;
class TqvxBand;
class TqvxCustomMemoView;
class TqvxReportPage;

class TqvxAggregateScanner
{
public:
    // Items go to list, whose report answers names and objects.
    explicit TqvxAggregateScanner(TqvxAggregateList *list);

    // The calls of the page; the page's bands must have been connected
    // (CheckBands).  A flags argument that is no integer raises
    // EConvertError.
    void ScanPage(TqvxReportPage *page);
    // The calls of one memo, fed by defaultBand unless a call names its
    // band.
    void ScanMemo(TqvxCustomMemoView *memo, TqvxBand *defaultBand);

private:
    void scanDataBands(const QList<TqvxBand *> &bands);
    void scanBand(TqvxBand *band, TqvxBand *defaultBand);
    void scanExpression(const QString &text);
    bool checkName(const QString &name);
    void addItem(const QString &call);
    TqvxBand *findBand(const QString &name) const;
    TqvxBand *ownerBand() const;

    TqvxAggregateList *m_list;
    TqvxCustomMemoView *m_memo = nullptr;
    TqvxBand *m_defaultBand = nullptr;
    // The variables being scanned, by index.
    QList<int> m_expanding;
};

// The arguments of the call whose "(" is at pos, untrimmed: the text up to
// the first comma, up to the last comma, and after it (commas inside
// brackets or quotes do not count), so at most three.  pos moves past the
// closing ")", or to the end of the text when there is none.
QStringList qvxAggregateArguments(const QString &text, int &pos);
