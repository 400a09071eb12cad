#pragma once

// A prepared-pages store over the report library's test classes, and a small
// report page to fill it with: a page header band, a data band with two
// memos, a page footer band.  Bands are told apart by their names.

#include "common/NullPreviewPages.h"
#include "engine/qvxPreparedStore.h"
#include "report/RecordingServices.h"
#include "report/ReportTestClasses.h"
#include "common/TestSupport.h"

#include <QStringList>

class TTestPreparedStore : public TNullReportClassSlots<TqvxPreparedStore>
{
    Q_OBJECT

public:
    explicit TTestPreparedStore(TqvxReportLink *report) : TNullReportClassSlots(report) {}

    TqvxPreparedOptions options;
    TqvxPageMargins margins;
    QString reportName = QStringLiteral("Orders");
    QString loadedReportName;

protected:
    TqvxReportPage *ReportPageOf(TqvxComponent *) override { return nullptr; }
    TqvxPreparedOptions Options() const override { return options; }
    TqvxPageMargins PageMargins(const TqvxComponent *) const override { return margins; }
    TqvxStoreBand BandOf(const TqvxComponent *object) const override;
    std::unique_ptr<TqvxComponent> NewPageBackground(TqvxComponent *page, double left, double top, double width,
                                                     double height) override;
    void ObjectRebuilt(TqvxComponent *) override {}
    void SaveReportSettings(TqvxXMLItem *item) override;
    void LoadReportSettings(TqvxXMLItem *item) override;
};

// A memo whose differences carry its text, as the report's memo's do.
class TTestDiffMemo : public TTestMemo
{
    Q_OBJECT

public:
    using TTestMemo::TTestMemo;

    QString Diff(const TqvxComponent *source) override;
};

// The template page: PageHeader1 (Header), MasterData1 (Memo1, Memo2),
// PageFooter1; the page is 794 x 1123 pixels.
struct TTemplatePage {
    TTemplatePage();
    ~TTemplatePage();

    TTestPage *page;
    TTestBand *header;
    TTestBand *data;
    TTestDiffMemo *memo1;
    TTestDiffMemo *memo2;
    TTestBand *footer;
};

// Fills store with `pages` pages as an engine would: each page has the
// header at 0, `rows` data rows from top 40 (memo1 showing "Row <n>") and
// the footer at 1000.
void FillStore(TqvxPreparedStore &store, TTemplatePage &templ, int pages, int rows);

// The names, texts and positions of the objects of page index, one line
// each, children indented.
QStringList DescribePage(TqvxPreparedStore &store, int index);
