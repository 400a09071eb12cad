#pragma once

// A report run by the real engine into real prepared pages, with bands,
// memos and data sets placed in code, for tests that read the pages back.
//
// The page is A4 with margins of 10 mm: its printable area is 718.1107 x
// 1046.92981 pixels.  Bands are named; each memo is 100 x 20 pixels unless
// told otherwise.  A data set made here answers its fields from rows of
// values held by the test.

#include "common/TestSupport.h"
#include "engine/qvxPreviewPages.h"
#include "report/pages/qvxBands.h"
#include "report/views/qvxMemoView.h"
#include "report/pages/qvxPage.h"
#include "report/report/qvxReport.h"
#include "report/model/qvxServices.h"
#include "report/data/qvxUserDataSet.h"

#include <QHash>
#include <QList>
#include <QStringList>

#include <memory>
#include <string>
#include <type_traits>

// Installs the engine and the prepared pages as the report services for its
// lifetime (tests elsewhere install stand-ins); the services installed
// before come back afterwards.
class TEngineServicesScope
{
public:
    TEngineServicesScope();
    ~TEngineServicesScope();
    TEngineServicesScope(const TEngineServicesScope &) = delete;
    TEngineServicesScope &operator=(const TEngineServicesScope &) = delete;

private:
    TqvxServices m_saved;
};

// A data set over rows of named values held in memory.
class TMemoryDataSet : public TqvxUserDataSet
{
    Q_OBJECT

public:
    explicit TMemoryDataSet(TComponent *owner = nullptr);

    // Sets the rows: each row maps field names to values.
    void SetRows(const QList<QHash<QString, Variant>> &rows);
    // Calls rowsOnFirst, when set, for the rows of each walk.
    void First() override;

    QList<QHash<QString, Variant>> rows;
    std::function<QList<QHash<QString, Variant>>()> rowsOnFirst;
};

// A view whose content is Content pixels high in lines of Line pixels:
// it grows to its content and splits between whole lines.
class TProbeView : public TqvxStretcheable
{
    Q_OBJECT
    Q_PROPERTY(double Content MEMBER content)
    Q_PROPERTY(double Line MEMBER line)

public:
    using TqvxStretcheable::TqvxStretcheable;

    void Draw(TCanvas *, double, double, double, double) override {}
    double CalcHeight() override { return content; }
    void InitPart() override { m_remaining = int(content / line); }
    double DrawPart() override;
    bool HasNextPart() override { return m_remaining > 0; }

    double content = 0;
    double line = 10;
    // The lines laid out by the last DrawPart.
    int partLines = 0;

private:
    int m_remaining = 0;
};

struct TEngineTestReport {
    TEngineTestReport();
    ~TEngineTestReport();

    TEngineServicesScope services;
    std::unique_ptr<TqvxReport> report;
    TqvxReportPage *page;
    std::vector<std::unique_ptr<TMemoryDataSet>> dataSets;

    // A band of that height at that top, 718 wide.
    template <class T>
    T *band(const char *name, double top, double height = 20)
    {
        auto *result = new T(page);
        result->SetName(QString::fromLatin1(name));
        result->SetBounds(0, top, 718, height);
        return result;
    }
    // A probe view of that content and mode.
    TProbeView *probe(TqvxComponent *parent, const char *name, double top, double height, double content,
                      TqvxStretchMode mode = smActualHeight, double left = 0, double width = 100);
    TqvxMemoView *memo(TqvxComponent *parent, const char *name, const QString &text, double left = 0,
                       double top = 0, double width = 100, double height = 20);
    // A data set of that name over `count` rows whose field "N" counts from
    // 1, listed in the report.
    TMemoryDataSet *dataSet(const char *name, int count);
    TMemoryDataSet *dataSet(const char *name, const QList<QHash<QString, Variant>> &rows);

    TqvxPreviewPages *store() const;
    // Prepares the report; false with the errors in errors().
    bool prepare();
    QStringList errors() const;
    int pageCount() const;
    // The bands of page index, one per line: "Name top" and the texts of
    // their memos in order, as "Name top: text | text".
    QStringList bandList(int index) const;
    // The same as one text, a band a line (readable in failures).
    std::string bands(int index) const { return lines(bandList(index)); }
    static std::string lines(const QStringList &list) { return list.join(QLatin1Char('\n')).toStdString(); }
    // The top of the band of that name on page index; -1 when absent.
    double bandTop(int index, const QString &name) const;
    // The texts of the memos of page index, in order.
    QStringList texts(int index) const;
};
