#pragma once

// The prepared pages of a report over the report's own classes: report
// pages, bands, memos and picture views.  The store's working is in
// TqvxPreparedStore; this class answers the operations that take those
// classes and tells the store what they are.
//
// Drawing pages, answering the mouse over them and printing them, the
// report's own settings in saved files and appending another report's pages
// (AddFromPages does the work) stay abstract here: the report, the preview
// and the printing layer supply them.

#include "engine/qvxPreparedStore.h"

class TqvxPreviewPages : public TqvxPreparedStore
{
    Q_OBJECT

public:
    explicit TqvxPreviewPages(TqvxReportLink *report) : TqvxPreparedStore(report) {}

    // The report page of page index, owned by the page cache (see
    // TqvxPreparedStore::SharedPage); nullptr when there is none.
    TqvxReportPage *GetPage(int index) override;
    void AddPage(TqvxReportPage *page) override;
    void AddSourcePage(TqvxReportPage *page) override;
    void AddPicture(TqvxPictureView *picture) override;
    bool BandExists(TqvxBand *band) override;
    void ModifyPage(int index, TqvxReportPage *page) override;

    // Report settings the store follows (see TqvxPreparedOptions); the
    // report sets them from its engine and preview options.
    void SetOptions(const TqvxPreparedOptions &options) { m_options = options; }

protected:
    TqvxReportPage *ReportPageOf(TqvxComponent *page) override;
    TqvxPreparedOptions Options() const override { return m_options; }
    TqvxPageMargins PageMargins(const TqvxComponent *page) const override;
    TqvxStoreBand BandOf(const TqvxComponent *object) const override;
    std::unique_ptr<TqvxComponent> NewPageBackground(TqvxComponent *page, double left, double top, double width,
                                                     double height) override;
    void ObjectRebuilt(TqvxComponent *object) override;

private:
    TqvxPreparedOptions m_options;
};
